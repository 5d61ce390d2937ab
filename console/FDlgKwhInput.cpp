#include "console/FDlgKwhInput.h"

#include "console/ErrorTexts.h"
#include "console/MessageBox.h"

#include "console/SmallDialogParts.h"
#include "platform/rtl/IniFiles.h"


#include <algorithm>
#include <cctype>

namespace {
const char* const kSection = "数据输入对话框";
const char* const kKey = "电能(kWh)";
const char* const kZero = "000000.00";

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }
} // namespace

TDlgKwhInput::TDlgKwhInput(QWidget* parent, const std::string& iniPath)
    : QDialog(parent), iniPath_(iniPath)
{
    setWindowTitle(QStringLiteral("电能数据"));
    auto* grid = new QGridLayout;
    edtIn = new QLineEdit(this);
    edtIn->setObjectName(QStringLiteral("edtIn"));
    edtIn->setMaxLength(9);
    TEditKeyFilter::Attach(edtIn, [this](const std::string& before, char key) {
        return edtInKeyPress(before, key);
    });
    grid->addWidget(new QLabel(QStringLiteral("电能"), this), 0, 0);
    grid->addWidget(edtIn, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("kWh"), this), 0, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(smalldlg::AddButtons(this, BtnOk, BtnCanel, QStringLiteral("确认"),
                                           [this] { BtnOkClick(); }));

    std::string text = "123456.78";
    if (!iniPath_.empty())
        text = rtl::TIniFile(iniPath_).ReadString(kSection, kKey, text);
    edtIn->setText(QString::fromStdString(text));
}

bool TDlgKwhInput::edtInKeyPress(const std::string& textBefore, char key)
{
    if (static_cast<unsigned char>(key) <= 32)
        return true;
    if (!IsDigit(key) && key != '.')
        return false;
    const bool hasPoint = textBefore.find('.') != std::string::npos;
    if (!hasPoint && textBefore.size() == 6)
        return key == '.';
    if (IsDigit(key))
        return true;
    if (hasPoint)
        return false;
    if (textBefore.size() < 6)
        edtIn->setMaxLength(static_cast<int>(textBefore.size()) + 3);
    return true;
}

std::string TDlgKwhInput::NormalizeKwhText(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    std::string s = first == std::string::npos
        ? std::string() : text.substr(first, text.find_last_not_of(' ') - first + 1);
    auto point = s.find('.');
    int p = point == std::string::npos ? 0 : static_cast<int>(point) + 1;
    if (p > 7)
        return kZero;
    if (p == 0) {
        if (s.size() > 6)
            s = s.substr(s.size() - 6);
        s += '.';
        p = static_cast<int>(s.size());
    }
    std::string result = (std::string(static_cast<std::size_t>(7 - p), '0') + s + "00").substr(0, 9);
    if (result.size() != 9 || result[6] != '.')
        return kZero;
    for (std::size_t i = 0; i < result.size(); ++i) {
        if (i != 6 && !IsDigit(result[i]))
            return kZero;
    }
    return result;
}

void TDlgKwhInput::BtnOkClick()
{
    edtIn->setMaxLength(9);
    edtIn->setText(QString::fromStdString(NormalizeKwhText(edtIn->text().toStdString())));
}

std::string TDlgKwhInput::GetKwhText() const
{
    std::string text = edtIn->text().toStdString();
    if (text.size() >= 7)
        text.erase(6, 1);
    return text;
}

void TDlgKwhInput::FormClose()
{
    if (iniPath_.empty())
        return;
    try {
        rtl::TIniFile ini(iniPath_);
        ini.WriteString(kSection, kKey, edtIn->text().toStdString());
    } catch (const rtl::EIniFileException& error) {
        ShowMessageBox(this, TMessageKind::Error, windowTitle().toStdString(), SettingsWriteErrorText(error));
    }
}

void TDlgKwhInput::done(int result)
{
    FormClose();
    QDialog::done(result);
}

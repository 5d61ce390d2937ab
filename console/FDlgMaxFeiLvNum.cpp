#include "console/FDlgMaxFeiLvNum.h"

#include "console/ErrorTexts.h"
#include "console/MessageBox.h"

#include "console/SmallDialogParts.h"
#include "platform/rtl/IniFiles.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>

namespace {
const char* const kSection = "数据选项";
const char* const kKey = "最大费率";
constexpr int kItems = 63;
constexpr int kColumns = 8;
} // namespace

TDlgMaxFeiLvNum::TDlgMaxFeiLvNum(QWidget* parent, const std::string& iniPath)
    : QDialog(parent), iniPath_(iniPath)
{
    setWindowTitle(QStringLiteral("最大费率号"));
    RgMaxNum = new QGroupBox(QStringLiteral("最大费率号"), this);
    RgMaxNum->setObjectName(QStringLiteral("RgMaxNum"));
    Items = new QButtonGroup(this);
    auto* grid = new QGridLayout(RgMaxNum);
    // Items go down the columns, as a radio group with several columns lays them out.
    const int rows = (kItems + kColumns - 1) / kColumns;
    for (int i = 0; i < kItems; ++i) {
        const QString caption = i < 9 ? QStringLiteral(" %1").arg(i + 1) : QString::number(i + 1);
        auto* button = new QRadioButton(caption, RgMaxNum);
        Items->addButton(button, i);
        grid->addWidget(button, i % rows, i / rows);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RgMaxNum);
    layout->addLayout(smalldlg::AddButtons(this, BitBtn1, BitBtn2, QStringLiteral("确认"), [] {}, mrYes));

    int stored = 4;
    if (!iniPath_.empty())
        stored = rtl::TIniFile(iniPath_).ReadInteger(kSection, kKey, stored);
    SetItemIndex(stored >= 1 && stored <= kItems ? stored - 1 : 0);
}

int TDlgMaxFeiLvNum::ItemIndex() const
{
    return std::max(Items->checkedId(), 0);
}

void TDlgMaxFeiLvNum::SetItemIndex(int index)
{
    if (QAbstractButton* button = Items->button(index))
        button->setChecked(true);
}

void TDlgMaxFeiLvNum::FormClose()
{
    if (iniPath_.empty())
        return;
    try {
        rtl::TIniFile ini(iniPath_);
        ini.WriteInteger(kSection, kKey, ItemIndex() + 1);
    } catch (const rtl::EIniFileException& error) {
        ShowMessageBox(this, TMessageKind::Error, windowTitle().toStdString(), SettingsWriteErrorText(error));
    }
}

void TDlgMaxFeiLvNum::done(int result)
{
    FormClose();
    QDialog::done(result);
}

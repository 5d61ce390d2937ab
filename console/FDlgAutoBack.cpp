#include "console/FDlgAutoBack.h"

#include "console/SmallDialogParts.h"

TDlgBackNum::TDlgBackNum(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("自定义数据标识"));
    auto* grid = new QGridLayout;
    EdtSet = smalldlg::AddEditRow(this, grid, 0, "EdtSet", QStringLiteral("设置长帧命令"), 4,
                                  TKeyFilterKind::Hex);
    EdtRead = smalldlg::AddEditRow(this, grid, 1, "EdtRead", QStringLiteral("读取长帧命令"), 4,
                                   TKeyFilterKind::Hex);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(smalldlg::AddButtons(this, Button1, Button2, QStringLiteral("确认"),
                                           [this] { OKClick(); }));
}

void TDlgBackNum::SetTexts(const std::string& setText, const std::string& readText)
{
    EdtSet->setText(QString::fromStdString(setText));
    EdtRead->setText(QString::fromStdString(readText));
}

std::string TDlgBackNum::SetIdText() const { return EdtSet->text().toStdString(); }
std::string TDlgBackNum::ReadIdText() const { return EdtRead->text().toStdString(); }

void TDlgBackNum::OKClick()
{
    smalldlg::PadEdit(EdtSet);
    smalldlg::PadEdit(EdtRead);
}

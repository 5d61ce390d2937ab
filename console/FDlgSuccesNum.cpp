#include "console/FDlgSuccesNum.h"

#include "console/SmallDialogParts.h"

TDlgSucNum::TDlgSucNum(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("可变速率"));
    auto* grid = new QGridLayout;
    EdtSucNum = smalldlg::AddEditRow(this, grid, 0, "EdtSucNum", QStringLiteral("正确应答次数"), 2,
                                     TKeyFilterKind::Digit, QStringLiteral("(0~99)"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(smalldlg::AddButtons(this, Button1, Button2, QStringLiteral("确认"),
                                           [this] { OkClick(); }));
}

void TDlgSucNum::SetText(const std::string& text) { EdtSucNum->setText(QString::fromStdString(text)); }
std::string TDlgSucNum::Text() const { return EdtSucNum->text().toStdString(); }

void TDlgSucNum::OkClick()
{
    smalldlg::PadEdit(EdtSucNum);
}

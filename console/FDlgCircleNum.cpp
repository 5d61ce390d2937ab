#include "console/FDlgCircleNum.h"

#include "console/SmallDialogParts.h"

TDlgCircleNum::TDlgCircleNum(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("字节数"));
    auto* grid = new QGridLayout;
    EdtBeginNum = smalldlg::AddEditRow(this, grid, 0, "EdtBeginNum", QStringLiteral("起始个数"), 3,
                                       TKeyFilterKind::Digit, QStringLiteral("(0~255)"));
    EdtEndNum = smalldlg::AddEditRow(this, grid, 1, "EdtEndNum", QStringLiteral("终止个数"), 3,
                                     TKeyFilterKind::Digit, QStringLiteral("(0~255)"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(smalldlg::AddButtons(this, Button1, Button2, QStringLiteral("确认"),
                                           [this] { OkClick(); }));
}

void TDlgCircleNum::SetTexts(const std::string& beginText, const std::string& endText)
{
    EdtBeginNum->setText(QString::fromStdString(beginText));
    EdtEndNum->setText(QString::fromStdString(endText));
}

std::string TDlgCircleNum::BeginText() const { return EdtBeginNum->text().toStdString(); }
std::string TDlgCircleNum::EndText() const { return EdtEndNum->text().toStdString(); }

void TDlgCircleNum::OkClick()
{
    smalldlg::PadEdit(EdtBeginNum);
    smalldlg::PadEdit(EdtEndNum);
}

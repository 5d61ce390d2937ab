#include "console/FDlgSelfBack.h"

#include "console/SmallDialogParts.h"

#include <QCheckBox>

namespace {
constexpr int kByteTextLength = 764;  // 255 bytes as "12 34 ..."
} // namespace

TDlgSelfBack::TDlgSelfBack(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("自定义响应"));
    auto* grid = new QGridLayout;
    EdtControl = smalldlg::AddEditRow(this, grid, 0, "EdtControl", QStringLiteral("控制码"), 2,
                                      TKeyFilterKind::HexSpaced, QStringLiteral("(1字节)"));
    EdtData = smalldlg::AddEditRow(this, grid, 1, "EdtData", QStringLiteral("数据域"),
                                   kByteTextLength, TKeyFilterKind::HexSpaced);
    grid->addWidget(new QLabel(QStringLiteral("(数据输入无需加33处理，高字节在前，最大255字节)"), this),
                    2, 1);
    EditAddByte = smalldlg::AddEditRow(this, grid, 3, "EditAddByte", QStringLiteral("后续字节"),
                                       kByteTextLength, TKeyFilterKind::HexSpaced);
    CkBoxRev = new QCheckBox(QStringLiteral("翻转"), this);
    CkBox33H = new QCheckBox(QStringLiteral("加33H"), this);
    grid->addWidget(CkBoxRev, 4, 0);
    grid->addWidget(CkBox33H, 4, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(smalldlg::AddButtons(this, Button1, Button2, QStringLiteral("确认"),
                                           [this] { Button1Click(); }));
    Button1->setToolTip(QStringLiteral("确认自设回复状态"));
    Button2->setToolTip(QStringLiteral("取消自设回复状态"));
}

void TDlgSelfBack::Button1Click()
{
    Reverse = CkBoxRev->isChecked();
    Add33 = CkBox33H->isChecked();
}

std::string TDlgSelfBack::ControlText() const { return EdtControl->text().toStdString(); }
std::string TDlgSelfBack::DataText() const { return EdtData->text().toStdString(); }
std::string TDlgSelfBack::TailText() const { return EditAddByte->text().toStdString(); }

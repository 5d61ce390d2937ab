// Test modes as the window shows them (row captions, check boxes, editable rows, tool buttons,
// pages, title), the meter-kind menu and the menu switches.
#include "console/FFrmMain.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>

namespace {

struct TModeRow {
    std::uint8_t Flag;
    int Labels;          // 0 relay, 1 list, 2 black list, 3 interval
    bool Checks;         // row check boxes shown
    bool RowsEditable;   // rows 2..8
    int Composer;        // "组命令帧" and "强制取消": 0 hidden, 1 shown, -1 unchanged
};

// Modes 1..7; mode 5 (listening) is handled by the menu handler.
const TModeRow ModeRows[8] = {
    {},
    {0x01, 0, false, true, 0},
    {0x04, 1, true, true, 1},
    {0x02, 2, true, true, 0},
    {0x08, 1, false, false, 1},
    {},
    {0x10, 3, false, true, 0},
    {0x20, 1, false, false, -1},
};

constexpr std::uint8_t AllModeBits = 0x01 | 0x02 | 0x04 | 0x08 | 0x10 | 0x20;

QString Q(const char* text) { return QString::fromUtf8(text); }

} // namespace

void TFrmMain::SetTestMode(int mode)
{
    TestModeFlags &= static_cast<std::uint8_t>(~AllModeBits);
    if (mode >= 1 && mode <= 7 && mode != 5) {
        const TModeRow& row = ModeRows[mode];
        TestModeFlags |= row.Flag;
        SetNodeLabels(row.Labels);
        ShowNodeChecks(row.Checks);
        EnableRelayEdits(row.RowsEditable);
        if (row.Composer >= 0) {
            SetToolVisible(TbtnCmdRd9010, row.Composer == 1);
            SetToolVisible(TBtCancel, row.Composer == 1);
        }
        TmiModes[static_cast<std::size_t>(mode - 1)]->setChecked(true);
        if (mode == 7 && ShowRouteDialog)
            ShowRouteDialog();
    }
    setWindowTitle(Q(AppTitle) + Q(mode == 1 ? RelayTitleSuffix : ChipTitleSuffix) + Q(VersionText));
}

int TFrmMain::GetTestMode() const
{
    if (TestModeFlags & 0x01)
        return 1;
    if (TestModeFlags & 0x08)
        return 4;
    if (TestModeFlags & 0x10)
        return 6;
    if (TestModeFlags & 0x02)
        return 3;
    if (TestModeFlags & 0x04)
        return 2;
    return 7;  // the routing test, and the listening mode, which sets no bit
}

void TFrmMain::SetNodeLabels(int kind)
{
    for (int r = 0; r < 8; ++r) {
        QString caption;
        switch (kind) {
        case 0:
            caption = r == 0 ? Q("直抄    节点") : QString::number(r) + Q(" 级中继节点");
            break;
        case 2:
            caption = Q("表号黑名单") + QString::number(r + 1);
            break;
        case 3:
            caption = r % 2 == 0 ? Q("黑名单区间") + QString::number(r / 2 + 1) : Q("    至    ");
            break;
        default:
            caption = Q("表号名单") + QString::number(r + 1);
            break;
        }
        LblBh[static_cast<std::size_t>(r)]->setText(caption);
    }
}

void TFrmMain::ShowNodeChecks(bool show)
{
    for (QCheckBox* check : AddressChecks)
        check->setVisible(show);
}

void TFrmMain::EnableRelayEdits(bool enable)
{
    for (int r = 1; r < 8; ++r)
        AddressEdits[static_cast<std::size_t>(r)]->setEnabled(enable);
}

bool TFrmMain::ListenMode() const
{
    return TmiModes[4]->isChecked();
}

void TFrmMain::TmiTstHmdClick(int tag)
{
    if (tag < 1 || tag > 7)
        return;
    if (CloseModeWindows)
        CloseModeWindows();
    TmiModes[static_cast<std::size_t>(tag - 1)]->setChecked(true);
    TmiChipKind->setChecked(false);
    TmiCheckAuto->setChecked(false);
    SetTestMode(tag);

    const bool listening = ListenMode();
    QAction* items[] = {TmiSetDidu, TmiOpSetEnable, TmiChoosePhasic, TmiChipKind, TmiCheckAuto,
                        TmiBySelf, TmiCircleBack, TmiKinds[0], TmiKinds[1], TmiKinds[2], TmiKinds[3]};
    for (QAction* item : items)
        item->setEnabled(!listening);
    Panel8->setVisible(!listening);
    Panel1->setVisible(!listening);
    ShowTab(TabSheet1, !listening);
    ShowTab(TabSheet2, !listening);
    SetToolVisible(TBt1or3, listening);
    if (listening) {
        SetToolVisible(TbtnCmdRd9010, false);
        SetToolVisible(TBtCancel, false);
        SetToolVisible(ToolButtonBh, false);
        MemoRes->clear();
        MemoTx->clear();
        setWindowTitle(Q(AppTitle) + Q(ListenTitleSuffix) + Q(VersionText));
        ShowTab(TabSheet3, true);
        ShowTab(TabSheet5, true);
        ShowTab(TabSheet4, false);
        ShowTab(TabSheet6, false);
        PageControl1->setCurrentWidget(TabSheet3);
    } else {
        // "命令选择" belongs to the 1997 and 2007 protocols; leaving the listening mode brings it
        // back for them instead of leaving it hidden until the protocol is chosen again.
        SetToolVisible(ToolButtonBh, Rule97645->isChecked() || Rule07645->isChecked());
        for (QWidget* page : {TabSheet3, TabSheet4, TabSheet5, TabSheet6})
            ShowTab(page, false);
        for (QPlainTextEdit* m : {MemoLT, MemoBw, MemoL[0], MemoL[1], MemoL[2], MemoB[0], MemoB[1], MemoB[2]})
            m->clear();
        PageControl1->setCurrentWidget(TabSheet1);
    }
}

void TFrmMain::SelectMeterKindItem(int kind)
{
    const int index = kind >= 0 && kind <= 3 ? kind : 0;
    TmiKinds[static_cast<std::size_t>(index)]->setChecked(true);
    GbxKx->setVisible(kind == 2);
    CbxKx->setVisible(kind == 2);
}

void TFrmMain::TmiMeterMultiClick(int tag)
{
    if (tag < 1 || tag > 4)
        return;
    TmiKinds[static_cast<std::size_t>(tag - 1)]->setChecked(true);
    GbxKx->setVisible(tag == 3);
    CbxKx->setVisible(tag == 3);
    Meter->MeterKind = static_cast<std::uint8_t>(tag - 1);
}

void TFrmMain::TmiChip()
{
    if (TestModeFlags & 0x01)
        TmiChipKind->setChecked(false);
}

void TFrmMain::TmiOpSetEnableClick()
{
    Meter->SetProgramEnable(TmiOpSetEnable->isChecked());
}

void TFrmMain::FastChange(int key)
{
    if (key == Qt::Key_A) {
        if (TmiCircleBack->isChecked()) {
            TmiCircleBack->setChecked(false);
        } else {
            TmiCircleBack->setChecked(true);
            TmiBySelf->setChecked(false);
            if (OnCyclicReplyOn)
                OnCyclicReplyOn();
        }
    } else if (key == Qt::Key_S) {
        if (OnNextBaudStep)
            OnNextBaudStep();
    }
}

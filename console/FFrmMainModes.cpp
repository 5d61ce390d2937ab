// Test modes as the window shows them (row captions, check boxes, editable rows, tool buttons,
// pages, title), the meter-kind menu and the menu switches. The core keeps the mode itself.
#include "console/FFrmMain.h"

#include "console/FFrmOrd.h"
#include "console/FTestModes.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>

void TFrmMain::ApplyModeControls(int mode)
{
    const TTestModeInfo* info = FindTestMode(mode);
    if (info && info->Bit != 0) {
        SetNodeLabels(static_cast<int>(info->Labels));
        if (info->NodeChecks != TModeShow::Unchanged)
            ShowNodeChecks(info->NodeChecks == TModeShow::Shown);
        if (info->RowsEditable != TModeShow::Unchanged)
            EnableRelayEdits(info->RowsEditable == TModeShow::Shown);
        if (info->CommandButtons != TModeShow::Unchanged) {
            SetToolVisible(TbtnCmdRd9010, info->CommandButtons == TModeShow::Shown);
            SetToolVisible(TBtCancel, info->CommandButtons == TModeShow::Shown);
        }
        TmiModes[static_cast<std::size_t>(mode - 1)]->setChecked(true);
        if (mode == 7 && RouteDialog)
            RouteDialog->show();  // not modal: the routing test runs while it is open
    }
    if (mode == kListeningMode)
        TmiModes[kListeningMode - 1]->setChecked(true);
    setWindowTitle(QString::fromStdString(TestModeTitle(AppTitle, mode)));
}

void TFrmMain::SetTestMode(int mode)
{
    Core->SetTestMode(mode);
    ApplyModeControls(mode);
    ApplyListenView();
}

int TFrmMain::GetTestMode() const
{
    return Core->GetTestMode();
}

void TFrmMain::SetNodeLabels(int kind)
{
    const auto texts = NodeLabelTexts(static_cast<TNodeLabels>(kind));
    for (std::size_t r = 0; r < 8; ++r)
        LblBh[r]->setText(QString::fromStdString(texts[r]));
}

void TFrmMain::ShowNodeChecks(bool show)
{
    for (QCheckBox* check : AddressChecks)
        check->setVisible(show);
}

void TFrmMain::EnableRelayEdits(bool enable)
{
    for (std::size_t r = 1; r < 8; ++r)
        AddressEdits[r]->setEnabled(enable);
}

bool TFrmMain::ListenMode() const
{
    return Core && Core->Listening;
}

// What the listening mode shows and hides, or the normal window without it.
void TFrmMain::ApplyListenView()
{
    const bool listening = ListenMode();
    QAction* items[] = {TmiSetDidu, TmiOpSetEnable, TmiChoosePhasic, TmiChipKind, TmiFePreamble, TmiCheckAuto,
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
        ShowTab(TabSheet3, ListenWholeView);
        ShowTab(TabSheet5, ListenWholeView);
        ShowTab(TabSheet4, !ListenWholeView);
        ShowTab(TabSheet6, !ListenWholeView);
        PageControl1->setCurrentWidget(ListenWholeView ? TabSheet3 : TabSheet4);
    } else {
        // "命令选择" belongs to the 1997 and 2007 protocols; leaving the listening mode brings it
        // back for them instead of leaving it hidden until the protocol is chosen again.
        SetToolVisible(ToolButtonBh, Rule97645->isChecked() || Rule07645->isChecked());
        for (QWidget* page : {TabSheet3, TabSheet4, TabSheet5, TabSheet6})
            ShowTab(page, false);
        PageControl1->setCurrentWidget(TabSheet1);
        ShowCarrierPages(false);
    }
}

void TFrmMain::TmiTstHmdClick(int tag)
{
    if (tag < 1 || tag > 7)
        return;
    if (Composer)
        Composer->close();
    if (RouteDialog)
        RouteDialog->close();
    TmiModes[static_cast<std::size_t>(tag - 1)]->setChecked(true);
    Core->ChooseTestMode(tag);  // also empties the logs the mode hides
    TmiChipKind->setChecked(Core->Options.ChipKind);
    TmiCheckAuto->setChecked(Core->Options.LongFrameTest);
    ApplyModeControls(tag);
    ApplyListenView();
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
    if (Core->TestModeFlags & tmRelay)
        TmiChipKind->setChecked(false);
    Core->Options.ChipKind = TmiChipKind->isChecked();
}

void TFrmMain::TmiOpSetEnableClick()
{
    Meter->SetProgramEnable(TmiOpSetEnable->isChecked());
}

void TFrmMain::FastChange(int key)
{
    try {
        Core->FastChange(key == Qt::Key_A ? 'A' : key == Qt::Key_S ? 'S' : '\0');
    } catch (const std::exception& e) {
        NotifyError(e.what());  // Alt+S reopens the port; one that cannot be opened stays closed
        Core->ShowPortState();
    }
    TmiCircleBack->setChecked(Core->Options.CycleReply);
    TmiBySelf->setChecked(Core->Options.SelfReply);
}

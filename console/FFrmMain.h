#pragma once
// The main window: the meter's face and inputs (upper panel), the function switches, address
// rows and event report (left panel), the log pages, the status bar with its counters and
// buttons, the tool bar with the mode menu, and the timers. It owns the one simulated meter and
// the serial link, reads the settings file into itself and the meter when it is created and
// writes it back when it closes.
//
// Files: FFrmMain.cpp (construction, layout, start-up and shut-down, settings), FFrmMainPanel.cpp
// (meter face, grid input, address and password), FFrmMainEdits.cpp (parameter edits and
// switches), FFrmMainModes.cpp (test modes, meter kinds, menus), FFrmMainConvert (pure
// conversions), FFrmMainWidgets (filtered edit, lamp), LogSaver (saving the logs).
#include "console/DigitView.h"
#include "console/FConsoleCore.h"
#include "console/FDlgTstRoute.h"
#include "console/FFrmMainWidgets.h"
#include "console/LogMemo.h"
#include "console/LogSaver.h"
#include "meter/FMeter.h"

#include <QMainWindow>
#include <QTimer>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QActionGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolBar;
class QToolButton;
class QWidget;
class TDlgComSet;
class TSerialLink;
class TFrmSend;
class TCommandSequencer;
class TWindowLine;
class TWindowPorts;

extern const char* const AppTitle;  // "Ammerlin"

// What the window is built with; tests give a settings file, a clock and a folder of their own.
struct TFrmMainOptions {
    std::string IniPath;        // empty: the program's settings file
    TTimeSource Clock;          // the meter's clock source; empty: the PC clock
    std::string LogFolder;      // where the logs are saved; empty: the working directory
    bool StartTimers = true;    // the one-second tick runs by itself
};

class TFrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TFrmMain(TFrmMainOptions options = {}, QWidget* parent = nullptr);
    ~TFrmMain() override;

    // ---- Start-up and shut-down (FFrmMain.cpp) ----
    std::string IniPath() const;
    void FormCreate();
    void FormClose();

    // Message boxes go through here (tests record them); errors show the error icon.
    std::function<void(const std::string& text)> Notify;
    std::function<void(const std::string& text)> NotifyError;
    // The small dialogs the window asks: an energy value (caption, initial text; the 8 digits on
    // OK), the highest tariff number under DL/T645-2007; no answer = cancelled.
    std::function<std::optional<std::string>(const std::string& caption, const std::string& text)> AskKwhText;
    std::function<std::optional<int>()> AskMaxTariff;
    // Set up before FormCreate to replace the dialogs of the reply variants (tests).
    IConsoleDialogs* DialogsOverride = nullptr;

    // ---- Logs ----
    void AddLog(TLogMemo* memo, const std::string& line);
    static std::vector<std::string> MemoLines(const TLogMemo* memo);  // shown and queued
    void N11Click();            // "保存数据(&S)"
    void BtnSaveMemoClick();    // "显示保存"
    void BtnTxCntClrClick();    // "计数复位"
    std::array<TLogMemo*, 10> LogMemos() const;
    void SetupLogMemos(int cap);  // the cap and the automatic log file of every pane

    // ---- Meter panel (FFrmMainPanel.cpp) ----
    void TimerSecTimer();
    void ShowMeterClock();
    void ShowEnergy();
    void ShowTotalEnergy(const std::uint8_t* bcd);
    void ShowTariffEnergy(const std::uint8_t* bcd);
    void DrawDigit(TDigitView* image, int nibble);
    void DrawRedDigit(TDigitView* image, int nibble);
    void ToggleLamp(TLamp* shape);
    void SetRelayLamp(std::uint8_t on);
    void RecalcGridInput();
    void CbbxVoltAChange(int phase);
    void CbbxAmpAChange(int phase);
    void CbbxJduAChange(int phase);
    void CbbxPulCntChange();
    void CbxKxClick();
    void EdtAmpNExit();
    void EditBhExit();
    void EditPwExit();
    void EditZj1Exit(int row);  // rows 2..8 (1..7 here)
    void TmiSetDiduClick();
    std::string PanelText(int index) const;
    void SetPanelText(int index, const std::string& text);

    // ---- Parameter edits and switches (FFrmMainEdits.cpp) ----
    void EditTimeBeginExit(int entry);  // 0..3
    void EditRroExit();
    void EditMaxClearExit();
    void EditAutoReadExit();
    void EdiMonthExit();
    void EditMoneyExit();
    void EditMoney2Exit();
    void EditStaRun1Exit();
    void EditStaRunExit(int word);  // "运行2".."运行7": words 1..6
    void EditStaGridExit();
    void EditStaWeekExit();
    void EditStaSelfExit();
    void EditEventFlagExit();
    void EditKaiNumExit();
    void CheckBox2Click();
    void BtnPauseClick();
    void TmiSetSecClick();
    std::optional<std::string> AskEnergy(const std::string& caption, const std::string& text);
    void Cbx3or1Click();
    void PmiCheckNoClick();
    void DoCheckRule();
    // The display switches as one group: a click on one of them, then the end states of all.
    enum class TDisplaySwitch { Show645, Carrier, CarrierRaw };
    void DisplaySwitchClick(TDisplaySwitch which);
    void ResetReceiverForDisplay();
    void ShowDisplaySwitches();
    void ShowCarrierPages(bool activate);
    void TBt1or3Click();
    void TBtCancelClick();
    void EventEditChange(int which);  // 0 "命令", 1 "响应", 2 "取消", 3 "结束"
    TLogMemo* LogMemo(TLogId id) const;

    // ---- Test modes, menus (FFrmMainModes.cpp) ----
    void SetTestMode(int mode);
    int GetTestMode() const;
    void SetNodeLabels(int kind);  // 0 relay, 1 list, 2 black list, 3 interval
    void ShowNodeChecks(bool show);
    void EnableRelayEdits(bool enable);
    void TmiTstHmdClick(int tag);
    void TmiMeterMultiClick(int tag);
    void SelectMeterKindItem(int kind);
    void TmiChip();
    void TmiOpSetEnableClick();
    void FastChange(int key);  // Qt::Key_A or Qt::Key_S with Alt
    bool ListenMode() const;
    void ApplyModeControls(int mode);

    // ---- State ----
    // The console core owns the meter and the receive-path state; Meter points at its meter
    // between FormCreate and FormClose.
    std::unique_ptr<TConsoleCore> Core;
    TZbSxMeter* Meter = nullptr;
    std::unique_ptr<TSerialLink> Link;
    std::unique_ptr<TWindowLine> Line;
    std::unique_ptr<TWindowPorts> Ports;
    TDlgComSet* ComSetDialog = nullptr;
    TFrmSend* Composer = nullptr;
    TRouteTest Routes;
    TDlgTstRoute* RouteDialog = nullptr;
    std::unique_ptr<TCommandSequencer> Sequencer;
    int FrameGap = 100;
    int ResponseDelay = 10000;
    bool CustomDataShown = false;
    bool ListenWholeView = true;

    // ---- Serial port (FFrmMainPorts.cpp) ----
    void TbtnComOpenClick();
    void ToolButton1Click();
    void OpenPort(bool open);
    void BbtnEventEnClick();
    void CheckDelayClick();
    void ApplyListenView();

    // ---- Controls ----
    QToolBar* ToolBar1 = nullptr;
    QToolButton* ToolButton1 = nullptr;    // "串口设置"
    QToolButton* TbtnComOpen = nullptr;    // "打开串口" / "关闭串口"
    QToolButton* TbtnPara = nullptr;       // "运行模式"
    QToolButton* TbtnCmdRd9010 = nullptr;  // "组命令帧"
    QToolButton* TBtCancel = nullptr;      // "强制取消"
    QToolButton* ToolButtonBh = nullptr;   // "命令选择"
    QToolButton* TBt1or3 = nullptr;        // "单/三相显示"
    QToolButton* TbtnAbout = nullptr;      // "关于"
    QMenu* PmPara = nullptr;
    QMenu* PmCmdRd9010 = nullptr;
    QMenu* PmCheckBack = nullptr;
    QAction* TmiContinuous = nullptr;      // "连续"
    QAction* PmiCheckNo = nullptr;         // "只响应选择规约"
    std::array<QAction*, 7> TmiModes{};    // Tag 1..7 at index 0..6
    std::array<QAction*, 4> TmiKinds{};    // Tag 1..4 at index 0..3
    QAction* TmiSetDidu = nullptr;         // "设置底度"
    QAction* TmiSetSec = nullptr;          // "设置走表速率"
    QAction* TmiOpSetEnable = nullptr;     // "编程开关"
    QAction* TmiChoosePhasic = nullptr;    // "支持跨相"
    QAction* TmiChipKind = nullptr;        // "通道芯片"
    QAction* TmiFePreamble = nullptr;      // "前导符FE"
    QAction* TmiCheckAuto = nullptr;       // "长帧测试"
    QAction* TmiBySelf = nullptr;          // "自设回复"
    QAction* TmiCircleBack = nullptr;      // "循环回复"

    QWidget* Panel8 = nullptr;
    std::array<TDigitView*, 8> ImgKwh{};      // index 0 = rightmost
    std::array<TDigitView*, 8> ImageKwhF{};   // index 0 = rightmost
    TDigitView *ImgHourH = nullptr, *ImgHourL = nullptr, *ImgMinH = nullptr, *ImgMinL = nullptr,
               *ImgSecH = nullptr, *ImgSecL = nullptr;
    TLamp* ShpKwh = nullptr;
    TLamp* ShpTx = nullptr;
    TLamp* ShpJdq = nullptr;
    QLabel* Label12 = nullptr;
    QLineEdit* EdtShd = nullptr;
    QLineEdit* EdtWeek = nullptr;
    std::array<QComboBox*, 3> CbbxVolt{};
    std::array<QComboBox*, 3> CbbxAmp{};
    std::array<QComboBox*, 3> CbbxJdu{};
    QComboBox* CbbxPulCnt = nullptr;
    TFilterEdit* EditPw = nullptr;
    TFilterEdit* EdtAmpN = nullptr;
    QCheckBox* Cbx3or1 = nullptr;
    QRadioButton *Rule97645 = nullptr, *Rule07645 = nullptr, *RuleShanghai = nullptr,
                 *RuleBnc = nullptr;
    QGroupBox* GbxKx = nullptr;
    QCheckBox* CbxKx = nullptr;
    QGroupBox* GroupBox23 = nullptr;  // "自定义数据"
    std::array<TFilterEdit*, 4> EditTimeBegin{};
    TFilterEdit *EditRro = nullptr, *EditMaxClear = nullptr, *EditAutoRead = nullptr;
    TFilterEdit *EdiMonth = nullptr, *EditMoney = nullptr, *EditMoney2 = nullptr;
    std::array<TFilterEdit*, 7> EditStaRun{};  // "运行1".."运行7"
    TFilterEdit *EditStaGrid = nullptr, *EditStaWeek = nullptr, *EditStaSelf = nullptr;
    TFilterEdit *EditEventFlag = nullptr, *EditKaiNum = nullptr;

    QWidget* Panel1 = nullptr;
    QCheckBox* CheckChangeBaud = nullptr;  // "可变速率"
    QCheckBox* CheckDelay = nullptr;       // "延时设置"
    QCheckBox* CheckAbandon = nullptr;     // "Daltrex显示"
    QCheckBox* Check645Show = nullptr;     // "645显示"
    QCheckBox* CheckTopFast = nullptr;     // "Daltrex不解析"
    QCheckBox* CheckBox2 = nullptr;        // "自定义数据"
    std::array<QLabel*, 8> LblBh{};
    std::array<TFilterEdit*, 8> AddressEdits{};  // EditBh, EditZj1..EditZj7
    std::array<QCheckBox*, 8> AddressChecks{};   // ChbNode1..ChbNode8
    std::array<TFilterEdit*, 4> EventEdits{};    // EdtControlEventRep, Data, Cancel, Finished
    QCheckBox* CheckIO = nullptr;                // "硬件设置"
    QPushButton* BbtnEventEn = nullptr;          // "事件使能"
    TLamp* ShpStaEvent = nullptr;

    QTabWidget* PageControl1 = nullptr;
    QWidget *TabSheet1 = nullptr, *TabSheet2 = nullptr, *TabSheet3 = nullptr,
            *TabSheet4 = nullptr, *TabSheet5 = nullptr, *TabSheet6 = nullptr;
    TLogMemo *MemoRes = nullptr, *MemoTx = nullptr, *MemoLT = nullptr, *MemoBw = nullptr;
    std::array<TLogMemo*, 3> MemoL{};
    std::array<TLogMemo*, 3> MemoB{};
    std::array<QLabel*, 3> LabelL{};
    std::array<QLabel*, 3> LabelB{};

    std::array<QLabel*, 6> StatusPanels{};
    QPushButton* BtnTxCntClr = nullptr;
    QPushButton* BtnPause = nullptr;
    QPushButton* BtnSaveMemo = nullptr;

    QTimer TimerSec;
    QTimer TimerRd9010;

    // Tool buttons are shown and hidden through their tool-bar actions.
    void SetToolVisible(QToolButton* button, bool visible);
    bool IsToolVisible(QToolButton* button) const;
    bool IsTabShown(QWidget* page) const;
    void ShowTab(QWidget* page, bool show);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildForm();
    QWidget* BuildUpperPanel();
    QWidget* BuildCustomData();
    QWidget* BuildLeftPanel();
    void BuildPages();
    void BuildStatusBar();
    void BuildToolBar();
    void ConnectHandlers();
    void ReadSettings();
    void WriteSettings();
    void LayoutListenPages();
    void ResetEditsForProtocol();

    TFrmMainOptions options_;
    std::array<std::string, 6> panelTexts_;
    std::vector<std::pair<QToolButton*, QAction*>> toolActions_;
    bool created_ = false;
    bool closed_ = false;
};

#include "console/FFrmMain.h"

#include "console/ErrorTexts.h"
#include "console/CommandSequencer.h"
#include "console/FDlgComSet.h"
#include "console/FFrmMainPorts.h"
#include "console/FFrmOrd.h"
#include "console/FFrmMainConvert.h"
#include "console/MessageBox.h"
#include "console/SerialLink.h"
#include "console/SettingsKeys.h"
#include "console/SettingsPath.h"
#include "platform/rtl/IniFiles.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cctype>
#include <ctime>
#include <memory>

const char* const AppTitle = "Ammerlin";

namespace {

QString Q(const char* text) { return QString::fromUtf8(text); }
QString Q(const std::string& text) { return QString::fromStdString(text); }

} // namespace

TFrmMain::TFrmMain(TFrmMainOptions options, QWidget* parent)
    : QMainWindow(parent), options_(std::move(options))
{
    Notify = [this](const std::string& text) {
        ShowMessageBox(this, TMessageKind::Information, AppTitle, text);
    };
    NotifyError = [this](const std::string& text) { ShowMessageBox(this, TMessageKind::Error, AppTitle, text); };
    Link = std::make_unique<TSerialLink>(this);
    BuildForm();
    ConnectHandlers();
    // Constructor state: counters shown as 0, the second page selected, buttons in the bar.
    SetPanelText(2, "RX:0");
    SetPanelText(3, "TX:0");
    SetPanelText(4, "RSuc:0");
    SetPanelText(5, "TSuc:0");
    PageControl1->setCurrentIndex(1);
    TimerSec.setInterval(1000);
    TimerRd9010.setInterval(1000);
    TimerRd9010.setSingleShot(true);
    connect(&TimerSec, &QTimer::timeout, this, [this] { TimerSecTimer(); });
}

TFrmMain::~TFrmMain()
{
    if (created_ && !closed_) {
        try {
            FormClose();
        } catch (...) {
            // A window destroyed without being closed (a test, an aborted start) keeps quiet.
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Layout

void TFrmMain::BuildForm()
{
    setWindowTitle(Q(AppTitle));
    QFont f(Q("宋体"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSize(9);
    setFont(f);
    resize(955, 766);

    BuildToolBar();
    auto* central = new QWidget(this);
    auto* v = new QVBoxLayout(central);
    v->setContentsMargins(2, 2, 2, 2);
    v->setSpacing(2);
    Panel8 = BuildUpperPanel();
    v->addWidget(Panel8);
    auto* h = new QHBoxLayout;
    h->setSpacing(2);
    Panel1 = BuildLeftPanel();
    h->addWidget(Panel1);
    BuildPages();
    h->addWidget(PageControl1, 1);
    v->addLayout(h, 1);
    setCentralWidget(central);
    BuildStatusBar();
}

void TFrmMain::BuildToolBar()
{
    ToolBar1 = addToolBar(Q("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const auto button = [this](const char* caption) {
        auto* b = new QToolButton(ToolBar1);
        b->setText(Q(caption));
        toolActions_.emplace_back(b, ToolBar1->addWidget(b));
        return b;
    };
    ToolButton1 = button("串口设置");
    TbtnComOpen = button("打开串口");
    TbtnPara = button("运行模式");
    TbtnCmdRd9010 = button("组命令帧");
    TBtCancel = button("强制取消");
    ToolButtonBh = button("命令选择");
    TBt1or3 = button("单/三相显示");
    TbtnAbout = button("关于");

    PmPara = new QMenu(this);
    auto* modes = new QActionGroup(this);
    const char* modeNames[7] = {"中继测试", "白名单测试", "黑名单测试", "不识别表号",
                                "侦听测试", "区间表单测试", "路由测试"};
    for (int i = 0; i < 7; ++i) {
        TmiModes[i] = PmPara->addAction(Q(modeNames[i]));
        TmiModes[i]->setCheckable(true);
        TmiModes[i]->setData(i + 1);
        modes->addAction(TmiModes[i]);
    }
    PmPara->addSeparator();
    auto* kinds = new QActionGroup(this);
    const char* kindNames[4] = {"新载波表", "采集器", "开箱监视器", "旧载波表"};
    for (int i = 0; i < 4; ++i) {
        TmiKinds[i] = PmPara->addAction(Q(kindNames[i]));
        TmiKinds[i]->setCheckable(true);
        TmiKinds[i]->setData(i + 1);
        kinds->addAction(TmiKinds[i]);
    }
    PmPara->addSeparator();
    const auto item = [this](const char* caption, bool checkable) {
        QAction* a = PmPara->addAction(Q(caption));
        a->setCheckable(checkable);
        return a;
    };
    TmiSetDidu = item("设置底度", false);
    TmiSetSec = item("设置走表速率", false);
    TmiOpSetEnable = item("编程开关", true);
    TmiChoosePhasic = item("支持跨相", true);
    TmiChipKind = item("通道芯片", true);
    TmiFePreamble = item("前导符FE", true);
    TmiCheckAuto = item("长帧测试", true);
    TmiBySelf = item("自设回复", true);
    TmiCircleBack = item("循环回复", true);
    TbtnPara->setMenu(PmPara);
    // The menu mark beside the caption, as on "组命令帧" and "命令选择"; a click anywhere on the
    // button opens the menu.
    TbtnPara->setPopupMode(QToolButton::MenuButtonPopup);
    connect(TbtnPara, &QToolButton::clicked, TbtnPara, &QToolButton::showMenu);

    PmCmdRd9010 = new QMenu(this);
    TmiContinuous = PmCmdRd9010->addAction(Q("连续"));
    TmiContinuous->setCheckable(true);
    TbtnCmdRd9010->setMenu(PmCmdRd9010);
    TbtnCmdRd9010->setPopupMode(QToolButton::MenuButtonPopup);

    PmCheckBack = new QMenu(this);
    PmiCheckNo = PmCheckBack->addAction(Q("只响应选择规约"));
    PmiCheckNo->setCheckable(true);
    ToolButtonBh->setMenu(PmCheckBack);
    ToolButtonBh->setPopupMode(QToolButton::MenuButtonPopup);

    for (QToolButton* hidden : {TBtCancel, TBt1or3, TbtnAbout})
        SetToolVisible(hidden, false);
}

QWidget* TFrmMain::BuildUpperPanel()
{
    auto* panel = new QWidget(this);
    auto* outer = new QVBoxLayout(panel);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(2);
    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    outer->addLayout(row);

    // Energy: two rows of eight digits.
    auto* energy = new QGroupBox(panel);
    auto* eg = new QGridLayout(energy);
    eg->setContentsMargins(4, 2, 4, 2);
    eg->setHorizontalSpacing(1);
    eg->setVerticalSpacing(4);
    eg->addWidget(new QLabel(Q("总电量"), energy), 0, 0);
    eg->addWidget(new QLabel(Q("当前费率电量"), energy), 1, 0);
    for (int i = 0; i < 8; ++i) {
        ImgKwh[i] = new TDigitView(energy);
        ImageKwhF[i] = new TDigitView(energy);
        eg->addWidget(ImgKwh[i], 0, 8 - i);
        eg->addWidget(ImageKwhF[i], 1, 8 - i);
    }
    ShpKwh = new TLamp(energy);
    eg->addWidget(ShpKwh, 0, 9);
    Label12 = new QLabel(Q("平"), energy);
    eg->addWidget(Label12, 1, 9);
    row->addWidget(energy);

    // Clock, tariff period, weekday, lamps.
    auto* clock = new QGroupBox(panel);
    auto* cg = new QGridLayout(clock);
    cg->setContentsMargins(4, 2, 4, 2);
    cg->setHorizontalSpacing(1);
    cg->addWidget(new QLabel(Q("时间"), clock), 0, 0);
    TDigitView** parts[6] = {&ImgHourH, &ImgHourL, &ImgMinH, &ImgMinL, &ImgSecH, &ImgSecL};
    for (int i = 0; i < 6; ++i) {
        *parts[i] = new TDigitView(clock);
        cg->addWidget(*parts[i], 0, 1 + i + i / 2);
    }
    cg->addWidget(new QLabel(Q(":"), clock), 0, 3);
    cg->addWidget(new QLabel(Q(":"), clock), 0, 6);
    EdtShd = new QLineEdit(Q("平"), clock);
    EdtWeek = new QLineEdit(Q("日"), clock);
    for (QLineEdit* e : {EdtShd, EdtWeek}) {
        e->setReadOnly(true);
        e->setFixedWidth(26);
        e->setAlignment(Qt::AlignCenter);
    }
    auto* line = new QHBoxLayout;
    line->addWidget(new QLabel(Q("时段"), clock));
    line->addWidget(EdtShd);
    line->addWidget(new QLabel(Q("星期"), clock));
    line->addWidget(EdtWeek);
    ShpTx = new TLamp(clock);
    ShpJdq = new TLamp(clock);
    line->addWidget(new QLabel(Q("通信"), clock));
    line->addWidget(ShpTx);
    line->addWidget(new QLabel(Q("阀控"), clock));
    line->addWidget(ShpJdq);
    cg->addLayout(line, 1, 0, 1, 9);
    row->addWidget(clock);

    // Grid input per phase.
    auto* grid = new QGroupBox(panel);
    auto* gg = new QGridLayout(grid);
    gg->setContentsMargins(4, 2, 4, 2);
    gg->setVerticalSpacing(1);
    gg->addWidget(new QLabel(Q("电压"), grid), 0, 1);
    gg->addWidget(new QLabel(Q("电流"), grid), 0, 2);
    gg->addWidget(new QLabel(Q("角度"), grid), 0, 3);
    const char* phases[3] = {"A相", "B相", "C相"};
    for (int p = 0; p < 3; ++p) {
        gg->addWidget(new QLabel(Q(phases[p]), grid), p + 1, 0);
        CbbxVolt[p] = new QComboBox(grid);
        for (const char* s : panel::VoltageItems)
            CbbxVolt[p]->addItem(Q(s));
        CbbxAmp[p] = new QComboBox(grid);
        for (const char* s : panel::CurrentItems)
            CbbxAmp[p]->addItem(Q(s));
        CbbxJdu[p] = new QComboBox(grid);
        for (const char* s : panel::AngleItems)
            CbbxJdu[p]->addItem(Q(s));
        gg->addWidget(CbbxVolt[p], p + 1, 1);
        gg->addWidget(CbbxAmp[p], p + 1, 2);
        gg->addWidget(CbbxJdu[p], p + 1, 3);
    }
    row->addWidget(grid);

    // Pulse constant, password, neutral current, single phase, box opening.
    auto* misc = new QWidget(panel);
    auto* mg = new QGridLayout(misc);
    mg->setContentsMargins(0, 0, 0, 0);
    mg->setVerticalSpacing(1);
    CbbxPulCnt = new QComboBox(misc);
    for (const char* s : panel::PulseItems)
        CbbxPulCnt->addItem(Q(s));
    EditPw = new TFilterEdit(misc);
    EditPw->setMaxLength(6);
    EditPw->SetFilter(TKeyFilterKind::Hex);
    EditPw->setFixedWidth(70);
    EdtAmpN = new TFilterEdit(misc);
    EdtAmpN->setText(Q("0.000"));
    EdtAmpN->setMaxLength(5);
    EdtAmpN->setReadOnly(true);
    EdtAmpN->setFixedWidth(70);
    Cbx3or1 = new QCheckBox(Q("单相"), misc);
    mg->addWidget(new QLabel(Q("脉冲常数"), misc), 0, 0);
    mg->addWidget(CbbxPulCnt, 0, 1);
    mg->addWidget(new QLabel(Q("密码"), misc), 1, 0);
    mg->addWidget(EditPw, 1, 1);
    mg->addWidget(new QLabel(Q("N 相电流"), misc), 2, 0);
    mg->addWidget(EdtAmpN, 2, 1);
    mg->addWidget(Cbx3or1, 3, 1);
    row->addWidget(misc);

    auto* rules = new QGroupBox(panel);
    auto* rg = new QVBoxLayout(rules);
    rg->setContentsMargins(4, 2, 4, 2);
    rg->setSpacing(0);
    Rule97645 = new QRadioButton(Q("DL/T645-1997"), rules);
    Rule07645 = new QRadioButton(Q("DL/T645-2007"), rules);
    RuleShanghai = new QRadioButton(Q("上海规约"), rules);
    RuleBnc = new QRadioButton(Q("BNC规约"), rules);
    for (QRadioButton* r : {Rule97645, Rule07645, RuleShanghai, RuleBnc})
        rg->addWidget(r);
    Rule97645->setChecked(true);
    row->addWidget(rules);

    row->addStretch();

    GroupBox23 = qobject_cast<QGroupBox*>(BuildCustomData());
    outer->addWidget(GroupBox23);
    GroupBox23->setVisible(false);
    outer->addStretch();
    panel->setFixedHeight(110);
    return panel;
}

QWidget* TFrmMain::BuildCustomData()
{
    auto* group = new QGroupBox(Q("自定义数据"), this);
    auto* g = new QGridLayout(group);
    g->setContentsMargins(4, 2, 4, 2);
    g->setVerticalSpacing(2);
    const auto edit = [group](int width, const char* text, std::optional<TKeyFilterKind> kind) {
        auto* e = new TFilterEdit(group);
        e->setMaxLength(width);
        e->setText(Q(text));
        e->SetFilter(kind);
        e->setFixedWidth(width * 9 + 12);
        return e;
    };
    const auto put = [g, group](int r, int c, const char* caption, QWidget* w, const char* unit = nullptr) {
        g->addWidget(new QLabel(Q(caption), group), r, c * 3);
        g->addWidget(w, r, c * 3 + 1);
        if (unit)
            g->addWidget(new QLabel(Q(unit), group), r, c * 3 + 2);
    };
    const char* begins[4] = {"0000", "0200", "0400", "0600"};
    const char* times[4] = {"时段1", "时段2", "时段3", "时段4"};
    for (int i = 0; i < 4; ++i) {
        EditTimeBegin[i] = edit(4, begins[i], TKeyFilterKind::Digit);
        put(i, 0, times[i], EditTimeBegin[i]);
    }
    EditRro = edit(4, "0000", TKeyFilterKind::Digit);
    EditMaxClear = edit(4, "0000", TKeyFilterKind::Digit);
    EditAutoRead = edit(4, "0000", TKeyFilterKind::Digit);
    put(0, 1, "编程次数", EditRro);
    put(1, 1, "最大需量清零次数", EditMaxClear);
    put(2, 1, "抄表日期", EditAutoRead);
    EdiMonth = edit(9, "000000.00", TKeyFilterKind::Amount);
    EditMoney = edit(9, "000000.00", TKeyFilterKind::Amount);
    EditMoney2 = edit(9, "000000.00", TKeyFilterKind::Amount);
    put(0, 2, "整点冻结值", EdiMonth, "kWh");
    put(1, 2, "剩余金额", EditMoney, "元");
    put(2, 2, "透支金额", EditMoney2, "元");

    auto* status = new QGroupBox(Q("状态字"), group);
    auto* sg = new QGridLayout(status);
    sg->setContentsMargins(4, 2, 4, 2);
    sg->setVerticalSpacing(2);
    const char* runs[7] = {"运行1", "运行2", "运行3", "运行4", "运行5", "运行6", "运行7"};
    for (int i = 0; i < 7; ++i) {
        EditStaRun[i] = i == 0 ? edit(2, "00", TKeyFilterKind::Hex) : edit(4, "0000", TKeyFilterKind::Hex);
        EditStaRun[i]->setEnabled(i == 0);
    }
    EditStaGrid = edit(2, "00", TKeyFilterKind::Hex);
    EditStaWeek = edit(2, "00", TKeyFilterKind::Hex);
    EditStaSelf = edit(4, "0000", TKeyFilterKind::Hex);
    EditEventFlag = edit(4, "0000", TKeyFilterKind::Hex);
    EditStaSelf->setEnabled(false);
    // Eleven captions with their edits, four to a row, each edit as tall as its text needs.
    const std::pair<const char*, TFilterEdit*> words[11] = {
        {runs[0], EditStaRun[0]}, {runs[1], EditStaRun[1]}, {runs[2], EditStaRun[2]}, {runs[3], EditStaRun[3]},
        {runs[4], EditStaRun[4]}, {runs[5], EditStaRun[5]}, {runs[6], EditStaRun[6]}, {"电网", EditStaGrid},
        {"周休日", EditStaWeek},  {"自检", EditStaSelf},     {"事件标识", EditEventFlag}};
    for (int i = 0; i < 11; ++i) {
        TFilterEdit* e = words[i].second;
        e->setFixedWidth(e->fontMetrics().horizontalAdvance(Q("0000")) + 16);
        e->setMinimumHeight(e->sizeHint().height());
        sg->addWidget(new QLabel(Q(words[i].first), status), i / 4, i % 4 * 2);
        sg->addWidget(e, i / 4, i % 4 * 2 + 1);
    }
    g->addWidget(status, 0, 9, 4, 1);
    return group;
}

QWidget* TFrmMain::BuildLeftPanel()
{
    auto* panel = new QWidget(this);
    panel->setFixedWidth(250);
    auto* v = new QVBoxLayout(panel);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(2);

    auto* funcs = new QGroupBox(Q("功能选择"), panel);
    auto* fg = new QGridLayout(funcs);
    fg->setContentsMargins(4, 2, 4, 2);
    fg->setVerticalSpacing(0);
    CheckChangeBaud = new QCheckBox(Q("可变速率"), funcs);
    CheckDelay = new QCheckBox(Q("延时设置"), funcs);
    CheckAbandon = new QCheckBox(Q("Daltrex显示"), funcs);
    Check645Show = new QCheckBox(Q("645显示"), funcs);
    CheckTopFast = new QCheckBox(Q("Daltrex不解析"), funcs);
    CheckBox2 = new QCheckBox(Q("自定义数据"), funcs);
    CheckDelay->setEnabled(false);
    QCheckBox* boxes[6] = {CheckChangeBaud, CheckDelay, CheckAbandon, Check645Show, CheckTopFast, CheckBox2};
    for (int i = 0; i < 6; ++i)
        fg->addWidget(boxes[i], i / 2, i % 2);
    v->addWidget(funcs);

    auto* list = new QGroupBox(Q("表单"), panel);
    auto* lg = new QGridLayout(list);
    lg->setContentsMargins(4, 2, 4, 2);
    lg->setVerticalSpacing(1);
    for (int r = 0; r < 8; ++r) {
        LblBh[r] = new QLabel(list);
        AddressEdits[r] = new TFilterEdit(list);
        AddressEdits[r]->setMaxLength(12);
        AddressEdits[r]->SetFilter(TKeyFilterKind::Hex);
        AddressChecks[r] = new QCheckBox(list);
        lg->addWidget(LblBh[r], r, 0);
        lg->addWidget(AddressEdits[r], r, 1);
        lg->addWidget(AddressChecks[r], r, 2);
    }
    v->addWidget(list);

    auto* events = new QGroupBox(Q("事件上报"), panel);
    auto* eg = new QGridLayout(events);
    eg->setContentsMargins(4, 2, 4, 2);
    eg->setVerticalSpacing(1);
    const char* names[4] = {"命令", "响应", "取消", "结束"};
    for (int i = 0; i < 4; ++i) {
        EventEdits[i] = new TFilterEdit(events);
        EventEdits[i]->SetFilter(TKeyFilterKind::HexSpaced);
        EventEdits[i]->setMaxLength(767);
        eg->addWidget(new QLabel(Q(names[i]), events), i, 0);
        eg->addWidget(EventEdits[i], i, 1, 1, 3);
    }
    CheckIO = new QCheckBox(Q("硬件设置"), events);
    BbtnEventEn = new QPushButton(Q("事件使能"), events);
    ShpStaEvent = new TLamp(events, QColor(0x80, 0x80, 0x80));
    eg->addWidget(CheckIO, 4, 1);
    eg->addWidget(BbtnEventEn, 4, 2);
    eg->addWidget(ShpStaEvent, 4, 3);
    v->addWidget(events);

    // The box-open monitor's count and switch, shown for that meter kind only: under the event
    // reports, where the panel has room, so that the window keeps its width.
    GbxKx = new QGroupBox(Q("开箱次数"), panel);
    auto* kx = new QHBoxLayout(GbxKx);
    kx->setContentsMargins(4, 2, 4, 2);
    EditKaiNum = new TFilterEdit(GbxKx);
    EditKaiNum->setMaxLength(2);
    EditKaiNum->setText(Q("00"));
    EditKaiNum->SetFilter(TKeyFilterKind::Digit);
    EditKaiNum->setFixedWidth(40);
    CbxKx = new QCheckBox(Q("开箱"), GbxKx);
    kx->addWidget(EditKaiNum);
    kx->addSpacing(12);
    kx->addWidget(CbxKx);
    kx->addStretch();
    v->addWidget(GbxKx);
    GbxKx->setVisible(false);
    CbxKx->setVisible(false);
    v->addStretch();
    return panel;
}

void TFrmMain::BuildPages()
{
    PageControl1 = new QTabWidget(this);
    const auto single = [this](QWidget*& sheet, TLogMemo*& memo, const char* caption) {
        sheet = new QWidget(PageControl1);
        auto* l = new QVBoxLayout(sheet);
        l->setContentsMargins(0, 0, 0, 0);
        memo = new TLogMemo(sheet);
        l->addWidget(memo);
        PageControl1->addTab(sheet, Q(caption));
    };
    const auto phased = [this](QWidget*& sheet, std::array<TLogMemo*, 3>& memos,
                               std::array<QLabel*, 3>& labels, const char* caption, const char* kind) {
        sheet = new QWidget(PageControl1);
        const char* phases[3] = {"A相", "B相", "C相"};
        for (int i = 0; i < 3; ++i) {
            labels[i] = new QLabel(Q(phases[i]) + Q(kind), sheet);
            memos[i] = new TLogMemo(sheet);
        }
        PageControl1->addTab(sheet, Q(caption));
    };
    single(TabSheet1, MemoRes, "操作记录");
    single(TabSheet2, MemoTx, "报文");
    single(TabSheet3, MemoLT, "侦听记录");
    phased(TabSheet4, MemoL, LabelL, "侦听记录", "记录");
    single(TabSheet5, MemoBw, "侦听报文");
    phased(TabSheet6, MemoB, LabelB, "侦听报文", "报文");
}

void TFrmMain::BuildStatusBar()
{
    auto* bar = statusBar();
    const int widths[6] = {230, 190, 75, 75, 75, 75};
    for (int i = 0; i < 6; ++i) {
        StatusPanels[i] = new QLabel(bar);
        StatusPanels[i]->setFixedWidth(widths[i]);
        // A gap on the right, so that a full panel never runs into the next one's text.
        StatusPanels[i]->setContentsMargins(0, 0, 8, 0);
        bar->addWidget(StatusPanels[i]);
    }
    BtnTxCntClr = new QPushButton(Q("计数复位"), bar);
    BtnPause = new QPushButton(Q("暂停电表"), bar);
    BtnSaveMemo = new QPushButton(Q("显示保存"), bar);
    for (QPushButton* b : {BtnTxCntClr, BtnPause, BtnSaveMemo}) {
        b->setFixedWidth(72);
        bar->addWidget(b);
    }
}

void TFrmMain::SetToolVisible(QToolButton* button, bool visible)
{
    for (auto& [b, action] : toolActions_)
        if (b == button)
            action->setVisible(visible);
}

bool TFrmMain::IsToolVisible(QToolButton* button) const
{
    for (const auto& [b, action] : toolActions_)
        if (b == button)
            return action->isVisible();
    return false;
}

bool TFrmMain::IsTabShown(QWidget* page) const
{
    return PageControl1->isTabVisible(PageControl1->indexOf(page));
}

void TFrmMain::ShowTab(QWidget* page, bool show)
{
    PageControl1->setTabVisible(PageControl1->indexOf(page), show);
}

std::string TFrmMain::PanelText(int index) const
{
    return panelTexts_.at(static_cast<std::size_t>(index));
}

void TFrmMain::SetPanelText(int index, const std::string& text)
{
    panelTexts_.at(static_cast<std::size_t>(index)) = text;
    QLabel* panel = StatusPanels.at(static_cast<std::size_t>(index));
    if (index != 1) {
        panel->setText(Q(text));
        return;
    }
    // The port panel: a long device path is shortened in its middle so that the state and the
    // settings after it stay readable; the whole text is the tool tip.
    const QString full = Q(text);
    const QFontMetrics metrics(panel->font());
    const int room = panel->contentsRect().width() - 2 * panel->margin() - 4;
    QString shown = full;
    if (metrics.horizontalAdvance(full) > room) {
        int split = full.indexOf(Q("打开"));
        if (split < 0)
            split = full.indexOf(Q("关闭"));
        const QString tail = split < 0 ? QString() : full.mid(split);
        const QString head = split < 0 ? full : full.left(split);
        shown = metrics.elidedText(head, Qt::ElideMiddle, std::max(0, room - metrics.horizontalAdvance(tail))) + tail;
        if (metrics.horizontalAdvance(shown) > room)
            shown = metrics.elidedText(full, Qt::ElideRight, room);
    }
    panel->setText(shown);
    panel->setToolTip(full);
}

// ---------------------------------------------------------------------------------------------
// Start-up and shut-down

std::string TFrmMain::IniPath() const
{
    return options_.IniPath.empty() ? SettingsFilePath() : options_.IniPath;
}

void TFrmMain::FormCreate()
{
    // Before anything reads it: a file saved as UTF-8 is made GBK again.
    const std::string settingsNote = PrepareSettingsFile(IniPath());
    // 1. Operation and frame pages; the listening pages hidden.
    ShowTab(TabSheet1, true);
    ShowTab(TabSheet2, true);
    for (QWidget* page : {TabSheet3, TabSheet4, TabSheet5, TabSheet6})
        ShowTab(page, false);
    // 3, 4. The dialogs kept while the program runs, and the delays of the serial dialog.
    ComSetDialog = new TDlgComSet(this, IniPath());
    ComSetDialog->OnWriteError = [this](const std::string& text) { NotifyError(text); };
    Composer = new TFrmSend(this, IniPath());
    RouteDialog = new TDlgTstRoute(this, &Routes);
    FrameGap = ComSetDialog->GetFrameGap();
    ResponseDelay = ComSetDialog->GetResponseDelay();
    Link->SetFrameGap(FrameGap);
    Link->SetResponseDelay(ResponseDelay);
    // 6. The console core with the meter (3200 impulses per kWh, buffers, address filter).
    Line = std::make_unique<TWindowLine>(*Link);
    Ports = std::make_unique<TWindowPorts>(*this);
    TConsolePorts ports;
    ports.Line = Line.get();
    ports.Log = Ports.get();
    ports.Status = Ports.get();
    ports.Clock = Ports.get();
    ports.Notifier = Ports.get();
    ports.Dialogs = Ports.get();
    ports.Route = Ports.get();
    ports.Listen = Ports.get();
    ports.Commands = Ports.get();
    Core = std::make_unique<TConsoleCore>(ports, options_.Clock);
    Meter = Core->Meter.get();
    Sequencer = std::make_unique<TCommandSequencer>(*Composer, *Ports);
    Link->OnBurst = [this](const TBytes& bytes, int pending) {
        Core->MSComm1Comm(bytes.data(), static_cast<int>(bytes.size()), pending);
    };
    Link->OnFrameGap = [this] { Core->TimerTxOverTimer(); };
    Link->OnPortLost = [this](const TPortState& state) {
        for (const auto& line : state.LogLines)
            AddLog(MemoRes, line);
        // A lost port reads like one closed by hand.
        TbtnComOpen->setText(Q(state.ButtonCaption));
        SetPanelText(1, state.PanelText);
    };
    // The window stands at its start-up size in the middle of the screen before the settings
    // are read, since the start mode may open the route dialog over it.
    resize(width(), 687);
    CentreOnScreen(this);
    // 7-10. The settings file.
    ReadSettings();
    if (!settingsNote.empty())
        AddLog(MemoRes, settingsNote);
    // 11. Carry the controls into the meter.
    EditBhExit();
    EditPwExit();
    CbbxPulCntChange();
    Core->ShowPortState();
    for (int p = 0; p < 3; ++p)
        CbbxVoltAChange(p);
    for (int p = 0; p < 3; ++p)
        CbbxAmpAChange(p);
    for (int p = 0; p < 3; ++p)
        CbbxJduAChange(p);
    RecalcGridInput();
    ShowEnergy();
    ShowMeterClock();
    // 12. The operation log in front; the custom data out of sight.
    PageControl1->setCurrentWidget(TabSheet1);
    Panel8->setFixedHeight(110);
    resize(width(), 687);
    CentreOnScreen(this);
    ApplyListenView();  // a run ended in the listening mode starts in it again
    created_ = true;
    if (options_.StartTimers)
        TimerSec.start();
}

void TFrmMain::ReadSettings()
{
    using namespace settings;
    const rtl::TIniFile ini(IniPath());
    TmiOpSetEnable->setChecked(ini.ReadBool(MeterSection, ProgramEnable, false));
    Meter->SetProgramEnable(TmiOpSetEnable->isChecked());
    TmiChipKind->setChecked(ini.ReadBool(SystemSection, ChipKind, false));
    Core->Options.ChipKind = TmiChipKind->isChecked();
    TmiFePreamble->setChecked(ini.ReadBool(SystemSection, FePreamble, false));
    Core->Options.FePreamble = TmiFePreamble->isChecked();
    const int cap = ini.ReadInteger(SystemSection, LogLineCap, TLogMemo::DefaultCap);
    SetupLogMemos(cap >= 1 ? cap : TLogMemo::DefaultCap);
    // Values outside their ranges take the default, so that they are neither used nor written
    // back as something else.
    const int mode = ini.ReadInteger(SystemSection, TestType, 1);
    SetTestMode(FindTestMode(mode) ? mode : 1);
    Link->Comm().SetCommPort(ini.ReadInteger(SystemSection, PortNumber, 1));
    Link->Comm().SetDevice(ini.ReadString(SystemSection, PortDevice, ""));
    Link->Comm().SetSettings(ini.ReadString(SystemSection, PortSettings, "9600,e,8,1"));
    // A password that is no hexadecimal number of up to six digits is neither shown nor written
    // back: the default takes its place.
    std::string password = ini.ReadString(MeterSection, Password, "271828");
    const bool hex = !password.empty() && password.size() <= 6 &&
                     std::all_of(password.begin(), password.end(), [](unsigned char c) { return std::isxdigit(c) != 0; });
    EditPw->setText(Q(hex ? password : "271828").toUpper());
    // Row 0 is the meter's own address: it shows the number the meter answers with.
    AddressEdits[0]->setText(Q(panel::MeterAddressText(ini.ReadString(MeterSection, AddressKey(0), "888888888888"))));
    for (int r = 1; r < 8; ++r) {
        const std::string text = ini.ReadString(MeterSection, AddressKey(r), "888888888888");
        AddressEdits[r]->setText(Q(Core->SetAddressRow(r, text)));
    }
    for (int r = 0; r < 8; ++r) {
        AddressChecks[r]->setChecked(ini.ReadBool(MeterSection, AddressEnableKey(r + 1), false));
        Core->AddressChecks[static_cast<std::size_t>(r)] = AddressChecks[r]->isChecked();
    }
    const auto select = [](QComboBox* box, int index) {
        box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
    };
    select(CbbxPulCnt, ini.ReadInteger(MeterSection, PulseConstant, 0));
    const char phases[3] = {'A', 'B', 'C'};
    for (int p = 0; p < 3; ++p) {
        select(CbbxAmp[p], ini.ReadInteger(GridSection, CurrentKey(phases[p]), 8));
        select(CbbxVolt[p], ini.ReadInteger(GridSection, VoltageKey(phases[p]), 2));
        select(CbbxJdu[p], ini.ReadInteger(GridSection, AngleKey(phases[p]), 0));
    }
    int kind = ini.ReadInteger(MeterSection, MeterKind, 0);
    if (kind < 0 || kind > 3)
        kind = 0;
    Meter->MeterKind = static_cast<std::uint8_t>(kind);
    SelectMeterKindItem(kind);

    AddLog(MemoRes, "提示：");
    AddLog(MemoRes, TmiOpSetEnable->isChecked() ? "1.编程开关已选择" : "1.编程开关未选择");
    AddLog(MemoRes, TmiChipKind->isChecked() ? "2.通道芯片已选择" : "2.通道芯片未选择");
    AddLog(MemoRes, "3.支持跨相未选择");
    if (!Meter->DataIdError.empty())
        AddLog(MemoRes, Meter->DataIdError);
}

void TFrmMain::WriteSettings()
{
    using namespace settings;
    rtl::TIniFile ini(IniPath());
    ini.WriteInteger(SystemSection, TestType, GetTestMode());
    ini.WriteInteger(SystemSection, PortNumber, Link->Comm().CommPort());
    if (!Link->Comm().ChosenDevice().empty() || ini.ValueExists(SystemSection, PortDevice))
        ini.WriteString(SystemSection, PortDevice, Link->Comm().ChosenDevice());
    ini.WriteString(SystemSection, PortSettings, Link->Comm().Settings());
    ini.WriteString(MeterSection, AddressText, AddressEdits[0]->text().toStdString());
    ini.WriteBool(SystemSection, ChipKind, TmiChipKind->isChecked());
    ini.WriteBool(SystemSection, FePreamble, TmiFePreamble->isChecked());
    for (int r = 0; r < 8; ++r)
        ini.WriteString(MeterSection, AddressKey(r), AddressEdits[r]->text().toStdString());
    for (int r = 0; r < 8; ++r)
        ini.WriteBool(MeterSection, AddressEnableKey(r + 1), AddressChecks[r]->isChecked());
    ini.WriteBool(MeterSection, ProgramEnable, TmiOpSetEnable->isChecked());
    ini.WriteString(MeterSection, Password, EditPw->text().toStdString());
    ini.WriteInteger(MeterSection, PulseConstant, CbbxPulCnt->currentIndex());
    ini.WriteInteger(MeterSection, MeterKind, Meter->MeterKind);
    const char phases[3] = {'A', 'B', 'C'};
    for (int p = 0; p < 3; ++p) {
        ini.WriteInteger(GridSection, CurrentKey(phases[p]), CbbxAmp[p]->currentIndex());
        ini.WriteInteger(GridSection, VoltageKey(phases[p]), CbbxVolt[p]->currentIndex());
        ini.WriteInteger(GridSection, AngleKey(phases[p]), CbbxJdu[p]->currentIndex());
    }
}

void TFrmMain::FormClose()
{
    if (!created_ || closed_)
        return;
    closed_ = true;
    TimerSec.stop();
    TimerRd9010.stop();
    // The link's frame-gap timer, receive cycle and paced sender call into the core: stop the
    // line and cut those calls before the core goes, or a burst still in flight ends in a core
    // that is no more.
    Link->OnBurst = nullptr;
    Link->OnFrameGap = nullptr;
    Link->OnPortLost = nullptr;
    Link->OnEvent = nullptr;
    Link->OpenPort(false);
    try {
        WriteSettings();
    } catch (const rtl::EIniFileException& e) {
        NotifyError(SettingsWriteErrorText(e));  // the settings are lost, but the window still closes
    } catch (const std::exception& e) {
        NotifyError(e.what());  // the settings are lost, but the window still closes
    }
    Sequencer.reset();
    Meter = nullptr;
    Core.reset();
    delete ComSetDialog;
    delete Composer;
    delete RouteDialog;
    ComSetDialog = nullptr;
    Composer = nullptr;
    RouteDialog = nullptr;
}

// The per-phase listening memos follow the page control's size (PageControl1Resize).
bool TFrmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == PageControl1 && event->type() == QEvent::Resize && ListenMode() && !ListenWholeView)
        LayoutListenPages();
    return QMainWindow::eventFilter(watched, event);
}

void TFrmMain::closeEvent(QCloseEvent* event)
{
    FormClose();
    event->accept();
}

// ---------------------------------------------------------------------------------------------
// Logs

void TFrmMain::AddLog(TLogMemo* memo, const std::string& line)
{
    memo->Add(line);
}

std::vector<std::string> TFrmMain::MemoLines(const TLogMemo* memo)
{
    return memo->Lines();
}

std::array<TLogMemo*, 10> TFrmMain::LogMemos() const
{
    return {MemoRes, MemoTx, MemoLT, MemoL[0], MemoL[1], MemoL[2], MemoBw, MemoB[0], MemoB[1], MemoB[2]};
}

// Every pane keeps at most `cap` lines; the older ones go to "<kind><stamp>.log" in the log
// folder, the stamp taken when the pane first overflows.
void TFrmMain::SetupLogMemos(int cap)
{
    const auto memos = LogMemos();
    for (std::size_t i = 0; i < memos.size(); ++i) {
        memos[i]->SetCap(cap);
        memos[i]->OverflowPath = [this, kind = std::string(LogKinds[i])] {
            const std::time_t now = std::time(nullptr);
            std::tm local{};
            localtime_r(&now, &local);
            return LogPath(options_.LogFolder, kind, LogStamp(local));
        };
        memos[i]->OnOverflowError = [this](const std::string& why) { Notify(why); };
    }
}

void TFrmMain::N11Click()
{
    std::vector<TLogPage> pages;
    const auto memos = LogMemos();
    for (std::size_t i = 0; i < memos.size(); ++i)
        pages.push_back({LogKinds[i], MemoLines(memos[i])});
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const std::string stamp = LogStamp(local);
    try {
        // A pane whose oldest lines went this very second to a file of the name the save would
        // use: replacing that file would lose them, so the pane's lines are added after them and
        // the pane's later overflow starts a file of its own.
        for (std::size_t i = 0; i < memos.size(); ++i) {
            const std::string path = LogPath(options_.LogFolder, pages[i].Kind, stamp);
            if (pages[i].Lines.empty() || memos[i]->OverflowFile() != path)
                continue;
            AppendLogLines(path, pages[i].Lines);
            pages[i].Lines.clear();
            memos[i]->StartNewOverflowFile();
        }
        SaveLogs(pages, options_.LogFolder, stamp);
    } catch (const std::exception& e) {
        NotifyError(e.what());
    }
}

void TFrmMain::BtnSaveMemoClick()
{
    N11Click();
}

void TFrmMain::BtnTxCntClrClick()
{
    Core->BtnTxCntClrClick();
}

TLogMemo* TFrmMain::LogMemo(TLogId id) const
{
    return LogMemos().at(static_cast<std::size_t>(id));
}

// ---------------------------------------------------------------------------------------------
// Events: combo boxes act on the operator's choice (also the same item again), check boxes on
// clicks, edits when the focus moves on within the window.

void TFrmMain::ConnectHandlers()
{
    for (int p = 0; p < 3; ++p) {
        connect(CbbxVolt[p], &QComboBox::activated, this, [this, p] { CbbxVoltAChange(p); });
        connect(CbbxAmp[p], &QComboBox::activated, this, [this, p] { CbbxAmpAChange(p); });
        connect(CbbxJdu[p], &QComboBox::activated, this, [this, p] { CbbxJduAChange(p); });
    }
    connect(CbbxPulCnt, &QComboBox::activated, this, [this] { CbbxPulCntChange(); });
    connect(CbxKx, &QCheckBox::clicked, this, [this] { CbxKxClick(); });
    connect(EdtAmpN, &TFilterEdit::exited, this, [this] { EdtAmpNExit(); });
    connect(AddressEdits[0], &TFilterEdit::exited, this, [this] { EditBhExit(); });
    for (int r = 1; r < 8; ++r)
        connect(AddressEdits[r], &TFilterEdit::exited, this, [this, r] { EditZj1Exit(r); });
    connect(EditPw, &TFilterEdit::exited, this, [this] { EditPwExit(); });

    for (int i = 0; i < 4; ++i)
        connect(EditTimeBegin[i], &TFilterEdit::exited, this, [this, i] { EditTimeBeginExit(i); });
    connect(EditRro, &TFilterEdit::exited, this, [this] { EditRroExit(); });
    connect(EditMaxClear, &TFilterEdit::exited, this, [this] { EditMaxClearExit(); });
    connect(EditAutoRead, &TFilterEdit::exited, this, [this] { EditAutoReadExit(); });
    connect(EdiMonth, &TFilterEdit::exited, this, [this] { EdiMonthExit(); });
    connect(EditMoney, &TFilterEdit::exited, this, [this] { EditMoneyExit(); });
    connect(EditMoney2, &TFilterEdit::exited, this, [this] { EditMoney2Exit(); });
    connect(EditStaRun[0], &TFilterEdit::exited, this, [this] { EditStaRun1Exit(); });
    for (int i = 1; i < 7; ++i)
        connect(EditStaRun[i], &TFilterEdit::exited, this, [this, i] { EditStaRunExit(i); });
    connect(EditStaGrid, &TFilterEdit::exited, this, [this] { EditStaGridExit(); });
    connect(EditStaWeek, &TFilterEdit::exited, this, [this] { EditStaWeekExit(); });
    connect(EditStaSelf, &TFilterEdit::exited, this, [this] { EditStaSelfExit(); });
    connect(EditEventFlag, &TFilterEdit::exited, this, [this] { EditEventFlagExit(); });
    connect(EditKaiNum, &TFilterEdit::exited, this, [this] { EditKaiNumExit(); });
    for (int i = 0; i < 4; ++i)
        connect(EventEdits[i], &QLineEdit::textChanged, this, [this, i] { EventEditChange(i); });
    for (int r = 0; r < 8; ++r)
        connect(AddressChecks[r], &QCheckBox::toggled, this, [this, r](bool on) {
            if (Core)
                Core->AddressChecks[static_cast<std::size_t>(r)] = on;
        });
    connect(BbtnEventEn, &QPushButton::clicked, this, [this] { BbtnEventEnClick(); });
    connect(CheckDelay, &QCheckBox::clicked, this, [this] { CheckDelayClick(); });
    connect(CheckChangeBaud, &QCheckBox::clicked, this, [this](bool on) {
        CheckChangeBaud->setChecked(Core->ChooseNum(on));
    });
    connect(TbtnComOpen, &QToolButton::clicked, this, [this] { TbtnComOpenClick(); });
    connect(ToolButton1, &QToolButton::clicked, this, [this] { ToolButton1Click(); });
    // The receive path moves the list on after an error or stray burst only while the list
    // runs: the core sees the sequencer's flag.
    connect(TbtnCmdRd9010, &QToolButton::clicked, this, [this] {
        Sequencer->SendButtonClick();
        Core->ContinuousSending = Sequencer->ContinuousSending;
    });
    connect(&TimerRd9010, &QTimer::timeout, this, [this] {
        Sequencer->NextMeterTimer();
        Core->ContinuousSending = Sequencer->ContinuousSending;
    });
    connect(ToolButtonBh, &QToolButton::clicked, this, [this] { Core->ToolButtonBhClick(); });
    connect(TmiContinuous, &QAction::toggled, this, [this](bool on) { Core->Options.Continuous = on; });
    connect(TmiChoosePhasic, &QAction::toggled, this, [this](bool on) { Core->Options.CrossPhase = on; });
    connect(TmiFePreamble, &QAction::toggled, this, [this](bool on) {
        if (Core)
            Core->Options.FePreamble = on;
    });
    // The reply variants: the core asks its dialog and says whether the item ends checked.
    const auto variant = [this](QAction* item, bool (TConsoleCore::*handler)()) {
        connect(item, &QAction::triggered, this, [this, item, handler] {
            item->setChecked((Core.get()->*handler)());
            TmiBySelf->setChecked(Core->Options.SelfReply);
            TmiCircleBack->setChecked(Core->Options.CycleReply);
        });
    };
    variant(TmiBySelf, &TConsoleCore::TmiCheckSelf);
    variant(TmiCircleBack, &TConsoleCore::TmiCheckCircle);
    variant(TmiCheckAuto, &TConsoleCore::TmiCheckAuto);

    connect(CheckBox2, &QCheckBox::clicked, this, [this] { CheckBox2Click(); });
    connect(Cbx3or1, &QCheckBox::clicked, this, [this] { Cbx3or1Click(); });
    connect(Check645Show, &QCheckBox::clicked, this, [this] { DisplaySwitchClick(TDisplaySwitch::Show645); });
    connect(CheckAbandon, &QCheckBox::clicked, this, [this] { DisplaySwitchClick(TDisplaySwitch::Carrier); });
    connect(CheckTopFast, &QCheckBox::clicked, this, [this] { DisplaySwitchClick(TDisplaySwitch::CarrierRaw); });
    for (QRadioButton* r : {Rule97645, Rule07645, RuleShanghai, RuleBnc})
        connect(r, &QRadioButton::clicked, this, [this] { DoCheckRule(); });
    connect(BtnPause, &QPushButton::clicked, this, [this] { BtnPauseClick(); });
    connect(BtnSaveMemo, &QPushButton::clicked, this, [this] { BtnSaveMemoClick(); });
    connect(BtnTxCntClr, &QPushButton::clicked, this, [this] { BtnTxCntClrClick(); });
    connect(TBt1or3, &QToolButton::clicked, this, [this] { TBt1or3Click(); });
    connect(TBtCancel, &QToolButton::clicked, this, [this] { TBtCancelClick(); });

    for (int i = 0; i < 7; ++i)
        connect(TmiModes[i], &QAction::triggered, this, [this, i] { TmiTstHmdClick(i + 1); });
    for (int i = 0; i < 4; ++i)
        connect(TmiKinds[i], &QAction::triggered, this, [this, i] { TmiMeterMultiClick(i + 1); });
    connect(TmiSetDidu, &QAction::triggered, this, [this] { TmiSetDiduClick(); });
    connect(TmiSetSec, &QAction::triggered, this, [this] { TmiSetSecClick(); });
    connect(TmiOpSetEnable, &QAction::triggered, this, [this] { TmiOpSetEnableClick(); });
    connect(TmiChipKind, &QAction::triggered, this, [this] { TmiChip(); });
    connect(PmiCheckNo, &QAction::triggered, this, [this] {
        // The item checks itself; the handler toggles the meter's lock and shows its state.
        PmiCheckNo->setChecked(!PmiCheckNo->isChecked());
        PmiCheckNoClick();
    });

    for (TLogMemo* memo : LogMemos()) {
        connect(memo, &QPlainTextEdit::customContextMenuRequested, this, [this, memo](const QPoint& at) {
            QMenu menu(this);
            menu.addAction(Q("保存数据(&S)"), this, [this] { N11Click(); });
            menu.exec(memo->mapToGlobal(at));
        });
    }
    PageControl1->installEventFilter(this);
    connect(PageControl1, &QTabWidget::currentChanged, this, [this] {
        if (ListenMode() && !ListenWholeView)
            LayoutListenPages();
    });

    // Alt+A and Alt+S reach the window before any control.
    auto* altA = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_A), this);
    auto* altS = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_S), this);
    altA->setContext(Qt::WindowShortcut);
    altS->setContext(Qt::WindowShortcut);
    connect(altA, &QShortcut::activated, this, [this] { FastChange(Qt::Key_A); });
    connect(altS, &QShortcut::activated, this, [this] { FastChange(Qt::Key_S); });
}

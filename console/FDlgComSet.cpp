#include "console/FDlgComSet.h"

#include "console/ErrorTexts.h"
#include "console/MessageBox.h"

#include "console/SettingsKeys.h"
#include "console/SettingsPath.h"
#include "platform/rtl/IniFiles.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

void SelectIndex(QComboBox* box, int index)
{
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

// A delay in milliseconds: a decimal number of 0 or more, else the fallback.
int DecimalOr(const QString& text, int fallback)
{
    bool ok = false;
    const int v = text.toInt(&ok, 10);
    return ok && v >= 0 ? v : fallback;
}

// The stored delay text, or the default text when it is no delay (a negative number would stop
// the timer it sets); the edit then shows, and the file gets back, what is used.
QString DelayText(const std::string& stored, const char* fallback)
{
    const QString text = QString::fromStdString(stored).trimmed();
    return DecimalOr(text, -1) >= 0 ? text : QString::fromLatin1(fallback);
}

} // namespace

TDlgComSet::TDlgComSet(QWidget* parent, const std::string& iniPath, TCommSerialPortInfo* ports)
    : QDialog(parent), iniPath_(iniPath.empty() ? SettingsFilePath() : iniPath),
      ports_(ports ? ports : &SerialPortInfo())
{
    OnWriteError = [this](const std::string& text) {
        ShowMessageBox(this, TMessageKind::Error, windowTitle().toStdString(), text);
    };
    BuildForm();
    // The port list is built once at start; the box's own focus events refresh it later.
    RefreshPortList();
    ReadSettings();
    TakePortChoice();
    CbbxBpsChange();
}

TDlgComSet::~TDlgComSet()
{
    // No focus handling while the boxes go away.
    CbbxNo->removeEventFilter(this);
    CbbxNo->lineEdit()->removeEventFilter(this);
}

void TDlgComSet::BuildForm()
{
    setWindowTitle("串口配置");
    MakeFixedSizeDialog(this, 320, 230);
    GroupBox = new QGroupBox("串口配置", this);
    CbbxNo = new QComboBox(GroupBox);
    CbbxNo->setEditable(true);
    CbbxNo->setInsertPolicy(QComboBox::NoInsert);
    CbbxBps = new QComboBox(GroupBox);
    CbbxBps->addItems({"110", "300", "600", "1200", "2400", "4800", "9600", "14400", "19200", "38400",
                       "56000", "57600", "115200", "128000", "256000"});
    CbbxBps->setCurrentIndex(6);
    CbbxChk = new QComboBox(GroupBox);
    CbbxChk->addItems({"无", "奇", "偶"});
    CbbxChk->setCurrentIndex(2);
    CbbxDataBit = new QComboBox(GroupBox);
    CbbxDataBit->addItems({"8", "9"});
    CbbxStopBit = new QComboBox(GroupBox);
    CbbxStopBit->addItems({"1", "2"});
    edtDelayInter = new QLineEdit("100", GroupBox);
    edtDelayCmd = new QLineEdit("10000", GroupBox);
    for (QLineEdit* e : {edtDelayInter, edtDelayCmd}) {
        // Only the settings file sets the delays.
        e->setReadOnly(true);
        e->setEnabled(false);
        e->installEventFilter(this);
    }
    CbbxNo->installEventFilter(this);
    CbbxNo->lineEdit()->installEventFilter(this);

    auto* form = new QFormLayout(GroupBox);
    form->addRow("串口号", CbbxNo);
    form->addRow("波特率", CbbxBps);
    form->addRow("校验", CbbxChk);
    form->addRow("数据位", CbbxDataBit);
    form->addRow("停止位", CbbxStopBit);
    form->addRow("帧间延时", edtDelayInter);
    form->addRow("命令延时", edtDelayCmd);

    OKBtn = new QPushButton("打开", this);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton("关闭", this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox);
    layout->addLayout(buttons);

    connect(OKBtn, &QPushButton::clicked, this, &TDlgComSet::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    for (QComboBox* box : {CbbxBps, CbbxChk, CbbxDataBit, CbbxStopBit})
        connect(box, &QComboBox::currentIndexChanged, this, &TDlgComSet::CbbxBpsChange);
}

void TDlgComSet::ReadSettings()
{
    using namespace settings;
    const rtl::TIniFile ini(iniPath_);
    portMap_ = ReadPortMap(ini);
    const int number = ini.ReadInteger(ComDialogSection, settings::PortNumber, 1);
    const std::string device = ini.ReadString(ComDialogSection, settings::PortDevice, "");
    SelectIndex(CbbxBps, ini.ReadInteger(ComDialogSection, RateIndex, 6));
    SelectIndex(CbbxChk, ini.ReadInteger(ComDialogSection, ParityIndex, 3));
    SelectIndex(CbbxDataBit, ini.ReadInteger(ComDialogSection, DataBitsIndex, 0));
    SelectIndex(CbbxStopBit, ini.ReadInteger(ComDialogSection, StopBitsIndex, 0));
    edtDelayInter->setText(DelayText(ini.ReadString(ComDialogSection, FrameGap, "100"), "100"));
    edtDelayCmd->setText(DelayText(ini.ReadString(ComDialogSection, ResponseDelay, "10000"), "10000"));

    // A stored device path wins; it stays in the box even when the system does not list it
    // (pseudo-terminals are never listed). A port number alone must name a listed port.
    const std::string wanted = device.empty() ? DeviceForPort(number, portMap_) : device;
    const int index = CbbxNo->findText(QString::fromStdString(wanted));
    CbbxNo->setCurrentIndex(index);
    if (index < 0 && !device.empty())
        CbbxNo->setEditText(QString::fromStdString(device));
}

void TDlgComSet::RefreshPortList()
{
    // The chosen port stays chosen by its name, wherever the fresh list puts it.
    const QString current = CbbxNo->currentText();
    ports_->Refresh();
    const QSignalBlocker block(CbbxNo);
    CbbxNo->clear();
    for (const std::string& name : ports_->PortNames)
        CbbxNo->addItem(QString::fromStdString(name));
    const int index = CbbxNo->findText(current);
    CbbxNo->setCurrentIndex(index);
    if (index < 0)
        CbbxNo->setEditText(current);
}

void TDlgComSet::CbbxNoEnter()
{
    RefreshPortList();
}

void TDlgComSet::CbbxNoExit()
{
    RefreshPortList();
    TakePortChoice();
}

void TDlgComSet::TakePortChoice()
{
    const std::string text = CbbxNo->currentText().trimmed().toStdString();
    PortDevice = DeviceForText(text, portMap_);
    const int typedNumber = ParsePortNumber(text);
    PortNumber = typedNumber > 0 ? typedNumber : PortForDevice(PortDevice, portMap_);
}

void TDlgComSet::CbbxBpsChange()
{
    static const char* const parity[] = {"n", "o", "e"};
    const int chk = CbbxChk->currentIndex();
    CommSettings = CbbxBps->currentText().toStdString() + "," + (chk >= 0 && chk < 3 ? parity[chk] : "e")
        + "," + CbbxDataBit->currentText().toStdString() + "," + CbbxStopBit->currentText().toStdString();
}

void TDlgComSet::SetCommSettings(const std::string& settings)
{
    const QString rate = QString::fromStdString(settings.substr(0, settings.find(',')));
    {
        const QSignalBlocker block(CbbxBps);
        SelectIndex(CbbxBps, CbbxBps->findText(rate));
    }
    CommSettings = settings;
}

void TDlgComSet::OKBtnClick()
{
    // Enter typed into the port box: take what it holds before the dialog closes.
    CbbxNoExit();
    accept();
}

void TDlgComSet::FormClose()
{
    using namespace settings;
    try {
        rtl::TIniFile ini(iniPath_);
        ini.WriteInteger(ComDialogSection, settings::PortNumber, PortNumber);
        ini.WriteString(ComDialogSection, settings::PortDevice, PortDevice);
        ini.WriteInteger(ComDialogSection, RateIndex, CbbxBps->currentIndex());
        ini.WriteInteger(ComDialogSection, ParityIndex, CbbxChk->currentIndex());
        ini.WriteInteger(ComDialogSection, DataBitsIndex, CbbxDataBit->currentIndex());
        ini.WriteInteger(ComDialogSection, StopBitsIndex, CbbxStopBit->currentIndex());
        ini.WriteString(ComDialogSection, FrameGap, edtDelayInter->text().toStdString());
        ini.WriteString(ComDialogSection, ResponseDelay, edtDelayCmd->text().toStdString());
    } catch (const rtl::EIniFileException& e) {
        if (OnWriteError)
            OnWriteError(SettingsWriteErrorText(e));
    }
}

void TDlgComSet::done(int result)
{
    FormClose();
    QDialog::done(result);
}

int TDlgComSet::GetFrameGap() const
{
    return DecimalOr(edtDelayInter->text(), 100);
}

int TDlgComSet::GetResponseDelay() const
{
    return DecimalOr(edtDelayCmd->text(), 10000);
}

bool TDlgComSet::edtDelayCmdKeyPress(const QString& text)
{
    if (text.isEmpty())
        return true;
    const char16_t c = text.at(0).unicode();
    return c <= 32 || c >= 0x80 || (c >= '0' && c <= '9');
}

bool TDlgComSet::eventFilter(QObject* watched, QEvent* event)
{
    const bool portBox = watched == CbbxNo || watched == CbbxNo->lineEdit();
    if (portBox && event->type() == QEvent::FocusIn)
        CbbxNoEnter();
    else if (portBox && event->type() == QEvent::FocusOut)
        CbbxNoExit();
    else if ((watched == edtDelayInter || watched == edtDelayCmd) && event->type() == QEvent::KeyPress)
        return !edtDelayCmdKeyPress(static_cast<QKeyEvent*>(event)->text());
    return QDialog::eventFilter(watched, event);
}

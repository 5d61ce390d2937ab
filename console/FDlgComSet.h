#pragma once
// The serial settings dialog "串口配置": port, rate, parity, data bits and stop bits, giving the
// settings string of the serial control, plus the frame gap and response delay that the main
// window uses. Its values live in the settings section "串口对话框" and are written on every
// close, confirmed or cancelled. The port box also takes a typed device path or "COMn".
#include "console/FCommSerialPortInfo.h"

#include <QDialog>

#include <functional>
#include <string>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

class TDlgComSet : public QDialog {
    Q_OBJECT
public:
    // `iniPath` and `ports` default to the program's settings file and port list.
    explicit TDlgComSet(QWidget* parent = nullptr, const std::string& iniPath = {},
                        TCommSerialPortInfo* ports = nullptr);
    ~TDlgComSet() override;

    int GetPortNumber() const { return PortNumber; }
    const std::string& GetPortDevice() const { return PortDevice; }
    // The delay edits as decimal integers; 100 and 10000 when they hold anything else.
    int GetFrameGap() const;
    int GetResponseDelay() const;
    // The main window changed the rate itself (variable rate): show it and keep the string.
    void SetCommSettings(const std::string& settings);

    void RefreshPortList();
    void TakePortChoice();  // PortDevice and PortNumber from the port box

    // Whether a typed character may enter a delay edit: digits, control keys and blanks, and
    // every character beyond ASCII.
    static bool edtDelayCmdKeyPress(const QString& text);

    // Number of the chosen port (0 when the box names none, or a device without a number).
    int PortNumber = 0;
    // The device path the chosen port stands for; empty when none is chosen.
    std::string PortDevice;
    // The settings string of the serial control, "9600,e,8,1" until the boxes are read.
    std::string CommSettings = "9600,e,8,1";

    // A settings file that cannot be written is reported here (a message box by default).
    std::function<void(const std::string&)> OnWriteError;

    QGroupBox* GroupBox = nullptr;
    QComboBox* CbbxNo = nullptr;
    QComboBox* CbbxBps = nullptr;
    QComboBox* CbbxChk = nullptr;
    QComboBox* CbbxDataBit = nullptr;
    QComboBox* CbbxStopBit = nullptr;
    QLineEdit* edtDelayInter = nullptr;
    QLineEdit* edtDelayCmd = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

    void CbbxBpsChange();
    void CbbxNoEnter();
    void CbbxNoExit();
    void OKBtnClick();
    void FormClose();

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildForm();
    void ReadSettings();

    std::string iniPath_;
    TCommSerialPortInfo* ports_;
    TPortMap portMap_;
};

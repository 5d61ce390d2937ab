#pragma once
// The serial control of the main window, over QSerialPort: port number or device path, settings
// string, open flag, input length, input and output byte arrays, input count and the
// data-received event, used on the UI thread only.
#include "console/CommSettings.h"
#include "console/FCommSerialPortInfo.h"
#include "console/SerialLine.h"

#include <QObject>
#include <QSerialPort>
#include <QTimer>

#include <optional>

class TMSComm : public QObject, public ISerialLine {
    Q_OBJECT
public:
    static constexpr int CommEventReceive = 2;

    explicit TMSComm(QObject* parent = nullptr);
    ~TMSComm() override;

    int CommPort() const { return commPort_; }
    void SetCommPort(int number) { commPort_ = number; }
    // A device path given here wins over the port number.
    void SetDevice(const std::string& path) { device_ = path; }
    // The device path as chosen (empty when the port is chosen by number alone).
    const std::string& ChosenDevice() const { return device_; }
    void SetPortMap(TPortMap map) { portMap_ = std::move(map); }
    // The device that Open uses.
    std::string Device() const;

    // Opens the device with the settings string and empties the input. On failure the port stays
    // closed and LastError() says why, in the words the operator sees.
    bool Open();
    void Close();
    bool PortOpen() const override;
    const std::string& LastError() const { return lastError_; }

    int InputLen() const { return inputLen_; }
    void SetInputLen(int n) { inputLen_ = n; }
    int InBufferSize() const { return 4096; }
    int InBufferCount() const override;
    void ClearInBuffer();
    // InputLen bytes (all for 0), oldest first.
    TBytes Input() { return Read(inputLen_); }
    TBytes Read(int count) override;
    int CommEvent() const { return commEvent_; }

    bool Output(const TBytes& bytes) override;
    int OutBufferCount() const override;

    std::string Settings() const override { return settings_; }
    bool SetSettings(const std::string& settings, std::string* error = nullptr) override;

private:
    bool ApplySettings(const TCommSettings& s);
    void CheckDrained();
    void OnError(QSerialPort::SerialPortError error);
    int DriverOutCount() const;

    QSerialPort port_;
    QTimer drainTimer_;
    int commPort_ = 1;
    std::string device_;
    TPortMap portMap_;
    std::string settings_ = "9600,e,8,1";
    std::optional<TCommSettings> pendingSettings_;
    TBytes held_;  // queued behind a settings change
    int inputLen_ = 0;
    int commEvent_ = 0;
    unsigned session_ = 0;  // counts openings
    bool applying_ = false;
    std::string lastError_;
};

// The text for a failed open; `accessDenied` tells a permission problem from a busy device.
std::string OpenErrorText(const std::string& device, QSerialPort::SerialPortError error,
                          bool accessDenied, const std::string& systemText);

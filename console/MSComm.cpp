#include "console/MSComm.h"

#include "console/ErrorTexts.h"

#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

namespace {

QSerialPort::Parity ToParity(char p)
{
    switch (p) {
    case 'n': return QSerialPort::NoParity;
    case 'o': return QSerialPort::OddParity;
    case 'm': return QSerialPort::MarkParity;
    case 's': return QSerialPort::SpaceParity;
    default: return QSerialPort::EvenParity;
    }
}

bool IsPseudoTerminal(int fd)
{
    struct stat st {};
    // Unix98 pseudo-terminal slaves have the majors 136 to 143.
    return fd >= 0 && ::fstat(fd, &st) == 0 && S_ISCHR(st.st_mode) && major(st.st_rdev) >= 136
        && major(st.st_rdev) <= 143;
}

bool AccessDenied(const std::string& device)
{
    return ::access(device.c_str(), R_OK | W_OK) != 0 && errno == EACCES;
}

} // namespace

std::string OpenErrorText(const std::string& device, QSerialPort::SerialPortError error,
                          bool accessDenied, const std::string& systemText)
{
    const std::string head = "串口" + device + "打开失败:";
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return head + "设备不存在";
    case QSerialPort::PermissionError:
        if (accessDenied)
            return head + "没有读写权限,用户须属于dialout组(sudo usermod -aG dialout 用户名,重新登录后生效)";
        return head + "设备正被其他程序使用";
    default:
        return head + SerialErrorText(error, systemText);
    }
}

TMSComm::TMSComm(QObject* parent) : QObject(parent)
{
    drainTimer_.setInterval(2);
    connect(&drainTimer_, &QTimer::timeout, this, &TMSComm::CheckDrained);
    connect(&port_, &QSerialPort::readyRead, this, [this] {
        commEvent_ = CommEventReceive;
        if (OnComm)
            OnComm();
    });
    connect(&port_, &QSerialPort::errorOccurred, this, &TMSComm::OnError);
}

TMSComm::~TMSComm()
{
    OnComm = nullptr;
    OnLost = nullptr;
    Close();
}

std::string TMSComm::Device() const
{
    return device_.empty() ? DeviceForPort(commPort_, portMap_) : device_;
}

bool TMSComm::Open()
{
    Close();
    lastError_.clear();
    std::string why;
    const auto parsed = ParseCommSettings(settings_, &why);
    if (!parsed) {
        lastError_ = why;
        return false;
    }
    const std::string device = Device();
    if (device.empty()) {
        lastError_ = "没有选择串口";
        return false;
    }
    ++session_;
    port_.setPortName(QString::fromStdString(device));
    if (!port_.open(QIODevice::ReadWrite)) {
        lastError_ = OpenErrorText(device, port_.error(), AccessDenied(device), port_.errorString().toStdString());
        port_.clearError();
        return false;
    }
    if (!ApplySettings(*parsed)) {
        lastError_ = "串口" + device + "不支持配置\"" + settings_ + "\":" + SerialErrorText(port_.error(), port_.errorString().toStdString());
        port_.close();
        port_.clearError();
        return false;
    }
    inputLen_ = 0;
    ClearInBuffer();
    return true;
}

void TMSComm::Close()
{
    drainTimer_.stop();
    pendingSettings_.reset();
    held_.clear();
    if (port_.isOpen())
        port_.close();
}

bool TMSComm::PortOpen() const
{
    return port_.isOpen();
}

bool TMSComm::ApplySettings(const TCommSettings& s)
{
    // A refused setter reports an error of its own; that is not the line going away.
    applying_ = true;
    bool ok = port_.setBaudRate(s.BaudRate) && port_.setDataBits(static_cast<QSerialPort::DataBits>(s.DataBits))
        && port_.setStopBits(s.StopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop)
        && port_.setFlowControl(QSerialPort::NoFlowControl);
    if (ok && !port_.setParity(ToParity(s.Parity))) {
        // A pseudo-terminal carries whole bytes and has no parity bit to send; some kernels
        // refuse the setting there. The link (socat, a test) works the same without it.
        ok = IsPseudoTerminal(static_cast<int>(port_.handle()));
        if (ok)
            port_.clearError();
    }
    applying_ = false;
    return ok;
}

int TMSComm::InBufferCount() const
{
    return port_.isOpen() ? static_cast<int>(port_.bytesAvailable()) : 0;
}

void TMSComm::ClearInBuffer()
{
    if (!port_.isOpen())
        return;
    port_.clear(QSerialPort::Input);
    port_.readAll();
}

TBytes TMSComm::Read(int count)
{
    if (!port_.isOpen())
        return {};
    const QByteArray data = count > 0 ? port_.read(count) : port_.readAll();
    return TBytes(data.begin(), data.end());
}

bool TMSComm::Output(const TBytes& bytes)
{
    if (!port_.isOpen())
        return false;
    if (pendingSettings_) {
        held_.insert(held_.end(), bytes.begin(), bytes.end());
        return true;
    }
    const auto size = static_cast<qint64>(bytes.size());
    const bool queued = port_.write(reinterpret_cast<const char*>(bytes.data()), size) == size;
    // Out to the device now, not when the event loop next looks at the port: the reply must
    // not wait behind whatever the loop does first.
    port_.flush();
    return queued;
}

int TMSComm::DriverOutCount() const
{
    const int fd = port_.isOpen() ? static_cast<int>(port_.handle()) : -1;
    if (fd < 0)
        return 0;
    int queued = 0;
    if (::ioctl(fd, TIOCOUTQ, &queued) != 0)
        queued = 0;
#ifdef TIOCSERGETLSR
    // A UART may still shift out its last byte after the queue is empty.
    unsigned int lsr = 0;
    if (queued == 0 && ::ioctl(fd, TIOCSERGETLSR, &lsr) == 0 && !(lsr & TIOCSER_TEMT))
        queued = 1;
#endif
    return queued;
}

int TMSComm::OutBufferCount() const
{
    if (!port_.isOpen())
        return 0;
    return static_cast<int>(held_.size() + port_.bytesToWrite()) + DriverOutCount();
}

bool TMSComm::SetSettings(const std::string& settings, std::string* error)
{
    if (!port_.isOpen()) {
        settings_ = settings;  // checked when the port opens
        return true;
    }
    std::string why;
    const auto parsed = ParseCommSettings(settings, &why);
    if (!parsed) {
        if (error)
            *error = why;
        return false;
    }
    settings_ = settings;
    pendingSettings_ = *parsed;
    CheckDrained();
    if (pendingSettings_)
        drainTimer_.start();
    return true;
}

void TMSComm::CheckDrained()
{
    if (!pendingSettings_ || !port_.isOpen()) {
        drainTimer_.stop();
        return;
    }
    if (port_.bytesToWrite() > 0 || DriverOutCount() > 0)
        return;
    drainTimer_.stop();
    const TCommSettings next = *pendingSettings_;
    pendingSettings_.reset();
    if (!ApplySettings(next)) {
        const std::string why = "串口" + Device() + "不支持配置\"" + settings_ + "\":" + SerialErrorText(port_.error(), port_.errorString().toStdString());
        Close();
        if (OnLost)
            OnLost(why);
        return;
    }
    TBytes held;
    held.swap(held_);
    if (!held.empty())
        Output(held);
}

void TMSComm::OnError(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::NoError:
    case QSerialPort::TimeoutError:
    case QSerialPort::NotOpenError:
    case QSerialPort::UnsupportedOperationError:
        return;
    default:
        break;
    }
    if (!port_.isOpen() || applying_)
        return;
    const std::string why = "串口" + Device() + "已断开:" + SerialErrorText(error, port_.errorString().toStdString());
    port_.clearError();
    // The port must not be closed inside its own notifier; a later session is left alone.
    QTimer::singleShot(0, this, [this, why, session = session_] {
        if (session != session_ || !port_.isOpen())
            return;
        Close();
        if (OnLost)
            OnLost(why);
    });
}

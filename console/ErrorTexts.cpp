#include "console/ErrorTexts.h"

#include "platform/rtl/IniFiles.h"

#include <cerrno>
#include <cstring>

namespace {

struct TErrorWords {
    int Error;
    const char* Words;
};

const TErrorWords SystemErrors[] = {
    {EACCES, "没有权限"},
    {EPERM, "不允许此操作"},
    {EROFS, "文件系统只读"},
    {ENOSPC, "磁盘已满"},
    {EDQUOT, "超出磁盘配额"},
    {EISDIR, "这是一个文件夹"},
    {ENOTDIR, "路径中有一部分不是文件夹"},
    {ENOENT, "文件或文件夹不存在"},
    {ENAMETOOLONG, "路径太长"},
    {ELOOP, "符号链接层数太多"},
    {EIO, "输入输出错误"},
    {EBUSY, "设备正忙"},
    {EAGAIN, "设备暂时不可用"},
    {ENXIO, "设备不存在"},
    {ENODEV, "设备不存在"},
    {EMFILE, "打开的文件太多"},
    {ENFILE, "打开的文件太多"},
    {ETXTBSY, "文件正被执行"},
    {EINVAL, "参数无效"},
    {EBADF, "文件已关闭"},
    {EPIPE, "对端已关闭"},
    {EHOSTDOWN, "设备已断开"},
};

std::string WithSystemText(const std::string& words, const std::string& systemText)
{
    return systemText.empty() ? words : words + "(" + systemText + ")";
}

} // namespace

std::string SystemErrorText(int error)
{
    const std::string system = std::strerror(error);
    for (const TErrorWords& e : SystemErrors)
        if (e.Error == error)
            return WithSystemText(e.Words, system);
    return WithSystemText("系统错误" + std::to_string(error), system);
}

std::string SerialErrorText(QSerialPort::SerialPortError error, const std::string& systemText)
{
    const char* words = "串口错误";
    switch (error) {
    case QSerialPort::DeviceNotFoundError: words = "设备不存在"; break;
    case QSerialPort::PermissionError: words = "没有权限或设备正被其他程序使用"; break;
    case QSerialPort::OpenError: words = "设备已经打开"; break;
    case QSerialPort::WriteError: words = "写入数据出错"; break;
    case QSerialPort::ReadError: words = "读取数据出错"; break;
    // What a device that was unplugged, or a line whose other end went away, reports.
    case QSerialPort::ResourceError: words = "设备已移除或不可用"; break;
    case QSerialPort::UnsupportedOperationError: words = "设备不支持此操作"; break;
    case QSerialPort::TimeoutError: words = "操作超时"; break;
    case QSerialPort::NotOpenError: words = "串口未打开"; break;
    default: break;
    }
    return WithSystemText(words, systemText);
}

std::string SettingsWriteErrorText(const rtl::EIniFileException& e)
{
    return "设置文件" + e.FileName() + "无法写入:" + SystemErrorText(e.Error());
}

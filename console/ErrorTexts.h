#pragma once
// The errors a serial line and a settings file meet, told in the operator's words with the
// system's own text after them, e.g. "没有权限(Permission denied)".
#include <QSerialPort>

#include <string>

namespace rtl {
class EIniFileException;
}

// An errno value.
std::string SystemErrorText(int error);
// What went wrong on a serial port; `systemText` is the port's own description.
std::string SerialErrorText(QSerialPort::SerialPortError error, const std::string& systemText);
// "设置文件<path>无法写入:<reason>".
std::string SettingsWriteErrorText(const rtl::EIniFileException& e);

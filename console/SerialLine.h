#pragma once
// What the console core needs of a serial line. The real line is TMSComm over a serial device;
// tests of the console core may put a fake in its place.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using TBytes = std::vector<std::uint8_t>;

class ISerialLine {
public:
    virtual ~ISerialLine() = default;

    virtual bool PortOpen() const = 0;
    // Bytes received and not yet taken.
    virtual int InBufferCount() const = 0;
    // Takes up to `count` waiting bytes, all of them for 0, oldest first.
    virtual TBytes Read(int count) = 0;
    // Queues the bytes behind everything queued before and returns before they leave. Nothing
    // queued is ever dropped while the line stays open; false when the line is closed.
    virtual bool Output(const TBytes& bytes) = 0;
    // Bytes handed to Output that have not left yet.
    virtual int OutBufferCount() const = 0;

    virtual std::string Settings() const = 0;
    // On an open line new settings take effect once every byte queued before has left, so a
    // reply in flight leaves at the old rate; bytes queued after the call use the new settings.
    // There a text that is no settings string is refused with `error` set; a closed line takes
    // any text and checks it when it opens.
    virtual bool SetSettings(const std::string& settings, std::string* error = nullptr) = 0;

    // Raised on the UI thread whenever bytes arrive (CommEvent 2 of the serial control).
    std::function<void()> OnComm;
    // Raised when the line closed by itself (device gone, settings refused); the text says why.
    std::function<void(const std::string&)> OnLost;
};

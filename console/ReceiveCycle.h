#pragma once
// The timing of the receive path and of byte-by-byte replies, driven by timers so that the UI
// thread never sleeps: the designed waits (30 ms before and after a read, the reply delays) are
// kept, while redraws, timers and the operator's input go on.
#include "console/SerialLine.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <deque>
#include <vector>

// One receive event: wait, take every byte that is there, wait again, look at what is still
// pending, then hand (bytes, pending) on. Bytes that arrive meanwhile wait for the next cycle, as
// they did while the designed handler slept.
class TReceiveCycle : public QObject {
    Q_OBJECT
public:
    explicit TReceiveCycle(ISerialLine& line, QObject* parent = nullptr);

    // Milliseconds of each of the two waits (30).
    void SetWait(int ms) { waitMs_ = ms; }
    // The display modes read at once, without the waits.
    void SetImmediate(bool immediate) { immediate_ = immediate; }
    // While held, no cycle starts (a reply is still being sent); bytes keep waiting.
    void SetHeld(bool held);
    bool Busy() const { return state_ != State::Idle; }
    // Forgets a cycle in progress (the port closed).
    void Reset();

    // Called for each data-received event of the line.
    void DataArrived();

    // At the start of every cycle, before anything is read.
    std::function<void()> OnEvent;
    // The bytes of one read and the count of bytes still pending after the second wait.
    std::function<void(const TBytes& bytes, int pending)> OnBurst;

private:
    enum class State { Idle, FirstWait, SecondWait };
    void Step();
    void Deliver(int pending);

    ISerialLine& line_;
    QTimer timer_;
    State state_ = State::Idle;
    TBytes bytes_;
    int waitMs_ = 30;
    // When the second wait ends: counted from when the first should have ended, so a timer that
    // fires late does not make the reply late twice.
    std::chrono::steady_clock::time_point secondDue_;
    bool immediate_ = false;
    bool held_ = false;
};

// Sends a reply one byte at a time: byte k leaves once delays[k] ms have passed since byte k-1
// left (byte 0: since the given moment), timed from the monotonic clock. Replies handed in while
// one is being sent queue behind it; nothing is dropped.
class TByteSender : public QObject {
    Q_OBJECT
public:
    using Clock = std::chrono::steady_clock;

    explicit TByteSender(ISerialLine& line, QObject* parent = nullptr);

    // A missing delay counts as 0; a delay of 0 sends at once.
    void Send(const TBytes& bytes, const std::vector<int>& delays, Clock::time_point since);
    bool Busy() const { return !jobs_.empty(); }
    // Drops what has not been sent (the port closed).
    void Cancel();

    // After the last byte of a reply was handed to the line.
    std::function<void()> OnDone;

private:
    struct Job {
        TBytes Bytes;
        std::vector<int> Delays;
        Clock::time_point Since;
    };
    void Step();

    ISerialLine& line_;
    QTimer timer_;
    std::deque<Job> jobs_;
    std::size_t next_ = 0;  // index in the first job
    Clock::time_point last_;
};

// The delay before each of `count` reply bytes from the delay table (up to 50 entries): entry 0
// is the response delay before byte 0; byte k waits entry k (entry 49 from byte 50 on) with
// per-byte delays, else entry 1.
std::vector<int> ReplyByteDelays(const std::vector<int>& table, bool perByteDelays, std::size_t count);

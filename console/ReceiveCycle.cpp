#include "console/ReceiveCycle.h"

#include <algorithm>
#include <cstdint>
#include <thread>

TReceiveCycle::TReceiveCycle(ISerialLine& line, QObject* parent) : QObject(parent), line_(line)
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &TReceiveCycle::Step);
}

void TReceiveCycle::SetHeld(bool held)
{
    held_ = held;
    if (!held_ && line_.InBufferCount() > 0)
        QTimer::singleShot(0, this, &TReceiveCycle::DataArrived);
}

void TReceiveCycle::Reset()
{
    timer_.stop();
    state_ = State::Idle;
    bytes_.clear();
}

void TReceiveCycle::DataArrived()
{
    if (state_ != State::Idle || held_ || !line_.PortOpen() || line_.InBufferCount() == 0)
        return;
    if (OnEvent)
        OnEvent();
    if (immediate_) {
        bytes_ = line_.Read(line_.InBufferCount());
        Deliver(0);
        return;
    }
    state_ = State::FirstWait;
    secondDue_ = std::chrono::steady_clock::now() + 2 * std::chrono::milliseconds(waitMs_);
    timer_.start(waitMs_);
}

void TReceiveCycle::Step()
{
    if (state_ == State::FirstWait) {
        bytes_ = line_.Read(line_.InBufferCount());
        state_ = State::SecondWait;
        // Timers count whole milliseconds: sleep the whole ones and finish the rest in Step, so
        // the wait neither ends early nor adds up to a millisecond to every reply.
        const auto left = std::chrono::floor<std::chrono::milliseconds>(secondDue_ - std::chrono::steady_clock::now());
        timer_.start(static_cast<int>(std::clamp<std::int64_t>(left.count(), 0, waitMs_)));
    } else if (state_ == State::SecondWait) {
        const auto left = secondDue_ - std::chrono::steady_clock::now();
        if (left > std::chrono::milliseconds(1)) {
            timer_.start(static_cast<int>(std::chrono::floor<std::chrono::milliseconds>(left).count()));
            return;
        }
        while (std::chrono::steady_clock::now() < secondDue_)
            std::this_thread::yield();
        Deliver(line_.InBufferCount());
    }
}

void TReceiveCycle::Deliver(int pending)
{
    state_ = State::Idle;
    TBytes bytes;
    bytes.swap(bytes_);
    if (OnBurst && !bytes.empty())
        OnBurst(bytes, pending);
    // Bytes that came during the cycle raise no new event of their own.
    if (state_ == State::Idle && !held_ && line_.PortOpen() && line_.InBufferCount() > 0)
        QTimer::singleShot(0, this, &TReceiveCycle::DataArrived);
}

// ---------------------------------------------------------------------------------------------

TByteSender::TByteSender(ISerialLine& line, QObject* parent) : QObject(parent), line_(line)
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &TByteSender::Step);
}

void TByteSender::Send(const TBytes& bytes, const std::vector<int>& delays, Clock::time_point since)
{
    if (bytes.empty())
        return;
    jobs_.push_back({bytes, delays, since});
    if (jobs_.size() == 1) {
        next_ = 0;
        last_ = since;
        Step();
    }
}

void TByteSender::Cancel()
{
    timer_.stop();
    jobs_.clear();
    next_ = 0;
}

void TByteSender::Step()
{
    while (!jobs_.empty()) {
        const Job& job = jobs_.front();
        const int delay = next_ < job.Delays.size() ? std::max(job.Delays[next_], 0) : 0;
        const auto due = last_ + std::chrono::milliseconds(delay);
        const auto now = Clock::now();
        if (now < due) {
            // Rounded up, so no byte ever leaves early.
            const auto wait = std::chrono::ceil<std::chrono::milliseconds>(due - now);
            timer_.start(static_cast<int>(wait.count()));
            return;
        }
        line_.Output({job.Bytes[next_]});
        last_ = Clock::now();
        if (++next_ < job.Bytes.size())
            continue;
        jobs_.pop_front();
        next_ = 0;
        if (!jobs_.empty())
            last_ = std::max(last_, jobs_.front().Since);
        if (OnDone)
            OnDone();
    }
}

std::vector<int> ReplyByteDelays(const std::vector<int>& table, bool perByteDelays, std::size_t count)
{
    auto entry = [&](std::size_t k) { return k < table.size() ? table[k] : 0; };
    std::vector<int> delays;
    for (std::size_t k = 0; k < count; ++k) {
        if (k == 0)
            delays.push_back(entry(0));
        else if (perByteDelays)
            delays.push_back(entry(std::min<std::size_t>(k, 49)));
        else
            delays.push_back(entry(1));
    }
    return delays;
}

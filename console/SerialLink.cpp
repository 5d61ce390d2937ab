#include "console/SerialLink.h"

namespace {
const char* const OpenCaption = "关闭串口";
const char* const ClosedCaption = "打开串口";
} // namespace

TSerialLink::TSerialLink(QObject* parent)
    : QObject(parent), receiver_(comm_), sender_(comm_)
{
    timerTxOver_.setInterval(frameGap_);
    timerTxCmdOver_.setInterval(responseDelay_);
    connect(&timerTxOver_, &QTimer::timeout, this, &TSerialLink::FrameGapElapsed);
    connect(&timerTxCmdOver_, &QTimer::timeout, &timerTxCmdOver_, &QTimer::stop);

    comm_.OnComm = [this] { receiver_.DataArrived(); };
    comm_.OnLost = [this](const std::string& why) { PortLost(why); };
    receiver_.OnEvent = [this] {
        timerTxOver_.stop();
        timerTxOver_.start();
        if (OnEvent)
            OnEvent();
    };
    receiver_.OnBurst = [this](const TBytes& bytes, int pending) {
        if (OnBurst)
            OnBurst(bytes, pending);
        if (gapPending_ && !receiver_.Busy() && !sender_.Busy())
            FrameGapElapsed();
    };
    sender_.OnDone = [this] { SenderDone(); };
}

TSerialLink::~TSerialLink()
{
    comm_.OnComm = nullptr;
    comm_.OnLost = nullptr;
}

TPortState TSerialLink::ClosedState() const
{
    TPortState s;
    s.ButtonCaption = ClosedCaption;
    s.PanelText = comm_.Device() + "关闭," + comm_.Settings();
    return s;
}

// Whatever was in flight on the old port ends here: the paced reply, the read cycle, and a rate
// change that waited for the reply (it applies now, so the port opens at the chosen rate).
void TSerialLink::DropPendingWork()
{
    sender_.Cancel();
    receiver_.Reset();
    receiver_.SetHeld(false);
    if (settingsAfterReply_)
        comm_.SetSettings(*settingsAfterReply_);
    settingsAfterReply_.reset();
    gapPending_ = false;
}

TPortState TSerialLink::OpenPort(bool open)
{
    DropPendingWork();
    if (comm_.PortOpen())
        comm_.Close();
    std::string error;
    if (open && !comm_.Open())
        error = comm_.LastError();

    TPortState s;
    if (comm_.PortOpen()) {
        s.Open = true;
        s.ButtonCaption = OpenCaption;
        s.PanelText = comm_.Device() + "打开," + comm_.Settings();
        s.LogLines.push_back(s.PanelText);
        timerTxOver_.setInterval(frameGap_);
        timerTxCmdOver_.setInterval(responseDelay_);
    } else {
        s = ClosedState();
        if (!error.empty())
            s.LogLines.push_back(error);
        s.LogLines.push_back(comm_.Device() + "关闭");
    }
    timerTxCmdOver_.stop();
    timerTxOver_.stop();
    return s;
}

TPortState TSerialLink::ShowPortState() const
{
    TPortState s;
    s.Open = comm_.PortOpen();
    s.ButtonCaption = s.Open ? OpenCaption : ClosedCaption;
    s.PanelText = comm_.Device() + (s.Open ? "打开" : "关闭") + comm_.Settings();
    return s;
}

bool TSerialLink::Send(const TBytes& bytes)
{
    if (!sender_.Busy())
        return comm_.Output(bytes);
    sender_.Send(bytes, {}, TByteSender::Clock::now());
    return comm_.PortOpen();
}

void TSerialLink::SendBytes(const TBytes& bytes, const std::vector<int>& delays,
                            TByteSender::Clock::time_point since)
{
    if (!comm_.PortOpen() || bytes.empty())
        return;
    receiver_.SetHeld(true);
    sender_.Send(bytes, delays, since);
}

bool TSerialLink::ChangeSettings(const std::string& settings, std::string* error)
{
    if (!ParseCommSettings(settings, error))
        return false;
    if (sender_.Busy()) {
        settingsAfterReply_ = settings;
        return true;
    }
    return comm_.SetSettings(settings, error);
}

void TSerialLink::SenderDone()
{
    if (sender_.Busy())
        return;
    if (settingsAfterReply_) {
        const std::string next = *settingsAfterReply_;
        settingsAfterReply_.reset();
        comm_.SetSettings(next);
    }
    receiver_.SetHeld(false);
    if (gapPending_ && !receiver_.Busy())
        FrameGapElapsed();
}

void TSerialLink::FrameGapElapsed()
{
    // The designed handler slept through its waits, so the gap never cut a read in two.
    if (receiver_.Busy() || sender_.Busy()) {
        gapPending_ = true;
        return;
    }
    gapPending_ = false;
    if (OnFrameGap)
        OnFrameGap();
}

std::string TSerialLink::Settings() const
{
    return settingsAfterReply_ ? *settingsAfterReply_ : comm_.Settings();
}

void TSerialLink::PortLost(const std::string& why)
{
    DropPendingWork();
    timerTxOver_.stop();
    timerTxCmdOver_.stop();
    TPortState s = ClosedState();
    s.LogLines.push_back(why);
    s.LogLines.push_back(comm_.Device() + "关闭");
    if (OnPortLost)
        OnPortLost(s);
}

#include "console/FrameAssembler.h"

#include <algorithm>

#include "meter/FFunct.h"

namespace {

constexpr std::uint8_t kStart = 0x68;
constexpr std::uint8_t kRelayStart = 0xAA;
constexpr std::uint8_t kEnd = 0x16;
constexpr std::uint8_t kEventEnd = 0x96;

}  // namespace

void TFrameAssembler::Feed(TAssemblerMode mode, const std::uint8_t* bytes, int count, int pending,
                           TAssemblerSink& sink)
{
    // A burst of the listening or request mode may leave the index anywhere up to the buffer's
    // end; the frame assemblers index only below kIndexLimit.
    const bool bounded = mode == TAssemblerMode::Listen || mode == TAssemblerMode::Request;
    if (mode != LastMode || RxIndex >= (bounded ? kRxBufferSize + 1 : kIndexLimit))
        Reset();
    LastMode = mode;
    switch (mode) {
    case TAssemblerMode::Normal: FeedNormal(bytes, count, pending, sink); break;
    case TAssemblerMode::Display645: FeedDisplay645(bytes, count, sink); break;
    case TAssemblerMode::Carrier: FeedCarrier(bytes, count, sink); break;
    case TAssemblerMode::Listen: FeedListen(bytes, count, pending, sink); break;
    case TAssemblerMode::Request: FeedRequest(bytes, count, pending, sink); break;
    }
}

void TFrameAssembler::ResetReceiver(int start)
{
    FrameStart = start;
    if (start == -1) {
        RxSum = 0;
        RxIndex = 0;
    }
}

void TFrameAssembler::Reset()
{
    std::fill(std::begin(RxBuffer), std::end(RxBuffer), 0);
    RxIndex = 0;
    FrameStart = -1;
    RelayStart = -1;
    RxSum = 0;
    RelayLength = 0;
    DisplayState = 1;
    DisplayStart = 0;
    DisplayLength = 0;
    RequestStart = -1;
    Discarding = false;
}

void TFrameAssembler::FrameGap(bool carrierDisplay)
{
    if (!carrierDisplay) {
        // The listening display relies on zeros after a burst: clear what the gap cuts off.
        ClearBurst();
        ResetReceiver(-1);
        DisplayState = 1;
        RequestStart = -1;
        Discarding = false;
    }
    RelayStart = -1;
}

bool TFrameAssembler::ChecksumGood(int start, int end) const
{
    return ByteSum(RxBuffer + start, end - 1 - start) == RxBuffer[end - 1];
}

void TFrameAssembler::FeedNormal(const std::uint8_t* bytes, int count, int pending,
                                 TAssemblerSink& sink)
{
    for (int j = 0; j < count; ++j) {
        const std::uint8_t b = bytes[j];
        const bool last = j == count - 1 && pending == 0;
        const int i = RxIndex;
        RxBuffer[i] = b;
        bool restarted = false;

        if (FrameStart < 0 && RelayStart < 0) {
            if (b == kStart) {
                FrameStart = i;
                RxSum = kStart;
            } else if (b == kRelayStart) {
                RelayStart = i;
                RelayLength = 0;
            } else if (last) {
                sink.BurstDropped(RxBuffer, i + 1, nullptr, true);
                RelayStart = -1;
                ResetReceiver(-1);
                return;
            }
        } else if (FrameStart < 0) {
            const int l = RxBuffer[RelayStart + 1];
            if (i - RelayStart == l + 2) {
                const bool ended = b == kEnd;
                if (ended) {
                    RelayLength = l;
                    std::copy(RxBuffer + RelayStart, RxBuffer + RelayStart + l + 3, RelayFrame);
                }
                RelayStart = -1;
                ResetReceiver(-1);
                sink.RelayAssembled(ended);
                return;
            }
            if (last) {
                sink.BurstDropped(RxBuffer, i + 1, nullptr, true);
                RelayStart = -1;
                ResetReceiver(-1);
                return;
            }
        } else {
            RxSum += b;
            const int k = i - FrameStart;
            const int l = k >= 9 ? RxBuffer[FrameStart + 9] : -1;
            const bool atEnd = l >= 0 && k == l + 11;
            const bool sumGood = atEnd && ChecksumGood(FrameStart, i);
            const char* error = nullptr;
            if (b == kEnd && atEnd && sumGood) {
                const int start = FrameStart;
                ResetReceiver(-1);
                sink.FrameAssembled(RxBuffer + start, k + 1);
                restarted = true;
            } else if (last && b != kEnd) {
                error = "<-没有结束符";
            } else if (last && !atEnd) {
                error = "<-长度不符";
            } else if (b == kEnd && atEnd) {
                error = "<-校验和错误";
            } else if (l >= 0 && k > l + 11) {
                sink.BurstDropped(RxBuffer, i + 1, "<-长度超", false);
                ResetReceiver(-1);
                restarted = true;
            }
            if (error) {
                sink.BurstDropped(RxBuffer, i + 1, error, true);
                RelayStart = -1;
                ResetReceiver(-1);
                return;
            }
        }
        if (!restarted && ++RxIndex >= kIndexLimit) {
            ResetReceiver(-1);
            RelayStart = -1;
        }
    }
}

void TFrameAssembler::FeedDisplay645(const std::uint8_t* bytes, int count, TAssemblerSink& sink)
{
    for (int j = 0; j < count; ++j) {
        const std::uint8_t b = bytes[j];
        const int i = RxIndex;
        RxBuffer[i] = b;
        bool restarted = false;
        if (DisplayState == 1) {
            if (b == kStart) {
                DisplayStart = i;
                DisplayState = 2;
                RxSum = kStart;
            }
        } else if (DisplayState == 2) {
            RxSum += b;
            if (i - DisplayStart == 7) {
                if (b == kStart) {
                    DisplayState = 3;
                } else {
                    DisplayState = 1;
                    DisplayStart = 0;
                    RxIndex = 0;
                    RxSum = 0;
                    restarted = true;
                }
            }
        } else {
            RxSum += b;
            const int k = i - DisplayStart;
            const bool complete = b == kEnd && k >= 11 && k == RxBuffer[DisplayStart + 9] + 11 &&
                                  ChecksumGood(DisplayStart, i);
            if (complete) {
                if (!sink.DisplayFrameAssembled(RxBuffer + DisplayStart, k + 1))
                    return;
                DisplayState = 1;
                DisplayStart = 0;
                RxIndex = 0;
                RxSum = 0;
                restarted = true;
            } else if (b == kStart) {
                DisplayStart = i;
                DisplayState = 2;
                RxSum = kStart;
            }
        }
        if (!restarted && ++RxIndex >= kIndexLimit) {
            DisplayState = 1;
            RxIndex = 0;
        }
    }
}

void TFrameAssembler::FeedCarrier(const std::uint8_t* bytes, int count, TAssemblerSink& sink)
{
    for (int j = 0; j < count; ++j) {
        const std::uint8_t b = bytes[j];
        const int i = RxIndex;
        RxBuffer[i] = b;
        bool restarted = false;
        // A frame whose end position passed without an end byte is given up, so that one bad
        // frame does not hide the following ones (this mode keeps its state across gaps).
        if (DisplayState == 3 && i - DisplayStart > DisplayLength + 1)
            DisplayState = 1;
        if (DisplayState == 1) {
            if (b == kRelayStart) {
                DisplayStart = i;
                DisplayState = 2;
            }
        } else if (DisplayState == 2) {
            if (b == kRelayStart) {
                DisplayStart = i;  // a run of AAH: the frame starts at the last one
            } else {
                DisplayLength = b;
                DisplayState = 3;
            }
        } else if (i - DisplayStart == DisplayLength + 1) {
            if (b == kEnd || b == kEventEnd) {
                sink.CarrierFrameAssembled(RxBuffer + DisplayStart, DisplayLength + 2);
                DisplayState = 1;
                DisplayLength = 0;
                DisplayStart = 0;
                RxIndex = 0;
                restarted = true;
            } else if (b == kRelayStart) {
                DisplayStart = i;
                DisplayState = 2;
            }
        }
        if (!restarted && ++RxIndex >= kIndexLimit) {
            DisplayState = 1;
            RxIndex = 0;
        }
    }
}

void TFrameAssembler::ClearBurst()
{
    std::fill(RxBuffer, RxBuffer + std::min(RxIndex + 1, kRxBufferSize), 0);
}

bool TFrameAssembler::StoreBounded(TAssemblerMode mode, std::uint8_t b, bool last,
                                   TAssemblerSink& sink)
{
    if (Discarding) {
        ++DroppedBytes;
        if (last) {
            Discarding = false;
            sink.BurstOverflowEnded(mode, DroppedBytes);
        }
        return false;
    }
    if (RxIndex >= kRxBufferSize) {
        sink.BurstOverflow(mode, RxBuffer, kRxBufferSize);
        std::fill(std::begin(RxBuffer), std::end(RxBuffer), 0);
        RxIndex = 0;
        if (mode == TAssemblerMode::Request)
            ResetRequest();
        DroppedBytes = 1;
        Discarding = !last;
        if (last)
            sink.BurstOverflowEnded(mode, DroppedBytes);
        return false;
    }
    RxBuffer[RxIndex] = b;
    return true;
}

void TFrameAssembler::FeedListen(const std::uint8_t* bytes, int count, int pending,
                                 TAssemblerSink& sink)
{
    for (int j = 0; j < count; ++j) {
        const bool last = j == count - 1 && pending == 0;
        if (!StoreBounded(TAssemblerMode::Listen, bytes[j], last, sink))
            continue;
        if (last) {
            sink.ListenBurst(RxBuffer, RxIndex);
            ClearBurst();
            RxIndex = 0;
        } else {
            ++RxIndex;
        }
    }
}

void TFrameAssembler::ResetRequest()
{
    RxIndex = 0;
    RxSum = 0;
    RequestStart = -1;
}

void TFrameAssembler::FeedRequest(const std::uint8_t* bytes, int count, int pending,
                                  TAssemblerSink& sink)
{
    for (int j = 0; j < count; ++j) {
        const std::uint8_t b = bytes[j];
        const bool last = j == count - 1 && pending == 0;
        if (!StoreBounded(TAssemblerMode::Request, b, last, sink))
            continue;
        const int i = RxIndex;
        if (RequestStart < 0 && b == kStart) {
            RequestStart = i;
            RxSum = 0;
        }
        if (RequestStart >= 0) {
            RxSum += b;
            const int k = i - RequestStart;
            if (b == kEnd && k >= 11 && k == RxBuffer[RequestStart + 9] + 11 &&
                ChecksumGood(RequestStart, i)) {
                sink.RequestAssembled(RxBuffer, i, RequestStart);
                ResetRequest();
                return;
            }
        }
        if (last) {
            ResetRequest();
            sink.RequestBurstEnded();
        } else {
            ++RxIndex;
        }
    }
}

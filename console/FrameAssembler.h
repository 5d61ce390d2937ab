#pragma once
// Line framing: the assemblers that turn reads from the serial line into DL/T 645 frames, relay
// frames, carrier frames, listening bursts and requests of the reply-variant modes. Each read is
// (bytes, count still pending after it); a byte is the last of a burst when it ends a read that
// left nothing pending. The assemblers keep their bytes in one receive buffer and report what
// they found to a sink; they log nothing and count nothing themselves.
#include <cstdint>

enum class TAssemblerMode {
    Normal,      // 645 frames and relay frames
    Display645,  // "645显示"
    Carrier,     // "Daltrex显示"
    Listen,      // "侦听测试": whole bursts
    Request,     // "循环回复" and "自设回复"
};

class TAssemblerSink {
public:
    virtual ~TAssemblerSink() = default;
    // Normal mode. A complete 645 frame (from its 68H); the receiver is already reset, the
    // bytes stay valid for the call only.
    virtual void FrameAssembled(const std::uint8_t* frame, int length) = 0;
    // A relay frame reached its end position; ended when the end byte was 16H (the frame then
    // waits in RelayFrame with RelayLength = L).
    virtual void RelayAssembled(bool ended) = 0;
    // Bytes that form no frame: text is one of the error texts, or nullptr for stray bytes or
    // an unfinished relay frame. counted: the burst counts as a received frame.
    virtual void BurstDropped(const std::uint8_t* bytes, int count, const char* text,
                              bool counted) = 0;
    // Display modes. False ends the read and leaves the assembler as it stands (a frame that
    // was not answered).
    virtual bool DisplayFrameAssembled(const std::uint8_t* frame, int length) = 0;
    virtual void CarrierFrameAssembled(const std::uint8_t* frame, int length) = 0;
    // Listening: a whole burst, bytes 0..lastIndex; the buffer is cleared after the call.
    virtual void ListenBurst(const std::uint8_t* burst, int lastIndex) = 0;
    // Request mode: a complete request at requestStart; the burst is bytes 0..lastIndex. The
    // rest of the read is dropped and the assembler reset after the call.
    virtual void RequestAssembled(const std::uint8_t* burst, int lastIndex, int requestStart) = 0;
    // Request mode: a burst ended without a complete request.
    virtual void RequestBurstEnded() = 0;
    // Listening or request mode: the burst ran past the buffer; `bytes` is what the buffer held.
    virtual void BurstOverflow(TAssemblerMode mode, const std::uint8_t* bytes, int count) = 0;
    // The end of such a burst: `dropped` bytes past the buffer were not kept.
    virtual void BurstOverflowEnded(TAssemblerMode mode, int dropped) = 0;
};

class TFrameAssembler {
public:
    static constexpr int kRxBufferSize = 4096;
    // The 645, relay and display assemblers start over at this index.
    static constexpr int kIndexLimit = 1024;
    // AAH, L, up to 255 bytes, 16H.
    static constexpr int kRelayFrameSize = 258;

    void Feed(TAssemblerMode mode, const std::uint8_t* bytes, int count, int pending,
              TAssemblerSink& sink);
    // FrameStart = start; -1 also clears RxSum and RxIndex.
    void ResetReceiver(int start);
    // Everything back to idle: buffer, index, sums, every assembler's state. A change of mode
    // does this by itself (Feed compares the mode with the one before), so no state of one
    // assembler is ever read by another.
    void Reset();
    // The frame gap: drops what is unfinished. The carrier display keeps its state.
    void FrameGap(bool carrierDisplay);

    std::uint8_t RxBuffer[kRxBufferSize] = {};
    int RxIndex = 0;
    // Normal mode.
    int FrameStart = -1;
    int RelayStart = -1;
    std::int32_t RxSum = 0;
    int RelayLength = 0;
    std::uint8_t RelayFrame[kRelayFrameSize] = {};
    // Display modes: 1 idle, 2 head, 3 body.
    int DisplayState = 1;
    int DisplayStart = 0;
    int DisplayLength = 0;
    // Request mode.
    int RequestStart = -1;

private:
    void FeedNormal(const std::uint8_t* bytes, int count, int pending, TAssemblerSink& sink);
    void FeedDisplay645(const std::uint8_t* bytes, int count, TAssemblerSink& sink);
    void FeedCarrier(const std::uint8_t* bytes, int count, TAssemblerSink& sink);
    void FeedListen(const std::uint8_t* bytes, int count, int pending, TAssemblerSink& sink);
    void FeedRequest(const std::uint8_t* bytes, int count, int pending, TAssemblerSink& sink);
    // Listening and request modes: false when the byte cannot be stored (the burst is dropped).
    bool StoreBounded(TAssemblerMode mode, std::uint8_t b, bool last, TAssemblerSink& sink);
    // The frame ending at index `end` with its checksum before it: is the sum right?
    bool ChecksumGood(int start, int end) const;
    void ResetRequest();
    void ClearBurst();

    // A burst that overflowed: its remaining bytes are dropped (and counted) until it ends.
    bool Discarding = false;
    int DroppedBytes = 0;
    TAssemblerMode LastMode = TAssemblerMode::Normal;
};

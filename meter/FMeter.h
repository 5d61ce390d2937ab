#pragma once
// The simulated electricity meter: registers, clock, tariff schedule, energy model and the frame
// engine that answers DL/T 645-1997, DL/T 645-2007, "上海规约" and "BNC规约" frames.
//
// The console owns one meter. It lends the meter its received-frame and transmit buffers by
// pointer, binds OnCheckAddress, hands in one complete frame at a time (ProcessFrame) and reads
// StatusCode, Texts, TxLength and RequestFlag before the next one; its one-second timer calls
// TickSecond. The meter reports failures through its status code and error replies, never by
// exceptions. All multi-byte register values are packed BCD, least significant byte first.
//
// Source files of the class:
//   FMeter.cpp         construction, accessors, the frame engine and reply building
//   FMeter97.cpp       the 1997-shaped command set (protocols 0, 2, 3)
//   FMeter97Read.cpp   the 1997 read identifiers (FMeter97Reply.h puts reply data and text together)
//   FMeter07.cpp       the DL/T 645-2007 command dispatch
//   FMeter07Read.cpp   2007 reads of energy, demand and instantaneous values
//   FMeter07Param.cpp  2007 parameters
//   FMeter07Event.cpp  2007 events, freeze, load records and other reads
//   FMeterClock.cpp    one-second tick, tariff schedule, energy and power model
//   FMeterText.cpp     display-text formatters, energy-kind names, identifier names
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "meter/FDbId645.h"
#include "meter/FHdlAcInput.h"

// Status code of a handled frame; the console sends a built reply only when it is msOk.
enum TMeterStatus : std::uint8_t {
    msOk = 0,                  // "通信成功 "
    msFrameStart = 1,          // "帧首字节错"
    msFrameEnd = 2,            // "帧尾字节错"
    msFrameType = 3,           // "帧类型错"
    msChecksum = 4,            // "帧校验错"
    msFrameLength = 5,         // "帧长度"
    msNotProgramEnabled = 6,   // "非编程使能"
    msPasswordWrong = 7,       // "密码错"
    msDataError = 8,           // "数据错"
    msNoSuchDataId = 9,        // "无此数据标识"
    msNotThisAddress = 10,     // "非本地址"
    msCommandUnsupported = 11, // "命令不支持"
    msStateWrong = 12,         // "状态不正确,断电不执行"
};

// The text of a status code 0..12; an empty text above 12.
const char* MeterStatusText(int code);

enum TMeterProtocol : std::uint8_t {
    mpDlt645_1997 = 0,
    mpDlt645_2007 = 1,
    mpShanghai = 2,  // "上海规约": requests carry bit 7 of the control code
    mpBnc = 3,       // "BNC规约"
};

enum TMeterKind : std::uint8_t {
    mkCarrierMeter = 0,
    mkCollector = 1,
    mkBoxMonitor = 2,
    mkOldCarrierMeter = 3,  // does not answer the device-type query
};

// A whole frame as the operator entered it (event reports).
struct EventRepFrame {
    std::uint8_t Len = 0;
    std::uint8_t Data[256] = {};
};

// Local date and time as the meter's time source gives it (Year 2000..2099, Month 1..12).
struct TMeterTime {
    int Year = 2000;
    int Month = 1;
    int Day = 1;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
};
using TTimeSource = std::function<TMeterTime()>;
// The PC's local clock: the default time source.
TMeterTime PcLocalTime();

// Names of the 2007 energy kinds used by the display texts: entries 0..40 for Energy07 and
// PhaseEnergy07 (kinds, then phases A, B, C), entries 41..68 for ExtEnergy07
// (ExtEnergyKindName(i) is entry 41 + i).
extern const std::array<const char*, 69> EnergyKindNames;
inline const char* ExtEnergyKindName(int i) { return EnergyKindNames[static_cast<std::size_t>(41 + i)]; }

// The 2007 energy store, held 13 times: copy 0 current, copies 1..12 the last settlement days.
struct TEnergy07Copy {
    std::uint8_t Energy07[11][64][4];       // kind 0..10; register 0 total, 1..63 tariffs
    std::uint8_t PhaseEnergy07[10][3][4];   // kind; phase A, B, C
    std::uint8_t ExtEnergy07[7][4][4];      // kind; total, A, B, C
};

class TZbSxMeter {
public:
    static constexpr int kFrameBufferSize = 1024;
    // L is one byte on the line: a reply never carries more data than this.
    static constexpr int kMaxFrameData = 255;

    // The seven display texts every handled frame leaves.
    struct _RdId {
        std::string Answer;
        std::string Command;
        std::string Status;
        std::string Address;
        std::string IdName;
        std::string Data;
        std::string Time;
        // Empties every text, keeping the storage for the next frame.
        void Clear()
        {
            for (std::string* t : {&Answer, &Command, &Status, &Address, &IdName, &Data, &Time})
                t->clear();
        }
    };

    using TAddressCheckEvent = std::function<void()>;
    using TMeterNotifyEvent = std::function<void(int)>;

    // The clock is taken from timeSource (the PC clock when none is given).
    explicit TZbSxMeter(TTimeSource timeSource = {});
    ~TZbSxMeter();
    TZbSxMeter(const TZbSxMeter&) = delete;
    TZbSxMeter& operator=(const TZbSxMeter&) = delete;

    // ---- Frame engine (FMeter.cpp) ---------------------------------------------------------
    // Handles the frame of `length` bytes in RxFrame (from its first 0x68, no preamble).
    void ProcessFrame(int length);
    // Finishes a reply whose `l` raw data bytes stand at TxFrame[10..]: phase byte, 0x33, the
    // meter's own address MeterAddr, checksum, end byte, optional FE preamble; sets TxLength and
    // SendLength and returns TxLength. A reply whose data would pass 255 bytes is replaced by the
    // read error reply (0xC1, or 0xD1 in DL/T 645-2007) with error byte 1. A handler that builds
    // a frame by hand instead (the 1997 pass-through read) sets TxLength and SendLength itself.
    int BuildReply(std::uint8_t c, int l);
    // One-byte error reply with control code c.
    int BuildErrorReply(std::uint8_t c, std::uint8_t errorByte);
    void SetStatus(int code);
    // A command frame to TargetAddr with the data bytes as they are.
    int BuildRawFrame(std::uint8_t c, std::uint8_t l, const std::uint8_t* data);
    // The event-report frame chosen by EventRepMode.
    int BuildReportFrame();

    // ---- Accessors (FMeter.cpp) ------------------------------------------------------------
    void SetTxBuffer(std::uint8_t* buffer);     // kFrameBufferSize bytes, owned by the console
    void SetFrameBuffer(std::uint8_t* buffer);  // kFrameBufferSize bytes, owned by the console
    // Binds the long-frame identifiers (2 bytes each, as typed) kept by the console.
    void SetLongFrameIds(std::uint8_t* setId, std::uint8_t* readId);
    int GetTxLength() const { return TxLength; }
    std::uint8_t* GetMeterAddress() { return MeterAddr; }
    std::uint8_t* GetTargetAddress() { return TargetAddr; }
    std::uint8_t* GetPassword() { return Password; }
    std::uint8_t* GetMeterConstant() { return MeterConst; }
    std::uint8_t* GetEnergyBlock() { return EnergyBlock; }  // TotalEnergy, then FixedRateStep
    std::uint8_t* GetHourFreezeValue() { return HourFreezeValue; }
    void SetProgramEnable(bool on) { ProgramEnable = on; }
    bool PasswordDiffers(const std::uint8_t* password) const;
    void SetAddressText(const std::string& text) { AddrText = text; }
    std::string GetAddressText() const { return AddrText; }
    void SetRequestFlag(bool on) { RequestFlag = on; }
    bool GetRequestFlag() const { return RequestFlag; }
    void SetProtocol(std::uint8_t protocol) { Protocol = protocol; }
    std::uint8_t* GetVoltage(int phase);       // 3 and above give phase A
    std::uint8_t* GetCurrent(int phase);       // 3 and above give phase A
    std::uint8_t* GetPowerFactor(int index);   // 0 total, 1..3 phases; 4 and above the total
    std::uint8_t* GetPhaseAngle(int phase);    // other than 0..2 gives phase A
    std::uint8_t SumPhaseLossCounts() const;
    std::uint8_t* GetTimeRecordA(int n);
    std::uint8_t* GetTimeRecordB(int n);
    std::uint8_t* GetBoxOpenRecord(int n);     // slot n mod 50
    std::uint8_t* GetHourTableAt(bool second); // table 1 when set, else table 0
    std::uint8_t* GetHourTable(bool readTable);// 0: the table the tick fills, 1: the read table
    // 2007 forward-active register r (0 total, 1..63 tariffs) of copy 0; other r give register 0.
    std::uint8_t* GetEnergy07(int r);
    std::uint8_t* GetTariffEnergy07();
    void NotifyOwner(int event);

    // ---- 1997-shaped command set (FMeter97.cpp) --------------------------------------------
    // Broadcast commands; false when the control code is not one of them (it then continues as
    // an addressed request).
    bool Dispatch97Broadcast();
    void Dispatch97();
    // The event-report read 0xE1 and event display 0xF1 that reach the listen branch.
    void HandleEventReport97(std::uint8_t c);
    void Read97();
    void ReadFollowUp97();
    void Write97();
    void PassThroughRead97();
    void DeviceTypeQuery97();
    void ChangePassword97();
    void PowerLimit97(bool broadcast);
    void LongFrameTest97();
    // The L = 2 read identifiers; false when DI1 is not one of the families answered.
    bool ReadIdentifier97(std::uint8_t di1, std::uint8_t di0);

    // ---- DL/T 645-2007 dispatch (FMeter07.cpp) ---------------------------------------------
    bool Dispatch07Broadcast();
    void Dispatch07();
    // True when L equals expectedL and, when password is given, it equals Password. On failure
    // the error byte (1 length, 4 password) goes to the reply's data 0 and, when reply is set,
    // the one-byte error reply with C + 0xC0 is built.
    bool CheckRequest07(int expectedL, const std::uint8_t* password, bool reply);
    void Read07();
    void ReadFollowUp07();
    void Write07();
    void ChangePassword07();
    void ClearCommand07(std::uint8_t c);
    void RemoteControl07();

    // ---- 2007 reads of energy, demand, instantaneous values (FMeter07Read.cpp) --------------
    // Handlers take the identifier (DI0..DI3, as TxFrame[10..13]); each builds its reply and
    // returns true, or returns false when it has no such data.
    bool ReadEnergy07(const std::uint8_t* id, std::uint8_t* data);
    bool ReadDemand07(const std::uint8_t* id);
    bool ReadVariables07(const std::uint8_t* id);
    bool ReplyFreezeBlock(std::uint16_t n);
    // Reply helpers (FMeter.cpp): finish a reply of n data bytes after the identifier.
    bool ReplyData07(int n);
    bool ReplyFilled(std::uint16_t n, std::uint8_t value, bool appendAA);
    bool ReplyFilled32(int n);
    // Where the data after the identifier of a 2007 reply starts.
    std::uint8_t* ReplyData07Ptr() { return TxFrame + 14; }

    // ---- 2007 parameters (FMeter07Param.cpp) ------------------------------------------------
    bool ReadParameter07(const std::uint8_t* id, std::uint8_t* data);
    bool WriteParameter07(const std::uint8_t* id, const std::uint8_t* data);

    // ---- 2007 events, freeze, load records (FMeter07Event.cpp) ------------------------------
    bool ReadEvents07(const std::uint8_t* id, const std::uint8_t* request);
    bool ReadFreeze07(const std::uint8_t* id);
    bool ReadPhaseBreak07(const std::uint8_t* id);
    bool ReadSwitchRecords07(const std::uint8_t* id);
    bool ReadSubMeters07(const std::uint8_t* id);
    bool ReadLoadRecords07(const std::uint8_t* id, const std::uint8_t* request);

    // ---- Clock, tariff, energy (FMeterClock.cpp) --------------------------------------------
    void TickSecond();
    void UpdateTariff();
    void MinuteTick();
    void StoreHourEnergy();
    void RecordBoxOpen(bool open);
    void CalcPowerIncrements();
    void CalcPowers();
    void CalcPhasePower(const std::uint8_t* voltage, const std::uint8_t* current,
                        std::uint16_t factor, std::uint8_t* out);
    void AccumulateEnergy();
    void AddEnergy(std::uint8_t amount);
    void AddPhaseEnergy(int phase, std::uint8_t amount);
    void LoadEnergy(const std::uint8_t* energy);
    void SetTotalEnergy(const std::string& digits);
    void SetFixedRate(const std::string& digits);
    void SetNeutralCurrent(const std::uint8_t* current);

    // ---- Display texts and identifier names (FMeterText.cpp) --------------------------------
    bool LoadDataIdList();
    bool FindDataIdName(const std::string& idText);
    static std::string FormatEnergy(const std::uint8_t* value);
    static std::string FormatEnergyBlock(const std::uint8_t* values);
    static std::string FormatDemand(const std::uint8_t* value);
    static std::string FormatDemandBlock(const std::uint8_t* values);
    static std::string FormatDemandTime(const std::uint8_t* value);
    static std::string FormatDemandTimeBlock(const std::uint8_t* values);
    static std::string FormatHexBytes(const std::uint8_t* bytes, int n);
    static std::string FormatHexWord(const std::uint8_t* bytes);
    static std::string FormatDecimalWord(const std::uint8_t* bytes);
    static std::string FormatScaled(const std::uint8_t* bytes, int n, int k);

    // ---- Engine helpers used across the command files (FMeter.cpp) --------------------------
    // The request's control code, L and data (0x33 already removed).
    std::uint8_t RequestC() const { return RxFrame[8]; }
    int RequestL() const { return RxFrame[9]; }
    const std::uint8_t* RequestData() const { return RxFrame + 10; }
    // MeterAddr from AddrText (12 hexadecimal digits, most significant first).
    void AddressFromText();
    // A 6-byte address as 12 hexadecimal digits, most significant first.
    static std::string AddressToText(const std::uint8_t* address);
    // The meter clock as "%02X-%02X-%02X %02X:%02X:%02X" (year first).
    std::string ClockText() const;
    // Sets Clock from second, minute, hour, day, month, year (BCD) with the weekday computed.
    void SetClockFromFrame(const std::uint8_t* smhdmy);

    // ---- Fields -----------------------------------------------------------------------------
    // The one meter clock: second, minute, hour (BCD), weekday 0..6 (binary, 0 = Sunday), day,
    // month, year (BCD). Every protocol reads and sets this clock, the 2007 date and time
    // parameters included.
    std::uint8_t Clock[7] = {};
    EventRepFrame DataEventRep;      // "响应"
    EventRepFrame ControlEventRep;   // "命令"
    EventRepFrame CancelEventRep;    // "取消"
    EventRepFrame FinishedEventRep;  // "结束"
    bool AddrTextChanged = false;
    std::uint8_t* LongFrameSetId = nullptr;   // 2 bytes, bound by the console
    std::uint8_t* LongFrameReadId = nullptr;  // 2 bytes, bound by the console
    bool LongFrameStored = false;
    std::int32_t LongFrameLen = 0;
    bool AnswerBroadcastRead = true;
    bool AnswerAddressRead = true;
    bool EventReportEnabled = false;
    bool ProtocolLocked = false;
    TEnergy07Copy Energy07Store[13] = {};
    std::uint8_t MeterConst07[3] = {};
    std::uint8_t MeterNumber07[6] = {};
    std::uint8_t MaxTariff = 0;
    std::unique_ptr<THdlAcInput> AcInput;
    std::uint8_t HourFreezeValue[4] = {};
    bool Running = true;
    bool FixedRateRunning = false;
    std::uint8_t Money[4] = {};
    std::uint8_t OverdraftMoney[4] = {};
    std::uint8_t DemandClearCount[2] = {};
    std::uint8_t ProgramCount[2] = {};
    std::uint8_t ReadingDay[2] = {};
    std::uint8_t RunStatusWords[7][2] = {};
    std::uint8_t SelfCheckStatus[2] = {};
    std::uint8_t EventFlags[2] = {};
    std::uint8_t TariffSchedule[12][3] = {};  // tariff 1..4 (0 ends), start minute, start hour
    std::uint16_t SendLength = 0;
    bool SinglePhase = false;
    std::uint8_t StatusCode = 0;
    _RdId Texts;
    // IdName, Data and Time (and the identifier-name lookup behind IdName) are built only while
    // this is set; the console, which logs Answer, Command, Status and Address, turns it off.
    bool DetailTexts = true;
    bool ListenTargetOnly = false;
    std::uint8_t* TxFrame = nullptr;  // kFrameBufferSize bytes
    std::uint8_t* RxFrame = nullptr;  // kFrameBufferSize bytes
    std::uint16_t TxLength = 0;
    bool ProgramEnable = false;
    std::uint8_t Status97 = 0;        // bit 6 relay opened (1997), bit 3 relay opened (2007)
    std::uint8_t GridStatus = 0;
    std::uint8_t WeekRestStatus = 0;
    std::uint8_t BoxOpenCount = 0;    // binary, at most 50
    std::uint8_t RelayStatus = 0;     // bit 0 relay open
    std::uint8_t RelayStatus2 = 0;
    std::uint8_t TripState = 0;
    std::uint8_t TripPending = 0;
    // TotalEnergy and FixedRateStep stand together (GetEnergyBlock).
    std::uint8_t EnergyBlock[8] = {};
    std::uint8_t (&TotalEnergy)[4] = *reinterpret_cast<std::uint8_t(*)[4]>(EnergyBlock);
    std::uint8_t (&FixedRateStep)[4] = *reinterpret_cast<std::uint8_t(*)[4]>(EnergyBlock + 4);
    std::uint8_t LongFrameData[256] = {};
    std::uint8_t Registers97[60][4] = {};
    // Named ranges of Registers97 (the other registers are only ever read, as zeros).
    std::uint8_t (&TariffEnergy)[5][4] = *reinterpret_cast<std::uint8_t(*)[5][4]>(Registers97 + 0);
    std::uint8_t (&FreezeWork)[4][4] = *reinterpret_cast<std::uint8_t(*)[4][4]>(Registers97 + 30);
    std::uint8_t (&PhaseEnergy)[3][4] = *reinterpret_cast<std::uint8_t(*)[3][4]>(Registers97 + 54);
    std::uint8_t Voltage[3][2] = {};
    std::uint8_t Current[4][2] = {};
    std::uint8_t ApparentPower[4][3] = {};
    std::uint8_t PowerFactor[4][2] = {};
    std::uint8_t PhaseAngle[3][2] = {};
    std::uint8_t ActivePower[4][3] = {};
    std::uint8_t TimeRecordsA[9][5] = {};
    std::uint8_t TimeRecordsAPos = 0;
    std::uint8_t TimeRecordsB[9][5] = {};
    std::uint8_t TimeRecordsBPos = 0;
    std::uint8_t MaxDemand97[6][5][3] = {};
    std::uint8_t MaxDemandTime97[6][5][4] = {};
    std::uint8_t RecordsE1Pos = 0;
    std::uint8_t RecordsE1[9][23] = {};
    std::uint8_t RecordsE7Pos = 0;
    std::uint8_t RecordsE7[9][27] = {};
    std::uint8_t PhaseLossCounts[3] = {};
    std::uint8_t RecordsEBCount = 0;
    std::uint8_t RecordsEB[9][5][20] = {};
    std::uint8_t RegistersB2[50] = {};
    std::uint8_t HourEnergy[2][24][4] = {};
    std::uint8_t HourTableSelector = 1;
    std::uint8_t BoxOpenRecords[50][8] = {};
    std::uint8_t BoxOpenRecordNo = 0;
    std::uint16_t BoxOpenMinutes = 0;
    std::uint8_t CurrentTariff = 0;
    bool BoxIsOpen = false;
    std::uint32_t ApparentPowerBin[4] = {};
    std::uint32_t ActivePowerBin[4] = {};
    std::uint16_t PowerFactorBin[3] = {};
    std::uint16_t PowerFactorTotalBin = 0;
    std::uint16_t VoltageBin[3] = {};
    std::uint16_t CurrentBin[3] = {};
    std::uint16_t EnergyIncrement[4] = {};
    std::uint32_t EnergyAccumulator[4] = {};
    bool EnergyPulse = false;
    std::string AddrText;
    bool RequestFlag = false;
    std::uint8_t MeterKind = mkCarrierMeter;
    TAddressCheckEvent OnCheckAddress;
    std::uint8_t PhaseByte = 0;
    bool AppendPhase = false;
    bool FePreamble = false;
    bool DataIdLoadFailed = false;
    // Why DIData.mdb gave no identifier names, for the operation log ("" when it opened).
    std::string DataIdError;
    std::uint8_t EventRepMode = 0;
    std::uint8_t Protocol = mpDlt645_1997;
    // Copy 0 of the 2007 store by kind; copy c lies c x sizeof(TEnergy07Copy) further.
    std::uint8_t* Energy07Index[11] = {};        // 64 registers of kind k
    std::uint8_t* PhaseEnergy07Index[3][10] = {};// phase p, kind k
    std::uint8_t* ExtEnergy07Index[4][7] = {};   // column 0 total, 1..3 A..C; kind k
    TMeterNotifyEvent OnNotify;
    std::vector<_StIdRdHlj97> DataIdList;
    bool FollowUpActive = false;
    std::uint8_t FollowUpSeq = 0;
    std::uint8_t FollowUpLast = 0;
    std::uint8_t FollowUpId[4] = {};
    std::string DataIdName;
    std::uint8_t Password[3] = {};
    std::uint8_t MeterConst[3] = {};
    std::uint8_t MeterAddr[6] = {};
    std::uint8_t TargetAddr[6] = {};

private:
    void BindDataPointers();
    void InitialiseClock(const TMeterTime& now);
    bool CheckFrame(int length);
    void DetectProtocol();
    void ListenBranch();
    void ListenTexts97();
    void ListenTexts07();
    bool IsBroadcastAddress() const;

    TTimeSource TimeSource;
    // Used until the console lends its own buffers, so that a meter on its own never writes
    // through a null pointer.
    std::uint8_t OwnTxBuffer[kFrameBufferSize] = {};
    std::uint8_t OwnRxBuffer[kFrameBufferSize] = {};
    std::uint8_t OwnLongFrameIds[2][2] = {};
};

#include "console/CommandSequencer.h"
#include "console/ComposerModel.h"
#include "console/EditKeyFilter.h"
#include "console/FFrmOrd.h"

#include "DialogsTestApp.h"
#include "meter/FMeter.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/IniFiles.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QKeyEvent>

#include <gtest/gtest.h>

#include <fstream>

namespace {

std::vector<std::uint8_t> Bytes(const TComposerModel& m)
{
    return {m.Payload, m.Payload + m.PayloadLength};
}

struct Recorder : IComposerNotifier {
    std::vector<std::string> Messages;
    void Notify(const std::string& message) override { Messages.push_back(message); }
};

// The main window as the sequencer sees it: records every command, timer start and caption.
struct FakeLink : ICommandLink {
    struct Sent {
        std::vector<std::uint8_t> Target;
        std::uint8_t Control;
        std::vector<std::uint8_t> Payload;
    };
    std::vector<Sent> Commands;
    std::vector<std::string> Messages;
    int TimerStarts = 0;
    bool TimerRunning = false;
    bool ComposerShown = false;
    bool ButtonEnabled = true;
    std::string Caption;
    bool Continuous = false;

    bool PortClosed = false;
    bool SendCommand(const std::uint8_t target[6], std::uint8_t control, std::uint8_t length,
                     const std::uint8_t* payload) override
    {
        if (PortClosed)
            return false;
        Commands.push_back({{target, target + 6}, control, {payload, payload + length}});
        return true;
    }
    void StartNextMeterTimer() override { ++TimerStarts; TimerRunning = true; }
    void ShowComposer() override { ComposerShown = true; }
    void SetSendCaption(const std::string& caption) override { Caption = caption; }
    void EnableSendButton(bool enabled) override { ButtonEnabled = enabled; }
    bool ContinuousChecked() const override { return Continuous; }
    void Notify(const std::string& message) override { Messages.push_back(message); }
};

TComposerModel ThreePairs()
{
    TComposerModel m;
    m.Rows = {{"000000000001", "是", ""}, {"000000000002", "是", "000000000012"},
              {"000000000003", "是", ""}};
    m.ControlText = "01";
    return m;
}

} // namespace

TEST(ComposerPayload, TheThreeKindsOfDataField)
{
    struct Case {
        TPayloadKind kind;
        const char* identifier;
        const char* innerData;
        const char* custom;
        std::vector<std::uint8_t> payload;
    };
    const Case cases[] = {
        {TPayloadKind::Identifier, "90 10", "", "", {0x43, 0xC3}},
        {TPayloadKind::Identifier, "00 01 00 00", "", "", {0x33, 0x33, 0x34, 0x33}},
        {TPayloadKind::Identifier, "01 02 03", "", "", {0x36, 0x35, 0x34}},
        {TPayloadKind::EmbeddedFrame, "", "90 10", "",
         {0x68, 0x02, 0, 0, 0, 0, 0, 0x68, 0x01, 0x02, 0x43, 0xC3, 0xDB, 0x16}},
        {TPayloadKind::Custom, "", "", "68 10 1f", {0x68, 0x10, 0x1F}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.identifier + std::string("/") + c.innerData + "/" + c.custom);
        TComposerModel m;
        m.Rows = {{"000000000001", "是", "000000000002"}};
        m.Kind = c.kind;
        m.IdentifierText = c.identifier;
        m.InnerDataText = c.innerData;
        m.CustomDataText = c.custom;
        m.ControlText = "01";
        ASSERT_TRUE(m.Confirm());
        EXPECT_EQ(m.ControlCode, 0x01);
        EXPECT_EQ(Bytes(m), c.payload);
        EXPECT_TRUE(m.NewConfirmation);
    }
}

TEST(ComposerPayload, EmbeddedFrameFollowsEachPairAndTheEdits)
{
    TComposerModel m = ThreePairs();
    m.Kind = TPayloadKind::EmbeddedFrame;
    ASSERT_TRUE(m.Confirm());
    ASSERT_EQ(m.PairCount, 3);
    EXPECT_EQ(m.Targets, (std::vector<std::string>{"000000000001", "000000000001", "000000000002",
                                                   "000000000012", "000000000003", "000000000003"}));
    ASSERT_TRUE(m.BuildFrameFor(1));
    EXPECT_EQ(m.Payload[1], 0x12);
    m.ControlText = "11";
    m.InnerControlText = "1F";
    ASSERT_TRUE(m.BuildFrameFor(2));
    EXPECT_EQ(m.ControlCode, 0x11);
    EXPECT_EQ(m.Payload[1], 0x03);
    EXPECT_EQ(m.Payload[8], 0x1F);

    // A short read address from a list file: the missing high bytes are zeros, not stale ones.
    m.Targets[1] = "345";
    ASSERT_TRUE(m.BuildFrameFor(0));
    EXPECT_EQ(std::vector<std::uint8_t>(m.Payload + 1, m.Payload + 7),
              (std::vector<std::uint8_t>{0x45, 0x03, 0, 0, 0, 0}));
    std::uint8_t target[6];
    m.Targets[0] = "7";
    ASSERT_TRUE(m.TargetAddress(0, target));
    EXPECT_EQ(std::vector<std::uint8_t>(target, target + 6),
              (std::vector<std::uint8_t>{0x07, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(m.BuildFrameFor(3));
}

TEST(ComposerPayload, PairsSkipUnselectedAndEmptyRows)
{
    TComposerModel m;
    m.Rows = {{"000000000001", "否", ""}, {"", "是", "000000000009"}, {"000000000003", "是", ""}, {}};
    ASSERT_TRUE(m.Confirm());
    EXPECT_EQ(m.PairCount, 1);
    EXPECT_EQ(m.Targets, (std::vector<std::string>{"000000000003", "000000000003"}));

    TComposerModel none;
    none.Rows = {{"000000000001", "否", ""}};
    ASSERT_TRUE(none.Confirm());
    EXPECT_TRUE(none.Confirmed);
    EXPECT_EQ(none.PairCount, 0);
    EXPECT_FALSE(none.NewConfirmation);

    m.Cancel();
    EXPECT_FALSE(m.Confirmed);
    EXPECT_EQ(m.PairCount, 0);
}

TEST(ComposerPayload, TextsThatDoNotFitAreRefused)
{
    auto bytesText = [](int n) {
        std::string text;
        for (int i = 0; i < n; ++i)
            text += i ? " 11" : "11";
        return text;
    };
    struct Case {
        TPayloadKind kind;
        int bytes;
        bool fits;
    };
    const Case cases[] = {
        {TPayloadKind::Custom, 255, true},       {TPayloadKind::Custom, 256, false},
        {TPayloadKind::Identifier, 255, true},   {TPayloadKind::Identifier, 300, false},
        {TPayloadKind::EmbeddedFrame, 243, true}, {TPayloadKind::EmbeddedFrame, 244, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        Recorder recorder;
        TComposerModel m(&recorder);
        m.Rows = {{"000000000001", "是", ""}};
        m.Kind = c.kind;
        m.CustomDataText = m.IdentifierText = m.InnerDataText = bytesText(c.bytes);
        EXPECT_EQ(m.Confirm(), c.fits);
        EXPECT_EQ(m.Confirmed, c.fits);
        EXPECT_EQ(recorder.Messages.size(), c.fits ? 0u : 1u);
        if (c.fits) {
            EXPECT_EQ(m.PayloadLength, c.kind == TPayloadKind::EmbeddedFrame ? 255 : c.bytes);
        }
    }

    EventRepFrame record;
    record.Len = 3;
    std::string error;
    EXPECT_TRUE(SetEventRepFromText("68 11", record, error));
    EXPECT_EQ(record.Len, 2);
    EXPECT_EQ(record.Data[1], 0x11);
    EXPECT_FALSE(SetEventRepFromText(bytesText(256), record, error));
    EXPECT_EQ(record.Len, 2);
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(SetEventRepFromText(bytesText(255), record, error));
    EXPECT_EQ(record.Len, 255);
}

TEST(ComposerList, ListTextIsTrimmedPaddedAndChecked)
{
    Recorder recorder;
    TComposerModel m(&recorder);
    m.Rows = {{"000000000009", "是", ""}};
    ASSERT_TRUE(m.LoadListText("  000000000001 \r\n\r\n123\n00000000000A\n"));
    ASSERT_EQ(m.Rows.size(), 3u);
    EXPECT_EQ(m.Rows[1].Address, "000000000123");
    EXPECT_EQ(m.Rows[1].Selected, "是");
    EXPECT_EQ(m.Rows[1].ReadAddress, "");

    EXPECT_FALSE(m.LoadListText("000000000001\n\n12 34\n"));
    ASSERT_EQ(recorder.Messages.size(), 1u);
    EXPECT_NE(recorder.Messages[0].find("第3行"), std::string::npos);
    EXPECT_EQ(m.Rows.size(), 3u);
    EXPECT_FALSE(m.LoadListText("1234567890123\n"));

    ASSERT_TRUE(m.LoadListText(""));
    EXPECT_TRUE(m.Rows.empty());
}

TEST(ComposerList, RowEditing)
{
    TComposerModel m;
    m.Rows = {{"000000000001", "是", "x"}, {}};  // as after loading one row from the settings
    m.AddRow("000000000002", true);
    ASSERT_EQ(m.Rows.size(), 3u);
    EXPECT_EQ(m.Rows[1].Address, "000000000002");
    EXPECT_TRUE(m.Rows[2].Address.empty());
    m.AddRow("", true);
    EXPECT_EQ(m.Rows.size(), 3u);

    m.SelectedRow = 0;
    m.SetReadAddress("000000000099", "000000000001");
    EXPECT_EQ(m.Rows[0].ReadAddress, "000000000099");
    m.SetReadAddress("000000000098", "");
    EXPECT_EQ(m.Rows[0].ReadAddress, "000000000099");
    m.ToggleRow(0);
    EXPECT_EQ(m.Rows[0].Selected, "否");
    m.ToggleRow(2);
    EXPECT_EQ(m.Rows[2].Selected, "");
    m.SelectAll(true);
    EXPECT_EQ(m.Rows[0].Selected, "是");
    m.EditRow("000000000005");
    EXPECT_EQ(m.Rows[0].Address, "000000000005");
    EXPECT_EQ(m.Rows[0].ReadAddress, "");

    TComposerModel one;
    one.Rows = {{"000000000001", "是", ""}};
    one.SelectedRow = 0;
    one.DeleteRow();
    EXPECT_TRUE(one.Rows.empty());
    one.AddRow("000000000007", true);
    ASSERT_EQ(one.Rows.size(), 1u);
    EXPECT_EQ(one.Rows[0].Address, "000000000007");
}

// --- the sending sequence --------------------------------------------------------------------

TEST(ComposerSequence, ClicksBeforeAnythingIsComposed)
{
    TComposerModel m;
    FakeLink link;
    TCommandSequencer seq(m, link);
    seq.SendButtonClick();
    EXPECT_TRUE(link.ComposerShown);
    EXPECT_TRUE(m.WindowOpen);
    EXPECT_EQ(link.Caption, "准备发送");
    seq.SendButtonClick();
    EXPECT_EQ(link.Messages, (std::vector<std::string>{"命令帧未组好"}));
    m.Confirm();  // no rows
    seq.SendButtonClick();
    EXPECT_EQ(link.Messages.back(), "没有选择目的表");
    EXPECT_TRUE(link.Commands.empty());
}

TEST(ComposerSequence, OnePairPerClickWithoutContinuous)
{
    TComposerModel m = ThreePairs();
    m.WindowOpen = true;
    ASSERT_TRUE(m.Confirm());
    FakeLink link;
    TCommandSequencer seq(m, link);
    for (int i = 0; i < 3; ++i) {
        seq.SendButtonClick();
        EXPECT_FALSE(link.ButtonEnabled);
        seq.AnswerHandled();
        EXPECT_TRUE(link.ButtonEnabled);
    }
    EXPECT_EQ(link.TimerStarts, 0);
    ASSERT_EQ(link.Commands.size(), 3u);
    EXPECT_EQ(link.Commands[2].Target, (std::vector<std::uint8_t>{3, 0, 0, 0, 0, 0}));
    EXPECT_EQ(link.Commands[0].Control, 0x01);
    EXPECT_EQ(link.Commands[0].Payload, (std::vector<std::uint8_t>{0x43, 0xC3}));
    EXPECT_FALSE(m.NewConfirmation);

    seq.SendButtonClick();
    EXPECT_EQ(link.Messages, (std::vector<std::string>{"所选电表都已抄读"}));
    EXPECT_EQ(link.Commands.size(), 3u);
    seq.SendButtonClick();  // and round again from the first pair
    ASSERT_EQ(link.Commands.size(), 4u);
    EXPECT_EQ(link.Commands[3].Target[0], 1);
}

TEST(ComposerSequence, ContinuousSendingStopsAtTheEndOfTheList)
{
    TComposerModel m = ThreePairs();
    m.WindowOpen = true;
    m.Kind = TPayloadKind::EmbeddedFrame;
    ASSERT_TRUE(m.Confirm());
    FakeLink link;
    link.Continuous = true;
    TCommandSequencer seq(m, link);

    seq.SendButtonClick();
    EXPECT_TRUE(seq.ContinuousSending);
    EXPECT_EQ(link.Caption, "取消发送");
    for (int answer = 0; answer < 3; ++answer) {
        seq.AnswerHandled();
        EXPECT_EQ(link.TimerStarts, answer + 1);
        seq.NextMeterTimer();
    }
    ASSERT_EQ(link.Commands.size(), 3u);
    EXPECT_EQ(link.Commands[1].Payload[1], 0x12);  // pair 1 reads 000000000012
    EXPECT_EQ(link.Messages, (std::vector<std::string>{"所选电表都已抄读"}));
    EXPECT_FALSE(seq.ContinuousSending);
    EXPECT_EQ(link.Caption, "准备发送");

    // Nothing more goes out by itself; the next click starts at the first pair.
    seq.NextMeterTimer();
    EXPECT_EQ(link.Commands.size(), 3u);
    seq.SendButtonClick();
    ASSERT_EQ(link.Commands.size(), 4u);
    EXPECT_EQ(link.Commands[3].Target[0], 1);
}

TEST(ComposerSequence, ButtonStopsContinuousAndForcedCancelRestarts)
{
    TComposerModel m = ThreePairs();
    m.WindowOpen = true;
    ASSERT_TRUE(m.Confirm());
    FakeLink link;
    link.Continuous = true;
    TCommandSequencer seq(m, link);
    seq.SendButtonClick();
    seq.SendButtonClick();  // "取消发送"
    EXPECT_FALSE(seq.ContinuousSending);
    EXPECT_EQ(seq.NextTarget, 0);
    EXPECT_EQ(link.Caption, "准备发送");
    seq.NextMeterTimer();  // a timer still pending sends nothing
    EXPECT_EQ(link.Commands.size(), 1u);

    link.Continuous = false;
    seq.SendButtonClick();
    seq.SendButtonClick();  // no answer came: the button stays disabled
    EXPECT_FALSE(link.ButtonEnabled);
    seq.ForceCancel();
    EXPECT_TRUE(link.ButtonEnabled);
    EXPECT_EQ(seq.NextTarget, 0);
}

TEST(ComposerSequence, StrayBurstsAndRefusals)
{
    TComposerModel m = ThreePairs();
    m.WindowOpen = true;
    ASSERT_TRUE(m.Confirm());
    FakeLink link;
    TCommandSequencer seq(m, link);
    seq.StrayBurst();  // nothing sent yet
    seq.RefusedRequest();
    EXPECT_EQ(link.TimerStarts, 0);

    seq.SendButtonClick();  // one pair, not continuous
    seq.StrayBurst();
    EXPECT_EQ(link.TimerStarts, 0);

    link.Continuous = true;
    seq.SendButtonClick();
    seq.StrayBurst();  // no answer, but continuous sending moves on
    EXPECT_EQ(link.TimerStarts, 1);
    seq.NextMeterTimer();
    EXPECT_EQ(link.Commands.size(), 3u);

    // The composer cancelled under a running list: sending stops instead of reading stale rows.
    seq.NextTarget = 1;
    m.Cancel();
    seq.NextMeterTimer();
    EXPECT_FALSE(seq.ContinuousSending);
    EXPECT_EQ(link.Commands.size(), 3u);
}

// --- the window ---------------------------------------------------------------------------

TEST(ComposerWindow, GridEditingAndSettingsRoundTrip)
{
    EnsureDialogsApp();
    const std::string ini = FreshIniPath("composer.ini");
    {
        TFrmSend form(nullptr, ini);
        EXPECT_EQ(form.windowTitle(), QStringLiteral("命令发送"));
        EXPECT_EQ(form.StringGrid1->rowCount(), 1);  // one empty row
        form.EditBh->setText("1");
        form.EditBhEnter();
        EXPECT_EQ(form.EditBh->text(), QStringLiteral("000000000001"));
        form.EditBh->setText("000000000002");
        form.BitBtnMeterAddClick();
        form.EditBh->setText("000000000003");
        form.BitBtnMeterAddClick();
        ASSERT_EQ(form.StringGrid1->rowCount(), 4);
        EXPECT_EQ(form.StringGrid1->item(1, 0)->text(), QStringLiteral("000000000002"));
        EXPECT_EQ(form.StringGrid1->item(1, 1)->text(), QStringLiteral("是"));

        form.StringGrid1->setCurrentCell(1, 0);
        form.EditBh1->setText("12");
        form.EditBh1Enter();
        EXPECT_EQ(form.StringGrid1->item(1, 2)->text(), QStringLiteral("000000000012"));
        form.StringGrid1DblClick();
        EXPECT_EQ(form.StringGrid1->item(1, 1)->text(), QStringLiteral("否"));
        form.N1Click();
        EXPECT_EQ(form.StringGrid1->item(1, 1)->text(), QStringLiteral("是"));
        form.N2Click();
        EXPECT_EQ(form.StringGrid1->item(0, 1)->text(), QStringLiteral("否"));
        form.N1Click();
        form.show();
        form.close();
        EXPECT_FALSE(form.WindowOpen);
    }
    rtl::TIniFile file(ini);
    EXPECT_EQ(file.ReadInteger("命令帧信息", "电表数量", -1), 3);
    EXPECT_EQ(file.ReadString("命令帧信息", "通信表号3", ""), "000000000003");
    EXPECT_EQ(file.ReadString("命令帧信息", "抄读表号2", "?"), "000000000012");
    EXPECT_EQ(file.ReadString("命令帧信息", "抄读表号1", "?"), "");

    TFrmSend again(nullptr, ini);
    ASSERT_EQ(again.StringGrid1->rowCount(), 4);
    EXPECT_EQ(again.StringGrid1->item(1, 2)->text(), QStringLiteral("000000000012"));
    again.StringGrid1->setCurrentCell(1, 0);
    again.BitBtnMeterDelClick();
    ASSERT_EQ(again.StringGrid1->rowCount(), 3);
    EXPECT_EQ(again.StringGrid1->item(1, 0)->text(), QStringLiteral("000000000003"));
    again.EditBh->setText("000000000008");
    again.BitBtnMeterEditClick();
    EXPECT_EQ(again.StringGrid1->item(1, 0)->text(), QStringLiteral("000000000008"));
}

TEST(ComposerWindow, ListFileConfirmAndKinds)
{
    EnsureDialogsApp();
    TFrmSend form;
    std::vector<std::string> messages;
    form.OnMessage = [&](const std::string& m) { messages.push_back(m); };

    const std::string list = FreshIniPath("meters.txt");
    std::ofstream(list, std::ios::binary) << "000000000011\r\n22\r\n\r\n";
    form.OpenListFile(list);
    ASSERT_EQ(form.StringGrid1->rowCount(), 2);
    EXPECT_EQ(form.StringGrid1->item(1, 0)->text(), QStringLiteral("000000000022"));
    std::ofstream(list, std::ios::binary) << rtl::Utf8ToGbk("000000000011\r\n表号\r\n");
    form.OpenListFile(list);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(form.StringGrid1->rowCount(), 2);

    EXPECT_TRUE(form.EditBiaozhi->isEnabled());
    EXPECT_FALSE(form.EditData1->isEnabled());
    form.RadioButton2Click();
    EXPECT_FALSE(form.EditBiaozhi->isEnabled());
    EXPECT_TRUE(form.EditBh1->isEnabled());
    EXPECT_TRUE(form.EditData1->isEnabled());
    form.RadioButton1Click();
    form.Ck07Click();
    EXPECT_EQ(form.EditBiaozhi->text(), QStringLiteral("00 01 00 00"));
    EXPECT_EQ(form.IdentifierText, "00 01 00 00");

    form.Edit6->setText("11");
    form.BitBtn2Click();
    EXPECT_TRUE(form.Confirmed);
    EXPECT_EQ(form.PairCount, 2);
    EXPECT_EQ(form.ControlCode, 0x11);
    EXPECT_FALSE(form.BitBtn2->isEnabled());
    EXPECT_FALSE(form.RadioButton3->isEnabled());
    form.BitBtn3Click();
    EXPECT_TRUE(form.BitBtn2->isEnabled());
    EXPECT_FALSE(form.Confirmed);
}

TEST(ComposerWindow, HexEditsTypePairsAndTakeBackspaceAndPaste)
{
    EnsureDialogsApp();
    TFrmSend form;
    form.show();
    form.RadioButton3Click();
    form.EditData2->clear();
    form.EditData2->setFocus();
    TypeKeys(form.EditData2, "681g1");
    EXPECT_EQ(form.EditData2->text(), QStringLiteral("68 11"));
    PressKey(form.EditData2, Qt::Key_Backspace, QStringLiteral("\b"));
    PressKey(form.EditData2, Qt::Key_Backspace, QStringLiteral("\b"));
    EXPECT_EQ(form.EditData2->text(), QStringLiteral("68 "));
    PressKey(form.EditData2, Qt::Key_Backspace, QStringLiteral("\b"));
    EXPECT_EQ(form.EditData2->text(), QStringLiteral("68"));
    auto* filter = form.EditData2->findChild<TEditKeyFilter*>();
    ASSERT_NE(filter, nullptr);
    filter->Paste(QStringLiteral("1 6, zz"));
    EXPECT_EQ(form.EditData2->text(), QStringLiteral("68 16"));
    EXPECT_EQ(form.CustomDataText, "68 16");

    form.EditBh->clear();
    TypeKeys(form.EditBh, "12a3");
    EXPECT_EQ(form.EditBh->text(), QStringLiteral("123"));
}

// A count in the settings is trusted only as far as the grid holds rows: a huge one starts at
// once with the rows the grid takes; a negative one with none.
TEST(ComposerSettings, AbsurdMeterCountsAreBounded)
{
    EnsureDialogsApp();
    const std::string ini = FreshIniPath("composer-count.ini");
    struct Case { const char* Count; int Rows; };
    for (const Case c : {Case{"2147483647", TComposerModel::kMaxRows}, Case{"-5", 0}, Case{"x", 0}, Case{"2", 2}}) {
        SCOPED_TRACE(c.Count);
        std::ofstream(ini, std::ios::binary) << rtl::Utf8ToGbk(std::string("[命令帧信息]\r\n电表数量=") + c.Count
                                                              + "\r\n通信表号2=000000000007\r\n");
        TFrmSend form(nullptr, ini);
        EXPECT_EQ(form.StringGrid1->rowCount(), c.Rows + 1);  // and the empty row
        EXPECT_EQ(static_cast<int>(form.Rows.size()), c.Rows + 1);
        if (c.Rows >= 2) {
            EXPECT_EQ(form.Rows[0].Address, "1");
            EXPECT_EQ(form.Rows[1].Address, "000000000007");
        }
    }
}

// The delay dialog's logic, run against the fake rows and against the vertical grid alike, and
// the main window's side of it (CheckDelayClick).
#include "DelayDialogRows.h"
#include "console/FDlgDelayTime.h"

#include <QCheckBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include <vector>

namespace {

using delay_test::FakeDelayRows;
using Delays = std::array<int, DelayCount>;

Delays With(std::initializer_list<std::pair<int, int>> set)
{
    Delays d{};
    for (auto [i, v] : set)
        d[static_cast<std::size_t>(i)] = v;
    return d;
}

// Successive draws: 7, 5004, 10002, 3, 4, 5, ...; the dialog keeps them modulo 5001.
struct CountingRandom {
    std::vector<std::uint32_t> Drawn;
    TDelayRandom Generator()
    {
        return [this] {
            const std::uint32_t n = Drawn.size() == 0 ? 7 : Drawn.size() == 1 ? 5004 : Drawn.size() == 2 ? 10002
                                                                                                          : static_cast<std::uint32_t>(Drawn.size());
            Drawn.push_back(n);
            return n;
        };
    }
};

template <class View>
class DelayDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        delay_test::EnsureApplication();
        auto view = std::make_unique<View>();
        Rows = view.get();
        Dialog = std::make_unique<TDlgDelay>(nullptr, std::move(view), Random.Generator());
    }
    CountingRandom Random;
    View* Rows = nullptr;
    std::unique_ptr<TDlgDelay> Dialog;
};

using Views = ::testing::Types<FakeDelayRows, TGridDelayRowsView>;
TYPED_TEST_SUITE(DelayDialog, Views);

TYPED_TEST(DelayDialog, OpensCompact)
{
    EXPECT_EQ(this->Rows->Caption(0), "响应延迟");
    EXPECT_EQ(this->Rows->Caption(1), "字节间延迟");
    EXPECT_EQ(this->Rows->Caption(2), "第2字节后延迟");
    EXPECT_EQ(this->Rows->Caption(48), "第48字节后延迟");
    EXPECT_EQ(this->Rows->Caption(49), "其他字节间延迟");
    for (int row = 0; row < DelayCount; ++row)
        EXPECT_EQ(this->Rows->IsRowVisible(row), row < 2) << row;
    EXPECT_EQ(this->Dialog->size(), QSize(181, 134));
    EXPECT_EQ(this->Dialog->windowTitle(), QStringLiteral("延时设置"));
    EXPECT_FALSE(this->Dialog->Detailed);
    EXPECT_FALSE(this->Dialog->RandomDelays);
    EXPECT_EQ(this->Dialog->Delays, Delays{});
}

TYPED_TEST(DelayDialog, DetailedSwitchShowsAndHidesTheByteRows)
{
    this->Dialog->CheckBox1->click();
    EXPECT_TRUE(this->Dialog->Detailed);
    EXPECT_EQ(this->Rows->Caption(1), "第1字节后延迟");
    for (int row = 0; row < DelayCount; ++row)
        EXPECT_TRUE(this->Rows->IsRowVisible(row)) << row;
    EXPECT_EQ(this->Dialog->height(), 400);

    this->Dialog->CheckBox1->click();
    EXPECT_FALSE(this->Dialog->Detailed);
    EXPECT_EQ(this->Rows->Caption(1), "字节间延迟");
    EXPECT_FALSE(this->Rows->IsRowVisible(2));
    EXPECT_FALSE(this->Rows->IsRowVisible(49));
    EXPECT_EQ(this->Dialog->height(), 134);
}

TYPED_TEST(DelayDialog, CompactConfirmReadsOnlyTheFirstTwoRows)
{
    this->Rows->SetValue(0, 100);
    this->Rows->SetValue(1, 20);
    this->Rows->SetValue(5, 77);  // hidden, so not in force
    this->Dialog->Button1->click();
    EXPECT_EQ(this->Dialog->result(), QDialog::Accepted);
    EXPECT_EQ(this->Dialog->Delays, With({{0, 100}, {1, 20}}));
}

TYPED_TEST(DelayDialog, DetailedConfirmReadsEveryRow)
{
    this->Dialog->CheckBox1->click();
    this->Rows->SetValue(3, 50);
    this->Rows->SetValue(49, 5000);
    this->Rows->SetValue(48, 9999);  // beyond the editor's range
    this->Dialog->Button1->click();
    const int clamped = std::is_same_v<TypeParam, FakeDelayRows> ? 9999 : 5000;
    EXPECT_EQ(this->Dialog->Delays, With({{3, 50}, {48, clamped}, {49, 5000}}));
}

TYPED_TEST(DelayDialog, RandomDelaysAreSuccessiveDrawsAndLeaveTheRowsAlone)
{
    this->Rows->SetValue(0, 11);
    this->Dialog->CheckBox2->click();
    EXPECT_TRUE(this->Dialog->RandomDelays);
    this->Dialog->Button1->click();
    EXPECT_EQ(this->Dialog->Delays, With({{0, 7}, {1, 3}}));
    EXPECT_EQ(this->Random.Drawn.size(), 2u);
    EXPECT_EQ(this->Rows->GetValue(0), 11);
}

TYPED_TEST(DelayDialog, RandomDelaysInTheDetailedModeFillAllFifty)
{
    this->Dialog->CheckBox1->click();
    this->Dialog->CheckBox2->click();
    this->Dialog->Button1->click();
    ASSERT_EQ(this->Random.Drawn.size(), 50u);
    for (int i = 0; i < DelayCount; ++i)
        EXPECT_EQ(this->Dialog->Delays[static_cast<std::size_t>(i)], static_cast<int>(this->Random.Drawn[static_cast<std::size_t>(i)] % 5001)) << i;
    EXPECT_EQ(this->Dialog->Delays[2], 0);  // 10002 = 2 x 5001
}

TYPED_TEST(DelayDialog, CancelKeepsTheResultEmpty)
{
    this->Rows->SetValue(0, 100);
    this->Dialog->Button2->click();
    EXPECT_EQ(this->Dialog->result(), QDialog::Rejected);
    EXPECT_EQ(this->Dialog->Delays, Delays{});
}

// CheckDelayClick with the fake rows; `act` plays the operator and returns the dialog's result.
class CheckDelay : public ::testing::Test {
protected:
    void SetUp() override { delay_test::EnsureApplication(); }

    bool Click(bool checked, const std::function<int(TDlgDelay&, FakeDelayRows&)>& act)
    {
        TDelayDialogHooks hooks;
        hooks.Create = [this](QWidget* parent) {
            ++Created;
            return std::make_unique<TDlgDelay>(parent, std::make_unique<FakeDelayRows>());
        };
        hooks.Run = [&act](TDlgDelay& d) { return act(d, static_cast<FakeDelayRows&>(*d.Rows)); };
        return CheckDelayClick(checked, Settings, nullptr, hooks);
    }

    static int Confirm(TDlgDelay& d)
    {
        d.Button1->click();
        return d.result();
    }

    TDelaySettings Settings;
    int Created = 0;
};

TEST_F(CheckDelay, CompactConfirm)
{
    const bool box = Click(true, [](TDlgDelay& d, FakeDelayRows& rows) {
        rows.SetValue(0, 100);
        rows.SetValue(1, 20);
        return Confirm(d);
    });
    EXPECT_TRUE(box);
    EXPECT_TRUE(Settings.DelayOn);
    EXPECT_FALSE(Settings.PerByteDelays);
    EXPECT_EQ(Settings.Delays, With({{0, 100}, {1, 20}}));
}

TEST_F(CheckDelay, DetailedConfirmWithOneByteDelay)
{
    const bool box = Click(true, [](TDlgDelay& d, FakeDelayRows& rows) {
        d.CheckBox1->click();
        rows.SetValue(3, 50);
        return Confirm(d);
    });
    EXPECT_TRUE(box);
    EXPECT_TRUE(Settings.DelayOn);
    EXPECT_TRUE(Settings.PerByteDelays);
    EXPECT_EQ(Settings.Delays, With({{3, 50}}));
}

TEST_F(CheckDelay, ReopeningShowsTheStoredValuesCompactAndConfirmingZeroesTheByteRows)
{
    Settings.Delays = With({{0, 10}, {3, 50}, {49, 7}});
    Settings.PerByteDelays = true;
    const bool box = Click(true, [](TDlgDelay& d, FakeDelayRows& rows) {
        EXPECT_EQ(rows.Values, With({{0, 10}, {3, 50}, {49, 7}}));
        EXPECT_FALSE(d.Detailed);
        EXPECT_FALSE(d.RandomDelays);
        EXPECT_FALSE(rows.IsRowVisible(3));
        return Confirm(d);
    });
    EXPECT_TRUE(box);
    EXPECT_FALSE(Settings.PerByteDelays);
    EXPECT_EQ(Settings.Delays, With({{0, 10}}));
}

TEST_F(CheckDelay, RandomCompactConfirmWithAnInjectedGenerator)
{
    TDelayDialogHooks hooks;
    std::uint32_t next = 5000;
    hooks.Create = [&next](QWidget* parent) {
        return std::make_unique<TDlgDelay>(parent, std::make_unique<FakeDelayRows>(), [&next] { return next++; });
    };
    hooks.Run = [](TDlgDelay& d) {
        d.CheckBox2->click();
        return Confirm(d);
    };
    EXPECT_TRUE(CheckDelayClick(true, Settings, nullptr, hooks));
    EXPECT_EQ(Settings.Delays, With({{0, 5000}, {1, 0}}));
    EXPECT_TRUE(Settings.DelayOn);
}

TEST_F(CheckDelay, AllZeroTurnsTheDelaysOff)
{
    Settings.DelayOn = true;
    Settings.Delays = With({{1, 30}});
    EXPECT_FALSE(Click(true, [](TDlgDelay& d, FakeDelayRows& rows) {
        rows.SetValue(1, 0);
        return Confirm(d);
    }));
    EXPECT_FALSE(Settings.DelayOn);
    EXPECT_EQ(Settings.Delays, Delays{});
}

TEST_F(CheckDelay, CancelTurnsTheDelaysOffAndKeepsThem)
{
    Settings.DelayOn = true;
    Settings.Delays = With({{0, 100}});
    EXPECT_FALSE(Click(true, [](TDlgDelay& d, FakeDelayRows& rows) {
        rows.SetValue(0, 300);
        d.Button2->click();
        return d.result();
    }));
    EXPECT_FALSE(Settings.DelayOn);
    EXPECT_EQ(Settings.Delays, With({{0, 100}}));
}

TEST_F(CheckDelay, UncheckingOpensNoDialog)
{
    Settings.DelayOn = true;
    Settings.Delays = With({{0, 100}});
    EXPECT_FALSE(Click(false, [](TDlgDelay& d, FakeDelayRows&) { return Confirm(d); }));
    EXPECT_EQ(Created, 0);
    EXPECT_FALSE(Settings.DelayOn);
    EXPECT_EQ(Settings.Delays, With({{0, 100}}));
}

TEST(DelayList, WaitsBeforeEachReplyByte)
{
    TDelaySettings compact;
    compact.Delays = With({{0, 200}, {1, 100}, {2, 9}});
    EXPECT_EQ(ReplyByteDelays(compact, 4), (std::vector<int>{200, 100, 100, 100}));

    TDelaySettings detailed;
    detailed.PerByteDelays = true;
    for (int i = 0; i < DelayCount; ++i)
        detailed.Delays[static_cast<std::size_t>(i)] = 1000 + i;
    const std::vector<int> waits = ReplyByteDelays(detailed, 60);
    EXPECT_EQ(waits[0], 1000);
    EXPECT_EQ(waits[1], 1001);
    EXPECT_EQ(waits[48], 1048);
    EXPECT_EQ(waits[49], 1049);
    EXPECT_EQ(waits[59], 1049);
    EXPECT_TRUE(ReplyByteDelays(detailed, 0).empty());
}

}  // namespace

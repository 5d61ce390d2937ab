#include "console/FDlgTstRoute.h"
#include "console/SheetReaderProcess.h"

#include "DialogsTestApp.h"
#include "meter/FFunct.h"

#include <QComboBox>
#include <QFileDialog>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>

namespace {

std::string Fixture(const char* name)
{
    return std::string(AMMERLIN_FIXTURES_DIR) + "/" + name;
}

struct Addr {
    std::uint8_t b[6];
};

Addr A(const std::string& text12)
{
    Addr a{};
    HexToBytes(text12, a.b, 6);
    return a;
}

std::vector<std::uint8_t> Path(std::initializer_list<const char*> addresses)
{
    std::vector<std::uint8_t> path;
    for (const char* text : addresses) {
        const Addr a = A(text);
        path.insert(path.end(), a.b, a.b + 6);
    }
    return path;
}

TRouteTest TableOf(std::initializer_list<std::array<const char*, 3>> rows)
{
    TRouteTest routes;
    for (const auto& cells : rows) {
        _StRouteMeter row;
        if (TRouteTest::MakeRow(cells[0], cells[1], cells[2], row))
            routes.RouteTable.push_back(row);
    }
    routes.BuildIndex();
    return routes;
}

int Check(const TRouteTest& routes, const std::vector<std::uint8_t>& path, std::uint8_t phase,
          bool cross, std::uint8_t* phaseByte = nullptr)
{
    std::uint8_t byte = 0xEE;
    const int result = routes.CheckRoute(path.data(), static_cast<int>(path.size() / 6), phase,
                                         cross, byte);
    if (phaseByte)
        *phaseByte = byte;
    return result;
}

} // namespace

TEST(RouteRows, CellsAreReadAsTheSheetDescribes)
{
    struct Case {
        const char* address;
        const char* parent;
        const char* phase;
        bool kept;
        const char* addressText;
        const char* parentText;
        const char* phaseText;
        int phaseValue;
    };
    const Case cases[] = {
        {"010000000000", "", "A", true, "010000000000", "NULL", "A", 1},
        {"020000000000", "010000000000", "b", true, "020000000000", "010000000000", "b", 2},
        {"12345", "", "", true, "000000012345", "NULL", "自动", 3},
        {"12346", "", "x", true, "000000012346", "NULL", "自动", 1},
        {"1234567890ABCDEF", "", "x", true, "1234567890AB", "NULL", "自动", 3},
        {"000000000005", "7", " c ", true, "000000000005", "000000000007", "c", 3},
        {"0", "", "A", false, "", "", "", 0},
        {"", "", "", false, "", "", "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.address);
        _StRouteMeter row;
        ASSERT_EQ(TRouteTest::MakeRow(c.address, c.parent, c.phase, row), c.kept);
        if (!c.kept)
            continue;
        EXPECT_EQ(row.AddressText, c.addressText);
        EXPECT_EQ(row.ParentText, c.parentText);
        EXPECT_EQ(row.PhaseText, c.phaseText);
        EXPECT_EQ(row.Phase, c.phaseValue);
    }
    _StRouteMeter row;
    ASSERT_TRUE(TRouteTest::MakeRow("0102030405AB", "", "A", row));
    const std::uint8_t expected[6] = {0x01, 0x02, 0x03, 0x04, 0x05, 0xAB};
    EXPECT_EQ(std::memcmp(row.Address, expected, 6), 0);
    const std::uint8_t top[6] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(std::memcmp(row.ParentAddress, top, 6), 0);
}

TEST(RouteSheet, BasicSheetIsReadInOrder)
{
    TRouteTest routes;
    routes.ReadSheet(Fixture("route-basic.xls"));
    ASSERT_EQ(routes.RouteTable.size(), 5u);
    const char* expected[][3] = {
        {"010000000000", "NULL", "A"},
        {"020000000000", "010000000000", "b"},
        {"000000012345", "NULL", "自动"},
        {"030000000000", "020000000000", "C"},
        {"1234567890AB", "NULL", "自动"},
    };
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(routes.RouteTable[i].AddressText, expected[i][0]);
        EXPECT_EQ(routes.RouteTable[i].ParentText, expected[i][1]);
        EXPECT_EQ(routes.RouteTable[i].PhaseText, expected[i][2]);
    }
    EXPECT_EQ(routes.RouteTable[2].Phase, 3);
    EXPECT_FALSE(routes.IndexReady);
}

TEST(RouteSheet, KeepsAtMost2049Rows)
{
    TRouteTest routes;
    routes.ReadSheet(Fixture("route-2100.xls"));
    ASSERT_EQ(routes.RouteTable.size(), 2049u);
    EXPECT_EQ(routes.RouteTable.front().AddressText, "000000000001");
    EXPECT_EQ(routes.RouteTable.back().AddressText, "000000002049");
    EXPECT_EQ(routes.RouteTable.back().ParentText, "000000002048");

    // A long chain through the index: 5 -> 4 -> ... -> 1.
    ASSERT_TRUE(routes.BuildIndex());
    const auto path = Path({"000000000001", "000000000002", "000000000003", "000000000004",
                            "000000000005"});
    EXPECT_EQ(Check(routes, path, routes.RouteTable[4].Phase, false), kRouteGood);
}

TEST(RouteSheet, UnreadableSheetsRaiseAndKeepTheTable)
{
    const std::string notSheet = FreshIniPath("not-a-sheet.xls");
    std::ofstream(notSheet) << "电表地址,上一级电表地址,相位\n010000000000,,A\n";
    const std::string missing = FreshIniPath("missing.xls");

    for (const std::string& file : {Fixture("route-nosheet1.xls"), Fixture("route-nocolumn.xls"),
                                    notSheet, missing}) {
        SCOPED_TRACE(file);
        TRouteTest routes;
        routes.ReadSheet(Fixture("route-basic.xls"));
        try {
            routes.ReadSheet(file);
            ADD_FAILURE() << "no error raised";
        } catch (const ERouteSheetError& error) {
            EXPECT_FALSE(std::string(error.what()).empty());
        }
        EXPECT_EQ(routes.RouteTable.size(), 5u);
    }
    TRouteTest routes;
    try {
        routes.ReadSheet(Fixture("route-nocolumn.xls"));
    } catch (const ERouteSheetError& error) {
        EXPECT_NE(std::string(error.what()).find("上一级电表地址"), std::string::npos);
    }
}

// A crafted file whose directory entry claims a name far longer than the entry makes FreeXL read
// out of bounds: the reader runs in a child process, and the console only sees a refusal.
TEST(RouteSheet, CraftedFileIsRefusedAndTheTableKept)
{
    EnsureDialogsApp();
    TRouteTest routes;
    TDlgTstRoute dialog(nullptr, &routes);
    std::vector<std::string> errors;
    dialog.OnError = [&](const std::string& message) { errors.push_back(message); };
    dialog.OpenSheet(Fixture("route-basic.xls"));
    ASSERT_EQ(routes.RouteTable.size(), 5u);

    dialog.OpenSheet(Fixture("route-crafted.xls"));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind("无法作为Excel文件(*.xls)打开", 0), 0u) << errors[0];
    EXPECT_EQ(routes.RouteTable.size(), 5u);
    EXPECT_EQ(dialog.LVMeterInfo->topLevelItemCount(), 5);
}

// Whatever the reader does wrong (crashes, hangs, writes garbage, stops part-way), the result is a
// failure and the console goes on.
TEST(RouteSheet, AFailingReaderGivesFailure)
{
    const std::filesystem::path folder = std::filesystem::path(FreshIniPath("reader")).parent_path();
    struct Case { const char* Name; const char* Script; };
    const Case cases[] = {
        {"crash", "echo 'reader failed' >&2\nkill -SEGV $$\n"},
        {"hang", "printf 'ARS1'\nexec sleep 30\n"},
        {"garbage", "printf 'hello world'\n"},
        {"cut short", "printf 'ARS1R\\003\\000\\000\\000ab'\n"},
        {"bad status", "printf 'ARS1X\\077\\000\\000\\000\\000'\n"},
        {"exit code", "printf 'ARS1E'\nexit 3\n"},
        {"missing program", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::filesystem::path script = folder / (std::string("reader-") + std::to_string(&c - cases));
        if (c.Script) {
            std::ofstream(script) << "#!/bin/sh\n" << c.Script;
            std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        }
        const auto result = RunSheetReader(Fixture("route-basic.xls"), std::chrono::milliseconds(300), script.string());
        EXPECT_EQ(result.Status, routewire::TStatus::Failed);
        EXPECT_TRUE(result.Rows.empty());
    }
    // The real reader on a sound sheet, for comparison.
    const auto good = RunSheetReader(Fixture("route-basic.xls"));
    EXPECT_EQ(good.Status, routewire::TStatus::Ok);
    EXPECT_EQ(good.Rows.size(), 6u);
}

// The file dialog shows the filter once, as written, and lists .xls files with it.
TEST(RouteDialog, FileFilterReadsOnce)
{
    EnsureDialogsApp();
    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    files.setNameFilter(QString::fromUtf8(TDlgTstRoute::SheetFilter));
    const auto* types = files.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    ASSERT_EQ(types->count(), 1);
    EXPECT_EQ(types->itemText(0).toStdString(), "所有Microsoft Office Excel文件(*.xls)");
}

TEST(RouteCheck, PathAndPhaseAgainstTheTable)
{
    const auto routes = TableOf({{"010000000000", "", "A"}, {"020000000000", "010000000000", "b"}});
    const auto path = Path({"010000000000", "020000000000"});
    std::uint8_t phaseByte = 0;
    EXPECT_EQ(Check(routes, path, 2, false, &phaseByte), kRouteGood);
    EXPECT_EQ(phaseByte, 2);
    EXPECT_EQ(Check(routes, path, 1, false, &phaseByte), kRoutePhaseDiffers);
    EXPECT_EQ(phaseByte, 1);
    EXPECT_EQ(Check(routes, path, 1, true, &phaseByte), kRouteGood);
    EXPECT_EQ(phaseByte, 2);

    // Directly reached: only a meter at the top of the tree agrees.
    EXPECT_EQ(Check(routes, Path({"020000000000"}), 2, false), kRouteWrong);
    EXPECT_EQ(Check(routes, Path({"010000000000"}), 1, false), kRouteGood);
    // Wrong order, unknown relay, unknown destination, no addresses.
    EXPECT_EQ(Check(routes, Path({"020000000000", "010000000000"}), 1, false), kRouteWrong);
    EXPECT_EQ(Check(routes, Path({"090000000000", "020000000000"}), 2, false), kRouteWrong);
    EXPECT_EQ(Check(routes, Path({"010000000000", "090000000000"}), 2, false), kRouteWrong);
    std::uint8_t byte = 0;
    EXPECT_EQ(routes.CheckRoute(nullptr, 0, 1, false, byte), kRouteWrong);

    const auto flat = TableOf({{"010000000000", "", "A"}, {"020000000000", "", "b"}});
    EXPECT_EQ(Check(flat, path, 2, false), kRouteWrong);
    EXPECT_EQ(Check(flat, Path({"020000000000"}), 2, false), kRouteGood);
    EXPECT_EQ(Check(flat, Path({"020000000000"}), 3, false), kRoutePhaseDiffers);

    const auto automatic = TableOf({{"12345", "", ""}});
    EXPECT_EQ(Check(automatic, Path({"000000012345"}), 3, false), kRouteGood);
}

TEST(RouteCheck, BucketCollisionsAndIndexState)
{
    // Find addresses that share a bucket.
    std::map<int, std::vector<std::string>> byBucket;
    std::vector<std::string> colliding;
    for (int i = 1; colliding.empty() && i < 100000; ++i) {
        char text[13];
        std::snprintf(text, sizeof text, "%012d", i);
        const Addr a = A(text);
        auto& list = byBucket[TRouteTest::BucketOf(a.b)];
        list.push_back(text);
        if (list.size() == 3)
            colliding = list;
    }
    ASSERT_EQ(colliding.size(), 3u);

    TRouteTest routes;
    for (int i = 0; i < 2; ++i) {
        _StRouteMeter row;
        TRouteTest::MakeRow(colliding[static_cast<std::size_t>(i)], "", "A", row);
        routes.RouteTable.push_back(row);
    }
    ASSERT_TRUE(routes.BuildIndex());
    const int bucket = TRouteTest::BucketOf(A(colliding[0]).b);
    EXPECT_EQ(routes.RouteIndex[static_cast<std::size_t>(bucket)].Count, 2);
    EXPECT_EQ(routes.Find(A(colliding[0]).b), 0);
    EXPECT_EQ(routes.Find(A(colliding[1]).b), 1);
    EXPECT_EQ(routes.Find(A(colliding[2]).b), -1);
    EXPECT_EQ(Check(routes, Path({colliding[1].c_str()}), 1, false), kRouteGood);
    EXPECT_EQ(Check(routes, Path({colliding[2].c_str()}), 1, false), kRouteWrong);

    routes.ClearIndex();
    EXPECT_FALSE(routes.IndexReady);
    EXPECT_EQ(routes.Find(A(colliding[0]).b), -1);
    EXPECT_EQ(routes.RouteTable.size(), 2u);

    TRouteTest empty;
    EXPECT_FALSE(empty.BuildIndex());
    EXPECT_FALSE(empty.IndexReady);
}

TEST(RouteDialog, OpenConfirmCancelAndClose)
{
    EnsureDialogsApp();
    TRouteTest routes;
    TDlgTstRoute dialog(nullptr, &routes);
    std::vector<std::string> errors;
    dialog.OnError = [&](const std::string& message) { errors.push_back(message); };
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("路由测试表单"));

    dialog.BitBtn2Click();  // empty table: nothing
    EXPECT_FALSE(dialog.IndexReady());
    EXPECT_TRUE(dialog.BtnOpen->isEnabled());

    dialog.OpenSheet(Fixture("route-basic.xls"));
    EXPECT_EQ(dialog.SheetFileName, Fixture("route-basic.xls"));
    ASSERT_EQ(dialog.LVMeterInfo->topLevelItemCount(), 5);
    EXPECT_EQ(dialog.LVMeterInfo->topLevelItem(2)->text(0), QStringLiteral("000000012345"));
    EXPECT_EQ(dialog.LVMeterInfo->topLevelItem(2)->text(2), QStringLiteral("自动"));

    dialog.OpenSheet(Fixture("route-nosheet1.xls"));
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_EQ(dialog.LVMeterInfo->topLevelItemCount(), 5);

    dialog.BitBtn2Click();
    EXPECT_TRUE(routes.IndexReady);
    EXPECT_FALSE(dialog.BtnOpen->isEnabled());

    dialog.show();
    dialog.close();
    EXPECT_FALSE(routes.IndexReady);
    EXPECT_FALSE(dialog.BtnOpen->isEnabled());  // closing keeps the button's state

    dialog.BitBtn2Click();
    EXPECT_TRUE(routes.IndexReady);
    dialog.BitBtn3Click();
    EXPECT_FALSE(routes.IndexReady);
    EXPECT_TRUE(dialog.BtnOpen->isEnabled());
    EXPECT_EQ(routes.RouteTable.size(), 5u);
}

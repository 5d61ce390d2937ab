#pragma once
// The routing test: the meter tree read from a route sheet (worksheet Sheet1 of an .xls file with
// the columns "电表地址", "上一级电表地址" and "相位"), its hash index, and the check of a relay
// frame's path and phase against it. `TRouteTest` is the headless part that the receive path
// asks; `TDlgTstRoute` is the dialog "路由测试表单" over it.
#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

class QPushButton;
class QTreeWidget;

// One row of the route table.
struct _StRouteMeter {
    std::string AddressText;                // 12 characters
    std::uint8_t Address[6] = {};           // byte order of a relay frame
    std::string ParentText;                 // 12 characters, or "NULL" at the top of the tree
    std::uint8_t ParentAddress[6] = {};     // FF x 6 at the top of the tree
    std::string PhaseText;                  // as written in the sheet, or "自动"
    std::uint8_t Phase = 0;                 // 1 (A), 2 (B) or 3 (C)
};

struct RouteBucket {
    std::uint16_t Count = 0;
    std::vector<std::uint16_t> Rows;  // row numbers of the route table, in table order
};

// A sheet that cannot be read: not an .xls file, no worksheet Sheet1, a missing column.
class ERouteSheetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Results of CheckRoute.
enum : int { kRouteGood = 1, kRoutePhaseDiffers = 2, kRouteWrong = 3 };

class TRouteTest {
public:
    static constexpr int kMaxRows = 2049;
    static constexpr int kBucketCount = 2048;

    // Reads the three cells of one sheet row into a table row; false when the row is skipped
    // (address "0", or all three cells empty).
    static bool MakeRow(const std::string& addressCell, const std::string& parentCell,
                        const std::string& phaseCell, _StRouteMeter& row);

    // Replaces the table with the rows of the sheet (at most kMaxRows kept). The sheet is read by
    // a child process (SheetReaderProcess.h); a file, worksheet, column or cell that cannot be
    // read, or a reader that fails, raises ERouteSheetError and the table stays as it was. The
    // index is left as it is.
    void ReadSheet(const std::string& fileName);

    // "确认": builds the index from the table; false (nothing changes) when the table is empty.
    bool BuildIndex();
    // "取消" and closing: paths are no longer checked; the table stays.
    void ClearIndex();

    // Row number of the address in the index, -1 when it is not there.
    int Find(const std::uint8_t address[6]) const;

    // `path` holds `count` addresses of 6 bytes in relay-frame order (destination last).
    // Returns kRouteGood, kRoutePhaseDiffers or kRouteWrong, and sets `meterPhaseByte` to the
    // phase the meter answers on: the destination's table phase when `crossPhase` ("支持跨相")
    // is on and the destination is known, the frame's phase byte otherwise.
    int CheckRoute(const std::uint8_t* path, int count, std::uint8_t framePhase, bool crossPhase,
                   std::uint8_t& meterPhaseByte) const;

    static int BucketOf(const std::uint8_t address[6]);

    std::vector<_StRouteMeter> RouteTable;
    std::array<RouteBucket, kBucketCount> RouteIndex;
    bool IndexReady = false;
};

class TDlgTstRoute : public QDialog {
    Q_OBJECT
public:
    // Works on `routes` when given (the table the receive path checks), else on a table of its own.
    explicit TDlgTstRoute(QWidget* parent = nullptr, TRouteTest* routes = nullptr);
    ~TDlgTstRoute() override;

    // The file filter of "打开文件": its caption ends with the pattern, which the file dialog reads.
    static constexpr const char* SheetFilter = "所有Microsoft Office Excel文件(*.xls)";

    TRouteTest& Routes() { return *routes_; }
    bool IndexReady() const { return routes_->IndexReady; }

    // Reads a sheet into the table and the list (what "打开文件" does once a file is picked).
    // Errors go to OnError.
    void OpenSheet(const std::string& fileName);

    void BtnOpenClick();
    void BitBtn2Click();
    void BitBtn3Click();
    void FormClose();

    std::string SheetFileName;
    // Errors of reading a sheet; a message box by default.
    std::function<void(const std::string&)> OnError;

    QTreeWidget* LVMeterInfo = nullptr;
    QPushButton* BtnOpen = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn3 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;

private:
    void ShowTable();

    std::unique_ptr<TRouteTest> ownRoutes_;
    TRouteTest* routes_;
};

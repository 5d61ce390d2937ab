#include "console/FDlgTstRoute.h"

#include "console/MessageBox.h"

#include "console/SheetReaderProcess.h"

#include "meter/FFunct.h"
#include "platform/rtl/SysUtils.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>


#include <algorithm>
#include <charconv>
#include <cstring>

namespace {

const char* const kAddressColumn = "电表地址";
const char* const kParentColumn = "上一级电表地址";
const char* const kPhaseColumn = "相位";

void AddressBytes(const std::string& text12, std::uint8_t out[6])
{
    std::memset(out, 0, 6);
    HexToBytes(text12, out, 6);
}

// The phase of a row whose phase cell names none: the address as a decimal number modulo 3, with
// 0 taken as 3 (a text that is not a decimal number counts as 0).
std::uint8_t AutomaticPhase(const std::string& addressText)
{
    unsigned long long value = 0;
    const char* begin = addressText.data();
    const char* end = begin + addressText.size();
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end)
        value = 0;
    const auto phase = static_cast<std::uint8_t>(value % 3);
    return phase == 0 ? 3 : phase;
}

} // namespace

bool TRouteTest::MakeRow(const std::string& addressCell, const std::string& parentCell,
                         const std::string& phaseCell, _StRouteMeter& row)
{
    const std::string address = rtl::Trim(addressCell);
    const std::string parent = rtl::Trim(parentCell);
    const std::string phase = rtl::Trim(phaseCell);
    if (address == "0" || (address.empty() && parent.empty() && phase.empty()))
        return false;

    row = _StRouteMeter{};
    row.AddressText = PadLeftZeros(address, 12);
    AddressBytes(row.AddressText, row.Address);
    if (parent.empty()) {
        row.ParentText = "NULL";
        std::memset(row.ParentAddress, 0xFF, 6);
    } else {
        row.ParentText = PadLeftZeros(parent, 12);
        AddressBytes(row.ParentText, row.ParentAddress);
    }
    if (phase == "A" || phase == "a")
        row.Phase = 1;
    else if (phase == "B" || phase == "b")
        row.Phase = 2;
    else if (phase == "C" || phase == "c")
        row.Phase = 3;
    if (row.Phase != 0) {
        row.PhaseText = phase;
    } else {
        row.Phase = AutomaticPhase(row.AddressText);
        row.PhaseText = "自动";
    }
    return true;
}

void TRouteTest::ReadSheet(const std::string& fileName)
{
    using routewire::TStatus;
    const routewire::TSheetResult sheet = RunSheetReader(fileName);
    switch (sheet.Status) {
    case TStatus::Ok:
        break;
    case TStatus::NoSheet1:
        throw ERouteSheetError("Excel文件中没有工作表Sheet1: " + fileName);
    case TStatus::NoDimensions:
        throw ERouteSheetError("工作表Sheet1无法读取: " + fileName);
    case TStatus::NoAddressColumn:
        throw ERouteSheetError(std::string("工作表Sheet1中没有列\"") + kAddressColumn + "\"");
    case TStatus::NoParentColumn:
        throw ERouteSheetError(std::string("工作表Sheet1中没有列\"") + kParentColumn + "\"");
    case TStatus::NoPhaseColumn:
        throw ERouteSheetError(std::string("工作表Sheet1中没有列\"") + kPhaseColumn + "\"");
    case TStatus::BadCell:
        throw ERouteSheetError("路由测试表读取失败: 第" + std::to_string(sheet.Row) + "行");
    default:
        // Not an .xls file, or one that made the reader fail: the same words for both.
        throw ERouteSheetError("无法作为Excel文件(*.xls)打开: " + fileName);
    }
    std::vector<_StRouteMeter> table;
    for (const routewire::TCells& cells : sheet.Rows) {
        if (static_cast<int>(table.size()) >= kMaxRows)
            break;
        _StRouteMeter row;
        if (MakeRow(cells[0], cells[1], cells[2], row))
            table.push_back(std::move(row));
    }
    RouteTable = std::move(table);
}

int TRouteTest::BucketOf(const std::uint8_t address[6])
{
    return Crc16X25(address, 6) & 0x7FF;
}

bool TRouteTest::BuildIndex()
{
    if (RouteTable.empty())
        return false;
    IndexReady = true;
    for (auto& bucket : RouteIndex)
        bucket = RouteBucket{};
    for (std::size_t i = 0; i < RouteTable.size(); ++i) {
        auto& bucket = RouteIndex[static_cast<std::size_t>(BucketOf(RouteTable[i].Address))];
        ++bucket.Count;
        bucket.Rows.push_back(static_cast<std::uint16_t>(i));
    }
    return true;
}

void TRouteTest::ClearIndex()
{
    IndexReady = false;
    for (auto& bucket : RouteIndex)
        bucket = RouteBucket{};
}

int TRouteTest::Find(const std::uint8_t address[6]) const
{
    const auto& bucket = RouteIndex[static_cast<std::size_t>(BucketOf(address))];
    for (const std::uint16_t row : bucket.Rows) {
        if (row < RouteTable.size() && std::memcmp(RouteTable[row].Address, address, 6) == 0)
            return row;
    }
    return -1;
}

int TRouteTest::CheckRoute(const std::uint8_t* path, int count, std::uint8_t framePhase,
                           bool crossPhase, std::uint8_t& meterPhaseByte) const
{
    meterPhaseByte = framePhase;
    if (!path || count < 1)
        return kRouteWrong;

    static const std::uint8_t kTop[6] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    const std::uint8_t* destination = path + 6 * (count - 1);
    const int destinationRow = Find(destination);
    if (destinationRow < 0)
        return kRouteWrong;

    bool pathGood = true;
    if (count == 1) {
        pathGood = RouteTable[static_cast<std::size_t>(destinationRow)].ParentText == "NULL";
    } else {
        const std::uint8_t* current = destination;
        for (int k = count; k > 0; --k) {
            const std::uint8_t* expectedParent = k == 1 ? kTop : path + 6 * (k - 2);
            const int row = Find(current);
            if (row < 0 || std::memcmp(RouteTable[static_cast<std::size_t>(row)].ParentAddress,
                                       expectedParent, 6) != 0) {
                pathGood = false;
                break;
            }
            current = expectedParent;
        }
    }

    const std::uint8_t tablePhase = RouteTable[static_cast<std::size_t>(destinationRow)].Phase;
    bool phaseGood;
    if (crossPhase) {
        meterPhaseByte = tablePhase;
        phaseGood = true;
    } else {
        phaseGood = framePhase == tablePhase;
    }
    if (!pathGood)
        return kRouteWrong;
    return phaseGood ? kRouteGood : kRoutePhaseDiffers;
}

// ---------------------------------------------------------------------------------------------

TDlgTstRoute::TDlgTstRoute(QWidget* parent, TRouteTest* routes)
    : QDialog(parent)
{
    if (!routes) {
        ownRoutes_ = std::make_unique<TRouteTest>();
        routes = ownRoutes_.get();
    }
    routes_ = routes;

    setWindowTitle(QStringLiteral("路由测试表单"));
    LVMeterInfo = new QTreeWidget(this);
    LVMeterInfo->setObjectName(QStringLiteral("LVMeterInfo"));
    LVMeterInfo->setRootIsDecorated(false);
    LVMeterInfo->setSelectionBehavior(QAbstractItemView::SelectRows);
    LVMeterInfo->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LVMeterInfo->setHeaderLabels({QStringLiteral("电表地址"), QStringLiteral("上一级电表地址"),
                                  QStringLiteral("相位")});
    // Columns as wide as a 12-digit address (or their caption) and the phase texts.
    const QFontMetrics metrics(LVMeterInfo->font());
    const QFontMetrics header(LVMeterInfo->header()->font());
    const auto column = [&](const char* widest, int index) {
        const QString caption = LVMeterInfo->headerItem()->text(index);
        return std::max(metrics.horizontalAdvance(QString::fromUtf8(widest)), header.horizontalAdvance(caption)) + 16;
    };
    int total = 0;
    const char* widest[3] = {"DDDDDDDDDDDD", "DDDDDDDDDDDD", "自动"};
    for (int c = 0; c < 3; ++c) {
        LVMeterInfo->setColumnWidth(c, column(widest[c], c));
        total += LVMeterInfo->columnWidth(c);
    }

    BtnOpen = new QPushButton(QStringLiteral("打开文件"), this);
    BitBtn2 = new QPushButton(QStringLiteral("确认"), this);
    BitBtn3 = new QPushButton(QStringLiteral("取消"), this);
    for (auto* button : {BtnOpen, BitBtn2, BitBtn3})
        button->setAutoDefault(false);
    connect(BtnOpen, &QPushButton::clicked, this, [this] { BtnOpenClick(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BtnOpen);
    buttons->addStretch();
    buttons->addWidget(BitBtn2);
    buttons->addWidget(BitBtn3);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LVMeterInfo);
    layout->addLayout(buttons);
    // Room for the columns, the list's frame, its vertical scroll bar (a long list has one) and
    // the layout's margins, so that no horizontal scroll bar is needed.
    const QMargins margins = layout->contentsMargins();
    resize(std::max(280, total + 2 * LVMeterInfo->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                             margins.left() + margins.right() + 4),
           400);

    OnError = [this](const std::string& message) {
        ShowMessageBox(this, TMessageKind::Error, windowTitle().toStdString(), message);
    };
    ShowTable();
}

TDlgTstRoute::~TDlgTstRoute() = default;

void TDlgTstRoute::OpenSheet(const std::string& fileName)
{
    SheetFileName = fileName;
    try {
        routes_->ReadSheet(fileName);
    } catch (const ERouteSheetError& error) {
        ShowTable();
        if (OnError)
            OnError(error.what());
        return;
    }
    ShowTable();
}

void TDlgTstRoute::BtnOpenClick()
{
    const QString file = GetOpenFileName(this, QString::fromUtf8(SheetFilter));
    if (file.isEmpty())
        return;
    OpenSheet(file.toStdString());
}

void TDlgTstRoute::BitBtn2Click()
{
    if (!routes_->BuildIndex())
        return;
    BtnOpen->setEnabled(false);
}

void TDlgTstRoute::BitBtn3Click()
{
    routes_->ClearIndex();
    BtnOpen->setEnabled(true);
}

void TDlgTstRoute::FormClose()
{
    routes_->ClearIndex();
}

void TDlgTstRoute::closeEvent(QCloseEvent* event)
{
    FormClose();
    QDialog::closeEvent(event);
}

void TDlgTstRoute::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TDlgTstRoute::ShowTable()
{
    LVMeterInfo->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(routes_->RouteTable.size()));
    for (const auto& row : routes_->RouteTable) {
        items.append(new QTreeWidgetItem({QString::fromStdString(row.AddressText),
                                          QString::fromStdString(row.ParentText),
                                          QString::fromStdString(row.PhaseText)}));
    }
    LVMeterInfo->addTopLevelItems(items);
}

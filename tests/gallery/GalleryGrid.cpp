// Editors as vertical-grid cells: every kind in every state, the open editor over its cell
// (enlarged, to compare where and how the text is drawn), and the grid's layouts.
#include "GallerySheet.h"
#include "GalleryStage.h"

#include "platform/vcl/Peer.h"
#include "toolkit/editors/cxSpinEdit.h"
#include "toolkit/editors/cxTextEdit.h"
#include "toolkit/grid/cxVGrid.h"
#include "toolkit/grid/cxVGridController.h"
#include "toolkit/grid/cxVGridViewInfo.h"
#include "toolkit/grid/cxVirtualVGrid.h"

#include <QTest>

#include <memory>
#include <vector>

namespace gallery {

using namespace cx;

namespace {

using FormPtr = std::unique_ptr<TForm, void (*)(TForm*)>;
FormPtr Form(int w, int h, TColor color = clBtnFace) { return FormPtr(NewForm(w, h, color), [](TForm* f) { f->Free(); }); }

TcxEditorRow* AddRow(TcxCustomVerticalGrid* grid, const Kind& kind, bool chinese)
{
    auto* row = grid->Add<TcxEditorRow>();
    row->Properties()->SetCaption(chinese ? "电表 " + kind.name : kind.name);
    row->Properties()->DataBinding()->SetValueType(kind.valueType);
    row->Properties()->SetEditPropertiesClass(kind.properties);
    if (kind.setup)
        kind.setup(row->Properties()->EditProperties());
    if (kind.height > 21)
        row->SetHeight(kind.height);
    return row;
}

TRect RowRect(TcxCustomVerticalGrid* grid, TcxCustomRow* row)
{
    TcxCustomRowViewInfo* vi = grid->ViewInfo()->GetRowViewInfo(row);
    return vi ? vi->RowRect : TRect{};
}

// The part of the grid's window a row takes, with a pixel of the lines around it.
QImage RowShot(TcxCustomVerticalGrid* grid, TcxCustomRow* row)
{
    const TRect r = RowRect(grid, row);
    if (cxRectIsEmpty(r))
        return {};
    return Grab(grid, {r.Left, std::max(0, r.Top - 1), r.Right, r.Bottom + 1});
}

void GridKey(TcxCustomVerticalGrid* grid, Qt::Key key)
{
    QTest::keyClick(grid->Peer(), key);
    Settle();
}

// A grid of one row per kind, on its own form; the caller frees the form.
struct KindGrid {
    FormPtr form = Form(420, 900);
    TcxVerticalGrid* grid = nullptr;
    std::vector<TcxEditorRow*> rows;
    explicit KindGrid(bool chinese)
    {
        grid = new TcxVerticalGrid(form.get());
        grid->SetParent(form.get());
        grid->SetBounds(4, 4, 400, 880);
        grid->OptionsView()->SetRowHeaderWidth(170);
        grid->BeginUpdate();
        for (const Kind& kind : Kinds())
            rows.push_back(AddRow(grid, kind, chinese));
        grid->EndUpdate();
        grid->HandleNeeded();
        for (std::size_t i = 0; i < rows.size(); ++i)
            rows[i]->Properties()->SetValue(Kinds()[i].value(chinese));
        grid->LayoutChanged();
        Settle();
    }
};

const QStringList CellStates = {"normal 正常", "focused row 焦点行", "editing 编辑中", "hot 悬停", "disabled 禁用",
                                "read-only 只读"};

void CellRows(bool chinese, Sheet& sheet)
{
    KindGrid g(chinese);
    TcxVerticalGrid* grid = g.grid;
    const std::size_t n = g.rows.size();
    std::vector<std::vector<QImage>> cells(n, std::vector<QImage>(std::size_t(CellStates.size())));
    // Normal: the grid without the focus.
    auto* sink = new TcxTextEdit(g.form.get());
    sink->SetParent(g.form.get());
    sink->SetBounds(405, 880, 12, 12);
    Focus(sink);
    for (std::size_t i = 0; i < n; ++i)
        cells[i][0] = RowShot(grid, g.rows[i]);
    // Focused row, then its editor open (F2), then the pointer over its value.
    grid->SetFocus();
    Settle();
    for (std::size_t i = 0; i < n; ++i) {
        grid->SetFocusedRow(g.rows[i]);
        Settle();
        cells[i][1] = RowShot(grid, g.rows[i]);
        grid->ShowEdit();
        Settle(6);
        cells[i][2] = RowShot(grid, g.rows[i]);
        grid->HideEdit();
        Settle();
    }
    Focus(sink);
    for (std::size_t i = 0; i < n; ++i) {
        const TRect r = RowRect(grid, g.rows[i]);
        Hover(grid, r.Right - 8, (r.Top + r.Bottom) / 2);
        cells[i][3] = RowShot(grid, g.rows[i]);
    }
    Unhover(g.form.get());
    grid->SetEnabled(false);
    Settle();
    for (std::size_t i = 0; i < n; ++i)
        cells[i][4] = RowShot(grid, g.rows[i]);
    grid->SetEnabled(true);
    for (TcxEditorRow* row : g.rows)
        row->Properties()->EditProperties()->SetReadOnly(true);
    Settle();
    for (std::size_t i = 0; i < n; ++i)
        cells[i][5] = RowShot(grid, g.rows[i]);
    for (std::size_t i = 0; i < n; ++i)
        sheet.Row(QString::fromStdString(Kinds()[i].name) + (chinese ? " 中文" : " Latin"), std::move(cells[i]));
}

// The value cell drawn by the grid and the same cell with its editor open, enlarged four times.
void CellAgainstEditor(Sheet& sheet)
{
    KindGrid g(true);
    TcxVerticalGrid* grid = g.grid;
    grid->SetFocus();
    for (std::size_t i = 0; i < g.rows.size(); ++i) {
        TcxCustomRowViewInfo* vi = grid->ViewInfo()->GetRowViewInfo(g.rows[i]);
        if (!vi)
            continue;
        grid->SetFocusedRow(g.rows[i]);
        Settle();
        const TRect r = vi->RowRect;
        const int left = r.Left + grid->OptionsView()->RowHeaderWidth();
        const TRect value{left, r.Top, std::min(left + 150, r.Right), r.Bottom};
        const QImage cell = Grab(grid, value);
        grid->ShowEdit();
        Settle(6);
        const QImage editor = Grab(grid, value);
        grid->HideEdit();
        Settle();
        sheet.Row(QString::fromStdString(Kinds()[i].name), {Zoom(cell, 4), Zoom(editor, 4)});
    }
}

void AddSampleRows(TcxCustomVerticalGrid* grid, bool category)
{
    const char* captions[] = {"地址 Address", "读数 Reading", "费率 Tariff", "状态 State"};
    for (int i = 0; i < 4; ++i) {
        if (category && i == 2)
            grid->Add<TcxCategoryRow>()->Properties()->SetCaption("分类 Category");
        auto* row = grid->Add<TcxEditorRow>();
        row->Properties()->SetCaption(captions[i]);
        row->Properties()->SetEditPropertiesClass(TcxCustomEditPropertiesClass::Of<TcxTextEditProperties>());
    }
}

QImage Layout(TcxvgLayoutStyle style, int interval, int width, int height, bool category)
{
    FormPtr form = Form(width + 20, height + 20);
    auto* grid = new TcxVirtualVerticalGrid(form.get());
    grid->SetParent(form.get());
    grid->SetBounds(4, 4, width, height);
    grid->OptionsView()->SetRowHeaderWidth(110);
    grid->OptionsView()->SetValueWidth(90);
    grid->OptionsView()->SetRecordsInterval(interval);
    AddSampleRows(grid, category);
    grid->DataController()->SetRecordCount(5);
    for (int rec = 0; rec < 5; ++rec)
        for (int item = 0; item < grid->DataController()->GetItemCount(); ++item)
            grid->DataController()->SetValue(rec, item, rtl::Variant("记录" + std::to_string(rec + 1) + " R" + std::to_string(item)));
    grid->SetLayoutStyle(style);
    grid->HandleNeeded();
    grid->LayoutChanged();
    Settle();
    return Shot(grid, 2);
}

QImage UnboundLayout(TcxvgPaintStyle paint, TcxvgUnboundLayoutStyle style, int width, int height)
{
    FormPtr form = Form(width + 20, height + 20);
    auto* grid = new TcxVerticalGrid(form.get());
    grid->SetParent(form.get());
    grid->SetBounds(4, 4, width, height);
    grid->OptionsView()->SetPaintStyle(paint);
    grid->OptionsView()->SetRowHeaderWidth(110);
    AddSampleRows(grid, true);
    grid->SetLayoutStyle(style);
    grid->HandleNeeded();
    for (int i = 0; i < grid->Rows()->GetCount(); ++i)
        if (auto* row = dynamic_cast<TcxEditorRow*>(grid->Rows()->GetRow(i)))
            row->Properties()->SetValue(rtl::Variant("值 value " + std::to_string(i)));
    grid->LayoutChanged();
    Settle();
    return Shot(grid, 2);
}

// The side-by-side grid moved by keys as an operator does: Right to the next record, typed
// letters searching the fruit row (the found record's cell draws the typed part).
QImage MovedByKeys(bool search)
{
    FormPtr form = Form(580, 130);
    auto* grid = new TcxVirtualVerticalGrid(form.get());
    grid->SetParent(form.get());
    grid->SetBounds(4, 4, 560, 110);
    grid->OptionsView()->SetRowHeaderWidth(110);
    grid->OptionsView()->SetValueWidth(100);
    grid->SetLayoutStyle(lsMultiRecordView);
    const char* captions[] = {"地址 Address", "水果 Fruit"};
    std::vector<TcxEditorRow*> rows;
    for (const char* caption : captions) {
        auto* row = grid->Add<TcxEditorRow>();
        row->Properties()->SetCaption(caption);
        row->Properties()->SetEditPropertiesClass(TcxCustomEditPropertiesClass::Of<TcxTextEditProperties>());
        rows.push_back(row);
    }
    const char* fruits[] = {"apple 苹果", "cherry 樱桃", "banana 香蕉", "cranberry 蔓越莓"};
    grid->DataController()->SetRecordCount(4);
    for (int rec = 0; rec < 4; ++rec) {
        grid->DataController()->SetValue(rec, 0, rtl::Variant("地址 " + std::to_string(rec + 1)));
        grid->DataController()->SetValue(rec, 1, rtl::Variant(fruits[rec]));
    }
    grid->OptionsBehavior()->SetIncSearch(search);
    grid->OptionsBehavior()->SetIncSearchItem(rows[1]);
    grid->HandleNeeded();
    grid->LayoutChanged();
    ActivateForm(form.get());
    grid->SetFocus();
    Settle();
    grid->SetFocusedRecordIndex(0);
    grid->GridController()->SetFocusedRowAndCell(rows[search ? 0 : 1], 0);
    if (search) {
        QTest::keyClicks(grid->Peer(), "cr");
        Settle();
    } else {
        GridKey(grid, Qt::Key_Right);
        GridKey(grid, Qt::Key_Right);
    }
    return Shot(grid, 2);
}

// A row of three editors walked with Right: the focus frame stands on the third editor.
QImage MultiEditorMoved()
{
    FormPtr form = Form(420, 90);
    auto* grid = new TcxVerticalGrid(form.get());
    grid->SetParent(form.get());
    grid->SetBounds(4, 4, 400, 70);
    grid->OptionsView()->SetRowHeaderWidth(110);
    auto* above = grid->Add<TcxEditorRow>();
    above->Properties()->SetCaption("电表 Meter");
    auto* multi = grid->Add<TcxMultiEditorRow>();
    const char* captions[] = {"相 A", "相 B", "相 C"};
    for (const char* caption : captions) {
        TcxEditorRowItemProperties* editor = multi->Properties()->Editors()->Add();
        editor->SetCaption(caption);
        editor->SetEditPropertiesClass(TcxCustomEditPropertiesClass::Of<TcxTextEditProperties>());
        editor->SetValue(rtl::Variant(std::string("电压 ") + caption));
    }
    grid->HandleNeeded();
    grid->LayoutChanged();
    ActivateForm(form.get());
    grid->SetFocus();
    Settle();
    grid->GridController()->SetFocusedRowAndCell(multi, 0);
    GridKey(grid, Qt::Key_Right);
    GridKey(grid, Qt::Key_Right);
    return Shot(grid, 2);
}

} // namespace

void GridSheets(Output& out)
{
    {
        Sheet sheet("Editors as vertical-grid cells", CellStates);
        CellRows(true, sheet);
        CellRows(false, sheet);
        out.Save(sheet, "grid-cells.png");
    }
    {
        Sheet sheet("Cell (left) and its open editor (right), 4x", {"cell", "editor open"});
        CellAgainstEditor(sheet);
        out.Save(sheet, "grid-cell-vs-editor.png");
    }
    {
        Sheet sheet("Vertical grid layouts");
        sheet.Wide("single record, dotNet", UnboundLayout(psdotNet, ulsSingleRecordView, 300, 150));
        sheet.Wide("single record, Delphi", UnboundLayout(psDelphi, ulsSingleRecordView, 300, 150));
        sheet.Wide("bands", UnboundLayout(psdotNet, ulsBandsView, 520, 70));
        sheet.Wide("multi-record, interval 0", Layout(lsMultiRecordView, 0, 560, 140, true));
        sheet.Wide("multi-record, interval 6", Layout(lsMultiRecordView, 6, 560, 140, true));
        sheet.Wide("multi-record, interval 6, 4x", Zoom(Layout(lsMultiRecordView, 6, 280, 80, false), 4));
        out.Save(sheet, "grid-layouts.png");
    }
    {
        Sheet sheet("Vertical grid moved by keys");
        sheet.Wide("multi-record, Right, Right", MovedByKeys(false));
        sheet.Wide("multi-record, typed \"cr\"", MovedByKeys(true));
        sheet.Wide("multi-editor row, Right, Right", MultiEditorMoved());
        out.Save(sheet, "grid-keys.png");
    }
}

} // namespace gallery

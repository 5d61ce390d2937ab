// Form streaming of the vertical grid's own values: the options as name and value pairs, only
// those that differ from their defaults (or are assigned), then the layout version.
#include "toolkit/grid/cxVGrid.h"

#include "platform/rtl/Filer.h"

#include <functional>
#include <vector>

namespace cx {

namespace {

using Grid = TcxCustomVerticalGrid;

struct StreamedValue {
    enum Kind { Boolean, Integer, Ident };
    const char* name;
    Kind kind;
    std::function<int(Grid*)> get;
    std::function<void(Grid*, int)> set;
    std::function<bool(Grid*)> stored;
    std::vector<const char*> idents{};
};

StreamedValue BoolValue(const char* name, bool def, std::function<bool(Grid*)> get, std::function<void(Grid*, bool)> set)
{
    return {name, StreamedValue::Boolean, [get](Grid* g) { return int(get(g)); },
            [set](Grid* g, int v) { set(g, v != 0); }, [get, def](Grid* g) { return get(g) != def; }};
}

StreamedValue IntValue(const char* name, int def, std::function<int(Grid*)> get, std::function<void(Grid*, int)> set)
{
    return {name, StreamedValue::Integer, get, set, [get, def](Grid* g) { return get(g) != def; }};
}

StreamedValue IdentValue(const char* name, int def, std::vector<const char*> idents, std::function<int(Grid*)> get,
                         std::function<void(Grid*, int)> set)
{
    return {name, StreamedValue::Ident, get, set, [get, def](Grid* g) { return get(g) != def; }, std::move(idents)};
}

const std::vector<StreamedValue>& Values()
{
    static const std::vector<StreamedValue> values = [] {
        std::vector<StreamedValue> v;
        auto view = [](Grid* g) { return g->OptionsView(); };
        auto behavior = [](Grid* g) { return g->OptionsBehavior(); };
        // Behaviour. AlwaysShowEditor is stored only when assigned: unassigned it follows the
        // paint style.
        v.push_back({"OptionsBehavior.AlwaysShowEditor", StreamedValue::Boolean,
                     [behavior](Grid* g) { return int(behavior(g)->AlwaysShowEditor()); },
                     [behavior](Grid* g, int x) { behavior(g)->SetAlwaysShowEditor(x != 0); },
                     [behavior](Grid* g) { return behavior(g)->IsAlwaysShowEditorAssigned(); }});
        v.push_back(BoolValue("OptionsBehavior.BandSizing", true, [behavior](Grid* g) { return behavior(g)->BandSizing; },
                              [behavior](Grid* g, bool x) { behavior(g)->BandSizing = x; }));
        // Cell hints start off in this toolkit's options.
        v.push_back(BoolValue("OptionsBehavior.CellHints", false, [behavior](Grid* g) { return behavior(g)->CellHints(); },
                              [behavior](Grid* g, bool x) { behavior(g)->SetCellHints(x); }));
        v.push_back(BoolValue("OptionsBehavior.HeaderSizing", true,
                              [behavior](Grid* g) { return behavior(g)->HeaderSizing; },
                              [behavior](Grid* g, bool x) { behavior(g)->HeaderSizing = x; }));
        v.push_back(BoolValue("OptionsBehavior.RowSizing", false, [behavior](Grid* g) { return behavior(g)->RowSizing; },
                              [behavior](Grid* g, bool x) { behavior(g)->RowSizing = x; }));
        v.push_back(BoolValue("OptionsBehavior.RowTracking", true,
                              [behavior](Grid* g) { return behavior(g)->RowTracking; },
                              [behavior](Grid* g, bool x) { behavior(g)->RowTracking = x; }));
        v.push_back(BoolValue("OptionsBehavior.GoToNextCellOnEnter", false,
                              [behavior](Grid* g) { return behavior(g)->GoToNextCellOnEnter(); },
                              [behavior](Grid* g, bool x) { behavior(g)->SetGoToNextCellOnEnter(x); }));
        v.push_back(BoolValue("OptionsBehavior.GoToNextCellOnTab", false,
                              [behavior](Grid* g) { return behavior(g)->GoToNextCellOnTab(); },
                              [behavior](Grid* g, bool x) { behavior(g)->SetGoToNextCellOnTab(x); }));
        v.push_back(BoolValue("OptionsBehavior.ImmediateEditor", true,
                              [behavior](Grid* g) { return behavior(g)->ImmediateEditor(); },
                              [behavior](Grid* g, bool x) { behavior(g)->SetImmediateEditor(x); }));
        // View.
        v.push_back(BoolValue("OptionsView.CellAutoHeight", false, [view](Grid* g) { return view(g)->CellAutoHeight(); },
                              [view](Grid* g, bool x) { view(g)->SetCellAutoHeight(x); }));
        v.push_back(BoolValue("OptionsView.CellEndEllipsis", false,
                              [view](Grid* g) { return view(g)->CellEndEllipsis(); },
                              [view](Grid* g, bool x) { view(g)->SetCellEndEllipsis(x); }));
        v.push_back(IntValue("OptionsView.CellTextMaxLineCount", 0,
                             [view](Grid* g) { return view(g)->CellTextMaxLineCount(); },
                             [view](Grid* g, int x) { view(g)->SetCellTextMaxLineCount(x); }));
        v.push_back(IdentValue("OptionsView.ScrollBars", ssBoth, {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"},
                               [view](Grid* g) { return int(view(g)->ScrollBars()); },
                               [view](Grid* g, int x) { view(g)->SetScrollBars(TScrollStyle(x)); }));
        v.push_back(IdentValue("OptionsView.ShowEditButtons", ecsbNever, {"ecsbAlways", "ecsbFocused", "ecsbNever"},
                               [view](Grid* g) { return int(view(g)->ShowEditButtons()); },
                               [view](Grid* g, int x) { view(g)->SetShowEditButtons(TcxEditingControlEditShowButtons(x)); }));
        v.push_back(BoolValue("OptionsView.AutoScaleBands", true, [view](Grid* g) { return view(g)->AutoScaleBands(); },
                              [view](Grid* g, bool x) { view(g)->SetAutoScaleBands(x); }));
        v.push_back(IntValue("OptionsView.BandsInterval", 2, [view](Grid* g) { return view(g)->BandsInterval(); },
                             [view](Grid* g, int x) { view(g)->SetBandsInterval(x); }));
        v.push_back(BoolValue("OptionsView.CategoryExplorerStyle", false,
                              [view](Grid* g) { return view(g)->CategoryExplorerStyle(); },
                              [view](Grid* g, bool x) { view(g)->SetCategoryExplorerStyle(x); }));
        v.push_back(IdentValue("OptionsView.PaintStyle", psdotNet, {"psdotNet", "psDelphi"},
                               [view](Grid* g) { return int(view(g)->PaintStyle()); },
                               [view](Grid* g, int x) { view(g)->SetPaintStyle(TcxvgPaintStyle(x)); }));
        v.push_back({"OptionsView.GridLineColor", StreamedValue::Integer,
                     [view](Grid* g) { return int(view(g)->GridLineColor()); },
                     [view](Grid* g, int x) { view(g)->SetGridLineColor(TColor(x)); },
                     [view](Grid* g) { return view(g)->IsGridLineColorAssigned(); }});
        v.push_back(IntValue("OptionsView.RowHeaderMinWidth", 24, [view](Grid* g) { return view(g)->RowHeaderMinWidth(); },
                             [view](Grid* g, int x) { view(g)->SetRowHeaderMinWidth(x); }));
        v.push_back(IntValue("OptionsView.RowHeaderWidth", 100, [view](Grid* g) { return view(g)->RowHeaderWidth(); },
                             [view](Grid* g, int x) { view(g)->SetRowHeaderWidth(x); }));
        v.push_back(IntValue("OptionsView.RowHeight", -1, [view](Grid* g) { return view(g)->RowHeight(); },
                             [view](Grid* g, int x) { view(g)->SetRowHeight(x); }));
        v.push_back(BoolValue("OptionsView.ShowButtons", true, [view](Grid* g) { return view(g)->ShowButtons(); },
                              [view](Grid* g, bool x) { view(g)->SetShowButtons(x); }));
        v.push_back(BoolValue("OptionsView.ShowEmptyRowImage", false,
                              [view](Grid* g) { return view(g)->ShowEmptyRowImage(); },
                              [view](Grid* g, bool x) { view(g)->SetShowEmptyRowImage(x); }));
        v.push_back(BoolValue("OptionsView.ShowHeaders", true, [view](Grid* g) { return view(g)->ShowHeaders(); },
                              [view](Grid* g, bool x) { view(g)->SetShowHeaders(x); }));
        v.push_back(IdentValue("OptionsView.GridLines", vglBoth, {"vglNone", "vglHorizontal", "vglVertical", "vglBoth"},
                               [view](Grid* g) { return int(view(g)->GridLines()); },
                               [view](Grid* g, int x) { view(g)->SetGridLines(TcxvgGridLines(x)); }));
        // The minimum first: a width read before a smaller minimum would be raised to the
        // default minimum and lost.
        v.push_back(IntValue("OptionsView.ValueMinWidth", 40, [view](Grid* g) { return view(g)->ValueMinWidth(); },
                             [view](Grid* g, int x) { view(g)->SetValueMinWidth(x); }));
        v.push_back(IntValue("OptionsView.ValueWidth", 100, [view](Grid* g) { return view(g)->ValueWidth(); },
                             [view](Grid* g, int x) { view(g)->SetValueWidth(x); }));
        return v;
    }();
    return values;
}

int IdentIndex(const StreamedValue& value, const std::string& ident)
{
    for (std::size_t i = 0; i < value.idents.size(); ++i)
        if (ident == value.idents[i])
            return static_cast<int>(i);
    throw EReadError("Invalid property value");
}

} // namespace

void TcxCustomVerticalGrid::WriteStreamValues(TWriter* writer)
{
    for (const StreamedValue& value : Values()) {
        if (!value.stored(this))
            continue;
        writer->WriteString(value.name);
        const int v = value.get(this);
        switch (value.kind) {
        case StreamedValue::Boolean: writer->WriteBoolean(v != 0); break;
        case StreamedValue::Integer: writer->WriteInteger(v); break;
        case StreamedValue::Ident: writer->WriteString(value.idents.at(static_cast<std::size_t>(v))); break;
        }
    }
    writer->WriteString("Version");
    WriteVersion(writer);
}

void TcxCustomVerticalGrid::ReadStreamValue(const std::string& name, TReader* reader)
{
    if (name == "Version") {
        ReadVersion(reader);
        return;
    }
    for (const StreamedValue& value : Values()) {
        if (name != value.name)
            continue;
        switch (value.kind) {
        case StreamedValue::Boolean: value.set(this, reader->ReadBoolean() ? 1 : 0); break;
        case StreamedValue::Integer: value.set(this, reader->ReadInteger()); break;
        case StreamedValue::Ident: value.set(this, IdentIndex(value, reader->ReadString())); break;
        }
        return;
    }
    throw EReadError("Error reading " + Name() + "." + name + ": Property does not exist");
}

} // namespace cx

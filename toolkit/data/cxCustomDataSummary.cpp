// Summary items and the summary calculation (footer and group values), with value formatting.
#include <cmath>
#include <cstdio>
#include <memory>
#include <algorithm>

#include "platform/rtl/Locale.h"
#include "toolkit/data/cxCustomData.h"

namespace cx {

// --- formats ---------------------------------------------------------------------------------------
std::string cxDataGetDataSummaryValueDefaultFormat(TcxSummaryValueType valueType, TcxSummaryKind kind, bool isFooter)
{
    static const char* const floats[2][5] = {
        {"SUM=0.00;SUM=-0.00", "MIN=0.00;MIN=-0.00", "MAX=0.00;MAX=-0.00", "COUNT=0", "AVG=0.00;AVG=-0.00"},
        {"0.00;-0.00", "MIN=0.00;MIN=-0.00", "MAX=0.00;MAX=-0.00", "0", "AVG=0.00;AVG=-0.00"}};
    static const char* const currencies[2][5] = {
        {"SUM=%s;SUM=-%s", "MIN=%s;MIN=-%s", "MAX=%s;MAX=-%s", "COUNT=0", "AVG=%s;AVG=-%s"},
        {"%s;-%s", "MIN=%s;MIN=-%s", "MAX=%s;MAX=-%s", "0", "AVG=%s;AVG=-%s"}};
    static const char* const dates[2][5] = {{"SUM=", "MIN=", "MAX=", "COUNT=0", "AVG="}, {"", "MIN=", "MAX=", "0", "AVG="}};
    if (kind == skNone)
        return {};
    int row = isFooter ? 1 : 0, col = static_cast<int>(kind) - 1;
    switch (valueType) {
    case svtCurrency: {
        std::string f = currencies[row][col], cur = DefaultCurrencyDisplayFormat(), out;
        for (size_t i = 0; i < f.size(); ++i)
            if (f[i] == '%' && i + 1 < f.size() && f[i + 1] == 's') {
                out += cur;
                ++i;
            } else {
                out += f[i];
            }
        return out;
    }
    case svtDate:
        return dates[row][col];
    default:
        return floats[row][col];
    }
}

namespace {
std::vector<std::string> SplitSections(const std::string& format)
{
    std::vector<std::string> sections(1);
    char quote = 0;
    for (char c : format) {
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == ';') {
            sections.emplace_back();
            continue;
        }
        sections.back() += c;
    }
    return sections;
}

bool IsPlaceholder(char c) { return c == '0' || c == '#' || c == '.' || c == ','; }

std::string FormatSection(const std::string& section, double value)
{
    // Literal text (quoted or not) around one run of digit placeholders.
    std::string prefix, suffix, number;
    bool inNumber = false, numberDone = false;
    char quote = 0;
    for (char c : section) {
        if (quote) {
            if (c == quote)
                quote = 0;
            else
                (numberDone || inNumber ? suffix : prefix) += c;
            continue;
        }
        if (c == '\'' || c == '"') {
            quote = c;
            if (inNumber) {
                inNumber = false;
                numberDone = true;
            }
            continue;
        }
        if (!numberDone && IsPlaceholder(c)) {
            inNumber = true;
            number += c;
        } else {
            if (inNumber) {
                inNumber = false;
                numberDone = true;
            }
            (numberDone ? suffix : prefix) += c;
        }
    }
    if (number.empty())
        return prefix + suffix;
    size_t dot = number.find('.');
    std::string intPart = number.substr(0, dot), fracPart = dot == std::string::npos ? "" : number.substr(dot + 1);
    bool thousands = intPart.find(',') != std::string::npos;
    int minInt = static_cast<int>(std::count(intPart.begin(), intPart.end(), '0'));
    int minFrac = static_cast<int>(std::count(fracPart.begin(), fracPart.end(), '0'));
    int maxFrac = minFrac + static_cast<int>(std::count(fracPart.begin(), fracPart.end(), '#'));
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", maxFrac, std::fabs(value));
    std::string digits = buf;
    std::string ip = digits.substr(0, digits.find('.')), fp;
    if (digits.find('.') != std::string::npos)
        fp = digits.substr(digits.find('.') + 1);
    while (static_cast<int>(fp.size()) > minFrac && !fp.empty() && fp.back() == '0')
        fp.pop_back();
    if (ip == "0" && minInt == 0)
        ip.clear();
    while (static_cast<int>(ip.size()) < minInt)
        ip.insert(ip.begin(), '0');
    const TFormatSettings& fs = FormatSettings();
    if (thousands)
        for (int i = static_cast<int>(ip.size()) - 3; i > 0; i -= 3)
            ip.insert(ip.begin() + i, fs.ThousandSeparator);
    std::string result = ip;
    if (!fp.empty())
        result += fs.DecimalSeparator + fp;
    return prefix + result + suffix;
}
} // namespace

std::string cxFormatFloat(const std::string& format, double value)
{
    if (format.empty()) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.15g", value);
        return buf;
    }
    std::vector<std::string> sections = SplitSections(format);
    if (value < 0 && sections.size() > 1 && !sections[1].empty())
        return FormatSection(sections[1], value);
    if (value == 0 && sections.size() > 2 && !sections[2].empty())
        return FormatSection(sections[2], value);
    std::string text = FormatSection(sections[0], value);
    // A negative value of a one-section format keeps its sign, unless it rounds to zero.
    if (value < 0 && FormatSection(sections[0], -value).find_first_of("123456789") != std::string::npos)
        text.insert(0, "-");
    return text;
}

// --- items -----------------------------------------------------------------------------------------
TcxDataSummaryItems* TcxDataSummaryItem::SummaryItems() const { return static_cast<TcxDataSummaryItems*>(Collection()); }
TcxCustomDataController* TcxDataSummaryItem::DataController() const
{
    return SummaryItems() ? SummaryItems()->Summary()->DataController() : nullptr;
}

void TcxDataSummaryItem::NotifyChanged(bool full)
{
    if (SummaryItems())
        SummaryItems()->ItemChanged(full);
}

void TcxDataSummaryItem::SetItemLink(TObject* item)
{
    TcxCustomDataController* c = DataController();
    if (!c)
        return;
    TcxCustomDataField* f = item ? c->FieldList()->FieldByItem(item) : nullptr;
    if (f == field_)
        return;
    field_ = f;
    NotifyChanged(true);
}

void TcxDataSummaryItem::SetFormat(const std::string& value)
{
    if (format_ == value)
        return;
    format_ = value;
    NotifyChanged(false);
}

void TcxDataSummaryItem::SetKind(TcxSummaryKind value)
{
    if (kind_ == value)
        return;
    kind_ = value;
    NotifyChanged(true);
}

TcxSummaryPosition TcxDataSummaryItem::Position() const
{
    return SummaryItems() ? SummaryItems()->GetItemPosition(this, position_) : position_;
}

void TcxDataSummaryItem::SetPosition(TcxSummaryPosition value)
{
    if (position_ == value)
        return;
    position_ = value;
    NotifyChanged(false);
}

void TcxDataSummaryItem::Assign(TPersistent* source)
{
    auto* src = dynamic_cast<TcxDataSummaryItem*>(source);
    if (!src) {
        TCollectionItem::Assign(source);
        return;
    }
    TcxCustomDataController* c = DataController();
    if (c && src->Field())
        field_ = c->FieldList()->FieldByItem(c->FindProperItemLink(src->ItemLink()));
    else
        field_ = src->Field();
    format_ = src->format_;
    kind_ = src->kind_;
    position_ = src->position_;
    sorted_ = src->sorted_;
    OnGetText = src->OnGetText;
    NotifyChanged(true);
}

void TcxDataSummaryItem::BeforeDestruction()
{
    if (sorted_ && SummaryItems())
        SummaryItems()->BeforeSortingChange(this, false);
    sorted_ = false;
    TCollectionItem::BeforeDestruction();
}

void TcxDataSummaryItem::SetSorted(bool value)
{
    TcxCustomDataController* c = DataController();
    if (sorted_ == value || (c && c->GetSortingBySummaryDataItemIndex() != -1))
        return;
    TcxDataSummaryItems* items = SummaryItems();
    if (items)
        items->BeginUpdate();
    try {
        if (items)
            items->BeforeSortingChange(this, value);
        sorted_ = value;
        if (c)
            c->DoSortingBySummaryChanged();
    } catch (...) {
        if (items)
            items->EndUpdate();
        throw;
    }
    if (items) {
        items->EndUpdate();
        items->ItemChanged(true);
    }
}

bool TcxDataSummaryItem::IsPositionStored() const
{
    return SummaryItems() ? SummaryItems()->IsPositionStored(this) : position_ != spGroup;
}

bool TcxDataSummaryItem::IsDataBinded() const { return field_ != nullptr || (kind_ == skCount && Position() == spGroup); }

std::string TcxDataSummaryItem::GetValueFormat(TcxSummaryValueType valueType, const Variant&, bool isFooter)
{
    if (!format_.empty())
        return format_;
    return SummaryItems() ? SummaryItems()->DefaultFormat(valueType, kind_, isFooter) : std::string();
}

std::string TcxDataSummaryItem::FormatValue(const Variant& value, bool isFooter)
{
    std::string text;
    if (value.IsNull() || value.IsEmpty()) {
    } else if (kind_ == skNone) {
        text = VarToStr(value);
    } else {
        Word t = VarType(value) & varTypeMask;
        TcxSummaryValueType vt = t == varCurrency ? svtCurrency : (t == varDate ? svtDate : svtFloat);
        std::string format = GetValueFormat(vt, value, isFooter);
        if (vt != svtDate || kind_ == skCount) {
            text = cxFormatFloat(format, value.ToDouble());
        } else {
            TDateTime d = value.ToDate();
            double ip = std::trunc(d);
            text = format + (d == ip ? DateToStr(d) : (ip == 0 ? TimeToStr(d) : DateTimeToStr(d)));
        }
    }
    CallEvent(OnGetText, this, value, isFooter, text);
    return text;
}

TcxDataSummaryItems::TcxDataSummaryItems(TcxDataSummary* summary, TCollectionItemClass itemClass)
    : TcxCollection(itemClass), summary_(summary) {}

TcxDataSummaryItem* TcxDataSummaryItems::Add(TObject* itemLink, TcxSummaryPosition position, TcxSummaryKind kind,
                                             const std::string& format)
{
    BeginUpdate();
    TcxDataSummaryItem* item;
    try {
        item = Add();
        item->SetItemLink(itemLink);
        item->SetPosition(position);
        item->SetKind(kind);
        item->SetFormat(format);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    return item;
}

int TcxDataSummaryItems::IndexOfItemLink(TObject* itemLink) const
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->ItemLink() == itemLink)
            return i;
    return -1;
}

TcxDataSummaryItem* TcxDataSummaryItems::ItemOfField(TcxCustomDataField* field) const
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->Field() == field)
            return Items(i);
    return nullptr;
}

bool TcxDataSummaryItems::IsPropertiesEmpty(TcxSummaryProperties properties, const std::string& format,
                                            TcxSummaryKind kind, bool sorted)
{
    return !((properties.Contains(spSorted) && sorted) || (properties.Contains(spFormat) && !format.empty()) ||
             (properties.Contains(spKind) && kind != skNone));
}

TcxDataSummaryItem* TcxDataSummaryItems::GetDataItem(int itemIndex, TcxSummaryPosition position, bool checkKind,
                                                     TcxSummaryKind kind)
{
    TcxCustomDataController* c = summary_->DataController();
    c->CheckItemRange(itemIndex);
    TcxCustomDataField* field = c->Fields(itemIndex);
    for (int i = 0; i < Count(); ++i) {
        TcxDataSummaryItem* item = Items(i);
        if (item->Field() == field && item->Position() == position && (!checkKind || item->Kind() == kind))
            return item;
    }
    return nullptr;
}

TcxDataSummaryItem* TcxDataSummaryItems::AddDataItem(int itemIndex, TcxSummaryPosition position)
{
    return Add(summary_->DataController()->GetItem(itemIndex), position, skNone);
}

void TcxDataSummaryItems::DeleteItems(TObject* itemLink, TcxSummaryPosition position)
{
    BeginUpdate();
    try {
        for (int i = Count() - 1; i >= 0; --i)
            if (Items(i)->ItemLink() == itemLink && Items(i)->Position() == position)
                Items(i)->Free();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TcxDataSummaryItems::GetDataItemProperties(int itemIndex, TcxSummaryPosition position, TcxSummaryProperties properties,
                                                std::string& format, TcxSummaryKind& kind, bool& sorted)
{
    format.clear();
    kind = skNone;
    sorted = false;
    if (TcxDataSummaryItem* item = GetDataItem(itemIndex, position)) {
        if (properties.Contains(spFormat))
            format = item->Format();
        if (properties.Contains(spKind))
            kind = item->Kind();
        if (properties.Contains(spSorted))
            sorted = item->Sorted();
    }
}

void TcxDataSummaryItems::SetDataItemProperties(int itemIndex, TcxSummaryPosition position, TcxSummaryProperties properties,
                                                const std::string& format, TcxSummaryKind kind, bool sorted)
{
    TcxDataSummaryItem* item = GetDataItem(itemIndex, position);
    if (!item) {
        if (IsPropertiesEmpty(properties, format, kind, sorted))
            return;
        item = AddDataItem(itemIndex, position);
    }
    if (properties.Contains(spFormat))
        item->SetFormat(format);
    if (properties.Contains(spKind))
        item->SetKind(kind);
    if (properties.Contains(spSorted))
        item->SetSorted(sorted);
    if (IsPropertiesEmpty({spFormat, spKind, spSorted}, item->Format(), item->Kind(), item->Sorted()))
        item->Free();
}

namespace {
struct DataItemProperties {
    std::string Format;
    TcxSummaryKind Kind = skNone;
    bool Sorted = false;
};

DataItemProperties ReadDataItem(TcxDataSummaryItems* items, int itemIndex, TcxSummaryPosition position,
                                TcxSummaryProperties properties)
{
    DataItemProperties p;
    items->GetDataItemProperties(itemIndex, position, properties, p.Format, p.Kind, p.Sorted);
    return p;
}
} // namespace

std::string TcxDataSummaryItems::GetDataItemFormat(int itemIndex, TcxSummaryPosition position)
{
    return ReadDataItem(this, itemIndex, position, {spFormat}).Format;
}

TcxSummaryKind TcxDataSummaryItems::GetDataItemKind(int itemIndex, TcxSummaryPosition position)
{
    return ReadDataItem(this, itemIndex, position, {spKind}).Kind;
}

bool TcxDataSummaryItems::GetDataItemSorted(int itemIndex, TcxSummaryPosition position)
{
    return ReadDataItem(this, itemIndex, position, {spSorted}).Sorted;
}

void TcxDataSummaryItems::SetDataItemFormat(int itemIndex, TcxSummaryPosition position, const std::string& value)
{
    SetDataItemProperties(itemIndex, position, {spFormat}, value, skNone, false);
}

void TcxDataSummaryItems::SetDataItemKind(int itemIndex, TcxSummaryPosition position, TcxSummaryKind value)
{
    SetDataItemProperties(itemIndex, position, {spKind}, {}, value, false);
}

void TcxDataSummaryItems::SetDataItemSorted(int itemIndex, TcxSummaryPosition position, bool value)
{
    SetDataItemProperties(itemIndex, position, {spSorted}, {}, skNone, value);
}

void TcxDataGroupSummaryItems::BeforeSortingChange(TcxDataSummaryItem* item, bool sorted)
{
    // At most one group item sorts the groups.
    if (!sorted)
        return;
    for (int i = 0; i < Count(); ++i)
        if (Items(i) != item && Items(i)->Sorted())
            Items(i)->SetSorted(false);
}

TcxDataSummaryItem* TcxDataGroupSummaryItems::SortedSummaryItem() const
{
    TcxCustomDataController* c = Summary()->DataController();
    if (int index = c->GetSortingBySummaryDataItemIndex(); index != -1)
        return ItemOfField(c->Fields(index));
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->Sorted())
            return Items(i);
    return nullptr;
}

void TcxDataSummaryItems::ItemChanged(bool full)
{
    if (UpdateCount() == 0)
        summary_->Changed(!full);
}

void TcxDataSummaryItems::Update(TCollectionItem* item) { summary_->Changed(false); }

std::string TcxDataGroupSummaryItems::GetGroupText(const Variant& values)
{
    std::string text;
    bool first = true;
    for (int i = 0; i < Count(); ++i) {
        TcxDataSummaryItem* item = Items(i);
        if (item->Position() != spGroup)
            continue;
        Variant v = VarIsArray(values) && i >= values.LowBound() && i <= values.HighBound() ? values[i] : Null;
        if (!first)
            text += Separator + " ";
        text += item->FormatValue(v, false);
        first = false;
    }
    if (!text.empty())
        text = BeginText + text + EndText;
    return text;
}

// --- summary groups --------------------------------------------------------------------------------
TcxDataSummaryGroupItemLinks* TcxDataSummaryGroupItemLink::Links() const
{
    return static_cast<TcxDataSummaryGroupItemLinks*>(Collection());
}

TcxCustomDataController* TcxDataSummaryGroupItemLink::DataController() const
{
    TcxDataSummaryGroupItemLinks* links = Links();
    if (!links || !links->SummaryGroup() || !links->SummaryGroup()->SummaryGroups())
        return nullptr;
    return links->SummaryGroup()->SummaryGroups()->Summary()->DataController();
}

void TcxDataSummaryGroupItemLink::SetItemLink(TObject* item)
{
    TcxCustomDataController* c = DataController();
    if (!c)
        return;
    TcxCustomDataField* f = item ? c->FieldList()->FieldByItem(item) : nullptr;
    if (f == field_)
        return;
    TcxDataSummaryGroupItemLinks* links = Links();
    links->BeginUpdate();
    try {
        ItemLinkChanging(f);
        field_ = f;
    } catch (...) {
        links->EndUpdate();
        throw;
    }
    links->EndUpdate();
}

void TcxDataSummaryGroupItemLink::ItemLinkChanging(TcxCustomDataField* field)
{
    if (!field)
        return;
    TcxDataSummaryGroup* own = Links()->SummaryGroup();
    TcxDataSummaryGroups* groups = own->SummaryGroups();
    for (int g = 0; g < groups->Count(); ++g) {
        TcxDataSummaryGroup* group = groups->Items(g);
        if (group == own || !group->HasLinks())
            continue;
        TcxDataSummaryGroupItemLinks* links = group->Links();
        for (int i = links->Count() - 1; i >= 0; --i)
            if (links->Items(i)->Field() == field)
                links->Delete(i);
    }
}

void TcxDataSummaryGroupItemLink::Assign(TPersistent* source)
{
    auto* src = dynamic_cast<TcxDataSummaryGroupItemLink*>(source);
    if (!src) {
        TCollectionItem::Assign(source);
        return;
    }
    TcxCustomDataController* c = DataController();
    if (c && src->Field())
        SetItemLink(c->FindProperItemLink(src->ItemLink()));
    else if (!src->Field())
        SetItemLink(nullptr);
}

int TcxDataSummaryGroupItemLinks::IndexOfItemLink(TObject* itemLink) const
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->Field() && Items(i)->ItemLink() == itemLink)
            return i;
    return -1;
}

TcxDataSummaryGroupItemLink* TcxDataSummaryGroupItemLinks::ItemOfItemLink(TObject* itemLink) const
{
    int i = IndexOfItemLink(itemLink);
    return i == -1 ? nullptr : Items(i);
}

int TcxDataSummaryGroupItemLinks::IndexOfField(TcxCustomDataField* field) const
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->Field() == field)
            return i;
    return -1;
}

TcxDataSummaryGroupItemLink* TcxDataSummaryGroupItemLinks::ItemOfField(TcxCustomDataField* field) const
{
    int i = IndexOfField(field);
    return i == -1 ? nullptr : Items(i);
}

TPersistent* TcxDataSummaryGroupItemLinks::GetOwner() { return group_; }

void TcxDataSummaryGroupItemLinks::Update(TCollectionItem*)
{
    // Which items a grouping level uses changed: the group values are calculated again.
    if (group_ && group_->SummaryGroups())
        group_->SummaryGroups()->Summary()->Changed(false);
}

TcxDataSummaryGroup::TcxDataSummaryGroup(TCollection* collection) : TCollectionItem(collection) {}

TcxDataGroupSummaryItems* TcxDataSummaryGroup::SummaryItems()
{
    // The items reach their summary through this group's collection, which an item made by the
    // collection joins only after its constructor.
    if (!summaryItems_) {
        TcxDataSummaryGroups* groups = SummaryGroups();
        if (!groups)
            return nullptr;
        TcxDataSummary* summary = groups->Summary();
        summaryItems_ = new TcxDataGroupSummaryItems(summary, summary->DataController()->GetSummaryItemClass());
        summaryItems_->SummaryGroup = this;
    }
    return summaryItems_;
}

void TcxDataSummaryGroup::BeforeDestruction()
{
    FreeAndNil(links_);
    FreeAndNil(summaryItems_);
    TCollectionItem::BeforeDestruction();
}

TcxDataSummaryGroups* TcxDataSummaryGroup::SummaryGroups() const { return dynamic_cast<TcxDataSummaryGroups*>(Collection()); }

TcxDataSummaryGroupItemLinks* TcxDataSummaryGroup::Links()
{
    if (!links_) {
        TcxDataSummaryGroups* groups = SummaryGroups();
        TcxCustomDataController* c = groups ? groups->Summary()->DataController() : nullptr;
        links_ = new TcxDataSummaryGroupItemLinks(
            this, c ? c->GetSummaryGroupItemLinkClass() : TCollectionItemClass::Of<TcxDataSummaryGroupItemLink>());
    }
    return links_;
}

void TcxDataSummaryGroup::Assign(TPersistent* source)
{
    auto* src = dynamic_cast<TcxDataSummaryGroup*>(source);
    if (!src) {
        TCollectionItem::Assign(source);
        return;
    }
    if (src->HasLinks())
        Links()->Assign(src->links_);
    else if (links_)
        links_->Clear();
    if (SummaryItems() && src->SummaryItems())
        SummaryItems()->Assign(src->SummaryItems());
}

TcxDataSummaryGroup* TcxDataSummaryGroups::FindByItemLink(TObject* itemLink) const
{
    if (!itemLink)
        return nullptr;
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->HasLinks() && Items(i)->Links()->IndexOfItemLink(itemLink) != -1)
            return Items(i);
    return nullptr;
}

TPersistent* TcxDataSummaryGroups::GetOwner() { return summary_; }

void TcxDataSummaryGroups::Update(TCollectionItem*) { summary_->Changed(false); }

// --- summary ---------------------------------------------------------------------------------------
TcxDataSummary::TcxDataSummary(TcxCustomDataController* controller) : controller_(controller)
{
    defaultGroupItems_ = new TcxDataGroupSummaryItems(this);
    footerItems_ = new TcxDataFooterSummaryItems(this);
    summaryGroups_ = new TcxDataSummaryGroups(this);
}

void TcxDataSummary::BeforeDestruction()
{
    destroying_ = true;
    FreeAndNil(summaryGroups_);
    FreeAndNil(footerItems_);
    FreeAndNil(defaultGroupItems_);
    TPersistent::BeforeDestruction();
}

void TcxDataSummary::Assign(TPersistent* source)
{
    auto* src = dynamic_cast<TcxDataSummary*>(source);
    if (!src) {
        TPersistent::Assign(source);
        return;
    }
    BeginUpdate();
    try {
        defaultGroupItems_->Assign(src->defaultGroupItems_);
        footerItems_->Assign(src->footerItems_);
        summaryGroups_->Assign(src->summaryGroups_);
        options_ = src->options_;
        OnAfterSummary = src->OnAfterSummary;
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TcxDataSummary::BeginUpdate()
{
    controller_->BeginUpdate();
    ++lockCount_;
}

void TcxDataSummary::EndUpdate()
{
    --lockCount_;
    Changed(false);
    controller_->EndUpdate();
}

void TcxDataSummary::CancelUpdate()
{
    controller_->EndUpdate();
    --lockCount_;
}

void TcxDataSummary::Changed(bool redrawOnly)
{
    if (inAfterSummary_ || lockCount_ > 0 || destroying_)
        return;
    controller_->SummaryChanged(redrawOnly);
}

void TcxDataSummary::SetOptions(TcxSummaryOptions value)
{
    if (options_ == value)
        return;
    if (value.Contains(soSelectedRecords) && value.Contains(soMultipleSelectedRecords)) {
        if (options_.Contains(soMultipleSelectedRecords))
            value.Exclude(soMultipleSelectedRecords);
        else
            value.Exclude(soSelectedRecords);
    }
    options_ = value;
    Changed(false);
}

bool TcxDataSummary::FollowsSelection()
{
    return options_.Contains(soSelectedRecords) ||
           (options_.Contains(soMultipleSelectedRecords) && controller_->GetSelectedCount() > 1);
}

int TcxDataSummary::GetRecordIndex(int listIndex)
{
    int r = controller_->GetFilteredRecordIndex(listIndex);
    if (!FollowsSelection())
        return r;
    if (controller_->IsFocusedSelectedMode())
        return r == controller_->GetFocusedRecordIndex() ? r : -1;
    return controller_->DataControllerInfo()->Selection()->IsRecordSelected(r) ? r : -1;
}

void TcxDataSummary::BeginCalculate()
{
    if (!setCustomSummary_)
        CalculateFooterSummary();
}

void TcxDataSummary::EndCalculate()
{
    if (setCustomSummary_)
        return;
    CalculateGroupSummary();
    DoAfterSummary();
}

void TcxDataSummary::BeginCalculateSummary(TcxDataSummaryItems* items, TcxDataSummaryValues& values, std::vector<int>& counts)
{
    values.assign(items->Count(), Variant());
    counts.assign(items->Count(), 0);
}

void TcxDataSummary::CalculateSummary(TcxDataSummaryItems* items, int first, int last, TcxDataSummaryValues& values,
                                      std::vector<int>& counts)
{
    for (int p = first; p <= last; ++p) {
        int r = GetRecordIndex(p);
        if (r == -1)
            continue;
        for (int i = 0; i < items->Count(); ++i)
            DoSummaryValue(items->Items(i), r, counts[i], values[i]);
    }
}

Variant TcxDataSummary::EndCalculateSummary(TcxDataSummaryItems* items, TcxDataSummaryValues& values, std::vector<int>& counts)
{
    if (items->Count() == 0)
        return Null;
    Variant result = VarArrayCreate(0, items->Count() - 1, varVariant);
    for (int i = 0; i < items->Count(); ++i) {
        DoFinishSummaryValue(items->Items(i), values[i], counts[i]);
        result[i] = values[i];
    }
    return result;
}

namespace {
Variant AddValues(const Variant& a, const Variant& b)
{
    Word ta = VarType(a) & varTypeMask, tb = VarType(b) & varTypeMask;
    if (ta == varCurrency || tb == varCurrency)
        return Variant(Currency::FromScaled(a.ToCurrency().Value + b.ToCurrency().Value));
    if (VarIsOrdinal(a) && VarIsOrdinal(b) && ta != varBoolean && tb != varBoolean)
        return Variant(static_cast<std::int64_t>(a.ToInt64() + b.ToInt64()));
    if (ta == varDate)
        return Variant::FromDate(a.ToDouble() + b.ToDouble());
    return Variant(a.ToDouble() + b.ToDouble());
}
} // namespace

void TcxDataSummary::DoSummaryValue(TcxDataSummaryItem* item, int recordIndex, int& count, Variant& value)
{
    if (!item->IsDataBinded())
        return;
    Variant v = item->Field() ? controller_->GetInternalValue(recordIndex, item->Field()) : Null;
    TcxDataSummaryItems* items = item->SummaryItems();
    if (items->OnSummary.Assigned()) {
        TcxSummaryEventArguments args{recordIndex, item};
        TcxSummaryEventOutArguments out{v, value, count, false};
        items->OnSummary(items, args, out);
        value = out.SummaryValue;
        count = out.CountValue;
        v = out.Value;
        if (out.Done)
            return;
    }
    TcxSummaryKind kind = item->Kind();
    if (kind == skNone || (options_.Contains(soNullIgnore) && v.IsNull()))
        return;
    if (value.IsEmpty()) {
        if (kind != skCount && !((kind == skMin || kind == skMax) && v.IsNull())) {
            value = v;
            if (value.IsNull() && (kind == skSum || kind == skAverage))
                value = Variant(0);
        }
    } else if (!v.IsNull() && !value.IsNull()) {
        try {
            if (kind == skSum || kind == skAverage)
                value = AddValues(value, v);
            else if (kind == skMin && VarCompare(v, value) < 0)
                value = v;
            else if (kind == skMax && VarCompare(v, value) > 0)
                value = v;
        } catch (const EVariantError&) {
            // A value that cannot be related to the others (a text in a sum) leaves the result.
        }
    }
    ++count;
}

void TcxDataSummary::DoFinishSummaryValue(TcxDataSummaryItem* item, Variant& value, int count)
{
    if (!item->IsDataBinded())
        return;
    if (value.IsEmpty())
        value = Null;
    if (item->Kind() == skCount) {
        value = Variant(count);
    } else if (item->Kind() == skAverage && count > 0 && !value.IsNull()) {
        bool isDate = (VarType(value) & varTypeMask) == varDate;
        double avg = value.ToDouble() / count;
        value = isDate ? Variant::FromDate(avg) : Variant(avg);
    }
}

void TcxDataSummary::CalculateFooterSummary()
{
    TcxDataSummaryValues values;
    std::vector<int> counts;
    BeginCalculateSummary(footerItems_, values, counts);
    if (!controller_->IsGridMode())
        CalculateSummary(footerItems_, 0, controller_->GetFilteredRecordCount() - 1, values, counts);
    footerValues_ = EndCalculateSummary(footerItems_, values, counts);
}

void TcxDataSummary::CalculateGroupSummary()
{
    TcxDataGroups* groups = controller_->DataControllerInfo()->DataGroups();
    int deepest = groups->FieldCount() - 1;
    for (int level = 0; level <= deepest; ++level) {
        TcxDataSummaryItems* items = GetGroupSummaryItems(level);
        TcxDataSummaryValues values;
        std::vector<int> counts;
        int current = -1;
        for (int k = 0; k < groups->Count(); ++k) {
            TcxDataGroupInfo& g = groups->Items(k);
            if (g.Level == level) {
                if (current != -1)
                    groups->Items(current).SummaryValues = EndCalculateSummary(items, values, counts);
                BeginCalculateSummary(items, values, counts);
                current = k;
            }
            if (g.Level == deepest && current != -1)
                CalculateSummary(items, g.FirstRecordListIndex, g.LastRecordListIndex, values, counts);
        }
        if (current != -1)
            groups->Items(current).SummaryValues = EndCalculateSummary(items, values, counts);
    }
}

TcxDataSummaryItems* TcxDataSummary::GetGroupSummaryItems(int level)
{
    TcxDataGroups* groups = controller_->DataControllerInfo()->DataGroups();
    if (level < 0 || level >= groups->FieldCount())
        return nullptr;
    TcxCustomDataField* field = groups->Fields(level);
    if (TcxDataSummaryGroup* group = summaryGroups_->FindByItemLink(field ? field->Item() : nullptr))
        return group->SummaryItems();
    return defaultGroupItems_;
}

TcxDataSummaryItems* TcxDataSummary::GetPatternSummaryItems(TcxDataSummary* pattern, TcxDataSummaryItems* items) const
{
    if (!pattern || !items)
        return nullptr;
    if (items == footerItems_)
        return pattern->footerItems_;
    if (items == defaultGroupItems_)
        return pattern->defaultGroupItems_;
    auto* groupItems = dynamic_cast<TcxDataGroupSummaryItems*>(items);
    if (!groupItems || !groupItems->SummaryGroup || groupItems->SummaryGroup->SummaryGroups() != summaryGroups_)
        return nullptr;
    int index = groupItems->SummaryGroup->Index();
    if (index < 0 || index >= pattern->summaryGroups_->Count())
        return nullptr;
    return pattern->summaryGroups_->Items(index)->SummaryItems();
}

void TcxDataSummary::DoAfterSummary()
{
    if (!OnAfterSummary.Assigned())
        return;
    if (controller_->IsLoading()) {
        controller_->AfterSummaryPending = true;
        return;
    }
    controller_->AfterSummaryPending = false;
    inAfterSummary_ = true;
    try {
        OnAfterSummary(this);
    } catch (...) {
        inAfterSummary_ = false;
        throw;
    }
    inAfterSummary_ = false;
}

Variant TcxDataSummary::FooterSummaryValues(int index) const
{
    if (VarIsArray(footerValues_) && index >= footerValues_.LowBound() && index <= footerValues_.HighBound())
        return footerValues_[index];
    return Null;
}

// A value set by hand stays until the next full recalculation: the change is redraw-only.
void TcxDataSummary::SetCustomValue(Variant& values, int index, const Variant& value)
{
    if (!VarIsArray(values) || index < values.LowBound() || index > values.HighBound())
        return;
    if (VarCompare(values[index], value) == 0 && VarType(values[index]) == VarType(value))
        return;
    setCustomSummary_ = true;
    values[index] = value;
    try {
        Changed(true);
    } catch (...) {
        setCustomSummary_ = false;
        throw;
    }
    setCustomSummary_ = false;
}

void TcxDataSummary::SetFooterSummaryValues(int index, const Variant& value) { SetCustomValue(footerValues_, index, value); }

void TcxDataSummary::SetGroupSummaryValue(int group, int index, const Variant& value)
{
    TcxDataGroups* groups = controller_->DataControllerInfo()->DataGroups();
    if (group >= 0 && group < groups->Count())
        SetCustomValue(groups->Items(group).SummaryValues, index, value);
}

bool TcxDataSummary::GetGroupSummaryInfo(int rowIndex, TcxDataSummaryItems*& items, Variant& values)
{
    items = nullptr;
    values = Unassigned;
    if (rowIndex < 0 || rowIndex >= controller_->GetRowCount())
        return false;
    TcxDataGroups* groups = controller_->DataControllerInfo()->DataGroups();
    int g = groups->GetIndexByRowIndexLevel(rowIndex, -1);
    if (g == -1)
        return false;
    items = GetGroupSummaryItems(groups->Items(g).Level);
    values = groups->Items(g).SummaryValues;
    return items && !values.IsEmpty();
}

std::string TcxDataSummary::GroupFooterSummaryText(int rowIndex, int level, int index)
{
    if (rowIndex < 0 || rowIndex >= controller_->GetRowCount())
        return {};
    TcxDataGroups* groups = controller_->DataControllerInfo()->DataGroups();
    int g = groups->GetIndexByRowIndexLevel(rowIndex, level);
    if (g == -1)
        return {};
    TcxDataSummaryItems* items = GetGroupSummaryItems(level);
    const Variant& values = groups->Items(g).SummaryValues;
    if (!items || !VarIsArray(values) || index < 0 || index >= items->Count() || index < values.LowBound() ||
        index > values.HighBound())
        return {};
    return items->Items(index)->FormatValue(values[index], true);
}

int TcxDataSummary::GroupFooterIndexOfItemLink(int level, TObject* itemLink)
{
    TcxDataSummaryItems* items = GetGroupSummaryItems(level);
    if (!items)
        return -1;
    for (int i = 0; i < items->Count(); ++i)
        if (items->Items(i)->Position() == spFooter && items->Items(i)->ItemLink() == itemLink)
            return i;
    return -1;
}

std::string TcxDataSummary::FooterSummaryTexts(int index)
{
    if (index < 0 || index >= footerItems_->Count())
        return {};
    return footerItems_->Items(index)->FormatValue(FooterSummaryValues(index), true);
}

Variant TcxDataSummary::GroupSummaryValue(int group, int index) const
{
    TcxDataGroups* groups = controller_->DataControllerInfo()->DataGroups();
    if (group < 0 || group >= groups->Count())
        return Null;
    const Variant& values = groups->Items(group).SummaryValues;
    if (VarIsArray(values) && index >= values.LowBound() && index <= values.HighBound())
        return values[index];
    return Null;
}

std::string TcxDataSummary::GroupSummaryText(int rowIndex)
{
    TcxDataSummaryItems* items;
    Variant values;
    return GetGroupSummaryInfo(rowIndex, items, values) ? items->GetGroupText(values) : std::string();
}

void TcxDataSummary::RemoveItemByField(TcxCustomDataField* field)
{
    std::vector<TcxDataSummaryItems*> collections{footerItems_, defaultGroupItems_};
    for (int g = 0; g < summaryGroups_->Count(); ++g) {
        TcxDataSummaryGroup* group = summaryGroups_->Items(g);
        collections.push_back(group->SummaryItems());
        if (group->HasLinks())
            for (int i = 0; i < group->Links()->Count(); ++i)
                if (group->Links()->Items(i)->Field() == field)
                    group->Links()->Items(i)->SetField(nullptr);
    }
    for (TcxDataSummaryItems* items : collections)
        for (int i = 0; i < items->Count(); ++i)
            if (items->Items(i)->Field() == field)
                items->Items(i)->SetField(nullptr);
}

// --- sorting groups by summary ---------------------------------------------------------------------
int TcxCustomDataController::GetSortingBySummaryDataItemIndex() const
{
    return sortingBySummaryField_ ? sortingBySummaryField_->Index() : -1;
}

void TcxCustomDataController::SetSortingBySummaryDataItemIndex(int value)
{
    if (value < -1)
        value = -1;
    if (value == GetSortingBySummaryDataItemIndex())
        return;
    if (value == -1) {
        sortingBySummaryField_ = nullptr;
    } else {
        CheckItemRange(value);
        sortingBySummaryField_ = Fields(value);
    }
    DoSortingBySummaryChanged();
}

void TcxCustomDataController::DoSortingBySummaryChanged()
{
    if (IsDestroying())
        return;
    BeginUpdate();
    try {
        SortingBySummaryChanged = true;
        info_->SortingChanged();
        Change({dccSorting});
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

TcxSortingBySummaryEngineClass TcxCustomDataController::GetSortingBySummaryEngineClass()
{
    return TcxSortingBySummaryEngineClass::Of<TcxDataSortingBySummaryEngine>();
}

bool TcxCustomDataControllerInfo::IsSortingBySummary()
{
    TcxSummaryOptions o = controller_->Summary()->Options();
    if (o.Contains(soSelectedRecords) || o.Contains(soMultipleSelectedRecords))
        return false;
    for (int level = 0; level < groups_->FieldCount(); ++level)
        if (auto* items = dynamic_cast<TcxDataGroupSummaryItems*>(controller_->Summary()->GetGroupSummaryItems(level)))
            if (items->SortedSummaryItem())
                return true;
    return false;
}

void TcxCustomDataControllerInfo::DoSortBySummary()
{
    TcxSortingBySummaryEngineClass engineClass = controller_->GetSortingBySummaryEngineClass();
    if (!engineClass)
        return;
    std::unique_ptr<TcxSortingBySummaryEngine> engine(engineClass.Create(this));
    engine->SortGroups();
}

void TcxDataSortingBySummaryEngine::SortGroups()
{
    TcxDataGroups* groups = info_->groups_;
    TcxDataSummary* summary = GetDataController()->Summary();
    int levels = groups->FieldCount(), count = groups->Count();
    if (levels == 0 || count == 0)
        return;
    // Per level: the position of the sorted item in that level's collection and the direction.
    std::vector<int> sortIndex(levels, -1);
    std::vector<bool> descending(levels, false);
    bool any = false;
    for (int level = 0; level < levels; ++level) {
        auto* items = dynamic_cast<TcxDataGroupSummaryItems*>(summary->GetGroupSummaryItems(level));
        TcxDataSummaryItem* sorted = items ? items->SortedSummaryItem() : nullptr;
        if (!sorted)
            continue;
        sortIndex[level] = sorted->Index();
        descending[level] = info_->groupingFieldList_->SortOrderByField(groups->Fields(level)) == soDescending;
        any = true;
    }
    if (!any)
        return;
    // The tree: the children of every group (and of the root, -1), in list order.
    std::vector<std::vector<int>> children(count + 1);
    std::vector<int> parentAt(levels, -1);
    for (int k = 0; k < count; ++k) {
        int level = groups->Items(k).Level;
        if (level < 0 || level >= levels)
            return;   // not a tree this engine understands: leave the order alone
        int parent = level == 0 ? -1 : parentAt[level - 1];
        children[parent + 1].push_back(k);
        parentAt[level] = k;
    }
    auto value = [&](int k) {
        const Variant& values = groups->Items(k).SummaryValues;
        int i = sortIndex[groups->Items(k).Level];
        return VarIsArray(values) && i >= values.LowBound() && i <= values.HighBound() ? values[i] : Variant(Null);
    };
    for (auto& list : children) {
        if (list.size() < 2 || sortIndex[groups->Items(list[0]).Level] == -1)
            continue;
        bool desc = descending[groups->Items(list[0]).Level];
        std::stable_sort(list.begin(), list.end(), [&](int a, int b) {
            int r = VarCompare(value(a), value(b));
            return desc ? r > 0 : r < 0;
        });
    }
    // Emit the tree in pre-order again, moving each deepest group's records with it.
    TcxDataGroups sortedGroups;
    for (int level = 0; level < levels; ++level)
        sortedGroups.AddField(groups->Fields(level));
    const std::vector<int>& oldRecords = info_->recordList_;
    std::vector<int> records;
    records.reserve(oldRecords.size());
    auto emit = [&](auto& self, int k) -> void {
        const TcxDataGroupInfo& old = groups->Items(k);
        int at = sortedGroups.Count();
        sortedGroups.AddEmpty() = old;
        if (old.Level == levels - 1) {
            sortedGroups.Items(at).FirstRecordListIndex = static_cast<int>(records.size());
            for (int p = old.FirstRecordListIndex; p <= old.LastRecordListIndex; ++p)
                records.push_back(oldRecords.at(p));
            sortedGroups.Items(at).LastRecordListIndex = static_cast<int>(records.size()) - 1;
            return;
        }
        sortedGroups.Items(at).FirstRecordListIndex = at + 1;
        int last = at;
        for (int child : children[k + 1]) {
            last = sortedGroups.Count();
            self(self, child);
        }
        sortedGroups.Items(at).LastRecordListIndex = last;
    };
    int topRow = 0;
    for (int top : children[0]) {
        int at = sortedGroups.Count();
        emit(emit, top);
        // Collapsed numbering first; Rebuild renumbers the expanded ones.
        for (int k = at; k < sortedGroups.Count(); ++k)
            sortedGroups.Items(k).RowIndex = topRow;
        ++topRow;
    }
    if (records.size() != oldRecords.size())
        return;
    groups->Clear();
    for (int level = 0; level < levels; ++level)
        groups->AddField(sortedGroups.Fields(level));
    for (int k = 0; k < sortedGroups.Count(); ++k)
        groups->AddEmpty() = sortedGroups.Items(k);
    info_->recordList_ = std::move(records);
    groups->Rebuild();
}

} // namespace cx

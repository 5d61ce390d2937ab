#include "toolkit/core/cxStyles.h"

#include <algorithm>


namespace cx {

namespace {
template <class T>
void EraseOne(std::vector<T*>& list, T* item)
{
    auto it = std::find(list.begin(), list.end(), item);
    if (it != list.end())
        list.erase(it);
}

template <class T>
bool Contains(const std::vector<T>& list, const T& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}
} // namespace

// --- TcxCustomStyle -----------------------------------------------------------------------------
TcxCustomStyle::~TcxCustomStyle() { SetStyleRepository(nullptr); }

void TcxCustomStyle::BeforeDestruction()
{
    TComponent::BeforeDestruction();
    while (!listeners_.empty()) {
        std::size_t before = listeners_.size();
        IcxStyleChangeListener* last = listeners_.back();
        last->StyleRemoved(this);
        // A listener that did not remove itself must not keep the loop going.
        if (listeners_.size() == before && listeners_.back() == last)
            listeners_.pop_back();
    }
    SetStyleRepository(nullptr);
}

void TcxCustomStyle::Changed()
{
    if (updateCount_ > 0) {
        pendingChange_ = true;
        return;
    }
    std::vector<IcxStyleChangeListener*> listeners = listeners_;
    for (auto it = listeners.rbegin(); it != listeners.rend(); ++it)
        if (Contains(listeners_, *it))
            (*it)->StyleChanged(this);
}

void TcxCustomStyle::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0 && pendingChange_) {
        pendingChange_ = false;
        Changed();
    }
}

void TcxCustomStyle::AddListener(IcxStyleChangeListener* listener)
{
    if (listener && !Contains(listeners_, listener))
        listeners_.push_back(listener);
}

void TcxCustomStyle::RemoveListener(IcxStyleChangeListener* listener) { EraseOne(listeners_, listener); }

int TcxCustomStyle::Index() const { return repository_ ? repository_->StyleIndexOf(const_cast<TcxCustomStyle*>(this)) : -1; }

void TcxCustomStyle::SetStyleRepository(TcxStyleRepository* value)
{
    if (value == repository_)
        return;
    if (repository_)
        repository_->RemoveItem(this);
    if (value)
        value->AddItem(this);
}

TComponent* TcxCustomStyle::GetParentComponent() { return repository_; }

void TcxCustomStyle::SetParentComponent(TComponent* parent)
{
    if (ComponentState().Contains(csLoading))
        return;
    auto* repository = dynamic_cast<TcxStyleRepository*>(parent);
    if (parent && !repository)
        throw EConvertError("Invalid class typecast");
    SetStyleRepository(repository);
}

// --- TcxStyle -----------------------------------------------------------------------------------
namespace {
void RegisterStyleProperties()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    std::vector<TPropInfo> props;
    TPropInfo assigned;
    assigned.Name = "AssignedValues";
    assigned.Kind = tkSet;
    assigned.SetSize = 1;
    assigned.EnumNames = {"svBitmap", "svColor", "svFont", "svTextColor"};
    assigned.Get = [](TObject* o) { return Variant(static_cast<std::int64_t>(static_cast<TcxStyle*>(o)->AssignedValues().Bits())); };
    assigned.Set = [](TObject* o, const Variant& v) {
        TcxStyleValues values;
        for (int i = 0; i < 4; ++i)
            if (v.ToInt64() & (1 << i))
                values.Include(static_cast<TcxStyleValue>(i));
        static_cast<TcxStyle*>(o)->SetAssignedValues(values);
    };
    props.push_back(assigned);
    props.push_back(PublishedProp<TcxStyle>("Color", tkInteger, &TcxStyle::Color, &TcxStyle::SetColor));
    props.push_back(PublishedObjectProp<TcxStyle>("Bitmap", &TcxStyle::Bitmap, &TcxStyle::SetBitmap));
    props.push_back(PublishedObjectProp<TcxStyle>("Font", &TcxStyle::Font, &TcxStyle::SetFont));
    props.push_back(PublishedProp<TcxStyle>("TextColor", tkInteger, &TcxStyle::TextColor, &TcxStyle::SetTextColor));
    RegisterPublishedProperties(TcxStyle::StaticClass(), std::move(props));
    TcxCustomStyleClass::Of<TcxStyle>();
}
} // namespace

TcxStyle::TcxStyle(TComponent* owner)
    : TcxCustomStyle(owner), bitmap_(std::make_unique<TBitmap>()), font_(std::make_unique<TFont>())
{
    RegisterStyleProperties();
    font_->OnChange = Event<void(TObject*)>(this, &TcxStyle::FontChanged);
}

TcxStyle::~TcxStyle() { font_->OnChange = {}; }

void TcxStyle::SetAssignedValues(TcxStyleValues value)
{
    if (value != assignedValues_) {
        assignedValues_ = value;
        Changed();
    }
}

void TcxStyle::SetColor(TColor value)
{
    if (value == color_)
        return;
    color_ = value;
    if (value == clDefault)
        assignedValues_.Exclude(svColor);
    else
        assignedValues_.Include(svColor);
    Changed();
}

void TcxStyle::SetTextColor(TColor value)
{
    if (value == textColor_)
        return;
    textColor_ = value;
    if (value == clDefault)
        assignedValues_.Exclude(svTextColor);
    else
        assignedValues_.Include(svTextColor);
    Changed();
}

void TcxStyle::SetBitmap(TBitmap* value)
{
    if (value)
        bitmap_->Assign(value);
    else
        bitmap_->SetSize(0, 0);
    BitmapChanged();
}

void TcxStyle::BitmapChanged()
{
    if (bitmap_->GetEmpty())
        assignedValues_.Exclude(svBitmap);
    else
        assignedValues_.Include(svBitmap);
    Changed();
}

void TcxStyle::SetFont(TFont* value)
{
    if (value)
        font_->Assign(value);   // FontChanged follows through OnChange
}

void TcxStyle::FontChanged(TObject*)
{
    assignedValues_.Include(svFont);
    Changed();
}

void TcxStyle::Assign(TPersistent* source)
{
    auto* style = dynamic_cast<TcxStyle*>(source);
    if (!style) {
        TcxCustomStyle::Assign(source);
        return;
    }
    BeginUpdate();
    try {
        SetBitmap(style->Bitmap());
        SetColor(style->Color());
        SetFont(style->Font());
        SetTextColor(style->TextColor());
        SetAssignedValues(style->AssignedValues());
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TcxStyle::RestoreDefaults()
{
    assignedValues_ = {};
    bitmap_->SetSize(0, 0);
    color_ = clDefault;
    textColor_ = clDefault;
    Changed();
}

// --- TcxStyleRepository -------------------------------------------------------------------------
TcxStyleRepository::~TcxStyleRepository()
{
    Clear();
    ClearStyleSheets();
}

void TcxStyleRepository::BeforeDestruction()
{
    Clear();
    ClearStyleSheets();
    TComponent::BeforeDestruction();
}

TcxCustomStyle* TcxStyleRepository::CreateItem(TcxCustomStyleClass styleClass) { return CreateItemEx(styleClass, this); }

TcxCustomStyle* TcxStyleRepository::CreateItemEx(TcxCustomStyleClass styleClass, TComponent* owner)
{
    TcxCustomStyle* style = styleClass.Create(owner);
    style->SetStyleRepository(this);
    return style;
}

TcxCustomStyleSheet* TcxStyleRepository::CreateStyleSheet(TcxCustomStyleSheetClass styleSheetClass)
{
    return CreateStyleSheetEx(styleSheetClass, this);
}

TcxCustomStyleSheet* TcxStyleRepository::CreateStyleSheetEx(TcxCustomStyleSheetClass styleSheetClass, TComponent* owner)
{
    TcxCustomStyleSheet* sheet = styleSheetClass.Create(owner);
    sheet->SetStyleRepository(this);
    return sheet;
}

int TcxStyleRepository::StyleIndexOf(TcxCustomStyle* style) const
{
    auto it = std::find(styles_.begin(), styles_.end(), style);
    return it == styles_.end() ? -1 : static_cast<int>(it - styles_.begin());
}

int TcxStyleRepository::StyleSheetIndexOf(TcxCustomStyleSheet* styleSheet) const
{
    auto it = std::find(styleSheets_.begin(), styleSheets_.end(), styleSheet);
    return it == styleSheets_.end() ? -1 : static_cast<int>(it - styleSheets_.begin());
}

void TcxStyleRepository::Clear()
{
    while (!styles_.empty()) {
        TcxCustomStyle* last = styles_.back();
        last->Free();
        EraseOne(styles_, last);
    }
}

void TcxStyleRepository::ClearStyleSheets()
{
    while (!styleSheets_.empty()) {
        TcxCustomStyleSheet* last = styleSheets_.back();
        last->Free();
        EraseOne(styleSheets_, last);
    }
}

int TcxStyleRepository::GetScaledValue(int value) const
{
    int screen = cxGetScreenPixelsPerInch(false);
    if (!Scalable || PixelsPerInch == 0 || screen == PixelsPerInch)
        return value;
    return MulDiv(value, screen, PixelsPerInch);
}

void TcxStyleRepository::AddItem(TcxCustomStyle* style)
{
    if (!Contains(styles_, style))
        styles_.push_back(style);
    style->repository_ = this;
}

void TcxStyleRepository::RemoveItem(TcxCustomStyle* style)
{
    EraseOne(styles_, style);
    style->repository_ = nullptr;
}

void TcxStyleRepository::AddStyleSheet(TcxCustomStyleSheet* sheet)
{
    if (!Contains(styleSheets_, sheet))
        styleSheets_.push_back(sheet);
    sheet->repository_ = this;
}

void TcxStyleRepository::RemoveStyleSheet(TcxCustomStyleSheet* sheet)
{
    EraseOne(styleSheets_, sheet);
    sheet->repository_ = nullptr;
}

// --- TcxCustomStyles ----------------------------------------------------------------------------
TcxCustomStyles::TcxCustomStyles(TPersistent* owner) : TcxInterfacedPersistent(owner) {}

TcxCustomStyles::~TcxCustomStyles()
{
    if (!destroying_)
        BeforeDestruction();
}

void TcxCustomStyles::BeforeDestruction()
{
    destroying_ = true;
    while (!items_.empty())
        Delete(Count() - 1);
    SetStyleSheet(nullptr);
    TcxInterfacedPersistent::BeforeDestruction();
}

bool TcxCustomStyles::Find(int index, int& position) const
{
    int lo = 0, hi = Count() - 1;
    while (lo <= hi) {
        int mid = (lo + hi) / 2;
        int slot = items_[static_cast<std::size_t>(mid)]->Index;
        if (slot == index) {
            position = mid;
            return true;
        }
        if (slot < index)
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    position = lo;
    return false;
}

bool TcxCustomStyles::OwnerIsWriting()
{
    auto* component = dynamic_cast<TComponent*>(GetOwner());
    return component && component->ComponentState().Contains(csWriting);
}

TcxCustomStyle* TcxCustomStyles::GetValue(int index)
{
    int position;
    if (Find(index, position))
        return items_[static_cast<std::size_t>(position)]->Item;
    if (styleSheet_ && !OwnerIsWriting())
        return styleSheet_->Styles()->GetValue(index);
    return nullptr;
}

// A collection on an inherited form that refers to its ancestor's style takes the style of the
// same name on its own form.
TcxCustomStyle* TcxCustomStyles::InheritedFormStyle(TcxCustomStyle* value)
{
    if (!value || value->Name().empty())
        return value;
    TPersistent* top = this;
    while (TPersistent* next = top->GetOwner())
        top = next;
    auto* topComponent = dynamic_cast<TComponent*>(top);
    TComponent* styleOwner = value->Owner();
    if (!topComponent || !styleOwner || topComponent == styleOwner
        || !topComponent->InheritsFrom(styleOwner->ClassType()))
        return value;
    TComponent* found = topComponent->FindComponent(value->Name());
    if (found && !dynamic_cast<TcxCustomStyle*>(found))
        throw EConvertError("Invalid class typecast");
    return static_cast<TcxCustomStyle*>(found);
}

void TcxCustomStyles::SetValue(int index, TcxCustomStyle* value)
{
    value = InheritedFormStyle(value);
    if (value == GetValue(index))
        return;
    int position;
    if (Find(index, position)) {
        auto& item = items_[static_cast<std::size_t>(position)];
        item->Item->RemoveListener(this);
        if (value) {
            item->Item = value;
            value->AddListener(this);
        } else
            items_.erase(items_.begin() + position);
        DoChanged(index);
    } else if (value) {
        items_.insert(items_.begin() + position, std::make_unique<TcxCustomStylesItem>(index, value));
        value->AddListener(this);
        DoChanged(index);
    }
}

void TcxCustomStyles::Delete(int position)
{
    auto item = std::move(items_.at(static_cast<std::size_t>(position)));
    items_.erase(items_.begin() + position);
    item->Item->RemoveListener(this);
    DoChanged(item->Index);
}

void TcxCustomStyles::Clear()
{
    while (!items_.empty())
        Delete(Count() - 1);
}

void TcxCustomStyles::EndUpdate()
{
    if (updateCount_ == 0 || --updateCount_ > 0)
        return;
    std::vector<int> pending;
    pending.swap(pending_);
    for (int index : pending)
        DoChanged(index);
}

void TcxCustomStyles::DoChanged(int index)
{
    if (destroying_)
        return;
    if (updateCount_ > 0) {
        if (!Contains(pending_, index))
            pending_.push_back(index);
        return;
    }
    Changed(index);
    if (ownerStyleSheet_)
        ownerStyleSheet_->DoStyleChanged(index);
}

void TcxCustomStyles::StyleChanged(TcxCustomStyle* sender)
{
    std::vector<int> changedSlots;
    for (const auto& item : items_)
        if (item->Item == sender)
            changedSlots.push_back(item->Index);
    for (int index : changedSlots)
        DoChanged(index);
}

void TcxCustomStyles::StyleRemoved(TcxCustomStyle* sender)
{
    for (int i = Count() - 1; i >= 0; --i)
        if (i < Count() && items_[static_cast<std::size_t>(i)]->Item == sender)
            Delete(i);
}

void TcxCustomStyles::Assign(TPersistent* source)
{
    if (auto* styles = dynamic_cast<TcxCustomStyles*>(source))
        SetStyleSheet(styles->StyleSheet());
    else
        TcxInterfacedPersistent::Assign(source);
}

bool TcxCustomStyles::IsValidStyleSheet(TcxCustomStyleSheet* styleSheet)
{
    if (!styleSheet)
        return true;
    if (styleSheet == ownerStyleSheet_ || styleSheet->GetStylesClass().Meta() != &ClassType())
        return false;
    if (ownerStyleSheet_) {
        std::vector<TcxCustomStyleSheet*> seen;
        for (TcxCustomStyleSheet* s = styleSheet; s && !Contains(seen, s); s = s->Styles()->StyleSheet()) {
            if (s == ownerStyleSheet_)
                return false;
            seen.push_back(s);
        }
    }
    return true;
}

void TcxCustomStyles::CollectSheetIndexes(TcxCustomStyleSheet* sheet, std::vector<int>& indexes)
{
    std::vector<TcxCustomStyleSheet*> seen;
    for (TcxCustomStyleSheet* s = sheet; s && !Contains(seen, s); s = s->Styles()->StyleSheet()) {
        seen.push_back(s);
        for (int i = 0; i < s->Styles()->Count(); ++i)
            if (!Contains(indexes, s->Styles()->Items(i)->Index))
                indexes.push_back(s->Styles()->Items(i)->Index);
    }
}

void TcxCustomStyles::SetStyleSheet(TcxCustomStyleSheet* value)
{
    if (value == styleSheet_ || !IsValidStyleSheet(value))
        return;
    std::vector<int> indexes;
    if (!destroying_)
        CollectSheetIndexes(styleSheet_, indexes);
    CollectSheetIndexes(value, indexes);
    if (styleSheet_)
        styleSheet_->RemoveStyles(this);
    styleSheet_ = value;
    if (styleSheet_)
        styleSheet_->AddStyles(this);
    for (int index : indexes)
        DoChanged(index);
}

// --- TcxStyles ----------------------------------------------------------------------------------
bool UseStyle(TcxStyle* style, TcxStyleValue value) { return style && style->AssignedValues().Contains(value); }

TcxStyleValues CombineParamsWithStyle(TcxStyle* style, TcxStyleValues values, TcxViewParams& params)
{
    TcxStyleValues all{svBitmap, svColor, svFont, svTextColor};
    if (!style || values == all || style->ComponentState().Contains(csDestroying))
        return values;
    if (!values.Contains(svColor) && UseStyle(style, svColor)) {
        params.Color = style->Color();
        values.Include(svColor);
    }
    if (!values.Contains(svFont) && UseStyle(style, svFont) && style->Font()) {
        params.Font = style->Font();
        values.Include(svFont);
    }
    if (!values.Contains(svTextColor) && UseStyle(style, svTextColor)) {
        params.TextColor = style->TextColor();
        values.Include(svTextColor);
    }
    if (!values.Contains(svBitmap) && UseStyle(style, svBitmap)) {
        params.Bitmap = style->Bitmap();
        values.Include(svBitmap);
    }
    return values;
}

void TcxStyles::GetViewParams(int index, TObject* data, TcxStyle* style, TcxViewParams& params)
{
    TcxStyle* slot = GetValue(index);
    auto pick = [&](TcxStyleValue value) -> TcxStyle* {
        return UseStyle(style, value) ? style : UseStyle(slot, value) ? slot : nullptr;
    };
    TcxStyle* s = pick(svColor);
    params.Color = s ? s->Color() : clDefault;
    s = pick(svTextColor);
    params.TextColor = s ? s->TextColor() : clDefault;
    s = pick(svFont);
    params.Font = s ? s->Font() : nullptr;
    s = UseBitmapInViewParams ? pick(svBitmap) : nullptr;
    params.Bitmap = s ? s->Bitmap() : nullptr;
    bool missing = (UseBitmapInViewParams && !params.Bitmap) || params.Color == clDefault || !params.Font
        || params.TextColor == clDefault;
    if (!missing)
        return;
    TcxViewParams defaults;
    GetDefaultViewParams(index, data, defaults);
    if (UseBitmapInViewParams && !params.Bitmap)
        params.Bitmap = defaults.Bitmap;
    if (params.Color == clDefault)
        params.Color = defaults.Color;
    if (!params.Font)
        params.Font = defaults.Font;
    if (params.TextColor == clDefault)
        params.TextColor = defaults.TextColor;
}

void TcxStyles::GetDefaultViewParams(int index, TObject*, TcxViewParams& params)
{
    params.Bitmap = nullptr;
    maxDefaultIndex_ = std::max(maxDefaultIndex_, index);
}

bool TcxStyles::IsDefaultFont(int index) { return !UseStyle(GetValue(index), svFont); }

void TcxStyles::DefaultFontChanged(TPersistent*, TFont* font)
{
    for (int i = 0; i <= maxDefaultIndex_; ++i) {
        if (!IsDefaultFont(i))
            continue;
        TcxViewParams params;
        GetDefaultViewParams(i, nullptr, params);
        if (params.Font == font)
            DoChanged(i);
    }
}

TBitmap* TcxStyles::GetBitmap(int index)
{
    TcxStyle* style = GetValue(index);
    return UseStyle(style, svBitmap) && !style->Bitmap()->GetEmpty() ? style->Bitmap() : nullptr;
}

} // namespace cx

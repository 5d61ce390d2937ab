#include "toolkit/editors/cxEdit.h"

namespace cx {

// ---- TcxEditButton ------------------------------------------------------------------------------

// Joins the collection only when whole, so the collection's one notice sees the defaults.
TcxEditButton::TcxEditButton(TCollection* collection) : TCollectionItem(nullptr)
{
    if (collection)
        SetCollection(collection);
}

TcxEditButton::~TcxEditButton() { FreeAndNil(glyph_); }

void TcxEditButton::Assign(TPersistent* source)
{
    auto* src = dynamic_cast<TcxEditButton*>(source);
    if (!src) {
        TCollectionItem::Assign(source);
        return;
    }
    TCollection* coll = Collection();
    if (coll)
        coll->BeginUpdate();
    try {
        SetCaption(src->Caption());
        visibleCaption_ = src->visibleCaption_;
        SetContentAlignment(src->ContentAlignment());
        SetDefault(src->Default());
        SetEnabled(src->Enabled());
        SetGlyph(src->Glyph());
        SetKind(src->Kind());
        SetLeftAlignment(src->LeftAlignment());
        SetStretchable(src->Stretchable());
        tag_ = src->tag_;
        SetTextColor(src->TextColor());
        SetVisible(src->Visible());
        SetWidth(src->Width());
        hint_ = src->hint_;
    } catch (...) {
        if (coll)
            coll->EndUpdate();
        throw;
    }
    if (coll)
        coll->EndUpdate();
}

namespace {
template <class T>
void SetButtonValue(T& field, const T& value, const std::function<void()>& changed)
{
    if (field != value) {
        field = value;
        changed();
    }
}
} // namespace

void TcxEditButton::SetCaption(const std::string& value)
{
    if (caption_ == value)
        return;
    caption_ = value;
    // The trailing "&" is dropped rather than drawn as an underscore.
    visibleCaption_ = RemoveAccelChars(value, true);
    Changed(false);
}

void TcxEditButton::SetContentAlignment(TAlignment value) { SetButtonValue(contentAlignment_, value, [this] { Changed(false); }); }

void TcxEditButton::SetDefault(bool value)
{
    if (default_ == value)
        return;
    if (value)
        if (auto* buttons = dynamic_cast<TcxEditButtons*>(Collection()))
            for (int i = 0; i < buttons->Count(); ++i)
                buttons->Items(i)->default_ = false;
    default_ = value;
    Changed(true);
}

void TcxEditButton::SetEnabled(bool value) { SetButtonValue(enabled_, value, [this] { Changed(false); }); }

TBitmap* TcxEditButton::Glyph()
{
    if (!glyph_)
        glyph_ = new TBitmap;
    return glyph_;
}

void TcxEditButton::SetGlyph(TBitmap* value)
{
    if (value)
        Glyph()->Assign(value);
    else
        FreeAndNil(glyph_);
    Changed(false);
}

void TcxEditButton::SetHint(const std::string& value) { SetButtonValue(hint_, value, [this] { Changed(false); }); }
void TcxEditButton::SetKind(TcxEditButtonKind value) { SetButtonValue(kind_, value, [this] { Changed(false); }); }
void TcxEditButton::SetLeftAlignment(bool value) { SetButtonValue(leftAlignment_, value, [this] { Changed(false); }); }
void TcxEditButton::SetStretchable(bool value) { SetButtonValue(stretchable_, value, [this] { Changed(false); }); }
void TcxEditButton::SetTag(int value) { SetButtonValue(tag_, value, [this] { Changed(false); }); }
void TcxEditButton::SetTextColor(TColor value) { SetButtonValue(textColor_, value, [this] { Changed(false); }); }
void TcxEditButton::SetVisible(bool value) { SetButtonValue(visible_, value, [this] { Changed(false); }); }

void TcxEditButton::SetWidth(int value)
{
    // A negative width means nothing to the layout; refusing it keeps the stored width one that
    // can be changed again.
    if (value < 0)
        return;
    SetButtonValue(width_, value, [this] { Changed(false); });
}

// ---- TcxEditButtons -----------------------------------------------------------------------------

TcxEditButtons::TcxEditButtons(TPersistent* owner, TCollectionItemClass buttonClass)
    : TCollection(buttonClass), owner_(owner)
{
}

TCollectionItemClass TcxEditButtons::GetButtonClass() const { return TCollectionItemClass::Of<TcxEditButton>(); }

int TcxEditButtons::VisibleCount() const
{
    int n = 0;
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->Visible())
            ++n;
    return n;
}

void TcxEditButtons::Update(TCollectionItem*) { CallEvent(OnChange, this); }

// ---- TcxEditButtonViewInfo ------------------------------------------------------------------------

void TcxEditButtonViewInfo::Assign(TPersistent* source)
{
    auto* src = dynamic_cast<TcxEditButtonViewInfo*>(source);
    if (!src) {
        TPersistent::Assign(source);
        return;
    }
    Data.NativeState = src->Data.NativeState;
    Data.BackgroundColor = src->Data.BackgroundColor;
    Bounds = src->Bounds;
    Data.Style = src->Data.Style;
    Data.State = src->Data.State;
}

bool TcxEditButtonViewInfo::SameLook(const TcxEditButtonViewInfo* other) const
{
    return Data.Style == other->Data.Style && Data.State == other->Data.State &&
           Data.BackgroundColor == other->Data.BackgroundColor && Data.NativeState == other->Data.NativeState;
}

TcxRegion* TcxEditButtonViewInfo::GetUpdateRegion(TcxEditButtonViewInfo* previous)
{
    if (SameLook(previous))
        return new TcxRegion();
    return new TcxRegion(Bounds);
}

bool TcxEditButtonViewInfo::Repaint(TWinControl* control, TcxEditButtonViewInfo* previous, const TPoint& offset)
{
    if (SameLook(previous))
        return false;
    if (control && control->HandleAllocated())
        control->InvalidateRect(cxRectOffset(Bounds, offset), HasBackground);
    return true;
}

} // namespace cx

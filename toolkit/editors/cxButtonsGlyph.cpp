// The push button's colours, speed-button options, glyph with its layout, and the process-wide
// glyph cache.
#include "toolkit/editors/cxButtons.h"

#include "platform/gdi/Text.h"

#include <algorithm>

namespace cx {

// ---- colours ----

TPersistent* TcxButtonColors::GetOwner() { return owner_; }

void TcxButtonColors::Assign(TPersistent* source)
{
    auto* c = dynamic_cast<TcxButtonColors*>(source);
    if (!c)
        return TPersistent::Assign(source);
    std::copy(std::begin(c->colors_), std::end(c->colors_), std::begin(colors_));
    assigned_ = c->assigned_;
    owner_->Invalidate();
}

void TcxButtonColors::SetColor(TcxButtonAssignedColor index, TColor value)
{
    if (value == clNone || value == clDefault) {
        colors_[index] = clDefault;
        assigned_.Exclude(index);
    } else {
        colors_[index] = value;
        assigned_.Include(index);
    }
    owner_->Invalidate();
}

void TcxButtonColors::SetAssignedColors(TcxButtonAssignedColors value)
{
    if (!owner_->ComponentState().Contains(csDesigning))
        return;
    for (int i = cxbcDefault; i <= cxbcPressedText; ++i) {
        const auto index = TcxButtonAssignedColor(i);
        if (!value.Contains(index))
            colors_[i] = clDefault;
        else if (colors_[i] == clDefault)
            value.Exclude(index);
    }
    assigned_ = value;
    owner_->Invalidate();
}

// ---- speed-button options ----

TPersistent* TcxSpeedButtonOptions::GetOwner() { return owner_; }

void TcxSpeedButtonOptions::Assign(TPersistent* source)
{
    auto* o = dynamic_cast<TcxSpeedButtonOptions*>(source);
    if (!o)
        return TPersistent::Assign(source);
    SetGroupIndex(o->groupIndex_);
    SetCanBeFocused(o->canBeFocused_);
    SetAllowAllUp(o->allowAllUp_);
    SetDown(o->Down());
    SetFlat(o->flat_);
    SetTransparent(o->transparent_);
}

bool TcxSpeedButtonOptions::Active() const { return owner_ && (groupIndex_ != 0 || !canBeFocused_); }

bool TcxSpeedButtonOptions::Down() const { return owner_ && owner_->Down(); }

void TcxSpeedButtonOptions::SetDown(bool value)
{
    if (owner_)
        owner_->SetDown(value);
}

void TcxSpeedButtonOptions::Changed(bool updateGroup)
{
    if (updateGroup)
        UpdateGroup();
    if (owner_)
        owner_->Invalidate();
}

void TcxSpeedButtonOptions::SetGroupIndex(int value)
{
    if (groupIndex_ == value)
        return;
    groupIndex_ = value;
    if (value == 0 && owner_)
        owner_->internalState_.Exclude(bisDown);
    Changed(value != 0);
}

void TcxSpeedButtonOptions::SetCanBeFocused(bool value)
{
    if (canBeFocused_ != value) {
        canBeFocused_ = value;
        Changed(true);
    }
}

void TcxSpeedButtonOptions::SetAllowAllUp(bool value)
{
    if (allowAllUp_ != value) {
        allowAllUp_ = value;
        Changed(true);
    }
}

void TcxSpeedButtonOptions::SetFlat(bool value)
{
    if (flat_ != value) {
        flat_ = value;
        Changed(true);
    }
}

void TcxSpeedButtonOptions::SetTransparent(bool value)
{
    if (transparent_ != value) {
        transparent_ = value;
        Changed(true);
    }
}

void TcxSpeedButtonOptions::EndUpdate()
{
    --lockCount_;
    UpdateGroup();
}

void TcxSpeedButtonOptions::UpdateGroup()
{
    if (!Active() || Locked() || groupIndex_ == 0 || !owner_->Parent())
        return;
    TWinControl* parent = owner_->Parent();
    for (int i = 0; i < parent->ControlCount(); ++i)
        parent->Controls(i)->Perform(CM_BUTTONPRESSED, WPARAM(groupIndex_), reinterpret_cast<LPARAM>(owner_));
}

// ---- the glyph cache ----

namespace {
std::vector<TcxGlyphList*>* glyphLists = nullptr;
}

TcxGlyphList::TcxGlyphList(int width, int height) : TcxImageList(nullptr)
{
    SetWidth(width);
    SetHeight(height);
}

int TcxGlyphList::AddGlyph(TBitmap* image, TColor maskColor)
{
    for (std::size_t i = 0; i < used_.size(); ++i)
        if (!used_[i]) {
            ReplaceMasked(int(i), image, maskColor);
            used_[i] = true;
            return int(i);
        }
    const int index = AddMasked(image, maskColor);
    if (index >= 0) {
        used_.resize(std::size_t(index) + 1, false);
        used_[std::size_t(index)] = true;
    }
    return index;
}

void TcxGlyphList::ReleaseGlyph(int index)
{
    if (index >= 0 && std::size_t(index) < used_.size())
        used_[std::size_t(index)] = false;
}

int TcxGlyphList::UsedCount() const { return int(std::count(used_.begin(), used_.end(), true)); }

TcxGlyphList* TcxGlyphCache::GetList(int width, int height)
{
    if (!glyphLists)
        glyphLists = new std::vector<TcxGlyphList*>;
    for (TcxGlyphList* list : *glyphLists)
        if (list->GetWidth() == width && list->GetHeight() == height)
            return list;
    auto* list = new TcxGlyphList(width, height);
    glyphLists->push_back(list);
    return list;
}

void TcxGlyphCache::ReleaseImage(TcxGlyphList* list, int index)
{
    if (!list || !glyphLists)
        return;
    list->ReleaseGlyph(index);
    if (list->UsedCount() > 0)
        return;
    glyphLists->erase(std::remove(glyphLists->begin(), glyphLists->end(), list), glyphLists->end());
    list->Free();
    if (glyphLists->empty()) {
        delete glyphLists;
        glyphLists = nullptr;
    }
}

int TcxGlyphCache::ListCount() { return glyphLists ? int(glyphLists->size()) : 0; }

// ---- the glyph ----

TcxButtonGlyph::TcxButtonGlyph() : glyph_(std::make_unique<TBitmap>()) {}

TcxButtonGlyph::~TcxButtonGlyph() { FreeImages(); }

void TcxButtonGlyph::FreeImages()
{
    for (int& index : indexes_) {
        if (index >= 0)
            TcxGlyphCache::ReleaseImage(list_, index);
        index = -1;
    }
    list_ = nullptr;
}

void TcxButtonGlyph::Invalidate()
{
    FreeImages();
    CallEvent(OnChange, this);
}

void TcxButtonGlyph::SetGlyph(TBitmap* value)
{
    if (value)
        glyph_->Assign(value);
    else
        glyph_ = std::make_unique<TBitmap>();
    const int w = glyph_->GetWidth(), h = glyph_->GetHeight();
    numGlyphs_ = (h > 0 && w % h == 0 && w / h >= 1 && w / h < 5) ? w / h : 1;
    Invalidate();
}

void TcxButtonGlyph::SetImageList(TCustomImageList* images, int imageIndex)
{
    images_ = images;
    imageIndex_ = imageIndex;
    Invalidate();
}

void TcxButtonGlyph::SetNumGlyphs(int value)
{
    value = std::clamp(value, 1, 4);
    if (value != numGlyphs_) {
        numGlyphs_ = value;
        Invalidate();
    }
}

bool TcxButtonGlyph::HasImage() const
{
    return !glyph_->GetEmpty() || (images_ && imageIndex_ >= 0 && imageIndex_ < images_->Count());
}

TSize TcxButtonGlyph::GlyphSize() const
{
    if (!glyph_->GetEmpty())
        return {glyph_->GetWidth() / numGlyphs_, glyph_->GetHeight()};
    if (images_ && imageIndex_ >= 0 && imageIndex_ < images_->Count())
        return {images_->GetWidth(), images_->GetHeight()};
    return {0, 0};
}

namespace {
// The platform states of a glyph strip: up, disabled, down, exclusive.
int PlatformState(TcxButtonState state, int numGlyphs)
{
    switch (state) {
    case cxbsDisabled: return 1;
    case cxbsPressed: return numGlyphs < 3 ? 0 : 2;
    default: return 0;
    }
}
} // namespace

int TcxButtonGlyph::CreateButtonGlyph(int ps)
{
    const TSize size = GlyphSize();
    if (!list_)
        list_ = TcxGlyphCache::GetList(size.cx, size.cy);
    TBitmap image;
    image.SetPixelFormat(pf32bit);
    image.SetSize(size.cx, size.cy);
    TColor key;
    if (!glyph_->GetEmpty()) {
        key = glyph_->Canvas()->GetPixel(0, glyph_->GetHeight() - 1);
        image.Canvas()->Brush()->SetColor(key);
        image.Canvas()->FillRect({0, 0, size.cx, size.cy});
        if (ps == 1 && numGlyphs_ == 1) {
            TcxCanvas canvas(image.Canvas());
            canvas.DrawGlyph(0, 0, glyph_.get(), false, key);
        } else {
            const int k = ps < numGlyphs_ ? ps : 0;
            image.Canvas()->CopyRect({0, 0, size.cx, size.cy}, glyph_->Canvas(),
                                     {k * size.cx, 0, (k + 1) * size.cx, size.cy});
        }
    } else {
        // A colour no picture of a list is expected to use stands for the list's mask.
        key = clFuchsia;
        image.Canvas()->Brush()->SetColor(key);
        image.Canvas()->FillRect({0, 0, size.cx, size.cy});
        images_->Draw(image.Canvas(), 0, 0, imageIndex_, ps != 1);
    }
    return list_->AddGlyph(&image, key);
}

int TcxButtonGlyph::ImageIndexFor(TcxButtonState state)
{
    if (!HasImage())
        return -1;
    const int ps = PlatformState(state, numGlyphs_);
    if (indexes_[ps] < 0)
        indexes_[ps] = CreateButtonGlyph(ps);
    return indexes_[ps];
}

TcxGlyphList* TcxButtonGlyph::ListFor(TcxButtonState state)
{
    ImageIndexFor(state);
    return list_;
}

TRect TcxButtonGlyph::GetTextOffsets(TButtonLayout) const
{
    return HasImage() ? TRect{0, 0, 0, 0} : TRect{1, 0, 2, 0};
}

TcxButtonGlyph::TLayout TcxButtonGlyph::CalcButtonLayout(TcxCanvas* canvas, const TRect& client, const TPoint& offset,
                                                         const std::string& caption, TButtonLayout layout,
                                                         int margin, int spacing, unsigned textFlags) const
{
    if (textFlags & gdi::DT_RIGHT) {
        if (layout == blGlyphLeft)
            layout = blGlyphRight;
        else if (layout == blGlyphRight)
            layout = blGlyphLeft;
    }
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    const TSize glyph = GlyphSize();
    TSize text{0, 0};
    if (!caption.empty()) {
        TRect bounds{0, 0, client.Width(), 0};
        if (horizontal)
            bounds.Right -= glyph.cx + spacing;
        const TRect o = GetTextOffsets(layout);
        bounds = {bounds.Left + o.Left, bounds.Top + o.Top, bounds.Right - o.Right, bounds.Bottom - o.Bottom};
        canvas->WrappedCanvas()->RequiredState();
        gdi::DrawText(*canvas->GetHandle(), caption, bounds, textFlags | gdi::DT_CALCRECT);
        text = {bounds.Width() + o.Left + o.Right, bounds.Height() + o.Top + o.Bottom};
    }
    TPoint g, t;
    if (horizontal) {
        g.Y = (client.Height() - glyph.cy) / 2;
        t.Y = (client.Height() - text.cy - 1) / 2;
    } else {
        g.X = (client.Width() - glyph.cx) / 2;
        t.X = (client.Width() - text.cx) / 2;
    }
    const int s = horizontal ? client.Width() : client.Height();
    const int gs = horizontal ? glyph.cx : glyph.cy;
    const int ts = horizontal ? text.cx : text.cy;
    if (ts == 0 || gs == 0)
        spacing = 0;
    if (margin == -1 && spacing == -1) {
        margin = (s - (gs + ts)) / 3;
        spacing = margin;
    } else if (margin == -1) {
        margin = (s - (gs + spacing + ts)) / 2;
    } else if (spacing == -1) {
        spacing = ((s - (margin + gs)) - ts) / 2;
    }
    int gp, tp;
    if (layout == blGlyphLeft || layout == blGlyphTop) {
        gp = margin;
        tp = margin + gs + spacing;
    } else {
        gp = s - margin - gs;
        tp = gp - spacing - ts;
    }
    (horizontal ? g.X : g.Y) = gp;
    (horizontal ? t.X : t.Y) = tp;
    const int dx = client.Left + offset.X, dy = client.Top + offset.Y;
    return {{g.X + dx, g.Y + dy}, {t.X + dx, t.Y + dy, t.X + dx + text.cx, t.Y + dy + text.cy}};
}

void TcxButtonGlyph::Draw(TcxCanvas* canvas, const TRect& client, const TPoint& offset, const std::string& caption,
                          TButtonLayout layout, int margin, int spacing, TcxButtonState state, unsigned textFlags)
{
    const TLayout l = CalcButtonLayout(canvas, client, offset, caption, layout, margin, spacing, textFlags);
    DrawButtonGlyph(canvas, l.GlyphPos, state);
    DrawButtonText(canvas, caption, l.TextBounds, state, textFlags);
}

void TcxButtonGlyph::DrawButtonGlyph(TcxCanvas* canvas, const TPoint& p, TcxButtonState state)
{
    const int index = ImageIndexFor(state);
    if (index >= 0)
        list_->Draw(canvas->WrappedCanvas(), p.X, p.Y, index);
}

void TcxButtonGlyph::DrawButtonText(TcxCanvas* canvas, const std::string& caption, TRect r, TcxButtonState state,
                                    unsigned textFlags)
{
    if (caption.empty())
        return;
    TCanvas* c = canvas->WrappedCanvas();
    const TBrushStyle oldStyle = c->Brush()->GetStyle();
    c->Brush()->SetStyle(bsClear);
    const unsigned flags = textFlags | gdi::DT_CENTER | gdi::DT_VCENTER;
    if (state == cxbsDisabled) {
        const TColor color = c->Font()->GetColor();
        c->Font()->SetColor(clBtnHighlight);
        TRect shifted = cxRectOffset(r, 1, 1);
        c->RequiredState();
        gdi::DrawText(*c->GetHandle(), caption, shifted, flags);
        c->Font()->SetColor(color);
    }
    c->RequiredState();
    gdi::DrawText(*c->GetHandle(), caption, r, flags);
    c->Brush()->SetStyle(oldStyle);
}

} // namespace cx

// The memo: its settings and cell text, its view data, the inner memo with the text family's
// input roads, the control's keys and layout, the filter helper and the unit's start-up.
#include "toolkit/editors/cxMemo.h"

#include "platform/rtl/Filer.h"
#include "platform/rtl/Unicode.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/EditBox.h"
#include "toolkit/editors/cxEditConsts.h"

namespace cx {

namespace {
constexpr unsigned kWordBreak = 0x100, kNoClip = 0x400, kEditControl = 0x4000, kExpandTabs = 0x20000,
                   kPreventLeft = 0x40000;
constexpr int kCellTextLimit = 250;
} // namespace

// ---- unit routines ---------------------------------------------------------------------------------

void ExtractFirstLine(std::u16string& text, int maxLength)
{
    const std::size_t limit =
        maxLength <= 0 || std::size_t(maxLength) >= text.size() ? text.size() : std::size_t(maxLength);
    const std::size_t br = text.find_first_of(u"\r\n");
    text.resize(std::min(limit, br == std::u16string::npos ? text.size() : br));
}

std::u16string NormalizeMemoLineBreaks(const std::u16string& text)
{
    std::u16string out;
    out.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const char16_t next = i + 1 < text.size() ? text[i + 1] : 0;
        if ((c == u'\r' && next == u'\n') || (c == u'\n' && next == u'\r')) {
            // CR LF is one break; LF CR is two.
            out += c == u'\r' ? u"\r\n" : u"\r\n\r\n";
            ++i;
        } else if (c == u'\r' || c == u'\n') {
            out += u"\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

// ---- properties --------------------------------------------------------------------------------------

TcxCustomMemoProperties::TcxCustomMemoProperties(TPersistent* owner) : TcxCustomTextEditProperties(owner)
{
    Alignment()->SetVert(taTopJustify);
    SetAutoSelect(false);
}

void TcxCustomMemoProperties::Assign(TPersistent* source)
{
    auto* s = dynamic_cast<TcxCustomMemoProperties*>(source);
    if (!s)
        return TcxCustomTextEditProperties::Assign(source);
    BeginUpdate();
    TcxCustomTextEditProperties::Assign(source);
    SetScrollBars(s->scrollBars_);
    SetVisibleLineCount(s->visibleLineCount_);
    SetWantReturns(s->wantReturns_);
    SetWantTabs(s->wantTabs_);
    SetWordWrap(s->wordWrap_);
    EndUpdate();
}

void TcxCustomMemoProperties::SetScrollBars(TScrollStyle value) { Set(scrollBars_, value); }
void TcxCustomMemoProperties::SetVisibleLineCount(int value) { Set(visibleLineCount_, std::max(value, 0)); }
void TcxCustomMemoProperties::SetWantReturns(bool value) { Set(wantReturns_, value); }
void TcxCustomMemoProperties::SetWantTabs(bool value) { Set(wantTabs_, value); }
void TcxCustomMemoProperties::SetWordWrap(bool value) { Set(wordWrap_, value); }

std::u16string TcxCustomMemoProperties::GetDisplayText(const Variant& editValue, bool fullText, bool isInplace)
{
    std::u16string text = TcxCustomTextEditProperties::GetDisplayText(editValue, true, isInplace);
    if (!fullText)
        ExtractFirstLine(text, kCellTextLimit);
    return text;
}

TcxCustomEditViewDataClass TcxCustomMemoProperties::GetViewDataClass() const
{
    return TcxCustomEditViewDataClass::Of<TcxCustomMemoViewData>();
}

TcxCustomEditViewInfoClass TcxCustomMemoProperties::GetViewInfoClass() const
{
    return TcxCustomEditViewInfoClass::Of<TcxCustomMemoViewInfo>();
}

const TClassMeta* TcxCustomMemoProperties::GetContainerClass() const { return TcxCustomEditClass::Of<TcxMemo>().Meta(); }

// ---- view data -----------------------------------------------------------------------------------------

unsigned TcxCustomMemoViewData::GetDrawTextFlags()
{
    TcxCustomMemoProperties* p = MemoProperties();
    unsigned flags = kEditControl | kPreventLeft | kNoClip;
    if (p->WordWrap() && p->ScrollBars() != ssHorizontal && p->ScrollBars() != ssBoth)
        flags |= kWordBreak | kExpandTabs;
    static const unsigned horz[] = {0, 2, 1};   // left, right, centre
    return flags | horz[p->Alignment()->Horz()];
}

TRect TcxCustomMemoViewData::GetDrawTextOffset() { return EditContentDefaultOffsets[IsInplace() ? 1 : 0]; }

TSize TcxCustomMemoViewData::GetEditContentSizeCorrection()
{
    const TRect o = GetDrawTextOffset();
    return {o.Left + o.Right, o.Top + o.Bottom};
}

int TcxCustomMemoViewData::GetMaxLineCount()
{
    const int lines = MemoProperties()->VisibleLineCount();
    return lines > 0 ? lines : TcxCustomTextEditViewData::GetMaxLineCount();
}

TSize TcxCustomMemoViewData::InternalGetEditConstantPartSize(TcxCanvas* canvas, bool isInplace,
                                                             const TcxEditSizeProperties& sizeProperties,
                                                             TSize& minContentSize, TcxCustomEditViewInfo* viewInfo)
{
    TSize size = TcxCustomTextEditViewData::InternalGetEditConstantPartSize(canvas, isInplace, sizeProperties,
                                                                            minContentSize, viewInfo);
    if (const int lines = MemoProperties()->VisibleLineCount(); lines > 0) {
        canvas->SetFont(GetStyle()->GetVisibleFont());
        minContentSize.cy = GetEditContentSizeCorrection().cy + lines * canvas->TextHeight("Zg");
    }
    return size;
}

TSize TcxCustomMemoViewData::InternalGetEditContentSize(TcxCanvas* canvas, const Variant& value,
                                                        const TcxEditSizeProperties& sizeProperties)
{
    const std::string text = Utf16ToUtf8(TextProperties()->GetDisplayText(value, true, IsInplace()));
    return GetTextEditContentSize(canvas, this, text, GetDrawTextFlags(), sizeProperties,
                                  MemoProperties()->VisibleLineCount(), true);
}

// ---- inner memo helper --------------------------------------------------------------------------------

TAlignment TcxCustomInnerMemoHelper::GetAlignment() { return field_->Alignment; }
void TcxCustomInnerMemoHelper::SetAlignment(TAlignment value)
{
    if (field_->Alignment == value)
        return;
    field_->Alignment = value;
    if (field_->Box())
        field_->Box()->SetAlignment(value == taRightJustify ? ES_RIGHT : value == taCenter ? ES_CENTER : ES_LEFT);
}

int TcxCustomInnerMemoHelper::GetFirstVisibleCharIndex()
{
    return field_->Box() ? field_->Box()->LineIndex(field_->Box()->FirstVisibleLine()) : 0;
}

// ---- inner memo -----------------------------------------------------------------------------------------

TcxCustomInnerMemo::TcxCustomInnerMemo(TComponent* owner) : TcxInnerControlMouseForwarder(owner)
{
    ControlStyle.Include(csDoubleClicks);
    SetBorderStyle(bsNone);
    SetCursor(crIBeam);
    SetExternalScrollBars(UsecxScrollBars());
    constructing_ = false;
}

bool TcxCustomInnerMemo::GetScrollBarInfo(TScrollBarKind kind, TcxScrollBarInfo& info)
{
    cxScrollBarStateToInfo(this, ScrollBarState(kind), info);
    return HandleAllocated();
}

bool TcxCustomInnerMemo::GetScrollInfo(TScrollBarKind kind, TcxScrollInfo& info)
{
    cxScrollBarStateToScrollInfo(ScrollBarState(kind), info);
    return HandleAllocated();
}

TcxCustomTextEdit* TcxCustomInnerMemo::Container() const { return dynamic_cast<TcxCustomTextEdit*>(Owner()); }

void TcxCustomInnerMemo::SetBounds(int left, int top, int width, int height)
{
    if (constructing_ || boundsLock_ > 0)
        return;
    TMemo::SetBounds(left, top, width, height);
}

void TcxCustomInnerMemo::LockBounds(bool lock)
{
    if (lock)
        ++boundsLock_;
    else if (boundsLock_ > 0)
        --boundsLock_;
}

bool TcxCustomInnerMemo::CanFocus() const
{
    TcxCustomTextEdit* c = Container();
    return c ? c->CanFocus() : TMemo::CanFocus();
}

void TcxCustomInnerMemo::DragOver(TObject* source, int x, int y, TDragState state, bool& accept)
{
    TMemo::DragOver(source, x, y, state, accept);
    if (AcceptsTextDrop(this, source))
        accept = true;
}

void TcxCustomInnerMemo::DragDrop(TObject* source, int x, int y)
{
    TMemo::DragDrop(source, x, y);
    DropTextInto(Container(), this, source, x, y);
}

void TcxCustomInnerMemo::Dispatch(TMessage& m)
{
    TcxCustomTextEdit* c = Container();
    if (!c || c->IsDestroying())
        return TMemo::Dispatch(m);
    if (RouteFieldInput(c, this, m, [this](TMessage& msg) { TMemo::Dispatch(msg); }))
        return;
    switch (m.Msg) {
    case WM_GETDLGCODE:
        TMemo::Dispatch(m);
        m.Result |= DLGC_WANTCHARS;
        if (c->TabsNeeded() && !KeyboardStateToShiftState().Contains(ssCtrl))
            m.Result |= DLGC_WANTTAB;
        // Esc belongs to the dialog (its Cancel button), never to the memo.
        if (escapePending_)
            m.Result &= ~LRESULT(DLGC_WANTALLKEYS);
        return;
    case CN_KEYDOWN: {
        const bool escape = std::uint16_t(m.WParam) == VK_ESCAPE;
        const bool old = escapePending_;
        escapePending_ = escape;
        TMemo::Dispatch(m);
        escapePending_ = old;
        return;
    }
    case WM_KEYDOWN: {
        TcxCustomInnerTextEditPrevState state;
        SaveTextEditState(&helper_, true, state);
        InternalUpdating = false;
        const auto alive = c->AliveToken();
        TMemo::Dispatch(m);
        if (alive.expired())
            return;
        c->SetScrollBarsParameters();
        // Up and Down always move inside the memo, even on its first or last line.
        const auto key = std::uint16_t(m.WParam);
        if (key != 0 && key != VK_UP && key != VK_DOWN && !InternalUpdating && !CheckTextEditState(&helper_, state)) {
            std::uint16_t k = key;
            c->DoAfterKeyDown(k, KeyboardStateToShiftState());
        }
        return;
    }
    case WM_CHAR:
    case EM_REPLACESEL:
    case EM_SETSEL:
        RouteFieldTyping(c, &helper_, m, [this](TMessage& msg) { TMemo::Dispatch(msg); });
        return;
    case CN_COMMAND:
    case WM_SIZE: {
        // Scrolled, resized or changed: the container's bars follow (unless a change handler
        // freed the editor).
        const auto alive = c->AliveToken();
        TMemo::Dispatch(m);
        const std::uint16_t code = HiWord(m.WParam);
        if (!alive.expired() &&
            (m.Msg == WM_SIZE || code == EN_VSCROLL || code == EN_HSCROLL || code == EN_CHANGE))
            c->SetScrollBarsParameters();
        return;
    }
    case WM_KILLFOCUS:
        TMemo::Dispatch(m);
        c->FocusChanged();
        return;
    default:
        TMemo::Dispatch(m);
    }
}

void TcxCustomInnerMemo::DefaultHandler(TMessage& m)
{
    TcxCustomTextEdit* c = Container();
    if (c && c->InnerControlDefaultHandler(m))
        return;
    TMemo::DefaultHandler(m);
}

// ---- control ---------------------------------------------------------------------------------------------

namespace {
TcxEditClasses MemoClasses(bool published)
{
    TcxEditClasses c;
    c.Properties = published ? TcxCustomEditPropertiesClass::Of<TcxMemoProperties>()
                             : TcxCustomEditPropertiesClass::Of<TcxCustomMemoProperties>();
    c.InnerEdit = TcxInnerEditClass::Of<TcxCustomInnerMemo>();
    return c;
}
} // namespace

TcxCustomMemo::TcxCustomMemo(TComponent* owner, bool isInplace) : TcxCustomTextEdit(owner, isInplace, MemoClasses(false))
{
    Construct();
}

TcxCustomMemo::TcxCustomMemo(TComponent* owner, bool isInplace, const TcxEditClasses& classes)
    : TcxCustomTextEdit(owner, isInplace, classes)
{
    Construct();
}

TcxMemo::TcxMemo(TComponent* owner, bool isInplace) : TcxCustomMemo(owner, isInplace, MemoClasses(true)) {}

void TcxCustomMemo::Construct()
{
    PropertiesChanged(Properties());
    SetBounds(Left(), Top(), 185, 89);
}

TcxCustomInnerMemo* TcxCustomMemo::InnerMemo() const
{
    return InnerEdit() ? dynamic_cast<TcxCustomInnerMemo*>(InnerEdit()->GetControl()) : nullptr;
}

std::vector<std::string> TcxCustomMemo::Lines() const
{
    return InnerMemo() ? InnerMemo()->Lines() : std::vector<std::string>{};
}

TPoint TcxCustomMemo::CaretPos() const { return InnerMemo() ? InnerMemo()->CaretPos() : TPoint{0, 0}; }

void TcxCustomMemo::SetCaretPos(const TPoint& p)
{
    if (InnerMemo())
        InnerMemo()->SetCaretPos(p);
}

bool TcxCustomMemo::CanMemoKeyModifyEdit(std::uint16_t key, TShiftState shift, bool isKeyPress)
{
    if (key == VK_RETURN)
        return ActiveProperties()->WantReturns() || shift.Contains(ssCtrl);
    if (key == VK_TAB)
        return isKeyPress || ActiveProperties()->WantTabs();
    return false;
}

bool TcxCustomMemo::CanKeyDownModifyEdit(std::uint16_t key, TShiftState shift)
{
    return TcxCustomTextEdit::CanKeyDownModifyEdit(key, shift) || CanMemoKeyModifyEdit(key, shift, false);
}

bool TcxCustomMemo::TabsNeeded() const
{
    return TcxCustomTextEdit::TabsNeeded() || (Properties() && ActiveProperties()->WantTabs());
}

void TcxCustomMemo::KeyDown(std::uint16_t& key, TShiftState shift)
{
    // In place, Enter that makes a line break goes into the memo before the host sees it.
    if (IsInplace() && key == VK_RETURN &&
        (ActiveProperties()->WantReturns() != shift.Contains(ssCtrl))) {
        DoEditKeyDown(key, shift);
        return;
    }
    TcxCustomTextEdit::KeyDown(key, shift);
}

void TcxCustomMemo::DoEditKeyDown(std::uint16_t& key, TShiftState shift)
{
    TcxCustomTextEdit::DoEditKeyDown(key, shift);
    if (key == 'A' && shift.Contains(ssCtrl) && !shift.Contains(ssShift) && !shift.Contains(ssAlt) &&
        !Text().empty()) {
        SelectAll();
        DoAfterKeyDown(key, shift);
        key = 0;
    }
}

void TcxCustomMemo::AdjustInnerEditPosition()
{
    TcxCustomInnerMemo* memo = InnerMemo();
    TcxCustomEditViewInfo* vi = EditViewInfo();
    if (!memo || !vi)
        return;
    const TRect r = vi->ClientRect;
    if (memo->BoundsRect() != r)
        memo->SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

bool TcxCustomMemo::NeedsScrollBars() const
{
    return scrollBarsChanged_ && Properties() && ActiveProperties()->ScrollBars() != ssNone;
}

void TcxCustomMemo::Scroll(TScrollBarKind kind, TScrollCode code, int& pos)
{
    TcxCustomInnerMemo* memo = InnerMemo();
    if (!memo || !memo->HandleAllocated())
        return;
    if (kind == sbVertical && (code == scLineUp || code == scLineDown)) {
        memo->Perform(EM_LINESCROLL, 0, code == scLineUp ? -1 : 1);
    } else {
        TMessage m{kind == sbVertical ? WM_VSCROLL : WM_HSCROLL, WPARAM(MakeLParam(int(code), pos)), 0, 0};
        memo->DefWndProc(m);
    }
    pos = memo->ScrollBarState(kind).Pos;
}

void TcxCustomMemo::SetScrollBarsParameters(bool skipPlacement)
{
    TcxCustomTextEdit::SetScrollBarsParameters(skipPlacement);
    TcxSizeGrip* grip = SizeGrip();
    if (!grip || IsDestroying())
        return;
    const bool both = NeedsScrollBars() && HScrollBar()->Visible() && VScrollBar()->Visible();
    if (both) {
        const TRect h = HScrollBar()->BoundsRect(), v = VScrollBar()->BoundsRect();
        grip->SetBoundsRect({v.Left, h.Top, v.Right, h.Bottom});
        MoveChildToFront(grip);
    }
    if (grip->Visible() != both)
        grip->SetVisible(both);
}

void TcxCustomMemo::ReadState(rtl::TReader* reader)
{
    reader->ReadProperties(this);
    if (InnerMemo() && !Lines().empty()) {
        Variant value;
        PrepareEditValue(Variant(InnerMemo()->Text()), value, InternalFocused());
        SetEditValueSilently(value);
    }
}

void TcxCustomMemo::PropertiesChanged(TObject* sender)
{
    if (TcxCustomInnerMemo* memo = InnerMemo(); memo && Properties() && !PropertiesChangeLocked()) {
        TcxCustomMemoProperties* p = ActiveProperties();
        if (memo->ScrollBars() != p->ScrollBars()) {
            // From the first change on, the container keeps bars for the memo to show.
            scrollBarsChanged_ = true;
            memo->SetScrollBars(p->ScrollBars());
            CheckNeedsScrollBars();
        }
        memo->WantReturns = p->WantReturns();
        memo->WantTabs = p->WantTabs();
        memo->SetWordWrap(p->WordWrap());
        // Only a memo that shows a fixed number of lines sizes itself.
        SetEditAutoSize(p->VisibleLineCount() >= 1);
    }
    TcxCustomTextEdit::PropertiesChanged(sender);
    SetScrollBarsParameters();
}

void TcxCustomMemo::PasteFromClipboard()
{
    if (!Clipboard()->HasFormat(CF_TEXT))
        return;
    const std::string text = Utf16ToUtf8(NormalizeMemoLineBreaks(Utf8ToUtf16(Clipboard()->AsText())));
    // The whole text stays within MaxLength (the text editor's rule for a replaced selection).
    TcxUserChangeScope userChange(this, IsEditFocused());
    SetSelText(text);
}

// ---- filter helper and start-up -------------------------------------------------------------------------

TcxCustomEditClass TcxFilterMemoHelper::GetFilterEditClass() const { return TcxCustomEditClass::Of<TcxMemo>(); }

TcxCustomEditPropertiesClass TcxFilterMemoHelper::GetFilterEditPropertiesClass() const
{
    return TcxCustomEditPropertiesClass::Of<TcxMemoProperties>();
}

TcxFilterControlOperators TcxFilterMemoHelper::GetSupportedFilterOperators(TcxCustomEditProperties*,
                                                                           TcxValueTypeClass, bool) const
{
    return {fcoLike, fcoNotLike, fcoBlanks, fcoNonBlanks};
}

namespace cxMemoUnit {
namespace {
TcxEditKindUnit<TcxMemoProperties, TcxFilterMemoHelper, TcxMemo> unit;
} // namespace

void Initialize() { unit.Initialize(&scxSEditRepositoryMemoItem); }
void Finalize() { unit.Finalize(); }
} // namespace cxMemoUnit

} // namespace cx

// The hyperlink editor: the prefix, the strict address rule and the opener, link colour and
// underline, the start triggers and the hand cursor, the filter helper and the unit's start-up.
#include "toolkit/editors/cxHyperLinkEdit.h"

#include <QDesktopServices>
#include <QUrl>

#include "platform/rtl/Filer.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/SystemFacade.h"
#include "toolkit/controls/cxControlsTimers.h"
#include "toolkit/editors/cxEditConsts.h"
#include "toolkit/editors/cxEditRepositoryItems.h"

namespace cx {

// ---- opener and address rule -------------------------------------------------------------------

namespace {
TcxHyperLinkOpener& InstalledOpener()
{
    static TcxHyperLinkOpener opener;
    return opener;
}

bool OpenWithDesktop(const std::string& url)
{
    return QDesktopServices::openUrl(QUrl::fromEncoded(QByteArray::fromStdString(url), QUrl::StrictMode));
}

bool IsAlnum(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

// Host names: dot-separated labels of letters, digits and inner hyphens (an IPv4 address is such
// a name too).
bool IsHostName(std::string_view host)
{
    if (host.empty() || host.size() > 253)
        return false;
    std::size_t start = 0;
    while (true) {
        const std::size_t dot = host.find('.', start);
        const std::string_view label = host.substr(start, dot == std::string_view::npos ? host.npos : dot - start);
        if (label.empty() || label.size() > 63 || label.front() == '-' || label.back() == '-')
            return false;
        for (char c : label)
            if (!IsAlnum(c) && c != '-')
                return false;
        if (dot == std::string_view::npos)
            return true;
        start = dot + 1;
    }
}

// The characters an address may carry past its host: printable ASCII without spaces, quotes,
// angle brackets and the other characters that must be escaped.
bool IsSafeTail(std::string_view tail)
{
    for (char c : tail) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u >= 0x7F)
            return false;
        if (std::string_view("\"<>\\^`{|}").find(c) != std::string_view::npos)
            return false;
    }
    return true;
}

bool IsMailbox(std::string_view address)
{
    const std::size_t query = address.find('?');
    const std::string_view box = address.substr(0, query);
    const std::size_t at = box.find('@');
    if (at == std::string_view::npos || at == 0 || box.find('@', at + 1) != std::string_view::npos)
        return false;
    for (char c : box.substr(0, at))
        if (!IsAlnum(c) && std::string_view(".!#$%&'*+/=?^_~-").find(c) == std::string_view::npos)
            return false;
    return IsHostName(box.substr(at + 1)) && IsSafeTail(address);
}

const char* const kLinkSchemes[] = {"http://", "https://", "ftp://"};

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

bool HasAddressScheme(std::string_view s)
{
    for (const char* scheme : kLinkSchemes)
        if (StartsWith(s, scheme))
            return true;
    return StartsWith(s, "mailto:");
}
} // namespace

TcxHyperLinkOpener SetHyperLinkOpener(TcxHyperLinkOpener opener)
{
    TcxHyperLinkOpener old = std::move(InstalledOpener());
    InstalledOpener() = std::move(opener);
    return old;
}

bool IsWellFormedHyperLink(const std::string& url)
{
    if (StartsWith(url, "mailto:"))
        return IsMailbox(std::string_view(url).substr(7));
    for (const char* scheme : kLinkSchemes) {
        if (!StartsWith(url, scheme))
            continue;
        const std::string_view rest = std::string_view(url).substr(std::char_traits<char>::length(scheme));
        const std::size_t end = rest.find_first_of("/?#");
        std::string_view authority = rest.substr(0, end);
        if (const std::size_t colon = authority.find(':'); colon != std::string_view::npos) {
            const std::string_view port = authority.substr(colon + 1);
            if (port.empty() || port.size() > 5)
                return false;
            for (char c : port)
                if (c < '0' || c > '9')
                    return false;
            authority = authority.substr(0, colon);
        }
        return IsHostName(authority) && (end == std::string_view::npos || IsSafeTail(rest.substr(end)));
    }
    return false;
}

// ---- properties -------------------------------------------------------------------------------------

TcxCustomHyperLinkEditProperties::TcxCustomHyperLinkEditProperties(TPersistent* owner)
    : TcxCustomTextEditProperties(owner), prefix_(cxGetResourceString(&scxSHyperLinkPrefix))
{
    SetAutoSelect(false);
}

void TcxCustomHyperLinkEditProperties::DefineProperties(TFiler* filer)
{
    TcxCustomTextEditProperties::DefineProperties(filer);
    filer->DefineProperty(
        "Prefix", [this](TReader* r) { SetPrefix(r->ReadString()); }, [this](TWriter* w) { w->WriteString(prefix_); },
        prefix_ != cxGetResourceString(&scxSHyperLinkPrefix));
}

void TcxCustomHyperLinkEditProperties::Assign(TPersistent* source)
{
    auto* s = dynamic_cast<TcxCustomHyperLinkEditProperties*>(source);
    if (!s)
        return TcxCustomTextEditProperties::Assign(source);
    BeginUpdate();
    TcxCustomTextEditProperties::Assign(source);
    SetLinkColor(s->linkColor_);
    prefix_ = s->prefix_;
    SetSingleClick(s->singleClick_);
    startKey_ = s->startKey_;
    usePrefix_ = s->usePrefix_;
    OnStartClick = s->OnStartClick;
    EndUpdate();
}

void TcxCustomHyperLinkEditProperties::SetLinkColor(TColor value)
{
    if (value == linkColor_)
        return;
    linkColor_ = value;
    Changed();
}

void TcxCustomHyperLinkEditProperties::SetSingleClick(bool value)
{
    if (value == singleClick_)
        return;
    singleClick_ = value;
    Changed();
}

std::string TcxCustomHyperLinkEditProperties::AddPrefixTo(const std::string& text)
{
    const std::string s = Trim(text);
    // An address that names its own scheme keeps it ("ftp://h" never becomes "http://ftp://h").
    if (prefix_.empty() || s.empty() || StartsWith(s, prefix_) || HasAddressScheme(s))
        return s;
    return Trim(prefix_ + s);
}

void TcxCustomHyperLinkEditProperties::ValidateDisplayValue(Variant& displayValue, std::string& errorText,
                                                            bool& error, IcxEditValidationTarget* edit)
{
    if (usePrefix_ == upAlways)
        displayValue = Variant(AddPrefixTo(VarToStr(displayValue)));
    TcxCustomTextEditProperties::ValidateDisplayValue(displayValue, errorText, error, edit);
}

TcxEditSupportedOperations TcxCustomHyperLinkEditProperties::GetSupportedOperations()
{
    TcxEditSupportedOperations result = TcxCustomTextEditProperties::GetSupportedOperations();
    if (singleClick_)
        result.Include(esoAlwaysHotTrack);
    return result;
}

TcxContainerStyleClass TcxCustomHyperLinkEditProperties::GetStyleClass() const
{
    return TcxContainerStyleClass::Of<TcxHyperLinkStyle>();
}

TcxCustomEditViewInfoClass TcxCustomHyperLinkEditProperties::GetViewInfoClass() const
{
    return TcxCustomEditViewInfoClass::Of<TcxHyperLinkEditViewInfo>();
}

const TClassMeta* TcxCustomHyperLinkEditProperties::GetContainerClass() const
{
    return TcxCustomEditClass::Of<TcxHyperLinkEdit>().Meta();
}

// ---- style and view info -------------------------------------------------------------------------------

TColor TcxHyperLinkStyle::GetTextColor() const
{
    if (DirectAccessMode())
        return TcxEditStyle::GetTextColor();
    auto* edit = dynamic_cast<TcxCustomHyperLinkEdit*>(GetEdit());
    if (!edit || !edit->Properties())
        return clBlue;
    return edit->ActiveProperties()->LinkColor();
}

TFontStyles TcxHyperLinkStyle::GetTextStyle() const
{
    return TcxEditStyle::GetTextStyle() | FontStyle(fsUnderline);
}

TcxCustomHyperLinkEditProperties* TcxHyperLinkEditViewInfo::LinkProperties() const
{
    return dynamic_cast<TcxCustomHyperLinkEditProperties*>(EditProperties);
}

TColor TcxHyperLinkEditViewInfo::GetHyperLinkTextColor() const
{
    TcxCustomHyperLinkEditProperties* p = LinkProperties();
    const TColor color = p ? p->LinkColor() : clBlue;
    if (color == clBlue && Painter)
        return Painter->DefaultHyperlinkTextColor();
    return color;
}

void TcxHyperLinkEditViewInfo::GetColorSettingsByPainter(TColor& background, TColor& textColor) const
{
    TcxCustomTextEditViewInfo::GetColorSettingsByPainter(background, textColor);
    textColor = GetHyperLinkTextColor();
}

bool TcxHyperLinkEditViewInfo::IsHotTrack() const
{
    TcxCustomHyperLinkEditProperties* p = LinkProperties();
    return TcxCustomTextEditViewInfo::IsHotTrack() || (p && p->SingleClick());
}

bool TcxHyperLinkEditViewInfo::IsHotTrack(const TPoint& pt) const
{
    TcxCustomHyperLinkEditProperties* p = LinkProperties();
    return TcxCustomTextEditViewInfo::IsHotTrack(pt) || (p && p->SingleClick());
}

void TcxHyperLinkEditViewInfo::PrepareCanvasFont(TCanvas* canvas)
{
    TcxCustomTextEditViewInfo::PrepareCanvasFont(canvas);
    if (Edit)
        return;
    canvas->Font()->SetStyle(canvas->Font()->GetStyle() | FontStyle(fsUnderline));
    canvas->Font()->SetColor(IsSelected ? TextColor : GetHyperLinkTextColor());
}

// ---- control -------------------------------------------------------------------------------------------

namespace {
TcxEditClasses HyperLinkEditClasses(bool published)
{
    TcxEditClasses c;
    c.Properties = published ? TcxCustomEditPropertiesClass::Of<TcxHyperLinkEditProperties>()
                             : TcxCustomEditPropertiesClass::Of<TcxCustomHyperLinkEditProperties>();
    c.InnerEdit = TcxInnerEditClass::Of<TcxCustomInnerTextEdit>();
    return c;
}
} // namespace

TcxCustomHyperLinkEdit::TcxCustomHyperLinkEdit(TComponent* owner, bool isInplace)
    : TcxCustomTextEdit(owner, isInplace, HyperLinkEditClasses(false))
{
    PropertiesChanged(Properties());
}

TcxCustomHyperLinkEdit::TcxCustomHyperLinkEdit(TComponent* owner, bool isInplace, const TcxEditClasses& classes)
    : TcxCustomTextEdit(owner, isInplace, classes)
{
    PropertiesChanged(Properties());
}

TcxHyperLinkEdit::TcxHyperLinkEdit(TComponent* owner, bool isInplace)
    : TcxCustomHyperLinkEdit(owner, isInplace, HyperLinkEditClasses(true))
{
}

bool TcxCustomHyperLinkEdit::DoOnStartClick()
{
    // A handler may free the editor (and the properties holding the handler): it runs on a copy,
    // and nothing of the editor is read after it.
    bool handled = false;
    const auto alive = AliveToken();
    if (Properties()->OnStartClick) {
        vcl::FireEvent(Properties()->OnStartClick, this);
        handled = true;
        if (alive.expired())
            return true;
    }
    if (RepositoryItem() && ActiveProperties() != Properties() && ActiveProperties()->OnStartClick) {
        vcl::FireEvent(ActiveProperties()->OnStartClick, this);
        handled = true;
    }
    return handled;
}

bool TcxCustomHyperLinkEdit::DoStart()
{
    if (DoOnStartClick())
        return true;
    std::string url = Trim(VarToStr(GetDisplayValue()));
    if (ActiveProperties()->UsePrefix() != upNever)
        url = ActiveProperties()->AddPrefixTo(url);
    if (url.empty())
        return false;
    if (!IsWellFormedHyperLink(url)) {
        vcl::System().Beep();
        return false;
    }
    const TcxHyperLinkOpener& opener = InstalledOpener();
    if (opener ? opener(url) : OpenWithDesktop(url))
        return true;
    if (OnOpenFailed)
        OnOpenFailed(this, url);
    else
        vcl::System().Beep();
    return false;
}

void TcxCustomHyperLinkEdit::KeyDown(std::uint16_t& key, TShiftState shift)
{
    if (key != 0 && ShortCut(key, shift) == ActiveProperties()->StartKey()) {
        key = 0;
        DoStart();
        return;
    }
    TcxCustomTextEdit::KeyDown(key, shift);
}

void TcxCustomHyperLinkEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    const auto alive = AliveToken();
    TcxCustomTextEdit::MouseDown(button, shift, x, y);
    if (alive.expired() || button != mbLeft || !shift.Contains(ssDouble) || ActiveProperties()->SingleClick())
        return;
    if (TcxCustomEditViewInfo* vi = EditViewInfo(); vi && cxRectPtIn(vi->ClientRect, {x, y}))
        DoStart();
}

void TcxCustomHyperLinkEdit::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    const auto alive = AliveToken();
    TcxCustomTextEdit::MouseUp(button, shift, x, y);
    if (alive.expired() || button != mbLeft || !ActiveProperties()->SingleClick() || SelLength() > 0)
        return;
    if (TcxCustomEditViewInfo* vi = EditViewInfo(); vi && cxRectPtIn(vi->ClientRect, {x, y}))
        DoStart();
}

void TcxCustomHyperLinkEdit::ShowHandCursor()
{
    if (handShown_ || !ActiveProperties()->SingleClick() || Cursor() != crDefault)
        return;
    // The editor and its field show the hand; the screen's cursor is never touched, so a missed
    // leave cannot leave the whole program with it.
    savedCursor_ = Cursor();
    handShown_ = true;
    SetCursor(crcxHandPoint);
    if (TcxCustomInnerTextEdit* inner = InnerTextEditControl())
        inner->SetCursor(crcxHandPoint);
}

void TcxCustomHyperLinkEdit::RestoreCursor()
{
    if (!handShown_)
        return;
    handShown_ = false;
    SetCursor(savedCursor_);
    if (TcxCustomInnerTextEdit* inner = InnerTextEditControl())
        inner->SetCursor(crIBeam);
}

void TcxCustomHyperLinkEdit::MouseEnter(TControl* control)
{
    TcxCustomTextEdit::MouseEnter(control);
    ShowHandCursor();
}

void TcxCustomHyperLinkEdit::MouseLeave(TControl* control)
{
    TcxCustomTextEdit::MouseLeave(control);
    RestoreCursor();
}

void TcxCustomHyperLinkEdit::ActivateByMouse(TShiftState shift, int x, int y, TcxCustomEditData*& editData)
{
    ShowHandCursor();
    TcxCustomTextEdit::ActivateByMouse(shift, x, y, editData);
}

void TcxCustomHyperLinkEdit::SelectAll()
{
    // An in-place single-click link does not select on the click that opens it.
    if (IsInplace() && ActiveProperties()->SingleClick())
        return;
    TcxCustomTextEdit::SelectAll();
}

void TcxCustomHyperLinkEdit::PropertiesChanged(TObject* sender)
{
    TcxCustomTextEdit::PropertiesChanged(sender);
    if (Properties() && !PropertiesChangeLocked() && ChangeEventsCatcher())
        ContainerStyleChanged(Style());
}

// ---- filter helper and start-up --------------------------------------------------------------------------

TcxCustomEditClass TcxFilterHyperLinkEditHelper::GetFilterEditClass() const
{
    return TcxCustomEditClass::Of<TcxHyperLinkEdit>();
}

TcxCustomEditPropertiesClass TcxFilterHyperLinkEditHelper::GetFilterEditPropertiesClass() const
{
    return TcxCustomEditPropertiesClass::Of<TcxHyperLinkEditProperties>();
}

namespace cxHyperLinkEditUnit {
namespace {
TcxEditKindUnit<TcxHyperLinkEditProperties, TcxFilterHyperLinkEditHelper, TcxHyperLinkEdit> unit;
} // namespace

void Initialize() { unit.Initialize(&scxSEditRepositoryHyperLinkItem); }
void Finalize() { unit.Finalize(); }
} // namespace cxHyperLinkEditUnit

} // namespace cx

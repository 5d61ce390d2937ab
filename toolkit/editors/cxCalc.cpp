#include "toolkit/editors/cxCalc.h"

#include "platform/rtl/Locale.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/SystemFacade.h"
#include "toolkit/core/cxGeometry.h"

#include <cmath>

namespace cx {

namespace {

struct ButtonDef {
    const char* caption;
    TcxCalcEditButtonType group;
};

// In TcxCalcButtonKind order; the decimal button's caption comes from the locale.
constexpr ButtonDef kButtons[cbNone] = {
    {"Back", cebtButton},     {"CE", cebtButton},       {"C", cebtButton},        {"MC", cebtOperation},
    {"MR", cebtOperation},    {"MS", cebtOperation},    {"M+", cebtOperation},    {"0", cebtDigit},
    {"1", cebtDigit},         {"2", cebtDigit},         {"3", cebtDigit},         {"4", cebtDigit},
    {"5", cebtDigit},         {"6", cebtDigit},         {"7", cebtDigit},         {"8", cebtDigit},
    {"9", cebtDigit},         {"+/-", cebtDigit},       {"", cebtDigit},          {"/", cebtOperation},
    {"*", cebtOperation},     {"-", cebtOperation},     {"+", cebtOperation},     {"sqrt", cebtFunction},
    {"%", cebtFunction},      {"1/x", cebtFunction},    {"=", cebtOperation},
};

// The keypad, rows 1 to 4, columns 1 to 5.
constexpr TcxCalcButtonKind kKeypad[4][5] = {
    {cbNum7, cbNum8, cbNum9, cbDiv, cbSqrt},
    {cbNum4, cbNum5, cbNum6, cbMul, cbPercent},
    {cbNum1, cbNum2, cbNum3, cbSub, cbRev},
    {cbNum0, cbSign, cbDecimal, cbAdd, cbEqual},
};

bool IsOperator(TcxCalcButtonKind kind) { return kind >= cbDiv && kind <= cbAdd; }

char DecimalSeparator() { return rtl::FormatSettings().DecimalSeparator; }

} // namespace

TcxCustomCalculator::TcxCustomCalculator(TComponent* owner) : TcxControl(owner)
{
    ControlStyle.Include(csOpaque);
    ControlStyle.Include(csCaptureMouse);
    ControlStyle.Exclude(csDoubleClicks);
    SetColor(clBtnFace);
    TabStop = true;
    SetKeys(TcxKeys{kAll, kArrows, kChars, kTab});
    for (int i = 0; i < cbNone; ++i) {
        buttons_[std::size_t(i)].Kind = TcxCalcButtonKind(i);
        buttons_[std::size_t(i)].ButtonType = kButtons[i].group;
        buttons_[std::size_t(i)].Text = kButtons[i].caption;
    }
    buttons_[cbDecimal].Text = std::string(1, DecimalSeparator());
    CreateLayout();
    // The creation size is kept as it is; the size rule applies from the first real resize.
    sizing_ = true;
    SetBounds(Left(), Top(), calcWidth_, calcHeight_);
    sizing_ = false;
}

TcxCustomLookAndFeelPainterClass TcxCustomCalculator::GetPainter() const
{
    return TcxStandardLookAndFeelPainter::Class();
}

void TcxCustomCalculator::HidePopup(rtl::TObject* sender, TcxEditCloseUpReason reason)
{
    rtl::CallEvent(OnHidePopup, sender, reason);
}

void TcxCustomCalculator::SetFocusRectVisible(bool value)
{
    if (focusRectVisible_ != value) {
        focusRectVisible_ = value;
        Invalidate();
    }
}

// ---- layout and size ----

void TcxCustomCalculator::CreateLayout()
{
    const int bw = buttonWidth_, bh = buttonHeight_, xs = xSpace_, ys = ySpace_;
    auto rowRect = [&](int row, int left, int width) {
        return TRect{left, row * (bh + ys) + ys, left + width, (row + 1) * (bh + ys)};
    };
    const TcxCalcButtonKind memory[4] = {cbMC, cbMR, cbMS, cbMP};
    for (int r = 1; r <= 4; ++r)
        buttons_[memory[r - 1]].BtnRect = rowRect(r, xs, bw);
    const int x0 = xs + bw + 2 * xs + 4;
    for (int r = 1; r <= 4; ++r)
        for (int c = 1; c <= 5; ++c)
            buttons_[kKeypad[r - 1][c - 1]].BtnRect = rowRect(r, x0 + (c - 1) * (bw + xs), bw);
    int right = buttons_[cbEqual].BtnRect.Right;
    for (TcxCalcButtonKind kind : {cbClear, cbCancel, cbBack}) {
        buttons_[kind].BtnRect = {right - bigButtonWidth_, ys, right, ys + bh};
        right -= bigButtonWidth_ + ys;
    }
    lastOperator_ = cbEqual;
    status_ = csFirst;
    memory_ = 0;
    UpdateMemoryButtons();
}

void TcxCustomCalculator::CalcSize(int& width, int& height)
{
    int bh;
    if (AutoFontSize) {
        const int limit = std::min(rtl::MulDiv(width, 131, 198), height);
        auto total = [](int h) { return 5 * h + 6 * rtl::MulDiv(h, 3, 22); };
        bh = 22;
        while (std::abs(total(bh + 1) - limit) < std::abs(total(bh) - limit))
            ++bh;
    } else {
        TcxCanvas* canvas = GetActiveCanvas();
        canvas->SetFont(Font());
        bh = 2 * canvas->TextExtent("0").cy;
    }
    buttonHeight_ = bh;
    buttonWidth_ = rtl::MulDiv(bh, 28, 22);
    xSpace_ = ySpace_ = rtl::MulDiv(bh, 3, 22);
    bigButtonWidth_ = rtl::MulDiv(buttonWidth_, 17, 10);
    fontSize_ = rtl::MulDiv(bh, 8, 22);
    height = 5 * bh + 6 * ySpace_;
    width = 6 * buttonWidth_ + 8 * xSpace_ + 4;
    calcWidth_ = width;
    calcHeight_ = height;
    CreateLayout();
}

void TcxCustomCalculator::Resize()
{
    TcxControl::Resize();
    if (sizing_)
        return;
    int w = ClientWidth(), h = ClientHeight();
    CalcSize(w, h);
    if (w != ClientWidth() || h != ClientHeight()) {
        sizing_ = true;
        SetBounds(Left(), Top(), Width() - ClientWidth() + w, Height() - ClientHeight() + h);
        sizing_ = false;
    }
    Invalidate();
}

TcxCalcButtonKind TcxCustomCalculator::GetButtonKindAt(int x, int y) const
{
    for (const auto& b : buttons_)
        if (cxRectPtIn(b.BtnRect, x, y))
            return b.Kind;
    return cbNone;
}

// ---- display ----

std::string TcxCustomCalculator::DisplayText() const
{
    std::string text;
    GetEditorValue(text);
    return text;
}

void TcxCustomCalculator::SetDisplayText(const std::string& text)
{
    if (text == DisplayText())
        return;
    SetEditorValue(text);
    rtl::CallEvent(OnDisplayChange, this);
}

long double TcxCustomCalculator::Display() const
{
    if (status_ == csError)
        return 0;
    std::string text = rtl::Trim(DisplayText());
    const char thousands = rtl::FormatSettings().ThousandSeparator;
    std::erase(text, thousands);
    if (text.empty())
        text = "0";
    double value = 0;
    return rtl::TryStrToFloat(text, value) ? value : 0;
}

void TcxCustomCalculator::SetDisplay(long double value)
{
    SetDisplayText(rtl::FloatToStrG(value, std::max(2, Precision)));
}

void TcxCustomCalculator::CheckFirst()
{
    if (status_ == csFirst) {
        status_ = csValid;
        SetDisplayText("0");
    }
}

void TcxCustomCalculator::Clear()
{
    status_ = csFirst;
    SetDisplay(0);
    lastOperator_ = cbEqual;
}

void TcxCustomCalculator::Error()
{
    status_ = csError;
    SetDisplayText(cxGetResourceString(&scxSCalcError));
    if (BeepOnError)
        vcl::System().Beep();
}

void TcxCustomCalculator::UpdateMemoryButtons()
{
    const bool empty = memory_ == 0;
    for (TcxCalcButtonKind kind : {cbMC, cbMR}) {
        buttons_[kind].Grayed = empty;
        InvalidateButton(kind);
    }
}

void TcxCustomCalculator::InvalidateButton(TcxCalcButtonKind kind)
{
    if (kind != cbNone && HandleAllocated())
        InvalidateRect(buttons_[kind].BtnRect, false);
}

// ---- buttons ----

void TcxCustomCalculator::Digit(TcxCalcButtonKind kind)
{
    CheckFirst();
    std::string text = DisplayText();
    if (text == "0")
        text.clear();
    const std::size_t minus = text.find('-');
    const std::size_t limit = (minus == std::string::npos ? 0 : minus + 1) + std::size_t(std::max(2, Precision));
    if (text.size() < limit)
        SetDisplayText(text + char('0' + (kind - cbNum0)));
    else if (BeepOnError)
        vcl::System().Beep();
}

void TcxCustomCalculator::Calculate(TcxCalcButtonKind kind)
{
    if (status_ == csValid) {
        status_ = csFirst;
        long double value = Display();
        if (kind == cbPercent) {
            if (lastOperator_ == cbDiv || lastOperator_ == cbMul)
                value /= 100;
            else if (lastOperator_ == cbSub || lastOperator_ == cbAdd)
                value = operand_ * value / 100;
        }
        long double result = value;
        switch (lastOperator_) {
        case cbDiv:
            if (value == 0) {
                Error();
                return;
            }
            result = operand_ / value;
            break;
        case cbMul: result = operand_ * value; break;
        case cbSub: result = operand_ - value; break;
        case cbAdd: result = operand_ + value; break;
        default: break;
        }
        // The display is read back as a double: a result beyond its range cannot go on.
        if (!std::isfinite(double(result))) {
            Error();
            return;
        }
        SetDisplay(result);
    }
    lastOperator_ = kind;
    operand_ = Display();
    if (kind == cbPercent || kind == cbEqual)
        rtl::CallEvent(OnResult, this);
}

void TcxCustomCalculator::ButtonClick(TcxCalcButtonKind kind)
{
    rtl::CallEvent(OnButtonClick, this, kind);
    if (kind == cbNone)
        return;
    if (status_ == csError && kind != cbCancel && kind != cbClear) {
        Error();
        return;
    }
    const std::string before = DisplayText();
    LockChanges(true, false);
    switch (kind) {
    case cbBack: {
        CheckFirst();
        const std::string text = DisplayText();
        if (text.size() <= 1 || (text.size() == 2 && text[0] == '-'))
            SetDisplayText("0");
        else
            SetDisplayText(text.substr(0, text.size() - 1));
        break;
    }
    case cbCancel:
    case cbClear: Clear(); break;
    case cbMC:
        memory_ = 0;
        UpdateMemoryButtons();
        break;
    case cbMR:
    case cbMS:
    case cbMP:
        status_ = csFirst;
        if (kind == cbMR) {
            CheckFirst();
            SetDisplay(memory_);
        } else {
            memory_ = kind == cbMS ? Display() : memory_ + Display();
            UpdateMemoryButtons();
        }
        break;
    case cbSign: SetDisplay(-Display()); break;
    case cbDecimal: {
        CheckFirst();
        const std::string text = DisplayText();
        if (text.find(DecimalSeparator()) == std::string::npos)
            SetDisplayText(text + DecimalSeparator());
        break;
    }
    case cbSqrt:
    case cbRev: {
        status_ = IsOperator(lastOperator_) ? csValid : csFirst;
        const long double value = Display();
        const long double result = value < 0 && kind == cbSqrt ? -1 : kind == cbSqrt ? std::sqrt(value) : 1 / value;
        if ((kind == cbSqrt && value < 0) || (kind == cbRev && value == 0) || !std::isfinite(double(result)))
            Error();
        else
            SetDisplay(result);
        break;
    }
    case cbDiv:
    case cbMul:
    case cbSub:
    case cbAdd:
    case cbPercent:
    case cbEqual: Calculate(kind); break;
    default:
        if (kind >= cbNum0 && kind <= cbNum9)
            Digit(kind);
        break;
    }
    LockChanges(false, DisplayText() != before);
}

// ---- clipboard ----

void TcxCustomCalculator::CopyToClipboard() { Clipboard()->SetAsText(DisplayText()); }

void TcxCustomCalculator::PasteFromClipboard()
{
    if (!Clipboard()->HasFormat(CF_TEXT))
        return;
    std::string text = Clipboard()->AsText();
    const std::string& currency = rtl::FormatSettings().CurrencyString;
    if (!currency.empty())
        for (std::size_t at; (at = text.find(currency)) != std::string::npos;)
            text.erase(at, currency.size());
    double value = 0;
    if (!rtl::TryStrToFloat(rtl::Trim(text), value))
        value = 0;
    SetDisplay(value);
    status_ = csValid;
}

// ---- keys ----

void TcxCustomCalculator::PressKeyButton(TcxCalcButtonKind kind)
{
    ReleaseKeyButton();
    keyButton_ = kind;
    buttons_[kind].Down = true;
    InvalidateButton(kind);
    if (kind != cbBack)
        ButtonClick(kind);
}

void TcxCustomCalculator::ReleaseKeyButton()
{
    if (keyButton_ == cbNone)
        return;
    buttons_[keyButton_].Down = false;
    InvalidateButton(keyButton_);
    keyButton_ = cbNone;
}

void TcxCustomCalculator::KeyDown(std::uint16_t& key, TShiftState shift)
{
    TcxControl::KeyDown(key, shift);
    const bool ctrl = shift.Contains(ssCtrl);
    TcxCalcButtonKind kind = cbNone;
    switch (key) {
    case VK_RETURN: kind = cbEqual; break;
    case VK_ESCAPE: kind = cbClear; break;
    case VK_DELETE: kind = cbCancel; break;
    case VK_F9: kind = cbSign; break;
    case 'C': kind = ctrl ? cbNone : cbClear; break;
    case 'R': kind = ctrl ? cbMR : cbRev; break;
    case 'L': kind = ctrl ? cbMC : cbNone; break;
    case 'M': kind = ctrl ? cbMS : cbNone; break;
    case 'P': kind = ctrl ? cbMP : cbNone; break;
    default: break;
    }
    if (kind != cbNone)
        PressKeyButton(kind);
}

void TcxCustomCalculator::KeyUp(std::uint16_t& key, TShiftState shift)
{
    TcxControl::KeyUp(key, shift);
    ReleaseKeyButton();
}

void TcxCustomCalculator::KeyPress(char16_t& key)
{
    TcxControl::KeyPress(key);
    TcxCalcButtonKind kind = cbNone;
    switch (key) {
    case 0x16: PasteFromClipboard(); break; // Ctrl+V
    case 0x03: CopyToClipboard(); break;    // Ctrl+C
    case 0x08: kind = cbBack; break;
    case u'%': kind = cbPercent; break;
    case u'*': kind = cbMul; break;
    case u'+': kind = cbAdd; break;
    case u',':
    case u'.': kind = cbDecimal; break;
    case u'-': kind = cbSub; break;
    case u'/': kind = cbDiv; break;
    case u'=': kind = cbEqual; break;
    case u'@': kind = cbSqrt; break;
    default:
        if (key >= u'0' && key <= u'9')
            kind = TcxCalcButtonKind(cbNum0 + (key - u'0'));
        break;
    }
    if (kind != cbNone)
        PressKeyButton(kind);
    // Backspace is pressed as a key and clicked per character, so its auto-repeat repeats it.
    if (keyButton_ == cbBack)
        ButtonClick(cbBack);
}

// ---- mouse ----

void TcxCustomCalculator::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!GetIsDesigning() && !isPopup_ && CanFocus() && !Focused())
        SetFocus();
    TcxControl::MouseDown(button, shift, x, y);
    const TcxCalcButtonKind kind = GetButtonKindAt(x, y);
    if (button == mbLeft && kind != cbNone && !buttons_[kind].Grayed) {
        SetMouseCapture(true);
        tracking_ = true;
        pressedButton_ = kind;
        buttons_[kind].Down = true;
        InvalidateButton(kind);
    }
}

void TcxCustomCalculator::MouseMove(TShiftState shift, int x, int y)
{
    TcxControl::MouseMove(shift, x, y);
    const TcxCalcButtonKind kind = GetButtonKindAt(x, y);
    if (tracking_) {
        const bool down = kind == pressedButton_;
        if (buttons_[pressedButton_].Down != down) {
            buttons_[pressedButton_].Down = down;
            InvalidateButton(pressedButton_);
        }
    } else if (GetPainter()->IsButtonHotTrack() && Enabled() && DragAndDropState() == ddsNone) {
        SetHotButton(kind);
    }
}

void TcxCustomCalculator::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TcxControl::MouseUp(button, shift, x, y);
    if (!tracking_)
        return;
    const TcxCalcButtonKind kind = pressedButton_;
    tracking_ = false;
    buttons_[kind].Down = false;
    pressedButton_ = cbNone;
    SetMouseCapture(false);
    InvalidateButton(kind);
    if (button == mbLeft && GetButtonKindAt(x, y) == kind)
        ButtonClick(kind);
}

void TcxCustomCalculator::MouseLeave(TControl* control)
{
    TcxControl::MouseLeave(control);
    SetHotButton(cbNone);
}

void TcxCustomCalculator::SetHotButton(TcxCalcButtonKind kind)
{
    if (hotButton_ == kind)
        return;
    const TcxCalcButtonKind old = hotButton_;
    hotButton_ = kind;
    for (TcxCalcButtonKind k : {old, kind})
        if (k != cbNone && !buttons_[k].Grayed)
            InvalidateButton(k);
}

void TcxCustomCalculator::DoEnter()
{
    TcxControl::DoEnter();
    InvalidateButton(cbEqual);
}

void TcxCustomCalculator::DoExit()
{
    TcxControl::DoExit();
    InvalidateButton(cbEqual);
}

// ---- painting ----

void TcxCustomCalculator::DrawButton(TcxCanvas* canvas, const TcxButtonInfo& button)
{
    const auto* painter = GetPainter();
    TcxButtonState state = cxbsNormal;
    const bool disabled = button.Grayed || !Enabled();
    if (disabled)
        state = cxbsDisabled;
    else if (button.Down)
        state = cxbsPressed;
    else if (button.Kind == hotButton_ && button.Kind != pressedButton_)
        state = cxbsHot;
    else if (button.Kind == cbEqual && Focused())
        state = cxbsDefault;
    painter->DrawButton(canvas, button.BtnRect, "", state);
    TRect textRect = button.BtnRect;
    if (state == cxbsPressed)
        textRect = cxRectOffset(textRect, painter->ButtonTextShift(), painter->ButtonTextShift());
    canvas->GetFont()->SetColor(painter->CalcEditButtonTextColor(button.ButtonType));
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->DrawTexT(button.Text, textRect, cxtfHCenter | cxtfVCenter | cxtfSingleLine | cxtfShowPrefix, !disabled);
    if (button.Kind == cbEqual && focusRectVisible_ && Focused()) {
        canvas->DrawFocusRect(cxRectInflate(button.BtnRect, -3, -3));
    }
}

void TcxCustomCalculator::Paint()
{
    TcxCanvas* canvas = Canvas();
    GetPainter()->DrawWindowContent(canvas, isPopup_ ? GetClientRect() : GetBounds());
    canvas->SetFont(Font());
    if (AutoFontSize) {
        canvas->GetFont()->SetSize(fontSize_);
        TFontStyles style = canvas->GetFont()->GetStyle();
        if (fontSize_ > 9)
            style |= FontStyle(fsBold);
        canvas->GetFont()->SetStyle(style);
    }
    for (const auto& button : buttons_)
        DrawButton(canvas, button);
}

} // namespace cx

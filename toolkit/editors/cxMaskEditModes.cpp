#include "toolkit/editors/cxMaskEditModes.h"

#include <algorithm>

#include "platform/rtl/Unicode.h"
#include "platform/vcl/Messages.h"
#include "toolkit/core/cxClasses.h"
#include "toolkit/editors/cxEditConsts.h"

namespace cx {

// ---- common -----------------------------------------------------------------------------------

TcxMaskEditCustomMode::TcxMaskEditCustomMode(IcxMaskEditHost* host, const TcxMaskModeSettings& settings)
    : host_(host), settings_(settings)
{
}

void TcxMaskEditCustomMode::BeepOnError()
{
    if (host_ && Settings().BeepOnError)
        host_->Beep();
}

int TcxMaskEditCustomMode::CaretPos()
{
    const int start = host_->GetSelStart();
    return host_->IsCaretAtSelStart() ? start : start + host_->GetSelLength();
}

void TcxMaskEditCustomMode::SynchronizeEditValue()
{
    if (!HasEdit())
        return;
    const std::u16string text =
        host_->ModifiedAfterEnter() ? GetFormattedText(host_->GetText()) : host_->PrepareDisplayText();
    host_->SetInternalDisplayValue(text);
}

// ---- standard mode ----------------------------------------------------------------------------

void TcxMaskEditStandardMode::Compile(const std::u16string& mask)
{
    mask_ = mask;
    if (!mask.empty())
        standardMask_.Compile(mask);
    else
        standardMask_.Clear();
    needUpdateEditValue_ = !HasEdit();
}

std::u16string TcxMaskEditStandardMode::GetFormattedText(const std::u16string& text)
{
    std::u16string result = text;
    standardMask_.Format(result, true, true);
    return result;
}

std::u16string TcxMaskEditStandardMode::GetUpdatedText(const std::u16string& text)
{
    std::u16string result = text;
    standardMask_.Format(result, Settings().CharCaseNormal, true);
    standardMask_.Format2(result);
    return result;
}

bool TcxMaskEditStandardMode::IsCursorBegin()
{
    int first = 0;
    while (IsLiteralAt(first))
        ++first;
    return host_->GetSelStart() <= first && (host_->GetSelLength() < 2 || host_->IsCaretAtSelStart());
}

bool TcxMaskEditStandardMode::IsFullValidText(const std::u16string& text)
{
    std::u16string copy = text;
    if (standardMask_.IsFullValid(copy))
        return true;
    return Settings().IgnoreMaskBlank && text == GetFormattedText(std::u16string());
}

// The caret of this mode is a one-character selection, except at the end of the text.
void TcxMaskEditStandardMode::PutCaret(int pos)
{
    host_->SetSelection(pos, pos < TextLength() ? 1 : 0);
}

void TcxMaskEditStandardMode::SelectOneChar()
{
    if (host_ && host_->HandleAllocated() && !mask_.empty() && host_->GetSelLength() == 0)
        PutCaret(host_->GetSelStart());
}

void TcxMaskEditStandardMode::LMouseDown()
{
    SelectOneChar();
}

void TcxMaskEditStandardMode::SetText(const std::u16string&)
{
    SelectOneChar();
}

void TcxMaskEditStandardMode::SynchronizeEditValue()
{
    TcxMaskEditCustomMode::SynchronizeEditValue();
    SelectOneChar();
}

bool TcxMaskEditStandardMode::PressSymbol(char16_t& ch)
{
    const int start = host_->GetSelStart();
    if (start >= TextLength() || start >= standardMask_.Count())
        return false;
    if (IsLiteralAt(start)) {
        host_->SetSelecting(false);
        if (host_->GetSelLength() > 1)
            PressDelete();
        PressRight();
        return host_->GetSelStart() != start ? PressSymbol(ch) : false;
    }
    if (!standardMask_.Items(start)->Check(ch) || !host_->IsCharValidForPos(ch, start + 1))
        return false;
    if (ch == 0) {
        BeepOnError();
        return false;
    }
    // The control's check may have moved the caret on (a time zone's digit that can only be the
    // second one): the character goes where the caret is now.
    const int at = host_->GetSelStart();
    if (at != start && !IsEditableAt(at))
        return false;
    if (host_->GetSelLength() > 1)
        PressDelete();
    std::u16string text = host_->GetText();
    text[at] = ch;
    host_->SetDisplayText(text);
    PutCaret(at);
    PressRight();
    return false;
}

bool TcxMaskEditStandardMode::PressDelete()
{
    const int start = host_->GetSelStart();
    std::u16string text = host_->GetText();
    const int end = std::min<int>(start + host_->GetSelLength(), static_cast<int>(text.size()));
    bool changed = false;
    for (int i = start; i < end; ++i) {
        const char16_t blank = GetBlank(i);
        if (blank != 0 && IsEditableAt(i)) {
            text[i] = blank;
            changed = true;
        }
    }
    if (changed)
        host_->SetDisplayText(text);
    PutCaret(start);
    return false;
}

bool TcxMaskEditStandardMode::PressBackSpace()
{
    // Backspace deletes the position before the caret whether or not Shift is held.
    if (host_->GetSelLength() <= 1)
        StepLeft();
    return PressDelete();
}

bool TcxMaskEditStandardMode::PressLeft()
{
    // The one-character caret this mode sets keeps its anchor after the character, so the
    // field's own Shift+Left takes in exactly one more character, as every further one does.
    return host_->IsSelecting() || StepLeft();
}

bool TcxMaskEditStandardMode::StepLeft()
{
    const int start = host_->GetSelStart();
    const int length = host_->GetSelLength();
    if (length >= 2) {
        int pos = start;
        while (pos < start + length && !IsEditableAt(pos))
            ++pos;
        PutCaret(pos < start + length ? pos : start);
        return false;
    }
    int pos = start - 1;
    while (pos >= 0 && !IsEditableAt(pos))
        --pos;
    PutCaret(pos >= 0 ? pos : start);
    return false;
}

bool TcxMaskEditStandardMode::PressRight()
{
    const int start = host_->GetSelStart();
    const int length = host_->GetSelLength();
    if (host_->IsSelecting()) {
        if (length == 1 && host_->IsCaretAtSelStart())
            host_->SetSelection(start, 0);
        return true;
    }
    if (length >= 2) {
        int pos = start + length - 1;
        while (pos > start && !IsEditableAt(pos))
            --pos;
        PutCaret(pos);
        return false;
    }
    const int textLength = TextLength();
    int pos = start + 1;
    while (pos < textLength && !IsEditableAt(pos))
        ++pos;
    PutCaret(std::min(pos, textLength));
    return false;
}

bool TcxMaskEditStandardMode::PressHome()
{
    if (host_->IsSelecting())
        return true;
    PutCaret(0);
    if (IsLiteralAt(0))
        PressRight();
    return false;
}

bool TcxMaskEditStandardMode::PressEnd()
{
    if (host_->IsSelecting())
        return true;
    host_->SetSelection(TextLength(), 0);
    return false;
}

void TcxMaskEditStandardMode::PrePasteFromClipboard()
{
    pasteStart_ = host_->GetSelStart();
    host_->SetSelection(pasteStart_, pasteLength_);
}

void TcxMaskEditStandardMode::AfterPasteFromClipboard()
{
    const int pos = std::min(pasteStart_ + pasteLength_, TextLength());
    PutCaret(pos);
    if (IsLiteralAt(pos)) {
        host_->SetSelecting(false);
        PressRight();
    }
}

void TcxMaskEditStandardMode::UpdateEditValue()
{
    if (!needUpdateEditValue_)
        return;
    if (host_)
        host_->SetEditValue(GetEmptyString());
    needUpdateEditValue_ = false;
}

// ---- regular-expression mode ------------------------------------------------------------------

TcxMaskEditRegExprMode::TcxMaskEditRegExprMode(IcxMaskEditHost* host, const TcxMaskModeSettings& settings)
    : TcxMaskEditCustomMode(host, settings)
{
    regExpr_.CaseInsensitive = settings.CaseInsensitive;
}

void TcxMaskEditRegExprMode::Compile(const std::u16string& mask)
{
    mask_ = mask;
    regExpr_.CaseInsensitive = Settings().CaseInsensitive;
    if (!mask.empty()) {
        try {
            regExpr_.Compile(mask);
        } catch (const EcxRegExprError& error) {
            std::string message = cxGetResourceString(&scxMaskEditRegExprError);
            for (int i = 0; i < error.Errors.Count(); ++i)
                message += "\r\n" + error.Errors.Items(i).GetFullMessage();
            throw EcxMaskEditError(message);
        }
    }
    needUpdateEditValue_ = !HasEdit();
}

void TcxMaskEditRegExprMode::Feed(char16_t ch)
{
    regExpr_.Next(ch);
}

std::u16string TcxMaskEditRegExprMode::GetFormattedText(const std::u16string& text)
{
    if (!regExpr_.IsCompiled())
        return {};
    regExpr_.Reset();
    std::u16string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t ch = text[i];
        if (IsHighSurrogate(ch) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            // A character of two units is kept or dropped whole.
            char16_t low = text[++i];
            if (!regExpr_.Next(ch))
                continue;
            if (regExpr_.Next(low))
                result += {ch, low};
            else
                regExpr_.Prev();
        } else if (!IsSurrogate(ch) && regExpr_.Next(ch)) {
            result += ch;
        }
    }
    return result;
}

bool TcxMaskEditRegExprMode::IsFullValidText(const std::u16string& text)
{
    if (text.empty())
        return true;
    TcxRegExpr check;
    check.CaseInsensitive = regExpr_.CaseInsensitive;
    try {
        check.Compile(regExpr_.Expression());
    } catch (const EcxEditError&) {
        return false;
    }
    for (char16_t ch : text)
        if (!check.Next(ch))
            return false;
    return Settings().IgnoreMaskBlank || check.IsFinal();
}

// Rebuilds head and tail from the control's text when they are lost or a mouse moved the caret.
void TcxMaskEditRegExprMode::CursorCorrection()
{
    const std::u16string text = host_->GetText();
    if (!((head_.empty() && tail_.empty() && !text.empty()) || mouseAction_ || head_ + tail_ != text ||
          CaretPos() != static_cast<int>(head_.size())))
        return;
    mouseAction_ = false;
    regExpr_.Reset();
    head_.clear();
    tail_ = text;
    MoveBoundaryTo(std::min<int>(CaretPos(), static_cast<int>(text.size())));
}

void TcxMaskEditRegExprMode::MoveBoundaryTo(int length)
{
    while (static_cast<int>(head_.size()) > length) {
        regExpr_.Prev();
        tail_.insert(tail_.begin(), head_.back());
        head_.pop_back();
    }
    while (static_cast<int>(head_.size()) < length && !tail_.empty()) {
        Feed(tail_[0]);
        head_ += tail_[0];
        tail_.erase(0, 1);
    }
}

// Whether the tail still fits after the head; the automaton is left where it was.
bool TcxMaskEditRegExprMode::NextTail()
{
    int fed = 0;
    bool fits = true;
    for (char16_t ch : tail_) {
        if (!regExpr_.Next(ch)) {
            fits = false;
            break;
        }
        ++fed;
    }
    while (fed-- > 0)
        regExpr_.Prev();
    return fits;
}

void TcxMaskEditRegExprMode::ClearTail()
{
    const int caret = std::min<int>(host_->GetSelStart(), static_cast<int>(host_->GetText().size()));
    const std::u16string kept = host_->GetText().substr(0, caret);
    tail_.clear();
    host_->SetDisplayText(kept);
    host_->SetSelection(static_cast<int>(kept.size()), 0);
}

void TcxMaskEditRegExprMode::DeleteSelection()
{
    selection_.clear();
    const int start = host_->GetSelStart();
    const int length = host_->GetSelLength();
    if (length == 0)
        return;
    if (start == static_cast<int>(head_.size())) {
        selection_ = tail_.substr(0, length);
        tail_.erase(0, length);
        beginCursor_ = true;
    } else if (start + length == static_cast<int>(head_.size())) {
        selection_ = head_.substr(start);
        head_.resize(start);
        for (int i = 0; i < length; ++i)
            regExpr_.Prev();
        beginCursor_ = false;
    }
}

void TcxMaskEditRegExprMode::RestoreSelection()
{
    if (beginCursor_)
        tail_ = selection_ + tail_;
    else
        for (char16_t ch : selection_) {
            Feed(ch);
            head_ += ch;
        }
    selection_.clear();
}

// The field takes a character outside the basic plane only whole, so the expression is asked
// for both halves at once: the first waits here (answering false) until the second comes.
bool TcxMaskEditRegExprMode::TakeHalf(char16_t ch, char16_t& high)
{
    high = 0;
    if (IsHighSurrogate(ch)) {
        pendingHigh_ = ch;
        return false;
    }
    if (IsLowSurrogate(ch)) {
        high = pendingHigh_;
        pendingHigh_ = 0;
        return high != 0;
    }
    pendingHigh_ = 0;
    return true;
}

bool TcxMaskEditRegExprMode::PressSymbol(char16_t& ch)
{
    char16_t high = 0;
    if (!TakeHalf(ch, high))
        return false;
    CursorCorrection();
    const bool hadSelection = host_->GetSelLength() > 0;
    DeleteSelection();
    char16_t first = high;
    if (high && !regExpr_.Next(first)) {
        RestoreSelection();
        BeepOnError();
        return false;
    }
    if (!regExpr_.Next(ch)) {
        if (high)
            regExpr_.Prev();
        RestoreSelection();
        BeepOnError();
        return false;
    }
    if (high)
        head_ += first;
    head_ += ch;
    selection_.clear();
    if (high) {
        // Both halves go in together, as one typed character.
        if (!NextTail())
            ClearTail();
        host_->SendOwnChar(first);
        host_->SendOwnChar(ch);
        return false;
    }
    if (NextTail())
        return true;
    ClearTail();
    if (hadSelection) {
        host_->SendOwnKeyDown(VK_DELETE);
        host_->SendOwnChar(ch);
        return false;
    }
    return true;
}

// A selection goes; when what follows no longer fits it goes too, through the given own key.
bool TcxMaskEditRegExprMode::DeleteSelected(Word key)
{
    DeleteSelection();
    selection_.clear();
    if (NextTail())
        return true;
    host_->SendOwnKeyDown(key);
    ClearTail();
    BeepOnError();
    return false;
}

bool TcxMaskEditRegExprMode::PressBackSpace()
{
    CursorCorrection();
    if (host_->GetSelLength() > 0)
        return DeleteSelected(VK_BACK);
    if (head_.empty())
        return true;
    regExpr_.Prev();
    const char16_t last = head_.back();
    head_.pop_back();
    if (!NextTail()) {
        head_ += last;   // the text still holds it until the inner edit deletes it
        ClearTail();
        head_.pop_back();
    }
    return true;
}

bool TcxMaskEditRegExprMode::PressDelete()
{
    CursorCorrection();
    if (host_->GetSelLength() > 0)
        return DeleteSelected(VK_DELETE);
    if (tail_.empty())
        return true;
    tail_.erase(0, 1);
    if (!NextTail()) {
        // Nothing after the caret fits any more: the text ends at the caret.
        tail_.clear();
        host_->SetDisplayText(head_);
        host_->SetSelection(static_cast<int>(head_.size()), 0);
        return false;
    }
    return true;
}

bool TcxMaskEditRegExprMode::PressLeft()
{
    CursorCorrection();
    const int start = host_->GetSelStart();
    const int length = host_->GetSelLength();
    const int caret = static_cast<int>(head_.size());
    // Where the inner edit will put the caret.
    MoveBoundaryTo(length > 0 && !host_->IsSelecting() ? start : std::max(caret - 1, 0));
    return true;
}

bool TcxMaskEditRegExprMode::PressRight()
{
    CursorCorrection();
    const int start = host_->GetSelStart();
    const int length = host_->GetSelLength();
    const int caret = static_cast<int>(head_.size());
    const int textLength = caret + static_cast<int>(tail_.size());
    MoveBoundaryTo(length > 0 && !host_->IsSelecting() ? start + length : std::min(caret + 1, textLength));
    return true;
}

bool TcxMaskEditRegExprMode::PressHome()
{
    CursorCorrection();
    tail_ = head_ + tail_;
    head_.clear();
    regExpr_.Reset();
    return true;
}

bool TcxMaskEditRegExprMode::PressEnd()
{
    CursorCorrection();
    MoveBoundaryTo(static_cast<int>(head_.size() + tail_.size()));
    return true;
}

void TcxMaskEditRegExprMode::GotoEnd()
{
    PressEnd();
}

void TcxMaskEditRegExprMode::SetText(const std::u16string& text)
{
    if (!regExpr_.IsCompiled())
        return;
    regExpr_.Reset();
    head_.clear();
    tail_ = text;
    if (pasteLength_ > 0 && !text.empty()) {
        MoveBoundaryTo(std::min<int>(pasteStart_ + pasteLength_, static_cast<int>(text.size())));
        pasteLength_ = 0;
    }
}

void TcxMaskEditRegExprMode::SynchronizeEditValue()
{
    TcxMaskEditCustomMode::SynchronizeEditValue();
    if (!host_ || !regExpr_.IsCompiled())
        return;
    const std::u16string text = host_->GetText();
    host_->SetSelection(static_cast<int>(text.size()), 0);
    regExpr_.Reset();
    head_.clear();
    tail_ = text;
    MoveBoundaryTo(static_cast<int>(text.size()));
}

// ---- extended regular-expression mode ---------------------------------------------------------

TcxMaskEditRegExprExMode::TcxMaskEditRegExprExMode(IcxMaskEditHost* host, const TcxMaskModeSettings& settings)
    : TcxMaskEditRegExprMode(host, settings)
{
    regExpr_.OnSymbolUpdate = [this](char16_t ch) { updateText_ += ch; };
    regExpr_.OnSymbolDelete = [this] { ++deletedCount_; };
}

void TcxMaskEditRegExprExMode::Compile(const std::u16string& mask)
{
    TcxMaskEditRegExprMode::Compile(mask);
}

void TcxMaskEditRegExprExMode::StartKey()
{
    updateText_.clear();
    deletedCount_ = 0;
}

bool TcxMaskEditRegExprExMode::FeedWithCompletion(char16_t& ch, std::u16string& forced)
{
    updateText_.clear();
    regExpr_.SetUpdateOn(true, false);
    const bool accepted = regExpr_.Next(ch);
    regExpr_.SetUpdateOn(false);
    forced = updateText_;
    return accepted;
}

void TcxMaskEditRegExprExMode::RecheckTail()
{
    if (!NextTail())
        ClearTail();
}

std::u16string TcxMaskEditRegExprExMode::GetEmptyString()
{
    if (!regExpr_.IsCompiled())
        return {};
    TcxRegExpr fresh;
    std::u16string forced;
    fresh.OnSymbolUpdate = [&forced](char16_t ch) { forced += ch; };
    fresh.Compile(regExpr_.Expression());
    fresh.SetUpdateOn(true);
    return forced;
}

std::u16string TcxMaskEditRegExprExMode::GetFormattedText(const std::u16string& text)
{
    std::u16string result = TcxMaskEditRegExprMode::GetFormattedText(text);
    if (!regExpr_.IsCompiled())
        return result;
    updateText_.clear();
    regExpr_.SetUpdateOn(true);
    regExpr_.SetUpdateOn(false);
    return result + updateText_;
}

bool TcxMaskEditRegExprExMode::IsFullValidText(const std::u16string& text)
{
    return (!text.empty() && text == GetEmptyString()) || TcxMaskEditRegExprMode::IsFullValidText(text);
}

void TcxMaskEditRegExprExMode::UpdateEditValue()
{
    if (!needUpdateEditValue_)
        return;
    if (host_)
        host_->SetEditValue(GetEmptyString());
    needUpdateEditValue_ = false;
}

bool TcxMaskEditRegExprExMode::PressSymbol(char16_t& ch)
{
    // Completion must not come between the halves of a character: the first is fed without it.
    char16_t high = 0;
    if (!TakeHalf(ch, high))
        return false;
    StartKey();
    CursorCorrection();
    const bool fromStart = host_->GetSelStart() == 0 && host_->GetSelLength() > 0;
    DeleteSelection();
    // A selection from the start took the forced leading characters with it: they come back
    // first, and the character is typed after them.
    std::u16string lead;
    if (fromStart && head_.empty()) {
        lead = GetEmptyString();
        if (tail_.compare(0, lead.size(), lead) == 0)
            lead.clear();
        for (char16_t c : lead)
            Feed(c);
    }
    std::u16string typed = lead;
    char16_t first = high;
    bool accepted = !high || regExpr_.Next(first);
    if (high && accepted)
        typed += first;
    std::u16string forced;
    if (accepted && !FeedWithCompletion(ch, forced)) {
        accepted = false;
        if (high)
            regExpr_.Prev();
    }
    if (!accepted) {
        for (std::size_t i = 0; i < lead.size(); ++i)
            regExpr_.Prev();
        RestoreSelection();
        BeepOnError();
        return false;
    }
    selection_.clear();
    typed += ch + forced;
    head_ += typed;
    for (char16_t c : typed)
        host_->SendOwnChar(c);
    RecheckTail();
    return false;
}

bool TcxMaskEditRegExprExMode::PressBackSpace()
{
    StartKey();
    CursorCorrection();
    if (host_->GetSelLength() > 0)
        return TcxMaskEditRegExprMode::PressBackSpace();
    // Only characters the expression forced stand before the caret: nothing typed to take back.
    if (head_.size() <= GetEmptyString().size() && head_ == GetEmptyString().substr(0, head_.size())) {
        BeepOnError();
        return false;
    }
    regExpr_.SetUpdateOn(true, false);
    regExpr_.Prev();
    regExpr_.SetUpdateOn(false);
    const int count = std::min<int>(deletedCount_ + 1, static_cast<int>(head_.size()));
    head_.resize(head_.size() - count);
    for (int i = 0; i < count; ++i)
        host_->SendOwnKeyDown(VK_BACK);
    RecheckTail();
    return false;
}

bool TcxMaskEditRegExprExMode::PressDelete()
{
    StartKey();
    CursorCorrection();
    if (host_->GetSelLength() > 0 || tail_.empty())
        return TcxMaskEditRegExprMode::PressDelete();
    char16_t ch = tail_[0];
    std::u16string forced;
    std::size_t count = 1;
    if (FeedWithCompletion(ch, forced)) {
        if (tail_.compare(1, forced.size(), forced) == 0)
            count += forced.size();
        for (std::size_t i = 0; i <= forced.size(); ++i)
            regExpr_.Prev();
    }
    tail_.erase(0, count);
    for (std::size_t i = 0; i < count; ++i)
        host_->SendOwnKeyDown(VK_DELETE);
    RecheckTail();
    return false;
}

bool TcxMaskEditRegExprExMode::PressLeft()
{
    StartKey();
    CursorCorrection();
    if (host_->GetSelLength() > 0 || host_->IsSelecting() || head_.empty())
        return TcxMaskEditRegExprMode::PressLeft();
    regExpr_.SetUpdateOn(true, false);
    regExpr_.Prev();
    regExpr_.SetUpdateOn(false);
    const int count = std::min<int>(deletedCount_ + 1, static_cast<int>(head_.size()));
    tail_.insert(0, head_.substr(head_.size() - count));
    head_.resize(head_.size() - count);
    host_->SetSelection(static_cast<int>(head_.size()), 0);
    return false;
}

bool TcxMaskEditRegExprExMode::PressRight()
{
    StartKey();
    CursorCorrection();
    if (host_->GetSelLength() > 0 || host_->IsSelecting() || tail_.empty())
        return TcxMaskEditRegExprMode::PressRight();
    char16_t ch = tail_[0];
    std::u16string forced;
    std::size_t count = 1;
    if (FeedWithCompletion(ch, forced)) {
        std::size_t matched = 0;
        while (matched < forced.size() && matched + 1 < tail_.size() && tail_[matched + 1] == forced[matched])
            ++matched;
        for (std::size_t i = matched; i < forced.size(); ++i)
            regExpr_.Prev();
        count += matched;
    }
    head_ += tail_.substr(0, count);
    tail_.erase(0, count);
    host_->SetSelection(static_cast<int>(head_.size()), 0);
    return false;
}

} // namespace cx

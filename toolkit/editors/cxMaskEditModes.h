#pragma once
// The mask modes: the objects through which a masked editor edits its text under one grammar of
// mask. They see the editor only through IcxMaskEditHost (text, selection and caret side, keys
// sent to the inner edit, beep), so the modes run the same on the real control and on a plain
// text buffer. Positions and lengths count UTF-16 units, as the text editor does.
#include <memory>
#include <string>

#include "toolkit/editors/cxEditControl.h"
#include "toolkit/editors/cxRegExpr.h"
#include "toolkit/editors/cxStandardMask.h"

namespace cx {

enum TcxEditMaskKind { emkStandard, emkRegExpr, emkRegExprEx };

RTL_EXCEPTION(EcxMaskEditError, EcxEditError);

// The properties' settings a mode reads.
struct TcxMaskModeSettings {
    bool BeepOnError = false;
    bool IgnoreMaskBlank = false;
    bool CaseInsensitive = true;
    bool CharCaseNormal = true;   // the properties' CharCase is ecNormal
};

// What a mode needs of the editing control.
class IcxMaskEditHost {
public:
    virtual ~IcxMaskEditHost() = default;
    // A control whose property changes are not locked.
    virtual bool CanEdit() = 0;
    virtual bool HandleAllocated() = 0;
    virtual TcxMaskModeSettings Settings() = 0;

    virtual std::u16string GetText() = 0;
    // Sets the shown text through the data binding's display value.
    virtual void SetDisplayText(const std::u16string& text) = 0;
    virtual int GetSelStart() = 0;
    virtual int GetSelLength() = 0;
    virtual bool IsCaretAtSelStart() = 0;
    // Selects directly; the mode is not told of the change.
    virtual void SetSelection(int start, int length) = 0;
    // Shift was held at the last key-down.
    virtual bool IsSelecting() = 0;
    virtual void SetSelecting(bool value) = 0;

    // Keys the control sends its inner edit itself, with the live modifier keys.
    virtual void SendOwnKeyDown(Word key) = 0;
    virtual void SendOwnChar(char16_t ch) = 0;
    virtual void Beep() = 0;
    // The control may refuse a character at a 1-based position or consume it (set it to 0).
    virtual bool IsCharValidForPos(char16_t& ch, int position) = 0;

    virtual bool ModifiedAfterEnter() = 0;
    // The properties' display text of the edit value, focused.
    virtual std::u16string PrepareDisplayText() = 0;
    virtual void SetInternalDisplayValue(const std::u16string& text) = 0;
    virtual void SetEditValue(const std::u16string& text) = 0;
};

class TcxMaskEditCustomMode : public TObject {
    RTL_CLASS(TcxMaskEditCustomMode, TObject)
    // host may be null: a mode that only formats; settings then come from the argument.
    TcxMaskEditCustomMode(IcxMaskEditHost* host, const TcxMaskModeSettings& settings);
    virtual TcxEditMaskKind GetMaskKind() const { return emkStandard; }

    virtual void AfterPasteFromClipboard() = 0;
    virtual void Compile(const std::u16string& mask) = 0;
    virtual std::u16string GetEmptyString() = 0;
    virtual std::u16string GetFormattedText(const std::u16string& text) = 0;
    virtual void GotoEnd() = 0;
    virtual bool IsCursorBegin() = 0;
    virtual bool IsCursorEnd() = 0;
    virtual bool IsFullValidText(const std::u16string& text) = 0;
    virtual void LMouseDown() = 0;
    virtual void PrePasteFromClipboard() = 0;
    // True: the inner edit also processes the key; False: the mode did everything.
    virtual bool PressBackSpace() = 0;
    virtual bool PressDelete() = 0;
    virtual bool PressEnd() = 0;
    virtual bool PressHome() = 0;
    virtual bool PressLeft() = 0;
    virtual bool PressRight() = 0;
    // A character the inner edit is let to insert comes back as the mask writes it (an
    // expression's own letter case, say).
    virtual bool PressSymbol(char16_t& ch) = 0;
    virtual void SetText(const std::u16string& text) = 0;
    virtual void SynchronizeEditValue();
    virtual void UpdateEditValue() = 0;
    virtual std::u16string GetUpdatedText(const std::u16string& text) = 0;

    const std::u16string& Mask() const { return mask_; }
    void SetPasteLength(int value) { pasteLength_ = value; }
    void SetSettings(const TcxMaskModeSettings& value) { settings_ = value; }

protected:
    bool HasEdit() const { return host_ && host_->CanEdit(); }
    TcxMaskModeSettings Settings() const { return HasEdit() ? host_->Settings() : settings_; }
    void BeepOnError();
    int TextLength() { return static_cast<int>(host_->GetText().size()); }
    int CaretPos();

    IcxMaskEditHost* host_;
    TcxMaskModeSettings settings_;
    std::u16string mask_;
    int pasteLength_ = 0;
    bool needUpdateEditValue_ = false;
};

// Positional mask, edited in overwrite fashion with a one-character selection as the caret.
class TcxMaskEditStandardMode : public TcxMaskEditCustomMode {
    RTL_CLASS(TcxMaskEditStandardMode, TcxMaskEditCustomMode)
    using TcxMaskEditCustomMode::TcxMaskEditCustomMode;

    void AfterPasteFromClipboard() override;
    void Compile(const std::u16string& mask) override;
    std::u16string GetEmptyString() override { return standardMask_.GetEmptyString(); }
    std::u16string GetFormattedText(const std::u16string& text) override;
    void GotoEnd() override {}
    bool IsCursorBegin() override;
    bool IsCursorEnd() override { return host_->GetSelStart() == TextLength(); }
    bool IsFullValidText(const std::u16string& text) override;
    void LMouseDown() override;
    void PrePasteFromClipboard() override;
    bool PressBackSpace() override;
    bool PressDelete() override;
    bool PressEnd() override;
    bool PressHome() override;
    bool PressLeft() override;
    bool PressRight() override;
    bool PressSymbol(char16_t& ch) override;
    void SetText(const std::u16string& text) override;
    void SynchronizeEditValue() override;
    void UpdateEditValue() override;
    std::u16string GetUpdatedText(const std::u16string& text) override;
    // The character Delete leaves at a 0-based text position (0: the character stays).
    virtual char16_t GetBlank(int index) const { return standardMask_.Blank(); }
    TcxStandardMask& StandardMask() { return standardMask_; }

private:
    bool IsLiteralAt(int pos) const { return pos >= 0 && pos < standardMask_.Count() && standardMask_.IsLiteral(pos); }
    bool IsEditableAt(int pos) const { return pos >= 0 && pos < standardMask_.Count() && !standardMask_.IsLiteral(pos); }
    void PutCaret(int pos);
    void SelectOneChar();
    // Puts the caret on the editable position before it (or on the first of a selection).
    bool StepLeft();

    TcxStandardMask standardMask_;
    int pasteStart_ = 0;
};

// The text before the caret (the head) is always accepted by the expression's automaton.
class TcxMaskEditRegExprMode : public TcxMaskEditCustomMode {
    RTL_CLASS(TcxMaskEditRegExprMode, TcxMaskEditCustomMode)
    TcxMaskEditRegExprMode(IcxMaskEditHost* host, const TcxMaskModeSettings& settings);
    TcxEditMaskKind GetMaskKind() const override { return emkRegExpr; }

    void AfterPasteFromClipboard() override {}
    void Compile(const std::u16string& mask) override;
    std::u16string GetEmptyString() override { return {}; }
    std::u16string GetFormattedText(const std::u16string& text) override;
    void GotoEnd() override;
    bool IsCursorBegin() override { return host_->GetSelStart() == 0; }
    bool IsCursorEnd() override { return host_->GetSelStart() == TextLength(); }
    bool IsFullValidText(const std::u16string& text) override;
    void LMouseDown() override { mouseAction_ = true; }
    void PrePasteFromClipboard() override { pasteStart_ = host_->GetSelStart(); }
    bool PressBackSpace() override;
    bool PressDelete() override;
    bool PressEnd() override;
    bool PressHome() override;
    bool PressLeft() override;
    bool PressRight() override;
    bool PressSymbol(char16_t& ch) override;
    void SetText(const std::u16string& text) override;
    void SynchronizeEditValue() override;
    void UpdateEditValue() override {}
    std::u16string GetUpdatedText(const std::u16string& text) override { return text; }

    const std::u16string& Head() const { return head_; }
    const std::u16string& Tail() const { return tail_; }
    TcxRegExpr& RegExpr() { return regExpr_; }

protected:
    virtual void DeleteSelection();
    virtual void RestoreSelection();
    void CursorCorrection();
    bool NextTail();
    void ClearTail();
    // Moves characters between head and tail until the head is `length` long.
    void MoveBoundaryTo(int length);
    bool DeleteSelected(Word key);
    void Feed(char16_t ch);
    // A typed unit that may go on: not the first half of a character (kept until its second
    // comes) nor a stray second half. high is the first half when ch completes a character.
    bool TakeHalf(char16_t ch, char16_t& high);

    TcxRegExpr regExpr_;
    std::u16string head_;
    std::u16string tail_;
    std::u16string selection_;
    bool beginCursor_ = false;
    bool mouseAction_ = false;
    int pasteStart_ = 0;
    char16_t pendingHigh_ = 0;
};

// Adds completion: the characters the expression forces are inserted as soon as they are due.
class TcxMaskEditRegExprExMode : public TcxMaskEditRegExprMode {
    RTL_CLASS(TcxMaskEditRegExprExMode, TcxMaskEditRegExprMode)
    TcxMaskEditRegExprExMode(IcxMaskEditHost* host, const TcxMaskModeSettings& settings);
    TcxEditMaskKind GetMaskKind() const override { return emkRegExprEx; }

    void Compile(const std::u16string& mask) override;
    std::u16string GetEmptyString() override;
    std::u16string GetFormattedText(const std::u16string& text) override;
    bool IsFullValidText(const std::u16string& text) override;
    bool PressBackSpace() override;
    bool PressDelete() override;
    bool PressLeft() override;
    bool PressRight() override;
    bool PressSymbol(char16_t& ch) override;
    void UpdateEditValue() override;

private:
    void StartKey();
    // Feeds ch with completion on; answers whether it was accepted and the forced characters.
    bool FeedWithCompletion(char16_t& ch, std::u16string& forced);
    void RecheckTail();

    std::u16string updateText_;
    int deletedCount_ = 0;
};

} // namespace cx

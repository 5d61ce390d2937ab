#pragma once
// A pocket calculator drawn as 27 look-and-feel buttons: immediate left-to-right arithmetic,
// one memory register, percent, square root, reciprocal and sign, driven by mouse, keys and
// the clipboard. The display text is not kept here: a descendant supplies it through
// GetEditorValue and SetEditorValue (the calculator editor's popup uses the editor's text).
#include "toolkit/controls/cxControls.h"
#include "toolkit/editors/cxEdit.h"
#include "toolkit/editors/cxEditConsts.h"

#include <array>
#include <string>

namespace cx {

enum TcxCalcButtonKind {
    cbBack, cbCancel, cbClear, cbMC, cbMR, cbMS, cbMP,
    cbNum0, cbNum1, cbNum2, cbNum3, cbNum4, cbNum5, cbNum6, cbNum7, cbNum8, cbNum9,
    cbSign, cbDecimal, cbDiv, cbMul, cbSub, cbAdd, cbSqrt, cbPercent, cbRev, cbEqual, cbNone
};
enum TcxCalcState { csFirst, csValid, csError };

struct TcxButtonInfo {
    TRect BtnRect;
    TcxCalcEditButtonType ButtonType = cebtButton;
    bool Down = false;
    bool Grayed = false;
    TcxCalcButtonKind Kind = cbNone;
    std::string Text;
};
using TCalcButtons = std::array<TcxButtonInfo, cbNone>;

using TcxCalcButtonClick = rtl::Event<void(rtl::TObject* sender, TcxCalcButtonKind& buttonKind)>;
using TcxCalcHidePopup = rtl::Event<void(rtl::TObject* sender, TcxEditCloseUpReason reason)>;

class TcxCustomCalculator : public TcxControl {
    RTL_CLASS(TcxCustomCalculator, TcxControl)
    explicit TcxCustomCalculator(TComponent* owner);

    bool AutoFontSize = true;
    bool BeepOnError = true;
    int Precision = 15;
    TNotifyEvent OnDisplayChange, OnResult;
    TcxCalcButtonClick OnButtonClick;
    TcxCalcHidePopup OnHidePopup;

    bool FocusRectVisible() const { return focusRectVisible_; }
    void SetFocusRectVisible(bool value);
    // 0 in the error state; otherwise the display text (thousand separators dropped) as a number.
    long double Display() const;
    void SetDisplay(long double value);
    long double Memory() const { return memory_; }
    TcxCalcState Status() const { return status_; }
    const TCalcButtons& Buttons() const { return buttons_; }
    int FontSize() const { return fontSize_; }
    int ButtonHeight() const { return buttonHeight_; }
    int ButtonWidth() const { return buttonWidth_; }

    // The size the calculator takes for an offered size (which it then forces on itself).
    void CalcSize(int& width, int& height);
    void CopyToClipboard();
    void PasteFromClipboard();
    // The button under a client point; cbNone between buttons.
    TcxCalcButtonKind GetButtonKindAt(int x, int y) const;
    void ButtonClick(TcxCalcButtonKind kind);

protected:
    virtual TcxCustomLookAndFeelPainterClass GetPainter() const;
    virtual void GetEditorValue(std::string& value) const { value.clear(); }
    virtual void SetEditorValue(const std::string&) {}
    virtual void HidePopup(rtl::TObject* sender, TcxEditCloseUpReason reason);
    virtual void LockChanges(bool lock, bool invokeChanged) {}

    void Paint() override;
    void Resize() override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void KeyUp(std::uint16_t& key, TShiftState shift) override;
    void KeyPress(char16_t& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseLeave(TControl* control) override;
    void DoEnter() override;
    void DoExit() override;

    // A fresh start on the current display: the next digit replaces it, no pending operator.
    void ResetInput()
    {
        status_ = csFirst;
        lastOperator_ = cbEqual;
        operand_ = 0;
        ReleaseKeyButton();
    }

    bool isPopup_ = false;

private:
    std::string DisplayText() const;
    void SetDisplayText(const std::string& text);
    void CreateLayout();
    void CheckFirst();
    void Clear();
    void Error();
    void Calculate(TcxCalcButtonKind kind);
    void Digit(TcxCalcButtonKind kind);
    void UpdateMemoryButtons();
    void InvalidateButton(TcxCalcButtonKind kind);
    void PressKeyButton(TcxCalcButtonKind kind);
    void ReleaseKeyButton();
    void SetHotButton(TcxCalcButtonKind kind);
    void DrawButton(TcxCanvas* canvas, const TcxButtonInfo& button);

    TCalcButtons buttons_;
    bool focusRectVisible_ = true;
    int fontSize_ = 8;
    int buttonWidth_ = 28, buttonHeight_ = 22, bigButtonWidth_ = 47, xSpace_ = 3, ySpace_ = 3;
    int calcWidth_ = 198, calcHeight_ = 131;
    long double memory_ = 0, operand_ = 0;
    TcxCalcButtonKind lastOperator_ = cbEqual;
    TcxCalcState status_ = csFirst;
    TcxCalcButtonKind hotButton_ = cbNone, pressedButton_ = cbNone, keyButton_ = cbNone;
    bool tracking_ = false;
    bool sizing_ = false;
};

} // namespace cx

#pragma once
// cxRadioGroup: the stand-alone radio button painted through the look-and-feel painters, with
// hot and pressed states that follow the mouse, transparency, word-wrapped captions and a
// toolkit popup menu.
#include <string>

#include "platform/vcl/StdCtrls.h"
#include "toolkit/core/cxGraphics.h"
#include "toolkit/core/cxLookAndFeels.h"

namespace cx {

enum TcxRadioButtonState { rbsDisabled, rbsHot, rbsNormal, rbsPressed };

// The text rectangle's insets (left, top, right, bottom) by how the button is drawn.
TRect RadioButtonTextCorrection(bool inplace, bool native, bool wordWrap, bool textLeftOfGlyph);

class TcxRadioButton : public TRadioButton, public IcxLookAndFeelContainer {
    RTL_CLASS(TcxRadioButton, TRadioButton)
    explicit TcxRadioButton(TComponent* owner);
    ~TcxRadioButton() override;

    TcxLookAndFeel* GetLookAndFeel() override { return lookAndFeel_; }
    TcxLookAndFeel* LookAndFeel() const { return lookAndFeel_; }
    void SetLookAndFeel(TcxLookAndFeel* value) { lookAndFeel_->Assign(value); }

    // taRightJustify puts the caption right of the glyph.
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    bool ParentBackground() const { return parentBackground_; }
    void SetParentBackground(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    TComponent* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TComponent* value);

    TcxRadioButtonState State() const { return state_; }
    const TRect& ButtonRect() const { return buttonRect_; }
    // Where the glyph of the given size goes.
    TRect GetRadioButtonRect(const TSize& size, bool nativeStyle) const;
    TColor GetTextColor() const;
    // The brush colour the glyph is drawn with.
    TColor GlyphBrushColor() const;

    virtual bool IsInplace() const { return false; }
    virtual bool IsNativeStyle() const;
    virtual bool IsNativeBackground() const;
    virtual bool IsTransparent() const { return transparent_ && !IsInplace(); }
    virtual bool IsTransparentBackground() const { return IsNativeBackground() || IsTransparent(); }

protected:
    void Dispatch(TMessage& msg) override;
    void Notification(TComponent* component, TOperation operation) override;
    void PaintButton(TCanvas* canvas, const TRect& client, bool down) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DoEnter() override;
    void DoContextPopup(TPoint mousePos, bool& handled) override;
    virtual bool DoShowPopupMenu(TComponent* menu, int x, int y);
    virtual void CorrectTextRect(TRect& r, bool nativeStyle) const;
    virtual void DrawBackground(TcxCanvas* canvas);
    virtual void DrawCaption(TcxCanvas* canvas, bool nativeStyle);
    virtual void UpdateState(TShiftState shift, const TPoint& p);
    virtual bool IsRadioGroupButton() const { return false; }

private:
    void SetState(TcxRadioButtonState value);
    void ShortUpdateState();
    void LookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues) { Invalidate(); }
    TcxCustomLookAndFeelPainterClass Painter() const;

    TcxLookAndFeel* lookAndFeel_ = nullptr;
    TAlignment alignment_ = taRightJustify;
    bool parentBackground_ = true;
    bool transparent_ = false;
    bool wordWrap_ = false;
    TComponent* popupMenu_ = nullptr;
    TcxRadioButtonState state_ = rbsNormal;
    TRect buttonRect_{};
};

} // namespace cx

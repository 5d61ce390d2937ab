#pragma once
// cxButtons: the toolkit's push button. TcxButton keeps the platform button's window and keyboard
// behaviour (Default, Cancel, ModalResult, Space, the accelerator) and paints itself through the
// look-and-feel painters: per-state colours, a glyph beside the caption with the classic layout,
// a drop-down menu (the whole button or a 15-pixel arrow part), and a speed-button mode (a button
// that need not take the focus, with grouped down states).
#include "platform/vcl/StdCtrls.h"
#include "toolkit/core/cxGraphicsImages.h"
#include "toolkit/core/cxLookAndFeels.h"
#include "toolkit/controls/cxControls.h"

#include <memory>
#include <string>
#include <vector>

namespace cx {

enum TcxButtonKind { cxbkStandard, cxbkDropDown, cxbkDropDownButton };
enum TcxButtonAssignedColor {
    cxbcDefault, cxbcDefaultText, cxbcDisabled, cxbcDisabledText, cxbcHot, cxbcHotText, cxbcNormal,
    cxbcNormalText, cxbcPressed, cxbcPressedText
};
using TcxButtonAssignedColors = Set<TcxButtonAssignedColor>;
enum TcxButtonInternalStateFlag { bisDown, bisHot, bisPressed, bisMenuButtonPressed, bisMenuVisible, bisAccelExecute };
using TcxButtonInternalState = Set<TcxButtonInternalStateFlag>;
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Private messages of the button's window: open the drop-down menu, and the menu has closed.
constexpr UINT CM_BUTTONDROPDOWNMENU = 0x8065, CM_BUTTONCLOSEUPMENU = 0x8066;
// The width of the arrow part of a cxbkDropDownButton button.
constexpr int cxDropDownButtonWidth = 15;

class TcxCustomButton;

using TcxButtonGetDrawParamsEvent =
    Event<void(TcxCustomButton* sender, TcxButtonState state, TColor& color, TFont* font)>;
using TcxButtonDropDownMenuPopupEvent = Event<void(TObject* sender, TPopupMenu*& popupMenu, bool& handled)>;

class TcxButtonColors : public TPersistent {
    RTL_CLASS(TcxButtonColors, TPersistent)
    explicit TcxButtonColors(TcxCustomButton* owner) : owner_(owner) {}
    void Assign(TPersistent* source) override;
    TPersistent* GetOwner() override;

    TColor GetColor(TcxButtonAssignedColor index) const { return colors_[index]; }
    // clNone and clDefault unassign (and store clDefault); any other value is assigned.
    void SetColor(TcxButtonAssignedColor index, TColor value);
    TcxButtonAssignedColors AssignedColors() const { return assigned_; }
    // Only while designing: colours left out become clDefault, clDefault ones leave the set.
    void SetAssignedColors(TcxButtonAssignedColors value);
    bool IsColorStored(TcxButtonAssignedColor index) const { return assigned_.Contains(index); }

private:
    TcxCustomButton* owner_;
    TColor colors_[10] = {clDefault, clDefault, clDefault, clDefault, clDefault,
                          clDefault, clDefault, clDefault, clDefault, clDefault};
    TcxButtonAssignedColors assigned_;
};

class TcxSpeedButtonOptions : public TPersistent {
    RTL_CLASS(TcxSpeedButtonOptions, TPersistent)
    explicit TcxSpeedButtonOptions(TcxCustomButton* owner) : owner_(owner) {}
    void Assign(TPersistent* source) override;
    TPersistent* GetOwner() override;

    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int value);
    bool CanBeFocused() const { return canBeFocused_; }
    void SetCanBeFocused(bool value);
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool value);
    bool Down() const;
    void SetDown(bool value);
    bool Flat() const { return flat_; }
    void SetFlat(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);

    // With an owner and (a group or no focus): the button is then a speed button.
    bool Active() const;
    void BeginUpdate() { ++lockCount_; }
    void CancelUpdate() { --lockCount_; }
    void EndUpdate();
    bool Locked() const { return lockCount_ > 0; }
    // Tells the other buttons of the group (CM_BUTTONPRESSED to the parent's controls).
    void UpdateGroup();

private:
    void Changed(bool updateGroup);
    TcxCustomButton* owner_;
    int groupIndex_ = 0;
    bool canBeFocused_ = true;
    bool allowAllUp_ = false;
    bool flat_ = false;
    bool transparent_ = false;
    int lockCount_ = 0;
};

// Image lists of one image size shared by every button glyph of the process; a slot freed by
// one glyph is reused by the next image added.
class TcxGlyphList : public TcxImageList {
    RTL_CLASS(TcxGlyphList, TcxImageList)
    TcxGlyphList(int width, int height);
    // Into the first free slot, else appended; the slot's index.
    int AddGlyph(TBitmap* image, TColor maskColor);
    // Frees the slot (the image stays until the slot is reused).
    void ReleaseGlyph(int index);
    int UsedCount() const;

private:
    std::vector<bool> used_;
};

class TcxGlyphCache {
public:
    static TcxGlyphList* GetList(int width, int height);
    // Frees the slot; a list left empty is removed and freed.
    static void ReleaseImage(TcxGlyphList* list, int index);
    // The lists alive now (the cache itself goes with its last list).
    static int ListCount();
};

class TcxButtonGlyph : public TObject {
    RTL_CLASS(TcxButtonGlyph, TObject)
    TcxButtonGlyph();
    ~TcxButtonGlyph() override;

    TBitmap* Glyph() const { return glyph_.get(); }
    // Also derives NumGlyphs: width / height when the width is a multiple of the height and the
    // quotient is 1 to 4, else 1.
    void SetGlyph(TBitmap* value);
    TCustomImageList* Images() const { return images_; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageList(TCustomImageList* images, int imageIndex);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int value);
    TNotifyEvent OnChange;

    // Width already divided by NumGlyphs; (0, 0) without an image.
    TSize GlyphSize() const;
    bool HasImage() const;
    // The cached image of the state (made on first use) and its list.
    int ImageIndexFor(TcxButtonState state);
    TcxGlyphList* ListFor(TcxButtonState state);
    virtual TRect GetTextOffsets(TButtonLayout layout) const;

    struct TLayout {
        TPoint GlyphPos;
        TRect TextBounds;
    };
    // The classic layout in the client rectangle (`textFlags` are DT_ flags).
    TLayout CalcButtonLayout(TcxCanvas* canvas, const TRect& client, const TPoint& offset, const std::string& caption,
                             TButtonLayout layout, int margin, int spacing, unsigned textFlags) const;
    virtual void Draw(TcxCanvas* canvas, const TRect& client, const TPoint& offset, const std::string& caption,
                      TButtonLayout layout, int margin, int spacing, TcxButtonState state, unsigned textFlags);

protected:
    virtual void DrawButtonGlyph(TcxCanvas* canvas, const TPoint& p, TcxButtonState state);
    virtual void DrawButtonText(TcxCanvas* canvas, const std::string& caption, TRect r, TcxButtonState state,
                                unsigned textFlags);

private:
    void Invalidate();
    void FreeImages();
    int CreateButtonGlyph(int platformState);
    std::unique_ptr<TBitmap> glyph_;
    TCustomImageList* images_ = nullptr;
    int imageIndex_ = -1;
    int numGlyphs_ = 1;
    TcxGlyphList* list_ = nullptr;
    int indexes_[4] = {-1, -1, -1, -1}; // up, disabled, down, exclusive
};

// The painter a button uses: Office 2003 paints as the XP painter with visual styles, else as
// the standard one.
TcxCustomLookAndFeelPainterClass GetButtonPainterClass(TcxLookAndFeel* lookAndFeel);

class TcxCustomButton : public TButton, public IcxLookAndFeelContainer, public IcxMouseTrackingCaller {
    RTL_CLASS(TcxCustomButton, TButton)
    explicit TcxCustomButton(TComponent* owner);
    ~TcxCustomButton() override;
    void BeforeDestruction() override;

    TcxButtonColors* Colors() const { return colors_.get(); }
    void SetColors(TcxButtonColors* value) { colors_->Assign(value); }
    TPopupMenu* DropDownMenu() const { return dropDownMenu_; }
    void SetDropDownMenu(TPopupMenu* value);
    TBitmap* Glyph() const { return glyph_->Glyph(); }
    void SetGlyph(TBitmap* value) { glyph_->SetGlyph(value); }
    TcxButtonGlyph* ButtonGlyph() const { return glyph_.get(); }
    TcxButtonKind Kind() const { return kind_; }
    void SetKind(TcxButtonKind value);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout value);
    TcxLookAndFeel* LookAndFeel() const { return lookAndFeel_.get(); }
    void SetLookAndFeel(TcxLookAndFeel* value) { lookAndFeel_->Assign(value); }
    TcxLookAndFeel* GetLookAndFeel() override { return lookAndFeel_.get(); }
    int Margin() const { return margin_; }
    void SetMargin(int value);
    int NumGlyphs() const { return glyph_->NumGlyphs(); }
    void SetNumGlyphs(int value) { glyph_->SetNumGlyphs(value); }
    TPopupAlignment PopupAlignment = paLeft;
    // A TPopupMenu or a component with the toolkit's popup-menu interface; anything else is nil.
    TComponent* PopupMenuComponent() const { return popupMenu_; }
    void SetPopupMenu(TComponent* value);
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);
    TcxSpeedButtonOptions* SpeedButtonOptions() const { return speedButtonOptions_.get(); }
    void SetSpeedButtonOptions(TcxSpeedButtonOptions* value) { speedButtonOptions_->Assign(value); }
    bool UseSystemPaint = false;
    // Not published: the size follows GetOptimalSize.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);

    // Shortcuts to SpeedButtonOptions.
    bool CanBeFocused() const { return speedButtonOptions_->CanBeFocused(); }
    void SetCanBeFocused(bool value) { speedButtonOptions_->SetCanBeFocused(value); }
    int GroupIndex() const { return speedButtonOptions_->GroupIndex(); }
    void SetGroupIndex(int value) { speedButtonOptions_->SetGroupIndex(value); }
    bool Down() const { return internalState_.Contains(bisDown); }
    void SetDown(bool value);
    bool AllowAllUp() const { return speedButtonOptions_->AllowAllUp(); }
    void SetAllowAllUp(bool value) { speedButtonOptions_->SetAllowAllUp(value); }

    TcxButtonDropDownMenuPopupEvent OnDropDownMenuPopup;
    TcxButtonGetDrawParamsEvent OnGetDrawParams;

    TcxButtonInternalState InternalState() const { return internalState_; }
    bool IsSpeedButtonMode() const { return speedButtonOptions_->Active(); }
    TcxButtonState GetButtonState();
    TRect GetMenuButtonBounds() const;
    virtual TSize GetOptimalSize();
    virtual TcxCustomLookAndFeelPainterClass GetPainterClass() { return GetButtonPainterClass(lookAndFeel_.get()); }
    virtual bool StandardButton() const { return false; }
    void Click() override;
    void SetBounds(int left, int top, int width, int height) override;

    // IcxMouseTrackingCaller
    void MouseTrackingCallerMouseLeave() override;

protected:
    friend class TcxSpeedButtonOptions;
    virtual bool DoOnDropDownMenuPopup(TPopupMenu*& menu);
    virtual bool DoShowPopupMenu(TComponent* menu, int x, int y);
    virtual void DoMouseEnter();
    virtual void DoMouseLeave();

    void WndProc(TMessage& msg) override;
    void Dispatch(TMessage& msg) override;
    void CreateHandle() override;
    void DestroyWindowHandle() override;
    void PaintButton(TCanvas* canvas, const TRect& client, bool down) override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DoContextPopup(TPoint mousePos, bool& handled) override;
    void Notification(TComponent* component, TOperation operation) override;
    virtual void LookAndFeelChanged(TcxLookAndFeel* sender, TcxLookAndFeelValues changedValues);

private:
    void RecordPress(int x, int y);
    void RequestDropDownMenu();
    void ShowDropDownMenu();
    void CloseUpMenu();
    void ButtonPressed(int groupIndex, TcxCustomButton* button);
    void DrawBackground(TcxCanvas* canvas, TRect r, TcxButtonState state, TColor color);
    TColor InitializeCanvasColors(TcxCanvas* canvas, TcxButtonState state);
    bool IsDefaultState() const;

    std::unique_ptr<TcxButtonColors> colors_;
    std::unique_ptr<TcxButtonGlyph> glyph_;
    std::unique_ptr<TcxLookAndFeel> lookAndFeel_;
    std::unique_ptr<TcxSpeedButtonOptions> speedButtonOptions_;
    TcxButtonInternalState internalState_;
    TPopupMenu* dropDownMenu_ = nullptr;
    TComponent* popupMenu_ = nullptr;
    TcxButtonKind kind_ = cxbkStandard;
    TButtonLayout layout_ = blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
    bool autoSize_ = false;
    bool isPressed_ = false;
    bool menuJustClosed_ = false;
};

class TcxButton : public TcxCustomButton {
    RTL_CLASS(TcxButton, TcxCustomButton)
    using TcxCustomButton::TcxCustomButton;
};

} // namespace cx

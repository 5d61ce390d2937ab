#pragma once
// cxNavigator: the data navigator. A strip of 16 small buttons (first, prior page, prior, next,
// next page, last, insert, append, delete, edit, post, cancel, refresh, save bookmark, go to
// bookmark, filter) laid out as one button group and painted by the look-and-feel painter.
//
// The button model and the view info reach the control that hosts them only through
// IcxNavigatorOwner, so the same pieces can serve a navigator embedded in another control. The
// stand-alone TcxNavigator links to any component that implements IcxNavigator: it asks that
// component which buttons are enabled and tells it which action to run; the component keeps a
// TcxNavigatorControlNotifier and tells every linked navigator when its state changes.
#include "platform/vcl/ImgList.h"
#include "toolkit/core/cxGraphics.h"
#include "toolkit/core/cxLookAndFeels.h"
#include "toolkit/controls/cxControls.h"

#include <memory>
#include <string>
#include <vector>

namespace cx {

inline constexpr TGUID IID_IcxNavigator = {0xA15F80CA, 0xDE56, 0x47CB,
                                           {0xB0, 0xEB, 0x03, 0x5D, 0x0B, 0xF9, 0x0E, 0x9D}};
inline constexpr TGUID IID_IcxNavigatorOwner = {0x504B7F43, 0x8847, 0x46C5,
                                                {0xB8, 0x4A, 0xC2, 0x4F, 0x8E, 0x5E, 0x61, 0xA6}};

// The default index of each button; also the action number handed to the linked control.
enum TcxNavigatorButtonIndex : int {
    nbiFirst, nbiPriorPage, nbiPrior, nbiNext, nbiNextPage, nbiLast, nbiInsert, nbiAppend, nbiDelete,
    nbiEdit, nbiPost, nbiCancel, nbiRefresh, nbiSaveBookmark, nbiGotoBookmark, nbiFilter
};
inline constexpr int cxNavigatorButtonCount = 16;

// The process-wide strip of button pictures: 22 images of 12 x 11 (button i uses image i; the
// last six cells are spare and empty), olive being the transparent colour. Made on first use,
// freed by cxNavigatorUnit::Finalize.
inline constexpr int cxNavigatorImageWidth = 12, cxNavigatorImageHeight = 11, cxNavigatorImageCount = 22;
TCustomImageList* NavigatorImages();

enum TcxNavigatorChangeType { nctProperties, nctSize, nctLayout };

class TcxCustomNavigatorButtons;
class TcxNavigatorControlNotifier;

// What the buttons and the view info ask of the control that hosts them.
class IcxNavigatorOwner {
public:
    virtual ~IcxNavigatorOwner() = default;
    virtual void NavigatorChanged(TcxNavigatorChangeType changeType) = 0;
    virtual TRect GetNavigatorBounds() = 0;
    virtual TcxCustomNavigatorButtons* GetNavigatorButtons() = 0;
    virtual TCanvas* GetNavigatorCanvas() = 0;
    virtual TWinControl* GetNavigatorControl() = 0;
    virtual bool GetNavigatorFocused() = 0;
    virtual TcxLookAndFeel* GetNavigatorLookAndFeel() = 0;
    virtual TComponent* GetNavigatorOwner() = 0;
    virtual bool GetNavigatorShowHint() = 0;
    virtual bool GetNavigatorTabStop() = 0;
    virtual void NavigatorButtonsStateChanged() = 0;
    virtual void RefreshNavigator() = 0;
};

// Implemented by a data-aware control that a navigator can drive.
class IcxNavigator {
public:
    virtual ~IcxNavigator() = default;
    virtual bool NavigatorCanAppend() = 0;
    virtual bool NavigatorCanDelete() = 0;
    virtual bool NavigatorCanEdit() = 0;
    virtual bool NavigatorCanInsert() = 0;
    // False: the control has no data, and every button but Filter is disabled.
    virtual bool NavigatorIsActive() = 0;
    virtual bool NavigatorIsBof() = 0;
    virtual bool NavigatorIsBookmarkAvailable() = 0;
    virtual bool NavigatorIsEditing() = 0;
    virtual bool NavigatorIsEof() = 0;
    virtual void NavigatorClearBookmark() = 0;
    virtual void NavigatorDoAction(int buttonIndex) = 0;
    // The control's notifier, or null.
    virtual TcxNavigatorControlNotifier* NavigatorGetNotifier() = 0;
    virtual bool NavigatorIsActionSupported(int buttonIndex) = 0;
};

using TcxNavigatorButtonClickEvent = Event<void(TObject* sender, int buttonIndex, bool& done)>;

class TcxNavigatorButton : public TPersistent {
    RTL_CLASS(TcxNavigatorButton, TPersistent)
    TcxNavigatorButton(TcxCustomNavigatorButtons* buttons, int buttonIndex, bool visibleByDefault);

    void Assign(TPersistent* source) override;
    TPersistent* GetOwner() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value) { InternalSetVisible(value, false); }
    // "Visible" is stored only when it was set explicitly.
    bool IsVisibleStored() const { return visibleSetExplicitly_; }
    TNotifyEvent OnClick() const { return onClick_; }
    void SetOnClick(TNotifyEvent value);

    int ButtonIndex() const { return buttonIndex_; }
    bool VisibleByDefault() const { return visibleByDefault_; }
    bool VisibleSetExplicitly() const { return visibleSetExplicitly_; }
    TcxCustomNavigatorButtons* Buttons() const { return buttons_; }
    IcxNavigatorOwner* Navigator() const;

    // Clicks when the button is enabled.
    void Click();
    // The button's own OnClick alone when assigned; otherwise the collection's OnButtonClick and,
    // unless that says it is done, the collection's DoButtonClick.
    virtual void DoClick();
    bool GetInternalEnabled();
    std::string GetInternalHint();
    // The user's list and ImageIndex when both are there, else the default strip and ButtonIndex.
    TCustomImageList* GetInternalImages();
    int GetInternalImageIndex();
    bool IsUserImageListUsed();
    TSize GetImageSize();
    // Follows the default unless the visibility was set explicitly.
    void RestoreDefaultVisible(bool value);
    void ForgetExplicitVisible() { visibleSetExplicitly_ = false; }
    void InternalSetVisible(bool value, bool restoring);

private:
    TcxCustomNavigatorButtons* buttons_;
    int buttonIndex_;
    bool visibleByDefault_;
    bool enabled_ = true;
    std::string hint_;
    int imageIndex_ = -1;
    bool visible_ = true;
    bool visibleSetExplicitly_ = false;
    TNotifyEvent onClick_;
};

class TcxCustomNavigatorButtons : public TPersistent {
    RTL_CLASS(TcxCustomNavigatorButtons, TPersistent)
    explicit TcxCustomNavigatorButtons(IcxNavigatorOwner* navigator);
    ~TcxCustomNavigatorButtons() override;

    void Assign(TPersistent* source) override;
    TPersistent* GetOwner() override;

    IcxNavigatorOwner* Navigator() const { return navigator_; }
    int ButtonCount() const { return cxNavigatorButtonCount; }
    TcxNavigatorButton* Buttons(int index) const { return buttons_.at(std::size_t(index)).get(); }
    void SetButtons(int index, TcxNavigatorButton* value) { Buttons(index)->Assign(value); }
    void ClickButton(int index) { Buttons(index)->Click(); }

    bool ConfirmDelete() const { return confirmDelete_; }
    void SetConfirmDelete(bool value);
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* value);
    // The list is being destroyed: forgets it without asking anything of it.
    void ImageListFreed();
    TcxNavigatorButtonClickEvent OnButtonClick() const { return onButtonClick_; }
    void SetOnButtonClick(TcxNavigatorButtonClickEvent value);

    TcxNavigatorButton* First() const { return Buttons(nbiFirst); }
    TcxNavigatorButton* PriorPage() const { return Buttons(nbiPriorPage); }
    TcxNavigatorButton* Prior() const { return Buttons(nbiPrior); }
    TcxNavigatorButton* Next() const { return Buttons(nbiNext); }
    TcxNavigatorButton* NextPage() const { return Buttons(nbiNextPage); }
    TcxNavigatorButton* Last() const { return Buttons(nbiLast); }
    TcxNavigatorButton* Insert() const { return Buttons(nbiInsert); }
    TcxNavigatorButton* Append() const { return Buttons(nbiAppend); }
    TcxNavigatorButton* Delete() const { return Buttons(nbiDelete); }
    TcxNavigatorButton* Edit() const { return Buttons(nbiEdit); }
    TcxNavigatorButton* Post() const { return Buttons(nbiPost); }
    TcxNavigatorButton* Cancel() const { return Buttons(nbiCancel); }
    TcxNavigatorButton* Refresh() const { return Buttons(nbiRefresh); }
    TcxNavigatorButton* SaveBookmark() const { return Buttons(nbiSaveBookmark); }
    TcxNavigatorButton* GotoBookmark() const { return Buttons(nbiGotoBookmark); }
    TcxNavigatorButton* Filter() const { return Buttons(nbiFilter); }

    // Reached when neither the button's OnClick nor OnButtonClick handled a click.
    virtual void DoButtonClick(int index) {}
    // Here: whether the navigator control is enabled.
    virtual bool GetButtonEnabled(int index);
    // The default hint of the button index (the resource string).
    virtual std::string GetButtonHint(int index);
    // Nothing reads it; kept for descendants that place pictures themselves.
    virtual int GetButtonImageOffset() { return 2; }
    virtual void ReleaseBookmark() {}

private:
    void ImageListChange(TObject* sender);

    IcxNavigatorOwner* navigator_;
    std::vector<std::unique_ptr<TcxNavigatorButton>> buttons_;
    TCustomImageList* images_ = nullptr;
    std::unique_ptr<TChangeLink> imageChangeLink_;
    bool confirmDelete_ = true;
    TcxNavigatorButtonClickEvent onButtonClick_;
};

class TcxNavigatorButtonViewInfo : public TObject {
    RTL_CLASS(TcxNavigatorButtonViewInfo, TObject)
    TcxNavigatorButton* NavButton = nullptr;
    TRect ButtonBounds;
    bool CachedEnabled = false;
    std::string CachedHint;
};

class TcxNavigatorViewInfo : public TObject {
    RTL_CLASS(TcxNavigatorViewInfo, TObject)
    TcxNavigatorViewInfo(IcxNavigatorOwner* navigator, bool inPlaceMode);
    ~TcxNavigatorViewInfo() override;

    IcxNavigatorOwner* Navigator() const { return navigator_; }
    bool InPlaceMode() const { return inPlaceMode_; }
    bool IsDirty() const { return isDirty_; }
    bool SelectedFrame() const { return selectedFrame_; }
    int Count() const { return int(viewInfos_.size()); }
    TcxNavigatorButtonViewInfo* ButtonViewInfos(int index) const { return viewInfos_.at(std::size_t(index)).get(); }
    TcxNavigatorButtonViewInfo* HotButton() const { return hotButton_; }
    TcxNavigatorButtonViewInfo* PressedButton() const { return pressedButton_; }
    TcxTimer* ButtonPressTimer() const { return pressTimer_; }
    TcxTimer* HintTimer() const { return hintTimer_; }
    THintWindow* ButtonHintWindow() const { return hintWindow_; }
    bool HintShowing() const { return hintShowing_; }

    // Lays the visible buttons out in the given size and corrects it: the height grows to the
    // tallest button, the width to the sum of the buttons, or shrinks to a whole spare share per
    // button.
    void CheckSize(int& width, int& height, bool withImageHeight = false);
    void Calculate();
    void MakeIsDirty() { isDirty_ = true; }
    void Clear();
    void Paint();

    TcxNavigatorButtonViewInfo* GetButtonViewInfoAt(const TPoint& p);
    TcxNavigatorButton* GetButtonAt(const TPoint& p);
    TcxNavigatorButtonViewInfo* GetButtonViewInfoByButton(TcxNavigatorButton* button) const;
    TcxButtonState GetButtonState(TcxNavigatorButtonViewInfo* viewInfo) const;
    void InvalidateButton(TcxNavigatorButtonViewInfo* viewInfo);
    void UpdateButtonsEnabled();
    TcxNavigatorButtonViewInfo* GetFocusedButton();
    void SetFocusedButton(TcxNavigatorButtonViewInfo* viewInfo);
    void PressArrowKey(bool left);
    void DoEnter();
    void DoExit();
    void UpdateSelected();

    // Client coordinates; leaving the control is a move to (-1, -1).
    void MouseDown(int x, int y);
    void MouseMove(int x, int y);
    void MouseUp(int x, int y);
    void HintActivate(bool show);

private:
    TcxCustomLookAndFeelPainterClass Painter() const;
    TcxCustomNavigatorButtons* Buttons() const { return navigator_->GetNavigatorButtons(); }
    void CalculateIfDirty();
    void PaintButton(int index);
    void ButtonPressTimerTick(TObject* sender);
    void HintTimerTick(TObject* sender);

    IcxNavigatorOwner* navigator_;
    bool inPlaceMode_;
    bool isDirty_ = true;
    bool selectedFrame_ = false;
    std::vector<std::unique_ptr<TcxNavigatorButtonViewInfo>> viewInfos_;
    TcxNavigatorButtonViewInfo* hotButton_ = nullptr;
    TcxNavigatorButtonViewInfo* pressedButton_ = nullptr;
    TcxNavigatorButton* focusedButton_ = nullptr;
    TcxTimer* pressTimer_ = nullptr;
    TcxTimer* hintTimer_ = nullptr;
    THintWindow* hintWindow_ = nullptr;
    bool hintShowing_ = false;
    std::unique_ptr<TcxCanvas> navCanvas_;
};

using TcxNavigatorViewInfoClass = TClassRef<TcxNavigatorViewInfo, IcxNavigatorOwner*, bool>;

class TcxCustomNavigator : public TcxControl, public IcxNavigatorOwner, public IcxMouseTrackingCaller {
    RTL_CLASS(TcxCustomNavigator, TcxControl)
    explicit TcxCustomNavigator(TComponent* owner);
    ~TcxCustomNavigator() override;
    void BeforeDestruction() override;

    // Made on first use (C++ constructors do not dispatch to a descendant's CreateButtons).
    TcxCustomNavigatorButtons* CustomButtons();
    TcxNavigatorViewInfo* ViewInfo();
    TNotifyEvent ButtonsEvents; // a placeholder that nothing calls

    void ClickButton(int index) { CustomButtons()->ClickButton(index); }
    // Forgets every button's explicit visibility and shows the defaults again.
    void RestoreButtons();
    virtual void InitButtons();

    // IcxNavigatorOwner
    void NavigatorChanged(TcxNavigatorChangeType) override {}
    TRect GetNavigatorBounds() override { return {0, 0, ClientWidth(), ClientHeight()}; }
    TcxCustomNavigatorButtons* GetNavigatorButtons() override { return CustomButtons(); }
    TCanvas* GetNavigatorCanvas() override { return TCustomControl::Canvas(); }
    TWinControl* GetNavigatorControl() override { return this; }
    bool GetNavigatorFocused() override { return Focused(); }
    TcxLookAndFeel* GetNavigatorLookAndFeel() override { return LookAndFeel(); }
    TComponent* GetNavigatorOwner() override { return this; }
    bool GetNavigatorShowHint() override { return ShowHint; }
    bool GetNavigatorTabStop() override { return TabStop; }
    void NavigatorButtonsStateChanged() override;
    void RefreshNavigator() override;

    // IcxMouseTrackingCaller
    void MouseTrackingCallerMouseLeave() override { NavigatorMouseLeave(); }

    void SetBounds(int left, int top, int width, int height) override;
    bool CanFocusOnClick() override;

protected:
    virtual TcxCustomNavigatorButtons* CreateButtons();
    virtual TcxNavigatorViewInfoClass GetViewInfoClass() const;

    void WndProc(TMessage& msg) override;
    void Dispatch(TMessage& msg) override;
    void CreateWnd() override;
    void Paint() override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseEnter(TControl* control) override;
    void MouseLeave(TControl* control) override;
    void DoEnter() override;
    void DoExit() override;
    void LookAndFeelChanged(TcxLookAndFeel* sender, TcxLookAndFeelValues changedValues) override;
    void Notification(TComponent* component, TOperation operation) override;
    void NavigatorMouseLeave();

private:
    std::unique_ptr<TcxCustomNavigatorButtons> buttons_;
    std::unique_ptr<TcxNavigatorViewInfo> viewInfo_;
};

// The buttons of a navigator linked to an IcxNavigator control.
class TcxNavigatorControlButtons : public TcxCustomNavigatorButtons {
    RTL_CLASS(TcxNavigatorControlButtons, TcxCustomNavigatorButtons)
    using TcxCustomNavigatorButtons::TcxCustomNavigatorButtons;

    // Answers the linked control (null when none); set by the navigator control.
    std::function<IcxNavigator*()> GetControlCallback;

    void DoButtonClick(int index) override;
    bool GetButtonEnabled(int index) override;
    void ReleaseBookmark() override;

private:
    IcxNavigator* GetControl() const { return GetControlCallback ? GetControlCallback() : nullptr; }
};

class TcxCustomNavigatorControl : public TcxCustomNavigator {
    RTL_CLASS(TcxCustomNavigatorControl, TcxCustomNavigator)
    using TcxCustomNavigator::TcxCustomNavigator;
    void BeforeDestruction() override;

    TComponent* Control() const { return control_; }
    // Nothing when unchanged or when the component does not implement IcxNavigator (null unlinks).
    void SetControl(TComponent* value);
    TcxNavigatorControlButtons* Buttons() { return static_cast<TcxNavigatorControlButtons*>(CustomButtons()); }
    void InitButtons() override;

protected:
    TcxCustomNavigatorButtons* CreateButtons() override;
    void Notification(TComponent* component, TOperation operation) override;
    IcxNavigator* GetControl() const { return dynamic_cast<IcxNavigator*>(control_); }

private:
    void Unlink();
    TComponent* control_ = nullptr;
};

class TcxNavigator : public TcxCustomNavigatorControl {
    RTL_CLASS(TcxNavigator, TcxCustomNavigatorControl)
    using TcxCustomNavigatorControl::TcxCustomNavigatorControl;
};

// Kept by a navigable control: the navigators linked to it (not owned, no duplicates).
class TcxNavigatorControlNotifier : public TObject {
    RTL_CLASS(TcxNavigatorControlNotifier, TObject)
    void AddNavigator(IcxNavigatorOwner* navigator);
    void RemoveNavigator(IcxNavigatorOwner* navigator);
    // Each listed navigator's NavigatorButtonsStateChanged.
    void RefreshNavigatorButtons();
    int Count() const { return int(list_.size()); }

private:
    std::vector<IcxNavigatorOwner*> list_;
};

namespace cxNavigatorUnit {
void Initialize();
// Frees the image strip.
void Finalize();
} // namespace cxNavigatorUnit

} // namespace cx

#pragma once
// TcxCustomInnerListBox: the list box that lives inside a container (the list of list editors and
// drop-down lists). It hands its input to the container, covers its own scroll-bar strips with
// toolkit scroll bars placed in its parent, paints the size grip, draws owner-drawn items through
// a toolkit canvas and finds items by typing (a pause of AutoCompleteDelay starts a new search).
#include "platform/vcl/ListBox.h"
#include "toolkit/controls/cxContainer.h"

#include <memory>
#include <string>

namespace cx {

class TcxCustomInnerListBox : public TcxInnerControlMouseForwarder<TCustomListBox, TcxCustomInnerListBox>,
                              public IcxContainerInnerControl,
                              public IcxNativeScrollBars {
    RTL_CLASS(TcxCustomInnerListBox, TCustomListBox)
    explicit TcxCustomInnerListBox(TComponent* owner);
    ~TcxCustomInnerListBox() override;
    void BeforeDestruction() override;

    // Milliseconds between two keys after which the search text starts anew.
    std::uint32_t AutoCompleteDelay = 500;
    // The container the list box belongs to (not owned; none when used alone).
    TcxContainer* Container() const;
    void SetContainer(TcxContainer* value);
    const std::string& SearchText() const { return searchText_; }
    TcxCanvas* cxCanvas() const { return canvas_.get(); }
    TcxScrollBar* HScrollBar() const { return hScrollBar_; }
    TcxScrollBar* VScrollBar() const { return vScrollBar_; }
    TcxLookAndFeel* LookAndFeel() const { return lookAndFeel_.get(); }
    void SetLookAndFeel(TcxLookAndFeel* value) { lookAndFeel_->Assign(value); }

    bool ItemVisible(int index) const;
    // The square between the two toolkit bars, relative to the list box; empty unless both show.
    TRect GetSizeGripRect() const;
    void DrawSizeGrip();
    int FindAutoCompleteString(const std::string& s);
    void SaveCanvasParametersForFocusRect();
    void RestoreCanvasParametersForFocusRect();
    // While locked the toolkit bars are not placed.
    void LockScrollBars(bool lock) { barsLockCount_ += lock ? 1 : -1; }

    // IcxContainerInnerControl
    TWinControl* GetControl() override { return this; }
    TcxContainer* GetControlContainer() override { return Container(); }
    // IcxNativeScrollBars: the list box's own bar strips, as the system would report them.
    bool GetScrollBarInfo(TScrollBarKind kind, TcxScrollBarInfo& info) override;
    bool GetScrollInfo(TScrollBarKind kind, TcxScrollInfo& info) override;

    void WndProc(TMessage& msg) override;
    void Dispatch(TMessage& msg) override;
    void DefaultHandler(TMessage& msg) override;

    virtual void DoAutoComplete(char16_t& key);
    virtual void LookAndFeelChanged(TcxLookAndFeel* sender, TcxLookAndFeelValues changedValues);
    virtual bool NeedDrawFocusRect() const { return !OnDrawItem.Assigned(); }
    virtual void SetExternalScrollBarsParameters();
    virtual void MouseEnter(TControl* control) {}
    virtual void MouseLeave(TControl* control);

protected:
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void KeyUp(std::uint16_t& key, TShiftState shift) override;
    void KeyPress(char16_t& key) override;
    // The vertical bar follows the item a click chose before the container hears the click.
    void Click() override;
    void DragOver(TObject* source, int x, int y, TDragState state, bool& accept) override;
    void DragDrop(TObject* source, int x, int y) override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
    TPopupMenu* GetPopupMenu() override;
    void DrawItemNotice(int index, const TRect& rect, unsigned odsState) override;
    void Paint() override;
    void ListChanged() override;
    void Notification(TComponent* component, TOperation operation) override;
    void CreateScrollBars();
    void HScrollHandler(TObject* sender, TScrollCode code, int& pos);
    void VScrollHandler(TObject* sender, TScrollCode code, int& pos);

private:
    // The container hooks the window procedure of its inner control and forwards keys and focus
    // changes itself; the list box forwards them only when it is not that inner control.
    bool ContainerForwardsInput() const;
    void HandleLButtonDown(TMessage& msg);
    void PlaceBar(TcxScrollBar* bar, TScrollBarKind kind);

    std::string searchText_;
    std::unique_ptr<TcxCanvas> canvas_;
    TcxScrollBar* hScrollBar_ = nullptr;
    std::unique_ptr<TcxLookAndFeel> lookAndFeel_;
    TColor savedBrushColor_ = clWindow, savedFontColor_ = clWindowText;
    std::uint32_t lastKeyTime_ = 0;
    bool calculating_ = false;
    int barsLockCount_ = 0;
    TcxScrollBar* vScrollBar_ = nullptr;
    TcxContainer* container_ = nullptr;
    std::weak_ptr<bool> containerAlive_;
    char16_t pendingHighSurrogate_ = 0;
};

} // namespace cx

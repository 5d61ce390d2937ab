#pragma once
// The list box: a painted control of our own (no Qt item view), so that selection, owner drawing,
// the prefix search and the key and mouse behaviour follow the system's list box exactly.
//
// It answers the list-box messages the toolkit uses (LB_FINDSTRING, LB_SELITEMRANGE,
// LB_SETCURSEL, LB_GETCURSEL, LB_GETCOUNT, LB_SETTOPINDEX, LB_GETTOPINDEX) and WM_VSCROLL /
// WM_HSCROLL. Its scroll bars are "native" in the sense of the design: it reserves their strips
// (vertical at the right, horizontal at the bottom), reports their rectangles, ranges and
// positions, and draws and works them as the system's classic bars do (arrows, a track paged by
// a press, a thumb to drag); a toolkit list box covers them with bars of its own. With
// BorderStyle bsSingle (the default) a sunken frame two pixels wide surrounds items and bars.
#include "platform/rtl/Strings.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"

#include <memory>
#include <string>
#include <vector>

enum : UINT {
    LB_ADDSTRING = 0x0180, LB_INSERTSTRING = 0x0181, LB_DELETESTRING = 0x0182, LB_RESETCONTENT = 0x0184,
    LB_SETSEL = 0x0185, LB_SETCURSEL = 0x0186, LB_GETSEL = 0x0187, LB_GETCURSEL = 0x0188,
    LB_GETCOUNT = 0x018B, LB_GETTOPINDEX = 0x018E, LB_FINDSTRING = 0x018F, LB_SETHORIZONTALEXTENT = 0x0194,
    LB_SETTOPINDEX = 0x0197, LB_SELITEMRANGE = 0x019B, LB_SETCARETINDEX = 0x019E,
};
constexpr LRESULT LB_ERR = -1;
// Owner-drawing states the draw notice carries.
enum : unsigned { ODS_SELECTED = 1, ODS_GRAYED = 2, ODS_DISABLED = 4, ODS_FOCUS = 0x10 };

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw };
enum TOwnerDrawStateFlag { odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault };
using TOwnerDrawState = rtl::Set<TOwnerDrawStateFlag>;
using TDrawItemEvent = rtl::Event<void(TWinControl* control, int index, TRect rect, TOwnerDrawState state)>;
// Finds an item of a virtual list by its text's prefix; -1 when none.
using TLBFindDataEvent = rtl::Event<int(TWinControl* control, const std::string& findString)>;

// The state of one of the list box's own scroll bars as the system would report it.
using TListBoxScrollBar = TScrollBarState;

class TCustomListBox : public TCustomControl {
    RTL_CLASS(TCustomListBox, TCustomControl)
    explicit TCustomListBox(rtl::TComponent* owner);
    ~TCustomListBox() override;

    rtl::TStrings* Items() const;
    // The number of items (Count for the virtual styles).
    int ItemCount() const;
    void SetCount(int count); // virtual styles only
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    int TopIndex() const { return topIndex_; }
    void SetTopIndex(int index);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int value);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool value);
    bool Selected(int index) const;
    void SetSelected(int index, bool value);
    int SelCount() const;
    void ClearSelection();
    // Extent of the widest item in pixels: a horizontal bar appears when it is wider than the box.
    int ScrollWidth() const { return scrollWidth_; }
    void SetScrollWidth(int value);
    int HorzPosition() const { return horzPos_; }
    TListBoxStyle Style() const { return style_; }
    void SetStyle(TListBoxStyle value);
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle value);
    bool AutoComplete = true;

    // The item under a client point; -1 (or the nearest, when `existing` is false) when none.
    int ItemAtPos(const TPoint& p, bool existing) const;
    TRect ItemRect(int index) const;
    // The rows fully or partly shown.
    int VisibleRows() const;
    // Case-insensitive prefix search, wrapping, starting after `start` (-1: from the top).
    int FindString(const std::string& prefix, int start = -1) const;
    TListBoxScrollBar ScrollBarState(TScrollBarKind kind) const;
    // The rectangle of the items (client area minus the frame and the bar strips).
    TRect ItemsArea() const;
    // The parts of one of its scroll bars, client coordinates (empty when the bar is hidden or
    // has nothing to scroll, for the thumb).
    struct BarParts {
        TRect LineUp, PageUp, Thumb, PageDown, LineDown;
    };
    BarParts ScrollBarParts(TScrollBarKind kind) const;

    TDrawItemEvent OnDrawItem;
    TLBFindDataEvent OnDataFind;
    TNotifyEvent OnScrolled;

    void Dispatch(TMessage& msg) override;

protected:
    void Paint() override;
    void Resize() override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
    // Paints one item (owner-drawn styles call OnDrawItem; the others draw the text).
    virtual void DrawItem(int index, const TRect& rect, TOwnerDrawState state);
    // Draws one item into the canvas as the system's draw notice does (brush and font for the
    // selection, the focus rectangle); descendants may take the notice over.
    virtual void DrawItemNotice(int index, const TRect& rect, unsigned odsState);
    virtual int DoFindData(const std::string& prefix);
    // Something that moves the scroll bars changed: items, selection, top index, size.
    virtual void ListChanged() {}
    // The system's own handling of a press (selection), apart from the mouse events.
    void SelectAtPoint(TShiftState shift, int x, int y);
    // A press that a descendant takes over: moves no longer change the selection.
    void CancelTracking() { tracking_ = false; }

private:
    enum BarPart { bpNone, bpLineUp, bpPageUp, bpThumb, bpPageDown, bpLineDown };
    int FrameWidth() const { return borderStyle_ == bsSingle ? 2 : 0; }
    void PaintBar(TCanvas* canvas, TScrollBarKind kind);
    BarPart BarPartAt(TScrollBarKind kind, const TPoint& p) const;
    // A press on a bar: its part acts at once and repeats while held; the thumb follows the
    // pointer. Answers whether the press was on a bar.
    bool BarMouse(TMessage& msg);
    void BarAct();
    void ItemsChanged(rtl::TObject*);
    void ClampTop();
    void MoveIndex(int index, TShiftState shift);
    void ScrollVert(int code, int pos);
    void ScrollHorz(int code, int pos);
    std::unique_ptr<rtl::TStringList> items_;
    std::vector<bool> selected_;
    int count_ = 0; // virtual styles
    int itemIndex_ = -1, topIndex_ = 0, anchor_ = -1;
    int itemHeight_ = 16;
    int scrollWidth_ = 0, horzPos_ = 0;
    bool multiSelect_ = false;
    bool tracking_ = false;
    TListBoxStyle style_ = lbStandard;
    TFormBorderStyle borderStyle_ = bsSingle;
    struct BarPress {
        BarPart part = bpNone;
        TScrollBarKind kind = sbVertical;
        TPoint pointer;      // the pointer's last client point
        int grab = 0;        // from the thumb's start to the pointer, along the bar
    } barPress_;
};

class TListBox : public TCustomListBox {
    RTL_CLASS(TListBox, TCustomListBox)
    using TCustomListBox::TCustomListBox;
};

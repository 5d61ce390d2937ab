#pragma once
// TcxScrollBar: a windowed scroll bar painted by its look and feel's painter, with the platform scroll
// bar's behaviour: arrows and page areas that repeat while held (400 ms, then 60 ms), a thumb
// that can be dragged and snaps back when the mouse strays too far, OnScroll and OnChange.
#include "toolkit/core/cxLookAndFeels.h"
#include "toolkit/controls/cxControlsTimers.h"

#include <memory>

namespace cx {

class TcxScrollBar;
using TScrollEvent = Event<void(TObject* sender, TScrollCode scrollCode, int& scrollPos)>;

class TcxScrollBarViewInfo : public TObject {
    RTL_CLASS(TcxScrollBarViewInfo, TObject)
    explicit TcxScrollBarViewInfo(TcxScrollBar* scrollBar) : scrollBar_(scrollBar) {}
    virtual void CalculateRects();
    void Calculate() { CalculateRects(); }
    void CalculateMinThumnailSize();
    void CalculateThumbnailRect();
    void AdjustPageRects();
    // Moves the thumb along the bar's axis so that it starts at the coordinate.
    void SetThumbnailPos(int pos);
    // The track between the arrows (its length is L).
    int TrackStart() const;
    int TrackLength() const;

    TRect BottomRightArrowRect, PageDownRect, PageUpRect, ThumbnailRect, TopLeftArrowRect;
    int ThumbnailSize = 8;

private:
    TcxScrollBar* scrollBar_;
};

class TcxScrollBar : public TCustomControl {
    RTL_CLASS(TcxScrollBar, TCustomControl)
    explicit TcxScrollBar(TComponent* owner);
    ~TcxScrollBar() override;
    void BeforeDestruction() override;

    void SetScrollParams(int min, int max, int position, int pageSize, bool redraw = true);
    void SetParams(int position, int min, int max) { SetScrollParams(min, max, position, pageSize_); }
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    int PageSize() const { return pageSize_; }
    void SetMin(int v) { SetScrollParams(v, max_, position_, pageSize_); }
    void SetMax(int v) { SetScrollParams(min_, v, position_, pageSize_); }
    void SetPosition(int v) { SetScrollParams(min_, max_, v, pageSize_); }
    void SetPageSize(int v) { SetScrollParams(min_, max_, position_, v); }
    int SmallChange = 1;
    int LargeChange = 1;
    bool UnlimitedTracking = false;
    TScrollBarKind Kind() const { return kind_; }
    void SetKind(TScrollBarKind kind);
    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

    void SetBounds(int left, int top, int width, int height) override;
    void SetEnabled(bool v) override;
    TcxScrollBarViewInfo* ViewInfo() const { return viewInfo_.get(); }
    TcxScrollBarPart GetScrollBarPart(const TPoint& p) const;
    int GetPositionFromThumbnail() const;
    TcxScrollBarPart State() const { return state_; }
    TcxScrollBarPart HotPart() const { return hotPart_; }
    TcxButtonState GetPartState(TcxScrollBarPart part) const;
    // Own look and feel; the painter is the one it makes available for scroll bars.
    TcxLookAndFeel* LookAndFeel() const { return lookAndFeel_.get(); }
    void SetLookAndFeel(TcxLookAndFeel* value);
    TcxCustomLookAndFeelPainterClass GetPainter() const;
    TcxTimer* RepeatTimer() const { return timer_; }

    virtual void Change();
    virtual void DoPaint(TcxCanvas* canvas);
    virtual void DrawScrollBarBackground(TcxCanvas* canvas, const TRect& r);
    virtual void DrawScrollBarPart(TcxCanvas* canvas, const TRect& r, TcxScrollBarPart part, TcxButtonState state);
    virtual bool IsButtonHotTrack() const;
    virtual void Scroll(TScrollCode code, int& position);
    virtual int ScrollBarMinimalThumbSize() const;

protected:
    void Dispatch(TMessage& msg) override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    virtual void MouseEnter(TControl* control);
    virtual void MouseLeave(TControl* control);
    // These call out (OnScroll, OnChange) and answer whether the bar still exists: a handler may
    // free it, and then the caller stops.
    bool InternalScroll(TScrollCode code);
    bool DoScroll(TcxScrollBarPart part);
    bool CancelScroll();
    void Layout();
    virtual void LookAndFeelChanged(TcxLookAndFeel* sender, TcxLookAndFeelValues changedValues);

private:
    friend class TcxScrollBarViewInfo;
    void OnTimerTick(TObject*);
    bool DragThumb(const TPoint& p);

    std::unique_ptr<TBitmap> bitmap_;
    std::unique_ptr<TcxCanvas> canvas_;
    std::unique_ptr<TcxLookAndFeel> lookAndFeel_;
    std::unique_ptr<TcxScrollBarViewInfo> viewInfo_;
    TScrollBarKind kind_ = sbHorizontal;
    int min_ = 0, max_ = 100, position_ = 0, pageSize_ = 0;
    TcxTimer* timer_ = nullptr;
    TcxScrollBarPart state_ = sbpNone;
    TcxScrollBarPart hotPart_ = sbpNone;
    TPoint downMousePos_;
    int savePosition_ = 0;
    TPoint saveThumbnailPos_;
};

TSize GetScrollBarSize();

} // namespace cx

#pragma once
// cxGeometry: value functions over TRect, TPoint and TSize, named constants, and the persistent
// TcxRect and TcxSize. Halving ("div 2") truncates toward zero.
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Event.h"
#include "platform/rtl/Types.h"

namespace cx {
using namespace rtl;

inline constexpr TRect cxNullRect{0, 0, 0, 0};
inline constexpr TRect cxInvalidRect{-1, -1, -1, -1};
inline constexpr TRect cxSimpleRect{1, 1, 1, 1};
inline constexpr TPoint cxNullPoint{0, 0};
inline constexpr TPoint cxInvalidPoint{-1, -1};
inline constexpr TSize cxNullSize{0, 0};

enum TcxPtInRectType { ptrtNone, ptrtArea, ptrtLeft, ptrtTop, ptrtRight, ptrtBottom };

TRect cxRect(int left, int top, int right, int bottom);
TRect cxRect(const TPoint& topLeft, const TPoint& bottomRight);
TRect cxRectBounds(int left, int top, int width, int height);
TPoint cxPoint(int x, int y);
TPoint cxPoint(const TSize& size);
TSize cxSize(int cx, int cy);
TSize cxSize(const TPoint& p);

int cxRectWidth(const TRect& r);
int cxRectHeight(const TRect& r);
TSize cxRectSize(const TRect& r);
int cxRectGetSize(const TRect& r, int index);
int cxRectGetItem(const TRect& r, int index);
int cxPointGetItem(const TPoint& p, int index);
TPoint cxRectLeftBottom(const TRect& r);
TPoint cxRectRightTop(const TRect& r);
TPoint cxRectCenter(const TRect& r);
TRect cxRectCenter(const TRect& r, int width, int height);
TRect cxRectCenter(const TRect& r, const TSize& size);

bool cxRectIsEmpty(const TRect& r);
bool cxRectIsNull(const TRect& r);
bool cxRectIsInvalid(const TRect& r);
bool cxRectIsEqual(const TRect& r1, const TRect& r2);
bool cxRectCompare(const TRect& r1, const TRect& r2);
bool cxRectPtIn(const TRect& r, const TPoint& p);
bool cxRectPtIn(const TRect& r, int x, int y);
TcxPtInRectType cxRectPtInEx(const TRect& r, int x, int y, int leftOffset, int topOffset, int rightOffset, int bottomOffset);
TcxPtInRectType cxRectPtInEx(const TRect& r, int x, int y, int offset);
TcxPtInRectType cxRectPtInEx(const TRect& r, int x, int y, int horzOffset, int vertOffset);
bool cxRectContain(const TRect& bounds, const TRect& inner);
bool cxPointIsEqual(const TPoint& p1, const TPoint& p2);
bool cxSizeIsEqual(const TSize& s1, const TSize& s2);
bool cxPointIsNull(const TPoint& p);

TRect cxRectInflate(const TRect& r, int dx, int dy);
TRect cxRectInflate(const TRect& r, int left, int top, int right, int bottom);
TRect cxRectInflate(const TRect& r, const TRect& margins);
TRect cxRectContent(const TRect& r, const TRect& margins);
TPoint cxPointOffset(const TPoint& p, int dx, int dy, bool positive = true);
TPoint cxPointOffset(const TPoint& p, const TPoint& delta, bool positive = true);
TPoint cxPointOffset(const TPoint& p, const std::vector<TPoint>& deltas, bool positive = true);
TRect cxRectOffset(const TRect& r, int dx, int dy, bool positive = true);
TRect cxRectOffset(const TRect& r, const TPoint& delta, bool positive = true);
TRect cxRectOffset(const TRect& r, const std::vector<TPoint>& deltas, bool positive = true);
TRect cxRectOffsetHorz(const TRect& r, int dx);
TRect cxRectOffsetVert(const TRect& r, int dy);
TPoint cxPointSum(const std::vector<TPoint>& points);
TPoint cxPointInvert(const TPoint& p);
TRect cxRectInvert(const TRect& r);

TRect cxRectSetLeft(const TRect& r, int x);
TRect cxRectSetLeft(const TRect& r, int x, int width);
TRect cxRectSetTop(const TRect& r, int y);
TRect cxRectSetTop(const TRect& r, int y, int height);
TRect cxRectSetRight(const TRect& r, int x);
TRect cxRectSetRight(const TRect& r, int x, int width);
TRect cxRectSetBottom(const TRect& r, int y);
TRect cxRectSetBottom(const TRect& r, int y, int height);
TRect cxRectSetWidth(const TRect& r, int width);
TRect cxRectSetWidth(const TRect& r, int x, int width);
TRect cxRectSetHeight(const TRect& r, int height);
TRect cxRectSetSize(const TRect& r, int width, int height);
TRect cxRectSetXPos(const TRect& r, int x1, int x2);
TRect cxRectSetYPos(const TRect& r, int y1, int y2);
TPoint cxPointReplaceItem(const TPoint& p, int index, int value);
TRect cxRectAdjust(const TRect& r);
TRect cxRectRotate(const TRect& r);

bool cxRectIntersect(TRect& result, const TRect& r1, const TRect& r2);
bool cxRectIntersect(const TRect& r1, const TRect& r2);
TRect cxRectUnion(const TRect& r1, const TRect& r2);
void cxRectSplitHorz(const TRect& r, TRect& left, TRect& right);
void cxRectSplitVert(const TRect& r, TRect& top, TRect& bottom);
TRect cxRectScaleHeight(const TRect& r, int y1, int y2, int h1, int h2);
TRect cxRectScaleWidth(const TRect& r, int x1, int x2, int w1, int w2);
void cxRectOverlapped(const TRect& r1, const TRect& r2, TRect& r1Vert, TRect& r1Horz, TRect& r2Vert, TRect& r2Horz);
void cxRectMinMaxInit(int& min, int& max);
void cxRectMinMaxHeight(const TRect& r, int& max, int& min);
void cxRectMinMaxWidth(const TRect& r, int& max, int& min);

using TNotifyEvent = Event<void(TObject* sender)>;

// A rectangle as a published sub-property of a component; every real change runs OnChange.
class TcxRect : public TPersistent {
    RTL_CLASS(TcxRect, TPersistent)
    explicit TcxRect(TPersistent* owner) : owner_(owner) {}
    TPersistent* GetOwner() override { return owner_; }
    void Assign(TPersistent* source) override;

    const TRect& Rect() const { return rect_; }
    void SetRect(const TRect& value);
    int GetValue(int index) const;
    void SetValue(int index, int value);
    int Left() const { return rect_.Left; }
    int Top() const { return rect_.Top; }
    int Right() const { return rect_.Right; }
    int Bottom() const { return rect_.Bottom; }
    int GetHeight() const { return rect_.Bottom - rect_.Top; }
    int GetWidth() const { return rect_.Right - rect_.Left; }
    void SetHeight(int value) { SetValue(3, rect_.Top + value); }
    void SetWidth(int value) { SetValue(2, rect_.Left + value); }
    TPoint GetVertex(int index) const;
    void SetVertex(int index, const TPoint& value);
    bool IsEmpty() const { return cxRectIsEmpty(rect_); }
    bool IsEqual(const TRect& r) const { return rect_ == r; }
    bool IsEqual(const TcxRect* r) const { return r && rect_ == r->rect_; }
    TRect* GetData() { return &rect_; }

    TNotifyEvent OnChange;

protected:
    virtual void ValidateRect(TRect& r) {}
    virtual void DoChange() { CallEvent(OnChange, this); }

private:
    TPersistent* owner_;
    TRect rect_;
};
using TcxRectClass = TClassRef<TcxRect, TPersistent*>;

class TcxSize : public TPersistent {
    RTL_CLASS(TcxSize, TPersistent)
    explicit TcxSize(TPersistent* owner) : owner_(owner) {}
    TPersistent* GetOwner() override { return owner_; }
    void Assign(TPersistent* source) override;

    const TSize& GetSize() const { return size_; }
    virtual void SetSize(const TSize& value);
    virtual int GetValue(int index) const { return index == 0 ? size_.cy : size_.cx; }
    void SetValue(int index, int value);
    virtual bool IsSizeStored(int index) const { return GetValue(index) != 0; }
    int Height() const { return size_.cy; }
    int Width() const { return size_.cx; }
    bool IsEmpty() const { return size_.cx == 0 && size_.cy == 0; }
    bool IsEqual(const TSize& s) const { return size_ == s; }
    bool IsEqual(const TcxSize* s) const { return s && size_ == s->size_; }
    TSize* GetData() { return &size_; }

    TNotifyEvent OnChange;

protected:
    virtual void DoChange() { CallEvent(OnChange, this); }

private:
    TPersistent* owner_;
    TSize size_;
};

namespace cxGeometryUnit {
void Initialize();   // registers TcxRect for streaming
void Finalize();
} // namespace cxGeometryUnit

} // namespace cx

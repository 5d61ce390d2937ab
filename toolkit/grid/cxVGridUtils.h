#pragma once
// cxVGridUtils: the containers the vertical grid's layout fills on every pass (rectangles, grid
// lines, indent cells), the scaler that shares a width among parts with minimum sizes, and the
// halftone brush of the 3D paint style.
#include "platform/vcl/Graphics.h"
#include "toolkit/core/cxGraphics.h"

#include <memory>
#include <vector>

namespace cx {

// A growable array of fixed-size records; Clear keeps the memory for the next pass.
class TcxDataList : public TObject {
    RTL_CLASS(TcxDataList, TObject)
    explicit TcxDataList(int recordSize) : recordSize_(recordSize) {}
    void Clear() { count_ = 0; }
    int Count() const { return count_; }
    int Allocated() const { return allocated_; }
    // The record's address; EdxException "Error <class>: Invalid index <i>" outside 0..Count-1.
    void* Get(int index) const;

protected:
    // Appends a copy of the record; the index it got.
    int AddRecord(const void* record);
    void AssignRecords(const TcxDataList& source);
    static constexpr int Delta = 1024;

private:
    void Grow(int allocated);
    int allocated_ = 0;
    int count_ = 0;
    std::unique_ptr<std::byte[]> data_;
    int recordSize_;
};

class TcxRectList : public TcxDataList {
    RTL_CLASS(TcxRectList, TcxDataList)
    TcxRectList() : TcxDataList(sizeof(TRect)) {}
    int Add(const TRect& r) { return AddRecord(&r); }
    TRect GetRect(int index) const { return *static_cast<TRect*>(Get(index)); }
    void SetRect(int index, const TRect& r) { *static_cast<TRect*>(Get(index)) = r; }
    TRect operator[](int index) const { return GetRect(index); }
    void Assign(const TcxRectList& source) { AssignRecords(source); }
};

struct TLineInfo {
    TRect Rect;
    bool IsBrush;
    TBrush* Brush;   // when IsBrush
    TColor Color;    // otherwise
};

class TLineInfoList : public TcxDataList {
    RTL_CLASS(TLineInfoList, TcxDataList)
    TLineInfoList() : TcxDataList(sizeof(TLineInfo)) {}
    // While the list is locked nothing is added and the answer is -1.
    int Add(const TRect& r, TBrush* brush);
    int Add(const TRect& r, TColor color);
    int Add(int left, int top, int width, int height, TBrush* brush);
    int Add(int left, int top, int width, int height, TColor color);
    const TLineInfo& Items(int index) const { return *static_cast<TLineInfo*>(Get(index)); }
    bool Locked = false;
};

struct TIndentInfo {
    TRect Rect;
    TcxViewParams ViewParams;
};

class TIndentInfoList : public TcxDataList {
    RTL_CLASS(TIndentInfoList, TcxDataList)
    TIndentInfoList() : TcxDataList(sizeof(TIndentInfo)) {}
    int Add(const TRect& r, const TcxViewParams& viewParams);
    const TIndentInfo& Items(int index) const { return *static_cast<TIndentInfo*>(Get(index)); }
};

struct TIndentRectInfo {
    bool IsCategory;
    int Width;
    int Height;
    TcxViewParams ViewParams;
    bool BottomLine;
};

class TIndentRectInfoList : public TcxDataList {
    RTL_CLASS(TIndentRectInfoList, TcxDataList)
    TIndentRectInfoList() : TcxDataList(sizeof(TIndentRectInfo)) {}
    int Add(const TSize& size, bool isCategory, const TcxViewParams& viewParams, bool bottomLine);
    const TIndentRectInfo& Items(int index) const { return *static_cast<TIndentRectInfo*>(Get(index)); }
};

// The band rectangles and the empty rectangles of one layout pass.
class TViewRects : public TObject {
    RTL_CLASS(TViewRects, TObject)
    void Clear()
    {
        BandRects.Clear();
        EmptyRects.Clear();
    }
    TcxRectList BandRects;
    TcxRectList EmptyRects;
};

// Parts laid side by side in a rectangle: CalcRect keeps their sizes, ScaleRect shares the width
// in proportion to them. A part narrower than its minimum grows to it; a part reaching the right
// edge is cut there and ends the row; the last part always ends at the right edge.
class TRectScaler : public TObject {
    RTL_CLASS(TRectScaler, TObject)
    void Add(int size, int minSize = 0, int gap = 0) { parts_.push_back({size, minSize, gap}); }
    int Count() const { return static_cast<int>(parts_.size()); }
    void Clear() { parts_.clear(); }
    void CalcRect(const TRect& r);
    void ScaleRect(const TRect& r);
    const TcxRectList& ScaledRects() const { return rects_; }
    TRect ScaledRect(int index) const { return rects_.GetRect(index); }

private:
    struct Part {
        int Size, MinSize, Gap;
    };
    void Layout(const TRect& r, double factor, bool scale);
    std::vector<Part> parts_;
    TcxRectList rects_;
};

// A new brush with an 8 x 8 checker bitmap: colour1 where x + y is odd, colour2 elsewhere. The
// caller owns the brush and its bitmap.
TBrush* cxCreateHalftoneBrush(TColor color1, TColor color2);

} // namespace cx

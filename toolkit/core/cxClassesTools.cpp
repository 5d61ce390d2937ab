// cxClasses: the most-recently-used list, the two-axis alignment and the width distributor.
#include <algorithm>

#include "toolkit/core/cxClasses.h"

namespace cx {

// --- TcxMRUItems --------------------------------------------------------------------------------
void TcxMRUItems::Add(TcxMRUItem* item)
{
    int index = IndexOf(item);
    if (index >= 0) {
        TcxMRUItem* listed = items_[static_cast<std::size_t>(index)];
        items_.erase(items_.begin() + index);
        items_.insert(items_.begin(), listed);
        if (listed != item)
            item->Free();
        return;
    }
    items_.insert(items_.begin(), item);
    if (maxCount_ > 0)
        SetCount(maxCount_);
}

int TcxMRUItems::IndexOf(TcxMRUItem* item) const
{
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i]->Equals(item))
            return static_cast<int>(i);
    return -1;
}

void TcxMRUItems::Delete(int index)
{
    TcxMRUItem* item = items_.at(static_cast<std::size_t>(index));
    items_.erase(items_.begin() + index);
    item->Free();
}

void TcxMRUItems::ClearItems()
{
    while (!items_.empty())
        Delete(Count() - 1);
}

void TcxMRUItems::SetCount(int value)
{
    for (int i = Count() - 1; i >= std::max(value, 0); --i)
        Delete(i);
}

void TcxMRUItems::SetMaxCount(int value)
{
    value = std::max(value, 0);
    if (value == maxCount_)
        return;
    maxCount_ = value;
    if (maxCount_ > 0)
        SetCount(maxCount_);
}

// --- TcxAlignment -------------------------------------------------------------------------------
TcxAlignment::TcxAlignment(TPersistent* owner, bool useAssignedValues, TAlignment defaultHorz,
                           TcxAlignmentVert defaultVert)
    : defaultHorz_(defaultHorz), defaultVert_(defaultVert), horz_(defaultHorz), owner_(owner),
      useAssignedValues_(useAssignedValues), vert_(defaultVert)
{
}

void TcxAlignment::SetHorz(TAlignment value)
{
    isHorzAssigned_ = true;
    if (value != horz_) {
        horz_ = value;
        DoChanged();
    }
}

void TcxAlignment::SetVert(TcxAlignmentVert value)
{
    isVertAssigned_ = true;
    if (value != vert_) {
        vert_ = value;
        DoChanged();
    }
}

void TcxAlignment::Reset()
{
    bool changed = horz_ != defaultHorz_ || vert_ != defaultVert_;
    isHorzAssigned_ = isVertAssigned_ = false;
    horz_ = defaultHorz_;
    vert_ = defaultVert_;
    if (changed)
        DoChanged();
}

void TcxAlignment::Assign(TPersistent* source)
{
    auto* other = dynamic_cast<TcxAlignment*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    bool changed = horz_ != other->horz_ || vert_ != other->vert_;
    horz_ = other->horz_;
    vert_ = other->vert_;
    isHorzAssigned_ = other->isHorzAssigned_;
    isVertAssigned_ = other->isVertAssigned_;
    if (changed)
        DoChanged();
}

// --- TcxAutoWidthObject -------------------------------------------------------------------------
TcxAutoWidthItem* TcxAutoWidthObject::AddItem()
{
    items_.push_back(new TcxAutoWidthItem);
    return items_.back();
}

void TcxAutoWidthObject::Clear()
{
    for (TcxAutoWidthItem* item : items_)
        item->Free();
    items_.clear();
}

int TcxAutoWidthObject::Width() const
{
    int sum = 0;
    for (const TcxAutoWidthItem* item : items_)
        sum += item->Width;
    return sum;
}

void TcxAutoWidthObject::Calculate()
{
    int available = AvailableWidth, total = Width();
    for (TcxAutoWidthItem* item : items_) {
        item->AutoWidth = -1;
        if (item->Fixed) {
            item->AutoWidth = item->Width;
            available -= item->Width;
            total -= item->Width;
        }
    }
    bool finalPass = false;
    while (total != 0) {
        const int passAvailable = available, passTotal = total;
        int sum = 0;
        bool changed = false;
        for (TcxAutoWidthItem* item : items_) {
            if (item->AutoWidth != -1)
                continue;
            // Shares of the running sum, so that the remainders spread and add up.
            int share = MulDiv(sum + item->Width, passAvailable, passTotal) - MulDiv(sum, passAvailable, passTotal);
            if (finalPass)
                item->AutoWidth = share;
            else if (item->MinWidth >= share) {
                item->AutoWidth = item->MinWidth;
                available -= item->MinWidth;
                total -= item->Width;
                changed = true;
            }
            sum += item->Width;
        }
        if (finalPass)
            break;
        finalPass = !changed;
    }
    // Items left when nothing wanted remains to be shared would keep -1: they get their minimum.
    for (TcxAutoWidthItem* item : items_)
        if (item->AutoWidth == -1)
            item->AutoWidth = item->MinWidth;
}

} // namespace cx

// Button groups: items that report single changes, the column rule, one child per item kept in
// step, the cell layout and the arrow keys across columns.
#include "toolkit/editors/cxGroupBox.h"

#include "platform/vcl/SystemFacade.h"
#include "toolkit/core/cxGeometry.h"

#include <algorithm>

namespace cx {

// ---- items ------------------------------------------------------------------------------------

void TcxButtonGroupItem::Assign(TPersistent* source)
{
    if (auto* item = dynamic_cast<TcxButtonGroupItem*>(source))
        enabled_ = item->enabled_;
    TcxCaptionItem::Assign(source);
}

void TcxButtonGroupItem::SetEnabled(bool value)
{
    if (enabled_ != value) {
        enabled_ = value;
        Changed(false);
    }
}

void TcxButtonGroupItems::Notify(TCollectionItem* item, TCollectionNotification action)
{
    TcxCaptionItems::Notify(item, action);
    if (action == cnDeleting)
        return;   // the extraction that follows names the deletion
    // Inside an update several changes pile up: the owner then rebuilds from the count.
    several_ = pending_ || UpdateCount() > 0;
    pending_ = true;
    pendingIndex_ = item->Index();
    pendingOperation_ = action == cnAdded ? copAdd : copDelete;
}

void TcxButtonGroupItems::Update(TCollectionItem* item)
{
    TcxCaptionItems::Update(item);
    const bool single = pending_ ? !several_ : item != nullptr;
    const int index = pending_ ? pendingIndex_ : item ? item->Index() : -1;
    const TcxCollectionOperation operation = pending_ ? pendingOperation_ : copChanged;
    pending_ = several_ = false;
    ReportChange(single, index, operation);
}

void TcxButtonGroupItems::ReportChange(bool single, int index, TcxCollectionOperation operation)
{
    auto* properties = dynamic_cast<TcxCustomButtonGroupProperties*>(GetOwner());
    if (!properties || properties->ChangedLocked())
        return;
    ItemChanged = single;
    ChangedItemIndex = index;
    ChangedItemOperation = operation;
    try {
        properties->Changed();
    } catch (...) {
        ItemChanged = false;
        throw;
    }
    ItemChanged = false;
}

// ---- properties -------------------------------------------------------------------------------

TcxCustomButtonGroupProperties::TcxCustomButtonGroupProperties(TPersistent* owner)
    : TcxCustomButtonGroupProperties(owner, TCollectionItemClass::Of<TcxButtonGroupItem>())
{
}

TcxCustomButtonGroupProperties::TcxCustomButtonGroupProperties(TPersistent* owner,
                                                               const TCollectionItemClass& itemClass)
    : TcxCustomGroupBoxProperties(owner)
{
    items_ = new TcxButtonGroupItems(this, itemClass);
}

TcxCustomButtonGroupProperties::~TcxCustomButtonGroupProperties()
{
    BeginUpdate();
    items_->Free();
    items_ = nullptr;
    EndUpdate(false);
}

void TcxCustomButtonGroupProperties::Assign(TPersistent* source)
{
    if (auto* p = dynamic_cast<TcxCustomButtonGroupProperties*>(source)) {
        BeginUpdate();
        try {
            TcxCustomGroupBoxProperties::Assign(source);
            SetColumns(p->columns_);
            items_->Assign(p->items_);
            SetWordWrap(p->wordWrap_);
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
        return;
    }
    TcxCustomGroupBoxProperties::Assign(source);
}

void TcxCustomButtonGroupProperties::SetColumns(int value)
{
    value = std::max(1, value);
    if (columns_ != value) {
        columns_ = value;
        Changed();
    }
}

void TcxCustomButtonGroupProperties::SetWordWrap(bool value)
{
    if (wordWrap_ != value) {
        wordWrap_ = value;
        Changed();
    }
}

int TcxCustomButtonGroupProperties::GetColumnCount() const
{
    const int n = items_ ? items_->Count() : 0;
    int m = std::min(columns_, n);
    if (n <= 0)
        return m;
    if (m == 0)
        m = 1;
    const int rows = (n + m - 1) / m;
    return (n + rows - 1) / rows;
}

int TcxCustomButtonGroupProperties::GetButtonsPerColumn() const
{
    const int n = items_ ? items_->Count() : 0;
    const int columns = GetColumnCount();
    return columns > 0 ? (n + columns - 1) / columns : 0;
}

// ---- the group --------------------------------------------------------------------------------

TcxCustomButtonGroup::TcxCustomButtonGroup(TComponent* owner, bool isInplace,
                                           const TcxCustomEditPropertiesClass& propertiesClass)
    : TcxCustomGroupBox(owner, isInplace, propertiesClass)
{
    TabStop = true;
}

TcxCustomButtonGroup::~TcxCustomButtonGroup() = default;

TcxCustomButtonGroupProperties* TcxCustomButtonGroup::ButtonGroupProperties() const
{
    return static_cast<TcxCustomButtonGroupProperties*>(ActiveProperties());
}

void TcxCustomButtonGroup::PropertiesChanged(TObject* sender)
{
    TcxCustomGroupBox::PropertiesChanged(sender);
    if (!ComponentState().Contains(csReading) && !IsDestroying())
        UpdateButtons();
}

void TcxCustomButtonGroup::Notification(TComponent* component, TOperation operation)
{
    TcxCustomGroupBox::Notification(component, operation);
    // The group owns its buttons: one freed with the group (or by anyone else) leaves the list.
    if (operation == opRemove)
        std::erase_if(buttons_, [component](TWinControl* b) { return b == component; });
}

void TcxCustomButtonGroup::EnabledChanged()
{
    TcxCustomGroupBox::EnabledChanged();
    UpdateButtons();
}

void TcxCustomButtonGroup::Resize()
{
    TcxCustomGroupBox::Resize();
    ArrangeButtons();
}

void TcxCustomButtonGroup::UpdateButtons()
{
    TcxButtonGroupItems* items = ButtonGroupProperties()->Items();
    SetButtonCount(items->Count());
    for (int i = 0; i < ButtonCount(); ++i) {
        TWinControl* b = buttons_[size_t(i)];
        b->SetEnabled(Enabled() && items->Items(i)->Enabled());
        b->SetCaption(items->Items(i)->Caption());
        b->SetColor(GetBackgroundColor());
        b->SetCursor(Cursor());
    }
    ArrangeButtons();
    Invalidate();
}

void TcxCustomButtonGroup::SetButtonCount(int count)
{
    TcxButtonGroupItems* items = ButtonGroupProperties()->Items();
    if (items->ItemChanged) {
        const int index = items->ChangedItemIndex;
        if (items->ChangedItemOperation == copAdd && index >= 0 && index <= ButtonCount()) {
            TWinControl* b = GetButtonInstance();
            buttons_.insert(buttons_.begin() + index, b);
            InitButtonInstance(b);
        } else if (items->ChangedItemOperation == copDelete && index >= 0 && index < ButtonCount()) {
            TWinControl* b = buttons_[size_t(index)];
            buttons_.erase(buttons_.begin() + index);
            b->Free();
        }
        if (ButtonCount() == count)
            return;
    }
    while (ButtonCount() > count) {
        TWinControl* b = buttons_.back();
        buttons_.pop_back();
        b->Free();
    }
    while (ButtonCount() < count) {
        TWinControl* b = GetButtonInstance();
        buttons_.push_back(b);
        InitButtonInstance(b);
    }
}

void TcxCustomButtonGroup::InitButtonInstance(TWinControl* button)
{
    button->SetParent(this);
    button->OnKeyDown = TKeyEvent(this, &TcxCustomButtonGroup::ButtonKeyDown);
}

void TcxCustomButtonGroup::ButtonKeyDown(TObject*, std::uint16_t& key, TShiftState shift) { KeyDown(key, shift); }

TRect TcxCustomButtonGroup::GetButtonCell(int index)
{
    TcxCustomButtonGroupProperties* p = ButtonGroupProperties();
    const int columns = std::max(1, p->GetColumnCount());
    const int per = std::max(1, p->GetButtonsPerColumn());
    const TcxEditMetrics m = GetEditMetrics();
    const TRect e = GetGroupClientExtent();
    const int w = (Width() + m.ColumnWidthCorrection - e.Left - e.Right - (columns - 1) * m.ColumnOffset) / columns;
    const int column = index / per, row = index % per;
    const int left = e.Left + (w + m.ColumnOffset) * column + m.ButtonLeftOffset;
    const int h = Height() - e.Top - e.Bottom;
    const int rowHeight = h / per;
    const int top = e.Top + (h % per) / 2;
    return cxRectBounds(left, top + rowHeight * row, w, rowHeight);
}

void TcxCustomButtonGroup::ArrangeButtons()
{
    for (int i = 0; i < ButtonCount(); ++i) {
        const TRect r = GetButtonCell(i);
        buttons_[size_t(i)]->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    }
}

int TcxCustomButtonGroup::GetButtonIndexAt(const TPoint& p)
{
    for (int i = 0; i < ButtonCount(); ++i)
        if (cxRectPtIn(GetButtonCell(i), p))
            return i;
    return -1;
}

int TcxCustomButtonGroup::GetFocusedButtonIndex() const
{
    for (int i = 0; i < int(buttons_.size()); ++i)
        if (buttons_[size_t(i)]->Focused())
            return i;
    return -1;
}

void TcxCustomButtonGroup::FocusButton(int index)
{
    if (buttons_[size_t(index)]->CanFocus())
        buttons_[size_t(index)]->SetFocus();
}

void TcxCustomButtonGroup::ActivateByMouse(TShiftState shift, int x, int y, TcxCustomEditData*& editData)
{
    Activate(editData);
    TPoint p{x, y};
    if (Parent())
        p = ScreenToClient(Parent()->ClientToScreen(p));
    const int index = GetButtonIndexAt(p);
    if (index < 0 || index >= ButtonCount())
        return;
    TWinControl* button = buttons_[size_t(index)];
    const TPoint centre{button->Width() / 2, button->Height() / 2};
    SendMouseEvent(button, WM_MOUSEMOVE, {}, centre);
    if (!shift.Contains(ssLeft)) {
        SendMouseEvent(button, WM_LBUTTONUP, shift, centre);
        return;
    }
    SendMouseEvent(button, WM_LBUTTONDOWN, shift, centre);
    // A press already released by the time the editor shows would leave the button captured.
    if (button->MouseCapture() && !(vcl::System().GetKeyState(VK_LBUTTON) & 0x8000))
        button->SetMouseCapture(false);
}

void TcxCustomButtonGroup::InternalCanResize(int& newWidth, int& newHeight)
{
    if (!CanAutoSize())
        return;
    const int rows = GetButtonRowsHeight(newWidth);
    if (rows < 0)
        return;
    if (Align != alLeft && Align != alRight && Align != alClient && Align != alCustom) {
        const TRect e = GetGroupClientExtent();
        newHeight = e.Top + e.Bottom + rows;
    }
}

void TcxCustomButtonGroup::DoEditKeyDown(std::uint16_t& key, TShiftState shift)
{
    const int i = GetFocusedButtonIndex();
    if (i >= 0) {
        const int n = ButtonCount();
        const int per = std::max(1, ButtonGroupProperties()->GetButtonsPerColumn());
        const int column = i / per, row = i % per;
        const int inColumn = std::min(per, n - column * per);
        switch (key) {
        case VK_LEFT:
            if (column > 0)
                FocusButton(i - per);
            break;
        case VK_UP:
            if (row > 0)
                FocusButton(i - 1);
            break;
        case VK_RIGHT:
            if (i + per < n) {
                FocusButton(i + per);
                key = 0;
            }
            break;
        case VK_DOWN:
            if (row < inColumn - 1)
                FocusButton(i + 1);
            break;
        default: break;
        }
    }
    TcxCustomGroupBox::DoEditKeyDown(key, shift);
}

} // namespace cx

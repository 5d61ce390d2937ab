#pragma once
// Menu items and popup menus. A popup menu is shown by a presenter: a QMenu by default, a fixed
// choice in tests (SetMenuPresenter).
#include "platform/vcl/Controls.h"

#include <functional>
#include <string>
#include <vector>

using TShortCut = std::uint16_t;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0;
TShortCut ShortCut(std::uint16_t key, TShiftState shift);

class TMenuItem : public rtl::TComponent {
    RTL_CLASS(TMenuItem, rtl::TComponent)
    explicit TMenuItem(rtl::TComponent* owner);
    ~TMenuItem() override;
    void BeforeDestruction() override;

    std::string Caption;
    bool Checked = false;
    bool Enabled = true;
    bool Visible = true;
    TShortCut ShortCut = scNone;
    TNotifyEvent OnClick;
    virtual void Click();

    int Count() const { return int(items_.size()); }
    TMenuItem* Items(int index) const { return items_.at(std::size_t(index)); }
    TMenuItem* Parent() const { return parent_; }
    void Add(TMenuItem* item);
    void Remove(TMenuItem* item);
    // The enabled, visible item (this one or below) with the short cut, or null.
    TMenuItem* FindShortCut(TShortCut shortCut);

private:
    std::vector<TMenuItem*> items_;
    TMenuItem* parent_ = nullptr;
};

class TMenu : public rtl::TComponent {
    RTL_CLASS(TMenu, rtl::TComponent)
    explicit TMenu(rtl::TComponent* owner);
    ~TMenu() override;
    TMenuItem* Items() const { return items_; }
    // A key message (CN_KEYDOWN / CN_SYSKEYDOWN) matching an item's short cut clicks that item.
    bool IsShortCut(TMessage& keyMessage);

private:
    TMenuItem* items_;
};

// Which side of the menu the popup point is.
enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TMenu {
    RTL_CLASS(TPopupMenu, TMenu)
    using TMenu::TMenu;
    virtual void Popup(int x, int y);
    bool AutoPopup = true;
    TPopupAlignment Alignment = paLeft;
    rtl::TComponent* PopupComponent = nullptr;
    TNotifyEvent OnPopup;

protected:
    virtual void DoPopup() { vcl::FireEvent(OnPopup, this); }
};

// Shows a menu at a screen point and gives the item chosen (null when none was).
using TMenuPresenter = std::function<TMenuItem*(TPopupMenu* menu, TPoint screen)>;
TMenuPresenter SetMenuPresenter(TMenuPresenter presenter);
// The height in pixels of the menu as the window system shows it (the QMenu of its visible
// items, measured before it opens); -1 without a window system.
int PopupMenuHeight(TPopupMenu* menu);

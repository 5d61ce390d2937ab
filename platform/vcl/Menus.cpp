#include "platform/vcl/Menus.h"

#include "platform/vcl/MessageQueue.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

#include <algorithm>

TShortCut ShortCut(std::uint16_t key, TShiftState shift)
{
    TShortCut s = TShortCut(key & 0xFF);
    if (shift.Contains(ssShift))
        s |= scShift;
    if (shift.Contains(ssCtrl))
        s |= scCtrl;
    if (shift.Contains(ssAlt))
        s |= scAlt;
    return s;
}

TMenuItem::TMenuItem(rtl::TComponent* owner) : rtl::TComponent(owner) {}
TMenuItem::~TMenuItem() = default;

void TMenuItem::BeforeDestruction()
{
    if (parent_)
        parent_->Remove(this);
    while (!items_.empty()) {
        TMenuItem* child = items_.back();
        Remove(child);
        if (!child->Owner())
            child->Free();
    }
    rtl::TComponent::BeforeDestruction();
}

void TMenuItem::Click() { vcl::FireEvent(OnClick, this); }

void TMenuItem::Add(TMenuItem* item)
{
    if (item->parent_)
        item->parent_->Remove(item);
    items_.push_back(item);
    item->parent_ = this;
}

void TMenuItem::Remove(TMenuItem* item)
{
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end())
        return;
    items_.erase(it);
    item->parent_ = nullptr;
}

TMenuItem* TMenuItem::FindShortCut(TShortCut shortCut)
{
    if (!Enabled || !Visible)
        return nullptr;
    if (ShortCut != scNone && ShortCut == shortCut)
        return this;
    for (TMenuItem* child : items_)
        if (TMenuItem* found = child->FindShortCut(shortCut))
            return found;
    return nullptr;
}

TMenu::TMenu(rtl::TComponent* owner) : rtl::TComponent(owner), items_(new TMenuItem(this)) {}
TMenu::~TMenu() = default;

bool TMenu::IsShortCut(TMessage& keyMessage)
{
    const TShortCut sc = ShortCut(std::uint16_t(keyMessage.WParam), KeyDataToShiftState(keyMessage.LParam));
    TMenuItem* item = items_->FindShortCut(sc);
    if (!item || item == items_)
        return false;
    item->Click();
    return true;
}

namespace {
void Fill(QMenu* menu, TMenuItem* item, std::vector<TMenuItem*>& chosen)
{
    for (int i = 0; i < item->Count(); ++i) {
        TMenuItem* child = item->Items(i);
        if (!child->Visible)
            continue;
        if (child->Caption == "-") {
            menu->addSeparator();
            continue;
        }
        const QString text = QString::fromStdString(child->Caption);
        if (child->Count() > 0) {
            Fill(menu->addMenu(text), child, chosen);
            continue;
        }
        QAction* a = menu->addAction(text);
        a->setEnabled(child->Enabled);
        a->setCheckable(child->Checked);
        a->setChecked(child->Checked);
        a->setData(int(chosen.size()));
        chosen.push_back(child);
    }
}

TMenuItem* QtPresenter(TPopupMenu* menu, TPoint screen)
{
    QMenu qmenu;
    std::vector<TMenuItem*> items;
    Fill(&qmenu, menu->Items(), items);
    QAction* a = qmenu.exec(QPoint(screen.X, screen.Y));
    if (!a)
        return nullptr;
    const int index = a->data().toInt();
    return index >= 0 && index < int(items.size()) ? items[std::size_t(index)] : nullptr;
}

int PopupMenuHeightOf(TPopupMenu* menu)
{
    QMenu qmenu;
    std::vector<TMenuItem*> items;
    Fill(&qmenu, menu->Items(), items);
    qmenu.ensurePolished();
    return qmenu.sizeHint().height();
}

TMenuPresenter& Presenter()
{
    static TMenuPresenter presenter = QtPresenter;
    return presenter;
}
} // namespace

TMenuPresenter SetMenuPresenter(TMenuPresenter presenter)
{
    std::swap(Presenter(), presenter);
    return presenter;
}

int PopupMenuHeight(TPopupMenu* menu)
{
    if (!menu || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return -1;
    return PopupMenuHeightOf(menu);
}

void TPopupMenu::Popup(int x, int y)
{
    // A menu takes the mouse: whoever held it is told, as the system does.
    if (HWND cap = GetCapture())
        vcl::SendMessage(cap, WM_CANCELMODE);
    DoPopup();
    const auto chosen = Presenter()(this, {x, y});
    if (chosen && chosen->Enabled)
        chosen->Click();
}

// The named extra painters and the painter unit's shared resources (scroll-bar page
// bitmaps, the primary palette notifier).
#include "toolkit/core/cxLookAndFeelPainters.h"
#include "toolkit/core/cxLookAndFeelPaintersUnit.h"
#include "toolkit/core/cxLookAndFeels.h"

#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <memory>

using namespace cx;

TcxExtendedStylePainterInfo::TcxExtendedStylePainterInfo(const std::string& name,
                                                         TcxCustomLookAndFeelPainterClass painter,
                                                         rtl::TObject* data)
    : Data(data), Name(name), Painter(painter)
{
}

TcxExtendedStylePainterInfo::~TcxExtendedStylePainterInfo()
{
    if (Data)
        Data->Free();
}

TcxExtendedStylePainters::~TcxExtendedStylePainters()
{
    listeners_.clear();
    for (auto* item : items_)
        item->Free();
    items_.clear();
}

bool TcxExtendedStylePainters::Register(const std::string& name, TcxCustomLookAndFeelPainterClass painter,
                                        rtl::TObject* data)
{
    TcxCustomLookAndFeelPainterClass found = nullptr;
    if (GetPainterByName(name, found))
        return false;
    items_.push_back(new TcxExtendedStylePainterInfo(name, painter, data));
    SortPainters();
    Changed(painter);
    return true;
}

bool TcxExtendedStylePainters::Unregister(const std::string& name)
{
    TcxExtendedStylePainterInfo* info = nullptr;
    const int index = FindInfoByName(name, info);
    if (index < 0)
        return false;
    items_.erase(items_.begin() + index);
    Changed(info->Painter);
    info->Free();
    return true;
}

bool TcxExtendedStylePainters::GetPainterByName(const std::string& name,
                                                TcxCustomLookAndFeelPainterClass& painter) const
{
    TcxExtendedStylePainterInfo* info = nullptr;
    if (FindInfoByName(name, info) < 0)
        return false;
    painter = info->Painter;
    return true;
}

bool TcxExtendedStylePainters::GetNameByPainter(TcxCustomLookAndFeelPainterClass painter, std::string& name) const
{
    name.clear();
    for (auto* item : items_)
        if (item->Painter == painter) {
            name = item->Name;
            return true;
        }
    return false;
}

bool TcxExtendedStylePainters::GetPainterData(TcxCustomLookAndFeelPainterClass painter, rtl::TObject*& data) const
{
    data = nullptr;
    for (auto* item : items_)
        if (item->Painter == painter) {
            data = item->Data;
            return true;
        }
    return false;
}

int TcxExtendedStylePainters::FindInfoByName(const std::string& name, TcxExtendedStylePainterInfo*& info) const
{
    for (size_t i = 0; i < items_.size(); ++i)
        if (rtl::SameText(items_[i]->Name, name)) {
            info = items_[i];
            return int(i);
        }
    return -1;
}

void TcxExtendedStylePainters::SortPainters()
{
    std::stable_sort(items_.begin(), items_.end(), [](const auto* a, const auto* b) {
        return rtl::AnsiCompareStr(a->Name, b->Name) < 0;
    });
}

void TcxExtendedStylePainters::Changed(TcxCustomLookAndFeelPainterClass painter)
{
    // Last first, on a copy: a listener may leave the list while it is told.
    const auto listeners = listeners_;
    for (auto it = listeners.rbegin(); it != listeners.rend(); ++it)
        if (HasListener(*it))
            (*it)->PainterChanged(painter);
}

void TcxExtendedStylePainters::AddListener(IcxLookAndFeelPainterListener* listener)
{
    if (listener && !HasListener(listener))
        listeners_.push_back(listener);
}

void TcxExtendedStylePainters::RemoveListener(IcxLookAndFeelPainterListener* listener)
{
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

bool TcxExtendedStylePainters::HasListener(IcxLookAndFeelPainterListener* listener) const
{
    return std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end();
}

TcxExtendedStylePainterInfo* TcxExtendedStylePainters::GetItem(int index) const
{
    if (index < 0 || index >= Count())
        throw rtl::EListError(rtl::Format("List index out of bounds (%d)", index));
    return items_[size_t(index)];
}

TcxCustomLookAndFeelPainterClass GetCurrentPainterClass() { return TcxUltraFlatLookAndFeelPainter::Class(); }

TRect cxTextRect(const TRect& r) { return {r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2}; }

// ---- unit state ----

namespace {

std::unique_ptr<TcxExtendedStylePainters> painters;
std::unique_ptr<TBitmap> scrollBarBitmaps[2];
std::unique_ptr<TcxSystemPaletteChangedNotifier> paletteNotifier;

} // namespace

TcxExtendedStylePainters* GetExtendedStylePainters() { return painters.get(); }

TBitmap* cxScrollBarPageBitmap(int index) { return scrollBarBitmaps[index & 1].get(); }

void UpdateScrollBarBitmaps()
{
    for (auto& bitmap : scrollBarBitmaps)
        if (!bitmap) {
            bitmap = std::make_unique<TBitmap>();
            bitmap->SetPixelFormat(pf32bit);
            bitmap->SetSize(8, 8);
        }
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool same = (x % 2) == (y % 2);
            scrollBarBitmaps[0]->Canvas()->SetPixel(x, y, same ? clBtnFace : clBtnHighlight);
            scrollBarBitmaps[1]->Canvas()->SetPixel(x, y, same ? clBlack : cl3DDkShadow);
        }
}

// Called by the painter unit's start-up and shut-down, after and before its own resources.
void cxLookAndFeelPaintersExtendedInitialize()
{
    painters = std::make_unique<TcxExtendedStylePainters>();
    UpdateScrollBarBitmaps();
    paletteNotifier = std::make_unique<TcxSystemPaletteChangedNotifier>(true);
    // The painter unit's cached pictures follow the system colours before any control reacts.
    paletteNotifier->OnSystemPaletteChanged = rtl::Event<void()>([] { cxRadioButtonImagesPaletteChanged(); });
}

void cxLookAndFeelPaintersExtendedFinalize()
{
    paletteNotifier.reset();
    for (auto& bitmap : scrollBarBitmaps)
        bitmap.reset();
    painters.reset();
}

#pragma once
// One theme handle per kind of themed element, opened on demand and shared by every painter;
// whether visual styles can be used; closing every handle on a theme change and telling the
// registered notificators. Without the visual-styles library (always on this platform) no
// handle is ever opened and every query answers that visual styles are not available.
#include "platform/rtl/Event.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/Set.h"
#include "toolkit/core/dxUxTheme.h"

#include <string>

namespace cx {

enum TdxThemedObjectType {
    totButton, totClock, totComboBox, totEdit, totExplorerBar, totHeader, totListBox, totListView,
    totMenu, totPage, totProgress, totRebar, totScrollBar, totSpin, totStartPanel, totStatus, totTab,
    totTaskBand, totTaskBar, totToolBar, totToolTip, totTrackBar, totTrayNotify, totTreeview, totWindow
};
constexpr int dxThemedObjectTypeCount = totWindow + 1;
using TdxThemedObjectTypes = rtl::Set<TdxThemedObjectType>;

// The theme class name opened for the type by default.
const std::u16string& dxThemeDefaultClassName(TdxThemedObjectType type);

// The open handle (none when closed) and the class name it was opened under.
struct TdxThemeData {
    HTHEME Theme = nullptr;
    std::u16string ClassName;
};
const TdxThemeData& dxThemeData(TdxThemedObjectType type);

// Whether visual styles are switched on: renewed at start-up and at every theme change.
bool VisualStylesActive();

// With no class name (nullptr) the remembered one, or the type's default, is opened.
HTHEME OpenTheme(TdxThemedObjectType type, const std::u16string* className = nullptr);
// 1 when visual styles are not available, 0 when the type has no open handle, otherwise the
// library's result (the handle and the class name are forgotten).
HRESULT CloseTheme(TdxThemedObjectType type);
// Closes every handle; the class names stay, so handles reopen under them.
void CloseAllThemes();
bool AreVisualStylesAvailable(TdxThemedObjectType type);
bool AreVisualStylesAvailable(TdxThemedObjectTypes types = {});
bool IsStandardTheme();

// Told of every theme change while it lives.
class TdxThemeChangedNotificator : public rtl::TObject {
    RTL_CLASS(TdxThemeChangedNotificator, rtl::TObject)
    TdxThemeChangedNotificator();
    ~TdxThemeChangedNotificator() override;
    rtl::Event<void()> OnThemeChanged;
};

// What the hidden window does with the system's theme-changed message: close every handle,
// renew VisualStylesActive, then call the notificators in list order. An exception from a
// notificator stops the round and is passed to the handler set with
// dxSetThemeChangeExceptionHandler (none: it is swallowed), so the message loop goes on.
void dxThemeManagerThemeChanged();
void dxSetThemeChangeExceptionHandler(rtl::Event<void(const std::exception&)> handler);

namespace dxThemeManagerUnit {
void Initialize(); // after dxUxThemeUnit
void Finalize();
} // namespace dxThemeManagerUnit

} // namespace cx

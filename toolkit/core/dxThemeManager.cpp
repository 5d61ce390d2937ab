#include "toolkit/core/dxThemeManager.h"

#include "platform/rtl/Unicode.h"

#include <algorithm>
#include <array>
#include <cwctype>
#include <vector>

namespace cx {

namespace {

const std::array<std::u16string, dxThemedObjectTypeCount> defaultClassNames = {
    u"Button", u"Clock", u"ComboBox", u"Edit", u"ExplorerBar", u"Header", u"ListBox", u"ListView",
    u"Menu", u"Page", u"Progress", u"Rebar", u"ScrollBar", u"Spin", u"StartPanel", u"Status", u"Tab",
    u"TaskBand", u"TaskBar", u"ToolBar", u"ToolTip", u"TrackBar", u"TrayNotify", u"TreeView", u"Window"};

std::array<TdxThemeData, dxThemedObjectTypeCount> themes;
bool visualStylesActive = false;
bool receiverAlive = false;
std::vector<TdxThemeChangedNotificator*> notificators;
rtl::Event<void(const std::exception&)> exceptionHandler;
int initCount = 0;

std::u16string Upper(const std::u16string& s)
{
    std::u16string r = s;
    for (char16_t& c : r)
        c = char16_t(std::towupper(wint_t(c)));
    return r;
}

// The file-name part of a path, upper-cased.
std::u16string UpperFileName(const std::u16string& path)
{
    const size_t slash = path.find_last_of(u"\\/");
    return Upper(slash == std::u16string::npos ? path : path.substr(slash + 1));
}

} // namespace

const std::u16string& dxThemeDefaultClassName(TdxThemedObjectType type) { return defaultClassNames[type]; }

const TdxThemeData& dxThemeData(TdxThemedObjectType type) { return themes[type]; }

bool VisualStylesActive() { return visualStylesActive; }

HTHEME OpenTheme(TdxThemedObjectType type, const std::u16string* className)
{
    if (!AreVisualStylesAvailable())
        return nullptr;
    TdxThemeData& data = themes[type];
    if (data.Theme) {
        if (!className || Upper(*className) == Upper(data.ClassName))
            return data.Theme;
        CloseTheme(type);
    }
    std::u16string name = className ? *className : data.ClassName;
    if (name.empty())
        name = defaultClassNames[type];
    data.Theme = OpenThemeData(0, name);
    data.ClassName = data.Theme ? name : std::u16string();
    return data.Theme;
}

HRESULT CloseTheme(TdxThemedObjectType type)
{
    if (!AreVisualStylesAvailable())
        return S_FALSE;
    TdxThemeData& data = themes[type];
    if (!data.Theme)
        return S_OK;
    const HRESULT result = CloseThemeData(data.Theme);
    data.Theme = nullptr;
    data.ClassName.clear();
    return result;
}

void CloseAllThemes()
{
    for (TdxThemeData& data : themes)
        if (data.Theme) {
            CloseThemeData(data.Theme);
            data.Theme = nullptr;
        }
}

bool AreVisualStylesAvailable(TdxThemedObjectType type)
{
    return visualStylesActive && IsThemeLibraryLoaded() && OpenTheme(type) != nullptr;
}

bool AreVisualStylesAvailable(TdxThemedObjectTypes types)
{
    if (!visualStylesActive || !IsThemeLibraryLoaded())
        return false;
    for (int t = 0; t < dxThemedObjectTypeCount; ++t)
        if (types.Contains(TdxThemedObjectType(t)) && !OpenTheme(TdxThemedObjectType(t)))
            return false;
    return true;
}

bool IsStandardTheme()
{
    if (!AreVisualStylesAvailable())
        return false;
    std::u16string fileName;
    if (GetCurrentThemeName(fileName, nullptr, nullptr) != S_OK)
        return false;
    const std::u16string name = UpperFileName(fileName);
    return name == u"LUNA.MSSTYLES" || name == u"ROYALE.MSSTYLES";
}

TdxThemeChangedNotificator::TdxThemeChangedNotificator()
{
    if (IsThemeLibraryLoaded())
        notificators.push_back(this);
}

TdxThemeChangedNotificator::~TdxThemeChangedNotificator()
{
    std::erase(notificators, this);
}

void dxThemeManagerThemeChanged()
{
    if (!receiverAlive)
        return;
    try {
        CloseAllThemes();
        visualStylesActive = IsThemeActive();
        // A notificator may free itself or others: walk a copy and skip the departed.
        const std::vector<TdxThemeChangedNotificator*> list = notificators;
        for (TdxThemeChangedNotificator* n : list)
            if (std::find(notificators.begin(), notificators.end(), n) != notificators.end() &&
                n->OnThemeChanged.Assigned())
                n->OnThemeChanged();
    } catch (const std::exception& e) {
        if (exceptionHandler.Assigned())
            exceptionHandler(e);
    }
}

void dxSetThemeChangeExceptionHandler(rtl::Event<void(const std::exception&)> handler)
{
    exceptionHandler = std::move(handler);
}

namespace dxThemeManagerUnit {

void Initialize()
{
    if (initCount++ > 0)
        return;
    for (TdxThemeData& data : themes)
        data = {};
    visualStylesActive = false;
    if (IsThemeLibraryLoaded()) {
        visualStylesActive = IsThemeActive();
        receiverAlive = true; // stands for the hidden window that hears theme changes
        notificators.clear();
    }
}

void Finalize()
{
    if (initCount == 0 || --initCount > 0)
        return;
    if (receiverAlive) {
        receiverAlive = false;
        visualStylesActive = false;
        CloseAllThemes();
        notificators.clear();
    }
    for (TdxThemeData& data : themes)
        data = {};
}

} // namespace dxThemeManagerUnit

} // namespace cx

#include "toolkit/core/dxOffice11.h"
#include "toolkit/core/dxThemeManager.h"

#include <gtest/gtest.h>

using namespace cx;

namespace {

// Starts the two theme units for one test and shuts them down after it.
struct ThemeUnits {
    ThemeUnits()
    {
        dxUxThemeUnit::Initialize();
        dxThemeManagerUnit::Initialize();
    }
    ~ThemeUnits()
    {
        dxThemeManagerUnit::Finalize();
        dxUxThemeUnit::Finalize();
        dxUxThemeBindForTesting(nullptr);
    }
};

// A fake library: counts opens and closes and hands out distinct handles.
struct FakeLibrary {
    int opens = 0, closes = 0;
    std::u16string lastClass;
    std::u16string themeFile = u"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles", colorName = u"NormalColor";
    TdxUxThemeProcs Procs()
    {
        TdxUxThemeProcs p;
        p.IsThemeActive = [] { return true; };
        p.OpenThemeData = [this](TdxWindowHandle, const std::u16string& name) {
            lastClass = name;
            return reinterpret_cast<HTHEME>(std::intptr_t(++opens));
        };
        p.CloseThemeData = [this](HTHEME) { ++closes; return cx::S_OK; };
        p.GetCurrentThemeName = [this](std::u16string& file, std::u16string* color, std::u16string*) {
            file = themeFile;
            if (color)
                *color = colorName;
            return cx::S_OK;
        };
        return p;
    }
};

} // namespace

TEST(dxThemeManager, WithoutTheLibraryNoThemeIsEverAvailable)
{
    ThemeUnits units;
    EXPECT_FALSE(IsThemeLibraryLoaded());
    EXPECT_FALSE(IsThemeActive());
    EXPECT_FALSE(VisualStylesActive());
    EXPECT_FALSE(AreVisualStylesAvailable());
    EXPECT_FALSE(AreVisualStylesAvailable(totButton));
    EXPECT_FALSE(AreVisualStylesAvailable({totButton, totHeader}));
    EXPECT_EQ(OpenTheme(totButton), nullptr);
    EXPECT_EQ(CloseTheme(totButton), cx::S_FALSE);
    EXPECT_FALSE(IsStandardTheme());
    for (const char* name : dxUxThemeProcNames)
        EXPECT_FALSE(dxUxThemeProcBound(name)) << name;
    EXPECT_EQ(std::string(dxUxThemeProcNames[0]), "CloseThemeData");
    EXPECT_EQ(std::string(dxUxThemeProcNames[dxUxThemeProcCount - 1]), "BufferedPaintSetAlpha");

    // A notificator made without the library is never told anything.
    int calls = 0;
    TdxThemeChangedNotificator n;
    n.OnThemeChanged = [&] { ++calls; };
    dxThemeManagerThemeChanged();
    EXPECT_EQ(calls, 0);
}

TEST(dxThemeManager, DefaultClassNames)
{
    EXPECT_EQ(dxThemeDefaultClassName(totButton), u"Button");
    EXPECT_EQ(dxThemeDefaultClassName(totTreeview), u"TreeView");
    EXPECT_EQ(dxThemeDefaultClassName(totWindow), u"Window");
}

TEST(dxThemeManager, HandlesAreOpenedOncePerTypeAndReopenedAfterAThemeChange)
{
    FakeLibrary fake;
    const TdxUxThemeProcs procs = fake.Procs();
    dxUxThemeBindForTesting(&procs);
    dxThemeManagerUnit::Initialize();
    ASSERT_TRUE(AreVisualStylesAvailable());
    EXPECT_EQ(fake.opens, 0); // the empty set opens nothing

    HTHEME h = OpenTheme(totButton);
    EXPECT_EQ(OpenTheme(totButton), h);
    const std::u16string lower = u"button";
    EXPECT_EQ(OpenTheme(totButton, &lower), h);
    EXPECT_EQ(fake.opens, 1);

    const std::u16string edit = u"Edit";
    HTHEME e = OpenTheme(totButton, &edit);
    EXPECT_NE(e, h);
    EXPECT_EQ(fake.closes, 1);
    EXPECT_EQ(OpenTheme(totButton), e);
    EXPECT_EQ(dxThemeData(totButton).ClassName, u"Edit");

    EXPECT_EQ(CloseTheme(totHeader), cx::S_OK); // never opened

    int calls = 0;
    TdxThemeChangedNotificator n;
    n.OnThemeChanged = [&] { ++calls; };
    dxThemeManagerThemeChanged();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(dxThemeData(totButton).Theme, nullptr);
    OpenTheme(totButton);
    EXPECT_EQ(fake.lastClass, u"Edit"); // reopened under the remembered name

    EXPECT_TRUE(IsStandardTheme());
    dxThemeManagerUnit::Finalize();
    dxUxThemeBindForTesting(nullptr);
}

TEST(dxThemeManager, AFailingNotificatorStopsTheRoundButNotTheCaller)
{
    FakeLibrary fake;
    const TdxUxThemeProcs procs = fake.Procs();
    dxUxThemeBindForTesting(&procs);
    dxThemeManagerUnit::Initialize();
    std::string reported;
    dxSetThemeChangeExceptionHandler([&](const std::exception& e) { reported = e.what(); });
    int later = 0;
    TdxThemeChangedNotificator a, b;
    a.OnThemeChanged = [] { throw std::runtime_error("boom"); };
    b.OnThemeChanged = [&] { ++later; };
    EXPECT_NO_THROW(dxThemeManagerThemeChanged());
    EXPECT_EQ(reported, "boom");
    EXPECT_EQ(later, 0);
    dxSetThemeChangeExceptionHandler({});
    dxThemeManagerUnit::Finalize();
    dxUxThemeBindForTesting(nullptr);
}

TEST(dxOffice11, SchemeDetectionFollowsTheThemeFileAndColourName)
{
    FakeLibrary fake;
    const TdxUxThemeProcs procs = fake.Procs();
    dxUxThemeBindForTesting(&procs);
    dxThemeManagerUnit::Initialize();

    RefreshOffice11Colors();
    EXPECT_EQ(GetOffice11Scheme(), schNormalColor);
    EXPECT_TRUE(IsXPStandardScheme());
    EXPECT_EQ(dxOffice11ToolbarsColor1, TColor(0xFEECDD));
    EXPECT_EQ(dxOffice11TubeMidPercent, 41);

    fake.colorName = u"Metallic";
    RefreshOffice11Colors();
    EXPECT_EQ(GetOffice11Scheme(), schMetallic);
    EXPECT_EQ(dxOffice11NavPaneHeaderColor2, TColor(0x916F70));
    EXPECT_EQ(dxOffice11TubeMidPercent, 40);

    fake.themeFile = u"C:\\WINDOWS\\Resources\\Themes\\Royale\\Royale.msstyles";
    fake.colorName = u"NormalColor";
    RefreshOffice11Colors();
    EXPECT_EQ(GetOffice11Scheme(), schUnknown); // not Luna on Windows 5.x
    EXPECT_FALSE(IsXPStandardScheme());

    dxThemeManagerUnit::Finalize();
    dxUxThemeBindForTesting(nullptr);
    RefreshOffice11Colors();
    EXPECT_EQ(GetOffice11Scheme(), schUnknown);
}

// Editor styles: the six editor values per state or per editor, defaults, controllers and the
// default editor style controller.
#include "tests/toolkit/editors/EditSettingsTestSupport.h"

namespace {

using CxEditStyle = EditSettingsTest;

// The four styles of one editor (normal, focused, disabled, hot).
struct FourStyles {
    FourStyles()
    {
        styles.GetStyleNormal()->OnChanged = [this](TObject*) { ++notices; };
    }
    TcxEditStyle* Style(TcxContainerStateItem state) const { return static_cast<TcxEditStyle*>(styles.GetStyle(state)); }
    TcxContainerStyles styles{nullptr, TcxContainerStyleClass::Of<TcxEditStyle>()};
    int notices = 0;
};

TEST_F(CxEditStyle, PerEditorValuesLiveOnTheNormalStyle)
{
    FourStyles f;
    f.Style(csActive)->SetGradient(true);
    EXPECT_TRUE(f.Style(csNormal)->GetGradient());
    EXPECT_TRUE(f.Style(csDisabled)->GetGradient());
    EXPECT_EQ(f.notices, 1);
    f.Style(csNormal)->SetGradient(true);
    EXPECT_EQ(f.notices, 1);   // assigned and equal

    struct Case {
        const char* what;
        void (*set)(TcxEditStyle*);
        bool (*read)(TcxEditStyle*);
    } cases[] = {
        {"transparency", [](TcxEditStyle* s) { s->SetButtonTransparency(ebtAlways); },
         [](TcxEditStyle* s) { return s->GetButtonTransparency() == ebtAlways; }},
        {"gradient buttons", [](TcxEditStyle* s) { s->SetGradientButtons(true); },
         [](TcxEditStyle* s) { return s->GetGradientButtons(); }},
        {"direction", [](TcxEditStyle* s) { s->SetGradientDirection(dirLeft); },
         [](TcxEditStyle* s) { return s->GetGradientDirection() == dirLeft; }},
        {"popup border", [](TcxEditStyle* s) { s->SetPopupBorderStyle(epbsFlat); },
         [](TcxEditStyle* s) { return s->GetPopupBorderStyle() == epbsFlat; }},
        {"close button", [](TcxEditStyle* s) { s->SetPopupCloseButton(false); },
         [](TcxEditStyle* s) { return !s->GetPopupCloseButton(); }},
    };
    for (const Case& c : cases) {
        FourStyles g;
        EXPECT_FALSE(c.read(g.Style(csNormal))) << c.what;
        c.set(g.Style(csHotTrack));
        for (TcxContainerStateItem s : {csNormal, csActive, csDisabled, csHotTrack})
            EXPECT_TRUE(c.read(g.Style(s))) << c.what << " state " << s;
        EXPECT_EQ(g.notices, 1) << c.what;
    }
}

TEST_F(CxEditStyle, ButtonStyleIsKeptPerState)
{
    FourStyles f;
    f.Style(csHotTrack)->SetButtonStyle(btsHotFlat);
    EXPECT_EQ(f.Style(csNormal)->GetButtonStyle(), btsDefault);
    EXPECT_EQ(f.Style(csHotTrack)->GetButtonStyle(), btsHotFlat);
    EXPECT_FALSE(f.Style(csNormal)->IsValueAssigned(svButtonStyle));
    EXPECT_TRUE(f.Style(csHotTrack)->IsValueAssigned(svButtonStyle));
    // An unassigned state follows the normal style.
    f.Style(csNormal)->SetButtonStyle(bts3D);
    EXPECT_EQ(f.Style(csDisabled)->GetButtonStyle(), bts3D);
    EXPECT_EQ(f.Style(csHotTrack)->GetButtonStyle(), btsHotFlat);
}

TEST_F(CxEditStyle, DefaultsNamesAndPublishedValues)
{
    FourStyles f;
    TcxEditStyle* s = f.Style(csNormal);
    EXPECT_EQ(s->GetGradientDirection(), dirDown);
    EXPECT_EQ(s->GetButtonTransparency(), ebtNone);
    EXPECT_EQ(s->GetPopupBorderStyle(), epbsDefault);
    EXPECT_TRUE(s->GetPopupCloseButton());
    EXPECT_EQ(s->GetStyleValueCount(), 16);
    const char* names[] = {"ButtonStyle", "ButtonTransparency", "PopupBorderStyle", "GradientButtons", "Gradient",
                           "GradientDirection"};
    std::string name;
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(s->GetStyleValueName(10 + i, name));
        EXPECT_EQ(name, names[i]);
    }
    EXPECT_TRUE(s->GetStyleValueName(csvColor, name));
    EXPECT_EQ(name, "Color");
    EXPECT_FALSE(s->GetStyleValueName(16, name));
    EXPECT_EQ(name, "");
    TcxContainerStyleValue v = -1;
    EXPECT_TRUE(s->GetStyleValue("gradient", v));
    EXPECT_EQ(v, svGradient);
    EXPECT_TRUE(s->IsExtendedStylePropertyPublished("ButtonStyle"));
    EXPECT_FALSE(s->IsExtendedStylePropertyPublished("Gradient"));
    EXPECT_TRUE(s->IsExtendedStylePropertyPublished("Color"));
}

TEST_F(CxEditStyle, UnassignedValuesComeFromTheController)
{
    TcxEditStyleController controller(nullptr);
    EXPECT_TRUE(IsExactly<TcxEditStyle>(controller.Style()));
    EXPECT_TRUE(IsExactly<TcxEditStyle>(controller.StyleHot()));
    controller.Style()->SetGradientDirection(dirRight);
    controller.StyleHot()->SetButtonStyle(btsUltraFlat);

    FourStyles f;
    f.Style(csNormal)->SetStyleController(&controller);
    EXPECT_EQ(f.Style(csNormal)->GetStyleController(), &controller);
    EXPECT_EQ(f.Style(csNormal)->GetGradientDirection(), dirRight);
    EXPECT_TRUE(f.Style(csNormal)->IsValueAssigned(svGradientDirection));
    EXPECT_EQ(f.Style(csHotTrack)->GetButtonStyle(), btsUltraFlat);
    EXPECT_EQ(f.Style(csNormal)->GetButtonStyle(), btsDefault);
    EXPECT_FALSE(f.Style(csNormal)->IsValueAssigned(svGradient));
    f.Style(csNormal)->SetGradientDirection(dirUp);   // the own value wins
    EXPECT_EQ(f.Style(csNormal)->GetGradientDirection(), dirUp);
}

TEST_F(CxEditStyle, AssignCopiesTheEditorValuesInOneNotice)
{
    FourStyles from, to;
    from.Style(csNormal)->SetButtonStyle(btsFlat);
    from.Style(csNormal)->SetGradient(true);
    from.Style(csNormal)->SetPopupCloseButton(false);
    to.Style(csNormal)->Assign(from.Style(csNormal));
    EXPECT_EQ(to.notices, 1);
    EXPECT_EQ(to.Style(csNormal)->GetButtonStyle(), btsFlat);
    EXPECT_TRUE(to.Style(csNormal)->GetGradient());
    EXPECT_TRUE(to.Style(csNormal)->IsValueAssigned(svGradient));
    EXPECT_FALSE(to.Style(csNormal)->GetPopupCloseButton());
}

TEST_F(CxEditStyle, TheDefaultControllerAndItsComponents)
{
    TcxEditStyleController* controller = DefaultEditStyleController();
    ASSERT_NE(controller, nullptr);
    EXPECT_EQ(cxContainerDefaultStyleController, controller);

    auto* first = new TcxDefaultEditStyleController(nullptr);
    auto* second = new TcxDefaultEditStyleController(nullptr);
    first->Style()->SetButtonStyle(btsOffice11);
    EXPECT_EQ(controller->Style()->GetButtonStyle(), btsOffice11);
    int changes = 0;
    second->SetOnStyleChanged([&](TObject*) { ++changes; });
    second->StyleFocused()->SetColor(clRed);
    EXPECT_EQ(changes, 1);

    second->Free();   // another one is still there: the styles stay
    EXPECT_EQ(controller->Style()->GetButtonStyle(), btsOffice11);
    EXPECT_TRUE(controller->OnStyleChanged.Assigned());
    first->Free();    // the last one restores them
    EXPECT_EQ(controller->Style()->GetButtonStyle(), btsDefault);
    EXPECT_FALSE(controller->OnStyleChanged.Assigned());
    EXPECT_EQ(cxDefaultEditStyleControllerCount(), 0);

    // A style with no controller of its own follows the default one.
    FourStyles f;
    controller->Style()->SetGradient(true);
    EXPECT_TRUE(f.Style(csNormal)->GetGradient());
    EXPECT_EQ(f.Style(csNormal)->GetStyleController(), nullptr);
}

TEST_F(CxEditStyle, StandardDrawingEmulationRepaintsThroughTheRootLookAndFeel)
{
    cxLookAndFeelPaintersUnit::Initialize();
    cxLookAndFeelsUnit::Initialize();
    TcxDefaultEditStyleController component(nullptr);
    EXPECT_FALSE(component.GetEmulateStandardControlDrawing());
    int notices = 0;
    TcxLookAndFeel listener(nullptr);
    listener.SetMasterLookAndFeel(RootLookAndFeel());
    listener.OnChanged = [&](TcxLookAndFeel*, TcxLookAndFeelValues) { ++notices; };
    component.SetEmulateStandardControlDrawing(true);
    EXPECT_TRUE(EmulateStandardControlDrawing());
    EXPECT_GE(notices, 1);
    int after = notices;
    component.SetEmulateStandardControlDrawing(true);
    EXPECT_EQ(notices, after);
    component.SetEmulateStandardControlDrawing(false);
    listener.SetMasterLookAndFeel(nullptr);
    cxLookAndFeelsUnit::Finalize();
    cxLookAndFeelPaintersUnit::Finalize();
}

TEST(CxEditStyleShutDown, TheDefaultControllerGoesWithTheUnit)
{
    EnsureVclApp();
    cxEditUnit::Initialize();
    EXPECT_NE(DefaultEditStyleController(), nullptr);
    cxEditUnit::Finalize();
    EXPECT_EQ(DefaultEditStyleController(), nullptr);
    EXPECT_EQ(cxContainerDefaultStyleController, nullptr);
    EXPECT_TRUE(cxButtonToShift(cxmbNone) == TShiftState{});
    EXPECT_TRUE(cxButtonToShift(cxmbRight) == TShiftState{ssRight});
}

} // namespace

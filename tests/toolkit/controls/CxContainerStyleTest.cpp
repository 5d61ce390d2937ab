// Container styles: resolution of a value through the own flag, the style controller chain and
// the defaults; border style by state; controller binding (cycles refused), listeners and
// destruction; change batching; direct-access mode; the stored rules.
#include "tests/toolkit/controls/ControlsTestSupport.h"
#include "tests/common/StreamTestSupport.h"
#include "platform/rtl/Filer.h"
#include "toolkit/controls/cxContainer.h"

using namespace cx;

namespace {
// A style set owned by a plain persistent object (no container), as a controller's is.
struct StyleSet {
    TPersistent owner;
    TcxContainerStyles styles{&owner, TcxContainerStyleClass::Of<TcxContainerStyle>()};
    int notices = 0;
    StyleSet()
    {
        styles.SetOnChanged([this](TObject*) { ++notices; });
    }
    TcxContainerStyle* N() { return styles.GetStyleNormal(); }
    TcxContainerStyle* S(TcxContainerStateItem s) { return styles.GetStyle(s); }
};
} // namespace

class CxContainerStyleTest : public ControlBaseTest {};

TEST_F(CxContainerStyleTest, BorderStyleByKindAndState)
{
    struct Case {
        TcxLookAndFeelKind kind;
        int normalStyle; // -1: not assigned
        bool hotTrack;
        TcxContainerBorderStyle expected[4]; // normal, focused, disabled, hot
    };
    const Case cases[] = {
        {lfFlat, -1, true, {cbsFlat, cbs3D, cbsFlat, cbs3D}},
        {lfFlat, -1, false, {cbsFlat, cbsFlat, cbsFlat, cbsFlat}},
        {lfStandard, -1, true, {cbs3D, cbs3D, cbs3D, cbs3D}},
        {lfUltraFlat, -1, true, {cbsUltraFlat, cbsUltraFlat, cbsUltraFlat, cbsUltraFlat}},
        {lfOffice11, -1, true, {cbsOffice11, cbsOffice11, cbsOffice11, cbsOffice11}},
        {lfFlat, cbsSingle, true, {cbsSingle, cbsThick, cbsSingle, cbsThick}},
        {lfFlat, cbsNone, true, {cbsNone, cbsFlat, cbsNone, cbsFlat}},
        {lfFlat, cbsNone, false, {cbsNone, cbsNone, cbsNone, cbsNone}},
        {lfFlat, cbsThick, true, {cbsThick, cbsThick, cbsThick, cbsThick}},
    };
    for (const Case& c : cases) {
        StyleSet set;
        set.N()->GetLookAndFeel()->SetKind(c.kind);
        if (c.normalStyle >= 0)
            set.N()->SetBorderStyle(TcxContainerBorderStyle(c.normalStyle));
        set.N()->SetHotTrack(c.hotTrack);
        for (int s = 0; s < 4; ++s)
            EXPECT_EQ(set.S(TcxContainerStateItem(s))->GetBorderStyle(), c.expected[s])
                << "kind " << c.kind << " normal " << c.normalStyle << " state " << s;
    }
}

TEST_F(CxContainerStyleTest, DefaultsPerStateAndValuesKeptOncePerSet)
{
    StyleSet set;
    set.N()->SetBorderColor(clRed);
    set.N()->SetTextColor(clBlue);
    // The disabled style's colours are its own whatever the normal style says.
    EXPECT_EQ(set.S(csDisabled)->GetBorderColor(), clBtnShadow);
    EXPECT_EQ(set.S(csDisabled)->GetTextColor(), clBtnShadow);
    EXPECT_EQ(set.S(csActive)->GetBorderColor(), clRed);
    EXPECT_EQ(set.S(csHotTrack)->GetTextColor(), clBlue);
    // No container: parent-coloured, so button face for the base and the rest follow it.
    EXPECT_EQ(set.N()->GetColor(), clBtnFace);
    EXPECT_EQ(set.S(csDisabled)->GetColor(), clBtnFace);
    set.N()->SetColor(clYellow);
    EXPECT_EQ(set.S(csActive)->GetColor(), clYellow);
    // Edges, shadow, hot tracking and transparent border exist once per set: a non-base style
    // reads and writes the base style's.
    set.S(csActive)->SetShadow(true);
    EXPECT_TRUE(set.N()->GetShadow());
    EXPECT_TRUE(set.N()->GetAssignedValues() & cxStyleValue(csvShadow));
    EXPECT_EQ(set.S(csActive)->GetAssignedValues() & cxStyleValue(csvShadow), 0u);
    set.N()->SetEdges(cxBorder(bLeft));
    EXPECT_EQ(set.S(csHotTrack)->GetEdges(), cxBorder(bLeft));
    EXPECT_TRUE(set.S(csDisabled)->GetTransparentBorder());
    EXPECT_EQ(set.S(csDisabled)->GetFont(), set.N()->GetFont());
}

TEST_F(CxContainerStyleTest, UnassignedValueComesFromTheControllerChainThenTheDefault)
{
    TComponent owner(nullptr);
    auto* a = new TcxStyleController(&owner);
    auto* b = new TcxStyleController(&owner);
    StyleSet set;
    set.N()->SetStyleController(a);
    a->GetStyle()->SetStyleController(b);
    EXPECT_EQ(a->ListenerCount(), 1);
    EXPECT_EQ(b->ListenerCount(), 1);

    // Nothing assigned anywhere: the defaults.
    EXPECT_EQ(set.N()->GetBorderColor(), clWindowFrame);
    EXPECT_FALSE(set.N()->IsValueAssigned(csvBorderColor));
    // The far end of the chain answers, per state.
    b->GetInternalStyle(csActive)->SetBorderColor(clLime);
    b->GetStyle()->SetBorderColor(clGreen);
    EXPECT_EQ(set.S(csActive)->GetBorderColor(), clLime);
    EXPECT_EQ(set.N()->GetBorderColor(), clGreen);
    EXPECT_TRUE(set.N()->IsValueAssigned(csvBorderColor));
    EXPECT_EQ(set.N()->GetAssignedValues() & cxStyleValue(csvBorderColor), 0u);
    // The nearer controller wins, the own value wins over both.
    a->GetStyle()->SetBorderColor(clMaroon);
    EXPECT_EQ(set.N()->GetBorderColor(), clMaroon);
    set.N()->SetBorderColor(clNavy);
    EXPECT_EQ(set.N()->GetBorderColor(), clNavy);
    // Clearing the own flags reverts to the chain.
    set.N()->SetAssignedValues(0);
    EXPECT_EQ(set.N()->GetBorderColor(), clMaroon);

    // A change in the chain reaches the follower as one notice.
    set.notices = 0;
    b->GetStyle()->SetShadow(true);
    EXPECT_TRUE(set.N()->GetShadow());
    EXPECT_EQ(set.notices, 1);

    // Freeing a controller rebinds its followers to the default (none here).
    b->Free();
    EXPECT_EQ(a->GetStyle()->GetStyleController(), nullptr);
    EXPECT_FALSE(set.N()->GetShadow());
    a->Free();
    EXPECT_EQ(set.N()->GetStyleController(), nullptr);
    EXPECT_EQ(set.N()->GetBorderColor(), clWindowFrame);
}

TEST_F(CxContainerStyleTest, ACycleOfControllersIsRefused)
{
    TComponent owner(nullptr);
    auto* a = new TcxStyleController(&owner);
    auto* b = new TcxStyleController(&owner);
    auto* c = new TcxStyleController(&owner);
    a->GetStyle()->SetStyleController(b);
    b->GetStyle()->SetStyleController(c);
    c->GetStyle()->SetStyleController(a); // a -> b -> c -> a: refused
    b->GetStyle()->SetStyleController(a); // b -> a -> b: refused
    a->GetStyle()->SetStyleController(a); // itself: refused
    EXPECT_EQ(c->GetStyle()->GetStyleController(), nullptr);
    EXPECT_EQ(b->GetStyle()->GetStyleController(), c);
    EXPECT_EQ(a->GetStyle()->GetStyleController(), b);
    // Lookups end.
    EXPECT_EQ(a->GetStyle()->GetBorderColor(), clWindowFrame);
    EXPECT_FALSE(c->GetStyle()->IsValueAssigned(csvColor));
}

TEST_F(CxContainerStyleTest, SettersNotifyOnceAndBatchingGivesOneNotice)
{
    StyleSet set;
    // An equal value not yet assigned is still assigned and notified; again it is not.
    set.N()->SetHotTrack(true);
    EXPECT_EQ(set.notices, 1);
    EXPECT_TRUE(set.N()->GetAssignedValues() & cxStyleValue(csvHotTrack));
    set.N()->SetHotTrack(true);
    EXPECT_EQ(set.notices, 1);

    set.notices = 0;
    set.N()->BeginUpdate();
    set.N()->BeginUpdate();
    set.N()->SetColor(clRed);
    set.N()->SetBorderStyle(cbsSingle);
    set.N()->GetFont()->SetSize(14);
    set.N()->EndUpdate();
    EXPECT_EQ(set.notices, 0);
    set.N()->EndUpdate();
    EXPECT_EQ(set.notices, 1);
    EXPECT_TRUE(set.N()->GetAssignedValues() & cxStyleValue(csvFont));
    set.N()->EndUpdate(); // unmatched: nothing
    EXPECT_EQ(set.notices, 1);

    // A look-and-feel change is a style change.
    set.N()->GetLookAndFeel()->SetKind(lfOffice11);
    EXPECT_EQ(set.notices, 2);
}

TEST_F(CxContainerStyleTest, DirectAccessModeReadsTheStyleDataAndNeverNotifies)
{
    TPersistent owner;
    TcxContainerStyle s(&owner, true);
    int notices = 0;
    s.OnChanged = [&](TObject*) { ++notices; };
    TFont font;
    font.SetStyle(FontStyle(fsBold));
    s.StyleData().Font = &font;
    s.StyleData().Color = clAqua;
    s.StyleData().FontColor = clPurple;
    EXPECT_EQ(s.GetAssignedValues(), (1u << cxContainerStyleValueCount) - 1);
    EXPECT_EQ(s.GetColor(), clAqua);
    EXPECT_EQ(s.GetTextColor(), clPurple);
    EXPECT_EQ(s.GetTextStyle(), FontStyle(fsBold));
    EXPECT_EQ(s.GetFont(), &font);
    EXPECT_EQ(s.GetBorderColor(), clDefault);
    EXPECT_EQ(s.GetEdges(), 0u);
    EXPECT_FALSE(s.GetShadow());
    EXPECT_TRUE(s.GetTransparentBorder());
    s.SetBorderStyle(cbsSingle);
    s.SetColor(clRed);
    EXPECT_EQ(s.GetBorderStyle(), cbsSingle);
    EXPECT_EQ(notices, 0);
}

TEST_F(CxContainerStyleTest, FontFollowsTheControllerUntilAssigned)
{
    TComponent owner(nullptr);
    auto* a = new TcxStyleController(&owner);
    a->GetStyle()->GetFont()->SetName("Courier New");
    a->GetStyle()->GetFont()->SetSize(20);
    StyleSet set;
    set.N()->SetStyleController(a);
    EXPECT_EQ(set.N()->GetFont()->GetSize(), 20);
    EXPECT_TRUE(set.N()->IsValueAssigned(csvFont));
    // The own font copy follows too without becoming assigned.
    EXPECT_EQ(set.N()->StyleData().Font->GetSize(), 20);
    EXPECT_EQ(set.N()->GetAssignedValues() & cxStyleValue(csvFont), 0u);
    // The visible font adds text colour and style.
    set.N()->SetTextStyle(FontStyle(fsItalic));
    set.N()->SetTextColor(clRed);
    EXPECT_EQ(set.N()->GetVisibleFont()->GetStyle(), FontStyle(fsItalic));
    EXPECT_EQ(set.N()->GetVisibleFont()->GetColor(), clRed);
    EXPECT_EQ(set.N()->GetVisibleFont()->GetSize(), 20);

    // The controller's font scales once.
    a->ChangeFontScale(2, 1);
    a->ChangeFontScale(2, 1);
    EXPECT_EQ(a->GetStyle()->GetFont()->GetSize(), 40);
}

TEST_F(CxContainerStyleTest, NamesPublishingAndStoredRules)
{
    StyleSet set;
    TcxContainerStyleValue v = -1;
    EXPECT_TRUE(set.N()->GetStyleValue("transparentborder", v));
    EXPECT_EQ(v, csvTransparentBorder);
    EXPECT_FALSE(set.N()->GetStyleValue("Nothing", v));
    std::string name;
    EXPECT_FALSE(set.N()->GetStyleValueName(10, name));
    EXPECT_TRUE(name.empty());
    EXPECT_FALSE(set.N()->IsExtendedStylePropertyPublished("LookAndFeel"));
    EXPECT_FALSE(set.N()->IsExtendedStylePropertyPublished("Edges"));
    EXPECT_TRUE(set.N()->IsExtendedStylePropertyPublished("Color"));
    EXPECT_TRUE(set.N()->IsExtendedStylePropertyPublished("Unknown"));
    EXPECT_FALSE(set.N()->IsColorStored());
    set.N()->SetColor(clRed);
    EXPECT_TRUE(set.N()->IsColorStored());
    EXPECT_FALSE(set.N()->IsValueAssigned(csvTransparentBorder + 1));

    // "IsFontAssigned" is written as True and read as "assigned" whatever it holds.
    TMemoryStream stream;
    {
        TWriter w(&stream, 64);
        w.WriteBoolean(false);
    }
    stream.SetPosition(0);
    TReader r(&stream, 64);
    set.N()->ReadIsFontAssigned(&r);
    EXPECT_TRUE(set.N()->GetAssignedValues() & cxStyleValue(csvFont));
    EXPECT_TRUE(set.N()->IsFontAssignedWritten());
    // Through the style's own stream properties: written only with a stored font.
    StyleSet plain, read;
    EXPECT_EQ(WriteDefinedProperties(plain.N()).find("IsFontAssigned"), std::string::npos);
    ReadDefinedProperties(WriteDefinedProperties(set.N()), read.N());
    EXPECT_TRUE(read.N()->GetAssignedValues() & cxStyleValue(csvFont));
    StyleSet old;
    ReadDefinedProperties(BooleanPropertyList("IsFontAssigned", false), old.N());
    EXPECT_TRUE(old.N()->GetAssignedValues() & cxStyleValue(csvFont));

    // Restoring the defaults clears every value.
    set.N()->RestoreDefaults();
    EXPECT_EQ(set.N()->GetAssignedValues(), 0u);
}

TEST_F(CxContainerStyleTest, AssignCopiesValuesAndFlags)
{
    StyleSet from, to;
    from.N()->SetBorderStyle(cbsThick);
    from.N()->SetTextColor(clRed);
    from.N()->GetFont()->SetSize(17);
    from.N()->GetLookAndFeel()->SetKind(lfOffice11);
    to.notices = 0;
    to.N()->Assign(from.N());
    EXPECT_EQ(to.notices, 1);
    EXPECT_EQ(to.N()->GetBorderStyle(), cbsThick);
    EXPECT_EQ(to.N()->GetTextColor(), clRed);
    EXPECT_EQ(to.N()->GetFont()->GetSize(), 17);
    EXPECT_EQ(to.N()->GetLookAndFeel()->GetKind(), lfOffice11);
    EXPECT_EQ(to.N()->GetAssignedValues(), from.N()->GetAssignedValues());
}

// Editor buttons: the one Default button, the visible caption, the width rule, the lazily created
// glyph, the collection's notices and the view-info comparison that decides repaints.
#include "tests/toolkit/editors/EditSettingsTestSupport.h"

namespace {

struct ButtonsFixture {
    ButtonsFixture()
    {
        buttons.OnChange = [this](TObject* sender) {
            EXPECT_EQ(sender, &buttons);
            ++notices;
        };
    }
    TcxEditButtons buttons{nullptr, TCollectionItemClass::Of<TcxEditButton>()};
    int notices = 0;
};

TEST(CxEditButtons, NewButtonIsWholeWhenTheOneNoticeComes)
{
    ButtonsFixture f;
    TcxEditButtonKind seenKind = bkEllipsis;
    f.buttons.OnChange = [&](TObject*) {
        ++f.notices;
        seenKind = f.buttons.Items(0)->Kind();
    };
    TcxEditButton* b = f.buttons.Add();
    EXPECT_EQ(f.notices, 1);
    EXPECT_EQ(seenKind, bkDown);
    EXPECT_EQ(b->ContentAlignment(), taCenter);
    EXPECT_TRUE(b->Enabled() && b->Stretchable() && b->Visible());
    EXPECT_EQ(b->TextColor(), clBtnText);
    EXPECT_EQ(b->Width(), 0);

    // Constructed with its collection directly: one notice as well.
    f.notices = 0;
    new TcxEditButton(&f.buttons);
    EXPECT_EQ(f.notices, 1);
    EXPECT_EQ(f.buttons.Count(), 2);
}

TEST(CxEditButtons, OnlyOneDefaultAndOneNoticeForAll)
{
    ButtonsFixture f;
    for (int i = 0; i < 3; ++i)
        f.buttons.Add();
    f.buttons.Items(0)->SetDefault(true);
    f.buttons.Items(2)->SetDefault(true);   // stray state another path could leave
    f.notices = 0;
    f.buttons.Items(1)->SetDefault(true);
    EXPECT_EQ(f.notices, 1);
    EXPECT_FALSE(f.buttons.Items(0)->Default());
    EXPECT_TRUE(f.buttons.Items(1)->Default());
    EXPECT_FALSE(f.buttons.Items(2)->Default());
    f.buttons.Items(1)->SetDefault(true);
    EXPECT_EQ(f.notices, 1);   // unchanged
}

TEST(CxEditButtons, CaptionKeepsAVisibleCaptionWithoutAccelerators)
{
    ButtonsFixture f;
    TcxEditButton* b = f.buttons.Add();
    struct Case {
        const char* caption;
        const char* visible;
    } cases[] = {{"&Open", "Open"}, {"Save &As...", "Save As..."}, {"a&&b", "a&b"}, {"plain", "plain"}};
    for (const Case& c : cases) {
        b->SetCaption(c.caption);
        EXPECT_EQ(b->VisibleCaption(), c.visible) << c.caption;
    }
    f.notices = 0;
    b->SetCaption("plain");
    EXPECT_EQ(f.notices, 0);
}

TEST(CxEditButtons, WidthRuleRefusesNegativeWidths)
{
    ButtonsFixture f;
    TcxEditButton* b = f.buttons.Add();
    struct Step {
        int set;
        int stored;
        int notices;
    } steps[] = {{5, 5, 1}, {5, 5, 0}, {-3, 5, 0}, {7, 7, 1}, {0, 0, 1}, {-1, 0, 0}, {2, 2, 1}};
    for (const Step& s : steps) {
        f.notices = 0;
        b->SetWidth(s.set);
        EXPECT_EQ(b->Width(), s.stored) << s.set;
        EXPECT_EQ(f.notices, s.notices) << s.set;
    }
}

TEST(CxEditButtons, GlyphIsCreatedOnFirstReadAndFreedByNil)
{
    ButtonsFixture f;
    TcxEditButton* b = f.buttons.Add();
    EXPECT_FALSE(b->HasGlyph());
    TBitmap* glyph = b->Glyph();
    ASSERT_NE(glyph, nullptr);
    EXPECT_TRUE(glyph->GetEmpty());
    EXPECT_EQ(b->Glyph(), glyph);

    TBitmap picture;
    picture.SetSize(8, 6);
    f.notices = 0;
    b->SetGlyph(&picture);
    EXPECT_EQ(f.notices, 1);
    EXPECT_EQ(b->Glyph()->GetWidth(), 8);
    EXPECT_NE(b->Glyph(), &picture);   // copied, not taken

    b->SetGlyph(nullptr);
    EXPECT_FALSE(b->HasGlyph());
    EXPECT_EQ(f.notices, 2);   // freeing still notifies
}

TEST(CxEditButtons, EveryCollectionChangeReachesTheHandlerOnce)
{
    ButtonsFixture f;
    f.buttons.Add();
    f.buttons.Add();
    EXPECT_EQ(f.notices, 2);
    f.buttons.Items(0)->SetKind(bkGlyph);
    EXPECT_EQ(f.notices, 3);
    f.buttons.Delete(0);
    EXPECT_EQ(f.notices, 4);
    f.buttons.BeginUpdate();
    f.buttons.Add()->SetHint("x");
    f.buttons.Items(0)->SetVisible(false);
    f.buttons.EndUpdate();
    EXPECT_EQ(f.notices, 5);
    EXPECT_EQ(f.buttons.VisibleCount(), 1);
}

TEST(CxEditButtons, AssignCopiesEverySettingInOneNotice)
{
    ButtonsFixture f;
    TcxEditButton* target = f.buttons.Add();
    TcxEditButtons other(nullptr, TCollectionItemClass::Of<TcxEditButton>());
    TcxEditButton* source = other.Add();
    source->SetCaption("&Go");
    source->SetContentAlignment(taRightJustify);
    source->SetKind(bkText);
    source->SetLeftAlignment(true);
    source->SetStretchable(false);
    source->SetTag(9);
    source->SetTextColor(clRed);
    source->SetWidth(15);
    source->SetHint("go there");
    source->SetEnabled(false);
    f.notices = 0;
    target->Assign(source);
    EXPECT_EQ(f.notices, 1);
    EXPECT_EQ(target->Caption(), "&Go");
    EXPECT_EQ(target->VisibleCaption(), "Go");
    EXPECT_EQ(target->ContentAlignment(), taRightJustify);
    EXPECT_EQ(target->Kind(), bkText);
    EXPECT_TRUE(target->LeftAlignment());
    EXPECT_FALSE(target->Stretchable());
    EXPECT_EQ(target->Tag(), 9);
    EXPECT_TRUE(target->IsTagStored());
    EXPECT_EQ(target->TextColor(), clRed);
    EXPECT_EQ(target->Width(), 15);
    EXPECT_EQ(target->Hint(), "go there");
    EXPECT_FALSE(target->Enabled());
    EXPECT_TRUE(target->HasGlyph());   // the source's glyph is read, so both have one
    EXPECT_TRUE(source->HasGlyph());
}

TEST(CxEditButtonViewInfo, OnlyALookChangeRepaints)
{
    TcxEditButtonViewInfo previous;
    previous.Bounds = TRect{0, 0, 16, 20};
    struct Case {
        const char* what;
        void (*change)(TcxEditButtonViewInfo&);
        bool repaint;
    } cases[] = {
        {"bounds only", [](TcxEditButtonViewInfo& v) { v.Bounds = TRect{30, 2, 46, 22}; }, false},
        {"caption only", [](TcxEditButtonViewInfo& v) { v.Data.Caption = "x"; }, false},
        {"state", [](TcxEditButtonViewInfo& v) { v.Data.State = ebsPressed; }, true},
        {"style", [](TcxEditButtonViewInfo& v) { v.Data.Style = btsFlat; }, true},
        {"background", [](TcxEditButtonViewInfo& v) { v.Data.BackgroundColor = clRed; }, true},
        {"native state", [](TcxEditButtonViewInfo& v) { v.Data.NativeState = 3; }, true},
    };
    for (const Case& c : cases) {
        TcxEditButtonViewInfo current;
        current.Bounds = previous.Bounds;
        c.change(current);
        std::unique_ptr<TcxRegion> region(current.GetUpdateRegion(&previous));
        EXPECT_EQ(region->GetIsEmpty(), !c.repaint) << c.what;
        if (c.repaint) {
            EXPECT_EQ(region->GetBoundsRect(), current.Bounds) << c.what;
        }
        EXPECT_EQ(current.Repaint(nullptr, &previous, TPoint{0, 0}), c.repaint) << c.what;
    }
}

TEST(CxEditButtonViewInfo, AssignCopiesWhatDecidesTheLook)
{
    TcxEditButtonViewInfo source;
    source.Bounds = TRect{1, 2, 3, 4};
    source.Data.State = ebsSelected;
    source.Data.Style = btsOffice11;
    source.Data.BackgroundColor = clBlue;
    source.Data.NativeState = 5;
    source.Data.Caption = "not copied";
    source.Width = 40;
    TcxEditButtonViewInfo target;
    target.Assign(&source);
    EXPECT_TRUE(target.SameLook(&source));
    EXPECT_EQ(target.Bounds, source.Bounds);
    EXPECT_EQ(target.Data.Caption, "");
    EXPECT_EQ(target.Width, 0);
}

} // namespace

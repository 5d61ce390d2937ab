// The data navigator: its buttons, layout, clicks on release, the Prior/Next repeat on a manual
// clock, its own hints, and the link to a navigable control (enabled table, Delete question,
// keys, notifier).
#include "tests/toolkit/controls/ControlsTestSupport.h"

#include "platform/gdi/Text.h"
#include "platform/vcl/Dialogs.h"
#include "toolkit/editors/cxNavigator.h"

#include <QTest>
#include <QTimer>

using namespace cx;

namespace {

// A navigable control that records the actions asked of it.
class FakeGrid : public TComponent, public IcxNavigator {
public:
    explicit FakeGrid(TComponent* owner) : TComponent(owner) {}
    ~FakeGrid() override = default;
    bool active = true, bof = false, eof = false, editing = false, bookmark = false;
    bool canAppend = true, canDelete = true, canEdit = true, canInsert = true;
    std::vector<int> unsupported;
    std::vector<int> actions;
    int clearedBookmarks = 0;
    TcxNavigatorControlNotifier notifier;
    bool withNotifier = true;

    bool NavigatorCanAppend() override { return canAppend; }
    bool NavigatorCanDelete() override { return canDelete; }
    bool NavigatorCanEdit() override { return canEdit; }
    bool NavigatorCanInsert() override { return canInsert; }
    bool NavigatorIsActive() override { return active; }
    bool NavigatorIsBof() override { return bof; }
    bool NavigatorIsBookmarkAvailable() override { return bookmark; }
    bool NavigatorIsEditing() override { return editing; }
    bool NavigatorIsEof() override { return eof; }
    void NavigatorClearBookmark() override { ++clearedBookmarks; }
    void NavigatorDoAction(int index) override
    {
        actions.push_back(index);
        // Moving to the last record: every linked navigator hears of it.
        if (index == nbiLast) {
            eof = true;
            notifier.RefreshNavigatorButtons();
        }
    }
    TcxNavigatorControlNotifier* NavigatorGetNotifier() override { return withNotifier ? &notifier : nullptr; }
    bool NavigatorIsActionSupported(int index) override
    {
        return std::find(unsupported.begin(), unsupported.end(), index) == unsupported.end();
    }
};

} // namespace

class CxNavigatorTest : public ControlBaseTest {
protected:
    void SetUp() override
    {
        ControlBaseTest::SetUp();
        gdi::SetFontEngine(gdi::MakeFakeFontEngine());
        nav = new TcxNavigator(form);
        nav->SetParent(form);
        nav->SetBounds(10, 10, 400, 25);
        grid = new FakeGrid(form);
    }
    void TearDown() override
    {
        ControlBaseTest::TearDown();
        cxNavigatorUnit::Finalize();
        gdi::SetFontEngine(nullptr);
    }
    TcxNavigatorButtonViewInfo* ViewInfoOf(int buttonIndex)
    {
        nav->ViewInfo()->Calculate();
        return nav->ViewInfo()->GetButtonViewInfoByButton(nav->Buttons()->Buttons(buttonIndex));
    }
    TPoint CentreOf(int buttonIndex)
    {
        const TRect r = ViewInfoOf(buttonIndex)->ButtonBounds;
        return ScreenOf(nav, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    void Press(int buttonIndex) { vcl::input::InjectMouse(WM_LBUTTONDOWN, CentreOf(buttonIndex), MK_LBUTTON); }
    void ReleaseAt(const TPoint& screen) { vcl::input::InjectMouse(WM_LBUTTONUP, screen, 0); }
    // Answers the next modal dialog with the key, and gives its message text.
    void AnswerNextDialog(Qt::Key key, const char* text, std::string& message)
    {
        QTimer::singleShot(20, &timers, [this, key, text, &message] {
            for (int i = 0; i < Screen->CustomFormCount(); ++i) {
                TCustomForm* f = Screen->CustomForms(i);
                if (!f->FormState.Contains(fsModal) || !Activate(f))
                    continue;
                for (int c = 0; c < f->ControlCount(); ++c)
                    if (f->Controls(c)->Caption().find('?') != std::string::npos)
                        message = f->Controls(c)->Caption();
                if (TWinControl* focused = FindControl(GetFocus()))
                    QTest::sendKeyEvent(QTest::Click, focused->Peer(), key, QString(text), Qt::NoModifier);
            }
        });
        QTimer::singleShot(3000, &timers, [] {
            if (TCustomForm* f = Screen->ActiveCustomForm())
                f->SetModalResult(mrAbort); // never hang
        });
    }

    TcxNavigator* nav = nullptr;
    FakeGrid* grid = nullptr;
    QObject timers;
};

// ---- buttons, pictures and layout ----

TEST_F(CxNavigatorTest, ButtonsStartWithTheirIndexesHintsAndDefaultVisibility)
{
    static const char* const hints[] = {"First record", "Prior page", "Prior record", "Next record",
                                        "Next page", "Last record", "Insert record", "Append record",
                                        "Delete record", "Edit record", "Post edit", "Cancel edit",
                                        "Refresh data", "Save Bookmark", "Goto Bookmark", "Filter data"};
    TcxNavigatorControlButtons* b = nav->Buttons();
    ASSERT_EQ(b->ButtonCount(), 16);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(b->Buttons(i)->ButtonIndex(), i);
        EXPECT_EQ(b->Buttons(i)->GetInternalHint(), hints[i]);
        EXPECT_EQ(b->Buttons(i)->Visible(), i != nbiAppend) << i;
        EXPECT_FALSE(b->Buttons(i)->IsVisibleStored());
    }
    EXPECT_TRUE(b->ConfirmDelete());
    EXPECT_EQ(b->Next(), b->Buttons(nbiNext));
    b->Next()->SetHint("Forward|Goes one record on");
    EXPECT_EQ(b->Next()->GetInternalHint(), "Forward|Goes one record on");
    EXPECT_EQ(nav->TabStop, false);
    EXPECT_EQ(nav->Height(), 25);
}

TEST_F(CxNavigatorTest, PictureStripHoldsTwentyTwoCellsWithOliveTransparent)
{
    TCustomImageList* images = NavigatorImages();
    EXPECT_EQ(images->Count(), 22);
    EXPECT_EQ(images->GetWidth(), 12);
    EXPECT_EQ(images->GetHeight(), 11);
    // Next: a triangle whose tip is at (7, 5); the corner of the cell is transparent.
    TBitmap out;
    out.SetPixelFormat(pf32bit);
    out.SetSize(12, 11);
    out.Canvas()->Brush()->SetColor(clWhite);
    out.Canvas()->FillRect({0, 0, 12, 11});
    images->Draw(out.Canvas(), 0, 0, nbiNext);
    EXPECT_EQ(out.Canvas()->GetPixel(7, 5), clBlack);
    EXPECT_EQ(out.Canvas()->GetPixel(3, 1), clBlack);
    EXPECT_EQ(out.Canvas()->GetPixel(0, 0), clWhite);
    EXPECT_EQ(out.Canvas()->GetPixel(8, 5), clWhite);
}

TEST_F(CxNavigatorTest, UserImagesApplyOnlyToButtonsWithAnImageIndex)
{
    TImageList own(nullptr);
    own.SetWidth(20);
    own.SetHeight(14);
    nav->Buttons()->SetImages(&own);
    TcxNavigatorButton* next = nav->Buttons()->Next();
    EXPECT_FALSE(next->IsUserImageListUsed());
    EXPECT_EQ(next->GetInternalImages(), NavigatorImages());
    EXPECT_EQ(next->GetInternalImageIndex(), nbiNext);
    next->SetImageIndex(4);
    EXPECT_TRUE(next->IsUserImageListUsed());
    EXPECT_EQ(next->GetInternalImages(), &own);
    EXPECT_EQ(next->GetInternalImageIndex(), 4);
    EXPECT_EQ(next->GetImageSize().cx, 20);
}

TEST_F(CxNavigatorTest, FreedUserImagesAreForgotten)
{
    auto* own = new TImageList(form);
    nav->Buttons()->SetImages(own);
    own->Free();
    EXPECT_EQ(nav->Buttons()->Images(), nullptr);
}

// Ultra-flat middle buttons have borders 1, 2, 1, 2: 12 + 1 + 1 + 1 = 15 pixels at least.
TEST_F(CxNavigatorTest, LayoutGivesEveryVisibleButtonTheSameShareAndShrinksToIt)
{
    ASSERT_TRUE(Activate(form));
    // 15 buttons of 15 make 225; 400 leaves 175, 11 whole pixels a button: 390 wide.
    EXPECT_EQ(nav->Width(), 390);
    TcxNavigatorViewInfo* vi = nav->ViewInfo();
    vi->Calculate();
    ASSERT_EQ(vi->Count(), 15);
    for (int k = 0; k < vi->Count(); ++k) {
        EXPECT_EQ(vi->ButtonViewInfos(k)->ButtonBounds, cxRectBounds(26 * k, 0, 26, 25)) << k;
    }
    // Narrower than the buttons' sum: the navigator grows to it.
    nav->SetWidth(100);
    EXPECT_EQ(nav->Width(), 225);
    int w = 0, h = 0;
    vi->CheckSize(w, h);
    EXPECT_EQ(w, 225);
    EXPECT_EQ(h, 5);
    // One more button visible: 16 share the width.
    nav->SetWidth(400);
    nav->Buttons()->Append()->SetVisible(true);
    // 16 buttons of 15 make 240 in the 390 pixels: 9 pixels more each.
    EXPECT_EQ(nav->Width(), 16 * 24);
}

TEST_F(CxNavigatorTest, ExplicitVisibilityOutlivesRelinkingAndRestoreButtonsResetsIt)
{
    ASSERT_TRUE(Activate(form));
    nav->Buttons()->Append()->SetVisible(true);
    EXPECT_TRUE(nav->Buttons()->Append()->IsVisibleStored());
    grid->unsupported = {nbiAppend, nbiFilter};
    nav->SetControl(grid);
    // Filter is not supported: hidden; Append was set by the user: kept.
    EXPECT_TRUE(nav->Buttons()->Append()->Visible());
    EXPECT_FALSE(nav->Buttons()->Filter()->Visible());
    nav->ViewInfo()->Calculate();
    EXPECT_EQ(nav->ViewInfo()->Count(), 15);
    nav->RestoreButtons();
    EXPECT_FALSE(nav->Buttons()->Append()->Visible());
    EXPECT_FALSE(nav->Buttons()->Append()->IsVisibleStored());
    // Assign copies the explicit flag with the value.
    TcxNavigatorButton copy(nav->Buttons(), nbiAppend, false);
    nav->Buttons()->Append()->SetVisible(true);
    copy.Assign(nav->Buttons()->Append());
    EXPECT_TRUE(copy.VisibleSetExplicitly());
}

// ---- mouse: clicks on release and the repeat ----

TEST_F(CxNavigatorTest, ButtonsClickOnReleaseInsideOnly)
{
    ASSERT_TRUE(Activate(form));
    nav->SetControl(grid);
    vcl::input::InjectMouse(WM_MOUSEMOVE, CentreOf(nbiInsert), 0);
    Press(nbiInsert);
    EXPECT_TRUE(grid->actions.empty());
    EXPECT_EQ(nav->ViewInfo()->GetButtonState(ViewInfoOf(nbiInsert)), cxbsPressed);
    ReleaseAt(CentreOf(nbiInsert));
    EXPECT_EQ(grid->actions, std::vector<int>{nbiInsert});
    // Released over another button: nothing.
    Press(nbiInsert);
    ReleaseAt(CentreOf(nbiEdit));
    EXPECT_EQ(grid->actions.size(), 1u);
    // A disabled button takes no press.
    grid->canInsert = false;
    nav->NavigatorButtonsStateChanged();
    Press(nbiInsert);
    EXPECT_FALSE(nav->ViewInfo()->ButtonPressTimer()->Enabled());
    ReleaseAt(CentreOf(nbiInsert));
    EXPECT_EQ(grid->actions.size(), 1u);
}

TEST_F(CxNavigatorTest, NextRepeatsEveryHundredMillisecondsAfterFourHundred)
{
    ASSERT_TRUE(Activate(form));
    nav->SetControl(grid);
    vcl::input::InjectMouse(WM_MOUSEMOVE, CentreOf(nbiNext), 0);
    Press(nbiNext);
    TcxTimer* timer = nav->ViewInfo()->ButtonPressTimer();
    EXPECT_TRUE(timer->Enabled());
    EXPECT_EQ(timer->Interval(), 400u);
    EXPECT_TRUE(grid->actions.empty());
    timer->TimeOut(); // 400 ms
    EXPECT_EQ(timer->Interval(), 100u);
    timer->TimeOut(); // 500 ms
    EXPECT_EQ(grid->actions, (std::vector<int>{nbiNext, nbiNext}));
    ReleaseAt(CentreOf(nbiNext));
    EXPECT_FALSE(timer->Enabled());
    EXPECT_EQ(grid->actions.size(), 3u); // and the release's own click

    // Insert held: the ticks click nothing, the release once.
    grid->actions.clear();
    vcl::input::InjectMouse(WM_MOUSEMOVE, CentreOf(nbiInsert), 0);
    Press(nbiInsert);
    timer->TimeOut();
    timer->TimeOut();
    EXPECT_TRUE(grid->actions.empty());
    ReleaseAt(CentreOf(nbiInsert));
    EXPECT_EQ(grid->actions, std::vector<int>{nbiInsert});
}

TEST_F(CxNavigatorTest, ATickAfterTheButtonWasReleasedEndsThePressWithoutAClick)
{
    ASSERT_TRUE(Activate(form));
    nav->SetControl(grid);
    vcl::input::InjectMouse(WM_MOUSEMOVE, CentreOf(nbiPrior), 0);
    Press(nbiPrior);
    Fixed().SetKeyDown(VK_LBUTTON, false); // the release went elsewhere
    nav->ViewInfo()->ButtonPressTimer()->TimeOut();
    EXPECT_FALSE(nav->ViewInfo()->ButtonPressTimer()->Enabled());
    EXPECT_EQ(nav->ViewInfo()->PressedButton(), nullptr);
    EXPECT_TRUE(grid->actions.empty());
}

// A raising click handler inside the tick used to leave the timer clicking behind the message.
TEST_F(CxNavigatorTest, ARaisingClickInTheRepeatStopsTheTimerAndReachesTheApplication)
{
    ASSERT_TRUE(Activate(form));
    nav->SetControl(grid);
    int raised = 0;
    nav->Buttons()->Next()->SetOnClick([](TObject*) { throw Exception("no next record"); });
    Application->OnException = [&](TObject*, Exception& e) {
        ++raised;
        EXPECT_EQ(e.Message, "no next record");
    };
    vcl::input::InjectMouse(WM_MOUSEMOVE, CentreOf(nbiNext), 0);
    Press(nbiNext);
    TcxTimer* timer = nav->ViewInfo()->ButtonPressTimer();
    // The tick as the timer window gets it.
    vcl::PostMessage(cxTimerWindow(), WM_TIMER, timer->EventID(), 0);
    vcl::DrainPostedMessages();
    EXPECT_EQ(raised, 1);
    EXPECT_FALSE(timer->Enabled());
    vcl::PostMessage(cxTimerWindow(), WM_TIMER, timer->EventID(), 0);
    vcl::DrainPostedMessages();
    EXPECT_EQ(raised, 1);
    nav->Buttons()->Next()->SetOnClick(TNotifyEvent());
    ReleaseAt(ScreenOf(nav, -5, -5));
}

// ---- hints ----

TEST_F(CxNavigatorTest, HintsShowAfterTheirPauseCutAtTheBar)
{
    ASSERT_TRUE(Activate(form));
    nav->ShowHint = true;
    nav->Buttons()->Next()->SetHint("Forward|Goes one record on");
    TcxNavigatorViewInfo* vi = nav->ViewInfo();
    Fixed().SetCursorPos(CentreOf(nbiNext));
    vcl::input::InjectMouse(WM_MOUSEMOVE, CentreOf(nbiNext), 0);
    EXPECT_TRUE(vi->HintTimer()->Enabled());
    EXPECT_EQ(vi->HintTimer()->Interval(), 500u);
    EXPECT_FALSE(vi->HintShowing());
    vi->HintTimer()->TimeOut();
    ASSERT_TRUE(vi->HintShowing());
    EXPECT_EQ(vi->ButtonHintWindow()->Caption(), "Forward");
    // Moving to another button while a hint shows: its default hint at once.
    Fixed().SetCursorPos(CentreOf(nbiPrior));
    vcl::input::InjectMouse(WM_MOUSEMOVE, CentreOf(nbiPrior), 0);
    ASSERT_TRUE(vi->HintShowing());
    EXPECT_EQ(vi->ButtonHintWindow()->Caption(), "Prior record");
    // A key reaching the navigator hides it.
    nav->Perform(WM_KEYDOWN, VK_SHIFT);
    EXPECT_FALSE(vi->HintShowing());
    // Without ShowHint nothing shows.
    nav->ShowHint = false;
    vi->HintActivate(true);
    EXPECT_FALSE(vi->HintShowing());
    // The application's own hint of the control is refused.
    EXPECT_EQ(nav->Perform(CM_HINTSHOW), 1);
}

// ---- the link to a navigable control ----

TEST_F(CxNavigatorTest, EnabledButtonsFollowTheControlsState)
{
    struct Row {
        const char* what;
        std::function<void(FakeGrid&)> set;
        std::string enabled; // one character per button index, '1' enabled
    };
    const Row rows[] = {
        {"middle record, browsing", [](FakeGrid&) {}, "1111111111001101"},
        {"first record", [](FakeGrid& g) { g.bof = true; }, "0001111111001101"},
        {"last record", [](FakeGrid& g) { g.eof = true; }, "1110001111001101"},
        {"editing", [](FakeGrid& g) { g.editing = true; }, "1111111110111101"},
        {"bookmark saved", [](FakeGrid& g) { g.bookmark = true; }, "1111111111001111"},
        {"nothing allowed", [](FakeGrid& g) { g.canAppend = g.canDelete = g.canEdit = g.canInsert = false; },
         "1111110000001101"},
        {"inactive", [](FakeGrid& g) { g.active = false; }, "0000000000000001"},
    };
    nav->SetControl(grid);
    for (const Row& row : rows) {
        grid->active = true, grid->bof = grid->eof = grid->editing = grid->bookmark = false;
        grid->canAppend = grid->canDelete = grid->canEdit = grid->canInsert = true;
        row.set(*grid);
        std::string got;
        for (int i = 0; i < 16; ++i)
            got += nav->Buttons()->Buttons(i)->GetInternalEnabled() ? '1' : '0';
        EXPECT_EQ(got, row.enabled) << row.what;
    }
    // A button's own Enabled and the navigator's count too; without a control nothing is enabled.
    nav->Buttons()->Refresh()->SetEnabled(false);
    EXPECT_FALSE(nav->Buttons()->Refresh()->GetInternalEnabled());
    nav->SetEnabled(false);
    EXPECT_FALSE(nav->Buttons()->Filter()->GetInternalEnabled());
    nav->SetEnabled(true);
    nav->SetControl(nullptr);
    for (int i = 0; i < 16; ++i)
        EXPECT_FALSE(nav->Buttons()->Buttons(i)->GetInternalEnabled()) << i;
}

TEST_F(CxNavigatorTest, LinkingSomethingThatIsNoNavigableControlChangesNothing)
{
    nav->SetControl(grid);
    auto* other = new TComponent(form);
    nav->SetControl(other);
    EXPECT_EQ(nav->Control(), grid);
    EXPECT_EQ(grid->notifier.Count(), 1);
    nav->SetControl(grid); // again: nothing
    EXPECT_EQ(grid->notifier.Count(), 1);
}

TEST_F(CxNavigatorTest, FreeingTheLinkedControlUnlinksAndDisablesEveryButton)
{
    nav->SetControl(grid);
    EXPECT_TRUE(nav->Buttons()->Next()->GetInternalEnabled());
    grid->Free();
    grid = nullptr;
    EXPECT_EQ(nav->Control(), nullptr);
    nav->ViewInfo()->Calculate();
    for (int k = 0; k < nav->ViewInfo()->Count(); ++k)
        EXPECT_FALSE(nav->ViewInfo()->ButtonViewInfos(k)->CachedEnabled);
    // And a navigator freed first leaves the control's notifier.
    grid = new FakeGrid(form);
    auto* second = new TcxNavigator(form);
    second->SetControl(grid);
    EXPECT_EQ(grid->notifier.Count(), 1);
    second->Free();
    EXPECT_EQ(grid->notifier.Count(), 0);
}

TEST_F(CxNavigatorTest, DeleteAsksFirstAndRefreshesTheButtonsEitherWay)
{
    ASSERT_TRUE(Activate(form));
    nav->SetControl(grid);
    nav->ViewInfo()->Calculate();
    // Cancel: no action, yet the buttons follow the control's new state.
    grid->bof = true;
    std::string message;
    AnswerNextDialog(Qt::Key_Escape, "\x1b", message);
    nav->ClickButton(nbiDelete);
    EXPECT_EQ(message, "Delete record?");
    EXPECT_TRUE(grid->actions.empty());
    EXPECT_FALSE(ViewInfoOf(nbiFirst)->CachedEnabled);
    // OK: the action runs.
    message.clear();
    AnswerNextDialog(Qt::Key_Return, "\r", message);
    nav->ClickButton(nbiDelete);
    EXPECT_EQ(message, "Delete record?");
    EXPECT_EQ(grid->actions, std::vector<int>{nbiDelete});
    // Without the question the action runs at once.
    nav->Buttons()->SetConfirmDelete(false);
    nav->ClickButton(nbiDelete);
    EXPECT_EQ(grid->actions, (std::vector<int>{nbiDelete, nbiDelete}));
}

TEST_F(CxNavigatorTest, ClickHandlersComeBeforeTheControlsAction)
{
    nav->SetControl(grid);
    std::vector<int> seen;
    nav->Buttons()->SetOnButtonClick([&](TObject*, int index, bool& done) {
        seen.push_back(index);
        done = index == nbiRefresh;
    });
    nav->ClickButton(nbiRefresh); // handled: the control is not asked
    nav->ClickButton(nbiPost);    // disabled (not editing): nothing at all
    nav->ClickButton(nbiFirst);
    EXPECT_EQ(seen, (std::vector<int>{nbiRefresh, nbiFirst}));
    EXPECT_EQ(grid->actions, std::vector<int>{nbiFirst});
    int own = 0;
    nav->Buttons()->First()->SetOnClick([&](TObject* sender) {
        ++own;
        EXPECT_EQ(sender, nav->Buttons()->First());
    });
    nav->ClickButton(nbiFirst); // the button's own handler alone
    EXPECT_EQ(own, 1);
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_EQ(grid->actions.size(), 1u);
    // The bookmark is released only when there is one.
    nav->Buttons()->ReleaseBookmark();
    grid->bookmark = true;
    nav->Buttons()->ReleaseBookmark();
    EXPECT_EQ(grid->clearedBookmarks, 1);
}

TEST_F(CxNavigatorTest, TwoNavigatorsOnOneControlBothFollowAMove)
{
    ASSERT_TRUE(Activate(form));
    auto* second = new TcxNavigator(form);
    second->SetParent(form);
    second->SetBounds(10, 50, 400, 25);
    nav->SetControl(grid);
    second->SetControl(grid);
    second->ViewInfo()->Calculate();
    nav->ViewInfo()->Calculate();
    EXPECT_TRUE(second->ViewInfo()->GetButtonViewInfoByButton(second->Buttons()->Last())->CachedEnabled);
    nav->ClickButton(nbiLast);
    EXPECT_FALSE(second->ViewInfo()->GetButtonViewInfoByButton(second->Buttons()->Last())->CachedEnabled);
    EXPECT_FALSE(ViewInfoOf(nbiNext)->CachedEnabled);
}

TEST_F(CxNavigatorTest, ArrowsMoveTheFocusedButtonAndSpaceClicksIt)
{
    ASSERT_TRUE(Activate(form));
    nav->TabStop = true;
    nav->SetControl(grid);
    nav->SetFocus();
    ASSERT_TRUE(nav->Focused());
    EXPECT_EQ(nav->Perform(WM_GETDLGCODE), DLGC_WANTARROWS);
    auto key = [](std::uint16_t vk) {
        vcl::input::InjectKey(vk, true, vk == VK_SPACE ? " " : "");
        vcl::input::InjectKey(vk, false);
    };
    TcxNavigatorViewInfo* vi = nav->ViewInfo();
    EXPECT_EQ(vi->GetFocusedButton()->NavButton, nav->Buttons()->First());
    key(VK_LEFT); // no wrap
    EXPECT_EQ(vi->GetFocusedButton()->NavButton, nav->Buttons()->First());
    key(VK_RIGHT);
    key(VK_RIGHT);
    key(VK_RIGHT);
    EXPECT_EQ(vi->GetFocusedButton()->NavButton, nav->Buttons()->Next());
    key(VK_SPACE);
    EXPECT_EQ(grid->actions, std::vector<int>{nbiNext});
    // A focused button that becomes invisible gives the focus back to the first one.
    nav->Buttons()->Next()->SetVisible(false);
    EXPECT_EQ(vi->GetFocusedButton()->NavButton, nav->Buttons()->First());
}

// ---- painting ----

TEST_F(CxNavigatorTest, PaintsEnabledGlyphsInBlackAndDisabledOnesGreyed)
{
    nav->LookAndFeel()->SetKind(lfStandard);
    ASSERT_TRUE(Activate(form));
    nav->SetControl(grid);
    grid->eof = true; // Next, Next page and Last disabled
    nav->NavigatorButtonsStateChanged();
    auto glyphTip = [&](int index) {
        TcxNavigatorButtonViewInfo* vi = ViewInfoOf(index);
        const TRect r = vi->ButtonBounds;
        // The picture is centred in the face; the Prior and Next tips are at (4, 5) and (7, 5).
        const TRect border = nav->LookAndFeel()->GetPainter()->ButtonGroupBorderSizes(nav->ViewInfo()->Count(), 2);
        const int left = r.Left + border.Left + (r.Width() - border.Left - border.Right - 12) / 2;
        const int top = r.Top + border.Top + (r.Height() - border.Top - border.Bottom - 11) / 2;
        return PixelOf(nav, left + (index == nbiPrior ? 4 : 7), top + 5);
    };
    EXPECT_EQ(glyphTip(nbiPrior), Sys(clBlack));
    EXPECT_NE(glyphTip(nbiNext), Sys(clBlack));
    // The face around the picture is the button face.
    EXPECT_EQ(PixelOf(nav, ViewInfoOf(nbiPrior)->ButtonBounds.Left + 3, 3), Sys(clBtnFace));
}

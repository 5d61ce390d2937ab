// The container: shared procedures (frame strips, shadow region, the queue, disabling windows),
// state and active style, border extent, colours and pixels, Color/Font synchronisation with the
// normal style, hot tracking, and the hosting of an inner control (focus, Tab, keys, clipping,
// scroll bars).
#include "tests/toolkit/controls/ControlsTestSupport.h"
#include "platform/vcl/EditBox.h"
#include "platform/vcl/StdCtrls.h"
#include "toolkit/controls/cxContainer.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

using namespace cx;

namespace {
class TestContainer : public TcxContainer {
public:
    using TcxContainer::TcxContainer;
    bool needBars = false;
    bool NeedsScrollBars() const override { return needBars; }
};

// An inner control that records its messages and reports native scroll bars on demand.
class InnerStub : public TCustomControl, public IcxContainerInnerControl, public IcxNativeScrollBars {
public:
    InnerStub(TComponent* owner, TcxContainer* container) : TCustomControl(owner), container_(container)
    {
        TabStop = true;
    }
    TWinControl* GetControl() override { return this; }
    TcxContainer* GetControlContainer() override { return container_; }
    bool GetScrollBarInfo(TScrollBarKind kind, TcxScrollBarInfo& info) override
    {
        if (!reportBars)
            return false;
        const TPoint o = ClientToScreen({0, 0});
        info.rcScrollBar = kind == sbVertical ? TRect{o.X + Width() - 16, o.Y, o.X + Width(), o.Y + Height() - 16}
                                              : TRect{o.X, o.Y + Height() - 16, o.X + Width() - 16, o.Y + Height()};
        info.rgstate = kind == sbVertical ? vState : hState;
        return true;
    }
    bool GetScrollInfo(TScrollBarKind kind, TcxScrollInfo& info) override
    {
        info = kind == sbVertical ? TcxScrollInfo{0, 99, 200, 30} : TcxScrollInfo{0, 49, 10, 5};
        return true;
    }
    void WndProc(TMessage& m) override
    {
        if (m.Msg == WM_KEYDOWN || m.Msg == WM_CHAR || m.Msg == CM_ENTER || m.Msg == CM_EXIT)
            log.push_back(m.Msg == WM_KEYDOWN ? "inner key " + std::to_string(m.WParam)
                          : m.Msg == WM_CHAR  ? "inner char " + std::to_string(m.WParam)
                          : m.Msg == CM_ENTER ? "inner enter"
                                              : "inner exit");
        TCustomControl::WndProc(m);
    }
    bool reportBars = false;
    unsigned vState = 0, hState = 0;
    std::vector<std::string> log;

private:
    TcxContainer* container_;
};
} // namespace

// ---- procedures ----

TEST(CxContainerProcedures, FrameStripsAndBorderWidths)
{
    const TRect o{0, 0, 100, 20}, i{2, 3, 97, 18};
    EXPECT_EQ(FrameStrips(o, i), (std::vector<TRect>{{0, 0, 2, 20}, {2, 0, 97, 3}, {97, 0, 100, 20}, {2, 18, 97, 20}}));
    EXPECT_EQ(FrameStrips(o, TRect{}), (std::vector<TRect>{o}));
    EXPECT_TRUE(FrameStrips(o, o).empty());
    EXPECT_TRUE(FrameStrips(TRect{}, i).empty());
    const int widths[] = {0, 1, 2, 2, 2, 1, 1};
    for (int s = cbsNone; s <= cbsOffice11; ++s)
        EXPECT_EQ(GetContainerBorderWidth(TcxContainerBorderStyle(s)), widths[s]);
    EXPECT_EQ(GetContainerBorderWidth(lfStandard), 2);
    EXPECT_EQ(GetContainerBorderWidth(lfOffice11), 1);
    TRect r{10, 10, 20, 20};
    ExtendRectByBorders(r, 2, cxBorder(bLeft) | cxBorder(bBottom));
    EXPECT_EQ(r, (TRect{8, 10, 20, 22}));
    InflateRectByBorders(r, 1, cxBorder(bLeft) | cxBorder(bBottom));
    EXPECT_EQ(r, (TRect{8, 11, 19, 22}));
}

class CxContainerProcTest : public ControlBaseTest {};

TEST_F(CxContainerProcTest, ShadowRegionAndItsRemoval)
{
    auto* c = new TCustomControl(form);
    c->SetBounds(0, 0, 100, 20);
    c->SetParent(form);
    ASSERT_TRUE(Activate(form));
    const HWND h = c->Handle();
    SetWindowShadowRegion(h, {0, 0, 97, 17}, {}, false, true, {});
    auto rgn = cxGetWindowRgn(h);
    ASSERT_TRUE(rgn.has_value());
    gdi::Region expected(TRect{0, 0, 97, 17});
    expected.Q() += QRect(3, 3, 97, 17);
    EXPECT_TRUE(rgn->Equals(expected));
    // The window's client rectangle already is the shadow bounds: no region.
    SetWindowShadowRegion(h, {0, 0, 100, 20}, {}, false, true, {});
    EXPECT_FALSE(cxGetWindowRgn(h).has_value());
    // An excluded rectangle is cut out.
    SetWindowShadowRegion(h, {0, 0, 90, 20}, {}, false, false, {0, 0, 10, 10});
    ASSERT_TRUE(cxGetWindowRgn(h).has_value());
    EXPECT_FALSE(cxGetWindowRgn(h)->Contains(5, 5));
    EXPECT_TRUE(cxGetWindowRgn(h)->Contains(5, 15));
}

TEST_F(CxContainerProcTest, QueueRoutinesAndWmQuit)
{
    auto* c = new TCustomControl(form);
    c->SetParent(form);
    const HWND h = c->Handle();
    vcl::PostMessage(h, WM_USER);
    vcl::PostMessage(h, WM_USER + 1);
    EXPECT_TRUE(IsMessageInQueue(h, WM_USER + 1));
    EXPECT_FALSE(IsMessageInQueue(h, WM_USER + 2));
    EXPECT_TRUE(KillMessages(h, WM_USER, WM_USER, false));
    EXPECT_FALSE(IsMessageInQueue(h, WM_USER));
    EXPECT_TRUE(IsMessageInQueue(h, WM_USER + 1));
    // A WM_QUIT met on the way goes back to the queue and stops the removal.
    vcl::PostMessage(nullptr, WM_QUIT, 7);
    vcl::PostMessage(h, WM_USER + 2);
    EXPECT_TRUE(KillMessages(h, 0, 0));
    EXPECT_FALSE(IsMessageInQueue(h, WM_USER + 1));
    EXPECT_TRUE(IsMessageInQueue(h, WM_USER + 2));
    MSG m;
    bool quitFound = false;
    while (vcl::PeekMessage(m, nullptr, 0, 0, PM_REMOVE))
        quitFound = quitFound || (m.message == WM_QUIT && m.wParam == 7);
    EXPECT_TRUE(quitFound);
}

TEST_F(CxContainerProcTest, DisablingTheApplicationsWindowsNests)
{
    ASSERT_TRUE(Activate(form));
    DisableAppWindows(false);
    EXPECT_TRUE(IsInternalWindowsDisabled());
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
    EnableAppWindows();
    EXPECT_FALSE(IsInternalWindowsDisabled());
    DisableAppWindows(true);
    DisableAppWindows(true);
    EXPECT_FALSE(IsWindowEnabled(form->Handle()));
    EnableAppWindows();
    EXPECT_FALSE(IsWindowEnabled(form->Handle()));
    EnableAppWindows();
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
    EnableAppWindows(); // unmatched: nothing
    EXPECT_FALSE(IsInternalWindowsDisabled());
}

// ---- the container ----

class CxContainerTest : public ControlBaseTest {
protected:
    void SetUp() override
    {
        ControlBaseTest::SetUp();
        before = new TCustomControl(form);
        before->SetBounds(10, 100, 30, 20);
        before->TabStop = true;
        before->SetParent(form);
        c = new TestContainer(form);
        c->SetBounds(10, 10, 100, 20);
        c->SetParent(form);
        after = new TCustomControl(form);
        after->SetBounds(60, 100, 30, 20);
        after->TabStop = true;
        after->SetParent(form);
    }
    TcxContainerStyle* Active() { return c->GetActiveStyle(); }
    InnerStub* AddInner()
    {
        auto* inner = new InnerStub(form, c);
        inner->SetParent(c);
        c->SetInnerControl(inner);
        c->ShortRefreshContainer(false);
        return inner;
    }
    TCustomControl* before = nullptr;
    TestContainer* c = nullptr;
    TCustomControl* after = nullptr;
};

TEST_F(CxContainerTest, StateGivesActiveStyleExtentAndBorderColour)
{
    ASSERT_TRUE(Activate(form));
    c->Style()->GetLookAndFeel()->SetKind(lfUltraFlat);
    // Ultra-flat paints as a single border: button shadow until focused or hot, then highlight.
    EXPECT_EQ(c->ViewInfo()->BorderStyle, cbsSingle);
    EXPECT_EQ(c->ViewInfo()->BorderColor, clBtnShadow);
    EXPECT_EQ(Active(), c->Style());
    // The transparent border keeps 2 pixels on every side whatever the border style.
    EXPECT_EQ(c->GetBorderExtent(), (TRect{2, 2, 2, 2}));
    EXPECT_EQ(c->GetClientBounds(), (TRect{2, 2, 98, 18}));
    c->SetFocus();
    EXPECT_EQ(Active(), c->StyleFocused());
    EXPECT_EQ(c->ViewInfo()->BorderColor, clHighlight);
    EXPECT_EQ(c->ViewInfo()->HotState, chsSelected);
    c->SetEnabled(false);
    EXPECT_EQ(Active(), c->StyleDisabled());
    EXPECT_EQ(c->ViewInfo()->BackgroundColor, clBtnFace);
    c->SetEnabled(true);

    // Without the transparent border the extent follows the edges and the border width.
    c->Style()->SetTransparentBorder(false);
    c->Style()->SetBorderStyle(cbsThick);
    c->Style()->SetEdges(cxBorder(bLeft) | cxBorder(bRight));
    before->SetFocus();
    EXPECT_EQ(c->GetBorderExtent(), (TRect{2, 0, 2, 0}));
    // A shadow adds 3 at the right and bottom.
    c->Style()->SetShadow(true);
    EXPECT_EQ(c->GetBorderExtent(), (TRect{2, 0, 5, 3}));
    c->Style()->SetBorderStyle(cbsNone);
    EXPECT_EQ(c->GetBorderExtent(), (TRect{0, 0, 3, 3}));
}

TEST_F(CxContainerTest, BorderPixelsForEachBorderStyle)
{
    c->Style()->GetLookAndFeel()->SetKind(lfStandard);
    c->Style()->SetTransparentBorder(false);
    c->Style()->SetBorderColor(clRed);
    ASSERT_TRUE(Activate(form));
    struct Case {
        TcxContainerBorderStyle style;
        TColor outer, second, bottomRight;
    };
    const Case cases[] = {
        {cbsNone, clWindow, clWindow, clWindow},
        {cbsSingle, clRed, clWindow, clRed},
        {cbsThick, clRed, clRed, clRed},
        {cbsFlat, clBtnShadow, clBtnFace, clBtnHighlight},
        {cbs3D, clBtnShadow, cl3DDkShadow, clBtnHighlight},
    };
    for (const Case& k : cases) {
        c->Style()->SetBorderStyle(k.style);
        c->Invalidate();
        EXPECT_EQ(PixelOf(c, 0, 0), Sys(k.outer)) << k.style;
        EXPECT_EQ(PixelOf(c, 1, 1), Sys(k.second)) << k.style;
        EXPECT_EQ(PixelOf(c, 99, 19), Sys(k.bottomRight)) << k.style;
        EXPECT_EQ(PixelOf(c, 50, 10), Sys(clWindow)) << k.style;
    }
}

TEST_F(CxContainerTest, ShadowGetsAWindowRegion)
{
    c->Style()->GetLookAndFeel()->SetKind(lfUltraFlat);
    ASSERT_TRUE(Activate(form));
    c->Style()->SetShadow(true);
    // Extent (2, 2, 5, 5), single border: shadow bounds (1, 1, 96, 16) and the shadow below right.
    auto rgn = cxGetWindowRgn(c->Handle());
    ASSERT_TRUE(rgn.has_value());
    gdi::Region expected(TRect{1, 1, 96, 16});
    expected.Q() += QRect(4, 4, 95, 15);
    EXPECT_TRUE(rgn->Equals(expected));
    EXPECT_EQ(PixelOf(c, 97, 18), Sys(clBtnShadow));
    c->Style()->SetShadow(false);
    rgn = cxGetWindowRgn(c->Handle());
    ASSERT_TRUE(rgn.has_value());
    EXPECT_TRUE(rgn->Equals(gdi::Region(TRect{1, 1, 99, 19})));
}

TEST_F(CxContainerTest, ColorAndFontGoBothWaysWithoutLoops)
{
    EXPECT_TRUE(c->ParentFont());
    ASSERT_TRUE(Activate(form));
    EXPECT_EQ(c->Color(), clWindow);
    EXPECT_EQ(c->Style()->GetAssignedValues(), 0u);
    c->SetColor(clRed);
    EXPECT_EQ(c->Style()->GetColor(), clRed);
    EXPECT_TRUE(c->Style()->GetAssignedValues() & cxStyleValue(csvColor));
    c->Style()->SetColor(clBlue);
    EXPECT_EQ(c->Color(), clBlue);
    EXPECT_EQ(c->ViewInfo()->BackgroundColor, clBlue);

    // Parent colour: follows the form's colour and leaves the style's Color unassigned.
    c->SetParentColor(true);
    EXPECT_EQ(c->Color(), form->Color());
    EXPECT_EQ(c->Style()->GetAssignedValues() & cxStyleValue(csvColor), 0u);
    form->SetColor(clYellow);
    EXPECT_EQ(c->Color(), clYellow);
    EXPECT_EQ(c->Style()->GetColor(), clYellow);
    EXPECT_EQ(c->Style()->GetAssignedValues() & cxStyleValue(csvColor), 0u);
    EXPECT_TRUE(c->ParentColor());

    // Fonts: the parent's font while ParentFont; a style font wins and ends ParentFont.
    form->Font()->SetSize(13);
    EXPECT_EQ(c->Font()->GetSize(), 13);
    EXPECT_EQ(c->Style()->GetFont()->GetSize(), 13);
    EXPECT_TRUE(c->ParentFont());
    c->Style()->GetFont()->SetSize(9);
    EXPECT_EQ(c->Font()->GetSize(), 9);
    EXPECT_FALSE(c->ParentFont());
    form->Font()->SetSize(15);
    EXPECT_EQ(c->Font()->GetSize(), 9);
    // A font set on the control shows in the style.
    c->Font()->SetStyle(FontStyle(fsBold));
    EXPECT_EQ(c->Style()->GetFont()->GetStyle(), FontStyle(fsBold));
    EXPECT_EQ(c->GetVisibleFont()->GetStyle(), FontStyle(fsBold));
}

TEST_F(CxContainerTest, HotTrackingFollowsThePointerWithoutButtons)
{
    c->Style()->GetLookAndFeel()->SetKind(lfUltraFlat);
    ASSERT_TRUE(Activate(form));
    const TPoint inside = ScreenOf(c, 50, 10), outside = ScreenOf(form, 250, 200);
    Fixed().SetCursorPos(inside);
    vcl::input::InjectMouse(WM_MOUSEMOVE, inside);
    EXPECT_TRUE(c->ViewInfo()->ContainerState.Contains(csHotTrack));
    EXPECT_EQ(Active(), c->StyleHot());
    EXPECT_EQ(c->ViewInfo()->BorderColor, clHighlight);
    Fixed().SetCursorPos(outside);
    vcl::input::InjectMouse(WM_MOUSEMOVE, outside);
    EXPECT_TRUE(SpinUntil([&] { return !c->ViewInfo()->ContainerState.Contains(csHotTrack); }));
    EXPECT_EQ(Active(), c->Style());

    // With a button held the hot state is not entered.
    Fixed().SetKeyDown(VK_LBUTTON, true);
    Fixed().SetCursorPos(inside);
    c->ShortRefreshContainer(true);
    EXPECT_FALSE(c->ViewInfo()->ContainerState.Contains(csHotTrack));
    Fixed().SetKeyDown(VK_LBUTTON, false);

    // Focused wins over hot; without HotTrack there is no hot state at all.
    c->SetFocus();
    c->ShortRefreshContainer(true);
    EXPECT_EQ(Active(), c->StyleFocused());
    before->SetFocus();
    c->Style()->SetHotTrack(false);
    c->ShortRefreshContainer(true);
    EXPECT_EQ(Active(), c->Style());
    EXPECT_EQ(c->ViewInfo()->HotState, chsNoHotTrack);
}

// ---- the inner control ----

TEST_F(CxContainerTest, FocusMovesInAndOutWithEnterAndExit)
{
    InnerStub* inner = AddInner();
    c->OnEnter = [&](TObject*) { inner->log.push_back("container enter"); };
    c->OnExit = [&](TObject*) { inner->log.push_back("container exit"); };
    ASSERT_TRUE(Activate(form));
    EXPECT_EQ(inner->BoundsRect(), c->GetClientBounds());
    before->SetFocus();
    vcl::input::InjectKey(VK_TAB, true);
    vcl::input::InjectKey(VK_TAB, false);
    EXPECT_TRUE(inner->Focused());
    EXPECT_TRUE(c->IsFocused());
    EXPECT_EQ(Active(), c->StyleFocused());
    EXPECT_EQ(inner->log, (std::vector<std::string>{"container enter", "inner enter"}));
    EXPECT_EQ(form->ActiveControl(), inner);

    // Tab leaves for the next control, Shift+Tab comes back to the inner control.
    inner->log.clear();
    vcl::input::InjectKey(VK_TAB, true);
    vcl::input::InjectKey(VK_TAB, false);
    EXPECT_TRUE(after->Focused());
    EXPECT_EQ(inner->log, (std::vector<std::string>{"inner exit", "container exit"}));
    EXPECT_FALSE(c->IsFocused());
    EXPECT_EQ(Active(), c->Style());
    Fixed().SetKeyDown(VK_SHIFT, true);
    vcl::input::InjectKey(VK_TAB, true);
    vcl::input::InjectKey(VK_TAB, false);
    EXPECT_TRUE(inner->Focused());
    // Shift+Tab from the inner control goes to the control before the container.
    vcl::input::InjectKey(VK_TAB, true);
    vcl::input::InjectKey(VK_TAB, false);
    Fixed().SetKeyDown(VK_SHIFT, false);
    EXPECT_TRUE(before->Focused());

    // Ctrl+Tab is left to the inner control.
    c->SetFocus();
    EXPECT_TRUE(inner->Focused());
    inner->log.clear();
    Fixed().SetKeyDown(VK_CONTROL, true);
    vcl::input::InjectKey(VK_TAB, true);
    vcl::input::InjectKey(VK_TAB, false);
    Fixed().SetKeyDown(VK_CONTROL, false);
    EXPECT_TRUE(inner->Focused());
    EXPECT_EQ(inner->log, (std::vector<std::string>{"inner key 9"}));
}

TEST_F(CxContainerTest, KeysReachTheContainerFirst)
{
    InnerStub* inner = AddInner();
    ASSERT_TRUE(Activate(form));
    c->SetFocus();
    ASSERT_TRUE(inner->Focused());
    std::vector<std::string> seen;
    c->OnKeyDown = [&](TObject*, std::uint16_t& key, TShiftState) {
        seen.push_back("container key " + std::to_string(key));
        if (key == 'B')
            key = 0;
    };
    vcl::input::InjectKey('A', true, "a");
    vcl::input::InjectKey('A', false);
    vcl::input::InjectKey('B', true);
    vcl::input::InjectKey('B', false);
    SpinUntil([] { return vcl::PendingMessageCount() == 0; }, 200);
    EXPECT_EQ(seen, (std::vector<std::string>{"container key 65", "container key 66"}));
    EXPECT_EQ(inner->log, (std::vector<std::string>{"inner enter", "inner key 65", "inner char 97"}));
    // Key messages sent to the container itself go on to the inner control.
    inner->log.clear();
    c->Perform(WM_CHAR, 'x');
    EXPECT_EQ(inner->log, (std::vector<std::string>{"inner char 120"}));
}

TEST_F(CxContainerTest, ClickingTheBorderLeavesTheFocusInTheInnerControl)
{
    InnerStub* inner = AddInner();
    ASSERT_TRUE(Activate(form));
    c->SetFocus();
    ASSERT_TRUE(inner->Focused());
    vcl::input::InjectMouse(WM_LBUTTONDOWN, ScreenOf(c, 1, 1), MK_LBUTTON);
    vcl::input::InjectMouse(WM_LBUTTONUP, ScreenOf(c, 1, 1), 0);
    EXPECT_TRUE(inner->Focused());
    vcl::input::InjectMouse(WM_LBUTTONDOWN, ScreenOf(inner, 5, 5), MK_LBUTTON);
    vcl::input::InjectMouse(WM_LBUTTONUP, ScreenOf(inner, 5, 5), 0);
    EXPECT_TRUE(inner->Focused());
    // The border shows the arrow.
    EXPECT_EQ(c->GetCursor(0, 0), crArrow);
}

TEST_F(CxContainerTest, AProtrudingInnerControlIsClippedByARegion)
{
    InnerStub* inner = AddInner();
    ASSERT_TRUE(Activate(form));
    EXPECT_FALSE(cxGetWindowRgn(inner->Handle()).has_value());
    inner->SetBounds(-5, 2, 200, 10);
    auto rgn = cxGetWindowRgn(inner->Handle());
    ASSERT_TRUE(rgn.has_value());
    EXPECT_TRUE(rgn->Equals(gdi::Region(TRect{7, 0, 103, 10})));
    EXPECT_FALSE(c->SavedInnerControlBounds().IsEmpty);
    inner->SetBounds(3, 3, 50, 10);
    EXPECT_FALSE(cxGetWindowRgn(inner->Handle()).has_value());
    EXPECT_TRUE(c->SavedInnerControlBounds().IsEmpty);
    // Freeing the inner control clears the link.
    inner->Free();
    EXPECT_EQ(c->InnerControl(), nullptr);
    c->Perform(WM_CHAR, 'x');
}

TEST_F(CxContainerTest, PaintedScrollBarsMirrorTheInnerControls)
{
    c->needBars = true;
    c->SetBounds(10, 10, 200, 120);
    InnerStub* inner = AddInner();
    ASSERT_TRUE(Activate(form));
    inner->reportBars = true;
    c->SetScrollBarsParameters(false);
    TcxControlScrollBar* v = c->VScrollBar();
    TcxControlScrollBar* h = c->HScrollBar();
    ASSERT_TRUE(v && h);
    EXPECT_TRUE(v->Visible());
    EXPECT_EQ(v->BoundsRect(), (TRect{198 - 16, 2, 198, 118 - 16}));
    EXPECT_EQ(v->Max(), 99);
    EXPECT_EQ(v->Position(), 30);
    EXPECT_EQ(v->PageSize(), 99); // the page is limited to the maximum
    EXPECT_EQ(h->PageSize(), 10);
    EXPECT_TRUE(c->SizeGripData().Visible);
    EXPECT_EQ(c->SizeGripData().Bounds, (TRect{180, 100, 196, 116}));
    // A native bar reported invisible or off-screen hides the painted one.
    inner->vState = STATE_SYSTEM_INVISIBLE;
    inner->hState = STATE_SYSTEM_OFFSCREEN;
    c->SetScrollBarsParameters(false);
    EXPECT_FALSE(v->Visible());
    EXPECT_FALSE(h->Visible());
    EXPECT_FALSE(c->SizeGripData().Visible);
    // Without the native information nothing is shown.
    inner->vState = inner->hState = 0;
    inner->reportBars = false;
    c->SetScrollBarsParameters(false);
    EXPECT_FALSE(v->Visible());
}

// ---- a real edit control inside ----

namespace {
class InnerEdit : public TEdit, public IcxContainerInnerControl {
public:
    InnerEdit(TComponent* owner, TcxContainer* container) : TEdit(owner), container_(container) {}
    TWinControl* GetControl() override { return this; }
    TcxContainer* GetControlContainer() override { return container_; }

private:
    TcxContainer* container_;
};

void SendKey(QWidget* w, Qt::Key key, const QString& text = {}, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QCoreApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QCoreApplication::sendEvent(w, &release);
    vcl::DrainPostedMessages();
}
} // namespace

TEST_F(CxContainerTest, AnEditControlInsideTypesChineseAndTabsOut)
{
    auto* edit = new InnerEdit(form, c);
    edit->SetParent(c);
    c->SetInnerControl(edit);
    c->Style()->SetColor(clYellow);
    c->Style()->SetTextColor(clRed);
    ASSERT_TRUE(Activate(form));
    EXPECT_EQ(edit->BoundsRect(), c->GetClientBounds());
    EXPECT_EQ(edit->Color(), clYellow);
    EXPECT_EQ(edit->Font()->GetColor(), clRed);
    before->SetFocus();
    SendKey(before->Peer(), Qt::Key_Tab);
    ASSERT_TRUE(edit->Focused());
    EXPECT_TRUE(c->IsFocused());

    std::u16string seen;
    c->OnKeyPress = [&](TObject*, char16_t& ch) {
        seen += ch;
        if (ch == u'x')
            ch = 0;
    };
    QWidget* w = edit->Box()->Widget();
    SendKey(w, Qt::Key_A, "a");
    SendKey(w, Qt::Key_X, "x");
    SendKey(w, Qt::Key_B, "b");
    QInputMethodEvent ime;
    ime.setCommitString(QString::fromUtf8("电表"));
    QCoreApplication::sendEvent(w, &ime);
    vcl::DrainPostedMessages();
    EXPECT_EQ(edit->Text(), "ab电表");
    EXPECT_EQ(seen.substr(0, 3), u"axb");

    SendKey(w, Qt::Key_Tab);
    EXPECT_TRUE(after->Focused());
    EXPECT_FALSE(c->IsFocused());
    SendKey(after->Peer(), Qt::Key_Backtab, {}, Qt::ShiftModifier);
    EXPECT_TRUE(edit->Focused());
}

TEST_F(CxContainerTest, TheInnerControlOutlivesItsContainer)
{
    auto* edit = new InnerEdit(form, c);
    edit->SetParent(c);
    c->SetInnerControl(edit);
    ASSERT_TRUE(Activate(form));
    c->SetFocus();
    ASSERT_TRUE(edit->Focused());
    // A key handler of the container that frees it: the edit control's window goes with its
    // parent's (so the key types nothing), and nothing touches the freed container.
    c->OnKeyPress = [&](TObject*, char16_t&) {
        c->Free();
        c = nullptr;
    };
    SendKey(edit->Box()->Widget(), Qt::Key_A, "a");
    EXPECT_EQ(c, nullptr);
    EXPECT_EQ(edit->Parent(), nullptr);
    edit->SetParent(form);
    edit->SetFocus();
    SendKey(edit->Box()->Widget(), Qt::Key_B, "b");
    EXPECT_EQ(edit->Text(), "b");
}

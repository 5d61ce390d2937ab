// The base control: dialog codes, client bounds, border painting, focus on click, the context
// menu, capture objects, keys during a toolkit drag and handlers that free the control.
#include "tests/toolkit/controls/ControlsTestSupport.h"

using namespace cx;

namespace {
class TestControl : public TcxControl {
public:
    using TcxControl::TcxControl;
    int parentBackgroundChanges = 0;
    int cancelModes = 0;
    bool startDrag = false;
    int shownAtX = -100, shownAtY = -100;
    bool NeedsScrollBars() const override { return needBars; }
    bool needBars = true;
    bool StartDragAndDrop(const TPoint&) override { return startDrag; }
    void ParentBackgroundChanged() override { ++parentBackgroundChanges; }
    void DoCancelMode() override { ++cancelModes; }
    bool DoShowPopupMenu(TComponent* menu, int x, int y) override
    {
        shownAtX = x, shownAtY = y;
        return TcxControl::DoShowPopupMenu(menu, x, y);
    }
};

class CaptureObject : public TObject, public IcxMouseCaptureObject {
public:
    int cancels = 0;
    void CancelMouseCapture() override { ++cancels; }
};

class MenuComponent : public TComponent, public IcxPopupMenu {
public:
    using TComponent::TComponent;
    TPoint at{-1, -1};
    bool IsShortCutKey(TMessage&) override { return false; }
    void PopupAt(int x, int y) override { at = {x, y}; }
};
} // namespace

class CxControlTest : public ControlBaseTest {
protected:
    void SetUp() override
    {
        ControlBaseTest::SetUp();
        c = new TestControl(form);
        c->SetBounds(10, 10, 120, 100);
        c->SetParent(form);
    }
    TestControl* c = nullptr;
};

TEST_F(CxControlTest, DialogCodeFollowsKeysAndCtrl)
{
    c->SetKeys(TcxKeys{kTab, kArrows});
    EXPECT_EQ(c->Perform(WM_GETDLGCODE), 3);
    Fixed().SetKeyDown(VK_CONTROL, true);
    EXPECT_EQ(c->Perform(WM_GETDLGCODE), 1);
    Fixed().SetKeyDown(VK_CONTROL, false);
    c->SetKeys(TcxKeys{kAll, kChars});
    EXPECT_EQ(c->Perform(WM_GETDLGCODE), DLGC_WANTALLKEYS + DLGC_WANTCHARS);
}

TEST_F(CxControlTest, ClientBoundsLessBorderAndVisibleBars)
{
    c->OnPaint = [&](TObject*) { c->Canvas()->FillRect(c->GetClientBounds(), clWindow); };
    ASSERT_TRUE(Activate(form));
    EXPECT_EQ(c->GetBorderSize(), 0);
    EXPECT_EQ(c->GetClientBounds(), (TRect{0, 0, 120, 100}));
    c->LookAndFeel()->SetKind(lfStandard);
    c->SetBorderStyle(cxcbsDefault);
    EXPECT_EQ(c->GetClientBounds(), (TRect{2, 2, 118, 98}));
    // The standard border: the outer edge's top-left is the shadow colour.
    EXPECT_EQ(PixelOf(c, 0, 0), Sys(clBtnShadow));
    c->SetBorderStyle(cxcbsNone);
    c->Invalidate();
    EXPECT_NE(PixelOf(c, 0, 0), Sys(clBtnShadow));
}

TEST_F(CxControlTest, ClickFocusesButDoubleClickDoesNot)
{
    auto* other = new TCustomControl(form);
    other->SetBounds(200, 10, 50, 50);
    other->TabStop = true;
    other->SetParent(form);
    ASSERT_TRUE(Activate(form));
    other->SetFocus();
    c->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MakeLParam(5, 5));
    EXPECT_FALSE(c->Focused());
    c->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(5, 5));
    EXPECT_TRUE(c->Focused());
    EXPECT_EQ(c->MouseDownPos(), (TPoint{5, 5}));
    c->Perform(WM_LBUTTONUP, 0, MakeLParam(5, 5));
    c->FocusOnClick = false;
    other->SetFocus();
    c->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(5, 5));
    EXPECT_FALSE(c->Focused());
    c->Perform(WM_LBUTTONUP, 0, MakeLParam(5, 5));
}

TEST_F(CxControlTest, AHandlerThatFreesTheControlEndsTheMouseDown)
{
    ASSERT_TRUE(Activate(form));
    c->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
        c->Free();
        c = nullptr;
    };
    vcl::input::InjectMouse(WM_LBUTTONDOWN, ScreenOf(form, 20, 20), MK_LBUTTON);
    EXPECT_EQ(c, nullptr);
    vcl::input::InjectMouse(WM_LBUTTONUP, ScreenOf(form, 20, 20), 0);
    c = new TestControl(form);
    c->SetBounds(10, 10, 120, 100);
    c->SetParent(form);
    c->OnFocusChanged = [&](TObject*) {
        c->Free();
        c = nullptr;
    };
    vcl::input::InjectMouse(WM_LBUTTONDOWN, ScreenOf(form, 20, 20), MK_LBUTTON);
    EXPECT_EQ(c, nullptr);
    vcl::input::InjectMouse(WM_LBUTTONUP, ScreenOf(form, 20, 20), 0);
}

TEST_F(CxControlTest, ContextMenu)
{
    ASSERT_TRUE(Activate(form));
    // A plain component is not taken as a popup menu.
    auto* plain = new TComponent(form);
    c->SetPopupMenu(plain);
    EXPECT_EQ(c->PopupMenu(), nullptr);
    auto* menu = new MenuComponent(form);
    c->SetPopupMenu(menu);
    EXPECT_EQ(c->PopupMenu(), menu);
    // The keyboard's context key shows the menu at the client origin.
    EXPECT_EQ(c->Perform(WM_CONTEXTMENU, 0, MakeLParam(-1, -1)), 1);
    EXPECT_EQ(menu->at, c->ClientToScreen({0, 0}));
    // A point outside the client rectangle is left to the platform.
    menu->at = {-1, -1};
    const TPoint outside = c->ClientToScreen({130, 5});
    c->Perform(WM_CONTEXTMENU, 0, MakeLParam(outside.X, outside.Y));
    EXPECT_EQ(menu->at, (TPoint{-1, -1}));
    // Freeing the menu clears the property.
    menu->Free();
    EXPECT_EQ(c->PopupMenu(), nullptr);
}

TEST_F(CxControlTest, SpellCheckerIsAskedOnlyWhileSet)
{
    struct Checker : IdxSpellChecker {
        int queries = 0;
        void CheckFinish() override {}
        void CheckStart(TWinControl*) override {}
        void DrawMisspellings(TWinControl*) override {}
        bool IsSpellCheckerDialogControl(HWND) override { return false; }
        void KeyPress(char16_t&) override {}
        void LayoutChanged(TWinControl*) override {}
        bool QueryPopup(TComponent*, const TPoint&) override { return ++queries, true; }
        void SelectionChanged(TWinControl*) override {}
        void TextChanged(TWinControl*) override {}
        void Undo() override {}
    } checker;
    auto* menu = new MenuComponent(form);
    c->SetPopupMenu(menu);
    c->Perform(WM_CONTEXTMENU, 0, MakeLParam(-1, -1));
    EXPECT_EQ(menu->at, c->ClientToScreen({0, 0}));
    dxISpellChecker = &checker;
    menu->at = {-1, -1};
    c->Perform(WM_CONTEXTMENU, 0, MakeLParam(-1, -1));
    dxISpellChecker = nullptr;
    EXPECT_EQ(checker.queries, 1);
    EXPECT_EQ(menu->at, (TPoint{-1, -1}));
}

TEST_F(CxControlTest, MouseCaptureObjectIsToldWhenReplaced)
{
    ASSERT_TRUE(Activate(form));
    CaptureObject a, b;
    c->SetMouseCaptureObject(&a);
    EXPECT_EQ(GetCapture(), c->Handle());
    c->SetMouseCaptureObject(&b);
    EXPECT_EQ(a.cancels, 1);
    c->SetMouseCaptureObject(nullptr);
    EXPECT_EQ(b.cancels, 1);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(CxControlTest, AnyKeyDuringAToolkitDragCancelsItAndIsNotProcessed)
{
    ASSERT_TRUE(Activate(form));
    c->startDrag = true;
    int keyDowns = 0;
    c->OnKeyDown = [&](TObject*, std::uint16_t&, TShiftState) { ++keyDowns; };
    c->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(5, 5));
    EXPECT_EQ(c->DragAndDropState(), ddsStarting);
    c->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(30, 5));
    EXPECT_EQ(c->DragAndDropState(), ddsInProcess);
    vcl::input::InjectKey('A', true, "a");
    EXPECT_EQ(c->DragAndDropState(), ddsNone);
    EXPECT_EQ(keyDowns, 0);
    c->Perform(WM_LBUTTONUP, 0, MakeLParam(30, 5));
}

TEST_F(CxControlTest, ParentBackgroundChangeIsSeenAtTheNextPaint)
{
    ASSERT_TRUE(Activate(form));
    c->Update();
    c->SetParentBackground(false);
    EXPECT_EQ(c->parentBackgroundChanges, 0);
    c->Repaint();
    EXPECT_EQ(c->parentBackgroundChanges, 1);
    c->Repaint();
    EXPECT_EQ(c->parentBackgroundChanges, 1);
}

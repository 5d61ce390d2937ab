// The editor popup window: when the hooks close it (outside press, press on the owner, owner
// hidden or moved, the program deactivated, the window closed), nested popups, system keys, the
// modal loop with real keys and presses, and that a window without CaptureFocus never activates.
#include "tests/toolkit/controls/ControlsTestSupport.h"
#include "toolkit/controls/cxContainerPopup.h"

#include <QTimer>
#include <QtTest/QTest>

using namespace cx;

namespace {
// A drop-down that records its events and closes on Escape as an editor's list does.
class TestPopup : public TcxCustomPopupWindow {
public:
    TestPopup(TWinControl* owner, std::vector<std::string>* log, std::string name)
        : TcxCustomPopupWindow(owner), log_(log), name_(std::move(name))
    {
        SetBounds(0, 0, 80, 60);
        OwnerParent = owner;
        OwnerBounds = {0, 0, owner->Width(), owner->Height()};
        OnClosed = [this](TObject*) { log_->push_back(name_ + " closed"); };
    }
    bool ignoreOwnerClick = false;
    bool NeedIgnoreMouseMessageAfterCloseUp(HWND, UINT, TShiftState, const TPoint&) override { return ignoreOwnerClick; }

protected:
    void KeyDown(std::uint16_t& key, TShiftState shift) override
    {
        TcxCustomPopupWindow::KeyDown(key, shift);
        if (key == VK_ESCAPE)
            SetModalResult(mrCancel);
    }

private:
    std::vector<std::string>* log_;
    std::string name_;
};

class PopupTest : public ControlBaseTest {
protected:
    void SetUp() override
    {
        ControlBaseTest::SetUp();
        owner = new TCustomControl(form);
        owner->SetParent(form);
        owner->SetBounds(10, 10, 100, 20);
        owner->TabStop = true;
        other = new TCustomControl(form);
        other->SetParent(form);
        other->SetBounds(10, 150, 100, 40);
        other->TabStop = true;
        ASSERT_TRUE(Activate(form));
        owner->SetFocus();
    }
    void TearDown() override
    {
        timers.reset();
        ControlBaseTest::TearDown();
        EXPECT_EQ(cxPopupWindowCount(), 0);
    }
    TestPopup* NewPopup(TWinControl* ownerControl, const std::string& name, bool captureFocus)
    {
        auto* p = new TestPopup(ownerControl, &log, name);
        p->SetCaptureFocus(captureFocus);
        return p;
    }
    void At(int ms, std::function<void()> f) { QTimer::singleShot(ms, timers.get(), std::move(f)); }
    static void Press(TWinControl* c, QPoint p = {5, 5})
    {
        QTest::mouseClick(c->Peer(), Qt::LeftButton, {}, p);
        vcl::DrainPostedMessages();
    }

public: // the case tables reach the fixture through a reference
    using ControlBaseTest::form;
    TCustomControl* owner = nullptr;
    TCustomControl* other = nullptr;
    std::vector<std::string> log;
    // Every timer dies with the test.
    std::unique_ptr<QObject> timers = std::make_unique<QObject>();
};
} // namespace

TEST_F(PopupTest, WhatClosesADropDownThatLeavesTheFocusInTheEditor)
{
    struct Case {
        const char* what;
        std::function<void(PopupTest&, TestPopup*)> act;
        bool closes;
    };
    const Case cases[] = {
        {"press elsewhere in the owner's form", [](PopupTest& t, TestPopup*) { Press(t.other); }, true},
        {"press on the form itself", [](PopupTest& t, TestPopup*) { Press(t.form, {200, 100}); }, true},
        {"press inside the popup", [](PopupTest&, TestPopup* p) { Press(p); }, false},
        {"press on the owner", [](PopupTest& t, TestPopup*) { Press(t.owner); }, true},
        {"owner hidden", [](PopupTest& t, TestPopup*) { t.owner->Hide(); }, true},
        {"owner moved, still shown", [](PopupTest& t, TestPopup*) { t.owner->SetLeft(30); }, false},
        {"program deactivated",
         [](PopupTest&, TestPopup*) {
             ApplicationStateFromWindowSystem(false);
             SpinUntil([] { return cxPopupWindowCount() == 0; }, 500);
             ApplicationStateFromWindowSystem(true);
         },
         true},
        {"popup's own window closed", [](PopupTest&, TestPopup* p) { vcl::SendMessage(p->Handle(), WM_CLOSE); }, true},
        {"popup destroyed", [](PopupTest&, TestPopup* p) { p->Free(); }, true},
    };
    for (const Case& c : cases) {
        owner->Show();
        auto* p = NewPopup(owner, "p", false);
        p->Popup(owner);
        ASSERT_TRUE(p->IsVisible()) << c.what;
        EXPECT_TRUE(form->Active()) << c.what;
        EXPECT_EQ(GetFocus(), owner->Handle()) << c.what;
        const auto alive = p->AliveToken();
        c.act(*this, p);
        EXPECT_EQ(cxPopupWindowCount(), c.closes ? 0 : 1) << c.what;
        if (!alive.expired()) {
            EXPECT_EQ(p->Visible(), !c.closes) << c.what;
            p->CloseUp();
            p->Free();
        }
        EXPECT_EQ(GetFocus(), owner->Showing() ? owner->Handle() : GetFocus()) << c.what;
    }
}

TEST_F(PopupTest, APressOnTheOwnerSetsJustClosedOnceWhenTheWindowAsksForIt)
{
    auto* p = NewPopup(owner, "p", false);
    p->ignoreOwnerClick = true;
    int ownerPresses = 0;
    owner->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++ownerPresses; };
    p->Popup(owner);
    p->Popup(owner); // a second Popup on an open window does nothing
    EXPECT_EQ(cxPopupWindowCount(), 1);
    Press(owner);
    EXPECT_FALSE(p->IsVisible());
    EXPECT_EQ(ownerPresses, 1); // the press still reaches the editor, which asks GetJustClosed
    EXPECT_TRUE(p->GetJustClosed());
    EXPECT_FALSE(p->GetJustClosed());
    // Elsewhere the press that closed it is swallowed when the window asks for it.
    int otherPresses = 0;
    other->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++otherPresses; };
    p->Popup(owner);
    Press(other);
    EXPECT_FALSE(p->IsVisible());
    EXPECT_EQ(otherPresses, 0);
    EXPECT_FALSE(p->GetJustClosed());
    p->ignoreOwnerClick = false;
    p->Popup(owner);
    Press(other);
    EXPECT_EQ(otherPresses, 1);
}

TEST_F(PopupTest, NestedPopupsCloseTogether)
{
    auto* first = NewPopup(owner, "first", false);
    auto* inner = new TCustomControl(first);
    inner->SetParent(first);
    inner->SetBounds(5, 5, 50, 20);
    auto* second = NewPopup(inner, "second", false);
    // A press in the owner's form closes the first; the second's form is then a closed popup.
    first->Popup(owner);
    second->Popup(inner);
    ASSERT_EQ(cxPopupWindowCount(), 2);
    Press(second); // inside the top one: nothing closes
    EXPECT_EQ(cxPopupWindowCount(), 2);
    Press(other);
    EXPECT_EQ(log, (std::vector<std::string>{"first closed", "second closed"}));
    // Hiding the editor closes its drop-down and every one opened after it, from the top down.
    log.clear();
    first->Popup(owner);
    second->Popup(inner);
    owner->Hide();
    EXPECT_EQ(log, (std::vector<std::string>{"second closed", "first closed"}));
}

TEST_F(PopupTest, SystemKeysAreFilteredUnlessTheTopWindowRunsModally)
{
    std::vector<WPARAM> reached;
    owner->WindowProc = [&, proc = owner->WindowProc](TMessage& m) {
        if (m.Msg == WM_SYSKEYDOWN)
            reached.push_back(m.WParam);
        proc(m);
    };
    auto* p = NewPopup(owner, "p", false);
    p->Popup(owner);
    for (WPARAM key : {WPARAM(VK_PRIOR), WPARAM('A'), WPARAM(VK_F4), WPARAM(VK_HOME), WPARAM(VK_TAB)})
        vcl::PostMessage(owner->Handle(), WM_SYSKEYDOWN, key, 0);
    vcl::DrainPostedMessages();
    EXPECT_EQ(reached, (std::vector<WPARAM>{VK_PRIOR, VK_F4, VK_HOME}));
    p->CloseUp();
    reached.clear();
    vcl::PostMessage(owner->Handle(), WM_SYSKEYDOWN, 'A', 0);
    vcl::DrainPostedMessages();
    EXPECT_EQ(reached, std::vector<WPARAM>{'A'});
}

TEST_F(PopupTest, TheModalLoopEndsInEveryCase)
{
    struct Case {
        const char* what;
        std::function<void(PopupTest&, TestPopup*)> act;
    };
    const Case cases[] = {
        {"Escape", [](PopupTest&, TestPopup* p) {
             QTest::sendKeyEvent(QTest::Click, FindControl(GetFocus())->Peer(), Qt::Key_Escape, "\x1b", Qt::NoModifier);
             (void)p;
         }},
        {"press in the owner's form", [](PopupTest& t, TestPopup*) { Press(t.other); }},
        {"owner hidden", [](PopupTest& t, TestPopup*) { t.owner->Hide(); }},
        {"CM_CLOSEPOPUPWINDOW", [](PopupTest&, TestPopup* p) { p->ClosePopup(); }},
        {"window freed", [](PopupTest&, TestPopup* p) { p->Free(); }},
    };
    const int forms = Screen->CustomFormCount();
    for (const Case& c : cases) {
        owner->Show();
        auto* p = NewPopup(owner, "p", true);
        auto* field = new TCustomControl(p);
        field->SetParent(p);
        field->SetBounds(0, 0, 60, 30);
        field->TabStop = true;
        const auto alive = p->AliveToken();
        bool wasActive = false, fieldFocused = false, hadCapture = false, stillOpenAfterCaptureEscape = false;
        At(30, [&] {
            wasActive = p->Active();
            fieldFocused = GetFocus() == field->Handle();
            // Escape while the window holds the mouse capture only releases the capture.
            SetCapture(p->Handle());
            hadCapture = p->HasCapture();
            QTest::sendKeyEvent(QTest::Click, field->Peer(), Qt::Key_Escape, "\x1b", Qt::NoModifier);
            vcl::DrainPostedMessages();
            stillOpenAfterCaptureEscape = p->IsVisible() && !p->HasCapture();
            c.act(*this, p);
        });
        At(3000, [&] {
            if (!alive.expired())
                p->CloseUp(); // never hang
        });
        p->Popup(field); // returns when the loop ends
        EXPECT_TRUE(wasActive) << c.what;
        EXPECT_TRUE(fieldFocused) << c.what;
        EXPECT_TRUE(hadCapture) << c.what;
        EXPECT_TRUE(stillOpenAfterCaptureEscape) << c.what;
        EXPECT_EQ(cxPopupWindowCount(), 0) << c.what;
        if (!alive.expired()) {
            EXPECT_FALSE(p->Visible()) << c.what;
            p->Free();
        }
        EXPECT_EQ(Screen->CustomFormCount(), forms) << c.what; // no window left behind
        timers = std::make_unique<QObject>();
    }
}

TEST_F(PopupTest, ChangingCaptureFocusWhileOpenReopensTheWindow)
{
    auto* p = NewPopup(owner, "p", false);
    p->ModalMode = false;
    p->Popup(owner);
    EXPECT_TRUE(p->WindowExStyle() & WS_EX_NOACTIVATE);
    p->SetCaptureFocus(true);
    EXPECT_TRUE(p->IsVisible());
    EXPECT_FALSE(p->WindowExStyle() & WS_EX_NOACTIVATE);
    EXPECT_EQ(log, std::vector<std::string>{"p closed"});
    EXPECT_TRUE(SpinUntil([&] { return p->Active(); }));
    p->CloseUp();
}

TEST_F(PopupTest, ActivatingAnotherFormClosesAFocusTakingPopup)
{
    auto* p = NewPopup(owner, "p", true);
    p->ModalMode = false;
    p->Popup(owner);
    ASSERT_TRUE(SpinUntil([&] { return p->Active(); }));
    auto* another = new TForm(nullptr);
    another->SetBounds(500, 100, 100, 100);
    ASSERT_TRUE(Activate(another));
    EXPECT_FALSE(p->IsVisible());
    // Deactivation while locked keeps it open.
    p->Popup(owner);
    ASSERT_TRUE(SpinUntil([&] { return p->Active(); }));
    p->LockDeactivate(true);
    ASSERT_TRUE(Activate(another));
    EXPECT_TRUE(p->IsVisible());
    p->LockDeactivate(false);
    p->CloseUp();
    another->Free();
}

TEST_F(PopupTest, AcceptsAnySizeShrinksIntoTheWorkArea)
{
    struct AnySize : TestPopup {
        using TestPopup::TestPopup;
        bool AcceptsAnySize() const override { return true; }
    };
    auto* p = new AnySize(owner, &log, "p");
    p->SetBounds(0, 0, 300, 200);
    struct Case {
        TPoint in;
        TPoint out;
        int width, height;
    };
    // The fixed work area is (0, 0, 1024, 738).
    for (const Case& c : {Case{{-50, 100}, {0, 100}, 250, 200}, Case{{900, 600}, {900, 600}, 124, 138},
                          Case{{10, -30}, {10, 30}, 300, 170}}) {
        p->SetBounds(0, 0, 300, 200);
        TPoint pos = c.in;
        p->CorrectBoundsWithDesktopWorkArea(pos);
        EXPECT_EQ(pos, c.out);
        EXPECT_EQ(p->Width(), c.width);
        EXPECT_EQ(p->Height(), c.height);
    }
    p->Free();
}

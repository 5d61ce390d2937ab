// The drop-down editors on real windows and real keys: opening and closing the combo box's list
// by key, mouse and focus, where the popup opens (two screens), how big it is and how sizing
// snaps, the popup editor's borrowed control, and the list's hand-over of the chosen item.
#include "tests/platform/vcl/VclTestSupport.h"
#include "tests/common/TestPictures.h"

#include "platform/gdi/SysParams.h"
#include "platform/rtl/Unicode.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/EditBox.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/SystemFacade.h"
#include "toolkit/core/cxLookAndFeelPainters.h"
#include "toolkit/core/cxLookAndFeels.h"
#include "toolkit/editors/cxDropDownEdit.h"
#include "toolkit/editors/cxEditConsts.h"
#include "toolkit/editors/cxEditUtils.h"

#include <QPainter>
#include <QWheelEvent>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace cx;

namespace {

class DropDownTest : public ::testing::Test, public VclFixture {
protected:
    void SetUp() override
    {
        // A second screen right of the first one.
        Fixed().monitors.push_back({{1024, 0, 2048, 768}, {1024, 0, 2048, 738}, false});
        cxLookAndFeelPaintersUnit::Initialize();
        cxLookAndFeelsUnit::Initialize();
        cxEditConstsUnit::Initialize();
        cxEditUnit::Initialize();
        cxEditPaintUtilsUnit::Initialize();
        cxTextEditUnit::Initialize();
        cxDropDownEditUnit::Initialize();
        form = new TForm(nullptr);
        form->SetBounds(100, 100, 320, 240);
        combo = new TcxComboBox(form);
        combo->SetParent(form);
        combo->SetBounds(10, 10, 150, 24);
        combo->Properties()->SetItems({"apple", "banana", "cherry", "date"});
        other = new TcxTextEdit(form);
        other->SetParent(form);
        other->SetBounds(10, 200, 150, 24);
        combo->OnClosePopup = [this](TcxControl*, TcxEditCloseUpReason r) { reasons.push_back(r); };
        ASSERT_TRUE(Activate(form));
        Focus(combo);
    }
    void TearDown() override
    {
        form->Free();
        EXPECT_EQ(cxPopupWindowCount(), 0);
        cxDropDownEditUnit::Finalize();
        cxTextEditUnit::Finalize();
        cxEditPaintUtilsUnit::Finalize();
        cxEditUnit::Finalize();
        cxEditConstsUnit::Finalize();
        cxClearResourceStrings();
        cxLookAndFeelsUnit::Finalize();
        cxLookAndFeelPaintersUnit::Finalize();
    }
    void Focus(TcxCustomTextEdit* e)
    {
        e->InnerTextEditControl()->SetFocus();
        SpinUntil([&] { return e->InnerTextEditControl()->Focused(); }, 500);
    }
    QWidget* Field(TcxCustomTextEdit* e) { return e->InnerTextEditControl()->Box()->Widget(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {})
    {
        QTest::sendKeyEvent(QTest::Click, Field(combo), key, text, mods);
        SpinUntil([] { return false; }, 20);
    }
    void Type(const QString& s)
    {
        for (QChar c : s)
            QTest::sendKeyEvent(QTest::Click, Field(combo), Qt::Key(c.toUpper().unicode()), QString(c),
                                Qt::NoModifier);
        SpinUntil([] { return false; }, 20);
    }
    bool Open() { return SpinUntil([&] { return combo->DroppedDown(); }, 500); }
    void Settle() { SpinUntil([] { return false; }, 30); }
    static void Click(TWinControl* c, QPoint p = {5, 5})
    {
        QTest::mouseClick(c->Peer(), Qt::LeftButton, {}, p);
        SpinUntil([] { return false; }, 20);
    }

    TForm* form = nullptr;
    TcxComboBox* combo = nullptr;
    TcxTextEdit* other = nullptr;
    std::vector<TcxEditCloseUpReason> reasons;
};

// ---- open and close ------------------------------------------------------------------------------

TEST_F(DropDownTest, OpenAndCloseByKeyMouseAndFocus)
{
    struct Row {
        const char* name;
        std::function<void()> act;   // runs on an open list whose highlight is on "banana"
        TcxEditCloseUpReason reason;
        std::string text;   // the text afterwards (it was "apple")
    };
    std::vector<Row> rows = {
        {"F4", [&] { Key(Qt::Key_F4); }, crClose, "banana"},
        {"Alt+Up", [&] { Key(Qt::Key_Up, Qt::AltModifier); }, crClose, "banana"},
        {"Esc", [&] { Key(Qt::Key_Escape); }, crCancel, "apple"},
        {"Enter", [&] { Key(Qt::Key_Return); }, crEnter, "banana"},
        {"Tab", [&] { Key(Qt::Key_Tab); }, crTab, "banana"},
        {"outside click", [&] { Click(other); }, crUnknown, "apple"},
        {"owner form moved", [&] { form->SetBounds(130, 120, 320, 240); Settle(); }, crUnknown, "apple"},
        {"button press", [&] { Click(combo, {140, 12}); }, crUnknown, "apple"},
    };
    combo->Properties()->SetPostPopupValueOnTab(true);
    for (const Row& row : rows) {
        form->SetBounds(100, 100, 320, 240);
        Focus(combo);
        combo->SetText("apple");
        combo->LookupData()->TextChanged();
        reasons.clear();
        // Alt+Down opens; the list follows the text, Down moves only the highlight.
        Key(Qt::Key_Down, Qt::AltModifier);
        ASSERT_TRUE(Open()) << row.name;
        EXPECT_EQ(combo->LookupData()->ListItemIndex(), 0) << row.name;
        Key(Qt::Key_Down);
        EXPECT_EQ(combo->LookupData()->ListItemIndex(), 1) << row.name;
        EXPECT_EQ(combo->Text(), "apple") << row.name;
        row.act();
        Settle();
        EXPECT_FALSE(combo->DroppedDown()) << row.name;
        EXPECT_EQ(cxPopupWindowCount(), 0) << row.name;
        ASSERT_EQ(reasons.size(), 1u) << row.name;
        EXPECT_EQ(reasons[0], row.reason) << row.name;
        EXPECT_EQ(combo->Text(), row.text) << row.name;
    }
}

TEST_F(DropDownTest, F4OpensAndAQueuedShowBlocksASecondRequest)
{
    int popups = 0;
    combo->Properties()->OnPopup = [&](TObject*) { ++popups; };
    Key(Qt::Key_F4);
    ASSERT_TRUE(Open());
    EXPECT_EQ(popups, 1);
    Key(Qt::Key_F4);
    EXPECT_FALSE(combo->DroppedDown());
    ASSERT_EQ(reasons, std::vector<TcxEditCloseUpReason>{crClose});

    combo->SetDroppedDown(true);
    combo->SetDroppedDown(true);   // the show message is still queued
    ASSERT_TRUE(Open());
    Settle();
    EXPECT_EQ(popups, 2);
    combo->SetDroppedDown(false);
}

TEST_F(DropDownTest, TypingGoesOnInTheEditorWhileTheListFollows)
{
    Type("b");
    ASSERT_TRUE(Open());   // ImmediateDropDown
    EXPECT_TRUE(combo->InnerTextEditControl()->Focused());
    EXPECT_EQ(combo->Text(), "banana");
    EXPECT_EQ(combo->LookupData()->List()->ItemIndex(), 1);
    Key(Qt::Key_Backspace);
    Type("c");
    EXPECT_TRUE(combo->DroppedDown());
    EXPECT_EQ(combo->Text(), "cherry");
    EXPECT_EQ(combo->LookupData()->List()->ItemIndex(), 2);
    Key(Qt::Key_Return);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->Text(), "cherry");
}

TEST_F(DropDownTest, AnEmptyListNeverOpensAndFocusLossCloses)
{
    combo->Properties()->SetItems({});
    Key(Qt::Key_F4);
    Settle();
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(cxPopupWindowCount(), 0);

    combo->Properties()->SetItems({"x", "y"});
    Key(Qt::Key_F4);
    ASSERT_TRUE(Open());
    Focus(other);
    Settle();
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(reasons, std::vector<TcxEditCloseUpReason>{crUnknown});
}

TEST_F(DropDownTest, AnExceptionFromOnInitPopupLeavesThePopupClosedAndUninitialized)
{
    bool raise = true;
    combo->Properties()->OnInitPopup = [&](TObject*) {
        if (raise)
            throw EcxEditError("refused");
    };
    Application->OnException = [&](TObject*, const Exception& e) { shown.push_back(e.Message); };
    Key(Qt::Key_F4);
    Settle();
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_FALSE(combo->PopupInitialized());
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back(), "refused");
    raise = false;
    Key(Qt::Key_F4);
    EXPECT_TRUE(Open());
    Key(Qt::Key_Escape);
}

// ---- the list ----------------------------------------------------------------------------------------

TEST_F(DropDownTest, AReleaseOnAnItemChoosesItAndAButtonPressDraggedIntoTheListSelects)
{
    Key(Qt::Key_F4);
    ASSERT_TRUE(Open());
    TcxCustomEditListBox* list = combo->LookupData()->List();
    const TRect third = list->ItemRect(2);
    QTest::mouseClick(list->Peer(), Qt::LeftButton, {}, QPoint(third.Left + 5, third.Top + 2));
    Settle();
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->Text(), "cherry");
    EXPECT_EQ(reasons.back(), crEnter);

    // Press the button, move into the list with the button held, release on "date".
    QTest::mousePress(combo->Peer(), Qt::LeftButton, {}, QPoint(140, 12));
    ASSERT_TRUE(Open());
    const TRect fourth = list->ItemRect(3);
    const TPoint screen = list->ClientToScreen({fourth.Left + 5, fourth.Top + 2});
    const TPoint inCombo = combo->ScreenToClient(screen);
    vcl::SendMessage(combo->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(inCombo.X, inCombo.Y));
    Settle();
    EXPECT_EQ(list->ItemIndex(), 3);
    vcl::SendMessage(list->Handle(), WM_LBUTTONUP, 0, MakeLParam(fourth.Left + 5, fourth.Top + 2));
    Settle();
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->Text(), "date");
}

TEST_F(DropDownTest, RevertableDoubleClickStepsAndWrapsAndDropDownRowsIgnoresZero)
{
    combo->Properties()->SetRevertable(true);
    combo->SetText("date");
    combo->LookupData()->TextChanged();
    for (int i = 0; i < 2; ++i) {
        vcl::input::InjectMouse(WM_LBUTTONDOWN, ScreenOf(combo->InnerTextEditControl(), 3, 3), MK_LBUTTON);
        vcl::input::InjectMouse(WM_LBUTTONUP, ScreenOf(combo->InnerTextEditControl(), 3, 3), 0);
    }
    Settle();
    EXPECT_EQ(combo->Text(), "apple");

    combo->Properties()->SetDropDownRows(3);
    combo->Properties()->SetDropDownRows(0);
    combo->Properties()->SetDropDownRows(-2);
    EXPECT_EQ(combo->Properties()->DropDownRows(), 3);
}

TEST_F(DropDownTest, FixedListOpensOnAClickInTheTextArea)
{
    combo->Properties()->SetDropDownListStyle(lsFixedList);
    EXPECT_EQ(combo->ActiveProperties()->GetEditingStyle(), esFixedList);
    QTest::mouseClick(Field(combo), Qt::LeftButton, {}, QPoint(10, 5));
    EXPECT_TRUE(Open());
    Key(Qt::Key_Escape);
    combo->Properties()->SetDropDownListStyle(lsEditList);
    QTest::mouseClick(Field(combo), Qt::LeftButton, {}, QPoint(10, 5));
    Settle();
    EXPECT_FALSE(combo->DroppedDown());
}

// ---- placement and size ------------------------------------------------------------------------------

TEST_F(DropDownTest, PlacementBelowAboveClampedFlippedAndOnTheSecondScreen)
{
    struct Row {
        const char* name;
        TRect formBounds;
        TcxPopupDirection direction;
        TcxPopupAlignHorz horz;
        std::function<bool(const TRect& popup, const TRect& owner)> where;
        TcxEditCorner corner;
    };
    std::vector<Row> rows = {
        {"below", {100, 100, 420, 340}, pdVertical, pahLeft,
         [](const TRect& p, const TRect& o) { return p.Top == o.Bottom && p.Left == o.Left; }, ecoBottomRight},
        {"above", {100, 700, 420, 738}, pdVertical, pahLeft,
         [](const TRect& p, const TRect& o) { return p.Bottom == o.Top; }, ecoTopRight},
        {"clamped right", {900, 100, 1020, 340}, pdVertical, pahLeft,
         [](const TRect& p, const TRect&) { return p.Right == 1024; }, ecoBottomLeft},
        {"horizontal flips left", {860, 100, 1020, 340}, pdHorizontal, pahRight,
         [](const TRect& p, const TRect& o) { return p.Right == o.Left; }, ecoTopLeft},
        {"second screen", {1500, 100, 1820, 340}, pdVertical, pahLeft,
         [](const TRect& p, const TRect& o) { return p.Top == o.Bottom && p.Left == o.Left && p.Left >= 1024; },
         ecoBottomRight},
    };
    for (const Row& row : rows) {
        form->SetBounds(row.formBounds.Left, row.formBounds.Top, row.formBounds.Width(), row.formBounds.Height());
        combo->Properties()->SetPopupDirection(row.direction);
        combo->Properties()->SetPopupHorzAlignment(row.horz);
        Settle();
        Focus(combo);
        combo->SetDroppedDown(true);
        ASSERT_TRUE(Open()) << row.name;
        TcxCustomEditPopupWindow* w = combo->PopupWindow();
        const TPoint tl = combo->ClientToScreen({0, 0});
        const TRect owner{tl.X, tl.Y, tl.X + combo->Width(), tl.Y + combo->Height()};
        EXPECT_TRUE(row.where(w->BoundsRect(), owner)) << row.name;
        EXPECT_EQ(w->EditViewInfo()->SizeGripCorner, row.corner) << row.name;
        combo->SetDroppedDown(false);
        Settle();
    }
}

TEST_F(DropDownTest, AShadowedPopupAboveTheEditorSitsThreePixelsLower)
{
    form->SetBounds(100, 700, 320, 38);
    combo->EditStyle()->SetShadow(true);
    Settle();
    Focus(combo);
    combo->SetDroppedDown(true);
    ASSERT_TRUE(Open());
    TcxCustomEditPopupWindow* w = combo->PopupWindow();
    ASSERT_TRUE(w->Shadow());
    const int ownerTop = combo->ClientToScreen({0, 0}).Y;
    EXPECT_EQ(w->BoundsRect().Bottom, ownerTop + 3);
    EXPECT_TRUE(w->EditViewInfo()->SizeGripCorner == ecoTopLeft || w->EditViewInfo()->SizeGripCorner == ecoTopRight);
    combo->SetDroppedDown(false);
}

TEST_F(DropDownTest, SizeFromItemsOwnerWidthAndMinimum)
{
    const int vbar = gdi::GetSystemMetrics(SM_CXVSCROLL);
    std::vector<std::string> many;
    for (int i = 0; i < 12; ++i)
        many.push_back("item number " + std::to_string(i) + " with a rather long text to be wide");
    struct Row {
        const char* name;
        std::vector<std::string> items;
        bool autoSize;
        int popupWidth;
        std::function<void(TcxCustomEditPopupWindow*, TcxCustomEditListBox*)> check;
    };
    std::vector<Row> rows = {
        {"few short items: the editor's width", {"a", "b"}, true, 0,
         [&](TcxCustomEditPopupWindow* w, TcxCustomEditListBox*) { EXPECT_EQ(w->Width(), combo->Width()); }},
        {"many wide items: widest + 4 + bar", many, true, 0,
         [&](TcxCustomEditPopupWindow* w, TcxCustomEditListBox* list) {
             int widest = 0;
             for (int i = 0; i < 12; ++i)
                 widest = std::max(widest, list->GetItemWidth(i));
             const TRect e = w->EditViewInfo()->GetClientExtent();
             EXPECT_EQ(w->Width(), widest + 4 + vbar + e.Left + e.Right);
             EXPECT_EQ(w->Height(), 8 * list->GetItemHeight() + e.Top + e.Bottom);
         }},
        {"fixed width 0 takes the editor's width", many, false, 0,
         [&](TcxCustomEditPopupWindow* w, TcxCustomEditListBox*) { EXPECT_EQ(w->Width(), combo->Width()); }},
        {"fixed width", many, false, 90,
         [&](TcxCustomEditPopupWindow* w, TcxCustomEditListBox*) { EXPECT_EQ(w->Width(), 90); }},
    };
    for (const Row& row : rows) {
        combo->Properties()->SetItems(row.items);
        combo->Properties()->SetPopupAutoSize(row.autoSize);
        combo->Properties()->SetPopupWidth(row.popupWidth);
        combo->SetDroppedDown(true);
        ASSERT_TRUE(Open()) << row.name;
        row.check(combo->PopupWindow(), combo->LookupData()->List());
        combo->SetDroppedDown(false);
        Settle();
    }
    // With the system panel the minimum leaves room for the grip, the close button and 10 pixels.
    combo->Properties()->SetDropDownSizeable(true);
    combo->EditStyle()->SetPopupCloseButton(true);
    combo->SetDroppedDown(true);
    ASSERT_TRUE(Open());
    TcxCustomEditPopupWindow* w = combo->PopupWindow();
    const int h0 = std::max(gdi::GetSystemMetrics(SM_CYHSCROLL), gdi::GetSystemMetrics(SM_CYSIZE));
    const TRect e = w->EditViewInfo()->GetClientExtent();
    EXPECT_EQ(w->GetMinSize().cx, e.Left + e.Right + (h0 - 4) + (h0 - 2) + 10);
    EXPECT_TRUE(w->SysPanelStyle());
    int tinyW = 1, tinyH = 1;
    ASSERT_TRUE(w->CanResizeTo(tinyW, tinyH));
    EXPECT_GE(tinyW, w->GetMinSize().cx);
    EXPECT_GE(tinyH, w->GetMinSize().cy);
    combo->SetDroppedDown(false);
}

TEST_F(DropDownTest, SizingSnapsToWholeRows)
{
    std::vector<std::string> items;
    for (int i = 0; i < 20; ++i)
        items.push_back("row " + std::to_string(i));
    combo->Properties()->SetItems(items);
    combo->Properties()->SetDropDownSizeable(true);
    combo->SetDroppedDown(true);
    ASSERT_TRUE(Open());
    TcxCustomEditListBox* list = combo->LookupData()->List();
    const int row = list->GetItemHeight();
    const int w = list->Width(), h = list->Height();
    ASSERT_EQ(h, 8 * row);
    struct Case {
        int askedHeight;
        int height;
    };
    // Growing by less than a row keeps the height; a whole row more shows one more; shrinking keeps
    // a partly visible row until all of it is gone.
    for (const Case& c : {Case{h + row / 2, h}, Case{h + row, h + row}, Case{h + row + 1, h + row},
                          Case{h - row / 2, h}, Case{h - row, h - row}, Case{h + 3 * row - 1, h + 2 * row}}) {
        TSize size{w, c.askedHeight};
        EXPECT_TRUE(combo->LookupData()->CanResizeVisualArea(size, 0, 0));
        EXPECT_EQ(size.cy, c.height) << c.askedHeight;
        EXPECT_EQ(size.cy % row, 0);
    }
    combo->SetDroppedDown(false);
}

TEST_F(DropDownTest, SizeTheUserGaveIsKeptInThePropertiesOrInTheEditData)
{
    combo->Properties()->SetDropDownSizeable(true);
    combo->SetDroppedDown(true);
    ASSERT_TRUE(Open());
    TcxCustomEditPopupWindow* w = combo->PopupWindow();
    const TRect r = w->BoundsRect();
    w->ResizePopupWindow({r.Left, r.Top, r.Right + 40, r.Bottom + 30});
    combo->SetDroppedDown(false);
    Settle();
    EXPECT_EQ(combo->Properties()->PopupWidth(), r.Width() + 40);
    EXPECT_EQ(combo->Properties()->PopupHeight(), r.Height() + 30);

    // In place: the edit data keeps it, the properties do not change.
    auto* inplace = new TcxComboBox(form, true);
    inplace->SetParent(form);
    inplace->SetBounds(10, 60, 150, 24);
    inplace->Properties()->SetItems({"one", "two", "three"});
    inplace->Properties()->SetDropDownSizeable(true);
    TcxCustomEditData* data = nullptr;
    inplace->Activate(data);
    inplace->SetDroppedDown(true);
    ASSERT_TRUE(SpinUntil([&] { return inplace->DroppedDown(); }, 500));
    TcxCustomEditPopupWindow* iw = inplace->PopupWindow();
    const TRect ir = iw->BoundsRect();
    iw->ResizePopupWindow({ir.Left, ir.Top, ir.Right + 25, ir.Bottom + 15});
    inplace->SetDroppedDown(false);
    Settle();
    auto* dd = dynamic_cast<TcxCustomDropDownEditData*>(data);
    ASSERT_NE(dd, nullptr);
    EXPECT_TRUE(dd->PopupSizeStored);
    EXPECT_EQ(dd->PopupWidth, ir.Width() + 25);
    EXPECT_EQ(dd->PopupHeight, ir.Height() + 15);
    EXPECT_EQ(inplace->Properties()->PopupWidth(), 0);
    inplace->Free();
    data->Free();
}

TEST_F(DropDownTest, SizingByTheGripOnlyAndNeverBelowTheMinimum)
{
    combo->Properties()->SetDropDownSizeable(true);
    combo->Properties()->SetPopupMinHeight(40);
    combo->SetDroppedDown(true);
    ASSERT_TRUE(Open());
    TcxCustomEditPopupWindow* w = combo->PopupWindow();
    TcxCustomEditPopupWindowViewInfo* vi = w->EditViewInfo();
    ASSERT_EQ(vi->SizeGripCorner, ecoBottomRight);
    struct Place {
        int x, y;
        bool sizing;
        int horz, vert;
    };
    const int W = w->Width(), H = w->Height();
    const TRect grip = vi->SizeGripSizingRect;
    for (const Place& p : {Place{W - 1, H / 2, true, 1, 0}, Place{W / 2, H - 1, true, 0, 1},
                           Place{0, H / 2, true, 0, 0}, Place{W / 2, 0, true, 0, 0},
                           Place{grip.Left + 1, grip.Top + 1, true, 1, 1}, Place{W / 2, H / 2, false, 0, 0}}) {
        int horz = 9, vert = 9;
        EXPECT_EQ(vi->IsSizingPlace(p.x, p.y, horz, vert), p.sizing) << p.x << "," << p.y;
        EXPECT_EQ(horz, p.horz) << p.x << "," << p.y;
        EXPECT_EQ(vert, p.vert) << p.x << "," << p.y;
    }
    // A drag of the grip far up and left stops at the minimum.
    w->LiveSizing = true;
    const QPoint start(grip.Left + 2, grip.Top + 2);
    QTest::mousePress(w->Peer(), Qt::LeftButton, {}, start);
    QTest::mouseMove(w->Peer(), QPoint(start.x() - 400, start.y() - 400));
    vcl::SendMessage(w->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(start.x() - 400, start.y() - 400));
    QTest::mouseRelease(w->Peer(), Qt::LeftButton, {}, QPoint(start.x() - 400, start.y() - 400));
    Settle();
    EXPECT_GE(w->Height(), 40);
    EXPECT_GE(w->Width(), w->GetMinSize().cx);
    combo->SetDroppedDown(false);
}

// ---- popup edit ------------------------------------------------------------------------------------

class PopupEditTest : public DropDownTest {
protected:
    void SetUp() override
    {
        DropDownTest::SetUp();
        edit = new TcxPopupEdit(form);
        edit->SetParent(form);
        edit->SetBounds(10, 100, 150, 24);
        edit->OnClosePopup = [this](TcxControl*, TcxEditCloseUpReason r) { reasons.push_back(r); };
        holder = new TPanel(form);
        holder->SetParent(form);
        holder->SetBounds(180, 10, 120, 150);
        panel = new TPanel(form);
        panel->SetParent(holder);
        panel->SetBounds(5, 6, 70, 80);
        panel->Align = alBottom;
    }
    void At(int ms, std::function<void()> f) { QTimer::singleShot(ms, timers.get(), std::move(f)); }
    // Opens the popup (its loop runs until closed) and runs `inside` within the loop.
    void OpenAndRun(std::function<void()> inside, const char* what = "")
    {
        bool ran = false;
        QObject scope;   // the timers die with this call
        QTimer::singleShot(30, &scope, [&, inside] {
            inside();
            ran = true;
        });
        bool rescued = false;
        QTimer::singleShot(1500, &scope, [&] {
            if (edit->DroppedDown()) {
                rescued = true;
                edit->HidePopup(edit, crUnknown);
            }
        });
        edit->SetDroppedDown(true);
        SpinUntil([&] { return ran && !edit->DroppedDown(); }, 2500);
        EXPECT_TRUE(ran);
        EXPECT_FALSE(rescued) << "the popup stayed open: " << what;
    }

public: // the case tables reach the fixture through a reference
    TcxPopupEdit* edit = nullptr;
    TPanel* holder = nullptr;
    TPanel* panel = nullptr;
    std::unique_ptr<QObject> timers = std::make_unique<QObject>();
};

TEST_F(PopupEditTest, APanelIsBorrowedFillingTheClientAndGivenBack)
{
    Focus(edit);
    edit->SetDroppedDown(true);
    Settle();
    EXPECT_FALSE(edit->DroppedDown());   // no PopupControl: nothing opens
    edit->Properties()->SetPopupControl(panel);
    OpenAndRun([&] {
        EXPECT_TRUE(edit->DroppedDown());
        EXPECT_EQ(panel->Parent(), edit->PopupWindow());
        EXPECT_EQ(panel->BoundsRect(), edit->PopupWindow()->EditViewInfo()->ClientRect);
        EXPECT_TRUE(panel->Visible());
        QTest::keyClick(edit->PopupWindow()->Peer(), Qt::Key_Escape);
    });
    EXPECT_EQ(reasons, std::vector<TcxEditCloseUpReason>{crCancel});
    EXPECT_EQ(panel->Parent(), holder);
    EXPECT_EQ(panel->BoundsRect(), (TRect{5, 6, 75, 86}));
    EXPECT_EQ(panel->Align, alBottom);
    EXPECT_TRUE(panel->Visible());
    EXPECT_EQ(cxPopupWindowCount(), 0);
}

TEST_F(PopupEditTest, AFormIsShownWithoutItsBorderAndGetsItBack)
{
    auto* borrowed = new TForm(nullptr);
    borrowed->SetBounds(0, 0, 140, 90);
    borrowed->BorderStyle = bsDialog;
    edit->Properties()->SetPopupControl(borrowed);
    Focus(edit);
    OpenAndRun([&] {
        EXPECT_EQ(borrowed->BorderStyle, bsNone);
        EXPECT_EQ(borrowed->Parent(), edit->PopupWindow());
        edit->HidePopup(edit, crEnter);
    });
    EXPECT_EQ(borrowed->BorderStyle, bsDialog);
    EXPECT_EQ(borrowed->Parent(), nullptr);
    EXPECT_FALSE(borrowed->Visible());
    EXPECT_EQ(reasons, std::vector<TcxEditCloseUpReason>{crEnter});
    borrowed->Free();
}

TEST_F(PopupEditTest, TheEditorsOwnParentIsRefusedAsCircular)
{
    edit->Properties()->SetPopupControl(form);
    Application->OnException = [&](TObject*, const Exception& e) { shown.push_back(e.Message); };
    Focus(edit);
    edit->InnerTextEditControl()->SetFocus();
    QTest::keyClick(Field(edit), Qt::Key_F4);
    Settle();
    EXPECT_FALSE(edit->DroppedDown());
    EXPECT_FALSE(edit->PopupInitialized());
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back(), "Circular referencing is not allowed");
}

TEST_F(PopupEditTest, ASavedParentThatDiesLeavesTheControlHiddenAndUnparented)
{
    edit->Properties()->SetPopupControl(panel);
    Focus(edit);
    OpenAndRun([&] {
        holder->Free();   // the panel's own parent goes while the panel is borrowed
        holder = nullptr;
        edit->HidePopup(edit, crUnknown);
    });
    EXPECT_EQ(panel->Parent(), nullptr);
    EXPECT_FALSE(panel->Visible());
    panel->Free();
}

TEST_F(PopupEditTest, AFreedPopupControlIsForgotten)
{
    edit->Properties()->SetPopupControl(panel);
    panel->Free();
    EXPECT_EQ(edit->Properties()->PopupControl(), nullptr);
    edit->SetDroppedDown(true);
    Settle();
    EXPECT_FALSE(edit->DroppedDown());
}

// ---- registration ----------------------------------------------------------------------------------

TEST_F(DropDownTest, TheUnitRegistersTheComboBoxAndThePopupEdit)
{
    TcxRegisteredClasses* r = GetRegisteredEditProperties();
    EXPECT_EQ(r->GetDescriptionByClass(&TcxComboBoxProperties::StaticClass()), "ComboBox");
    EXPECT_EQ(r->GetDescriptionByClass(&TcxPopupEditProperties::StaticClass()), "PopupEdit");
    EXPECT_EQ(FilterEditsController()->FindHelper(&TcxComboBoxProperties::StaticClass()),
              TcxCustomFilterEditHelper::Of<TcxFilterComboBoxHelper>());
}

} // namespace

namespace {
// The open list drawn on screen: Chinese items, the highlighted row, no stray frame over the rows.
TEST_F(DropDownTest, AnOpenListDrawsChineseItems)
{
    combo->Properties()->SetItems({"电表", "集中器", "采集器", "载波模块"});
    combo->SetText("集中器");
    combo->LookupData()->TextChanged();
    Key(Qt::Key_F4);
    ASSERT_TRUE(Open());
    TcxCustomEditPopupWindow* w = combo->PopupWindow();
    w->Repaint();
    Settle();
    QImage shot = w->Peer()->grab().toImage();
    QImage editor = form->Peer()->grab().toImage();
    // One picture of the editor with its list below, for a look by eye.
    QImage both(std::max(editor.width(), w->Width() + 10), editor.height() + w->Height() + 10, QImage::Format_RGB32);
    both.fill(Qt::darkGray);
    {
        QPainter p(&both);
        p.drawImage(0, 0, editor);
        p.drawImage(10, editor.height() + 10, shot);
    }
    SaveTestPicture(both, "combo_dropdown_zh.png");
    TcxCustomEditListBox* list = combo->LookupData()->List();
    ASSERT_EQ(list->ItemIndex(), 1);
    auto inkIn = [&](const TRect& r, QRgb background) {
        int ink = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                ink += shot.pixel(x, y) != background;
        return ink;
    };
    for (int i = 0; i < 4; ++i) {
        TRect r = list->ItemRect(i);
        r = {r.Left + list->Left(), r.Top + list->Top(), r.Right + list->Left(), r.Bottom + list->Top()};
        const QRgb background = shot.pixel(r.Right - 2, r.Top + 1);
        EXPECT_GT(inkIn(r, background), 10) << i;   // every item has its text drawn
        if (i == 1) {
            EXPECT_NE(background, shot.pixel(list->Left() + 2, list->ItemRect(0).Top + list->Top() + 1));
        }
    }
    Key(Qt::Key_Escape);
}
} // namespace

namespace {
TEST_F(DropDownTest, APasteOpensTheListOnTheItemAndTheWheelMovesItsHighlight)
{
    Clipboard()->SetAsText("cherry");
    Key(Qt::Key_V, Qt::ControlModifier, "v");
    ASSERT_TRUE(Open());
    Settle();
    EXPECT_EQ(combo->Text(), "cherry");
    EXPECT_EQ(combo->LookupData()->List()->ItemIndex(), 2);
    Key(Qt::Key_Escape);

    std::vector<std::string> items;
    for (int i = 0; i < 30; ++i)
        items.push_back("row " + std::to_string(i));
    combo->Properties()->SetItems(items);
    combo->SetText("row 5");
    Key(Qt::Key_F4);
    ASSERT_TRUE(Open());
    TcxCustomEditListBox* list = combo->LookupData()->List();
    ASSERT_EQ(list->ItemIndex(), 5);
    QWheelEvent wheel(QPointF(5, 5), QPointF(combo->ClientToScreen({5, 5}).X, combo->ClientToScreen({5, 5}).Y),
                      QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(combo->InnerTextEditControl()->Peer(), &wheel);
    Settle();
    // The open list's highlight moves; the text waits for the choice.
    EXPECT_EQ(list->ItemIndex(), 6);
    EXPECT_EQ(combo->Text(), "row 5");
    EXPECT_TRUE(combo->DroppedDown());
    Key(Qt::Key_Return);
    EXPECT_EQ(combo->Text(), "row 6");
}

TEST_F(DropDownTest, InPlaceActivationOpensAtOnceAndDeactivationDropsAQueuedShow)
{
    auto* inplace = new TcxComboBox(form, true);
    inplace->SetParent(form);
    inplace->SetBounds(10, 60, 150, 24);
    inplace->Properties()->SetItems({"one", "two"});
    inplace->Properties()->SetImmediatePopup(true);
    TcxCustomEditData* data = nullptr;
    inplace->Activate(data);
    EXPECT_TRUE(SpinUntil([&] { return inplace->DroppedDown(); }, 500));
    inplace->Deactivate();
    Settle();
    EXPECT_FALSE(inplace->DroppedDown());

    // A show still queued when the host deactivates the editor never arrives.
    inplace->Properties()->SetImmediatePopup(false);
    inplace->Activate(data);
    inplace->SetDroppedDown(true);
    EXPECT_TRUE(inplace->PopupInitialized());
    inplace->Deactivate();
    EXPECT_FALSE(inplace->PopupInitialized());
    Settle();
    EXPECT_FALSE(inplace->DroppedDown());
    EXPECT_EQ(cxPopupWindowCount(), 0);
    inplace->Free();
    data->Free();
}

TEST_F(PopupEditTest, ATypedCharacterOpensThePopupAndReachesItsFocusedControl)
{
    auto* inner = new TEdit(form);
    inner->SetParent(holder);
    inner->SetBounds(0, 0, 100, 24);
    edit->Properties()->SetPopupControl(inner);
    edit->Properties()->SetImmediatePopup(false);
    Focus(edit);
    bool checked = false;
    At(60, [&] {
        checked = true;
        EXPECT_TRUE(edit->DroppedDown());
        EXPECT_EQ(inner->Text(), "k");
        edit->HidePopup(edit, crEnter);
    });
    At(1500, [&] {
        if (edit->DroppedDown())
            edit->HidePopup(edit, crUnknown);
    });
    QTest::sendKeyEvent(QTest::Click, Field(edit), Qt::Key_K, "k", Qt::NoModifier);
    SpinUntil([&] { return checked && !edit->DroppedDown(); }, 2500);
    EXPECT_TRUE(checked);
    EXPECT_EQ(edit->Text(), "");
    EXPECT_EQ(inner->Parent(), holder);
}
} // namespace

namespace {
TEST_F(PopupEditTest, OpenAndCloseByKeyAndPress)
{
    struct Row {
        const char* name;
        std::function<void(PopupEditTest&)> act;   // runs inside the open popup's loop
        TcxEditCloseUpReason reason;
    };
    auto key = [](Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        return [k, mods](PopupEditTest& t) { QTest::keyClick(t.edit->PopupWindow()->Peer(), k, mods); };
    };
    const Row rows[] = {
        {"F4", key(Qt::Key_F4), crClose},
        {"Alt+Up", key(Qt::Key_Up, Qt::AltModifier), crClose},
        {"Esc", key(Qt::Key_Escape), crCancel},
        {"Enter", key(Qt::Key_Return), crEnter},
        {"Tab", key(Qt::Key_Tab), crTab},
        {"close button",
         [](PopupEditTest& t) {
             TcxCustomEditPopupWindow* w = t.edit->PopupWindow();
             const TRect b = w->EditViewInfo()->CloseButtonRect;
             vcl::input::ResetClickCount();
             vcl::input::InjectMouse(WM_LBUTTONDOWN, ScreenOf(w, b.Left + 2, b.Top + 2), MK_LBUTTON);
             vcl::input::InjectMouse(WM_LBUTTONUP, ScreenOf(w, b.Left + 2, b.Top + 2), 0);
         },
         crUnknown},
    };
    // The popup below the editor must not overlap the form: windows here have no stacking order.
    form->SetBounds(100, 100, 320, 130);
    edit->Properties()->SetPopupControl(panel);
    edit->Properties()->SetPostPopupValueOnTab(true);
    edit->Properties()->SetPopupSysPanelStyle(true);
    edit->EditStyle()->SetPopupCloseButton(true);
    for (const Row& row : rows) {
        Focus(edit);
        reasons.clear();
        OpenAndRun([&] {
            EXPECT_TRUE(edit->DroppedDown()) << row.name;
            EXPECT_EQ(cxPopupWindowCount(), 1) << row.name;
            row.act(*this);
        }, row.name);
        EXPECT_FALSE(edit->DroppedDown()) << row.name;
        EXPECT_EQ(cxPopupWindowCount(), 0) << row.name;
        ASSERT_EQ(reasons.size(), 1u) << row.name;
        EXPECT_EQ(reasons[0], row.reason) << row.name;
        EXPECT_EQ(panel->Parent(), holder) << row.name;
    }
}
} // namespace

namespace {
TEST_F(DropDownTest, AShowThatArrivesAfterTheEditorWasHiddenOnlyFinalizes)
{
    int finalized = 0;
    combo->Properties()->OnPopupFinalized = [&](TObject*) { ++finalized; };
    combo->SetDroppedDown(true);
    EXPECT_TRUE(combo->PopupInitialized());
    combo->Hide();
    Settle();
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_FALSE(combo->PopupInitialized());
    EXPECT_EQ(finalized, 1);
    EXPECT_EQ(cxPopupWindowCount(), 0);
}
} // namespace

namespace {
TEST_F(DropDownTest, AListThatOpensUnderTheRestingPointerIgnoresItsFirstMove)
{
    combo->SetText("apple");
    combo->LookupData()->TextChanged();
    const TPoint below = combo->ClientToScreen({20, combo->Height() + 30});
    Fixed().cursor = below;   // where the list will appear
    Key(Qt::Key_F4);
    ASSERT_TRUE(Open());
    EXPECT_TRUE(combo->IgnoreListMouseMove);
    TcxCustomEditListBox* list = combo->LookupData()->List();
    const TPoint p = list->ScreenToClient(below);
    ASSERT_EQ(list->ItemIndex(), 0);
    ASSERT_NE(list->ItemAtPos(p, true), 0);
    vcl::SendMessage(list->Handle(), WM_MOUSEMOVE, 0, MakeLParam(p.X, p.Y));
    EXPECT_EQ(list->ItemIndex(), 0);   // the first move only clears the mark
    vcl::SendMessage(list->Handle(), WM_MOUSEMOVE, 0, MakeLParam(p.X, p.Y + 1));
    EXPECT_EQ(list->ItemIndex(), list->ItemAtPos(p, true));
    Key(Qt::Key_Escape);
    EXPECT_EQ(combo->Text(), "apple");
}
} // namespace

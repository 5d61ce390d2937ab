// The inner list box: auto-complete under a fixed clock (typed keys and committed Chinese text),
// input forwarded to the container, the toolkit bars over the list box's own strips, and the
// customize list box's drag of an item.
#include "tests/toolkit/controls/ControlsTestSupport.h"
#include "toolkit/controls/cxContainerListBox.h"
#include "toolkit/controls/cxControlsListBox.h"

#include <QInputMethodEvent>
#include <QtTest/QTest>

using namespace cx;

namespace {
class ListBoxTest : public ControlBaseTest {
protected:
    void SetUp() override
    {
        ControlBaseTest::SetUp();
        container = new TcxContainer(form);
        container->SetParent(form);
        container->SetBounds(10, 10, 160, 120);
        list = new TcxCustomInnerListBox(container);
        list->SetBounds(0, 0, 160, 120);
        list->SetParent(container);
        list->SetContainer(container);
        for (const char* s : {"apple", "Abc", "banana", "abd", "北京", "北海", "上海"})
            list->Items()->Add(s);
        ASSERT_TRUE(Activate(form));
        list->SetFocus();
    }
    void Type(const QString& text)
    {
        for (QChar ch : text)
            QTest::sendKeyEvent(QTest::Click, list->Peer(), Qt::Key(ch.toUpper().unicode()), QString(ch),
                                Qt::NoModifier);
        vcl::DrainPostedMessages();
    }
    void Commit(const char* utf8)
    {
        QInputMethodEvent ime;
        ime.setCommitString(QString::fromUtf8(utf8));
        QCoreApplication::sendEvent(list->Peer(), &ime);
        vcl::DrainPostedMessages();
    }
    TcxContainer* container = nullptr;
    TcxCustomInnerListBox* list = nullptr;
};
} // namespace

TEST_F(ListBoxTest, AutoCompleteRestartsAfterThePauseAndKeepsChineseCharactersWhole)
{
    struct Step {
        const char* typed; // "\b" is Backspace
        bool ime;          // committed through the input method
        std::uint32_t pauseMs;
        const char* search;
        int index;
    };
    const Step steps[] = {
        {"a", false, 0, "a", 0},        // apple
        {"b", false, 499, "ab", 1},     // Abc: prefix search ignores case
        {"d", false, 10, "abd", 3},
        {"b", false, 500, "b", 2},      // a pause of 500 ms starts anew
        {"x", false, 10, "bx", 2},      // nothing found: the selection stays
        {"北", true, 600, "北", 4},
        {"海", true, 100, "北海", 5},
        {"\b", false, 100, "北", 4},    // one Backspace removes one whole character
        {"\b", false, 100, "", 0},      // an empty search selects the first item
    };
    for (const Step& s : steps) {
        Fixed().ticks += s.pauseMs;
        if (s.ime)
            Commit(s.typed);
        else if (s.typed[0] == '\b')
            QTest::sendKeyEvent(QTest::Click, list->Peer(), Qt::Key_Backspace, "\b", Qt::NoModifier);
        else
            Type(QString::fromUtf8(s.typed));
        vcl::DrainPostedMessages();
        EXPECT_EQ(list->SearchText(), s.search) << s.typed;
        EXPECT_EQ(list->ItemIndex(), s.index) << s.typed;
    }
}

TEST_F(ListBoxTest, AutoCompleteSwallowsSearchCharactersButNotControlKeys)
{
    int clicks = 0;
    list->OnClick = TNotifyEvent([&](TObject*) { ++clicks; });
    struct Case {
        char16_t key;
        char16_t after;
    };
    for (const Case& c : {Case{u'z', 0}, Case{u'a', 0}, Case{8, 8}, Case{27, 27}}) {
        Fixed().ticks += 1000;
        char16_t key = c.key;
        list->DoAutoComplete(key);
        EXPECT_EQ(key, c.after) << int(c.key);
    }
    EXPECT_EQ(clicks, 2); // "a" found apple; Backspace emptied the search and chose item 0
    // A character outside the basic plane waits for its second half.
    Fixed().ticks += 1000;
    char16_t high = 0xD840, low = 0xDC0B;
    list->DoAutoComplete(high);
    EXPECT_EQ(list->SearchText(), "");
    list->DoAutoComplete(low);
    EXPECT_EQ(list->SearchText(), "\xF0\xA0\x80\x8B");
    list->AutoComplete = false;
    char16_t k = u'b';
    list->DoAutoComplete(k);
    EXPECT_EQ(k, u'b');
}

TEST_F(ListBoxTest, KeysAndMouseReachTheContainer)
{
    std::vector<std::string> seen;
    container->OnKeyDown = TKeyEvent([&](TObject*, std::uint16_t& key, TShiftState) {
        seen.push_back("key " + std::to_string(key));
    });
    container->OnMouseDown = TMouseEvent([&](TObject*, TMouseButton, TShiftState, int x, int y) {
        seen.push_back("down " + std::to_string(x) + "," + std::to_string(y));
    });
    container->OnClick = TNotifyEvent([&](TObject*) { seen.push_back("click"); });
    // Not the container's inner control: the list box forwards keys itself.
    list->SetItemIndex(0);
    QTest::sendKeyEvent(QTest::Click, list->Peer(), Qt::Key_Down, QString(), Qt::NoModifier);
    vcl::DrainPostedMessages();
    EXPECT_EQ(list->ItemIndex(), 1);
    // As the inner control, the container's hook delivers them (once).
    list->SetLeft(4);
    container->SetInnerControl(list);
    list->SetBounds(4, 2, 150, 110);
    QTest::sendKeyEvent(QTest::Click, list->Peer(), Qt::Key_Down, QString(), Qt::NoModifier);
    vcl::DrainPostedMessages();
    EXPECT_EQ(list->ItemIndex(), 2);
    // A press on the third row: the list box selects, then the container hears it in its own
    // coordinates.
    QTest::mouseClick(list->Peer(), Qt::LeftButton, {}, QPoint(20, 2 * list->ItemHeight() + 3));
    vcl::DrainPostedMessages();
    EXPECT_EQ(list->ItemIndex(), 2);
    // A press selects (and clicks) before the container hears of it.
    const std::vector<std::string> want = {"key 40", "click", "key 40", "click", "click",
                                           "down 24," + std::to_string(2 * list->ItemHeight() + 5)};
    EXPECT_EQ(seen, want);
    EXPECT_FALSE(container->InnerControlMouseDown);
}

TEST_F(ListBoxTest, ToolkitBarsCoverTheListBoxsOwnStrips)
{
    EXPECT_FALSE(list->VScrollBar()->Visible()); // seven rows fit
    for (int i = 0; i < 30; ++i)
        list->Items()->Add("row " + std::to_string(i));
    TcxScrollBar* v = list->VScrollBar();
    ASSERT_TRUE(v->Visible());
    EXPECT_EQ(v->Parent(), container);
    const int barW = vcl::System().GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(v->BoundsRect(), (TRect{160 - barW, 0, 160, 120}));
    EXPECT_EQ(v->Max(), 36);
    EXPECT_EQ(v->PageSize(), 120 / list->ItemHeight());
    EXPECT_TRUE(cxRectIsEmpty(list->GetSizeGripRect()));
    // The bar scrolls the list box.
    int pos = 10;
    v->OnScroll(v, scTrack, pos);
    EXPECT_EQ(list->TopIndex(), 10);
    // A wide item brings the horizontal bar and with it the grip square.
    list->Perform(LB_SETHORIZONTALEXTENT, 400);
    ASSERT_TRUE(list->HScrollBar()->Visible());
    const int barH = vcl::System().GetSystemMetrics(SM_CYHSCROLL);
    EXPECT_EQ(list->GetSizeGripRect(), (TRect{160 - barW, 120 - barH, 160, 120}));
    EXPECT_EQ(list->VScrollBar()->Height(), 120 - barH);
    // Emptied: both bars hide with empty bounds.
    list->Items()->Clear();
    list->Perform(LB_SETHORIZONTALEXTENT, 0);
    EXPECT_FALSE(v->Visible());
    EXPECT_TRUE(cxRectIsEmpty(v->BoundsRect()));
}

TEST_F(ListBoxTest, OwnerDrawnItemsAndTheFocusRectangle)
{
    std::vector<int> drawn;
    list->SetStyle(lbOwnerDrawFixed);
    EXPECT_TRUE(list->NeedDrawFocusRect());
    list->OnDrawItem = TDrawItemEvent([&](TWinControl*, int index, TRect rect, TOwnerDrawState state) {
        drawn.push_back(index);
        list->cxCanvas()->FillRect(rect, state.Contains(odSelected) ? clRed : clWindow);
    });
    EXPECT_FALSE(list->NeedDrawFocusRect());
    list->SetItemIndex(1);
    EXPECT_EQ(PixelOf(list, 5, list->ItemHeight() + 3), Sys(clRed));
    EXPECT_EQ(PixelOf(list, 5, 3), Sys(clWindow));
    EXPECT_EQ(drawn.size() % 7, 0u);
    EXPECT_TRUE(list->ItemVisible(6));
    EXPECT_FALSE(list->ItemVisible(7 + 120 / list->ItemHeight()));
}

namespace {
// A customization list whose items are dragged out with the platform's drag and drop.
class DraggingList : public TcxCustomizeListBox {
public:
    using TcxCustomizeListBox::TcxCustomizeListBox;
    int begun = 0;

protected:
    void BeginDragAndDrop() override
    {
        TcxCustomizeListBox::BeginDragAndDrop();
        ++begun;
        BeginDrag(true);
    }
};
} // namespace

TEST_F(ControlBaseTest, CustomizeListBoxDragsAnItemThatCarriesAnObject)
{
    auto* list = new DraggingList(form);
    list->SetParent(form);
    list->SetBounds(10, 10, 100, 120);
    TObject rowObject;
    list->Items()->Add("no object");
    list->Items()->AddObject("with object", &rowObject);
    list->Items()->AddObject("another", &rowObject);
    auto* target = new TCustomControl(form);
    target->SetParent(form);
    target->SetBounds(150, 10, 60, 60);
    std::vector<TObject*> dropped;
    target->OnDragOver = [](TObject*, TObject*, int, int, TDragState, bool& accept) { accept = true; };
    target->OnDragDrop = [&](TObject*, TObject* src, int, int) {
        dropped.push_back(static_cast<TcxCustomizeListBox*>(src)->ItemObject());
    };
    ASSERT_TRUE(Activate(form));
    const int h = list->ItemHeight();
    // The items start inside the list box's frame.
    const int f = list->ItemsArea().Top;
    QWidget* w = list->Peer();
    // An item without an object never starts a drag.
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(20, f + 3));
    QTest::mouseMove(w, QPoint(60, f + 3 + 2 * h));
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(60, f + 3 + 2 * h));
    EXPECT_EQ(list->begun, 0);
    // Within the drag square over the same item it waits; onto the next item it starts, even
    // inside the square.
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(20, f + 2 * h - 2));
    EXPECT_EQ(list->DragAndDropItemObject(), &rowObject);
    QTest::mouseMove(w, QPoint(22, f + 2 * h - 1));
    EXPECT_EQ(list->begun, 0);
    EXPECT_EQ(list->ItemIndex(), 1);
    QTest::mouseMove(w, QPoint(22, f + 2 * h + 1));
    EXPECT_EQ(list->begun, 1);
    EXPECT_EQ(list->ItemIndex(), 1); // the pressed item, not the one under the pointer
    EXPECT_EQ(list->DragItemIndex(), -1);
    ASSERT_TRUE(list->Dragging());
    QTest::mouseMove(target->Peer(), QPoint(10, 10));
    QTest::mouseRelease(target->Peer(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(dropped, std::vector<TObject*>{&rowObject});
    // ItemObject selects by object and clicks.
    int clicks = 0;
    list->OnClick = [&](TObject*) { ++clicks; };
    list->SetItemIndex(0);
    list->SetItemObject(&rowObject);
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(clicks, 1);
}

// A customize list box with more items than fit scrolls by its own bar under the mouse.
TEST_F(ControlBaseTest, CustomizeListBoxScrollsByItsBar)
{
    auto* list = new TcxCustomizeListBox(form);
    list->SetParent(form);
    list->SetBounds(10, 10, 150, 100);
    for (int i = 0; i < 30; ++i)
        list->Items()->Add("行 " + std::to_string(i));
    ASSERT_TRUE(Activate(form));
    const auto bar = list->ScrollBarState(sbVertical);
    ASSERT_TRUE(bar.Shown && bar.Enabled);
    // A press low on the strip pages down; the down arrow steps one more row.
    const QPoint low((bar.Rect.Left + bar.Rect.Right) / 2, bar.Rect.Bottom - 20);
    QTest::mouseClick(list->Peer(), Qt::LeftButton, {}, low);
    vcl::DrainPostedMessages();
    const int page = list->TopIndex();
    EXPECT_GT(page, 3);
    const TRect down = list->ScrollBarParts(sbVertical).LineDown;
    Fixed().ticks += 1000;
    QTest::mouseClick(list->Peer(), Qt::LeftButton, {}, QPoint(down.Left + 8, down.Top + 8));
    vcl::DrainPostedMessages();
    EXPECT_EQ(list->TopIndex(), page + 1);
    EXPECT_EQ(list->ItemIndex(), -1);
}

TEST_F(ListBoxTest, APressInADraggingContainerStartsTheContainersDrag)
{
    list->SetMultiSelect(true);
    list->DragMode = dmAutomatic;
    list->SetSelected(1, true);
    list->SetSelected(2, true);
    const int h = list->ItemHeight();
    // Ctrl on an item already selected: the selection stays and the container drags at once.
    QTest::mousePress(list->Peer(), Qt::LeftButton, Qt::ControlModifier, QPoint(20, h + 3));
    EXPECT_TRUE(container->Dragging());
    EXPECT_TRUE(list->Selected(1));
    EXPECT_TRUE(list->Selected(2));
    EXPECT_EQ(list->DragMode, dmAutomatic);
    QTest::mouseRelease(list->Peer(), Qt::LeftButton, Qt::ControlModifier, QPoint(20, h + 3));
    EXPECT_FALSE(container->Dragging());
    // A plain press selects as usual and then lets the container drag past the threshold.
    QTest::mousePress(list->Peer(), Qt::LeftButton, {}, QPoint(20, 3));
    EXPECT_TRUE(list->Selected(0));
    EXPECT_FALSE(list->Selected(1));
    EXPECT_TRUE(container->Dragging());
    QTest::mouseRelease(list->Peer(), Qt::LeftButton, {}, QPoint(20, 3));
    // Shift extends the selection without a drag.
    QTest::mousePress(list->Peer(), Qt::LeftButton, Qt::ShiftModifier, QPoint(20, 2 * h + 3));
    EXPECT_FALSE(container->Dragging());
    EXPECT_EQ(list->SelCount(), 3);
    QTest::mouseRelease(list->Peer(), Qt::LeftButton, Qt::ShiftModifier, QPoint(20, 2 * h + 3));
}

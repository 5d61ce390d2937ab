// Button groups: the column rule, one child per item kept in step with single changes, item
// enabling, the cell layout and the arrow keys across columns.
#include "tests/toolkit/controls/ControlsTestSupport.h"

#include "platform/gdi/Text.h"
#include "toolkit/editors/cxGroupBox.h"
#include "toolkit/editors/cxRadioGroup.h"

using namespace cx;

namespace {

class TestButtonGroup : public TcxCustomButtonGroup {
public:
    explicit TestButtonGroup(TComponent* owner)
        : TcxCustomButtonGroup(owner, false, TcxCustomEditPropertiesClass::Of<TcxCustomButtonGroupProperties>())
    {
    }
    int created = 0;

protected:
    TWinControl* GetButtonInstance() override
    {
        ++created;
        return new TcxRadioButton(this);
    }
    TcxEditMetrics GetEditMetrics() const override
    {
        TcxEditMetrics m;
        m.ColumnOffset = 4;
        return m;
    }
};

} // namespace

class CxButtonGroupTest : public ControlBaseTest {
protected:
    void SetUp() override
    {
        ControlBaseTest::SetUp();
        gdi::SetFontEngine(gdi::MakeFakeFontEngine());
        ASSERT_TRUE(Activate(form));
        group = new TestButtonGroup(form);
        group->SetParent(form);
        group->SetBounds(5, 5, 280, 200);
        group->OnKeyDown = [this](TObject*, std::uint16_t& key, TShiftState) { keysSeen.push_back(key); };
    }
    void TearDown() override
    {
        ControlBaseTest::TearDown();
        gdi::SetFontEngine(nullptr);
    }
    TcxCustomButtonGroupProperties* Props() { return group->ButtonGroupProperties(); }
    void AddItems(int n)
    {
        Props()->Items()->BeginUpdate();
        for (int i = 0; i < n; ++i)
            Props()->Items()->Add()->SetCaption("Item " + std::to_string(i));
        Props()->Items()->EndUpdate();
    }
    TestButtonGroup* group = nullptr;
    std::vector<std::uint16_t> keysSeen;
};

TEST_F(CxButtonGroupTest, ColumnRuleNeverLeavesAColumnEmpty)
{
    struct Case {
        int items, columns, expectedColumns, perColumn;
    } cases[] = {{10, 6, 5, 2}, {9, 4, 3, 3}, {10, 4, 4, 3}, {7, 3, 3, 3}, {4, 3, 2, 2},
                 {1, 5, 1, 1},  {0, 3, 0, 0}, {5, 1, 1, 5}};
    for (const Case& c : cases) {
        Props()->Items()->Clear();
        AddItems(c.items);
        Props()->SetColumns(c.columns);
        EXPECT_EQ(Props()->GetColumnCount(), c.expectedColumns) << c.items << " in " << c.columns;
        EXPECT_EQ(Props()->GetButtonsPerColumn(), c.perColumn) << c.items << " in " << c.columns;
    }
    Props()->SetColumns(0);
    EXPECT_EQ(Props()->Columns(), 1);
}

TEST_F(CxButtonGroupTest, ChildrenFollowSingleChangesWithoutRebuilding)
{
    AddItems(4);
    ASSERT_EQ(group->ButtonCount(), 4);
    std::vector<TWinControl*> before;
    for (int i = 0; i < 4; ++i)
        before.push_back(group->Buttons(i));

    group->created = 0;
    Props()->Items()->Add()->SetCaption("Fifth");
    EXPECT_EQ(group->created, 1);
    ASSERT_EQ(group->ButtonCount(), 5);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(group->Buttons(i), before[size_t(i)]);
    EXPECT_EQ(group->Buttons(4)->Caption(), "Fifth");

    Props()->Items()->Delete(2);
    ASSERT_EQ(group->ButtonCount(), 4);
    EXPECT_EQ(group->Buttons(0), before[0]);
    EXPECT_EQ(group->Buttons(1), before[1]);
    EXPECT_EQ(group->Buttons(2), before[3]);
    EXPECT_EQ(group->Buttons(2)->Caption(), "Item 3");
    EXPECT_EQ(group->created, 1);

    // A disabled item's child is disabled while the group is enabled.
    Props()->Items()->Items(1)->SetEnabled(false);
    EXPECT_FALSE(group->Buttons(1)->Enabled());
    EXPECT_TRUE(group->Buttons(0)->Enabled());
    EXPECT_EQ(group->ButtonCount(), 4);
    EXPECT_EQ(group->created, 1);
    group->SetEnabled(false);
    EXPECT_FALSE(group->Buttons(0)->Enabled());
    group->SetEnabled(true);
    EXPECT_TRUE(group->Buttons(0)->Enabled());
    EXPECT_FALSE(group->Buttons(1)->Enabled());
}

TEST_F(CxButtonGroupTest, CellsShareTheWidthAndTheHitTestFindsThem)
{
    AddItems(5);
    Props()->SetColumns(3);   // 3 columns: 2, 2 and 1 buttons
    ASSERT_EQ(Props()->GetColumnCount(), 3);
    const TRect c0 = group->GetButtonCell(0), c2 = group->GetButtonCell(2), c4 = group->GetButtonCell(4);
    EXPECT_EQ(c0.Width(), c2.Width());
    EXPECT_EQ(c2.Left, c0.Right + 4);   // the column offset
    EXPECT_EQ(c4.Left, c2.Right + 4);
    EXPECT_EQ(group->GetButtonCell(1).Top, c0.Bottom);
    for (int i = 0; i < 5; ++i) {
        const TRect c = group->GetButtonCell(i);
        EXPECT_EQ(group->GetButtonIndexAt({(c.Left + c.Right) / 2, (c.Top + c.Bottom) / 2}), i);
        EXPECT_EQ(group->Buttons(i)->BoundsRect(), c);
    }
    EXPECT_EQ(group->GetButtonIndexAt({0, 0}), -1);
}

TEST_F(CxButtonGroupTest, ArrowKeysMoveAcrossColumns)
{
    AddItems(10);
    Props()->SetColumns(4);   // columns of 3, 3, 3 and 1
    auto press = [&](int from, std::uint16_t key) {
        group->Buttons(from)->SetFocus();
        keysSeen.clear();
        group->Buttons(from)->Perform(WM_KEYDOWN, key, 0);
        return group->GetFocusedButtonIndex();
    };
    EXPECT_EQ(press(4, VK_LEFT), 1);
    EXPECT_EQ(press(0, VK_LEFT), 0);
    EXPECT_EQ(press(4, VK_UP), 3);
    EXPECT_EQ(press(3, VK_UP), 3);
    EXPECT_EQ(press(4, VK_DOWN), 5);
    EXPECT_EQ(press(5, VK_DOWN), 5);
    EXPECT_EQ(press(9, VK_DOWN), 9);   // the short last column
    EXPECT_EQ(press(6, VK_RIGHT), 9);
    EXPECT_EQ(press(7, VK_RIGHT), 7);   // no right neighbour: nothing moves
    ASSERT_FALSE(keysSeen.empty());
    EXPECT_EQ(keysSeen.back(), VK_RIGHT);   // and the key goes on to the editor
}

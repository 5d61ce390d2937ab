// The most-recently-used editor: confirmed values to the top, the length limit with its notice,
// the ellipsis button, and a value typed and confirmed with Enter on the real field.
#include "tests/platform/vcl/VclTestSupport.h"

#include "platform/vcl/EditBox.h"
#include "platform/vcl/Graphics.h"
#include "toolkit/core/cxLookAndFeelPainters.h"
#include "toolkit/core/cxLookAndFeels.h"
#include "toolkit/editors/cxEditConsts.h"
#include "toolkit/editors/cxEditUtils.h"
#include "toolkit/editors/cxMRUEdit.h"

#include <QTest>

#include <gtest/gtest.h>

using namespace cx;

namespace {

using Items = std::vector<std::string>;

class MRUEditTest : public ::testing::Test, public VclFixture {
protected:
    void SetUp() override
    {
        cxLookAndFeelPaintersUnit::Initialize();
        cxLookAndFeelsUnit::Initialize();
        cxEditConstsUnit::Initialize();
        cxEditUnit::Initialize();
        cxEditPaintUtilsUnit::Initialize();
        cxTextEditUnit::Initialize();
        cxMRUEditUnit::Initialize();
        form = new TForm(nullptr);
        form->SetBounds(100, 100, 320, 200);
        edit = new TcxMRUEdit(form);
        edit->SetParent(form);
        edit->SetBounds(10, 10, 160, 24);
    }
    void TearDown() override
    {
        form->Free();
        cxMRUEditUnit::Finalize();
        cxTextEditUnit::Finalize();
        cxEditPaintUtilsUnit::Finalize();
        cxEditUnit::Finalize();
        cxEditConstsUnit::Finalize();
        cxClearResourceStrings();
        cxLookAndFeelsUnit::Finalize();
        cxLookAndFeelPaintersUnit::Finalize();
    }
    TForm* form = nullptr;
    TcxMRUEdit* edit = nullptr;
};

TEST_F(MRUEditTest, ConfirmedValuesGoToTheTopAndTheListIsCut)
{
    TcxMRUEditProperties* p = edit->Properties();
    std::vector<int> deleted;
    std::vector<std::string> added;
    p->OnDeleteLookupItem = [&](TcxCustomMRUEditProperties*, int index) { deleted.push_back(index); };
    p->OnNewLookupDisplayText = [&](TObject*, const std::string& s) { added.push_back(s); };
    struct Row {
        Items before;
        int max;
        std::string confirmed;
        Items after;
        std::vector<int> deleted;
    };
    const Row rows[] = {
        {{"red", "green", "blue"}, 3, "white", {"white", "red", "green"}, {3}},
        {{"white", "red", "green"}, 0, "green", {"green", "white", "red"}, {}},
        {{"white", "red", "green"}, 0, "white", {"white", "red", "green"}, {}},
        {{"white", "red", "green"}, 0, "GREEN", {"green", "white", "red"}, {}},
        {{"white", "red", "green"}, 0, "", {"white", "red", "green"}, {}},
    };
    for (const Row& r : rows) {
        p->SetMaxItemCount(0);
        p->SetLookupItems(r.before);
        p->SetMaxItemCount(r.max);
        deleted.clear();
        added.clear();
        p->AddItem(r.confirmed);
        EXPECT_EQ(p->LookupItems(), r.after) << r.confirmed;
        EXPECT_EQ(deleted, r.deleted) << r.confirmed;
        const bool isNew = r.confirmed == "white" && r.before[0] != "white";
        EXPECT_EQ(added.size(), isNew ? 1u : 0u) << r.confirmed;
    }
    p->SetLookupItems({"a", "b", "c", "d"});
    p->SetMaxItemCount(-5);
    EXPECT_EQ(p->MaxItemCount(), 0);
    EXPECT_EQ(p->LookupItems().size(), 4u);
    p->SetMaxItemCount(2);
    EXPECT_EQ(p->LookupItems(), (Items{"a", "b"}));
}

TEST_F(MRUEditTest, TheEllipsisButtonAndTheGlyph)
{
    TcxMRUEditProperties* p = edit->Properties();
    ASSERT_EQ(p->Buttons()->Count(), 2);
    EXPECT_EQ(p->Buttons()->Items(0)->Kind(), bkDown);
    EXPECT_EQ(p->Buttons()->Items(1)->Kind(), bkEllipsis);
    EXPECT_TRUE(p->Buttons()->Items(1)->Default());
    TBitmap glyph;
    glyph.SetSize(8, 8);
    p->SetButtonGlyph(&glyph);
    EXPECT_EQ(p->Buttons()->Items(1)->Kind(), bkGlyph);
    EXPECT_EQ(p->Buttons()->Items(0)->Kind(), bkDown);
    p->SetShowEllipsis(false);
    EXPECT_FALSE(p->Buttons()->Items(1)->Visible());
    EXPECT_EQ(p->Buttons()->Items(0)->Kind(), bkGlyph);
    p->SetButtonGlyph(nullptr);
    EXPECT_EQ(p->Buttons()->Items(0)->Kind(), bkDown);
    p->SetShowEllipsis(true);
    EXPECT_EQ(p->Buttons()->Items(1)->Kind(), bkEllipsis);
}

TEST_F(MRUEditTest, EnterOnTheFieldAddsTheTypedValueAndTheEllipsisClicks)
{
    edit->Properties()->SetLookupItems({"one", "two"});
    ASSERT_TRUE(Activate(form));
    edit->InnerTextEditControl()->SetFocus();
    ASSERT_TRUE(SpinUntil([&] { return edit->InnerTextEditControl()->Focused(); }, 500));
    edit->Properties()->SetImmediateDropDown(false);
    QWidget* field = edit->InnerTextEditControl()->Box()->Widget();
    for (QChar c : QString("three"))
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Click, field, Qt::Key_Return, QString(), Qt::NoModifier);
    SpinUntil([] { return false; }, 20);
    EXPECT_EQ(edit->Properties()->LookupItems(), (Items{"three", "one", "two"}));

    int clicks = 0;
    edit->Properties()->OnButtonClick = [&](TObject* sender) {
        EXPECT_EQ(sender, edit);
        ++clicks;
    };
    TcxCustomEditViewInfo* vi = edit->EditViewInfo();
    ASSERT_EQ(vi->ButtonCount(), 2);
    const TRect b = vi->ButtonsInfo[1]->Bounds;
    QTest::mouseClick(edit->Peer(), Qt::LeftButton, {}, QPoint((b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2));
    SpinUntil([] { return false; }, 20);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(edit->DroppedDown());
}

TEST_F(MRUEditTest, UpdateCopiesTheItemsAndTheUnitRegistersTheKind)
{
    TcxMRUEditProperties other(nullptr);
    edit->Properties()->SetLookupItems({"x", "y"});
    edit->Properties()->Update(&other);
    EXPECT_EQ(other.LookupItems(), (Items{"x", "y"}));
    EXPECT_EQ(GetRegisteredEditProperties()->GetDescriptionByClass(&TcxMRUEditProperties::StaticClass()), "MRUEdit");
    EXPECT_EQ(FilterEditsController()->FindHelper(&TcxMRUEditProperties::StaticClass()),
              TcxCustomFilterEditHelper::Of<TcxFilterTextEditHelper>());
}

} // namespace

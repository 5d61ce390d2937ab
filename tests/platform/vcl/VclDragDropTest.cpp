// Drag and drop inside the program, driven by real mouse and key events: the drop side's
// refusals and acceptance, the drop, the end notice, Escape, and the drag image under the pointer.
#include "VclTestSupport.h"

#include "platform/vcl/ImgList.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

class DragSource : public ProbeControl {
public:
    using ProbeControl::ProbeControl;
    TDragImageList* images = nullptr;
    TDragImageList* GetDragImages() override { return images; }
};

class Spot : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
};

class VclDragDropTest : public ::testing::Test, public VclFixture {
protected:
    void SetUp() override
    {
        form = new ProbeForm(nullptr, "F");
        form->SetBounds(100, 100, 300, 200);
        source = new DragSource(form, "S");
        source->SetBounds(10, 10, 60, 40);
        source->SetParent(form);
        source->DragMode = dmAutomatic;
        refusing = new ProbeControl(form, "R");
        refusing->SetBounds(100, 10, 60, 40);
        refusing->SetParent(form);
        accepting = new Spot(form);
        accepting->SetBounds(200, 10, 60, 40);
        accepting->SetParent(form);
        refusing->OnDragOver = [&](rtl::TObject*, rtl::TObject* src, int, int, TDragState state, bool& accept) {
            overs.push_back({"R", state, src});
            accept = false;
        };
        accepting->OnDragOver = [&](rtl::TObject*, rtl::TObject* src, int, int, TDragState state, bool& accept) {
            overs.push_back({"C", state, src});
            accept = src == source;
        };
        accepting->OnDragDrop = [&](rtl::TObject*, rtl::TObject* src, int x, int y) { drops.push_back({src, {x, y}}); };
        source->OnEndDrag = [&](rtl::TObject*, rtl::TObject* target, int, int) { ends.push_back(target); };
    }
    void TearDown() override
    {
        if (form)
            form->Free();
    }
    struct Over {
        std::string who;
        TDragState state;
        rtl::TObject* source;
        friend bool operator==(const Over&, const Over&) = default;
    };
    ProbeForm* form = nullptr;
    DragSource* source = nullptr;
    ProbeControl* refusing = nullptr;
    Spot* accepting = nullptr;
    std::vector<Over> overs;
    std::vector<std::pair<rtl::TObject*, TPoint>> drops;
    std::vector<rtl::TObject*> ends;
};

TEST_F(VclDragDropTest, DragOverRefusalsThenADrop)
{
    ASSERT_TRUE(Activate(form));
    QTest::mousePress(source->Peer(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(source->Dragging());
    QTest::mouseMove(refusing->Peer(), QPoint(5, 5));
    EXPECT_EQ(Screen->Cursor(), crNoDrop);
    QTest::mouseMove(refusing->Peer(), QPoint(8, 5));
    QTest::mouseMove(form->Peer(), QPoint(210, 20));
    EXPECT_EQ(Screen->Cursor(), crDrag);
    QTest::mouseRelease(form->Peer(), Qt::LeftButton, {}, QPoint(212, 22));
    EXPECT_FALSE(source->Dragging());
    EXPECT_EQ(Screen->Cursor(), crDefault);
    // The source itself has no OnDragOver: it refuses without a word.
    EXPECT_EQ(overs, (std::vector<Over>{{"R", dsDragEnter, source}, {"R", dsDragMove, source},
                                        {"R", dsDragMove, source}, {"R", dsDragLeave, source},
                                        {"C", dsDragEnter, source}, {"C", dsDragMove, source}}));
    ASSERT_EQ(drops.size(), 1u);
    EXPECT_EQ(drops[0].first, source);
    EXPECT_EQ(drops[0].second, (TPoint{12, 12}));
    EXPECT_EQ(ends, std::vector<rtl::TObject*>{accepting});
}

TEST_F(VclDragDropTest, ReleasingOverARefusingControlOrEscapeDropsNothing)
{
    ASSERT_TRUE(Activate(form));
    QTest::mousePress(source->Peer(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(refusing->Peer(), QPoint(5, 5));
    QTest::mouseRelease(refusing->Peer(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(drops.empty());
    EXPECT_EQ(ends, std::vector<rtl::TObject*>{nullptr});

    source->SetFocus();
    QTest::mousePress(source->Peer(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(form->Peer(), QPoint(210, 20));
    ASSERT_TRUE(source->Dragging());
    QTest::keyClick(source->Peer(), Qt::Key_Escape);
    EXPECT_FALSE(source->Dragging());
    QTest::mouseRelease(form->Peer(), Qt::LeftButton, {}, QPoint(210, 20));
    EXPECT_TRUE(drops.empty());
    EXPECT_EQ(ends, (std::vector<rtl::TObject*>{nullptr, nullptr}));
}

TEST_F(VclDragDropTest, TheDragImageFollowsThePointer)
{
    ASSERT_TRUE(Activate(form));
    TDragImageList images(nullptr);
    images.SetWidth(8);
    images.SetHeight(8);
    TBitmap picture;
    picture.SetSize(8, 8);
    images.Add(&picture, nullptr);
    ASSERT_TRUE(images.SetDragImage(0, 2, 3));
    source->images = &images;
    source->DragMode = dmManual;
    source->OnMouseDown = [&](rtl::TObject*, TMouseButton, TShiftState, int, int) { source->BeginDrag(false, 5); };
    QTest::mousePress(source->Peer(), Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_TRUE(source->Dragging());
    // Not started before the pointer moved the threshold: no notices yet.
    QTest::mouseMove(source->Peer(), QPoint(7, 6));
    EXPECT_TRUE(overs.empty());
    QTest::mouseMove(form->Peer(), QPoint(220, 30));
    ASSERT_NE(images.DragWindow(), nullptr);
    const TPoint at = form->ClientToScreen({220, 30});
    EXPECT_EQ(images.DragWindow()->BoundsRect(), (TRect{at.X - 2, at.Y - 3, at.X + 6, at.Y + 5}));
    EXPECT_TRUE(images.DragWindow()->Peer()->isVisible());
    EXPECT_EQ(images.DragWindow()->Peer()->windowType(), Qt::ToolTip);
    QTest::mouseRelease(form->Peer(), Qt::LeftButton, {}, QPoint(220, 30));
    EXPECT_EQ(images.DragWindow(), nullptr);
    EXPECT_EQ(drops.size(), 1u);
}

} // namespace

#include "PainterTestSupport.h"

#include "toolkit/core/cxLookAndFeelPaintersUnit.h"

#include <vector>

namespace {

class ExtendedPainterTest : public PainterCanvasTest {};

// Counts its frees.
class TCountedData : public rtl::TObject {
    RTL_CLASS(TCountedData, rtl::TObject)
    explicit TCountedData(int* frees) : frees_(frees) {}
    ~TCountedData() override { ++*frees_; }

private:
    int* frees_;
};

struct Listener : IcxLookAndFeelPainterListener {
    std::vector<TcxCustomLookAndFeelPainterClass> told;
    void PainterChanged(TcxCustomLookAndFeelPainterClass painter) override { told.push_back(painter); }
};

} // namespace

TEST_F(ExtendedPainterTest, RegistryIsSortedCaseInsensitiveAndOwnsItsData)
{
    TcxExtendedStylePainters* painters = GetExtendedStylePainters();
    ASSERT_NE(painters, nullptr);
    Listener listener;
    painters->AddListener(&listener);
    painters->AddListener(&listener);
    int frees = 0;
    auto* zData = new TCountedData(&frees);
    EXPECT_TRUE(painters->Register("Zeta", TcxFlatLookAndFeelPainter::Class(), zData));
    EXPECT_TRUE(painters->Register("Alpha", TcxStandardLookAndFeelPainter::Class(), nullptr));
    EXPECT_EQ(painters->GetName(0), "Alpha");
    EXPECT_EQ(listener.told.size(), 2u);

    TCountedData keep(&frees);
    EXPECT_FALSE(painters->Register("ZETA", TcxOffice11LookAndFeelPainter::Class(), &keep));
    EXPECT_EQ(painters->Count(), 2);
    TcxCustomLookAndFeelPainterClass found = nullptr;
    EXPECT_TRUE(painters->GetPainterByName("ZETA", found));
    EXPECT_EQ(found, TcxFlatLookAndFeelPainter::Class());
    std::string name;
    EXPECT_TRUE(painters->GetNameByPainter(TcxFlatLookAndFeelPainter::Class(), name));
    EXPECT_EQ(name, "Zeta");
    rtl::TObject* data = nullptr;
    EXPECT_TRUE(painters->GetPainterData(TcxFlatLookAndFeelPainter::Class(), data));
    EXPECT_EQ(data, zData);
    EXPECT_FALSE(painters->GetNameByPainter(TcxWinXPLookAndFeelPainter::Class(), name));
    EXPECT_TRUE(name.empty());

    EXPECT_TRUE(painters->Unregister("zeta"));
    EXPECT_EQ(frees, 1);
    EXPECT_FALSE(painters->Unregister("zeta"));
    EXPECT_EQ(listener.told.size(), 3u);
    EXPECT_THROW(painters->GetItem(5), rtl::EListError);
    painters->RemoveListener(&listener);
}

TEST_F(ExtendedPainterTest, UnitStartUpAndShutDown)
{
    ASSERT_NE(cxScrollBarPageBitmap(0), nullptr);
    EXPECT_EQ(cxScrollBarPageBitmap(0)->Canvas()->GetPixel(0, 0), ColorToRGB(clBtnFace));
    EXPECT_EQ(cxScrollBarPageBitmap(0)->Canvas()->GetPixel(1, 0), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(cxScrollBarPageBitmap(1)->Canvas()->GetPixel(0, 0), ColorToRGB(clBlack));
    EXPECT_EQ(cxScrollBarPageBitmap(1)->Canvas()->GetPixel(0, 1), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(GetCurrentPainterClass(), TcxUltraFlatLookAndFeelPainter::Class());
    EXPECT_EQ(cxTextRect({0, 0, 10, 10}), (TRect{2, 2, 8, 8}));

    // A nested start-up changes nothing; the last shut-down frees the list and its data.
    cxLookAndFeelPaintersUnit::Initialize();
    int frees = 0;
    GetExtendedStylePainters()->Register("Skin", TcxFlatLookAndFeelPainter::Class(), new TCountedData(&frees));
    cxLookAndFeelPaintersUnit::Finalize();
    EXPECT_NE(GetExtendedStylePainters(), nullptr);
    cxLookAndFeelPaintersUnit::Finalize();
    EXPECT_EQ(GetExtendedStylePainters(), nullptr);
    EXPECT_EQ(cxScrollBarPageBitmap(0), nullptr);
    EXPECT_EQ(frees, 1);
    cxLookAndFeelPaintersUnit::Initialize(); // for TearDown
}

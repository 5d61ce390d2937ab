#include "toolkit/core/cxLookAndFeels.h"

#include "platform/rtl/Filer.h"
#include "platform/rtl/TypInfo.h"
#include "platform/vcl/MessageQueue.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Units {
    Units()
    {
        cxLookAndFeelPaintersUnit::Initialize();
        cxLookAndFeelsUnit::Initialize();
    }
    ~Units()
    {
        cxLookAndFeelsUnit::Finalize();
        cxLookAndFeelPaintersUnit::Finalize();
    }
};

// A look and feel that records the value sets of its change events.
struct Recorder {
    TcxLookAndFeel lf{nullptr};
    std::vector<TcxLookAndFeelValues> changes;
    Recorder()
    {
        lf.OnChanged = TcxLookAndFeelChangedEvent(
            [this](TcxLookAndFeel*, TcxLookAndFeelValues values) { changes.push_back(values); });
    }
};

class LookAndFeelTest : public ::testing::Test {
protected:
    Units units;
};

} // namespace

TEST_F(LookAndFeelTest, NewLookAndFeelInheritsTheRootDefaults)
{
    ASSERT_NE(RootLookAndFeel(), nullptr);
    TcxLookAndFeel lf(nullptr);
    EXPECT_EQ(lf.GetKind(), lfUltraFlat);
    EXPECT_FALSE(lf.GetNativeStyle());
    EXPECT_TRUE(lf.GetSkinName().empty());
    EXPECT_EQ(lf.GetPainter(), TcxUltraFlatLookAndFeelPainter::Class());
    EXPECT_EQ(lf.GetMasterLookAndFeel(), RootLookAndFeel());
    EXPECT_EQ(RootLookAndFeel()->GetMasterLookAndFeel(), nullptr);
}

TEST_F(LookAndFeelTest, RootChangesStopWhereAValueIsAssigned)
{
    Recorder inheriting, assigning;
    assigning.lf.SetKind(lfStandard);
    assigning.changes.clear();
    RootLookAndFeel()->SetKind(lfFlat);
    EXPECT_EQ(inheriting.lf.GetKind(), lfFlat);
    EXPECT_EQ(inheriting.lf.GetPainter(), TcxFlatLookAndFeelPainter::Class());
    ASSERT_EQ(inheriting.changes.size(), 1u);
    EXPECT_EQ(inheriting.changes[0], TcxLookAndFeelValues{lfvKind});
    EXPECT_TRUE(assigning.changes.empty());
    EXPECT_EQ(assigning.lf.GetKind(), lfStandard);
}

TEST_F(LookAndFeelTest, ChainPassesOnlyValuesNobodyAssigned)
{
    TcxLookAndFeel b(nullptr);
    Recorder a;
    a.lf.SetMasterLookAndFeel(&b);
    b.SetNativeStyle(false); // assigned on B, no change
    a.changes.clear();
    RootLookAndFeel()->SetStyle(lfsOffice11); // kind and (unchanged) native style
    RootLookAndFeel()->SetNativeStyle(true);
    // The kind travels to A; the native style stops at B.
    EXPECT_EQ(a.lf.GetKind(), lfOffice11);
    EXPECT_FALSE(a.lf.GetNativeStyle());
    ASSERT_EQ(a.changes.size(), 1u);
    EXPECT_EQ(a.changes[0], TcxLookAndFeelValues{lfvKind});
    EXPECT_EQ(a.lf.GetPainter(), TcxOffice11LookAndFeelPainter::Class());
}

TEST_F(LookAndFeelTest, AssigningTheInheritedValueIsSilentButStored)
{
    Recorder r;
    r.lf.SetKind(lfUltraFlat);
    EXPECT_TRUE(r.changes.empty());
    EXPECT_TRUE(r.lf.IsKindStored());
    r.lf.Reset();
    EXPECT_TRUE(r.changes.empty());
    EXPECT_FALSE(r.lf.IsKindStored());
    r.lf.SetKind(lfStandard);
    ASSERT_EQ(r.changes.size(), 1u);
    EXPECT_EQ(r.lf.GetPainter(), TcxStandardLookAndFeelPainter::Class());
    r.lf.Reset();
    EXPECT_EQ(r.lf.GetKind(), lfUltraFlat);
    EXPECT_EQ(r.changes.size(), 2u);
}

TEST_F(LookAndFeelTest, NativeStyleWithoutThemesKeepsTheKindsPainter)
{
    TcxLookAndFeel lf(nullptr);
    lf.SetKind(lfFlat);
    lf.SetNativeStyle(true);
    EXPECT_TRUE(lf.GetNativeStyle());
    EXPECT_EQ(lf.GetPainter(), TcxFlatLookAndFeelPainter::Class());
    EXPECT_EQ(lf.GetActiveStyle(), lfsFlat);
    lf.SetStyle(lfsNative);
    EXPECT_EQ(lf.GetKind(), lfFlat);
    lf.SetStyle(lfsOffice11);
    EXPECT_FALSE(lf.GetNativeStyle());
    EXPECT_EQ(lf.GetKind(), lfOffice11);
}

TEST_F(LookAndFeelTest, SkinPainterFollowsRegistrationUnlessNativeStyle)
{
    Recorder r;
    r.lf.SetSkinName("Blue");
    EXPECT_EQ(r.lf.GetPainter(), TcxUltraFlatLookAndFeelPainter::Class()); // nobody bears the name
    r.changes.clear();
    GetExtendedStylePainters()->Register("blue", TcxStandardLookAndFeelPainter::Class(), nullptr);
    // Not yet a painter listener: it had no skin painter. Refresh picks the painter up.
    r.lf.Refresh();
    EXPECT_EQ(r.lf.GetPainter(), TcxStandardLookAndFeelPainter::Class());
    // Now it listens: removing the painter drops it at once.
    GetExtendedStylePainters()->Unregister("Blue");
    EXPECT_EQ(r.lf.GetPainter(), TcxUltraFlatLookAndFeelPainter::Class());
    GetExtendedStylePainters()->Register("Blue", TcxStandardLookAndFeelPainter::Class(), nullptr);
    r.lf.Refresh();
    r.lf.SetNativeStyle(true);
    EXPECT_EQ(r.lf.SkinPainter(), nullptr);
    EXPECT_EQ(r.lf.GetPainter(), TcxUltraFlatLookAndFeelPainter::Class());
}

TEST_F(LookAndFeelTest, MasterRulesAndDestroyingAMaster)
{
    Recorder a;
    a.lf.SetMasterLookAndFeel(&a.lf);
    a.lf.SetMasterLookAndFeel(RootLookAndFeel());
    EXPECT_TRUE(a.changes.empty());
    auto* master = new TcxLookAndFeel(nullptr);
    master->SetKind(lfStandard);
    a.lf.SetMasterLookAndFeel(master);
    EXPECT_EQ(a.lf.GetKind(), lfStandard);
    ASSERT_EQ(a.changes.size(), 1u);
    master->Free();
    EXPECT_EQ(a.lf.GetMasterLookAndFeel(), RootLookAndFeel());
    EXPECT_EQ(a.lf.GetKind(), lfUltraFlat);
    ASSERT_EQ(a.changes.size(), 2u);
    EXPECT_EQ(a.changes[1], TcxLookAndFeelValues{lfvKind});
}

TEST_F(LookAndFeelTest, AssignCopiesAssignedValuesAndRejectsOtherSources)
{
    TcxLookAndFeel source(nullptr), target(nullptr);
    source.SetKind(lfOffice11);
    target.Assign(&source);
    EXPECT_EQ(target.GetKind(), lfOffice11);
    EXPECT_TRUE(target.IsKindStored());
    rtl::TPersistent other;
    EXPECT_THROW(target.Assign(&other), rtl::EConvertError);
}

TEST_F(LookAndFeelTest, LastControllerResetsTheRoot)
{
    auto* first = new TcxLookAndFeelController(nullptr);
    auto* second = new TcxLookAndFeelController(nullptr);
    first->SetKind(lfStandard);
    EXPECT_EQ(second->GetKind(), lfStandard);
    first->Free();
    EXPECT_EQ(RootLookAndFeel()->GetKind(), lfStandard);
    second->Free();
    EXPECT_EQ(RootLookAndFeel()->GetKind(), lfUltraFlat);
    EXPECT_FALSE(RootLookAndFeel()->IsKindStored());
    // A look and feel that is not the root never takes a controller.
    TcxLookAndFeel lf(nullptr);
    TcxLookAndFeelController controller(nullptr);
    lf.AddChangeListener(&controller);
    EXPECT_EQ(lf.ChangeListenerCount(), 0);
}

TEST_F(LookAndFeelTest, SystemColourChangeReachesEveryLookAndFeelAsNativeStyle)
{
    Recorder a, b;
    b.lf.SetNativeStyle(false);
    ASSERT_NE(cxSystemPaletteListenerWindow(), nullptr);
    vcl::SendMessage(cxSystemPaletteListenerWindow(), WM_SYSCOLORCHANGE);
    // Each is told by its own notifier; one that inherits the native style hears the root too.
    EXPECT_EQ(a.changes.size(), 2u);
    ASSERT_EQ(b.changes.size(), 1u);
    for (const auto& values : a.changes)
        EXPECT_EQ(values, TcxLookAndFeelValues{lfvNativeStyle});
}

namespace {

// A control's stored form in miniature: a component publishing its look and feel.
class TStyledComponent : public rtl::TComponent {
    RTL_CLASS(TStyledComponent, rtl::TComponent)
    TStyledComponent() : rtl::TComponent(nullptr) {}
    TcxLookAndFeel* LookAndFeel() const { return lookAndFeel_.get(); }

private:
    std::unique_ptr<TcxLookAndFeel> lookAndFeel_ = std::make_unique<TcxLookAndFeel>(this);
};
const bool styledRegistered = [] {
    rtl::RegisterPublishedProperties(
        TStyledComponent::StaticClass(),
        {rtl::PublishedObjectProp<TStyledComponent, TcxLookAndFeel>("LookAndFeel", &TStyledComponent::LookAndFeel)});
    return true;
}();

std::string Stored(rtl::TComponent* component)
{
    rtl::TMemoryStream stream;
    stream.WriteComponent(component);
    return std::string(reinterpret_cast<const char*>(stream.Memory()), size_t(stream.Size()));
}

} // namespace

// Only the assigned values are stored, so a control that never chose a kind keeps following its
// master after it is read back; an assigned empty skin name survives too.
TEST_F(LookAndFeelTest, AStoredFormKeepsOnlyTheAssignedValues)
{
    TStyledComponent source;
    EXPECT_EQ(Stored(&source).find("LookAndFeel."), std::string::npos);
    source.LookAndFeel()->SetKind(lfOffice11);
    source.LookAndFeel()->SetSkinName("");
    const std::string bytes = Stored(&source);
    EXPECT_NE(bytes.find("LookAndFeel.Kind"), std::string::npos);
    EXPECT_NE(bytes.find("lfOffice11"), std::string::npos);
    EXPECT_EQ(bytes.find("LookAndFeel.NativeStyle"), std::string::npos);
    EXPECT_EQ(bytes.find("LookAndFeel.AssignedValues"), std::string::npos);

    TStyledComponent target;
    rtl::TMemoryStream stream(std::vector<Byte>(bytes.begin(), bytes.end()));
    stream.ReadComponent(&target);
    EXPECT_EQ(target.LookAndFeel()->GetKind(), lfOffice11);
    EXPECT_TRUE(target.LookAndFeel()->IsKindStored());
    EXPECT_TRUE(target.LookAndFeel()->IsSkinNameStored());
    EXPECT_FALSE(target.LookAndFeel()->IsNativeStyleStored());
    RootLookAndFeel()->SetNativeStyle(true);   // not assigned: still follows the root
    EXPECT_TRUE(target.LookAndFeel()->GetNativeStyle());
    RootLookAndFeel()->SetNativeStyle(false);

    // An unknown kind name is refused.
    std::string damaged = bytes;
    damaged.replace(damaged.find("lfOffice11"), 10, "lfOffice99");
    TStyledComponent refused;
    rtl::TMemoryStream bad(std::vector<Byte>(damaged.begin(), damaged.end()));
    EXPECT_THROW(bad.ReadComponent(&refused), rtl::EReadError);
}

// The button editor: one default ellipsis button, stored buttons replacing it, the buttons-only
// view and the registration.
#include "tests/platform/vcl/VclTestSupport.h"

#include "platform/rtl/Filer.h"
#include "platform/rtl/Streams.h"
#include "toolkit/core/cxLookAndFeelPainters.h"
#include "toolkit/core/cxLookAndFeels.h"
#include "toolkit/editors/cxButtonEdit.h"
#include "toolkit/editors/cxEditConsts.h"
#include "toolkit/editors/cxEditUtils.h"

#include <gtest/gtest.h>

using namespace cx;

namespace {

class ButtonEditTest : public ::testing::Test, public VclFixture {
protected:
    void SetUp() override
    {
        cxLookAndFeelPaintersUnit::Initialize();
        cxLookAndFeelsUnit::Initialize();
        cxEditConstsUnit::Initialize();
        cxEditUnit::Initialize();
        cxEditPaintUtilsUnit::Initialize();
        cxButtonEditUnit::Initialize();
        form = new TForm(nullptr);
        form->SetBounds(100, 100, 320, 200);
        edit = new TcxButtonEdit(form);
        edit->SetParent(form);
        edit->SetBounds(10, 10, 150, 24);
        ASSERT_TRUE(Activate(form));
    }
    void TearDown() override
    {
        form->Free();
        cxButtonEditUnit::Finalize();
        cxEditPaintUtilsUnit::Finalize();
        cxEditUnit::Finalize();
        cxEditConstsUnit::Finalize();
        cxClearResourceStrings();
        cxLookAndFeelsUnit::Finalize();
        cxLookAndFeelPaintersUnit::Finalize();
    }
    TForm* form = nullptr;
    TcxButtonEdit* edit = nullptr;
};

TEST_F(ButtonEditTest, ANewEditorHasOneDefaultEllipsisButtonThatStoredButtonsReplace)
{
    ASSERT_EQ(edit->Properties()->Buttons()->Count(), 1);
    EXPECT_EQ(edit->Properties()->Buttons()->Items(0)->Kind(), bkEllipsis);
    EXPECT_TRUE(edit->Properties()->Buttons()->Items(0)->Default());
    ASSERT_EQ(edit->EditViewInfo()->ButtonCount(), 1);

    // Loading: the default goes before the first state is read, the stored ones stay.
    TMemoryStream stream;
    {
        TWriter writer(&stream, 16);
        writer.WriteListEnd();
    }
    stream.SetPosition(0);
    TReader reader(&stream, 16);
    edit->ReadState(&reader);
    EXPECT_EQ(edit->Properties()->Buttons()->Count(), 0);
    edit->Properties()->Buttons()->Add()->SetKind(bkDown);
    edit->Properties()->Buttons()->Add()->SetKind(bkText);
    stream.SetPosition(0);
    edit->ReadState(&reader);
    ASSERT_EQ(edit->Properties()->Buttons()->Count(), 2);
    EXPECT_EQ(edit->Properties()->Buttons()->Items(0)->Kind(), bkDown);
    EXPECT_EQ(edit->EditViewInfo()->ButtonCount(), 2);
}

TEST_F(ButtonEditTest, ButtonsOnlyHidesTheCursorAndTheKindIsRegistered)
{
    edit->Properties()->SetViewStyle(vsButtonsOnly);
    EXPECT_TRUE(edit->Properties()->HideCursor());
    EXPECT_EQ(edit->Properties()->GetEditingStyle(), esNoEdit);
    EXPECT_TRUE(bool(FindRegisteredEditPropertiesClass("TcxButtonEditProperties")));
    EXPECT_EQ(std::string(edit->Properties()->GetContainerClass()->ClassName()), "TcxButtonEdit");
    EXPECT_EQ(FilterEditsController()->FindHelper(TcxCustomEditPropertiesClass::Of<TcxButtonEditProperties>().Meta()),
              nullptr);
    EXPECT_EQ(edit->InternalGetNotPublishedStyleValues() & cxStyleValue(svButtonStyle), 0u);
}

} // namespace

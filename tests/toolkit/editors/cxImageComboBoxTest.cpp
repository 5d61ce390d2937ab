// The image combo box: what a value shows (matching item, default, numbers by value), the editor's
// layout with its image, new items taking the next image, and a choice from the open list.
#include "tests/platform/vcl/VclTestSupport.h"

#include "platform/rtl/Unicode.h"
#include "platform/vcl/EditBox.h"
#include "platform/vcl/Graphics.h"
#include "toolkit/core/cxLookAndFeelPainters.h"
#include "toolkit/core/cxLookAndFeels.h"
#include "toolkit/editors/cxEditConsts.h"
#include "toolkit/editors/cxEditUtils.h"
#include "toolkit/editors/cxImageComboBox.h"

#include <QTest>

#include <gtest/gtest.h>

using namespace cx;

namespace {

class ImageComboBoxTest : public ::testing::Test, public VclFixture {
protected:
    void SetUp() override
    {
        cxLookAndFeelPaintersUnit::Initialize();
        cxLookAndFeelsUnit::Initialize();
        cxEditConstsUnit::Initialize();
        cxEditUnit::Initialize();
        cxEditPaintUtilsUnit::Initialize();
        cxTextEditUnit::Initialize();
        cxImageComboBoxUnit::Initialize();
        form = new TForm(nullptr);
        form->SetBounds(100, 100, 320, 200);
        images = new TCustomImageList(form);
        images->SetWidth(12);
        images->SetHeight(12);
        for (TColor c : {clRed, clGreen, clBlue}) {
            TBitmap b;
            b.SetSize(12, 12);
            b.Canvas()->Brush()->SetColor(c);
            b.Canvas()->FillRect({0, 0, 12, 12});
            images->Add(&b, nullptr);
        }
        edit = new TcxImageComboBox(form);
        edit->SetParent(form);
        edit->SetBounds(10, 10, 160, 24);
        p = edit->Properties();
        p->SetImages(images);
        for (auto [value, text] : {std::pair{1, "one"}, std::pair{2, "two"}, std::pair{3, "three"}}) {
            TcxImageComboBoxItem* item = p->Items()->Add();
            item->SetValue(Variant(value));
            item->SetDescription(text);
        }
    }
    void TearDown() override
    {
        form->Free();
        cxImageComboBoxUnit::Finalize();
        cxTextEditUnit::Finalize();
        cxEditPaintUtilsUnit::Finalize();
        cxEditUnit::Finalize();
        cxEditConstsUnit::Finalize();
        cxClearResourceStrings();
        cxLookAndFeelsUnit::Finalize();
        cxLookAndFeelPaintersUnit::Finalize();
    }
    TcxImageComboBoxViewInfo* ViewInfo() { return static_cast<TcxImageComboBoxViewInfo*>(edit->EditViewInfo()); }
    TForm* form = nullptr;
    TCustomImageList* images = nullptr;
    TcxImageComboBox* edit = nullptr;
    TcxImageComboBoxProperties* p = nullptr;
};

TEST_F(ImageComboBoxTest, WhatAValueShows)
{
    p->SetDefaultDescription("(none)");
    p->SetDefaultImageIndex(2);
    struct Row {
        const char* name;
        Variant value;
        std::string text;
        int image;
    };
    const Row rows[] = {
        {"an integer item", Variant(2), "two", 1},
        {"a float finds the integer item", Variant(1.0), "one", 0},
        {"no item: the defaults", Variant(7), "(none)", 2},
        {"null: the defaults", Variant::MakeNull(), "(none)", 2},
    };
    for (const Row& r : rows) {
        std::string text;
        int image = -9;
        p->GetImageComboBoxDisplayValue(r.value, text, image);
        EXPECT_EQ(text, r.text) << r.name;
        EXPECT_EQ(image, r.image) << r.name;
        EXPECT_EQ(Utf16ToUtf8(p->GetDisplayText(r.value)), r.text) << r.name;
    }
    // On the editor the value's item and image are shown.
    edit->SetEditValue(Variant(1.0));
    EXPECT_EQ(edit->Text(), "one");
    EXPECT_EQ(edit->ItemIndex(), 0);
    edit->SetEditValue(Variant(9));
    EXPECT_EQ(edit->Text(), "(none)");
    EXPECT_EQ(edit->ItemIndex(), -1);
    p->SetDefaultImageIndex(-1);
    std::string text;
    int image = 0;
    p->GetImageComboBoxDisplayValue(Variant(9), text, image);
    EXPECT_EQ(image, -1);
}

TEST_F(ImageComboBoxTest, NewItemsTakeTheNextImageWhileThereIsOne)
{
    // Three images, three items made above: 0, 1, 2; a fourth gets none.
    EXPECT_EQ(p->Items()->Items(0)->ImageIndex(), 0);
    EXPECT_EQ(p->Items()->Items(2)->ImageIndex(), 2);
    EXPECT_EQ(p->Items()->Add()->ImageIndex(), -1);
}

TEST_F(ImageComboBoxTest, LayoutWithTheImage)
{
    ASSERT_TRUE(Activate(form));
    edit->SetEditValue(Variant(2));
    edit->Invalidate();
    SpinUntil([] { return false; }, 20);
    TcxImageComboBoxViewInfo* vi = ViewInfo();
    EXPECT_EQ(vi->ImageIndex, 1);
    EXPECT_EQ(vi->ImageRect.Width(), 12);
    EXPECT_GE(vi->TextRect.Left, vi->ImageRect.Right + 2);   // text right of the image

    p->SetImageAlign(iaRight);
    SpinUntil([] { return false; }, 20);
    EXPECT_LE(vi->TextRect.Right, vi->ImageRect.Left - 2);

    // Without descriptions: the image centred, no text, typed text finds nothing.
    p->SetShowDescriptions(false);
    SpinUntil([] { return false; }, 20);
    const TRect c = vi->ClientRect;
    EXPECT_NEAR((vi->ImageRect.Left + vi->ImageRect.Right) / 2, (c.Left + c.Right) / 2, 2);
    EXPECT_TRUE(vi->Text.empty());
    EXPECT_FALSE(p->FindLookupText("two"));

    // An image wider than the client area leaves no room for the text.
    p->SetShowDescriptions(true);
    images->SetWidth(400);
    SpinUntil([] { return false; }, 20);
    EXPECT_EQ(vi->TextRect.Width(), 0);
}

// On the screen the item's image shows whole, the field (where one shows) right of it.
TEST_F(ImageComboBoxTest, TheImageShowsBesideTheField)
{
    ASSERT_TRUE(Activate(form));
    edit->SetEditValue(Variant(2));   // the green image
    for (TcxEditDropDownListStyle style : {lsFixedList, lsEditList}) {
        SCOPED_TRACE(style);
        p->SetDropDownListStyle(style);
        edit->SetFocus();
        SpinUntil([] { return false; }, 20);
        const QImage shot = edit->Peer()->grab().toImage();
        const TRect image = ViewInfo()->ImageRect;
        const TRect field = edit->InnerEdit()->GetControl()->BoundsRect();
        int green = 0;
        for (int y = image.Top; y < image.Bottom; ++y)
            for (int x = image.Left; x < image.Right; ++x)
                green += (shot.pixel(x, y) & 0xFFFFFF) == 0x008000;
        EXPECT_EQ(green, image.Width() * image.Height());
        EXPECT_GE(field.Left, image.Right);
    }
}

TEST_F(ImageComboBoxTest, AChoiceFromTheListSetsTheItemsValue)
{
    ASSERT_TRUE(Activate(form));
    edit->InnerTextEditControl()->SetFocus();
    ASSERT_TRUE(SpinUntil([&] { return edit->InnerTextEditControl()->Focused(); }, 500));
    QWidget* field = edit->InnerTextEditControl()->Box()->Widget();
    auto key = [&](Qt::Key k) {
        QTest::sendKeyEvent(QTest::Click, field, k, QString(), Qt::NoModifier);
        SpinUntil([] { return false; }, 20);
    };
    key(Qt::Key_F4);
    ASSERT_TRUE(SpinUntil([&] { return edit->DroppedDown(); }, 500));
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    key(Qt::Key_Return);
    EXPECT_FALSE(edit->DroppedDown());
    EXPECT_EQ(VarToStr(edit->EditValue()), "2");
    EXPECT_EQ(edit->Text(), "two");
    EXPECT_EQ(GetRegisteredEditProperties()->GetDescriptionByClass(&TcxImageComboBoxProperties::StaticClass()),
              "ImageComboBox");
}

} // namespace

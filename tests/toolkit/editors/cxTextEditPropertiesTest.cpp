// The text editor's settings and its painted view: conversions, echo and case, bounds, lookup
// validity, thousand separators, measuring, offsets, the row cache and a painted selection.
#include "tests/toolkit/editors/EditViewTestSupport.h"
#include "tests/common/TestPictures.h"

#include "platform/rtl/Locale.h"
#include "platform/rtl/Unicode.h"
#include "toolkit/editors/cxFilterControlUtils.h"
#include "toolkit/editors/cxTextEdit.h"

#include <QImage>

namespace {

class TextPropertiesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        cxEditConstsUnit::Initialize();
        cxEditUnit::Initialize();
        cxTextEditUnit::Initialize();
        p = std::make_unique<TcxTextEditProperties>(nullptr);
    }
    void TearDown() override
    {
        p.reset();
        cxTextEditUnit::Finalize();
        cxEditUnit::Finalize();
        cxEditConstsUnit::Finalize();
        cxClearResourceStrings();
    }
    std::string Shown(const Variant& v) { return Utf16ToUtf8(p->GetDisplayText(v)); }
    std::unique_ptr<TcxTextEditProperties> p;
};

// A numeric kind, as the currency and spin editors are.
class NumericProperties : public TcxTextEditProperties {
    RTL_CLASS(NumericProperties, TcxTextEditProperties)
    using TcxTextEditProperties::TcxTextEditProperties;
    bool IsEditValueNumeric() override { return true; }
    bool HasDigitGrouping(bool) override { return grouping; }
    bool grouping = false;
};

TEST_F(TextPropertiesTest, DisplayTextAppliesEchoAndCase)
{
    struct Case {
        TcxEditEchoMode echo;
        char16_t password;
        TEditCharCase charCase;
        std::string value, shown;
    } cases[] = {
        {eemNormal, 0, ecNormal, "Meter", "Meter"},
        {eemNormal, 0, ecUpperCase, "Meter", "METER"},
        {eemNormal, 0, ecLowerCase, "Meter", "meter"},
        {eemPassword, 0, ecNormal, "电表ab", "****"},
        {eemPassword, u'#', ecUpperCase, "abc", "###"},
        {eemPassword, 0, ecNormal, "", ""},
    };
    for (const Case& c : cases) {
        p->SetEchoMode(c.echo);
        p->SetPasswordChar(c.password);
        p->SetCharCase(c.charCase);
        EXPECT_EQ(Shown(Variant(c.value)), c.shown) << c.value;
    }
}

TEST_F(TextPropertiesTest, NumericValuesFormatAndAConversionFailureStillPaints)
{
    NumericProperties n(nullptr);
    Variant dv;
    n.PrepareDisplayValue(Variant(Null), dv, true);
    EXPECT_EQ(VarToStr(dv), "");
    n.PrepareDisplayValue(Variant(1234567.5), dv, true);
    EXPECT_EQ(VarToStr(dv), "1234567.5");
    n.grouping = true;
    n.PrepareDisplayValue(Variant(1234567.5), dv, true);
    EXPECT_EQ(VarToStr(dv), "1,234,567.5");
    n.SetDisplayFormat("0.00");
    n.PrepareDisplayValue(Variant(3.14159), dv, false);
    EXPECT_EQ(VarToStr(dv), "3.14");
    // An array is no number: conversion raises, the painted text is empty instead.
    const Variant bad = Variant::ArrayOf({Variant(1)});
    EXPECT_THROW(n.PrepareDisplayValue(bad, dv, true), EConvertError);
    EXPECT_EQ(n.GetDisplayText(bad), u"");
}

TEST_F(TextPropertiesTest, MaxLengthClampsAndFollowsTheDataUntilAssigned)
{
    EXPECT_FALSE(p->AssignedValues()->MaxLength());
    EXPECT_EQ(p->MaxLength(), 0);
    int changes = 0;
    p->OnPropertiesChanged = [&](TObject*) { ++changes; };
    p->SetMaxLength(-5);
    EXPECT_TRUE(p->AssignedValues()->MaxLength());
    EXPECT_EQ(p->MaxLength(), 0);
    EXPECT_GE(changes, 1);
    p->SetMaxLength(7);
    EXPECT_EQ(p->GetInnerEditMaxLength(), 7);
}

TEST_F(TextPropertiesTest, BoundsAreCheckedOnlyWhereDefined)
{
    struct Case {
        bool minFlag, maxFlag;
        double min, max;
        bool minDefined, maxDefined;
    } cases[] = {
        {false, false, 0, 0, false, false},
        {false, true, 0, 10, false, true},
        {true, false, 5, 0, true, false},
        {true, true, 1, 9, true, true},
        {true, true, 9, 1, false, false},
    };
    for (const Case& c : cases) {
        TcxTextEditProperties q(nullptr);
        if (c.minFlag)
            q.SetMinValue(c.min);
        if (c.maxFlag)
            q.SetMaxValue(c.max);
        EXPECT_EQ(q.IsValueBoundDefined(evbMin), c.minDefined) << c.min << " " << c.max;
        EXPECT_EQ(q.IsValueBoundDefined(evbMax), c.maxDefined) << c.min << " " << c.max;
    }
    NumericProperties n(nullptr);
    n.SetMaxValue(10);
    Variant v(12);
    std::string error;
    bool failed = false;
    n.CheckEditorValueBounds(v, error, failed, nullptr);
    EXPECT_TRUE(failed);
    EXPECT_EQ(error, "Value out of bounds");
    v = Variant(-100);
    failed = false;
    n.CheckEditorValueBounds(v, error, failed, nullptr);
    EXPECT_FALSE(failed);
}

// The list style accepts only the items; the value takes the case rule.
class FixedListProperties : public TcxTextEditProperties {
    RTL_CLASS(FixedListProperties, TcxTextEditProperties)
    using TcxTextEditProperties::TcxTextEditProperties;
    TcxEditEditingStyle GetEditingStyle() const override { return esFixedList; }
};

TEST_F(TextPropertiesTest, AFixedListTakesOnlyItsItemsAndTheEmptyText)
{
    FixedListProperties f(nullptr);
    f.SetLookupItems({"Apple", "Avocado"});
    f.SetCharCase(ecUpperCase);
    Variant v("avocado");
    EXPECT_TRUE(f.IsDisplayValueValid(v, true));
    EXPECT_EQ(VarToStr(v), "AVOCADO");
    v = Variant("Banana");
    EXPECT_FALSE(f.IsDisplayValueValid(v, true));
    v = Variant("");
    EXPECT_TRUE(f.IsDisplayValueValid(v, true));
}

TEST_F(TextPropertiesTest, ThousandSeparatorsKeepSignBlanksAndExponent)
{
    struct Case {
        std::string in, out;
    } cases[] = {
        {"1234567.5", "1,234,567.5"}, {"-123", "-123"},         {"  12345e3 ", "  12,345e3 "},
        {"1,2,3456", "123,456"},      {"999", "999"},           {"-1000", "-1,000"},
    };
    for (const Case& c : cases) {
        std::string s = c.in;
        InsertThousandSeparator(s);
        EXPECT_EQ(s, c.out) << c.in;
    }
    std::string s = "1.5E-7", exponent;
    RemoveExponentialPart(s, exponent);
    EXPECT_EQ(s, "1.5");
    EXPECT_EQ(exponent, "E-7");
}

TEST_F(TextPropertiesTest, ViewStyleDrivesTheEditingStyleAndReadsBack)
{
    p->SetViewStyle(vsHideCursor);
    EXPECT_EQ(p->GetEditingStyle(), esNoEdit);
    EXPECT_EQ(p->ViewStyle(), vsHideCursor);
    p->SetViewStyle(vsButtonsOnly);
    EXPECT_EQ(p->ViewStyle(), vsButtonsOnly);
    p->SetViewStyle(vsNormal);
    EXPECT_EQ(p->GetEditingStyle(), esEdit);
}

TEST_F(TextPropertiesTest, AssignCopiesOnlyAssignedFormatsAndTheItems)
{
    TcxTextEditProperties source(nullptr);
    source.SetEditFormat("0.0");
    source.SetLookupItems({"b", "a"});
    source.SetEchoMode(eemPassword);
    p->SetDisplayFormat("old");
    p->Assign(&source);
    EXPECT_FALSE(p->AssignedValues()->DisplayFormat());
    EXPECT_TRUE(p->AssignedValues()->EditFormat());
    EXPECT_EQ(p->EditFormat(), "0.0");
    EXPECT_EQ(p->LookupItems(), (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(p->EchoMode(), eemPassword);
}

TEST_F(TextPropertiesTest, TheKindIsRegisteredByNameWithItsFilterHelper)
{
    EXPECT_TRUE(bool(FindRegisteredEditPropertiesClass("TcxTextEditProperties")));
    EXPECT_EQ(FilterEditsController()->FindHelper(TcxCustomEditPropertiesClass::Of<TcxTextEditProperties>().Meta()),
              TcxCustomFilterEditHelper::Of<TcxFilterTextEditHelper>());
    EXPECT_EQ(std::string(p->GetContainerClass()->ClassName()), "TcxTextEdit");
}

// ---- the painted view ---------------------------------------------------------------------------

class TextViewTest : public EditViewTest {
protected:
    void SetUp() override
    {
        EditViewTest::SetUp();
        properties = std::make_unique<TcxTextEditProperties>(nullptr);
        viewInfo = std::make_unique<TcxCustomTextEditViewInfo>();
        style->SetBorderStyle(ebsNone);
    }
    TcxCustomTextEditViewData* Data(bool inplace = false)
    {
        return static_cast<TcxCustomTextEditViewData*>(MakeViewData(inplace));
    }
    TcxCustomTextEditViewInfo* Info() { return static_cast<TcxCustomTextEditViewInfo*>(viewInfo.get()); }
    TcxTextEditProperties* Props() { return static_cast<TcxTextEditProperties*>(properties.get()); }
};

TEST_F(TextViewTest, ContentSizeOfEmptyAndNarrowCells)
{
    TcxCustomTextEditViewData* d = Data(true);
    TcxEditSizeProperties size = DefaultcxEditSizeProperties;
    size.Width = 40;
    d->PaintOptionsBase = TcxEditPaintOptions{epoAllowZeroHeight};
    EXPECT_EQ(GetTextEditContentSize(canvas.get(), d, "", d->GetDrawTextFlags(), size, 0, false).cy, 0);
    d->PaintOptionsBase = {};
    // A line of text and the content offsets above and below it.
    const int line = canvas->TextHeight("Zg") + d->GetEditContentSizeCorrection().cy;
    EXPECT_EQ(GetTextEditContentSize(canvas.get(), d, "", d->GetDrawTextFlags(), size, 0, false).cy, line);
    size.Width = 2;
    const TSize narrow = GetTextEditContentSize(canvas.get(), d, "abc", d->GetDrawTextFlags(), size, 0, false);
    EXPECT_EQ(narrow.cx, 0);
    EXPECT_EQ(narrow.cy, line);
}

TEST_F(TextViewTest, AStandaloneFixedListSitsOnePixelLower)
{
    FixedListProperties* fixed = new FixedListProperties(nullptr);
    properties.reset(fixed);
    const TRect inplace = GetTextEditDrawTextOffset(Data(true));
    EXPECT_EQ(inplace, EditContentDefaultOffsets[1]);
    const TRect plain = EditContentDefaultOffsets[0];
    const TRect standalone = GetTextEditDrawTextOffset(Data(false));
    EXPECT_EQ(standalone, (TRect{plain.Left + 1, plain.Top + 1, plain.Right, plain.Bottom - 1}));
    fixed->Alignment()->SetHorz(taRightJustify);
    const TRect right = GetTextEditDrawTextOffset(Data(false));
    EXPECT_EQ(right, (TRect{plain.Left, plain.Top + 1, plain.Right + 1, plain.Bottom - 1}));
}

TEST_F(TextViewTest, RowsAreMadeOncePerCalculationAndMovedByOffset)
{
    Reset(120, 24);
    TcxCustomTextEditViewData* d = Data(true);
    Calc(TRect{0, 0, 120, 24});
    d->EditValueToDrawValue(canvas.get(), Variant("rows"), Info());
    const int before = TcxCustomTextEditViewInfo::LayoutCount();
    Info()->PaintEx(canvas.get());
    EXPECT_EQ(TcxCustomTextEditViewInfo::LayoutCount(), before + 1);
    const auto first = Snapshot();
    Info()->PaintEx(canvas.get());
    Info()->Offset(3, 0);
    Info()->Offset(-3, 0);
    Info()->PaintEx(canvas.get());
    EXPECT_EQ(TcxCustomTextEditViewInfo::LayoutCount(), before + 1);
    EXPECT_EQ(Snapshot(), first);
}

TEST_F(TextViewTest, AnEllipsisCellPaintsItsSelection)
{
    Reset(60, 20);
    TcxCustomTextEditViewData* d = Data(true);
    d->PaintOptionsBase = TcxEditPaintOptions{epoShowEndEllipsis};
    d->SelStart = 0;
    d->SelLength = 2;
    d->SelBackgroundColor = clRed;
    d->SelTextColor = clYellow;
    Calc(TRect{0, 0, 60, 20});
    d->EditValueToDrawValue(canvas.get(), Variant("a long meter address text"), Info());
    EXPECT_TRUE(Info()->DrawTextFlags & 0x800);
    Info()->PaintEx(canvas.get());
    EXPECT_TRUE(Info()->TextOut.ForceEndEllipsis);
    // The selected characters sit on the selection colour; the ellipsis dots end the row.
    const TRect r = Info()->TextRect;
    bool red = false;
    for (int x = r.Left; x < r.Left + 8; ++x)
        red = red || Is(x, r.Top + 1, clRed);
    EXPECT_TRUE(red);
    QImage image(bitmap.GetWidth(), bitmap.GetHeight(), QImage::Format_RGB32);
    for (int y = 0; y < bitmap.GetHeight(); ++y)
        for (int x = 0; x < bitmap.GetWidth(); ++x)
            image.setPixel(x, y, Raw(x, y));
    SaveTestPicture(image.scaled(image.width() * 4, image.height() * 4), "textedit_cell.png");
}

TEST_F(TextViewTest, ASelectionFromTheTextLengthIsNotPainted)
{
    Reset(80, 20);
    TcxCustomTextEditViewData* d = Data(true);
    d->SelStart = 3;
    d->SelLength = 2;
    d->SelBackgroundColor = clRed;
    Calc(TRect{0, 0, 80, 20});
    d->EditValueToDrawValue(canvas.get(), Variant("abc"), Info());
    Info()->PaintEx(canvas.get());
    EXPECT_EQ(Info()->TextOut.SelLength, 0);
    bool red = false;
    for (int x = 0; x < 80; ++x)
        for (int y = 0; y < 20; ++y)
            red = red || Is(x, y, clRed);
    EXPECT_FALSE(red);
}

TEST_F(TextViewTest, TheTextTakesItsOwnColourAndFontAfterOtherCanvasDrawing)
{
    Reset(120, 24);
    style->SetTextColor(clRed);
    style->GetFont()->SetHeight(-14);
    TcxCustomTextEditViewData* d = Data(true);
    Calc(TRect{0, 0, 120, 24});
    d->EditValueToDrawValue(canvas.get(), Variant("WWWW"), Info());
    Info()->PaintEx(canvas.get());   // lays the rows out once
    const auto first = Snapshot();
    // Another drawing on the same canvas leaves its own colour and a smaller font on the device
    // context; the laid-out text must not take them.
    canvas->GetFont()->SetHeight(-6);
    canvas->GetFont()->SetColor(clBlue);
    canvas->DrawTexT("x", TRect{100, 0, 120, 10}, cxtfLeft | cxtfTop);
    canvas->FillRect(TRect{100, 0, 120, 24}, TColor(kBack));
    Info()->PaintEx(canvas.get());
    int red = 0, blue = 0;
    const TRect r = Info()->TextRect;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
            red += Is(x, y, clRed);
            blue += Is(x, y, clBlue);
        }
    EXPECT_GT(red, 0);
    EXPECT_EQ(blue, 0);
    EXPECT_EQ(Snapshot(), first);
}

} // namespace

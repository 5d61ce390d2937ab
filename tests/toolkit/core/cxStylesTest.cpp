#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "toolkit/core/cxStyles.h"

using namespace cx;

namespace {

// A control's styles: three slots and defaults of its own.
class TTestStyles : public TcxStyles {
    RTL_CLASS(TTestStyles, TcxStyles)
    explicit TTestStyles(TPersistent* owner) : TcxStyles(owner) { Register(); }

    TcxStyle* Content() const { return Slot(0); }
    void SetContent(TcxStyle* v) { SetValue(0, v); }
    TcxStyle* Header() const { return Slot(1); }
    void SetHeader(TcxStyle* v) { SetValue(1, v); }
    TcxStyle* Selection() const { return Slot(2); }
    void SetSelection(TcxStyle* v) { SetValue(2, v); }

    void GetDefaultViewParams(int index, TObject* data, TcxViewParams& params) override
    {
        TcxStyles::GetDefaultViewParams(index, data, params);
        params.Color = 0x111111;
        params.TextColor = 0x222222;
        params.Font = &DefaultFont;
    }

    std::vector<int> Notices;
    TFont DefaultFont;

protected:
    void Changed(int index) override { Notices.push_back(index); }

private:
    TcxStyle* Slot(int index) const { return const_cast<TTestStyles*>(this)->GetValue(index); }
    static void Register()
    {
        static bool done = false;
        if (done)
            return;
        done = true;
        RegisterPublishedProperties(StaticClass(), {
            PublishedObjectProp<TTestStyles>("Content", &TTestStyles::Content, &TTestStyles::SetContent),
            PublishedObjectProp<TTestStyles>("Header", &TTestStyles::Header, &TTestStyles::SetHeader),
            PublishedObjectProp<TTestStyles>("Selection", &TTestStyles::Selection, &TTestStyles::SetSelection),
        });
    }
};

class TTestStyleSheet : public TcxCustomStyleSheet {
    RTL_CLASS(TTestStyleSheet, TcxCustomStyleSheet)
    using TcxCustomStyleSheet::TcxCustomStyleSheet;
    TcxCustomStylesClass GetStylesClass() const override { return TcxCustomStylesClass::Of<TTestStyles>(); }
    TTestStyles* TestStyles() { return static_cast<TTestStyles*>(Styles()); }
};

class TWritingComponent : public TcxComponent {
    RTL_CLASS(TWritingComponent, TcxComponent)
    using TcxComponent::TcxComponent;
    void SetWriting(bool value)
    {
        if (value)
            state_.Include(csWriting);
        else
            state_.Exclude(csWriting);
    }
};

class StylesTest : public ::testing::Test {
protected:
    StylesTest() : repository(new TcxStyleRepository(nullptr)) {}
    ~StylesTest() override { repository->Free(); }

    TcxStyle* NewStyle(TColor color = clDefault)
    {
        auto* style = static_cast<TcxStyle*>(repository->CreateItem(TcxCustomStyleClass::Of<TcxStyle>()));
        style->SetColor(color);
        return style;
    }
    TTestStyleSheet* NewSheet(const std::string& name)
    {
        auto* sheet = static_cast<TTestStyleSheet*>(
            repository->CreateStyleSheet(TcxCustomStyleSheetClass::Of<TTestStyleSheet>()));
        sheet->SetName(name);
        return sheet;
    }
    TcxStyleRepository* repository;
};

} // namespace

TEST_F(StylesTest, StyleValuesFollowTheirSetters)
{
    TcxStyle* style = NewStyle();
    EXPECT_TRUE(style->AssignedValues().Empty());
    style->SetColor(clBlack);
    EXPECT_TRUE(style->AssignedValues().Contains(svColor));
    style->SetColor(clDefault);
    EXPECT_FALSE(style->AssignedValues().Contains(svColor));

    TFont font;
    font.SetName("Tahoma");
    style->SetFont(&font);
    EXPECT_TRUE(style->AssignedValues().Contains(svFont));
    style->RestoreDefaults();
    EXPECT_TRUE(style->AssignedValues().Empty());
    EXPECT_EQ(style->Font()->GetName(), "Tahoma");   // the font object keeps its settings

    // Assign gives exactly the source's assigned values, in one change notice.
    TTestStyles styles(nullptr);
    styles.SetContent(style);
    styles.Notices.clear();
    TcxStyle* source = NewStyle(clRed);
    source->SetFont(&font);
    source->SetAssignedValues({svColor});
    style->Assign(source);
    EXPECT_EQ(style->AssignedValues(), TcxStyleValues{svColor});
    EXPECT_EQ(style->Color(), clRed);
    EXPECT_EQ(styles.Notices, std::vector<int>{0});
}

TEST_F(StylesTest, SlotsFallBackThroughSheetChains)
{
    TTestStyleSheet* first = NewSheet("First");
    TTestStyleSheet* second = NewSheet("Second");
    TcxStyle* red = NewStyle(clRed);
    TcxStyle* blue = NewStyle(clBlue);
    second->TestStyles()->SetHeader(blue);
    first->TestStyles()->SetContent(red);
    first->TestStyles()->SetStyleSheet(second);

    UniqueObject<TWritingComponent> control(new TWritingComponent(nullptr));
    TTestStyles styles(control.get());
    styles.SetStyleSheet(first);
    EXPECT_EQ(styles.Content(), red);
    EXPECT_EQ(styles.Header(), blue);   // through the sheet the first sheet points at
    EXPECT_EQ(styles.Selection(), nullptr);

    // Setting the style the slot already shows through its sheet changes nothing.
    styles.Notices.clear();
    styles.SetContent(red);
    EXPECT_EQ(styles.Count(), 0);
    EXPECT_TRUE(styles.Notices.empty());

    // While the owner is written to a stream only own values count.
    control->SetWriting(true);
    EXPECT_EQ(styles.Content(), nullptr);
    control->SetWriting(false);
    EXPECT_EQ(styles.Content(), red);
}

TEST_F(StylesTest, FreeingAStyleEmptiesItsSlotsWithOneNoticeEach)
{
    TcxStyle* red = NewStyle(clRed);
    TTestStyles styles(nullptr);
    styles.SetContent(red);
    styles.SetSelection(red);
    styles.Notices.clear();
    red->Free();
    EXPECT_EQ(styles.Count(), 0);
    EXPECT_EQ(styles.Notices, (std::vector<int>{2, 0}));
    EXPECT_EQ(repository->Count(), 0);
}

TEST_F(StylesTest, ChangeNoticesAreBatchedByUpdateBrackets)
{
    TcxStyle* red = NewStyle(clRed);
    TcxStyle* blue = NewStyle(clBlue);
    TTestStyles styles(nullptr);
    styles.BeginUpdate();
    styles.SetHeader(red);
    styles.SetContent(blue);
    styles.BeginUpdate();
    styles.SetHeader(blue);
    red->SetColor(clGreen);   // no longer used by the collection
    blue->SetColor(clYellow);
    styles.EndUpdate();
    EXPECT_TRUE(styles.Notices.empty());
    styles.EndUpdate();
    EXPECT_EQ(styles.Notices, (std::vector<int>{1, 0}));

    styles.Notices.clear();
    blue->BeginUpdate();
    blue->SetColor(clRed);
    blue->SetTextColor(clWhite);
    blue->EndUpdate();
    EXPECT_EQ(styles.Notices, (std::vector<int>{0, 1}));   // one change of the style, two slots use it
}

TEST_F(StylesTest, ViewParamsCombineExplicitStyleSlotStyleAndDefaults)
{
    TcxStyle* slot = NewStyle(clRed);
    TFont font;
    font.SetName("Slot font");
    slot->SetFont(&font);
    TcxStyle* explicitStyle = NewStyle(clBlue);
    TTestStyles styles(nullptr);
    styles.SetContent(slot);
    TcxViewParams params;
    styles.GetViewParams(0, nullptr, explicitStyle, params);
    EXPECT_EQ(params.Color, clBlue);
    EXPECT_EQ(params.Font, slot->Font());
    EXPECT_EQ(params.TextColor, 0x222222);   // from the defaults
    EXPECT_EQ(params.Bitmap, nullptr);

    styles.GetViewParams(2, nullptr, nullptr, params);
    EXPECT_EQ(params.Color, 0x111111);
    EXPECT_EQ(params.Font, &styles.DefaultFont);
    EXPECT_EQ(styles.MaxDefaultViewParamsIndex(), 2);

    styles.Notices.clear();
    styles.DefaultFontChanged(nullptr, &styles.DefaultFont);
    EXPECT_EQ(styles.Notices, (std::vector<int>{1, 2}));   // slot 0 has its own font

    TcxViewParams combined;
    TcxStyleValues values = CombineParamsWithStyle(explicitStyle, {}, combined);
    values = CombineParamsWithStyle(slot, values, combined);
    EXPECT_EQ(combined.Color, clBlue);   // the first style wins
    EXPECT_EQ(combined.Font, slot->Font());
    EXPECT_EQ(values, (TcxStyleValues{svColor, svFont}));
}

TEST_F(StylesTest, SheetLinksRefuseCyclesAndForeignClassesAndTellTheSlotsTheyTouch)
{
    TTestStyleSheet* a = NewSheet("A");
    TTestStyleSheet* b = NewSheet("B");
    b->TestStyles()->SetStyleSheet(a);
    a->TestStyles()->SetStyleSheet(b);
    EXPECT_EQ(a->TestStyles()->StyleSheet(), nullptr);
    a->TestStyles()->SetStyleSheet(a);
    EXPECT_EQ(a->TestStyles()->StyleSheet(), nullptr);
    TcxStyles plain(nullptr);
    plain.SetStyleSheet(a);   // another styles class
    EXPECT_EQ(plain.StyleSheet(), nullptr);

    b->TestStyles()->SetStyleSheet(nullptr);
    a->TestStyles()->SetContent(NewStyle(clRed));
    b->TestStyles()->SetSelection(NewStyle(clBlue));
    TTestStyles styles(nullptr);
    styles.SetStyleSheet(a);
    EXPECT_EQ(styles.Notices, std::vector<int>{0});
    styles.Notices.clear();
    styles.SetStyleSheet(b);
    EXPECT_EQ(styles.Notices, (std::vector<int>{0, 2}));

    // A change of a sheet's style reaches the collections that use the sheet.
    styles.Notices.clear();
    b->TestStyles()->Selection()->SetColor(clGreen);
    EXPECT_EQ(styles.Notices, std::vector<int>{2});
    b->Free();
    EXPECT_EQ(styles.StyleSheet(), nullptr);
}

TEST_F(StylesTest, CaptionFallsBackToTheName)
{
    TTestStyleSheet* sheet = NewSheet("Ocean");
    EXPECT_EQ(sheet->GetCaption(), "Ocean");
    sheet->SetCaption("Deep sea");
    EXPECT_EQ(sheet->GetCaption(), "Deep sea");
    sheet->SetCaption("OCEAN");
    EXPECT_EQ(sheet->GetCaption(), "Ocean");
}

TEST_F(StylesTest, CopyAndBuildSheetStyles)
{
    TTestStyleSheet* source = NewSheet("Source");
    source->TestStyles()->SetContent(NewStyle(clRed));
    source->TestStyles()->SetHeader(NewStyle());   // nothing assigned
    TTestStyleSheet* copy = NewSheet("Copy");
    copy->CopyFrom(source);
    ASSERT_NE(copy->TestStyles()->Content(), nullptr);
    EXPECT_NE(copy->TestStyles()->Content(), source->TestStyles()->Content());
    EXPECT_EQ(copy->TestStyles()->Content()->Color(), clRed);

    TTestStyleSheet* built = NewSheet("Built");
    built->TestStyles()->SetSelection(NewStyle(clBlue));
    int named = 0;
    CreateStyleSheetStyles(built, source, TcxStyleGetName([&](TcxStyle*) { return "Made" + IntToStr(++named); }));
    ASSERT_NE(built->TestStyles()->Content(), nullptr);
    EXPECT_EQ(built->TestStyles()->Content()->Name(), "Made1");
    EXPECT_EQ(built->TestStyles()->Header(), nullptr);      // the source style has no values
    EXPECT_EQ(built->TestStyles()->Selection(), nullptr);   // the source slot is empty
}

TEST_F(StylesTest, ScaledValuesFollowTheStoredPixelsPerInch)
{
    EXPECT_EQ(repository->GetScaledValue(-11), -11);
    repository->Scalable = true;
    repository->PixelsPerInch = 120;
    EXPECT_EQ(repository->GetScaledValue(-14), -11);   // MulDiv(-14, 96, 120)
    repository->PixelsPerInch = 96;
    EXPECT_EQ(repository->GetScaledValue(-14), -14);
}

// --- INI files ----------------------------------------------------------------------------------
namespace {
std::string FileText(const std::string& name)
{
    std::ifstream f(name, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}
} // namespace

TEST_F(StylesTest, StyleSheetIniFileRoundTrip)
{
    QTemporaryDir dir;
    std::string name = dir.path().toStdString() + "/sheets.ini";
    TTestStyleSheet* sheet = NewSheet("Sheet1");
    sheet->SetCaption("Warm colours");
    sheet->TestStyles()->SetContent(NewStyle(255));
    TcxStyle* header = NewStyle();
    header->SetTextColor(clNavy);
    TFont font;
    font.SetName("Tahoma");
    font.SetSize(8);
    font.SetStyle(FontStyle(fsBold) | FontStyle(fsItalic));
    header->SetFont(&font);
    header->Bitmap()->SetSize(40, 30);   // 4854 bytes: three pieces of hexadecimal text
    header->Bitmap()->ScanLine(3)[5] = 0x00123456;
    header->BitmapChanged();
    sheet->TestStyles()->SetHeader(header);
    SaveStyleSheetsToIniFile(name, {sheet});
    std::string text = FileText(name);
    EXPECT_NE(text.find("[Warm colours]\r\nContent=255,default\r\nHeader=default,8388608,Tahoma,8,[BI]\r\n"
                        "HeaderBitmap0="), std::string::npos) << text.substr(0, 200);
    EXPECT_NE(text.find("HeaderBitmap2="), std::string::npos);

    std::vector<TcxCustomStyleSheet*> loaded;
    LoadStyleSheetsFromIniFile(name, repository, TcxCustomStyleSheetClass::Of<TTestStyleSheet>(), nullptr, nullptr,
                               &loaded);
    ASSERT_EQ(loaded.size(), 1u);
    auto* copy = static_cast<TTestStyleSheet*>(loaded[0]);
    EXPECT_EQ(copy->GetCaption(), "Warm colours");
    TcxStyle* content = copy->TestStyles()->Content();
    ASSERT_NE(content, nullptr);
    EXPECT_EQ(content->AssignedValues(), TcxStyleValues{svColor});
    EXPECT_EQ(content->Color(), 255);
    TcxStyle* h = copy->TestStyles()->Header();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->AssignedValues(), (TcxStyleValues{svTextColor, svFont, svBitmap}));
    EXPECT_EQ(h->Font()->GetName(), "Tahoma");
    EXPECT_EQ(h->Font()->GetSize(), 8);
    EXPECT_EQ(h->Font()->GetStyle(), FontStyle(fsBold) | FontStyle(fsItalic));
    ASSERT_EQ(h->Bitmap()->GetWidth(), 40);
    EXPECT_EQ(h->Bitmap()->GetHeight(), 30);
    EXPECT_EQ(h->Bitmap()->ScanLine(3)[5], 0x00123456u);
}

TEST_F(StylesTest, StyleSheetIniFileEdges)
{
    QTemporaryDir dir;
    std::string name = dir.path().toStdString() + "/edges.ini";
    std::ofstream(name, std::ios::binary) << "[Old]\r\nContent=1\r\n";
    SaveStyleSheetsToIniFile(name, {NewSheet("Empty")});
    EXPECT_EQ(FileText(name), "");   // no key written: the file is emptied

    std::ofstream(name, std::ios::binary) << "[Empty]\r\n[S]\r\n=\r\nUnknown=5\r\ncontent=DEFAULT,16\r\n"
                                             "SelectionBitmap0=00\r\n[Bad]\r\nHeader=blue\r\n";
    TStringList wanted;
    wanted.Add("S");
    wanted.Add("Missing");
    std::vector<TcxCustomStyleSheet*> loaded;
    LoadStyleSheetsFromIniFile(name, repository, TcxCustomStyleSheetClass::Of<TTestStyleSheet>(), &wanted, nullptr,
                               &loaded);
    ASSERT_EQ(loaded.size(), 1u);   // "Missing" creates no sheet
    TcxStyle* content = static_cast<TTestStyleSheet*>(loaded[0])->TestStyles()->Content();
    ASSERT_NE(content, nullptr);
    EXPECT_EQ(content->AssignedValues(), TcxStyleValues{svTextColor});
    EXPECT_EQ(static_cast<TTestStyleSheet*>(loaded[0])->TestStyles()->Selection(), nullptr);

    loaded.clear();
    EXPECT_THROW(LoadStyleSheetsFromIniFile(name, repository, TcxCustomStyleSheetClass::Of<TTestStyleSheet>(),
                                            nullptr, nullptr, &loaded),
                 EConvertError);
    EXPECT_EQ(loaded.size(), 2u);   // "S" and "Bad" were created before the error; "Empty" has no keys
}

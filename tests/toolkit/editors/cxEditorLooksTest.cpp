// What stand-alone editors show, read from the pixels the window system shows: the style's
// colours and font in the field, the field hidden where the text is painted, the BLOB editor's
// texts and icons, the image combo box's picture beside its text.
#include "tests/toolkit/editors/TextEditorsTestSupport.h"

#include "platform/vcl/Peer.h"
#include "toolkit/editors/cxBlobEdit.h"
#include "toolkit/editors/cxHyperLinkEdit.h"
#include "toolkit/editors/cxSpinEdit.h"

#include <QImage>

#include <functional>

using namespace cx;

namespace {

class EditorLooksTest : public TextFamilyTest {
protected:
    void SetUp() override
    {
        TextFamilyTest::SetUp();
        cxHyperLinkEditUnit::Initialize();
        cxMaskEditUnit::Initialize();
        cxSpinEditUnit::Initialize();
        cxDropDownEditUnit::Initialize();
        cxBlobEditUnit::Initialize();
    }
    void TearDown() override
    {
        TextFamilyTest::TearDown();
        cxBlobEditUnit::Finalize();
        cxDropDownEditUnit::Finalize();
        cxSpinEditUnit::Finalize();
        cxMaskEditUnit::Finalize();
        cxHyperLinkEditUnit::Finalize();
    }
    // The editor as the screen shows it, its field included.
    static QImage Shot(TWinControl* e)
    {
        SpinUntil([] { return false; }, 20);
        return e->Peer()->grab().toImage();
    }
    static int Count(const QImage& image, const TRect& r, const QColor& want)
    {
        int n = 0;
        for (int y = std::max(0, r.Top); y < std::min(image.height(), r.Bottom); ++y)
            for (int x = std::max(0, r.Left); x < std::min(image.width(), r.Right); ++x)
                n += (image.pixel(x, y) | 0xFF000000) == (want.rgb() | 0xFF000000);
        return n;
    }
    static int Count(const QImage& image, const TRect& r, TColor color)
    {
        const auto rgb = ColorToRGB(color);
        return Count(image, r, QColor(int(rgb & 0xFF), int((rgb >> 8) & 0xFF), int((rgb >> 16) & 0xFF)));
    }
    static TRect FieldRect(TcxCustomTextEdit* e) { return e->InnerEdit()->GetControl()->BoundsRect(); }
    void Hover(TControl* c)
    {
        const TPoint p = ScreenOf(c, c->Width() / 2, c->Height() / 2);
        Fixed().SetCursorPos(p);
        vcl::input::InjectMouse(WM_MOUSEMOVE, p, 0);
        SpinUntil([] { return false; }, 20);
    }
};

// The field shows the active style's colour as its background and its text in the view info's
// text colour (the style's, the link colour, the disabled style's) and font.
TEST_F(EditorLooksTest, TheFieldTakesTheActiveStylesColourAndFont)
{
    struct Case {
        const char* name;
        std::function<TcxCustomTextEdit*()> make;
        std::function<void(TcxCustomTextEdit*)> state;   // focus, hover, disable
        TColor background, text;
    };
    auto styled = [this](TcxCustomTextEdit* e) {
        e->Style()->SetColor(clYellow);
        e->Style()->GetFont()->SetColor(clRed);
        e->Style()->GetFont()->SetStyle(FontStyle(fsBold));
        e->StyleFocused()->SetColor(clAqua);
        e->StyleHot()->SetColor(clLime);
        e->StyleDisabled()->SetColor(clSilver);
        e->StyleDisabled()->SetTextColor(clNavy);
        return e;
    };
    auto text = [&] { return styled(new TcxTextEdit(form)); };
    auto spin = [&] { return styled(new TcxSpinEdit(form)); };
    const Case cases[] = {
        {"styled", text, nullptr, clYellow, clRed},
        {"styled and focused", text, [this](TcxCustomTextEdit* e) { Focus(e); e->SetSelLength(0); }, clAqua, clRed},
        {"styled and hot", text, [this](TcxCustomTextEdit* e) { Hover(e); }, clLime, clRed},
        {"styled and disabled", text, [](TcxCustomTextEdit* e) { e->SetEnabled(false); }, clSilver, clNavy},
        {"disabled spin", [&] { return static_cast<TcxCustomTextEdit*>(new TcxSpinEdit(form)); },
         [](TcxCustomTextEdit* e) { e->SetEnabled(false); }, clBtnFace, clBtnShadow},
        {"styled spin", spin, nullptr, clYellow, clRed},
        {"hyperlink", [&] { return static_cast<TcxCustomTextEdit*>(new TcxHyperLinkEdit(form)); }, nullptr, clWindow,
         clBlue},
    };
    int top = 10;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TcxCustomTextEdit* e = Place(c.make(), top);
        e->SetEditValue(Variant(std::string(dynamic_cast<TcxSpinEdit*>(e) ? "4321" : "WWW.WW")));
        other->SetFocus();
        if (c.state)
            c.state(e);
        const QImage shot = Shot(e);
        const TRect field = FieldRect(e);
        ASSERT_FALSE(cxRectIsEmpty(field));
        // Most of the field is its background; its text leaves crisp ink of the text colour.
        EXPECT_GT(Count(shot, field, c.background), field.Width() * field.Height() / 2);
        EXPECT_GT(Count(shot, field, c.text), 15);
        EXPECT_EQ(Count(shot, field, clWindowText), 0);
        e->Free();
        top += 30;
    }
}

TEST_F(EditorLooksTest, AHyperlinksFieldIsUnderlinedAndABoldStyleMakesBoldText)
{
    auto* link = Place(new TcxHyperLinkEdit(form), 10);
    link->SetEditValue(Variant(std::string("www.example.com")));
    QImage shot = Shot(link);
    const TRect field = FieldRect(link);
    // The underline: one row of the field that is link-coloured across the text's whole width.
    int span = 0, longest = 0;
    for (int x = field.Left; x < field.Right; ++x)
        span += Count(shot, {x, field.Top, x + 1, field.Bottom}, clBlue) > 0;
    for (int y = field.Top; y < field.Bottom; ++y)
        longest = std::max(longest, Count(shot, {field.Left, y, field.Right, y + 1}, clBlue));
    EXPECT_GT(span, 40);
    EXPECT_GE(longest, span - 2);

    auto* plain = Place(new TcxTextEdit(form), 40);
    auto* bold = Place(new TcxTextEdit(form), 70);
    bold->Style()->GetFont()->SetStyle(FontStyle(fsBold));
    for (auto* e : {plain, bold})
        e->SetEditValue(Variant(std::string("WWWWWW")));
    EXPECT_GT(Count(Shot(bold), FieldRect(bold), clWindowText),
              Count(Shot(plain), FieldRect(plain), clWindowText) * 5 / 4);
}

// Without typing (HideCursor), the text is painted and the field shows nothing: no live field
// with its select-all highlight over the painted text, a focus frame instead.
TEST_F(EditorLooksTest, TheNoEditStyleHidesTheFieldAndPaintsTheText)
{
    auto* e = Place(new TcxTextEdit(form), 10);
    e->Properties()->SetHideCursor(true);
    e->SetEditValue(Variant(std::string("WWWWWW")));
    e->SetFocus();
    ASSERT_TRUE(SpinUntil([&] { return e->Focused() || e->InnerEdit()->GetControl()->Focused(); }));
    const QImage shot = Shot(e);
    const TRect client = e->EditViewInfo()->ClientRect;
    const QColor selection = Field(e)->palette().color(QPalette::Highlight);
    EXPECT_EQ(Count(shot, client, selection), 0);
    EXPECT_GT(Count(shot, client, clWindowText), 30);
    // Typing still reaches the editor through its field's keys, and changes nothing.
    Type(e, "ab");
    EXPECT_EQ(e->Text(), "WWWWWW");
    // Back to typing: the field shows again, with its selection.
    e->Properties()->SetHideCursor(false);
    Focus(e);
    e->SelectAll();
    EXPECT_GT(Count(Shot(e), client, selection), 30);
}

} // namespace

// The toolkit's push button: glyph strips and layout, colours, the click rules per kind, the
// drop-down menu placed against the work area, speed buttons and their groups, dialog keys and
// the painted states.
#include "tests/toolkit/controls/ControlsTestSupport.h"

#include "platform/gdi/Text.h"
#include "toolkit/editors/cxButtons.h"

#include <QTest>
#include <QTimer>

using namespace cx;

namespace {

// A strip of n square cells of the given side, each filled with its own colour; the bottom-left
// pixel of the strip is the transparent colour (olive).
std::unique_ptr<TBitmap> Strip(int n, int side, int height = -1)
{
    static const TColor fills[] = {clRed, clGreen, clBlue, clYellow, clAqua};
    auto b = std::make_unique<TBitmap>();
    b->SetPixelFormat(pf32bit);
    b->SetSize(n * side, height < 0 ? side : height);
    for (int k = 0; k < n; ++k) {
        b->Canvas()->Brush()->SetColor(fills[k % 5]);
        b->Canvas()->FillRect({k * side, 0, (k + 1) * side, b->GetHeight()});
    }
    b->Canvas()->SetPixel(0, b->GetHeight() - 1, clOlive);
    return b;
}

} // namespace

class CxButtonTest : public ControlBaseTest {
protected:
    void SetUp() override
    {
        ControlBaseTest::SetUp();
        gdi::SetFontEngine(gdi::MakeFakeFontEngine());
        button = new TcxButton(form);
        button->SetParent(form);
        button->SetBounds(20, 20, 75, 25);
        button->Font()->SetHeight(-16); // fake font: 8 pixels a character, 16 high
        button->LookAndFeel()->SetKind(lfStandard);
        menu = new TPopupMenu(form);
        for (int i = 0; i < 3; ++i)
            menu->Items()->Add(new TMenuItem(menu));
        oldPresenter = SetMenuPresenter([this](TPopupMenu* m, TPoint p) {
            ++menusShown;
            menuPoint = p;
            menuAlignment = m->Alignment;
            menuStateSeen = button->InternalState();
            return nullptr;
        });
        button->OnClick = [this](TObject*) { ++clicks; };
    }
    void TearDown() override
    {
        SetMenuPresenter(oldPresenter);
        ControlBaseTest::TearDown();
        gdi::SetFontEngine(nullptr);
    }
    void ClickAt(TControl* c, int x, int y)
    {
        Fixed().SetCursorPos(ScreenOf(c, x, y));
        vcl::input::InjectMouse(WM_MOUSEMOVE, ScreenOf(c, x, y), 0);
        vcl::input::InjectMouse(WM_LBUTTONDOWN, ScreenOf(c, x, y), MK_LBUTTON);
        vcl::input::InjectMouse(WM_LBUTTONUP, ScreenOf(c, x, y), 0);
        vcl::DrainPostedMessages();
    }
    int Count(TWinControl* c, TColor color)
    {
        c->Update();
        int n = 0;
        for (int y = 0; y < c->Height(); ++y)
            for (int x = 0; x < c->Width(); ++x)
                n += TColor(gdi::PixelToColor(c->Surface().Pixel(x, y))) == Sys(color);
        return n;
    }

    TcxButton* button = nullptr;
    TPopupMenu* menu = nullptr;
    TMenuPresenter oldPresenter;
    int clicks = 0, menusShown = 0;
    TPoint menuPoint;
    TPopupAlignment menuAlignment = paLeft;
    TcxButtonInternalState menuStateSeen;
};

// ---- glyph ----

TEST_F(CxButtonTest, GlyphStripSizesGiveTheNumberOfGlyphs)
{
    const struct {
        int width, height, glyphs;
    } rows[] = {{64, 16, 4}, {48, 16, 3}, {40, 16, 1}, {80, 16, 1}, {16, 16, 1}, {16, 0, 1}};
    for (const auto& r : rows) {
        TBitmap b;
        b.SetSize(r.width, r.height);
        button->SetGlyph(&b);
        EXPECT_EQ(button->NumGlyphs(), r.glyphs) << r.width << "x" << r.height;
    }
    button->SetNumGlyphs(9);
    EXPECT_EQ(button->NumGlyphs(), 4);
    button->SetNumGlyphs(0);
    EXPECT_EQ(button->NumGlyphs(), 1);
}

TEST_F(CxButtonTest, PressedShowsTheThirdGlyphOnlyWithThreeOrMore)
{
    TcxButtonGlyph* g = button->ButtonGlyph();
    auto colourOf = [&](TcxButtonState state) {
        TBitmap out;
        out.SetPixelFormat(pf32bit);
        out.SetSize(16, 16);
        g->ListFor(state)->Draw(out.Canvas(), 0, 0, g->ImageIndexFor(state));
        return out.Canvas()->GetPixel(8, 8);
    };
    button->SetGlyph(Strip(2, 16).get());
    EXPECT_EQ(colourOf(cxbsPressed), clRed);
    EXPECT_EQ(colourOf(cxbsDisabled), clGreen);
    button->SetGlyph(Strip(3, 16).get());
    EXPECT_EQ(colourOf(cxbsPressed), clBlue);
    EXPECT_EQ(colourOf(cxbsNormal), clRed);
    // One glyph: the disabled image is a greyed rendering, not the picture itself.
    button->SetGlyph(Strip(1, 16).get());
    EXPECT_NE(colourOf(cxbsDisabled), clRed);
}

TEST_F(CxButtonTest, GlyphListsAreSharedPerSizeAndFreedWithTheirLastImage)
{
    const int before = TcxGlyphCache::ListCount();
    auto* other = new TcxButton(form);
    button->SetGlyph(Strip(1, 16).get());
    other->SetGlyph(Strip(1, 16).get());
    EXPECT_EQ(button->ButtonGlyph()->ListFor(cxbsNormal), other->ButtonGlyph()->ListFor(cxbsNormal));
    EXPECT_EQ(TcxGlyphCache::ListCount(), before + 1);
    TcxGlyphList* list = other->ButtonGlyph()->ListFor(cxbsNormal);
    EXPECT_EQ(list->UsedCount(), 2);
    // A freed slot is reused by the next image.
    const int freed = other->ButtonGlyph()->ImageIndexFor(cxbsNormal);
    other->Free();
    EXPECT_EQ(list->UsedCount(), 1);
    auto* third = new TcxButton(form);
    third->SetGlyph(Strip(1, 16).get());
    EXPECT_EQ(third->ButtonGlyph()->ImageIndexFor(cxbsNormal), freed);
    third->Free();
    button->SetGlyph(nullptr);
    EXPECT_EQ(TcxGlyphCache::ListCount(), before);
}

TEST_F(CxButtonTest, GlyphLayoutSpreadsMarginAndSpacing)
{
    TcxButtonGlyph glyph;
    glyph.SetGlyph(Strip(1, 16).get());
    TBitmap b;
    b.SetSize(1, 1);
    TcxCanvas canvas(b.Canvas());
    canvas.GetFont()->SetHeight(-16);
    struct Row {
        TButtonLayout layout;
        int margin, spacing;
        TPoint glyph;
        int text; // left (or top) of the text
    };
    // 16-pixel glyph, 40-pixel text ("ABCDE"), 100 x 30 client at (5, 7).
    const Row rows[] = {
        {blGlyphLeft, -1, -1, {14, 7}, 44},  {blGlyphLeft, -1, 4, {20, 7}, 40},
        {blGlyphLeft, 2, -1, {2, 7}, 39},    {blGlyphRight, 3, 5, {81, 7}, 36},
        {blGlyphTop, -1, 0, {42, -1}, 15},
    };
    for (const Row& r : rows) {
        const auto l = glyph.CalcButtonLayout(&canvas, {5, 7, 105, 37}, {0, 0}, "ABCDE", r.layout, r.margin,
                                              r.spacing, 0);
        const bool horizontal = r.layout == blGlyphLeft || r.layout == blGlyphRight;
        EXPECT_EQ(l.GlyphPos.X - 5, r.glyph.X) << r.layout << r.margin << r.spacing;
        if (horizontal) {
            EXPECT_EQ(l.GlyphPos.Y - 7, r.glyph.Y);
        }
        EXPECT_EQ(horizontal ? l.TextBounds.Left - 5 : l.TextBounds.Top - 7, r.text) << r.layout;
        EXPECT_EQ(l.TextBounds.Width(), 40);
    }
}

// ---- sizes, painters and colours ----

TEST_F(CxButtonTest, OptimalSizeMeasuresTheCaptionWithoutItsAcceleratorMark)
{
    button->SetCaption("&Ok");
    EXPECT_EQ(button->GetOptimalSize(), (TSize{16 + 3 * 8, MulDiv(16, 14, 8)}));
    button->SetCaption("");
    EXPECT_EQ(button->GetOptimalSize().cx, 8 + 3 * 8);
    button->SetCaption("Apply");
    button->SetAutoSize(true);
    EXPECT_EQ(button->Width(), 40 + 24);
    button->SetCaption("Apply all");
    EXPECT_EQ(button->Width(), 72 + 24);
}

TEST_F(CxButtonTest, OfficeLookPaintsAsTheStandardPainterWithoutVisualStyles)
{
    button->LookAndFeel()->SetKind(lfOffice11);
    EXPECT_EQ(button->LookAndFeel()->GetPainter()->LookAndFeelStyle(), lfsOffice11);
    EXPECT_EQ(button->GetPainterClass(), TcxCustomLookAndFeelPainterClass(TcxStandardLookAndFeelPainter::Class()));
    button->LookAndFeel()->SetKind(lfFlat);
    EXPECT_EQ(button->GetPainterClass(), button->LookAndFeel()->GetPainter());
}

TEST_F(CxButtonTest, ColoursUnassignWithDefaultOrNone)
{
    TcxButtonColors* c = button->Colors();
    c->SetColor(cxbcHot, clRed);
    EXPECT_TRUE(c->AssignedColors().Contains(cxbcHot));
    c->SetColor(cxbcHot, clNone);
    EXPECT_FALSE(c->AssignedColors().Contains(cxbcHot));
    EXPECT_EQ(c->GetColor(cxbcHot), clDefault);
    // AssignedColors is a designer's setting only.
    c->SetColor(cxbcNormal, clBlue);
    c->SetAssignedColors({});
    EXPECT_TRUE(c->IsColorStored(cxbcNormal));
    TcxButtonColors copy(button);
    copy.Assign(c);
    EXPECT_EQ(copy.GetColor(cxbcNormal), clBlue);
    EXPECT_TRUE(copy.IsColorStored(cxbcNormal));
}

TEST_F(CxButtonTest, PaintsEachStateWithTheStandardPainter)
{
    button->SetCaption("W");
    ASSERT_TRUE(Activate(form));
    auto at = [&](int x, int y) { return PixelOf(button, x, y); };
    // Normal (another control has the focus and the button is not Default).
    auto* other = new TcxButton(form);
    other->SetParent(form);
    other->SetBounds(120, 20, 75, 25);
    other->SetFocus();
    EXPECT_EQ(at(0, 0), Sys(clBtnHighlight));
    EXPECT_EQ(at(10, 12), Sys(clBtnFace));
    EXPECT_GT(Count(button, clBtnText), 0);
    // Default: the black frame.
    button->Default = true;
    other->Default = false;
    button->SetFocus();
    EXPECT_EQ(at(0, 0), Sys(clBlack));
    EXPECT_EQ(at(1, 1), Sys(clBtnHighlight));
    // Pressed: black frame, shadow inside.
    vcl::input::InjectMouse(WM_MOUSEMOVE, ScreenOf(button, 30, 12), 0);
    vcl::input::InjectMouse(WM_LBUTTONDOWN, ScreenOf(button, 30, 12), MK_LBUTTON);
    EXPECT_EQ(button->GetButtonState(), cxbsPressed);
    EXPECT_EQ(at(0, 0), Sys(clBlack));
    EXPECT_EQ(at(1, 1), Sys(clBtnShadow));
    vcl::input::InjectMouse(WM_LBUTTONUP, ScreenOf(button, 30, 12), 0);
    // Disabled: the caption embossed, highlight under shadow.
    button->SetEnabled(false);
    EXPECT_EQ(button->GetButtonState(), cxbsDisabled);
    EXPECT_EQ(Count(button, clBtnText), 0);
    EXPECT_GT(Count(button, clBtnShadow), 4);
    // A state's colour: a Default-state button without its own colour takes Normal.
    button->SetEnabled(true);
    button->SetFocus();
    button->Colors()->SetColor(cxbcNormal, clRed);
    EXPECT_EQ(at(10, 12), Sys(clRed));
    button->OnGetDrawParams = [](TcxCustomButton*, TcxButtonState, TColor& color, TFont*) { color = clLime; };
    EXPECT_EQ(at(10, 12), Sys(clLime));
}

TEST_F(CxButtonTest, AHotTrackingPainterShowsTheButtonHotUnderThePointer)
{
    button->LookAndFeel()->SetKind(lfUltraFlat);
    ASSERT_TRUE(Activate(form));
    const TColor hot = button->GetPainterClass()->ButtonColor(cxbsHot);
    ASSERT_NE(Sys(hot), Sys(button->GetPainterClass()->ButtonColor(cxbsNormal)));
    Fixed().SetCursorPos(ScreenOf(button, 10, 10));
    vcl::input::InjectMouse(WM_MOUSEMOVE, ScreenOf(button, 10, 10), 0);
    EXPECT_EQ(button->GetButtonState(), cxbsHot);
    EXPECT_EQ(PixelOf(button, 10, 12), Sys(hot));
    // Leaving for the form: no longer hot.
    Fixed().SetCursorPos(ScreenOf(form, 5, 200));
    vcl::input::InjectMouse(WM_MOUSEMOVE, ScreenOf(form, 5, 200), 0);
    EXPECT_FALSE(button->InternalState().Contains(bisHot));
    EXPECT_NE(PixelOf(button, 10, 12), Sys(hot));
    // Disabling clears it too.
    Fixed().SetCursorPos(ScreenOf(button, 10, 10));
    vcl::input::InjectMouse(WM_MOUSEMOVE, ScreenOf(button, 10, 10), 0);
    button->SetEnabled(false);
    EXPECT_FALSE(button->InternalState().Contains(bisHot));
}

// ---- clicks, keys and the menu ----

TEST_F(CxButtonTest, ClickRulesPerKind)
{
    ASSERT_TRUE(Activate(form));
    button->SetDropDownMenu(menu);
    // Standard: a click.
    ClickAt(button, 10, 10);
    EXPECT_EQ(clicks, 1);
    // Drop-down: the whole button opens the menu and never clicks.
    button->SetKind(cxbkDropDown);
    ClickAt(button, 10, 10);
    Fixed().SetCursorPos(ScreenOf(button, 10, 100)); // the menu closed away from the button
    vcl::DrainPostedMessages();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(menusShown, 1);
    EXPECT_TRUE(menuStateSeen.Contains(bisMenuVisible));
    EXPECT_FALSE(button->InternalState().Contains(bisMenuVisible));
    // Arrow part: the press opens the menu, the release clicks nothing; the main part clicks.
    button->SetKind(cxbkDropDownButton);
    EXPECT_EQ(button->GetMenuButtonBounds(), (TRect{60, 0, 75, 25}));
    ClickAt(button, 68, 10);
    EXPECT_EQ(menusShown, 2);
    EXPECT_EQ(clicks, 1);
    ClickAt(button, 10, 10);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(menusShown, 2);
    // Shift+Down opens it from the keyboard; Down alone does not.
    button->Perform(WM_KEYDOWN, VK_DOWN);
    vcl::DrainPostedMessages();
    EXPECT_EQ(menusShown, 2);
    Fixed().SetKeyDown(VK_SHIFT, true);
    button->Perform(WM_KEYDOWN, VK_DOWN);
    Fixed().SetKeyDown(VK_SHIFT, false);
    vcl::DrainPostedMessages();
    EXPECT_EQ(menusShown, 3);
    // A menu freed goes from the button.
    menu->Free();
    menu = nullptr;
    EXPECT_EQ(button->DropDownMenu(), nullptr);
}

TEST_F(CxButtonTest, PopupMenuTakesOnlyMenusAndOpensAtTheTopLeftFromTheKeyboard)
{
    ASSERT_TRUE(Activate(form));
    button->SetPopupMenu(new TComponent(form));
    EXPECT_EQ(button->PopupMenuComponent(), nullptr);
    button->SetPopupMenu(menu);
    button->Perform(WM_CONTEXTMENU, 0, MakeLParam(0xFFFF, 0xFFFF));
    EXPECT_EQ(menusShown, 1);
    EXPECT_EQ(menuPoint, ScreenOf(button, 0, 0));
    // Its short cuts work while the button has the focus.
    int chosen = 0;
    menu->Items()->Items(1)->ShortCut = ShortCut(VK_F5, {});
    menu->Items()->Items(1)->OnClick = [&](TObject*) { ++chosen; };
    button->SetFocus();
    vcl::input::InjectKey(VK_F5, true);
    vcl::input::InjectKey(VK_F5, false);
    EXPECT_EQ(chosen, 1);
    menu->Free();
    menu = nullptr;
    EXPECT_EQ(button->PopupMenuComponent(), nullptr);
}

// The click that closes the menu over the arrow part must not open it again at once.
TEST_F(CxButtonTest, AMenuClosedOverTheArrowPartIsNotReopenedByThatClick)
{
    ASSERT_TRUE(Activate(form));
    button->SetKind(cxbkDropDownButton);
    button->SetDropDownMenu(menu);
    ClickAt(button, 68, 10); // opens; the menu closes with the pointer over the arrow
    vcl::DrainPostedMessages();
    ASSERT_EQ(menusShown, 1);
    // The press that closed it reaches the button: no new menu; after its release, one again.
    Fixed().SetCursorPos(ScreenOf(button, 68, 10));
    vcl::input::InjectMouse(WM_LBUTTONDOWN, ScreenOf(button, 68, 10), MK_LBUTTON);
    vcl::DrainPostedMessages();
    EXPECT_EQ(menusShown, 1);
    vcl::input::InjectMouse(WM_LBUTTONUP, ScreenOf(button, 68, 10), 0);
    ClickAt(button, 68, 10);
    EXPECT_EQ(menusShown, 2);
    EXPECT_EQ(clicks, 0);
}

TEST_F(CxButtonTest, DropDownMenuFlipsAboveWhenTheWorkAreaEndsBelowTheButton)
{
    ASSERT_TRUE(Activate(form));
    button->SetKind(cxbkDropDown);
    button->SetDropDownMenu(menu);
    const TPoint bottomLeft = ScreenOf(button, 0, 25);
    const int menuHeight = GetPopupMenuHeight(menu);
    button->Perform(CM_BUTTONDROPDOWNMENU);
    EXPECT_EQ(menuPoint, bottomLeft);
    EXPECT_EQ(menuAlignment, paLeft);
    // A work area that ends just below the button: the menu opens above it.
    Fixed().monitors[0].WorkArea = {0, 0, 1024, bottomLeft.Y + menuHeight - 1};
    button->Perform(CM_BUTTONDROPDOWNMENU);
    EXPECT_EQ(menuPoint, (TPoint{bottomLeft.X, bottomLeft.Y - menuHeight - 25 - 2}));
    // Right-aligned at the work area's right edge: the menu opens to the left of the point.
    button->PopupAlignment = paRight;
    Fixed().monitors[0].WorkArea = {0, 0, bottomLeft.X + 75, 738};
    button->Perform(CM_BUTTONDROPDOWNMENU);
    EXPECT_EQ(menuPoint.X, bottomLeft.X + 75);
    EXPECT_EQ(menuAlignment, paRight);
    // At the left edge it opens to the right, keeping the menu on the screen.
    button->PopupAlignment = paLeft;
    Fixed().monitors[0].WorkArea = {bottomLeft.X, 0, 1024, 738};
    button->Perform(CM_BUTTONDROPDOWNMENU);
    EXPECT_EQ(menuAlignment, paLeft);
    EXPECT_EQ(menu->Alignment, paLeft); // restored after the popup
    // A handler may take the request over.
    button->OnDropDownMenuPopup = [](TObject*, TPopupMenu*&, bool& handled) { handled = true; };
    const int shown = menusShown;
    button->Perform(CM_BUTTONDROPDOWNMENU);
    EXPECT_EQ(menusShown, shown);
}

TEST_F(CxButtonTest, EnterClicksDefaultEscClicksCancelAndModalResultEndsTheDialog)
{
    auto* dialog = new TForm(nullptr);
    dialog->SetBounds(200, 200, 300, 120);
    auto* ok = new TcxButton(dialog);
    ok->SetParent(dialog);
    ok->SetBounds(10, 10, 75, 25);
    ok->Default = true;
    ok->ModalResult = mrOk;
    auto* cancel = new TcxButton(dialog);
    cancel->SetParent(dialog);
    cancel->SetBounds(100, 10, 75, 25);
    cancel->Cancel = true;
    cancel->ModalResult = mrCancel;
    auto* edit = new TEdit(dialog);
    edit->SetParent(dialog);
    edit->SetBounds(10, 50, 100, 21);
    dialog->SetActiveControl(edit);
    QObject timers;
    for (const auto& [key, text, result] :
         {std::tuple{Qt::Key_Return, "\r", mrOk}, std::tuple{Qt::Key_Escape, "\x1b", mrCancel}}) {
        QTimer::singleShot(20, &timers, [dialog, key = key, text = text] {
            if (!Activate(dialog))
                return;
            if (TWinControl* focused = FindControl(GetFocus()))
                QTest::sendKeyEvent(QTest::Click, focused->Peer(), key, QString(text), Qt::NoModifier);
        });
        QTimer::singleShot(3000, &timers, [dialog] { dialog->SetModalResult(mrAbort); });
        EXPECT_EQ(dialog->ShowModal(), result);
    }
    dialog->Free();
}

TEST_F(CxButtonTest, TheAcceleratorClicksWithoutTogglingDown)
{
    ASSERT_TRUE(Activate(form));
    button->SetCaption("&Go");
    button->SetGroupIndex(1);
    button->SetAllowAllUp(true);
    EXPECT_EQ(button->Perform(CM_DIALOGCHAR, 'g'), 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(button->Down());
    EXPECT_EQ(button->Perform(CM_DIALOGCHAR, 'x'), 0);
    // Space clicks, and toggles a grouped button's Down.
    button->SetFocus();
    vcl::input::InjectKey(VK_SPACE, true, " ");
    vcl::input::InjectKey(VK_SPACE, false);
    EXPECT_EQ(clicks, 2);
    EXPECT_TRUE(button->Down());
}

// ---- speed buttons ----

TEST_F(CxButtonTest, SpeedButtonsNeverTakeTheFocusAndToggleOnRelease)
{
    ASSERT_TRUE(Activate(form));
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 100, 100, 21);
    edit->SetFocus();
    button->SetCanBeFocused(false);
    EXPECT_TRUE(button->IsSpeedButtonMode());
    ClickAt(button, 10, 10);
    EXPECT_TRUE(edit->Focused());
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(button->Down()); // no group: Down stays up
    // A double click is a second press: a second click.
    Fixed().SetCursorPos(ScreenOf(button, 10, 10));
    vcl::input::InjectMouse(WM_LBUTTONDOWN, ScreenOf(button, 10, 10), MK_LBUTTON);
    vcl::input::InjectMouse(WM_LBUTTONUP, ScreenOf(button, 10, 10), 0);
    vcl::input::InjectMouse(WM_LBUTTONDBLCLK, ScreenOf(button, 10, 10), MK_LBUTTON);
    vcl::input::InjectMouse(WM_LBUTTONUP, ScreenOf(button, 10, 10), 0);
    EXPECT_EQ(clicks, 3);
    // Released outside: no click.
    vcl::input::InjectMouse(WM_LBUTTONDOWN, ScreenOf(button, 10, 10), MK_LBUTTON);
    Fixed().SetCursorPos(ScreenOf(button, 200, 10));
    vcl::input::InjectMouse(WM_MOUSEMOVE, ScreenOf(button, 200, 10), MK_LBUTTON);
    vcl::input::InjectMouse(WM_LBUTTONUP, ScreenOf(button, 200, 10), 0);
    EXPECT_EQ(clicks, 3);
    EXPECT_TRUE(edit->Focused());
}

TEST_F(CxButtonTest, GroupedSpeedButtonsKeepOneDown)
{
    ASSERT_TRUE(Activate(form));
    auto* second = new TcxButton(form);
    second->SetParent(form);
    second->SetBounds(120, 20, 75, 25);
    for (TcxButton* b : {button, second}) {
        b->SetCanBeFocused(false);
        b->SetGroupIndex(7);
    }
    button->SpeedButtonOptions()->SetFlat(true); // told to the group
    EXPECT_TRUE(second->SpeedButtonOptions()->Flat());
    ClickAt(button, 10, 10);
    EXPECT_TRUE(button->Down());
    ClickAt(second, 10, 10);
    EXPECT_TRUE(second->Down());
    EXPECT_FALSE(button->Down());
    // AllowAllUp off: clicking the down button leaves it down.
    ClickAt(second, 10, 10);
    EXPECT_TRUE(second->Down());
    // With AllowAllUp it goes up; group index 0 releases Down.
    second->SetAllowAllUp(true);
    ClickAt(second, 10, 10);
    EXPECT_FALSE(second->Down());
    second->SetDown(true);
    second->SetGroupIndex(0);
    EXPECT_FALSE(second->Down());
}

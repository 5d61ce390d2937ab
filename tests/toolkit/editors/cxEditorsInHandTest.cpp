// Editors driven the way a person drives them: real keys on the focused field, real focus moves
// between editors, and what the refused value, the accelerators and the hints do then.
#include "tests/toolkit/editors/TextEditorsTestSupport.h"

#include "platform/rtl/Variant.h"
#include <QLineEdit>
#include "platform/vcl/Menus.h"
#include "toolkit/editors/cxButtonEdit.h"

using namespace cx;

namespace {

class EditorsInHandTest : public TextFamilyTest {
protected:
    void SetUp() override
    {
        TextFamilyTest::SetUp();
        cxButtonEditUnit::Initialize();
    }
    void TearDown() override
    {
        TextFamilyTest::TearDown();
        cxButtonEditUnit::Finalize();
    }
    static bool HasFocus(TcxCustomTextEdit* e) { return e->InnerEdit()->GetControl()->Focused(); }
    // A button editor with its ellipsis and a text button "确定(&K)".
    TcxButtonEdit* ButtonEdit(int top)
    {
        auto* e = new TcxButtonEdit(form);
        TcxEditButton* text = e->Properties()->Buttons()->Add();
        text->SetKind(bkText);
        text->SetCaption("确定(&K)");
        return Place(e, top);
    }
    // The screen point in the middle of an editor's button.
    static TPoint ButtonCentre(TcxCustomEdit* e, int visibleIndex)
    {
        const TRect b = e->EditViewInfo()->ButtonsInfo[visibleIndex]->Bounds;
        return {(b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2};
    }
    // Shows the menus asked for instead of opening them; records captions and the point.
    struct MenuSpy {
        MenuSpy()
        {
            old = SetMenuPresenter([this](TPopupMenu* m, TPoint p) -> TMenuItem* {
                at.push_back(p);
                captions.clear();
                for (int i = 0; i < m->Items()->Count(); ++i)
                    captions.push_back(m->Items()->Items(i)->Caption);
                return nullptr;
            });
        }
        ~MenuSpy() { SetMenuPresenter(old); }
        TMenuPresenter old;
        std::vector<TPoint> at;
        std::vector<std::string> captions;
    };
};

// A refused value keeps the focus on every try, not only on the first: each Tab validates
// again, and once the text is mended the focus leaves with the value stored.
TEST_F(EditorsInHandTest, EveryTabOutOfARefusedValueValidatesAgain)
{
    auto* edit = Place(new TcxTextEdit(form), 10);
    int validations = 0;
    edit->Properties()->OnValidate = [&](TObject*, Variant& value, std::string& errorText, bool& error) {
        ++validations;
        if (VarToStr(value) == "bad") {
            error = true;
            errorText = "数值无效";
        }
    };
    Focus(edit);
    Type(edit, "bad");
    for (int attempt = 1; attempt <= 3; ++attempt) {
        Key(edit, Qt::Key_Tab);
        SpinUntil([] { return false; }, 20);
        EXPECT_EQ(validations, attempt);
        EXPECT_TRUE(HasFocus(edit)) << "attempt " << attempt;
        EXPECT_FALSE(HasFocus(other));
        EXPECT_TRUE(edit->EditValue().IsNull());
    }
    EXPECT_EQ(shown.size(), 3u);

    Key(edit, Qt::Key_End);
    Key(edit, Qt::Key_Backspace);
    Key(edit, Qt::Key_Backspace);
    Key(edit, Qt::Key_Backspace);
    Type(edit, "ok");
    Key(edit, Qt::Key_Tab);
    EXPECT_TRUE(HasFocus(other));
    EXPECT_EQ(VarToStr(edit->EditValue()), "ok");
    EXPECT_EQ(validations, 4);
}

// Alt with a button's accelerator clicks it from anywhere on the form; the letter alone types
// into a field, which takes characters.
TEST_F(EditorsInHandTest, AltWithTheAcceleratorClicksAnEditorsTextButton)
{
    auto* edit = ButtonEdit(10);
    std::vector<int> clicks;
    edit->Properties()->OnButtonClick = [&](TObject*, int index) { clicks.push_back(index); };
    Focus(other);
    Key(other, Qt::Key_K, Qt::AltModifier, "k");
    EXPECT_EQ(clicks, std::vector<int>{1});
    EXPECT_EQ(other->Text(), "");
    Focus(edit);
    Key(edit, Qt::Key_K, Qt::AltModifier, "k");
    EXPECT_EQ(clicks, (std::vector<int>{1, 1}));
    Type(edit, "k");
    EXPECT_EQ(edit->Text(), "k");
    EXPECT_EQ(clicks.size(), 2u);
    // A disabled button's accelerator is not taken.
    edit->Properties()->Buttons()->Items(1)->SetEnabled(false);
    Key(edit, Qt::Key_K, Qt::AltModifier, "k");
    EXPECT_EQ(clicks.size(), 2u);
}

// The Menu key and Shift+F10 open the editor's popup menu at its top-left corner when it has
// one, else the field's own menu in the program's language.
TEST_F(EditorsInHandTest, MenuKeyOpensTheEditorsMenuOrTheFieldsOwn)
{
    auto* edit = Place(new TcxTextEdit(form), 10);
    MenuSpy spy;
    Focus(edit);
    Key(edit, Qt::Key_Menu);
    ASSERT_EQ(spy.at.size(), 1u);
    const std::vector<std::string> standard = {"撤消(&U)", "-", "剪切(&T)", "复制(&C)",
                                               "粘贴(&P)", "删除(&D)", "-", "全选(&A)"};
    EXPECT_EQ(spy.captions, standard);

    auto* menu = new TPopupMenu(form);
    auto* item = new TMenuItem(menu);
    item->Caption = "读表地址";
    menu->Items()->Add(item);
    edit->SetPopupMenu(menu);
    Key(edit, Qt::Key_F10, Qt::ShiftModifier);
    ASSERT_EQ(spy.at.size(), 2u);
    EXPECT_EQ(spy.captions, std::vector<std::string>{"读表地址"});
    EXPECT_EQ(spy.at[1], edit->ClientToScreen({0, 0}));
    EXPECT_EQ(edit->Text(), "");
}

// A text button is as wide as its caption (and its frame), measured when the editor lays out,
// outside any painting; the caption is drawn whole.
TEST_F(EditorsInHandTest, ATextButtonIsAsWideAsItsCaption)
{
    auto* edit = ButtonEdit(10);
    edit->Properties()->Buttons()->Items(1)->SetCaption("浏览...");
    TBitmap measure;
    measure.SetSize(1, 1);
    measure.Canvas()->Font()->Assign(edit->Style()->GetVisibleFont());
    const int caption = measure.Canvas()->TextWidth("浏览...");
    ASSERT_GT(caption, 20);
    EXPECT_EQ(edit->EditViewInfo()->ButtonsInfo[1]->Bounds.Width(), caption + 7);
    // The ellipsis button keeps the system's width.
    EXPECT_EQ(edit->EditViewInfo()->ButtonsInfo[0]->Bounds.Width(), 16);
    SaveSurface(edit, "button-edit-text-button.png");
}

// A button's hint shows while the pointer rests on it, also when the editor has no hint of its
// own; only its short part, inside a frame it does not touch.
TEST_F(EditorsInHandTest, AButtonsHintShowsWithoutAnEditorHint)
{
    auto* edit = ButtonEdit(10);
    edit->Properties()->Buttons()->Items(1)->SetHint("读取电表|从电表读取地址");
    edit->ShowHint = true;
    const int oldPause = Application->HintPause;
    Application->HintPause = 20;
    Application->CancelHint();
    const TPoint p = ButtonCentre(edit, 1);
    Fixed().SetCursorPos(edit->ClientToScreen(p));
    QTest::mouseMove(edit->Peer(), QPoint(p.X, p.Y));
    vcl::DrainPostedMessages();
    const bool shown = SpinUntil(
        [] { return Application->HintWindow() && Application->HintWindow()->Visible(); }, 1000);
    Application->HintPause = oldPause;
    ASSERT_TRUE(shown);
    THintWindow* hint = Application->HintWindow();
    EXPECT_EQ(hint->Caption(), "读取电表");
    // Between the frame and the ink there is a row of the hint's own colour, top and bottom.
    hint->Perform(WM_PAINT);
    SaveSurface(hint, "hint-button.png", 6);
    const gdi::Surface& s = hint->Surface();
    const auto background = gdi::ColorToPixel(ColorToRGB(clInfoBk)) & 0xFFFFFF;
    for (int row : {1, s.Height() - 2})
        for (int x = 1; x < s.Width() - 1; ++x)
            ASSERT_EQ(s.Pixel(x, row) & 0xFFFFFF, background) << "row " << row << " x " << x;
    int ink = 0;
    for (int y = 2; y < s.Height() - 2; ++y)
        for (int x = 2; x < s.Width() - 2; ++x)
            ink += (s.Pixel(x, y) & 0xFFFFFF) != background;
    EXPECT_GT(ink, 20);
    SaveSurface(edit, "button-edit-hint-owner.png");
    Application->CancelHint();
}

// An editor's selection is painted only while it has the focus (HideSelection, on by default),
// and a password editor shows "*" or its own character.
TEST_F(EditorsInHandTest, TheFieldHidesItsSelectionAndShowsThePasswordCharacter)
{
    auto* edit = Place(new TcxTextEdit(form), 10);
    auto* keep = Place(new TcxTextEdit(form), 40);
    keep->Properties()->SetHideSelection(false);
    auto highlighted = [](TcxCustomTextEdit* e) { return HighlightedPixels(Field(e)); };
    for (TcxTextEdit* e : {edit, keep}) {
        Focus(e);
        Type(e, "jizhongqi");
        Key(e, Qt::Key_Home, Qt::ShiftModifier);
        EXPECT_GT(highlighted(e), 50);
    }
    Key(keep, Qt::Key_Tab);
    ASSERT_TRUE(HasFocus(other));
    EXPECT_EQ(highlighted(edit), 0);
    EXPECT_GT(highlighted(keep), 50);
    EXPECT_EQ(edit->SelLength(), 9);

    edit->Properties()->SetEchoMode(eemPassword);
    auto* line = static_cast<QLineEdit*>(Field(edit));
    EXPECT_EQ(line->displayText(), QString(9, u'*'));
    edit->Properties()->SetPasswordChar(u'#');
    EXPECT_EQ(line->displayText(), QString(9, u'#'));
    EXPECT_EQ(edit->Text(), "jizhongqi");
    SavePicture(form->Peer()->grab().toImage(), "editors-hidden-selection-password.png", 2);
}

// In a Chinese locale entering an editor whose data can be changed makes its field writable, so
// that the input method's first commit lands; a read-only editor stays read-only.
TEST_F(EditorsInHandTest, EnteringAnEditorOpensItsFieldForTheInputMethod)
{
    auto* edit = Place(new TcxTextEdit(form), 10);
    auto* locked = Place(new TcxTextEdit(form), 40);
    locked->Properties()->SetReadOnly(true);
    for (TcxTextEdit* e : {edit, locked})
        e->SetInternalReadOnly(true);   // as a field left read-only while its data was not there
    Focus(other);
    Key(other, Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_TRUE(HasFocus(locked));
    Commit(locked, QString::fromUtf8("电表"));
    EXPECT_EQ(locked->Text(), "");
    Key(locked, Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_TRUE(HasFocus(edit));
    Commit(edit, QString::fromUtf8("电表"));
    EXPECT_EQ(edit->Text(), "电表");
}

} // namespace

// The BLOB editor: cell icons and texts by kind and paint style, the popup memo with its OK and
// Cancel buttons driven by real keys and clicks, the storing rules, and where the buttons go.
#include "tests/toolkit/editors/TextEditorsTestSupport.h"
#include "tests/common/TestPictures.h"

#include "toolkit/editors/cxBlobEdit.h"
#include "toolkit/controls/cxContainerPopup.h"
#include "toolkit/editors/cxDropDownEdit.h"

#include <set>

using namespace cx;

namespace {

class BlobEditTest : public TextFamilyTest {
protected:
    void SetUp() override
    {
        TextFamilyTest::SetUp();
        cxDropDownEditUnit::Initialize();
        cxMemoUnit::Initialize();
        cxImageUnit::Initialize();
        cxBlobEditUnit::Initialize();
        edit = Place(new TcxBlobEdit(form), 10);
        edit->OnClosePopup = [this](TcxControl*, TcxEditCloseUpReason r) { reasons.push_back(r); };
    }
    void TearDown() override
    {
        if (edit->DroppedDown())
            edit->HidePopup(edit, crUnknown);
        TextFamilyTest::TearDown();
        EXPECT_EQ(cxPopupWindowCount(), 0);
        cxBlobEditUnit::Finalize();
        cxImageUnit::Finalize();
        cxMemoUnit::Finalize();
        cxDropDownEditUnit::Finalize();
    }
    TcxPopupMemo* Memo() { return dynamic_cast<TcxPopupMemo*>(edit->PopupControl()); }
    void Open()
    {
        Focus(edit);
        Key(edit, Qt::Key_F4);
        SpinUntil([&] { return edit->DroppedDown() && Memo() && Memo()->IsEditFocused(); }, 500);
        ASSERT_TRUE(edit->DroppedDown());
        ASSERT_TRUE(Memo());
    }
    void WaitClosed() { SpinUntil([&] { return !edit->DroppedDown(); }, 500); }
    TcxBlobEdit* edit = nullptr;
    std::vector<TcxEditCloseUpReason> reasons;
};

TEST_F(BlobEditTest, IconsAndCellTextsByKind)
{
    struct Row {
        TcxBlobEditKind kind;
        Variant value;
        int icon;
        const char* word;   // bpsDefault
    } rows[] = {
        {bekMemo, Variant::MakeNull(), 2, "(memo)"},
        {bekMemo, Variant(std::string("text")), 3, "(MEMO)"},
        {bekMemo, Variant(std::string()), 2, "(MEMO)"},
        {bekPict, Variant::MakeNull(), 4, "(picture)"},
        {bekPict, Variant(std::string("\x42\x4d")), 5, "(PICTURE)"},
        {bekOle, Variant::MakeNull(), 6, ""},
        {bekOle, Variant(std::string("x")), 7, ""},
        {bekBlob, Variant::MakeNull(), 0, ""},
        {bekBlob, Variant(std::string("x")), 1, ""},
    };
    TcxBlobEditProperties* p = edit->Properties();
    for (const Row& r : rows) {
        p->SetBlobEditKind(r.kind);
        p->SetBlobPaintStyle(bpsIcon);
        EXPECT_EQ(p->GetImageIndex(r.value), r.icon) << r.kind << " " << r.word;
        EXPECT_EQ(p->GetBlobText(r.value), "") << r.kind;
        p->SetBlobPaintStyle(bpsDefault);
        EXPECT_EQ(p->GetBlobText(r.value), r.word) << r.kind;
    }
    // The text style shows a memo's first line; the display text for sorting and filtering.
    p->SetBlobEditKind(bekMemo);
    p->SetBlobPaintStyle(bpsText);
    EXPECT_EQ(p->GetBlobText(Variant(std::string("first\r\nsecond"))), "first");
    EXPECT_EQ(p->GetDisplayText(Variant(std::string("first\r\nsecond"))), u"first\r\nsecond");
    p->SetBlobEditKind(bekOle);
    EXPECT_EQ(p->GetDisplayText(Variant(std::string("x"))), u"OLE");
    EXPECT_EQ(p->GetDisplayText(Variant::MakeNull()), u"");
    // Eight icons of 18 by 16.
    EXPECT_EQ(cxBlobEditImages()->Count(), 8);
    EXPECT_EQ(cxBlobEditImages()->GetWidth(), 18);
    EXPECT_EQ(cxBlobEditImages()->GetHeight(), 16);
}

TEST_F(BlobEditTest, KindSetsTheButtonAndAutoBecomesBlobWithoutData)
{
    TcxBlobEditProperties fresh(nullptr);
    EXPECT_EQ(fresh.BlobEditKind(), bekAuto);
    EXPECT_EQ(fresh.Buttons()->Items(0)->Kind(), bkEllipsis);
    TcxBlobEditProperties* p = edit->Properties();
    p->SetBlobEditKind(bekMemo);
    EXPECT_EQ(p->Buttons()->Items(0)->Kind(), bkDown);
    // The stand-alone editor's binding answers memo; properties without a binding give BLOB.
    p->SetBlobEditKind(bekAuto);
    p->CorrectBlobEditKind();
    EXPECT_EQ(p->BlobEditKind(), bekMemo);
    TcxBlobEditProperties unbound(nullptr);
    unbound.CorrectBlobEditKind();
    EXPECT_EQ(unbound.BlobEditKind(), bekBlob);
    EXPECT_TRUE(p->ImmediatePopup());
    EXPECT_EQ(p->PopupMinWidth(), 160);
    EXPECT_EQ(p->PopupMinHeight(), 140);
    EXPECT_EQ(GetRegisteredEditProperties()->GetDescriptionByClass(&TcxBlobEditProperties::StaticClass()), "BlobEdit");
    // The filter helper exists but the unit leaves it unregistered.
    TcxCustomFilterEditHelperClass helper = FilterEditsController()->FindHelper(&TcxBlobEditProperties::StaticClass());
    EXPECT_NE(helper, TcxCustomFilterEditHelper::Of<TcxFilterBlobEditHelper>());
}

TEST_F(BlobEditTest, OleAndBlobNeverOpen)
{
    for (TcxBlobEditKind kind : {bekOle, bekBlob}) {
        edit->Properties()->SetBlobEditKind(kind);
        Focus(edit);
        Key(edit, Qt::Key_F4);
        vcl::DrainPostedMessages();
        EXPECT_FALSE(edit->DroppedDown()) << kind;
    }
}

TEST_F(BlobEditTest, StoringTable)
{
    enum Action { OkButton, CancelButton, Esc, F4, CtrlEnter };
    struct Row {
        const char* name;
        bool alwaysSave;
        bool readOnly;
        bool modify;
        Action action;
        bool stored;
    } rows[] = {
        {"OK", false, false, true, OkButton, true},
        {"Ctrl+Enter", false, false, true, CtrlEnter, true},
        {"Cancel", true, false, true, CancelButton, false},
        {"Esc", true, false, true, Esc, false},
        {"F4 saving", true, false, true, F4, true},
        {"F4 not saving", false, false, true, F4, false},
        {"read-only", true, true, true, F4, false},
        {"not modified", true, false, false, OkButton, false},
    };
    for (const Row& r : rows) {
        edit->Properties()->SetBlobEditKind(bekMemo);
        edit->Properties()->SetAlwaysSaveData(r.alwaysSave);
        edit->Properties()->SetReadOnly(r.readOnly);
        edit->SetEditValue(Variant(std::string("old")));
        reasons.clear();
        Open();
        EXPECT_EQ(Memo()->Text(), "old") << r.name;
        if (r.readOnly) {
            EXPECT_FALSE(edit->OKButton()) << r.name;
            EXPECT_EQ(edit->CancelButton()->Caption(), "&Close") << r.name;
        } else {
            ASSERT_TRUE(edit->OKButton()) << r.name;
            EXPECT_EQ(edit->CancelButton()->Caption(), "&Cancel") << r.name;
            EXPECT_FALSE(edit->OKButton()->Enabled()) << r.name;
        }
        if (r.modify) {
            Key(Memo(), Qt::Key_End);
            Type(Memo(), "er");
        }
        if (r.modify && !r.readOnly) {
            EXPECT_TRUE(edit->OKButton()->Enabled()) << r.name;
        }
        switch (r.action) {
        case OkButton:
            if (edit->OKButton() && edit->OKButton()->Enabled())
                QTest::mouseClick(edit->OKButton()->Peer(), Qt::LeftButton);
            else
                edit->ClosePopupWith(mrOk);
            break;
        case CancelButton: QTest::mouseClick(edit->CancelButton()->Peer(), Qt::LeftButton); break;
        case Esc: Key(Memo(), Qt::Key_Escape); break;
        case F4: Key(Memo(), Qt::Key_F4); break;
        case CtrlEnter: Key(Memo(), Qt::Key_Return, Qt::ControlModifier); break;
        }
        vcl::DrainPostedMessages();
        WaitClosed();
        EXPECT_FALSE(edit->DroppedDown()) << r.name;
        EXPECT_EQ(VarToStr(edit->EditValue()), r.stored ? "older" : "old") << r.name;
        EXPECT_EQ(reasons.size(), 1u) << r.name;
    }
}

TEST_F(BlobEditTest, EnterIsANewLineInAMemoThatWantsReturns)
{
    edit->Properties()->SetBlobEditKind(bekMemo);
    edit->SetEditValue(Variant(std::string("a")));
    Open();
    Key(Memo(), Qt::Key_End);
    Key(Memo(), Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_TRUE(edit->DroppedDown());
    Key(Memo(), Qt::Key_Escape);
    WaitClosed();
    edit->Properties()->SetMemoWantReturns(false);
    Open();
    Key(Memo(), Qt::Key_End);
    Type(Memo(), "b");
    Key(Memo(), Qt::Key_Return, Qt::NoModifier, "\r");
    WaitClosed();
    EXPECT_FALSE(edit->DroppedDown());
    EXPECT_EQ(VarToStr(edit->EditValue()), "ab");
}

TEST_F(BlobEditTest, ButtonsSitBesideTheGrip)
{
    // h = 20, button width 60, panel 26 (spare 6); a 300-pixel window. Right grip: Cancel ends
    // h div 6 left of it; left grip: Cancel mirrors it from the right edge (at least 2 (h div 6)).
    struct Row {
        TcxEditCorner corner;
        TRect grip;
        TRect cancel, ok;
    } rows[] = {
        {ecoBottomRight, {284, 184, 298, 198}, {221, 177, 281, 197}, {155, 177, 215, 197}},
        {ecoBottomLeft, {2, 184, 16, 198}, {234, 177, 294, 197}, {168, 177, 228, 197}},
        {ecoTopRight, {284, 2, 298, 16}, {221, 3, 281, 23}, {155, 3, 215, 23}},
        {ecoTopLeft, {10, 2, 24, 16}, {230, 3, 290, 23}, {164, 3, 224, 23}},
    };
    for (const Row& r : rows) {
        const TcxBlobButtonsLayout l = cxBlobCalcButtons(r.grip, r.corner, 300, 60, 20, 26, true);
        EXPECT_EQ(l.Cancel, r.cancel) << r.corner;
        EXPECT_EQ(l.OK, r.ok) << r.corner;
    }
    EXPECT_TRUE(cxRectIsEmpty(cxBlobCalcButtons({}, ecoBottomRight, 300, 60, 20, 26, false).OK));
    // The live popup: both buttons in the system panel below the memo, Cancel right of OK.
    edit->Properties()->SetBlobEditKind(bekMemo);
    Open();
    TcxButton* cancel = edit->CancelButton();
    TcxButton* ok = edit->OKButton();
    EXPECT_GT(cancel->Top(), Memo()->Top() + Memo()->Height() - 1);
    EXPECT_EQ(ok->Top(), cancel->Top());
    EXPECT_EQ(ok->Left() + ok->Width() + edit->ButtonHeight() / 3, cancel->Left());
    EXPECT_LE(cancel->Left() + cancel->Width(), edit->PopupWindow()->Width());
    edit->PopupWindow()->Update();
    SaveTestPicture(edit->PopupWindow()->Peer()->grab().toImage(), "blob_edit_popup.png");
    Key(Memo(), Qt::Key_Escape);
    WaitClosed();
}

TEST_F(BlobEditTest, TheCellShowsTheKindsIconOrItsWord)
{
    TcxBlobEditProperties* p = edit->Properties();
    p->SetBlobEditKind(bekMemo);
    edit->SetEditValue(Variant(std::string("x")));
    edit->Invalidate();
    SpinUntil([] { return false; }, 20);
    auto* vi = dynamic_cast<TcxBlobEditViewInfo*>(edit->EditViewInfo());
    ASSERT_TRUE(vi);
    EXPECT_EQ(vi->ImageIndex, 3);
    EXPECT_TRUE(vi->Text.empty());
    EXPECT_EQ(vi->IconRect.Width(), 18);
    EXPECT_NEAR((vi->IconRect.Left + vi->IconRect.Right) / 2, (vi->ClientRect.Left + vi->ClientRect.Right) / 2, 1);
    // The picture of the editor shows the icon's page: white inside a black frame, on the
    // editor's own background (the field takes no room).
    edit->Update();
    const QImage shot = edit->Peer()->grab().toImage();
    SaveTestPicture(shot.scaled(shot.width() * 3, shot.height() * 3), "blob_edit_cell.png");
    EXPECT_EQ(shot.pixelColor(QPoint(vi->IconRect.Left + 8, vi->IconRect.Top + 5)), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(QPoint(vi->IconRect.Left + 3, vi->IconRect.Top + 5)), QColor(Qt::black));
    p->SetBlobPaintStyle(bpsDefault);
    SpinUntil([] { return false; }, 20);
    vi = dynamic_cast<TcxBlobEditViewInfo*>(edit->EditViewInfo());
    EXPECT_EQ(vi->ImageIndex, -1);
    EXPECT_EQ(vi->Text, u"(MEMO)");
}

// The screen shows what the editor's value says in every paint style, while its memo popup is
// closed and while it is open with other text typed in it.
TEST_F(BlobEditTest, TheEditorShowsItsStoredValueInEveryPaintStyle)
{
    TcxBlobEditProperties* p = edit->Properties();
    p->SetBlobEditKind(bekMemo);
    edit->SetEditValue(Variant(std::string("WWWW\r\nsecond")));
    auto inkBesideTheIcon = [&] {
        edit->Update();
        SpinUntil([] { return false; }, 20);
        const QImage shot = edit->Peer()->grab().toImage();
        auto* vi = dynamic_cast<TcxBlobEditViewInfo*>(edit->EditViewInfo());
        const TRect c = vi->ClientRect;
        int ink = 0;
        for (int y = c.Top + 2; y < c.Bottom - 2; ++y)
            for (int x = c.Left + 2; x < c.Right - 2; ++x)
                if (!cxRectPtIn(vi->IconRect, {x, y}) && qGray(shot.pixel(x, y)) < 0x60)
                    ++ink;
        return ink;
    };
    struct Case {
        TcxBlobPaintStyle style;
        bool text;   // text drawn beside (or instead of) the icon
    } cases[] = {{bpsText, true}, {bpsDefault, true}, {bpsIcon, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        p->SetBlobPaintStyle(c.style);
        EXPECT_EQ(inkBesideTheIcon() > 20, c.text);
        Open();
        Type(Memo(), "zz");
        EXPECT_EQ(inkBesideTheIcon() > 20, c.text);
        Key(Memo(), Qt::Key_Escape);
        WaitClosed();
    }
    // The text style's picture is the stored first line, the default style's the word.
    p->SetBlobPaintStyle(bpsText);
    const int line = inkBesideTheIcon();
    p->SetBlobPaintStyle(bpsDefault);
    EXPECT_NE(inkBesideTheIcon(), line);
}

// The icon is a glyph on the editor's background colour; a disabled editor greys it and keeps
// its page and lines apart (not one grey square).
TEST_F(BlobEditTest, TheIconIsDrawnOnTheBackgroundColourAndGreyedWhenDisabled)
{
    edit->Properties()->SetBlobEditKind(bekMemo);
    edit->SetEditValue(Variant(std::string("x")));
    edit->Style()->SetColor(clYellow);
    auto icon = [&](TColor& background) {
        edit->Update();
        SpinUntil([] { return false; }, 20);
        const QImage shot = edit->Peer()->grab().toImage();
        auto* vi = dynamic_cast<TcxBlobEditViewInfo*>(edit->EditViewInfo());
        background = vi->BackgroundColor;
        const auto rgb = ColorToRGB(background);
        const QRgb bg = qRgb(int(rgb & 0xFF), int((rgb >> 8) & 0xFF), int((rgb >> 16) & 0xFF));
        struct {
            int background = 0, black = 0, white = 0;
            std::set<QRgb> shades;   // the icon's own colours
        } n;
        for (int y = vi->IconRect.Top; y < vi->IconRect.Bottom; ++y)
            for (int x = vi->IconRect.Left; x < vi->IconRect.Right; ++x) {
                const QRgb px = shot.pixel(x, y) | 0xFF000000;
                n.background += px == bg;
                n.black += px == qRgb(0, 0, 0);
                n.white += px == qRgb(255, 255, 255);
                if (px != bg)
                    n.shades.insert(px);
            }
        return n;
    };
    TColor background;
    auto enabled = icon(background);
    EXPECT_EQ(background, clYellow);
    EXPECT_GT(enabled.background, 20);   // the masked corners show the editor's colour
    EXPECT_GT(enabled.black, 20);        // the page's frame
    EXPECT_GT(enabled.white, 20);        // the page
    edit->SetEnabled(false);
    auto disabled = icon(background);
    EXPECT_GT(disabled.background, 20);
    EXPECT_EQ(disabled.black, 0);
    EXPECT_GE(disabled.shades.size(), 3u);
}

TEST_F(BlobEditTest, ACharacterTypedOnTheClosedEditorReplacesTheMemoText)
{
    edit->Properties()->SetBlobEditKind(bekMemo);
    edit->Properties()->SetMemoAutoReplace(true);
    edit->SetEditValue(Variant(std::string("old")));
    Focus(edit);
    Type(edit, "z");
    SpinUntil([&] { return edit->DroppedDown() && Memo() && Memo()->Text() == "z"; }, 500);
    ASSERT_TRUE(edit->DroppedDown());
    EXPECT_EQ(Memo()->Text(), "z");
    EXPECT_TRUE(edit->OKButton()->Enabled());
    QTest::mouseClick(edit->OKButton()->Peer(), Qt::LeftButton);
    WaitClosed();
    EXPECT_EQ(VarToStr(edit->EditValue()), "z");
    // A read-only memo drops the character.
    edit->Properties()->SetReadOnly(true);
    Focus(edit);
    Type(edit, "q");
    SpinUntil([&] { return edit->DroppedDown(); }, 500);
    vcl::DrainPostedMessages();
    if (edit->DroppedDown()) {
        EXPECT_EQ(Memo()->Text(), "z");
    }
}

TEST_F(BlobEditTest, APictureOpensInThePopupImage)
{
    auto* bitmap = new TBitmap();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(40, 30);
    TPicture picture;
    picture.SetGraphic(bitmap);   // taken over
    edit->Properties()->SetBlobEditKind(bekPict);
    edit->Properties()->SetPictureGraphicClass(TGraphicClass::Of<TBitmap>());
    edit->SetEditValue(Variant(SavePicture(&picture)));
    Focus(edit);
    Key(edit, Qt::Key_F4);
    SpinUntil([&] { return edit->DroppedDown(); }, 500);
    ASSERT_TRUE(edit->DroppedDown());
    auto* image = dynamic_cast<TcxPopupImage*>(edit->PopupControl());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Picture()->GetWidth(), 40);
    EXPECT_EQ(edit->GetPopupWindowClientPreferredSize(), (TSize{44, 34}));
    EXPECT_EQ(edit->ActiveProperties()->PopupControl(), image);
    // Enter on the picture is OK; nothing was changed, so nothing is stored.
    const Variant before = edit->EditValue();
    QTest::keyClick(image->Peer(), Qt::Key_Return);
    vcl::DrainPostedMessages();
    WaitClosed();
    EXPECT_FALSE(edit->DroppedDown());
    EXPECT_EQ(VarToStr(edit->EditValue()), VarToStr(before));
}

TEST_F(BlobEditTest, TheGraphicClassChoice)
{
    TcxBlobEditProperties* p = edit->Properties();
    EXPECT_EQ(p->PictureGraphicClass(), p->GetDefaultPictureGraphicClass());
    EXPECT_FALSE(p->IsPictureGraphicClassNameStored());
    // An unknown name changes nothing; an empty one clears the class.
    const std::string first = p->PictureGraphicClassName();
    p->SetPictureGraphicClassName("TNoSuchGraphic");
    EXPECT_EQ(p->PictureGraphicClassName(), first);
    p->SetPictureGraphicClassName("");
    EXPECT_FALSE(p->PictureGraphicClass());
    EXPECT_TRUE(p->IsPictureGraphicClassNameStored());
    // Without a class: a bitmap when pasting, none otherwise; the editor's event has the last word.
    EXPECT_EQ(edit->GetGraphicClass(true), TGraphicClass::Of<TBitmap>());
    EXPECT_FALSE(edit->GetGraphicClass(false));
    edit->OnGetGraphicClass = [](TObject*, bool pasting, TGraphicClass& c) {
        if (!pasting)
            c = TGraphicClass::Of<TBitmap>();
    };
    EXPECT_EQ(edit->GetGraphicClass(false), TGraphicClass::Of<TBitmap>());
    p->SetPictureGraphicClassName("TBitmap");
    EXPECT_EQ(p->PictureGraphicClass(), TGraphicClass::Of<TBitmap>());
}

TEST_F(BlobEditTest, APastedPictureIsStoredWithOKAndTold)
{
    TBitmap pasted;
    pasted.SetPixelFormat(pf24bit);
    pasted.SetSize(24, 12);
    Clipboard()->Assign(&pasted);
    edit->Properties()->SetBlobEditKind(bekPict);
    edit->Properties()->SetPictureGraphicClass(TGraphicClass::Of<TBitmap>());
    int told = 0;
    edit->Properties()->OnAssignPicture = [&](TObject*, TPicture* picture) {
        ++told;
        EXPECT_EQ(picture->GetWidth(), 24);
    };
    edit->SetEditValue(Variant::MakeNull());
    Focus(edit);
    Key(edit, Qt::Key_F4);
    SpinUntil([&] { return edit->DroppedDown(); }, 500);
    auto* image = dynamic_cast<TcxPopupImage*>(edit->PopupControl());
    ASSERT_TRUE(image);
    ASSERT_TRUE(edit->OKButton());
    EXPECT_FALSE(edit->OKButton()->Enabled());
    QTest::keyClick(image->Peer(), Qt::Key_Insert, Qt::ShiftModifier);
    vcl::DrainPostedMessages();
    EXPECT_EQ(image->Picture()->GetWidth(), 24);
    EXPECT_TRUE(edit->OKButton()->Enabled());
    QTest::mouseClick(edit->OKButton()->Peer(), Qt::LeftButton);
    WaitClosed();
    EXPECT_FALSE(edit->EditValue().IsNull());
    EXPECT_EQ(edit->StoredGraphicClass(), TGraphicClass::Of<TBitmap>());
    EXPECT_EQ(told, 1);
    EXPECT_EQ(edit->Properties()->GetImageIndex(edit->EditValue()), 5);
}

} // namespace

// The memo on its real multi-line field: cell text, line breaks on paste, the total length limit
// on every insert path, returns and Esc, auto height and the filter operators.
#include "tests/toolkit/editors/TextEditorsTestSupport.h"

#include "platform/rtl/Filer.h"
#include "platform/rtl/Unicode.h"
#include "platform/vcl/Peer.h"
#include "toolkit/core/cxGeometry.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QWheelEvent>
#include "toolkit/editors/cxMemo.h"

using namespace cx;

namespace {

class MemoTest : public TextFamilyTest {
protected:
    void SetUp() override
    {
        TextFamilyTest::SetUp();
        cxMemoUnit::Initialize();
        memo = Place(new TcxMemo(form), 10, 120);
    }
    void TearDown() override
    {
        TextFamilyTest::TearDown();
        cxMemoUnit::Finalize();
    }
    TcxMemo* memo = nullptr;
};

TEST(MemoText, CellsShowTheFirstLineAndBreaksAreNormalised)
{
    TcxMemoProperties properties(nullptr);
    EXPECT_EQ(properties.GetDisplayText(Variant(std::string("one\r\ntwo"))), u"one");
    EXPECT_EQ(properties.GetDisplayText(Variant(std::string("one\r\ntwo")), true), u"one\r\ntwo");
    EXPECT_EQ(properties.GetDisplayText(Variant(std::string(300, 'x'))).size(), 250u);

    struct Case {
        std::u16string in, out;
    } cases[] = {
        {u"a\n\rb", u"a\r\n\r\nb"},
        {u"\n\r\n\r", u"\r\n\r\n\r\n\r\n"},
        {u"a\r\nb", u"a\r\nb"},
        {u"a\rb\nc", u"a\r\nb\r\nc"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NormalizeMemoLineBreaks(c.in), c.out) << Utf16ToUtf8(c.in);
}

TEST_F(MemoTest, PastedLineBreaksAndReturns)
{
    Focus(memo);
    Clipboard()->SetAsText("a\n\rb");
    Key(memo, Qt::Key_V, Qt::ControlModifier, "v");
    EXPECT_EQ(memo->Text(), "a\r\n\r\nb");
    EXPECT_EQ(memo->Lines(), (std::vector<std::string>{"a", "", "b"}));

    memo->SetText("ab");
    memo->SetSelection(1, 0);
    Key(memo, Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(memo->Text(), "a\r\nb");
    EXPECT_EQ(memo->CaretPos(), (TPoint{0, 1}));
    memo->Properties()->SetWantReturns(false);
    Key(memo, Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(memo->Text(), "a\r\nb");
}

TEST_F(MemoTest, TheWholeTextStaysWithinMaxLength)
{
    Focus(memo);
    memo->Properties()->SetMaxLength(10);
    // Eight characters before the caret: only two of six fit.
    memo->SetText("abcdefgh");
    memo->SetSelection(8, 0);
    memo->SetSelText("123456");
    EXPECT_EQ(memo->Text(), "abcdefgh12");

    struct Path {
        const char* name;
        std::function<void()> run;
    } paths[] = {
        {"SelText", [&] { memo->SetSelText("123456"); }},
        {"typing", [&] { Type(memo, "123456"); }},
        {"paste", [&] {
             Clipboard()->SetAsText("123456");
             Key(memo, Qt::Key_V, Qt::ControlModifier, "v");
         }},
        {"commit", [&] { Commit(memo, "123456"); }},
    };
    // Text after the caret is never pushed out: the inserted part gives way.
    for (const Path& p : paths) {
        memo->SetText("abcdefgh");
        memo->SetSelection(4, 0);
        p.run();
        EXPECT_EQ(memo->Text(), "abcd12efgh") << p.name;
    }
    // An input-method commit at the limit is cut to what fits.
    memo->SetText("abcdefghi");
    memo->SetSelection(9, 0);
    Commit(memo, QString::fromUtf8("电表"));
    EXPECT_EQ(memo->Text(), "abcdefghi电");
}

TEST_F(MemoTest, EscReachesTheDialogAndUpDownStayInside)
{
    auto* cancel = new TButton(form);
    cancel->SetParent(form);
    cancel->SetBounds(250, 10, 80, 24);
    cancel->Cancel = true;
    int clicks = 0;
    cancel->OnClick = [&](TObject*) { ++clicks; };
    Focus(memo);
    memo->SetText("one\r\ntwo");
    memo->SetSelection(0, 0);
    Key(memo, Qt::Key_Up);
    Key(memo, Qt::Key_Down);
    EXPECT_EQ(memo->CaretPos().Y, 1);
    Key(memo, Qt::Key_Escape);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(memo->Text(), "one\r\ntwo");
}

TEST_F(MemoTest, VisibleLinesSizeAStandaloneMemo)
{
    memo->Properties()->SetVisibleLineCount(3);
    memo->SetBounds(10, 10, 200, 300);
    auto* canvas = memo->Canvas();
    canvas->SetFont(memo->Style()->GetVisibleFont());
    const int lines = 3 * canvas->TextHeight("Zg") + 4;
    EXPECT_GE(memo->Height(), lines);
    EXPECT_LT(memo->Height(), 300);
    TcxCustomFilterEditHelperClass helper = FilterEditsController()->FindHelper(&TcxMemoProperties::StaticClass());
    ASSERT_NE(helper, nullptr);
    EXPECT_EQ(helper->GetSupportedFilterOperators(memo->Properties(), nullptr),
              (TcxFilterControlOperators{fcoLike, fcoNotLike, fcoBlanks, fcoNonBlanks}));
}

// The memo's own bars stay hidden; the container's painted ones lie over the strips it keeps free
// and follow its range and position whatever scrolls it.
TEST_F(MemoTest, TheContainersBarsMirrorTheMemo)
{
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    memo->SetText(text + "last");
    EXPECT_EQ(memo->VScrollBar(), nullptr);   // no bars before ScrollBars asks for them
    memo->Properties()->SetScrollBars(ssVertical);
    vcl::DrainPostedMessages();
    TcxCustomInnerMemo* inner = memo->InnerMemo();
    auto* box = static_cast<QPlainTextEdit*>(Field(memo));
    TcxControlScrollBar* bar = memo->VScrollBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(box->verticalScrollBar()->isVisible());
    ASSERT_TRUE(bar->Visible());
    EXPECT_FALSE(memo->HScrollBar()->Visible());
    const TScrollBarState state = inner->ScrollBarState(sbVertical);
    EXPECT_TRUE(state.Enabled);
    EXPECT_EQ(bar->BoundsRect(), cxRectOffset(state.Rect, inner->Left(), inner->Top()));
    EXPECT_EQ(bar->Max(), state.Max);
    EXPECT_EQ(bar->Position(), 0);
    // The text stays clear of the strip the bar covers.
    EXPECT_LE(box->viewport()->geometry().right() + 1, state.Rect.Left);

    auto inStep = [&] {
        return bar->Position() == inner->Box()->FirstVisibleLine() &&
               bar->Position() == box->verticalScrollBar()->value();
    };
    // The bar's lower arrow scrolls the memo one line.
    QWidget* barWidget = bar->Peer();
    QTest::mouseClick(barWidget, Qt::LeftButton, {}, QPoint(bar->Width() / 2, bar->Height() - 3));
    vcl::DrainPostedMessages();
    EXPECT_EQ(inner->Box()->FirstVisibleLine(), 1);
    EXPECT_TRUE(inStep());
    // The wheel (it goes to the focused field) and caret moves keep the bar in step.
    Focus(memo);
    QWheelEvent wheel(QPointF(20, 20), box->mapToGlobal(QPointF(20, 20)), {}, QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(inner->Peer(), &wheel);
    vcl::DrainPostedMessages();
    EXPECT_GT(bar->Position(), 1);
    EXPECT_TRUE(inStep());
    Key(memo, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(bar->Position(), bar->Max() - bar->PageSize() + 1);
    EXPECT_TRUE(inStep());
    Key(memo, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(bar->Position(), 0);
    // A dragged thumb takes the memo to its line.
    int pos = 5;
    memo->Scroll(sbVertical, scTrack, pos);
    EXPECT_EQ(pos, 5);
    EXPECT_EQ(inner->Box()->FirstVisibleLine(), 5);
    EXPECT_TRUE(inStep());
    // Resizing keeps the bar over the strip; ScrollBars back to none takes the bars away.
    memo->SetBounds(10, 10, 240, 160);
    vcl::DrainPostedMessages();
    ASSERT_TRUE(bar->Visible());
    EXPECT_EQ(bar->BoundsRect(), cxRectOffset(inner->ScrollBarState(sbVertical).Rect, inner->Left(), inner->Top()));
    // Both bars: the horizontal one over the bottom strip, the size grip in the corner.
    memo->Properties()->SetWordWrap(false);
    memo->SetText(std::string(200, 'w') + "\r\n" + text);
    memo->Properties()->SetScrollBars(ssBoth);
    vcl::DrainPostedMessages();
    inner = memo->InnerMemo();
    TcxControlScrollBar* hbar = memo->HScrollBar();
    ASSERT_TRUE(hbar->Visible());
    EXPECT_EQ(hbar->BoundsRect(), cxRectOffset(inner->ScrollBarState(sbHorizontal).Rect, inner->Left(), inner->Top()));
    // Qt measures the long line a little later; the bar takes the new range when it comes.
    ASSERT_TRUE(SpinUntil([&] { return hbar->Max() == inner->ScrollBarState(sbHorizontal).Max && hbar->Enabled(); }, 1000));
    EXPECT_GT(hbar->Max(), hbar->PageSize());
    int hpos = 0;
    memo->Scroll(sbHorizontal, scPageDown, hpos);
    EXPECT_GT(hpos, 0);
    EXPECT_EQ(hbar->Position(), hpos);
    ASSERT_TRUE(memo->SizeGrip()->Visible());
    EXPECT_EQ(memo->SizeGrip()->Left(), memo->VScrollBar()->Left());
    EXPECT_EQ(memo->SizeGrip()->Top(), hbar->Top());
    memo->Properties()->SetScrollBars(ssNone);
    EXPECT_EQ(memo->VScrollBar(), nullptr);
}

TEST_F(MemoTest, BarsAskedForBeforeTheWindowExists)
{
    auto* early = new TcxMemo(form);
    early->Properties()->SetScrollBars(ssVertical);
    early->SetText(std::string(40, 'x') + std::string(30 * 2, '\n'));
    Place(early, 140, 60);
    vcl::DrainPostedMessages();
    ASSERT_NE(early->VScrollBar(), nullptr);
    ASSERT_TRUE(SpinUntil([&] { return early->VScrollBar()->Visible() && early->VScrollBar()->Enabled(); }, 1000));
    EXPECT_EQ(early->VScrollBar()->Parent(), early);
    EXPECT_EQ(early->VScrollBar()->Max(), early->InnerMemo()->ScrollBarState(sbVertical).Max);
}

TEST_F(MemoTest, MouseInputOnTheFieldReachesTheMemo)
{
    std::string seen;
    memo->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
        seen += "D" + std::to_string(x) + "," + std::to_string(y) + " ";
    };
    memo->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { seen += "U "; };
    memo->OnClick = [&](TObject*) { seen += "C "; };
    memo->OnDblClick = [&](TObject*) { seen += "2 "; };
    TWinControl* field = memo->InnerMemo();
    QTest::mouseClick(Field(memo), Qt::LeftButton, {}, QPoint(5, 6));
    QTest::mouseDClick(Field(memo), Qt::LeftButton, {}, QPoint(5, 6));
    vcl::DrainPostedMessages();
    const std::string at = "D" + std::to_string(field->Left() + 5) + "," + std::to_string(field->Top() + 6) + " ";
    EXPECT_EQ(seen.substr(0, at.size() + 4), at + "C U ");
    EXPECT_NE(seen.find("2 "), std::string::npos);
    EXPECT_TRUE(field->Focused());
    EXPECT_FALSE(memo->InnerControlMouseDown);
}

TEST_F(MemoTest, LoadedLinesBecomeTheEditValue)
{
    TMemoryStream stream;
    {
        TWriter writer(&stream, 16);
        writer.WriteListEnd();
    }
    // Nothing loaded: the value stays as it was.
    stream.SetPosition(0);
    TReader empty(&stream, 16);
    memo->ReadState(&empty);
    EXPECT_TRUE(memo->EditValue().IsNull());
    // Lines the memo got while loading become its value.
    memo->InnerMemo()->SetLines({"one", "two"});
    memo->SetEditValueSilently(Variant::MakeNull());
    stream.SetPosition(0);
    TReader reader(&stream, 16);
    memo->ReadState(&reader);
    EXPECT_EQ(VarToStr(memo->EditValue()), "one\r\ntwo");
}

} // namespace

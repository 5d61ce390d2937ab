// The hyperlink editor: the prefix on leaving, which addresses the opener gets, the start
// triggers through real input, OnStartClick, failures reported and the link colour.
#include "tests/toolkit/editors/TextEditorsTestSupport.h"

#include "tests/common/StreamTestSupport.h"

#include "toolkit/editors/cxHyperLinkEdit.h"

using namespace cx;

namespace {

class HyperLinkEditTest : public TextFamilyTest {
protected:
    void SetUp() override
    {
        TextFamilyTest::SetUp();
        cxHyperLinkEditUnit::Initialize();
        previous = SetHyperLinkOpener([this](const std::string& url) {
            opened.push_back(url);
            return openResult;
        });
        edit = Place(new TcxHyperLinkEdit(form), 10);
    }
    void TearDown() override
    {
        SetHyperLinkOpener(previous);
        TextFamilyTest::TearDown();
        cxHyperLinkEditUnit::Finalize();
    }
    TcxHyperLinkEdit* edit = nullptr;
    TcxHyperLinkOpener previous;
    std::vector<std::string> opened;
    bool openResult = true;
};

TEST_F(HyperLinkEditTest, OnlyStrictAddressesReachTheOpener)
{
    struct Case {
        const char* text;
        const char* opens;   // null: refused with a beep
    } cases[] = {
        {"www.example.com", "http://www.example.com"},
        {"  https://h.example:8080/p?q=1#f ", "https://h.example:8080/p?q=1#f"},
        {"ftp://h/f", "ftp://h/f"},
        {"mailto:a@b.c", "mailto:a@b.c"},
        {"file:///a", nullptr},
        {"/a/b", nullptr},
        {"javascript:x", nullptr},
        {"http://", nullptr},
        {"http://a b", nullptr},
        {"http://x\"onload", nullptr},
        {"http://user@evil.example", nullptr},
    };
    for (const Case& c : cases) {
        opened.clear();
        const int beeps = Fixed().beeps;
        edit->SetEditValue(Variant(std::string(c.text)));
        EXPECT_EQ(edit->DoStart(), c.opens != nullptr) << c.text;
        if (c.opens) {
            EXPECT_EQ(opened, std::vector<std::string>{c.opens}) << c.text;
        } else {
            EXPECT_TRUE(opened.empty()) << c.text;
            EXPECT_EQ(Fixed().beeps, beeps + 1) << c.text;
        }
    }
    // An empty text opens nothing, silently.
    edit->SetEditValue(Variant(std::string("  ")));
    EXPECT_FALSE(edit->DoStart());
    EXPECT_TRUE(opened.empty());
}

TEST_F(HyperLinkEditTest, ThePrefixIsStoredOnLeavingUnlessTheTextHasIt)
{
    struct Case {
        const char* typed;
        const char* stored;
    } cases[] = {
        {"example.com", "http://example.com"},
        {"http://example.com", "http://example.com"},
        {"HTTP://x", "http://HTTP://x"},   // the prefix is compared in its own letter case
    };
    for (const Case& c : cases) {
        edit->SetEditValue(Variant(std::string()));
        Focus(edit);
        Type(edit, QString::fromLatin1(c.typed));
        Focus(other);
        EXPECT_EQ(VarToStr(edit->EditValue()), c.stored) << c.typed;
    }
    // upNever opens the text exactly as typed, trimmed.
    edit->Properties()->SetUsePrefix(upNever);
    edit->SetEditValue(Variant(std::string(" https://a.b ")));
    EXPECT_TRUE(edit->DoStart());
    EXPECT_EQ(opened.back(), "https://a.b");
}

TEST_F(HyperLinkEditTest, AnOwnPrefixTravelsInTheStreamAndTheDefaultStaysOut)
{
    TcxHyperLinkEditProperties source(nullptr), target(nullptr);
    const std::string defaultPrefix = source.Prefix();
    EXPECT_EQ(WriteDefinedProperties(&source).find("Prefix"), std::string::npos);
    source.SetPrefix("ftp://");
    ReadDefinedProperties(WriteDefinedProperties(&source), &target);
    EXPECT_EQ(target.Prefix(), "ftp://");
    source.SetPrefix(defaultPrefix);
    ReadDefinedProperties(WriteDefinedProperties(&source), &target);
    EXPECT_EQ(target.Prefix(), "ftp://");   // nothing written, nothing changed
}

TEST_F(HyperLinkEditTest, TriggersStartClickAndFailures)
{
    edit->SetEditValue(Variant(std::string("http://a.example")));
    Focus(edit);
    Key(edit, Qt::Key_Return, Qt::ControlModifier, "\r");   // the start key
    EXPECT_EQ(opened.size(), 1u);
    // A single click opens in single-click mode ...
    edit->Properties()->SetSingleClick(true);
    QTest::mouseClick(Field(edit), Qt::LeftButton, {}, QPoint(5, 5));
    vcl::DrainPostedMessages();
    EXPECT_EQ(opened.size(), 2u);
    // ... and otherwise two clicks within the double-click time do.
    edit->Properties()->SetSingleClick(false);
    Fixed().ticks += 1000;
    QTest::mouseClick(Field(edit), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(opened.size(), 2u);
    QTest::mouseClick(Field(edit), Qt::LeftButton, {}, QPoint(5, 5));
    vcl::DrainPostedMessages();
    EXPECT_EQ(opened.size(), 3u);

    // A start-click handler replaces opening.
    int clicks = 0;
    edit->Properties()->OnStartClick = [&](TObject*) { ++clicks; };
    EXPECT_TRUE(edit->DoStart());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(opened.size(), 3u);
    edit->Properties()->OnStartClick = nullptr;

    // An address the opener cannot open is reported.
    openResult = false;
    std::string failed;
    edit->OnOpenFailed = [&](TObject*, const std::string& url) { failed = url; };
    EXPECT_FALSE(edit->DoStart());
    EXPECT_EQ(failed, "http://a.example");
}

TEST_F(HyperLinkEditTest, LinkColourUnderlineAndHandCursor)
{
    TcxHyperLinkEditViewInfo info;
    info.EditProperties = edit->Properties();
    info.Painter = edit->Style()->GetLookAndFeel()->GetPainter();
    EXPECT_EQ(info.GetHyperLinkTextColor(), info.Painter->DefaultHyperlinkTextColor());
    edit->Properties()->SetLinkColor(clRed);
    EXPECT_EQ(info.GetHyperLinkTextColor(), clRed);
    EXPECT_EQ(edit->Style()->GetTextColor(), clRed);
    EXPECT_TRUE(edit->Style()->GetTextStyle() & FontStyle(fsUnderline));

    edit->Properties()->SetSingleClick(true);
    edit->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_EQ(edit->Cursor(), crcxHandPoint);
    EXPECT_EQ(edit->InnerTextEditControl()->Cursor(), crcxHandPoint);
    EXPECT_EQ(Screen->Cursor(), crDefault);
    edit->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(edit->Cursor(), crDefault);
}

} // namespace

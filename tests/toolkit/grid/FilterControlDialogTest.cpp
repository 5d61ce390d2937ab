// The filter builder dialog: its build, title, remembered bounds, buttons, file choosers and
// keys, shown modally through the grid's filter dialog hook and scripted from timers.
#include "FilterBuilderTestSupport.h"
#include "tests/common/TestPictures.h"

#include "platform/rtl/CodePage.h"

#include "toolkit/core/cxClasses.h"
#include "toolkit/core/dxCore.h"
#include "toolkit/editors/cxDropDownEdit.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

namespace {

using namespace fbtest;

TEST_F(FilterDialogTest, TextsAreRegisteredUnderTheirProduct)
{
    const auto& table = cxFilterControlResourceStringTable();
    ASSERT_EQ(table.size(), 33u);
    EXPECT_STREQ(table.front().name, "cxSFilterBoolOperatorAnd");
    EXPECT_STREQ(table.back().name, "cxSFilterControlDialogFileFilter");
    EXPECT_EQ(LoadResString(table.back().resString), "Filters (*.flt)|*.flt");
    TdxResourceStringsRepository* repository = dxResourceStringsRepository();
    const int index = repository->GetProductIndexByName("RudozadUvezarOrazava");
    ASSERT_GE(index, 0);
    EXPECT_EQ(repository->GetProducts(index)->GetResString(0) != nullptr, true);
    cxFilterControlDialogUnit::Finalize();
    EXPECT_LT(repository->GetProductIndexByName("RudozadUvezarOrazava"), 0);
    cxFilterControlDialogUnit::Initialize();
}

TEST_F(FilterDialogTest, BuiltInCodeWithItsButtonsAndTitle)
{
    UniqueObject<TfmFilterControlDialog> d(new TfmFilterControlDialog(Application));
    UniqueObject<TcxCustomFilterControl> fc(new TcxFilterControl(nullptr));
    d->FilterControl = fc.get();
    d->SetLookAndFeel(nullptr);   // nil: accepted, nothing changes
    d->Initialize("");
    EXPECT_EQ(d->Caption(), "Filter builder - [untitled.flt]");
    EXPECT_EQ(d->SaveDialog.FileName, "untitled.flt");
    EXPECT_EQ((TSize{d->ClientWidth(), d->ClientHeight()}), (TSize{552, 316}));
    EXPECT_TRUE(d->KeyPreview);
    EXPECT_EQ(d->pnlBottom->BoundsRect(), (TRect{0, 278, 552, 316}));
    EXPECT_EQ(d->pnlBottomRight->BoundsRect(), (TRect{234, 0, 552, 38}));
    EXPECT_EQ(fc->BoundsRect(), (TRect{0, 0, 552, 278}));
    struct Case {
        TcxButton* button;
        TRect bounds;
        const char* caption;
    };
    for (const Case& c : {Case{d->btOpen, {6, 8, 106, 31}, "&Open..."}, Case{d->btSave, {112, 8, 212, 31}, "&Save As..."},
                          Case{d->btOk, {0, 8, 100, 31}, "OK"}, Case{d->btCancel, {106, 8, 206, 31}, "Cancel"},
                          Case{d->btApply, {212, 8, 312, 31}, "&Apply"}}) {
        EXPECT_EQ(c.button->BoundsRect(), c.bounds) << c.caption;
        EXPECT_EQ(c.button->Caption(), c.caption);
    }
    EXPECT_EQ(d->btOpen->Hint, "Open|Opens an existing filter");
    EXPECT_TRUE(d->btCancel->Cancel);
    EXPECT_EQ(d->OpenDialog.Filter, "Filters (*.flt)|*.flt");
    EXPECT_EQ(d->SaveDialog.DefaultExt, "flt");
    EXPECT_EQ(d->OpenDialog.Title, "Open an existing filter");
    EXPECT_EQ(d->SaveDialog.Title, "Save the active filter to file");
    EXPECT_TRUE(d->SaveDialog.OverwritePrompt);
    // The user cannot make it smaller than the design's minimum (less the window frame).
    d->SetBounds(d->Left(), d->Top(), 100, 50);
    EXPECT_EQ((TSize{d->Width(), d->Height()}), (TSize{552, 138}));
    EXPECT_EQ(d->pnlBottomRight->Left(), 234);
    cxSetResourceString(&cxSFilterControlDialogCaption, "筛选器");
    d->SetTitle("电表.flt");
    EXPECT_EQ(d->Caption(), "筛选器 - [电表.flt]");
}

TEST_F(FilterDialogTest, OkOnlyReturnsTrueAndApplyStaysAppliedAfterCancel)
{
    std::vector<std::string> applied;
    EXPECT_FALSE(Run([&](TfmFilterControlDialog* d) {
        AddReadingEquals(d->FilterControl, 5);
        Press(d->btApply);
        applied.push_back(host->DataController()->Filter()->GetFilterText());
        Press(d->btCancel);
    }));
    EXPECT_EQ(host->DataController()->Filter()->Root()->Count(), 1);
    EXPECT_TRUE(Run([&](TfmFilterControlDialog* d) {
        AddReadingEquals(d->FilterControl, 6);
        Press(d->btOk);
    }));
    EXPECT_EQ(host->DataController()->Filter()->Root()->Count(), 2);
    EXPECT_EQ(applied.size(), 1u);
    EXPECT_TRUE(shown.empty());
}

TEST_F(FilterDialogTest, AnIncompleteRowIsReportedAndTheDialogStaysOpen)
{
    bool stillOpen = false;
    EXPECT_FALSE(Run([&](TfmFilterControlDialog* d) {
        AddReadingEquals(d->FilterControl, 5);
        auto* c = dynamic_cast<TcxConditionViewInfo*>(d->FilterControl->FocusedRow());
        c->SetOperator(fcoNone);
        Press(d->btOk);
        stillOpen = Screen->ActiveForm() == d && d->ModalResult() == mrNone;
        Press(d->btCancel);
    }));
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(host->DataController()->Filter()->Root()->Count(), 0);
}

// A file whose "in" condition lists no value: Apply says that a value is missing (item and
// operator are there), and the dialog stays open.
TEST_F(FilterDialogTest, AnEmptyListIsReportedForWhatIsMissing)
{
    const std::string file = dir.filePath("empty-list.flt").toStdString();
    bool stillOpen = false;
    Run([&](TfmFilterControlDialog* d) {
        TcxCustomFilterControl* fc = d->FilterControl;
        TcxFilterControlCriteria* criteria = fc->Criteria();
        criteria->AddItem(criteria->Root(), host->GetFilterItemLink(1), foInList,
                          VarArrayCreate(0, -1, varVariant), "");
        {
            TFileStream out(file, fmCreate);
            fc->WriteData(&out);
        }
        fc->Clear();
        answer = file;
        Press(d->btOpen);
        ASSERT_EQ(fc->RowCount(), 2);
        Press(d->btApply);
        Press(d->btOk);
        stillOpen = Screen->ActiveForm() == d && d->ModalResult() == mrNone;
        d->SetModalResult(mrCancel);
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(shown, (std::vector<std::string>{"Row 1 is incomplete: enter a value.",
                                               "Row 1 is incomplete: enter a value."}));
}

TEST_F(FilterDialogTest, WithoutALookAndFeelTheButtonsAndPanelsKeepTheirOwn)
{
    int shows = 0;
    TNotifyEvent onShow = [&](TObject*) { ++shows; };
    TColor panel = clNone;
    TcxLookAndFeelKind kind = lfFlat;
    host->LookAndFeel()->SetKind(lfOffice11);
    EXPECT_FALSE(Run(
        [&](TfmFilterControlDialog* d) {
            panel = d->pnlBottom->Color();
            kind = d->btOk->LookAndFeel()->GetKind();
            d->SetModalResult(mrCancel);
        },
        [&] { return ExecuteFilterControlDialog(host, nullptr, {}, onShow, clInfoBk); }));
    EXPECT_EQ(shows, 1);
    EXPECT_EQ(panel, clInfoBk);   // the builder's colour, no skin
    EXPECT_NE(kind, lfOffice11);
}

TEST_F(FilterDialogTest, AGivenFontScalesTheDialogAndTheFolderReachesTheFileDialogs)
{
    TFont font;
    font.SetName("MS Sans Serif");
    font.SetHeight(-22);
    int width = 0;
    std::string openFolder, saveFolder;
    Run(
        [&](TfmFilterControlDialog* d) {
            width = d->ClientWidth();
            openFolder = d->OpenDialog.InitialDir;
            saveFolder = d->SaveDialog.InitialDir;
            d->SetModalResult(mrCancel);
        },
        [&] { return ExecuteFilterControlDialog(host, host->LookAndFeel(), {}, {}, clDefault, "/srv/filters", &font); });
    EXPECT_GT(width, 552);
    EXPECT_EQ(openFolder, "/srv/filters");
    EXPECT_EQ(saveFolder, "/srv/filters");
}

TEST_F(FilterDialogTest, FirstDialogCentredTheNextWhereTheLastClosed)
{
    TRect first, moved;
    Run([&](TfmFilterControlDialog* d) {
        first = d->BoundsRect();
        d->SetBounds(30, 40, 600, 400);
        moved = d->BoundsRect();
        KeyTo(d->FilterControl, Qt::Key_Escape);
    });
    const TRect work = Screen->WorkAreaRect();
    EXPECT_EQ(first.Left, work.Left + (work.Width() - first.Width()) / 2);
    TRect second;
    Run([&](TfmFilterControlDialog* d) {
        second = d->BoundsRect();
        d->SetModalResult(mrCancel);
    });
    EXPECT_EQ(second, moved);
}

TEST_F(FilterDialogTest, EscClosesAnOpenDropDownFirst)
{
    bool droppedAfterFirst = true, openAfterFirst = false;
    EXPECT_FALSE(Run([&](TfmFilterControlDialog* d) {
        TcxCustomFilterControl* fc = d->FilterControl;
        AddReadingEquals(fc, 5);
        fc->SetFocus();
        fc->RowNavigate(fhtOperator);
        KeyTo(fc, Qt::Key_Return);
        TcxComboBox* combo = fc->ComboBox();
        QWidget* field = Field(combo);
        QTest::keyClick(field, Qt::Key_Escape);
        vcl::DrainPostedMessages();
        droppedAfterFirst = combo->DroppedDown();
        openAfterFirst = d->ModalResult() == mrNone;
        QTest::keyClick(field, Qt::Key_Escape);
        vcl::DrainPostedMessages();
    }));
    EXPECT_FALSE(droppedAfterFirst);
    EXPECT_TRUE(openAfterFirst);
}

TEST_F(FilterDialogTest, SaveProposesUntitledThenTheFileAndConfirmsReplacing)
{
    const std::string first = dir.filePath("meters").toStdString();   // no extension: "flt" added
    const std::string second = dir.filePath("other.flt").toStdString();
    std::string titleAfterOpen;
    Run([&](TfmFilterControlDialog* d) {
        AddReadingEquals(d->FilterControl, 5);
        answer = first;
        Press(d->btSave);
        // Saving over it again: the replace question is answered No, nothing is written.
        QFile::remove(QString::fromStdString(first + ".flt"));
        std::ofstream(first + ".flt") << "old";
        QTimer reply;
        reply.setInterval(20);
        QObject::connect(&reply, &QTimer::timeout, [&] {
            if (auto* box = Screen->ActiveForm(); box && !dynamic_cast<TfmFilterControlDialog*>(box)) {
                reply.stop();
                box->SetModalResult(mrNo);
            }
        });
        reply.start();
        Press(d->btSave);
        reply.stop();
        answer.clear();
        Press(d->btOpen);   // cancelled
        answer = second;
        std::ofstream(second) << "not a filter";
        Press(d->btOpen);   // fails: rows and title stay
        titleAfterOpen = d->Caption();
        EXPECT_EQ(d->FilterControl->RowCount(), 2);
        d->SetModalResult(mrCancel);
    });
    ASSERT_EQ(asked.size(), 4u);
    EXPECT_TRUE(asked[0].save);
    EXPECT_EQ(asked[0].fileName, "untitled.flt");
    EXPECT_EQ(asked[0].filter, "Filters (*.flt)|*.flt");
    EXPECT_EQ(asked[1].fileName, first + ".flt");
    EXPECT_FALSE(asked[2].save);
    EXPECT_EQ(asked[2].fileName, "");
    EXPECT_EQ(asked[2].title, "Open an existing filter");
    std::ifstream kept(first + ".flt");
    std::string content((std::istreambuf_iterator<char>(kept)), {});
    EXPECT_EQ(content, "old");
    EXPECT_EQ(titleAfterOpen, "Filter builder - [" + first + ".flt]");
    EXPECT_EQ(shown.size(), 1u);
}

// Open takes the file chosen even when it has no extension; a name typed without the extension
// finds the ".flt" file of that name when no file has the bare name.
TEST_F(FilterDialogTest, OpenTakesTheChosenFileWithOrWithoutExtension)
{
    const std::string bare = dir.filePath("myfilter").toStdString();
    const std::string typed = dir.filePath("meters").toStdString();
    std::vector<std::string> titles;
    std::vector<int> rows;
    Run([&](TfmFilterControlDialog* d) {
        TcxCustomFilterControl* fc = d->FilterControl;
        AddReadingEquals(fc, 5);
        fc->SaveToFile(bare);
        AddReadingEquals(fc, 6);
        fc->SaveToFile(typed + ".flt");
        for (const std::string& name : {bare, typed}) {
            fc->Clear();
            answer = name;
            Press(d->btOpen);
            rows.push_back(fc->RowCount());
            titles.push_back(d->Caption());
        }
        d->SetModalResult(mrCancel);
    });
    EXPECT_EQ(rows, (std::vector<int>{2, 3}));
    EXPECT_EQ(titles, (std::vector<std::string>{"Filter builder - [" + bare + "]",
                                                "Filter builder - [" + typed + ".flt]"}));
    EXPECT_EQ(shown, std::vector<std::string>{});
}

// Save As onto a symbolic link writes the file the link names and keeps the link; a read-only
// file is refused with a message and stays as it was.
TEST_F(FilterDialogTest, SaveAsWritesThroughALinkAndRefusesAReadOnlyFile)
{
    const std::string target = dir.filePath("real.flt").toStdString();
    const std::string link = dir.filePath("link.flt").toStdString();
    const std::string locked = dir.filePath("locked.flt").toStdString();
    std::ofstream(target) << "old";
    std::ofstream(locked) << "kept";
    ASSERT_EQ(::symlink("real.flt", link.c_str()), 0);
    ASSERT_EQ(::chmod(locked.c_str(), 0444), 0);
    std::vector<std::string> titles;
    Run([&](TfmFilterControlDialog* d) {
        AddReadingEquals(d->FilterControl, 5);
        // The replace question is answered Yes.
        QTimer reply;
        reply.setInterval(20);
        QObject::connect(&reply, &QTimer::timeout, [&] {
            if (auto* box = Screen->ActiveForm(); box && !dynamic_cast<TfmFilterControlDialog*>(box))
                box->SetModalResult(mrYes);
        });
        reply.start();
        for (const std::string& name : {link, locked}) {
            answer = name;
            Press(d->btSave);
            titles.push_back(d->Caption());
        }
        reply.stop();
        d->SetModalResult(mrCancel);
    });
    struct stat st {};
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    auto content = [](const std::string& name) {
        std::ifstream in(name, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), {});
    };
    EXPECT_NE(content(target), "old");
    EXPECT_GT(content(target).size(), 20u);   // the filter
    EXPECT_EQ(content(locked), "kept");
    ASSERT_EQ(::stat(locked.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0444u);
    EXPECT_EQ(shown, std::vector<std::string>{"Cannot write file \"" + locked + "\". The file is read-only."});
    EXPECT_EQ(titles, (std::vector<std::string>{"Filter builder - [" + link + "]", "Filter builder - [" + link + "]"}));
}

// Filter files keep their texts in GBK as the program's other stored files do (files of earlier
// builds, in UTF-8, still open), and what GBK cannot hold is written so that nothing is lost:
// each value saved with Save As comes back with Open.
TEST_F(FilterDialogTest, FilterFilesKeepTheirTextsInGbkAndStillReadUtf8)
{
    auto bytesOf = [](const std::string& name) {
        std::ifstream in(name, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), {});
    };
    const struct {
        const char* value;
        bool gbk;   // written in GBK, else in UTF-8
    } cases[] = {{"东区%", true}, {"平", true}, {"表😀", false}};
    std::vector<std::string> opened;
    std::vector<bool> inGbk, inUtf8;
    std::string earlier;
    Run([&](TfmFilterControlDialog* d) {
        TcxCustomFilterControl* fc = d->FilterControl;
        auto meterLike = [fc](const std::string& value) {
            fc->Clear();
            AddCondition(fc, 0, fcoLike, Variant(value));
        };
        auto openedValue = [fc] {
            auto* c = dynamic_cast<TcxConditionViewInfo*>(fc->Rows(1));
            return c ? VarToStr(c->Values()->Items(0)->Value) + "|" + c->Values()->Items(0)->ValueText : "<none>";
        };
        for (const auto& c : cases) {
            const std::string file = dir.filePath(QString::fromUtf8(c.value).replace('%', 'p') + ".flt").toStdString();
            meterLike(c.value);
            answer = file;
            Press(d->btSave);
            const std::string bytes = bytesOf(file);
            inGbk.push_back(bytes.find(rtl::Utf8ToGbk(c.value)) != std::string::npos);
            inUtf8.push_back(bytes.find(c.value) != std::string::npos);
            fc->Clear();
            Press(d->btOpen);
            opened.push_back(openedValue());
        }
        // A file of an earlier build: its texts in UTF-8.
        meterLike("东区%");
        fc->GetFilterText();   // the rows into the criteria
        const std::string file = dir.filePath("earlier.flt").toStdString();
        {
            TFileStream out(file, fmCreate);
            fc->Criteria()->WriteData(&out);
        }
        fc->Clear();
        answer = file;
        Press(d->btOpen);
        earlier = openedValue();
        d->SetModalResult(mrCancel);
    });
    EXPECT_EQ(opened, (std::vector<std::string>{"东区%|东区%", "平|平", "表😀|表😀"}));
    EXPECT_EQ(inGbk, (std::vector<bool>{true, true, false}));
    EXPECT_EQ(inUtf8, (std::vector<bool>{false, false, true}));
    EXPECT_EQ(earlier, "东区%|东区%");
    EXPECT_EQ(shown, std::vector<std::string>{});
}

TEST_F(FilterDialogTest, RendersATwoConditionFilter)
{
    gdi::SetFontEngine(gdi::MakeQtFontEngine());
    static_cast<TcxEditorRow*>(host->Rows()->GetRow(0))->Properties()->SetCaption("电表 Meter");
    Run([&](TfmFilterControlDialog* d) {
        d->Font()->SetName("Noto Sans CJK SC");
        TcxCustomFilterControl* fc = d->FilterControl;
        fc->AddCondition(nullptr);
        AddReadingEquals(fc, 42);
        fc->LayoutChanged();
        QImage image(d->Width(), d->Height(), QImage::Format_RGB32);
        image.fill(Qt::white);
        Compose(image, d, d->ClientToScreen({0, 0}));
        SaveTestPicture(image, "filter_dialog.png");
        // The item list drops down exactly over the item's text.
        fc->SetFocus();
        fc->SetFocusedRow(fc->Rows(2));
        KeyTo(fc, Qt::Key_Return);
        TcxComboBox* combo = fc->ComboBox();
        EXPECT_TRUE(combo->DroppedDown());
        auto* condition = dynamic_cast<TcxConditionViewInfo*>(fc->Rows(2));
        // The drop-down stands over the item's text, its frame around it.
        const TRect bounds = combo->BoundsRect(), item = condition->ItemRect;
        EXPECT_TRUE(bounds.Left <= item.Left && bounds.Top <= item.Top && bounds.Right >= item.Right &&
                    bounds.Bottom >= item.Bottom);
        EXPECT_EQ(combo->Properties()->DropDownRows(), 2);
        d->SetModalResult(mrCancel);
    });
}

} // namespace

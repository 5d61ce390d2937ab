// The filter builder dialog: its build, title, remembered bounds, buttons, file choosers and
// keys, shown modally through the grid's filter dialog hook and scripted from timers.
#include "FilterBuilderTestSupport.h"
#include "tests/common/TestPictures.h"

#include "toolkit/core/cxClasses.h"
#include "toolkit/core/dxCore.h"
#include "toolkit/editors/cxDropDownEdit.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

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
        EXPECT_EQ(combo->BoundsRect(), condition->ItemRect);
        EXPECT_EQ(combo->Properties()->DropDownRows(), 2);
        d->SetModalResult(mrCancel);
    });
}

} // namespace

// The customization form and the new-category dialog, driven by real mouse and key events: the
// form's size and place, the lists of hidden rows, New and Delete, drags onto and out of the
// lists, the watchdog, and the dialog's OK that needs a caption.
#include "VGridTestSupport.h"
#include "tests/common/TestPictures.h"

#include "platform/vcl/EditBox.h"
#include "platform/vcl/MessageQueue.h"
#include "toolkit/editors/cxButtons.h"
#include "toolkit/editors/cxTextEdit.h"
#include "toolkit/grid/cxVGridController.h"
#include "toolkit/grid/cxVGridCustomizing.h"

#include <QInputMethodEvent>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

using namespace vgtest;

class VGridCustomizingTest : public VGridTest {
protected:
    void SetUp() override
    {
        VGridTest::SetUp();
        cxTextEditUnit::Initialize();
        // The grid with its own paint style's helper and painter, as a program has it.
        grid->Free();
        grid = nullptr;
        g = new TcxVerticalGrid(form);
        g->RecreateViewInfo();
        form->SetName("Form1");
        g->SetName("Grid1");
        g->Font()->SetHeight(-13);   // "Wg" is 13 pixels high, "0" 6 wide
        C()->AskCategoryCaption = [this](std::string& caption) {
            ++asked;
            if (answers.empty())
                return false;
            caption = answers.front();
            answers.erase(answers.begin());
            return true;
        };
        C()->IsApplicationMinimized = [this] { return minimized; };
    }
    void TearDown() override
    {
        if (form)
            form->Free();
        form = nullptr;
        cxTextEditUnit::Finalize();
        VGridTest::TearDown();
    }
    TcxVerticalGridCustomizing* C() { return g->Customizing(); }
    TcxEditorRow* AddEditor(const std::string& caption)
    {
        auto* row = g->Add<TcxEditorRow>();
        row->Properties()->SetCaption(caption);
        return row;
    }
    void Show(int width, int height)
    {
        g->SetBounds(0, 0, width, height);
        g->SetParent(form);
        g->HandleNeeded();
        g->LayoutChanged();
    }
    // Opens the form and waits until the window system shows it.
    void Open()
    {
        C()->SetVisible(true);
        ASSERT_NE(C()->Form(), nullptr);
        QWidget* w = C()->Form()->Peer();
        ASSERT_TRUE(SpinUntil([w] { return w->windowHandle() && w->windowHandle()->isExposed(); }));
    }
    TcxVerticalGrid* g = nullptr;
    // Three visible editor rows, one hidden editor row, one hidden category.
    void Build()
    {
        for (const char* caption : {"Voltage", "Current", "Power"})
            AddEditor(caption);
        hiddenRow = AddEditor("Frequency");
        hiddenRow->SetVisible(false);
        hiddenCategory = g->Add<TcxCategoryRow>();
        hiddenCategory->Properties()->SetCaption("Billing");
        hiddenCategory->SetVisible(false);
        // The grid fills the form's width: the form opens beside it, not over it.
        form->SetBounds(100, 100, 200, 300);
        ASSERT_TRUE(Activate(form));
        Show(200, 150);
    }
    static std::vector<TcxCustomRow*> Listed(TcxVerticalGridItemsCustomizeListBox* list)
    {
        std::vector<TcxCustomRow*> rows;
        for (int i = 0; i < list->ItemCount(); ++i)
            rows.push_back(list->RowAt(i));
        return rows;
    }
    static void Click(TWinControl* c, int x, int y)
    {
        QTest::mouseClick(c->Peer(), Qt::LeftButton, {}, QPoint(x, y));
        vcl::DrainPostedMessages();
    }
    void ShowCategories()
    {
        const TRect tab = C()->PageControl()->TabRect(1);
        Click(C()->PageControl(), tab.Left + 3, tab.Top + 3);
        ASSERT_EQ(C()->PageControl()->ActivePage(), C()->CategoriesPage());
    }
    TPoint HeaderPoint(TcxCustomRow* row)
    {
        return TPoint{20, g->ViewInfo()->GetRowViewInfo(row)->RowRect.Top + 4};
    }
    TcxEditorRow* hiddenRow = nullptr;
    TcxCategoryRow* hiddenCategory = nullptr;
    std::vector<std::string> answers;
    int asked = 0;
    bool minimized = false;
};

TEST_F(VGridCustomizingTest, OpensAsAToolWindowSizedByTheGridFont)
{
    std::vector<bool> notices;
    g->OnCustomizationFormVisibleChanged = [&](TObject*) { notices.push_back(C()->Visible()); };
    C()->SetVisible(true);   // no rows: refused silently
    EXPECT_FALSE(C()->Visible());
    EXPECT_EQ(C()->Form(), nullptr);

    Build();
    Open();
    TcxVerticalGridCustomizationForm* f = C()->Form();
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(f->Visible());
    EXPECT_EQ(f->Caption(), "Customize");
    EXPECT_EQ(f->BorderStyle, bsSizeToolWin);
    EXPECT_EQ(f->ClientWidth(), 31 * 6);
    EXPECT_EQ(f->ClientHeight(), 11 * 17);
    EXPECT_EQ(C()->LineHeight(), 17);
    EXPECT_EQ(C()->RowList()->ItemHeight(), 17);
    EXPECT_EQ(g->DragMode, dmAutomatic);
    EXPECT_EQ(C()->RowList()->Parent(), C()->RowsPage());
    EXPECT_EQ(C()->PageControl()->PageCount(), 2);
    EXPECT_EQ(C()->RowsPage()->Caption(), "Rows");
    EXPECT_EQ(C()->CategoriesPage()->Caption(), "Categories");
    EXPECT_EQ(C()->NewButton()->Caption(), "&New...");
    EXPECT_EQ(C()->DeleteButton()->Caption(), "&Delete");
    // Top-left at the grid's top-right corner on the screen.
    EXPECT_EQ((TPoint{f->Left(), f->Top()}), g->ClientToScreen({g->Width(), 0}));
    EXPECT_TRUE(SpinUntil([&] { return f->Timer() != nullptr; }));
    EXPECT_EQ(f->Timer()->Interval(), 100u);

    // Closed by the user: switched off, drag mode back, place remembered.
    f->SetBounds(40, 50, f->Width(), f->Height());
    f->Close();
    vcl::DrainPostedMessages();
    EXPECT_FALSE(C()->Visible());
    EXPECT_EQ(C()->Form(), nullptr);
    EXPECT_EQ(g->DragMode, dmManual);
    EXPECT_EQ(C()->LastPosition(), (TPoint{40, 50}));
    C()->SetVisible(true);
    EXPECT_EQ((TPoint{C()->Form()->Left(), C()->Form()->Top()}), (TPoint{40, 50}));
    EXPECT_EQ(notices, (std::vector<bool>{true, false, true}));

    // The line count applies when the form is next built; fewer than two lines are two.
    C()->SetRowCount(1);
    EXPECT_EQ(C()->RowCount(), 2);
    C()->SetVisible(false);
    C()->SetVisible(true);
    EXPECT_EQ(C()->Form()->ClientHeight(), 3 * 17);
}

TEST_F(VGridCustomizingTest, TheFormStaysInsideTheDesktop)
{
    Build();
    const TRect desktop = Screen->DesktopRect();
    form->SetBounds(desktop.Right - 150, desktop.Top + 10, 400, 400);
    C()->SetVisible(true);
    TcxVerticalGridCustomizationForm* f = C()->Form();
    EXPECT_EQ(f->Left() + f->Width(), desktop.Right);
    EXPECT_GE(f->Top(), desktop.Top);
}

TEST_F(VGridCustomizingTest, ListsShowTheHiddenRowsOfTheirKind)
{
    Build();
    TcxEditorRow* notListed = AddEditor("Serial");
    notListed->Options()->SetShowInCustomizationForm(false);
    notListed->SetVisible(false);
    C()->SetVisible(true);
    EXPECT_EQ(Listed(C()->RowList()), std::vector<TcxCustomRow*>{hiddenRow});
    EXPECT_EQ(Listed(C()->CategoryList()), std::vector<TcxCustomRow*>{hiddenCategory});
    // A layout change refreshes the open form.
    TcxCustomRow* voltage = g->RowByCaption("Voltage");
    voltage->SetVisible(false);
    hiddenRow->SetVisible(true);
    EXPECT_EQ(Listed(C()->RowList()), std::vector<TcxCustomRow*>{voltage});
    // A listed row that leaves the grid leaves the list at once.
    TcxCustomRow* gone = AddEditor("Gone");
    gone->SetVisible(false);
    ASSERT_EQ(Listed(C()->RowList()).size(), 2u);
    g->BeginUpdate();
    gone->Free();
    EXPECT_EQ(Listed(C()->RowList()), std::vector<TcxCustomRow*>{voltage});
    g->EndUpdate();
    // An item's object is its row's header info.
    EXPECT_EQ(static_cast<TcxCustomRowHeaderInfo*>(C()->RowList()->Items()->GetObject(0))->Row(), voltage);
}

TEST_F(VGridCustomizingTest, ItemsAreDrawnAsRowHeadersAndTheSelectionInverted)
{
    Build();
    Open();
    TcxVerticalGridItemsCustomizeListBox* rows = C()->RowList();
    // The editor row's header in the header colour, its caption text in the text colour.
    EXPECT_EQ(PixelOf(rows, rows->ClientWidth() - 4, 3), Sys(clWindow));
    bool ink = false;
    for (int x = 0; x < 80 && !ink; ++x)
        ink = PixelOf(rows, x, 8) == Sys(clWindowText);
    EXPECT_TRUE(ink);
    Click(rows, 40, 5);
    EXPECT_EQ(rows->ItemIndex(), 0);
    EXPECT_EQ(PixelOf(rows, rows->ClientWidth() - 4, 3), TColor(ColorToRGB(clWindow) ^ 0xFFFFFF));
    // A category is drawn as a category.
    ShowCategories();
    EXPECT_EQ(PixelOf(C()->CategoryList(), C()->CategoryList()->ClientWidth() - 4, 3), Sys(clBtnFace));
}

TEST_F(VGridCustomizingTest, NewAndDeleteCategoriesWithTheButtons)
{
    Build();
    Open();
    ShowCategories();
    TcxButton* add = C()->NewButton();
    TcxButton* del = C()->DeleteButton();
    EXPECT_TRUE(add->Enabled());
    EXPECT_FALSE(del->Enabled());

    answers = {"Misc", "Tariffs"};
    Click(add, 10, 10);
    Click(add, 10, 10);
    Click(add, 10, 10);   // cancelled: nothing made
    EXPECT_EQ(asked, 3);
    auto* first = dynamic_cast<TcxCategoryRow*>(g->RowByName("Grid1RuntimeCreatedRow"));
    auto* second = dynamic_cast<TcxCategoryRow*>(g->RowByName("Grid1RuntimeCreatedRow1"));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->Properties()->GetCaption(), "Misc");
    EXPECT_EQ(second->Properties()->GetCaption(), "Tariffs");
    EXPECT_FALSE(first->Visible());
    EXPECT_EQ(Listed(C()->CategoryList()), (std::vector<TcxCustomRow*>{hiddenCategory, first, second}));
    EXPECT_FALSE(g->IsLocked());

    const int rowCount = g->Rows()->GetCount();
    Click(C()->CategoryList(), 20, 17 + 5);   // the second item
    EXPECT_TRUE(del->Enabled());
    Click(del, 10, 10);
    EXPECT_EQ(g->Rows()->GetCount(), rowCount - 1);
    EXPECT_EQ(g->RowByName("Grid1RuntimeCreatedRow"), nullptr);
    EXPECT_EQ(Listed(C()->CategoryList()), (std::vector<TcxCustomRow*>{hiddenCategory, second}));
    EXPECT_FALSE(del->Enabled());

    C()->SetShowCategoryButtons(false);
    EXPECT_FALSE(C()->ButtonPanel()->Visible());
    EXPECT_EQ(C()->CategoryList()->Height(), C()->CategoriesPage()->ClientHeight());
}

TEST_F(VGridCustomizingTest, ARowDraggedOntoTheListIsHiddenAndDraggedBackShown)
{
    Build();
    Open();
    TcxVerticalGridItemsCustomizeListBox* list = C()->RowList();
    TcxCustomRow* power = g->RowByCaption("Power");
    const TPoint press = HeaderPoint(power);
    {
        // The press waits for the drag square; the pointer leaves it meanwhile.
        QObject timers;
        QTimer::singleShot(20, &timers, [&] { QTest::mouseMove(g->Peer(), QPoint(press.X + 15, press.Y)); });
        QTimer::singleShot(1500, &timers, [] { ReleaseCapture(); });
        QTest::mousePress(g->Peer(), Qt::LeftButton, {}, QPoint(press.X, press.Y));
    }
    ASSERT_TRUE(g->Dragging());
    EXPECT_EQ(g->GridController()->DragRow, power);
    const TPoint onList = list->ScreenToClient(list->ClientToScreen({30, 30}));
    EXPECT_TRUE(C()->CanDrop(list->ClientToScreen(onList)));
    QTest::mouseMove(list->Peer(), QPoint(onList.X, onList.Y));
    QTest::mouseRelease(list->Peer(), Qt::LeftButton, {}, QPoint(onList.X, onList.Y));
    EXPECT_FALSE(g->Dragging());
    EXPECT_FALSE(power->Visible());
    EXPECT_EQ(Listed(list), (std::vector<TcxCustomRow*>{power, hiddenRow}));
    EXPECT_EQ(g->GridController()->DragRow, nullptr);

    // Out again: pressed in the list, dragged past the square, dropped below the grid's rows.
    const TPoint target{50, g->Height() - 5};
    QTest::mousePress(list->Peer(), Qt::LeftButton, {}, QPoint(20, 5));
    QTest::mouseMove(list->Peer(), QPoint(20, 5 + 3 * 17));
    ASSERT_TRUE(g->Dragging());
    EXPECT_EQ(g->GridController()->DragRow, power);
    QTest::mouseMove(g->Peer(), QPoint(target.X, target.Y));
    QTest::mouseRelease(g->Peer(), Qt::LeftButton, {}, QPoint(target.X, target.Y));
    EXPECT_TRUE(power->Visible());
    EXPECT_EQ(power->ParentRow(), g->Root());
    EXPECT_EQ(power->Index(), g->Root()->GetCount() - 1);
    EXPECT_EQ(Listed(list), std::vector<TcxCustomRow*>{hiddenRow});
}

TEST_F(VGridCustomizingTest, ARowThatMayNotGoToTheFormIsRefusedByTheList)
{
    Build();
    Open();
    TcxCustomRow* power = g->RowByCaption("Power");
    power->Options()->CanMovedToCustomizationForm = false;
    bool accept = true;
    g->GridController()->DragRow = power;
    C()->RowList()->DragOver(g, 5, 5, dsDragMove, accept);
    EXPECT_FALSE(accept);
    C()->RowList()->DragOver(form, 5, 5, dsDragMove, accept);   // not the grid: refused
    EXPECT_FALSE(accept);
    // The drop place follows the dragged row's kind: a category goes to the category list,
    // which is not showing while the rows page is active.
    const TPoint onRows = C()->RowList()->ClientToScreen({5, 5});
    EXPECT_TRUE(C()->CanDrop(onRows));
    g->GridController()->DragRow = hiddenCategory;
    EXPECT_FALSE(C()->CanDrop(onRows));
    g->GridController()->DragRow = nullptr;
    C()->SetVisible(false);
    EXPECT_FALSE(C()->CanDrop(onRows));
}

TEST_F(VGridCustomizingTest, WatchdogFollowsTheApplicationAndTheGrid)
{
    Build();
    Open();
    TcxVerticalGridCustomizationForm* f = C()->Form();
    ASSERT_TRUE(Activate(form));
    minimized = true;
    f->TimerTick();
    EXPECT_FALSE(f->Visible());
    EXPECT_TRUE(C()->Visible());
    minimized = false;
    f->TimerTick();
    EXPECT_TRUE(f->Visible());
    // Back without taking the focus from the grid's form.
    EXPECT_FALSE(f->Active());
    EXPECT_TRUE(form->Active());
    // Hiding the grid switches the form off on the next tick of the real timer.
    g->SetVisible(false);
    EXPECT_TRUE(SpinUntil([&] { return !C()->Visible(); }, 1000));
    EXPECT_EQ(C()->Form(), nullptr);
}

TEST_F(VGridCustomizingTest, DestroyingTheGridWithTheFormOpenFreesTheForm)
{
    Build();
    Open();
    std::weak_ptr<bool> alive = C()->Form()->AliveToken();
    g->Free();
    g = nullptr;
    EXPECT_TRUE(alive.expired() || !*alive.lock());
}

// --- the new-category dialog ------------------------------------------------------------------
class CreateCategoryDialogTest : public VGridCustomizingTest {
protected:
    QWidget* Field(TcxTextEdit* e) { return e->InnerTextEditControl()->Box()->Widget(); }
};

TEST_F(CreateCategoryDialogTest, BuiltInCodeWithOkOnlyForText)
{
    auto* dialog = new TfmCreateCategory(form);
    EXPECT_EQ(dialog->Width(), 279);
    EXPECT_EQ(dialog->Height(), 87);
    EXPECT_EQ(dialog->BorderStyle, bsDialog);
    EXPECT_EQ(dialog->Caption(), "New Category");
    EXPECT_EQ(dialog->lbCaption->Caption(), "&Category:");
    EXPECT_EQ(dialog->lbCaption->FocusControl, dialog->edCaption);
    EXPECT_EQ(dialog->btOK->BoundsRect(), (TRect{113, 55, 188, 79}));
    EXPECT_EQ(dialog->btCancel->BoundsRect(), (TRect{196, 55, 271, 79}));
    // The edit's height follows its font.
    EXPECT_EQ((TPoint{dialog->edCaption->Left(), dialog->edCaption->Top()}), (TPoint{72, 10}));
    EXPECT_EQ(dialog->edCaption->Width(), 199);
    EXPECT_TRUE(dialog->btOK->Default);
    EXPECT_TRUE(dialog->btCancel->Cancel);

    form->SetBounds(100, 100, 479, 287);
    dialog->Prepare(form, nullptr);   // no look and feel: accepted
    EXPECT_EQ((TPoint{dialog->Left(), dialog->Top()}), (TPoint{200, 200}));
    form->SetBounds(-500, -500, 100, 100);
    dialog->Prepare(form, g->LookAndFeel());
    EXPECT_EQ((TPoint{dialog->Left(), dialog->Top()}), (TPoint{0, 0}));

    dialog->edCaptionPropertiesChange(nullptr);
    EXPECT_FALSE(dialog->btOK->Enabled());
    ASSERT_TRUE(Activate(dialog));
    dialog->edCaption->SetFocus();
    QTest::sendKeyEvent(QTest::Click, Field(dialog->edCaption), Qt::Key_M, "M", Qt::NoModifier);
    vcl::DrainPostedMessages();
    EXPECT_TRUE(dialog->btOK->Enabled());
    QTest::sendKeyEvent(QTest::Click, Field(dialog->edCaption), Qt::Key_Backspace, "\b", Qt::NoModifier);
    vcl::DrainPostedMessages();
    EXPECT_FALSE(dialog->btOK->Enabled());
    dialog->Free();
}

TEST_F(CreateCategoryDialogTest, ShownModallyItGivesTheTypedCaptionOnOk)
{
    struct Case {
        Qt::Key key;
        const char* keyText;
        bool result;
        std::string caption;
    };
    for (const Case& c : {Case{Qt::Key_Return, "\r", true, "计量"}, Case{Qt::Key_Escape, "\x1b", false, "Old"}}) {
        std::string caption = "Old";
        QObject timers;
        // Types once the dialog is the active form: on a busy machine that takes longer than any
        // fixed wait.
        QTimer typing;
        typing.setInterval(20);
        QObject::connect(&typing, &QTimer::timeout, &timers, [&] {
            auto* dialog = dynamic_cast<TfmCreateCategory*>(Screen->ActiveForm());
            if (!dialog)
                return;
            typing.stop();
            TcxTextEdit* edit = dialog->edCaption;
            edit->SetFocus();
            QTest::sendKeyEvent(QTest::Click, Field(edit), Qt::Key_A, "a", Qt::ControlModifier);
            QInputMethodEvent commit;
            commit.setCommitString(QString::fromUtf8("计量"));
            QCoreApplication::sendEvent(Field(edit), &commit);
            vcl::DrainPostedMessages();
            QTest::sendKeyEvent(QTest::Click, Field(edit), c.key, c.keyText, Qt::NoModifier);
        });
        typing.start();
        QTimer::singleShot(10000, &timers, [] {
            if (auto* dialog = dynamic_cast<TfmCreateCategory*>(Screen->ActiveForm()))
                dialog->SetModalResult(mrAbort);
        });
        EXPECT_EQ(cxShowNewCategoryForm(form, caption, nullptr), c.result);
        EXPECT_EQ(caption, c.caption);
    }
}

// --- a look at it -------------------------------------------------------------------------------
TEST_F(VGridCustomizingTest, RendersChineseCaptions)
{
    gdi::SetFontEngine(gdi::MakeQtFontEngine());
    g->Font()->SetName("Noto Sans CJK SC");
    g->Font()->SetHeight(-13);
    for (const char* caption : {"电压", "电流"})
        AddEditor(caption);
    for (const char* caption : {"有功功率", "无功功率", "频率"})
        AddEditor(caption)->SetVisible(false);
    auto* cat = g->Add<TcxCategoryRow>();
    cat->Properties()->SetCaption("计费");
    cat->SetVisible(false);
    ASSERT_TRUE(Activate(form));
    Show(200, 150);
    Open();
    TcxVerticalGridCustomizationForm* f = C()->Form();
    QImage image(f->Width(), f->Height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    Compose(image, f, f->ClientToScreen({0, 0}));
    SaveTestPicture(image.scaled(image.width() * 2, image.height() * 2), "vgrid_customize.png");
    // Three entries drawn: each item's caption leaves ink in its line.
    TcxVerticalGridItemsCustomizeListBox* list = C()->RowList();
    ASSERT_EQ(list->ItemCount(), 3);
    for (int i = 0; i < 3; ++i) {
        const TRect r = list->ItemRect(i);
        bool ink = false;
        for (int x = r.Left; x < r.Left + 80 && !ink; ++x)
            for (int y = r.Top + 2; y < r.Bottom - 2 && !ink; ++y)
                ink = PixelOf(list, x, y) == Sys(clWindowText);
        EXPECT_TRUE(ink) << i;
    }
}

} // namespace

// Every kind of object whose destructor reaches a notice (grid, row, item, editor, container,
// popup, form), destroyed while it is shown, holds the focus and is being edited: nothing escapes
// a destructor (that ended the program), nothing freed is touched, no popup stays behind, and the
// form goes on taking focus and keys.
#include "tests/toolkit/lifetime/LifetimeTestSupport.h"

#include "toolkit/controls/cxContainerListBox.h"

#include <functional>

using namespace lifetime;

namespace {

class DestroyedWhileInUse : public LifetimeTest {
public:
    // The cases below build through a reference to the fixture.
    using LifetimeTest::ClickValue;
    using LifetimeTest::EditRow;
    using LifetimeTest::form;
    using LifetimeTest::KeyToFocus;
    using LifetimeTest::Row;
    using LifetimeTest::ShowGrid;
    using LifetimeTest::Spin;
    using LifetimeTest::TypeToFocus;
    using LifetimeTest::Place;
    using LifetimeTest::TypeInto;
};

TEST_F(DestroyedWhileInUse, NothingEscapesItsDestructorAndTheFormWorksOn)
{
    struct Case {
        const char* kind;
        // Builds the object on the form, shows, focuses and edits it; gives what destroys it.
        std::function<std::function<void()>(DestroyedWhileInUse&)> build;
    };
    const Case cases[] = {
        {"grid with a category row, editing", [](DestroyedWhileInUse& t) -> std::function<void()> {
             TcxVerticalGrid* grid = t.ShowGrid();
             auto* category = grid->Add<TcxCategoryRow>();
             category->Properties()->SetCaption("分类");
             grid->AddChild<TcxEditorRow>(category)->Properties()->SetCaption("子行");
             grid->LayoutChanged();
             t.EditRow(grid, t.Row(grid, 1), QStringLiteral("电"));
             return [grid] { grid->Free(); };
         }},
        {"category row whose child is being edited", [](DestroyedWhileInUse& t) -> std::function<void()> {
             TcxVerticalGrid* grid = t.ShowGrid();
             auto* category = grid->Add<TcxCategoryRow>();
             auto* child = grid->AddChild<TcxEditorRow>(category);
             child->Properties()->SetValue(Variant(std::string("v")));
             grid->LayoutChanged();
             t.EditRow(grid, child);
             return [category] { category->Free(); };
         }},
        {"item of a multi-editor row, being edited", [](DestroyedWhileInUse& t) -> std::function<void()> {
             TcxVerticalGrid* grid = t.ShowGrid(1);
             auto* multi = grid->Add<TcxMultiEditorRow>();
             TcxEditorRowItemProperties* editors[2];
             for (auto*& e : editors) {
                 e = multi->Properties()->Editors()->Add();
                 e->SetEditPropertiesClass(TcxCustomEditPropertiesClass::Of<TcxTextEditProperties>());
                 e->SetValue(Variant(std::string("m")));
             }
             grid->LayoutChanged();
             t.ClickValue(grid, multi, 1);
             t.KeyToFocus(Qt::Key_F2);
             EXPECT_TRUE(grid->GetIsEditing());
             t.TypeToFocus(QStringLiteral("q"));
             return [e = editors[1]] { e->Free(); };
         }},
        {"in-place editor, open in its grid", [](DestroyedWhileInUse& t) -> std::function<void()> {
             TcxVerticalGrid* grid = t.ShowGrid();
             t.EditRow(grid, t.Row(grid, 1));
             return [grid] { grid->GetInplaceEditor()->Free(); };
         }},
        {"stand-alone editor, typed into", [](DestroyedWhileInUse& t) -> std::function<void()> {
             auto* edit = t.Place(new TcxTextEdit(t.form), 10);
             edit->Properties()->OnChange = [](TObject*) {};
             t.TypeInto(edit, QStringLiteral("abc"));
             return [edit] { edit->Free(); };
         }},
        {"combo box with its list dropped down", [](DestroyedWhileInUse& t) -> std::function<void()> {
             auto* combo = t.Place(new TcxComboBox(t.form), 10);
             combo->Properties()->SetItems({"一", "二"});
             t.TypeInto(combo, QString());
             t.KeyToFocus(Qt::Key_F4);
             SpinUntil([combo] { return combo->DroppedDown(); }, 500);
             t.TypeToFocus(QStringLiteral("x"));
             EXPECT_TRUE(combo->DroppedDown());
             return [combo] { combo->Free(); };
         }},
        {"container with its list box searching", [](DestroyedWhileInUse& t) -> std::function<void()> {
             auto* container = new TcxContainer(t.form);
             container->SetParent(t.form);
             container->SetBounds(10, 10, 160, 120);
             auto* list = new TcxCustomInnerListBox(container);
             list->SetBounds(0, 0, 160, 120);
             list->SetParent(container);
             list->SetContainer(container);
             for (const char* s : {"apple", "banana", "北京"})
                 list->Items()->Add(s);
             list->SetFocus();
             t.Spin();
             EXPECT_TRUE(list->Focused());
             t.TypeToFocus(QStringLiteral("b"));
             return [container] { container->Free(); };
         }},
        {"popup memo, open and typed into", [](DestroyedWhileInUse& t) -> std::function<void()> {
             auto* blob = t.Place(new TcxBlobEdit(t.form), 10);
             t.TypeInto(blob, QString());
             t.KeyToFocus(Qt::Key_F4);
             SpinUntil([blob] { return blob->DroppedDown(); }, 500);
             EXPECT_TRUE(blob->DroppedDown());
             t.TypeToFocus(QStringLiteral("memo"));
             return [blob] { blob->PopupWindow()->Free(); };
         }},
        {"form holding a grid that edits", [](DestroyedWhileInUse& t) -> std::function<void()> {
             auto* second = new TForm(nullptr);
             second->SetBounds(140, 140, 320, 240);
             EXPECT_TRUE(Activate(second));
             TcxVerticalGrid* grid = t.ShowGrid(3, second);
             t.EditRow(grid, t.Row(grid, 2));
             return [second] { second->Free(); };
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        ASSERT_TRUE(Activate(form));
        const std::function<void()> destroy = c.build(*this);
        ASSERT_FALSE(HasFatalFailure());
        destroy();
        Spin();
        ExpectTheFormWorks();
    }
}

} // namespace

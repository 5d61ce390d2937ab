// The row tree: defaults, tree operations and their errors, notices, IDs, the stored-object
// interface, stream values and the class registration.
#include "VGridTestSupport.h"

#include "platform/rtl/Streams.h"

using namespace vgtest;

namespace {

std::string ErrorText(const std::function<void()>& f)
{
    try {
        f();
    } catch (const EcxVerticalGridError& e) {
        return e.Message;
    }
    return "(no error)";
}

} // namespace

TEST_F(VGridTest, NewRowDefaultsAndAttachment)
{
    auto* row = new TcxEditorRow(form);
    EXPECT_EQ(row->Index(), -1);
    EXPECT_EQ(row->Height(), -1);
    EXPECT_TRUE(row->Visible() && row->Expanded());
    TcxRowOptions* o = row->Options();
    EXPECT_TRUE(o->CanAutoHeight() && o->CanMovedToCustomizationForm && o->CanResized && o->Focusing() &&
                o->Moving && o->ShowExpandButton() && o->ShowInCustomizationForm() && o->TabStop);
    row->Free();

    TcxEditorRow* added = AddEditor();
    EXPECT_EQ(added->Index(), 0);
    EXPECT_EQ(added->GetParent(), nullptr);
    EXPECT_EQ(added->GetLevel(), 0);
    EXPECT_TRUE(added->IsRootLevel());
    EXPECT_EQ(added->ParentRow(), grid->Root());
    EXPECT_EQ(grid->Root()->RowID(), -1);
}

TEST_F(VGridTest, SettersNotifyOnlyOnChange)
{
    TcxEditorRow* row = AddEditor();
    struct Case {
        const char* what;
        std::function<void()> change;
        int notices;
    };
    const Case cases[] = {
        {"height -5 stores -1 (already -1)", [&] { row->SetHeight(-5); }, 0},
        {"height -1 again", [&] { row->SetHeight(-1); }, 0},
        {"height 20", [&] { row->SetHeight(20); }, 1},
        {"visible unchanged", [&] { row->SetVisible(true); }, 0},
        {"visible off", [&] { row->SetVisible(false); }, 1},
        {"caption of a hidden row", [&] { row->Properties()->SetCaption("x"); }, 0},
        {"visible on", [&] { row->SetVisible(true); }, 1},
        {"same caption again", [&] { row->Properties()->SetCaption("x"); }, 0},
        {"new caption", [&] { row->Properties()->SetCaption("y"); }, 1},
        {"option unchanged", [&] { row->Options()->SetFocusing(true); }, 0},
        {"option changed", [&] { row->Options()->SetFocusing(false); }, 1},
        {"plain option", [&] { row->Options()->Moving = false; }, 0},
    };
    for (const Case& c : cases) {
        int before = grid->rowNotices;
        c.change();
        EXPECT_EQ(grid->rowNotices - before, c.notices) << c.what;
    }
    EXPECT_EQ(row->Height(), 20);
    EXPECT_EQ(row->Properties()->GetCaption(), "y");
}

TEST_F(VGridTest, CaptionAssignedFlagAndAlignmentFlags)
{
    TcxEditorRow* row = AddEditor();
    EXPECT_FALSE(row->Properties()->IsCaptionAssigned());
    row->Properties()->SetCaption("");
    EXPECT_TRUE(row->Properties()->IsCaptionAssigned());
    EXPECT_FALSE(row->Properties()->IsCaptionStored());   // equal to the default
    row->Properties()->RestoreDefaults();
    EXPECT_FALSE(row->Properties()->IsCaptionAssigned());

    struct Case {
        TAlignment horz;
        TcxAlignmentVert vert;
        unsigned flags;
    };
    const Case cases[] = {{taLeftJustify, vaTop, 0},     {taRightJustify, vaTop, 2},    {taCenter, vaTop, 1},
                          {taLeftJustify, vaBottom, 0x20}, {taCenter, vaCenter, 0x11}, {taRightJustify, vaBottom, 0x22}};
    for (const Case& c : cases) {
        row->Properties()->SetHeaderAlignmentHorz(c.horz);
        row->Properties()->SetHeaderAlignmentVert(c.vert);
        EXPECT_EQ(GetTextAligmentFlags(row->Properties()), c.flags);
    }
}

TEST_F(VGridTest, CollapseRecursiveNotifiesOnce)
{
    auto* top = grid->Add<TcxCategoryRow>();
    auto* mid = grid->AddChild<TcxCategoryRow>(top);
    auto* low = grid->AddChild<TcxCategoryRow>(mid);
    auto* leaf = grid->AddChild<TcxEditorRow>(low);
    int before = grid->rowNotices;
    top->Collapse(true);
    EXPECT_EQ(grid->rowNotices - before, 1);
    EXPECT_FALSE(top->Expanded() || mid->Expanded() || low->Expanded() || leaf->Expanded());

    // A row without children only changes its flag.
    before = grid->rowNotices;
    leaf->Expand(false);
    EXPECT_TRUE(leaf->Expanded());
    EXPECT_EQ(grid->rowNotices, before);
}

TEST_F(VGridTest, IndexErrorsLeaveTheTreeAndIgnoreOverrides)
{
    TcxEditorRow* a = AddEditor();
    TcxEditorRow* b = AddEditor();
    cxSetResourceString(&cxSvgIndexError, "Overridden");
    EXPECT_EQ(ErrorText([&] { a->Remove(b); }), "Index error");          // not a child
    EXPECT_EQ(ErrorText([&] { a->GetRow(0); }), "Index error");          // no children
    EXPECT_EQ(ErrorText([&] { grid->Root()->Delete(2); }), "Index error");
    EXPECT_EQ(ErrorText([&] { grid->Root()->Delete(-1); }), "Index error");
    EXPECT_EQ(ErrorText([&] { grid->Rows()->GetRow(2); }), "Index error");
    cxSetResourceString(&cxSvgIndexError, "Index error");
    EXPECT_EQ(grid->Root()->GetCount(), 2);
    EXPECT_EQ(b->Index(), 1);
}

TEST_F(VGridTest, SetParentRefusesCyclesAndSetIndexIgnoresBadIndexes)
{
    auto* cat = grid->Add<TcxCategoryRow>();
    auto* child = grid->AddChild<TcxCategoryRow>(cat);
    auto* grandChild = grid->AddChild<TcxEditorRow>(child);
    cat->SetParent(grandChild);   // a descendant
    cat->SetParent(child);
    cat->SetParent(cat);
    EXPECT_EQ(cat->GetParent(), nullptr);
    EXPECT_TRUE(cat->IsParent(grandChild));
    EXPECT_FALSE(grandChild->IsParent(cat));
    EXPECT_TRUE(grandChild->IsChild(cat));

    grandChild->SetParent(nullptr);
    EXPECT_TRUE(grandChild->IsRootLevel());
    EXPECT_EQ(grandChild->Index(), 1);
    grandChild->SetIndex(5);
    grandChild->SetIndex(-1);
    EXPECT_EQ(grandChild->Index(), 1);
    grandChild->SetIndex(0);
    EXPECT_EQ(grid->Rows()->GetRow(0), grandChild);
    EXPECT_EQ(cat->Index(), 1);
}

// Add and Insert refuse the row itself and its ancestors as SetParent does (an ancestor taken as a
// child made the tree endless), and a row that has a parent leaves it for the new one.
TEST_F(VGridTest, AddAndInsertRefuseCyclesAndMoveARowOutOfItsParent)
{
    auto* a = grid->Add<TcxCategoryRow>();
    auto* b = grid->AddChild<TcxCategoryRow>(a);
    auto* c = grid->AddChild<TcxEditorRow>(b);
    b->Add(a);
    c->Insert(0, a);
    c->Add(b);
    b->Add(b);
    EXPECT_EQ(a->GetParent(), nullptr);
    EXPECT_EQ(b->GetParent(), a);
    EXPECT_EQ(c->GetParent(), b);
    EXPECT_EQ(grid->Rows()->GetCount(), 3);
    EXPECT_EQ(ErrorText([&] { a->Insert(3, c); }), "Index error");
    EXPECT_EQ(c->GetParent(), b);

    a->Insert(0, c);   // from b to a
    EXPECT_EQ(c->GetParent(), a);
    EXPECT_EQ(b->GetCount(), 0);
    EXPECT_EQ(a->GetCount(), 2);
    EXPECT_EQ(c->Index(), 0);
    EXPECT_EQ(b->Index(), 1);
    a->Add(c);         // within a, to the end
    EXPECT_EQ(a->GetCount(), 2);
    EXPECT_EQ(a->GetRow(1), c);
    EXPECT_EQ(grid->Rows()->GetCount(), 3);
    c->Free();
    EXPECT_EQ(a->GetCount(), 1);
}

TEST_F(VGridTest, LastVisibleChildDescendsIntoExpandedRows)
{
    auto* cat = grid->Add<TcxCategoryRow>();
    auto* a = grid->AddChild<TcxCategoryRow>(cat);
    auto* hidden = grid->AddChild<TcxEditorRow>(cat);
    hidden->SetVisible(false);
    // The last visible child is expanded but has no visible children: it is the answer itself.
    auto* inner = grid->AddChild<TcxEditorRow>(a);
    inner->SetVisible(false);
    EXPECT_EQ(cat->GetLastVisibleChild(), a);
    inner->SetVisible(true);
    EXPECT_EQ(cat->GetLastVisibleChild(), inner);
    EXPECT_TRUE(a->IsLastVisible());
    EXPECT_FALSE(hidden->IsLastVisible());
}

TEST_F(VGridTest, RowIDsFollowAttachmentAndAMoveToAnotherGridGivesANewOne)
{
    TcxEditorRow* r0 = AddEditor();
    TcxEditorRow* r1 = AddEditor();
    EXPECT_EQ(r0->RowID(), 0);
    EXPECT_EQ(r1->RowID(), 1);
    auto* other = new TcxVerticalGrid(form);
    other->Add<TcxEditorRow>();
    r1->SetParentComponent(other);
    EXPECT_EQ(r1->VerticalGrid(), other);
    EXPECT_EQ(r1->RowID(), 1);   // the other grid's counter: its second row
    EXPECT_EQ(grid->Rows()->GetCount(), 1);
    EXPECT_EQ(other->Rows()->GetCount(), 2);
}

TEST_F(VGridTest, StoredObjectInterface)
{
    auto* cat = grid->Add<TcxCategoryRow>();
    cat->Properties()->SetCaption("Delays");
    TcxEditorRow* row = AddEditor();
    row->SetName("Row1");
    TStringList props;
    cat->GetProperties(&props);
    EXPECT_EQ(props.Text(), "Caption\r\nAParentID\r\nIndex\r\nVisible\r\nHeight\r\nExpanded\r\n");

    Variant v;
    row->GetPropertyValue("AParentID", v);
    EXPECT_EQ(v.VType(), varInteger);
    EXPECT_EQ(v.ToInteger(), -1);
    EXPECT_EQ(row->GetObjectName(), "1");
    grid->NameMode = true;
    row->GetPropertyValue("AParentID", v);
    EXPECT_EQ(v.VType(), varString);
    EXPECT_EQ(v.ToString(), "-1");
    EXPECT_EQ(row->GetObjectName(), "Row1");
    grid->NameMode = false;

    row->SetPropertyValue("AParentID", 0);
    EXPECT_EQ(row->GetParent(), cat);
    row->SetPropertyValue("AParentID", 77);   // no such row: the root
    EXPECT_EQ(row->GetParent(), nullptr);
    cat->SetPropertyValue("Caption", Variant());
    EXPECT_EQ(cat->Properties()->GetCaption(), "Delays");
    cat->SetPropertyValue("Caption", "Other");
    EXPECT_EQ(cat->Properties()->GetCaption(), "Other");
    row->GetPropertyValue("Unknown", v);
    EXPECT_TRUE(v.IsNull());
}

TEST_F(VGridTest, RowStreamValues)
{
    auto* cat = grid->Add<TcxCategoryRow>();
    auto* row = grid->AddChild<TcxEditorRow>(cat);
    struct Written {
        std::vector<std::pair<std::string, int>> values;
    };
    auto write = [](TcxCustomRow* r) {
        TMemoryStream stream;
        {
            TWriter writer(&stream, 64);
            r->WriteDefinedProperties(&writer);
        }
        stream.SetPosition(0);
        TReader reader(&stream, 64);
        Written w;
        while (!reader.EndOfStream()) {
            std::string name = reader.ReadString();
            w.values.emplace_back(name, reader.ReadInteger());
        }
        return w.values;
    };
    using V = std::vector<std::pair<std::string, int>>;
    EXPECT_EQ(write(cat), (V{{"ID", 0}, {"ParentID", -1}, {"Index", 0}, {"Version", 1}}));
    EXPECT_EQ(write(row), (V{{"ID", 1}, {"ParentID", 0}, {"Index", 0}, {"Version", 1}}));
}

TEST_F(VGridTest, RowClassesAreRegisteredAtStartUp)
{
    for (const char* name : {"TcxCategoryRow", "TcxEditorRow", "TcxMultiEditorRow", "TcxCaptionRowProperties",
                             "TcxEditorRowProperties", "TcxMultiEditorRowProperties"})
        EXPECT_EQ(FindClass(name).ClassName(), name);
    // A form names the class: the row is made from the registry alone.
    auto cls = TcxCustomRowClass::FromMeta(&FindClass("TcxEditorRow"));
    ASSERT_TRUE(cls);
    TcxCustomRow* row = grid->Add(cls);
    EXPECT_TRUE(dynamic_cast<TcxEditorRow*>(row));
}

TEST_F(VGridTest, MultiEditorPropertiesNeedAMultiEditorRow)
{
    auto* row = grid->Add<TcxMultiEditorRow>();
    EXPECT_EQ(row->Properties()->SeparatorKind(), skVertLine);
    auto* editorRow = AddEditor();
    EXPECT_THROW(TcxMultiEditorRowProperties props(editorRow), EcxInvalidCast);
}

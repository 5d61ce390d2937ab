// The editor control: change events and their catcher, the modified state, the repository item,
// validation and posting, keys and activation through real Qt input, sizing and anchors, button
// clicks from view-info changes, the in-place editor list, and a host's whole editing road.
#include "tests/toolkit/editors/EditControlTestSupport.h"

#include "tests/common/StreamTestSupport.h"

#include "platform/vcl/Menus.h"

#include <QTest>

#include <functional>
#include <memory>

namespace {

void Type(TWinControl* c, Qt::Key key, Qt::KeyboardModifiers m = Qt::NoModifier)
{
    QTest::keyClick(c->Peer(), key, m);
    vcl::DrainPostedMessages();
}
void TypeText(TWinControl* c, const char* text)
{
    QTest::keyClicks(c->Peer(), QString::fromUtf8(text));
    vcl::DrainPostedMessages();
}
void Press(TWinControl* c, int x, int y) { QTest::mousePress(c->Peer(), Qt::LeftButton, Qt::NoModifier, QPoint(x, y)); }
void Release(TWinControl* c, int x, int y)
{
    QTest::mouseRelease(c->Peer(), Qt::LeftButton, Qt::NoModifier, QPoint(x, y));
}
std::string Str(const Variant& v) { return v.IsNull() ? "<null>" : VarToStr(v); }

// ---- change events --------------------------------------------------------------------------------

TEST_F(EditControlTest, ChangeEventsAreHeldAndReplayedOnceWhenTheOuterLockIsReleased)
{
    struct Case {
        const char* name;
        std::function<void(TcxProbeEdit*, std::string&)> run;
        const char* expected;
    } cases[] = {
        {"two changes in one lock fire one",
         [](TcxProbeEdit* e, std::string&) {
             e->LockChangeEvents(true);
             e->DoChange();
             e->DoChange();
             e->LockChangeEvents(false);
         },
         "C"},
        {"both events: OnChange before OnEditValueChanged",
         [](TcxProbeEdit* e, std::string&) {
             e->LockChangeEvents(true);
             e->DoEditValueChanged();
             e->DoChange();
             e->LockChangeEvents(false);
         },
         "CV"},
        {"nested locks fire at the outer release only",
         [](TcxProbeEdit* e, std::string& log) {
             e->LockChangeEvents(true);
             e->LockChangeEvents(true);
             e->DoChange();
             e->LockChangeEvents(false);
             log += "|";
             e->LockChangeEvents(false);
         },
         "|C"},
        {"a release without invoke drops them, and a later lock does not bring them back",
         [](TcxProbeEdit* e, std::string&) {
             e->LockChangeEvents(true);
             e->DoChange();
             e->DoEditValueChanged();
             e->LockChangeEvents(false, false);
             e->LockChangeEvents(true);
             e->LockChangeEvents(false);
         },
         ""},
        {"an unlock without a lock changes nothing",
         [](TcxProbeEdit* e, std::string& log) {
             e->LockChangeEvents(false);
             e->DoChange();   // not held
             log += "|";
             e->LockChangeEvents(true);
             e->DoChange();
             log += "|";
             e->LockChangeEvents(false);
         },
         "C||C"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* e = MakeEdit();
        std::string log;
        e->Properties()->OnChange = [&](TObject* s) {
            EXPECT_EQ(s, e);
            log += "C";
        };
        e->Properties()->OnEditValueChanged = [&](TObject*) { log += "V"; };
        c.run(e, log);
        EXPECT_EQ(log, c.expected);
        EXPECT_FALSE(e->AreChangeEventsLocked());
        e->Free();
    }
}

TEST_F(EditControlTest, NewEditValuesFireOnEditValueChangedOnlyWhenTheyDiffer)
{
    struct Case {
        const char* name;
        bool compare;
        std::function<void(TcxProbeEdit*)> run;
        int expectedEvents;
        const char* expectedValue;
    } cases[] = {
        {"the same value twice fires once", true,
         [](TcxProbeEdit* e) {
             e->SetEditValue(Variant(1));
             e->SetEditValue(Variant(1));
         },
         1, "1"},
        {"without comparison no event follows", false, [](TcxProbeEdit* e) { e->SetEditValue(Variant(1)); }, 0, "1"},
        {"a locked value change changes nothing", true,
         [](TcxProbeEdit* e) {
             e->LockEditValueChanging(true);
             e->SetEditValue(Variant(1));
             e->LockEditValueChanging(false);
         },
         0, "<null>"},
        {"clear gives Null", true,
         [](TcxProbeEdit* e) {
             e->SetEditValue(Variant(1));
             e->Clear();
         },
         2, "<null>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* e = MakeEdit();
        e->ProbeProperties()->compare = c.compare;
        int events = 0;
        e->Properties()->OnEditValueChanged = [&](TObject*) { ++events; };
        c.run(e);
        EXPECT_EQ(events, c.expectedEvents);
        EXPECT_EQ(Str(e->EditValue()), c.expectedValue);
        EXPECT_EQ(e->IsEditValueStored(), std::string(c.expectedValue) != "<null>");
        EXPECT_FALSE(e->Modified());
        e->Free();
    }
}

TEST_F(EditControlTest, AnInplaceHandlerSeesTheEditorModifiedAndTheStateComesBackEvenWhenItRaises)
{
    for (bool raises : {false, true}) {
        SCOPED_TRACE(raises ? "raising handler" : "quiet handler");
        auto* e = MakeEdit(true);
        bool seenModified = false, seenAfterEnter = false;
        e->Properties()->OnChange = [&](TObject*) {
            seenModified = e->Modified();
            seenAfterEnter = e->ModifiedAfterEnter();
            if (raises)
                throw EcxEditError("refused");
        };
        if (raises)
            EXPECT_THROW(e->DoChange(), EcxEditError);
        else
            e->DoChange();
        EXPECT_TRUE(seenModified);
        EXPECT_TRUE(seenAfterEnter);
        EXPECT_FALSE(e->Modified());
        EXPECT_FALSE(e->ModifiedAfterEnter());
        EXPECT_EQ(e->ModifiedStackDepth(), 0);
        e->Free();
    }
}

TEST_F(EditControlTest, TheModifiedStateStackRestoresWhatWasSaved)
{
    auto* e = MakeEdit();
    e->SetModifiedAfterEnter(true);
    EXPECT_TRUE(e->Modified());   // a change after enter is a change
    e->SaveModified();
    e->SetModified(false);   // clears both
    EXPECT_FALSE(e->ModifiedAfterEnter());
    e->SaveModified();
    e->SetModified(true);
    e->RestoreModified();
    EXPECT_FALSE(e->Modified());
    EXPECT_FALSE(e->ModifiedAfterEnter());
    e->RestoreModified();
    EXPECT_TRUE(e->Modified());
    EXPECT_TRUE(e->ModifiedAfterEnter());
    e->RestoreModified();   // an empty stack leaves the state alone
    EXPECT_TRUE(e->ModifiedAfterEnter());
    EXPECT_EQ(e->ModifiedStackDepth(), 0);
}

TEST_F(EditControlTest, EditDataIsInitializedByItsActivationAndForgetsAFreedEditor)
{
    auto* e = MakeEdit(true);
    TcxCustomEditData* data = new TcxCustomEditData(e);
    EXPECT_TRUE(data->Cleared);   // not this editor's activation yet
    e->Activate(data);
    EXPECT_EQ(e->EditData(), data);
    EXPECT_FALSE(data->Cleared);
    EXPECT_TRUE(e->Activated());
    e->Free();
    EXPECT_EQ(data->Edit(), nullptr);
    data->Clear();   // no call into the freed editor
    EXPECT_TRUE(data->Cleared);
    data->Free();
}

// ---- the repository item ------------------------------------------------------------------------

TEST_F(EditControlTest, TheRepositoryItemLendsItsPropertiesUntilItIsDestroyed)
{
    auto* e = MakeEdit();
    auto* foreign = new TcxEditRepositoryItem(form);   // base properties: not the probe's kind
    EXPECT_THROW(e->SetRepositoryItem(foreign), EcxEditError);
    EXPECT_EQ(e->RepositoryItem(), nullptr);

    auto* item = new TcxProbeRepositoryItem(form);
    e->SetRepositoryItem(item);
    EXPECT_EQ(e->ActiveProperties(), item->Properties());
    EXPECT_EQ(item->Properties()->GetIDefaultValuesProvider(), e->DataBinding()->GetIDefaultValuesProvider());
    EXPECT_EQ(e->Properties()->GetIDefaultValuesProvider(), nullptr);
    item->Properties()->SetTransparent(true);   // the item's change reaches the editor
    EXPECT_TRUE(e->Transparent());
    e->SetTransparent(false);

    item->Free();
    // The editor is back on its own properties, with its provider and its change notices.
    EXPECT_EQ(e->RepositoryItem(), nullptr);
    EXPECT_EQ(e->ActiveProperties(), e->Properties());
    EXPECT_EQ(e->Properties()->GetIDefaultValuesProvider(), e->DataBinding()->GetIDefaultValuesProvider());
    e->Properties()->SetTransparent(true);
    EXPECT_TRUE(e->Transparent());
}

TEST_F(EditControlTest, NewDefaultValuesReachOnlyTheEditorWhoseBindingChanged)
{
    struct Counting : TcxProbeEdit {
        using TcxProbeEdit::TcxProbeEdit;
        using TcxCustomEdit::PropertiesChanged;
        void PropertiesChanged(TObject* sender) override
        {
            ++changes;
            TcxProbeEdit::PropertiesChanged(sender);
        }
        int changes = 0;
    };
    auto* own = new Counting(form);
    own->DataBinding()->DefaultValuesChanged();
    EXPECT_EQ(own->changes, 1);   // through the own properties' change notice

    auto* item = new TcxProbeRepositoryItem(form);
    auto* e1 = new Counting(form);
    auto* e2 = new Counting(form);
    e1->SetRepositoryItem(item);
    e2->SetRepositoryItem(item);
    e1->changes = e2->changes = 0;
    e1->DataBinding()->DefaultValuesChanged();
    EXPECT_EQ(e1->changes, 1);
    EXPECT_EQ(e2->changes, 0);   // the item's other editors hear nothing
    item->Properties()->SetBeepOnError(true);   // an ordinary change reaches both
    EXPECT_EQ(e1->changes, 2);
    EXPECT_EQ(e2->changes, 1);
}

// ---- validation and posting -----------------------------------------------------------------------

TEST_F(EditControlTest, ValidationFlow)
{
    enum Outcome { Accepted, ValidationError, Abort };
    struct Case {
        const char* name;
        bool inplace;
        bool typed;
        std::function<void(Variant&, std::string&, bool&)> onValidate;
        Outcome outcome;
        const char* textAfter;
        const char* valueAfter;
        int validateCalls;
    } cases[] = {
        {"valid text becomes the edit value", false, true, [](Variant&, std::string&, bool&) {}, Accepted, "ab", "ab", 1},
        {"an unchanged editor is not validated", false, false, [](Variant&, std::string&, bool& e) { e = true; },
         Accepted, "", "<null>", 0},
        {"an error with a text raises it", false, true,
         [](Variant&, std::string& t, bool& e) {
             e = true;
             t = "Too short";
         },
         ValidationError, "ab", "<null>", 1},
        {"a handler's corrected text is shown", false, true,
         [](Variant& v, std::string&, bool& e) {
             e = true;
             v = Variant(std::string("abc"));
         },
         ValidationError, "abc", "<null>", 1},
        {"a cleared error text aborts silently", false, true,
         [](Variant&, std::string& t, bool& e) {
             e = true;
             t.clear();
         },
         Abort, "ab", "<null>", 1},
        {"in place: a cleared error text aborts silently", true, true,
         [](Variant&, std::string& t, bool& e) {
             e = true;
             t.clear();
         },
         Abort, "ab", "<null>", 1},
        {"in place: valid", true, true, [](Variant&, std::string&, bool&) {}, Accepted, "ab", "ab", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* e = MakeEdit(c.inplace);
        e->Properties()->SetBeepOnError(true);
        int calls = 0;
        e->Properties()->OnValidate = [&](TObject*, Variant& v, std::string& t, bool& err) {
            ++calls;
            c.onValidate(v, t, err);
        };
        TcxCustomEditData* data = nullptr;
        if (c.inplace)
            e->Activate(data);
        ASSERT_TRUE(ShowAndFocus(e));
        if (c.typed)
            TypeText(e, "ab");
        const int beeps = Fixed().beeps;
        bool valid = false;
        switch (c.outcome) {
        case Accepted:
            valid = c.inplace ? e->Deactivate() : e->ValidateEdit(true);
            EXPECT_TRUE(valid);
            break;
        case ValidationError:
            EXPECT_THROW(c.inplace ? e->Deactivate() : e->ValidateEdit(true), EcxEditValidationError);
            break;
        case Abort:
            EXPECT_THROW(c.inplace ? e->Deactivate() : e->ValidateEdit(true), EAbort);
            break;
        }
        EXPECT_EQ(calls, c.validateCalls);
        EXPECT_EQ(e->text, c.textAfter);
        EXPECT_EQ(Str(e->EditValue()), c.valueAfter);
        if (c.outcome != Accepted) {
            // The editor stays where the error is, unvalidated and modified, and says so once.
            EXPECT_EQ(Fixed().beeps, beeps + 1);
            EXPECT_TRUE(e->Focused());
            EXPECT_TRUE(e->Visible());
            EXPECT_TRUE(e->ModifiedAfterEnter());
            EXPECT_FALSE(e->EditValidated());
            EXPECT_GT(e->selectAlls, 0);
        } else if (c.typed) {
            EXPECT_TRUE(e->EditValidated());
        }
        EXPECT_EQ(e->ModifiedStackDepth(), 0);
        e->Free();
    }
}

TEST_F(EditControlTest, AnEditorThatCannotTakeTheFocusRevertsToTheLastValidValueAfterTheError)
{
    auto* e = MakeEdit();   // the form is never shown: no focus possible
    e->SetEditValue(Variant(std::string("ok")));
    e->Properties()->SetBeepOnError(true);
    int calls = 0;
    e->Properties()->OnValidate = [&](TObject*, Variant& v, std::string& t, bool& err) {
        ++calls;
        err = VarToStr(v) != "ok";
        t = "Bad";
    };
    ASSERT_FALSE(e->CanFocus());
    e->text = "bad";
    e->SetModifiedAfterEnter(true);
    EXPECT_THROW(e->ValidateEdit(true), EcxEditValidationError);
    EXPECT_EQ(Fixed().beeps, 1);
    EXPECT_EQ(e->text, "ok");
    // The second try finds the valid value, not the bad one accepted unchecked.
    EXPECT_TRUE(e->ValidateEdit(true));
    EXPECT_EQ(Str(e->EditValue()), "ok");
    EXPECT_EQ(calls, 1);
}

TEST_F(EditControlTest, APostRefusedByTheHostReachesItAndTheInplaceEditorStaysWithItsValue)
{
    auto* e = MakeEdit(true);
    bool refuse = true;
    std::vector<std::string> posted;
    e->OnPostEditValue = [&](TObject*) {
        if (refuse)
            throw EcxEditError("The record is locked");
        posted.push_back(Str(e->EditValue()));
    };
    TcxCustomEditData* data = nullptr;
    e->Activate(data);
    ASSERT_TRUE(ShowAndFocus(e));
    TypeText(e, "new");
    EXPECT_THROW(e->PostEditValue(), EcxEditError);
    EXPECT_TRUE(posted.empty());
    EXPECT_TRUE(e->Visible());
    EXPECT_TRUE(e->Focused());
    EXPECT_EQ(e->text, "new");
    EXPECT_TRUE(e->Modified());
    EXPECT_FALSE(e->IsPosting());
    refuse = false;
    e->PostEditValue();
    EXPECT_EQ(posted, std::vector<std::string>{"new"});
    EXPECT_FALSE(e->Modified());
}

// A binding whose provider has no data to offer (a data-aware editor not connected yet).
class TcxNoDataProvider : public TcxCustomEditDefaultValuesProvider {
    RTL_CLASS(TcxNoDataProvider, TcxCustomEditDefaultValuesProvider)
    using TcxCustomEditDefaultValuesProvider::TcxCustomEditDefaultValuesProvider;
    bool IsDataAvailable() override { return false; }
};
class TcxNoDataBinding : public TcxEditDataBinding {
    RTL_CLASS(TcxNoDataBinding, TcxEditDataBinding)
    using TcxEditDataBinding::TcxEditDataBinding;
    TcxCustomEditDefaultValuesProviderClass GetDefaultValuesProviderClass() const override
    {
        return TcxCustomEditDefaultValuesProviderClass::Of<TcxNoDataProvider>();
    }
};

TEST_F(EditControlTest, ClipboardMessagesFollowTheReadOnlyStateAndTheData)
{
    struct Probe : TcxProbeEdit {
        using TcxProbeEdit::TcxProbeEdit;
        void CopyToClipboard() override { calls += "copy "; }
        void CutToClipboard() override { calls += "cut "; }
        void PasteFromClipboard() override { calls += "paste "; }
        std::string calls;
    };
    const struct {
        const char* name;
        bool readOnly, noData;
        const char* expected;
    } cases[] = {
        {"writable", false, false, "copy cut paste "},
        {"read-only", true, false, "copy copy "},
        {"no data available", false, true, "copy copy "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto* e = c.noData ? new Probe(form, false, TcxEditDataBindingClass::Of<TcxNoDataBinding>()) : new Probe(form);
        e->SetParent(form);
        e->Properties()->SetReadOnly(c.readOnly);
        EXPECT_EQ(e->RealReadOnly(), c.readOnly || c.noData);
        EXPECT_EQ(e->DataBinding()->CanModify(), !c.noData);
        for (UINT msg : {WM_COPY, WM_CUT, WM_PASTE})
            e->Perform(msg, 0, 0);
        EXPECT_EQ(e->calls, c.expected);
        e->Free();
    }
}

// ---- keys ---------------------------------------------------------------------------------------

class EditKeysTest : public EditControlTest {
protected:
    void SetUp() override
    {
        EditControlTest::SetUp();
        edit = MakeEdit();
        next = MakeEdit(false, {10, 50, 130, 71});
        edit->SetEditValue(Variant(std::string("start")));
        edit->OnKeyDown = [this](TObject*, std::uint16_t& k, TShiftState) {
            if (k != VK_CONTROL && k != VK_SHIFT)
                keyDowns.push_back(k);
        };
        edit->OnKeyPress = [this](TObject*, char16_t& k) { keyPresses.push_back(k); };
        edit->OnAfterKeyDown = [this](TObject*, std::uint16_t& k, TShiftState) { afterKeyDowns.push_back(k); };
        edit->Properties()->OnValidate = [this](TObject*, Variant&, std::string&, bool&) { ++validates; };
        ASSERT_TRUE(ShowAndFocus(edit));
    }
    TcxEditButton* AddButton(bool isDefault)
    {
        TcxEditButton* b = edit->Properties()->Buttons()->Add();
        b->SetDefault(isDefault);
        edit->Properties()->OnButtonClick = [this](TObject*, int index) { clicks.push_back(index); };
        edit->ShortRefreshContainer(false);
        return b;
    }
    TcxProbeEdit* edit = nullptr;
    TcxProbeEdit* next = nullptr;
    std::vector<std::uint16_t> keyDowns, afterKeyDowns;
    std::vector<char16_t> keyPresses;
    std::vector<int> clicks;
    int validates = 0;
};

TEST_F(EditKeysTest, EnterValidatesAndPostsWhenAsked)
{
    edit->Properties()->SetValidateOnEnter(true);
    TypeText(edit, "x");
    Type(edit, Qt::Key_Return);
    EXPECT_EQ(validates, 1);
    EXPECT_EQ(Str(edit->EditValue()), "startx");
    EXPECT_TRUE(edit->EditValidated());
    EXPECT_TRUE(edit->Focused());
}

TEST_F(EditKeysTest, EscapeResetsAChangeAndSwallowsItsCharacterOnly)
{
    TypeText(edit, "x");
    EXPECT_EQ(edit->text, "startx");
    keyPresses.clear();
    Type(edit, Qt::Key_Escape);
    EXPECT_EQ(edit->text, "start");
    EXPECT_EQ(Str(edit->EditValue()), "start");
    EXPECT_FALSE(edit->ModifiedAfterEnter());
    EXPECT_TRUE(keyPresses.empty());   // the Escape that reset reaches nobody else
    Type(edit, Qt::Key_Escape);         // nothing to reset: passed on
    EXPECT_EQ(keyPresses, std::vector<char16_t>{27});
    next->SetFocus();
    EXPECT_EQ(validates, 0);
}

TEST_F(EditKeysTest, TabMovesTheFocusForwardAndBack)
{
    Type(edit, Qt::Key_Tab);
    EXPECT_TRUE(next->Focused());
    Type(next, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(edit->Focused());
}

TEST_F(EditKeysTest, InPlaceTabAndNavigationKeysGoToTheHostAfterKeyDown)
{
    auto* e = MakeEdit(true, {10, 80, 130, 101});
    std::vector<std::uint16_t> seen;
    e->OnAfterKeyDown = [&](TObject*, std::uint16_t& k, TShiftState) {
        seen.push_back(k);
        k = 0;   // the host moves to the next cell itself
    };
    TcxCustomEditData* data = nullptr;
    e->Activate(data);
    ASSERT_TRUE(SpinUntil([e] { return e->Focused(); }, 500));
    for (Qt::Key k : {Qt::Key_Tab, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_Home})
        Type(e, k);
    EXPECT_EQ(seen, (std::vector<std::uint16_t>{VK_TAB, VK_DOWN, VK_PRIOR, VK_HOME}));
    EXPECT_TRUE(e->Focused());

    // Enter validates and posts through the host once.
    std::vector<std::string> posts;
    e->OnPostEditValue = [&](TObject*) { posts.push_back(Str(e->EditValue())); };
    e->Properties()->SetValidateOnEnter(true);
    TypeText(e, "z");
    Type(e, Qt::Key_Return);
    EXPECT_EQ(posts, std::vector<std::string>{"z"});
    EXPECT_FALSE(e->Modified());
}

TEST_F(EditKeysTest, TheClearKeyEmptiesTheValueWithoutLaterValidation)
{
    edit->Properties()->SetClearKey(ShortCut(VK_DELETE, {}));
    Type(edit, Qt::Key_Delete);
    EXPECT_TRUE(edit->EditValue().IsNull());
    EXPECT_EQ(edit->text, "");
    EXPECT_TRUE(edit->EditValidated());
    EXPECT_EQ(keyDowns, std::vector<std::uint16_t>{VK_DELETE});   // OnKeyDown still hears it
    next->SetFocus();
    EXPECT_TRUE(next->Focused());
    EXPECT_EQ(validates, 0);
    EXPECT_TRUE(edit->EditValue().IsNull());
}

TEST_F(EditKeysTest, TheClickKeyClicksTheDefaultButtonOrIsAnOrdinaryKey)
{
    for (bool withDefault : {false, true}) {
        SCOPED_TRACE(withDefault ? "default button" : "no default button");
        edit->Properties()->Buttons()->Clear();
        AddButton(false);
        if (withDefault)
            AddButton(true);
        keyDowns.clear();
        clicks.clear();
        Type(edit, Qt::Key_Return, Qt::ControlModifier);
        if (withDefault) {
            EXPECT_EQ(clicks, std::vector<int>{1});
            EXPECT_TRUE(keyDowns.empty());
        } else {
            EXPECT_TRUE(clicks.empty());
            EXPECT_EQ(keyDowns, std::vector<std::uint16_t>{VK_RETURN});
        }
    }
}

// ---- in-place activation --------------------------------------------------------------------------

TEST_F(EditControlTest, ActivateByKeyMakesTheCharacterTheFirstInput)
{
    auto* e = MakeEdit(true);
    int editings = 0;
    e->OnEditing = [&](TObject*, bool& canEdit) {
        ++editings;
        canEdit = true;
    };
    ASSERT_TRUE(Activate(form));
    TcxCustomEditData* data = nullptr;
    e->ActivateByKey(u'x', data);
    vcl::DrainPostedMessages();
    EXPECT_TRUE(e->Visible());
    EXPECT_TRUE(SpinUntil([e] { return e->Focused(); }, 500));
    EXPECT_EQ(e->text, "x");
    EXPECT_TRUE(e->ModifiedAfterEnter());
    EXPECT_EQ(editings, 1);
    EXPECT_FALSE(e->InnerEditRepaintingLocked());
}

TEST_F(EditControlTest, ASecondClickSoonAfterActivateByMouseIsADoubleClick)
{
    for (bool soon : {true, false}) {
        SCOPED_TRACE(soon ? "within the double-click time" : "after it");
        Fixed().doubleClickTime = soon ? 500 : 30;
        auto* e = MakeEdit(true);
        int dblClicks = 0;
        e->OnDblClick = [&](TObject*) { ++dblClicks; };
        ASSERT_TRUE(Activate(form));
        TcxCustomEditData* data = nullptr;
        // (20, 20) in the form's client area is (10, 10) in the editor.
        e->ActivateByMouse(TShiftState{ssLeft}, 20, 20, data);
        EXPECT_TRUE(e->DblClickTimer()->Enabled());
        if (!soon) {
            EXPECT_TRUE(SpinUntil([e] { return !e->DblClickTimer()->Enabled(); }, 500));
        }
        Press(e, 12, 10);
        Release(e, 12, 10);
        EXPECT_EQ(dblClicks, soon ? 1 : 0);
        EXPECT_FALSE(e->DblClickTimer()->Enabled());
        e->Free();
    }
}

// ---- sizing and anchors ---------------------------------------------------------------------------

TEST_F(EditControlTest, AutoSizeTakesTheContentHeightWhereTheAlignmentAllows)
{
    auto* probe = MakeEdit();
    probe->SetBounds(10, 10, 120, 60);
    const int contentHeight = probe->Height();
    ASSERT_LT(contentHeight, 60);
    probe->Free();
    struct Case {
        const char* name;
        bool inplace, autoSize;
        TAlign align;
        bool keepsHeight;
    } cases[] = {
        {"stand-alone", false, true, alNone, false},
        {"no auto size", false, false, alNone, true},
        {"in place never auto sizes", true, true, alNone, true},
        {"client-aligned keeps its height", false, true, alClient, true},
        {"top-aligned takes the computed height", false, true, alTop, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* e = MakeEdit(c.inplace);
        e->SetEditAutoSize(c.autoSize);
        e->Align = c.align;   // the rule only: the platform lays out no aligned controls
        e->SetBounds(10, 10, 120, 60);
        e->SetSize();
        EXPECT_EQ(e->CanAutoSize(), c.autoSize && !c.inplace);
        EXPECT_EQ(e->Height(), c.keepsHeight ? 60 : contentHeight);
        EXPECT_EQ(e->Width(), 120);
        e->Free();
    }
}

// An editor kind that keeps its right edge or centre in place while its width follows the buttons.
class TcxAnchoredProbeEdit : public TcxProbeEdit {
    RTL_CLASS(TcxAnchoredProbeEdit, TcxProbeEdit)
    using TcxProbeEdit::TcxProbeEdit;
    bool UseAnchorX() const override { return true; }
};

TEST_F(EditControlTest, AnAutoWidthEditorKeepsItsAnchor)
{
    const auto half = [](int n) { return n / 2 + n % 2; };
    for (TAlignment horz : {taRightJustify, taCenter}) {
        SCOPED_TRACE(horz == taCenter ? "centred" : "right edge");
        auto* e = new TcxAnchoredProbeEdit(form);
        e->SetParent(form);
        e->Properties()->Alignment()->SetHorz(horz);
        e->Properties()->SetButtonsViewStyle(bvsButtonsAutoWidth);
        e->Properties()->Buttons()->Add()->SetWidth(20);
        e->CheckHandle();
        e->SetBounds(100, 10, 300, 21);   // the width follows the buttons at once
        const int w0 = e->Width();
        ASSERT_LT(w0, 300);
        EXPECT_EQ(e->Left(), 100);
        const int anchor = horz == taCenter ? 100 + half(w0) : 100 + w0;
        TcxEditButton* grown = e->Properties()->Buttons()->Add();
        grown->SetWidth(31);
        if (e->Width() % 2 == 0)
            grown->SetWidth(32);   // an odd width shows the rounding of the centre
        const int w1 = e->Width();
        ASSERT_GT(w1, w0);
        ASSERT_EQ(w1 % 2, 1);
        EXPECT_EQ(e->AnchorX(), anchor);
        EXPECT_EQ(e->Left(), horz == taCenter ? anchor - half(w1) : anchor - w1);
        e->Free();
    }
}

// Form streams carry an editor's size and anchors as defined properties: a size the editor
// computes itself is left out, and reading a value places the editor again.
TEST_F(EditControlTest, SizesAndAnchorsTravelInTheStreamUnlessComputed)
{
    auto* fixed = MakeEdit();
    fixed->SetEditAutoSize(false);
    fixed->SetBounds(10, 10, 140, 45);
    auto* target = MakeEdit();
    target->SetEditAutoSize(false);
    const std::string sizes = WriteDefinedProperties(fixed);
    ReadDefinedProperties(sizes, target);
    EXPECT_EQ(target->Width(), 140);
    EXPECT_EQ(target->Height(), 45);
    EXPECT_EQ(sizes.find("Anchor"), std::string::npos);

    // An auto-size editor writes no "Height"; one that sizes its width too writes no "Width".
    fixed->SetEditAutoSize(true);
    EXPECT_EQ(WriteDefinedProperties(fixed).find("Height"), std::string::npos);
    EXPECT_NE(WriteDefinedProperties(fixed).find("Width"), std::string::npos);
    fixed->Properties()->SetButtonsViewStyle(bvsButtonsAutoWidth);
    EXPECT_EQ(WriteDefinedProperties(fixed).find("Width"), std::string::npos);

    // A kind that keeps an anchor writes it as it stands and is placed by it when read.
    auto* anchored = new TcxAnchoredProbeEdit(form);
    anchored->SetParent(form);
    anchored->Properties()->SetButtonsViewStyle(bvsButtonsAutoWidth);
    anchored->CheckHandle();
    anchored->SetBounds(100, 10, 300, 21);
    const int width = anchored->Width();
    const std::string withAnchor = WriteDefinedProperties(anchored);
    EXPECT_NE(withAnchor.find("AnchorX"), std::string::npos);
    EXPECT_EQ(withAnchor.find("AnchorY"), std::string::npos);
    auto* copy = new TcxAnchoredProbeEdit(form);
    copy->SetParent(form);
    copy->Properties()->SetButtonsViewStyle(bvsButtonsAutoWidth);
    copy->CheckHandle();
    copy->SetBounds(0, 10, 300, 21);
    ReadDefinedProperties(withAnchor, copy);
    EXPECT_EQ(copy->AnchorX(), 100 + width);
    EXPECT_EQ(copy->Left() + copy->Width(), 100 + width);
    for (TcxCustomEdit* e : std::initializer_list<TcxCustomEdit*>{fixed, target, anchored, copy})
        e->Free();
}

// ---- view-info changes become button events -------------------------------------------------------

TEST_F(EditControlTest, APressReleasedOverTheSameButtonIsOneClick)
{
    auto* e = MakeEdit(false, {10, 10, 170, 31});
    e->SetEditAutoSize(false);   // the base kind measures no text: keep room for the buttons
    e->SetBounds(10, 10, 160, 21);
    e->Properties()->Buttons()->Add();
    e->Properties()->Buttons()->Add();
    std::vector<int> clicks;
    e->Properties()->OnButtonClick = [&](TObject*, int index) { clicks.push_back(index); };
    ASSERT_TRUE(ShowAndFocus(e));
    e->ShortRefreshContainer(false);
    auto* vi = e->EditViewInfo();
    ASSERT_EQ(vi->ButtonCount(), 2);
    const TPoint b1 = cxRectCenter(vi->ButtonsInfo[1]->Bounds);

    QTest::mouseMove(e->Peer(), QPoint(b1.X, b1.Y));   // the pointer comes in first
    Press(e, b1.X, b1.Y);
    EXPECT_EQ(e->CapturedButton(), 1);
    Release(e, b1.X, b1.Y);
    EXPECT_EQ(e->log, (std::vector<std::string>{"down1", "up1", "click1"}));
    EXPECT_EQ(clicks, std::vector<int>{1});

    e->log.clear();
    Press(e, b1.X, b1.Y);
    QTest::mouseMove(e->Peer(), QPoint(10, b1.Y));
    Release(e, 10, b1.Y);
    EXPECT_EQ(e->log, (std::vector<std::string>{"down1", "up1"}));
    EXPECT_EQ(clicks.size(), 1u);

    e->log.clear();
    e->DoRefreshContainer(b1, cxmbNone, {}, false);   // not a mouse event: no button events
    EXPECT_TRUE(e->log.empty());
}

// ---- the in-place editor list -----------------------------------------------------------------------

TEST_F(EditControlTest, TheInplaceListReusesAnEditorWhosePropertiesWentAway)
{
    TcxInplaceEditList list(form);
    auto* p1 = new TcxProbeEditProperties(nullptr);
    auto* p2 = new TcxProbeEditProperties(nullptr);
    p1->SetBeepOnError(true);
    TcxCustomEdit* e1 = list.GetEdit(p1);
    TcxCustomEdit* e2 = list.GetEdit(p2);
    EXPECT_NE(e1, e2);
    EXPECT_TRUE(e1->IsInplace());
    EXPECT_FALSE(e1->Visible());
    EXPECT_EQ(e1->Owner(), form);
    EXPECT_TRUE(e1->Properties()->BeepOnError());   // the properties are assigned in
    EXPECT_EQ(list.GetEdit(p1), e1);
    EXPECT_EQ(list.Count(), 2);

    // A class lookup takes only free editors.
    EXPECT_EQ(list.FindEdit(TcxCustomEditPropertiesClass::Of<TcxProbeEditProperties>()), nullptr);
    p1->Free();
    EXPECT_EQ(list.FindEdit(TcxCustomEditPropertiesClass::Of<TcxProbeEditProperties>()), e1);
    auto* p3 = new TcxOtherProbeEditProperties(nullptr);
    EXPECT_EQ(list.GetEdit(p3), e1);   // same editor class: reused
    EXPECT_EQ(list.Count(), 2);

    TcxCustomEdit* free1 = list.GetEdit(TcxCustomEditPropertiesClass::Of<TcxProbeEditProperties>());
    TcxCustomEdit* free2 = list.GetEdit(TcxCustomEditPropertiesClass::Of<TcxProbeEditProperties>());
    EXPECT_NE(free1, e1);
    EXPECT_EQ(free1, free2);   // a free editor is found again, not made twice
    EXPECT_EQ(list.Count(), 3);
    list.RemoveItem(TcxCustomEditPropertiesClass::Of<TcxProbeEditProperties>());
    EXPECT_EQ(list.Count(), 2);   // bound editors stay
    EXPECT_EQ(list.FindEdit(p2), e2);
    EXPECT_EQ(list.FindEdit(p3), e1);
    p2->Free();
    p3->Free();
}

TEST_F(EditControlTest, APropertiesObjectDestroyedWhileListedFreesEveryListsEditorForReuse)
{
    ASSERT_EQ(cxInplaceEditLists(), nullptr);
    {
        TcxInplaceEditList a(form), b(form);
        ASSERT_NE(cxInplaceEditLists(), nullptr);
        EXPECT_EQ(cxInplaceEditLists()->size(), 2u);
        auto* p = new TcxProbeEditProperties(nullptr);
        TcxCustomEdit* ea = a.GetEdit(p);
        TcxCustomEdit* eb = b.GetEdit(p);
        p->Free();
        EXPECT_EQ(a.Count(), 1);   // nothing freed
        EXPECT_EQ(b.Count(), 1);
        EXPECT_EQ(a.FindEdit(TcxCustomEditPropertiesClass::Of<TcxProbeEditProperties>()), ea);
        EXPECT_EQ(b.FindEdit(TcxCustomEditPropertiesClass::Of<TcxProbeEditProperties>()), eb);
    }
    EXPECT_EQ(cxInplaceEditLists(), nullptr);   // freed with the last list
    TcxInplaceEditList again(form);
    EXPECT_NE(cxInplaceEditLists(), nullptr);
}

// ---- a host's editing road ------------------------------------------------------------------------

// The smallest host: one cell value, one editor from its list, shown by a typed key and hidden by
// validating and posting.
class TestHost {
public:
    explicit TestHost(TWinControl* parent) : list_(parent), parent_(parent), properties_(new TcxProbeEditProperties(nullptr))
    {
    }
    ~TestHost() { properties_->Free(); }
    TcxProbeEdit* Editor() const { return editor_; }
    TcxProbeEditProperties* Properties() const { return properties_; }
    void ShowByKey(char16_t key)
    {
        editor_ = static_cast<TcxProbeEdit*>(list_.GetEdit(properties_));
        editor_->SetParent(parent_);
        editor_->SetBounds(10, 10, 100, 21);
        editor_->OnPostEditValue = [this](TObject*) { posts.push_back(Str(editor_->EditValue())); };
        editor_->SetEditValue(Variant(value));
        editor_->ActivateByKey(key, data_);
        vcl::DrainPostedMessages();
    }
    // False (and the editor stays open) when the editor refuses its value.
    bool Hide()
    {
        try {
            if (!editor_->Deactivate())
                return false;
            editor_->PostEditValue();
        } catch (const EcxEditError&) {
            return false;
        } catch (const EAbort&) {
            return false;
        }
        value = VarToStr(editor_->EditValue());
        editor_->SetVisible(false);
        parent_->SetFocus();
        return true;
    }
    std::string value = "v";
    std::vector<std::string> posts;

private:
    TcxInplaceEditList list_;
    TWinControl* parent_;
    TcxProbeEditProperties* properties_;
    TcxProbeEdit* editor_ = nullptr;
    TcxCustomEditData* data_ = nullptr;
};

TEST_F(EditControlTest, AHostEditsACellAndGetsExactlyOnePostOfTheNewValue)
{
    ASSERT_TRUE(Activate(form));
    TestHost host(form);
    host.Properties()->OnValidate = [](TObject*, Variant& v, std::string& t, bool& err) {
        err = VarToStr(v).find('!') != std::string::npos;
        t = "No exclamation marks";
    };
    host.ShowByKey(u'a');
    ASSERT_TRUE(SpinUntil([&] { return host.Editor()->Focused(); }, 500));
    TypeText(host.Editor(), "bc");
    EXPECT_EQ(host.Editor()->text, "vabc");
    EXPECT_TRUE(host.Hide());
    EXPECT_EQ(host.posts, std::vector<std::string>{"vabc"});
    EXPECT_EQ(host.value, "vabc");
    EXPECT_FALSE(host.Editor()->Visible());

    // An invalid value keeps the editor active and posts nothing.
    host.posts.clear();
    host.ShowByKey(u'!');
    ASSERT_TRUE(SpinUntil([&] { return host.Editor()->Focused(); }, 500));
    EXPECT_FALSE(host.Hide());
    EXPECT_TRUE(host.posts.empty());
    EXPECT_TRUE(host.Editor()->Visible());
    EXPECT_TRUE(host.Editor()->Focused());
    EXPECT_EQ(host.Editor()->text, "vabc!");
    EXPECT_EQ(host.value, "vabc");
}

} // namespace

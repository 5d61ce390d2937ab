#pragma once
// A vertical grid with a text row "Meter" and an integer row "Reading" as the filter builder's
// host, the builder on the test form, key helpers that send real Qt keys, and the builder's
// dialog run modally with a script and scripted file choosers.
#include "VGridTestSupport.h"

#include "platform/vcl/EditBox.h"
#include "toolkit/editors/cxTextEdit.h"
#include "toolkit/grid/cxFilterControl.h"
#include "toolkit/grid/cxFilterControlDialog.h"
#include "toolkit/grid/cxVirtualVGrid.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

namespace fbtest {

using namespace cx;
using namespace vgtest;

class HostGrid : public TcxVirtualVerticalGrid {
    RTL_CLASS(HostGrid, TcxVirtualVerticalGrid)
    explicit HostGrid(TComponent* owner) : TcxVirtualVerticalGrid(owner) { RecreateViewInfo(); }
};

class FilterBuilderTest : public VGridTest {
protected:
    void SetUp() override
    {
        VGridTest::SetUp();
        cxTextEditUnit::Initialize();
        cxFilterControlDialogUnit::Initialize();
        form->SetBounds(100, 100, 500, 300);
        host = new HostGrid(form);
        for (auto [caption, type] : {std::pair{"Meter", "String"}, std::pair{"Reading", "Integer"}}) {
            auto* row = host->Add<TcxEditorRow>();
            row->Properties()->SetCaption(caption);
            row->Properties()->DataBinding()->SetValueType(type);
            row->Properties()->SetEditPropertiesClass(TcxCustomEditPropertiesClass::Of<TcxTextEditProperties>());
        }
    }
    void TearDown() override
    {
        cxFilterDialogPosition = {};
        form->Free();
        form = nullptr;
        cxFilterControlDialogUnit::Finalize();
        cxTextEditUnit::Finalize();
        VGridTest::TearDown();
    }
    // The builder on the active form, focused, linked to the grid unless told otherwise.
    TcxFilterControl* NewBuilder(bool linked = true)
    {
        builder = new TcxFilterControl(form);
        builder->SetBounds(0, 0, 480, 260);
        builder->SetParent(form);
        builder->HandleNeeded();
        if (linked)
            builder->SetLinkComponent(host);
        EXPECT_TRUE(Activate(form));
        builder->SetFocus();
        builder->LayoutChanged();
        return builder;
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, QWidget* to = nullptr)
    {
        QTest::keyClick(to ? to : builder->Peer(), key, modifiers);
        vcl::DrainPostedMessages();
    }
    void Type(const char* text, QWidget* to = nullptr)
    {
        QTest::keyClicks(to ? to : builder->Peer(), text);
        vcl::DrainPostedMessages();
    }
    TcxConditionViewInfo* Condition(int row) { return dynamic_cast<TcxConditionViewInfo*>(builder->Rows(row)); }
    TcxGroupViewInfo* Group(int row) { return dynamic_cast<TcxGroupViewInfo*>(builder->Rows(row)); }
    static QWidget* Field(TcxCustomEdit* edit)
    {
        auto* text = dynamic_cast<TcxCustomTextEdit*>(edit);
        return text ? text->InnerTextEditControl()->Box()->Widget() : edit->Peer();
    }

    HostGrid* host = nullptr;
    TcxFilterControl* builder = nullptr;
};

// The builder's dialog opened modally (through the grid unless told otherwise) with scripted
// file choosers that record what they were asked and answer `answer` (cancel when empty).
class FilterDialogTest : public FilterBuilderTest {
protected:
    void SetUp() override
    {
        FilterBuilderTest::SetUp();
        oldChoosers = cxSetFilterFileChoosers({[this](TcxFilterFileDialog& d) { return Choose(d, false); },
                                               [this](TcxFilterFileDialog& d) { return Choose(d, true); }});
    }
    void TearDown() override
    {
        cxSetFilterFileChoosers(oldChoosers);
        FilterBuilderTest::TearDown();
    }
    bool Choose(TcxFilterFileDialog& d, bool save)
    {
        asked.push_back({save, d.Title, d.FileName, d.Filter, d.DefaultExt});
        if (answer.empty())
            return false;
        d.FileName = answer;
        return true;
    }
    // Opens the dialog (through the grid unless told otherwise) and runs the script once it is
    // the active form; a dialog still open after ten seconds is aborted.
    bool Run(const std::function<void(TfmFilterControlDialog*)>& script, const std::function<bool()>& open = {})
    {
        QObject timers;
        QTimer poll;
        poll.setInterval(20);
        QObject::connect(&poll, &QTimer::timeout, &timers, [&] {
            auto* dialog = dynamic_cast<TfmFilterControlDialog*>(Screen->ActiveForm());
            if (!dialog)
                return;
            poll.stop();
            vcl::GuardQtEntry(dialog, [&] { script(dialog); });
        });
        poll.start();
        QTimer::singleShot(10000, &timers, [] {
            if (auto* dialog = dynamic_cast<TfmFilterControlDialog*>(Screen->ActiveForm()))
                dialog->SetModalResult(mrAbort);
        });
        return open ? open() : host->DoFilterDialog();
    }
    static void Press(TcxButton* button)
    {
        QTest::mouseClick(button->Peer(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
        vcl::DrainPostedMessages();
    }
    static void KeyTo(TWinControl* c, Qt::Key key)
    {
        QTest::keyClick(c->Peer(), key);
        vcl::DrainPostedMessages();
    }
    // A condition on the grid's row `item` with one value, added to the dialog's builder.
    static void AddCondition(TcxCustomFilterControl* fc, int item, TcxFilterControlOperator op, const Variant& value)
    {
        fc->AddCondition(nullptr);
        auto* c = dynamic_cast<TcxConditionViewInfo*>(fc->FocusedRow());
        c->SetItem(item);
        c->SetOperator(op);
        c->InitValues(false);
        c->Values()->Items(0)->Value = value;
        c->Values()->Items(0)->ValueText = VarToStr(value);
    }
    // A condition "Reading equals 5".
    static void AddReadingEquals(TcxCustomFilterControl* fc, int value) { AddCondition(fc, 1, fcoEqual, Variant(value)); }
    struct Asked {
        bool save;
        std::string title, fileName, filter, ext;
    };
    std::vector<Asked> asked;
    std::string answer;
    TcxFilterFileChoosers oldChoosers;
    QTemporaryDir dir;
};

} // namespace fbtest

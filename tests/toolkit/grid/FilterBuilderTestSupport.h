#pragma once
// A vertical grid with a text row "Meter" and an integer row "Reading" as the filter builder's
// host, the builder on the test form, and key helpers that send real Qt keys.
#include "VGridTestSupport.h"

#include "platform/vcl/EditBox.h"
#include "toolkit/editors/cxTextEdit.h"
#include "toolkit/grid/cxFilterControl.h"
#include "toolkit/grid/cxFilterControlDialog.h"
#include "toolkit/grid/cxVirtualVGrid.h"

#include <QTest>

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

} // namespace fbtest

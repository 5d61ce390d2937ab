#pragma once
// The in-place container tests: the units an editing control needs, started around each test, a
// form holding a test control, and a properties class registered by name.
#include "tests/platform/vcl/VclTestSupport.h"
#include "toolkit/core/cxLookAndFeelPainters.h"
#include "toolkit/core/cxLookAndFeels.h"
#include "toolkit/editors/cxEditConsts.h"
#include "toolkit/editors/cxEditRepositoryItems.h"
#include "toolkit/grid/cxInplaceContainer.h"

#include <gtest/gtest.h>

using namespace cx;

class TcxTestInplaceProperties : public TcxCustomEditProperties {
    RTL_CLASS(TcxTestInplaceProperties, TcxCustomEditProperties)
    using TcxCustomEditProperties::TcxCustomEditProperties;
};

class TcxTestItem : public TcxCustomInplaceEditContainer {
    RTL_CLASS(TcxTestItem, TcxCustomInplaceEditContainer)
    using TcxCustomInplaceEditContainer::TcxCustomInplaceEditContainer;
};

// A control whose layout passes are counted through the view info.
class TcxTestEditingControl : public TcxExtEditingControl {
    RTL_CLASS(TcxTestEditingControl, TcxExtEditingControl)
    using TcxExtEditingControl::TcxExtEditingControl;
    TcxTestItem* AddItem(const std::string& valueType = {})
    {
        auto* item = new TcxTestItem(this);
        item->SetEditingControl(this);
        if (!valueType.empty())
            static_cast<TcxItemDataBinding*>(item->DataBinding())->SetValueType(valueType);
        return item;
    }
    int Layouts() { return ViewInfo()->CalculateCount(); }
};

class InplaceTest : public ::testing::Test, public VclFixture {
protected:
    void SetUp() override
    {
        cxLookAndFeelPaintersUnit::Initialize();
        cxLookAndFeelsUnit::Initialize();
        cxEditConstsUnit::Initialize();
        cxEditUnit::Initialize();
        GetRegisteredEditProperties()->Register(TcxCustomEditPropertiesClass::Of<TcxTestInplaceProperties>().Meta(),
                                                "TestEdit|A stand-in editor");
        cxEditRepositoryItemsUnit::Initialize();
        cxEditDataRegisteredRepositoryItemsUnit::Initialize();
        cxInplaceContainerUnit::Initialize();
        form = new TForm(nullptr);
        form->SetBounds(100, 100, 300, 250);
        control = new TcxTestEditingControl(form);
        control->SetParent(form);
        control->SetBounds(0, 0, 200, 150);
    }
    void TearDown() override
    {
        if (form)
            form->Free();
        cxInplaceContainerUnit::Finalize();
        cxEditDataRegisteredRepositoryItemsUnit::Finalize();
        cxEditRepositoryItemsUnit::Finalize();
        cxEditUnit::Finalize();
        cxEditConstsUnit::Finalize();
        cxClearResourceStrings();
        cxLookAndFeelsUnit::Finalize();
        cxLookAndFeelPaintersUnit::Finalize();
    }
    TForm* form = nullptr;
    TcxTestEditingControl* control = nullptr;
};

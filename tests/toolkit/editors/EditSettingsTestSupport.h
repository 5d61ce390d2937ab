#pragma once
// The editor-settings tests: the editor units started around each test, a properties class that
// stands in for the editor kinds (it validates) and a default values provider with settable answers.
#include "tests/platform/vcl/VclTestSupport.h"
#include "toolkit/editors/cxEdit.h"
#include "toolkit/editors/cxEditConsts.h"

#include <gtest/gtest.h>

using namespace cx;

class EditSettingsTest : public ::testing::Test, public VclFixture {
protected:
    void SetUp() override
    {
        cxEditConstsUnit::Initialize();
        cxEditUnit::Initialize();
    }
    void TearDown() override
    {
        cxEditUnit::Finalize();
        cxEditConstsUnit::Finalize();
        cxClearResourceStrings();
    }
};

class TcxTestEditProperties : public TcxCustomEditProperties {
    RTL_CLASS(TcxTestEditProperties, TcxCustomEditProperties)
    using TcxCustomEditProperties::TcxCustomEditProperties;
    bool CanValidate() const override { return true; }
};

class TestProvider : public TcxCustomEditDefaultValuesProvider {
    RTL_CLASS(TestProvider, TcxCustomEditDefaultValuesProvider)
    TestProvider() : TcxCustomEditDefaultValuesProvider(nullptr) {}
    TAlignment DefaultAlignment() override { return alignment; }
    bool DefaultCanModify() override { return canModify; }
    double DefaultMaxValue() override { return maxValue; }
    double DefaultMinValue() override { return minValue; }
    bool DefaultReadOnly() override { return readOnly; }
    bool IsDisplayFormatDefined(bool isCurrencyValueAccepted) override
    {
        return displayFormat && (isCurrencyValueAccepted || !currencyOnly);
    }

    TAlignment alignment = taRightJustify;
    bool canModify = true;
    double maxValue = 100;
    double minValue = -5;
    bool readOnly = false;
    bool displayFormat = false;
    bool currencyOnly = false;
};

// Counts the properties' change notices.
struct ChangeCounter {
    explicit ChangeCounter(TcxCustomEditProperties* p)
    {
        p->OnPropertiesChanged = [this](TObject*) { ++count; };
    }
    int count = 0;
};

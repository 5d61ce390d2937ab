#pragma once
// The editor control tests: a small editor kind whose display text is a string the tests can read
// and type into, its properties class, a repository item for it, and a fixture that starts the
// editor units and shows an active form.
#include "tests/platform/vcl/VclTestSupport.h"
#include "platform/rtl/Unicode.h"
#include "toolkit/core/cxLookAndFeelPainters.h"
#include "toolkit/core/cxLookAndFeels.h"
#include "toolkit/editors/cxEditConsts.h"
#include "toolkit/editors/cxEditControl.h"
#include "toolkit/editors/cxEditUtils.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace cx;

class TcxProbeEdit;

// Compares and validates edit values, resets on Escape; each answer switchable per object.
class TcxProbeEditProperties : public TcxCustomEditProperties {
    RTL_CLASS(TcxProbeEditProperties, TcxCustomEditProperties)
    using TcxCustomEditProperties::TcxCustomEditProperties;
    const TClassMeta* GetContainerClass() const override;
    bool CanValidate() const override { return true; }
    bool HasDisplayValue() const override { return true; }
    bool CanCompareEditValue() const override { return compare; }
    bool IsResetEditClass() const override { return true; }
    bool compare = true;
};

// The display text is a plain string; typed characters are appended to it, as a text editor's
// inner edit would, and reach the edit value on validation.
class TcxProbeEdit : public TcxCustomEdit {
    RTL_CLASS(TcxProbeEdit, TcxCustomEdit)
    TcxProbeEdit(TComponent* owner, bool isInplace = false,
                 TcxEditDataBindingClass binding = TcxEditDataBindingClass::Of<TcxEditDataBinding>())
        : TcxCustomEdit(owner, isInplace, [binding] {
              TcxEditClasses c;
              c.Properties = TcxCustomEditPropertiesClass::Of<TcxProbeEditProperties>();
              c.DataBinding = binding;
              return c;
          }())
    {
    }
    TcxProbeEditProperties* ProbeProperties() const { return static_cast<TcxProbeEditProperties*>(Properties()); }

    Variant GetDisplayValue() override { return Variant(text); }
    void SynchronizeDisplayValue() override { text = EditValue().IsNull() ? std::string() : VarToStr(EditValue()); }
    void SetInternalDisplayValue(const Variant& value) override { text = VarToStr(value); }
    void InternalSetDisplayValue(const Variant& value) override { InternalSetEditValue(value, false); }
    bool CanKeyPressModifyEdit(char16_t key) override { return key >= 32; }
    void DoEditKeyPress(char16_t& key) override
    {
        if (!ValidateKeyPress(key) || key < 32)
            return;
        text += Utf16ToUtf8(std::u16string(1, key));
        key = 0;
        ChangeHandler(this);
    }
    void SelectAll() override { ++selectAlls; }
    void DoButtonDown(int index) override { log.push_back("down" + std::to_string(index)); }
    void DoButtonUp(int index) override { log.push_back("up" + std::to_string(index)); }
    void DoButtonClick(int index) override
    {
        log.push_back("click" + std::to_string(index));
        TcxCustomEdit::DoButtonClick(index);
    }
    // Types on the editor as its user would (what a kind does for its inner edit's change).
    void TypeText(const std::string& s)
    {
        for (char16_t ch : Utf8ToUtf16(s)) {
            char16_t k = ch;
            KeyPress(k);
        }
    }

    std::string text;
    int selectAlls = 0;
    std::vector<std::string> log;
};

inline const TClassMeta* TcxProbeEditProperties::GetContainerClass() const
{
    return TcxCustomEditClass::Of<TcxProbeEdit>().Meta();
}

// A second kind of the same editor class, for the in-place list's class lookups.
class TcxOtherProbeEditProperties : public TcxProbeEditProperties {
    RTL_CLASS(TcxOtherProbeEditProperties, TcxProbeEditProperties)
    using TcxProbeEditProperties::TcxProbeEditProperties;
};

class TcxProbeRepositoryItem : public TcxEditRepositoryItem {
    RTL_CLASS(TcxProbeRepositoryItem, TcxEditRepositoryItem)
    using TcxEditRepositoryItem::TcxEditRepositoryItem;
    TcxCustomEditPropertiesClass GetEditPropertiesClass() const override
    {
        return TcxCustomEditPropertiesClass::Of<TcxProbeEditProperties>();
    }
};

class EditControlTest : public ::testing::Test, public VclFixture {
protected:
    void SetUp() override
    {
        cxLookAndFeelPaintersUnit::Initialize();
        cxLookAndFeelsUnit::Initialize();
        cxEditConstsUnit::Initialize();
        cxEditUnit::Initialize();
        cxEditPaintUtilsUnit::Initialize();
        form = new TForm(nullptr);
        form->SetBounds(100, 100, 300, 250);
    }
    void TearDown() override
    {
        if (form)
            form->Free();
        cxEditPaintUtilsUnit::Finalize();
        cxEditUnit::Finalize();
        cxEditConstsUnit::Finalize();
        cxClearResourceStrings();
        cxLookAndFeelsUnit::Finalize();
        cxLookAndFeelPaintersUnit::Finalize();
    }
    // A stand-alone editor on the form, or an in-place one (hidden, as a host's list makes it).
    TcxProbeEdit* MakeEdit(bool isInplace = false, const TRect& bounds = {10, 10, 130, 31})
    {
        auto* e = new TcxProbeEdit(form, isInplace);
        if (isInplace)
            e->SetVisible(false);
        e->SetParent(form);
        e->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        return e;
    }
    // Shows and activates the form and focuses the control.
    bool ShowAndFocus(TWinControl* c)
    {
        if (!Activate(form))
            return false;
        c->SetFocus();
        return SpinUntil([c] { return c->Focused(); }, 500);
    }
    TForm* form = nullptr;
};

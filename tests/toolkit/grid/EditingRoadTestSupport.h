#pragma once
// A test control for the editing road: records are rows, items are cells of 60 x 20 pixels side
// by side; a cell editor that types characters into its value; and the fixture that shows the
// control on an active form.
#include "tests/toolkit/grid/InplaceTestSupport.h"

#include "platform/rtl/Unicode.h"

class TcxTestCellEditProperties;

// Typing appends the character to the value; the first change asks the host (OnEditing).
class TcxTestCellEdit : public TcxCustomEdit {
    RTL_CLASS(TcxTestCellEdit, TcxCustomEdit)
    TcxTestCellEdit(TComponent* owner, bool isInplace);
    Variant GetDisplayValue() override { return Variant(VarToStr(EditValue())); }
    bool CanKeyPressModifyEdit(char16_t key) override { return key >= 32 || key == 22; }
    void DoEditKeyPress(char16_t& key) override
    {
        if (key == 22) {   // Ctrl+V
            PasteFromClipboard();
            key = 0;
            return;
        }
        if (!ValidateKeyPress(key) || key < 32)
            return;
        SetInternalEditValue(Variant(VarToStr(EditValue()) + Utf16ToUtf8(std::u16string(1, key))));
        SetModifiedAfterEnter(true);
        SetModified(true);
        key = 0;
    }
    void PasteFromClipboard() override
    {
        char16_t ch = u'P';
        DoEditKeyPress(ch);
    }
};

class TcxTestCellEditProperties : public TcxCustomEditProperties {
    RTL_CLASS(TcxTestCellEditProperties, TcxCustomEditProperties)
    using TcxCustomEditProperties::TcxCustomEditProperties;
    const TClassMeta* GetContainerClass() const override { return TcxCustomEditClass::Of<TcxTestCellEdit>().Meta(); }
    bool CanValidate() const override { return true; }
    TcxEditSupportedOperations GetSupportedOperations() override
    {
        return TcxCustomEditProperties::GetSupportedOperations() + TcxEditSupportedOperations{esoIncSearch};
    }
};

inline TcxTestCellEdit::TcxTestCellEdit(TComponent* owner, bool isInplace)
    : TcxCustomEdit(owner, isInplace, [] {
          TcxEditClasses c;
          c.Properties = TcxCustomEditPropertiesClass::Of<TcxTestCellEditProperties>();
          return c;
      }())
{
}

class TcxTestCellRepositoryItem : public TcxEditRepositoryItem {
    RTL_CLASS(TcxTestCellRepositoryItem, TcxEditRepositoryItem)
    using TcxEditRepositoryItem::TcxEditRepositoryItem;
    TcxCustomEditPropertiesClass GetEditPropertiesClass() const override
    {
        return TcxCustomEditPropertiesClass::Of<TcxTestCellEditProperties>();
    }
};

class TcxTestRowViewInfo : public TcxCustomControlViewInfo {
    RTL_CLASS(TcxTestRowViewInfo, TcxCustomControlViewInfo)
    using TcxCustomControlViewInfo::TcxCustomControlViewInfo;
    static constexpr int CellWidth = 60, CellHeight = 20;
    int ScrollLeft = 0;

protected:
    void DoCalculate() override
    {
        TcxEditingControl* c = Control();
        const TRect client = c->GetClientRect();
        for (int r = 0; r < c->DataController()->GetRecordCount(); ++r)
            for (int i = 0; i < c->ItemCount(); ++i) {
                auto* cell = new TcxEditCellViewInfo(this, c->Items(i), r);
                cell->Bounds = TRect{i * CellWidth - ScrollLeft, r * CellHeight, (i + 1) * CellWidth - ScrollLeft,
                                     (r + 1) * CellHeight};
                cxRectIntersect(cell->VisibleBounds, cell->Bounds, client);
                cell->Visible = !cxRectIsEmpty(cell->VisibleBounds);
                AddCell(cell);
            }
    }
};

class TcxTestRowNavigator : public TcxCustomCellNavigator {
    RTL_CLASS(TcxTestRowNavigator, TcxCustomCellNavigator)
    using TcxCustomCellNavigator::TcxCustomCellNavigator;
    TcxEditingControl* C() const { return Controller()->EditingControl(); }
    void Init(int& row, int& cell, int& rowCount) override
    {
        row = Controller()->GetFocusedRecordIndex();
        TcxCustomInplaceEditContainer* f = Controller()->FocusedItem();
        cell = f ? f->DataItemIndex() : 0;
        rowCount = C()->DataController()->GetRecordCount();
    }
    int GetCount(int) override { return C()->ItemCount(); }
    TcxCustomInplaceEditContainer* GetCellContainer(int, int cell) override
    {
        return cell >= 0 && cell < C()->ItemCount() ? C()->Items(cell) : nullptr;
    }
    void CalcNextRow(bool forward, int& row, int&) override
    {
        const int next = row + (forward ? 1 : -1);
        if (next >= 0 && next < C()->DataController()->GetRecordCount())
            row = next;
    }
    void SetFocusCell(int row, int cell, TShiftState) override
    {
        Controller()->SetFocusedRecordItem(row, C()->Items(cell));
    }
};

class TcxTestRowController : public TcxCustomControlController {
    RTL_CLASS(TcxTestRowController, TcxCustomControlController)
    using TcxCustomControlController::TcxCustomControlController;
    TcxCustomCellNavigatorClass GetNavigatorClass() const override
    {
        return TcxCustomCellNavigatorClass::Of<TcxTestRowNavigator>();
    }
};

class TcxTestRowControl : public TcxTestEditingControl {
    RTL_CLASS(TcxTestRowControl, TcxTestEditingControl)
    using TcxTestEditingControl::TcxTestEditingControl;
    TcxCustomControlControllerClass GetControllerClass() const override
    {
        return TcxCustomControlControllerClass::Of<TcxTestRowController>();
    }
    TcxCustomControlViewInfoClass GetViewInfoClass() const override
    {
        return TcxCustomControlViewInfoClass::Of<TcxTestRowViewInfo>();
    }
    TcxTestItem* AddTextItem(TcxCustomEditProperties* shared = nullptr)
    {
        TcxTestItem* item = AddItem("String");
        if (shared)
            item->SetRepositoryItem(nullptr);
        item->SetPropertiesClassName("TcxTestCellEditProperties");
        return item;
    }
    TcxCustomEdit* Editor() { return EditingController()->InplaceEditor(); }
};

class EditingRoadTest : public InplaceTest {
protected:
    void SetUp() override
    {
        InplaceTest::SetUp();
        GetRegisteredEditProperties()->Register(
            TcxCustomEditPropertiesClass::Of<TcxTestCellEditProperties>().Meta(), "TestCell|A typing cell editor");
        TcxCustomEditClass::Of<TcxTestCellEdit>();
        control->Free();
        grid = new TcxTestRowControl(form);
        grid->SetParent(form);
        grid->SetBounds(0, 0, 200, 150);
        a = grid->AddTextItem();
        b = grid->AddTextItem();
        c = grid->AddTextItem();
        grid->DataController()->SetRecordCount(1);
        grid->DataController()->ChangeFocusedRecordIndex(0);
        Fixed().doubleClickTime = 500;
        form->Show();
        form->SetFocus();
        grid->SetFocus();
        SpinUntil([this] { return grid->Focused(); }, 500);
        grid->LayoutChanged();
    }
    void Key(TWinControl* target, std::uint16_t vk, TShiftState shift = {})
    {
        std::uint16_t k = vk;
        if (auto* edit = dynamic_cast<TcxCustomEdit*>(target))
            SendKeyDown(edit, k, shift);
        else
            SendKeyDown(target, k, shift);
    }
    TWinControl* Focus() { return Screen->ActiveControl(); }
    std::string Value(TcxTestItem* item, int record = 0) { return VarToStr(item->GetValue(record)); }
    TcxTestRowControl* grid = nullptr;
    TcxTestItem *a = nullptr, *b = nullptr, *c = nullptr;
};

#pragma once
// The most-recently-used editor: a combo box whose items are the values the user confirmed, the
// latest first, cut to a maximum length; a second (ellipsis) button tells the application.
#include "toolkit/editors/cxDropDownEdit.h"

namespace cx {

class TcxCustomMRUEditProperties;
using TcxMRUEditDeleteLookupItemEvent = Event<void(TcxCustomMRUEditProperties* properties, int itemIndex)>;

class TcxCustomMRUEditProperties : public TcxCustomComboBoxProperties {
    RTL_CLASS(TcxCustomMRUEditProperties, TcxCustomComboBoxProperties)
    explicit TcxCustomMRUEditProperties(TPersistent* owner);
    void Assign(TPersistent* source) override;
    void Changed() override;
    void Update(TcxCustomEditProperties* properties) override;
    const TClassMeta* GetContainerClass() const override;

    // 0 = unlimited; negative values are stored as 0.
    int MaxItemCount() const { return maxItemCount_; }
    void SetMaxItemCount(int value);
    bool ShowEllipsis() const { return showEllipsis_; }
    void SetShowEllipsis(bool value);
    // Moves a known text (any case) to the top or inserts a new one there; fires the new-text event.
    void AddItem(const std::string& text) { InternalAddItem(text, true); }
    virtual void DoOnNewLookupDisplayText(const std::string& text);
    virtual void InternalAddItem(const std::string& text, bool fireEvent);

    // The ellipsis button was clicked (the editor is the sender).
    TNotifyEvent OnButtonClick;
    TcxMRUEditDeleteLookupItemEvent OnDeleteLookupItem;

private:
    void CheckItemCount();
    int maxItemCount_ = 0;
    bool showEllipsis_ = true;
};

class TcxMRUEditProperties : public TcxCustomMRUEditProperties {
    RTL_CLASS(TcxMRUEditProperties, TcxCustomMRUEditProperties)
    using TcxCustomMRUEditProperties::TcxCustomMRUEditProperties;
};

class TcxCustomMRUEdit : public TcxCustomComboBox {
    RTL_CLASS(TcxCustomMRUEdit, TcxCustomComboBox)
    explicit TcxCustomMRUEdit(TComponent* owner, bool isInplace = false);
    TcxCustomMRUEditProperties* ActiveProperties() const
    {
        return static_cast<TcxCustomMRUEditProperties*>(TcxCustomComboBox::ActiveProperties());
    }
    TcxCustomMRUEditProperties* Properties() const
    {
        return static_cast<TcxCustomMRUEditProperties*>(TcxCustomComboBox::Properties());
    }
    // Adds through the active properties; the editor's own new-text notice fires once.
    void AddItem(const std::string& text);
    void HandleSelectItem(TObject* sender) override;
    void InternalValidateDisplayValue(const Variant& displayValue) override;

protected:
    TcxCustomMRUEdit(TComponent* owner, bool isInplace, const TcxEditClasses& classes);
    void DoButtonClick(int buttonVisibleIndex) override;
    void DoEditKeyDown(std::uint16_t& key, TShiftState shift) override;
};

class TcxMRUEdit : public TcxCustomMRUEdit {
    RTL_CLASS(TcxMRUEdit, TcxCustomMRUEdit)
    explicit TcxMRUEdit(TComponent* owner, bool isInplace = false);
    TcxMRUEditProperties* Properties() const
    {
        return static_cast<TcxMRUEditProperties*>(TcxCustomMRUEdit::Properties());
    }
};

namespace cxMRUEditUnit {
void Initialize();   // once: "MRUEdit|..." and the text editor's filter helper for it
void Finalize();
} // namespace cxMRUEditUnit

} // namespace cx

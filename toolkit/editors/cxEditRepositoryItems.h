#pragma once
// cxEditRepositoryItems: one repository item class per editor kind. An item holds the properties
// class its editor unit registered by name (GetRegisteredEditProperties); until that unit is
// present the item holds base properties.
#include "toolkit/editors/cxEdit.h"

namespace cx {

// The registered properties class of that name, or the base class while none is registered.
TcxCustomEditPropertiesClass GetRepositoryItemPropertiesClass(const std::string& propertiesClassName);

class TcxEditRepositoryTextItem : public TcxEditRepositoryItem {
    RTL_CLASS(TcxEditRepositoryTextItem, TcxEditRepositoryItem)
    explicit TcxEditRepositoryTextItem(TComponent* owner) : TcxEditRepositoryItem(owner) {}
    TcxCustomEditPropertiesClass GetEditPropertiesClass() const override
    {
        return GetRepositoryItemPropertiesClass("TcxTextEditProperties");
    }
};

class TcxEditRepositoryButtonItem : public TcxEditRepositoryItem {
    RTL_CLASS(TcxEditRepositoryButtonItem, TcxEditRepositoryItem)
    explicit TcxEditRepositoryButtonItem(TComponent* owner) : TcxEditRepositoryItem(owner) {}
    TcxCustomEditPropertiesClass GetEditPropertiesClass() const override
    {
        return GetRepositoryItemPropertiesClass("TcxButtonEditProperties");
    }
};

class TcxEditRepositoryImageItem : public TcxEditRepositoryItem {
    RTL_CLASS(TcxEditRepositoryImageItem, TcxEditRepositoryItem)
    explicit TcxEditRepositoryImageItem(TComponent* owner) : TcxEditRepositoryItem(owner) {}
    TcxCustomEditPropertiesClass GetEditPropertiesClass() const override
    {
        return GetRepositoryItemPropertiesClass("TcxImageProperties");
    }
};

class TcxEditRepositoryComboBoxItem : public TcxEditRepositoryItem {
    RTL_CLASS(TcxEditRepositoryComboBoxItem, TcxEditRepositoryItem)
    explicit TcxEditRepositoryComboBoxItem(TComponent* owner) : TcxEditRepositoryItem(owner) {}
    TcxCustomEditPropertiesClass GetEditPropertiesClass() const override
    {
        return GetRepositoryItemPropertiesClass("TcxComboBoxProperties");
    }
};

class TcxEditRepositoryMaskItem : public TcxEditRepositoryItem {
    RTL_CLASS(TcxEditRepositoryMaskItem, TcxEditRepositoryItem)
    explicit TcxEditRepositoryMaskItem(TComponent* owner) : TcxEditRepositoryItem(owner) {}
    TcxCustomEditPropertiesClass GetEditPropertiesClass() const override
    {
        return GetRepositoryItemPropertiesClass("TcxMaskEditProperties");
    }
};

class TcxEditRepositoryPopupItem : public TcxEditRepositoryItem {
    RTL_CLASS(TcxEditRepositoryPopupItem, TcxEditRepositoryItem)
    explicit TcxEditRepositoryPopupItem(TComponent* owner) : TcxEditRepositoryItem(owner) {}
    TcxCustomEditPropertiesClass GetEditPropertiesClass() const override
    {
        return GetRepositoryItemPropertiesClass("TcxPopupEditProperties");
    }
};

class TcxEditRepositoryCalcItem : public TcxEditRepositoryItem {
    RTL_CLASS(TcxEditRepositoryCalcItem, TcxEditRepositoryItem)
    explicit TcxEditRepositoryCalcItem(TComponent* owner) : TcxEditRepositoryItem(owner) {}
    TcxCustomEditPropertiesClass GetEditPropertiesClass() const override
    {
        return GetRepositoryItemPropertiesClass("TcxCalcEditProperties");
    }
};

class TcxEditRepositoryDateItem : public TcxEditRepositoryItem {
    RTL_CLASS(TcxEditRepositoryDateItem, TcxEditRepositoryItem)
    explicit TcxEditRepositoryDateItem(TComponent* owner) : TcxEditRepositoryItem(owner) {}
    TcxCustomEditPropertiesClass GetEditPropertiesClass() const override
    {
        return GetRepositoryItemPropertiesClass("TcxDateEditProperties");
    }
};

class TcxEditRepositoryCurrencyItem : public TcxEditRepositoryItem {
    RTL_CLASS(TcxEditRepositoryCurrencyItem, TcxEditRepositoryItem)
    explicit TcxEditRepositoryCurrencyItem(TComponent* owner) : TcxEditRepositoryItem(owner) {}
    TcxCustomEditPropertiesClass GetEditPropertiesClass() const override
    {
        return GetRepositoryItemPropertiesClass("TcxCurrencyEditProperties");
    }
};

class TcxEditRepositorySpinItem : public TcxEditRepositoryItem {
    RTL_CLASS(TcxEditRepositorySpinItem, TcxEditRepositoryItem)
    explicit TcxEditRepositorySpinItem(TComponent* owner) : TcxEditRepositoryItem(owner) {}
    TcxCustomEditPropertiesClass GetEditPropertiesClass() const override
    {
        return GetRepositoryItemPropertiesClass("TcxSpinEditProperties");
    }
};

class TcxEditRepositoryMemoItem : public TcxEditRepositoryItem {
    RTL_CLASS(TcxEditRepositoryMemoItem, TcxEditRepositoryItem)
    explicit TcxEditRepositoryMemoItem(TComponent* owner) : TcxEditRepositoryItem(owner) {}
    TcxCustomEditPropertiesClass GetEditPropertiesClass() const override
    {
        return GetRepositoryItemPropertiesClass("TcxMemoProperties");
    }
};

class TcxEditRepositoryImageComboBoxItem : public TcxEditRepositoryItem {
    RTL_CLASS(TcxEditRepositoryImageComboBoxItem, TcxEditRepositoryItem)
    explicit TcxEditRepositoryImageComboBoxItem(TComponent* owner) : TcxEditRepositoryItem(owner) {}
    TcxCustomEditPropertiesClass GetEditPropertiesClass() const override
    {
        return GetRepositoryItemPropertiesClass("TcxImageComboBoxProperties");
    }
};

class TcxEditRepositoryBlobItem : public TcxEditRepositoryItem {
    RTL_CLASS(TcxEditRepositoryBlobItem, TcxEditRepositoryItem)
    explicit TcxEditRepositoryBlobItem(TComponent* owner) : TcxEditRepositoryItem(owner) {}
    TcxCustomEditPropertiesClass GetEditPropertiesClass() const override
    {
        return GetRepositoryItemPropertiesClass("TcxBlobEditProperties");
    }
};

class TcxEditRepositoryCheckBoxItem : public TcxEditRepositoryItem {
    RTL_CLASS(TcxEditRepositoryCheckBoxItem, TcxEditRepositoryItem)
    explicit TcxEditRepositoryCheckBoxItem(TComponent* owner) : TcxEditRepositoryItem(owner) {}
    TcxCustomEditPropertiesClass GetEditPropertiesClass() const override
    {
        return GetRepositoryItemPropertiesClass("TcxCheckBoxProperties");
    }
};

class TcxEditRepositoryTimeItem : public TcxEditRepositoryItem {
    RTL_CLASS(TcxEditRepositoryTimeItem, TcxEditRepositoryItem)
    explicit TcxEditRepositoryTimeItem(TComponent* owner) : TcxEditRepositoryItem(owner) {}
    TcxCustomEditPropertiesClass GetEditPropertiesClass() const override
    {
        return GetRepositoryItemPropertiesClass("TcxTimeEditProperties");
    }
};

class TcxEditRepositoryMRUItem : public TcxEditRepositoryItem {
    RTL_CLASS(TcxEditRepositoryMRUItem, TcxEditRepositoryItem)
    explicit TcxEditRepositoryMRUItem(TComponent* owner) : TcxEditRepositoryItem(owner) {}
    TcxCustomEditPropertiesClass GetEditPropertiesClass() const override
    {
        return GetRepositoryItemPropertiesClass("TcxMRUEditProperties");
    }
};

class TcxEditRepositoryHyperLinkItem : public TcxEditRepositoryItem {
    RTL_CLASS(TcxEditRepositoryHyperLinkItem, TcxEditRepositoryItem)
    explicit TcxEditRepositoryHyperLinkItem(TComponent* owner) : TcxEditRepositoryItem(owner) {}
    TcxCustomEditPropertiesClass GetEditPropertiesClass() const override
    {
        return GetRepositoryItemPropertiesClass("TcxHyperLinkEditProperties");
    }
};

class TcxEditRepositoryRadioGroupItem : public TcxEditRepositoryItem {
    RTL_CLASS(TcxEditRepositoryRadioGroupItem, TcxEditRepositoryItem)
    explicit TcxEditRepositoryRadioGroupItem(TComponent* owner) : TcxEditRepositoryItem(owner) {}
    TcxCustomEditPropertiesClass GetEditPropertiesClass() const override
    {
        return GetRepositoryItemPropertiesClass("TcxRadioGroupProperties");
    }
};

// The item classes: the base and the 18 kinds.
std::vector<TcxEditRepositoryItemClass> cxEditRepositoryItemClasses();

namespace cxEditRepositoryItemsUnit {
void Initialize();   // once: the item classes become known to the streaming system by name
void Finalize();
} // namespace cxEditRepositoryItemsUnit

} // namespace cx

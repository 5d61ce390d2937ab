#pragma once
// cxDataUtils: helpers that the data layer and the editors share: the currency display format of
// the locale, date parts, the first day of the week, a whole-or-prefix text test, the base of an
// editor's link to its data.
#include <cstdint>
#include <string>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Event.h"
#include "platform/rtl/Variant.h"
#include "toolkit/core/cxClasses.h"
#include "toolkit/core/cxDateUtils.h"   // TcxCollection, whose Assign keeps the existing items
#include "toolkit/core/dxCore.h"

namespace cx {

enum TcxDataEditValueSource { evsValue, evsText, evsKey };

// The numeric display format of currency values under the locale's currency settings.
std::string DefaultCurrencyDisplayFormat();
// DateOf, TimeOf, GetStartOfWeek and SetStartOfWeek are the foundation's (cxDateUtils).
TDateTime GetStartDateOfWeek(TDateTime date);
// Whole (or, when partial, prefix) comparison without regard to case.
bool DataCompareText(const std::string& s1, const std::string& s2, bool partial);

using TcxDataBindingNotifyEvent = Event<void()>;

class TcxCustomDataBinding : public TPersistent {
    RTL_CLASS(TcxCustomDataBinding, TPersistent)
    TcxCustomDataBinding(TComponent* owner, TComponent* dataComponent);

    virtual void DataChange() { CallEvent(OnDataChange); }
    virtual void DataSetChange() { CallEvent(OnDataSetChange); }
    virtual bool GetModified() { return false; }
    virtual bool GetReadOnly() { return readOnly_; }
    virtual void SetReadOnly(bool value);
    virtual void UpdateData() { CallEvent(OnUpdateData); }
    virtual void VisualControlChanged() {}
    virtual bool CanModify() { return !GetReadOnly(); }
    virtual bool ExecuteAction(TObject* action) { return false; }
    virtual Variant GetStoredValue(TcxDataEditValueSource source, bool focused) { return Null; }
    virtual bool IsControlReadOnly() { return GetReadOnly(); }
    virtual bool IsDataSourceLive() { return true; }
    virtual bool IsDataStorage() { return false; }
    virtual void Reset() {}
    virtual bool SetEditMode() { return CanModify(); }
    virtual void SetStoredValue(TcxDataEditValueSource source, const Variant& value) {}
    virtual bool UpdateAction(TObject* action) { return false; }
    virtual void UpdateDataSource() {}

    TPersistent* GetOwner() override { return owner_; }
    TComponent* DataComponent() const { return dataComponent_; }
    TComponent* VisualControl() const { return visualControl_; }
    void SetVisualControl(TComponent* value);

    TcxDataBindingNotifyEvent OnDataChange;
    TcxDataBindingNotifyEvent OnDataSetChange;
    TcxDataBindingNotifyEvent OnUpdateData;

private:
    TComponent* dataComponent_;
    TComponent* owner_;
    bool readOnly_ = false;
    TComponent* visualControl_ = nullptr;
};


} // namespace cx

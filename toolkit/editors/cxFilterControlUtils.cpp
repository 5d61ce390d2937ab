#include "toolkit/editors/cxFilterControlUtils.h"

#include <new>

#include "toolkit/editors/cxEdit.h"

#include "platform/rtl/Unicode.h"
#include "platform/vcl/Forms.h"
#include "toolkit/data/cxFilterConsts.h"

namespace cx {

// The id is the builder's string-table slot; the builder's dialog unit registers it by name.
const TResStringRec cxSFilterDialogInvalidValue = {65100, "Invalid value"};

namespace {
struct OperatorEntry {
    const TResStringRec* text;
    TcxFilterOperatorKind kind;
};

// Index = TcxFilterControlOperator.
const OperatorEntry operatorTable[] = {
    {nullptr, foEqual},
    {&cxSFilterOperatorEqual, foEqual},
    {&cxSFilterOperatorNotEqual, foNotEqual},
    {&cxSFilterOperatorLess, foLess},
    {&cxSFilterOperatorLessEqual, foLessEqual},
    {&cxSFilterOperatorGreater, foGreater},
    {&cxSFilterOperatorGreaterEqual, foGreaterEqual},
    {&cxSFilterOperatorLike, foLike},
    {&cxSFilterOperatorNotLike, foNotLike},
    {&cxSFilterOperatorIsNull, foEqual},
    {&cxSFilterOperatorIsNotNull, foNotEqual},
    {&cxSFilterOperatorBetween, foBetween},
    {&cxSFilterOperatorNotBetween, foNotBetween},
    {&cxSFilterOperatorInList, foInList},
    {&cxSFilterOperatorNotInList, foNotInList},
    {&cxSFilterOperatorYesterday, foYesterday},
    {&cxSFilterOperatorToday, foToday},
    {&cxSFilterOperatorTomorrow, foTomorrow},
    {&cxSFilterOperatorLast7Days, foLast7Days},
    {&cxSFilterOperatorLastWeek, foLastWeek},
    {&cxSFilterOperatorLast14Days, foLast14Days},
    {&cxSFilterOperatorLastTwoWeeks, foLastTwoWeeks},
    {&cxSFilterOperatorLast30Days, foLast30Days},
    {&cxSFilterOperatorLastMonth, foLastMonth},
    {&cxSFilterOperatorLastYear, foLastYear},
    {&cxSFilterOperatorPast, foInPast},
    {&cxSFilterOperatorThisWeek, foThisWeek},
    {&cxSFilterOperatorThisMonth, foThisMonth},
    {&cxSFilterOperatorThisYear, foThisYear},
    {&cxSFilterOperatorNext7Days, foNext7Days},
    {&cxSFilterOperatorNextWeek, foNextWeek},
    {&cxSFilterOperatorNext14Days, foNext14Days},
    {&cxSFilterOperatorNextTwoWeeks, foNextTwoWeeks},
    {&cxSFilterOperatorNext30Days, foNext30Days},
    {&cxSFilterOperatorNextMonth, foNextMonth},
    {&cxSFilterOperatorNextYear, foNextYear},
    {&cxSFilterOperatorFuture, foInFuture},
};
static_assert(std::size(operatorTable) == fcoInFuture + 1);

TcxFilterEditsController* filterEditsController = nullptr;

TcxFilterControlOperators OperatorRange(TcxFilterControlOperator from, TcxFilterControlOperator to)
{
    TcxFilterControlOperators result;
    for (int op = from; op <= to; ++op)
        result.Include(TcxFilterControlOperator(op));
    return result;
}
} // namespace

TcxFilterOperatorKind GetFilterOperatorKind(TcxFilterControlOperator op) { return operatorTable[op].kind; }

TcxFilterControlOperator GetFilterControlOperator(TcxFilterOperatorKind kind, bool valueIsNull)
{
    TcxFilterControlOperator result = kind <= foNotLike ? TcxFilterControlOperator(fcoEqual + (kind - foEqual))
                                                         : TcxFilterControlOperator(fcoBetween + (kind - foBetween));
    if (valueIsNull) {
        if (result == fcoEqual)
            result = fcoBlanks;
        else if (result == fcoNotEqual)
            result = fcoNonBlanks;
    }
    return result;
}

std::string GetFilterControlOperatorText(TcxFilterControlOperator op)
{
    return operatorTable[op].text ? cxGetResourceString(operatorTable[op].text) : std::string();
}

void FilterControlError(const std::string& message) { throw EcxFilterControlError(message); }

TcxFilterControlOperators GetNumericFilterOperators(bool extendedSet)
{
    TcxFilterControlOperators result{fcoEqual,   fcoNotEqual,     fcoLess,   fcoLessEqual,
                                     fcoGreater, fcoGreaterEqual, fcoBlanks, fcoNonBlanks};
    if (extendedSet)
        result = result + TcxFilterControlOperators{fcoBetween, fcoNotBetween, fcoInList, fcoNotInList};
    return result;
}

TcxFilterControlOperators GetListFilterOperators(bool withLists)
{
    TcxFilterControlOperators result{fcoEqual, fcoNotEqual, fcoBlanks, fcoNonBlanks};
    if (withLists)
        result = result + TcxFilterControlOperators{fcoInList, fcoNotInList};
    return result;
}

// ---- the helper base ----------------------------------------------------------------------------

void TcxCustomFilterEditHelper::ClearPropertiesEvents(TcxCustomEditProperties* properties) const
{
    if (!properties)
        return;
    properties->OnButtonClick = nullptr;
    properties->OnChange = nullptr;
    properties->OnEditValueChanged = nullptr;
    properties->OnValidate = nullptr;
}

void TcxCustomFilterEditHelper::InitializeEdit(TcxCustomEdit* edit, TcxCustomEditProperties* editProperties) const
{
    InitializeProperties(edit->ActiveProperties(), editProperties, EditPropertiesHasButtons());
}

void TcxCustomFilterEditHelper::GetFilterValue(TcxCustomEdit* edit, TcxCustomEditProperties* editProperties,
                                               Variant& value, std::string& displayText) const
{
    value = edit->EditValue();
    displayText = Utf16ToUtf8(editProperties->GetDisplayText(value, false, true));
}

TcxFilterControlOperators TcxCustomFilterEditHelper::GetSupportedFilterOperators(TcxCustomEditProperties*,
                                                                                 TcxValueTypeClass valueTypeClass,
                                                                                 bool extendedSet) const
{
    TcxFilterControlOperators result = OperatorRange(fcoEqual, extendedSet ? fcoNotInList : fcoNonBlanks);
    if (!valueTypeClass || !valueTypeClass->IsString()) {
        result.Exclude(fcoLike);
        result.Exclude(fcoNotLike);
    }
    return result;
}

void TcxCustomFilterEditHelper::InitializeProperties(TcxCustomEditProperties* properties,
                                                     TcxCustomEditProperties* editProperties, bool hasButtons) const
{
    properties->Assign(editProperties);
    properties->Alignment()->SetHorz(taLeftJustify);
    properties->Alignment()->SetVert(taTopJustify);
    properties->SetBeepOnError(false);
    if (!hasButtons)
        properties->Buttons()->Clear();
    properties->SetReadOnly(false);
    properties->SetValidateOnEnter(true);
    if (!IsIDefaultValuesProviderNeeded(editProperties))
        properties->SetIDefaultValuesProvider(nullptr);
    ClearPropertiesEvents(properties);
}

bool TcxCustomFilterEditHelper::IsValueValid(TcxValueTypeClass valueTypeClass, Variant& value) const
{
    return valueTypeClass->IsValueValid(value);
}

TcxCustomEdit* TcxCustomFilterEditHelper::GetFilterEdit(TcxCustomEditProperties* editProperties,
                                                        TcxInplaceEditList* editList) const
{
    TcxCustomEdit* edit = nullptr;
    if (!editList) {
        TcxCustomEditClass editClass = GetFilterEditClass();
        if (!editClass)
            return nullptr;
        edit = editClass.Create(nullptr, false);
    } else {
        TcxCustomEditPropertiesClass propertiesClass = GetFilterEditPropertiesClass();
        if (!propertiesClass)
            return nullptr;
        edit = editList->GetEdit(propertiesClass);
    }
    InitializeEdit(edit, editProperties);
    return edit;
}

// ---- the registry -------------------------------------------------------------------------------

const TClassMeta* TcxFilterEditsController::GetItemClass(const TClassMeta* propertiesClass)
{
    return propertiesClass ? propertiesClass->ClassParent() : nullptr;
}

void TcxFilterEditsController::Register(const TClassMeta* propertiesClass, TcxCustomFilterEditHelperClass helper)
{
    if (!GetItemClass(propertiesClass) || !helper)
        return;
    helpers_[&helper->ClassType()] = helper;
    TcxRegisteredClassList::Register(GetItemClass(propertiesClass), &helper->ClassType());
}

void TcxFilterEditsController::Unregister(const TClassMeta* propertiesClass, TcxCustomFilterEditHelperClass helper)
{
    if (!GetItemClass(propertiesClass) || !helper)
        return;
    TcxRegisteredClassList::Unregister(GetItemClass(propertiesClass), &helper->ClassType());
    if (Count() == 0 && this == filterEditsController) {
        filterEditsController = nullptr;
        Free();
    }
}

TcxCustomFilterEditHelperClass TcxFilterEditsController::FindHelper(const TClassMeta* propertiesClass) const
{
    const TClassMeta* itemClass = GetItemClass(propertiesClass);
    if (!itemClass)
        return nullptr;
    const TClassMeta* helperClass = FindClass(itemClass);
    auto it = helpers_.find(helperClass);
    return it == helpers_.end() ? nullptr : it->second;
}

TcxFilterEditsController* FilterEditsController()
{
    if (!filterEditsController)
        filterEditsController = new TcxFilterEditsController;
    return filterEditsController;
}

void RegisterEditKind(TcxCustomEditPropertiesClass properties, const std::string& description,
                      TcxCustomFilterEditHelperClass helper)
{
    // The class reference carries the factory: a kind found again by its name must be creatable.
    GetRegisteredEditProperties()->Register(properties.Meta(), description);
    FilterEditsController()->Register(properties.Meta(), helper);
}

void UnregisterEditKind(const TClassMeta* properties, TcxCustomFilterEditHelperClass helper)
{
    FilterEditsController()->Unregister(properties, helper);
    GetRegisteredEditProperties()->Unregister(properties);
}

// ---- value check and dialogs --------------------------------------------------------------------

void FilterControlValidateValue(TcxCustomEdit*, Variant& value, TcxFilterControlOperator op,
                                TcxValueTypeClass valueTypeClass, TcxCustomFilterEditHelperClass helper)
{
    if (!valueTypeClass)
        return;
    if (VarIsStr(value) && value.ToString().empty() && !valueTypeClass->IsString())
        value = Null;
    if (value.IsNull() || op == fcoLike || op == fcoNotLike)
        return;
    // Whatever the check fails with is the user's invalid value, not an error of its own; only
    // running out of memory goes on.
    bool valid = false;
    try {
        valid = (helper ? helper : TcxCustomFilterEditHelper::Class())->IsValueValid(valueTypeClass, value);
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
        valid = false;
    }
    if (!valid)
        FilterControlError(cxGetResourceString(&cxSFilterDialogInvalidValue));
}

void CorrectDlgParams(TCreateParams& params)
{
    TCustomForm* active = Screen->ActiveForm();
    if (!active)
        return;
    for (int i = 0; i < Screen->FormCount(); ++i)
        if (Screen->Forms(i) != active && Screen->Forms(i)->FormStyle == fsStayOnTop)
            return;
    params.WndParent = active->Handle();
}

} // namespace cx

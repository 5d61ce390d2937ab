#pragma once
// cxFilterControlUtils: what the filter builder shares with the editor kinds: its operator list
// and texts, the filter helpers (one per editor kind, used only through their class reference)
// and their registry by properties class, the value check and the builder's error.
#include "toolkit/data/cxDataStorage.h"
#include "toolkit/data/cxFilter.h"
#include "toolkit/editors/cxEditControl.h"

#include <map>

namespace cx {

enum TcxFilterControlOperator {
    fcoNone, fcoEqual, fcoNotEqual, fcoLess, fcoLessEqual, fcoGreater, fcoGreaterEqual, fcoLike, fcoNotLike,
    fcoBlanks, fcoNonBlanks, fcoBetween, fcoNotBetween, fcoInList, fcoNotInList, fcoYesterday, fcoToday,
    fcoTomorrow, fcoLast7Days, fcoLastWeek, fcoLast14Days, fcoLastTwoWeeks, fcoLast30Days, fcoLastMonth,
    fcoLastYear, fcoInPast, fcoThisWeek, fcoThisMonth, fcoThisYear, fcoNext7Days, fcoNextWeek, fcoNext14Days,
    fcoNextTwoWeeks, fcoNext30Days, fcoNextMonth, fcoNextYear, fcoInFuture
};
using TcxFilterControlOperators = Set<TcxFilterControlOperator>;

RTL_EXCEPTION(EcxFilterControlError, EdxException);

TcxFilterOperatorKind GetFilterOperatorKind(TcxFilterControlOperator op);
TcxFilterControlOperator GetFilterControlOperator(TcxFilterOperatorKind kind, bool valueIsNull);
// Read from the resource strings at each call, so a translation applies; empty for fcoNone.
std::string GetFilterControlOperatorText(TcxFilterControlOperator op);
[[noreturn]] void FilterControlError(const std::string& message);

// The operators of the numeric editor kinds: equality, the comparisons and blanks; the extended
// set adds the ranges and the lists.
TcxFilterControlOperators GetNumericFilterOperators(bool extendedSet);
// The operators of the kinds whose value is picked from a fixed list: equality and blanks, and
// the lists when asked for.
TcxFilterControlOperators GetListFilterOperators(bool withLists);

class TcxCustomFilterEditHelper;
// A helper is used through its class: the pointer to the class's one immutable instance.
using TcxCustomFilterEditHelperClass = const TcxCustomFilterEditHelper*;

// The base of the editor kinds' filter helpers. No state; every operation is class-level.
class TcxCustomFilterEditHelper : public TObject {
    RTL_CLASS(TcxCustomFilterEditHelper, TObject)
    template <class T>
    static TcxCustomFilterEditHelperClass Of()
    {
        static const T instance;
        return &instance;
    }
    static TcxCustomFilterEditHelperClass Class() { return Of<TcxCustomFilterEditHelper>(); }

    virtual void ClearPropertiesEvents(TcxCustomEditProperties* properties) const;
    virtual void InitializeEdit(TcxCustomEdit* edit, TcxCustomEditProperties* editProperties) const;
    virtual bool IsIDefaultValuesProviderNeeded(TcxCustomEditProperties* editProperties) const { return true; }
    virtual bool EditPropertiesHasButtons() const { return false; }
    virtual TcxCustomEditClass GetFilterEditClass() const { return {}; }
    // The properties class the filter editor class edits with (the editor class's own
    // GetPropertiesClass, which a class reference cannot ask without an instance).
    virtual TcxCustomEditPropertiesClass GetFilterEditPropertiesClass() const { return {}; }
    virtual void GetFilterValue(TcxCustomEdit* edit, TcxCustomEditProperties* editProperties, Variant& value,
                                std::string& displayText) const;
    virtual TcxFilterControlOperators GetSupportedFilterOperators(TcxCustomEditProperties* properties,
                                                                  TcxValueTypeClass valueTypeClass,
                                                                  bool extendedSet = false) const;
    virtual void InitializeProperties(TcxCustomEditProperties* properties, TcxCustomEditProperties* editProperties,
                                      bool hasButtons) const;
    virtual bool IsValueValid(TcxValueTypeClass valueTypeClass, Variant& value) const;
    virtual void SetFilterValue(TcxCustomEdit* edit, TcxCustomEditProperties* editProperties,
                                const Variant& value) const {}
    virtual bool UseDisplayValue() const { return false; }
    // A free-standing editor (no list) or the list's editor for the filter editor's properties
    // class, set up for the host's properties; null when the helper names no editor class.
    TcxCustomEdit* GetFilterEdit(TcxCustomEditProperties* editProperties, TcxInplaceEditList* editList = nullptr) const;
};

// Pairs editor properties classes with their filter helpers. Pairs are kept under the parent of
// the published properties class, so a lookup with the published class or any descendant finds
// the nearest registered ancestor's helper.
class TcxFilterEditsController : public TcxRegisteredClassList {
    RTL_CLASS(TcxFilterEditsController, TcxRegisteredClassList)
    void Register(const TClassMeta* propertiesClass, TcxCustomFilterEditHelperClass helper);
    void Unregister(const TClassMeta* propertiesClass, TcxCustomFilterEditHelperClass helper);
    // Null for a class without a registered ancestor.
    TcxCustomFilterEditHelperClass FindHelper(const TClassMeta* propertiesClass) const;

private:
    using TcxRegisteredClassList::Register;
    using TcxRegisteredClassList::Unregister;
    static const TClassMeta* GetItemClass(const TClassMeta* propertiesClass);
    std::map<const TClassMeta*, TcxCustomFilterEditHelperClass> helpers_;
};

// The registry, made on first call; it frees itself when its last pair is unregistered.
TcxFilterEditsController* FilterEditsController();

// An editor kind's start-up and shut-down: its properties class in the editor registry under its
// description, and its filter helper here.
void RegisterEditKind(TcxCustomEditPropertiesClass properties, const std::string& description,
                      TcxCustomFilterEditHelperClass helper);
void UnregisterEditKind(const TClassMeta* properties, TcxCustomFilterEditHelperClass helper);

// A unit step that does nothing: the default of TcxEditKindUnit's hooks.
struct TcxNoUnitStep {
    void operator()() const {}
};

// The start-up and shut-down of an editor kind's unit, counted so that a unit may start the units
// it builds on and every Initialize is matched by one Finalize. The first Initialize runs
// `before`, registers the kind (RegisterEditKind, and each editor class's factory, so that a host
// can create the editor by its class) and runs `after`; the last Finalize unregisters the kind and
// then runs its `after` (a unit's own clean-up, the units it started).
template <class Properties, class Helper, class... Edits>
class TcxEditKindUnit {
public:
    template <class Before = TcxNoUnitStep, class After = TcxNoUnitStep>
    void Initialize(const TResStringRec* description, Before before = {}, After after = {})
    {
        Start([description] { return cxGetResourceString(description); }, before, after);
    }
    template <class Before = TcxNoUnitStep, class After = TcxNoUnitStep>
    void Initialize(const char* description, Before before = {}, After after = {})
    {
        Start([description] { return std::string(description); }, before, after);
    }
    template <class After = TcxNoUnitStep>
    void Finalize(After after = {})
    {
        if (counter_ == 0 || --counter_ > 0)
            return;
        UnregisterEditKind(&Properties::StaticClass(), TcxCustomFilterEditHelper::Of<Helper>());
        after();
    }

private:
    template <class Description, class Before, class After>
    void Start(Description description, Before& before, After& after)
    {
        if (counter_++ > 0)
            return;
        before();
        RegisterEditKind(TcxCustomEditPropertiesClass::Of<Properties>(), description(),
                         TcxCustomFilterEditHelper::Of<Helper>());
        (TcxCustomEditClass::Of<Edits>(), ...);
        after();
    }
    int counter_ = 0;
};

// Checks a value a builder's value editor gives back: an empty text for a non-text type becomes
// Null; a value that is not Null (and not a like pattern) must pass the helper's IsValueValid,
// else EcxFilterControlError "Invalid value" is raised (also when the check itself raises).
void FilterControlValidateValue(TcxCustomEdit* edit, Variant& value, TcxFilterControlOperator op,
                                TcxValueTypeClass valueTypeClass, TcxCustomFilterEditHelperClass helper);
// Parents a dialog of the builder to the active form unless some form stays on top.
void CorrectDlgParams(TCreateParams& params);

// The builder's dialog texts that the value check needs ("Invalid value").
extern const TResStringRec cxSFilterDialogInvalidValue;

} // namespace cx

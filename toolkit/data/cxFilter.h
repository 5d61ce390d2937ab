#pragma once
// cxFilter: filter criteria as a tree of AND/OR lists (each may be negated) with leaf conditions
// that compare one field with a value by an operator; evaluation over records, the filter text
// and caption, the criteria stream (versions 1 to 3) and the value list of a filter drop-down.
#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Event.h"
#include "platform/rtl/Set.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Variant.h"
#include "toolkit/data/cxFilterConsts.h"
#include "toolkit/data/cxLike.h"
#include "toolkit/data/cxVariants.h"

namespace cx {

enum TcxFilterOperatorKind {
    foEqual, foNotEqual, foLess, foLessEqual, foGreater, foGreaterEqual, foLike, foNotLike, foBetween,
    foNotBetween, foInList, foNotInList, foYesterday, foToday, foTomorrow, foLast7Days, foLastWeek,
    foLast14Days, foLastTwoWeeks, foLast30Days, foLastMonth, foLastYear, foInPast, foThisWeek,
    foThisMonth, foThisYear, foNext7Days, foNextWeek, foNext14Days, foNextTwoWeeks, foNext30Days,
    foNextMonth, foNextYear, foInFuture
};
using TcxFilterOperatorKinds = Set<TcxFilterOperatorKind>;

enum TcxFilterBoolOperatorKind { fboAnd, fboOr, fboNotAnd, fboNotOr };
enum TcxFilterCriteriaOption { fcoCaseInsensitive, fcoShowOperatorDescription, fcoSoftNull, fcoSoftCompare, fcoIgnoreNull };
using TcxFilterCriteriaOptions = Set<TcxFilterCriteriaOption>;

// Whether today belongs to the last-N-days and next-N-days ranges.
extern bool cxFilterIncludeTodayInLastNextDaysList;
// The stream version of the data controller's and the filter builder's criteria.
inline constexpr Byte cxDataFilterVersion = 3;

class TcxFilterCriteria;
class TcxFilterCriteriaItem;
class TcxFilterCriteriaItemList;

// --- operators -------------------------------------------------------------------------------------
class TcxFilterOperator : public TObject {
    RTL_CLASS(TcxFilterOperator, TObject)
    explicit TcxFilterOperator(TcxFilterCriteriaItem* criteriaItem) : criteriaItem_(criteriaItem) {}

    virtual std::string GetExpressionFilterText(const Variant& value) { return GetExpressionValue(value); }
    virtual std::string GetExpressionValue(const Variant& value);
    virtual void PrepareDisplayValue(std::string& displayValue) {}
    virtual void Prepare() {}
    virtual bool PrepareExpressionValue(const Variant& value, std::string& text) { return false; }
    virtual bool CompareValues(const Variant& dataValue, const Variant& criteriaValue);
    virtual std::string DisplayText() { return FilterText(); }
    virtual std::string FilterText();
    virtual bool IsDescription() { return false; }
    virtual bool IsExpression() { return false; }
    virtual bool IsNullOperator() { return false; }

    TcxFilterCriteriaItem* CriteriaItem() const { return criteriaItem_; }
    TcxFilterCriteria* Criteria() const;

protected:
    std::string FieldName() const;

private:
    TcxFilterCriteriaItem* criteriaItem_;
};
using TcxFilterOperatorClass = TClassRef<TcxFilterOperator, TcxFilterCriteriaItem*>;

#define CX_FILTER_OPERATOR(Name, Parent)                                                          \
    class Name : public Parent {                                                                  \
        RTL_CLASS(Name, Parent)                                                                   \
        using Parent::Parent;

class TcxFilterEqualOperator : public TcxFilterOperator {
    RTL_CLASS(TcxFilterEqualOperator, TcxFilterOperator)
    using TcxFilterOperator::TcxFilterOperator;
    bool CompareValues(const Variant& d, const Variant& c) override { return VarCompare(d, c) == 0; }
    std::string DisplayText() override { return cxSFilterString(&cxSFilterOperatorEqual); }
    std::string FilterText() override { return "="; }
    bool IsExpression() override;
    std::string GetExpressionFilterText(const Variant& value) override;
};
CX_FILTER_OPERATOR(TcxFilterNotEqualOperator, TcxFilterEqualOperator)
    bool CompareValues(const Variant& d, const Variant& c) override { return !TcxFilterEqualOperator::CompareValues(d, c); }
    std::string DisplayText() override { return cxSFilterString(&cxSFilterOperatorNotEqual); }
    std::string FilterText() override { return "<>"; }
    std::string GetExpressionFilterText(const Variant& value) override;
};
CX_FILTER_OPERATOR(TcxFilterLessOperator, TcxFilterOperator)
    bool CompareValues(const Variant& d, const Variant& c) override { return VarCompare(d, c) < 0; }
    std::string DisplayText() override { return cxSFilterString(&cxSFilterOperatorLess); }
    std::string FilterText() override { return "<"; }
};
CX_FILTER_OPERATOR(TcxFilterLessEqualOperator, TcxFilterOperator)
    bool CompareValues(const Variant& d, const Variant& c) override { return VarCompare(d, c) <= 0; }
    std::string DisplayText() override { return cxSFilterString(&cxSFilterOperatorLessEqual); }
    std::string FilterText() override { return "<="; }
};
CX_FILTER_OPERATOR(TcxFilterGreaterOperator, TcxFilterOperator)
    bool CompareValues(const Variant& d, const Variant& c) override { return VarCompare(d, c) > 0; }
    std::string DisplayText() override { return cxSFilterString(&cxSFilterOperatorGreater); }
    std::string FilterText() override { return ">"; }
};
CX_FILTER_OPERATOR(TcxFilterGreaterEqualOperator, TcxFilterOperator)
    bool CompareValues(const Variant& d, const Variant& c) override { return VarCompare(d, c) >= 0; }
    std::string DisplayText() override { return cxSFilterString(&cxSFilterOperatorGreaterEqual); }
    std::string FilterText() override { return ">="; }
};
CX_FILTER_OPERATOR(TcxFilterLikeOperator, TcxFilterOperator)
    bool CompareValues(const Variant& d, const Variant& c) override;
    std::string DisplayText() override;
    std::string FilterText() override { return "LIKE"; }
    void PrepareDisplayValue(std::string& displayValue) override;
};
CX_FILTER_OPERATOR(TcxFilterNotLikeOperator, TcxFilterLikeOperator)
    bool CompareValues(const Variant& d, const Variant& c) override { return !TcxFilterLikeOperator::CompareValues(d, c); }
    std::string DisplayText() override;
    std::string FilterText() override { return "NOT LIKE"; }
    bool IsExpression() override;
    std::string GetExpressionFilterText(const Variant& value) override;
};
CX_FILTER_OPERATOR(TcxFilterBetweenOperator, TcxFilterOperator)
    bool CompareValues(const Variant& d, const Variant& c) override;
    std::string DisplayText() override { return cxSFilterString(&cxSFilterOperatorBetween); }
    std::string FilterText() override { return "BETWEEN"; }
    bool IsDescription() override { return true; }
    bool IsExpression() override;
    void PrepareDisplayValue(std::string& displayValue) override;
    bool PrepareExpressionValue(const Variant& value, std::string& text) override;
    std::string GetExpressionFilterText(const Variant& value) override;
};
CX_FILTER_OPERATOR(TcxFilterNotBetweenOperator, TcxFilterBetweenOperator)
    bool CompareValues(const Variant& d, const Variant& c) override { return !TcxFilterBetweenOperator::CompareValues(d, c); }
    std::string DisplayText() override { return cxSFilterString(&cxSFilterOperatorNotBetween); }
    std::string FilterText() override { return "NOT BETWEEN"; }
    std::string GetExpressionFilterText(const Variant& value) override;
};
CX_FILTER_OPERATOR(TcxFilterInListOperator, TcxFilterOperator)
    bool CompareValues(const Variant& d, const Variant& c) override;
    std::string DisplayText() override { return cxSFilterString(&cxSFilterOperatorInList); }
    std::string FilterText() override { return "IN"; }
    bool IsDescription() override { return true; }
    bool IsExpression() override;
    void PrepareDisplayValue(std::string& displayValue) override;
    bool PrepareExpressionValue(const Variant& value, std::string& text) override;
    std::string GetExpressionFilterText(const Variant& value) override;
};
CX_FILTER_OPERATOR(TcxFilterNotInListOperator, TcxFilterInListOperator)
    bool CompareValues(const Variant& d, const Variant& c) override { return !TcxFilterInListOperator::CompareValues(d, c); }
    std::string DisplayText() override { return cxSFilterString(&cxSFilterOperatorNotInList); }
    std::string FilterText() override { return "NOT IN"; }
    std::string GetExpressionFilterText(const Variant& value) override;
};
CX_FILTER_OPERATOR(TcxFilterNullOperator, TcxFilterEqualOperator)
    bool CompareValues(const Variant& d, const Variant& c) override;
    std::string DisplayText() override { return cxSFilterString(&cxSFilterOperatorIsNull); }
    bool IsNullOperator() override { return true; }
    void PrepareDisplayValue(std::string& displayValue) override;
};
CX_FILTER_OPERATOR(TcxFilterNotNullOperator, TcxFilterNullOperator)
    bool CompareValues(const Variant& d, const Variant& c) override { return !TcxFilterNullOperator::CompareValues(d, c); }
    std::string DisplayText() override { return cxSFilterString(&cxSFilterOperatorIsNotNull); }
    std::string FilterText() override { return "<>"; }
    std::string GetExpressionFilterText(const Variant& value) override;
};

// A date range [start, end) computed by Prepare from today; 0 means no bound on that side.
CX_FILTER_OPERATOR(TcxFilterDateOperator, TcxFilterOperator)
    bool CompareValues(const Variant& d, const Variant& c) override;
    std::string FilterText() override { return DisplayText(); }
    bool IsExpression() override { return true; }
    void PrepareDisplayValue(std::string& displayValue) override { displayValue.clear(); }
    void Prepare() override;
    std::string GetExpressionFilterText(const Variant& value) override;
    TDateTime Start() const { return start_; }
    TDateTime End() const { return end_; }

protected:
    virtual void GetRange(TDateTime today, TDateTime& start, TDateTime& end) {}
    TDateTime start_ = 0;
    TDateTime end_ = 0;
};
CX_FILTER_OPERATOR(TcxFilterLastNDaysOperator, TcxFilterDateOperator)
    virtual int DayCount();
protected:
    void GetRange(TDateTime today, TDateTime& start, TDateTime& end) override;
};
CX_FILTER_OPERATOR(TcxFilterNextNDaysOperator, TcxFilterDateOperator)
    virtual int DayCount();
protected:
    void GetRange(TDateTime today, TDateTime& start, TDateTime& end) override;
};

#define CX_DATE_OPERATOR(Name, Parent, Caption)                                                   \
    CX_FILTER_OPERATOR(Name, Parent)                                                              \
        std::string DisplayText() override { return cxSFilterString(&Caption); }                  \
    protected:                                                                                    \
        void GetRange(TDateTime today, TDateTime& start, TDateTime& end) override;                \
    };
#define CX_NDAYS_OPERATOR(Name, Parent, Caption, N)                                               \
    CX_FILTER_OPERATOR(Name, Parent)                                                              \
        std::string DisplayText() override { return cxSFilterString(&Caption); }                  \
        int DayCount() override { return N; }                                                     \
    };

CX_DATE_OPERATOR(TcxFilterYesterdayOperator, TcxFilterDateOperator, cxSFilterOperatorYesterday)
CX_DATE_OPERATOR(TcxFilterTodayOperator, TcxFilterDateOperator, cxSFilterOperatorToday)
CX_DATE_OPERATOR(TcxFilterTomorrowOperator, TcxFilterDateOperator, cxSFilterOperatorTomorrow)
CX_NDAYS_OPERATOR(TcxFilterLast7DaysOperator, TcxFilterLastNDaysOperator, cxSFilterOperatorLast7Days, 7)
CX_DATE_OPERATOR(TcxFilterLastWeekOperator, TcxFilterDateOperator, cxSFilterOperatorLastWeek)
CX_NDAYS_OPERATOR(TcxFilterLast14DaysOperator, TcxFilterLastNDaysOperator, cxSFilterOperatorLast14Days, 14)
CX_DATE_OPERATOR(TcxFilterLastTwoWeeksOperator, TcxFilterDateOperator, cxSFilterOperatorLastTwoWeeks)
CX_NDAYS_OPERATOR(TcxFilterLast30DaysOperator, TcxFilterLastNDaysOperator, cxSFilterOperatorLast30Days, 30)
CX_DATE_OPERATOR(TcxFilterLastMonthOperator, TcxFilterDateOperator, cxSFilterOperatorLastMonth)
CX_DATE_OPERATOR(TcxFilterLastYearOperator, TcxFilterDateOperator, cxSFilterOperatorLastYear)
CX_DATE_OPERATOR(TcxFilterInPastOperator, TcxFilterDateOperator, cxSFilterOperatorPast)
CX_DATE_OPERATOR(TcxFilterThisWeekOperator, TcxFilterDateOperator, cxSFilterOperatorThisWeek)
CX_DATE_OPERATOR(TcxFilterThisMonthOperator, TcxFilterDateOperator, cxSFilterOperatorThisMonth)
CX_DATE_OPERATOR(TcxFilterThisYearOperator, TcxFilterDateOperator, cxSFilterOperatorThisYear)
CX_NDAYS_OPERATOR(TcxFilterNext7DaysOperator, TcxFilterNextNDaysOperator, cxSFilterOperatorNext7Days, 7)
CX_DATE_OPERATOR(TcxFilterNextWeekOperator, TcxFilterDateOperator, cxSFilterOperatorNextWeek)
CX_NDAYS_OPERATOR(TcxFilterNext14DaysOperator, TcxFilterNextNDaysOperator, cxSFilterOperatorNext14Days, 14)
CX_DATE_OPERATOR(TcxFilterNextTwoWeeksOperator, TcxFilterDateOperator, cxSFilterOperatorNextTwoWeeks)
CX_NDAYS_OPERATOR(TcxFilterNext30DaysOperator, TcxFilterNextNDaysOperator, cxSFilterOperatorNext30Days, 30)
CX_DATE_OPERATOR(TcxFilterNextMonthOperator, TcxFilterDateOperator, cxSFilterOperatorNextMonth)
CX_DATE_OPERATOR(TcxFilterNextYearOperator, TcxFilterDateOperator, cxSFilterOperatorNextYear)
CX_DATE_OPERATOR(TcxFilterInFutureOperator, TcxFilterDateOperator, cxSFilterOperatorFuture)
#undef CX_DATE_OPERATOR
#undef CX_NDAYS_OPERATOR
#undef CX_FILTER_OPERATOR

// The operator class of a kind (null values aside).
TcxFilterOperatorClass cxFilterOperatorClassByKind(TcxFilterOperatorKind kind);

// The next ";"-separated piece of a list or between display text, trimmed; moves the position.
std::string ExtractFilterDisplayValue(const std::string& text, std::size_t& position);
std::string VarBetweenArrayToStr(const Variant& value);
std::string VarListArrayToStr(const Variant& value);

// --- the tree --------------------------------------------------------------------------------------
class TcxCustomFilterCriteriaItem : public TObject {
    RTL_CLASS(TcxCustomFilterCriteriaItem, TObject)
    explicit TcxCustomFilterCriteriaItem(TcxFilterCriteriaItemList* parent) : parent_(parent) {}
    void BeforeDestruction() override;

    virtual void Changed();
    virtual TcxFilterCriteria* GetCriteria() const;
    virtual bool GetIsItemList() const = 0;
    virtual void ReadData(TStream* stream) {}
    virtual void WriteData(TStream* stream) {}
    virtual bool IsEmpty() const = 0;
    TcxFilterCriteriaItemList* Parent() const { return parent_; }

protected:
    friend class TcxFilterCriteriaItemList;
    friend class TcxFilterCriteria;
    TcxFilterCriteriaItemList* parent_;
};

class TcxFilterCriteriaItemList : public TcxCustomFilterCriteriaItem {
    RTL_CLASS(TcxFilterCriteriaItemList, TcxCustomFilterCriteriaItem)
    TcxFilterCriteriaItemList(TcxFilterCriteriaItemList* parent, TcxFilterBoolOperatorKind boolOperatorKind);
    void BeforeDestruction() override;

    virtual void RemoveItem(TcxCustomFilterCriteriaItem* item);
    TcxFilterCriteria* GetCriteria() const override;
    bool GetIsItemList() const override { return true; }
    bool IsEmpty() const override { return items_.empty(); }
    void ReadData(TStream* stream) override;
    void WriteData(TStream* stream) override;

    TcxFilterCriteriaItem* AddItem(TObject* itemLink, TcxFilterOperatorKind kind, const Variant& value,
                                   const std::string& displayValue);
    TcxFilterCriteriaItemList* AddItemList(TcxFilterBoolOperatorKind boolOperatorKind);
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    TcxCustomFilterCriteriaItem* Items(int index) const;   // null out of range
    TcxFilterBoolOperatorKind BoolOperatorKind() const { return boolOperatorKind_; }
    void SetBoolOperatorKind(TcxFilterBoolOperatorKind value);

protected:
    friend class TcxCustomFilterCriteriaItem;
    friend class TcxFilterCriteria;
    void ReadChildren(TStream* stream, int count);
    bool DoFilterData(void* data);
    TcxFilterBoolOperatorKind boolOperatorKind_;
    TcxFilterCriteria* criteria_ = nullptr;
    std::vector<TcxCustomFilterCriteriaItem*> items_;
};
using TcxFilterCriteriaItemListClass = TClassRef<TcxFilterCriteriaItemList, TcxFilterCriteriaItemList*, TcxFilterBoolOperatorKind>;

class TcxFilterCriteriaItem : public TcxCustomFilterCriteriaItem {
    RTL_CLASS(TcxFilterCriteriaItem, TcxCustomFilterCriteriaItem)
    TcxFilterCriteriaItem(TcxFilterCriteriaItemList* parent, TObject* itemLink, TcxFilterOperatorKind kind,
                          const Variant& value, const std::string& displayValue);
    ~TcxFilterCriteriaItem() override;
    // Makes the first operator; runs once the object is whole, so that a descendant's
    // GetFilterOperatorClass counts.
    virtual void AfterConstruction();

    // A record's value of the field; data is what the filtering caller passes per record.
    virtual Variant GetDataValue(void* data);
    virtual std::string GetDisplayValue();
    virtual std::string GetExpressionValue(bool displayForm);
    virtual std::string GetFieldCaption();
    virtual std::string GetFieldName();
    virtual TcxFilterOperatorClass GetFilterOperatorClass();
    virtual TObject* GetItemLink() const { return itemLink_; }
    virtual void SetItemLink(TObject* value);
    virtual void RecreateOperator();
    virtual bool ValueIsNull(const Variant& value);
    bool GetIsItemList() const override { return false; }
    bool IsEmpty() const override { return GetItemLink() == nullptr; }
    void ReadData(TStream* stream) override;
    void WriteData(TStream* stream) override;

    const std::string& DisplayValue() const { return displayValue_; }
    void SetDisplayValue(const std::string& value);
    TObject* ItemLink() const { return GetItemLink(); }
    TcxFilterOperator* Operator() const { return operator_; }
    TcxFilterOperatorKind OperatorKind() const { return operatorKind_; }
    void SetOperatorKind(TcxFilterOperatorKind value);
    const Variant& Value() const { return value_; }
    void SetValue(const Variant& value);

protected:
    void CheckDisplayValue();

private:
    friend class TcxFilterCriteriaItemList;
    std::string displayValue_;
    TObject* itemLink_ = nullptr;
    TcxFilterOperator* operator_ = nullptr;
    TcxFilterOperatorKind operatorKind_;
    Variant value_;
};
using TcxFilterCriteriaItemClass = TClassRef<TcxFilterCriteriaItem, TcxFilterCriteriaItemList*, TObject*,
                                             TcxFilterOperatorKind, const Variant&, const std::string&>;

class TcxFilterValueList;
using TcxFilterValueListClass = TClassRef<TcxFilterValueList, TcxFilterCriteria*>;

class TcxFilterCriteria : public TPersistent {
    RTL_CLASS(TcxFilterCriteria, TPersistent)
    TcxFilterCriteria();
    ~TcxFilterCriteria() override;

    virtual void CheckChanges();
    virtual std::string ConvertBoolToStr(const Variant& value);
    virtual std::string ConvertDateToStr(const Variant& value);
    virtual void FormatFilterTextValue(TcxFilterCriteriaItem* item, const Variant& value, std::string& text) {}
    virtual std::string GetFilterCaption() { return GetFilterExpression(true); }
    virtual std::string GetFilterExpression(bool displayForm);
    virtual std::string GetFilterText() { return GetFilterExpression(false); }
    virtual int GetIDByItemLink(TObject* itemLink);
    virtual std::string GetNameByItemLink(TObject* itemLink);
    virtual TcxFilterCriteriaItemClass GetItemClass();
    virtual TcxFilterCriteriaItemListClass GetItemListClass();
    virtual std::string GetItemExpression(TcxFilterCriteriaItem* item, bool displayForm);
    virtual std::string GetItemExpressionFieldName(TcxFilterCriteriaItem* item, bool displayForm);
    virtual std::string GetItemExpressionOperator(TcxFilterCriteriaItem* item, bool displayForm);
    virtual std::string GetItemExpressionValue(TcxFilterCriteriaItem* item, bool displayForm);
    virtual TObject* GetItemLinkByID(int id);
    virtual TObject* GetItemLinkByName(const std::string& name);
    virtual TcxFilterValueListClass GetValueListClass();
    virtual void Prepare();
    virtual Variant PrepareValue(const Variant& value);
    virtual void SetFilterText(const std::string& text) {}
    virtual void Update() { CallEvent(OnChanged, this); }
    virtual void Assign(TPersistent* source, bool limitToVersion2);
    void Assign(TPersistent* source) override { Assign(source, false); }
    virtual void AssignEvents(TPersistent* source);
    virtual void AssignItems(TcxFilterCriteria* source, bool limitToVersion2);
    virtual TcxFilterCriteriaItem* AddItem(TcxFilterCriteriaItemList* parent, TObject* itemLink,
                                           TcxFilterOperatorKind kind, const Variant& value,
                                           const std::string& displayValue);
    virtual void Changed();
    virtual TcxFilterCriteriaItem* FindItemByItemLink(TObject* itemLink);
    // The first condition, depth first, that the predicate accepts.
    TcxFilterCriteriaItem* FindItem(const std::function<bool(TcxFilterCriteriaItem*)>& match);
    virtual bool IsEmpty() const { return root_->IsEmpty(); }
    virtual void RestoreDefaults();
    virtual bool ValueIsNull(const Variant& value);
    virtual void ReadData(TStream* stream);
    virtual void WriteData(TStream* stream, Byte highestVersion);
    void WriteData(TStream* stream) { WriteData(stream, 0); }

    // The encoding of the stream's texts (display values, item names, string values): the
    // program's own UTF-8, which copies in memory use, or code page 936, as files shared with
    // other tools are. While StreamTexts is set, every text read is also added to it as it stands
    // in the stream, every text written as the program holds it.
    enum TStreamTextEncoding { steUtf8, steGbk };
    TStreamTextEncoding StreamTextEncoding = steUtf8;
    std::vector<std::string>* StreamTexts = nullptr;
    std::string TextFromStream(const std::string& bytes);
    std::string TextToStream(const std::string& text);
    Variant ValueFromStream(const Variant& value);
    Variant ValueToStream(const Variant& value);

    void BeginUpdate() { ++lockCount_; }
    void EndUpdate();
    void CancelUpdate() { --lockCount_; }
    int LockCount() const { return lockCount_; }
    void Clear();
    bool DoFilterData(void* data);
    bool EqualItems(TcxFilterCriteria* other, bool limitToVersion2);
    void RemoveItemByItemLink(TObject* itemLink);
    void Refresh();
    bool IsStore() const { return !(root_->BoolOperatorKind() == fboAnd && root_->IsEmpty()); }

    TcxFilterCriteriaItemList* Root() const { return root_; }
    const std::string& DateTimeFormat() const { return dateTimeFormat_; }
    void SetDateTimeFormat(const std::string& value);
    int MaxValueListCount() const { return maxValueListCount_; }
    void SetMaxValueListCount(int value) { maxValueListCount_ = value; }
    TcxFilterCriteriaOptions Options() const { return options_; }
    void SetOptions(TcxFilterCriteriaOptions value);
    char PercentWildcard() const { return percentWildcard_; }
    void SetPercentWildcard(char value);
    char UnderscoreWildcard() const { return underscoreWildcard_; }
    void SetUnderscoreWildcard(char value);
    bool BetweenAsComparisons = false;
    bool InListAsComparisons = false;
    bool NotLikeAsNegation = false;
    bool SupportsLike = true;
    Byte Version() const { return version_; }
    void SetVersion(Byte value) { version_ = value; }
    Byte LoadedVersion() const { return loadedVersion_; }
    Byte SavedVersion() const { return savedVersion_; }
    bool StoreItemLinkNames() const { return version_ > 2; }
    void SetStoreItemLinkNames(bool value) { version_ = value ? 3 : 2; }

    Event<void(TObject*)> OnChanged;

protected:
    friend class TcxFilterCriteriaItem;
    friend class TcxFilterCriteriaItemList;
    std::string GetListExpression(TcxFilterCriteriaItemList* list, bool displayForm);

private:
    void ReadTree(TStream* stream);
    bool changed_ = false;
    std::string dateTimeFormat_;
    Byte loadedVersion_ = 0;
    int lockCount_ = 0;
    int maxValueListCount_ = 0;
    TcxFilterCriteriaOptions options_;
    char percentWildcard_ = '%';
    TcxFilterCriteriaItemList* root_;
    Byte savedVersion_ = 0;
    char underscoreWildcard_ = '_';
    Byte version_ = 2;
};

// --- the value list of a filter drop-down -----------------------------------------------------------
enum TcxFilterValueItemKind { fviAll, fviCustom, fviBlanks, fviNonBlanks, fviUser, fviValue, fviMRU, fviMRUSeparator, fviSpecial };

struct TcxFilterValueItem {
    TcxFilterValueItemKind Kind;
    Variant Value;
    std::string DisplayText;
};
using PcxFilterValueItem = TcxFilterValueItem*;

class TcxFilterValueList : public TObject {
    RTL_CLASS(TcxFilterValueList, TObject)
    explicit TcxFilterValueList(TcxFilterCriteria* criteria) : criteria_(criteria) {}
    ~TcxFilterValueList() override { Clear(); }

    virtual int CompareItem(int index, const Variant& value, const std::string& displayText);
    virtual void Add(TcxFilterValueItemKind kind, const Variant& value, const std::string& displayText, bool unsorted = false);
    virtual void Clear();
    virtual bool Find(const Variant& value, const std::string& displayText, int& index);
    virtual int GetIndexByCriteriaItem(TcxFilterCriteriaItem* item);

    int FindItemByKind(TcxFilterValueItemKind kind) const;
    int FindItemByKind(TcxFilterValueItemKind kind, const Variant& value) const;
    int FindItemByValue(const Variant& value);
    int GetMRUSeparatorIndex() const;
    int GetStartValueIndex() const;
    int Count() const { return static_cast<int>(items_.size()); }
    PcxFilterValueItem Items(int index) const { return items_.at(index); }
    int MaxCount() const { return criteria_ ? criteria_->MaxValueListCount() : 0; }
    void Delete(int index);
    TcxFilterCriteria* Criteria() const { return criteria_; }
    bool SortByDisplayText = false;

private:
    TcxFilterCriteria* criteria_;
    std::vector<PcxFilterValueItem> items_;
};

} // namespace cx

// cxClasses, second half: class registries, resource-string overrides and library procedures.
#include <limits>
#include <QDesktopServices>
#include <QUrl>
#include <algorithm>

#include "platform/rtl/Locale.h"
#include "platform/rtl/TypInfo.h"
#include "platform/rtl/Unicode.h"
#include "toolkit/core/cxClasses.h"
#include "toolkit/core/cxClassesDialogs.h"

namespace cx {

// --- TcxRegisteredClassList ----------------------------------------------------------------------
bool TcxRegisteredClassList::Find(const TClassMeta* itemClass, int& index) const
{
    for (int i = Count() - 1; i >= 0; --i) {
        if (itemClass->InheritsFrom(entries_[i].itemClass)) {
            index = i;
            return true;
        }
        if (entries_[i].itemClass->InheritsFrom(itemClass))
            index = i;   // the first descendant, in case nothing is found
    }
    return false;
}

void TcxRegisteredClassList::Register(const TClassMeta* itemClass, const TClassMeta* registeredClass)
{
    int index = -1;
    if (Find(itemClass, index))
        ++index;
    else if (index < 0)
        index = Count();
    entries_.insert(entries_.begin() + index, Entry{itemClass, registeredClass});
}

void TcxRegisteredClassList::Unregister(const TClassMeta* itemClass, const TClassMeta* registeredClass)
{
    for (int i = Count() - 1; i >= 0; --i)
        if (entries_[i].itemClass == itemClass && entries_[i].registeredClass == registeredClass)
            entries_.erase(entries_.begin() + i);
}

const TClassMeta* TcxRegisteredClassList::FindClass(const TClassMeta* itemClass) const
{
    int index = -1;
    return Find(itemClass, index) ? entries_[index].registeredClass : nullptr;
}

// --- TcxRegisteredClasses --------------------------------------------------------------------------
namespace {
std::string DescriptionOf(const std::string& text)
{
    std::size_t p = text.find('|');
    return p == std::string::npos ? text : text.substr(0, p);
}
std::string HintOf(const std::string& text)
{
    std::size_t p = text.find('|');
    return p == std::string::npos ? text : text.substr(p + 1);
}
} // namespace

void TcxRegisteredClasses::Register(const TClassMeta* cls, const std::string& description)
{
    if (GetIndexByClass(cls) >= 0)
        return;
    entries_.push_back(Entry{description, cls});
    if (sorted_)
        Sort();
    if (registerClasses_)
        RegisterClassMeta(*cls);
}

void TcxRegisteredClasses::Unregister(const TClassMeta* cls)
{
    int i = GetIndexByClass(cls);
    if (i >= 0)
        entries_.erase(entries_.begin() + i);
}

int TcxRegisteredClasses::CompareItems(int index1, int index2) const
{
    return AnsiCompareText(Descriptions(index1), Descriptions(index2));
}

void TcxRegisteredClasses::Sort()
{
    std::vector<int> order(entries_.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) { return CompareItems(a, b) < 0; });
    std::vector<Entry> sorted;
    for (int i : order)
        sorted.push_back(entries_[i]);
    entries_.swap(sorted);
}

void TcxRegisteredClasses::SetSorted(bool value)
{
    if (sorted_ == value)
        return;
    sorted_ = value;
    if (value)
        Sort();
}

const TClassMeta* TcxRegisteredClasses::FindByClassName(const std::string& className) const
{
    for (const Entry& e : entries_)
        if (e.cls->ClassName() == className)
            return e.cls;
    return nullptr;
}

const TClassMeta* TcxRegisteredClasses::FindByDescription(const std::string& description) const
{
    for (const Entry& e : entries_)
        if (DescriptionOf(e.text) == description)
            return e.cls;
    return nullptr;
}

int TcxRegisteredClasses::GetIndexByClass(const TClassMeta* cls) const
{
    for (int i = 0; i < Count(); ++i)
        if (entries_[i].cls == cls)
            return i;
    return -1;
}

std::string TcxRegisteredClasses::GetDescriptionByClass(const TClassMeta* cls) const
{
    int i = GetIndexByClass(cls);
    return i < 0 ? std::string() : Descriptions(i);
}

std::string TcxRegisteredClasses::GetHintByClass(const TClassMeta* cls) const
{
    int i = GetIndexByClass(cls);
    return i < 0 ? std::string() : Hints(i);
}

std::string TcxRegisteredClasses::Descriptions(int index) const { return DescriptionOf(entries_.at(index).text); }
std::string TcxRegisteredClasses::Hints(int index) const { return HintOf(entries_.at(index).text); }

// --- resource-string overrides -----------------------------------------------------------------------
namespace {
enum class OverrideMode { None, ByRecord, ByText };

struct Overrides {
    OverrideMode mode = OverrideMode::None;
    // Entry i of the default texts belongs to entry i of the replacements.
    std::vector<std::string> defaults;
    std::vector<const TResStringRec*> records;
    std::vector<std::string> replacements;
};
Overrides overrides;

void CheckMode(OverrideMode wanted)
{
    if (overrides.mode == OverrideMode::None)
        overrides.mode = wanted;
    else if (overrides.mode != wanted)
        throw EdxException("You cannot mix cxSetResourceString and cxSetResourceStringNet calls");
}

int IndexOfText(const std::string& text)
{
    for (std::size_t i = 0; i < overrides.defaults.size(); ++i)
        if (overrides.defaults[i] == text)
            return static_cast<int>(i);
    return -1;
}
} // namespace

void cxSetResourceString(const TResStringRec* resString, const std::string& value)
{
    CheckMode(OverrideMode::ByRecord);
    auto it = std::find(overrides.records.begin(), overrides.records.end(), resString);
    if (it == overrides.records.end()) {
        overrides.defaults.push_back(LoadResString(resString));
        overrides.records.push_back(resString);
        overrides.replacements.push_back(value);
    } else {
        overrides.replacements[it - overrides.records.begin()] = value;
    }
}

void cxSetResourceStringNet(const std::string& defaultText, const std::string& value)
{
    CheckMode(OverrideMode::ByText);
    int i = IndexOfText(defaultText);
    if (i < 0) {
        overrides.defaults.push_back(defaultText);
        overrides.records.push_back(nullptr);
        overrides.replacements.push_back(value);
    } else {
        overrides.replacements[i] = value;
    }
}

std::string cxGetResourceString(const TResStringRec* resString)
{
    switch (overrides.mode) {
    case OverrideMode::ByRecord: {
        auto it = std::find(overrides.records.begin(), overrides.records.end(), resString);
        if (it != overrides.records.end())
            return overrides.replacements[it - overrides.records.begin()];
        break;
    }
    case OverrideMode::ByText: {
        int i = IndexOfText(LoadResString(resString));
        if (i >= 0)
            return overrides.replacements[i];
        break;
    }
    case OverrideMode::None:
        break;
    }
    return LoadResString(resString);
}

std::string cxGetResourceString(const std::string& text)
{
    int i = IndexOfText(text);
    return i >= 0 ? overrides.replacements[i] : text;
}

std::string cxGetResourceStringNet(const std::string& text) { return cxGetResourceString(text); }

void cxClearResourceStrings()
{
    overrides.defaults.clear();
    overrides.records.clear();
    overrides.replacements.clear();
}

// --- component naming ------------------------------------------------------------------------------
std::string GetValidName(TComponent* component, const std::string& name, bool isBaseName)
{
    TComponent* owner = component->Owner();
    if (!owner)
        return name;
    int counter = 1;
    std::string candidate = isBaseName ? name + std::to_string(counter) : name;
    while (owner->FindComponent(candidate))
        candidate = name + std::to_string(++counter);
    return candidate;
}

std::string cxGenerateComponentName(TComponent* owner, const std::string& className, const std::string& prefixToCut,
                                    const std::string& baseName, int number)
{
    std::string result;
    for (std::size_t i = 0; i < baseName.size();) {
        char c = baseName[i];
        int len = Utf8CharLength(baseName, i);
        if (len == 1 && ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'))
            result += c;
        i += len > 0 ? len : 1;   // a multi-byte character goes as a whole
    }
    if ((result.empty() || (result[0] >= '0' && result[0] <= '9')) && !className.empty()) {
        if (!prefixToCut.empty() && AnsiStartsText(prefixToCut, className)) {
            result = className.substr(prefixToCut.size()) + result;
        } else {
            result = className + result;
            if (!result.empty() && result[0] == 'T')
                result.erase(0, 1);
        }
    }
    if (owner)
        result = owner->Name() + result;
    if (number > 0)
        result += std::to_string(number);
    return result;
}

std::string CreateUniqueName(TComponent* ownerForm, TComponent* ownerComponent, TComponent* component,
                             const std::string& prefixToCut, const std::string& baseName)
{
    auto taken = [&](const std::string& name) {
        if (!ownerForm)
            return false;
        for (int i = 0; i < ownerForm->ComponentCount(); ++i) {
            TComponent* c = ownerForm->Components(i);
            if (c != component && SameText(c->Name(), name))
                return true;
        }
        return false;
    };
    for (int n = baseName.empty() ? 1 : 0;; ++n) {
        std::string name = cxGenerateComponentName(ownerComponent, component->ClassName(), prefixToCut, baseName, n);
        if (!taken(name))
            return name;
    }
}

void RenameComponents(TComponent* caller, TComponent* owner, const std::string& newName, const std::string& oldName,
                      int count, const std::function<TComponent*(TComponent*, int)>& getComponent)
{
    if (caller->ComponentState().Contains(csAncestor))
        return;
    for (int i = 0; i < count; ++i) {
        TComponent* c = getComponent(caller, i);
        if (!c || c->Owner() != owner)
            continue;
        const std::string& name = c->Name();
        if (name.size() > oldName.size() && SameText(name.substr(0, oldName.size()), oldName)) {
            try {
                c->SetName(newName + name.substr(oldName.size()));
            } catch (const EComponentError&) {
                // A clash keeps the old name.
            }
        }
    }
}

std::string GetSubobjectName(TPersistent* object, TPersistent* subobject)
{
    if (!object || !subobject)
        return {};
    std::vector<const TPropInfo*> props;
    for (const TPropInfo* prop : GetPropList(object->ClassType()))
        if (prop->Kind == tkClass)
            props.push_back(prop);
    std::stable_sort(props.begin(), props.end(),
                     [](const TPropInfo* a, const TPropInfo* b) { return CompareText(a->Name, b->Name) < 0; });
    for (const TPropInfo* prop : props)
        if (prop->PropClass == &subobject->ClassType())
            return prop->Name;
    return {};
}

bool ClassInheritsFrom(const TClassMeta* cls, const std::string& className)
{
    for (const TClassMeta* m = cls; m; m = m->ClassParent())
        if (m->ClassName() == className)
            return true;
    return false;
}

void FillStringsWithEnumTypeValues(TStrings* strings, int minValue, int maxValue,
                                   const std::function<std::string(int)>& getTypeItemCaption)
{
    strings->BeginUpdate();
    try {
        for (int v = minValue; v <= maxValue; ++v) {
            std::string caption = getTypeItemCaption(v);
            if (!caption.empty())
                strings->AddObject(caption, reinterpret_cast<TObject*>(static_cast<std::intptr_t>(v)));
        }
    } catch (...) {
        strings->EndUpdate();
        throw;
    }
    strings->EndUpdate();
}

// --- other procedures -------------------------------------------------------------------------------
std::string cxGetLocaleInfo(Cardinal locale, Cardinal infoType, const std::string& defaultValue)
{
    std::string s = LocaleService().LocaleInfo(locale, infoType);
    return s.empty() ? defaultValue : s;
}

int cxStrCharLength(const std::string& s, int index) { return Utf8CharLength(s, static_cast<std::size_t>(index - 1)); }

int cxNextCharPos(const std::string& s, int index)
{
    int len = Utf8CharLength(s, static_cast<std::size_t>(index - 1));
    return index + (len > 0 ? len : 1);
}

int cxPrevCharPos(const std::string& s, int index)
{
    return static_cast<int>(Utf8PrevCharOffset(s, static_cast<std::size_t>(index - 1))) + 1;
}

int RoundDiv(int a, int b)
{
    if (b == 0)
        throw EDivByZero("Division by zero");
    // The one quotient that does not fit (INT_MIN / -1) traps in the divide instruction; raise
    // the integer overflow the platform maps that trap to instead of losing the process.
    if (a == std::numeric_limits<int>::min() && b == -1)
        throw EIntOverflow("Integer overflow");
    return a / b + (a % b != 0 ? 1 : 0);
}

int GetRangeCenter(int first, int last)
{
    std::int64_t sum = static_cast<std::int64_t>(first) + last;
    return static_cast<int>(sum >= 0 ? sum / 2 : -((-sum + 1) / 2));
}

Byte HexToByte(const std::string& text)
{
    auto digit = [](char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    int hi = text.size() >= 2 ? digit(text[0]) : -1;
    int lo = text.size() >= 2 ? digit(text[1]) : -1;
    if (hi < 0 || lo < 0)
        throw EConvertError(Format("'%s' is not a valid hexadecimal value", text.substr(0, 2)));
    return static_cast<Byte>(hi * 16 + lo);
}

std::string GetCorrectPath(const std::string& path)
{
    std::string s = path;
    std::replace(s.begin(), s.end(), '/', '\\');
    return s;
}

bool StreamsEqual(TMemoryStream* stream1, TMemoryStream* stream2) { return stream1->Bytes() == stream2->Bytes(); }

void CopyList(TList* source, TList* dest)
{
    dest->SetCount(source->Count());
    for (int i = 0; i < source->Count(); ++i)
        dest->Put(i, source->Get(i));
}

bool OpenWebPage(const std::string& url) { return QDesktopServices::openUrl(QUrl(QString::fromStdString(url))); }

namespace cxClassesUnit {
namespace {
int startCount = 0;
} // namespace

void Initialize()
{
    if (startCount++ > 0)
        return;
}

void Finalize()
{
    if (startCount > 0 && --startCount > 0)
        return;
    cxClearResourceStrings();
    overrides.mode = OverrideMode::None;
    cxFreeDialogsMetricsStore();
}
} // namespace cxClassesUnit

} // namespace cx

#pragma once
// Published properties: the run-time type information that streaming and settings storage walk.
// A class lists its published properties once (RegisterPublishedProperties); a class's property
// list is its ancestors' followed by its own, in declaration order. Values travel as variants:
// ordinals (integers, characters, enumerations as their ordinal, Booleans, sets as their bits)
// as integers, floats as doubles, texts as strings; object properties through GetObject and
// SetObject.
#include <functional>
#include <type_traits>
#include <string>
#include <vector>

#include "platform/rtl/Variant.h"
#include "platform/rtl/Object.h"

namespace rtl {

// A property value that does not convert (an unknown enumeration name, a malformed set text).
RTL_EXCEPTION(EPropertyConvertError, Exception);

enum TTypeKind {
    tkUnknown, tkInteger, tkChar, tkEnumeration, tkFloat, tkString, tkSet, tkClass, tkMethod,
    tkWChar, tkLString, tkWString, tkVariant, tkArray, tkRecord, tkInterface, tkInt64
};

struct TPropInfo {
    std::string Name;
    TTypeKind Kind = tkUnknown;
    // Enumerations and sets: the names of the values (a Boolean's are "False", "True").
    std::vector<std::string> EnumNames;
    // Sets: the size of the set in bytes (1 to 4).
    int SetSize = 4;
    // Object properties: the declared class.
    const TClassMeta* PropClass = nullptr;
    std::function<Variant(TObject*)> Get;
    std::function<void(TObject*, const Variant&)> Set;
    std::function<TObject*(TObject*)> GetObject;
    std::function<void(TObject*, TObject*)> SetObject;
    // Whether a component writer writes the property: when Stored says so (always without it)
    // and, for an ordinal with a default, when the value differs from Default.
    std::function<bool(TObject*)> Stored;
    bool HasDefault = false;
    std::int64_t Default = 0;
};

void RegisterPublishedProperties(const TClassMeta& meta, std::vector<TPropInfo> props);
// Whether the class or one of its ancestors has registered properties.
bool HasTypeInfo(const TClassMeta& meta);
std::vector<const TPropInfo*> GetPropList(const TClassMeta& meta);
// The property of that name (without regard to case); null when there is none.
const TPropInfo* GetPropInfo(const TClassMeta& meta, const std::string& name);

// Helpers to declare properties of a class T with member-function accessors.
template <class T, class V>
TPropInfo PublishedProp(std::string name, TTypeKind kind, V (T::*get)() const, void (T::*set)(V))
{
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = kind;
    p.Get = [get](TObject* o) {
        if constexpr (std::is_enum_v<V>)
            return Variant(static_cast<int>((static_cast<T*>(o)->*get)()));
        else
            return Variant((static_cast<T*>(o)->*get)());
    };
    if (set)
        p.Set = [set](TObject* o, const Variant& v) {
            if constexpr (std::is_same_v<V, std::string> || std::is_same_v<V, const std::string&>)
                (static_cast<T*>(o)->*set)(v.ToString());
            else if constexpr (std::is_same_v<V, Variant> || std::is_same_v<V, const Variant&>)
                (static_cast<T*>(o)->*set)(v);
            else if constexpr (std::is_same_v<V, double>)
                (static_cast<T*>(o)->*set)(v.ToDouble());
            else if constexpr (std::is_same_v<V, bool>)
                (static_cast<T*>(o)->*set)(v.ToBoolean());
            else
                (static_cast<T*>(o)->*set)(static_cast<V>(v.ToInteger()));
        };
    return p;
}

template <class T, class C>
TPropInfo PublishedObjectProp(std::string name, C* (T::*get)() const, void (T::*set)(C*))
{
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = tkClass;
    p.PropClass = &C::StaticClass();
    p.GetObject = [get](TObject* o) -> TObject* { return (static_cast<T*>(o)->*get)(); };
    if (set)
        p.SetObject = [set](TObject* o, TObject* v) { (static_cast<T*>(o)->*set)(dynamic_cast<C*>(v)); };
    return p;
}

// A read-only object property (its object is set up by the owner and changed in place).
template <class T, class C>
TPropInfo PublishedObjectProp(std::string name, C* (T::*get)() const)
{
    return PublishedObjectProp<T, C>(std::move(name), get, static_cast<void (T::*)(C*)>(nullptr));
}

} // namespace rtl

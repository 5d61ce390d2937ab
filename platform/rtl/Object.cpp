#include "platform/rtl/Object.h"

#include <algorithm>
#include <map>

#include "platform/rtl/SysUtils.h"

namespace rtl {

bool TClassMeta::InheritsFrom(const TClassMeta* other) const
{
    for (const TClassMeta* m = this; m; m = m->parent_)
        if (m == other)
            return true;
    return false;
}

void TClassMeta::AddFactory(std::type_index signature, ErasedFactory f) const
{
    for (auto& entry : factories_)
        if (entry.first == signature)
            return;
    factories_.emplace_back(signature, f);
}

TClassMeta::ErasedFactory TClassMeta::FindFactory(std::type_index signature) const
{
    for (auto& entry : factories_)
        if (entry.first == signature)
            return entry.second;
    return nullptr;
}

const TClassMeta& TObject::StaticClass()
{
    static const TClassMeta meta("TObject", nullptr);
    return meta;
}

void TObject::Free()
{
    BeforeDestruction();
    delete this;
}

namespace {
std::map<std::string, const TClassMeta*>& Registry()
{
    static std::map<std::string, const TClassMeta*> classes;
    return classes;
}
} // namespace

void RegisterClassMeta(const TClassMeta& meta) { Registry().emplace(UpperCase(meta.ClassName()), &meta); }

void UnRegisterClassMeta(const TClassMeta& meta)
{
    auto it = Registry().find(UpperCase(meta.ClassName()));
    if (it != Registry().end() && it->second == &meta)
        Registry().erase(it);
}

const TClassMeta* GetClass(const std::string& name)
{
    auto it = Registry().find(UpperCase(name));
    return it == Registry().end() ? nullptr : it->second;
}

const TClassMeta& FindClass(const std::string& name)
{
    if (const TClassMeta* m = GetClass(name))
        return *m;
    throw EFilerError(Format("Class %s not found", name));
}

} // namespace rtl

#include "platform/rtl/TypInfo.h"

#include <map>

#include "platform/rtl/SysUtils.h"

namespace rtl {

namespace {
std::map<const TClassMeta*, std::vector<TPropInfo>>& Table()
{
    static std::map<const TClassMeta*, std::vector<TPropInfo>> table;
    return table;
}
} // namespace

void RegisterPublishedProperties(const TClassMeta& meta, std::vector<TPropInfo> props)
{
    Table()[&meta] = std::move(props);
}

bool HasTypeInfo(const TClassMeta& meta)
{
    for (const TClassMeta* m = &meta; m; m = m->ClassParent())
        if (Table().count(m))
            return true;
    return false;
}

std::vector<const TPropInfo*> GetPropList(const TClassMeta& meta)
{
    std::vector<const TClassMeta*> chain;
    for (const TClassMeta* m = &meta; m; m = m->ClassParent())
        chain.insert(chain.begin(), m);
    std::vector<const TPropInfo*> list;
    for (const TClassMeta* m : chain) {
        auto it = Table().find(m);
        if (it != Table().end())
            for (const auto& p : it->second)
                list.push_back(&p);
    }
    return list;
}

const TPropInfo* GetPropInfo(const TClassMeta& meta, const std::string& name)
{
    for (const TPropInfo* p : GetPropList(meta))
        if (SameText(p->Name, name))
            return p;
    return nullptr;
}

} // namespace rtl

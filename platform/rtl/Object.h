#pragma once
// The object model: class metas (class references), virtual constructors, interfaces and
// freeing. See docs/architecture.md, "Platform layer conventions".
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <typeindex>
#include <vector>

namespace rtl {

class TObject;

// What a class reference points at: the class's name, its parent and the factories of its
// virtual constructors, one per constructor signature.
class TClassMeta {
public:
    TClassMeta(const char* name, const TClassMeta* parent) : name_(name), parent_(parent) {}
    TClassMeta(const TClassMeta&) = delete;
    TClassMeta& operator=(const TClassMeta&) = delete;

    const std::string& ClassName() const { return name_; }
    const TClassMeta* ClassParent() const { return parent_; }
    bool InheritsFrom(const TClassMeta* other) const;
    bool InheritsFrom(const TClassMeta& other) const { return InheritsFrom(&other); }

    // Factories are added by TClassRef<...>::Of<T>() (and so by RegisterClass).
    using ErasedFactory = void (*)();
    void AddFactory(std::type_index signature, ErasedFactory f) const;
    ErasedFactory FindFactory(std::type_index signature) const;

private:
    std::string name_;
    const TClassMeta* parent_;
    mutable std::vector<std::pair<std::type_index, ErasedFactory>> factories_;
};

// Declares the class meta of a class and the exact-class query; put it first in the class body.
// It leaves the access at public.
#define RTL_CLASS(Self, Parent)                                                                  \
public:                                                                                          \
    static const ::rtl::TClassMeta& StaticClass()                                                \
    {                                                                                            \
        static const ::rtl::TClassMeta meta(#Self, &Parent::StaticClass());                      \
        return meta;                                                                             \
    }                                                                                            \
    const ::rtl::TClassMeta& ClassType() const override { return StaticClass(); }

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    static const TClassMeta& StaticClass();
    virtual const TClassMeta& ClassType() const { return StaticClass(); }
    const std::string& ClassName() const { return ClassType().ClassName(); }
    bool InheritsFrom(const TClassMeta& meta) const { return ClassType().InheritsFrom(meta); }

    // Runs while the object is still whole, before any destructor: components tear down here.
    virtual void BeforeDestruction() {}
    // Frees the object: BeforeDestruction, then delete. Null-safe through FreeAndNil/FreeObject.
    void Free();
};

inline void FreeObject(TObject* obj)
{
    if (obj)
        obj->Free();
}

template <class T>
void FreeAndNil(T*& obj)
{
    T* tmp = obj;
    obj = nullptr;
    FreeObject(tmp);
}

struct FreeDeleter {
    void operator()(TObject* obj) const { FreeObject(obj); }
};
// An owning pointer that frees through Free().
template <class T>
using UniqueObject = std::unique_ptr<T, FreeDeleter>;

// A class reference whose virtual constructor takes Args...: it names a class derived from
// Base and creates instances of that class.
template <class Base, class... Args>
class TClassRef {
public:
    using Factory = Base* (*)(Args...);

    TClassRef() = default;
    template <class T>
    static TClassRef Of()
    {
        static_assert(std::is_base_of_v<Base, T>);
        Factory f = [](Args... args) -> Base* { return new T(args...); };
        T::StaticClass().AddFactory(typeid(Factory), reinterpret_cast<TClassMeta::ErasedFactory>(f));
        return TClassRef(&T::StaticClass(), f);
    }
    // The reference for a meta whose factory of this signature was registered; empty otherwise.
    static TClassRef FromMeta(const TClassMeta* meta)
    {
        if (!meta || !meta->InheritsFrom(Base::StaticClass()))
            return {};
        auto f = reinterpret_cast<Factory>(meta->FindFactory(typeid(Factory)));
        return f ? TClassRef(meta, f) : TClassRef();
    }

    explicit operator bool() const { return meta_ != nullptr; }
    const TClassMeta* Meta() const { return meta_; }
    const std::string& ClassName() const { return meta_->ClassName(); }
    bool InheritsFrom(const TClassMeta& other) const { return meta_ && meta_->InheritsFrom(other); }
    Base* Create(Args... args) const { return factory_(args...); }

    friend bool operator==(const TClassRef& a, const TClassRef& b) { return a.meta_ == b.meta_; }

private:
    TClassRef(const TClassMeta* meta, Factory f) : meta_(meta), factory_(f) {}
    const TClassMeta* meta_ = nullptr;
    Factory factory_ = nullptr;
};

// Exact-class test ("ClassType = TFoo").
template <class T>
bool IsExactly(const TObject* obj)
{
    return obj && &obj->ClassType() == &T::StaticClass();
}

// ---------------------------------------------------------------------------------------------
// Interfaces are abstract classes; an object supports an interface when it derives from it.
struct TGUID {
    std::uint32_t D1 = 0;
    std::uint16_t D2 = 0;
    std::uint16_t D3 = 0;
    std::uint8_t D4[8] = {};
    friend bool operator==(const TGUID& a, const TGUID& b) { return std::memcmp(&a, &b, sizeof a) == 0; }
};

inline constexpr long S_OK = 0;
inline constexpr long E_NOINTERFACE = static_cast<long>(0x80004002L);

class IUnknown {
public:
    virtual ~IUnknown() = default;
    virtual long QueryInterface(const TGUID& iid, void** obj) = 0;
    virtual int _AddRef() = 0;
    virtual int _Release() = 0;
};

template <class I, class T>
I* Supports(T* obj)
{
    return dynamic_cast<I*>(obj);
}

// ---------------------------------------------------------------------------------------------
// The class registry of streaming: classes found by name.
void RegisterClassMeta(const TClassMeta& meta);
void UnRegisterClassMeta(const TClassMeta& meta);
const TClassMeta* GetClass(const std::string& name);   // null when not registered
const TClassMeta& FindClass(const std::string& name);  // EClassNotFound when not registered

} // namespace rtl

#pragma once
// Events: a method pointer ("procedure of object") is an Event<Sig>. It may be unassigned, is
// called like a function, and compares equal to another event bound to the same method of the
// same object (or the same free function), which multicast lists rely on.
#include <atomic>
#include <cstdint>
#include <cstring>
#include <functional>
#include <type_traits>
#include <vector>

namespace rtl {

template <class Sig>
class Event;

template <class R, class... Args>
class Event<R(Args...)> {
public:
    Event() = default;
    Event(std::nullptr_t) {}

    // Bound to a method of an object: equal to every other binding of the same pair.
    template <class C, class M>
        requires std::is_member_function_pointer_v<M>
    Event(C* object, M method)
        : fn_([object, method](Args... args) -> R { return (object->*method)(std::forward<Args>(args)...); }),
          object_(object)
    {
        static_assert(sizeof(M) <= sizeof(code_));
        std::memcpy(code_, &method, sizeof(M));
    }

    // A free function: equal to every other binding of the same function.
    Event(R (*function)(Args...)) : fn_(function)
    {
        if (function)
            std::memcpy(code_, &function, sizeof function);
        else
            fn_ = nullptr;
    }

    // Any other callable (a lambda): equal only to copies of itself.
    template <class F>
        requires(!std::is_pointer_v<std::decay_t<F>> && !std::is_same_v<std::decay_t<F>, Event> &&
                 std::is_invocable_r_v<R, F&, Args...>)
    Event(F&& f) : fn_(std::forward<F>(f))
    {
        static std::atomic<std::uintptr_t> counter{0};
        code_[0] = ++counter;
        code_[1] = ~std::uintptr_t(0);
    }

    bool Assigned() const { return static_cast<bool>(fn_); }
    explicit operator bool() const { return Assigned(); }
    const void* Object() const { return object_; }

    R operator()(Args... args) const { return fn_(std::forward<Args>(args)...); }

    friend bool operator==(const Event& a, const Event& b)
    {
        if (!a.Assigned() || !b.Assigned())
            return a.Assigned() == b.Assigned();
        return a.object_ == b.object_ && std::memcmp(a.code_, b.code_, sizeof a.code_) == 0;
    }
    friend bool operator==(const Event& a, std::nullptr_t) { return !a.Assigned(); }

private:
    std::function<R(Args...)> fn_;
    const void* object_ = nullptr;
    std::uintptr_t code_[2] = {0, 0};
};

// Calls an event when it is assigned.
template <class E, class... Args>
void CallEvent(const E& event, Args&&... args)
{
    if (event.Assigned())
        event(std::forward<Args>(args)...);
}

// A list of handlers called in the order added. Adding an equal handler again keeps one entry.
// Calls are safe against changes made by the handlers themselves: the handlers present when a
// call starts are the candidates, each is called at most once, and one that was removed before
// its turn is not called. Handlers added during a call wait for the next call.
template <class Sig>
class MulticastEvent;

template <class... Args>
class MulticastEvent<void(Args...)> {
public:
    using Handler = Event<void(Args...)>;

    void Add(const Handler& h)
    {
        if (!h.Assigned() || IndexOf(h) >= 0)
            return;
        entries_.push_back({h, ++serial_});
    }
    void Remove(const Handler& h) { Delete(IndexOf(h)); }
    void Delete(int index)
    {
        if (index < 0 || index >= Count())
            return;
        entries_.erase(entries_.begin() + index);
    }
    int IndexOf(const Handler& h) const
    {
        for (int i = 0; i < Count(); ++i)
            if (entries_[i].handler == h)
                return i;
        return -1;
    }
    int Count() const { return static_cast<int>(entries_.size()); }
    const Handler& operator[](int index) const { return entries_[index].handler; }
    void Clear() { entries_.clear(); }

    void Call(Args... args)
    {
        std::vector<std::uint64_t> ids;
        ids.reserve(entries_.size());
        for (auto& e : entries_)
            ids.push_back(e.id);
        for (std::uint64_t id : ids) {
            Handler h;
            for (auto& e : entries_)
                if (e.id == id) {
                    h = e.handler;   // a copy: the handler may remove itself while it runs
                    break;
                }
            if (h.Assigned())
                h(args...);
        }
    }

private:
    struct Entry {
        Handler handler;
        std::uint64_t id;
    };
    std::vector<Entry> entries_;
    std::uint64_t serial_ = 0;
};

} // namespace rtl

#pragma once
// Set<E>: a set of enumeration values (up to 64), as the design's "set of" types.
#include <cstdint>
#include <initializer_list>

namespace rtl {

template <class E>
class Set {
public:
    constexpr Set() = default;
    constexpr Set(std::initializer_list<E> values)
    {
        for (E v : values)
            bits_ |= Bit(v);
    }
    constexpr bool Contains(E v) const { return (bits_ & Bit(v)) != 0; }
    constexpr Set& Include(E v) { bits_ |= Bit(v); return *this; }
    constexpr Set& Exclude(E v) { bits_ &= ~Bit(v); return *this; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr std::uint64_t Bits() const { return bits_; }
    constexpr Set operator+(Set o) const { Set r; r.bits_ = bits_ | o.bits_; return r; }
    constexpr Set operator-(Set o) const { Set r; r.bits_ = bits_ & ~o.bits_; return r; }
    constexpr Set operator*(Set o) const { Set r; r.bits_ = bits_ & o.bits_; return r; }
    friend constexpr bool operator==(Set a, Set b) = default;

private:
    static constexpr std::uint64_t Bit(E v) { return std::uint64_t(1) << static_cast<unsigned>(v); }
    std::uint64_t bits_ = 0;
};

} // namespace rtl

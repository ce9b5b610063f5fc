#pragma once
// A small set of enumeration values, for properties that hold several flags at once (font
// styles, grid options, shift states).  Values must lie in 0..63.
#include <cstdint>
#include <initializer_list>

template <typename E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(E e) : FBits(Bit(e)) {}
    constexpr TSet(std::initializer_list<E> items)
    {
        for (E e : items) FBits |= Bit(e);
    }

    constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr TSet& Include(E e) { FBits |= Bit(e); return *this; }
    constexpr TSet& Exclude(E e) { FBits &= ~Bit(e); return *this; }
    constexpr uint64_t Bits() const { return FBits; }
    static constexpr TSet FromBits(uint64_t b) { TSet s; s.FBits = b; return s; }

    friend constexpr TSet operator+(TSet a, TSet b) { return FromBits(a.FBits | b.FBits); }
    friend constexpr TSet operator-(TSet a, TSet b) { return FromBits(a.FBits & ~b.FBits); }
    friend constexpr TSet operator*(TSet a, TSet b) { return FromBits(a.FBits & b.FBits); }
    constexpr TSet& operator+=(TSet b) { FBits |= b.FBits; return *this; }
    constexpr TSet& operator-=(TSet b) { FBits &= ~b.FBits; return *this; }
    friend constexpr bool operator==(TSet a, TSet b) { return a.FBits == b.FBits; }

private:
    static constexpr uint64_t Bit(E e) { return uint64_t(1) << static_cast<unsigned>(e); }
    uint64_t FBits = 0;
};

// Digit sets: a 16-bit word in which bit d stands for digit d (1..9); bit 0 and bits 10..15
// are always clear. The filling's used digits and the deduction's candidate sets share it.
#pragma once

#include <array>
#include <bit>
#include <cstdint>

using TConjuntoDigitos = uint16_t;

inline constexpr TConjuntoDigitos CDominioCompleto = 0x03FE;

constexpr TConjuntoDigitos Bit(int32_t d) {
    return static_cast<TConjuntoDigitos>(1u << d);
}

// A table rather than std::popcount: without a popcnt instruction in the x86-64 baseline the
// compilers turn it into a library call or a long bit-twiddling sequence, and these counts
// sit in the innermost loops.
inline constexpr auto CBitsDoConjunto = [] {
    std::array<uint8_t, 1024> bits{};
    for (int m = 1; m < 1024; ++m)
        bits[m] = static_cast<uint8_t>(bits[m >> 1] + (m & 1));
    return bits;
}();

inline int32_t ContarBits(TConjuntoDigitos AConjunto) {
    return CBitsDoConjunto[AConjunto & 1023];
}

inline bool UmSoDigito(TConjuntoDigitos AConjunto) {
    return AConjunto != 0 && (AConjunto & (AConjunto - 1)) == 0;
}

// The smallest digit of a non-empty set (a single instruction, bsf or tzcnt).
inline int32_t MenorDigito(uint32_t AConjunto) {
    return std::countr_zero(AConjunto);
}

#pragma once

#include <cstdint>

struct TQuotRem {
  std::uint64_t Quot;
  std::uint64_t Rem;
};

// (A * B + C) / D with its remainder, exact where the product needs more than 64 bits, for any
// D > 0 whose quotient fits 64 bits. A 128-bit type where the compiler has one, plain
// long division otherwise (YAMARUKA_PORTABLE forces it).
TQuotRem MulAddDivMod(std::uint64_t A, std::uint64_t B, std::uint64_t C, std::uint64_t D);

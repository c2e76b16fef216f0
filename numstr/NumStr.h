#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace Detail {
constexpr std::array<std::int32_t, 46> MakeFibTable()
{
  std::array<std::int32_t, 46> Table{1, 1};
  for (std::size_t I = 2; I < Table.size(); ++I)
    Table[I] = Table[I - 1] + Table[I - 2];
  return Table;
}
} // namespace Detail

// 1, 1, 2, 3, 5, ...: index 0 is only the lower neighbour of index 1 while sizing a string.
inline constexpr std::array<std::int32_t, 46> FibTable = Detail::MakeFibTable();
static_assert(FibTable[44] == 1134903170 && FibTable[45] == 1836311903);

// Binary digits of N without leading zeros, left-padded with "0" to MinDigits; "" for 0.
// MinDigits of 255 overflows the digit counter.
std::string IntToBinStr(std::int32_t N, std::uint8_t MinDigits);

// Greedy (Zeckendorf) Fibonacci digits of N, most significant first; "0" for 0.
// Padded with leading "0" to MinDigits; a string longer than the table raises the range error.
std::string IntToFibStr(std::int32_t N, std::uint8_t MinDigits);

#include "numstr/NumStr.h"

#include "runtime/Checked.h"

namespace {
std::int32_t Fib(int Index)
{
  if (Index < 0 || Index >= static_cast<int>(FibTable.size()))
    throw ERangeError();
  return FibTable[static_cast<std::size_t>(Index)];
}
} // namespace

std::string IntToBinStr(std::int32_t N, std::uint8_t MinDigits)
{
  std::string Digits;
  std::uint8_t I = 1;
  auto Bits = static_cast<std::uint32_t>(N);
  while (I <= MinDigits || static_cast<std::int32_t>(Bits) > 0) {
    Digits.insert(Digits.begin(), static_cast<char>('0' + (Bits & 1U)));
    Bits >>= 1U;
    if (I == 255)
      throw EIntOverflow();
    ++I;
  }
  return Digits;
}

std::string IntToFibStr(std::int32_t N, std::uint8_t MinDigits)
{
  int B = MinDigits == 0 ? 1 : MinDigits;
  while (CheckedSub(N, Fib(B - 1)) >= Fib(B))
    ++B;

  std::string Digits;
  Digits.reserve(static_cast<std::size_t>(B));
  for (; B > 0; --B) {
    if (N >= Fib(B)) {
      Digits += '1';
      N -= Fib(B);
    } else {
      Digits += '0';
    }
  }
  return Digits;
}

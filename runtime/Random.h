#pragma once

#include <cstdint>

// The two forms of random draw the puzzle uses. The program has exactly one source, seeded
// once at start-up; tests substitute a scripted source to force every coin.
class TRandomSource {
public:
  virtual ~TRandomSource() = default;
  virtual void Seed(std::uint32_t Value) = 0;
  // Uniform integer in 0..N-1; N must be at least 1.
  virtual std::uint32_t Integer(std::uint32_t N) = 0;
  // Uniform real in [0, 1).
  virtual double Real() = 0;
};

// A small, fast generator (splitmix64): the same seed always gives the same sequence.
class TSeededRandom final : public TRandomSource {
public:
  explicit TSeededRandom(std::uint32_t SeedValue = 0) { Seed(SeedValue); }
  void Seed(std::uint32_t Value) override { State = Value; }
  std::uint32_t Integer(std::uint32_t N) override;
  double Real() override;

private:
  std::uint64_t Next();
  std::uint64_t State = 0;
};

// Milliseconds since midnight, UTC: the start-up seed.
std::uint32_t MillisecondsSinceMidnightUtc();

#pragma once

#include "runtime/Random.h"

#include <cstdint>
#include <functional>
#include <memory>

// A random source whose every answer the test decides.
class TScriptedRandom : public TRandomSource {
public:
  std::function<std::uint32_t(std::uint32_t)> OnInteger = [](std::uint32_t) { return 0U; };
  std::function<double()> OnReal = [] { return 0.0; };

  // Every answer from the program's own generator, seeded with Value: a fixed game that looks
  // like a real one.
  void Follow(std::uint32_t Value)
  {
    auto Generator = std::make_shared<TSeededRandom>(Value);
    OnInteger = [Generator](std::uint32_t N) { return Generator->Integer(N); };
    OnReal = [Generator] { return Generator->Real(); };
  }

  void Seed(std::uint32_t /*Value*/) override {}
  std::uint32_t Integer(std::uint32_t N) override { return OnInteger(N); }
  double Real() override { return OnReal(); }
};

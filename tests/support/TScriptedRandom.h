#pragma once

#include "runtime/Random.h"

#include <cstdint>
#include <functional>

// A random source whose every answer the test decides.
class TScriptedRandom : public TRandomSource {
public:
  std::function<std::uint32_t(std::uint32_t)> OnInteger = [](std::uint32_t) { return 0U; };
  std::function<double()> OnReal = [] { return 0.0; };

  void Seed(std::uint32_t /*Value*/) override {}
  std::uint32_t Integer(std::uint32_t N) override { return OnInteger(N); }
  double Real() override { return OnReal(); }
};

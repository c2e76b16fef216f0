#pragma once

#include <cstdint>

class TRandomSource;

// Base + 2 * Steps + a random 0..4; the range error when that passes 255.
std::uint8_t RiseHeight(TRandomSource& Random, std::uint8_t Steps, std::uint8_t Base);

// The mean of A and B moved at random by up to a fifth of their difference either way,
// rounded halves to even.
std::uint8_t MidHeight(TRandomSource& Random, std::uint8_t A, std::uint8_t B);

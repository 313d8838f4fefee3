#pragma once
// The program's pseudo-random generator for random-choice tags. Window-free.
#include <cstdint>
#include <random>

#include "templates/tag_some_of.h"

namespace snibbet {

class SeededRandom : public RandomSource {
 public:
  explicit SeededRandom(std::uint64_t seed) : engine_(seed) {}
  int RandomBelow(int count) override;

 private:
  std::mt19937_64 engine_;
};

// The process-wide generator, seeded from the system clock once, on first use.
RandomSource& ProgramRandom();

}  // namespace snibbet

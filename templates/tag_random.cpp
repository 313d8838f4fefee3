#include "templates/tag_random.h"

#include <chrono>

namespace snibbet {

int SeededRandom::RandomBelow(int count) {
  if (count <= 1) return 0;
  std::uniform_int_distribution<int> pick(0, count - 1);
  return pick(engine_);
}

RandomSource& ProgramRandom() {
  static SeededRandom random(
      static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
  return random;
}

}  // namespace snibbet

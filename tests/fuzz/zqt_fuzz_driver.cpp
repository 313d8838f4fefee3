// Runs a libFuzzer target without libFuzzer (g++, MinGW): every file of the
// seed corpus, then random changes of them (bit flips, cut-offs, inserted and
// deleted bytes, lengths set to edge values) for a given time, from a fixed
// seed so that a failure repeats.
//   zqt_reader_fuzz_run CORPUS_FOLDER [SECONDS]
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

std::vector<std::string> ReadCorpus(const std::filesystem::path& folder) {
  std::vector<std::string> seeds;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return seeds;
}

void Run(const std::string& input) {
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
}

std::string Mutate(std::string input, std::mt19937& random) {
  const int changes = 1 + static_cast<int>(random() % 4);
  for (int i = 0; i < changes; ++i) {
    const std::size_t at = input.empty() ? 0 : random() % input.size();
    switch (random() % 6) {
      case 0:
        if (!input.empty()) input[at] = static_cast<char>(input[at] ^ (1 << (random() % 8)));
        break;
      case 1:
        input.resize(at);
        break;
      case 2:
        input.insert(at, 1, static_cast<char>(random()));
        break;
      case 3:
        if (!input.empty()) input.erase(at, 1 + random() % 4);
        break;
      case 4: {  // a 16- or 32-bit field set to an edge value
        static const uint32_t edges[] = {0, 1, 0x7F, 0x80, 0xFF, 0x400, 0x401, 0xFFFF, 0x10000, 0x7FFFFFFF, 0xFFFFFFFF};
        const uint32_t value = edges[random() % std::size(edges)];
        for (int b = 0; b < 4 && at + b < input.size(); ++b) input[at + b] = static_cast<char>(value >> (8 * b));
        break;
      }
      default:
        input.append(input.substr(at, random() % 64));  // a stretch repeated at the end
        break;
    }
  }
  return input;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s CORPUS_FOLDER [SECONDS]\n", argv[0]);
    return 2;
  }
  const std::vector<std::string> seeds = ReadCorpus(argv[1]);
  if (seeds.empty()) {
    std::fprintf(stderr, "no seeds in %s\n", argv[1]);
    return 2;
  }
  const double seconds = argc > 2 ? std::atof(argv[2]) : 5.0;
  for (const std::string& seed : seeds) Run(seed);

  std::mt19937 random(20240601);
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  long runs = 0;
  while (std::chrono::steady_clock::now() < end) {
    Run(Mutate(seeds[random() % seeds.size()], random));
    ++runs;
  }
  std::printf("%zu seeds, %ld changed inputs, no failure\n", seeds.size(), runs);
  return 0;
}

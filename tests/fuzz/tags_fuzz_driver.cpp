// Runs a libFuzzer-style target without libFuzzer (for compilers that lack it):
// every file of the corpus folders, then a fixed number of mutations of them.
// The run is repeatable: the same seed gives the same inputs.
//   tags_expander_fuzz [-runs=N] [-seed=S] [-dict=FILE] [-dump=FILE] CORPUS_DIR...
// -dump writes each input to FILE before it runs, to keep the one that fails.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

using Input = std::string;

struct Options {
  long runs = 10000;
  unsigned seed = 1;
  std::string dict;
  std::string dump;
  std::vector<std::string> corpus;
};

Options ParseArguments(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind("-runs=", 0) == 0) o.runs = std::atol(arg.c_str() + 6);
    else if (arg.rfind("-seed=", 0) == 0) o.seed = static_cast<unsigned>(std::atol(arg.c_str() + 6));
    else if (arg.rfind("-dict=", 0) == 0) o.dict = arg.substr(6);
    else if (arg.rfind("-dump=", 0) == 0) o.dump = arg.substr(6);
    else o.corpus.push_back(arg);
  }
  return o;
}

Input ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Input(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The quoted entries of a libFuzzer dictionary, with \\, \" and \xHH escapes.
std::vector<Input> ReadDictionary(const std::string& path) {
  std::vector<Input> words;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    const std::size_t open = line.find('"');
    const std::size_t close = line.rfind('"');
    if (line.empty() || line[0] == '#' || open == std::string::npos || close <= open) continue;
    Input word;
    for (std::size_t i = open + 1; i < close; ++i) {
      if (line[i] == '\\' && i + 1 < close && line[i + 1] == 'x' && i + 3 < close) {
        word.push_back(static_cast<char>(std::stoi(line.substr(i + 2, 2), nullptr, 16)));
        i += 3;
      } else if (line[i] == '\\' && i + 1 < close) {
        word.push_back(line[++i]);
      } else {
        word.push_back(line[i]);
      }
    }
    words.push_back(word);
  }
  return words;
}

class Mutator {
 public:
  Mutator(unsigned seed, std::vector<Input> words) : random_(seed), words_(std::move(words)) {}

  Input Mutate(Input input, const std::vector<Input>& corpus) {
    const int steps = 1 + Below(4);
    for (int i = 0; i < steps; ++i) Step(input, corpus);
    return input;
  }

 private:
  int Below(std::size_t n) { return n == 0 ? 0 : static_cast<int>(random_() % n); }

  void Step(Input& s, const std::vector<Input>& corpus) {
    const std::size_t at = static_cast<std::size_t>(Below(s.size() + 1));
    switch (Below(6)) {
      case 0:
        if (!words_.empty()) s.insert(at, words_[static_cast<std::size_t>(Below(words_.size()))]);
        break;
      case 1:
        if (!s.empty()) s[std::min(at, s.size() - 1)] ^= static_cast<char>(1 << Below(8));
        break;
      case 2: s.insert(at, 1, static_cast<char>(Below(256))); break;
      case 3: s.erase(at, static_cast<std::size_t>(Below(16))); break;
      case 4: s.insert(at, s.substr(static_cast<std::size_t>(Below(s.size() + 1)), static_cast<std::size_t>(Below(64)))); break;
      default: {
        const Input& other = corpus[static_cast<std::size_t>(Below(corpus.size()))];
        s.insert(at, other.substr(static_cast<std::size_t>(Below(other.size() + 1))));
        break;
      }
    }
    if (s.size() > 8192) s.resize(8192);
  }

  std::mt19937 random_;
  std::vector<Input> words_;
};

void RunOne(const Input& input, const std::string& dump) {
  if (!dump.empty()) std::ofstream(dump, std::ios::binary | std::ios::trunc) << input;
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = ParseArguments(argc, argv);
  std::vector<Input> corpus;
  for (const std::string& folder : options.corpus) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      if (entry.is_regular_file()) corpus.push_back(ReadWhole(entry.path()));
    }
  }
  if (corpus.empty()) {
    std::cerr << "no corpus files\n";
    return 1;
  }
  for (const Input& input : corpus) RunOne(input, options.dump);
  Mutator mutator(options.seed, options.dict.empty() ? std::vector<Input>{} : ReadDictionary(options.dict));
  for (long run = 0; run < options.runs; ++run) {
    const Input& base = corpus[static_cast<std::size_t>(run) % corpus.size()];
    RunOne(mutator.Mutate(base, corpus), options.dump);
  }
  std::cout << corpus.size() << " corpus inputs and " << options.runs << " mutations ran\n";
  return 0;
}

// Without libFuzzer: replays the seed corpus and a bounded number of
// random inputs (mutations of the seeds) through the same target.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  std::vector<std::string> seeds;
  for (int i = 1; i < argc; ++i) {
    for (const auto& entry : std::filesystem::directory_iterator(argv[i])) {
      std::ifstream file(entry.path(), std::ios::binary);
      seeds.emplace_back(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
  }
  if (seeds.empty()) seeds.push_back("\x05GET / HTTP/1.1\r\n\r\n");
  for (const std::string& seed : seeds)
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(seed.data()), seed.size());
  std::mt19937 random(12345);
  for (int run = 0; run < 200000; ++run) {
    std::string input = seeds[random() % seeds.size()];
    int edits = 1 + random() % 8;
    for (int e = 0; e < edits && !input.empty(); ++e) {
      std::size_t at = random() % input.size();
      switch (random() % 3) {
        case 0: input[at] = static_cast<char>(random()); break;
        case 1: input.insert(at, 1, static_cast<char>(random())); break;
        default: input.erase(at, 1); break;
      }
    }
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
  }
  std::puts("replayed");
  return 0;
}

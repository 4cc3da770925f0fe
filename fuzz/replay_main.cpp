// Runs the fuzz harness on the files it is given, so any compiler's build can replay the corpus
// and the inputs the fuzzer once found.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

#include "fuzz_target.hpp"

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    std::ifstream file(argv[i], std::ios::binary);
    if (!file) {
      std::fprintf(stderr, "cannot read %s\n", argv[i]);
      return 1;
    }
    std::ostringstream contents;
    contents << file.rdbuf();
    const std::string bytes = std::move(contents).str();
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  std::printf("replayed %d input(s)\n", argc - 1);
  return 0;
}

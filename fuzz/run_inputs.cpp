// Runs the fuzz target once on each file named, or in a directory named,
// without libFuzzer: the seed corpus as a test of any build.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void RunFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    std::cerr << path.string() << ": cannot be read\n";
    std::exit(1);
  }
  const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t count = 0;
  for (int i = 1; i < argc; ++i) {
    std::vector<std::filesystem::path> paths;
    if (std::filesystem::is_directory(argv[i])) {
      for (const auto& entry : std::filesystem::directory_iterator(argv[i])) {
        paths.push_back(entry.path());
      }
    } else {
      paths.emplace_back(argv[i]);
    }
    for (const auto& path : paths) {
      RunFile(path);
      ++count;
    }
  }
  std::cout << count << " inputs, all converted as the reference converts them\n";
  // No inputs at all would pass without testing anything.
  return count > 0 ? 0 : 1;
}

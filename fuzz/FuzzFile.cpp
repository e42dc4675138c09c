// The input file of the path-taking targets. The folder goes when the process ends normally;
// a crash leaves it in the temporary folder, next to libFuzzer's own crash file.
#include "FuzzFile.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>

namespace plx::fuzz {
namespace {

struct Folder {
  Folder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "plovex-fuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    path = pattern;
  }
  ~Folder() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  std::filesystem::path path;
};

}  // namespace

const std::filesystem::path& WriteInputFile(const uint8_t* data, size_t size,
                                            const char* extension) {
  static Folder folder;
  static std::filesystem::path file;
  file = folder.path / (std::string("input") + extension);
  std::FILE* out = std::fopen(file.c_str(), "wb");
  if (!out) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, out) != size) std::abort();
  if (std::fclose(out) != 0) std::abort();
  return file;
}

}  // namespace plx::fuzz

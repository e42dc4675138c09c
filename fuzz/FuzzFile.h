// A file of the fuzz input for readers that take a path: one per process, in a private
// temporary folder, rewritten for each input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace plx::fuzz {

// The file's path after it was written with the data; aborts when it cannot be written (the
// run would test nothing).
const std::filesystem::path& WriteInputFile(const uint8_t* data, size_t size,
                                            const char* extension);

}  // namespace plx::fuzz

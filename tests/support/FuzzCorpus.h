#pragma once
// Walks a fuzz target's saved inputs (its corpus and crashers folders under fuzz/), so every
// input a fuzzer kept replays as an ordinary test.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>
#include <vector>

namespace kestrel::testing {

// Calls `replay` with each regular, non-hidden file of fuzz/<target>/corpus and
// fuzz/<target>/crashers and its bytes; returns how many inputs were replayed.
int ReplayFuzzInputs(std::string_view target,
                     const std::function<void(const std::filesystem::path&, std::vector<std::uint8_t>&)>& replay);

}  // namespace kestrel::testing

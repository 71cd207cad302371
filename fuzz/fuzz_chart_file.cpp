// SPDX-License-Identifier: GPL-3.0-or-later
// A chart file of any bytes under any file name, loaded for person 1 and for person 2:
// no crash, and a failed load changes nothing of the chart state.
#include <cstdint>
#include <cstring>
#include <string>

#include "app/chart_file.h"
#include "fuzz/fuzz_harness.h"

using namespace duoskop;

namespace {

bool same_state(const ChartState& a, const ChartState& b)
{
    return a.person1 == b.person1 && a.person2 == b.person2 &&
           std::memcmp(a.pos1.data(), b.pos1.data(), sizeof a.pos1) == 0 &&
           std::memcmp(a.pos2.data(), b.pos2.data(), sizeof a.pos2) == 0 &&
           std::memcmp(a.axes.axis_value.data(), b.axes.axis_value.data(), sizeof a.axes.axis_value) == 0 &&
           a.axes.axis_name == b.axes.axis_name;
}

}  // namespace

// Input: one byte n, then n bytes of file name (a '/' or NUL ends it), then the file's content.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const std::size_t n = std::min<std::size_t>(data[0], size - 1);
    std::string name(reinterpret_cast<const char*>(data + 1), n);
    name = name.substr(0, name.find_first_of(std::string("/\0", 2)));
    if (name.empty() || name == "." || name == "..") name = "chart";
    const std::string content(reinterpret_cast<const char*>(data + 1 + n), size - 1 - n);

    const auto path = fuzzing::scratch_dir() / name;
    fuzzing::write_file(path, content);
    for (int person : {1, 2}) {
        ChartState state;
        state.person1.name = "Vorher";
        state.pos2[5] = 12.5;
        const ChartState before = state;
        const LoadResult result = holen(path.string(), person, state);
        if (result.outcome != LoadOutcome::loaded) {
            fuzzing::require(same_state(state, before));
            fuzzing::require(!result.message.empty());
        }
    }
    std::filesystem::remove(path);
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as what the dial takes from outside: a result entry, a list of codes given on the
// command line, and label positions of any value. Nothing fails, and every shown label stands on
// the dial, at least the gap apart when all positions are numbers.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "dialview/dial_view.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace duoskop;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Positions pos{};
    for (std::size_t i = 0; i < pos.size(); ++i) pos[i] = 15.0 * static_cast<double>(i);
    if (const auto picture = entry_picture(text, {1, 2, 1, 2}, pos, pos)) {
        if (!(picture->axis >= 0 && picture->axis < dial_span)) std::abort();
    }
    if (const auto codes = parse_code_list(text)) {
        for (const std::uint8_t body : *codes)
            if (body >= compared_bodies) std::abort();
    }

    // The bytes as doubles: the first is the gap, the rest are label positions.
    std::vector<double> numbers(size / sizeof(double));
    if (!numbers.empty()) std::memcpy(numbers.data(), data, numbers.size() * sizeof(double));
    if (numbers.size() < 2 || numbers.size() > 64) return 0;
    const double gap = numbers.front();
    const std::vector<double> positions(numbers.begin() + 1, numbers.end());
    const std::vector<double> shown = spread_labels(positions, gap);
    if (shown.size() != positions.size()) std::abort();
    // Gaps far below a pixel are left to the rounding of positions near 22.5.
    bool all_numbers = std::isfinite(gap) && gap >= 1e-6;
    for (const double p : positions) all_numbers = all_numbers && std::isfinite(p) && std::fabs(p) < 1e6;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (!(shown[i] >= 0 && shown[i] < dial_span)) std::abort();
        if (!all_numbers) continue;
        const double g = std::fmin(gap, dial_span / static_cast<double>(shown.size()));
        for (std::size_t j = i + 1; j < shown.size(); ++j) {
            const double d = std::fabs(shown[i] - shown[j]);
            if (std::fmin(d, dial_span - d) < g * (1 - 1e-6)) std::abort();
        }
    }
    return 0;
}

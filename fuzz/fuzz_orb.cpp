// SPDX-License-Identifier: GPL-3.0-or-later
// Any text typed into an orb field: read_orb never fails, a text it accepts is a finite number,
// and where the text holds only number characters it reads exactly what C's strtod reads in the
// C locale (the harness runs in it), value and acceptance alike.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "app/orb.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const duoskop::OrbReading reading = duoskop::read_orb(text);
    if (!std::isfinite(reading.value)) std::abort();
    if (reading.ok && text.empty()) std::abort();

    // The reference: the second character made a point, then strtod, for texts of the characters
    // the orb grammar knows (strtod alone would also take hex, "inf", tabs and the like).
    std::string field(text.substr(0, 255));
    if (field.size() >= 2) field[1] = '.';
    if (field.find_first_not_of(" +-0123456789.eE") != std::string::npos) return 0;
    char* end = nullptr;
    double expected = std::strtod(field.c_str(), &end);
    const bool whole = !field.empty() && end == field.c_str() + field.size();
    const bool expected_ok = whole && std::isfinite(expected);
    if (!std::isfinite(expected)) expected = 0;
    if (reading.ok != expected_ok) std::abort();
    if (std::memcmp(&reading.value, &expected, sizeof expected) != 0) std::abort();
    return 0;
}

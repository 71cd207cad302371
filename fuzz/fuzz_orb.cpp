// SPDX-License-Identifier: GPL-3.0-or-later
// Any text typed into an orb field: read_orb never fails, and a text it accepts is a finite number.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/orb.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const duoskop::OrbReading reading = duoskop::read_orb(text);
    if (!std::isfinite(reading.value)) std::abort();
    if (reading.ok && text.empty()) std::abort();
    return 0;
}

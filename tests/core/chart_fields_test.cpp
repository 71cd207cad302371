// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "app/chart_fields.h"

using namespace duoskop;

TEST(ChartFields, NormalisesGoodInputAndRefusesBadInput)
{
    using Field = std::function<std::optional<std::string>(std::string_view)>;
    const Field date = date_field;
    const Field time = time_field;
    const Field longitude = [](std::string_view t) { return coordinate_field(t, 3, 180); };
    const Field latitude = [](std::string_view t) { return coordinate_field(t, 2, 90); };
    const std::nullopt_t refused = std::nullopt;
    const struct {
        const Field& field;
        const char* input;
        std::optional<std::string> expected;
    } cases[] = {
        // Real calendar dates only.
        {date, "1.5.1960", "01.05.1960"}, {date, "29.02.2000", "29.02.2000"}, {date, "29.02.1900", refused},
        {date, "31.04.1960", refused}, {date, "0.1.1960", refused}, {date, "1.13.1960", refused},
        {date, "1.5.60", refused}, {date, "-1.5.1960", refused}, {date, "+1.5.1960", refused},
        // Times of day.
        {time, "6:30", "06:30:00"}, {time, "23:59:59", "23:59:59"}, {time, "24:00:00", refused},
        {time, "12:60", refused}, {time, "12:-1:00", refused}, {time, "12", refused},
        // Coordinates in degrees-minutes-seconds or as decimal degrees.
        {longitude, "+008 30 00", "+008 30 00"}, {longitude, "8.5", "+008 30 00"},
        {longitude, "-8,5", "-008 30 00"}, {latitude, "53.55", "+53 33 00"}, {latitude, "-0.0", "+00 00 00"},
        {latitude, "90.01", refused}, {longitude, "181 00 00", refused}, {longitude, "8 60 00", refused},
        {longitude, "1e2", refused},
        // A second sign inside a part is no number (a fuzzer found "+-3 33 00" accepted).
        {latitude, "+-3 33 00", refused}, {latitude, "3 -33 00", refused},
    };
    for (const auto& c : cases) EXPECT_EQ(c.field(c.input), c.expected) << c.input;
}

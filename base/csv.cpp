// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/csv.h"

namespace duoskop {

std::string csv_field(std::string_view field)
{
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(field);
    std::string quoted = "\"";
    for (const char c : field) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string csv_row(const std::vector<std::string>& fields)
{
    std::string row;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) row += ',';
        row += csv_field(fields[i]);
    }
    return row + "\r\n";
}

}  // namespace duoskop

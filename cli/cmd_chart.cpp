// SPDX-License-Identifier: GPL-3.0-or-later
// chart: loads each chart file as the program does and shows what it read and computed.
#include <charconv>
#include <cstdio>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "app/chart_file.h"
#include "base/cp1252.h"
#include "app/dial.h"
#include "astro/un_math.h"
#include "cli/cli.h"
#include "cli/options.h"
#include "precise/precise_positions.h"

namespace duoskop::cli {

namespace {

// The seven fields, then per body its code, its longitude within the sign and its dial position.
void print_table(const std::string& path, const ChartState& state)
{
    const chart_record& r = state.person1;
    const std::pair<const char*, const std::string*> fields[] = {
        {"Name", &r.name},           {"Vorname", &r.first_name},     {"Datum", &r.date},
        {"Zeit", &r.time},           {"Zusatz", &r.extra},           {"L\u00E4nge", &r.longitude_text},
        {"Breite", &r.latitude_text},
    };
    std::printf("Datei    %s\n", valid_utf8(path).c_str());
    for (const auto& [label, value] : fields) {
        // Labels padded to 9 columns as the terminal shows them (the umlaut is one column).
        const std::string l = label;
        const std::size_t columns = l == "L\u00E4nge" ? 5 : l.size();
        std::printf("%s%*s%s\n", label, static_cast<int>(9 - columns), "", terminal_text(*value).c_str());
    }
    std::printf("\n     L\u00E4nge        22,5\u00B0\n");
    for (int b = 0; b <= 22; ++b) {
        const double lambda = state.pos1[static_cast<std::size_t>(b)];
        const std::string sign_position = angle_text(2, 30, lambda) + " " + sign_text(lambda);
        std::printf("%s   %s   %s\n", std::string(body_codes[static_cast<std::size_t>(b)]).c_str(),
                    terminal_text(sign_position).c_str(), terminal_text(angle_text(2, 22, lambda)).c_str());
    }
}

// The 24 values of `positions` in body_codes order, 17 significant digits as C's "%.17g" writes
// them but always with a '.', one blank between them.
void print_raw(const Positions& positions)
{
    std::string line;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        char digits[32];
        const auto written = std::to_chars(digits, std::end(digits), positions[i], std::chars_format::general, 17);
        if (i > 0) line += ' ';
        line.append(digits, written.ptr);
    }
    std::printf("%s\n", line.c_str());
}

}  // namespace

constexpr OptionRule chart_rule_table[] = {{"--raw"}, {precise_option}, {"--drive-c", 1}};
constinit const std::span<const OptionRule> chart_rules = chart_rule_table;

int cmd_chart(const Args& args)
{
    const ReadOptions o = read_options(args, chart_rules);
    if (!o.ok() || o.positionals.empty()) return usage("chart");
    const bool raw = o.has("--raw");
    const PositionSource source = o.has(precise_option) ? PositionSource::precise : PositionSource::theory;
    const std::vector<std::string>& files = o.positionals;
    const DriveC drive = DriveC::locate(o.value("--drive-c"));

    for (std::size_t k = 0; k < files.size(); ++k) {
        ChartState state;
        const std::string path = chart_file_path(files[k], drive);
        const LoadResult result = holen(path, 1, state, source);
        if (result.outcome != LoadOutcome::loaded) {
            std::fflush(stdout);
            std::fprintf(stderr, "%s\n", terminal_text(result.message).c_str());
            return 1;
        }
        if (raw) {
            print_raw(state.positions);
        } else {
            if (k > 0) std::printf("\n");
            print_table(path, state);
        }
    }
    return 0;
}

}  // namespace duoskop::cli

// SPDX-License-Identifier: GPL-3.0-or-later
// rank: one person against every partner chart under the given paths, best first.
#include <algorithm>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "app/chart_file.h"
#include "base/cp1252.h"
#include "base/file_writer.h"
#include "base/texts.h"
#include "cli/cli.h"
#include "cli/options.h"
#include "ranking/rank_table.h"
#include "ranking/ranking.h"

namespace duoskop::cli {

constexpr OptionRule rank_rule_table[] = {{"--double", 1}, {"--simple", 1},      {"--top", 1},
                                          {"--csv", 1},    {"--time-window", 1}, {"--drive-c", 1}};
constinit const std::span<const OptionRule> rank_rules = rank_rule_table;

namespace {

struct RankOptionsCli {
    std::vector<std::string> paths;  // P1, then the partner paths
    std::optional<double> orb_double;
    std::optional<double> orb_simple;
    std::size_t top = std::numeric_limits<std::size_t>::max();
    std::optional<std::string> csv;
    std::optional<TimeWindow> time_window;
    std::optional<std::string> drive_dir;
};

std::optional<std::size_t> parse_count(const std::string& text)
{
    const auto value = parse_whole(text, 1, std::numeric_limits<long long>::max());
    if (!value) return std::nullopt;
    return static_cast<std::size_t>(*value);
}

bool parse_rank_options(const Args& args, RankOptionsCli& options)
{
    const ReadOptions o = read_options(args, rank_rules);
    if (!o.ok()) return false;
    options.paths = o.positionals;
    for (const std::string& v : o.each("--double"))
        if (!(options.orb_double = parse_orb(v))) return false;
    for (const std::string& v : o.each("--simple"))
        if (!(options.orb_simple = parse_orb(v))) return false;
    for (const std::string& v : o.each("--top")) {
        const auto top = parse_count(v);
        if (!top) return false;
        options.top = *top;
    }
    for (const std::string& v : o.each("--time-window"))
        if (!(options.time_window = parse_time_window(v))) return false;
    options.csv = o.value("--csv");
    options.drive_dir = o.value("--drive-c");
    return options.paths.size() >= 2 && options.orb_double && options.orb_simple;
}

}  // namespace

int cmd_rank(const Args& args)
{
    RankOptionsCli options;
    if (!parse_rank_options(args, options)) return usage("rank");
    // A relative name not found from the working folder is looked up in drive C, as chart does.
    const DriveC drive = DriveC::locate(options.drive_dir);
    for (std::string& path : options.paths) path = chart_file_path(path, drive);

    const std::string& person1_path = options.paths.front();
    ChartState person1;
    if (const LoadResult loaded = holen(person1_path, 1, person1); loaded.outcome != LoadOutcome::loaded) {
        std::fprintf(stderr, "%s: %s\n", valid_utf8(person1_path).c_str(), terminal_text(loaded.message).c_str());
        return 1;
    }

    PartnerFiles partners = find_partner_files({options.paths.begin() + 1, options.paths.end()}, person1_path);
    std::vector<RankProblem>& problems = partners.problems;
    const Orbs orbs{*options.orb_double, *options.orb_simple, 0};
    RankOptions rank_options;
    rank_options.time_window = options.time_window;
    const Ranking ranking = rank_partners(person1, partners.files, orbs, rank_options);
    problems.insert(problems.end(), ranking.problems.begin(), ranking.problems.end());
    std::stable_sort(problems.begin(), problems.end(),
                     [](const RankProblem& a, const RankProblem& b) { return a.path < b.path; });
    for (const RankProblem& p : problems)
        std::fprintf(stderr, "%s: %s\n", valid_utf8(p.path).c_str(), terminal_text(p.message).c_str());

    const std::vector<RankRow> rows = rank_rows(ranking.entries, options.top);
    for (const RankRow& row : rows) std::printf("%s\n", tab_line(row).c_str());
    std::fflush(stdout);

    int status = 0;
    if (options.csv) {
        const WriteResult written = write_file_whole(*options.csv, rank_csv(rows));
        if (!written.ok()) {
            std::fprintf(stderr, "duoskop-cli: %s: %s\n", valid_utf8(*options.csv).c_str(),
                         terminal_text(written.message()).c_str());
            status = 1;
        }
    }
    if (ranking.entries.empty()) {
        std::fprintf(stderr, "duoskop-cli: %s\n", cp1252_to_utf8(texts::kRankNoPartner).c_str());
        status = 1;
    }
    return status;
}

}  // namespace duoskop::cli

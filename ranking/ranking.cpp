// SPDX-License-Identifier: GPL-3.0-or-later
#include "ranking/ranking.h"

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <optional>
#include <set>
#include <string_view>
#include <thread>
#include <utility>
#include <variant>

#include "analysis/comparisons.h"
#include "app/chart_file.h"
#include "base/cp1252.h"
#include "base/io_error.h"

namespace duoskop {

namespace fs = std::filesystem;

namespace {

// The entry of the MC-AS list that every pair with a positive orb has: MC/AS of either person
// lies on its own midpoint, and the counterpart pair of AS is MC/AS again.
constexpr std::string_view kEveryPairsListEntry = "MC/AS=MC/AS";

// How many files a worker does between two progress reports.
constexpr std::size_t kProgressStep = 16;

bool hidden(const fs::path& p)
{
    const std::string name = p.filename().string();
    return !name.empty() && name[0] == '.';
}

RankProblem io_problem(const fs::path& p, const std::error_code& ec)
{
    return {p.string(), io_error_text(ec.value())};
}

// Adds every regular file under `folder` to `found`; symbolic links to folders are not followed,
// so that a link back up cannot make the walk endless.
void walk(const fs::path& folder, std::vector<std::string>& found, std::vector<RankProblem>& problems)
{
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) {
        problems.push_back(io_problem(folder, ec));
        return;
    }
    std::vector<fs::path> subfolders;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        const fs::directory_entry& entry = *it;
        if (hidden(entry.path())) continue;
        std::error_code type_ec;
        if (entry.is_directory(type_ec) && !entry.is_symlink(type_ec))
            subfolders.push_back(entry.path());
        else if (entry.is_regular_file(type_ec))
            found.push_back(entry.path().string());
    }
    if (ec) problems.push_back(io_problem(folder, ec));
    for (const fs::path& sub : subfolders) walk(sub, found, problems);
}

// The identity of a file (device and inode), or nothing when it cannot be found.
std::optional<std::pair<dev_t, ino_t>> identity(const std::string& path)
{
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0) return std::nullopt;
    return std::pair{info.st_dev, info.st_ino};
}

// What became of one file; nothing while it is not done.
using Outcome = std::variant<std::monostate, RankEntry, RankProblem>;

}  // namespace

PartnerFiles find_partner_files(const std::vector<std::string>& paths, const std::string& person1_path)
{
    PartnerFiles partners;
    std::vector<std::string> found;
    for (const std::string& p : paths) {
        std::error_code ec;
        if (fs::is_directory(p, ec)) walk(p, found, partners.problems);
        else found.push_back(p);
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    const auto self = identity(person1_path);
    std::set<std::pair<dev_t, ino_t>> seen;
    partners.files.reserve(found.size());
    for (std::string& f : found) {
        // A file that cannot be looked at stays in: its load says what is wrong.
        const auto id = identity(f);
        if (id && id == self) {
            ++partners.person1_skipped;
            continue;
        }
        if (id && !seen.insert(*id).second) continue;
        partners.files.push_back(std::move(f));
    }
    std::sort(partners.problems.begin(), partners.problems.end(),
              [](const RankProblem& a, const RankProblem& b) { return a.path < b.path; });
    return partners;
}

RankEntry count_entries(const ChartState& pair, const Orbs& orbs, const std::optional<TimeWindow>& time_window,
                        PositionSource source)
{
    FirstTimeFlags flags;
    HalfsumCount halfsum_count{};
    RankEntry entry;
    entry.name = pair.person2.name;
    entry.first_name = pair.person2.first_name;
    entry.birth_date = pair.person2.date;
    std::vector<std::string> doubles = double_complements(pair, orbs, flags).entries;
    std::vector<std::string> simples = simple_complements(pair, orbs, flags, halfsum_count).entries;
    std::vector<std::string> list = mc_as_list(pair, orbs).entries;
    std::erase(list, std::string(kEveryPairsListEntry));
    entry.d = static_cast<std::uint32_t>(doubles.size());
    entry.e = static_cast<std::uint32_t>(simples.size());
    entry.l = static_cast<std::uint32_t>(list.size());
    if (time_window) {
        // The workers already use both cores: the probe of one pair runs on the calling thread.
        const ProbeTarget targets[] = {{Comparison::doubles, std::move(doubles)},
                                       {Comparison::simples, std::move(simples)},
                                       {Comparison::list, std::move(list)}};
        std::uint32_t fest = 0;
        for (const auto& stabilities : time_probe(targets, pair, orbs, *time_window, ProbeOptions{1, source, nullptr}))
            for (const EntryStability& s : stabilities) fest += holds_over(s, *time_window) ? 1 : 0;
        entry.f = fest;
    }
    return entry;
}

Ranking rank_partners(const ChartState& person1, const std::vector<std::string>& files, const Orbs& orbs,
                      const RankOptions& options)
{
    // Each worker writes only the outcomes of its own files (every threads-th one).
    std::vector<Outcome> outcomes(files.size());
    std::atomic<std::size_t> done{0};
    const unsigned threads = std::max(1u, options.threads);

    const auto work = [&](unsigned first) {
        ChartState chart = person1;  // the worker's own state: person 1 stays, person 2 changes
        std::size_t since_report = 0;
        for (std::size_t i = first; i < files.size(); i += threads) {
            if (options.stop.stop_requested()) break;
            const std::string& path = files[i];
            if (const LoadResult loaded = holen(path, 2, chart, options.source); loaded.outcome != LoadOutcome::loaded) {
                outcomes[i] = RankProblem{path, loaded.message};
            } else {
                RankEntry entry = count_entries(chart, orbs, options.time_window, options.source);
                entry.path = path;
                outcomes[i] = std::move(entry);
            }
            const std::size_t now = done.fetch_add(1, std::memory_order_relaxed) + 1;
            if (options.progress && ++since_report == kProgressStep) {
                since_report = 0;
                options.progress(now);
            }
        }
        if (options.progress) options.progress(done.load(std::memory_order_relaxed));
    };

    if (threads == 1 || files.size() < 2) {
        work(0);
    } else {
        std::vector<std::jthread> workers;
        for (unsigned t = 1; t < threads; ++t) workers.emplace_back(work, t);
        work(0);
    }  // the workers are joined here

    Ranking ranking;
    for (Outcome& outcome : outcomes) {
        if (auto* entry = std::get_if<RankEntry>(&outcome)) ranking.entries.push_back(std::move(*entry));
        else if (auto* problem = std::get_if<RankProblem>(&outcome)) ranking.problems.push_back(std::move(*problem));
        else ranking.cancelled = true;
    }
    std::sort(ranking.entries.begin(), ranking.entries.end(), [](const RankEntry& a, const RankEntry& b) {
        if (a.s() != b.s()) return a.s() > b.s();
        return a.path < b.path;
    });
    return ranking;
}

std::vector<std::size_t> rank_numbers(const std::vector<RankEntry>& entries)
{
    std::vector<std::size_t> ranks(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        ranks[i] = i > 0 && entries[i].s() == entries[i - 1].s() ? ranks[i - 1] : i + 1;
    return ranks;
}

}  // namespace duoskop

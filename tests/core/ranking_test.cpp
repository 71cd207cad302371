// SPDX-License-Identifier: GPL-3.0-or-later
// The partner ranking: finding the partner files, the counts against what compare lists, order and
// ties, broken files, person 1 among the partners, cancelling, and duoskop-cli rank with its CSV.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "app/chart_file.h"
#include "ranking/rank_table.h"
#include "ranking/ranking.h"
#include "tests/core/test_support.h"

using namespace duoskop;
namespace fs = std::filesystem;
using test_support::CliRun;
using test_support::run_cli;
using test_support::slurp;
using test_support::TempDir;

namespace {

std::string sample(const std::string& name)
{
    return std::string(DUOSKOP_SOURCE_DRIVE_C) + "/astro/daten/" + name + ".dat";
}

chart_record sample_record(const std::string& name)
{
    const std::string bytes = slurp(sample(name));
    return read_chart_record(std::span<const unsigned char, chart_record_size>(
        reinterpret_cast<const unsigned char*>(bytes.data()), chart_record_size));
}

/// The sample chart `name` under another person's name (same birth data, so the same counts).
std::string renamed(const std::string& name, const std::string& new_name)
{
    chart_record record = sample_record(name);
    record.name = new_name;
    return chart_record_bytes(record);
}

const Orbs orbs{1.0, 0.5, 0};

ChartState albrecht()
{
    ChartState state;
    EXPECT_EQ(holen(sample("ALBRECHT"), 1, state).outcome, LoadOutcome::loaded);
    return state;
}

std::vector<std::string> names(const std::vector<RankEntry>& entries)
{
    std::vector<std::string> n;
    for (const RankEntry& e : entries) n.push_back(e.name);
    return n;
}

std::size_t entry_lines(const std::string& path, bool without_every_pairs_entry)
{
    const std::string text = slurp(path);
    std::size_t n = 0;
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        if (!without_every_pairs_entry || text.substr(start, end - start) != "MC/AS=MC/AS") ++n;
    return n;
}

}  // namespace

TEST(Ranking, CountsAreTheEntriesCompareLists)
{
    const TempDir dir;
    const Ranking ranking = rank_partners(albrecht(), {sample("HOLLMANN"), sample("KRANICH"), sample("SONNBERG"),
                                                       sample("WEIDNER")}, orbs);
    ASSERT_EQ(ranking.entries.size(), 4u);
    for (const RankEntry& e : ranking.entries) {
        std::size_t counts[3] = {};
        const char* analyses[3] = {"double", "simple", "list"};
        for (int a = 0; a < 3; ++a) {
            const CliRun r = run_cli({"compare", sample("ALBRECHT"), e.path, "--analysis", analyses[a], "--double",
                                      "1,0", "--simple", "0,5", "--entries", dir.file("entries")});
            ASSERT_EQ(r.status, 0) << r.err;
            counts[a] = entry_lines(dir.file("entries"), a == 2);
        }
        EXPECT_EQ(e.d, counts[0]) << e.path;
        EXPECT_EQ(e.e, counts[1]) << e.path;
        EXPECT_EQ(e.l, counts[2]) << e.path;
        EXPECT_EQ(e.s(), e.d + e.e + e.l);
    }
    // Not every count is zero: the samples were chosen to show all three comparisons.
    EXPECT_GT(ranking.entries.front().s(), 0u);
}

TEST(Ranking, FestColumnCountsWhatCompareMarksFest)
{
    // F counts the entries of the three comparisons that compare's time probe calls "fest".
    const TempDir dir;
    const CliRun ranked = run_cli({"rank", sample("ALBRECHT"), sample("KRANICH"), sample("WEIDNER"), "--double",
                                   "1,0", "--simple", "0,5", "--time-window", "4,2", "--csv", dir.file("rank.csv")});
    ASSERT_EQ(ranked.status, 0) << ranked.err;
    const std::string csv = dir.read("rank.csv");
    EXPECT_EQ(csv.substr(0, csv.find('\n') + 1), "Rang,S,D,E,L,Name,Vorname,Datei,F\r\n");
    std::size_t lines = 0;
    for (std::size_t at = 0; at < ranked.out.size(); at = ranked.out.find('\n', at) + 1, ++lines) {
        const std::string line = ranked.out.substr(at, ranked.out.find('\n', at) - at);
        const std::string path = line.substr(0, line.rfind('\t'));
        const std::string partner = path.substr(path.rfind('\t') + 1);
        std::size_t fest = 0;
        for (const char* analysis : {"double", "simple", "list"}) {
            const CliRun r = run_cli({"compare", sample("ALBRECHT"), partner, "--analysis", analysis, "--double",
                                      "1,0", "--simple", "0,5", "--time-window", "4,2"});
            ASSERT_EQ(r.status, 0) << r.err;
            for (std::size_t p = r.out.find("\tfest\n"); p != std::string::npos; p = r.out.find("\tfest\n", p + 1))
                ++fest;
            if (std::string(analysis) == "list" && r.out.find("MC/AS=MC/AS\tfest\n") != std::string::npos) --fest;
        }
        EXPECT_EQ(line.substr(line.rfind('\t') + 1), std::to_string(fest)) << line;
    }
    EXPECT_EQ(lines, 2u);

    // A window of 0 shifts nothing: every entry holds, so F is S.
    RankOptions still;
    still.time_window = TimeWindow{0, 0};
    for (const RankEntry& e : rank_partners(albrecht(), {sample("KRANICH"), sample("WEIDNER")}, orbs, still).entries)
        EXPECT_EQ(e.f, e.s()) << e.path;
}

// With precise positions the partners' shifted charts come from the precise source as well, so
// that F counts what the probe of the pair loaded precisely marks "fest".
TEST(Ranking, FestColumnOfPrecisePositionsProbesPrecisely)
{
    ChartState person1;
    ASSERT_EQ(holen(sample("ALBRECHT"), 1, person1, PositionSource::precise).outcome, LoadOutcome::loaded);
    RankOptions options;
    options.source = PositionSource::precise;
    options.time_window = TimeWindow{4, 2};
    // Wide orbs give many entries, some near their edge, where a shifted chart from the theory
    // would drop them at the first minute (Hollmann: 31 instead of 51 double complements "fest").
    const Orbs wide{1.5, 1.0, 0};
    const Ranking ranking = rank_partners(
        person1, {sample("HOLLMANN"), sample("KRANICH"), sample("SONNBERG"), sample("WEIDNER")}, wide, options);
    ASSERT_EQ(ranking.entries.size(), 4u);
    for (const RankEntry& entry : ranking.entries) {
        ChartState pair = person1;
        ASSERT_EQ(holen(entry.path, 2, pair, PositionSource::precise).outcome, LoadOutcome::loaded);
        std::uint32_t fest = 0;
        for (const Comparison comparison : {Comparison::doubles, Comparison::simples, Comparison::list}) {
            std::vector<std::string> entries = run_comparison(comparison, pair, wide).entries;
            if (comparison == Comparison::list) std::erase(entries, std::string("MC/AS=MC/AS"));
            ProbeOptions probe;
            probe.source = PositionSource::precise;
            for (const EntryStability& s : time_probe(comparison, pair, wide, entries, *options.time_window, probe))
                fest += holds_over(s, *options.time_window) ? 1 : 0;
        }
        EXPECT_EQ(entry.f, fest) << entry.path;
    }
}

TEST(Ranking, BestFirstTiesInPathOrderWithSharedRank)
{
    const TempDir dir;
    for (const char* name : {"HOLLMANN", "KRANICH", "SONNBERG", "WEIDNER"})
        dir.write(std::string(name) + ".dat", slurp(sample(name)));
    // Two more persons born exactly as Weidner: the same S, ordered by path around Weidner.
    dir.write("ARNOLD.dat", renamed("WEIDNER", "Arnold"));
    dir.write("ZWILLING.dat", renamed("WEIDNER", "Zwilling"));

    const PartnerFiles partners = find_partner_files({dir.path().string()}, sample("ALBRECHT"));
    for (const unsigned threads : {1u, 2u, 3u}) {
        RankOptions options;
        options.threads = threads;
        const Ranking ranking = rank_partners(albrecht(), partners.files, orbs, options);
        EXPECT_EQ(names(ranking.entries),
                  (std::vector<std::string>{"Hollmann", "Arnold", "Weidner", "Zwilling", "Sonnberg", "Kranich"}))
            << threads << " threads";
        EXPECT_FALSE(ranking.cancelled);
        for (std::size_t i = 1; i < ranking.entries.size(); ++i)
            EXPECT_GE(ranking.entries[i - 1].s(), ranking.entries[i].s());
        EXPECT_EQ(rank_numbers(ranking.entries), (std::vector<std::size_t>{1, 2, 2, 2, 5, 6}));
    }
}

TEST(Ranking, RankNumbersShareTheRankOfTheFirstOfEqualScores)
{
    struct Case {
        std::vector<std::uint32_t> scores;
        std::vector<std::size_t> ranks;
    };
    const std::vector<Case> cases = {
        {{}, {}},
        {{5}, {1}},
        {{9, 9, 9}, {1, 1, 1}},
        {{9, 7, 7, 3}, {1, 2, 2, 4}},
        {{9, 7, 3, 3, 0, 0}, {1, 2, 3, 3, 5, 5}},
    };
    for (const Case& c : cases) {
        std::vector<RankEntry> entries;
        for (const std::uint32_t s : c.scores) {
            RankEntry e;
            e.d = s;
            entries.push_back(e);
        }
        EXPECT_EQ(rank_numbers(entries), c.ranks);
    }
}

TEST(Ranking, FolderWithBrokenFilesAndSubfolders)
{
    const TempDir dir;
    dir.write("KRANICH.dat", slurp(sample("KRANICH")));
    dir.write("sub/tiefer/WEIDNER.dat", slurp(sample("WEIDNER")));
    const std::string short_file = dir.write("KURZ.dat", renamed("KRANICH", "Kurz").substr(0, 76));
    const std::string wrong_name = dir.write("FALSCH.dat", slurp(sample("SONNBERG")));
    dir.write(".versteckt/HOLLMANN.dat", slurp(sample("HOLLMANN")));  // hidden: not searched
    dir.write("sub/.HOLLMANN.dat", slurp(sample("HOLLMANN")));
    fs::create_directory_symlink(dir.path(), dir.path() / "sub" / "schleife");  // not followed

    const PartnerFiles partners = find_partner_files({dir.path().string()}, sample("ALBRECHT"));
    EXPECT_EQ(partners.files,
              (std::vector<std::string>{wrong_name, dir.file("KRANICH.dat"), short_file,
                                        dir.file("sub/tiefer/WEIDNER.dat")}));
    EXPECT_TRUE(partners.problems.empty());

    const Ranking ranking = rank_partners(albrecht(), partners.files, orbs);
    EXPECT_EQ(names(ranking.entries), (std::vector<std::string>{"Weidner", "Kranich"}));
    ASSERT_EQ(ranking.problems.size(), 2u);
    EXPECT_EQ(ranking.problems[0].path, wrong_name);
    EXPECT_EQ(ranking.problems[0].message, "FALSCH.dat ist keine Horoskop-Datei.");
    EXPECT_EQ(ranking.problems[1].path, short_file);
    EXPECT_EQ(ranking.problems[1].message, "Ladeversuch mit " + short_file + " ging daneben");

    // The terminal: the loadable partners on stdout, each broken file with its message on stderr.
    const CliRun r = run_cli({"rank", sample("ALBRECHT"), dir.path().string(), "--double", "1,0", "--simple", "0,5"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "1\t13\t13\t0\t0\tWeidner\tJ\u00FCrgen\t" + dir.file("sub/tiefer/WEIDNER.dat") + "\n" +
                         "2\t6\t0\t6\t0\tKranich\tOtto\t" + dir.file("KRANICH.dat") + "\n");
    EXPECT_EQ(r.err, wrong_name + ": FALSCH.dat ist keine Horoskop-Datei.\n" + short_file + ": Ladeversuch mit " +
                         short_file + " ging daneben\n");
}

TEST(Ranking, PersonOneAmongThePartnersIsLeftOutAlsoThroughALink)
{
    const TempDir dir;
    const std::string own = dir.write("daten/ALBRECHT.dat", slurp(sample("ALBRECHT")));
    dir.write("daten/KRANICH.dat", slurp(sample("KRANICH")));
    fs::create_symlink(own, dir.path() / "daten" / "ALBRECHT2.dat");
    fs::create_hard_link(dir.path() / "daten" / "KRANICH.dat", dir.path() / "KRANICH.dat");

    // Person 1 given by another way than the folder finds it; Kranich reached twice counts once.
    const std::string person1 = dir.path().string() + "/daten/../daten/ALBRECHT.dat";
    const PartnerFiles partners =
        find_partner_files({dir.file("daten"), dir.file("daten/KRANICH.dat"), dir.file("KRANICH.dat")}, person1);
    EXPECT_EQ(partners.files, (std::vector<std::string>{dir.file("KRANICH.dat")}));
    EXPECT_EQ(partners.person1_skipped, 2u);

    const CliRun r = run_cli({"rank", person1, dir.file("daten"), "--double", "1,0", "--simple", "0,5"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "1\t6\t0\t6\t0\tKranich\tOtto\t" + dir.file("daten/KRANICH.dat") + "\n");
}

TEST(Ranking, StopRequestEndsEarlyAndProgressReachesTheEnd)
{
    std::vector<std::string> files(100, sample("KRANICH"));
    std::stop_source stop;
    stop.request_stop();
    RankOptions stopping;
    stopping.stop = stop.get_token();
    const Ranking stopped = rank_partners(albrecht(), files, orbs, stopping);
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_TRUE(stopped.entries.empty());

    std::atomic<std::size_t> last{0};
    RankOptions reporting;
    reporting.progress = [&](std::size_t n) {
        std::size_t seen = last.load();
        while (n > seen && !last.compare_exchange_weak(seen, n)) {}
    };
    const Ranking done = rank_partners(albrecht(), files, orbs, reporting);
    EXPECT_FALSE(done.cancelled);
    EXPECT_EQ(done.entries.size(), 100u);
    EXPECT_EQ(last.load(), 100u);
}

TEST(Ranking, CsvHasTheHeaderAndQuotesWhatRfc4180Needs)
{
    const TempDir dir;
    dir.write("MEIER, H.dat", renamed("KRANICH", "Meier, H"));
    dir.write("SO\"HN.dat", renamed("WEIDNER", "So\"hn"));
    const CliRun r = run_cli({"rank", sample("ALBRECHT"), dir.path().string(), "--double", "1,0", "--simple", "0,5",
                              "--csv", dir.file("liste.csv")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(dir.read("liste.csv"),
              "Rang,S,D,E,L,Name,Vorname,Datei\r\n"
              "1,13,13,0,0,\"So\"\"hn\",J\u00FCrgen,\"" + dir.file("SO\"\"HN.dat") + "\"\r\n" +
              "2,6,0,6,0,\"Meier, H\",Otto,\"" + dir.file("MEIER, H.dat") + "\"\r\n");

    // --top cuts both tables; an existing CSV file is replaced whole.
    const CliRun top = run_cli({"rank", sample("ALBRECHT"), dir.path().string(), "--double", "1,0", "--simple",
                                "0,5", "--top", "1", "--csv", dir.file("liste.csv")});
    ASSERT_EQ(top.status, 0) << top.err;
    EXPECT_EQ(std::count(top.out.begin(), top.out.end(), '\n'), 1);
    EXPECT_EQ(dir.read("liste.csv"), "Rang,S,D,E,L,Name,Vorname,Datei\r\n"
                                     "1,13,13,0,0,\"So\"\"hn\",J\u00FCrgen,\"" + dir.file("SO\"\"HN.dat") + "\"\r\n");
}

TEST(Ranking, TabTableKeepsOneLinePerPartner)
{
    const RankRow row = {"1", "2", "1", "1", "0", "A\tB", "C\nD", "/x/\x7Fy"};
    EXPECT_EQ(tab_line(row), "1\t2\t1\t1\t0\tA?B\tC?D\t/x/?y");
}

TEST(Ranking, CliExitStatus)
{
    const TempDir dir;
    dir.write("KURZ.dat", "zu kurz");
    const std::string a = sample("ALBRECHT");
    struct Case {
        std::vector<std::string> args;
        int status;
    };
    const std::vector<Case> cases = {
        {{"rank", a, dir.path().string(), "--double", "1,0", "--simple", "0,5"}, 1},   // no partner loaded
        {{"rank", a, a, "--double", "1,0", "--simple", "0,5"}, 1},                     // only person 1 itself
        {{"rank", dir.file("KURZ.dat"), sample("KRANICH"), "--double", "1", "--simple", "1"}, 1},  // person 1 broken
        {{"rank", a, sample("KRANICH"), "--double", "1,0", "--simple", "0,5"}, 0},
        {{"rank", a, sample("KRANICH"), "--double", "1,0", "--simple", "0,5", "--csv", dir.file("no/such/x.csv")}, 1},
        {{"rank", a, sample("KRANICH"), "--double", "1,0", "--simple", "0,5", "--time-window", "721"}, 2},
        {{"rank", a, sample("KRANICH"), "--double", "1,0"}, 2},
        {{"rank", a, "--double", "1,0", "--simple", "0,5"}, 2},
        {{"rank", a, sample("KRANICH"), "--double", "1,x", "--simple", "0,5"}, 2},
        {{"rank", a, sample("KRANICH"), "--double", "1,0", "--simple", "0,5", "--top", "0"}, 2},
        {{"rank", a, sample("KRANICH"), "--double", "1,0", "--simple", "0,5", "--top", "2x"}, 2},
        {{"rank", a, sample("KRANICH"), "--double", "1,0", "--simple", "0,5", "--top"}, 2},
    };
    for (const Case& c : cases) {
        const CliRun r = run_cli(c.args);
        EXPECT_EQ(r.status, c.status) << c.args[1] << " " << c.args[2] << " " << c.args.back() << "\n" << r.err;
    }
    EXPECT_EQ(run_cli(cases[0].args).err, dir.file("KURZ.dat") + ": Ladeversuch mit " + dir.file("KURZ.dat") +
                                              " ging daneben\nduoskop-cli: Kein Partner-Horoskop konnte geladen werden.\n");
}

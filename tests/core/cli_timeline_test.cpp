// SPDX-License-Identifier: GPL-3.0-or-later
// duoskop-cli timeline: the TSV lines, the CSV file and the JSON object hold the same hits; the
// calendar file as a calendar library reads it; the table's first line on an unknown birth time;
// every refusal with its German reason and exit status.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "cli/options.h"
#include "tests/core/test_support.h"

using duoskop::cli::split;
using duoskop::test_support::CliRun;
using duoskop::test_support::run_cli;
using duoskop::test_support::slurp;
using duoskop::test_support::TempDir;

namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows tsv_rows(const std::string& text)
{
    Rows rows;
    std::size_t start = 0;
    for (std::size_t nl = text.find('\n'); nl != std::string::npos; nl = text.find('\n', start)) {
        rows.push_back(split(text.substr(start, nl - start), '\t'));
        start = nl + 1;
    }
    EXPECT_EQ(start, text.size()) << "the last line ends in a line break";
    return rows;
}

/// A CSV reader for the files the programs write: quoted fields, doubled quotes, CR LF rows.
Rows csv_rows(const std::string& text)
{
    Rows rows(1, std::vector<std::string>(1));
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') rows.back().back() += text[++i];
            else if (c == '"') quoted = false;
            else rows.back().back() += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            rows.back().emplace_back();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            rows.emplace_back(1);
        } else {
            rows.back().back() += c;
        }
    }
    EXPECT_EQ(rows.back(), std::vector<std::string>(1)) << "the last row ends in CR LF";
    rows.pop_back();
    return rows;
}

const std::vector<std::string> base = {"timeline", "ALBRECHT.dat", "HOLLMANN.dat", "--from", "01.01.2024", "--to",
                                       "30.06.2024", "--transits-from", "theorie", "--double", "1,0", "--simple", "0,5"};

std::vector<std::string> call(std::vector<std::string> more, std::vector<std::string> args = base)
{
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST(CliTimeline, TsvCsvAndJsonHoldTheSameHits)
{
    const TempDir dir;
    const CliRun r = run_cli(call({"--tsv", "--csv", dir.file("t.csv")}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const Rows tsv = tsv_rows(r.out);
    ASSERT_GT(tsv.size(), 100u);
    EXPECT_EQ(tsv[0], (std::vector<std::string>{"Datum", "Zeit", "Ausl\u00F6ser", "Winkel", "Ziel", "Richtung", "Ergebnis"}));
    const std::set<std::string> angles = {"0", "22,5", "45", "67,5", "90", "112,5", "135", "157,5", "180"};
    std::string last;
    for (std::size_t i = 1; i < tsv.size(); ++i) {
        const auto& f = tsv[i];
        ASSERT_EQ(f.size(), 7u) << i;
        ASSERT_TRUE(f[0].size() == 10 && f[0][2] == '.' && f[0][5] == '.' && f[0].substr(6) == "2024") << f[0];
        ASSERT_TRUE(f[1].size() == 5 && f[1][2] == ':') << f[1];
        EXPECT_TRUE(f[2].starts_with("SB1:") || f[2].starts_with("SB2:") || f[2].starts_with("T:")) << f[2];
        EXPECT_TRUE(angles.count(f[3])) << f[3];
        EXPECT_TRUE(f[5] == "d" || f[5] == "r" || f[5] == "s") << f[5];
        EXPECT_TRUE(f[6] == "ja") << f[6];  // the comparisons' points are the default targets
        const std::string key = f[0].substr(6) + f[0].substr(3, 2) + f[0].substr(0, 2) + f[1];
        EXPECT_LE(last, key);  // in time order
        last = key;
    }
    // The CSV file: the same rows, as rank writes its CSV.
    const std::string csv = slurp(dir.file("t.csv"));
    EXPECT_NE(csv.find(",\"22,5\","), std::string::npos);
    EXPECT_EQ(csv_rows(csv), tsv);

    const CliRun j = run_cli(call({"--json"}));
    ASSERT_EQ(j.status, 0) << j.err;
    const nlohmann::json json = nlohmann::json::parse(j.out);
    ASSERT_EQ(json["hits"].size(), tsv.size() - 1);
    for (std::size_t i = 0; i < json["hits"].size(); ++i) {
        const auto& h = json["hits"][i];
        const auto& f = tsv[i + 1];
        EXPECT_EQ(h["date"], f[0]);
        EXPECT_EQ(h["time"], f[1]);
        EXPECT_EQ(h["mover"], f[2]);
        EXPECT_EQ(h["target"], f[4]);
    }
    EXPECT_EQ(json["from"], "01.01.2024");
    EXPECT_EQ(json["to"], "30.06.2024");
    EXPECT_EQ(json["persons"][1]["name"], "Hollmann");
    EXPECT_TRUE(json["clusters"].is_array());
}

// The calendar file read by a calendar library: one event per hit at its minute in UTC, the
// German summary, unique UIDs that a second export repeats.
TEST(CliTimeline, CalendarFileReadsInACalendarLibrary)
{
    const TempDir dir;
    const CliRun r = run_cli(call({"--tsv", "--ics", dir.file("a.ics"), "--movers", "sb1,t"}));
    ASSERT_EQ(r.status, 0) << r.err;
    const Rows tsv = tsv_rows(r.out);
    ASSERT_EQ(run_cli(call({"--tsv", "--ics", dir.file("b.ics"), "--movers", "sb1,t"})).status, 0);
    const std::string script =
        "import sys, icalendar\n"
        "def read(name):\n"
        "    cal = icalendar.Calendar.from_ical(open(name, 'rb').read())\n"
        "    assert cal['VERSION'] == '2.0'\n"
        "    return [e for e in cal.walk('VEVENT')]\n"
        "a, b = read(sys.argv[1]), read(sys.argv[2])\n"
        "for e in a:\n"
        "    start = e.decoded('DTSTART')\n"
        "    assert start.utcoffset().total_seconds() == 0\n"
        "    print(start.strftime('%d.%m.%Y\\t%H:%M'), e['UID'], str(e['SUMMARY']), sep='\\t')\n"
        "assert [str(e['UID']) for e in a] == [str(e['UID']) for e in b]\n"
        "assert len(set(str(e['UID']) for e in a)) == len(a)\n";
    dir.write("read.py", script);
    const std::string out = dir.file("events");
    const std::string command = "PYTHONIOENCODING=utf-8 " + std::string(DUOSKOP_PYTHON3) + " '" + dir.file("read.py") + "' '" + dir.file("a.ics") +
                                "' '" + dir.file("b.ics") + "' > '" + out + "' 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << slurp(out);
    const Rows events = tsv_rows(slurp(out));
    ASSERT_EQ(events.size(), tsv.size() - 1);
    for (std::size_t i = 0; i < events.size(); ++i) {
        const auto& f = tsv[i + 1];
        EXPECT_EQ(events[i][0], f[0]);
        EXPECT_EQ(events[i][1], f[1]);
        const std::string mover = f[2].starts_with("T:") ? "Transit " + f[2].substr(2) : "Sonnenbogen " + f[2].substr(4) + "1";
        std::string summary = mover + " " + f[3] + "\u00B0 " + f[4];
        if (f[5] != "d") summary += " (" + f[5] + ")";
        EXPECT_EQ(events[i][3], summary);
    }
}

TEST(CliTimeline, UnknownBirthTimeIsTheFirstLine)
{
    const std::vector<std::string> args = {"timeline", "ALBRECHT.dat", "SONNBERG.dat", "--from", "01.01.2024",
                                           "--to", "31.01.2024", "--transits-from", "theorie", "--zone", "UTC+01:00"};
    const CliRun table = run_cli(args);
    ASSERT_EQ(table.status, 0) << table.err;
    const std::string note = "Geburtszeit unbekannt bei Person 2 (Sonnberg): ohne ihr MC und AS und alles, was sie enth\u00E4lt\n";
    EXPECT_TRUE(table.out.starts_with(note)) << table.out.substr(0, 200);
    EXPECT_NE(table.out.find("Ortszeit UTC+01:00"), std::string::npos);
    EXPECT_EQ(table.out.find("MC2"), std::string::npos);
    const CliRun tsv = run_cli(call({"--tsv"}, args));
    ASSERT_EQ(tsv.status, 0) << tsv.err;
    EXPECT_TRUE(tsv.out.starts_with("# " + note + "Datum\t")) << tsv.out.substr(0, 200);
    const CliRun known = run_cli(call({"--tsv"}));
    EXPECT_TRUE(known.out.starts_with("Datum\t"));
}

TEST(CliTimeline, RefusalsSayWhyWithTheirStatus)
{
    struct Case {
        std::vector<std::string> more;
        int status;
        const char* message;
    };
    const std::vector<std::string> two = {"timeline", "ALBRECHT.dat", "HOLLMANN.dat"};
    const Case cases[] = {
        {{"--from", "01.02.2024", "--to", "31.01.2024"}, 2, "der Zeitraum ist leer: 31.01.2024 liegt vor 01.02.2024"},
        {{"--from", "01.02.2024"}, 2, "--from und --to sind n\u00F6tig"},
        {{"--from", "30.02.2024", "--to", "01.03.2024"}, 2, "\"30.02.2024\" ist kein Datum TT.MM.JJJJ f\u00FCr --from"},
        {{"--from", "01.01.3001", "--to", "01.02.3001"}, 2, "zwischen 1000 und 3000"},
        {{"--from", "01.01.2024", "--to", "01.02.2024", "--movers", "sb1,x"}, 2, "unbekannter Ausl\u00F6ser \"x\""},
        {{"--from", "01.01.2024", "--to", "01.02.2024", "--transits", "SA,MC"}, 2, "\"MC\" kann nicht laufen"},
        {{"--from", "01.01.2024", "--to", "01.02.2024", "--targets", "kreuz,MC3"}, 2, "unbekanntes Ziel \"MC3\""},
        {{"--from", "01.01.2024", "--to", "01.02.2024", "--arc", "solar"}, 2, "\"solar\" ist kein Bogen"},
        {{"--from", "01.01.2024", "--to", "01.02.2024", "--transits-from", "jpl"}, 2, "keine Quelle der Transite"},
        {{"--from", "01.01.2024", "--to", "01.02.2024", "--double", "1,0"}, 2, "--double und --simple nur zusammen"},
        {{"--from", "01.01.2024", "--to", "01.02.2024", "--tsv", "--json"}, 2, "nur eines davon"},
        {{"--from", "01.01.2024", "--to", "01.02.2024", "--clusters", "30,0"}, 2, "keine Angabe f\u00FCr --clusters"},
        {{"--from", "01.01.2024", "--to", "01.02.2024", "--zone", "LMT"}, 2, "braucht einen Ort"},
        {{"--from", "01.01.2024", "--to", "01.02.2024", "--csv", "a.csv", "--csv", "b.csv"}, 2, "--csv"},
        {{"--from", "01.01.2024", "--to", "01.02.2024", "--tsv", "--csv", "@/kein/ordner/a.csv"}, 1, "a.csv: "},
    };
    for (const Case& c : cases) {
        const TempDir dir;
        std::vector<std::string> args = two;
        for (const std::string& a : c.more) args.push_back(a.rfind('@', 0) == 0 ? dir.path().string() + a.substr(1) : a);
        const CliRun r = run_cli(args);
        SCOPED_TRACE(c.message);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        if (c.status == 2) {
            EXPECT_NE(r.err.find("Aufruf: duoskop-cli timeline"), std::string::npos) << r.err;
        }
    }
    const CliRun missing = run_cli({"timeline", "FEHLT.dat", "HOLLMANN.dat", "--from", "01.01.2024", "--to", "01.01.2024"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("FEHLT.dat"), std::string::npos) << missing.err;
    const CliRun help = run_cli({"timeline", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with("Aufruf: duoskop-cli timeline P1 P2 --from TT.MM.JJJJ --to TT.MM.JJJJ")) << help.out;
}

}  // namespace

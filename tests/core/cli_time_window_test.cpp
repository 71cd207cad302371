// SPDX-License-Identifier: GPL-3.0-or-later
// duoskop-cli compare with --time-window and --json: the stability after each entry on the
// terminal and in the entries file, the report untouched, the JSON object and its escaping.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "app/chart_file.h"
#include "tests/core/test_support.h"

namespace {

using duoskop::test_support::run_cli;
using duoskop::test_support::slurp;
using duoskop::test_support::TempDir;

std::string chart(const std::string& name)
{
    return std::string(DUOSKOP_SOURCE_DRIVE_C) + "/astro/daten/" + name + ".dat";
}

std::vector<std::string> split_lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Whether `text` reads "P1 LO..HI P2 LO..HI", every number signed, LO in -n..+0 and HI in +0..+n.
bool ranges_within(const std::string& text, int n1, int n2)
{
    std::size_t at = 0;
    const auto literal = [&](std::string_view word) {
        if (text.compare(at, word.size(), word) != 0) return false;
        at += word.size();
        return true;
    };
    const auto number = [&](int low, int high) {
        if (at >= text.size() || (text[at] != '+' && text[at] != '-')) return false;
        const bool negative = text[at++] == '-';
        int value = 0;
        const auto [end, error] = std::from_chars(text.data() + at, text.data() + text.size(), value);
        if (error != std::errc() || end == text.data() + at) return false;
        at = static_cast<std::size_t>(end - text.data());
        if (negative) value = -value;
        return (value != 0 || !negative) && value >= low && value <= high;
    };
    return literal("P1 ") && number(-n1, 0) && literal("..") && number(0, n1) && literal(" P2 ") &&
           number(-n2, 0) && literal("..") && number(0, n2) && at == text.size();
}

const std::vector<std::string> simple_args = {"compare", chart("ALBRECHT"), chart("KRANICH"),
                                              "--analysis", "simple", "--double", "1,0",
                                              "--simple", "0,5"};

std::vector<std::string> with(std::vector<std::string> args, const std::vector<std::string>& more)
{
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST(CliTimeWindow, EachEntryGetsItsStabilityAndTheReportStaysAsItWas)
{
    const TempDir dir;
    const auto plain = run_cli(with(simple_args, {"--report", dir.file("plain.txt"), "--entries",
                                                  dir.file("plain.entries")}));
    ASSERT_EQ(plain.status, 0) << plain.err;
    const std::vector<std::string> plain_entries = split_lines(dir.read("plain.entries"));
    ASSERT_FALSE(plain_entries.empty());

    struct Case {
        const char* window;
        int n1;
        int n2;
    };
    const Case cases[] = {{"4", 4, 4}, {"0,4", 0, 4}, {"30,0", 30, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.window);
        const auto run = run_cli(with(simple_args, {"--time-window", c.window, "--report",
                                                    dir.file("report.txt"), "--entries",
                                                    dir.file("entries")}));
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(dir.read("report.txt"), dir.read("plain.txt"));

        const std::vector<std::string> entries = split_lines(dir.read("entries"));
        ASSERT_EQ(entries.size(), plain_entries.size());
        int fest = 0;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            SCOPED_TRACE(entries[i]);
            ASSERT_EQ(entries[i].substr(0, plain_entries[i].size() + 1), plain_entries[i] + "\t");
            const std::string stability = entries[i].substr(plain_entries[i].size() + 1);
            if (stability == "fest") ++fest;
            else EXPECT_TRUE(ranges_within(stability, c.n1, c.n2)) << stability;
        }
        // The terminal: the report as before, then the same entry lines.
        std::vector<std::string> expected = split_lines(plain.out);
        expected.resize(expected.size() - plain_entries.size());
        expected.insert(expected.end(), entries.begin(), entries.end());
        EXPECT_EQ(split_lines(run.out), expected);
        if (std::string(c.window) == "4") {
            EXPECT_LT(fest, static_cast<int>(entries.size()));
        }
    }
}

TEST(CliTimeWindow, JsonHoldsTitleCaptionLinesAndEntriesInUtf8)
{
    const auto plain = run_cli(simple_args);
    const auto run = run_cli(with(simple_args, {"--json", "--time-window", "4,2"}));
    ASSERT_EQ(run.status, 0) << run.err;
    const auto json = nlohmann::ordered_json::parse(run.out);
    std::vector<std::string> keys;
    for (const auto& item : json.items()) keys.push_back(item.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"title", "caption", "lines", "entries", "time_window"}));
    EXPECT_EQ(json["title"], "MC-AS-Achsen (einf.)");
    EXPECT_EQ(json["caption"], "     Ergebnisse  MC-AS-Achsen, einfache");
    EXPECT_EQ(json["time_window"], (nlohmann::json{{"person1", 4}, {"person2", 2}}));

    // Lines and entries as the terminal shows them without --json.
    const std::vector<std::string> terminal = split_lines(plain.out);
    const std::vector<std::string> json_lines = json["lines"];
    ASSERT_LE(json_lines.size(), terminal.size());
    EXPECT_TRUE(std::equal(json_lines.begin(), json_lines.end(), terminal.begin()));
    const std::vector<std::string> lines(terminal.begin() + static_cast<std::ptrdiff_t>(json_lines.size()),
                                         terminal.end());
    ASSERT_EQ(json["entries"].size(), lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto& entry = json["entries"][i];
        EXPECT_EQ(entry["text"], lines[i]);
        const auto& window = entry["time_window"];
        const int p1_lo = window["person1"][0], p1_hi = window["person1"][1];
        const int p2_lo = window["person2"][0], p2_hi = window["person2"][1];
        EXPECT_TRUE(p1_lo <= 0 && p1_lo >= -4 && p1_hi >= 0 && p1_hi <= 4);
        EXPECT_TRUE(p2_lo <= 0 && p2_lo >= -2 && p2_hi >= 0 && p2_hi <= 2);
        EXPECT_EQ(window["fest"], p1_lo == -4 && p1_hi == 4 && p2_lo == -2 && p2_hi == 2);
    }

    // Without --time-window the entries carry their text only.
    const auto bare = nlohmann::json::parse(run_cli(with(simple_args, {"--json"})).out);
    EXPECT_FALSE(bare.contains("time_window"));
    EXPECT_EQ(bare["entries"][0], (nlohmann::json{{"text", lines[0]}}));
}

TEST(CliTimeWindow, JsonEscapesQuotesBackslashesAndControlsOfWindows1252Names)
{
    const TempDir dir;
    std::array<unsigned char, duoskop::chart_record_size> bytes{};
    const std::string original = slurp(chart("ALBRECHT"));
    std::copy_n(original.begin(), bytes.size(), bytes.begin());
    duoskop::chart_record record = duoskop::read_chart_record(bytes);
    record.first_name = "J\"o\\\xFC\x01";  // Windows-1252: a quote, a backslash, ü and SOH
    const std::string path = dir.write("ALBRECHT.dat", duoskop::chart_record_bytes(record));

    const auto run = run_cli({"compare", path, chart("KRANICH"), "--analysis", "double",
                              "--double", "1,0", "--simple", "0,5", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("J\\\"o\\\\\xC3\xBC\\u0001 Albrecht"), std::string::npos) << run.out;
    const auto json = nlohmann::json::parse(run.out);
    EXPECT_EQ(json["lines"][0].get<std::string>().substr(0, 18), "  J\"o\\\xC3\xBC\x01 Albrecht");
}

TEST(CliTimeWindow, WindowsOutsideZeroTo720AreWrongUsage)
{
    for (const char* window : {"721", "-1", "4,", ",4", "a", "4,5,6", "4.5", "", "0,721"}) {
        SCOPED_TRACE(window);
        EXPECT_EQ(run_cli(with(simple_args, {"--time-window", window})).status, 2);
    }
    EXPECT_EQ(run_cli(with(simple_args, {"--time-window", "720,0"})).status, 0);
}

}  // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// duoskop-cli --precise: chart --raw, axes and compare take SO, MO and ME to PL from the precise
// source; without the option nothing changes.
#include <gtest/gtest.h>

#include <charconv>
#include <sstream>

#include "app/chart_file.h"
#include "app/dial.h"
#include "base/cp1252.h"
#include "precise/precise_positions.h"
#include "tests/core/test_support.h"

using namespace duoskop;
using test_support::CliRun;
using test_support::run_cli;
using test_support::TempDir;

namespace {

chart_record record(std::string name, std::string date, std::string time)
{
    return {std::move(name), "Hans", std::move(date), std::move(time), "Hamburg", "+010 00 00", "+53 33 00"};
}

/// The values of one --raw line.
std::vector<double> values(const std::string& line)
{
    std::vector<double> v;
    std::istringstream in(line);
    std::string field;
    while (std::getline(in, field, ' ')) {
        double value = 0;
        std::from_chars(field.data(), field.data() + field.size(), value);
        v.push_back(value);
    }
    return v;
}

}  // namespace

TEST(CliPrecise, ChartRawPrintsThe24ValuesWithThePreciseBodies)
{
    TempDir dir;
    const chart_record a = record("Meier", "20.03.2024", "03:06:00");
    const chart_record b = record("Schulz", "01.06.1850", "10:00:00");
    const std::string pa = dir.write("Meier.dat", chart_record_bytes(a));
    const std::string pb = dir.write("Schulz.dat", chart_record_bytes(b));
    for (const bool precise : {false, true}) {
        const CliRun r = precise ? run_cli({"chart", "--raw", "--precise", pa, pb})
                                 : run_cli({"chart", "--raw", pa, pb});
        ASSERT_EQ(r.status, 0) << r.err;
        const std::size_t end = r.out.find('\n');
        const std::vector<std::vector<double>> lines = {values(r.out.substr(0, end)),
                                                        values(r.out.substr(end + 1, r.out.size() - end - 2))};
        const PositionSource source = precise ? PositionSource::precise : PositionSource::theory;
        for (std::size_t k = 0; k < 2; ++k) {
            const Positions p = chart_positions(werte_aktual(k == 0 ? a : b), source);
            ASSERT_EQ(lines[k].size(), 24u);
            for (std::size_t i = 0; i < p.size(); ++i) EXPECT_EQ(lines[k][i], p[i]) << k << " " << body_codes[i];
        }
    }
}

TEST(CliPrecise, AxesAndCompareLoadBothPersonsPrecisely)
{
    TempDir dir;
    const std::string p1 = dir.write("Meier.dat", chart_record_bytes(record("Meier", "20.03.2024", "03:06:00")));
    const std::string p2 = dir.write("Schulz.dat", chart_record_bytes(record("Schulz", "01.01.2050", "00:00:00")));
    ChartState chart;
    ASSERT_EQ(holen(p1, 1, chart, PositionSource::precise).outcome, LoadOutcome::loaded);
    ASSERT_EQ(holen(p2, 2, chart, PositionSource::precise).outcome, LoadOutcome::loaded);
    std::string expected;
    for (const std::string& line : search_axis_lines(chart.pos1, chart.pos2, chart.axes))
        expected += cp1252_to_utf8(line) + "\n";
    const CliRun precise = run_cli({"axes", "--precise", p1, p2});
    EXPECT_EQ(precise.status, 0);
    EXPECT_EQ(precise.out, expected);

    const std::vector<std::string> compare = {"compare", p1, p2, "--analysis", "solar", "--double", "1,0",
                                              "--simple", "0,5"};
    std::vector<std::string> with_option = compare;
    with_option.insert(with_option.begin() + 3, "--precise");
    const CliRun theory_run = run_cli(compare);
    const CliRun precise_run = run_cli(with_option);
    EXPECT_EQ(theory_run.status, 0);
    EXPECT_EQ(precise_run.status, 0);
    EXPECT_NE(precise_run.out, theory_run.out);  // the planets move by arc minutes
    EXPECT_EQ(run_cli({"axes", p1, p2, "--precise", "x"}).status, 2);  // a third person
}

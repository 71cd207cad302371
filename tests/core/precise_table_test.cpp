// SPDX-License-Identifier: GPL-3.0-or-later
// The position table: the installed table against the series (a random sample, interval edges,
// the Moon's fastest motion), its years and the series outside them and without it, refusal of
// damaged and foreign tables, blocks checked as read, reading from two threads, the generator.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "astro/std_ho.h"
#include "base/texts.h"
#include "precise/delta_t.h"
#include "precise/precise_positions.h"
#include "precise/precise_series.h"
#include "precise/precise_table.h"
#include "precise/precise_texts.h"
#include "tests/core/test_support.h"

using namespace duoskop;

namespace {

bool same(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

/// a - b in arc seconds, the short way round.
double arcsec(double a, double b) { return std::fabs(std::remainder(a - b, 360.0)) * 3600; }

const PreciseTable& installed()
{
    const InstalledTable& t = installed_precise_table();
    if (!t.table) ADD_FAILURE() << "no position table at " << t.path << ": " << t.error;
    return *t.table;
}

/// The terrestrial time positions_at uses for an instant.
double jde_of(const ChartInstant& instant)
{
    const double jd = instant.julian_day();
    return jd + delta_t_seconds(2000 + (jd - 2451544.5) / 365.25) / 86400;
}

// A table made in the test: each body's intervals of 32 days hold c0 + c1 T1(x) + c2 T2(x) with
// c0 = 100 + 10 * body + interval, c1 = 1, c2 = 0.5, over 1990 and 1991 (chart years).
constexpr double small_start = 2447891.5 - 1;  // 31 December 1989
constexpr double small_end = 2448622.5 + 5;    // 6 January 1992
constexpr double small_days = 32;

TableContent small_content(const std::string& libnova = libnova_version())
{
    TableContent c;
    c.libnova_version = libnova;
    c.first_year = 1990;
    c.last_year = 1991;
    c.start_jde = small_start;
    c.end_jde = small_end;
    c.tolerance_arcsec = 0.01;
    const auto intervals = static_cast<std::size_t>(std::ceil((small_end - small_start) / small_days));
    for (std::size_t b = 0; b < precise_body_count; ++b) {
        TableBody& body = c.bodies[b];
        body.interval_days = small_days;
        body.coefficients_per_interval = 3;
        for (std::size_t i = 0; i < intervals; ++i)
            body.coefficients.insert(body.coefficients.end(), {100.0 + 10.0 * b + i, 1.0, 0.5});
    }
    return c;
}

/// What the small table holds for `body` at `jde`.
double small_value(std::size_t body, double jde)
{
    const double i = std::floor((jde - small_start) / small_days);
    const double x = (jde - small_start - i * small_days) / small_days * 2 - 1;
    return 100 + 10.0 * body + i + x + 0.5 * (2 * x * x - 1);
}

std::unique_ptr<PreciseTable> read(const std::string& bytes, std::string& error)
{
    return PreciseTable::from_bytes(bytes, error);
}

// Byte offsets of the layout, as a reader of the file sees them.
constexpr std::size_t version_at = 8, byte_order_at = 12, libnova_at = 24, start_at = 48, body_count_at = 72;
constexpr std::size_t index_at = 80, entry_size = 48;
constexpr std::size_t entry_coefficients = 4, entry_intervals = 8, entry_offset = 32;

template <typename T>
void put(std::string& bytes, std::size_t at, T value)
{
    std::memcpy(bytes.data() + at, &value, sizeof value);
}
template <typename T>
T get(const std::string& bytes, std::size_t at)
{
    T value{};
    std::memcpy(&value, bytes.data() + at, sizeof value);
    return value;
}
/// Where block `interval` of `body` begins.
std::size_t block_at(const std::string& bytes, std::size_t body, std::size_t interval)
{
    const std::size_t entry = index_at + body * entry_size;
    const auto coefficients = get<std::uint32_t>(bytes, entry + entry_coefficients);
    return get<std::uint64_t>(bytes, entry + entry_offset) + interval * (coefficients * 8 + 8);
}

}  // namespace

TEST(PreciseTable, InstalledTableServes1800To2100FromThisLibnova)
{
    const PreciseTable& table = installed();
    const TableInfo& info = table.info();
    EXPECT_EQ(info.first_year, 1800);
    EXPECT_EQ(info.last_year, 2100);
    EXPECT_EQ(info.libnova_version, libnova_version());
    EXPECT_LE(info.tolerance_arcsec, 0.01);
    EXPECT_LE(info.start_jde, 2378496.5);  // 1 January 1800
    EXPECT_GE(info.end_jde, 2488434.5 + 99.0 / 24);  // 31 December 2100 with 99 hours
    for (std::size_t b = 0; b < precise_body_count; ++b)
        EXPECT_LE(info.bodies[b].max_error_arcsec, info.tolerance_arcsec) << b;
}

// The table against the series at random instants of the whole range, at the edges of random
// intervals (the start, and just before the end, where the next interval takes over) and where
// the Moon moves fastest in random months: every body within 0.01".
TEST(PreciseTable, AgreesWithTheSeriesWithinAHundredthOfAnArcSecond)
{
    const PreciseTable& table = installed();
    const TableInfo& info = table.info();
    std::mt19937 rng(28);
    std::uniform_real_distribution<double> anywhere(info.start_jde, info.end_jde);
    const auto check = [&](PreciseBody body, double jde) {
        const auto l = table.longitude(body, jde);
        ASSERT_TRUE(l.has_value()) << jde;
        EXPECT_LE(arcsec(*l, series_longitude(body, jde)), 0.01) << static_cast<int>(body) << " " << jde;
        EXPECT_TRUE(*l >= 0 && *l < 360) << *l;
    };
    for (int n = 0; n < 1500; ++n) {
        const double jde = anywhere(rng);
        const auto series = series_longitudes(jde);
        std::array<double, precise_body_count> from_table{};
        ASSERT_TRUE(table.longitudes(jde, from_table));
        for (std::size_t b = 0; b < precise_body_count; ++b)
            EXPECT_LE(arcsec(from_table[b], series[b]), 0.01) << b << " " << jde;
    }
    for (std::size_t b = 0; b < precise_body_count; ++b) {
        const double days = info.bodies[b].interval_days;
        std::uniform_int_distribution<std::uint64_t> interval(1, info.bodies[b].intervals - 1);
        for (int n = 0; n < 40; ++n) {
            const double edge = info.start_jde + static_cast<double>(interval(rng)) * days;
            check(precise_body(b), edge);
            check(precise_body(b), edge - 1e-7);
        }
    }
    // The Moon's fastest motion of a month, found in six-hour steps and checked around it.
    std::uniform_int_distribution<int> month(0, 3600);
    for (int n = 0; n < 20; ++n) {
        const double from = info.start_jde + month(rng) * 30.4;
        double fastest = from, speed = 0;
        for (double t = from; t < from + 28; t += 0.25) {
            const double s = std::remainder(*table.longitude(PreciseBody::moon, t + 0.01) -
                                                *table.longitude(PreciseBody::moon, t),
                                            360.0);
            if (s > speed) speed = s, fastest = t;
        }
        EXPECT_GT(speed / 0.01, 14.0);  // degrees per day: near perigee
        for (double t = fastest - 0.5; t <= fastest + 0.5; t += 0.125) check(PreciseBody::moon, t);
    }
}

TEST(PreciseTable, PositionsAtTakeTheTableInItsYearsAndTheSeriesOutside)
{
    const PreciseTable& table = installed();
    const GeoPlace place{10, 53.55};
    const struct {
        ChartInstant instant;
        bool from_table;
    } cases[] = {
        {instant_at(2378496.5), true},            // 1 January 1800, 0h
        {instant_at(2378496.5 - 1.0 / 1440), false},  // a minute before: 1799
        {instant_at(2433282.5 + 0.3), true},      // 1950
        {{2488433.5, 99, 2100}, true},            // 31 December 2100 and 99 hours
        {instant_at(2488434.5), false},           // 1 January 2101
        {instant_at(2100000.5), false},           // 1037: the series as before the table
        {instant_at(2600000.5), false},           // 2406
    };
    for (const auto& c : cases) {
        const Positions with_table = positions_at(c.instant, place, PositionSource::precise);
        const Positions series = positions_at(c.instant, place, PositionSource::precise, nullptr);
        std::array<double, precise_body_count> expected{};
        const bool covered = table.longitudes(jde_of(c.instant), expected);
        ASSERT_EQ(covered && c.from_table, c.from_table) << c.instant.year;
        for (std::size_t b = 0; b < precise_body_count; ++b) {
            const std::size_t p = precise_position_index[b];
            if (c.from_table) {
                EXPECT_TRUE(same(with_table[p], expected[b])) << c.instant.year << " " << body_codes[p];
                EXPECT_LE(arcsec(with_table[p], series[p]), 0.01) << c.instant.year << " " << body_codes[p];
            } else {
                EXPECT_TRUE(same(with_table[p], series[p])) << c.instant.year << " " << body_codes[p];
            }
        }
        EXPECT_EQ(positions_at(c.instant, place, PositionSource::theory), f_rechnen(c.instant, place));
    }
}

// A table made here: read back as written, served through positions_at for its years (all ten
// bodies from it), and the series where a block is damaged or the year lies outside.
TEST(PreciseTable, ReadsWhatWasWrittenAndFallsBackWhereItCannot)
{
    const std::string bytes = table_bytes(small_content());
    std::string error;
    const auto table = read(bytes, error);
    ASSERT_TRUE(table) << error;
    EXPECT_EQ(table->info().file_size, bytes.size());
    for (const double jde : {small_start, small_start + 16.5, small_start + 32, 2448000.123, small_end - 1e-6}) {
        for (std::size_t b = 0; b < precise_body_count; ++b)
            EXPECT_NEAR(*table->longitude(precise_body(b), jde), small_value(b, jde), 1e-9) << b << " " << jde;
    }
    EXPECT_FALSE(table->longitude(PreciseBody::sun, small_start - 1e-6));
    EXPECT_FALSE(table->longitude(PreciseBody::sun, small_end));
    EXPECT_FALSE(table->longitude(PreciseBody::sun, std::nan("")));

    const GeoPlace place{0, 0};
    const ChartInstant in_1990 = instant_at(2448000.5);
    const Positions served = positions_at(in_1990, place, PositionSource::precise, table.get());
    for (std::size_t b = 0; b < precise_body_count; ++b)
        EXPECT_NEAR(served[precise_position_index[b]], small_value(b, jde_of(in_1990)), 1e-9) << b;
    for (const ChartInstant outside : {instant_at(2447891.5 - 0.5), instant_at(2448622.5 + 0.5)})
        EXPECT_EQ(positions_at(outside, place, PositionSource::precise, table.get()),
                  positions_at(outside, place, PositionSource::precise, nullptr));

    // One damaged block of Mars: that interval comes from the series for every body, the next
    // interval still from the table.
    std::string damaged = bytes;
    const std::size_t interval = static_cast<std::size_t>((jde_of(in_1990) - small_start) / small_days);
    damaged[block_at(damaged, 4, interval) + 3] ^= 0x10;
    const auto partly = read(damaged, error);
    ASSERT_TRUE(partly) << error;
    EXPECT_EQ(positions_at(in_1990, place, PositionSource::precise, partly.get()),
              positions_at(in_1990, place, PositionSource::precise, nullptr));
    EXPECT_FALSE(partly->longitude(PreciseBody::mars, jde_of(in_1990)));
    EXPECT_TRUE(partly->longitude(PreciseBody::venus, jde_of(in_1990)));
    EXPECT_TRUE(partly->longitude(PreciseBody::mars, jde_of(in_1990) + small_days));
    EXPECT_FALSE(partly->longitude(PreciseBody::mars, jde_of(in_1990)));  // and stays refused
}

TEST(PreciseTable, RefusesDamagedAndForeignTables)
{
    const std::string good = table_bytes(small_content());
    const std::string damaged(texts::kPreciseTableDamaged), foreign(texts::kPreciseTableForeign),
        version(texts::kPreciseTableVersion);
    const struct {
        const char* what;
        std::function<void(std::string&)> change;
        bool sealed;  // checksums set afresh: damage that only the checks of content find
        const std::string& refusal;
    } cases[] = {
        {"empty", [](std::string& b) { b.clear(); }, false, damaged},
        {"only the header", [](std::string& b) { b.resize(80); }, false, damaged},
        {"a block short", [](std::string& b) { b.resize(b.size() - 32); }, false, damaged},
        {"a byte too many", [](std::string& b) { b.push_back(0); }, false, damaged},
        {"another file", [](std::string& b) { b.replace(0, 8, "DSKATLAS"); }, false, foreign},
        {"another format version", [](std::string& b) { put<std::uint32_t>(b, version_at, 2); }, true, version},
        {"another byte order", [](std::string& b) { put<std::uint32_t>(b, byte_order_at, 0x04030201); }, true, version},
        {"a changed range", [](std::string& b) { put<double>(b, start_at, small_start + 1); }, false, damaged},
        {"a changed index", [](std::string& b) { b[index_at + 3 * entry_size + entry_intervals] ^= 1; }, false, damaged},
        {"too few intervals for the range",
         [](std::string& b) { put<std::uint64_t>(b, index_at + entry_size + entry_intervals, 3); }, true, damaged},
        {"blocks beyond the end",
         [](std::string& b) { put<std::uint64_t>(b, index_at + entry_offset, b.size() - 16); }, true, damaged},
        {"no coefficients", [](std::string& b) { put<std::uint32_t>(b, index_at + entry_coefficients, 0); }, true, damaged},
        {"nine bodies", [](std::string& b) { put<std::uint32_t>(b, body_count_at, 9); }, true, damaged},
        {"an empty range", [](std::string& b) { put<double>(b, start_at, small_end); }, true, damaged},
        {"no range", [](std::string& b) { put<double>(b, start_at, std::nan("")); }, true, damaged},
        {"an unended libnova version", [](std::string& b) { b.replace(libnova_at, 16, 16, 'x'); }, true, damaged},
    };
    for (const auto& c : cases) {
        std::string bytes = good;
        c.change(bytes);
        if (c.sealed) seal_table(bytes);
        std::string error;
        EXPECT_FALSE(read(bytes, error)) << c.what;
        EXPECT_EQ(error, c.refusal) << c.what;
    }

    // Damage inside the blocks is found when the block is read: a changed coefficient, blocks
    // that changed places, a sealed block whose numbers are no numbers.
    const double jde = small_start + 40;  // interval 1
    const struct {
        const char* what;
        std::function<void(std::string&)> change;
        bool sealed;
    } blocks[] = {
        {"a changed coefficient", [](std::string& b) { b[block_at(b, 0, 1)] ^= 1; }, false},
        {"a changed checksum", [](std::string& b) { b[block_at(b, 0, 1) + 24] ^= 1; }, false},
        {"swapped blocks",
         [](std::string& b) {
             std::swap_ranges(b.begin() + static_cast<std::ptrdiff_t>(block_at(b, 0, 1)),
                              b.begin() + static_cast<std::ptrdiff_t>(block_at(b, 0, 2)),
                              b.begin() + static_cast<std::ptrdiff_t>(block_at(b, 0, 2)));
         },
         false},
        {"no number", [](std::string& b) { put<double>(b, block_at(b, 0, 1), std::nan("")); }, true},
        {"infinity", [](std::string& b) { put<double>(b, block_at(b, 0, 1) + 8, HUGE_VAL); }, true},
    };
    for (const auto& c : blocks) {
        std::string bytes = good;
        c.change(bytes);
        if (c.sealed) seal_table(bytes);
        std::string error;
        const auto table = read(bytes, error);
        ASSERT_TRUE(table) << c.what << ": " << error;
        EXPECT_FALSE(table->longitude(PreciseBody::sun, jde)) << c.what;
        EXPECT_TRUE(table->longitude(PreciseBody::moon, jde)) << c.what;
    }

    // Fitted from another libnova: used, and says so.
    std::string error;
    const auto other = read(table_bytes(small_content("0.9.1")), error);
    ASSERT_TRUE(other) << error;
    EXPECT_EQ(other->info().libnova_version, "0.9.1");
    EXPECT_TRUE(other->longitude(PreciseBody::pluto, jde));
}

TEST(PreciseTable, OpensAFileThroughAMapAndRefusesWhatIsNone)
{
    test_support::TempDir dir;
    const std::string bytes = table_bytes(small_content());
    std::string error;
    const auto table = PreciseTable::open(dir.write("precise.tab", bytes), error);
    ASSERT_TRUE(table) << error;
    EXPECT_NEAR(*table->longitude(PreciseBody::saturn, small_start + 100), small_value(6, small_start + 100), 1e-9);

    EXPECT_FALSE(PreciseTable::open(dir.file("missing.tab"), error));
    EXPECT_EQ(error, texts::kIoFileNotFound);
    EXPECT_FALSE(PreciseTable::open(dir.path(), error));
    EXPECT_FALSE(PreciseTable::open(dir.write("short.tab", bytes.substr(0, 100)), error));
    EXPECT_EQ(error, texts::kPreciseTableDamaged);
}

// Two threads reading a table whose blocks nobody has checked yet get what one thread gets.
TEST(PreciseTable, TwoThreadsReadWithoutALock)
{
    const std::string bytes = test_support::slurp(installed_precise_table().path);
    std::string error;
    const auto alone = PreciseTable::from_bytes(bytes, error), shared = PreciseTable::from_bytes(bytes, error);
    ASSERT_TRUE(alone && shared) << error;
    std::vector<double> instants;
    for (int n = 0; n < 4000; ++n) instants.push_back(2378500.0 + n * 27.3);
    std::vector<std::array<double, precise_body_count>> expected(instants.size()), first(instants.size()),
        second(instants.size());
    for (std::size_t i = 0; i < instants.size(); ++i) ASSERT_TRUE(alone->longitudes(instants[i], expected[i]));
    std::thread other([&] {
        for (std::size_t i = 0; i < instants.size(); ++i) shared->longitudes(instants[i], second[i]);
    });
    for (std::size_t i = 0; i < instants.size(); ++i) shared->longitudes(instants[i], first[i]);
    other.join();
    for (std::size_t i = 0; i < instants.size(); ++i)
        for (std::size_t b = 0; b < precise_body_count; ++b) {
            EXPECT_TRUE(same(first[i][b], expected[i][b])) << i << " " << b;
            EXPECT_TRUE(same(second[i][b], expected[i][b])) << i << " " << b;
        }
}

// The generator over one year: a table that agrees with the series; with a tolerance no fit can
// hold it writes nothing and fails.
TEST(PreciseTableGenerator, WritesOnlyATableThatHoldsTheTolerance)
{
    test_support::TempDir dir;
    const std::string made = dir.file("made.tab"), refused = dir.file("refused.tab");
    const std::string generator = DUOSKOP_MAKE_PRECISE_TABLE;
    const std::string quiet = " >" + dir.file("log") + " 2>&1";
    ASSERT_EQ(std::system((generator + " '" + made + "' --years 2000 2000 --jobs 2" + quiet).c_str()), 0)
        << dir.read("log");
    std::string error;
    const auto table = PreciseTable::open(made, error);
    ASSERT_TRUE(table) << error;
    EXPECT_EQ(table->info().first_year, 2000);
    EXPECT_EQ(table->info().last_year, 2000);
    for (const double jde : {2451544.5, 2451700.25, 2451910.5})
        for (std::size_t b = 0; b < precise_body_count; ++b)
            EXPECT_LE(arcsec(*table->longitude(precise_body(b), jde), series_longitude(precise_body(b), jde)), 0.01);
    EXPECT_EQ(std::system((generator + " --check '" + made + "'" + quiet).c_str()), 0);

    const int status = std::system((generator + " '" + refused + "' --years 2000 2000 --tolerance 1e-9" + quiet).c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << dir.read("log");
    EXPECT_FALSE(std::filesystem::exists(refused));
    EXPECT_NE(dir.read("log").find("nicht geschrieben"), std::string::npos) << dir.read("log");
}

// SPDX-License-Identifier: GPL-3.0-or-later
// duoskop-make-precise-table: fits the position table (precise_table.h) to the series of
// precise_series.h at build time, checks every interval of it against the series and writes it
// only when every longitude it gives lies within the tolerance.
//
//   duoskop-make-precise-table TABLE [--jobs N]    fit, check and write TABLE (N processes, default 2)
//   duoskop-make-precise-table --survey [--samples N] [--jobs N]
//                                                  fit error against size of a few interval
//                                                  lengths and degrees per body, on sampled intervals
//   duoskop-make-precise-table --check TABLE       exit status 0 when TABLE is sound in every block
//   duoskop-make-precise-table --libnova-version   the version of the libnova the series come from
//
// Exit status 0 done, 1 the table misses the tolerance or a file failed, 2 wrong usage.
// libnova keeps static caches, so the work is shared between processes, not threads.
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <numbers>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "astro/bodies.h"
#include "base/cp1252.h"
#include "base/file_writer.h"
#include "precise/precise_series.h"
#include "precise/precise_table.h"

using namespace duoskop;

namespace {

constexpr double pi = std::numbers::pi;

/// The Julian day of 0h on 1 January of the Gregorian year `year`.
constexpr double new_year(std::int32_t year)
{
    const std::int32_t y = year - 1;
    return 1721425.5 + 365.0 * y + y / 4 - y / 100 + y / 400;
}
static_assert(new_year(2000) == 2451544.5);

/// The chart years a table serves, and the terrestrial time it covers: from a day before the
/// first chart date to past the last chart date's 99 hours and Delta T.
struct Range {
    std::int32_t first_year = 1800;
    std::int32_t last_year = 2100;
    double start_jde() const { return new_year(first_year) - 1; }
    double end_jde() const { return new_year(last_year + 1) + 5; }
};
/// Every longitude of the table lies this close to the series, in arc seconds.
constexpr double default_tolerance_arcsec = 0.01;
/// The last check of an interval lies this long before its end, in days (one minute).
constexpr double end_check_days = 1.0 / 1440;

/// Interval length (days, a power of two so that interval starts are exact) and degree of the
/// Chebyshev polynomial of each body, chosen from the survey (README): the longest intervals and
/// lowest degrees that keep about ten times below the tolerance. Every geocentric longitude carries
/// the nutation's 13.7- and 9.1-day terms and the Earth's monthly swing about the Earth-Moon
/// barycentre, so no body takes intervals much longer than a month; Mercury's quick loops need a
/// higher degree, the Moon a shorter interval.
struct Fit {
    PreciseBody body;
    double interval_days;
    std::uint32_t degree;
};
constexpr Fit plan[] = {
    {PreciseBody::sun, 32, 18},     {PreciseBody::moon, 16, 18},   {PreciseBody::mercury, 32, 22},
    {PreciseBody::venus, 32, 18},   {PreciseBody::mars, 32, 18},   {PreciseBody::jupiter, 32, 18},
    {PreciseBody::saturn, 32, 18},  {PreciseBody::uranus, 32, 18}, {PreciseBody::neptune, 32, 18},
    {PreciseBody::pluto, 32, 18},
};
static_assert(std::size(plan) == precise_body_count);

/// The choices the survey measures: the plan's and its neighbours.
struct Choice {
    double interval_days;
    std::uint32_t degree;
};
constexpr Choice moon_choices[] = {{4, 8}, {8, 10}, {8, 12}, {16, 16}, {16, 18}, {32, 30}, {32, 34}};
constexpr Choice planet_choices[] = {{16, 10}, {16, 12}, {32, 14}, {32, 16}, {32, 18},
                                     {32, 20}, {32, 22}, {64, 28}, {64, 32}};

std::string_view code(PreciseBody body) { return body_codes[precise_position_index[static_cast<std::size_t>(body)]]; }

std::uint64_t interval_count(const Range& range, double interval_days)
{
    return static_cast<std::uint64_t>(std::ceil((range.end_jde() - range.start_jde()) / interval_days));
}

/// Bodies that share interval length and degree are computed together, instant by instant, so
/// that the Earth and the nutation are computed once for all of them.
struct Group {
    double interval_days;
    std::uint32_t degree;
    std::vector<PreciseBody> bodies;
    std::uint64_t count = 0;  ///< intervals
};

std::vector<Group> groups_of_plan(const Range& range)
{
    std::vector<Group> groups;
    for (const Fit& f : plan) {
        auto g = std::find_if(groups.begin(), groups.end(), [&](const Group& x) {
            return x.interval_days == f.interval_days && x.degree == f.degree;
        });
        if (g == groups.end())
            g = groups.insert(groups.end(), Group{f.interval_days, f.degree, {}, interval_count(range, f.interval_days)});
        g->bodies.push_back(f.body);
    }
    return groups;
}

/// x of the Chebyshev-Lobatto node k of degree n: cos(pi k / n), exactly 1 and -1 at the ends.
double lobatto_node(std::uint32_t k, std::uint32_t n)
{
    if (k == 0) return 1;
    if (k == n) return -1;
    return std::cos(pi * k / n);
}

/// The instant of x in [-1, 1] of the interval starting at `start`.
double instant(double start, double interval_days, double x) { return start + (x + 1) * (interval_days / 2); }

/// The Chebyshev coefficients (n + 1) of the polynomial through `values` at the Lobatto nodes
/// k = 0 .. n (value k at lobatto_node(k, n)), unwrapped so that neighbours differ by at most 180.
void fit_coefficients(std::vector<double> values, std::span<double> coefficients)
{
    const auto n = static_cast<std::uint32_t>(values.size() - 1);
    for (std::uint32_t k = n; k-- > 0;) {
        while (values[k] - values[k + 1] > 180) values[k] -= 360;
        while (values[k] - values[k + 1] < -180) values[k] += 360;
    }
    for (std::uint32_t j = 0; j <= n; ++j) {
        double sum = 0;
        for (std::uint32_t k = 0; k <= n; ++k) {
            const double weight = (k == 0 || k == n) ? 0.5 : 1.0;
            sum += weight * values[k] * std::cos(pi * static_cast<double>((j * k) % (2 * n)) / n);
        }
        coefficients[j] = sum * 2 / n * ((j == 0 || j == n) ? 0.5 : 1.0);
    }
}

/// Difference of two longitudes in arc seconds, taken the short way round.
double arcsec(double a, double b) { return std::fabs(std::remainder(a - b, 360.0)) * 3600; }

/// Memory the worker processes write and the parent reads: the coefficients of every body and the
/// largest error found in each of its intervals.
class SharedArena {
public:
    explicit SharedArena(std::size_t doubles) : size_(std::max<std::size_t>(doubles, 1) * sizeof(double))
    {
        void* p = ::mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED) {
            std::perror("duoskop-make-precise-table: mmap");
            std::exit(1);
        }
        data_ = static_cast<double*>(p);
    }
    ~SharedArena() { ::munmap(data_, size_); }
    SharedArena(const SharedArena&) = delete;
    SharedArena& operator=(const SharedArena&) = delete;
    double* data() { return data_; }

private:
    std::size_t size_;
    double* data_;
};

/// Runs `work(k, jobs)` for k = 0 .. jobs - 1, each in a process of its own (k = 0 in this one);
/// true when every one succeeded.
bool run_in_processes(unsigned jobs, const std::function<bool(unsigned, unsigned)>& work)
{
    std::vector<pid_t> children;
    for (unsigned k = 1; k < jobs; ++k) {
        std::fflush(nullptr);
        const pid_t pid = ::fork();
        if (pid == 0) ::_exit(work(k, jobs) ? 0 : 1);
        if (pid < 0) {
            // No further process: this one does that share too.
            if (!work(k, jobs)) return false;
            continue;
        }
        children.push_back(pid);
    }
    bool ok = work(0, jobs);
    for (const pid_t pid : children) {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        ok = ok && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    return ok;
}

/// Where each body's coefficients and interval errors lie in the arena.
struct Slots {
    std::array<std::size_t, precise_body_count> coefficients{}, errors{};
    std::size_t total = 0;
    explicit Slots(const std::vector<Group>& groups)
    {
        for (const Group& g : groups)
            for (const PreciseBody b : g.bodies) {
                const auto i = static_cast<std::size_t>(b);
                coefficients[i] = total;
                total += g.count * (g.degree + 1);
                errors[i] = total;
                total += g.count;
            }
    }
};

/// The share [first, last) of `count` intervals of process k of `jobs`.
std::pair<std::uint64_t, std::uint64_t> share(std::uint64_t count, unsigned k, unsigned jobs)
{
    return {count * k / jobs, count * (k + 1) / jobs};
}

/// Fits intervals [first, last) of a group: the series at the Lobatto nodes, the end of one
/// interval taken over as the start of the next.
void fit_intervals(const Range& range, const Group& g, std::uint64_t first, std::uint64_t last, const Slots& slots,
                   double* arena)
{
    const std::uint32_t n = g.degree;
    const std::size_t m = g.bodies.size();
    std::vector<double> nodes((n + 1) * m);  // node k of body i at k * m + i
    std::vector<double> carried;             // the series at the start of the next interval
    std::vector<double> values(n + 1);
    for (std::uint64_t i = first; i < last; ++i) {
        const double a = range.start_jde() + static_cast<double>(i) * g.interval_days;
        for (std::uint32_t k = n + 1; k-- > 0;) {
            std::span<double> at(nodes.data() + std::size_t{k} * m, m);
            if (k == n && !carried.empty()) std::copy(carried.begin(), carried.end(), at.begin());
            else series_longitudes(instant(a, g.interval_days, lobatto_node(k, n)), g.bodies, at);
        }
        carried.assign(nodes.begin(), nodes.begin() + static_cast<std::ptrdiff_t>(m));  // node 0: the end
        for (std::size_t b = 0; b < m; ++b) {
            for (std::uint32_t k = 0; k <= n; ++k) values[k] = nodes[std::size_t{k} * m + b];
            double* c = arena + slots.coefficients[static_cast<std::size_t>(g.bodies[b])] + i * (n + 1);
            fit_coefficients(values, std::span(c, n + 1));
        }
    }
}

/// The instants at which an interval is checked: its start, between every two nodes (where the
/// interpolation error peaks) and a minute before its end; those within the table's range.
std::vector<double> check_instants(const Range& range, double a, double interval_days, std::uint32_t n)
{
    std::vector<double> t{a};
    for (std::uint32_t k = 0; k < n; ++k) t.push_back(instant(a, interval_days, std::cos(pi * (k + 0.5) / n)));
    t.push_back(a + interval_days - end_check_days);
    std::erase_if(t, [end = range.end_jde()](double x) { return !(x < end); });
    return t;
}

/// Checks intervals [first, last) of a group as the table gives them against the series; the
/// largest error of each interval goes to the arena.
void check_intervals(const Range& range, const Group& g, std::uint64_t first, std::uint64_t last,
                     const PreciseTable& table, const Slots& slots, double* arena)
{
    std::vector<double> series(g.bodies.size());
    for (std::uint64_t i = first; i < last; ++i) {
        const double a = range.start_jde() + static_cast<double>(i) * g.interval_days;
        std::vector<double> worst(g.bodies.size(), 0.0);
        for (const double t : check_instants(range, a, g.interval_days, g.degree)) {
            series_longitudes(t, g.bodies, series);
            for (std::size_t b = 0; b < g.bodies.size(); ++b) {
                const auto from_table = table.longitude(g.bodies[b], t);
                const double error = from_table ? arcsec(*from_table, series[b]) : HUGE_VAL;
                worst[b] = std::max(worst[b], std::isnan(error) ? HUGE_VAL : error);
            }
        }
        for (std::size_t b = 0; b < g.bodies.size(); ++b)
            arena[slots.errors[static_cast<std::size_t>(g.bodies[b])] + i] = worst[b];
    }
}

double cpu_seconds()
{
    rusage self{}, children{};
    ::getrusage(RUSAGE_SELF, &self);
    ::getrusage(RUSAGE_CHILDREN, &children);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec * 1e-6; };
    return seconds(self.ru_utime) + seconds(self.ru_stime) + seconds(children.ru_utime) + seconds(children.ru_stime);
}

/// A calendar date of a terrestrial-time Julian day, for messages (Gregorian).
std::string date_of(double jd)
{
    const auto z = static_cast<long>(std::floor(jd + 0.5));
    const long alpha = static_cast<long>((static_cast<double>(z) - 1867216.25) / 36524.25);
    const long a = z + 1 + alpha - alpha / 4, b = a + 1524;
    const auto c = static_cast<long>((static_cast<double>(b) - 122.1) / 365.25);
    const auto d = static_cast<long>(365.25 * static_cast<double>(c));
    const auto e = static_cast<long>(static_cast<double>(b - d) / 30.6001);
    const long day = b - d - static_cast<long>(30.6001 * static_cast<double>(e));
    const long month = e < 14 ? e - 1 : e - 13, year = month > 2 ? c - 4716 : c - 4715;
    char text[80];
    std::snprintf(text, sizeof text, "%02ld.%02ld.%ld", day, month, year);
    return text;
}

int make_table(const char* path, const Range& range, double tolerance_arcsec, unsigned jobs)
{
    const auto wall_start = std::chrono::steady_clock::now();
    const std::vector<Group> groups = groups_of_plan(range);
    const Slots slots(groups);
    SharedArena arena(slots.total);
    double* shared = arena.data();

    // Fit every interval of every body.
    if (!run_in_processes(jobs, [&](unsigned k, unsigned of) {
            for (const Group& g : groups) {
                const auto [first, last] = share(g.count, k, of);
                fit_intervals(range, g, first, last, slots, shared);
            }
            return true;
        })) {
        std::fputs("duoskop-make-precise-table: ein Rechenprozess ist gescheitert.\n", stderr);
        return 1;
    }

    TableContent content;
    content.libnova_version = libnova_version();
    content.first_year = range.first_year;
    content.last_year = range.last_year;
    content.start_jde = range.start_jde();
    content.end_jde = range.end_jde();
    content.tolerance_arcsec = tolerance_arcsec;
    for (const Group& g : groups)
        for (const PreciseBody b : g.bodies) {
            TableBody& body = content.bodies[static_cast<std::size_t>(b)];
            body.interval_days = g.interval_days;
            body.coefficients_per_interval = g.degree + 1;
            const double* c = shared + slots.coefficients[static_cast<std::size_t>(b)];
            body.coefficients.assign(c, c + g.count * (g.degree + 1));
        }

    // Check the table as the programs will read it.
    std::string bytes = table_bytes(content);
    std::string error;
    auto table = PreciseTable::from_bytes(bytes, error);
    if (!table) {
        std::fprintf(stderr, "duoskop-make-precise-table: %s\n", cp1252_to_utf8(error).c_str());
        return 1;
    }
    if (!run_in_processes(jobs, [&](unsigned k, unsigned of) {
            for (const Group& g : groups) {
                const auto [first, last] = share(g.count, k, of);
                check_intervals(range, g, first, last, *table, slots, shared);
            }
            return true;
        })) {
        std::fputs("duoskop-make-precise-table: ein Pr\xC3\xBC" "fprozess ist gescheitert.\n", stderr);
        return 1;
    }

    bool within = true;
    std::printf("K\xC3\xB6rper  Intervall  Grad  Intervalle  gr\xC3\xB6\xC3\x9Fte Abweichung\n");
    for (const Group& g : groups)
        for (const PreciseBody b : g.bodies) {
            const double* errors = shared + slots.errors[static_cast<std::size_t>(b)];
            const auto worst = std::max_element(errors, errors + g.count);
            content.bodies[static_cast<std::size_t>(b)].max_error_arcsec = *worst;
            std::printf("%-6.*s %6.0f d %5u %11llu  %.5f\"", static_cast<int>(code(b).size()), code(b).data(),
                        g.interval_days, g.degree, static_cast<unsigned long long>(g.count), *worst);
            if (!(*worst <= tolerance_arcsec)) {
                within = false;
                const double a = range.start_jde() + static_cast<double>(worst - errors) * g.interval_days;
                std::printf("  zu gro\xC3\x9F im Intervall ab %s", date_of(a).c_str());
            }
            std::printf("\n");
        }
    if (!within) {
        std::fprintf(stderr, "duoskop-make-precise-table: die Tabelle h\xC3\xA4lt %.2f\" nicht ein; nicht geschrieben.\n",
                     tolerance_arcsec);
        return 1;
    }

    bytes = table_bytes(content);  // with the errors found
    const WriteResult written = write_file_whole(path, bytes);
    if (!written.ok()) {
        std::fprintf(stderr, "duoskop-make-precise-table: %s: %s\n", path, cp1252_to_utf8(written.message()).c_str());
        return 1;
    }
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_start).count();
    std::printf("%s: %zu Bytes, libnova %s, %d Prozess(e), %.0f s (Rechenzeit %.0f s)\n", path, bytes.size(),
                content.libnova_version.c_str(), jobs, wall, cpu_seconds());
    return 0;
}

/// The largest error of a fit of `body` with `choice` over `samples` intervals drawn at random
/// from the table's range, checked between every two nodes.
double survey_error(const Range& range, PreciseBody body, Choice choice, unsigned samples)
{
    std::mt19937 rng(static_cast<unsigned>(body) * 1000 + static_cast<unsigned>(choice.interval_days));
    std::uniform_int_distribution<std::uint64_t> pick(0, interval_count(range, choice.interval_days) - 1);
    const std::uint32_t n = choice.degree;
    std::vector<double> values(n + 1), c(n + 1);
    double worst = 0;
    for (unsigned s = 0; s < samples; ++s) {
        const double a = range.start_jde() + static_cast<double>(pick(rng)) * choice.interval_days;
        for (std::uint32_t k = 0; k <= n; ++k)
            values[k] = series_longitude(body, instant(a, choice.interval_days, lobatto_node(k, n)));
        fit_coefficients(values, c);
        for (std::uint32_t k = 0; k < n; ++k) {
            const double x = std::cos(pi * (k + 0.5) / n);
            worst = std::max(worst, arcsec(chebyshev_sum(c.data(), c.size(), x),
                                           series_longitude(body, instant(a, choice.interval_days, x))));
        }
    }
    return worst;
}

int survey(const Range& range, unsigned samples, unsigned jobs)
{
    struct Row {
        PreciseBody body;
        Choice choice;
    };
    std::vector<Row> rows;
    for (std::size_t b = 0; b < precise_body_count; ++b) {
        const PreciseBody body = precise_body(b);
        for (const Choice& c : body == PreciseBody::moon ? std::span<const Choice>(moon_choices)
                                                         : std::span<const Choice>(planet_choices))
            rows.push_back({body, c});
    }
    SharedArena arena(rows.size());
    double* errors = arena.data();
    run_in_processes(jobs, [&](unsigned k, unsigned of) {
        for (std::size_t r = k; r < rows.size(); r += of) errors[r] = survey_error(range, rows[r].body, rows[r].choice, samples);
        return true;
    });
    std::printf("K\xC3\xB6rper  Intervall  Grad  gr\xC3\xB6\xC3\x9Fte Abweichung  Gr\xC3\xB6\xC3\x9F" "e 1800-2100\n");
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const Row& row = rows[r];
        const double bytes = static_cast<double>(interval_count(range, row.choice.interval_days)) *
                             (static_cast<double>(row.choice.degree + 1) * 8 + 8);
        std::printf("%-6.*s %6.0f d %5u  %14.5f\"  %7.0f KiB\n", static_cast<int>(code(row.body).size()),
                    code(row.body).data(), row.choice.interval_days, row.choice.degree, errors[r], bytes / 1024);
    }
    return 0;
}

int check(const char* path)
{
    std::string error;
    const auto table = PreciseTable::open(path, error);
    if (!table) {
        std::fprintf(stderr, "duoskop-make-precise-table: %s: %s\n", path, cp1252_to_utf8(error).c_str());
        return 1;
    }
    const TableInfo& info = table->info();
    for (std::size_t b = 0; b < precise_body_count; ++b) {
        const double days = info.bodies[b].interval_days;
        for (std::uint64_t i = 0; i < info.bodies[b].intervals; ++i) {
            const double t = std::min(info.start_jde + (static_cast<double>(i) + 0.5) * days,
                                      std::nextafter(info.end_jde, info.start_jde));
            if (!table->longitude(precise_body(b), t)) {
                std::fprintf(stderr, "duoskop-make-precise-table: %s: Block %llu von %.*s besch\xC3\xA4" "digt\n",
                             path, static_cast<unsigned long long>(i), static_cast<int>(code(precise_body(b)).size()),
                             code(precise_body(b)).data());
                return 1;
            }
        }
    }
    return 0;
}

int usage()
{
    std::fputs("Aufruf: duoskop-make-precise-table TABELLE [--jobs N] [--years VON BIS] [--tolerance BOGENSEKUNDEN]\n"
               "        duoskop-make-precise-table --survey [--samples N] [--jobs N]\n"
               "        duoskop-make-precise-table --check TABELLE\n"
               "        duoskop-make-precise-table --libnova-version\n",
               stderr);
    return 2;
}

/// A whole number first .. last.
bool read_number(const std::string& text, long first, long last, long& value)
{
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || v < first || v > last) return false;
    value = v;
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "--libnova-version") {
        std::printf("%s\n", libnova_version().c_str());
        return 0;
    }
    if (args.size() == 2 && args[0] == "--check") return check(argv[2]);
    long jobs = 2, samples = 20, first = 1800, last = 2100;
    double tolerance = default_tolerance_arcsec;
    bool surveying = false;
    const char* path = nullptr;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::size_t left = args.size() - i - 1;
        if (args[i] == "--jobs" && left >= 1) {
            if (!read_number(args[++i], 1, 64, jobs)) return usage();
        } else if (args[i] == "--samples" && left >= 1) {
            if (!read_number(args[++i], 1, 100000, samples)) return usage();
        } else if (args[i] == "--years" && left >= 2) {
            if (!read_number(args[i + 1], 1000, 3000, first) || !read_number(args[i + 2], first, 3000, last))
                return usage();
            i += 2;
        } else if (args[i] == "--tolerance" && left >= 1) {
            const std::string& text = args[++i];
            const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), tolerance);
            if (error != std::errc() || end != text.data() + text.size() || !(tolerance > 0)) return usage();
        } else if (args[i] == "--survey") {
            surveying = true;
        } else if (path == nullptr && !args[i].starts_with("--")) {
            path = argv[i + 1];
        } else {
            return usage();
        }
    }
    const Range range{static_cast<std::int32_t>(first), static_cast<std::int32_t>(last)};
    if (surveying) return path == nullptr ? survey(range, static_cast<unsigned>(samples), static_cast<unsigned>(jobs)) : usage();
    if (path == nullptr) return usage();
    return make_table(path, range, tolerance, static_cast<unsigned>(jobs));
}

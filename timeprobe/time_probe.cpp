// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeprobe/time_probe.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <future>
#include <thread>

#include "analysis/comparisons.h"
#include "app/chart_file.h"
#include "app/dial.h"
#include "astro/calendar.h"
#include "astro/std_ho.h"
#include "base/texts.h"

namespace duoskop {

bool holds_for(const EntryStability& stability, TimeWindow window, int person)
{
    const ShiftRange& range = person == 1 ? stability.person1 : stability.person2;
    const int n = std::clamp(person == 1 ? window.person1 : window.person2, 0, max_time_window);
    return range.lo <= -n && range.hi >= n;
}

bool holds_over(const EntryStability& stability, TimeWindow window)
{
    return holds_for(stability, window, 1) && holds_for(stability, window, 2);
}

// --- Shifted records -------------------------------------------------------------------------

namespace {

constexpr std::int64_t seconds_per_day = 86400;

std::int64_t floor_div(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// `value` with at least `width` digits, leading zeros added.
void append_digits(std::string& out, std::int64_t value, int width)
{
    char buffer[24];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    (void)error;  // 24 characters hold any 64-bit number
    const auto length = static_cast<int>(end - buffer);
    if (length < width) out.append(static_cast<std::size_t>(width - length), '0');
    out.append(buffer, end);
}

}  // namespace

namespace {

// A birth time moved by whole minutes: the record a chart file would hold and its instant.
struct Shift {
    chart_record record;
    ChartInstant instant;
};

std::optional<Shift> shift_of(const chart_record& record, int minutes)
{
    const BirthData birth = werte_aktual(record);
    Shift shift{record, chart_instant(birth)};
    if (minutes == 0) return shift;

    const TimeParts time = time_parts(record.time);
    const std::int64_t seconds = std::int64_t{time.hours} * 3600 + std::int64_t{time.minutes} * 60 +
                                 time.seconds + std::int64_t{minutes} * 60;
    const std::int64_t days = floor_div(seconds, seconds_per_day);
    const std::int64_t of_day = seconds - days * seconds_per_day;
    const std::int64_t hh = of_day / 3600, mm = of_day / 60 % 60, ss = of_day % 60;

    shift.record.time.clear();
    append_digits(shift.record.time, hh, 2);
    shift.record.time += ':';
    append_digits(shift.record.time, mm, 2);
    shift.record.time += ':';
    append_digits(shift.record.time, ss, 2);
    // The time of day as a chart file holding it is read: hours + minutes/60 + seconds/3600.
    shift.instant.hours = static_cast<double>(hh) + static_cast<double>(mm) / 60 + static_cast<double>(ss) / 3600;
    if (days == 0) return shift;

    // Whole days on in the chart computation's own count, named in the chart calendar.
    shift.instant.jd0 += static_cast<double>(days);
    const double number = shift.instant.jd0 + 0.5;
    if (!(std::abs(number) < 1e9)) return std::nullopt;
    const ChartDate date = chart_date_of(static_cast<std::int64_t>(number));
    // The year has four characters in the field: 0000..9999, or a minus and three digits.
    if (date.year > 9999 || date.year < -999) return std::nullopt;
    shift.record.date.clear();
    append_digits(shift.record.date, date.day, 2);
    shift.record.date += '.';
    append_digits(shift.record.date, date.month, 2);
    shift.record.date += '.';
    if (date.year < 0) {
        shift.record.date += '-';
        append_digits(shift.record.date, -date.year, 3);
    } else {
        append_digits(shift.record.date, date.year, 4);
    }
    shift.instant.year = static_cast<std::int32_t>(date.year);
    // Before the year 1 the chart computation counts the days of a date otherwise than the
    // calendar names them: such a day has no date field that means it.
    const DateParts written = date_parts(shift.record.date);
    if (chart_julian_day0(written.year, written.month, written.day) != shift.instant.jd0) return std::nullopt;
    return shift;
}

}  // namespace

std::optional<chart_record> shifted_record(const chart_record& record, int minutes)
{
    std::optional<Shift> shift = shift_of(record, minutes);
    if (!shift) return std::nullopt;
    return std::move(shift->record);
}

std::optional<ChartInstant> shifted_instant(const chart_record& record, int minutes)
{
    const std::optional<Shift> shift = shift_of(record, minutes);
    if (!shift) return std::nullopt;
    return shift->instant;
}

// --- The probe -------------------------------------------------------------------------------

namespace {

// The distinct entry texts of one target, sorted, and for each entry of the list its text's index.
struct Target {
    Comparison comparison;
    std::vector<std::string> keys;
    std::vector<std::size_t> key_of_entry;
};

Target make_target(const ProbeTarget& target)
{
    Target t{target.comparison, target.entries, {}};
    std::sort(t.keys.begin(), t.keys.end());
    t.keys.erase(std::unique(t.keys.begin(), t.keys.end()), t.keys.end());
    t.key_of_entry.reserve(target.entries.size());
    for (const std::string& entry : target.entries)
        t.key_of_entry.push_back(static_cast<std::size_t>(
            std::lower_bound(t.keys.begin(), t.keys.end(), entry) - t.keys.begin()));
    return t;
}

// One person's time shifted one way, minute after minute, up to `limit` minutes.
struct Walk {
    int person;
    int direction;  // +1 or -1
    int limit;
};

// The entries of one comparison on a shifted chart. The simple complements of the chart are kept
// for the half-sum evaluation, which needs their counts, so that they run once per chart.
class ShiftedRun {
public:
    ShiftedRun(const ChartState& chart, const Orbs& orbs) : chart_(chart), orbs_(orbs) {}

    std::vector<std::string> entries(Comparison comparison)
    {
        if (comparison == Comparison::simples) return simples().entries;
        if (comparison != Comparison::halfsums) return run_comparison(comparison, chart_, orbs_).entries;
        simples();
        return halfsum_evaluation(chart_, orbs_, halfsum_count_).entries;
    }

private:
    const ResultText& simples()
    {
        if (!simples_) {
            FirstTimeFlags flags;
            simples_ = simple_complements(chart_, orbs_, flags, halfsum_count_);
        }
        return *simples_;
    }

    const ChartState& chart_;
    const Orbs& orbs_;
    std::optional<ResultText> simples_;
    HalfsumCount halfsum_count_{};
};

// How far (in minutes, without sign) each text of each target stayed on a walk.
using Reach = std::vector<std::vector<int>>;

// Walks from 1 minute outwards; a text stays while it stands in every shifted list so far. The
// walk stops early once no text of any target stays.
Reach run_walk(const Walk& walk, const std::vector<Target>& targets, const ChartState& chart,
               const Orbs& orbs, const ProbeOptions& options)
{
    Reach reach(targets.size());
    std::vector<std::vector<char>> staying(targets.size());
    std::size_t alive = 0;
    for (std::size_t t = 0; t < targets.size(); ++t) {
        reach[t].assign(targets[t].keys.size(), 0);
        staying[t].assign(targets[t].keys.size(), 1);
        alive += targets[t].keys.size();
    }

    const chart_record& record = walk.person == 1 ? chart.person1 : chart.person2;
    const GeoPlace place = chart_place(werte_aktual(record));
    ChartState shifted = chart;  // this walk's own state
    std::vector<std::string> present;
    for (int k = 1; k <= walk.limit && alive > 0; ++k) {
        const std::optional<ChartInstant> moved = shifted_instant(record, walk.direction * k);
        if (!moved) break;  // no chart file can hold that date: the texts stay as far as they came
        // Computed as a load of a record with that time would compute it; the search axes as
        // after person 2.
        const Positions positions = options.compute != nullptr ? options.compute(*moved, place)
                                                               : positions_at(*moved, place, options.source);
        (walk.person == 1 ? shifted.pos1 : shifted.pos2) = positions;
        form_search_axes(shifted.pos1, shifted.pos2, shifted.axes);

        ShiftedRun run(shifted, orbs);
        for (std::size_t t = 0; t < targets.size(); ++t) {
            std::vector<char>& stays = staying[t];
            if (std::find(stays.begin(), stays.end(), 1) == stays.end()) continue;
            present = run.entries(targets[t].comparison);
            std::sort(present.begin(), present.end());
            for (std::size_t i = 0; i < stays.size(); ++i) {
                if (!stays[i]) continue;
                if (std::binary_search(present.begin(), present.end(), targets[t].keys[i])) {
                    reach[t][i] = k;
                } else {
                    stays[i] = 0;
                    --alive;
                }
            }
        }
    }
    return reach;
}

}  // namespace

std::vector<std::vector<EntryStability>> time_probe(std::span<const ProbeTarget> target_list,
                                                    const ChartState& chart, const Orbs& orbs,
                                                    TimeWindow window, const ProbeOptions& options)
{
    std::vector<Target> targets;
    targets.reserve(target_list.size());
    for (const ProbeTarget& target : target_list) targets.push_back(make_target(target));

    const auto clamp = [](int n) { return std::clamp(n, 0, max_time_window); };
    std::vector<Walk> walks;
    for (const Walk& walk : {Walk{1, +1, clamp(window.person1)}, Walk{1, -1, clamp(window.person1)},
                             Walk{2, +1, clamp(window.person2)}, Walk{2, -1, clamp(window.person2)}})
        if (walk.limit > 0) walks.push_back(walk);

    // The workers take the walks one after another; each walk writes only its own reach.
    std::vector<Reach> reaches(walks.size());
    std::atomic<std::size_t> next{0};
    const auto worker = [&] {
        for (std::size_t w = next++; w < walks.size(); w = next++)
            reaches[w] = run_walk(walks[w], targets, chart, orbs, options);
    };
    const std::size_t helpers =
        std::min<std::size_t>(static_cast<std::size_t>(std::max(options.workers, 1)) - 1,
                              walks.empty() ? 0 : walks.size() - 1);
    std::vector<std::future<void>> running;
    for (std::size_t h = 0; h < helpers; ++h) running.push_back(std::async(std::launch::async, worker));
    worker();
    for (std::future<void>& f : running) f.get();

    std::vector<std::vector<EntryStability>> result(targets.size());
    for (std::size_t t = 0; t < targets.size(); ++t) {
        std::vector<EntryStability> per_key(targets[t].keys.size());
        for (std::size_t w = 0; w < walks.size(); ++w) {
            for (std::size_t i = 0; i < per_key.size(); ++i) {
                ShiftRange& range = walks[w].person == 1 ? per_key[i].person1 : per_key[i].person2;
                (walks[w].direction > 0 ? range.hi : range.lo) = walks[w].direction * reaches[w][t][i];
            }
        }
        result[t].reserve(targets[t].key_of_entry.size());
        for (const std::size_t key : targets[t].key_of_entry) result[t].push_back(per_key[key]);
    }
    return result;
}

std::vector<EntryStability> time_probe(Comparison comparison, const ChartState& chart,
                                       const Orbs& orbs, const std::vector<std::string>& entries,
                                       TimeWindow window, const ProbeOptions& options)
{
    const ProbeTarget target{comparison, entries};
    return std::move(time_probe(std::span(&target, 1), chart, orbs, window, options).front());
}

// --- Texts -----------------------------------------------------------------------------------

namespace {

// A number as printf's %+d writes it.
void append_signed(std::string& out, int value)
{
    if (value >= 0) out += '+';
    append_digits(out, value, 1);
}

// A number for the tooltip: a typographic minus (an en dash) or a plus before it, 0 bare.
void append_tooltip_number(std::string& out, int value)
{
    if (value < 0) {
        out += '\x96';
        append_digits(out, -static_cast<std::int64_t>(value), 1);
    } else {
        if (value > 0) out += '+';
        append_digits(out, value, 1);
    }
}

}  // namespace

std::string stability_text(const EntryStability& stability, TimeWindow window)
{
    if (holds_over(stability, window)) return "fest";
    std::string text = "P1 ";
    append_signed(text, stability.person1.lo);
    text += "..";
    append_signed(text, stability.person1.hi);
    text += " P2 ";
    append_signed(text, stability.person2.lo);
    text += "..";
    append_signed(text, stability.person2.hi);
    return text;
}

std::string stability_tooltip(const EntryStability& stability, TimeWindow window)
{
    if (holds_over(stability, window)) return {};
    std::string text(texts::kTimeProbeDepends);
    for (int person = 1; person <= 2; ++person) {
        if (person == 2) text += ", ";
        text += texts::kTimeProbePerson;
        text += static_cast<char>('0' + person);
        if (holds_for(stability, window, person)) {
            text += texts::kTimeProbeHolds;
            continue;
        }
        const ShiftRange& range = person == 1 ? stability.person1 : stability.person2;
        text += texts::kTimeProbeOnly;
        append_tooltip_number(text, range.lo);
        text += texts::kTimeProbeTo;
        append_tooltip_number(text, range.hi);
        text += texts::kTimeProbeMinutes;
    }
    return text;
}

}  // namespace duoskop

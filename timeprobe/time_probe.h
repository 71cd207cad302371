// SPDX-License-Identifier: GPL-3.0-or-later
// The time probe ("Zeitprobe"): which result entries of a comparison survive an error of a few
// minutes in either birth time. The birth time of one person is shifted minute by minute, the
// shifted chart computed as a chart file with that time would be, the comparison run again, and
// for every entry of the unshifted result list the shifts over which it stays are reported.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "analysis/comparisons.h"
#include "app/chart_state.h"
#include "astro/std_ho.h"
#include "precise/precise_positions.h"
#include "results/result_text.h"

namespace duoskop {

/// The largest window: 720 minutes either way spans a whole day around 12:00:00, the time that
/// marks an unknown birth time.
inline constexpr int max_time_window = 720;

/// How far each birth time is shifted, in whole minutes either way; 0 leaves that time alone.
struct TimeWindow {
    int person1 = 4;
    int person2 = 4;
    bool operator==(const TimeWindow&) const = default;
    /// Neither time is shifted: the probe has nothing to tell.
    bool off() const { return person1 == 0 && person2 == 0; }
};

/// Shifts in whole minutes, lo <= 0 <= hi, over which an entry stays in the list without a gap.
struct ShiftRange {
    int lo = 0;
    int hi = 0;
    bool operator==(const ShiftRange&) const = default;
};

/// How one entry of the unshifted list fares when person 1's and person 2's time is shifted.
struct EntryStability {
    ShiftRange person1;
    ShiftRange person2;
    bool operator==(const EntryStability&) const = default;
};

/// The entry holds over the whole window of that person (person 1 or 2).
bool holds_for(const EntryStability& stability, TimeWindow window, int person);
/// The entry holds over both whole windows ("fest").
bool holds_over(const EntryStability& stability, TimeWindow window);

/// The record whose time field holds the birth time of `record` shifted by `minutes`, written
/// HH:MM:SS, and whose date field, when the shift crosses midnight, holds the day as many days
/// on as the chart computation counts them (so the day after 31.12.1581 is 11.01.1582), written
/// DD.MM.YYYY in the chart calendar. A shift of 0 gives the record unchanged; nothing when the
/// field cannot name the new day (a year beyond 9999 or before -999, or a day that a date field
/// would read back as another).
std::optional<chart_record> shifted_record(const chart_record& record, int minutes);

/// The instant of shifted_record(record, minutes) as the chart computation reads it, worked out
/// without writing the record: the same Julian day of 0h, hours and year, bit for bit.
std::optional<ChartInstant> shifted_instant(const chart_record& record, int minutes);

/// Positions for an instant and a place, for a probe that brings its own computation.
using InstantFunction = Positions (*)(const ChartInstant& instant, const GeoPlace& place);

/// The shifted charts must come from the source the unshifted chart came from, else every entry
/// that depends on a body the two compute differently would seem to fall away at once.
struct ProbeOptions {
    int workers = 2;                                 ///< threads that share the shifted runs (at least 1)
    PositionSource source = PositionSource::theory;  ///< the source of the unshifted charts
    InstantFunction compute = nullptr;               ///< instead of positions_at with `source`
};

/// One comparison and its unshifted result entries.
struct ProbeTarget {
    Comparison comparison = Comparison::solar;
    std::vector<std::string> entries;
};

/// For every entry of `entries`, the unshifted result list of `comparison` on `chart`, the shifts
/// of each person's birth time within `window` over which the same text stands in the shifted
/// result list. Person 1's time is shifted with person 2's unchanged and the other way round.
/// The chart's person records must be those its positions were computed from. Reentrant.
std::vector<EntryStability> time_probe(Comparison comparison, const ChartState& chart,
                                       const Orbs& orbs, const std::vector<std::string>& entries,
                                       TimeWindow window, const ProbeOptions& options = {});

/// The same for several comparisons at once: each shifted chart is computed once for all of them.
/// The result holds one vector per target, in the order of `targets`.
std::vector<std::vector<EntryStability>> time_probe(std::span<const ProbeTarget> targets,
                                                    const ChartState& chart, const Orbs& orbs,
                                                    TimeWindow window,
                                                    const ProbeOptions& options = {});

/// "fest", or "P1 LO..HI P2 LO..HI" with every number signed (-3, +0, +2).
std::string stability_text(const EntryStability& stability, TimeWindow window);

/// The tooltip of an entry that does not hold over both windows (Windows-1252), such as
/// "hängt an der Geburtszeit: Person 1 nur –3 bis +2 min, Person 2 fest"; empty when it holds.
std::string stability_tooltip(const EntryStability& stability, TimeWindow window);

}  // namespace duoskop

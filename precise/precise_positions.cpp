// SPDX-License-Identifier: GPL-3.0-or-later
#include "precise/precise_positions.h"

#include <array>
#include <cmath>
#include <cstddef>

#include "astro/std_ho.h"
#include "base/drive_c.h"
#include "precise/delta_t.h"
#include "precise/precise_series.h"

namespace duoskop {

namespace {

/// Replaces SO, MO and ME to PL of `positions` by the precise positions at `instant`, from
/// `table` where it serves the instant, else from the series.
void apply_precise_positions(const ChartInstant& instant, Positions& positions, const PreciseTable* table)
{
    if (instant.year < precise_first_year || instant.year > precise_last_year) return;
    const double jd = instant.julian_day();
    if (!std::isfinite(jd)) return;
    const double year = 2000 + (jd - 2451544.5) / 365.25;
    // A time of day of many days (the fields allow 99 hours) stays within reach of the years.
    if (!(year > precise_first_year - 1 && year < precise_last_year + 2)) return;
    const double jde = jd + delta_t_seconds(year) / 86400;
    std::array<double, precise_body_count> longitudes{};
    const bool from_table = table != nullptr && instant.year >= table->info().first_year &&
                            instant.year <= table->info().last_year && table->longitudes(jde, longitudes);
    if (!from_table) longitudes = series_longitudes(jde);
    for (std::size_t i = 0; i < precise_body_count; ++i) positions[precise_position_index[i]] = longitudes[i];
}

}  // namespace

const InstalledTable& installed_precise_table()
{
    static const InstalledTable installed = [] {
        InstalledTable t;
        t.path = program_data_dir() / precise_table_file_name;
        t.table = PreciseTable::open(t.path, t.error);
        return t;
    }();
    return installed;
}

Positions positions_at(const ChartInstant& instant, const GeoPlace& place, PositionSource source,
                       const PreciseTable* table)
{
    Positions positions = f_rechnen(instant, place);
    if (source == PositionSource::precise) apply_precise_positions(instant, positions, table);
    return positions;
}

Positions positions_at(const ChartInstant& instant, const GeoPlace& place, PositionSource source)
{
    const PreciseTable* table = source == PositionSource::precise ? installed_precise_table().table.get() : nullptr;
    return positions_at(instant, place, source, table);
}

Positions chart_positions(const BirthData& birth, PositionSource source)
{
    return positions_at(chart_instant(birth), chart_place(birth), source);
}

Positions theory_chart_positions(const BirthData& birth) { return chart_positions(birth, PositionSource::theory); }
Positions precise_chart_positions(const BirthData& birth) { return chart_positions(birth, PositionSource::precise); }

LoadResult holen(const std::string& path, int person, ChartState& state, PositionSource source)
{
    return holen(path, person, state,
                 source == PositionSource::precise ? &precise_chart_positions : &theory_chart_positions);
}

}  // namespace duoskop

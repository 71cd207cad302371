// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeline/ring.h"

#include <cmath>

#include "timeline/paths.h"
#include "timeline/timeline_export.h"
#include "timeline/timeline_texts.h"

namespace duoskop {

TimelineRequest ring_request()
{
    TimelineRequest request;
    request.arc_bodies = ring_arc_bodies();
    request.transit_bodies = ring_transit_bodies();
    return request;
}

std::vector<MovingPoint> ring_points(const ChartState& chart, const TimelineRequest& request, double instant)
{
    std::vector<MovingPoint> points;
    if (!std::isfinite(instant)) return points;
    const MoversAt at = movers_at(chart, request, instant);
    for (std::size_t k = 0; k < at.movers.size() && k < at.longitudes.size(); ++k)
        if (std::isfinite(at.longitudes[k])) points.push_back({mover_name(at.movers[k]), at.longitudes[k]});
    return points;
}

std::string ring_legend(double instant)
{
    const MinuteTime m = minute_time(instant);
    return std::string(texts::kRingLegend) + date_text(m) + " " + clock_text(m) + std::string(texts::kRingLegendUt);
}

}  // namespace duoskop

// SPDX-License-Identifier: GPL-3.0-or-later
// midpoints: the sorted midpoint list of a dial of any size, or the midpoint tree at a pointer, of
// the factors and midpoints of two persons. Draws nothing, so it runs without Qt.
#include <cstdio>
#include <optional>
#include <string>

#include "app/chart_file.h"
#include "app/dial.h"
#include "cli/cli.h"
#include "cli/options.h"
#include "dialview/dial_view.h"
#include "dialview/midpoints.h"

namespace duoskop::cli {

namespace {

/// The orb of the tree until one is given: the dial window's while no simple orb is entered.
constexpr double default_orb = 1.0;

// Degrees with two decimals and the decimal comma: "7,53".
std::string degrees(double value)
{
    std::string text = decimal_text(value, 2);
    for (char& c : text)
        if (c == '.') c = ',';
    return text;
}

// Position, name and longitude of a point, separated by tabs (UTF-8).
std::string item_line(const DialItem& item)
{
    return degrees(item.position) + "\t" + point_name(item.point) + "\t" +
           terminal_text(position_text(item.longitude));
}

void print_tree(const PointerTree& tree)
{
    std::printf("Zeiger %s auf der %s\u00B0-Scheibe, Orbis %s\n", degrees(tree.pointer).c_str(),
                modulus_text(tree.modulus).c_str(), degrees(tree.orb).c_str());
    for (const TreeBranch& branch : tree.factors) {
        std::printf("%s\t%s\n", item_line(branch.factor).c_str(), degrees(branch.factor.distance).c_str());
        for (const DialItem& midpoint : branch.midpoints)
            std::printf("  %s\t%s\n", item_line(midpoint).c_str(), degrees(midpoint.distance).c_str());
    }
    for (const DialItem& midpoint : tree.midpoints)
        std::printf("%s\t%s\n", item_line(midpoint).c_str(), degrees(midpoint.distance).c_str());
}

}  // namespace

constexpr OptionRule midpoints_rule_table[] = {
    {"--modulus", 1}, {"--sorted"}, {"--pointer", 1}, {"--orb", 1}, {"--drive-c", 1}};
constinit const std::span<const OptionRule> midpoints_rules = midpoints_rule_table;

int cmd_midpoints(const Args& args)
{
    const ReadOptions o = read_options(args, midpoints_rules);
    if (!o.ok() || o.positionals.size() != 2 || (o.has("--sorted") && o.has("--pointer")))
        return usage("midpoints");
    double modulus = dial_span;
    for (const std::string& v : o.each("--modulus")) {
        const std::optional<double> m = parse_modulus(v);
        if (!m) return usage("midpoints");
        modulus = *m;
    }
    std::optional<double> pointer;
    for (const std::string& v : o.each("--pointer"))
        if (!(pointer = parse_degrees(v))) return usage("midpoints");
    double orb = default_orb;
    for (const std::string& v : o.each("--orb")) {
        const std::optional<double> given = parse_orb(v);
        if (!given) return usage("midpoints");
        orb = *given;
    }

    ChartState chart;
    if (!load_persons(o.positionals[0], o.positionals[1], DriveC::locate(o.value("--drive-c")),
                      PositionSource::theory, chart))
        return 1;
    if (pointer) {
        print_tree(pointer_tree(chart.pos1, &chart.pos2, *pointer, orb, modulus));
    } else {
        for (const DialItem& item : sorted_midpoints(chart.pos1, &chart.pos2, modulus))
            std::printf("%s\n", item_line(item).c_str());
    }
    return 0;
}

}  // namespace duoskop::cli

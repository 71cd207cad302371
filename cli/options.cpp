// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/options.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "app/orb.h"
#include "base/cp1252.h"

namespace duoskop::cli {

namespace {

bool is_option(const std::string& a) { return a.size() > 1 && a[0] == '-'; }

}  // namespace

bool ReadOptions::has(std::string_view name) const
{
    return std::any_of(given.begin(), given.end(), [&](const Given& g) { return g.name == name; });
}

std::optional<std::vector<std::string>> ReadOptions::values(std::string_view name) const
{
    for (auto g = given.rbegin(); g != given.rend(); ++g)
        if (g->name == name) return g->values;
    return std::nullopt;
}

std::optional<std::string> ReadOptions::value(std::string_view name) const
{
    const auto v = values(name);
    if (!v || v->empty()) return std::nullopt;
    return v->front();
}

std::vector<std::string> ReadOptions::each(std::string_view name) const
{
    std::vector<std::string> found;
    for (const Given& g : given)
        if (g.name == name && !g.values.empty()) found.push_back(g.values.front());
    return found;
}

ReadOptions read_options(const Args& args, std::span<const OptionRule> options)
{
    ReadOptions read;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--") {
            read.positionals.insert(read.positionals.end(), args.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                    args.end());
            break;
        }
        if (!is_option(a)) {
            read.positionals.push_back(a);
            continue;
        }
        const auto rule = std::find_if(options.begin(), options.end(), [&](const OptionRule& o) { return o.name == a; });
        if (rule == options.end()) {
            read.problem = "unbekannte Option " + valid_utf8(a);
            return read;
        }
        if (!rule->repeats && read.has(rule->name)) {
            read.problem = a + " darf nur einmal stehen";
            return read;
        }
        if (args.size() - i - 1 < static_cast<std::size_t>(rule->values)) {
            read.problem = a + (rule->values == 1 ? " braucht einen Wert" : " braucht zwei Werte");
            return read;
        }
        ReadOptions::Given g{rule->name, {}};
        for (int k = 0; k < rule->values; ++k) g.values.push_back(args[++i]);
        read.given.push_back(std::move(g));
    }
    return read;
}

Request help_or_version(const Args& args, std::span<const OptionRule> rules)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--") break;
        if (a == "--help" || a == "-h") return Request::help;
        if (a == "--version") return Request::version;
        if (!is_option(a)) continue;
        // The values of a known option are passed over, whatever they look like.
        const auto rule = std::find_if(rules.begin(), rules.end(), [&](const OptionRule& o) { return o.name == a; });
        if (rule != rules.end()) i += static_cast<std::size_t>(rule->values);
    }
    return Request::none;
}

std::optional<double> parse_degrees(std::string text)
{
    for (char& c : text)
        if (c == ',') c = '.';
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, std::chars_format::general);
    if (text.empty() || error != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<long long> parse_whole(std::string_view text, long long min, long long max)
{
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < min || value > max) return std::nullopt;
    return value;
}

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

std::optional<double> parse_orb(const std::string& text)
{
    const OrbReading reading = read_orb(text);
    if (!reading.ok) return std::nullopt;
    return reading.value;
}

}  // namespace duoskop::cli

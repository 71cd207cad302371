// SPDX-License-Identifier: GPL-3.0-or-later
#include "places/atlas.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <map>
#include <utility>

#include "base/drive_c.h"
#include "base/io_error.h"
#include "places/latin_fold.h"

namespace duoskop {

namespace {

/// Decodes the UTF-8 sequence at text[i]; nothing (and i unchanged) when it is not well-formed.
std::optional<char32_t> next_code_point(std::string_view text, std::size_t& i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
    if (length == 0 || i + length > text.size()) return std::nullopt;
    char32_t cp = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return std::nullopt;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    i += length;
    return cp;
}

/// The plain letters of a Latin letter with accents; nothing for other characters.
std::optional<std::string_view> folded_letter(char32_t cp)
{
    using namespace latin_fold;
    if (cp >= kLatin1ExtendedFirst && cp < kLatin1ExtendedFirst + kLatin1Extended.size())
        return kLatin1Extended[cp - kLatin1ExtendedFirst];
    if (cp >= kLatinAdditionalFirst && cp < kLatinAdditionalFirst + kLatinAdditional.size())
        return kLatinAdditional[cp - kLatinAdditionalFirst];
    return std::nullopt;
}

std::string_view field(std::string_view& line)
{
    const std::size_t tab = line.find('\t');
    const std::string_view f = line.substr(0, tab);
    line.remove_prefix(tab == std::string_view::npos ? line.size() : tab + 1);
    return f;
}

template <typename Number>
std::optional<Number> number(std::string_view text)
{
    Number value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

/// The first eight bytes of a key as one number that sorts as the bytes do.
std::uint64_t key_head(std::string_view key)
{
    std::uint64_t head = 0;
    for (std::size_t i = 0; i < 8; ++i)
        head = (head << 8) | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0U);
    return head;
}

struct VehicleCode {
    std::string_view vehicle;
    std::string_view iso;
};
// International vehicle codes that are no ISO code of the same country.
constexpr std::array<VehicleCode, 58> vehicle_codes = {{
    {"A", "AT"},   {"B", "BE"},   {"C", "CU"},   {"D", "DE"},   {"E", "ES"},   {"F", "FR"},
    {"H", "HU"},   {"I", "IT"},   {"J", "JP"},   {"K", "KH"},   {"L", "LU"},   {"M", "MT"},
    {"N", "NO"},   {"P", "PT"},   {"S", "SE"},   {"T", "TH"},   {"V", "VA"},   {"Z", "ZM"},
    {"FL", "LI"},  {"RA", "AR"},  {"RC", "TW"},  {"RL", "LB"},  {"SF", "FI"},  {"YV", "VE"},
    {"RI", "ID"},  {"UK", "GB"},  {"AND", "AD"}, {"AUS", "AU"}, {"BIH", "BA"}, {"BOL", "BO"},
    {"CDN", "CA"}, {"CHN", "CN"}, {"DOM", "DO"}, {"EAK", "KE"}, {"EAT", "TZ"}, {"EAU", "UG"},
    {"EST", "EE"}, {"FIN", "FI"}, {"GBZ", "GI"}, {"GCA", "GT"}, {"IND", "IN"}, {"IRL", "IE"},
    {"LAR", "LY"}, {"MEX", "MX"}, {"MNE", "ME"}, {"NMK", "MK"}, {"RCH", "CL"}, {"RMM", "ML"},
    {"ROK", "KR"}, {"ROU", "UY"}, {"RSM", "SM"}, {"RUS", "RU"}, {"SLO", "SI"}, {"SRB", "RS"},
    {"SUD", "SD"}, {"USA", "US"}, {"WAN", "NG"}, {"ZRE", "CD"},
}};
static_assert(vehicle_codes.size() == 58);

}  // namespace

namespace {

/// Appends the search key of `utf8` to `out` (see search_key).
void append_search_key(std::string_view utf8, std::string& out)
{
    const std::size_t begin = out.size();
    // Each plain letter goes through here: umlauts written ae, oe, ue lose their e (the e of a
    // letter that itself came from a dropped e stays: "uee" keeps its second e), blanks collapse.
    bool dropped_e = false;
    const auto put = [&](char c) {
        const bool at_start = out.size() == begin;
        if (c == ' ' && (at_start || out.back() == ' ')) return;
        if (c == 'e' && !at_start && !dropped_e && (out.back() == 'a' || out.back() == 'o' || out.back() == 'u')) {
            dropped_e = true;
            return;
        }
        dropped_e = false;
        out += c;
    };
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t start = i;
        const auto cp = next_code_point(utf8, i);
        if (!cp) {
            put(utf8[i++]);  // a stray byte: kept, so that nothing matches it by accident
            continue;
        }
        if (*cp < 0x80) {
            const char c = static_cast<char>(*cp);
            if (c >= 'A' && c <= 'Z') put(static_cast<char>(c - 'A' + 'a'));
            else if (c == '-' || c == '/' || c == '\t' || c == '_' || c == ',') put(' ');
            else if (c != '.' && c != '\'') put(c);
        } else if (*cp == 0x2019 || *cp == 0x02BB || *cp == 0x02BC) {
            // typographic apostrophes are dropped like the plain one
        } else if (const auto letters = folded_letter(*cp); letters && !letters->empty()) {
            for (char c : *letters) put(c);
        } else {
            for (char c : utf8.substr(start, i - start)) put(c);
        }
    }
    if (out.size() > begin && out.back() == ' ') out.pop_back();
}

}  // namespace

std::string search_key(std::string_view utf8)
{
    std::string key;
    key.reserve(utf8.size());
    append_search_key(utf8, key);
    return key;
}

struct Atlas::Row {
    std::string_view name, country, region;
    double latitude, longitude;
    std::uint32_t zone;
    std::int64_t population;
};

struct Atlas::Key {
    std::uint64_t head;  // the first eight bytes, for fast ordering
    std::uint32_t offset, length;
    std::uint32_t place;
};

struct Atlas::Data {
    std::string text;   // the atlas file; the rows point into it
    std::string folded; // all search keys back to back
    std::vector<std::string_view> zones;
    std::vector<Row> places;
    std::vector<Key> keys;  // sorted by key
    std::string_view key(const Key& k) const { return std::string_view(folded).substr(k.offset, k.length); }
};

Atlas Atlas::parse(std::string text)
{
    auto data = std::make_shared<Data>();
    data->text = std::move(text);
    const std::string_view all(data->text);
    std::map<std::pair<std::string_view, std::string_view>, std::string_view> region_names;
    std::vector<std::pair<std::uint32_t, std::string_view>> names;  // place, name; folded below
    data->places.reserve(all.size() / 64);
    names.reserve(all.size() / 24);

    for (std::size_t start = 0; start < all.size();) {
        std::size_t stop = all.find('\n', start);
        if (stop == std::string_view::npos) stop = all.size();
        std::string_view line = all.substr(start, stop - start);
        start = stop + 1;
        const std::string_view tag = field(line);
        if (tag == "Z") {
            data->zones.push_back(field(line));
        } else if (tag == "R") {
            const std::string_view country = field(line), code = field(line);
            region_names[{country, code}] = field(line);
        } else if (tag == "P") {
            Row row{};
            row.name = field(line);
            row.country = field(line);
            row.region = field(line);
            const auto lat = number<double>(field(line)), lon = number<double>(field(line));
            const auto zone = number<std::uint32_t>(field(line));
            const auto population = number<std::int64_t>(field(line));
            if (row.name.empty() || !lat || !lon || !zone || !population || *zone >= data->zones.size() ||
                !(*lat >= -90 && *lat <= 90) || !(*lon >= -180 && *lon <= 180) || *population < 0)
                continue;
            row.latitude = *lat;
            row.longitude = *lon;
            row.zone = *zone;
            row.population = *population;
            if (const auto r = region_names.find({row.country, row.region}); r != region_names.end())
                row.region = r->second;
            const auto index = static_cast<std::uint32_t>(data->places.size());
            data->places.push_back(row);
            names.emplace_back(index, row.name);
            for (std::string_view alternates = field(line); !alternates.empty();) {
                const std::size_t bar = alternates.find('|');
                names.emplace_back(index, alternates.substr(0, bar));
                alternates.remove_prefix(bar == std::string_view::npos ? alternates.size() : bar + 1);
            }
        }
    }

    data->keys.reserve(names.size());
    data->folded.reserve(all.size() / 3);
    for (const auto& [place, name] : names) {
        const auto offset = static_cast<std::uint32_t>(data->folded.size());
        append_search_key(name, data->folded);
        const auto length = static_cast<std::uint32_t>(data->folded.size() - offset);
        if (length == 0) continue;
        data->keys.push_back({key_head(std::string_view(data->folded).substr(offset)), offset, length, place});
    }
    const Data& d = *data;
    std::sort(data->keys.begin(), data->keys.end(), [&d](const Key& a, const Key& b) {
        if (a.head != b.head) return a.head < b.head;
        return d.key(a) < d.key(b);
    });
    return Atlas(std::move(data));
}

std::optional<Atlas> Atlas::load(const std::filesystem::path& path, std::string& error)
{
    const File file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        error = io_error_text(errno);
        return std::nullopt;
    }
    std::string text;
    std::size_t used = 0;
    for (std::size_t n = 1; n > 0; used += n) {
        if (text.size() - used < (1 << 20)) text.resize(std::max<std::size_t>(text.size() * 2, 1 << 24));
        n = std::fread(text.data() + used, 1, text.size() - used, file.get());
    }
    text.resize(used);
    if (std::ferror(file.get())) {
        error = read_error_text(file.get());
        return std::nullopt;
    }
    return parse(std::move(text));
}

Place Atlas::place(std::uint32_t index) const
{
    const Row& row = data_->places[index];
    return {std::string(row.name), std::string(row.region), std::string(row.country), row.latitude,
            row.longitude, std::string(data_->zones[row.zone]), row.population};
}

std::vector<Place> Atlas::search(std::string_view query, std::size_t limit, std::string_view country,
                                 NameMatch match) const
{
    const std::string q = search_key(query);
    if (q.empty() || limit == 0) return {};
    std::string wanted_country(country);
    for (char& c : wanted_country)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');

    const Data& d = *data_;
    const std::uint64_t head = key_head(q);
    auto it = std::lower_bound(d.keys.begin(), d.keys.end(), q, [&](const Key& k, const std::string& v) {
        if (k.head != head) return k.head < head;
        return d.key(k) < std::string_view(v);
    });
    struct Hit {
        std::uint32_t place;
        bool whole;
    };
    std::vector<Hit> hits;
    for (; it != d.keys.end() && d.key(*it).starts_with(q); ++it) {
        const bool whole = it->length == q.size();
        if (match == NameMatch::whole && !whole) break;  // the equal keys come first
        if (!wanted_country.empty() && d.places[it->place].country != wanted_country) continue;
        hits.push_back({it->place, whole});
    }
    // One hit per place, the whole-name one where there are both.
    std::sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) {
        return a.place != b.place ? a.place < b.place : a.whole > b.whole;
    });
    hits.erase(std::unique(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) { return a.place == b.place; }),
               hits.end());
    const auto better = [&d](const Hit& a, const Hit& b) {
        if (a.whole != b.whole) return a.whole;
        const Row &ra = d.places[a.place], &rb = d.places[b.place];
        if (ra.population != rb.population) return ra.population > rb.population;
        return a.place < b.place;
    };
    const std::size_t count = std::min(limit, hits.size());
    std::partial_sort(hits.begin(), hits.begin() + static_cast<std::ptrdiff_t>(count), hits.end(), better);
    std::vector<Place> places;
    places.reserve(count);
    for (std::size_t i = 0; i < count; ++i) places.push_back(place(hits[i].place));
    return places;
}


namespace {

/// A letter of `cp` in lower case (ASCII, Latin-1 and the pairs of Latin Extended-A).
char32_t lower(char32_t cp)
{
    if (cp >= 'A' && cp <= 'Z') return cp + 32;
    if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) return cp + 32;
    if (cp >= 0x100 && cp <= 0x17F && cp % 2 == 0 && cp != 0x138) return cp + 1;
    return cp;
}

/// `utf8` in lower case, and with accents folded when `fold_accents` (ß stays: it is the tier after).
std::string spelling_form(std::string_view utf8, bool fold_accents)
{
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t start = i;
        const auto cp = next_code_point(utf8, i);
        if (!cp) {
            out += utf8[i++];
            continue;
        }
        const char32_t c = lower(*cp);
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        if (fold_accents && c != 0xDF) {
            if (const auto letters = folded_letter(c); letters && !letters->empty()) {
                out += *letters;
                continue;
            }
        }
        if (c == *cp) {
            out.append(utf8.substr(start, i - start));
        } else {  // the lower-case letter, two bytes in this range
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

/// The tier at which a typed name matches one spelling of a place.
PlaceTier tier_of(std::string_view typed, std::string_view key, std::string_view spelling)
{
    if (spelling_form(typed, false) == spelling_form(spelling, false)) return PlaceTier::exact;
    if (spelling_form(typed, true) == spelling_form(spelling, true)) return PlaceTier::accents;
    const std::string spelt_key = search_key(spelling);
    if (spelt_key == key) return PlaceTier::umlauts;
    if (spelt_key.starts_with(key)) return PlaceTier::prefix;
    return PlaceTier::none;
}

/// Great-circle distance in km between two points given in degrees.
double distance_km(const Place& a, const Place& b)
{
    constexpr double radians = 3.14159265358979323846 / 180.0;
    const double dlat = (b.latitude - a.latitude) * radians, dlon = (b.longitude - a.longitude) * radians;
    const double h = std::sin(dlat / 2) * std::sin(dlat / 2) +
                     std::cos(a.latitude * radians) * std::cos(b.latitude * radians) * std::sin(dlon / 2) * std::sin(dlon / 2);
    return 2 * 6371.0 * std::asin(std::min(1.0, std::sqrt(h)));
}

std::string_view trim_blanks(std::string_view s)
{
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

}  // namespace

PlaceMatch Atlas::match(std::string_view query, std::string_view country, std::string_view region) const
{
    query = trim_blanks(query);
    region = trim_blanks(region);
    if (region.empty()) {
        if (const std::size_t comma = query.rfind(','); comma != std::string_view::npos) {
            PlaceMatch named = match(query.substr(0, comma), country, query.substr(comma + 1));
            if (!named.places.empty()) return named;
        }
    }
    const std::string q = search_key(query);
    PlaceMatch result;
    if (q.empty()) return result;
    std::string wanted_country(trim_blanks(country));
    for (char& c : wanted_country)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    const std::string region_key = search_key(region);

    const Data& d = *data_;
    const std::uint64_t head = key_head(q);
    auto it = std::lower_bound(d.keys.begin(), d.keys.end(), q, [&](const Key& k, const std::string& v) {
        if (k.head != head) return k.head < head;
        return d.key(k) < std::string_view(v);
    });
    // Each candidate place once, with the best tier over all its spellings.
    std::map<std::uint32_t, PlaceTier> tiers;
    for (; it != d.keys.end() && d.key(*it).starts_with(q); ++it) {
        const Row& row = d.places[it->place];
        if (!wanted_country.empty() && row.country != wanted_country) continue;
        if (!region_key.empty() && !search_key(row.region).starts_with(region_key)) continue;
        if (tiers.contains(it->place)) continue;
        // The spellings: the name, then the alternate names at the end of the place's line.
        std::string_view line(row.name.data(), static_cast<std::size_t>(d.text.data() + d.text.size() - row.name.data()));
        line = line.substr(0, line.find('\n'));
        PlaceTier best = tier_of(query, q, field(line));
        for (int skip = 0; skip < 6; ++skip) field(line);
        for (std::string_view alternates = field(line); !alternates.empty();) {
            const std::size_t bar = alternates.find('|');
            best = std::min(best, tier_of(query, q, alternates.substr(0, bar)));
            alternates.remove_prefix(bar == std::string_view::npos ? alternates.size() : bar + 1);
        }
        tiers[it->place] = best;
    }
    if (tiers.empty()) return result;
    for (const auto& [index, tier] : tiers) result.tier = std::min(result.tier, tier);
    for (const auto& [index, tier] : tiers)
        if (tier == result.tier) result.places.push_back(place(index));
    std::stable_sort(result.places.begin(), result.places.end(),
                     [](const Place& a, const Place& b) { return a.population > b.population; });
    if (wanted_country.empty()) {  // the country of the largest place
        const std::string largest = result.places.front().country;
        std::erase_if(result.places, [&](const Place& p) { return p.country != largest; });
    }
    for (std::size_t i = 0; i < result.places.size() && !result.ambiguous; ++i)
        for (std::size_t k = i + 1; k < result.places.size() && !result.ambiguous; ++k)
            result.ambiguous = distance_km(result.places[i], result.places[k]) > ambiguity_km;
    return result;
}

std::size_t Atlas::size() const { return data_->places.size(); }

std::filesystem::path atlas_path() { return program_data_dir() / "atlas.txt"; }

std::optional<std::string> country_code(std::string_view text)
{
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    std::string code(text);
    for (char& c : code) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c < 'A' || c > 'Z') return std::nullopt;
    }
    for (const auto& v : vehicle_codes)
        if (v.vehicle == code) return std::string(v.iso);
    if (code.size() == 2) return code;
    return std::nullopt;
}

}  // namespace duoskop

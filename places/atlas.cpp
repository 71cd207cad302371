// SPDX-License-Identifier: GPL-3.0-or-later
#include "places/atlas.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <map>
#include <span>
#include <utility>

#include "base/drive_c.h"
#include "base/io_error.h"
#include "base/texts.h"
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

char32_t lower(char32_t cp);

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
            else if (c == '-' || c == '/' || c == '\t' || c == '_' || c == ',' || c == '(' || c == ')') put(' ');
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

std::string plain_letters(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto cp = next_code_point(utf8, i);
        if (!cp) {  // a stray byte
            out += '?';
            ++i;
            continue;
        }
        if (*cp < 0x80) {
            out += static_cast<char>(*cp);
            continue;
        }
        const auto letters = folded_letter(*cp);
        if (!letters || letters->empty()) {
            out += '?';
            continue;
        }
        // A capital stays one: its first plain letter in capitals (Æ as Ae).
        const bool capital = lower(*cp) != *cp;
        for (std::size_t k = 0; k < letters->size(); ++k)
            out += capital && k == 0 ? static_cast<char>((*letters)[k] - 'a' + 'A') : (*letters)[k];
    }
    return out;
}

// The atlas index: one image of the records the search reads, the same in memory (made from the
// text by parse) and in the file (mapped by open_index). All numbers in the machine's byte order;
// the header says which and is checked. Sections start at multiples of 8 bytes.
//
//   IndexHeader | Row[places_count] | Key[keys_count] | bytes (names, regions, zones, search keys)

/// A piece of the index's bytes section.
struct TextRef {
    std::uint32_t offset = 0, length = 0;
};

struct Atlas::Row {
    double latitude, longitude;
    std::int64_t population;
    TextRef name, region, country, zone;
};

struct Atlas::Key {
    std::uint64_t head;  // the first eight bytes, for fast ordering
    std::uint32_t offset, length;
    std::uint32_t place;
    TextRef spelling;    // the name as the atlas spells it, for the tiers of a typed place
    std::uint32_t unused;
};

namespace {

constexpr char kIndexMagic[8] = {'D', 'S', 'K', 'A', 'T', 'L', 'A', 'S'};
constexpr std::uint32_t kIndexVersion = 3;       // raised whenever the image or its search keys change
constexpr std::uint32_t kByteOrder = 0x01020304;
constexpr std::size_t kMaxText = std::size_t{1} << 28;  // 256 MiB: every offset fits 32 bits

struct IndexHeader {
    char magic[8];
    std::uint32_t version;
    std::uint32_t byte_order;
    std::uint64_t file_size;
    AtlasSource source;
    std::uint64_t places_offset, places_count;
    std::uint64_t keys_offset, keys_count;
    std::uint64_t bytes_offset, bytes_size;
};
static_assert(sizeof(IndexHeader) == 96);

std::uint64_t fnv1a(std::string_view bytes, std::uint64_t hash = 0xcbf29ce484222325ULL)
{
    for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ULL;
    return hash;
}

std::size_t aligned(std::size_t n) { return (n + 7) & ~std::size_t{7}; }

/// Size and time of last change of `path` (hash left 0); nothing with the errno value when it
/// cannot be examined.
std::optional<AtlasSource> stat_source(const std::filesystem::path& path, int& error)
{
    struct stat st{};
    if (::stat(path.c_str(), &st) != 0) {
        error = errno;
        return std::nullopt;
    }
    AtlasSource source;
    source.size = static_cast<std::uint64_t>(st.st_size);
    source.mtime = static_cast<std::int64_t>(st.st_mtim.tv_sec);
    return source;
}

/// The whole file at `path`; nothing, with the German error text, when it cannot be read.
std::optional<std::string> read_whole(const std::filesystem::path& path, std::string& error)
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
    return text;
}

}  // namespace

/// The records of an atlas and where they live: an index image made in memory, or a mapped file.
struct Atlas::Data {
    static_assert(sizeof(Row) == 56 && sizeof(Key) == 32);  // the image's records, without gaps

    std::vector<std::uint64_t> owned;  // the image when it lives in memory (8-byte aligned)
    void* mapped = nullptr;            // the image when it is a mapped index file
    std::size_t mapped_size = 0;
    std::span<const Row> places;
    std::span<const Key> keys;  // sorted by key
    std::string_view bytes;

    Data() = default;
    Data(const Data&) = delete;
    Data& operator=(const Data&) = delete;
    ~Data()
    {
        if (mapped != nullptr) ::munmap(mapped, mapped_size);
    }

    /// A piece of the bytes; empty where a damaged index points outside them.
    std::string_view text(TextRef t) const
    {
        if (t.offset > bytes.size() || t.length > bytes.size() - t.offset) return {};
        return bytes.substr(t.offset, t.length);
    }
    std::string_view key(const Key& k) const { return text({k.offset, k.length}); }
    /// The place of a key; an empty one where a damaged index names none.
    const Row& row(std::uint32_t place) const
    {
        static constexpr Row none{};
        return place < places.size() ? places[place] : none;
    }

    /// Takes the image at `image` (`size` bytes, 8-byte aligned) after checking its header and
    /// that every section lies inside it; false with the reason in `error` when it is no sound index.
    bool view(const void* image, std::size_t size, std::string& error)
    {
        IndexHeader h{};
        if (size < sizeof h) {
            error = texts::kAtlasIndexDamaged;
            return false;
        }
        std::memcpy(&h, image, sizeof h);
        if (std::memcmp(h.magic, kIndexMagic, sizeof h.magic) != 0 || h.file_size != size) {
            error = texts::kAtlasIndexDamaged;
            return false;
        }
        if (h.version != kIndexVersion || h.byte_order != kByteOrder) {
            error = texts::kAtlasIndexVersion;
            return false;
        }
        const auto fits = [size](std::uint64_t offset, std::uint64_t count, std::size_t element) {
            return offset % 8 == 0 && offset >= sizeof(IndexHeader) && offset <= size &&
                   count <= (size - offset) / element;
        };
        if (!fits(h.places_offset, h.places_count, sizeof(Row)) || !fits(h.keys_offset, h.keys_count, sizeof(Key)) ||
            !fits(h.bytes_offset, h.bytes_size, 1) || h.places_count > UINT32_MAX) {
            error = texts::kAtlasIndexDamaged;
            return false;
        }
        const auto* base = static_cast<const char*>(image);
        places = {reinterpret_cast<const Row*>(base + h.places_offset), static_cast<std::size_t>(h.places_count)};
        keys = {reinterpret_cast<const Key*>(base + h.keys_offset), static_cast<std::size_t>(h.keys_count)};
        bytes = {base + h.bytes_offset, static_cast<std::size_t>(h.bytes_size)};
        return true;
    }
};

/// Builds the index image of an atlas text.
struct Atlas::Image {
    static std::string make(std::string_view all, const AtlasSource& source)
    {
        if (all.size() > kMaxText) all = {};
        std::string bytes;  // the bytes section
        bytes.reserve(all.size());
        const auto put = [&bytes](std::string_view s) {
            const TextRef t{static_cast<std::uint32_t>(bytes.size()), static_cast<std::uint32_t>(s.size())};
            bytes += s;
            return t;
        };
        std::map<std::string_view, TextRef> shared;  // countries, regions and zones, each kept once
        const auto put_shared = [&](std::string_view s) {
            const auto [it, fresh] = shared.try_emplace(s);
            if (fresh) it->second = put(s);
            return it->second;
        };

        std::vector<std::string_view> zones;
        std::map<std::pair<std::string_view, std::string_view>, std::string_view> region_names;
        std::vector<Row> places;
        std::vector<std::pair<std::uint32_t, std::string_view>> names;  // place, name; folded below
        places.reserve(all.size() / 64);
        names.reserve(all.size() / 24);

        for (std::size_t start = 0; start < all.size();) {
            std::size_t stop = all.find('\n', start);
            if (stop == std::string_view::npos) stop = all.size();
            std::string_view line = all.substr(start, stop - start);
            start = stop + 1;
            const std::string_view tag = field(line);
            if (tag == "Z") {
                zones.push_back(field(line));
            } else if (tag == "R") {
                const std::string_view country = field(line), code = field(line);
                region_names[{country, code}] = field(line);
            } else if (tag == "P") {
                const std::string_view name = field(line), country = field(line);
                std::string_view region = field(line);
                const auto lat = number<double>(field(line)), lon = number<double>(field(line));
                const auto zone = number<std::uint32_t>(field(line));
                const auto population = number<std::int64_t>(field(line));
                if (name.empty() || !lat || !lon || !zone || !population || *zone >= zones.size() ||
                    !(*lat >= -90 && *lat <= 90) || !(*lon >= -180 && *lon <= 180) || *population < 0)
                    continue;
                if (const auto r = region_names.find({country, region}); r != region_names.end())
                    region = r->second;
                const auto index = static_cast<std::uint32_t>(places.size());
                places.push_back({*lat, *lon, *population, put(name), put_shared(region), put_shared(country),
                                  put_shared(zones[*zone])});
                names.emplace_back(index, name);
                for (std::string_view alternates = field(line); !alternates.empty();) {
                    const std::size_t bar = alternates.find('|');
                    names.emplace_back(index, alternates.substr(0, bar));
                    alternates.remove_prefix(bar == std::string_view::npos ? alternates.size() : bar + 1);
                }
            }
        }

        std::vector<Key> keys;
        keys.reserve(names.size());
        for (const auto& [place, name] : names) {
            const auto offset = static_cast<std::uint32_t>(bytes.size());
            append_search_key(name, bytes);
            const auto length = static_cast<std::uint32_t>(bytes.size() - offset);
            if (length == 0) continue;
            const std::uint64_t head = key_head(std::string_view(bytes).substr(offset));
            keys.push_back({head, offset, length, place, put_shared(name), 0});
        }
        const std::string_view b(bytes);
        std::sort(keys.begin(), keys.end(), [b](const Key& x, const Key& y) {
            if (x.head != y.head) return x.head < y.head;
            return b.substr(x.offset, x.length) < b.substr(y.offset, y.length);
        });

        IndexHeader h{};
        std::memcpy(h.magic, kIndexMagic, sizeof h.magic);
        h.version = kIndexVersion;
        h.byte_order = kByteOrder;
        h.source = source;
        h.places_offset = sizeof h;
        h.places_count = places.size();
        h.keys_offset = aligned(h.places_offset + places.size() * sizeof(Row));
        h.keys_count = keys.size();
        h.bytes_offset = aligned(h.keys_offset + keys.size() * sizeof(Key));
        h.bytes_size = bytes.size();
        h.file_size = aligned(h.bytes_offset + bytes.size());
        std::string image(h.file_size, '\0');
        std::memcpy(image.data(), &h, sizeof h);
        if (!places.empty()) std::memcpy(image.data() + h.places_offset, places.data(), places.size() * sizeof(Row));
        if (!keys.empty()) std::memcpy(image.data() + h.keys_offset, keys.data(), keys.size() * sizeof(Key));
        std::memcpy(image.data() + h.bytes_offset, bytes.data(), bytes.size());
        return image;
    }
};

std::optional<Atlas> Atlas::from_index(std::string_view bytes, std::string& error)
{
    auto data = std::make_shared<Data>();
    data->owned.resize((bytes.size() + 7) / 8);
    if (!bytes.empty()) std::memcpy(data->owned.data(), bytes.data(), bytes.size());
    if (!data->view(data->owned.data(), bytes.size(), error)) return std::nullopt;
    return Atlas(std::move(data));
}

std::optional<AtlasSource> Atlas::index_source(std::string_view bytes)
{
    std::string error;
    const auto atlas = from_index(bytes, error);
    if (!atlas) return std::nullopt;
    IndexHeader h{};
    std::memcpy(&h, bytes.data(), sizeof h);
    return h.source;
}

Atlas Atlas::parse(std::string text)
{
    std::string error;
    auto atlas = from_index(Image::make(text, {}), error);
    return std::move(*atlas);  // an image just made is always sound
}

std::string Atlas::make_index(const std::filesystem::path& text_path, std::string& error)
{
    int stat_error = 0;
    auto source = stat_source(text_path, stat_error);
    if (!source) {
        error = io_error_text(stat_error);
        return {};
    }
    const auto text = read_whole(text_path, error);
    if (!text) return {};
    source->size = text->size();
    source->hash = fnv1a(*text);
    return Image::make(*text, *source);
}

std::optional<Atlas> Atlas::open_index(const std::filesystem::path& index_path, const std::filesystem::path& text_path,
                                       std::string& error)
{
    const Descriptor fd(::open(index_path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st{};
    if (!fd || ::fstat(fd.get(), &st) != 0) {
        error = io_error_text(errno);
        return std::nullopt;
    }
    auto data = std::make_shared<Data>();
    const auto size = static_cast<std::size_t>(st.st_size);
    if (size < sizeof(IndexHeader) || !S_ISREG(st.st_mode)) {
        error = texts::kAtlasIndexDamaged;
        return std::nullopt;
    }
    void* image = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd.get(), 0);
    if (image == MAP_FAILED) {
        error = io_error_text(errno);
        return std::nullopt;
    }
    data->mapped = image;
    data->mapped_size = size;
    if (!data->view(image, size, error)) return std::nullopt;

    // Made from the atlas file as it is now? The size must agree, and the time of last change or,
    // where that differs (a copy that did not keep it), the hash of the whole file.
    IndexHeader h{};
    std::memcpy(&h, image, sizeof h);
    int stat_error = 0;
    if (const auto now = stat_source(text_path, stat_error)) {
        bool same = now->size == h.source.size;
        if (same && now->mtime != h.source.mtime) {
            std::string read_error;
            const auto text = read_whole(text_path, read_error);
            same = text && text->size() == h.source.size && fnv1a(*text) == h.source.hash;
        }
        if (!same) {
            error = texts::kAtlasIndexStale;
            return std::nullopt;
        }
    }
    return Atlas(std::move(data));
}

std::optional<Atlas> Atlas::load(const std::filesystem::path& path, std::string& error)
{
    std::string index_error;
    if (auto atlas = open_index(atlas_index_path(path), path, index_error)) return atlas;
    // No sound index of this file: the text itself, as slow as that is.
    auto text = read_whole(path, error);
    if (!text) return std::nullopt;
    return parse(std::move(*text));
}

Place Atlas::place(std::uint32_t index) const
{
    const Data& d = *data_;
    const Row& row = d.row(index);
    return {std::string(d.text(row.name)), std::string(d.text(row.region)), std::string(d.text(row.country)),
            row.latitude, row.longitude, std::string(d.text(row.zone)), row.population};
}

namespace {

/// A letter of `cp` in lower case (ASCII, Latin-1, Latin Extended-A and Latin Extended Additional).
char32_t lower(char32_t cp)
{
    if (cp >= 'A' && cp <= 'Z') return cp + 32;
    if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) return cp + 32;
    if (cp == 0x178) return 0xFF;  // Ÿ
    // Latin Extended-A pairs capital and small letter, the capital first; from Ĺ to Ň and from
    // Ź to Ž the capital stands at the odd place.
    const bool odd_capitals = (cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E);
    if (cp >= 0x100 && cp <= 0x17F && cp != 0x138 && cp != 0x149 && cp != 0x17F && (cp % 2 == 1) == odd_capitals)
        return cp + 1;
    if (cp >= 0x1E00 && cp <= 0x1EFF && !(cp >= 0x1E96 && cp <= 0x1E9F) && cp % 2 == 0) return cp + 1;
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
        } else if (c < 0x800) {  // the lower-case letter in two bytes
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {  // in three
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
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

std::string upper_ascii(std::string_view text)
{
    std::string out(trim_blanks(text));
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

/// A typed place split into its name and a qualifier in parentheses ("Bergen (Rügen)") or after a
/// slash ("Neustadt/Weinstraße"); the qualifier is empty when there is none.
std::pair<std::string_view, std::string_view> name_and_qualifier(std::string_view typed)
{
    const std::size_t open = typed.find_first_of("(/");
    if (open == std::string_view::npos) return {typed, {}};
    std::string_view qualifier = typed.substr(open + 1);
    if (typed[open] == '(') qualifier = qualifier.substr(0, qualifier.find(')'));
    return {trim_blanks(typed.substr(0, open)), trim_blanks(qualifier)};
}

}  // namespace

struct Atlas::Hit {
    std::uint32_t place;
    PlaceTier tier;
};

std::vector<Atlas::Hit> Atlas::hits(std::string_view typed, std::string_view country, std::string_view region_key,
                                    bool whole_only) const
{
    typed = trim_blanks(typed);
    const std::string q = search_key(typed);
    if (q.empty()) return {};
    const std::string as_typed = spelling_form(typed, false), folded = spelling_form(typed, true);

    const Data& d = *data_;
    const std::uint64_t head = key_head(q);
    auto it = std::lower_bound(d.keys.begin(), d.keys.end(), q, [&](const Key& k, const std::string& v) {
        if (k.head != head) return k.head < head;
        return d.key(k) < std::string_view(v);
    });
    std::vector<Hit> found;
    for (; it != d.keys.end() && d.key(*it).starts_with(q); ++it) {
        const bool whole = it->length == q.size();
        if (whole_only && !whole) break;  // the equal keys come first
        if (it->place >= d.places.size()) continue;  // a damaged index naming no place
        const Row& row = d.row(it->place);
        if (!country.empty() && d.text(row.country) != country) continue;
        if (!region_key.empty() && !search_key(d.text(row.region)).starts_with(region_key)) continue;
        // A key of the place's own name is spelt as that name; any other is one of its other names.
        const std::string_view spelling = d.text(it->spelling);
        PlaceTier tier = PlaceTier::other;
        if (spelling != d.text(row.name)) tier = whole ? PlaceTier::other : PlaceTier::other_prefix;
        else if (!whole) tier = PlaceTier::other;
        else if (spelling_form(spelling, false) == as_typed) tier = PlaceTier::exact;
        else if (spelling_form(spelling, true) == folded) tier = PlaceTier::accents;
        else tier = PlaceTier::umlauts;
        found.push_back({it->place, tier});
    }
    // Each place once, with the closest tier over its names.
    std::sort(found.begin(), found.end(),
              [](const Hit& a, const Hit& b) { return a.place != b.place ? a.place < b.place : a.tier < b.tier; });
    found.erase(std::unique(found.begin(), found.end(), [](const Hit& a, const Hit& b) { return a.place == b.place; }),
                found.end());
    return found;
}

std::vector<Place> Atlas::search(std::string_view query, std::size_t limit, std::string_view country,
                                 NameMatch match) const
{
    if (limit == 0) return {};
    const std::string wanted_country = upper_ascii(country);
    std::vector<Hit> found = hits(query, wanted_country, {}, match == NameMatch::whole);
    if (found.empty()) {  // "Bergen (Rügen)": the places of the name that the qualifier fits
        const auto [name, qualifier] = name_and_qualifier(trim_blanks(query));
        if (!qualifier.empty() && !name.empty())
            found = qualified(hits(name, wanted_country, {}, match == NameMatch::whole), qualifier);
    }
    const Data& d = *data_;
    const auto better = [&d](const Hit& a, const Hit& b) {
        if (a.tier != b.tier) return a.tier < b.tier;
        const Row &ra = d.row(a.place), &rb = d.row(b.place);
        if (ra.population != rb.population) return ra.population > rb.population;
        return a.place < b.place;
    };
    const std::size_t count = std::min(limit, found.size());
    std::partial_sort(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(count), found.end(), better);
    std::vector<Place> places;
    places.reserve(count);
    for (std::size_t i = 0; i < count; ++i) places.push_back(place(found[i].place));
    return places;
}

std::vector<Atlas::Hit> Atlas::qualified(std::vector<Hit> found, std::string_view qualifier) const
{
    const std::string key = search_key(qualifier);
    // The qualifier begins one of the words ("Pfalz" in Rheinland-Pfalz, "Weinstr." in Neustadt an
    // der Weinstraße), never stands inside one ("SG" in Augustinusga).
    const auto holds = [&key](const std::string& words) {
        for (std::size_t at = words.find(key); at != std::string::npos; at = words.find(key, at + 1))
            if (at == 0 || words[at - 1] == ' ') return true;
        return false;
    };
    const Data& d = *data_;
    std::erase_if(found, [&](const Hit& h) {
        const Row& row = d.row(h.place);
        return key.empty() || (!holds(search_key(d.text(row.name))) && !holds(search_key(d.text(row.region))));
    });
    return found;
}

PlaceMatch Atlas::decide(std::vector<Hit> found) const
{
    PlaceMatch result;
    for (const Hit& h : found)
        if (h.tier <= PlaceTier::other) result.tier = std::min(result.tier, h.tier);
    if (result.tier == PlaceTier::none) return result;
    std::erase_if(found, [&](const Hit& h) { return h.tier != result.tier; });
    std::vector<Place>& places = result.places;
    for (const Hit& h : found) places.push_back(place(h.place));
    std::stable_sort(places.begin(), places.end(),
                     [](const Place& a, const Place& b) { return a.population > b.population; });

    // All within ambiguity_km of each other: one place and its parts, the largest taken.
    bool together = true;
    for (std::size_t i = 0; i < places.size() && together; ++i)
        for (std::size_t k = i + 1; k < places.size() && together; ++k)
            together = distance_km(places[i], places[k]) <= ambiguity_km;
    if (together) return result;
    // Else a place that dominates every other one farther away than that, the largest such.
    for (std::size_t i = 0; i < places.size() && places[i].population >= dominant_population; ++i) {
        bool dominant = true;
        for (std::size_t k = 0; k < places.size() && dominant; ++k)
            // p >= 10 q as p / 10 >= q: whole numbers, and no product to overflow
            dominant = k == i || places[i].population / dominance_factor >= places[k].population ||
                       distance_km(places[i], places[k]) <= ambiguity_km;
        if (dominant) {
            std::rotate(places.begin(), places.begin() + static_cast<std::ptrdiff_t>(i),
                        places.begin() + static_cast<std::ptrdiff_t>(i) + 1);
            return result;
        }
    }
    result.ambiguous = true;
    return result;
}

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
    const std::string wanted_country = upper_ascii(country);
    const std::string region_key = search_key(region);

    // The query as typed: "Neustadt (Hessen)" and "Neustadt/Harz" are names of places themselves.
    PlaceMatch whole = decide(hits(query, wanted_country, region_key, false));
    const auto [name, qualifier] = name_and_qualifier(query);
    if (!whole.places.empty() || qualifier.empty() || name.empty()) return whole;

    // "Bergen (Rügen)": the places of the name whose own name or region holds the qualifier.
    std::vector<Hit> named = hits(name, wanted_country, region_key, false);
    PlaceMatch kept = decide(qualified(named, qualifier));
    if (!kept.places.empty()) return kept;
    // A qualifier that fits none of them leaves the name's places to choose from.
    PlaceMatch open = decide(std::move(named));
    open.ambiguous = !open.places.empty();
    return open;
}

std::size_t Atlas::size() const { return data_->places.size(); }

std::filesystem::path atlas_path() { return program_data_dir() / "atlas.txt"; }

std::filesystem::path atlas_index_path(const std::filesystem::path& text_path)
{
    return std::filesystem::path(text_path).replace_extension(".idx");
}

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

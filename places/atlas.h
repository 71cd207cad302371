// SPDX-License-Identifier: GPL-3.0-or-later
// The place atlas: about 138,000 places with their coordinates and time zones, read from the atlas
// index made at build time from the atlas file that ships with the programs (or from that file
// itself), and searched as the user types.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace duoskop {

/// One place of the atlas. Names are UTF-8 as the atlas holds them: many place names have letters
/// beyond Windows-1252 (Łódź, Plzeň), and the windows show them as they are.
struct Place {
    std::string name;        ///< the place's own name, UTF-8
    std::string region;      ///< the German name of the region (DE, AT, CH), else its code; UTF-8
    std::string country;     ///< ISO 3166 two-letter code, such as "DE"
    double latitude = 0;     ///< degrees, north positive
    double longitude = 0;    ///< degrees, east positive
    std::string zone;        ///< IANA time zone, such as "Europe/Berlin"
    std::int64_t population = 0;

    bool operator==(const Place&) const = default;
};

/// The form in which names are compared: lower case, accents dropped (Zürich as zurich), ß as ss,
/// the German spellings ae, oe, ue as a, o, u (Muenchen as munchen), hyphens and slashes as
/// blanks, dots and apostrophes dropped, blanks collapsed. Letters of other alphabets stay as
/// they are. `utf8` need not be valid UTF-8: a stray byte is kept as it is.
std::string search_key(std::string_view utf8);

enum class NameMatch {
    prefix,  ///< the query begins a name or an alternate name
    whole,   ///< the query is a whole name or alternate name
};

/// How closely a typed place name matches a name of the atlas, closest first.
enum class PlaceTier {
    exact = 1,    ///< the same spelling, case ignored ("wien" for Wien)
    accents = 2,  ///< the same with accents folded ("Zurich" for Zürich)
    umlauts = 3,  ///< the same with ae, oe, ue and ss folded too: the search key ("Muenchen" for München)
    prefix = 4,   ///< the beginning of a name's search key ("Muench" for München)
    none = 5,
};

/// The places a typed name stands for: those of the best tier that has any, largest first.
struct PlaceMatch {
    PlaceTier tier = PlaceTier::none;
    std::vector<Place> places;
    /// The tier holds places more than `ambiguity_km` apart: the name alone does not say which.
    bool ambiguous = false;
};

/// Places of one tier closer than this are taken as one place (a town and its parts).
inline constexpr double ambiguity_km = 10.0;
/// What an atlas index records of the atlas file it was made from, to tell a stale index.
struct AtlasSource {
    std::uint64_t size = 0;     ///< bytes
    std::int64_t mtime = 0;     ///< time of last change, whole seconds since 1970 (as installers and
                                ///< archives keep it)
    std::uint64_t hash = 0;     ///< 64-bit FNV-1a of the whole file
    bool operator==(const AtlasSource&) const = default;
};

/// The atlas index beside the atlas file `text_path`: atlas.idx for atlas.txt.
std::filesystem::path atlas_index_path(const std::filesystem::path& text_path);

class Atlas {
public:
    /// The atlas of the text of an atlas file. Lines that are not well-formed are left out.
    static Atlas parse(std::string text);
    /// The atlas of the atlas file at `path`: from its index beside it (atlas_index_path) when
    /// that is sound and made from this very file, else from the text itself. Nothing when the
    /// text is needed and cannot be read, with the German I/O error text (Windows-1252) in `error`.
    static std::optional<Atlas> load(const std::filesystem::path& path, std::string& error);

    /// The bytes of the atlas index of the atlas file at `text_path` (an image of the records
    /// `search` reads, with the file's AtlasSource); empty, with the error text, when it cannot
    /// be read.
    static std::string make_index(const std::filesystem::path& text_path, std::string& error);
    /// The atlas index at `index_path`, mapped into memory, when it is sound and was made from
    /// the atlas file at `text_path` as that is now (size, and time of last change or hash).
    /// Nothing, with a German text (Windows-1252) in `error`, when it is missing, damaged, of
    /// another version or stale; a missing atlas file leaves the index as the only source.
    static std::optional<Atlas> open_index(const std::filesystem::path& index_path,
                                           const std::filesystem::path& text_path, std::string& error);
    /// The atlas of the bytes of an atlas index (copied), without comparing it to an atlas file.
    /// Any bytes are safe: what is no sound index is refused with a text in `error`.
    static std::optional<Atlas> from_index(std::string_view bytes, std::string& error);
    /// The AtlasSource recorded in a sound index (nothing for other bytes).
    static std::optional<AtlasSource> index_source(std::string_view bytes);

    /// The places whose name or alternate name matches `query` (UTF-8, compared by search_key),
    /// at most `limit`, best first: whole-name matches before prefix matches, then by population.
    /// `country` (two letters, any case) keeps only the places of that country.
    std::vector<Place> search(std::string_view query, std::size_t limit, std::string_view country = {},
                              NameMatch match = NameMatch::prefix) const;

    /// The places `query` (UTF-8) stands for, in tiers (PlaceTier): the best tier that has places
    /// in `country` (two letters, any case; empty: the country of that tier's largest place) and,
    /// when given, in the region `region` (its name or code, or their beginning) wins. "Name,
    /// Region" in `query` names the region too when `region` is empty.
    PlaceMatch match(std::string_view query, std::string_view country, std::string_view region = {}) const;

    std::size_t size() const;

private:
    struct Row;
    struct Key;
    struct Data;
    struct Image;
    explicit Atlas(std::shared_ptr<const Data> data) : data_(std::move(data)) {}
    Place place(std::uint32_t index) const;

    std::shared_ptr<const Data> data_;  // shared: copies of an atlas are cheap and read only
};

/// The atlas file that ships with the programs: atlas.txt in program_data_dir().
std::filesystem::path atlas_path();

/// The ISO 3166 two-letter code of a country given as ISO code or as international vehicle code
/// ("D", "A", "CH", "USA"; any case, blanks around it allowed); nothing when it is neither.
std::optional<std::string> country_code(std::string_view text);

}  // namespace duoskop

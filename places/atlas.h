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
/// the German spellings ae, oe, ue as a, o, u (Muenchen as munchen), hyphens, slashes and
/// parentheses as blanks, dots and apostrophes dropped, blanks collapsed. Letters of other alphabets stay as
/// they are. `utf8` need not be valid UTF-8: a stray byte is kept as it is.
std::string search_key(std::string_view utf8);

/// `utf8` in the plain letters a-z and A-Z: each Latin letter with accents as its plain letters
/// by one fixed table, capitals kept (Łódź as Lodz, Æbeltoft as Aebeltoft, Gießen as Giessen),
/// every other character beyond ASCII (and every stray byte) as '?'. For a text that must stand
/// where Windows-1252 cannot hold it.
std::string plain_letters(std::string_view utf8);

enum class NameMatch {
    prefix,  ///< the query begins a name or an alternate name
    whole,   ///< the query is a whole name or alternate name
};

/// How closely a typed place name matches a place, closest first. One table for every door: the
/// chart's place, an import's record, the place list of the chart dialog and `places`.
enum class PlaceTier {
    exact = 1,         ///< its own name, case ignored ("wien" for a place named Wien)
    accents = 2,       ///< its own name with accents folded ("Zurich" for Zürich)
    umlauts = 3,       ///< its own name with ae, oe, ue and ss folded too: the search key ("Muenchen" for München)
    other = 4,         ///< one of its other names, folded in any of these ways ("Wien" for Vienna), or
                       ///< the beginning of its own name ("Muench" for München)
    other_prefix = 5,  ///< only the beginning of one of its other names ("Maila" for Milano): listed
                       ///< last, never taken for a chart
    none = 6,
};

/// The places a typed name stands for, from the best tier that has any (PlaceTier::other at most).
struct PlaceMatch {
    PlaceTier tier = PlaceTier::none;
    /// The place taken first, then the others of the tier by population; all of them, largest
    /// first, when the name is ambiguous.
    std::vector<Place> places;
    /// The name alone does not say which place is meant: the tier holds places more than
    /// `ambiguity_km` apart and none of them dominates, or a qualifier fits none of them.
    bool ambiguous = false;
};

/// Places of one tier closer than this are taken as one place (a town and its parts), in km.
inline constexpr double ambiguity_km = 10.0;
/// A place dominates a tier with at least this many inhabitants and `dominance_factor` times the
/// inhabitants of every other place of the tier farther than `ambiguity_km` away ("Berlin" is
/// Berlin in Germany, not one of the small Berlins in the United States).
inline constexpr std::int64_t dominant_population = 100000;
inline constexpr std::int64_t dominance_factor = 10;

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

    /// The places whose name or alternate name begins like `query` (UTF-8, compared by search_key),
    /// at most `limit`, best first: by PlaceTier, then by population. `country` (two letters, any
    /// case) keeps only the places of that country; NameMatch::whole only whole names. A query
    /// that no name begins with and that holds a qualifier ("Bergen (Rügen)", as in match) gives
    /// the places of the name before it that the qualifier fits.
    std::vector<Place> search(std::string_view query, std::size_t limit, std::string_view country = {},
                              NameMatch match = NameMatch::prefix) const;

    /// The places `query` (UTF-8) stands for. A given `country` (two letters, any case) and
    /// `region` (the beginning of its name) narrow first; "Name, Region" in `query` names the
    /// region too when `region` is empty. Then the best tier (PlaceTier, up to `other`) decides;
    /// its places within `ambiguity_km` of each other are one place (the largest is taken), else
    /// a dominant place is taken, else the name is ambiguous. The query as a whole is tried first
    /// ("Neustadt (Hessen)" is a name of its own); then a qualifier in parentheses or after a
    /// slash ("Bergen (Rügen)", "Neustadt/Weinstraße") keeps the places of the name before it
    /// whose own name or region has a word that begins like it; where it fits none the name is
    /// ambiguous.
    PlaceMatch match(std::string_view query, std::string_view country, std::string_view region = {}) const;

    std::size_t size() const;

private:
    struct Row;
    struct Key;
    struct Data;
    struct Image;
    struct Hit;
    explicit Atlas(std::shared_ptr<const Data> data) : data_(std::move(data)) {}
    Place place(std::uint32_t index) const;
    /// Each place one of whose names begins like `typed` (all its names equal when `whole_only`),
    /// once, with its closest tier; `country` (upper case) and `region_key` (a search key) narrow.
    std::vector<Hit> hits(std::string_view typed, std::string_view country, std::string_view region_key,
                          bool whole_only) const;
    /// Those of `found` whose own name or region has a word that begins like `qualifier` (compared
    /// by search_key).
    std::vector<Hit> qualified(std::vector<Hit> found, std::string_view qualifier) const;
    /// The match of the best tier among `found`: one place taken, or ambiguous.
    PlaceMatch decide(std::vector<Hit> found) const;

    std::shared_ptr<const Data> data_;  // shared: copies of an atlas are cheap and read only
};

/// The atlas file that ships with the programs: atlas.txt in program_data_dir().
std::filesystem::path atlas_path();

/// The ISO 3166 two-letter code of a country given as ISO code or as international vehicle code
/// ("D", "A", "CH", "USA"; any case, blanks around it allowed); nothing when it is neither.
std::optional<std::string> country_code(std::string_view text);

}  // namespace duoskop

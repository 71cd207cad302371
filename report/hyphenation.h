// SPDX-License-Identifier: GPL-3.0-or-later
// German hyphenation with libhyphen and the hyphen-de patterns: soft hyphens (0xAD) at the
// points where a long word may break, so that a layout breaks it there and nowhere else.
//
// libhyphen needs seconds to load all 78,000 German patterns. A word's break points depend only
// on the patterns that occur in it (with the dots of the word's edges) and on which of its pieces
// begin some pattern (libhyphen's matching machine steps through those), so each call hands
// libhyphen the patterns that occur in the words of its texts, for every other pattern the
// longest beginning of it that occurs as an empty pattern, and every keyword line, both levels
// of the file in their order: the same breaks, loaded in milliseconds.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace duoskop {

/// The patterns of German in the new orthography, as Debian installs them.
inline constexpr std::string_view german_patterns = "/usr/share/hyphen/hyph_de_DE.dic";

class Hyphenator {
public:
    /// Reads the pattern file at `patterns` (ISO 8859-1, the encoding of the German files);
    /// without it `hyphenate` leaves every text as it is.
    explicit Hyphenator(const std::filesystem::path& patterns);

    /// The German patterns, read once for the whole run.
    static const Hyphenator& german();

    bool loaded() const { return !lines_.empty(); }

    /// Each text (Windows-1252) with a soft hyphen at each break point of each word of at least
    /// `min_length` letters: at least two letters before and three after a break, and only where
    /// the word breaks without changing its letters (no "ck" to "k-k"). A word glued to a digit
    /// or a soft hyphen is left alone.
    std::vector<std::string> hyphenate(const std::vector<std::string>& texts, std::size_t min_length = 7) const;
    std::string hyphenate(std::string_view text, std::size_t min_length = 7) const;

    /// The pattern file cut down to the patterns that occur in `words` (lower-case letters):
    /// what `hyphenate` hands to libhyphen.
    std::string patterns_for(const std::vector<std::string>& words) const;

private:
    struct Line {
        std::string text;     ///< the line as it stands in the file
        std::string key;  ///< a pattern without digits and replacement, dots kept; empty: keep always
    };
    std::vector<Line> lines_;
    std::size_t longest_ = 0;  ///< longest key of a pattern
};

/// The letters `hyphenate` looks at in a Windows-1252 text: A-Z, a-z and the accented letters.
bool is_word_letter(unsigned char c);

}  // namespace duoskop

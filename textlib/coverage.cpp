// SPDX-License-Identifier: GPL-3.0-or-later
#include "textlib/coverage.h"

#include <charconv>

#include "textlib/textlib_texts.h"
#include "results/pictures.h"

namespace duoskop::textlib {

namespace {

std::string number_text(std::size_t n)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, n);
    return std::string(buffer, result.ptr);
}

}  // namespace

std::string_view source_name(TextSource source)
{
    switch (source) {
    case TextSource::picture: return texts::kTlSourcePicture;
    case TextSource::singles: return texts::kTlSourceSingles;
    case TextSource::none: break;
    }
    return texts::kTlSourceNone;
}

Coverage coverage(const std::vector<std::string>& entries, const Ktexte& ktexte, const DriveC& drive)
{
    Coverage c;
    for (const std::string& entry : entries) {
        const Resolution r = resolve_entry(entry, ktexte, drive);
        CoverageLine line{entry, TextSource::none, r.io_error};
        if (r.io_error.empty() && r.found)
            line.source = TextSource::picture;
        else if (r.io_error.empty() && r.singles && (!r.text1.empty() || !r.text2.empty()))
            line.source = TextSource::singles;
        ++(line.source == TextSource::picture ? c.pictures : line.source == TextSource::singles ? c.singles : c.none);
        c.lines.push_back(std::move(line));
    }
    return c;
}

std::string coverage_summary(const Coverage& c)
{
    return number_text(c.lines.size()) + " Eintr\xE4" "ge: " + number_text(c.pictures) + " " +
           std::string(texts::kTlSourcePicture) + ", " + number_text(c.singles) + " " +
           std::string(texts::kTlSourceSingles) + ", " + number_text(c.none) + " " + std::string(texts::kTlSourceNone);
}

}  // namespace duoskop::textlib

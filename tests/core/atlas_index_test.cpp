// SPDX-License-Identifier: GPL-3.0-or-later
// The atlas index: the index made at build time answers as the atlas text does; a stale, damaged,
// foreign or missing index is refused (and Atlas::load then reads the text), never read wrongly.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>

#include "base/file_writer.h"
#include "base/texts.h"
#include "places/atlas.h"
#include "tests/core/test_support.h"

using namespace duoskop;
using test_support::TempDir;

namespace {

std::vector<std::string> lines(const std::vector<Place>& places)
{
    std::vector<std::string> out;
    for (const Place& p : places)
        out.push_back(p.name + "|" + p.region + "|" + p.country + "|" + std::to_string(p.latitude) + "|" +
                      std::to_string(p.longitude) + "|" + p.zone + "|" + std::to_string(p.population));
    return out;
}

}  // namespace

TEST(AtlasIndex, BuiltIndexAnswersAsTheText)
{
    std::string error;
    const auto indexed = Atlas::open_index(DUOSKOP_BUILD_ATLAS_INDEX, DUOSKOP_SOURCE_ATLAS, error);
    ASSERT_TRUE(indexed) << error;
    const auto text = test_support::slurp(DUOSKOP_SOURCE_ATLAS);
    const Atlas parsed = Atlas::parse(text);
    EXPECT_EQ(indexed->size(), parsed.size());

    const struct {
        const char* query;
        std::size_t limit;
        const char* country;
        NameMatch match;
    } queries[] = {
        {"Wien", 10, "", NameMatch::prefix},        {"M", 50, "", NameMatch::prefix},
        {"Sa", 20, "de", NameMatch::prefix},        {"Berlin", 10, "", NameMatch::whole},
        {"Muenchen", 5, "", NameMatch::prefix},     {"Z\xC3\xBCrich", 5, "CH", NameMatch::prefix},
        {"Frankfurt am Main", 3, "", NameMatch::prefix}, {"St. Gallen", 5, "", NameMatch::prefix},
        {"\xC5\x81\xC3\xB3" "d\xC5\xBA", 5, "PL", NameMatch::whole}, {"Mailand", 5, "", NameMatch::prefix},
        {"New York", 5, "US", NameMatch::prefix},   {"xyzzyq", 5, "", NameMatch::prefix},
        {"Kandel", 1000, "", NameMatch::prefix},    {"a", 0, "", NameMatch::prefix},
    };
    for (const auto& q : queries) {
        SCOPED_TRACE(q.query);
        EXPECT_EQ(lines(indexed->search(q.query, q.limit, q.country, q.match)),
                  lines(parsed.search(q.query, q.limit, q.country, q.match)));
    }
    EXPECT_FALSE(indexed->search("Wien", 10).empty());
}

class AtlasIndexFile : public ::testing::Test {
protected:
    static constexpr std::string_view kText =
        "Z\tEurope/Berlin\n"
        "R\tDE\t02\tBayern\n"
        "P\tBergen\tDE\t02\t48.5\t11.5\t0\t5000\tBerghausen\n"
        "P\tAugsburg\tDE\t02\t48.4\t10.9\t0\t300000\t\n";

    void SetUp() override
    {
        ASSERT_TRUE(write_file_whole(text_, kText).ok());
        std::string error;
        index_ = Atlas::make_index(text_, error);
        ASSERT_FALSE(index_.empty()) << error;
        ASSERT_TRUE(write_file_whole(index_path_, index_).ok());
    }

    std::optional<Atlas> open(std::string& error) const { return Atlas::open_index(index_path_, text_, error); }
    void touch_text(int seconds_later) const
    {
        std::filesystem::last_write_time(text_, std::filesystem::last_write_time(text_) + std::chrono::seconds(seconds_later));
    }

    TempDir dir_;
    std::filesystem::path text_ = dir_.path() / "atlas.txt";
    std::filesystem::path index_path_ = atlas_index_path(text_);
    std::string index_;
};

TEST_F(AtlasIndexFile, FreshIndexOpensAndACopyWithAnotherTimeIsCheckedByHash)
{
    EXPECT_EQ(index_path_.filename(), "atlas.idx");
    std::string error;
    auto atlas = open(error);
    ASSERT_TRUE(atlas) << error;
    EXPECT_EQ(atlas->search("berghausen", 5).at(0),
              (Place{"Bergen", "Bayern", "DE", 48.5, 11.5, "Europe/Berlin", 5000}));
    touch_text(100);  // same bytes, another time of last change
    EXPECT_TRUE(open(error)) << error;
    const auto source = Atlas::index_source(index_);
    ASSERT_TRUE(source);
    EXPECT_EQ(source->size, kText.size());
}

TEST_F(AtlasIndexFile, StaleDamagedAndForeignIndexesAreRefused)
{
    const auto patched = [this](std::size_t at, std::string_view bytes) {
        std::string image = index_;
        image.replace(at, bytes.size(), bytes);
        return image;
    };
    std::string changed_text(kText);
    changed_text[changed_text.find("Bergen")] = 'W';  // same size, other content
    const struct {
        const char* what;
        std::string text;   // the atlas text after the index was made
        std::string index;  // the index file's bytes
        std::string_view error;
    } cases[] = {
        {"text grown", std::string(kText) + "P\tUlm\tDE\t02\t48.4\t10\t0\t120000\t\n", index_, texts::kAtlasIndexStale},
        {"text changed, same size", changed_text, index_, texts::kAtlasIndexStale},
        {"index cut short", std::string(kText), index_.substr(0, index_.size() - 8), texts::kAtlasIndexDamaged},
        {"header only", std::string(kText), index_.substr(0, 40), texts::kAtlasIndexDamaged},
        {"no index mark", std::string(kText), patched(0, "XSKATLAS"), texts::kAtlasIndexDamaged},
        {"other version", std::string(kText), patched(8, std::string("\x63\0\0\0", 4)), texts::kAtlasIndexVersion},
        {"places beyond the end", std::string(kText), patched(56, std::string("\xff\xff\xff\0", 4)),
         texts::kAtlasIndexDamaged},
        {"keys not aligned", std::string(kText), patched(64, "\x01"), texts::kAtlasIndexDamaged},
        {"empty file", std::string(kText), "", texts::kAtlasIndexDamaged},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(write_file_whole(text_, c.text).ok());
        touch_text(10);
        ASSERT_TRUE(write_file_whole(index_path_, c.index).ok());
        std::string error;
        EXPECT_FALSE(open(error));
        EXPECT_EQ(error, c.error);
        // The text is read instead, as it is now.
        const auto loaded = Atlas::load(text_, error);
        ASSERT_TRUE(loaded) << error;
        EXPECT_EQ(loaded->size(), Atlas::parse(c.text).size());
        EXPECT_EQ(lines(loaded->search("w", 5)), lines(Atlas::parse(c.text).search("w", 5)));
    }
    std::string error;
    std::filesystem::remove(index_path_);
    EXPECT_FALSE(open(error));
    EXPECT_EQ(error, "Datei nicht gefunden");
}

TEST_F(AtlasIndexFile, EveryCutAndFlippedByteIsRefusedOrReadSafely)
{
    for (std::size_t n = 0; n < index_.size(); ++n) {
        std::string error;
        EXPECT_FALSE(Atlas::from_index(std::string_view(index_).substr(0, n), error)) << n;
        std::string flipped = index_;
        flipped[n] = static_cast<char>(flipped[n] ^ 0x5A);
        if (const auto atlas = Atlas::from_index(flipped, error)) {
            (void)atlas->search("b", 10);
            (void)atlas->search("augsburg", 10, "de", NameMatch::whole);
        }
    }
}

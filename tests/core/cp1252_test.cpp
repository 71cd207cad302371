// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "base/cp1252.h"
#include "base/io_error.h"

using namespace duoskop;

TEST(Cp1252, ToUtf8CoversLatin1TheHighControlsAndTheGaps)
{
    EXPECT_EQ(cp1252_to_utf8("M\xFCller"), "M\u00FCller");
    EXPECT_EQ(cp1252_to_utf8("\xC4\xD6\xDC\xE4\xF6\xFC\xDF"), "\u00C4\u00D6\u00DC\u00E4\u00F6\u00FC\u00DF");
    EXPECT_EQ(cp1252_to_utf8("05\xB0" "30'"), "05\u00B030'");
    EXPECT_EQ(cp1252_to_utf8("\x80\x8A\x9F"), "\u20AC\u0160\u0178");
    EXPECT_EQ(cp1252_to_utf8("\x81\x8D\x8F\x90\x9D"), "\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(cp1252_to_utf8(std::string_view("a\0b", 3)), std::string("a\0b", 3));
}

TEST(Cp1252, FromUtf8RoundTripsEveryAssignedByte)
{
    for (int b = 0; b < 256; ++b) {
        if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) continue;
        const std::string byte(1, static_cast<char>(b));
        const auto back = utf8_to_cp1252(cp1252_to_utf8(byte));
        ASSERT_TRUE(back.has_value()) << b;
        EXPECT_EQ(*back, byte) << b;
    }
}

TEST(Cp1252, FromUtf8RefusesWhatItCannotHold)
{
    EXPECT_EQ(utf8_to_cp1252("M\u00FCller.dat"), std::optional<std::string>("M\xFCller.dat"));
    EXPECT_FALSE(utf8_to_cp1252("\u0141\u00F3d\u017A").has_value());  // Ł and ź
    EXPECT_FALSE(utf8_to_cp1252("u\u0308").has_value());              // combining diaeresis
    EXPECT_FALSE(utf8_to_cp1252("\uFFFD").has_value());
    EXPECT_FALSE(utf8_to_cp1252("\xFC").has_value());                  // Latin-1 byte, not UTF-8
    EXPECT_FALSE(utf8_to_cp1252("\xC3").has_value());                  // cut sequence
    EXPECT_FALSE(utf8_to_cp1252("\xC0\xAF").has_value());              // overlong
    EXPECT_FALSE(utf8_to_cp1252("\xED\xA0\x80").has_value());          // surrogate
    EXPECT_EQ(utf8_to_cp1252(""), std::optional<std::string>(""));
}

TEST(IoError, GermanTexts)
{
    EXPECT_EQ(io_error_text(ENOENT), "Datei nicht gefunden");
    EXPECT_EQ(io_error_text(EACCES), "Dateizugriff verweigert");
    EXPECT_EQ(io_error_text(EISDIR), "Dateizugriff verweigert");
    EXPECT_EQ(io_error_text(ENAMETOOLONG), "Ung\xFCltiger Dateiname");
    EXPECT_EQ(io_error_text(EMFILE), "Zu viele ge\xF6" "ffnete Dateien");
    EXPECT_EQ(io_error_text(0), "Versuch hinter dem Dateiende zu lesen");
    EXPECT_EQ(io_error_text(ENOMEM), "Zu wenig Speicherplatz");
    EXPECT_EQ(io_error_text(ENOSPC), "Zu wenig Speicherplatz");
    EXPECT_EQ(io_error_text(EFBIG), "Zu wenig Speicherplatz");
    EXPECT_EQ(io_error_text(EIO), "E/A-Fehler " + std::to_string(EIO));
}

TEST(Cp1252, FileNamesForMessages)
{
    const std::pair<std::string, std::string> cases[] = {
        {"Meier.dat", "Meier.dat"},
        {"M\u00FCller.dat", "M\xFCller.dat"},          // UTF-8 umlaut
        {"M\xFCller.dat", "M\xFCller.dat"},            // an old Latin-1 name keeps its byte
        {"\u0141\u00F3d\u017A.dat", "?\xF3" "d?.dat"},  // no Windows-1252 form
        {"\u20AC.dat", "\x80.dat"},
        {"a\xC3", "a\xC3"},                            // a cut sequence stays a byte
        {"", ""},
    };
    for (const auto& [name, expected] : cases) EXPECT_EQ(cp1252_of_file_name(name), expected) << name;
}

TEST(Cp1252, ValidUtf8ReplacesStrayBytes)
{
    EXPECT_EQ(valid_utf8("M\u00FCller.dat"), "M\u00FCller.dat");
    EXPECT_EQ(valid_utf8("M\xFCller.dat"), "M\uFFFDller.dat");
    EXPECT_EQ(valid_utf8("a\xC3"), "a\uFFFD");
    EXPECT_EQ(valid_utf8("\xED\xA0\x80"), "\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(valid_utf8(""), "");
}

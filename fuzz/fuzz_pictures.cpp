// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a picture index and text file: the search looks at slots 0..252 only, kept lines
// are 73 characters, and resolving an entry against such files on a scratch drive never crashes.
#include <array>
#include <cstdint>
#include <cstring>
#include <string>

#include "base/drive_c.h"
#include "fuzz/fuzz_harness.h"
#include "results/pictures.h"

using namespace duoskop;

// Input: 5 bytes of picture key, 2 bytes giving the length of the index file, the index file,
// then the text file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 7) return 0;
    const std::string key(reinterpret_cast<const char*>(data), 5);
    std::size_t index_length = (std::size_t{data[5]} << 8 | data[6]) % 4000;
    const std::uint8_t* rest = data + 7;
    std::size_t rest_size = size - 7;
    index_length = std::min(index_length, rest_size);
    const std::string index_file(reinterpret_cast<const char*>(rest), index_length);
    const std::string text_file(reinterpret_cast<const char*>(rest + index_length), rest_size - index_length);

    std::array<unsigned char, picture_index_size> index{};
    std::memcpy(index.data(), index_file.data(), std::min(index_file.size(), index.size()));
    if (const auto slot = find_picture_slot(index, key)) fuzzing::require(*slot < picture_searched_slots);

    std::array<unsigned char, picture_record_size> record{};
    std::memcpy(record.data(), text_file.data(), std::min(text_file.size(), record.size()));
    for (const std::string& line : picture_text_lines(record))
        fuzzing::require(line.size() == picture_line_length);

    const auto drive = fuzzing::scratch_dir() / "drive";
    std::filesystem::create_directories(drive / "PBTX");
    fuzzing::write_file(drive / "PBTX" / "MCSO.vwt", index_file);
    fuzzing::write_file(drive / "PBTX" / "MCSO.txt", text_file);
    Ktexte ktexte;
    ktexte.ktexte_da = true;
    ktexte.ktexte_table.push_back({"MC/SO", "Sinn"});
    const Resolution r = resolve_entry("MC/SO=" + key, ktexte, DriveC(drive));
    fuzzing::require(r.picture_da);
    if (index_file.size() < picture_index_size) fuzzing::require(!r.io_error.empty());
    return 0;
}

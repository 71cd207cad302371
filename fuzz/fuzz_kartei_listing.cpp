// SPDX-License-Identifier: GPL-3.0-or-later
// A chart folder holding one file of any bytes under any name: the listing never fails, keeps the
// file, gives a reason when the main window would refuse it, and shows positions only of a whole
// record.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_harness.h"
#include "kartei/listing.h"

using namespace duoskop;

// Input: one byte n, then n bytes of file name (a '/' or NUL ends it), then the file's content.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const std::size_t n = std::min<std::size_t>(data[0], size - 1);
    std::string name(reinterpret_cast<const char*>(data + 1), n);
    name = name.substr(0, name.find_first_of(std::string("/\0", 2)));
    if (name.empty() || name[0] == '.') name = "chart" + name;
    const std::string content(reinterpret_cast<const char*>(data + 1 + n), size - 1 - n);

    const auto folder = fuzzing::scratch_dir() / "daten";
    std::filesystem::create_directories(folder);
    const auto path = folder / name;
    fuzzing::write_file(path, content);
    const Listing listing = list_charts(folder);
    fuzzing::require(listing.entries.size() == 1);
    const KarteiEntry& entry = listing.entries.front();
    fuzzing::require(entry.path == path);
    fuzzing::require(entry.loadable || !entry.reason.empty());
    // Only a whole record can be shown; a file of other bytes (a picture saved among the charts)
    // may show none.
    if (entry.loadable) fuzzing::require(entry.readable);
    if (entry.readable) fuzzing::require(content.size() >= 77);
    if (entry.readable) fuzzing::require(!position_text(entry.positions[0]).empty());
    std::filesystem::remove(path);
    return 0;
}

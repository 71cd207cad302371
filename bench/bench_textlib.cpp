// SPDX-License-Identifier: GPL-3.0-or-later
// The text library on a generated collection of 20,000 picture texts (80 axis pairs of 250
// pictures, 8 to 14 lines each, umlauts in the DOS code page) and 253 single meanings: opening
// it, one search over it, and saving one picture (version, files written whole).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "astro/bodies.h"
#include "base/file_writer.h"
#include "results/ktexte.h"
#include "results/pictures.h"
#include "textlib/library.h"

using namespace duoskop;
namespace fs = std::filesystem;

namespace {

constexpr int axis_pairs = 80;
constexpr int pictures_per_axis = 250;

const char* const words[] = {"Zuversicht", "Geduld", "Begegnung", "Spannung", "Gl\x84nzend", "m\x94glich",
                             "Gr\x94\xE1" "e", "Beziehung", "Aufgabe", "Kraft", "Ausdauer", "Verst\x84ndnis",
                             "gemeinsam", "pl\x94tzlich", "Wendung", "Familie", "Ansehen", "Gef\x81hl"};

// Made-up words of two or three syllables fill most of each line.
const char* const syllables[] = {"an", "be", "dau", "er", "fa", "ge", "glanz", "hen", "kraft", "lie", "m\x94g",
                                 "nung", "rei", "se", "span", "stand", "tr\x84", "um", "ver", "wen", "zu", "\x81" "ber"};

std::string pair_name(int n)
{
    int k = 0;
    for (int row = compared_bodies; n >= row; --row, ++k) n -= row;
    return std::string(body_codes[static_cast<std::size_t>(k)]) + "/" +
           std::string(body_codes[static_cast<std::size_t>(k + n)]);
}

/// A drive C in the temporary folder with the generated collection; removed at exit.
const fs::path& generated_drive()
{
    static const fs::path root = [] {
        const fs::path dir = fs::temp_directory_path() / ("duoskop-bench-texts-" + std::to_string(::getpid()));
        fs::create_directories(dir / "PBTX");
        fs::create_directories(dir / "astro");
        std::string ktexte;
        for (int p = 0; p < 253; ++p) {
            std::string record(ktexte_record_size, '\0');
            const std::string key = pair_name(p), text = std::string("Bedeutung von ") + key;
            record[0] = static_cast<char>(key.size());
            record.replace(1, key.size(), key);
            record[6] = static_cast<char>(text.size());
            record.replace(7, text.size(), text);
            ktexte += record;
        }
        write_file_whole(dir / "astro" / "KTEXTE.txt", ktexte);
        unsigned seed = 1;
        const auto next = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
        for (int a = 0; a < axis_pairs; ++a) {
            const std::string axis = pair_name(a);
            std::string index(picture_index_size, '\0'), texts;
            for (int p = 0; p < pictures_per_axis; ++p) {
                const std::string key = pair_name(p);
                index[static_cast<std::size_t>(p) * picture_slot_size] = static_cast<char>(key.size());
                index.replace(static_cast<std::size_t>(p) * picture_slot_size + 1, key.size(), key);
                std::string record(2, '\0');
                const unsigned lines = 8 + next() % 7;
                for (unsigned l = 0; l < picture_line_count; ++l) {
                    std::string line;
                    while (l < lines && line.size() < 60) {
                        if (next() % 16 == 0) {
                            line += words[next() % std::size(words)];
                        } else {
                            for (unsigned s = 2 + next() % 2; s > 0; --s) line += syllables[next() % std::size(syllables)];
                        }
                        line += ' ';
                    }
                    line.resize(picture_line_length, ' ');
                    record += line;
                }
                texts += record;
            }
            const std::string base = axis.substr(0, 2) + axis.substr(3, 2);
            write_file_whole(dir / "PBTX" / (base + ".vwt"), index);
            write_file_whole(dir / "PBTX" / (base + ".txt"), texts);
        }
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(generated_drive(), ec);
        });
        return dir;
    }();
    return root;
}

void BM_textlib_open(benchmark::State& state)
{
    const DriveC drive(generated_drive());
    for (auto _ : state) {
        textlib::Library library = textlib::open_library(drive);
        benchmark::DoNotOptimize(library);
    }
}
BENCHMARK(BM_textlib_open)->Unit(benchmark::kMillisecond);

void BM_textlib_search(benchmark::State& state)
{
    const textlib::Library library = textlib::open_library(DriveC(generated_drive()));
    std::size_t hits = 0;
    for (auto _ : state) {
        const auto found = textlib::search(library, {"Geduld", "verst\xE4ndnis"});
        hits = found.size();
        benchmark::DoNotOptimize(found);
    }
    state.SetLabel(std::to_string(hits) + " Treffer");
}
BENCHMARK(BM_textlib_search)->Unit(benchmark::kMillisecond);

// One picture changed and saved: the version of its two files, the text file and (for a new
// picture) the index written whole. The kept versions are cleared outside the timing.
void BM_textlib_save_picture(benchmark::State& state)
{
    textlib::Library library = textlib::open_library(DriveC(generated_drive()));
    unsigned n = 0;
    for (auto _ : state) {
        const std::vector<textlib::TextChange> change = {
            {{"MC/SO", "MC/WI"}, {"Eine ge\xE4nderte Zeile Nummer " + std::to_string(++n), "und noch eine."}, 0}};
        if (textlib::apply_changes(library, change).outcome != textlib::ApplyOutcome::written) std::abort();
        state.PauseTiming();
        std::error_code ec;
        fs::remove_all(library.versions_dir, ec);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_textlib_save_picture)->Unit(benchmark::kMillisecond);

}  // namespace

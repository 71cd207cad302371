// SPDX-License-Identifier: GPL-3.0-or-later
// Small helpers the fuzz harnesses share: a private scratch directory and writing a file.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace duoskop::fuzzing {

/// A scratch directory of this process, created on first use.
inline const std::filesystem::path& scratch_dir()
{
    static const std::filesystem::path dir = [] {
        // Memory-backed when the machine has it: the harnesses write files at every run.
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm") ? std::filesystem::path("/dev/shm")
                                                       : std::filesystem::temp_directory_path();
        auto d = base / ("duoskop-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(d);
        return d;
    }();
    return dir;
}

inline void write_file(const std::filesystem::path& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

/// Stops the run with a finding when an invariant does not hold, naming the invariant's line.
/// (std::source_location is not there for clang 14 with this standard library; both compilers
/// give the caller's file and line through these built-ins.)
inline void require(bool condition, const char* file = __builtin_FILE(), int line = __builtin_LINE())
{
    if (condition) return;
    std::fprintf(stderr, "invariant broken: %s:%d\n", file, line);
    std::abort();
}

}  // namespace duoskop::fuzzing

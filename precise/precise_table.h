// SPDX-License-Identifier: GPL-3.0-or-later
// The position table: the precise longitudes of the Sun, the Moon and Mercury to Pluto over
// 1800-2100 as Chebyshev polynomials over consecutive intervals of terrestrial time, fitted at
// build time to the series of precise_series.h (duoskop-make-precise-table) and read through a
// memory map.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "precise/precise_series.h"

namespace duoskop {

/// The file name of the table in program_data_dir().
inline constexpr std::string_view precise_table_file_name = "precise.tab";

/// One body's longitude as the generator hands it over: consecutive intervals of `interval_days`
/// from the table's start, each with `coefficients_per_interval` Chebyshev coefficients (degrees)
/// of the body's unwrapped longitude over the interval mapped to [-1, 1].
struct TableBody {
    double interval_days = 0;
    std::uint32_t coefficients_per_interval = 0;
    double max_error_arcsec = 0;       ///< the largest difference to the series the generator found
    std::vector<double> coefficients;  ///< interval by interval
};

/// Everything a table file holds.
struct TableContent {
    std::string libnova_version;  ///< the libnova the series were fitted from (at most 15 bytes)
    std::int32_t first_year = 0;  ///< the years of chart dates the table serves
    std::int32_t last_year = 0;
    double start_jde = 0;         ///< terrestrial-time Julian day where every body's intervals begin
    double end_jde = 0;           ///< terrestrial-time Julian day up to which every body's reach
    double tolerance_arcsec = 0;  ///< the accuracy against the series the generator guaranteed
    std::array<TableBody, precise_body_count> bodies;
};

/// Sum of c[j] T_j(x) over the `count` coefficients `c`, x in [-1, 1] (Clenshaw's recurrence).
inline double chebyshev_sum(const double* c, std::size_t count, double x)
{
    double b1 = 0, b2 = 0;
    for (std::size_t j = count; j-- > 1;) {
        const double b0 = 2 * x * b1 - b2 + c[j];
        b2 = b1;
        b1 = b0;
    }
    return x * b1 - b2 + c[0];
}

/// The bytes of a table file holding `content`, checksums included.
std::string table_bytes(const TableContent& content);

/// Sets every checksum of a table image (the header's and each block's) to what its bytes call
/// for, as far as its header and index describe blocks inside `bytes`; the other bytes stay as
/// they are. table_bytes seals what it lays out; tests and the fuzz harness seal tables that are
/// damaged in their content only.
void seal_table(std::string& bytes);

/// What a sound table says about itself.
struct TableInfo {
    std::string libnova_version;
    std::int32_t first_year = 0, last_year = 0;
    double start_jde = 0, end_jde = 0;
    double tolerance_arcsec = 0;
    std::uint64_t file_size = 0;
    struct Body {
        double interval_days = 0;
        std::uint32_t coefficients_per_interval = 0;
        std::uint64_t intervals = 0;
        double max_error_arcsec = 0;
    };
    std::array<Body, precise_body_count> bodies{};
};

/// A table file opened for reading. Safe to read from several threads at once without a lock:
/// each interval block is checked against its checksum when first read, and its state (unchecked,
/// sound, damaged) is an atomic of its own; two threads checking the same block at once come to
/// the same answer.
class PreciseTable {
public:
    /// The table file at `path`, mapped into memory, when its header and index are sound (format,
    /// byte order, sizes and checksum; the blocks are checked as they are read). Nothing, with a
    /// German text (Windows-1252) in `error`, when it is missing, damaged or foreign.
    static std::unique_ptr<PreciseTable> open(const std::filesystem::path& path, std::string& error);
    /// The table of the bytes of a table file (copied). Any bytes are safe.
    static std::unique_ptr<PreciseTable> from_bytes(std::string_view bytes, std::string& error);

    ~PreciseTable();
    PreciseTable(const PreciseTable&) = delete;
    PreciseTable& operator=(const PreciseTable&) = delete;

    /// Apparent longitude of `body` at the terrestrial-time Julian day `jde`, degrees [0, 360), as
    /// series_longitude gives it within the table's tolerance. Nothing outside the table's range
    /// and where the block it needs is damaged.
    std::optional<double> longitude(PreciseBody body, double jde) const;
    /// longitude of all ten bodies in body order; false (`out` then partly filled) when any is
    /// missing.
    bool longitudes(double jde, std::array<double, precise_body_count>& out) const;

    /// Whether the table's range holds `jde` (terrestrial time).
    bool covers(double jde) const { return jde >= info_.start_jde && jde < info_.end_jde; }
    const TableInfo& info() const { return info_; }

private:
    struct Body {
        const unsigned char* blocks = nullptr;
        std::size_t block_size = 0;
        std::uint64_t intervals = 0;
        std::uint32_t coefficients = 0;
        double interval_days = 0;
        std::size_t first_state = 0;  // where this body's blocks begin in states_
    };
    PreciseTable() = default;
    bool view(const unsigned char* image, std::size_t size, std::string& error);
    /// The polynomial of `body` at `jde` (unwrapped, degrees); nothing where its block is damaged.
    std::optional<double> value(std::size_t body, double jde) const;

    std::vector<std::uint64_t> owned_;  // the image when it lives in memory (8-byte aligned)
    void* mapped_ = nullptr;            // the image when it is a mapped file
    std::size_t mapped_size_ = 0;
    std::array<Body, precise_body_count> bodies_{};
    std::unique_ptr<std::atomic<std::uint8_t>[]> states_;  // per block: 0 unchecked, 1 sound, 2 damaged
    TableInfo info_;
};

}  // namespace duoskop

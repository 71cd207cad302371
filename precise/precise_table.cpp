// SPDX-License-Identifier: GPL-3.0-or-later
#include "precise/precise_table.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

#include "base/io_error.h"
#include "precise/precise_texts.h"

namespace duoskop {

namespace {

// The file: a header, an index entry per body, then each body's interval blocks. A block is the
// interval's Chebyshev coefficients followed by the CRC-32 of the body number, the interval
// number and the coefficients (and four zero bytes, so blocks stay 8-byte aligned). Numbers are
// in the byte order of the machine that made the table; another one is refused.
constexpr char kMagic[8] = {'D', 'S', 'K', 'P', 'O', 'S', 'T', 'B'};
constexpr std::uint32_t kVersion = 1;  // raised whenever the layout changes
constexpr std::uint32_t kByteOrder = 0x01020304;
/// More coefficients than any sensible fit needs; a larger count marks a damaged index.
constexpr std::uint32_t kMaxCoefficients = 64;

struct Header {
    char magic[8];
    std::uint32_t version;
    std::uint32_t byte_order;
    std::uint64_t file_size;
    char libnova_version[16];  // NUL-padded
    std::int32_t first_year, last_year;
    double start_jde, end_jde;
    double tolerance_arcsec;
    std::uint32_t body_count;
    std::uint32_t checksum;  // CRC-32 of the header (with this field 0) and the index
};
static_assert(sizeof(Header) == 80);

struct IndexEntry {
    std::uint32_t body;
    std::uint32_t coefficients;
    std::uint64_t intervals;
    double interval_days;
    double max_error_arcsec;
    std::uint64_t blocks_offset;
    std::uint64_t block_size;
};
static_assert(sizeof(IndexEntry) == 48);

constexpr std::size_t kIndexEnd = sizeof(Header) + precise_body_count * sizeof(IndexEntry);

std::uint32_t crc(std::uint32_t c, const void* bytes, std::size_t size)
{
    return static_cast<std::uint32_t>(::crc32(c, static_cast<const Bytef*>(bytes), static_cast<uInt>(size)));
}

/// The CRC-32 a header and index call for.
std::uint32_t header_checksum(Header h, const unsigned char* index)
{
    h.checksum = 0;
    return crc(crc(0, &h, sizeof h), index, precise_body_count * sizeof(IndexEntry));
}

/// The CRC-32 of a block of `coefficients` doubles of `body`, interval `interval`.
std::uint32_t block_checksum(std::uint32_t body, std::uint64_t interval, const unsigned char* block,
                             std::uint32_t coefficients)
{
    const std::uint32_t key[2] = {body, static_cast<std::uint32_t>(interval)};
    return crc(crc(0, key, sizeof key), block, std::size_t{coefficients} * sizeof(double));
}

std::size_t block_size_for(std::uint32_t coefficients) { return std::size_t{coefficients} * sizeof(double) + 8; }

/// The header and index of `image` when they are whole and describe blocks inside it (checksum
/// not looked at); else the refusal's text.
struct Layout {
    Header header;
    IndexEntry index[precise_body_count];
};
bool read_layout(const unsigned char* image, std::size_t size, Layout& layout, std::string_view& error)
{
    if (size < kIndexEnd) {
        error = texts::kPreciseTableDamaged;
        return false;
    }
    std::memcpy(&layout.header, image, sizeof layout.header);
    std::memcpy(layout.index, image + sizeof(Header), sizeof layout.index);
    const Header& h = layout.header;
    if (std::memcmp(h.magic, kMagic, sizeof kMagic) != 0) {
        error = texts::kPreciseTableForeign;
        return false;
    }
    if (h.version != kVersion || h.byte_order != kByteOrder) {
        error = texts::kPreciseTableVersion;
        return false;
    }
    const bool range_sound = std::isfinite(h.start_jde) && std::isfinite(h.end_jde) && h.start_jde < h.end_jde &&
                             h.first_year <= h.last_year && std::isfinite(h.tolerance_arcsec);
    if (h.file_size != size || h.body_count != precise_body_count || !range_sound ||
        std::memchr(h.libnova_version, '\0', sizeof h.libnova_version) == nullptr) {
        error = texts::kPreciseTableDamaged;
        return false;
    }
    const double span = h.end_jde - h.start_jde;
    for (std::size_t b = 0; b < precise_body_count; ++b) {
        const IndexEntry& e = layout.index[b];
        const bool sound =
            e.body == b && e.coefficients >= 1 && e.coefficients <= kMaxCoefficients &&
            e.block_size == block_size_for(e.coefficients) && std::isfinite(e.interval_days) &&
            e.interval_days > 0 && e.intervals >= 1 && e.intervals <= UINT32_MAX &&
            static_cast<double>(e.intervals) * e.interval_days >= span && e.blocks_offset % 8 == 0 &&
            e.blocks_offset >= kIndexEnd && e.blocks_offset <= size &&
            e.intervals <= (size - e.blocks_offset) / e.block_size;
        if (!sound) {
            error = texts::kPreciseTableDamaged;
            return false;
        }
    }
    return true;
}

}  // namespace

void seal_table(std::string& bytes)
{
    auto* image = reinterpret_cast<unsigned char*>(bytes.data());
    Layout layout{};
    std::string_view error;
    if (!read_layout(image, bytes.size(), layout, error)) {
        // Only the header's checksum, where there is a header and an index to sum.
        if (bytes.size() < kIndexEnd) return;
        Header h{};
        std::memcpy(&h, image, sizeof h);
        h.checksum = header_checksum(h, image + sizeof(Header));
        std::memcpy(image, &h, sizeof h);
        return;
    }
    for (std::size_t b = 0; b < precise_body_count; ++b) {
        const IndexEntry& e = layout.index[b];
        for (std::uint64_t i = 0; i < e.intervals; ++i) {
            unsigned char* block = image + e.blocks_offset + i * e.block_size;
            const std::uint32_t sum = block_checksum(e.body, i, block, e.coefficients);
            std::memcpy(block + std::size_t{e.coefficients} * sizeof(double), &sum, sizeof sum);
        }
    }
    layout.header.checksum = header_checksum(layout.header, image + sizeof(Header));
    std::memcpy(image, &layout.header, sizeof layout.header);
}

std::string table_bytes(const TableContent& content)
{
    Header h{};
    std::memcpy(h.magic, kMagic, sizeof kMagic);
    h.version = kVersion;
    h.byte_order = kByteOrder;
    content.libnova_version.copy(h.libnova_version, sizeof h.libnova_version - 1);
    h.first_year = content.first_year;
    h.last_year = content.last_year;
    h.start_jde = content.start_jde;
    h.end_jde = content.end_jde;
    h.tolerance_arcsec = content.tolerance_arcsec;
    h.body_count = precise_body_count;

    IndexEntry index[precise_body_count]{};
    std::uint64_t offset = kIndexEnd;
    for (std::size_t b = 0; b < precise_body_count; ++b) {
        const TableBody& body = content.bodies[b];
        IndexEntry& e = index[b];
        e.body = static_cast<std::uint32_t>(b);
        e.coefficients = body.coefficients_per_interval;
        e.intervals = e.coefficients == 0 ? 0 : body.coefficients.size() / e.coefficients;
        e.interval_days = body.interval_days;
        e.max_error_arcsec = body.max_error_arcsec;
        e.blocks_offset = offset;
        e.block_size = block_size_for(e.coefficients);
        offset += e.intervals * e.block_size;
    }
    h.file_size = offset;

    std::string bytes(offset, '\0');
    std::memcpy(bytes.data(), &h, sizeof h);
    std::memcpy(bytes.data() + sizeof h, index, sizeof index);
    for (std::size_t b = 0; b < precise_body_count; ++b) {
        const IndexEntry& e = index[b];
        const std::vector<double>& c = content.bodies[b].coefficients;
        for (std::uint64_t i = 0; i < e.intervals; ++i)
            std::memcpy(bytes.data() + e.blocks_offset + i * e.block_size, c.data() + i * e.coefficients,
                        std::size_t{e.coefficients} * sizeof(double));
    }
    seal_table(bytes);
    return bytes;
}

PreciseTable::~PreciseTable()
{
    if (mapped_ != nullptr) ::munmap(mapped_, mapped_size_);
}

bool PreciseTable::view(const unsigned char* image, std::size_t size, std::string& error)
{
    Layout layout{};
    std::string_view refusal;
    if (!read_layout(image, size, layout, refusal)) {
        error = refusal;
        return false;
    }
    const Header& h = layout.header;
    if (header_checksum(h, image + sizeof(Header)) != h.checksum) {
        error = texts::kPreciseTableDamaged;
        return false;
    }
    std::size_t blocks = 0;
    for (std::size_t b = 0; b < precise_body_count; ++b) {
        const IndexEntry& e = layout.index[b];
        bodies_[b] = {image + e.blocks_offset, static_cast<std::size_t>(e.block_size), e.intervals, e.coefficients,
                      e.interval_days, blocks};
        blocks += static_cast<std::size_t>(e.intervals);
        info_.bodies[b] = {e.interval_days, e.coefficients, e.intervals, e.max_error_arcsec};
    }
    states_ = std::make_unique<std::atomic<std::uint8_t>[]>(blocks);
    info_.libnova_version = h.libnova_version;
    info_.first_year = h.first_year;
    info_.last_year = h.last_year;
    info_.start_jde = h.start_jde;
    info_.end_jde = h.end_jde;
    info_.tolerance_arcsec = h.tolerance_arcsec;
    info_.file_size = h.file_size;
    return true;
}

std::unique_ptr<PreciseTable> PreciseTable::from_bytes(std::string_view bytes, std::string& error)
{
    std::unique_ptr<PreciseTable> table(new PreciseTable);
    table->owned_.resize((bytes.size() + 7) / 8);
    if (!bytes.empty()) std::memcpy(table->owned_.data(), bytes.data(), bytes.size());
    if (!table->view(reinterpret_cast<const unsigned char*>(table->owned_.data()), bytes.size(), error)) return nullptr;
    return table;
}

std::unique_ptr<PreciseTable> PreciseTable::open(const std::filesystem::path& path, std::string& error)
{
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st{};
    if (!fd || ::fstat(fd.get(), &st) != 0) {
        error = io_error_text(errno);
        return nullptr;
    }
    if (!S_ISREG(st.st_mode) || static_cast<std::uint64_t>(st.st_size) < kIndexEnd) {
        error = texts::kPreciseTableDamaged;
        return nullptr;
    }
    const auto size = static_cast<std::size_t>(st.st_size);
    void* image = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd.get(), 0);
    if (image == MAP_FAILED) {
        error = io_error_text(errno);
        return nullptr;
    }
    std::unique_ptr<PreciseTable> table(new PreciseTable);
    table->mapped_ = image;
    table->mapped_size_ = size;
    if (!table->view(static_cast<const unsigned char*>(image), size, error)) return nullptr;
    return table;
}

std::optional<double> PreciseTable::value(std::size_t body, double jde) const
{
    const Body& s = bodies_[body];
    // The interval that holds jde and where in it jde lies, as x in [-1, 1].
    const double offset = jde - info_.start_jde;
    const double place = offset / s.interval_days;
    // The last interval also takes what rounding puts just beyond it.
    const std::uint64_t interval =
        place < static_cast<double>(s.intervals) ? static_cast<std::uint64_t>(place) : s.intervals - 1;
    const double x = std::clamp((offset - static_cast<double>(interval) * s.interval_days) * (2 / s.interval_days) - 1,
                                -1.0, 1.0);

    const unsigned char* block = s.blocks + interval * s.block_size;
    std::atomic<std::uint8_t>& state = states_[s.first_state + interval];
    std::uint8_t known = state.load(std::memory_order_acquire);
    if (known == 0) {
        std::uint32_t stored = 0;
        std::memcpy(&stored, block + std::size_t{s.coefficients} * sizeof(double), sizeof stored);
        known = block_checksum(static_cast<std::uint32_t>(body), interval, block, s.coefficients) == stored ? 1 : 2;
        state.store(known, std::memory_order_release);
    }
    if (known != 1) return std::nullopt;

    const double sum = chebyshev_sum(reinterpret_cast<const double*>(block), s.coefficients, x);
    if (!std::isfinite(sum)) return std::nullopt;
    return sum;
}

std::optional<double> PreciseTable::longitude(PreciseBody body, double jde) const
{
    if (!covers(jde)) return std::nullopt;
    const auto unwrapped = value(static_cast<std::size_t>(body), jde);
    if (!unwrapped) return std::nullopt;
    double reduced = std::fmod(*unwrapped, 360.0);
    if (reduced < 0) reduced += 360;
    return reduced < 360 ? reduced : 0.0;
}

bool PreciseTable::longitudes(double jde, std::array<double, precise_body_count>& out) const
{
    for (std::size_t b = 0; b < precise_body_count; ++b) {
        const auto l = longitude(precise_body(b), jde);
        if (!l) return false;
        out[b] = *l;
    }
    return true;
}

}  // namespace duoskop

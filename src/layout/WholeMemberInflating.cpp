#include "layout/WholeMemberInflating.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>

namespace tavrin {

namespace {

// Members above this are streamed, so that a large background is never held twice in memory.
constexpr std::uint64_t kMostWholeBytes = std::uint64_t(64) << 20;

// Reads the member's compressed bytes as they stand in the archive; false when fewer or more
// than the header's count are there, or the archive cannot be read.
bool ReadRawMember(unzFile archive, std::uint64_t compressedSize, std::vector<char> &compressed)
{
    if (unzOpenCurrentFile2(archive, nullptr, nullptr, 1) != UNZ_OK)
        return false;
    compressed.resize(std::size_t(compressedSize));
    std::uint64_t done = 0;
    bool ok = true;
    while (ok && done < compressedSize) {
        const std::uint64_t left = compressedSize - done;
        const unsigned piece = unsigned(std::min<std::uint64_t>(left, 1u << 20));
        const int n = unzReadCurrentFile(archive, compressed.data() + done, piece);
        ok = n > 0;
        done += ok ? std::uint64_t(n) : 0;
    }
    // A raw read is not checked by the zip library; the CRC of the inflated bytes is.
    return unzCloseCurrentFile(archive) == UNZ_OK && ok && done == compressedSize;
}

} // namespace

void WholeMemberInflater::Free::operator()(libdeflate_decompressor *decompressor) const
{
    libdeflate_free_decompressor(decompressor);
}

WholeMemberInflater::WholeMemberInflater() : decompressor_(libdeflate_alloc_decompressor()) {}

WholeMemberInflater::~WholeMemberInflater() = default;

WholeMemberInflater::Outcome WholeMemberInflater::inflate(unzFile archive, const unz_file_info64 &info,
                                                          std::vector<char> &bytes)
{
    if (!decompressor_ || info.compression_method != Z_DEFLATED || info.uncompressed_size > kMostWholeBytes
        || info.compressed_size > kMostWholeBytes)
        return Outcome::Streamed;
    if (!ReadRawMember(archive, info.compressed_size, compressed_))
        return Outcome::Damaged;
    bytes.resize(std::size_t(info.uncompressed_size));
    std::size_t inflated = 0;
    const libdeflate_result result = libdeflate_deflate_decompress(
        decompressor_.get(), compressed_.data(), compressed_.size(), bytes.data(), bytes.size(), &inflated);
    if (result == LIBDEFLATE_INSUFFICIENT_SPACE)
        return Outcome::Streamed;
    const bool whole = result == LIBDEFLATE_SUCCESS && inflated == bytes.size()
                       && libdeflate_crc32(0, bytes.data(), bytes.size()) == info.crc;
    return whole ? Outcome::Inflated : Outcome::Damaged;
}

} // namespace tavrin

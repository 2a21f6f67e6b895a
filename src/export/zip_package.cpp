#include "zip_package.h"

#include <zlib.h>

#include <stdexcept>

namespace {

// 1980-01-01 00:00, the earliest time a ZIP holds: no file's own time is worth keeping.
constexpr std::uint16_t kDosTime = 0;
constexpr std::uint16_t kDosDate = (1 << 5) | 1;
constexpr std::uint16_t kVersion = 20; // what deflate needs
constexpr std::uint16_t kDeflated = 8;
constexpr std::uint16_t kUtf8Names = 1 << 11;

void put16(std::vector<std::uint8_t> &out, std::uint32_t value)
{
    out.push_back(std::uint8_t(value));
    out.push_back(std::uint8_t(value >> 8));
}

void put32(std::vector<std::uint8_t> &out, std::uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

std::string deflated(const std::string &contents)
{
    z_stream stream {};
    // Raw deflate (no zlib header), as ZIP stores it.
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflate");
    std::string out(deflateBound(&stream, uLong(contents.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(contents.data()));
    stream.avail_in = uInt(contents.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = uInt(out.size());
    const int status = deflate(&stream, Z_FINISH);
    deflateEnd(&stream);
    if (status != Z_STREAM_END)
        throw std::runtime_error("deflate");
    out.resize(stream.total_out);
    return out;
}

struct Written {
    std::uint32_t crc, compressed, size, offset;
};

// The fields a local header and the central directory share, from the version needed on.
void putCommon(std::vector<std::uint8_t> &out, const ZipEntry &entry, const Written &written)
{
    put16(out, kVersion);
    put16(out, kUtf8Names);
    put16(out, kDeflated);
    put16(out, kDosTime);
    put16(out, kDosDate);
    put32(out, written.crc);
    put32(out, written.compressed);
    put32(out, written.size);
    put16(out, std::uint32_t(entry.name.size()));
    put16(out, 0); // no extra field
}

} // namespace

std::vector<std::uint8_t> zipPackage(const std::vector<ZipEntry> &entries)
{
    std::vector<std::uint8_t> out;
    std::vector<Written> written;
    for (const ZipEntry &entry : entries) {
        const std::string data = deflated(entry.contents);
        written.push_back({std::uint32_t(crc32(0, reinterpret_cast<const Bytef *>(entry.contents.data()),
                                               uInt(entry.contents.size()))),
                           std::uint32_t(data.size()), std::uint32_t(entry.contents.size()),
                           std::uint32_t(out.size())});
        put32(out, 0x04034b50);
        putCommon(out, entry, written.back());
        out.insert(out.end(), entry.name.begin(), entry.name.end());
        out.insert(out.end(), data.begin(), data.end());
    }
    const std::uint32_t directory = std::uint32_t(out.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        put32(out, 0x02014b50);
        put16(out, kVersion); // made by: MS-DOS, so no system's file attributes
        putCommon(out, entries[i], written[i]);
        put16(out, 0); // no comment
        put16(out, 0); // disk
        put16(out, 0); // internal attributes
        put32(out, 0); // external attributes
        put32(out, written[i].offset);
        out.insert(out.end(), entries[i].name.begin(), entries[i].name.end());
    }
    const std::uint32_t directorySize = std::uint32_t(out.size()) - directory;
    put32(out, 0x06054b50);
    put16(out, 0);
    put16(out, 0);
    put16(out, std::uint32_t(entries.size()));
    put16(out, std::uint32_t(entries.size()));
    put32(out, directorySize);
    put32(out, directory);
    put16(out, 0);
    return out;
}

#include "model_file.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace ModelFile {

namespace {

constexpr std::array<std::uint32_t, 256> makeCrcTable()
{
    std::array<std::uint32_t, 256> table {};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}

constexpr auto kCrcTable = makeCrcTable();

void putU32(std::uint8_t *out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[i] = std::uint8_t(value >> (8 * i));
}

void putU64(std::uint8_t *out, std::uint64_t value)
{
    for (int i = 0; i < 8; ++i)
        out[i] = std::uint8_t(value >> (8 * i));
}

std::uint32_t getU32(const std::uint8_t *in)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= std::uint32_t(in[i]) << (8 * i);
    return value;
}

std::uint64_t getU64(const std::uint8_t *in)
{
    std::uint64_t value = 0;
    for (int i = 0; i < 8; ++i)
        value |= std::uint64_t(in[i]) << (8 * i);
    return value;
}

// The colours when the block after the records is complete and consistent.
std::optional<std::vector<Colour>> decodeColours(std::span<const std::uint8_t> block,
                                                 std::size_t count)
{
    const std::size_t blockBytes = kColourBlockFixedBytes + 4 * count;
    if (block.size() < blockBytes)
        return std::nullopt;
    if (std::memcmp(block.data(), kColourTag, sizeof kColourTag) != 0)
        return std::nullopt;
    if (getU32(block.data() + 4) != count)
        return std::nullopt;
    const std::size_t crcOffset = blockBytes - 4;
    if (crc32(block.first(crcOffset)) != getU32(block.data() + crcOffset))
        return std::nullopt;

    std::vector<Colour> colours(count);
    for (std::size_t i = 0; i < count; ++i)
        colours[i] = Colour(getU32(block.data() + 8 + 4 * i));
    return colours;
}

} // namespace

std::uint32_t crc32(std::span<const std::uint8_t> bytes)
{
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::uint8_t b : bytes)
        c = kCrcTable[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::vector<std::uint8_t> encode(const ProgramState &state)
{
    const std::size_t n = std::size_t(std::clamp(state.pointCount, 0, kMaxPoints));
    const std::size_t recordsEnd = kCountBytes + kRecordBytes * n;
    std::vector<std::uint8_t> bytes(recordsEnd + kColourBlockFixedBytes + 4 * n);

    std::uint8_t *out = bytes.data();
    putU32(out, std::uint32_t(n));
    out += kCountBytes;
    for (std::size_t i = 0; i < n; ++i) {
        for (int j = 0; j < 3; ++j) {
            putU64(out, std::bit_cast<std::uint64_t>(state.modelPoints[i][j]));
            out += 8;
        }
    }

    std::uint8_t *block = out;
    std::memcpy(out, kColourTag, sizeof kColourTag);
    putU32(out + 4, std::uint32_t(n));
    out += 8;
    for (std::size_t i = 0; i < n; ++i, out += 4)
        putU32(out, std::uint32_t(state.pointColors[i]));
    putU32(out, crc32({block, std::size_t(out - block)}));
    return bytes;
}

DecodeResult decode(std::span<const std::uint8_t> bytes)
{
    DecodeResult result;
    if (bytes.size() < kCountBytes) {
        result.error = DecodeError::MissingCount;
        return result;
    }
    const std::int64_t count = std::int32_t(getU32(bytes.data()));
    result.count = count;
    if (count < 0) {
        result.error = DecodeError::NegativeCount;
        return result;
    }
    if (count > kMaxPoints) {
        result.error = DecodeError::CountAboveCapacity;
        return result;
    }
    const std::uint64_t recordsEnd
        = kCountBytes + std::uint64_t(kRecordBytes) * std::uint64_t(count);
    if (std::uint64_t(bytes.size()) < recordsEnd) {
        result.error = DecodeError::MissingRecords;
        return result;
    }

    const std::size_t n = std::size_t(count);
    result.model.points.resize(n);
    const std::uint8_t *in = bytes.data() + kCountBytes;
    for (std::size_t i = 0; i < n; ++i) {
        for (int j = 0; j < 3; ++j) {
            result.model.points[i][j] = std::bit_cast<double>(getU64(in));
            in += 8;
        }
    }
    result.model.colours = decodeColours(bytes.subspan(std::size_t(recordsEnd)), n);
    return result;
}

bool commit(const DecodeResult &result, ProgramState &state)
{
    if (!result.ok())
        return false;
    const auto &points = result.model.points;
    std::copy(points.begin(), points.end(), state.modelPoints.begin());
    if (result.model.colours)
        std::copy(result.model.colours->begin(), result.model.colours->end(),
                  state.pointColors.begin());
    state.pointCount = std::int32_t(points.size());
    return true;
}

} // namespace ModelFile

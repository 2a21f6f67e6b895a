#include "model_file.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include <zlib.h>

namespace ModelFile {

namespace {

std::uint32_t crc32(std::span<const std::uint8_t> bytes)
{
    return std::uint32_t(::crc32(0, bytes.data(), uInt(bytes.size())));
}

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

std::vector<std::uint8_t> encode(const Model &model)
{
    const std::size_t n = std::min(model.points.size(), std::size_t(kMaxPoints));
    const std::size_t recordsEnd = kCountBytes + kRecordBytes * n;
    std::vector<std::uint8_t> bytes(recordsEnd + kColourBlockFixedBytes + 4 * n);

    std::uint8_t *out = bytes.data();
    putU32(out, std::uint32_t(n));
    out += kCountBytes;
    for (std::size_t i = 0; i < n; ++i) {
        for (int j = 0; j < 3; ++j) {
            putU64(out, std::bit_cast<std::uint64_t>(model.points[i][j]));
            out += 8;
        }
    }

    std::uint8_t *block = out;
    std::memcpy(out, kColourTag, sizeof kColourTag);
    putU32(out + 4, std::uint32_t(n));
    out += 8;
    for (std::size_t i = 0; i < n; ++i, out += 4)
        putU32(out, std::uint32_t(model.colours[i]));
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

Model toModel(const ParsedModel &parsed, std::span<const Colour> colourSlots)
{
    Model model;
    model.points = parsed.points;
    if (parsed.colours) {
        model.colours = *parsed.colours;
    } else {
        model.colours.assign(parsed.points.size(), 0);
        std::copy_n(colourSlots.begin(), std::min(colourSlots.size(), parsed.points.size()),
                    model.colours.begin());
    }
    return model;
}

} // namespace ModelFile

#pragma once

#include "model.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The ".chs" model file: a little-endian 32-bit count n, n records of three
// little-endian doubles (depth, horizontal, vertical), then a colour block
// that older readers never look at:
//   tag "ZCOL", n again, n colours (0x00BBGGRR, little-endian 32-bit),
//   CRC-32 of tag, n and colours.
// Anything after the records that is not a complete, matching colour block
// is ignored: files written in place over longer ones carry a stale tail.
namespace ModelFile {

inline constexpr std::size_t kCountBytes = 4;
inline constexpr std::size_t kRecordBytes = 24;
inline constexpr std::uint8_t kColourTag[4] = {'Z', 'C', 'O', 'L'};
inline constexpr std::size_t kColourBlockFixedBytes = 4 + 4 + 4; // tag, count, CRC

// The longest prefix of a file that can matter to the reader.
inline constexpr std::size_t kMaxMeaningfulBytes
    = kCountBytes + kRecordBytes * kMaxPoints + kColourBlockFixedBytes + 4 * kMaxPoints;

enum class DecodeError {
    None,
    MissingCount, // fewer than 4 bytes
    NegativeCount,
    CountAboveCapacity, // more than kMaxPoints
    MissingRecords, // shorter than 4 + 24 n bytes
};

struct ParsedModel {
    std::vector<Coords> points;
    std::optional<std::vector<Colour>> colours; // only from a consistent colour block
};

struct DecodeResult {
    DecodeError error = DecodeError::None;
    std::int64_t count = 0; // the count as found in the file, also when refused
    ParsedModel model;

    bool ok() const { return error == DecodeError::None; }
};

std::vector<std::uint8_t> encode(const Model &model);

// Checks everything before allocating; never reads past the bytes given.
DecodeResult decode(std::span<const std::uint8_t> bytes);

// The model of a successfully decoded file. A file without a colour block
// takes its colours from `colourSlots`, the colours the points last had.
Model toModel(const ParsedModel &parsed, std::span<const Colour> colourSlots);

} // namespace ModelFile

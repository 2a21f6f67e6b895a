#include "export_input.h"

#include <bit>
#include <charconv>
#include <cstring>

using namespace ExportDetail;

static_assert(std::endian::native == std::endian::little, "PLY floats are written as held");

namespace {

std::string plyHeader(bool ascii, std::size_t count)
{
    return std::string("ply\nformat ") + (ascii ? "ascii" : "binary_little_endian")
           + " 1.0\ncomment ZUVORAK " ZUVORAK_VERSION "\nelement vertex " + std::to_string(count)
           + "\nproperty float x\nproperty float y\nproperty float z\n"
             "property uchar red\nproperty uchar green\nproperty uchar blue\nend_header\n";
}

template<typename Number>
void appendNumber(std::vector<std::uint8_t> &out, Number value, char separator)
{
    char text[32];
    char *end = std::to_chars(text, text + sizeof text, value).ptr;
    *end++ = separator;
    out.insert(out.end(), text, end);
}

void appendColour(std::vector<std::uint8_t> &out, Colour colour)
{
    const auto [red, green, blue] = channelsOf(colour);
    appendNumber(out, int(red), ' ');
    appendNumber(out, int(green), ' ');
    appendNumber(out, int(blue), '\n');
}

} // namespace

ExportResult exportPly(std::span<const Coords> points, std::span<const Colour> colours,
                       const ExportOptions &options)
{
    ExportResult result = startExport(points, colours, true);
    if (!result.ok())
        return result;
    const std::size_t kept = points.size() - std::size_t(result.nonFinite);
    const std::string header = plyHeader(options.ply.ascii, kept);
    std::vector<std::uint8_t> &out = result.bytes;
    out.reserve(header.size() + kept * (options.ply.ascii ? 40 : 15));
    out.assign(header.begin(), header.end());
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (!exported(points[i], true))
            continue;
        const auto axes = frontAxes(points[i]);
        const float xyz[3] = {float(axes[0]), float(axes[1]), float(axes[2])};
        if (options.ply.ascii) {
            for (float value : xyz)
                appendNumber(out, value, ' ');
            appendColour(out, colours[i]);
        } else {
            const Rgb8 colour = channelsOf(colours[i]);
            const auto *bytes = reinterpret_cast<const std::uint8_t *>(xyz);
            out.insert(out.end(), bytes, bytes + sizeof xyz);
            out.insert(out.end(), {colour.red, colour.green, colour.blue});
        }
    }
    return result;
}

ExportResult exportXyz(std::span<const Coords> points, std::span<const Colour> colours,
                       const ExportOptions &)
{
    ExportResult result = startExport(points, colours, false);
    if (!result.ok())
        return result;
    result.bytes.reserve(points.size() * 48);
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (!exported(points[i], false))
            continue;
        for (double value : frontAxes(points[i]))
            appendNumber(result.bytes, value, ' ');
        appendColour(result.bytes, colours[i]);
    }
    return result;
}

#pragma once

#include "model.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Every export takes the model's points and their colours (same length) and
// returns the file's bytes; writing them to disk is the caller's.
// Axes: x = horizontal, y = vertical, z = -depth, so the front faces +z.
// Points with a NaN or infinite coordinate are left out and counted, and so are
// points beyond float's range in the formats that store floats (PLY, glb).

struct ExportResult {
    std::vector<std::uint8_t> bytes;
    std::string error; // English, empty when ok
    int nonFinite = 0; // points left out for a NaN, infinite or, in floats, too large coordinate
    int snapped = 0; // solids: points moved onto the pixel lattice
    int dropped = 0; // solids: points hidden by a nearer one on the same pixel
    std::size_t triangles = 0; // solids

    bool ok() const { return error.empty(); }
};

struct PlyOptions {
    bool ascii = false; // binary little-endian otherwise
};

// A printable relief in millimetres: one square column per point over a base plate
// that covers the points' bounding box, standing on z = 0 with the box's lower
// left corner at x = y = 0. Points off the pixel lattice are snapped to it; of two
// on one pixel the nearer (smaller depth) stays.
struct SolidOptions {
    double pixelSize = 0.25; // a column's width
    double depthScale = 0.25; // height per depth unit
    double inkHeight = 0.6; // the height of the farthest points above the plate
    double baseThickness = 1.0;
    bool reverse = false; // the farthest points stand tallest
    int colourGroups = 4; // 3MF: at most this many colours, 1 to 16
};

inline constexpr int kMaxColourGroups = 16;
// A relief larger than this many pixels across is refused.
inline constexpr int kMaxReliefPixels = 2000;

struct ColourGroup {
    Colour swatch = 0;
    std::size_t points = 0; // columns of this colour
};

// What the options dialog shows before anything is written.
// Why the points cannot become a relief: the options, or the points themselves.
enum class SolidRefusal { None, Options, Unusable, NoFinitePoint, TooWide, TooThick };

struct SolidSummary {
    std::string error; // English, empty when ok
    SolidRefusal refusal = SolidRefusal::None;
    double width = 0, height = 0, thickness = 0; // outer size in mm along x, y and z
    int nonFinite = 0;
    int snapped = 0;
    int dropped = 0;
    std::size_t columns = 0;
    std::vector<ColourGroup> groups; // the 3MF's objects, most points first

    bool ok() const { return error.empty(); }
};

ExportResult exportPly(std::span<const Coords> points, std::span<const Colour> colours,
                       PlyOptions options = {});
// One "x y z r g b" line per point, coordinates as the shortest decimal that reads back exactly.
ExportResult exportXyz(std::span<const Coords> points, std::span<const Colour> colours);
// glTF binary: one mesh of one POINTS primitive with POSITION and COLOR_0.
ExportResult exportGlb(std::span<const Coords> points, std::span<const Colour> colours);
// Binary STL: the relief as one closed solid.
ExportResult exportStl(std::span<const Coords> points, std::span<const Colour> colours,
                       const SolidOptions &options = {});
// 3MF: one object per colour group and one for the plate, as components of the single build item.
ExportResult export3mf(std::span<const Coords> points, std::span<const Colour> colours,
                       const SolidOptions &options = {});

// Every kind of file, for callers that choose one at run time: the export menu
// and the command line.
enum class ExportKind { Ply, Xyz, Glb, Stl, ThreeMf };
struct ExportOptions {
    PlyOptions ply;
    SolidOptions solid; // STL and 3MF
};
ExportResult exportFile(ExportKind kind, std::span<const Coords> points,
                        std::span<const Colour> colours, const ExportOptions &options);

SolidSummary summarizeSolid(std::span<const Coords> points, std::span<const Colour> colours,
                            const SolidOptions &options = {});

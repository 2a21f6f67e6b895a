#pragma once

#include "model.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Every export takes the model's points and their colours (same length) and
// returns the file's bytes, or why it cannot; writing them to disk is the caller's.
// Axes: x = horizontal, y = vertical, z = -depth, so the front faces +z.
// Points with a NaN or infinite coordinate are left out and counted, and so are
// points beyond float's range in the formats that store floats (PLY, glb).

// Why a file cannot be made from the model; each front end says it in its own words.
enum class ExportError {
    None,
    NoPoints, // no points, or not one colour for each
    NoFinitePoint, // no point has three finite coordinates
    TooLargeForFloats, // the finite points all lie beyond what the format's floats hold
    TooWide, // solids: the points spread over kMaxReliefPixels or more
    TooThick, // solids: the relief would be thicker than kMaxReliefThickness
    Options, // solids: an option outside its limits
    Writer, // the format's library failed
};

struct ExportResult {
    std::vector<std::uint8_t> bytes;
    ExportError error = ExportError::None;
    int nonFinite = 0; // points left out for a NaN, infinite or, in floats, too large coordinate
    int snapped = 0; // solids: points moved onto the pixel lattice
    int dropped = 0; // solids: points hidden by a nearer one on the same pixel
    std::size_t triangles = 0; // solids

    bool ok() const { return error == ExportError::None; }
};

struct PlyOptions {
    bool ascii = false; // binary little-endian otherwise
};

// What a solid's length option may be, in millimetres, and the step the dialog offers.
struct LengthLimits {
    double low;
    double high;
    double step;

    bool contain(double value) const { return value >= low && value <= high; } // not NaN
};
inline constexpr LengthLimits kPixelSizeLimits {0.01, 100, 0.05};
inline constexpr LengthLimits kDepthScaleLimits {0, 100, 0.05};
inline constexpr LengthLimits kInkHeightLimits {0.01, 100, 0.1};
inline constexpr LengthLimits kBaseThicknessLimits {0.01, 100, 0.1};
inline constexpr LengthLimits kNozzleLimits {0.1, 2, 0.05};
inline constexpr int kMaxColourGroups = 16;
// How many pixels 線を太くする may grow a line by, each way.
inline constexpr int kMaxThicken = 4;
// Printed, a column this much taller than its line is wide is likely to break or wobble.
inline constexpr double kTallWallRatio = 8;

// Whom a 3MF is laid out for: each slicer reads its parts, extruders and colours its own way.
// No one layout serves all: PrusaSlicer makes one object with parts only of one mesh, Cura only
// of separate objects.
enum class Slicer {
    Prusa, // PrusaSlicer, SuperSlicer: one object of triangle ranges, and its printer settings
    Bambu, // Bambu Studio, OrcaSlicer: parts and extruders in model_settings.config, colour groups
    Cura, // Cura: each part's extruder in its own metadata
    Plain, // 3MF as the standard has it: one object per colour group and one for the plate
};
// Their names on the command line, in the enum's order.
inline constexpr const char *kSlicerNames[] = {"prusa", "bambu", "cura", "plain"};
// A relief this many pixels across or more is refused.
inline constexpr int kMaxReliefPixels = 2000;
// A relief thicker than this, in millimetres (1 km), is refused.
inline constexpr double kMaxReliefThickness = 1e6;

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
    int colourGroups = 4; // 3MF: at most this many colours, 1 to kMaxColourGroups
    double nozzle = 0.4; // the printer's nozzle width, for the findings and the slicer's settings
    int thicken = 0; // pixels each column grows into empty neighbours, 0 to kMaxThicken
    Slicer slicer = Slicer::Prusa; // 3MF
};

// ExportError::Options when an option lies outside its limits.
ExportError solidOptionsError(const SolidOptions &options);

struct ColourGroup {
    Colour swatch = 0;
    std::size_t points = 0; // columns of this colour
};

// What the relief will print like with the nozzle: columns in lines thinner than it (a column's
// line is the shorter of its horizontal and vertical runs of columns), and the largest ratio of
// a column's height above the plate to its line's width.
struct Printability {
    std::size_t thinColumns = 0;
    double tallestRatio = 0;

    bool warns() const { return thinColumns > 0 || tallestRatio > kTallWallRatio; }
};

// What the options dialog shows before anything is written.
struct SolidSummary {
    ExportError error = ExportError::None;
    double width = 0, height = 0, thickness = 0; // outer size in mm along x, y and z
    int nonFinite = 0;
    int snapped = 0;
    int dropped = 0;
    std::size_t columns = 0;
    Printability printability;
    std::vector<ColourGroup> groups; // the 3MF's objects, most points first

    bool ok() const { return error == ExportError::None; }
};

struct ExportOptions {
    PlyOptions ply = {};
    SolidOptions solid = {}; // STL and 3MF
};

// One function a kind: the file's bytes, or why not, from the points, their colours and the
// options of its kind.
using ExportFunction = ExportResult(std::span<const Coords> points, std::span<const Colour> colours,
                                    const ExportOptions &options);
// PLY: binary little-endian, or text.
ExportFunction exportPly;
// XYZ: one "x y z r g b" line a point, coordinates as the shortest decimal that reads back exactly.
ExportFunction exportXyz;
// glTF binary: one mesh of one POINTS primitive with POSITION and COLOR_0.
ExportFunction exportGlb;
// Binary STL: the relief as one closed solid.
ExportFunction exportStl;
// 3MF: the colour groups and the white plate as parts of one object, laid out for the slicer chosen.
ExportFunction export3mf;

SolidSummary summarizeSolid(std::span<const Coords> points, std::span<const Colour> colours,
                            const SolidOptions &options = {});

#pragma once

#include "model.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

inline constexpr int kImportGridSize = 201;

// A value that starts unset and then reads as 0 until something is stored.
class NumericSlot {
public:
    double value() const { return value_.value_or(0.0); }
    bool isSet() const { return value_.has_value(); }
    void set(double v) { value_ = v; }

private:
    std::optional<double> value_;
};

// Everything the windows share, alive from start to end of the program.
// Large: create it once on the heap.
struct ProgramState {
    // The point model; only points 0 .. pointCount - 1 are in use.
    std::array<Coords, kMaxPoints> modelPoints {};
    std::array<Coords, kMaxPoints> viewPoints {};
    std::array<Colour, kMaxPoints> pointColors {};
    std::int32_t pointCount = 0;

    std::int16_t viewCenterX = 0;
    std::int16_t viewCenterY = 0;
    std::string currentFileName;
    std::uint8_t saveMode = 0; // 0 = model file, 1 = bitmap of the view
    NumericSlot openMode; // 0 = model file, 1 = picture for the capture window
    std::string capturePicturePath;

    // Depth stroke on the main view.
    std::uint8_t strokeActive = 0;
    NumericSlot strokeStartX;
    std::int16_t strokeStartY = 0;
    NumericSlot strokeEndX;
    std::int16_t strokeEndY = 0;

    // Hand-over of a captured selection; indexed [x][y].
    std::array<std::array<Colour, kImportGridSize>, kImportGridSize> importGrid {};
    NumericSlot importWidth;
    std::int16_t importHeight = 0;
    std::uint8_t importReady = 0;

    std::uint8_t animationOn = 0;
    std::int16_t animationPhase = 0;
};

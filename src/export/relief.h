#pragma once

#include "export.h"

#include <span>
#include <vector>

// The points as columns on the pixel lattice, heights in millimetres. Cells are
// numbered row by row from the bottom left of the points' bounding box.
struct Relief {
    ExportError error = ExportError::None;
    int across = 0, up = 0; // cells along x and y
    double pixelSize = 0;
    float plateTop = 0; // the base thickness; the top of the plate
    std::vector<float> tops; // each cell's top: its column's, or plateTop where there is none
    std::vector<Colour> colours; // each cell's column's colour
    int nonFinite = 0, snapped = 0, dropped = 0;
    std::size_t columns = 0;

    bool ok() const { return error == ExportError::None; }
    bool hasColumn(std::size_t cell) const { return tops[cell] > plateTop; }
};

Relief buildRelief(std::span<const Coords> points, std::span<const Colour> colours,
                   const SolidOptions &options);

Printability printability(const Relief &relief, double nozzle);

// An export's result with the relief's refusal and its counts.
ExportResult solidResult(const Relief &relief);

#pragma once

#include "capture.h"
#include "model.h"

#include <vector>

// What the capture surface showed inside a selection: the rows between the
// outline's top and bottom rows, the columns from the left outline column to
// the right one, outline included.
class ImportGrid {
public:
    static constexpr int kSize = 201;

    // The index of the last column, and of the last row (negative when the
    // selection has no rows inside its outline).
    int lastColumn() const { return lastColumn_; }
    int lastRow() const { return lastRow_; }
    Colour at(int column, int row) const { return cells_[std::size_t(column * kSize + row)]; }

    // Reads an ordered selection within the size limit from the capture surface.
    static ImportGrid read(const Surface &capture, const Selection &ordered);
    // What reading a picture of this size would give, selected whole with the outline just
    // outside it: a picture at most kStagingSize pixels a side.
    static ImportGrid wholePicture(const ReducedPicture &picture);

private:
    std::vector<Colour> cells_ = std::vector<Colour>(kSize * kSize);
    int lastColumn_ = 0;
    int lastRow_ = 0;
};

// What 取りこみ takes from the capture surface, or 縮小して取りこむ when `reduce`: the selection
// reduced by reductionFactor() and taken as a whole picture of that size.
ImportGrid takeSelection(const Surface &capture, const Selection &ordered, bool reduce);

// Clears the staging surface and draws the grid on it without the outline's
// columns: grid column j goes to x = j, row i to y = i.
void stageImport(const ImportGrid &grid, Surface &staging);

// The model of every pixel of the staging surface that is not light, column by
// column from the left, top to bottom within a column, at depth 0 and shifted
// by a third of the view's size from its top-left corner.
Model buildModelFromPicture(const Surface &staging, int viewWidth, int viewHeight,
                            ViewCentre centre);

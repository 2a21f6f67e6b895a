#pragma once

#include "capture.h"
#include "program_state.h"

// Pixels with red, green and blue all at or above this are background.
inline constexpr int kLightLevel = 192;

// Copies what the capture surface shows inside an ordered selection into the
// hand-over grid: rows between the outline's top and bottom rows, columns from
// the left outline column to the right one, outline included. Sets
// importWidth, importHeight and importReady. The selection must be within
// the size limit.
void handOverSelection(ProgramState &state, const Surface &capture, const Selection &ordered);

// Clears the staging surface and draws the handed-over grid on it without the
// outline's columns: grid column j goes to x = j, row i to y = i.
void stageImport(const ProgramState &state, Surface &staging);

// Rebuilds the model from every pixel of the staging surface that is not
// light, column by column from the left, top to bottom within a column, at
// depth 0 and shifted by a third of the view's size from its top-left corner.
void buildModelFromPicture(ProgramState &state, const Surface &staging, const Surface &view);

#pragma once

#include "program_state.h"

// The model side of the main window's start-up: the view centre from the
// drawing area of the view, an empty model and every slot at 1000.0.
void resetForStartUp(ProgramState &state, const Surface &view);

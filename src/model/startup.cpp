#include "startup.h"

#include "conversions.h"

void resetForStartUp(ProgramState &state, const Surface &view)
{
    state.strokeActive = 0;
    state.currentFileName.clear();
    state.viewCenterX = toInteger(view.ScaleWidth() / 2.0);
    state.viewCenterY = toInteger(view.ScaleHeight() / 2.0);
    state.pointCount = 0;
    state.modelPoints.fill(Coords {1000.0, 1000.0, 1000.0});
    state.animationOn = 0;
    state.animationPhase = 0;
    state.capturePicturePath.clear();
}

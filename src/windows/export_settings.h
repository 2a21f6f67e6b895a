#pragma once

#include "export.h"

// The export options the user chose last, remembered between runs. Values from
// an edited or foreign settings file come back within the dialogs' ranges.
PlyOptions loadPlyOptions();
void savePlyOptions(const PlyOptions &options);
SolidOptions loadSolidOptions();
void saveSolidOptions(const SolidOptions &options);

// What the options dialogs offer.
struct SolidRange {
    double low;
    double high;
    double step;
};
inline constexpr SolidRange kPixelSizeRange {0.01, 100, 0.05};
inline constexpr SolidRange kDepthScaleRange {0, 100, 0.05};
inline constexpr SolidRange kInkHeightRange {0.01, 100, 0.1};
inline constexpr SolidRange kBaseThicknessRange {0.01, 100, 0.1};

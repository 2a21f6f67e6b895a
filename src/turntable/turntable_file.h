#pragma once

#include "animation.h"
#include "model.h"
#include "picture_result.h"
#include "turntable.h"

#include <QString>

enum class TurntableFormat { WebP, Gif, PngFolder };

// By the name's extension, .webp or .gif in any case; any other name is a
// new folder of PNG frames.
TurntableFormat turntableFormatOf(const QString &path);

struct TurntableResult {
    bool cancelled = false;
    bool nothingToDraw = false; // see hasDrawablePoint(): nothing was written
    PictureResult written = {};

    bool ok() const { return !cancelled && !nothingToDraw && written.ok(); }
};

// Writes the turntable in `format`: all or nothing. A model without a drawable point is
// refused before anything is drawn. A cancel (by
// `progress` returning false) or a failure leaves nothing at the path or
// beside it; a folder is built beside the path and renamed into place, and
// never replaces anything that exists.
TurntableResult writeTurntable(const Model &model, const TurntableOptions &options,
                               const QString &path, TurntableFormat format,
                               const Animation::Progress &progress = {});

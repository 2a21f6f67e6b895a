#pragma once

#include "image_surface.h"
#include "picture_file.h"

#include <QImage>

// The surface a selection is made on and imported from, for the capture window
// and the command line alike: see captureSurfaceSize(). A null picture gives
// the bare background of the drawing area's size. A picture larger than the
// drawing area becomes the surface itself: given as a temporary, drawing on the
// surface copies nothing.
ImageSurface captureSurfaceFor(QImage picture);

// A picture whose every pixel a selection can reach, or why it cannot be captured.
DecodedPicture readCapturePicture(const QString &path);

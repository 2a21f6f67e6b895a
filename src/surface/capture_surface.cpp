#include "capture_surface.h"

#include "capture.h"

ImageSurface captureSurfaceFor(const QImage &picture)
{
    const CaptureSize size = captureSurfaceSize(picture.width(), picture.height());
    // A large picture is the surface as it is: a scan's copy would take a while.
    if (picture.width() == size.width && picture.height() == size.height)
        return {picture, kCaptureBackground};
    ImageSurface surface(size.width, size.height, kCaptureBackground);
    if (!picture.isNull())
        surface.showPicture(picture);
    return surface;
}

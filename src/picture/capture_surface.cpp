#include "capture_surface.h"

#include "capture.h"

#include <algorithm>
#include <utility>

ImageSurface captureSurfaceFor(QImage picture)
{
    const CaptureSize size = captureSurfaceSize(picture.width(), picture.height());
    // A large picture is the surface as it is: a scan's copy would take a while.
    if (picture.width() == size.width && picture.height() == size.height)
        return {std::move(picture), kCaptureBackground};
    ImageSurface surface(size.width, size.height, kCaptureBackground);
    if (!picture.isNull())
        surface.showPicture(picture);
    return surface;
}

DecodedPicture readCapturePicture(const QString &path)
{
    DecodedPicture decoded = readPicture(path);
    if (std::max(decoded.image.width(), decoded.image.height()) > kCaptureLargestSide)
        return {{}, {PictureError::TooLarge, {}, 0}};
    return decoded;
}

#pragma once

#include <cstdint>
#include <string>

// A colour as the program holds it everywhere: 0x00BBGGRR, red in the low byte.
using Colour = std::int32_t;

inline constexpr Colour kWhite = 0x00FFFFFF;
inline constexpr Colour kBlue = 0x00FF0000;

// Why a picture could not be read or written.
enum class PictureError {
    None,
    NotFound,
    NotRegularFile,
    TooLarge,
    Truncated,
    Unreadable,
    ReadFailed,
    WriteFailed,
};

struct PictureResult {
    PictureError error = PictureError::None;
    std::string detail; // the decoder's own words, for the message box
    int systemError = 0; // the system's error number (errno), 0 if it gave none

    bool ok() const { return error == PictureError::None; }
};

// A pixel-scaled drawing area: origin at the top-left, y downwards.
// Coordinates come as Single and may be fractional or lie outside the area.
class Surface {
public:
    virtual ~Surface() = default;

    virtual float ScaleWidth() const = 0;
    virtual float ScaleHeight() const = 0;

    // Erases everything drawn; the surface shows its background colour.
    virtual void Cls() = 0;

    // Rounds (x, y) to the nearest pixel, halves to even. Positions outside the
    // area, NaN and infinities are ignored silently.
    virtual void PSet(float x, float y, Colour colour) = 0;

    // The colour at (x, y), rounded as PSet does; white outside the area.
    virtual Colour Point(float x, float y) const = 0;

    // The one-pixel outline of the box with corners (x1, y1) and (x2, y2),
    // corners in any order, clipped at the edges.
    virtual void Line(float x1, float y1, float x2, float y2, Colour colour) = 0;

    // Shows a bitmap file from the top-left corner over the background.
    // On failure the surface shows its background and the reason is returned.
    virtual PictureResult LoadPicture(const std::string &path) = 0;

    // Writes the drawing area as a 24-bit BMP, replacing the file only when
    // the whole image could be written.
    virtual PictureResult SavePicture(const std::string &path) const = 0;
};

#include "png_file.h"

#include "on_white.h"

#include <QImage>

#include <csetjmp>
#include <cstring>
#include <vector>

#include <png.h>

namespace {

struct Input {
    const QByteArray &bytes;
    qsizetype at = 0;
    bool ranOut = false;
};

void readBytes(png_structp png, png_bytep out, png_size_t count)
{
    auto *input = static_cast<Input *>(png_get_io_ptr(png));
    if (count > png_size_t(input->bytes.size() - input->at)) {
        input->ranOut = true;
        png_error(png, "the file stops early");
    }
    std::memcpy(out, input->bytes.constData() + input->at, count);
    input->at += qsizetype(count);
}

// libpng would print its own lines on standard error: they name no file, and the failure is
// told once by the program instead.
struct Errors {
    PictureError error = PictureError::Unreadable;
    char words[128] = {};
};

[[noreturn]] void fail(png_structp png, png_const_charp message)
{
    auto *errors = static_cast<Errors *>(png_get_error_ptr(png));
    std::strncpy(errors->words, message, sizeof errors->words - 1);
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) { }

// The decode itself, with nothing in its frame that the jump back would skip the destructor of.
bool decodeInto(Input &input, qint64 limit, QImage &image, std::vector<png_bytep> &rows,
                Errors &errors, bool &alpha)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &errors, fail, ignoreWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &input, readBytes);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (qint64(width) * height * 4 > limit) {
        errors.error = PictureError::TooLarge;
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    // Everything becomes 8-bit blue, green, red and alpha or filler: QImage's 32 bits.
    png_set_expand(png);
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    alpha = (png_get_color_type(png, info) & PNG_COLOR_MASK_ALPHA)
            || png_get_valid(png, info, PNG_INFO_tRNS);
    if (!alpha)
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    image = QImage(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull())
        png_error(png, "out of memory");
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        rows[y] = image.scanLine(int(y));
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

} // namespace

bool isPngFile(const QByteArray &bytes)
{
    return bytes.startsWith("\x89PNG\r\n\x1a\n");
}

DecodedPicture decodePng(const QByteArray &bytes, qint64 limit)
{
    Input input {bytes};
    QImage image;
    std::vector<png_bytep> rows;
    Errors errors;
    bool alpha = false;
    if (!decodeInto(input, limit, image, rows, errors, alpha)) {
        if (input.ranOut)
            return {{}, {PictureError::Truncated, {}, 0}};
        const bool unreadable = errors.error == PictureError::Unreadable;
        return {{}, {errors.error, unreadable ? errors.words : "", 0}};
    }
    if (alpha) {
        image.reinterpretAsFormat(QImage::Format_ARGB32);
        putOnWhite(image);
    }
    return {image, {}};
}

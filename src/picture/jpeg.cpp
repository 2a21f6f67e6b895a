#include "jpeg.h"

#include <QImage>

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace {

bool isJpeg(const QByteArray &bytes)
{
    return bytes.startsWith("\xff\xd8\xff");
}

struct Walk {
    bool reachesEnd = false;
    int scans = 0;
};

// Walks the segments and entropy-coded data up to the end-of-image marker, counting the scans.
Walk walkSegments(const QByteArray &bytes)
{
    const auto byte = [&](qsizetype at) { return quint8(bytes[at]); };
    const qsizetype size = bytes.size();
    Walk walk;
    qsizetype at = 2;
    while (at < size) {
        while (at < size && byte(at) != 0xFF) // stray bytes, which decoders skip too
            ++at;
        while (at < size && byte(at) == 0xFF) // fill bytes before a marker
            ++at;
        if (at >= size)
            return walk;
        const quint8 marker = byte(at++);
        if (marker == 0xD9) {
            walk.reachesEnd = true;
            return walk;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue; // markers without a length
        if (at + 2 > size)
            return walk;
        const qsizetype length = byte(at) << 8 | byte(at + 1);
        if (length < 2)
            return walk;
        at += length;
        if (marker != 0xDA)
            continue;
        ++walk.scans;
        // After a scan's header, its data: a 0xFF in it is followed by 0 or a restart marker.
        while (at + 1 < size
               && !(byte(at) == 0xFF && byte(at + 1) != 0 && (byte(at + 1) & 0xF8) != 0xD0))
            ++at;
        if (at + 1 >= size)
            return walk;
    }
    return walk;
}

// libjpeg reports by a jump back to where the decode began.
struct Errors {
    jpeg_error_mgr manager;
    std::jmp_buf back;
    PictureError error;
    char words[JMSG_LENGTH_MAX];
};

[[noreturn]] void fail(j_common_ptr info)
{
    auto *errors = reinterpret_cast<Errors *>(info->err);
    errors->error = PictureError::Unreadable;
    info->err->format_message(info, errors->words);
    std::longjmp(errors->back, 1);
}

// A warning that the data stops early is an error: libjpeg would fill in grey. Stray bytes
// between segments and other warnings are what decoders pass over.
void warn(j_common_ptr info, int level)
{
    const int code = info->err->msg_code;
    if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER)) {
        reinterpret_cast<Errors *>(info->err)->error = PictureError::Truncated;
        std::longjmp(reinterpret_cast<Errors *>(info->err)->back, 1);
    }
}

// Adobe writes CMYK inverted, as every reader takes it.
void cmykRow(const JSAMPLE *in, QRgb *out, int width)
{
    for (int x = 0; x < width; ++x, in += 4) {
        const int k = in[3];
        out[x] = qRgb(in[0] * k / 255, in[1] * k / 255, in[2] * k / 255);
    }
}

// The decode itself, with nothing in its frame that a jump back would skip the destructor of.
bool decodeInto(const QByteArray &bytes, qint64 limit, QImage &image, std::vector<JSAMPLE> &row,
                Errors &errors)
{
    jpeg_decompress_struct info;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = fail;
    errors.manager.emit_message = warn;
    if (setjmp(errors.back)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX; // BGRX is QImage's RGB32 in memory
    if (qint64(info.image_width) * info.image_height * 4 > limit) {
        errors.error = PictureError::TooLarge;
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_start_decompress(&info);
    image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB32);
    if (image.isNull())
        ERREXIT(&info, JERR_OUT_OF_MEMORY);
    row.resize(cmyk ? std::size_t(info.output_width) * 4 : 0);
    while (info.output_scanline < info.output_height) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(int(info.output_scanline)));
        JSAMPROW into = cmyk ? row.data() : reinterpret_cast<JSAMPROW>(line);
        jpeg_read_scanlines(&info, &into, 1);
        if (cmyk)
            cmykRow(row.data(), line, int(info.output_width));
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

bool isJpegFile(const QByteArray &bytes)
{
    return isJpeg(bytes);
}

DecodedPicture decodeJpeg(const QByteArray &bytes, qint64 limit)
{
    const Walk walk = walkSegments(bytes);
    if (!walk.reachesEnd)
        return {{}, {PictureError::Truncated, {}, 0}};
    if (walk.scans > kMaxJpegScans)
        return {{}, {PictureError::TooManyScans, {}, 0}};
    QImage image;
    std::vector<JSAMPLE> row;
    Errors errors {};
    if (!decodeInto(bytes, limit, image, row, errors))
        return {{},
                {errors.error, errors.error == PictureError::Unreadable ? errors.words : "", 0}};
    return {image, {}};
}

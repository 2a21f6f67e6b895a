#include "picture_formats.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

bool isGif(const QByteArray &bytes)
{
    return bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a");
}

struct GifInput {
    const QByteArray *bytes;
    qsizetype at = 0;
};

int readGif(GifFileType *gif, GifByteType *out, int count)
{
    auto *input = static_cast<GifInput *>(gif->UserData);
    const int n = int(std::min<qsizetype>(count, input->bytes->size() - input->at));
    std::memcpy(out, input->bytes->constData() + input->at, std::size_t(n));
    input->at += n;
    return n;
}

PictureResult gifResult(int error)
{
    if (error == D_GIF_ERR_READ_FAILED || error == D_GIF_ERR_EOF_TOO_SOON)
        return {PictureError::Truncated, {}, 0};
    const char *words = GifErrorString(error);
    return {PictureError::Unreadable, words ? words : "", 0};
}

// Decodes the first frame's pixels with giflib, one row at a time, and drops them.
PictureResult gifFirstFrameProblem(GifFileType *gif, qint64 limit)
{
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &record) == GIF_ERROR)
            return gifResult(gif->Error);
        if (record == TERMINATE_RECORD_TYPE)
            return {PictureError::Unreadable, {}, 0}; // no image in the file
        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType *block = nullptr;
            if (DGifGetExtension(gif, &code, &block) == GIF_ERROR)
                return gifResult(gif->Error);
            while (block)
                if (DGifGetExtensionNext(gif, &block) == GIF_ERROR)
                    return gifResult(gif->Error);
            continue;
        }
        if (record != IMAGE_DESC_RECORD_TYPE)
            return {PictureError::Unreadable, {}, 0};
        if (DGifGetImageDesc(gif) == GIF_ERROR)
            return gifResult(gif->Error);
        const int width = gif->Image.Width;
        if (width <= 0 || gif->Image.Height <= 0)
            return {PictureError::Unreadable, {}, 0};
        // The canvas passed the size check, but a frame may claim far more.
        if (qint64(width) * gif->Image.Height * 4 > limit)
            return {PictureError::TooLarge, {}, 0};
        std::vector<GifPixelType> row(std::size_t(width), 0);
        for (int y = 0; y < gif->Image.Height; ++y)
            if (DGifGetLine(gif, row.data(), width) == GIF_ERROR)
                return gifResult(gif->Error);
        return {};
    }
}

PictureResult gifProblem(const QByteArray &bytes, qint64 limit)
{
    GifInput input {&bytes};
    int error = 0;
    GifFileType *gif = DGifOpen(&input, readGif, &error);
    if (!gif)
        return gifResult(error);
    PictureResult result = gifFirstFrameProblem(gif, limit);
    DGifCloseFile(gif, &error);
    return result;
}

} // namespace

PictureResult incompletePicture(const QByteArray &bytes, qint64 limit)
{
    if (isGif(bytes))
        return gifProblem(bytes, limit);
    return {};
}

#include "animation.h"

#include <gif_lib.h>
#include <libimagequant.h>
#include <webp/encode.h>
#include <webp/mux.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>
#include <new>
#include <optional>
#include <thread>
#include <utility>

namespace Animation {

namespace {

constexpr int kMaxDelayMs = 65535;
constexpr int kWebPMaxSide = WEBP_MAX_DIMENSION;
constexpr int kGifMaxSide = 65535;

using Bytes = std::vector<std::uint8_t>;

Encoded fail(Error error, std::size_t frame = 0)
{
    return {{}, error, int(frame)};
}

// The first reason the frames cannot be encoded at all, or none.
Encoded checkFrames(std::span<const Frame> frames, int delayMs, int maxSide)
{
    if (frames.empty())
        return fail(Error::NoFrames);
    if (delayMs < 1 || delayMs > kMaxDelayMs || frames.size() > std::size_t(INT_MAX / delayMs))
        return fail(Error::Delay);
    const Frame &first = frames.front();
    if (first.width < 1 || first.height < 1 || first.width > maxSide || first.height > maxSide)
        return fail(Error::FrameSize, 1);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const Frame &frame = frames[i];
        if (frame.width != first.width || frame.height != first.height
            || frame.rgba.size() != std::size_t(frame.width) * std::size_t(frame.height) * 4)
            return fail(Error::FramesDiffer, i + 1);
    }
    return {};
}

bool cancelled(const Progress &progress, std::size_t done, std::size_t total)
{
    return progress && !progress(int(done), int(total));
}

struct AnimEncoderDeleter {
    void operator()(WebPAnimEncoder *encoder) const { WebPAnimEncoderDelete(encoder); }
};

struct PictureDeleter {
    void operator()(WebPPicture *picture) const { WebPPictureFree(picture); }
};

struct WebPDataDeleter {
    void operator()(WebPData *data) const { WebPDataClear(data); }
};

} // namespace

Encoded encodeAnimatedWebP(std::span<const Frame> frames, int delayMs, const Progress &progress)
{
    if (Encoded refused = checkFrames(frames, delayMs, kWebPMaxSide); !refused.ok())
        return refused;
    const int width = frames.front().width;
    const int height = frames.front().height;

    WebPAnimEncoderOptions options;
    WebPConfig config;
    if (!WebPAnimEncoderOptionsInit(&options) || !WebPConfigInit(&config))
        return fail(Error::Library); // not the version built against
    options.anim_params.loop_count = 0;
    // The fastest lossless effort keeps a turntable within its time: 3 to 5 times
    // the default's speed, for files 5 % (few colours) to 80 % (a colour a point) larger.
    WebPConfigLosslessPreset(&config, 0);
    config.exact = 1;

    std::unique_ptr<WebPAnimEncoder, AnimEncoderDeleter> encoder(
        WebPAnimEncoderNew(width, height, &options));
    if (!encoder)
        return fail(Error::OutOfMemory);

    for (std::size_t i = 0; i < frames.size(); ++i) {
        WebPPicture picture;
        WebPPictureInit(&picture);
        picture.use_argb = 1;
        picture.width = width;
        picture.height = height;
        std::unique_ptr<WebPPicture, PictureDeleter> owner(&picture);
        if (!WebPPictureImportRGBA(&picture, frames[i].rgba.data(), width * 4))
            return fail(Error::OutOfMemory, i + 1);
        if (!WebPAnimEncoderAdd(encoder.get(), &picture, int(i) * delayMs, &config))
            return fail(Error::Library, i + 1);
        if (cancelled(progress, i + 1, frames.size()))
            return fail(Error::Cancelled);
    }
    if (!WebPAnimEncoderAdd(encoder.get(), nullptr, int(frames.size()) * delayMs, nullptr))
        return fail(Error::Library);

    WebPData data;
    WebPDataInit(&data);
    std::unique_ptr<WebPData, WebPDataDeleter> dataOwner(&data);
    if (!WebPAnimEncoderAssemble(encoder.get(), &data))
        return fail(Error::Library);
    return {Bytes(data.bytes, data.bytes + data.size)};
}

namespace {

struct GifWriter {
    Bytes bytes;
    GifFileType *file = nullptr;

    ~GifWriter()
    {
        if (file)
            EGifCloseFile(file, nullptr);
    }

    // No exception may cross giflib's C frames; a short count is its write error.
    static int append(GifFileType *file, const GifByteType *data, int length) noexcept
    {
        try {
            auto *out = static_cast<Bytes *>(file->UserData);
            out->insert(out->end(), data, data + length);
            return length;
        } catch (const std::bad_alloc &) {
            return 0;
        }
    }
};

struct LiqAttrDeleter {
    void operator()(liq_attr *attr) const { liq_attr_destroy(attr); }
};
struct LiqImageDeleter {
    void operator()(liq_image *image) const { liq_image_destroy(image); }
};
struct LiqResultDeleter {
    void operator()(liq_result *result) const { liq_result_destroy(result); }
};
struct ColourMapDeleter {
    void operator()(ColorMapObject *map) const { GifFreeMapObject(map); }
};

// GIF has a single transparent index and no partial alpha, so the
// quantizer sees every pixel opaque.
void opaqueRow(liq_color rowOut[], int row, int width, void *userInfo)
{
    const auto *frame = static_cast<const Frame *>(userInfo);
    const std::uint8_t *in = frame->rgba.data() + std::size_t(row) * std::size_t(width) * 4;
    for (int x = 0; x < width; ++x, in += 4)
        rowOut[x] = liq_color {in[0], in[1], in[2], 255};
}

struct LiqHistogramDeleter {
    void operator()(liq_histogram *histogram) const { liq_histogram_destroy(histogram); }
};

using LiqImage = std::unique_ptr<liq_image, LiqImageDeleter>;
using LiqResult = std::unique_ptr<liq_result, LiqResultDeleter>;

// The fastest effort that keeps colours whole: from 8 up libimagequant drops the lowest bit of
// each channel, and a turntable of few colours would no longer be exact.
constexpr int kQuantizeSpeed = 7;

LiqImage liqImage(const Frame &frame, liq_attr *attr)
{
    return LiqImage(liq_image_create_custom(attr, opaqueRow, const_cast<Frame *>(&frame),
                                            frame.width, frame.height, 0));
}

// One palette for the whole animation, from the colours of every frame: quantizing each frame
// anew took ten times as long as all the rest of a turntable. Every pixel counts alike: the
// contrast map libimagequant would weigh them by costs more than the rest of the histogram.
// A histogram is quantized only once, so each worker gets its result from the palette's
// colours alone, which keeps them exactly: every frame is remapped to the same palette.
std::vector<LiqResult> sharedPalettes(std::span<const Frame> frames, liq_attr *attr,
                                      std::size_t workers)
{
    std::unique_ptr<liq_histogram, LiqHistogramDeleter> histogram(liq_histogram_create(attr));
    if (!histogram)
        return {};
    std::vector<unsigned char> evenly(
        std::size_t(frames.front().width) * std::size_t(frames.front().height), 255);
    for (const Frame &frame : frames) {
        const LiqImage image = liqImage(frame, attr);
        if (!image
            || liq_image_set_importance_map(image.get(), evenly.data(), evenly.size(),
                                            LIQ_COPY_PIXELS)
                   != LIQ_OK
            || liq_histogram_add_image(histogram.get(), attr, image.get()) != LIQ_OK)
            return {};
    }
    liq_result *found = nullptr;
    if (liq_histogram_quantize(histogram.get(), attr, &found) != LIQ_OK)
        return {};
    const LiqResult foundOwner(found);
    const liq_palette *palette = liq_get_palette(found);
    std::vector<liq_histogram_entry> colours;
    for (unsigned i = 0; i < palette->count; ++i)
        colours.push_back({palette->entries[i], 1});

    std::vector<LiqResult> results;
    while (results.size() < workers) {
        histogram.reset(liq_histogram_create(attr));
        liq_result *result = nullptr;
        if (!histogram
            || liq_histogram_add_colors(histogram.get(), attr, colours.data(), int(colours.size()),
                                        0)
                   != LIQ_OK
            || liq_histogram_quantize(histogram.get(), attr, &result) != LIQ_OK)
            return {};
        results.emplace_back(result);
        // Without dithering: a pattern that changes from frame to frame shimmers as the model
        // turns, and it doubles the time of the remapping.
        liq_set_dithering_level(result, 0);
    }
    return results;
}

struct IndexedFrame {
    std::vector<GifByteType> indices;
    std::unique_ptr<ColorMapObject, ColourMapDeleter> map;
};

// The frame in the shared palette. Remapping refines the palette a little for each frame, so
// each frame carries the palette its indices refer to.
std::optional<IndexedFrame> remap(const Frame &frame, liq_attr *attr, liq_result *result)
{
    const LiqImage image = liqImage(frame, attr);
    IndexedFrame indexed;
    indexed.indices.resize(std::size_t(frame.width) * std::size_t(frame.height));
    if (!image
        || liq_write_remapped_image(result, image.get(), indexed.indices.data(),
                                    indexed.indices.size())
               != LIQ_OK)
        return std::nullopt;

    const liq_palette *palette = liq_get_palette(result);
    const int mapSize = 1 << GifBitSize(int(std::max(palette->count, 2u)));
    indexed.map.reset(GifMakeMapObject(mapSize, nullptr));
    if (!indexed.map)
        return std::nullopt;
    for (int i = 0; i < mapSize; ++i) {
        const liq_color c = i < int(palette->count) ? palette->entries[i] : liq_color {0, 0, 0, 0};
        indexed.map->Colors[i] = GifColorType {c.r, c.g, c.b};
    }
    return indexed;
}

bool putLoopForever(GifFileType *file)
{
    static const GifByteType application[]
        = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
    static const GifByteType loop[] = {1, 0, 0}; // sub-block 1, repeat count 0 = forever
    return EGifPutExtensionLeader(file, APPLICATION_EXT_FUNC_CODE) == GIF_OK
           && EGifPutExtensionBlock(file, sizeof application, application) == GIF_OK
           && EGifPutExtensionBlock(file, sizeof loop, loop) == GIF_OK
           && EGifPutExtensionTrailer(file) == GIF_OK;
}

bool putFrame(GifFileType *file, IndexedFrame &frame, int width, int height, int delayCs)
{
    GraphicsControlBlock control {DISPOSE_DO_NOT, false, delayCs, NO_TRANSPARENT_COLOR};
    GifByteType extension[4];
    const std::size_t length = EGifGCBToExtension(&control, extension);
    return EGifPutExtension(file, GRAPHICS_EXT_FUNC_CODE, int(length), extension) == GIF_OK
           && EGifPutImageDesc(file, 0, 0, width, height, false, frame.map.get()) == GIF_OK
           && EGifPutLine(file, frame.indices.data(), width * height) == GIF_OK;
}

} // namespace

Encoded encodeAnimatedGif(std::span<const Frame> frames, int delayMs, const Progress &progress)
{
    if (Encoded refused = checkFrames(frames, delayMs, kGifMaxSide); !refused.ok())
        return refused;
    const int width = frames.front().width;
    const int height = frames.front().height;
    const int delayCs = std::max(1, int(std::lround(delayMs / 10.0)));

    std::unique_ptr<liq_attr, LiqAttrDeleter> attr(liq_attr_create());
    if (!attr)
        return fail(Error::OutOfMemory);
    liq_set_speed(attr.get(), kQuantizeSpeed);

    GifWriter writer;
    int openError = 0;
    writer.file = EGifOpen(&writer.bytes, GifWriter::append, &openError);
    if (!writer.file)
        return fail(Error::Library);
    EGifSetGifVersion(writer.file, true);
    if (EGifPutScreenDesc(writer.file, width, height, 8, 0, nullptr) != GIF_OK
        || !putLoopForever(writer.file))
        return fail(Error::Library);

    // Frames are remapped a batch at a time, one on each core, and written in order.
    const std::size_t workers = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 4);
    const std::vector<LiqResult> palettes = sharedPalettes(frames, attr.get(), workers);
    if (palettes.empty())
        return fail(Error::Library);
    std::vector<std::optional<IndexedFrame>> batch(workers);
    for (std::size_t first = 0; first < frames.size(); first += workers) {
        const std::size_t count = std::min(workers, frames.size() - first);
        {
            std::vector<std::jthread> others;
            for (std::size_t w = 1; w < count; ++w)
                others.emplace_back(
                    [&, w] { batch[w] = remap(frames[first + w], attr.get(), palettes[w].get()); });
            batch[0] = remap(frames[first], attr.get(), palettes[0].get());
        }
        for (std::size_t w = 0; w < count; ++w) {
            const std::size_t i = first + w;
            if (!batch[w] || !putFrame(writer.file, *batch[w], width, height, delayCs))
                return fail(Error::Library, i + 1);
            if (cancelled(progress, i + 1, frames.size()))
                return fail(Error::Cancelled);
        }
    }

    int closeError = 0;
    GifFileType *file = std::exchange(writer.file, nullptr);
    if (EGifCloseFile(file, &closeError) != GIF_OK)
        return fail(Error::Library);
    return {std::move(writer.bytes)};
}

} // namespace Animation

// libFuzzer entry for picture reading: the bytes of a file go through the
// program's checks and Qt's decoder as the capture window reads them. Any bytes
// must give an RGB32 picture within the allocation limit, or a refusal.
#include "picture_file.h"

#include <cstdlib>

// The program's checks at a sixteenth of its limit: a picture near 256 MB takes
// seconds under the fuzzer's instrumentation, and the paths are the same.
constexpr int kAllocationLimitMB = kPictureAllocationLimitMB / 16;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // The decoders' warnings about broken files would bury the fuzzer's own output.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const DecodedPicture decoded = decodePicture(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)),
        kAllocationLimitMB);
    if (decoded.result.ok() == decoded.image.isNull())
        std::abort();
    const qint64 bytes = qint64(decoded.image.width()) * decoded.image.height() * 4;
    if (decoded.result.ok()
        && (decoded.image.format() != QImage::Format_RGB32
            || bytes > qint64(kAllocationLimitMB) << 20))
        std::abort();
    return 0;
}

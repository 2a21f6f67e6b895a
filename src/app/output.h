#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <span>

class QImage;

// Every file the command line writes goes through here: written beside the
// target and renamed over it only when complete, so a failure leaves an older
// file as it was and nothing new behind. Empty when written, else the reason.
QString writeOutput(const QString &path, std::span<const std::uint8_t> bytes);
QString writeOutput(const QString &path, const QByteArray &bytes);

// A picture's file bytes: "bmp" as the main window saves its view (24 bits a
// pixel), or "png". Empty when it cannot be encoded.
QByteArray encodePicture(const QImage &image, const char *format);

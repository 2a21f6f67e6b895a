#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <span>

// Every file the command line writes goes through here: written beside the
// target and renamed over it only when complete, so a failure leaves an older
// file as it was and nothing new behind. Empty when written, else the reason.
QString writeOutput(const QString &path, std::span<const std::uint8_t> bytes);
QString writeOutput(const QString &path, const QByteArray &bytes);

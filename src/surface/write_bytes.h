#pragma once

#include "surface.h"

#include <QString>

#include <cstdint>
#include <span>

// Writes beside the target and renames over it only when every byte went out,
// so a failure leaves an existing file as it was and no new file behind.
PictureResult writeBytesAtomically(const QString &path, std::span<const std::uint8_t> bytes);

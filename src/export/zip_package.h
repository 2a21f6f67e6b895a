#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A ZIP archive of these files, deflated, for packages such as the 3MF. Always the same bytes
// for the same files: fixed times, no system's or time zone's fields.
struct ZipEntry {
    std::string name;
    std::string contents;
};

std::vector<std::uint8_t> zipPackage(const std::vector<ZipEntry> &entries);

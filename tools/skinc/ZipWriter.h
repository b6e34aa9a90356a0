#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace skinc {

// One entry of a ZIP archive. Entries are stored (method 0) unless `method`
// says otherwise; an entry whose data were compressed elsewhere gives its
// method and its uncompressed size.
struct ZipEntry {
    std::string name;
    std::vector<std::uint8_t> data;
    std::uint16_t method { 0 };
    std::uint32_t uncompressed_size { 0 }; // used when method is not 0
};

// A complete archive: local headers with the data, the central directory and
// its end record, so that common archive tools list it too. Times are fixed
// (1 January 1980) so that the same input gives the same bytes.
std::vector<std::uint8_t> write_zip(const std::vector<ZipEntry>& entries);

std::uint32_t crc32(const std::uint8_t* data, std::size_t size);

} // namespace skinc

#include "tools/skinc/ZipWriter.h"

namespace skinc {

namespace {

void put16(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

constexpr std::uint32_t DOS_DATE_1980 = (1 << 5) | 1; // 1980-01-01
constexpr std::uint32_t VERSION_NEEDED = 10;

} // namespace

std::uint32_t crc32(const std::uint8_t* data, std::size_t size)
{
    static const auto table = [] {
        std::vector<std::uint32_t> t(256);
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

std::vector<std::uint8_t> write_zip(const std::vector<ZipEntry>& entries)
{
    std::vector<std::uint8_t> out;
    std::vector<std::uint8_t> directory;
    for (auto& entry : entries) {
        auto local = static_cast<std::uint32_t>(out.size());
        auto compressed = static_cast<std::uint32_t>(entry.data.size());
        std::uint32_t uncompressed = entry.method == 0 ? compressed : entry.uncompressed_size;
        std::uint32_t crc = entry.method == 0 ? crc32(entry.data.data(), entry.data.size()) : 0;
        auto name_length = static_cast<std::uint32_t>(entry.name.size());

        put32(out, 0x04034b50);
        put16(out, VERSION_NEEDED);
        put16(out, 0); // flags
        put16(out, entry.method);
        put16(out, 0); // time
        put16(out, DOS_DATE_1980);
        put32(out, crc);
        put32(out, compressed);
        put32(out, uncompressed);
        put16(out, name_length);
        put16(out, 0); // extra field
        out.insert(out.end(), entry.name.begin(), entry.name.end());
        out.insert(out.end(), entry.data.begin(), entry.data.end());

        put32(directory, 0x02014b50);
        put16(directory, 20); // made by
        put16(directory, VERSION_NEEDED);
        put16(directory, 0);
        put16(directory, entry.method);
        put16(directory, 0);
        put16(directory, DOS_DATE_1980);
        put32(directory, crc);
        put32(directory, compressed);
        put32(directory, uncompressed);
        put16(directory, name_length);
        put16(directory, 0); // extra
        put16(directory, 0); // comment
        put16(directory, 0); // disk
        put16(directory, 0); // internal attributes
        put32(directory, 0); // external attributes
        put32(directory, local);
        directory.insert(directory.end(), entry.name.begin(), entry.name.end());
    }
    auto directory_offset = static_cast<std::uint32_t>(out.size());
    out.insert(out.end(), directory.begin(), directory.end());
    put32(out, 0x06054b50);
    put16(out, 0);
    put16(out, 0);
    put16(out, static_cast<std::uint32_t>(entries.size()));
    put16(out, static_cast<std::uint32_t>(entries.size()));
    put32(out, static_cast<std::uint32_t>(directory.size()));
    put32(out, directory_offset);
    put16(out, 0);
    return out;
}

} // namespace skinc

#include "tools/skinc/ZipWriter.h"

#include "platform/LittleEndian.h"

namespace skinc {

namespace {

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

        platform::append_u32le(out, 0x04034b50);
        platform::append_u16le(out, VERSION_NEEDED);
        platform::append_u16le(out, 0); // flags
        platform::append_u16le(out, entry.method);
        platform::append_u16le(out, 0); // time
        platform::append_u16le(out, DOS_DATE_1980);
        platform::append_u32le(out, crc);
        platform::append_u32le(out, compressed);
        platform::append_u32le(out, uncompressed);
        platform::append_u16le(out, name_length);
        platform::append_u16le(out, 0); // extra field
        out.insert(out.end(), entry.name.begin(), entry.name.end());
        out.insert(out.end(), entry.data.begin(), entry.data.end());

        platform::append_u32le(directory, 0x02014b50);
        platform::append_u16le(directory, 20); // made by
        platform::append_u16le(directory, VERSION_NEEDED);
        platform::append_u16le(directory, 0);
        platform::append_u16le(directory, entry.method);
        platform::append_u16le(directory, 0);
        platform::append_u16le(directory, DOS_DATE_1980);
        platform::append_u32le(directory, crc);
        platform::append_u32le(directory, compressed);
        platform::append_u32le(directory, uncompressed);
        platform::append_u16le(directory, name_length);
        platform::append_u16le(directory, 0); // extra
        platform::append_u16le(directory, 0); // comment
        platform::append_u16le(directory, 0); // disk
        platform::append_u16le(directory, 0); // internal attributes
        platform::append_u32le(directory, 0); // external attributes
        platform::append_u32le(directory, local);
        directory.insert(directory.end(), entry.name.begin(), entry.name.end());
    }
    auto directory_offset = static_cast<std::uint32_t>(out.size());
    out.insert(out.end(), directory.begin(), directory.end());
    platform::append_u32le(out, 0x06054b50);
    platform::append_u16le(out, 0);
    platform::append_u16le(out, 0);
    platform::append_u16le(out, static_cast<std::uint32_t>(entries.size()));
    platform::append_u16le(out, static_cast<std::uint32_t>(entries.size()));
    platform::append_u32le(out, static_cast<std::uint32_t>(directory.size()));
    platform::append_u32le(out, directory_offset);
    platform::append_u16le(out, 0);
    return out;
}

} // namespace skinc

#include "tools/skinc/SkinCompiler.h"

#include "tools/skinc/SkinSourceReader.h"
#include "tools/skinc/SkinWriter.h"
#include "tools/skinc/ZipWriter.h"

#include <fstream>
#include <iterator>

namespace skinc {

namespace {

bool read_whole(const std::string& path, std::vector<std::uint8_t>& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

std::string directory_part(const std::string& path)
{
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string description_name_for(const std::string& output_path)
{
    auto slash = output_path.find_last_of('/');
    std::string name = slash == std::string::npos ? output_path : output_path.substr(slash + 1);
    auto dot = name.find_last_of('.');
    if (dot != std::string::npos)
        name.resize(dot);
    return name + ".skin";
}

} // namespace

bool build_skin_file(const SkinSource& skin, bool archive, const std::string& description_name,
    std::vector<std::uint8_t>& bytes, std::string& error)
{
    std::vector<std::uint8_t> description;
    if (!write_skin(skin, description, error))
        return false;
    if (!archive) {
        bytes = std::move(description);
        return true;
    }
    std::vector<ZipEntry> entries;
    entries.push_back({ description_name, std::move(description) });
    for (auto& file : skin.files) {
        ZipEntry entry { file.entry_name, {} };
        if (!read_whole(file.source_path, entry.data)) {
            error = "cannot read \"" + file.source_path + "\"";
            return false;
        }
        entries.push_back(std::move(entry));
    }
    bytes = write_zip(entries);
    return true;
}

bool compile_skin_file(const std::string& source_path, const std::string& output_path, bool archive,
    std::string& error)
{
    std::vector<std::uint8_t> text;
    if (!read_whole(source_path, text)) {
        error = "cannot read \"" + source_path + "\"";
        return false;
    }
    SkinSource skin;
    std::string_view xml(reinterpret_cast<const char*>(text.data()), text.size());
    if (!read_skin_source(xml, directory_part(source_path), skin, error)) {
        error = source_path + ": " + error;
        return false;
    }
    std::vector<std::uint8_t> bytes;
    if (!build_skin_file(skin, archive, description_name_for(output_path), bytes, error))
        return false;
    std::ofstream out(output_path, std::ios::binary | std::ios::trunc);
    out.write(
        reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        error = "cannot write \"" + output_path + "\"";
        return false;
    }
    return true;
}

} // namespace skinc

#include "skinner/Skin.h"

#include "liba/ZipFile.h"
#include "os/File.h"
#include "skinner/PropertiesImpl.h"
#include "skinner/SkinFormat.h"
#include "skinner/SkinHeader.h"

#include <algorithm>

namespace skinner {

Skin::Skin(const std::u16string& path, Point screen, const SkinDevice& device)
{
    load(path, screen, device);
}

Skin::~Skin() = default;

void Skin::load(const std::u16string& path, Point screen, const SkinDevice& device)
{
    properties_ = std::make_unique<PropertiesImpl>(path, screen, device);
    language_ = std::make_unique<liba::StringTranslator>();
}

bool Skin::is_valid() const
{
    return properties_->is_valid();
}

bool Skin::check_version(const std::u16string& tag, Point screen) const
{
    return properties_->check_version(tag, screen);
}

bool Skin::set_language(const std::u16string& path)
{
    auto language = std::make_unique<liba::StringTranslator>();
    os::File file(path, 0);
    if (!language->load(file, path))
        return false;
    language_ = std::move(language);
    // A form may unregister another while re-reading: walk a copy.
    auto clients = clients_;
    for (Client* client : clients) {
        if (std::find(clients_.begin(), clients_.end(), client) != clients_.end())
            client->reload_texts();
    }
    return true;
}

std::u16string Skin::translate(const std::u16string& key) const
{
    return language_->translate(key, key);
}

std::u16string Skin::translate(const std::u16string& key, const std::u16string& fallback) const
{
    return language_->translate(key, fallback);
}

void Skin::add_client(Client* client)
{
    clients_.push_back(client);
}

void Skin::remove_client(Client* client)
{
    std::erase(clients_, client);
}

int Skin::integer(
    const std::u16string& kind, const std::u16string& id, const std::u16string& name, int fallback)
{
    std::uint32_t node = properties_->find_node(kind, id);
    return node ? properties_->integer(node, name).value_or(fallback) : fallback;
}

int Skin::scaled_integer(
    const std::u16string& kind, const std::u16string& id, const std::u16string& name, int fallback)
{
    std::uint32_t node = properties_->find_node(kind, id);
    auto value = node ? properties_->integer(node, name) : std::nullopt;
    // Wraps like the 32-bit arithmetic of the stored value.
    return value
        ? static_cast<int>(static_cast<std::uint32_t>(*value) * static_cast<std::uint32_t>(scale()))
        : fallback;
}

Point Skin::point(const std::u16string& kind, const std::u16string& id, const std::u16string& name,
    Point fallback)
{
    std::uint32_t node = properties_->find_node(kind, id);
    auto value = node ? properties_->point(node, name) : std::nullopt;
    return value ? Point { value->x * scale(), value->y * scale() } : fallback;
}

Color Skin::color(const std::u16string& kind, const std::u16string& id, const std::u16string& name,
    Color fallback)
{
    std::uint32_t node = properties_->find_node(kind, id);
    return node ? properties_->color(node, name).value_or(fallback) : fallback;
}

std::u16string Skin::string(const std::u16string& kind, const std::u16string& id,
    const std::u16string& name, const std::u16string& fallback)
{
    std::uint32_t node = properties_->find_node(kind, id);
    auto value = node ? properties_->string(node, name) : std::nullopt;
    return value ? translate(*value) : fallback;
}

SkinPicture Skin::picture(const std::u16string& kind, const std::u16string& id,
    const std::u16string& name, const SkinPicture& fallback)
{
    std::uint32_t node = properties_->find_node(kind, id);
    return node ? properties_->picture(node, name).value_or(fallback) : fallback;
}

FontDescription Skin::font(const std::u16string& kind, const std::u16string& id,
    const std::u16string& name, const FontDescription& fallback)
{
    std::uint32_t node = properties_->find_node(kind, id);
    return node ? properties_->font(node, name).value_or(fallback) : fallback;
}

std::u16string Skin::cursor(const std::u16string& kind, const std::u16string& id,
    const std::u16string& name, const std::u16string& fallback)
{
    std::uint32_t node = properties_->find_node(kind, id);
    return node ? properties_->string(node, name).value_or(fallback) : fallback;
}

int Skin::form_integer(const std::u16string& kind, const std::u16string& name, int fallback)
{
    std::uint32_t variant = properties_->find_form(kind);
    return variant ? properties_->integer(variant, name).value_or(fallback) : fallback;
}

Point Skin::form_point(const std::u16string& kind, const std::u16string& name, Point fallback)
{
    std::uint32_t variant = properties_->find_form(kind);
    auto value = variant ? properties_->point(variant, name) : std::nullopt;
    return value ? Point { value->x * scale(), value->y * scale() } : fallback;
}

SkinPicture Skin::form_picture(
    const std::u16string& kind, const std::u16string& name, const SkinPicture& fallback)
{
    std::uint32_t variant = properties_->find_form(kind);
    return variant ? properties_->picture(variant, name).value_or(fallback) : fallback;
}

std::uint32_t Skin::auto_control_count(const std::u16string& kind)
{
    return properties_->auto_control_count(properties_->find_form(kind));
}

AutoControl Skin::auto_control(const std::u16string& kind, std::uint32_t index)
{
    return properties_->auto_control(properties_->find_form(kind), index);
}

bool Skin::has_form(const std::u16string& kind)
{
    return properties_->select_form(kind) != 0;
}

bool Skin::has_node(const std::u16string& kind, const std::u16string& id)
{
    return properties_->lookup_node(kind, id) != 0;
}

int Skin::scale() const
{
    return properties_->scale();
}

Point Skin::workarea() const
{
    return properties_->workarea();
}

const std::u16string& Skin::path() const
{
    return properties_->path();
}

bool is_good_skin_file(
    const std::u16string& path, const std::u16string& tag, Point screen, const SkinDevice& device)
{
    std::uint8_t header[format::HEADER_SIZE];
    std::uint32_t length = 0;
    bool read = false;
    {
        liba::ZipFile archive(std::make_unique<os::File>(path, 0));
        if (archive.find_extension(u"skin")) {
            length = archive.size();
            read = length >= format::HEADER_SIZE
                && archive.read(header, format::HEADER_SIZE) == format::HEADER_SIZE;
        } else {
            os::File file(path, 0);
            length = file.size();
            read = length >= format::HEADER_SIZE
                && file.read(header, format::HEADER_SIZE) == format::HEADER_SIZE;
        }
    }
    return read && SkinHeader::well_formed(header, length)
        && SkinHeader(header).check_version(device, tag, screen);
}

} // namespace skinner

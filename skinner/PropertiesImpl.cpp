#include "skinner/PropertiesImpl.h"

#include "liba/ZipFile.h"
#include "os/Assertion.h"
#include "os/File.h"
#include "os/Log.h"
#include "skinner/PictureLoader.h"
#include "skinner/SkinFormat.h"

#include <algorithm>

namespace skinner {

using namespace format;

namespace {

std::u16string number_text(long long value)
{
    std::string narrow = std::to_string(value);
    return std::u16string(narrow.begin(), narrow.end());
}

// A text field of the header (version tag, devices): 32 units holding a
// string, its terminator and only zero units after it.
bool text_field_well_formed(const std::uint8_t* field)
{
    std::uint32_t i = 0;
    while (i < TEXT_FIELD_UNITS && load_u16(field + 2 * i) != 0)
        ++i;
    if (i == TEXT_FIELD_UNITS)
        return false;
    for (; i < TEXT_FIELD_UNITS; ++i) {
        if (load_u16(field + 2 * i) != 0)
            return false;
    }
    return true;
}

std::u16string text_field(const std::uint8_t* field)
{
    std::u16string text;
    for (std::uint32_t i = 0; i < TEXT_FIELD_UNITS; ++i) {
        char16_t unit = load_u16(field + 2 * i);
        if (unit == 0)
            break;
        text.push_back(unit);
    }
    return text;
}

bool node_fits(std::uint32_t node, std::uint32_t length)
{
    return node <= length && length - node >= NODE_SIZE;
}

Point design_entry(const std::uint8_t* header, int index)
{
    const std::uint8_t* entry = header + HEADER_DESIGN_SIZES + DESIGN_SIZE_RECORD * index;
    return { load_i32(entry), load_i32(entry + 4) };
}

void log_record_sizes()
{
    auto& log = os::log();
    log << u"sizeof(IntegerNode)=" << static_cast<int>(sizeof(IntegerNode)) << u"\n";
    log << u"IntegerNode::Size=" << static_cast<int>(IntegerNode::Size) << u"\n";
    log << u"sizeof(PointNode)=" << static_cast<int>(sizeof(PointNode)) << u"\n";
    log << u"PointNode::Size=" << static_cast<int>(PointNode::Size) << u"\n";
    log << u"sizeof(ColorNode)=" << static_cast<int>(sizeof(ColorNode)) << u"\n";
    log << u"ColorNode::Size=" << static_cast<int>(ColorNode::Size) << u"\n";
    log << u"sizeof(StringNode)=" << static_cast<int>(sizeof(StringNode)) << u"\n";
    log << u"StringNode::Size=" << static_cast<int>(StringNode::Size) << u"\n";
    log << u"sizeof(PictureNode)=" << static_cast<int>(sizeof(PictureNode)) << u"\n";
    log << u"PictureNode::Size=" << static_cast<int>(PictureNode::Size) << u"\n";
}

} // namespace

PropertiesImpl::PropertiesImpl(const std::u16string& path, Point screen, const SkinDevice& device)
    : path_(path)
    , screen_(screen)
    , device_(device)
{
    log_record_sizes();
    valid_ = read_description() && header_well_formed(description_.data(), description_size())
        && validate_name_list();
    if (valid_)
        choose_scale();
    workarea_ = workarea_for(screen_, device_);
    if (valid_ && !load_pictures())
        valid_ = false;
    if (valid_) {
        std::uint32_t offset = load_u32(&description_[HEADER_NAME_LIST]);
        std::uint64_t picture_count = load_u32(&description_[HEADER_PICTURE_COUNT]);
        std::uint64_t font_count = load_u32(&description_[HEADER_FONT_COUNT]);
        for (std::uint64_t i = 0; i < picture_count + font_count; ++i) {
            std::u16string text = *string_at(offset);
            offset += 2 * static_cast<std::uint32_t>(text.size() + 1);
            if (i >= picture_count)
                fonts_.push_back(FontDescription::parse(text, scale_));
        }
    }
}

bool PropertiesImpl::read_description()
{
    {
        liba::ZipFile archive(path_);
        if (archive.find_extension(u"skin")) {
            std::uint32_t size = archive.size();
            // The header may claim more than the file holds: check before
            // making room for it.
            bool whole = archive.available() == size;
            if (whole) {
                description_.resize(size);
                whole = archive.read(description_.data(), size) == size;
            }
            if (!whole) {
                description_.clear();
                os::log() << u"Error: skin [" << path_ << u"] failed to load from archive\n";
            }
            return whole;
        }
    }
    os::File file(path_, 0);
    std::uint32_t size = file.size();
    bool whole = file.is_open();
    if (whole) {
        description_.resize(size);
        whole = file.read(description_.data(), size) == size;
    }
    if (!whole) {
        description_.clear();
        os::log() << u"Error: skin [" << path_ << u"] failed to load\n";
    }
    return whole;
}

bool PropertiesImpl::header_well_formed(const std::uint8_t* header, std::uint32_t length)
{
    if (length < HEADER_SIZE)
        return false;
    for (int i = 0; i < 4; ++i) {
        if (load_u16(header + HEADER_MAGIC + 2 * i) != MAGIC[i])
            return false;
    }
    if (!text_field_well_formed(header + HEADER_VERSION)
        || !text_field_well_formed(header + HEADER_DEVICES))
        return false;
    std::uint32_t variant_tree = load_u32(header + HEADER_VARIANT_TREE);
    std::uint32_t kind_tree = load_u32(header + HEADER_KIND_TREE);
    if (variant_tree == 0 || !node_fits(variant_tree, length))
        return false;
    return kind_tree == 0 || node_fits(kind_tree, length);
}

bool PropertiesImpl::validate_name_list()
{
    std::uint64_t count = std::uint64_t(load_u32(&description_[HEADER_PICTURE_COUNT]))
        + load_u32(&description_[HEADER_FONT_COUNT]);
    std::uint32_t offset = load_u32(&description_[HEADER_NAME_LIST]);
    for (std::uint64_t i = 0; i < count; ++i) {
        auto text = string_at(offset);
        if (!text)
            return false;
        offset += 2 * static_cast<std::uint32_t>(text->size() + 1);
    }
    return true;
}

Point PropertiesImpl::workarea_for(Point screen, const SkinDevice& device)
{
    int bar = 0;
    if (device.smartphone) {
        switch (screen.x) {
        case 176:
            bar = 20;
            break;
        case 240:
            bar = 27;
            break;
        case 352:
            bar = 40;
            break;
        case 480:
            bar = 54;
            break;
        default:
            bar = 0;
            break;
        }
    } else {
        bar = screen.x == 480 || screen.x == 640 ? 52 : 26;
    }
    if (device.fullscreen)
        bar = 0;
    // A screen lower than its two bars leaves no work area rather than a
    // negative one.
    return { screen.x, std::max(0, screen.y - 2 * bar) };
}

bool PropertiesImpl::devices_suit(const std::u16string& devices, const SkinDevice& device)
{
    return devices.empty() || devices.find(device.smartphone ? u'S' : u'P') != std::u16string::npos;
}

bool PropertiesImpl::check_version(
    const std::uint8_t* header, const SkinDevice& device, const std::u16string& tag, Point screen)
{
    if (!devices_suit(text_field(header + HEADER_DEVICES), device))
        return false;
    if (!tag.empty() && text_field(header + HEADER_VERSION) != tag)
        return false;
    if (screen.x == 0 && screen.y == 0)
        return true;
    for (long long s = 1; s <= 4; ++s) {
        for (int j = 0; j < DESIGN_SIZE_COUNT; ++j) {
            Point design = design_entry(header, j);
            if (screen.x == s * design.x && screen.y == s * design.y)
                return true;
        }
    }
    Point first = design_entry(header, 0);
    return first.x == 0 && first.y == 0;
}

bool PropertiesImpl::check_version(const std::u16string& tag, Point screen) const
{
    return valid_ && check_version(description_.data(), device_, tag, screen);
}

void PropertiesImpl::choose_scale()
{
    scale_ = 1;
    const std::uint8_t* header = description_.data();
    long long width = screen_.x;
    long long height = screen_.y;
    Point first = design_entry(header, 0);
    if ((width == 0 && height == 0) || first.x == 0 || first.y == 0)
        return;
    if (devices_suit(devices(), device_)) {
        for (int s = 1; s <= 4; ++s) {
            for (int j = 0; j < DESIGN_SIZE_COUNT; ++j) {
                Point design = design_entry(header, j);
                if (width == s * static_cast<long long>(design.x)
                    && height == s * static_cast<long long>(design.y)) {
                    scale_ = s;
                    return;
                }
            }
        }
    }
    // Design sizes are untrusted 32-bit values: the products need more than
    // 64 bits.
    __int128 best = static_cast<__int128>(width + 1) * height;
    for (int s = 1; s <= 4; ++s) {
        for (int j = 0; j < DESIGN_SIZE_COUNT; ++j) {
            Point design = design_entry(header, j);
            long long design_width = s * static_cast<long long>(design.x);
            long long design_height = s * static_cast<long long>(design.y);
            if (design_width > width || design_height > height)
                continue;
            __int128 waste
                = static_cast<__int128>(height) * (width - design_width) + (height - design_height);
            if (waste < best) {
                best = waste;
                scale_ = s;
            }
        }
    }
}

bool PropertiesImpl::load_pictures()
{
    std::uint32_t offset = load_u32(&description_[HEADER_NAME_LIST]);
    std::uint32_t count = load_u32(&description_[HEADER_PICTURE_COUNT]);
    const PictureLoader& loader = picture_loader();
    for (std::uint32_t i = 0; i < count; ++i) {
        SkinPicture picture;
        picture.name = *string_at(offset);
        offset += 2 * static_cast<std::uint32_t>(picture.name.size() + 1);
        if (loader) {
            picture.image = loader(path_, picture.name, scale_);
            if (!picture.image) {
                os::log() << u"PropertiesImpl::PropertiesImpl picture failed to load {"
                          << picture.name << u"}\n";
                pictures_.clear();
                return false;
            }
        }
        pictures_.push_back(std::move(picture));
    }
    return true;
}

std::u16string PropertiesImpl::version() const
{
    return valid_ ? text_field(&description_[HEADER_VERSION]) : std::u16string();
}

std::u16string PropertiesImpl::devices() const
{
    return valid_ ? text_field(&description_[HEADER_DEVICES]) : std::u16string();
}

Point PropertiesImpl::design_size(int index) const
{
    if (!valid_ || index < 0 || index >= DESIGN_SIZE_COUNT)
        return {};
    return design_entry(description_.data(), index);
}

std::optional<std::u16string> PropertiesImpl::string_at(std::uint32_t offset) const
{
    std::uint32_t length = description_size();
    std::u16string text;
    for (std::uint64_t at = offset; at + 2 <= length; at += 2) {
        char16_t unit = load_u16(&description_[static_cast<std::size_t>(at)]);
        if (unit == 0)
            return text;
        text.push_back(unit);
    }
    return std::nullopt;
}

std::optional<int> PropertiesImpl::compare_at(
    const std::u16string& name, std::uint32_t offset) const
{
    std::uint32_t length = description_size();
    std::uint64_t at = offset;
    for (std::size_t i = 0;; ++i, at += 2) {
        if (at + 2 > length)
            return std::nullopt;
        char16_t unit = load_u16(&description_[static_cast<std::size_t>(at)]);
        if (i == name.size())
            return unit == 0 ? 0 : -1;
        if (unit == 0)
            return 1;
        if (name[i] != unit)
            return name[i] < unit ? -1 : 1;
    }
}

bool PropertiesImpl::node_ok(std::uint32_t node) const
{
    return node != 0 && node_fits(node, description_size());
}

std::uint32_t PropertiesImpl::node_limit() const
{
    return std::max<std::uint32_t>(1, description_size() / NODE_SIZE);
}

std::u16string PropertiesImpl::node_name(std::uint32_t node) const
{
    if (!node_ok(node))
        return {};
    return string_at(load_u32(&description_[node + NODE_NAME])).value_or(std::u16string());
}

std::uint32_t PropertiesImpl::variant_tree() const
{
    return valid_ ? load_u32(&description_[HEADER_VARIANT_TREE]) : 0;
}

std::uint32_t PropertiesImpl::kind_tree() const
{
    return valid_ ? load_u32(&description_[HEADER_KIND_TREE]) : 0;
}

std::uint32_t PropertiesImpl::control_tree(std::uint32_t variant) const
{
    return valid_ && node_ok(variant) ? load_u32(&description_[variant + NODE_CONTROL_TREE]) : 0;
}

std::uint32_t PropertiesImpl::find_in_tree(std::uint32_t root, const std::u16string& name) const
{
    // A sound tree visits each node at most once, and the description holds
    // at most node_limit() nodes: a longer walk has met a link that loops.
    std::uint32_t node = root;
    for (std::uint32_t steps = node_limit(); steps > 0 && node_ok(node); --steps) {
        auto order = compare_at(name, load_u32(&description_[node + NODE_NAME]));
        if (!order)
            return 0;
        if (*order == 0)
            return node;
        node = load_u32(&description_[node + (*order < 0 ? NODE_LEFT : NODE_RIGHT)]);
    }
    return 0;
}

const std::uint8_t* PropertiesImpl::find_record(
    std::uint32_t node, int type, const std::u16string& name) const
{
    if (!valid_ || !node_ok(node))
        return nullptr;
    const std::uint8_t* pair = &description_[node + NODE_ARRAYS + 8 * type];
    std::uint32_t start = load_u32(pair);
    std::uint32_t end = load_u32(pair + 4);
    if (start > end || end > description_size())
        return nullptr;
    std::uint32_t size = RECORD_SIZES[type];
    std::uint32_t count = (end - start) / size;
    if (count == 0)
        return nullptr;
    auto record = [&](std::uint32_t i) { return &description_[start + size * i]; };
    std::uint32_t low = 0;
    std::uint32_t high = count;
    while (high - low > 1) {
        std::uint32_t middle = low + (high - low) / 2;
        auto order = compare_at(name, load_u16(record(middle)));
        if (!order)
            return nullptr;
        if (*order < 0)
            high = middle;
        else
            low = middle;
    }
    auto order = compare_at(name, load_u16(record(low)));
    return order && *order == 0 ? record(low) : nullptr;
}

std::uint32_t PropertiesImpl::select_form(const std::u16string& kind)
{
    if (kind_searched_ && kind == last_kind_)
        return last_variant_;
    last_kind_ = kind;
    kind_searched_ = true;
    last_variant_ = 0;
    form_list_.clear();
    if (kind.empty() || !valid_)
        return 0;

    Point best;
    std::vector<std::uint32_t> pending { load_u32(&description_[HEADER_VARIANT_TREE]) };
    std::uint32_t visits = node_limit();
    while (!pending.empty() && visits > 0) {
        std::uint32_t node = pending.back();
        pending.pop_back();
        if (!node_ok(node))
            continue;
        --visits;
        pending.push_back(load_u32(&description_[node + NODE_RIGHT]));
        pending.push_back(load_u32(&description_[node + NODE_LEFT]));
        auto name = string_at(load_u32(&description_[node + NODE_NAME]));
        if (!name)
            continue;
        if (name->compare(0, kind.size(), kind) != 0) {
            form_list_ += u"-" + *name + u"\n";
            continue;
        }
        Point stored = point(node, u"Size").value_or(Point {});
        Point size { stored.x * scale_, stored.y * scale_ };
        std::u16string devices = string(node, u"Devices").value_or(std::u16string());
        bool fullscreen = integer(node, u"Fullscreen").value_or(0) != 0;
        form_list_ += u"+" + *name + u" Size=" + number_text(size.x) + u" " + number_text(size.y)
            + u" Devices=" + devices;
        if (devices_suit(devices, device_)) {
            form_list_ += u" good_for_device";
            Point limit = fullscreen ? screen_ : workarea_;
            if (size.x <= limit.x && size.y <= limit.y
                && (size.x > best.x || (size.x == best.x && size.y >= best.y))) {
                best = size;
                last_variant_ = node;
            }
        }
        form_list_ += u"\n";
    }
    return last_variant_;
}

std::uint32_t PropertiesImpl::lookup_node(const std::u16string& kind, const std::u16string& id)
{
    if (!valid_)
        return 0;
    if (!kind.empty()) {
        std::uint32_t variant = select_form(kind);
        if (variant == 0)
            return 0;
        if (last_control_ != 0 && variant == control_variant_ && id == last_control_id_)
            return last_control_;
        std::uint32_t node = find_in_tree(load_u32(&description_[variant + NODE_CONTROL_TREE]), id);
        if (node != 0) {
            control_variant_ = variant;
            last_control_id_ = id;
            last_control_ = node;
        }
        return node;
    }
    if (id.empty())
        return 0;
    if (last_top_ != 0 && id == last_top_name_)
        return last_top_;
    std::uint32_t node = find_in_tree(load_u32(&description_[HEADER_KIND_TREE]), id);
    if (node != 0) {
        last_top_name_ = id;
        last_top_ = node;
    }
    return node;
}

std::uint32_t PropertiesImpl::find_node(const std::u16string& kind, const std::u16string& id)
{
    if (!valid_)
        report_assertion(u"report_no_skin",
            u"Skin file {" + path_ + u"} was invalid, but no check_version performed");
    std::uint32_t node = lookup_node(kind, id);
    if (node != 0)
        return node;
    if (!kind.empty())
        report_assertion(u"report_no_control",
            u"Skin file {" + path_ + u"} form {" + kind + u"} has no control {" + id + u"}");
    if (!id.empty())
        report_assertion(
            u"report_no_form", u"Skin file {" + path_ + u"} has no kind {" + id + u"}");
    return 0;
}

std::uint32_t PropertiesImpl::find_form(const std::u16string& kind)
{
    if (!valid_)
        report_assertion(u"report_no_skin",
            u"Skin file {" + path_ + u"} was invalid, but no check_version performed");
    std::uint32_t variant = select_form(kind);
    if (variant == 0)
        report_assertion(u"report_no_form",
            u"Skin file {" + path_ + u"} has no form {" + kind + u"} for workarea_size="
                + number_text(workarea_.x) + u" " + number_text(workarea_.y)
                + u". list of all forms:\n" + form_list_);
    return variant;
}

std::optional<std::int32_t> PropertiesImpl::integer(
    std::uint32_t node, const std::u16string& name) const
{
    auto* record = find_record(node, static_cast<int>(PropertyType::Integer), name);
    if (!record)
        return std::nullopt;
    return load_i32(record + 4);
}

std::optional<Point> PropertiesImpl::point(std::uint32_t node, const std::u16string& name) const
{
    auto* record = find_record(node, static_cast<int>(PropertyType::Point), name);
    if (!record)
        return std::nullopt;
    return Point { load_i16(record + 2), load_i16(record + 4) };
}

std::optional<Color> PropertiesImpl::color(std::uint32_t node, const std::u16string& name) const
{
    auto* record = find_record(node, static_cast<int>(PropertyType::Color), name);
    if (!record)
        return std::nullopt;
    Color color;
    std::copy(record + 2, record + 6, color.bytes.begin());
    return color;
}

std::optional<std::u16string> PropertiesImpl::string(
    std::uint32_t node, const std::u16string& name) const
{
    auto* record = find_record(node, static_cast<int>(PropertyType::String), name);
    if (!record)
        return std::nullopt;
    return string_at(load_u16(record + 2));
}

std::optional<SkinPicture> PropertiesImpl::picture(
    std::uint32_t node, const std::u16string& name) const
{
    auto* record = find_record(node, static_cast<int>(PropertyType::Picture), name);
    if (!record || record[18] >= pictures_.size())
        return std::nullopt;
    SkinPicture picture = pictures_[record[18]];
    for (int i = 0; i < 8; ++i)
        picture.coordinates[i] = load_u16(record + 2 + 2 * i);
    picture.stretch = record[19] != 0;
    return picture;
}

std::optional<FontDescription> PropertiesImpl::font(
    std::uint32_t node, const std::u16string& name) const
{
    auto* record = find_record(node, static_cast<int>(PropertyType::Font), name);
    if (!record)
        return std::nullopt;
    std::uint32_t index = load_u32(record + 4);
    if (index >= fonts_.size())
        return std::nullopt;
    return fonts_[index];
}

std::uint32_t PropertiesImpl::auto_control_count(std::uint32_t node) const
{
    if (!valid_ || !node_ok(node))
        return 0;
    std::uint32_t count = load_u32(&description_[node + NODE_AUTO_COUNT]);
    std::uint32_t room = (description_size() - node - NODE_AUTO_ENTRIES) / AutoControlEntry::Size;
    return count <= room ? count : 0;
}

AutoControl PropertiesImpl::auto_control(std::uint32_t node, std::uint32_t index) const
{
    if (index >= auto_control_count(node))
        return {};
    const std::uint8_t* entry
        = &description_[node + NODE_AUTO_ENTRIES + AutoControlEntry::Size * index];
    return { string_at(load_u16(entry)).value_or(std::u16string()),
        string_at(load_u16(entry + 2)).value_or(std::u16string()) };
}

} // namespace skinner

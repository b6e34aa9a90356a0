#include "skinner/PropertiesImpl.h"

#include "os/Assertion.h"
#include "os/Log.h"
#include "platform/LittleEndian.h"
#include "skinner/SkinFormat.h"
#include "skinner/SkinNameList.h"

#include <algorithm>

namespace skinner {

using namespace format;

namespace {

std::u16string number_text(long long value)
{
    std::string narrow = std::to_string(value);
    return std::u16string(narrow.begin(), narrow.end());
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
    valid_ = description_.load(path_)
        && SkinHeader::well_formed(description_.data(), description_size());
    std::optional<SkinNameList> names;
    if (valid_) {
        names = SkinNameList::read(description_, header());
        valid_ = names.has_value();
    }
    if (valid_)
        scale_ = header().scale_for(screen_, device_);
    workarea_ = workarea_for(screen_, device_);
    if (valid_) {
        auto pictures = names->load_pictures(path_, scale_);
        valid_ = pictures.has_value();
        if (valid_)
            pictures_ = std::move(*pictures);
    }
    if (valid_)
        fonts_ = names->parse_fonts(scale_);
}

std::u16string PropertiesImpl::version() const
{
    return valid_ ? header().version() : std::u16string();
}

std::u16string PropertiesImpl::devices() const
{
    return valid_ ? header().devices() : std::u16string();
}

Point PropertiesImpl::design_size(int index) const
{
    if (!valid_ || index < 0 || index >= DESIGN_SIZE_COUNT)
        return {};
    return header().design_size(index);
}

bool PropertiesImpl::check_version(const std::u16string& tag, Point screen) const
{
    return valid_ && header().check_version(device_, tag, screen);
}

std::u16string PropertiesImpl::node_name(std::uint32_t node) const
{
    return description_.node_name(node);
}

std::uint32_t PropertiesImpl::variant_tree() const
{
    return valid_ ? header().variant_tree() : 0;
}

std::uint32_t PropertiesImpl::kind_tree() const
{
    return valid_ ? header().kind_tree() : 0;
}

std::uint32_t PropertiesImpl::control_tree(std::uint32_t variant) const
{
    return valid_ && description_.node_ok(variant) ? description_.u32(variant + NODE_CONTROL_TREE)
                                                   : 0;
}

const std::uint8_t* PropertiesImpl::find_record(
    std::uint32_t node, PropertyType type, const std::u16string& name) const
{
    return valid_ ? description_.find_record(node, type, name) : nullptr;
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
    std::vector<std::uint32_t> pending { header().variant_tree() };
    std::uint32_t visits = description_.node_limit();
    while (!pending.empty() && visits > 0) {
        std::uint32_t node = pending.back();
        pending.pop_back();
        if (!description_.node_ok(node))
            continue;
        --visits;
        pending.push_back(description_.u32(node + NODE_RIGHT));
        pending.push_back(description_.u32(node + NODE_LEFT));
        auto name = description_.string_at(description_.u32(node + NODE_NAME));
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
        if (device_.suits(devices)) {
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
        std::uint32_t node = description_.find_in_tree(control_tree(variant), id);
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
    std::uint32_t node = description_.find_in_tree(kind_tree(), id);
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
    auto* record = find_record(node, PropertyType::Integer, name);
    if (!record)
        return std::nullopt;
    return platform::read_i32le(record + 4);
}

std::optional<Point> PropertiesImpl::point(std::uint32_t node, const std::u16string& name) const
{
    auto* record = find_record(node, PropertyType::Point, name);
    if (!record)
        return std::nullopt;
    return Point { platform::read_i16le(record + 2), platform::read_i16le(record + 4) };
}

std::optional<Color> PropertiesImpl::color(std::uint32_t node, const std::u16string& name) const
{
    auto* record = find_record(node, PropertyType::Color, name);
    if (!record)
        return std::nullopt;
    Color color;
    std::copy(record + 2, record + 6, color.bytes.begin());
    return color;
}

std::optional<std::u16string> PropertiesImpl::string(
    std::uint32_t node, const std::u16string& name) const
{
    auto* record = find_record(node, PropertyType::String, name);
    if (!record)
        return std::nullopt;
    return description_.string_at(platform::read_u16le(record + 2));
}

std::optional<SkinPicture> PropertiesImpl::picture(
    std::uint32_t node, const std::u16string& name) const
{
    auto* record = find_record(node, PropertyType::Picture, name);
    if (!record || record[18] >= pictures_.size())
        return std::nullopt;
    SkinPicture picture = pictures_[record[18]];
    for (int i = 0; i < 8; ++i)
        picture.coordinates[i] = platform::read_u16le(record + 2 + 2 * i);
    picture.stretch = record[19] != 0;
    return picture;
}

std::optional<FontDescription> PropertiesImpl::font(
    std::uint32_t node, const std::u16string& name) const
{
    auto* record = find_record(node, PropertyType::Font, name);
    if (!record)
        return std::nullopt;
    std::uint32_t index = platform::read_u32le(record + 4);
    if (index >= fonts_.size())
        return std::nullopt;
    return fonts_[index];
}

std::uint32_t PropertiesImpl::auto_control_count(std::uint32_t node) const
{
    if (!valid_ || !description_.node_ok(node))
        return 0;
    std::uint32_t count = description_.u32(node + NODE_AUTO_COUNT);
    std::uint32_t room = (description_size() - node - NODE_AUTO_ENTRIES) / AutoControlEntry::Size;
    return count <= room ? count : 0;
}

AutoControl PropertiesImpl::auto_control(std::uint32_t node, std::uint32_t index) const
{
    if (index >= auto_control_count(node))
        return {};
    const std::uint8_t* entry
        = description_.data() + node + NODE_AUTO_ENTRIES + AutoControlEntry::Size * index;
    return { description_.string_at(platform::read_u16le(entry)).value_or(std::u16string()),
        description_.string_at(platform::read_u16le(entry + 2)).value_or(std::u16string()) };
}

} // namespace skinner

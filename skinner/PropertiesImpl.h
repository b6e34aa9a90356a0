#pragma once

#include "liba/Nocopy.h"
#include "skinner/FontDescription.h"
#include "skinner/SkinDescription.h"
#include "skinner/SkinDevice.h"
#include "skinner/SkinHeader.h"
#include "skinner/SkinValues.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace skinner {

// The loaded description of one skin file, used in place: lookups walk its
// trees and binary-search its sorted property arrays (SkinDescription), and
// copy out only the values asked for. Nodes are named by their offset in the
// description, 0 meaning none. Loading checks the header (SkinHeader),
// chooses the scale, reads the name list and loads the pictures
// (SkinNameList); this class adds the choice of a form variant, the lookups
// of forms and controls with their caches, and the typed reads.
//
// The format trusts its offsets; this class does not: a bad one in the
// header makes the skin invalid at load, a bad one met later makes that node
// "not found" or that property "missing".
//
// Lookups on an invalid skin and lookups of forms and controls that do not
// exist are fatal reports (report_assertion), as are form-level reads of a
// kind that has no variant; the lookup_ functions answer 0 instead.
class PropertiesImpl : liba::Nocopy {
public:
    PropertiesImpl(const std::u16string& path, Point screen, const SkinDevice& device);

    bool is_valid() const { return valid_; }
    const std::u16string& path() const { return path_; }
    Point workarea() const { return workarea_; }
    Point screen() const { return screen_; }
    int scale() const { return scale_; }
    const SkinDevice& device() const { return device_; }
    std::uint32_t description_size() const { return description_.size(); }

    // Header fields of a valid skin.
    std::u16string version() const;
    std::u16string devices() const;
    // Design size entry `index` (0 to 31) as stored, unscaled.
    Point design_size(int index) const;
    const std::vector<SkinPicture>& pictures() const { return pictures_; }
    const std::vector<FontDescription>& fonts() const { return fonts_; }

    bool check_version(const std::u16string& tag, Point screen) const;

    // The variant chosen for a form kind: the largest that fits, 0 for none.
    // The choice and its text list are kept until another kind is asked for.
    std::uint32_t select_form(const std::u16string& kind);
    // The text list of the last variant search, one line per variant.
    const std::u16string& form_list() const { return form_list_; }

    // The node of control `id` in the variant of `kind`, or the top-level
    // node `id` when `kind` is empty.
    std::uint32_t find_node(const std::u16string& kind, const std::u16string& id);
    std::uint32_t lookup_node(const std::u16string& kind, const std::u16string& id);
    // The variant of `kind` for form-level reads.
    std::uint32_t find_form(const std::u16string& kind);

    std::u16string node_name(std::uint32_t node) const;
    // The roots of the trees: all form variants, the top-level nodes, and
    // the controls of a variant (0 when there is none or it is damaged).
    std::uint32_t variant_tree() const;
    std::uint32_t kind_tree() const;
    std::uint32_t control_tree(std::uint32_t variant) const;

    // A node's properties as stored; nullopt when the property is missing.
    std::optional<std::int32_t> integer(std::uint32_t node, const std::u16string& name) const;
    std::optional<Point> point(std::uint32_t node, const std::u16string& name) const;
    std::optional<Color> color(std::uint32_t node, const std::u16string& name) const;
    std::optional<std::u16string> string(std::uint32_t node, const std::u16string& name) const;
    std::optional<SkinPicture> picture(std::uint32_t node, const std::u16string& name) const;
    std::optional<FontDescription> font(std::uint32_t node, const std::u16string& name) const;

    std::uint32_t auto_control_count(std::uint32_t node) const;
    AutoControl auto_control(std::uint32_t node, std::uint32_t index) const;

    // The work area of a screen: less the top and bottom bars.
    static Point workarea_for(Point screen, const SkinDevice& device)
    {
        return device.workarea(screen);
    }

private:
    // The header of a valid skin.
    SkinHeader header() const { return SkinHeader(description_.data()); }
    const std::uint8_t* find_record(
        std::uint32_t node, format::PropertyType type, const std::u16string& name) const;

    std::u16string path_;
    Point workarea_;
    Point screen_;
    SkinDevice device_;
    SkinDescription description_;
    bool valid_ { false };
    std::vector<SkinPicture> pictures_;
    std::vector<FontDescription> fonts_;
    int scale_ { 1 };

    std::u16string last_kind_;
    bool kind_searched_ { false };
    std::uint32_t last_variant_ { 0 };
    std::u16string form_list_;

    std::uint32_t control_variant_ { 0 };
    std::u16string last_control_id_;
    std::uint32_t last_control_ { 0 };

    std::u16string last_top_name_;
    std::uint32_t last_top_ { 0 };
};

} // namespace skinner

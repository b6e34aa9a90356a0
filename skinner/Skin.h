#pragma once

#include "liba/Nocopy.h"
#include "liba/StringTranslator.h"
#include "skinner/FontDescription.h"
#include "skinner/SkinDevice.h"
#include "skinner/SkinValues.h"

#include <memory>
#include <string>
#include <vector>

namespace skinner {

class PropertiesImpl;

// One opened skin file: the loaded description with its pictures and fonts,
// and the language table that string properties pass through. Created by the
// code that opens a set of forms and outlives every form built on it; used on
// the user-interface thread only.
//
// Properties are addressed by form kind, control id and property name, each
// read with a default that applies when the skin lacks the property. An
// empty kind addresses the top-level node named by the id. A missing form,
// control or node, and any lookup on an invalid skin, is a fatal report that
// ends the process, so callers test a skin with check_version() first.
class Skin : liba::Nocopy {
public:
    // Forms built on the skin register here to re-read their texts when the
    // language changes.
    class Client {
    public:
        virtual void reload_texts() = 0;

    protected:
        ~Client() = default;
    };

    Skin(
        const std::u16string& path, Point screen, const SkinDevice& device = SkinDevice::current());
    ~Skin();

    // Loads another file in place of the current one; never fails, an
    // unusable file leaves the skin invalid. The language table is emptied.
    void load(
        const std::u16string& path, Point screen, const SkinDevice& device = SkinDevice::current());

    bool is_valid() const;
    bool check_version(const std::u16string& tag, Point screen) const;

    // Replaces the language table with the file at `path` and asks every
    // registered form to re-read its texts; false (and the old table stays)
    // when the file cannot be opened.
    bool set_language(const std::u16string& path);
    std::u16string translate(const std::u16string& key) const;
    std::u16string translate(const std::u16string& key, const std::u16string& fallback) const;
    const liba::StringTranslator& language() const { return *language_; }

    void add_client(Client* client);
    void remove_client(Client* client);

    // Control and top-level properties.
    int integer(const std::u16string& kind, const std::u16string& id, const std::u16string& name,
        int fallback);
    // The value times the skin's scale; the default is used as it is.
    int scaled_integer(const std::u16string& kind, const std::u16string& id,
        const std::u16string& name, int fallback);
    // Both coordinates times the skin's scale; the default is used as it is.
    Point point(const std::u16string& kind, const std::u16string& id, const std::u16string& name,
        Point fallback);
    Color color(const std::u16string& kind, const std::u16string& id, const std::u16string& name,
        Color fallback);
    // The value through the language table; the default is not translated.
    std::u16string string(const std::u16string& kind, const std::u16string& id,
        const std::u16string& name, const std::u16string& fallback);
    SkinPicture picture(const std::u16string& kind, const std::u16string& id,
        const std::u16string& name, const SkinPicture& fallback);
    FontDescription font(const std::u16string& kind, const std::u16string& id,
        const std::u16string& name, const FontDescription& fallback);
    // A string property read as a cursor name, untranslated.
    std::u16string cursor(const std::u16string& kind, const std::u16string& id,
        const std::u16string& name, const std::u16string& fallback);

    // Form-level properties, on the variant chosen for the kind.
    int form_integer(const std::u16string& kind, const std::u16string& name, int fallback);
    Point form_point(const std::u16string& kind, const std::u16string& name, Point fallback);
    SkinPicture form_picture(
        const std::u16string& kind, const std::u16string& name, const SkinPicture& fallback);

    std::uint32_t auto_control_count(const std::u16string& kind);
    AutoControl auto_control(const std::u16string& kind, std::uint32_t index);

    // Questions that never end the process, for tools and for code that
    // wants to test before it reads.
    bool has_form(const std::u16string& kind);
    bool has_node(const std::u16string& kind, const std::u16string& id);

    int scale() const;
    Point workarea() const;
    const std::u16string& path() const;
    PropertiesImpl& properties() { return *properties_; }
    const PropertiesImpl& properties() const { return *properties_; }

private:
    std::unique_ptr<PropertiesImpl> properties_;
    std::unique_ptr<liba::StringTranslator> language_;
    std::vector<Client*> clients_;
};

// Whether the skin file at `path` suits the program and the screen: reads
// only the header of its description (from the archive entry or the plain
// file) and applies the check_version() test to it.
bool is_good_skin_file(const std::u16string& path, const std::u16string& tag, Point screen,
    const SkinDevice& device = SkinDevice::current());

} // namespace skinner

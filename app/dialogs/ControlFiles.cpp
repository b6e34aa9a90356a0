#include "app/dialogs/ControlFiles.h"

#include "os/FileInfo.h"
#include "os/Finder.h"
#include "os/Path.h"
#include "platform/Convert.h"
#include "skinner/DumpText.h"
#include "skinner/KeyCodes.h"
#include "skinner/Skin.h"

#include <algorithm>

namespace dialogs {

namespace {

constexpr char16_t ROOT[] = u"/";
constexpr char16_t UP_NAME[] = u"...";

// The folders and files of one folder, without descending.
class FolderReader final : public os::Finder {
public:
    bool on_file(const std::u16string& path) override
    {
        entries.push_back({ path, os::file_name_of(path), ControlFiles::Kind::File });
        return true;
    }
    bool on_directory(const std::u16string& path) override
    {
        entries.push_back({ path, os::file_name_of(path), ControlFiles::Kind::Folder });
        return true;
    }

    std::vector<ControlFiles::Entry> entries;
};

bool is_root(const std::u16string& folder)
{
    return folder == ROOT;
}

std::u16string parent_of(const std::u16string& folder)
{
    std::u16string parent = os::strip_separator(os::directory_of(folder));
    return parent.empty() ? std::u16string(ROOT) : parent;
}

// The lower-cased part after the last '.', empty without one.
std::u16string extension_of(const std::u16string& name)
{
    std::size_t dot = name.rfind(u'.');
    return dot == std::u16string::npos ? std::u16string()
                                       : platform::to_lower(name.substr(dot + 1));
}

bool is_audio(const std::u16string& name)
{
    std::u16string extension = extension_of(name);
    return extension == u"wav" || extension == u"mp3" || extension == u"mid" || extension == u"wma";
}

} // namespace

ControlFiles::ControlFiles(skinner::Container& container, const std::u16string& id)
    : ControlGrid(container, id)
{
    read_icons();
    list({});
}

void ControlFiles::read_properties()
{
    ControlGrid::read_properties();
    read_icons();
}

void ControlFiles::read_icons()
{
    const skinner::ElementProperties& props = grid_properties();
    icon_up_ = props.picture(u"IconUp", {});
    icon_folder_ = props.picture(u"IconFolder", {});
    icon_audio_ = props.picture(u"IconAudio", {});
    icon_file_ = props.picture(u"IconFile", {});
    int scale = props.skin() ? props.skin()->scale() : 1;
    icon_width_ = props.scaled_integer(u"IconWidth", 20 * scale);
}

void ControlFiles::enter_folder(const std::u16string& folder)
{
    show_folder(folder, {});
}

void ControlFiles::go_up()
{
    std::u16string left = folder_;
    show_folder(parent_of(left), left);
}

void ControlFiles::show_folder(const std::u16string& folder, const std::u16string& keep_selected)
{
    // Macros are expanded here, so that going up from "%my_documents%"
    // reaches its real parent.
    std::u16string target = os::strip_separator(os::expand_path(folder));
    if (target.empty() || !os::FileInfo(target).is_directory())
        target = ROOT;
    folder_ = target;
    list(keep_selected);
}

void ControlFiles::add_extension(const std::u16string& extension)
{
    std::u16string text = os::expand_path(extension);
    std::size_t dot = text.rfind(u'.');
    if (dot != std::u16string::npos)
        text = text.substr(dot + 1);
    extensions_.insert(platform::to_lower(text));
    const Entry* selected = selected_entry();
    filter(selected ? selected->path : std::u16string());
}

const ControlFiles::Entry* ControlFiles::selected_entry() const
{
    int row = selection();
    return row >= 0 && row < visible_count() ? &visible_entry(row) : nullptr;
}

void ControlFiles::list(const std::u16string& keep_selected)
{
    entries_.clear();
    if (!is_root(folder_))
        entries_.push_back({ parent_of(folder_), UP_NAME, Kind::Up });
    FolderReader reader;
    os::find_files(reader, folder_, u"*", u"*", false);
    entries_.insert(entries_.end(), reader.entries.begin(), reader.entries.end());
    std::stable_sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
        if (a.kind != b.kind)
            return a.kind < b.kind;
        std::u16string la = platform::to_lower(a.name);
        std::u16string lb = platform::to_lower(b.name);
        return la != lb ? la < lb : a.name < b.name;
    });
    filter(keep_selected);
}

void ControlFiles::filter(const std::u16string& keep_selected)
{
    visible_.clear();
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const Entry& entry = entries_[i];
        if (entry.kind != Kind::File || extensions_.empty()
            || extensions_.contains(extension_of(entry.name)))
            visible_.push_back(i);
    }
    int row = visible_.empty() ? -1 : 0;
    for (int i = 0; i < visible_count() && !keep_selected.empty(); ++i) {
        if (visible_entry(i).kind != Kind::Up
            && os::same_path(visible_entry(i).path, keep_selected))
            row = i;
    }
    refresh();
    scroll_to(0);
    // The rows are new even where the index stays, so the selection is
    // always announced again.
    set_selection(-1);
    set_selection(row);
}

int ControlFiles::column_width(int column) const
{
    return column == 0 ? icon_width_ : -1;
}

std::u16string ControlFiles::cell_text(int column, int row) const
{
    if (column != 1 || row < 0 || row >= visible_count())
        return {};
    return visible_entry(row).name;
}

const skinner::Picture& ControlFiles::icon_of(const Entry& entry) const
{
    switch (entry.kind) {
    case Kind::Up:
        return icon_up_;
    case Kind::Folder:
        return icon_folder_;
    case Kind::File:
        break;
    }
    return is_audio(entry.name) ? icon_audio_ : icon_file_;
}

void ControlFiles::paint_cell(int column, int row, platform::Canvas& canvas, platform::Rect rect,
    bool selected, bool highlighted)
{
    if (column != 0) {
        ControlGrid::paint_cell(column, row, canvas, rect, selected, highlighted);
        return;
    }
    cell_look(selected, highlighted).picture.draw(canvas, rect);
    const skinner::Picture& icon = icon_of(visible_entry(row));
    platform::Size size = icon.natural_size();
    int left = rect.left + (rect.width() - size.width) / 2;
    int top = rect.top + (rect.height() - size.height) / 2;
    icon.draw(canvas, { left, top, left + size.width, top + size.height });
}

bool ControlFiles::key_down(int key)
{
    activated_by_key_ = key == skinner::KEY_RETURN;
    bool used = ControlGrid::key_down(key);
    activated_by_key_ = false;
    return used;
}

void ControlFiles::on_item_activated(skinner::Control& sender, int row)
{
    if (&sender != this || row < 0 || row >= visible_count()) {
        ControlGrid::on_item_activated(sender, row);
        return;
    }
    Entry entry = visible_entry(row);
    switch (entry.kind) {
    case Kind::Up:
        go_up();
        break;
    case Kind::Folder:
        enter_folder(entry.path);
        break;
    case Kind::File:
        if (activated_by_key_)
            ControlGrid::on_item_activated(sender, row);
        break;
    }
}

std::string ControlFiles::describe() const
{
    return "folder=" + skinner::dump_text(folder_) + " " + ControlGrid::describe();
}

} // namespace dialogs

#pragma once

#include "skinner/ControlGrid.h"

#include <set>
#include <string>
#include <vector>

namespace dialogs {

// The listing of one folder of the file system in a grid of two columns, an
// icon and a name: first the up entry "..." (except at the root), then the
// folders, then the files that pass the extension filter, each group in name
// order without regard to case.
//
// Activating the up entry goes to the parent folder with the cursor on the
// folder just left; activating a folder enters it. A file activated from the
// keyboard passes the item-activated event on to the container (the dialog
// takes it as its "Ok"); a tap on a file only selects it.
class ControlFiles : public skinner::ControlGrid {
public:
    enum class Kind { Up = 1, Folder = 2, File = 4 };

    struct Entry {
        std::u16string path;
        std::u16string name;
        Kind kind;
    };

    ControlFiles(skinner::Container& container, const std::u16string& id);

    // Lists `folder` (path macros allowed) when it is an existing folder,
    // otherwise the root.
    void enter_folder(const std::u16string& folder);
    // Enters the parent folder and selects the folder just left.
    void go_up();
    const std::u16string& folder() const { return folder_; }

    // Adds an extension ("vcb", or the part after the last '.' of a name)
    // to the filter, in lower case, and filters the listing again. An empty
    // filter shows every file.
    void add_extension(const std::u16string& extension);
    const std::set<std::u16string>& extensions() const { return extensions_; }

    // The visible entries, in row order.
    int visible_count() const { return static_cast<int>(visible_.size()); }
    const Entry& visible_entry(int row) const { return entries_[visible_[row]]; }
    // The selected entry, nullptr for none.
    const Entry* selected_entry() const;

    // The grid's model.
    int row_count() const override { return visible_count(); }
    int column_count() const override { return 2; }
    int column_width(int column) const override;
    std::u16string cell_text(int column, int row) const override;
    void paint_cell(int column, int row, platform::Canvas& canvas, platform::Rect rect,
        bool selected, bool highlighted) override;

    bool key_down(int key) override;
    void on_item_activated(skinner::Control& sender, int row) override;
    void read_properties() override;
    std::string describe() const override;
    const char* class_name() const override { return "ControlFiles"; }

private:
    void read_icons();
    void show_folder(const std::u16string& folder, const std::u16string& keep_selected);
    void list(const std::u16string& keep_selected);
    void filter(const std::u16string& keep_selected);
    const skinner::Picture& icon_of(const Entry& entry) const;

    std::u16string folder_ { u"/" };
    std::vector<Entry> entries_;
    std::vector<std::size_t> visible_;
    std::set<std::u16string> extensions_;
    skinner::Picture icon_up_;
    skinner::Picture icon_folder_;
    skinner::Picture icon_audio_;
    skinner::Picture icon_file_;
    int icon_width_ { 20 };
    bool activated_by_key_ { false };
};

} // namespace dialogs

#pragma once

#include "app/dialogs/ControlFiles.h"
#include "skinner/ControlButton.h"
#include "skinner/ControlEdit.h"
#include "skinner/ControlFrame.h"
#include "skinner/ControlMenuMain.h"
#include "skinner/Form.h"
#include "skinner/MenuMainButton.h"

#include <string>

namespace dialogs {

// The program's own file chooser: a modal form that lists one folder (the
// root at first), lets the user move through the folders and returns the
// path of the name in its edit box. The edit box follows the selected file;
// the user may also type a name, which need not exist.
class FileExplorerDialog : public skinner::Form {
public:
    FileExplorerDialog(skinner::Form* parent, skinner::Skin& skin, const std::u16string& caption);
    ~FileExplorerDialog() override;

    // Adds an extension to the list's filter (see ControlFiles).
    void add_extension(const std::u16string& extension);

    // Shows the dialog modally. The path chosen: the current folder joined
    // with the edit box's text, empty when that text is empty or a single
    // blank (the caller takes that as cancelled). A typed name that starts
    // with "/" or with a path macro stands for itself.
    std::u16string run();

    // The commands of the buttons and of the soft keys "Ok" and "Cancel":
    // both close the dialog, "Cancel" after emptying the edit box.
    void ok();
    void cancel();

    ControlFiles& files() { return files_; }
    skinner::ControlEdit& edit() { return edit_; }

    void on_control(skinner::Control& sender) override;
    void on_command(const std::u16string& text) override;
    void on_selection_changed(skinner::Control& sender, int row) override;
    void on_item_activated(skinner::Control& sender, int row) override;

private:
    void follow_selection();
    void finish();

    skinner::ControlMenuMain menu_;
    skinner::MenuMainButton ok_key_;
    skinner::MenuMainButton cancel_key_;
    skinner::ControlFrame caption_;
    skinner::ControlFrame label_;
    skinner::ControlButton ok_button_;
    skinner::ControlButton cancel_button_;
    skinner::ControlEdit edit_;
    ControlFiles files_;
};

} // namespace dialogs

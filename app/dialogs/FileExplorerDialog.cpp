#include "app/dialogs/FileExplorerDialog.h"

#include "os/Path.h"
#include "platform/Window.h"

namespace dialogs {

namespace {

constexpr char16_t KIND[] = u"FileExplorerDialog";
constexpr char16_t SMARTPHONE_OK[] = u"#smartphone_ok#";
constexpr char16_t SMARTPHONE_MENU[] = u"#smartphone_menu#";

} // namespace

FileExplorerDialog::FileExplorerDialog(
    skinner::Form* parent, skinner::Skin& skin, const std::u16string& caption)
    : Form(parent, skin, KIND, nullptr)
    , menu_(*this, u"MenuMain")
    , ok_key_(menu_, u"Ok", skin.translate(u"Ok", u"OK"), SMARTPHONE_OK)
    , cancel_key_(menu_, u"Cancel", skin.translate(u"Cancel", u"Cancel"), SMARTPHONE_MENU)
    , caption_(*this, u"frmCaption")
    , label_(*this, u"frmPath")
    , ok_button_(*this, u"btnOk")
    , cancel_button_(*this, u"btnCancel")
    , edit_(*this, u"edtPath")
    , files_(*this, u"lstFiles")
{
    caption_.set_text(caption);
    if (window())
        platform::set_window_text(window(), caption);
    label_.set_text(skin.translate(u"Label_file_name", u"File name:"));
    set_default_button(&ok_button_);
    set_cancel_button(&cancel_button_);
    follow_selection();
    set_focus(&files_);
}

FileExplorerDialog::~FileExplorerDialog() = default;

void FileExplorerDialog::add_extension(const std::u16string& extension)
{
    files_.add_extension(extension);
}

std::u16string FileExplorerDialog::run()
{
    do_modal();
    const std::u16string& text = edit_.text();
    if (text.empty() || text == u" ")
        return {};
    // A full path or a path macro typed by the user is taken as it stands.
    std::u16string typed = text.front() == u'%' ? os::expand_path(text) : text;
    if (typed.front() == u'/')
        return typed;
    return os::join_path(files_.folder(), text);
}

void FileExplorerDialog::ok()
{
    finish();
}

void FileExplorerDialog::cancel()
{
    edit_.set_text({});
    finish();
}

void FileExplorerDialog::finish()
{
    ok_button_.set_enabled(false);
    cancel_button_.set_enabled(false);
    edit_.set_enabled(false);
    close();
}

void FileExplorerDialog::on_control(skinner::Control& sender)
{
    if (&sender == &ok_button_)
        ok();
    else if (&sender == &cancel_button_)
        cancel();
    else
        Form::on_control(sender);
}

void FileExplorerDialog::on_command(const std::u16string& text)
{
    if (text == ok_key_.item_id())
        ok();
    else if (text == cancel_key_.item_id())
        cancel();
    else
        Form::on_command(text);
}

void FileExplorerDialog::on_selection_changed(skinner::Control& sender, int row)
{
    if (&sender == &files_)
        follow_selection();
    else
        Form::on_selection_changed(sender, row);
}

void FileExplorerDialog::on_item_activated(skinner::Control& sender, int row)
{
    // Only a file activated from the keyboard reaches the dialog.
    if (&sender == &files_)
        ok();
    else
        Form::on_item_activated(sender, row);
}

void FileExplorerDialog::follow_selection()
{
    const ControlFiles::Entry* entry = files_.selected_entry();
    edit_.set_text(entry && entry->kind == ControlFiles::Kind::File ? entry->name : u"");
}

} // namespace dialogs

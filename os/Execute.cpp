#include "os/Execute.h"

#include "os/Log.h"
#include "os/Path.h"
#include "platform/Shell.h"

#include <string_view>
#include <unistd.h>

namespace os {

namespace {

constexpr std::u16string_view PROGRAM_EXTENSION = u".exe";

bool ends_with_program_extension(const std::u16string& path)
{
    if (path.size() <= PROGRAM_EXTENSION.size())
        return false;
    std::size_t start = path.size() - PROGRAM_EXTENSION.size();
    for (std::size_t i = 0; i < PROGRAM_EXTENSION.size(); ++i) {
        char16_t c = path[start + i];
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
        if (c != PROGRAM_EXTENSION[i])
            return false;
    }
    return true;
}

bool exists(const std::u16string& expanded)
{
    return ::access(native_path(expanded).c_str(), F_OK) == 0;
}

// The file to start. A device's program name "X.exe" stands for the program
// "X" where no "X.exe" exists; in a layered "%app_path%" (a read-only
// program folder) a name found in neither layer is the user's, so the
// layer is chosen by the program "X" itself: an installed folder's program
// is found, and a user's copy still comes first.
std::u16string expand_program_path(const std::u16string& file)
{
    std::u16string expanded = expand_path(file);
    if (!ends_with_program_extension(file) || exists(expanded))
        return expanded;
    std::size_t stem = file.size() - PROGRAM_EXTENSION.size();
    std::u16string bare = expand_path(file.substr(0, stem));
    if (!exists(bare))
        return expanded;
    return bare + file.substr(stem);
}

} // namespace

bool execute_file(const std::u16string& file, const std::u16string& parameters)
{
    std::u16string expanded_file = expand_program_path(file);
    std::u16string expanded_parameters = expand_path(parameters);
    log() << u"execute_file(" << expanded_file << u", " << expanded_parameters << u")\n";
    return platform::shell_execute(native_path(expanded_file), native_path(expanded_parameters));
}

void open_url(const std::u16string& url)
{
    // A leading path macro names a page that ships with the program (the
    // user guide); web addresses pass unchanged.
    platform::shell_execute("iexplore.exe", native_path(expand_path(url)));
}

} // namespace os

#include "os/Execute.h"

#include "os/Log.h"
#include "os/Path.h"
#include "platform/Shell.h"

namespace os {

bool execute_file(const std::u16string& file, const std::u16string& parameters)
{
    std::u16string expanded_file = expand_path(file);
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

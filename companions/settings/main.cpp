// The settings launcher: opens the main program's settings mode from the
// launcher's own folder, so that the desktop can offer the settings as an
// entry of their own. "s" is no contact id, so the settings open with no
// contact selected, or a running settings process comes to the front.
// Whatever happens, the launcher ends with 0.

#include "os/Execute.h"
#include "os/Package.h"

#include <string>

int main()
{
    os::execute_file(std::u16string(u"%app_path%/") + os::MAIN_PROGRAM, u"s");
    return 0;
}

#include "app/CommandLine.h"

#include "platform/Convert.h"

std::u16string join_command_line(int argc, const char* const* argv)
{
    std::u16string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            line += u' ';
        line += platform::from_utf8(argv[i]);
    }
    return line;
}

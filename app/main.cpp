#include "app/CommandLine.h"
#include "app/Startup.h"

int main(int argc, char** argv)
{
    return run_ringwise(join_command_line(argc, argv));
}

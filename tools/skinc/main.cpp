#include "tools/skinc/SkinCompiler.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

// skinc: compiles the XML source of a skin into a binary skin file.
int main(int argc, char** argv)
{
    bool archive = false;
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--archive") == 0) {
            archive = true;
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::puts("usage: skinc [--archive] SOURCE.xml OUT.skin\n\n"
                      "Compiles a skin source into a binary skin file; with --archive, a ZIP of\n"
                      "stored entries holding the description and the files the source names.\n"
                      "The source format is described in assets/skins/README.md.");
            return 0;
        } else {
            paths.push_back(argv[i]);
        }
    }
    if (paths.size() != 2) {
        std::fputs("usage: skinc [--archive] SOURCE.xml OUT.skin\n", stderr);
        return 2;
    }
    std::string error;
    if (!skinc::compile_skin_file(paths[0], paths[1], archive, error)) {
        std::fprintf(stderr, "skinc: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

#pragma once

// What the benchmarks of forms and controls share: a scratch folder with the
// headless 480 x 640 screen and a registry of its own, skins written into
// it, and the handling of every waiting message up to the presented frame.

#include "platform/MessageQueue.h"
#include "platform/Screen.h"
#include "tools/skinc/SkinCompiler.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace bench_support {

// A fresh folder under the temp folder; the screen and the registry point
// into it.
inline std::string headless_folder()
{
    ::setenv("RINGWISE_HEADLESS", "1", 1);
    ::setenv("RINGWISE_SCREEN", "480x640", 1);
    std::string pattern
        = (std::filesystem::temp_directory_path() / "ringwise-bench-XXXXXX").string();
    std::string folder = mkdtemp(pattern.data());
    ::setenv("RINGWISE_REGISTRY", (folder + "/registry.db").c_str(), 1);
    return folder;
}

// Compiles the skin and writes it as FOLDER/NAME.
inline void write_skin(
    const skinc::SkinSource& source, const std::string& folder, const std::string& name)
{
    std::vector<std::uint8_t> bytes;
    std::string error;
    skinc::build_skin_file(source, false, name, bytes, error);
    std::ofstream(folder + "/" + name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// Handles every waiting message, the paints among them, and composes the frame.
inline void drain()
{
    platform::Message message;
    while (platform::peek_message(message))
        platform::dispatch_message(message);
    platform::capture_screen();
}

} // namespace bench_support

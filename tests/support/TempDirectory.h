#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// A fresh directory under the system's temp folder, removed with everything
// in it when the test ends. It needs nothing of the program, so that tests
// of every folder can use it.
class TempDirectory {
public:
    TempDirectory()
    {
        std::string pattern
            = (std::filesystem::temp_directory_path() / "ringwise-test-XXXXXX").string();
        if (char* made = mkdtemp(pattern.data()))
            path_ = made;
    }
    ~TempDirectory()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::string& native() const { return path_; }
    std::string native(const std::string& relative) const { return path_ + "/" + relative; }
    // The same paths as the program's UTF-16 text.
    std::u16string wide() const { return std::filesystem::path(path_).u16string(); }
    std::u16string wide(const std::string& relative) const
    {
        return std::filesystem::path(native(relative)).u16string();
    }

    void write(const std::string& relative, const std::string& content) const
    {
        std::filesystem::path file = std::filesystem::path(path_) / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
    }
    std::string read(const std::string& relative) const
    {
        std::ifstream file(std::filesystem::path(path_) / relative, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }
    bool exists(const std::string& relative) const
    {
        return std::filesystem::exists(std::filesystem::path(path_) / relative);
    }

private:
    std::string path_;
};

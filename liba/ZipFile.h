#pragma once

#include "liba/Nocopy.h"
#include "liba/Stream.h"

#include <cstdint>
#include <memory>
#include <string>

namespace liba {

// Reads the stored entries of a ZIP archive (a skin with its pictures and
// sounds). Entries are found by walking the local headers from the start of
// the file, one after another; the walk ends at the first entry whose
// compressed and uncompressed sizes differ (compression is not supported),
// at any other signature and at a short read. The central directory is not
// used.
//
// Once an entry has been chosen, the object is a read-only stream over that
// entry's data: positions and sizes count from the entry's first byte and
// reads stop at its end. Without a chosen entry it reads nothing. An archive
// file that could not be opened (missing, or one that has recorded an error)
// records "can't open file" and refuses all work.
class ZipFile final : public ResourceReaderWriterBase, Nocopy {
public:
    // Reads the archive from `file`, which whoever has the path opened.
    explicit ZipFile(std::unique_ptr<StreamReader> file);
    ~ZipFile() override;

    // Restarts the walk at the first local header.
    void rewind();
    // Steps to the next entry of the walk and chooses it; false at the end.
    bool next_entry();
    // Restarts the walk and chooses the first entry of that name (compared
    // without regard to case); false when the walk ends first.
    bool find_entry(const std::u16string& name);
    // Restarts the walk and chooses the first entry whose extension (the
    // text after the last "." of its file name) equals `extension` without
    // regard to case.
    bool find_extension(const std::u16string& extension);

    bool has_entry() const { return has_entry_; }
    // How many bytes of the chosen entry the file really holds; less than
    // size() when the archive is cut short.
    std::uint32_t available();
    const std::u16string& entry_name() const { return name_; }
    // Where the chosen entry's data begins in the archive file.
    std::uint32_t data_offset() const { return data_start_; }

    std::uint32_t read(void* buffer, std::uint32_t count) override;
    std::uint32_t skip(std::uint32_t count) override;
    std::uint32_t write(const void* buffer, std::uint32_t count) override;
    std::uint32_t size() override;
    bool seek(std::uint32_t position) override;
    std::uint32_t tell() override;

    void add_error(const std::u16string& message) override;

    // The extension of a path: the text after the last "." that stands
    // after the last "/" or "\"; empty when there is none.
    static std::u16string extension_of(const std::u16string& path);

private:
    std::unique_ptr<StreamReader> file_;
    std::uint32_t next_header_ { 0 };
    bool walk_ended_ { false };
    bool has_entry_ { false };
    std::u16string name_;
    std::uint32_t data_start_ { 0 };
    std::uint32_t data_size_ { 0 };
    std::uint32_t position_ { 0 };
};

} // namespace liba

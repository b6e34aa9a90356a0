#pragma once

#include "liba/Nocopy.h"
#include "os/File.h"

#include <cstdint>
#include <string>

namespace os {

// A chunk archive: chunks one after another up to the end of the file, with
// nothing before, between or after them. Each chunk is, little-endian:
//   4 bytes      name length in bytes (twice the number of characters)
//   name length  the name, UTF-16LE, no terminator
//   4 bytes      data length in bytes
//   data length  the data
// An archive is written from start to end by one writer (a file opened in
// mode 1) or read forwards by one reader (mode 0) that starts again from the
// beginning for every search. Used by one thread at a time.
class ChunkFile : liba::Nocopy {
public:
    // Opens the archive's file in `mode`, as os::File does.
    ChunkFile(const std::u16string& path, int mode);
    // Ends a chunk that is still open.
    ~ChunkFile();

    File& file() { return file_; }
    bool is_open() const { return file_.is_open(); }

    // Writing. begin_chunk() ends an open chunk first; the chunk's data is
    // whatever is written until end_chunk().
    bool begin_chunk(const std::u16string& name);
    bool end_chunk();
    std::uint32_t write(const void* buffer, std::uint32_t count);
    // Adds a file as one chunk, copied in blocks of 32,768 bytes. False when
    // the file cannot be opened, a read is short or a write fails.
    bool add_file(const std::u16string& source_path, const std::u16string& name);
    // Adds every file directly in `directory`, each named prefix + "/" +
    // its file name; stops at the first failure.
    bool add_directory(const std::u16string& directory, const std::u16string& prefix);

    // Reading. next_chunk() moves to the chunk after the current one (the
    // first one at the start); false at the end of the archive, and also at
    // a chunk whose name or data runs past the end of the file, where
    // reading ends.
    bool next_chunk();
    // Goes back to the start: the next next_chunk() reads the first chunk.
    void rewind();
    const std::u16string& name() const { return name_; }
    std::uint32_t data_length() const { return data_length_; }
    // Reads on from the current chunk's data, never past its end.
    std::uint32_t read(void* buffer, std::uint32_t count);
    // From the start, finds the first chunk with exactly this name.
    bool find_chunk(const std::u16string& name);
    // Writes the current chunk's data to target_path, creating its folders.
    bool extract(const std::u16string& target_path);
    // Extracts, from the start, every chunk whose folder part is the same
    // path as `directory` into target_directory under its file name; stops
    // at the first failure. Names that could leave the target folder ("."
    // or ".." as the file name) are skipped.
    bool extract_directory(const std::u16string& target_directory, const std::u16string& directory);

    static constexpr std::uint32_t BLOCK_SIZE = 32768;

private:
    bool write_u32(std::uint32_t value);
    bool read_u32(std::uint32_t& value);

    File file_;

    bool chunk_open_ { false };
    std::uint32_t length_field_ { 0 };

    bool has_chunk_ { false };
    bool at_end_ { false };
    std::u16string name_;
    std::uint32_t data_start_ { 0 };
    std::uint32_t data_length_ { 0 };
    std::uint32_t data_read_ { 0 };
};

} // namespace os

#pragma once

#include "liba/InplaceImpl.h"
#include "liba/Nocopy.h"
#include "liba/Stream.h"

#include <string>

namespace os {

struct FileImpl {
    int handle { -1 };
};

// A file opened by the constructor and closed by the destructor. A failed
// open records "can't open file" and the object then refuses all work, so
// callers check the error list (or the first read) after construction.
//
// Modes: 0 read an existing file; 1 write, emptying or creating it; 2 write,
// creating it if needed and positioned at its end; 3 (any other value) read
// and write, creating it if needed, positioned at the start.
class File final : public liba::ResourceReaderWriterBase,
                   private liba::InplaceImpl<FileImpl, 16>,
                   liba::Nocopy {
public:
    File(const std::u16string& path, int mode);
    ~File() override;

    void add_error(const std::u16string& message) override;

    std::uint32_t read(void* buffer, std::uint32_t count) override;
    std::uint32_t skip(std::uint32_t count) override;
    std::uint32_t write(const void* buffer, std::uint32_t count) override;
    std::uint32_t size() override;
    bool seek(std::uint32_t position) override;
    std::uint32_t tell() override;

    bool truncate(std::uint32_t position);
    bool flush();

    bool is_open() const { return impl().handle >= 0 && !refused(); }
};

} // namespace os

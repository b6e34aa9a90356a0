#pragma once

#include "liba/ErrorBase.h"

#include <cstdint>

namespace liba {

// Reading interface. Sizes and positions are 32-bit, as in every file format
// the program reads.
class StreamReader : public ErrorBase {
public:
    virtual std::uint32_t read(void* buffer, std::uint32_t count) = 0;
    virtual std::uint32_t skip(std::uint32_t count) = 0;
    virtual std::uint32_t size() = 0;
    virtual bool seek(std::uint32_t position) = 0;
    virtual std::uint32_t tell() = 0;
};

class ResourceReader : public StreamReader {
};

// Writing interface.
class StreamWriter : public ErrorBase {
public:
    virtual std::uint32_t write(const void* buffer, std::uint32_t count) = 0;
    virtual std::uint32_t size() = 0;
    virtual bool seek(std::uint32_t position) = 0;
    virtual std::uint32_t tell() = 0;
};

class ResourceWriter : public StreamWriter {
};

// A random-access resource that can be read and written: a file, or an entry
// of a skin archive. Refusal is decided by the reader side's error list.
class ResourceReaderWriterBase : public ResourceReader, public ResourceWriter {
public:
    bool refused() const { return !ResourceReader::errors.empty(); }
};

} // namespace liba

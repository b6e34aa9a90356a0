#pragma once

#include "audio/FileWriter.h"
#include "audio/Processor.h"
#include "os/File.h"

#include <memory>
#include <string>

namespace audio {

// Writes every block that passes through it to a WAV file and passes the
// block on unchanged, so a linked consumer receives the same audio. The
// file is created at the first block of a format the writer accepts, with a
// provisional header; the destructor writes the final sizes. A writer that
// has gone bad writes nothing more but still passes blocks on.
template<typename Info, typename Data>
class FileWriterWAV : public Processor<Data, Data>, public FileWriter {
public:
    // With `append`, audio is added to the end of an existing file of the
    // same format; otherwise the file is created (or emptied) at the first block.
    FileWriterWAV(const std::u16string& path, bool append)
        : path(path)
    {
        if (!append) {
            header.fmt_size = 16;
            header.data_offset = 44;
            header.format_tag = 1;
            good = true;
            return;
        }
        // Open for update only a file that exists, and keep it only when its
        // header is usable: the destructor rewrites the header of an open file.
        if (!os::File(path, 0).is_open())
            return;
        stream = std::make_unique<os::File>(path, 3);
        good = stream->is_open() && header.read(*stream) && header.block_align != 0
            && std::uint64_t { header.data_offset } + header.data_size <= stream->size()
            && stream->seek(header.data_offset + header.data_size);
        if (!good) {
            stream.reset();
            return;
        }
        frames_written = header.data_size / header.block_align;
    }

    ~FileWriterWAV() override
    {
        // No block may pass while the header is patched and the links end.
        liba::Lock guard(Consumer<Data>::lock);
        disconnect<Data>(*this);
        connect<Data>(*this, nullptr);
        if (!stream)
            return;
        header.riff_size = header.data_offset + header.data_size - 8;
        if (stream->seek(0))
            header.write(*stream);
    }

    Data process(const Data& block) override
    {
        if (good && !stream) {
            if (!set_format(block))
                return block;
            stream = std::make_unique<os::File>(path, 1);
            good = stream->is_open() && header.write(*stream);
        }
        if (good)
            good = write_data(block);
        return block;
    }

    virtual bool set_format(const Data& block) = 0;
    virtual bool write_data(const Data& block) = 0;

    bool is_good() const override { return good; }
    std::int64_t size() const override
    {
        return std::int64_t { header.channels } * ((header.bits_per_sample + 7) / 8)
            * frames_written;
    }

protected:
    Info header;
    std::u16string path;
    std::unique_ptr<os::File> stream;
    bool good { false };
    std::uint32_t frames_written { 0 };
};

} // namespace audio

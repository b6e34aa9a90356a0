#pragma once

#include "liba/CriticalSection.h"
#include "liba/TextOStream.h"
#include "os/TextOStreamFile.h"

namespace os {

// The diagnostic log file. Writing and flushing hold its critical section,
// so any thread may log.
template<typename C> class Log final : public TextOStreamFile<C> {
public:
    explicit Log(const std::u16string& path)
        : TextOStreamFile<C>(path)
    {
    }

    void write(const C* begin, const C* end) override
    {
        liba::Lock lock(section_);
        TextOStreamFile<C>::write(begin, end);
    }

    void flush() override
    {
        liba::Lock lock(section_);
        TextOStreamFile<C>::flush();
    }

private:
    liba::CriticalSection section_;
};

// The registry key and value that switch the diagnostic log on (32-bit
// number, non-zero) and the file it is written to.
inline constexpr const char16_t* LOG_SWITCH_KEY = u"HKEY_CURRENT_USER\\Software\\Tarn";
inline constexpr const char16_t* LOG_SWITCH_VALUE = u"Log";
inline constexpr const char16_t* LOG_FILE = u"%app_full_name%.txt";

// The diagnostic log. Every call reads the switch from the registry: when it
// has changed since the last call, the current stream is replaced by a fresh
// log file (emptied, with its byte order mark) or by the empty stream, and
// the previous log file is closed.
//
// Any thread may call it and write to what it returns. The returned stream
// passes each write on to the current stream under the same lock that the
// switch-over takes, so a stream is never destroyed while another thread is
// writing to it; a reference kept across a switch writes to the new stream.
liba::TextOStream<char16_t>& log();

} // namespace os

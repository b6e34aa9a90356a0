#pragma once

#include "liba/TextOStream.h"
#include "os/File.h"

#include <string>

namespace os {

// Text written to a file that is created anew (mode 1): the UTF-16
// little-endian byte order mark FF FE first, then every character as its two
// little-endian bytes. A file that could not be created refuses every write,
// so the text is dropped without a word.
template<typename C> class TextOStreamFile : public liba::TextOStream<C> {
public:
    explicit TextOStreamFile(const std::u16string& path);

    void write(const C* begin, const C* end) override;
    void flush() override;

    bool is_open() const { return file_.is_open(); }

private:
    File file_;
};

extern template class TextOStreamFile<char16_t>;

} // namespace os

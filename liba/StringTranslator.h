#pragma once

#include "liba/Stream.h"

#include <map>
#include <string>
#include <string_view>

namespace liba {

// A language table: every text the user sees is looked up by its key, and
// the caller's fallback (usually the key itself) is shown when the table has
// no entry. Filled once from a ".lng" file and not changed afterwards;
// switching languages replaces the whole translator.
//
// File format: UTF-16LE when it starts with FF FE, otherwise single-byte text
// in the device's code page. One entry per line: a key without white space,
// then either white space and the value, or "=" directly after the key and
// the value with its leading spaces kept. Lines whose first token starts
// with "//" are comments; the last of repeated keys wins. A key alone on its
// line gets an empty value (see parse()).
class StringTranslator {
public:
    StringTranslator() = default;
    virtual ~StringTranslator() = default;

    // Reads the whole language file from `file`, which was opened from
    // `path`. False, with the table unchanged, when the file refused to open
    // (it has recorded an error); otherwise parses it, remembers the path and
    // returns true.
    bool load(StreamReader& file, const std::u16string& path);

    std::u16string translate(const std::u16string& key, const std::u16string& fallback) const;

    const std::map<std::u16string, std::u16string>& entries() const { return entries_; }
    const std::u16string& path() const { return path_; }

    // The text of a language file's bytes, in either encoding.
    static std::u16string decode(std::string_view bytes);
    // Adds the entries of a language file's text to the table.
    void parse(std::u16string_view text);

private:
    std::map<std::u16string, std::u16string> entries_;
    std::u16string path_;
};

} // namespace liba

// Reads arbitrary bytes as a language file, in either encoding, and looks up
// a few keys.
#include "liba/StringTranslator.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    liba::StringTranslator translator;
    translator.parse(liba::StringTranslator::decode(bytes));
    for (auto& [key, value] : translator.entries()) {
        if (key.empty() || translator.translate(key, u"") != value)
            __builtin_trap();
    }
    translator.translate(u"Call_failed", u"Call_failed");
    return 0;
}

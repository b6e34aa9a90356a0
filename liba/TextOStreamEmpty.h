#pragma once

#include "liba/TextOStream.h"

namespace liba {

// The diagnostic log while it is switched off: takes everything, keeps nothing.
template<typename C> class TextOStreamEmpty final : public TextOStream<C> {
public:
    void write(const C*, const C*) override { }
    void flush() override { }
};

} // namespace liba

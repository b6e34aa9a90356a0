#pragma once

#include "audio/Link.h"

namespace audio {

// Both a consumer and a provider: every block that passes through it, pushed
// from upstream or pulled from downstream, is transformed by process().
// Both directions run under the consumer lock, so a processor sees one block
// at a time.
template<typename In, typename Out> class Processor : public Consumer<In>, public Provider<Out> {
public:
    void on_data(const In& in) override
    {
        liba::Lock guard(Consumer<In>::lock);
        Out out = process(in);
        push(static_cast<Provider<Out>&>(*this), out);
    }

    ~Processor() override = default;

    virtual Out process(const In& in) = 0;

    Out get_data(std::int32_t count) override
    {
        liba::Lock guard(Consumer<In>::lock);
        In block = pull(static_cast<Consumer<In>&>(*this), count);
        return process(block);
    }
};

} // namespace audio

#pragma once

#include "liba/Active.h"

namespace test_support {

// An active object that leaves everything to the test, including a
// destruction while active.
class BareActive : public CActive {
public:
    BareActive()
        : CActive(0)
    {
    }

protected:
    void run() override { }
    void do_cancel() override { notify(); }
};

} // namespace test_support

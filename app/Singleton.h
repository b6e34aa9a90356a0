#pragma once

#include "liba/Nocopy.h"
#include "os/Assertion.h"

// Base of a class with exactly one live object in the process, reachable from
// anywhere through instance(). Building a second while the first lives is a
// broken internal rule.
template<typename T> class Singleton : liba::Nocopy {
public:
    static T* instance() { return instance_; }

protected:
    Singleton()
    {
        if (instance_)
            report_assertion(u"Singleton::Singleton()", u"Singleton is already instantiated");
        instance_ = static_cast<T*>(this);
    }
    ~Singleton() { instance_ = nullptr; }

private:
    static inline T* instance_ = nullptr;
};

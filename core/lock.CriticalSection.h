#ifndef VELMO_CORE_LOCK_CRITICALSECTION_H
#define VELMO_CORE_LOCK_CRITICALSECTION_H

#include "core/object.Object.h"
#include "core/os/Os.h"

namespace velmo::core::lock {

class CriticalSection : public object::Object {
public:
    void enter() { m_mutex.lock(); }
    void leave() { m_mutex.unlock(); }

    // The section that guards the creation of the library's singletons.
    static CriticalSection& global();

private:
    os::NativeMutex m_mutex;
};

}

#endif

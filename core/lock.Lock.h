#ifndef VELMO_CORE_LOCK_LOCK_H
#define VELMO_CORE_LOCK_LOCK_H

#include "core/lock.CriticalSection.h"

namespace velmo::core::lock {

// Holds a critical section for the scope of a local object.
class Lock : public object::Object {
public:
    explicit Lock(CriticalSection* pSection) : m_pSection(pSection)
    {
        if (m_pSection)
            m_pSection->enter();
    }
    ~Lock() override
    {
        if (m_pSection)
            m_pSection->leave();
    }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

private:
    CriticalSection* m_pSection;
};

}

#endif

#include "core/lock.CriticalSection.h"

namespace velmo::core::lock {

CriticalSection& CriticalSection::global()
{
    static CriticalSection section;
    return section;
}

}

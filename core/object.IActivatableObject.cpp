#include "core/object.IActivatableObject.h"

#include "core/object.Heap.h"

namespace velmo::core::object {

void IActivatableObject::release()
{
    if (--m_nReferenceCount > 0)
        return;
    this->~IActivatableObject();
    try {
        Heap::freeMemory(this, false);
    } catch (...) {
    }
}

}

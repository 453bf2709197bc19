#ifndef VELMO_CORE_OBJECT_OBJECTFACTORY_H
#define VELMO_CORE_OBJECT_OBJECTFACTORY_H

#include "core/lock.Lock.h"
#include "core/object.Heap.h"

#include <atomic>
#include <new>

namespace velmo::core::object {

// One process-wide factory per type, recorded as the owner of the objects that
// ObjectArray<T> creates. Made on first use under the global critical section.
template <typename T>
class ObjectFactory : public Object {
public:
    static ObjectFactory* getInstance()
    {
        ObjectFactory* pFactory = s_pInstance.load(std::memory_order_acquire);
        if (pFactory)
            return pFactory;
        lock::Lock guard(&lock::CriticalSection::global());
        pFactory = s_pInstance.load(std::memory_order_relaxed);
        if (!pFactory) {
            pFactory = new (Heap::allocateZeroed(sizeof(ObjectFactory))) ObjectFactory();
            s_pInstance.store(pFactory, std::memory_order_release);
        }
        return pFactory;
    }

    // A new T from the library heap, owned by this factory; freed with release().
    T* create()
    {
        T* pObject = new (Heap::allocateZeroed(sizeof(T))) T();
        pObject->setOwner(this);
        return pObject;
    }

private:
    static inline std::atomic<ObjectFactory*> s_pInstance{nullptr};
};

}

#endif

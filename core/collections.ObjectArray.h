#ifndef VELMO_CORE_COLLECTIONS_OBJECTARRAY_H
#define VELMO_CORE_COLLECTIONS_OBJECTARRAY_H

#include "core/collections.PointerArray.h"
#include "core/object.ObjectFactory.h"

namespace velmo::core::collections {

// An array that owns its items: made by the type's factory, released by clear().
template <typename T>
class ObjectArray : public object::Object {
public:
    explicit ObjectArray(std::int32_t nGrowthStep = 32) : m_items(nGrowthStep) {}
    ObjectArray(const ObjectArray&) = delete;
    ObjectArray& operator=(const ObjectArray&) = delete;
    ~ObjectArray() override { clear(); }

    // A new empty item at the end; the caller assigns its value.
    T* addNew()
    {
        T* pItem = object::ObjectFactory<T>::getInstance()->create();
        try {
            m_items.add(pItem);
        } catch (...) {
            pItem->release();
            throw;
        }
        return pItem;
    }

    T* getItem(std::int32_t nIndex) const { return m_items.getItem(nIndex); }
    std::int32_t getCount() const { return m_items.getCount(); }

    void clear()
    {
        for (std::int32_t i = m_items.getCount() - 1; i >= 0; --i) {
            if (T* pItem = m_items.getSlot(i))
                pItem->release();
            m_items.setItem(i, nullptr);
        }
        m_items.setCount(0);
    }

private:
    PointerArray<T> m_items;
};

}

#endif

#ifndef VELMO_CORE_COLLECTIONS_POINTERARRAY_H
#define VELMO_CORE_COLLECTIONS_POINTERARRAY_H

#include "core/collections.ArrayErrors.h"
#include "core/object.Heap.h"
#include "core/object.Object.h"

#include <cstring>

namespace velmo::core::collections {

// A growable array of pointers it does not own. Reading a null slot is an error.
template <typename T>
class PointerArray : public object::Object {
public:
    explicit PointerArray(std::int32_t nGrowthStep = 32) : m_nGrowthStep(nGrowthStep > 0 ? nGrowthStep : 32) {}
    PointerArray(const PointerArray&) = delete;
    PointerArray& operator=(const PointerArray&) = delete;
    ~PointerArray() override { object::Heap::freeMemory(m_ppItems, false); }

    std::int32_t getCount() const { return m_nCount < 0 ? 0 : m_nCount; }

    void setCount(std::int32_t nCount)
    {
        if (nCount < 0 || nCount == m_nCount)
            return;
        if (m_nCapacity < nCount) {
            std::int32_t nCapacity = grownCapacity(m_nCapacity, nCount, m_nGrowthStep);
            m_ppItems = static_cast<T**>(growSlots(m_ppItems, m_nCount, nCapacity, sizeof(T*)));
            m_nCapacity = nCapacity;
        }
        m_nCount = nCount;
    }

    T* getItem(std::int32_t nIndex) const
    {
        checkIndex(nIndex);
        if (!m_ppItems[nIndex])
            raiseNullSlot(VELMO_LOCATION);
        return m_ppItems[nIndex];
    }

    // The slot's value, null included.
    T* getSlot(std::int32_t nIndex) const
    {
        checkIndex(nIndex);
        return m_ppItems[nIndex];
    }

    void setItem(std::int32_t nIndex, T* pItem)
    {
        checkIndex(nIndex);
        m_ppItems[nIndex] = pItem;
    }

    void add(T* pItem)
    {
        setCount(getCount() + 1);
        setItem(m_nCount - 1, pItem);
    }

    void removeItem(std::int32_t nIndex)
    {
        checkIndex(nIndex);
        std::memmove(m_ppItems + nIndex, m_ppItems + nIndex + 1, sizeof(T*) * static_cast<std::size_t>(m_nCount - nIndex - 1));
        --m_nCount;
    }

    void reverse()
    {
        for (std::int32_t i = 0, j = m_nCount - 1; i < j; ++i, --j) {
            T* pSwap = m_ppItems[i];
            m_ppItems[i] = m_ppItems[j];
            m_ppItems[j] = pSwap;
        }
    }

private:
    void checkIndex(std::int32_t nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nCount)
            raiseIndexOutOfBounds(VELMO_LOCATION, nIndex);
    }

    T** m_ppItems = nullptr;
    std::int32_t m_nCount = 0;
    std::int32_t m_nCapacity = 0;
    std::int32_t m_nGrowthStep;
};

}

#endif

#ifndef VELMO_CORE_COLLECTIONS_SIMPLETYPEARRAY_H
#define VELMO_CORE_COLLECTIONS_SIMPLETYPEARRAY_H

#include "core/collections.ArrayErrors.h"
#include "core/object.Heap.h"
#include "core/object.Object.h"

#include <cstring>

namespace velmo::core::collections {

// A growable array of plain values. Gained slots are zero; capacity never shrinks.
template <typename T>
class SimpleTypeArray : public object::Object {
public:
    explicit SimpleTypeArray(std::int32_t nGrowthStep = 32) : m_nGrowthStep(nGrowthStep > 0 ? nGrowthStep : 32) {}
    SimpleTypeArray(const SimpleTypeArray&) = delete;
    SimpleTypeArray& operator=(const SimpleTypeArray&) = delete;
    ~SimpleTypeArray() override { object::Heap::freeMemory(m_pItems, false); }

    std::int32_t getCount() const { return m_nCount < 0 ? 0 : m_nCount; }

    void setCount(std::int32_t nCount)
    {
        if (nCount < 0 || nCount == m_nCount)
            return;
        if (m_nCapacity < nCount) {
            std::int32_t nCapacity = grownCapacity(m_nCapacity, nCount, m_nGrowthStep);
            m_pItems = static_cast<T*>(growSlots(m_pItems, m_nCount, nCapacity, sizeof(T)));
            m_nCapacity = nCapacity;
        }
        m_nCount = nCount;
    }

    T getItem(std::int32_t nIndex) const
    {
        checkIndex(nIndex);
        return m_pItems[nIndex];
    }

    T* getItemAddress(std::int32_t nIndex)
    {
        checkIndex(nIndex);
        return m_pItems + nIndex;
    }

    void setItem(std::int32_t nIndex, T value)
    {
        checkIndex(nIndex);
        m_pItems[nIndex] = value;
    }

    void add(T value)
    {
        setCount(getCount() + 1);
        setItem(m_nCount - 1, value);
    }

    // The slots themselves, for bulk work on checked ranges (null while empty).
    T* getData() { return m_pItems; }
    const T* getData() const { return m_pItems; }

private:
    void checkIndex(std::int32_t nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nCount)
            raiseIndexOutOfBounds(VELMO_LOCATION, nIndex);
    }

    T* m_pItems = nullptr;
    std::int32_t m_nCount = 0;
    std::int32_t m_nCapacity = 0;
    std::int32_t m_nGrowthStep;
};

}

#endif

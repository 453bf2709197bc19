#include "core/collections.ArrayErrors.h"

#include "core/exception.IndexOutOfBoundsException.h"
#include "core/exception.InvalidParameterException.h"
#include "core/exception.NullPointerException.h"
#include "core/object.Heap.h"

#include <cstring>

namespace velmo::core::collections {

void raiseIndexOutOfBounds(const exception::Location& location, std::int32_t nIndex)
{
    throw exception::IndexOutOfBoundsException(location, exception::indexOutOfBounds, nIndex);
}

void raiseNullSlot(const exception::Location& location)
{
    throw exception::NullPointerException(location, exception::nullPointer, 0, "");
}

void* allocateSlots(std::int32_t nCount, std::int32_t nSlotSize)
{
    std::int64_t nBytes = static_cast<std::int64_t>(nCount) * nSlotSize;
    if (nBytes >= INT32_MAX)
        throw exception::InvalidParameterException(VELMO_LOCATION, exception::invalidParameter, "nCount", nCount);
    return object::Heap::allocateZeroed(static_cast<std::int32_t>(nBytes));
}

void* growSlots(void* pOld, std::int32_t nUsed, std::int32_t nCapacity, std::int32_t nSlotSize)
{
    void* pNew = allocateSlots(nCapacity, nSlotSize);
    if (pOld) {
        std::memcpy(pNew, pOld, static_cast<std::size_t>(nUsed) * static_cast<std::size_t>(nSlotSize));
        object::Heap::freeMemory(pOld, false);
    }
    return pNew;
}

std::int32_t grownCapacity(std::int32_t nCapacity, std::int32_t nNeeded, std::int32_t nStep)
{
    std::int64_t nGrowth = static_cast<std::int64_t>(nNeeded) - nCapacity;
    std::int64_t nResult = nCapacity + nGrowth - nGrowth % nStep + nStep;
    if (nResult >= INT32_MAX)
        throw exception::InvalidParameterException(VELMO_LOCATION, exception::invalidParameter, "nCount", nNeeded);
    return static_cast<std::int32_t>(nResult);
}

}

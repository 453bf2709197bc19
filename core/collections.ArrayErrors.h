#ifndef VELMO_CORE_COLLECTIONS_ARRAYERRORS_H
#define VELMO_CORE_COLLECTIONS_ARRAYERRORS_H

#include "core/exception.Location.h"

#include <cstdint>

// Raising sites of the array templates, out of line so that the templates need not see
// the exception classes (which are built from these arrays).
namespace velmo::core::collections {

[[noreturn]] void raiseIndexOutOfBounds(const exception::Location& location, std::int32_t nIndex);
[[noreturn]] void raiseNullSlot(const exception::Location& location);
// Storage for nCount slots of nSlotSize bytes, zero-filled; throws when it cannot be had.
void* allocateSlots(std::int32_t nCount, std::int32_t nSlotSize);
// A larger zero-filled slot block holding the first nUsed slots of pOld, which is freed.
void* growSlots(void* pOld, std::int32_t nUsed, std::int32_t nCapacity, std::int32_t nSlotSize);
// The capacity rule shared by strings and arrays: grow by whole steps past the need.
std::int32_t grownCapacity(std::int32_t nCapacity, std::int32_t nNeeded, std::int32_t nStep);

}

#endif

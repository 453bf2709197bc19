#ifndef VELMO_CORE_OBJECT_HEAP_H
#define VELMO_CORE_OBJECT_HEAP_H

#include <cstdint>

namespace velmo::core::object {

// The library's heap: process heap blocks, or zero-initialised global memory on request,
// with process-wide counters of the live blocks and bytes (changed atomically).
class Heap {
public:
    // Null when the system cannot supply the block; nothing is counted then.
    static void* allocateMemory(std::int32_t nSize, bool bUseGlobal);
    // Like allocateMemory, but throws resourceUnavailable (4008) instead of returning null.
    static void* allocateChecked(std::int32_t nSize, bool bUseGlobal);
    // A zero-filled process heap block; throws like allocateChecked.
    static void* allocateZeroed(std::int32_t nSize);
    static void freeMemory(void* pBlock, bool bUseGlobal);

    static std::int64_t getLiveBlockCount();
    static std::int64_t getLiveByteCount();
};

}

#endif

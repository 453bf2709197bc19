#include "core/object.Heap.h"

#include "core/exception.BaseException.h"
#include "core/os/Os.h"

#include <atomic>
#include <cstring>
#include <new>

namespace velmo::core::object {

namespace {

std::atomic<std::int64_t> g_nLiveBlocks{0};
std::atomic<std::int64_t> g_nLiveBytes{0};

// Building the exception allocates too; when that fails as well, the standard
// bad_alloc ends the recursion.
thread_local bool t_bRaisingOutOfMemory = false;

[[noreturn]] void raiseOutOfMemory(std::int32_t nSize)
{
    if (t_bRaisingOutOfMemory)
        throw std::bad_alloc();
    t_bRaisingOutOfMemory = true;
    try {
        exception::BaseException error(VELMO_LOCATION, 4008, 0, "out of memory", "");
        error.addReference("nSize", nSize);
        t_bRaisingOutOfMemory = false;
        throw error;
    } catch (const exception::BaseException&) {
        t_bRaisingOutOfMemory = false;
        throw;
    } catch (...) {
        t_bRaisingOutOfMemory = false;
        throw std::bad_alloc();
    }
}

}

void* Heap::allocateMemory(std::int32_t nSize, bool bUseGlobal)
{
    if (nSize < 0)
        return nullptr;
    void* pBlock = os::allocateBlock(static_cast<std::size_t>(nSize), bUseGlobal);
    if (!pBlock)
        return nullptr;
    g_nLiveBlocks.fetch_add(1);
    g_nLiveBytes.fetch_add(static_cast<std::int64_t>(os::getBlockSize(pBlock, bUseGlobal)));
    return pBlock;
}

void* Heap::allocateChecked(std::int32_t nSize, bool bUseGlobal)
{
    void* pBlock = allocateMemory(nSize, bUseGlobal);
    if (!pBlock)
        raiseOutOfMemory(nSize);
    return pBlock;
}

void* Heap::allocateZeroed(std::int32_t nSize)
{
    void* pBlock = allocateChecked(nSize, false);
    std::memset(pBlock, 0, static_cast<std::size_t>(nSize));
    return pBlock;
}

void Heap::freeMemory(void* pBlock, bool bUseGlobal)
{
    if (!pBlock)
        return;
    g_nLiveBlocks.fetch_sub(1);
    g_nLiveBytes.fetch_sub(static_cast<std::int64_t>(os::getBlockSize(pBlock, bUseGlobal)));
    os::freeBlock(pBlock, bUseGlobal);
}

std::int64_t Heap::getLiveBlockCount()
{
    return g_nLiveBlocks.load();
}

std::int64_t Heap::getLiveByteCount()
{
    return g_nLiveBytes.load();
}

}

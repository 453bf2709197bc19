#include "driver/WorkImage.h"

#include "core/os/Os.h"

#include <cstring>

namespace velmo::driver {

// Bytes kept behind the usable length of a block.
constexpr std::int32_t kBlockReserve = 8;

WorkImage::~WorkImage()
{
    release();
}

void WorkImage::release()
{
    if (m_pStart)
        core::os::freeBlock(m_pStart, false);
    m_pStart = nullptr;
    m_nLength = m_nBlockSize = 0;
}

std::int32_t WorkImage::reserve(std::int32_t nSize)
{
    if (nSize < 1 || nSize > INT32_MAX - kBlockReserve)
        return workImageBadSize;
    if (nSize < m_nLength)
        return workImageOk;
    release();
    void* pBlock = core::os::allocateZeroedBlock(static_cast<std::size_t>(nSize) + kBlockReserve);
    if (!pBlock)
        return workImageNoMemory;
    std::size_t nBlockSize = core::os::getBlockSize(pBlock, false);
    if (nBlockSize < 3) {
        core::os::freeBlock(pBlock, false);
        return workImageBlockTooSmall;
    }
    if (nBlockSize > static_cast<std::size_t>(INT32_MAX))
        nBlockSize = INT32_MAX;
    // The usable size may exceed what was asked; only what was asked came zeroed.
    std::size_t nAsked = static_cast<std::size_t>(nSize) + kBlockReserve;
    if (nBlockSize > nAsked)
        std::memset(static_cast<unsigned char*>(pBlock) + nAsked, 0, nBlockSize - nAsked);
    m_pStart = static_cast<unsigned char*>(pBlock);
    m_nBlockSize = static_cast<std::int32_t>(nBlockSize);
    m_nLength = m_nBlockSize - kBlockReserve;
    return workImageOk;
}

std::int32_t WorkImage::truncate(std::int32_t nSize, const unsigned char* pWrittenEnd)
{
    if (nSize < 1) {
        if (m_pStart)
            std::memset(m_pStart, 0, static_cast<std::size_t>(m_nBlockSize));
        m_nLength = 0;
        return workImageOk;
    }
    if (nSize > m_nLength)
        return workImageTruncateBeyondLength;
    std::int32_t nZeroEnd = m_nBlockSize;
    if (pWrittenEnd && pWrittenEnd >= m_pStart + nSize && pWrittenEnd <= m_pStart + m_nBlockSize)
        nZeroEnd = static_cast<std::int32_t>(pWrittenEnd - m_pStart);
    std::memset(m_pStart + nSize, 0, static_cast<std::size_t>(nZeroEnd - nSize));
    m_nLength = nSize;
    return workImageOk;
}

}

#include "core/io.MemoryStream.h"

#include "core/collections.ArrayErrors.h"
#include "core/exception.InvalidParameterException.h"
#include "core/object.Heap.h"

#include <cstring>

namespace velmo::core::io {

MemoryStream::MemoryStream(bool bUseGlobal, std::uint32_t nGrowthStep)
    : m_bUseGlobal(bUseGlobal), m_nGrowthStep(nGrowthStep ? nGrowthStep : 256)
{
}

MemoryStream::~MemoryStream()
{
    releaseBuffer();
}

void MemoryStream::releaseBuffer()
{
    object::Heap::freeMemory(m_pBuffer, m_bUseGlobal);
    m_pBuffer = nullptr;
    m_nCapacity = m_nPosition = m_nSize = 0;
}

void MemoryStream::setAllocation(bool bUseGlobal, std::uint32_t nGrowthStep)
{
    releaseBuffer();
    m_bUseGlobal = bUseGlobal;
    m_nGrowthStep = nGrowthStep ? nGrowthStep : 256;
}

bool MemoryStream::seek(std::int32_t nOffset, std::int32_t nSeekOrigin)
{
    std::int64_t nTarget;
    switch (nSeekOrigin) {
    case seekBegin: nTarget = nOffset; break;
    case seekCurrent: nTarget = static_cast<std::int64_t>(m_nPosition) + nOffset; break;
    case seekEnd: nTarget = static_cast<std::int64_t>(m_nSize) - nOffset; break;
    default:
        throw exception::InvalidParameterException(VELMO_LOCATION, exception::invalidParameter, "nSeekOrigin", nSeekOrigin);
    }
    if (nTarget < 0 || nTarget > m_nSize)
        return false;
    m_nPosition = static_cast<std::int32_t>(nTarget);
    return true;
}

std::int32_t MemoryStream::readData(unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount)
{
    if (nByteCount == 0)
        return 0;
    if (nByteCount < 0)
        throw exception::InvalidParameterException(VELMO_LOCATION, exception::invalidParameter, "nByteCount", nByteCount);
    std::int32_t nAvailable = m_nSize - m_nPosition;
    std::int32_t nCount = nByteCount < nAvailable ? nByteCount : nAvailable;
    if (nCount <= 0)
        return 0;
    std::memcpy(pBuffer + nOffset, m_pBuffer + m_nPosition, static_cast<std::size_t>(nCount));
    m_nPosition += nCount;
    return nCount;
}

void MemoryStream::writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount)
{
    if (nByteCount == 0)
        return;
    if (nByteCount < 0)
        throw exception::InvalidParameterException(VELMO_LOCATION, exception::invalidParameter, "nByteCount", nByteCount);
    std::int64_t nEnd = static_cast<std::int64_t>(m_nPosition) + nByteCount;
    if (nEnd >= INT32_MAX)
        throw exception::InvalidParameterException(VELMO_LOCATION, exception::invalidParameter, "nByteCount", nByteCount);
    if (m_nCapacity <= nEnd) {
        std::int32_t nCapacity = collections::grownCapacity(m_nCapacity, static_cast<std::int32_t>(nEnd),
                                                            static_cast<std::int32_t>(m_nGrowthStep));
        unsigned char* pNew = static_cast<unsigned char*>(object::Heap::allocateChecked(nCapacity, m_bUseGlobal));
        if (m_pBuffer) {
            std::memcpy(pNew, m_pBuffer, static_cast<std::size_t>(m_nSize));
            object::Heap::freeMemory(m_pBuffer, m_bUseGlobal);
        }
        m_pBuffer = pNew;
        m_nCapacity = nCapacity;
    }
    std::memcpy(m_pBuffer + m_nPosition, pBuffer + nOffset, static_cast<std::size_t>(nByteCount));
    m_nPosition = static_cast<std::int32_t>(nEnd);
    if (m_nSize < m_nPosition)
        m_nSize = m_nPosition;
}

unsigned char MemoryStream::getByteAt(std::int32_t nIndex)
{
    if (nIndex < 0 || nIndex >= m_nSize)
        collections::raiseIndexOutOfBounds(VELMO_LOCATION, nIndex);
    return m_pBuffer[nIndex];
}

void MemoryStream::setByteAt(unsigned char nValue, std::int32_t nIndex)
{
    if (nIndex < 0 || nIndex >= m_nSize)
        collections::raiseIndexOutOfBounds(VELMO_LOCATION, nIndex);
    m_pBuffer[nIndex] = nValue;
}

}

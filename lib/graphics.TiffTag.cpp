#include "lib/graphics.TiffTag.h"

#include "core/exception.IndexOutOfBoundsException.h"
#include "core/exception.InvalidParameterException.h"
#include "core/object.Heap.h"
#include "lib/graphics.LittleEndian.h"

#include <climits>

namespace velmo::lib::graphics {

using core::exception::IndexOutOfBoundsException;
using core::exception::InvalidParameterException;

TiffTag::~TiffTag()
{
    core::object::Heap::freeMemory(m_pData, false);
}

void TiffTag::setValueCount(std::int32_t nValueCount, std::int32_t nValueSize)
{
    if (nValueSize < 0)
        throw InvalidParameterException(VELMO_LOCATION, core::exception::invalidParameter, "nValueSize", nValueSize);
    if (nValueCount < 0 || (nValueSize > 0 && nValueCount > INT_MAX / nValueSize))
        throw InvalidParameterException(VELMO_LOCATION, core::exception::invalidParameter, "nValueCount", nValueCount);
    std::int32_t nNeeded = nValueCount * nValueSize;
    if (m_nCapacity < nNeeded) {
        unsigned char* pData = static_cast<unsigned char*>(core::object::Heap::allocateZeroed(nNeeded));
        core::object::Heap::freeMemory(m_pData, false);
        m_pData = pData;
        m_nCapacity = nNeeded;
    }
    m_nValueCount = nValueCount;
    m_nValueSize = nValueSize;
}

void TiffTag::setValueOffset(std::int32_t nValue)
{
    m_nValueOffset = nValue;
    if (m_nValueCount * m_nValueSize <= 4)
        LittleEndian::fromInt32(nValue, m_pData, 0, m_nCapacity < 4 ? m_nCapacity : 4);
}

std::int32_t TiffTag::checkedOffset(std::int32_t nIndex) const
{
    if (nIndex < 0 || nIndex >= m_nValueCount)
        throw IndexOutOfBoundsException(VELMO_LOCATION, core::exception::indexOutOfBounds, nIndex);
    return nIndex * m_nValueSize;
}

const unsigned char* TiffTag::getValue(std::int32_t nIndex) const
{
    return m_pData + checkedOffset(nIndex);
}

std::int32_t TiffTag::getLong(std::int32_t nIndex) const
{
    return LittleEndian::toInt32(m_pData, checkedOffset(nIndex), wordLength());
}

void TiffTag::setLong(std::int32_t nIndex, std::int32_t nValue)
{
    LittleEndian::fromInt32(nValue, m_pData, checkedOffset(nIndex), wordLength());
}

// A rational is two 4-byte numbers; a value slot too small for one reads and writes
// nothing past its end.
std::int32_t TiffTag::getRationalBottom(std::int32_t nIndex) const
{
    std::int32_t nOffset = checkedOffset(nIndex);
    return m_nValueSize >= 8 ? LittleEndian::toInt32(m_pData, nOffset + 4, 4) : 0;
}

void TiffTag::setRationalBottom(std::int32_t nIndex, std::int32_t nValue)
{
    std::int32_t nOffset = checkedOffset(nIndex);
    if (m_nValueSize >= 8)
        LittleEndian::fromInt32(nValue, m_pData, nOffset + 4, 4);
}

}

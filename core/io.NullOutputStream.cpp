#include "core/io.NullOutputStream.h"

#include "core/exception.InvalidParameterException.h"

namespace velmo::core::io {

void NullOutputStream::writeData(const unsigned char*, std::int32_t, std::int32_t nByteCount)
{
    if (nByteCount < 0)
        throw exception::InvalidParameterException(VELMO_LOCATION, exception::invalidParameter, "nByteCount", nByteCount);
    m_nCount += nByteCount;
}

}

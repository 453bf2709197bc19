#include "core/io.StringStream.h"

#include "core/exception.InvalidParameterException.h"

#include <cstring>

namespace velmo::core::io {

void StringStream::setText(const char* pszText)
{
    close();
    m_text = pszText;
    m_nPosition = 0;
}

bool StringStream::seek(std::int32_t nOffset, std::int32_t nSeekOrigin)
{
    std::int64_t nTarget;
    switch (nSeekOrigin) {
    case seekBegin: nTarget = nOffset; break;
    case seekCurrent: nTarget = static_cast<std::int64_t>(m_nPosition) + nOffset; break;
    case seekEnd: nTarget = static_cast<std::int64_t>(m_text.getLength()) - nOffset - 1; break;
    default:
        throw exception::InvalidParameterException(VELMO_LOCATION, exception::invalidParameter, "nSeekOrigin", nSeekOrigin);
    }
    if (nTarget < 0 || nTarget >= m_text.getLength())
        return false;
    m_nPosition = static_cast<std::int32_t>(nTarget);
    return true;
}

std::int32_t StringStream::readData(unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount)
{
    std::int32_t nAvailable = m_text.getLength() - m_nPosition;
    std::int32_t nCount = nByteCount < nAvailable ? nByteCount : nAvailable;
    if (nCount < 1)
        return 0;
    std::memcpy(pBuffer + nOffset, m_text.getBuffer() + m_nPosition, static_cast<std::size_t>(nCount));
    m_nPosition += nCount;
    return nCount;
}

void StringStream::writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount)
{
    if (nByteCount < 0)
        throw exception::InvalidParameterException(VELMO_LOCATION, exception::invalidParameter, "nByteCount", nByteCount);
    for (std::int32_t i = 0; i < nByteCount; ++i) {
        char cByte = static_cast<char>(pBuffer[nOffset + i]);
        if (m_nPosition < m_text.getLength())
            m_text.setCharAt(m_nPosition, cByte);
        else
            m_text.append(cByte);
        ++m_nPosition;
    }
}

}

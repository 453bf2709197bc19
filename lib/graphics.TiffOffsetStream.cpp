#include "lib/graphics.TiffOffsetStream.h"

#include "core/exception.BaseException.h"
#include "lib/graphics.TiffUtil.h"

#include <string>

namespace velmo::lib::graphics {

void TiffOffsetStream::attach(core::io::IStream* pInner, std::uint32_t nBase, std::uint32_t nLength)
{
    m_pInner = pInner;
    m_nBase = nBase;
    m_nPosition = m_nLength = nLength;
}

bool TiffOffsetStream::seekTo(std::uint32_t nOffset)
{
    if (nOffset < m_nBase || nOffset > m_nLength || !TiffUtil::seekTo(m_pInner, nOffset - m_nBase, m_nLength - m_nBase))
        return false;
    m_nPosition = nOffset;
    return true;
}

bool TiffOffsetStream::seek(std::int32_t nOffset, std::int32_t nSeekOrigin)
{
    return nSeekOrigin == seekBegin && nOffset >= 0 && seekTo(static_cast<std::uint32_t>(nOffset));
}

void TiffOffsetStream::writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount)
{
    if (static_cast<std::int64_t>(m_nPosition) + nByteCount > TiffUtil::kLongestFile) {
        core::exception::BaseException error(VELMO_LOCATION, core::exception::maximumLengthExceeded, 0,
                                             "a TIFF file ends before 4 GB, where its 32-bit offsets end", "");
        error.addReference("fileLength", std::to_string(m_nLength).c_str());
        throw error;
    }
    m_pInner->writeData(pBuffer, nOffset, nByteCount);
    m_nPosition += static_cast<std::uint32_t>(nByteCount);
    if (m_nPosition > m_nLength)
        m_nLength = m_nPosition;
}

}

#include "lib/graphics.ScanLineFillFilter.h"

#include "core/exception.InvalidParameterException.h"
#include "lib/graphics.TiffConstants.h"

namespace velmo::lib::graphics {

void ScanLineFillFilter::setFillLineCount(std::int32_t nCount)
{
    if (nCount < 0)
        throw core::exception::InvalidParameterException(VELMO_LOCATION, core::exception::invalidParameter, "nCount", nCount);
    m_nFillLineCount = nCount;
}

void ScanLineFillFilter::modifyHeader(TiffPageImage& page)
{
    std::int64_t nFactor = static_cast<std::int64_t>(m_nFillLineCount) + 1;
    TiffTag* pResolution = page.getRequiredTag(TiffConstants::tagYResolution);
    std::int64_t nLength = page.getLongValue(TiffConstants::tagImageLength) * nFactor;
    std::int64_t nResolution = static_cast<std::uint32_t>(pResolution->getRationalTop(0)) * nFactor;
    // A page whose repeated lines or resolution no longer fit the tags cannot be written.
    if (nLength < 0 || nLength > INT32_MAX || nResolution > UINT32_MAX)
        throw core::exception::BaseException(VELMO_LOCATION, core::exception::tifInvalidImage, 0, "imageLength", "");
    page.setLongValue(TiffConstants::tagImageLength, static_cast<std::int32_t>(nLength));
    pResolution->setRationalTop(0, static_cast<std::int32_t>(static_cast<std::uint32_t>(nResolution)));
}

void ScanLineFillFilter::setOutputStream(core::io::IStream* pOut)
{
    m_pDownstream = pOut;
    m_line.setStream(pOut);
}

void ScanLineFillFilter::startPage()
{
    m_line.setStream(m_pDownstream);
    m_reader.reset();
}

void ScanLineFillFilter::writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount)
{
    if (m_nFillLineCount == 0) {
        m_pDownstream->writeData(pBuffer, nOffset, nByteCount);
        return;
    }
    m_reader.read(pBuffer + nOffset, nByteCount, [this](std::uint32_t nValue) {
        if (nValue == kEndOfLineValue)
            m_line.endLine(m_nFillLineCount + 1);
        else
            m_line.writeRun(static_cast<std::int32_t>(nValue));
    });
}

}

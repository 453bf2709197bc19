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
    std::int32_t nFactor = m_nFillLineCount + 1;
    TiffTag* pResolution = page.getRequiredTag(TiffConstants::tagYResolution);
    page.setLongValue(TiffConstants::tagImageLength, page.getLongValue(TiffConstants::tagImageLength) * nFactor);
    pResolution->setRationalTop(0, pResolution->getRationalTop(0) * nFactor);
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

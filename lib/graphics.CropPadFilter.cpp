#include "lib/graphics.CropPadFilter.h"

#include "core/exception.InvalidParameterException.h"
#include "lib/graphics.TiffConstants.h"

namespace velmo::lib::graphics {

void CropPadFilter::checkLocation(std::int32_t nLocation)
{
    if (nLocation < 0 || nLocation > 2)
        throw core::exception::InvalidParameterException(VELMO_LOCATION, core::exception::invalidParameter, "nLocation", nLocation);
}

void CropPadFilter::setPixelWidth(std::int32_t nPixels, std::int32_t nLocation)
{
    checkLocation(nLocation);
    m_nWidthSetting = nPixels;
    m_nWidthLocation = nLocation;
}

void CropPadFilter::setPixelHeight(std::int32_t nPixels, std::int32_t nLocation)
{
    checkLocation(nLocation);
    m_nHeightSetting = nPixels;
    m_nHeightLocation = nLocation;
}

void CropPadFilter::setOutputStream(core::io::IStream* pOut)
{
    m_pDownstream = pOut;
    m_out.setStream(pOut);
}

CropPadFilter::Split CropPadFilter::split(std::int32_t nDifference, std::int32_t nLocation)
{
    switch (nLocation) {
    case 0: return {nDifference, 0};
    case 1: return {0, nDifference};
    default: return {nDifference / 2, nDifference - nDifference / 2};
    }
}

void CropPadFilter::modifyHeader(TiffPageImage& page)
{
    std::int32_t nWidth = page.getLongValue(TiffConstants::tagImageWidth);
    std::int32_t nHeight = page.getLongValue(TiffConstants::tagImageLength);
    if (nWidth < 0)
        nWidth = 0;
    if (nHeight < 0)
        nHeight = 0;
    m_nTargetWidth = m_nWidthSetting >= 1 ? m_nWidthSetting : (nWidth > 1 ? nWidth : 1);
    std::int32_t nTargetHeight = m_nHeightSetting >= 1 ? m_nHeightSetting : (nHeight > 1 ? nHeight : 1);

    Split horizontal = split(m_nTargetWidth - nWidth, m_nWidthLocation);
    m_nLeftPad = horizontal.nBefore > 0 ? horizontal.nBefore : 0;
    m_nLeftCrop = horizontal.nBefore > 0 ? 0 : -horizontal.nBefore;
    m_nRightPad = horizontal.nAfter > 0 ? horizontal.nAfter : 0;
    m_nLastKeptColumn = nWidth - 1 + (horizontal.nAfter > 0 ? 0 : horizontal.nAfter);

    Split vertical = split(nTargetHeight - nHeight, m_nHeightLocation);
    m_nTopPad = vertical.nBefore > 0 ? vertical.nBefore : 0;
    m_nFirstKeptLine = vertical.nBefore > 0 ? 0 : -vertical.nBefore;
    m_nBottomPad = vertical.nAfter > 0 ? vertical.nAfter : 0;
    m_nLastKeptLine = nHeight - 1 + (vertical.nAfter > 0 ? 0 : vertical.nAfter);

    page.setLongValue(TiffConstants::tagImageWidth, m_nTargetWidth);
    page.setLongValue(TiffConstants::tagImageLength, nTargetHeight);
}

void CropPadFilter::startPage()
{
    m_out.setStream(m_pDownstream);
    writePadLines(m_nTopPad);
    m_nSourceLine = 0;
    m_nSourceX = 0;
    m_bSourceWhite = true;
    m_bLineOpen = false;
}

void CropPadFilter::endPage()
{
    if (m_bLineOpen)
        endSourceLine();
    // Kept lines the source did not deliver become white lines. A page may claim far more
    // lines than it delivers: the cropped ones before the kept ones are passed over at once.
    if (m_nSourceLine < m_nFirstKeptLine)
        m_nSourceLine = m_nFirstKeptLine;
    for (; m_nSourceLine <= m_nLastKeptLine; ++m_nSourceLine) {
        openLine();
        closeLine();
    }
    writePadLines(m_nBottomPad);
}

void CropPadFilter::writePadLines(std::int32_t nLines)
{
    for (std::int32_t i = 0; i < nLines; ++i) {
        startOutputLine();
        emit(m_bPadWhite, m_nTargetWidth);
        endOutputLine();
    }
}

void CropPadFilter::writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount)
{
    m_reader.read(pBuffer + nOffset, nByteCount, [this](std::uint32_t nValue) {
        if (nValue == kEndOfLineValue)
            endSourceLine();
        else
            addRun(nValue);
    });
}

void CropPadFilter::addRun(std::uint32_t nRun)
{
    if (isKeptLine()) {
        if (!m_bLineOpen)
            openLine();
        // The part of the run inside the kept columns.
        std::int64_t nStart = m_nSourceX > m_nLeftCrop ? m_nSourceX : m_nLeftCrop;
        std::int64_t nEnd = static_cast<std::int64_t>(m_nSourceX) + nRun;
        if (nEnd > static_cast<std::int64_t>(m_nLastKeptColumn) + 1)
            nEnd = static_cast<std::int64_t>(m_nLastKeptColumn) + 1;
        if (nEnd > nStart)
            emit(m_bSourceWhite, static_cast<std::int32_t>(nEnd - nStart));
    }
    // Past the kept columns the position no longer matters; it is held there.
    if (m_nSourceX <= m_nLastKeptColumn)
        m_nSourceX += static_cast<std::int32_t>(nRun);
    m_bSourceWhite = !m_bSourceWhite;
}

void CropPadFilter::endSourceLine()
{
    if (isKeptLine()) {
        if (!m_bLineOpen)
            openLine();
        closeLine();
    }
    ++m_nSourceLine;
    m_nSourceX = 0;
    m_bSourceWhite = true;
    m_bLineOpen = false;
}

void CropPadFilter::openLine()
{
    m_bLineOpen = true;
    startOutputLine();
    emit(m_bPadWhite, m_nLeftPad);
}

void CropPadFilter::closeLine()
{
    // A short source line is completed with white before the right pad.
    emit(true, m_nTargetWidth - m_nRightPad - m_nOutPixels);
    emit(m_bPadWhite, m_nRightPad);
    endOutputLine();
    m_bLineOpen = false;
}

void CropPadFilter::startOutputLine()
{
    m_bOutWhite = true;
    m_nOutPending = 0;
    m_nOutPixels = 0;
}

void CropPadFilter::endOutputLine()
{
    m_out.writeRun(m_nOutPending);
    if (m_bOutWhite)
        m_out.writeRun(0);  // the line ends white: close with an empty black run
    m_out.endLine();
}

void CropPadFilter::emit(bool bWhite, std::int32_t nPixels)
{
    if (nPixels <= 0)
        return;
    m_nOutPixels += nPixels;
    if (bWhite == m_bOutWhite) {
        m_nOutPending += nPixels;
        return;
    }
    m_out.writeRun(m_nOutPending);
    m_nOutPending = nPixels;
    m_bOutWhite = bWhite;
}

}

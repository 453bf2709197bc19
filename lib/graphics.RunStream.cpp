#include "lib/graphics.RunStream.h"

#include "core/exception.InvalidParameterException.h"

namespace velmo::lib::graphics {

void checkLineWidth(std::int32_t nWidth)
{
    if (nWidth < 1 || nWidth > kMaxLineWidth)
        throw core::exception::InvalidParameterException(VELMO_LOCATION, core::exception::invalidParameter, "nWidth", nWidth);
}

void RunLineWriter::setStream(core::io::IStream* pOut)
{
    m_pOut = pOut;
    m_nFill = 0;
}

void RunLineWriter::grow()
{
    m_buffer.setCount(m_buffer.getCount() * 2 + 256);
}

void RunLineWriter::endLine(std::int32_t nTimes)
{
    writeValue(kEndOfLineValue);
    for (std::int32_t i = 0; i < nTimes; ++i)
        m_pOut->writeData(m_buffer.getData(), 0, m_nFill);
    m_nFill = 0;
}

}

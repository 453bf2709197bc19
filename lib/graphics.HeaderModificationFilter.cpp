#include "lib/graphics.HeaderModificationFilter.h"

#include "lib/graphics.TiffConstants.h"

namespace velmo::lib::graphics {

void HeaderModificationFilter::setRationalTag(std::int32_t nTag, std::int32_t nNumerator, std::int32_t nDenominator)
{
    m_triples.add(nTag);
    m_triples.add(nNumerator);
    m_triples.add(nDenominator);
}

void HeaderModificationFilter::setXResolution(std::int32_t nNumerator, std::int32_t nDenominator)
{
    setRationalTag(TiffConstants::tagXResolution, nNumerator, nDenominator);
}

void HeaderModificationFilter::setYResolution(std::int32_t nNumerator, std::int32_t nDenominator)
{
    setRationalTag(TiffConstants::tagYResolution, nNumerator, nDenominator);
}

void HeaderModificationFilter::modifyHeader(TiffPageImage& page)
{
    for (std::int32_t i = 0; i + 2 < m_triples.getCount(); i += 3) {
        TiffTag* pTag = page.addTag(m_triples.getItem(i));
        pTag->setDataType(TiffConstants::typeRational);
        pTag->setValueCount(1, TiffConstants::getDataTypeByteCount(TiffConstants::typeRational));
        pTag->setRationalTop(0, m_triples.getItem(i + 1));
        pTag->setRationalBottom(0, m_triples.getItem(i + 2));
    }
}

}

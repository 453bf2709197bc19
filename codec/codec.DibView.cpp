#include "codec/codec.DibView.h"

#include "codec/codec.CodecError.h"
#include "codec/codec.ParameterBlock.h"

#include <limits>

namespace velmo::codec {

DibView::DibView(unsigned char* pBits, std::int32_t nWidth, std::int32_t nHeight, std::int32_t nBitCount)
    : m_pBits(pBits), m_nWidth(nWidth), m_nHeight(nHeight), m_nBitCount(nBitCount),
      m_nStride(computeStride(nWidth, nBitCount))
{
}

std::size_t DibView::computeStride(std::int32_t nWidth, std::int32_t nBitCount)
{
    if (nWidth < 1 || nWidth > kMaxDimension || nBitCount < 1 || nBitCount > 32)
        throw CodecError(statusInvalidParameter);
    const std::uint64_t nBits = static_cast<std::uint64_t>(nWidth) * static_cast<std::uint64_t>(nBitCount);
    return static_cast<std::size_t>((nBits + 31) / 32 * 4);
}

std::size_t DibView::computeImageSize(std::int32_t nWidth, std::int32_t nHeight, std::int32_t nBitCount)
{
    if (nHeight < 1 || nHeight > kMaxDimension)
        throw CodecError(statusInvalidParameter);
    const std::uint64_t nSize = static_cast<std::uint64_t>(computeStride(nWidth, nBitCount)) * static_cast<std::uint64_t>(nHeight);
    if (nSize > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))
        throw CodecError(statusInvalidParameter);
    return static_cast<std::size_t>(nSize);
}

}

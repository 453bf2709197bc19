#include "codec/codec.ModuleRequest.h"

#include "core/exception.BaseException.h"

#include <limits>
#include <new>

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

DibView getInputImage(const ParameterBlock& block, std::uint32_t nAcceptedDepths)
{
    const DibHeader& header = block.imageHeader;
    if (header.nBitCount > 31 || !(nAcceptedDepths & depthBit(header.nBitCount)))
        throw CodecError(statusUnsupportedDepth);
    if (header.nCompression != 0)
        throw CodecError(statusInvalidParameter);
    const std::size_t nImageSize = DibView::computeImageSize(header.nWidth, header.nHeight, header.nBitCount);
    unsigned char* pRead = block.input.read.get();
    unsigned char* pData = block.input.write.get();
    if (!pRead || !pData || pData < pRead || static_cast<std::size_t>(pData - pRead) < nImageSize)
        throw CodecError(statusInputTooShort);
    return DibView(pRead, header.nWidth, header.nHeight, header.nBitCount);
}

OutputArea::OutputArea(ParameterBlock& block) : m_queue(block.output)
{
    unsigned char* pWrite = m_queue.write.get();
    unsigned char* pEnd = m_queue.end.get();
    if (!pWrite || !pEnd || pEnd < pWrite)
        throw CodecError(statusOutputTooSmall);
}

std::size_t OutputArea::getFreeSpace() const
{
    return static_cast<std::size_t>(m_queue.end.get() - m_queue.write.get());
}

unsigned char* OutputArea::reserve(std::size_t nByteCount) const
{
    if (nByteCount > getFreeSpace())
        throw CodecError(statusOutputTooSmall);
    return m_queue.write.get();
}

void OutputArea::commit(std::size_t nByteCount)
{
    m_queue.write.set(reserve(nByteCount) + nByteCount);
}

void yieldToCaller(ParameterBlock& block)
{
    YieldFunction* pfnYield = block.yield.get();
    if (pfnYield && pfnYield(&block) != 0) {
        block.nFlags |= flagInterrupted;
        throw CodecError(statusInterrupted);
    }
}

std::int32_t runModulePhase(ParameterBlock& block, std::int32_t nPhase, ExecuteFunction pfnExecute)
{
    if (nPhase != phaseExecute)
        return responseDone;
    try {
        pfnExecute(block);
        return responseDone;
    } catch (const CodecError& error) {
        block.nStatus = error.getStatus();
    } catch (const std::bad_alloc&) {
        block.nStatus = statusOutOfMemory;
    } catch (const core::exception::BaseException&) {
        block.nStatus = statusModuleFailure;
    }
    return responseError;
}

}

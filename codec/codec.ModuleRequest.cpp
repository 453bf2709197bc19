#include "codec/codec.ModuleRequest.h"

#include "core/exception.BaseException.h"

#include <new>

namespace velmo::codec {

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

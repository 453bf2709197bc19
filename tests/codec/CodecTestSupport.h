#ifndef VELMO_TESTS_CODEC_CODECTESTSUPPORT_H
#define VELMO_TESTS_CODEC_CODECTESTSUPPORT_H

#include "codec/codec.Engine.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace codectest {

using velmo::codec::ParameterBlock;

// A bottom-up bitmap owned by a test; rows addressed top-down.
struct TestDib {
    TestDib(std::int32_t nWidth, std::int32_t nHeight, std::int32_t nBitCount);

    unsigned char* row(std::int32_t nTopDownRow);
    const unsigned char* row(std::int32_t nTopDownRow) const;
    bool isSet(std::int32_t x, std::int32_t y) const;
    void setPixel(std::int32_t x, std::int32_t y, unsigned char nBlue, unsigned char nGreen, unsigned char nRed);

    velmo::codec::DibHeader header{};
    std::size_t nStride;
    std::vector<unsigned char> bits;
    std::vector<velmo::codec::ColourEntry> palette;
};

struct OperationResult {
    std::int32_t nResponse = 0;
    std::int32_t nStatus = 0;
    std::vector<unsigned char> output;
    ParameterBlock block{};
};

// Runs start, execute and finish on the process engine (its modules registered for the
// calling thread) and keeps the bytes written to an output area of nOutputSize bytes.
OperationResult runOperation(std::uint32_t nOpcode, const TestDib& input, std::size_t nOutputSize,
                             const std::function<void(ParameterBlock&)>& setUp);

// The output of a scale or reduce operation as a bitmap with the header it returned.
TestDib outputImage(const OperationResult& result, const velmo::codec::DibHeader& header);

// A 24-bit image whose samples come from a small generator, for repeatable content.
TestDib makeNoiseImage(std::int32_t nWidth, std::int32_t nHeight, std::int32_t nBitCount, std::uint32_t nSeed);

// A 24-bit picture with smooth shading, edges and fine grain, like a photograph.
TestDib makePhotoImage(std::int32_t nWidth, std::int32_t nHeight);

}

#endif

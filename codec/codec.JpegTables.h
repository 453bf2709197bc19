#ifndef VELMO_CODEC_JPEGTABLES_H
#define VELMO_CODEC_JPEGTABLES_H

#include <array>
#include <cstdint>

// The example tables of ITU-T T.81 (JPEG), Annex K, which baseline encoders use.
namespace velmo::codec::jpeg {

// Quantisation tables in natural (row-major) order.
extern const std::array<std::uint8_t, 64> kLuminanceQuantisation;   // Table K.1
extern const std::array<std::uint8_t, 64> kChrominanceQuantisation; // Table K.2

// A Huffman table as a DHT segment carries it: the number of codes of each length 1..16,
// then the symbols in code order.
struct HuffmanSpec {
    std::array<std::uint8_t, 16> counts;
    const std::uint8_t* pSymbols;
    int nSymbolCount;
};

extern const HuffmanSpec kLuminanceDc;   // Table K.3
extern const HuffmanSpec kChrominanceDc; // Table K.4
extern const HuffmanSpec kLuminanceAc;   // Table K.5
extern const HuffmanSpec kChrominanceAc; // Table K.6

// kZigzag[k]: natural index of the k-th coefficient in zigzag order (T.81, Figure A.6).
extern const std::array<std::uint8_t, 64> kZigzag;

}

#endif

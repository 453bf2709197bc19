#ifndef VELMO_CODEC_JPEGENCODER_H
#define VELMO_CODEC_JPEGENCODER_H

#include "codec/codec.ByteSink.h"
#include "codec/codec.DibView.h"
#include "codec/codec.JpegTables.h"

#include <array>
#include <vector>

namespace velmo::codec {

// Where the parts of a written JPEG stream lie in the sink, for the TIFF fields that
// point into it.
struct JpegStreamLayout {
    std::size_t nStreamBegin = 0;
    std::size_t nStreamEnd = 0;
    std::size_t nScanBegin = 0;
    std::size_t nScanEnd = 0;
    // Luminance, then chrominance: the 64 zigzag values of each DQT table, and the counts
    // followed by the symbols of each DHT table.
    std::size_t quantisationTables[2] = {};
    std::size_t dcTables[2] = {};
    std::size_t acTables[2] = {};
};

// A baseline sequential JPEG (ITU-T T.81) of a 24-bit bitmap: YCbCr with chrominance
// subsampled 2x2, the Annex K Huffman tables, and the Annex K quantisation tables scaled
// by factor / 32 (16 gives half the table, as "quality 75" does).
class JpegEncoder {
public:
    JpegEncoder(ByteSink& sink, const DibView& image, std::int32_t nLumaFactor, std::int32_t nChromaFactor);

    // Rows of 16-pixel blocks to encode; encodeBand(i) for each i in turn, then finish().
    std::int32_t getBandCount() const { return (m_image.getHeight() + 15) / 16; }
    void encodeBand(std::int32_t nBand);
    const JpegStreamLayout& finish();

    // The Annex K table scaled by factor / 32, rounded, kept within 1..255.
    static std::array<std::uint8_t, 64> scaleQuantisation(const std::array<std::uint8_t, 64>& table, std::int32_t nFactor);

private:
    struct HuffmanCode {
        std::uint32_t nCode = 0;
        int nLength = 0;
    };
    using HuffmanCodes = std::array<HuffmanCode, 256>;
    using Block = std::array<float, 64>;

    class BitWriter {
    public:
        void put(std::uint32_t nBits, int nLength)
        {
            m_nBuffer = m_nBuffer << nLength | nBits;
            m_nCount += nLength;
            if (m_nCount >= 32)
                drain();
        }
        void put(const HuffmanCode& code) { put(code.nCode, code.nLength); }
        // Pads the last byte with one-bits.
        void padToByte();
        std::vector<unsigned char>& getBytes() { return m_bytes; }

    private:
        void drain();

        std::uint64_t m_nBuffer = 0;
        int m_nCount = 0;
        std::vector<unsigned char> m_bytes;
    };

    static HuffmanCodes makeCodes(const jpeg::HuffmanSpec& huffman);
    static std::array<float, 64> makeDivisors(const std::array<std::uint8_t, 64>& table);

    void writeHeaders();
    void writeQuantisationTable(int nIndex, const std::array<std::uint8_t, 64>& table);
    void writeHuffmanTable(int nClassAndIndex, const jpeg::HuffmanSpec& huffman, std::size_t& nPosition);
    void convertBand(std::int32_t nBand);
    void encodeBlock(const float* pPlane, std::size_t nPlaneStride, const std::array<float, 64>& divisors, int& nLastDc,
                     const HuffmanCodes& dcCodes, const HuffmanCodes& acCodes);

    ByteSink& m_sink;
    const DibView& m_image;
    JpegStreamLayout m_layout;
    std::array<std::uint8_t, 64> m_luminanceTable;
    std::array<std::uint8_t, 64> m_chrominanceTable;
    std::array<float, 64> m_luminanceDivisors;
    std::array<float, 64> m_chrominanceDivisors;
    HuffmanCodes m_luminanceDc;
    HuffmanCodes m_luminanceAc;
    HuffmanCodes m_chrominanceDc;
    HuffmanCodes m_chrominanceAc;
    // One band: luminance at full size, chrominance at half, all level-shifted.
    std::size_t m_nLumaStride;
    std::size_t m_nChromaStride;
    std::vector<float> m_luma;
    std::vector<float> m_blueDifference;
    std::vector<float> m_redDifference;
    int m_lastDc[3] = {};
    BitWriter m_bits;
};

}

#endif

#include "codec/codec.JpegEncoder.h"

#include <algorithm>
#include <cmath>

namespace velmo::codec {

namespace {

enum Marker : unsigned {
    markerStartOfImage = 0xFFD8,
    markerEndOfImage = 0xFFD9,
    markerQuantisationTables = 0xFFDB,
    markerBaselineFrame = 0xFFC0,
    markerHuffmanTables = 0xFFC4,
    markerStartOfScan = 0xFFDA,
};

constexpr int kLargestCategoryValue = 4095;
constexpr std::uint64_t kDeBruijn64 = 0x03F79D71B4CB0A89ull;

// Magnitude category (T.81, F.1.2.1.1): the number of bits of |v|.
const std::array<std::uint8_t, kLargestCategoryValue + 1>& getCategories()
{
    static const std::array<std::uint8_t, kLargestCategoryValue + 1> categories = [] {
        std::array<std::uint8_t, kLargestCategoryValue + 1> table{};
        for (int v = 1; v <= kLargestCategoryValue; ++v)
            table[v] = static_cast<std::uint8_t>(table[v / 2] + 1);
        return table;
    }();
    return categories;
}

// Arai, Agui and Nakajima's scaled 8-point DCT (1988) on 8 values spaced nStep apart. The
// outputs are the true coefficients times 8 s(k), s(0) = 1, s(k) = cos(k pi / 16) sqrt 2;
// the quantisation divisors take the scale out.
void transform8(float* p, int nStep)
{
    const float tmp0 = p[0] + p[7 * nStep];
    const float tmp7 = p[0] - p[7 * nStep];
    const float tmp1 = p[nStep] + p[6 * nStep];
    const float tmp6 = p[nStep] - p[6 * nStep];
    const float tmp2 = p[2 * nStep] + p[5 * nStep];
    const float tmp5 = p[2 * nStep] - p[5 * nStep];
    const float tmp3 = p[3 * nStep] + p[4 * nStep];
    const float tmp4 = p[3 * nStep] - p[4 * nStep];

    // Even part.
    const float tmp10 = tmp0 + tmp3;
    const float tmp13 = tmp0 - tmp3;
    const float tmp11 = tmp1 + tmp2;
    const float tmp12 = tmp1 - tmp2;
    p[0] = tmp10 + tmp11;
    p[4 * nStep] = tmp10 - tmp11;
    const float z1 = (tmp12 + tmp13) * 0.707106781f;
    p[2 * nStep] = tmp13 + z1;
    p[6 * nStep] = tmp13 - z1;

    // Odd part.
    const float odd10 = tmp4 + tmp5;
    const float odd11 = tmp5 + tmp6;
    const float odd12 = tmp6 + tmp7;
    const float z5 = (odd10 - odd12) * 0.382683433f;
    const float z2 = 0.541196100f * odd10 + z5;
    const float z4 = 1.306562965f * odd12 + z5;
    const float z3 = odd11 * 0.707106781f;
    const float z11 = tmp7 + z3;
    const float z13 = tmp7 - z3;
    p[5 * nStep] = z13 + z2;
    p[3 * nStep] = z13 - z2;
    p[nStep] = z11 + z4;
    p[7 * nStep] = z11 - z4;
}

// The index of the lowest set bit of a non-zero value: the bit isolated and multiplied by
// a de Bruijn sequence, whose top six bits then name it (Leiserson, Prokop and Randall,
// "Using de Bruijn sequences to index a 1 in a computer word", 1998).
constexpr std::array<std::uint8_t, 64> makeDeBruijnPositions()
{
    std::array<std::uint8_t, 64> table{};
    for (int i = 0; i < 64; ++i)
        table[(kDeBruijn64 << i) >> 58] = static_cast<std::uint8_t>(i);
    return table;
}

constexpr std::array<std::uint8_t, 64> kDeBruijnPositions = makeDeBruijnPositions();

int countTrailingZeros(std::uint64_t nValue)
{
    return kDeBruijnPositions[((nValue & (~nValue + 1)) * kDeBruijn64) >> 58];
}

int roundToInt(float v)
{
    return static_cast<int>(v + 16384.5f) - 16384;
}

}

void JpegEncoder::BitWriter::drain()
{
    while (m_nCount >= 8) {
        m_nCount -= 8;
        const auto nByte = static_cast<unsigned char>(m_nBuffer >> m_nCount);
        m_bytes.push_back(nByte);
        // A 0xFF in entropy-coded data is followed by a stuffed zero (T.81, F.1.2.3).
        if (nByte == 0xFF)
            m_bytes.push_back(0);
    }
}

void JpegEncoder::BitWriter::padToByte()
{
    const int nPadding = (8 - m_nCount % 8) % 8;
    put((1u << nPadding) - 1, nPadding);
    drain();
}

JpegEncoder::HuffmanCodes JpegEncoder::makeCodes(const jpeg::HuffmanSpec& huffman)
{
    // Codes of each length count up from the previous length's next code, shifted (T.81, C.2).
    HuffmanCodes codes{};
    std::uint32_t nCode = 0;
    int nSymbol = 0;
    for (int nLength = 1; nLength <= 16; ++nLength) {
        for (int i = 0; i < huffman.counts[nLength - 1]; ++i)
            codes[huffman.pSymbols[nSymbol++]] = HuffmanCode{nCode++, nLength};
        nCode <<= 1;
    }
    return codes;
}

std::array<std::uint8_t, 64> JpegEncoder::scaleQuantisation(const std::array<std::uint8_t, 64>& table, std::int32_t nFactor)
{
    std::array<std::uint8_t, 64> scaled{};
    for (int i = 0; i < 64; ++i) {
        const std::int64_t nValue = (static_cast<std::int64_t>(table[i]) * nFactor + 16) / 32;
        scaled[i] = static_cast<std::uint8_t>(std::clamp<std::int64_t>(nValue, 1, 255));
    }
    return scaled;
}

std::array<float, 64> JpegEncoder::makeDivisors(const std::array<std::uint8_t, 64>& table)
{
    const double kPi = 3.14159265358979323846;
    double aanScale[8];
    aanScale[0] = 1.0;
    for (int k = 1; k < 8; ++k)
        aanScale[k] = std::cos(k * kPi / 16) * std::sqrt(2.0);
    std::array<float, 64> divisors{};
    for (int row = 0; row < 8; ++row) {
        for (int column = 0; column < 8; ++column)
            divisors[row * 8 + column] = static_cast<float>(1.0 / (table[row * 8 + column] * aanScale[row] * aanScale[column] * 8.0));
    }
    return divisors;
}

JpegEncoder::JpegEncoder(ByteSink& sink, const DibView& image, std::int32_t nLumaFactor, std::int32_t nChromaFactor)
    : m_sink(sink), m_image(image),
      m_luminanceTable(scaleQuantisation(jpeg::kLuminanceQuantisation, nLumaFactor)),
      m_chrominanceTable(scaleQuantisation(jpeg::kChrominanceQuantisation, nChromaFactor)),
      m_luminanceDivisors(makeDivisors(m_luminanceTable)), m_chrominanceDivisors(makeDivisors(m_chrominanceTable)),
      m_luminanceDc(makeCodes(jpeg::kLuminanceDc)), m_luminanceAc(makeCodes(jpeg::kLuminanceAc)),
      m_chrominanceDc(makeCodes(jpeg::kChrominanceDc)), m_chrominanceAc(makeCodes(jpeg::kChrominanceAc)),
      m_nLumaStride((static_cast<std::size_t>(image.getWidth()) + 15) / 16 * 16), m_nChromaStride(m_nLumaStride / 2),
      m_luma(m_nLumaStride * 16), m_blueDifference(m_nChromaStride * 8), m_redDifference(m_nChromaStride * 8)
{
    if (image.getBitCount() != 24)
        throw CodecError(statusUnsupportedDepth);
    writeHeaders();
}

void JpegEncoder::writeQuantisationTable(int nIndex, const std::array<std::uint8_t, 64>& table)
{
    m_sink.putByte(static_cast<unsigned>(nIndex));
    m_layout.quantisationTables[nIndex] = m_sink.getPosition();
    for (std::uint8_t nNatural : jpeg::kZigzag)
        m_sink.putByte(table[nNatural]);
}

void JpegEncoder::writeHuffmanTable(int nClassAndIndex, const jpeg::HuffmanSpec& huffman, std::size_t& nPosition)
{
    m_sink.putByte(static_cast<unsigned>(nClassAndIndex));
    nPosition = m_sink.getPosition();
    m_sink.putBytes(huffman.counts.data(), huffman.counts.size());
    m_sink.putBytes(huffman.pSymbols, static_cast<std::size_t>(huffman.nSymbolCount));
}

void JpegEncoder::writeHeaders()
{
    m_layout.nStreamBegin = m_sink.getPosition();
    m_sink.putUint16BigEndian(markerStartOfImage);

    m_sink.putUint16BigEndian(markerQuantisationTables);
    m_sink.putUint16BigEndian(2 + 2 * 65);
    writeQuantisationTable(0, m_luminanceTable);
    writeQuantisationTable(1, m_chrominanceTable);

    // Frame: 8-bit samples; Y sampled 2x2 with table 0, Cb and Cr 1x1 with table 1.
    m_sink.putUint16BigEndian(markerBaselineFrame);
    m_sink.putUint16BigEndian(8 + 3 * 3);
    m_sink.putByte(8);
    m_sink.putUint16BigEndian(static_cast<unsigned>(m_image.getHeight()));
    m_sink.putUint16BigEndian(static_cast<unsigned>(m_image.getWidth()));
    m_sink.putByte(3);
    const unsigned char components[] = {1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1};
    m_sink.putBytes(components, sizeof components);

    m_sink.putUint16BigEndian(markerHuffmanTables);
    m_sink.putUint16BigEndian(static_cast<unsigned>(2 + 4 * 17 + 2 * jpeg::kLuminanceDc.nSymbolCount +
                                                    jpeg::kLuminanceAc.nSymbolCount + jpeg::kChrominanceAc.nSymbolCount));
    writeHuffmanTable(0x00, jpeg::kLuminanceDc, m_layout.dcTables[0]);
    writeHuffmanTable(0x10, jpeg::kLuminanceAc, m_layout.acTables[0]);
    writeHuffmanTable(0x01, jpeg::kChrominanceDc, m_layout.dcTables[1]);
    writeHuffmanTable(0x11, jpeg::kChrominanceAc, m_layout.acTables[1]);

    // One interleaved scan of all coefficients.
    m_sink.putUint16BigEndian(markerStartOfScan);
    m_sink.putUint16BigEndian(6 + 2 * 3);
    const unsigned char scan[] = {3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0};
    m_sink.putBytes(scan, sizeof scan);
    m_layout.nScanBegin = m_sink.getPosition();
}

// Colour conversion of T.871 (JFIF), in 16-bit fixed point: Y from each pixel; Cb and Cr
// from the sums of each 2x2 group, which equal the sums of the pixels' own values. Pixels
// beyond the picture repeat its last column and row.
namespace {

constexpr int kYRed = 19595, kYGreen = 38470, kYBlue = 7471;               // 0.299, 0.587, 0.114
constexpr int kCbRed = -11059, kCbGreen = -21709, kCbBlue = 32768;         // -0.168736, -0.331264, 0.5
constexpr int kCrRed = 32768, kCrGreen = -27439, kCrBlue = -5329;          // 0.5, -0.418688, -0.081312
constexpr float kFixedToLevel = 1.0f / 65536;
constexpr float kGroupSumToLevel = 1.0f / (4 * 65536);

// The luminance of a BGR pixel, level-shifted.
inline float toLuma(const unsigned char* p)
{
    return static_cast<float>(kYRed * p[2] + kYGreen * p[1] + kYBlue * p[0]) * kFixedToLevel - 128.0f;
}

}

void JpegEncoder::convertBand(std::int32_t nBand)
{
    const std::size_t nWidth = static_cast<std::size_t>(m_image.getWidth());
    const std::int32_t nLastRow = m_image.getHeight() - 1;
    // Groups whose two columns both lie inside the picture, then the rest with clamping.
    const std::size_t nWholeGroups = std::min(m_nChromaStride, nWidth / 2);
    for (std::int32_t nPair = 0; nPair < 8; ++nPair) {
        const std::int32_t y = nBand * 16 + 2 * nPair;
        const unsigned char* const pTop = m_image.getRow(std::min(y, nLastRow));
        const unsigned char* const pBottom = m_image.getRow(std::min(y + 1, nLastRow));
        float* const pLumaTop = &m_luma[2 * nPair * m_nLumaStride];
        float* const pLumaBottom = pLumaTop + m_nLumaStride;
        float* const pBlue = &m_blueDifference[nPair * m_nChromaStride];
        float* const pRed = &m_redDifference[nPair * m_nChromaStride];
        auto convertGroup = [&](std::size_t cx, std::size_t x0, std::size_t x1) {
            const unsigned char* pixels[4] = {pTop + 3 * x0, pTop + 3 * x1, pBottom + 3 * x0, pBottom + 3 * x1};
            pLumaTop[2 * cx] = toLuma(pixels[0]);
            pLumaTop[2 * cx + 1] = toLuma(pixels[1]);
            pLumaBottom[2 * cx] = toLuma(pixels[2]);
            pLumaBottom[2 * cx + 1] = toLuma(pixels[3]);
            const int nRed = pixels[0][2] + pixels[1][2] + pixels[2][2] + pixels[3][2];
            const int nGreen = pixels[0][1] + pixels[1][1] + pixels[2][1] + pixels[3][1];
            const int nBlue = pixels[0][0] + pixels[1][0] + pixels[2][0] + pixels[3][0];
            pBlue[cx] = static_cast<float>(kCbRed * nRed + kCbGreen * nGreen + kCbBlue * nBlue) * kGroupSumToLevel;
            pRed[cx] = static_cast<float>(kCrRed * nRed + kCrGreen * nGreen + kCrBlue * nBlue) * kGroupSumToLevel;
        };
        for (std::size_t cx = 0; cx < nWholeGroups; ++cx)
            convertGroup(cx, 2 * cx, 2 * cx + 1);
        for (std::size_t cx = nWholeGroups; cx < m_nChromaStride; ++cx)
            convertGroup(cx, std::min(2 * cx, nWidth - 1), std::min(2 * cx + 1, nWidth - 1));
    }
}

void JpegEncoder::encodeBlock(const float* pPlane, std::size_t nPlaneStride, const std::array<float, 64>& divisors, int& nLastDc,
                              const HuffmanCodes& dcCodes, const HuffmanCodes& acCodes)
{
    Block block;
    for (int row = 0; row < 8; ++row)
        std::copy(pPlane + row * nPlaneStride, pPlane + row * nPlaneStride + 8, block.begin() + row * 8);
    for (int row = 0; row < 8; ++row)
        transform8(&block[row * 8], 1);
    for (int column = 0; column < 8; ++column)
        transform8(&block[column], 8);
    // Quantised coefficients in zigzag order, and a bit per non-zero one, so that the runs
    // of zeros are skipped by counting bits rather than tested one by one.
    int zigzag[64];
    std::uint64_t nNonZero = 0;
    for (int k = 0; k < 64; ++k) {
        const int nNatural = jpeg::kZigzag[k];
        zigzag[k] = roundToInt(block[nNatural] * divisors[nNatural]);
        nNonZero |= static_cast<std::uint64_t>(zigzag[k] != 0) << k;
    }

    const auto& categories = getCategories();
    // DC: the difference to the previous block's, as category and extra bits (T.81, F.1.2.1).
    const int nDifference = zigzag[0] - nLastDc;
    nLastDc = zigzag[0];
    const int nDcCategory = categories[std::min(std::abs(nDifference), kLargestCategoryValue)];
    m_bits.put(dcCodes[nDcCategory]);
    if (nDcCategory)
        m_bits.put(static_cast<std::uint32_t>(nDifference < 0 ? nDifference - 1 : nDifference) & ((1u << nDcCategory) - 1), nDcCategory);

    // AC: zero runs and values in zigzag order (T.81, F.1.2.2), 0xF0 for sixteen zeros,
    // 0x00 for the rest of the block.
    int nPrevious = 0;
    for (std::uint64_t nBits = nNonZero & ~std::uint64_t{1}; nBits; nBits &= nBits - 1) {
        const int k = countTrailingZeros(nBits);
        int nRun = k - nPrevious - 1;
        for (; nRun > 15; nRun -= 16)
            m_bits.put(acCodes[0xF0]);
        const int nValue = zigzag[k];
        const int nCategory = categories[std::min(std::abs(nValue), 1023)];
        m_bits.put(acCodes[(nRun << 4) | nCategory]);
        m_bits.put(static_cast<std::uint32_t>(nValue < 0 ? nValue - 1 : nValue) & ((1u << nCategory) - 1), nCategory);
        nPrevious = k;
    }
    if (nPrevious != 63)
        m_bits.put(acCodes[0x00]);
}

void JpegEncoder::encodeBand(std::int32_t nBand)
{
    convertBand(nBand);
    for (std::size_t x = 0; x < m_nLumaStride; x += 16) {
        const float* pLuma = &m_luma[x];
        encodeBlock(pLuma, m_nLumaStride, m_luminanceDivisors, m_lastDc[0], m_luminanceDc, m_luminanceAc);
        encodeBlock(pLuma + 8, m_nLumaStride, m_luminanceDivisors, m_lastDc[0], m_luminanceDc, m_luminanceAc);
        encodeBlock(pLuma + 8 * m_nLumaStride, m_nLumaStride, m_luminanceDivisors, m_lastDc[0], m_luminanceDc, m_luminanceAc);
        encodeBlock(pLuma + 8 * m_nLumaStride + 8, m_nLumaStride, m_luminanceDivisors, m_lastDc[0], m_luminanceDc, m_luminanceAc);
        encodeBlock(&m_blueDifference[x / 2], m_nChromaStride, m_chrominanceDivisors, m_lastDc[1], m_chrominanceDc, m_chrominanceAc);
        encodeBlock(&m_redDifference[x / 2], m_nChromaStride, m_chrominanceDivisors, m_lastDc[2], m_chrominanceDc, m_chrominanceAc);
    }
    std::vector<unsigned char>& bytes = m_bits.getBytes();
    m_sink.putBytes(bytes.data(), bytes.size());
    bytes.clear();
}

const JpegStreamLayout& JpegEncoder::finish()
{
    m_bits.padToByte();
    std::vector<unsigned char>& bytes = m_bits.getBytes();
    m_sink.putBytes(bytes.data(), bytes.size());
    bytes.clear();
    m_layout.nScanEnd = m_sink.getPosition();
    m_sink.putUint16BigEndian(markerEndOfImage);
    m_layout.nStreamEnd = m_sink.getPosition();
    return m_layout;
}

}

#include "lib/TestStreams.h"
#include "lib/graphics.BitmapDecoderStream.h"
#include "lib/graphics.BitmapEncoderStream.h"

#include <gtest/gtest.h>

#include <random>

using namespace velmo::tests;
using velmo::lib::graphics::BitmapDecoderStream;
using velmo::lib::graphics::BitmapEncoderStream;

namespace {

using Values = std::vector<std::uint16_t>;

Values decodeRows(std::int32_t nWidth, const std::vector<unsigned char>& rows, bool bReverse = false)
{
    VectorStream sink;
    BitmapDecoderStream decoder;
    decoder.initialise(&sink, nWidth, bReverse);
    // One byte per write: rows and runs straddle the writes.
    for (unsigned char nByte : rows)
        decoder.writeData(&nByte, 0, 1);
    return sink.values();
}

std::vector<unsigned char> encodeRuns(std::int32_t nWidth, const Values& runs)
{
    VectorStream sink;
    BitmapEncoderStream encoder;
    encoder.initialise(&sink, nWidth);
    writeValues(encoder, runs);
    encoder.flush();
    return sink.bytes();
}

TEST(BitmapDecoder, TurnsRowsIntoRunsIgnoringPadBits)
{
    EXPECT_EQ(decodeRows(10, {0xFF, 0xC0}), (Values{0, 10, 0xFFFF}));
    EXPECT_EQ(decodeRows(10, {0x00, 0x3F}), (Values{10, 0, 0xFFFF}));
    EXPECT_EQ(decodeRows(12, {0x1E, 0x0F, 0xF0, 0x00}), (Values{3, 4, 5, 0, 0xFFFF, 0, 4, 8, 0, 0xFFFF}));
    EXPECT_EQ(decodeRows(12, {0x78, 0xF0}, true), (Values{3, 4, 5, 0, 0xFFFF})) << "FillOrder 2";
}

TEST(BitmapEncoder, WritesWholeRowsOfTheWidth)
{
    EXPECT_EQ(encodeRuns(12, {3, 4, 5, 0, 0xFFFF}), (std::vector<unsigned char>{0x1E, 0x00}));
    // Pixels past the width are dropped; a short row is completed with white.
    EXPECT_EQ(encodeRuns(12, {3, 20, 5, 0xFFFF, 2, 2, 0xFFFF}), (std::vector<unsigned char>{0x1F, 0xF0, 0x30, 0x00}));
}

TEST(BitmapStreams, RoundTripRandomRows)
{
    std::mt19937 random(7);
    for (std::int32_t nWidth : {1, 7, 8, 9, 17, 64, 1700, 1728}) {
        SCOPED_TRACE(nWidth);
        std::int32_t nRowBytes = (nWidth + 7) / 8;
        std::vector<unsigned char> rows(static_cast<std::size_t>(nRowBytes * 6));
        for (std::size_t i = 0; i < rows.size(); ++i) {
            // Mostly runs, some noise; pad bits cleared.
            rows[i] = static_cast<unsigned char>(random() % 3 == 0 ? random() : (random() & 1) * 0xFF);
            if (static_cast<std::int32_t>(i % static_cast<std::size_t>(nRowBytes)) == nRowBytes - 1 && nWidth % 8)
                rows[i] = static_cast<unsigned char>(rows[i] & (0xFF00 >> (nWidth % 8)));
        }
        EXPECT_EQ(encodeRuns(nWidth, decodeRows(nWidth, rows)), rows);
        EXPECT_EQ(encodeRuns(nWidth, decodeRows(nWidth, reversedBits(rows), true)), rows);
        // Chained, the decoder hands each row to the encoder as changing elements.
        VectorStream sink;
        BitmapEncoderStream encoder;
        encoder.initialise(&sink, nWidth);
        BitmapDecoderStream decoder;
        decoder.initialise(&encoder, nWidth, false);
        decoder.writeData(rows.data(), 0, static_cast<std::int32_t>(rows.size()));
        EXPECT_EQ(sink.bytes(), rows) << "as changing elements";
    }
}

TEST(BitmapEncoder, TakesLinesAsChangingElements)
{
    struct Case {
        const char* pszName;
        std::int32_t nWidth;
        std::vector<std::int32_t> elements;
        std::vector<unsigned char> row;
    };
    const Case cases[] = {
        {"white line", 12, {12}, {0x00, 0x00}},
        {"starting black", 12, {0, 3, 12}, {0xE0, 0x00}},
        {"ending black", 12, {9, 12}, {0x00, 0x70}},
        {"runs inside a byte and across bytes", 20, {1, 3, 6, 10, 20}, {0x63, 0xC0, 0x00}},
        {"a run across bytes up to the width", 12, {5, 12}, {0x07, 0xF0}},
        {"a run over four bytes", 40, {3, 33, 40}, {0x1F, 0xFF, 0xFF, 0xFF, 0x80}},
        {"a run of the whole line", 45, {0, 45}, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xF8}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        VectorStream sink;
        BitmapEncoderStream encoder;
        encoder.initialise(&sink, c.nWidth);
        encoder.writeChangingElements(c.elements.data(), static_cast<std::int32_t>(c.elements.size()));
        // A line of runs after it starts from a white row.
        writeValues(encoder, {static_cast<std::uint16_t>(c.nWidth), 0, 0xFFFF});
        std::vector<unsigned char> expected = c.row;
        expected.resize(2 * c.row.size());
        EXPECT_EQ(sink.bytes(), expected);
    }
}

}

// The codec engine on whole pages: 200-dpi pages reduced to 1 bit and coded as Group 4,
// a 600-dpi page scaled to 200 dpi, and a photograph page as JPEG at the quantisation of
// cjpeg -quality 75. bench/codec.sh renders real pages, hands them over in
// CODEC_BENCH_PAGE200 and CODEC_BENCH_PAGE600 (PPM files) and runs the same work through
// netpbm, ImageMagick and cjpeg; without them the document pages are drawn here.
#include "codec/codec.Engine.h"
#include "codec/codec.ReduceModule.h"
#include "codec/codec.ScaleModule.h"
#include "codec/codec.TiffModule.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace velmo::codec;

namespace {

// A bottom-up 24-bit page.
struct Page {
    Page(std::int32_t nWidth, std::int32_t nHeight)
        : nStride((static_cast<std::size_t>(nWidth) * 3 + 3) / 4 * 4), bits(nStride * static_cast<std::size_t>(nHeight), 255)
    {
        header.nSize = sizeof(DibHeader);
        header.nWidth = nWidth;
        header.nHeight = nHeight;
        header.nPlanes = 1;
        header.nBitCount = 24;
        header.nXPelsPerMeter = header.nYPelsPerMeter = 7874;
    }
    unsigned char* pixel(std::int32_t x, std::int32_t y)
    {
        return bits.data() + static_cast<std::size_t>(header.nHeight - 1 - y) * nStride + 3 * static_cast<std::size_t>(x);
    }

    DibHeader header{};
    std::size_t nStride;
    std::vector<unsigned char> bits;
};

void paintGrey(Page& page, std::int32_t x, std::int32_t y, unsigned char nLevel)
{
    std::memset(page.pixel(x, y), nLevel, 3);
}

// A binary PPM (P6, maximum 255) as a page; an empty page when the file is not one.
Page readPpm(const char* pszPath)
{
    std::ifstream in(pszPath, std::ios::binary);
    std::string magic;
    std::int32_t nWidth = 0, nHeight = 0, nMaximum = 0;
    in >> magic >> nWidth >> nHeight >> nMaximum;
    in.get();
    if (magic != "P6" || nMaximum != 255 || nWidth < 1 || nHeight < 1 || nWidth > 20000 || nHeight > 20000)
        return Page(1, 1);
    Page page(nWidth, nHeight);
    std::vector<char> row(static_cast<std::size_t>(nWidth) * 3);
    for (std::int32_t y = 0; y < nHeight && in.read(row.data(), static_cast<std::streamsize>(row.size())); ++y) {
        for (std::int32_t x = 0; x < nWidth; ++x) {
            unsigned char* p = page.pixel(x, y);
            p[0] = static_cast<unsigned char>(row[3 * x + 2]);
            p[1] = static_cast<unsigned char>(row[3 * x + 1]);
            p[2] = static_cast<unsigned char>(row[3 * x]);
        }
    }
    return page;
}

// Lines of glyph-like strokes with grey edges, a grey ramp and a photograph region, as a
// rendered 200-dpi document looks.
Page drawDocumentPage()
{
    Page page(1700, 2200);
    std::uint32_t nState = 99;
    auto next = [&](std::uint32_t nRange) {
        nState = nState * 1664525u + 1013904223u;
        return (nState >> 8) % nRange;
    };
    for (std::int32_t nLine = 150; nLine < 1500; nLine += 34) {
        for (std::int32_t x = 150; x < 1550;) {
            const auto nGlyphWidth = static_cast<std::int32_t>(6 + next(10));
            const auto nGlyphHeight = static_cast<std::int32_t>(12 + next(8));
            for (std::int32_t gy = 0; gy < nGlyphHeight; ++gy) {
                for (std::int32_t gx = 0; gx < nGlyphWidth; ++gx) {
                    const bool bEdge = gx == 0 || gy == 0 || gx == nGlyphWidth - 1 || gy == nGlyphHeight - 1;
                    const bool bStroke = gx < 3 || gy < 3 || gx >= nGlyphWidth - 3 || bEdge;
                    if (bStroke)
                        paintGrey(page, x + gx, nLine + 20 - nGlyphHeight + gy, bEdge ? 140 : 0);
                }
            }
            x += nGlyphWidth + 3 + (next(6) == 0 ? 12 : 0);
        }
    }
    for (std::int32_t y = 1550; y < 1650; ++y) {
        for (std::int32_t x = 150; x < 1550; ++x)
            paintGrey(page, x, y, static_cast<unsigned char>((x - 150) * 255 / 1400));
    }
    for (std::int32_t y = 1700; y < 2100; ++y) {
        for (std::int32_t x = 150; x < 750; ++x) {
            unsigned char* p = page.pixel(x, y);
            p[2] = static_cast<unsigned char>(128 + 100 * std::sin(x / 37.0) * std::cos(y / 23.0));
            p[1] = static_cast<unsigned char>(40 + (y - 1700) * 170 / 400);
            p[0] = static_cast<unsigned char>(200 - (x - 150) / 5);
        }
    }
    return page;
}

// The photograph in CODEC_BENCH_PHOTO, or smooth shading, edges and grain drawn here.
Page makePhotoPage()
{
    if (const char* pszPath = std::getenv("CODEC_BENCH_PHOTO"))
        return readPpm(pszPath);
    Page page(1700, 2200);
    std::uint32_t nState = 12345;
    for (std::int32_t y = 0; y < 2200; ++y) {
        for (std::int32_t x = 0; x < 1700; ++x) {
            nState = nState * 1664525u + 1013904223u;
            const int nGrain = static_cast<int>(nState >> 28) - 8;
            const double dShade = 100.0 * std::sin(x / 37.0) * std::cos(y / 23.0);
            auto clampSample = [](double v) { return static_cast<unsigned char>(std::fmin(255.0, std::fmax(0.0, v))); };
            unsigned char* p = page.pixel(x, y);
            p[2] = clampSample(128 + dShade + nGrain + ((x - 560) * (x - 560) + (y - 1100) * (y - 1100) < 250000 ? 60 : 0));
            p[1] = clampSample(40 + 170.0 * y / 2200 + nGrain);
            p[0] = clampSample(200 - 120.0 * x / 1700 - 0.5 * dShade + nGrain);
        }
    }
    return page;
}

Page makeDocumentPage()
{
    const char* pszPath = std::getenv("CODEC_BENCH_PAGE200");
    return pszPath ? readPpm(pszPath) : drawDocumentPage();
}

// The rendered 600-dpi page, or every pixel of the drawn 200-dpi page three by three.
Page makeDocumentPage600()
{
    if (const char* pszPath = std::getenv("CODEC_BENCH_PAGE600"))
        return readPpm(pszPath);
    const Page source = drawDocumentPage();
    Page page(5100, 6600);
    for (std::int32_t y = 0; y < 6600; ++y) {
        const unsigned char* pSource = source.bits.data() + static_cast<std::size_t>(2199 - y / 3) * source.nStride;
        unsigned char* pRow = page.pixel(0, y);
        for (std::int32_t x = 0; x < 5100; ++x)
            std::memcpy(pRow + 3 * x, pSource + 3 * (x / 3), 3);
    }
    return page;
}

// One engine request over a caller's input and output, as the driver issues it.
class Request {
public:
    Request(std::uint32_t nOpcode, const DibHeader& header, unsigned char* pInput, std::size_t nInputSize, std::size_t nOutputSize)
        : m_output(nOutputSize)
    {
        Engine& engine = Engine::getProcessEngine();
        for (std::uint32_t nIndex : Engine::getBuiltinModuleIndexes())
            engine.registerModule(nIndex * 1000, kInterfaceVersion);
        initialiseParameterBlock(m_block);
        m_block.nOpcode = nOpcode;
        m_block.nFlags = 256;
        m_block.imageHeader = header;
        m_block.input.start.set(pInput);
        m_block.input.read.set(pInput);
        m_block.input.write.set(pInput + nInputSize);
        m_block.input.end.set(pInput + nInputSize);
    }

    ParameterBlock& getBlock() { return m_block; }
    std::vector<unsigned char>& getOutput() { return m_output; }

    // Start, execute, finish; the number of bytes written.
    std::size_t run(benchmark::State& state)
    {
        m_block.output.start.set(m_output.data());
        m_block.output.read.set(m_output.data());
        m_block.output.write.set(m_output.data());
        m_block.output.end.set(m_output.data() + m_output.size());
        Engine& engine = Engine::getProcessEngine();
        engine.runPhase(&m_block, phaseStart);
        const std::int32_t nResponse = engine.runPhase(&m_block, phaseExecute);
        engine.runPhase(&m_block, phaseFinish);
        if (nResponse != responseDone)
            state.SkipWithError("request failed");
        return static_cast<std::size_t>(m_block.output.write.get() - m_output.data());
    }

private:
    ParameterBlock m_block;
    std::vector<unsigned char> m_output;
};

void setTiff(ParameterBlock& block, std::int32_t nBitCount, std::int32_t nCompression)
{
    WriteTiffArea& area = block.operation.tiff;
    std::memcpy(area.format, kTiffFormatTag, sizeof area.format);
    area.nBitCount = nBitCount;
    area.nPageCount = 1;
    area.nCompression = nCompression;
    area.nLumaFactor = 16;
    area.nChromaFactor = 16;
}

// Reduction to 1 bit and Group 4 coding of a 24-bit page, the two requests chained as the
// driver chains them; the reduced image's header becomes the coding request's.
class Group4Chain {
public:
    Group4Chain(Page& page, bool bThreshold)
        : m_reduce(kReduceOpcode, page.header, page.bits.data(), page.bits.size(), page.bits.size() / 8 + 65536)
    {
        ReduceArea& area = m_reduce.getBlock().operation.reduce;
        if (bThreshold) {
            area.nBandLow = 192;
            area.nBandHigh = 223;
        } else {
            area.nDitherMethod = ditherFloydSteinberg;
            area.nScreenVariant = 1;
        }
    }

    std::size_t reduce(benchmark::State& state) { return m_reduce.run(state); }

    std::size_t run(benchmark::State& state)
    {
        const std::size_t nReduced = m_reduce.run(state);
        Request code(kWriteTiffOpcode, m_reduce.getBlock().operation.reduce.outputHeader, m_reduce.getOutput().data(), nReduced,
                     nReduced + 65536);
        setTiff(code.getBlock(), 1, 4);
        return code.run(state);
    }

private:
    Request m_reduce;
};

// The driver's divisor for a 600-dpi page and 200-dpi output.
void setScaleByThree(ParameterBlock& block, const Page& page)
{
    block.operation.scale.nOutputWidth = page.header.nWidth / 3;
    block.operation.scale.nOutputHeight = page.header.nHeight / 3;
    block.operation.scale.nBitCount = 24;
}

void runGroup4Chain(benchmark::State& state, Page& page, bool bThreshold)
{
    Group4Chain chain(page, bThreshold);
    std::size_t nCoded = 0;
    for (auto _ : state)
        nCoded = chain.run(state);
    state.counters["coded_bytes"] = static_cast<double>(nCoded);
    state.SetItemsProcessed(state.iterations() * page.header.nWidth * page.header.nHeight);
}

}

static void BM_PageToGroup4(benchmark::State& state, bool bThreshold)
{
    Page page = makeDocumentPage();
    runGroup4Chain(state, page, bThreshold);
}
BENCHMARK_CAPTURE(BM_PageToGroup4, FloydSteinberg, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PageToGroup4, Threshold, true)->Unit(benchmark::kMillisecond);

static void BM_ReduceOnly_FloydSteinberg(benchmark::State& state)
{
    Page page = makeDocumentPage();
    Group4Chain chain(page, false);
    for (auto _ : state)
        chain.reduce(state);
    state.SetItemsProcessed(state.iterations() * page.header.nWidth * page.header.nHeight);
}
BENCHMARK(BM_ReduceOnly_FloydSteinberg)->Unit(benchmark::kMillisecond);

static void BM_Scale600To200(benchmark::State& state)
{
    Page page = makeDocumentPage600();
    Request scale(kScaleOpcode, page.header, page.bits.data(), page.bits.size(), page.bits.size() / 9 + 65536);
    setScaleByThree(scale.getBlock(), page);
    for (auto _ : state)
        scale.run(state);
    state.SetItemsProcessed(state.iterations() * page.header.nWidth * page.header.nHeight);
}
BENCHMARK(BM_Scale600To200)->Unit(benchmark::kMillisecond);

static void BM_Page600ToGroup4_FloydSteinberg(benchmark::State& state)
{
    Page page = makeDocumentPage600();
    Request scale(kScaleOpcode, page.header, page.bits.data(), page.bits.size(), page.bits.size() / 9 + 65536);
    setScaleByThree(scale.getBlock(), page);
    Page scaled(page.header.nWidth / 3, page.header.nHeight / 3);
    Group4Chain chain(scaled, false);
    for (auto _ : state) {
        scale.run(state);
        std::memcpy(scaled.bits.data(), scale.getOutput().data(), scaled.bits.size());
        chain.run(state);
    }
    state.SetItemsProcessed(state.iterations() * page.header.nWidth * page.header.nHeight);
}
BENCHMARK(BM_Page600ToGroup4_FloydSteinberg)->Unit(benchmark::kMillisecond);

static void BM_JpegPhotoPage(benchmark::State& state)
{
    Page page = makePhotoPage();
    Request code(kWriteTiffOpcode, page.header, page.bits.data(), page.bits.size(), page.bits.size());
    setTiff(code.getBlock(), 24, 6);
    std::size_t nCoded = 0;
    for (auto _ : state)
        nCoded = code.run(state);
    state.counters["coded_bytes"] = static_cast<double>(nCoded);
    state.SetItemsProcessed(state.iterations() * page.header.nWidth * page.header.nHeight);
    // The TIFF file, for a comparison of the decoded picture with cjpeg's.
    if (const char* pszPath = std::getenv("CODEC_BENCH_JPEG_TIFF"))
        std::ofstream(pszPath, std::ios::binary).write(reinterpret_cast<const char*>(code.getOutput().data()), static_cast<std::streamsize>(nCoded));
}
BENCHMARK(BM_JpegPhotoPage)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

// Group 4 coding of a fax text page and of a 600 dpi page: the coders alone (run stream
// in or out) and from or to bitmap rows, as tiffcp works.
#include "BenchPages.h"
#include "lib/TestStreams.h"
#include "lib/graphics.Group4DecoderStream.h"
#include "lib/graphics.Group4EncoderStream.h"

#include <benchmark/benchmark.h>

using namespace velmo;

namespace {

// Counts what it is given and keeps nothing.
class NullSink : public core::io::IStream {
public:
    bool canWrite() override { return true; }
    bool canRead() override { return false; }
    bool canSeek() override { return false; }
    std::uint32_t getPosition() override { return m_nBytes; }
    bool seek(std::int32_t, std::int32_t) override { return false; }
    void writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nCount) override
    {
        benchmark::DoNotOptimize(pBuffer + nOffset);
        m_nBytes += static_cast<std::uint32_t>(nCount);
    }
    void flush() override {}
    void close() override {}

private:
    std::uint32_t m_nBytes = 0;
};

struct Page {
    tests::BilevelPage page;
    std::vector<unsigned char> runs;
    std::vector<unsigned char> coded;
};

Page makePage(tests::BilevelPage page)
{
    Page result{std::move(page), {}, {}};
    for (std::uint16_t nValue : result.page.toRuns()) {
        result.runs.push_back(static_cast<unsigned char>(nValue));
        result.runs.push_back(static_cast<unsigned char>(nValue >> 8));
    }
    result.coded = bench::group4Of(result.page);
    return result;
}

const Page& page(int nIndex)
{
    static const Page s_text = makePage(bench::textPage1728());
    static const Page s_large = makePage(bench::textPage5100());
    return nIndex == 0 ? s_text : s_large;
}

// Runs the coding of one page per iteration; Code builds its chain into the sink.
template <typename Code>
void codePages(benchmark::State& state, Code code)
{
    const Page& source = page(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        NullSink sink;
        code(source, sink);
    }
    state.SetLabel(std::to_string(source.page.nWidth) + "x" + std::to_string(source.page.nHeight));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(source.page.rows.size()));
}

void encodeRuns(benchmark::State& state)
{
    codePages(state, [](const Page& source, NullSink& sink) {
        lib::graphics::Group4EncoderStream encoder;
        encoder.initialise(&sink, source.page.nWidth, source.page.nHeight, source.page.nHeight);
        encoder.writeData(source.runs.data(), 0, static_cast<std::int32_t>(source.runs.size()));
        encoder.flush();
    });
}

void encodeBitmap(benchmark::State& state)
{
    codePages(state, [](const Page& source, NullSink& sink) {
        bench::group4OfBitmap(source.page.rows, source.page.nWidth, source.page.nHeight, sink);
    });
}

void decodeRuns(benchmark::State& state)
{
    codePages(state, [](const Page& source, NullSink& sink) {
        lib::graphics::Group4DecoderStream decoder;
        decoder.initialise(&sink, source.page.nWidth, source.page.nHeight, source.page.nHeight, false);
        decoder.writeData(source.coded.data(), 0, static_cast<std::int32_t>(source.coded.size()));
        decoder.flush();
    });
}

void decodeBitmap(benchmark::State& state)
{
    codePages(state, [](const Page& source, NullSink& sink) {
        bench::bitmapOfGroup4(source.coded, source.page.nWidth, source.page.nHeight, sink);
    });
}

}

BENCHMARK(encodeRuns)->Name("Group4Encode/runs")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(encodeBitmap)->Name("Group4Encode/bitmap")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(decodeRuns)->Name("Group4Decode/runs")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(decodeBitmap)->Name("Group4Decode/bitmap")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

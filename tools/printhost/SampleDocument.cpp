#include "tools/printhost/SampleDocument.h"

#include <cmath>

namespace velmo::tools::printhost {

namespace {

constexpr ULONG black = 0x000000;
constexpr ULONG darkBlue = 0x1F3A93;

// Everything is laid out in hundredths of the page width, so that each drawing resolution
// and orientation gets the same picture.
class Layout {
public:
    explicit Layout(const PageCanvas& canvas) : m_nWidth(canvas.width()), m_nHeight(canvas.height()) {}

    LONG at(int nPercentOfWidth) const { return m_nWidth * nPercentOfWidth / 100; }
    LONG unit() const { return m_nWidth / 200 > 0 ? m_nWidth / 200 : 1; }
    LONG height() const { return m_nHeight; }

private:
    LONG m_nWidth;
    LONG m_nHeight;
};

// Lines of "words": text runs of varying length under a heading, between two rules.
bool drawTextPage(PageCanvas& canvas)
{
    const Layout layout(canvas);
    const LONG u = layout.unit();
    bool bDone = canvas.textRun({layout.at(10), layout.at(8), layout.at(60), layout.at(8) + 6 * u}, darkBlue);
    bDone = canvas.fillRect({layout.at(10), layout.at(16), layout.at(90), layout.at(16) + u / 2 + 1}, black) && bDone;
    LONG nTop = layout.at(20);
    for (int nLine = 0; nLine < 24 && nTop + 3 * u < layout.height(); ++nLine, nTop += 5 * u) {
        LONG nLeft = layout.at(10);
        for (int nWord = 0; nWord < 8; ++nWord) {
            const LONG nWordWidth = (3 + (nLine * 7 + nWord * 5) % 9) * u * 2;
            if (nLeft + nWordWidth > layout.at(90))
                break;
            bDone = canvas.textRun({nLeft, nTop, nLeft + nWordWidth, nTop + 3 * u}, black) && bDone;
            nLeft += nWordWidth + 2 * u;
        }
    }
    bDone = canvas.strokeLine({layout.at(10), nTop + 2 * u}, {layout.at(90), nTop + 2 * u}, black) && bDone;
    bDone = canvas.line({layout.at(10), nTop + 4 * u}, {layout.at(90), nTop + 10 * u}, black) && bDone;
    return bDone;
}

// Sixteen grey steps from black to white, framed.
bool drawGreyRampPage(PageCanvas& canvas)
{
    const Layout layout(canvas);
    const LONG u = layout.unit();
    bool bDone = canvas.textRun({layout.at(10), layout.at(8), layout.at(50), layout.at(8) + 6 * u}, black);
    const LONG nTop = layout.at(20);
    const LONG nBottom = layout.at(40);
    const LONG nStep = (layout.at(90) - layout.at(10)) / 16;
    for (int i = 0; i < 16; ++i) {
        const ULONG nLevel = static_cast<ULONG>(i * 0x11);
        const LONG nLeft = layout.at(10) + i * nStep;
        bDone = canvas.paint({nLeft, nTop, nLeft + nStep, nBottom}, nLevel << 16 | nLevel << 8 | nLevel) && bDone;
    }
    const LONG nRight = layout.at(10) + 16 * nStep;
    bDone = canvas.line({layout.at(10), nTop - u}, {nRight, nTop - u}, black) && bDone;
    bDone = canvas.line({layout.at(10), nBottom + u}, {nRight, nBottom + u}, black) && bDone;
    return bDone;
}

// A smooth colour field with a sun-like disc: far more colours than a text page.
RgbImage photoLikeImage(std::int32_t nWidth, std::int32_t nHeight)
{
    RgbImage image;
    image.width = nWidth;
    image.height = nHeight;
    image.bgr.resize(static_cast<std::size_t>(nWidth) * nHeight * 3);
    for (std::int32_t y = 0; y < nHeight; ++y) {
        for (std::int32_t x = 0; x < nWidth; ++x) {
            const double dx = x - nWidth * 0.7;
            const double dy = y - nHeight * 0.3;
            const double glow = std::exp(-(dx * dx + dy * dy) / (nWidth * nWidth * 0.02));
            std::uint8_t* p = image.pixel(x, y);
            p[2] = static_cast<std::uint8_t>(std::fmin(255.0, 60 + 150.0 * y / nHeight + 120 * glow));
            p[1] = static_cast<std::uint8_t>(std::fmin(255.0, 90 + 100.0 * x / nWidth + 100 * glow));
            p[0] = static_cast<std::uint8_t>(std::fmin(255.0, 200 - 150.0 * y / nHeight + 20 * glow));
        }
    }
    return image;
}

bool drawPhotoPage(PageCanvas& canvas)
{
    const Layout layout(canvas);
    const LONG u = layout.unit();
    bool bDone = canvas.textRun({layout.at(10), layout.at(8), layout.at(70), layout.at(8) + 6 * u}, black);
    // Drawn small and stretched by the driver, as applications print photographs.
    const RgbImage photo = photoLikeImage(320, 240);
    bDone = canvas.stretchImage(photo, {layout.at(10), layout.at(20), layout.at(90), layout.at(80)}) && bDone;
    bDone = canvas.fillRect({layout.at(10), layout.at(82), layout.at(90), layout.at(82) + u}, black) && bDone;
    return bDone;
}

}

bool drawSamplePage(PageCanvas& canvas, int nPage)
{
    switch (nPage) {
    case 0:
        return drawTextPage(canvas);
    case 1:
        return drawGreyRampPage(canvas);
    default:
        return drawPhotoPage(canvas);
    }
}

}

#include "codec/codec.Ditherer.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace velmo::codec {

namespace {

// Spreads 64 ranks over the luminance range: rank r becomes threshold 4 r + 2, so that a
// level L turns about (256 - L) / 256 of the cell black.
ThresholdMatrix thresholdsFromRanks(const std::array<std::array<int, 8>, 8>& ranks)
{
    ThresholdMatrix thresholds{};
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x)
            thresholds[y][x] = static_cast<unsigned char>(ranks[y][x] * 4 + 2);
    }
    return thresholds;
}

// Bayer's recursive index matrix: M(2n) = [4M, 4M+2; 4M+3, 4M+1].
std::array<std::array<int, 8>, 8> makeBayerRanks()
{
    std::array<std::array<int, 8>, 8> ranks{};
    for (int size = 1; size < 8; size *= 2) {
        for (int y = size - 1; y >= 0; --y) {
            for (int x = size - 1; x >= 0; --x) {
                const int m = 4 * ranks[y][x];
                ranks[y][x] = m;
                ranks[y][x + size] = m + 2;
                ranks[y + size][x] = m + 3;
                ranks[y + size][x + size] = m + 1;
            }
        }
    }
    return ranks;
}

// The cell darkens from its centre outwards: the pixel nearest the centre takes the
// highest rank, so it is the first to turn black.
std::array<std::array<int, 8>, 8> makeClusteredDotRanks()
{
    std::array<int, 64> order;
    std::iota(order.begin(), order.end(), 0);
    auto distance = [](int i) {
        const double dx = i % 8 - 3.5;
        const double dy = i / 8 - 3.5;
        return dx * dx + dy * dy;
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return distance(a) < distance(b); });
    std::array<std::array<int, 8>, 8> ranks{};
    for (int k = 0; k < 64; ++k)
        ranks[order[k] / 8][order[k] % 8] = 63 - k;
    return ranks;
}

class OrderedDitherer : public Ditherer {
public:
    OrderedDitherer(std::int32_t nWidth, const ThresholdMatrix& thresholds) : m_nWidth(nWidth), m_thresholds(thresholds) {}

    void ditherRow(const unsigned char* pLuminance, unsigned char* pBlack) override
    {
        const std::array<unsigned char, 8>& row = m_thresholds[m_nRow++ & 7];
        for (std::int32_t x = 0; x < m_nWidth; ++x)
            pBlack[x] = pLuminance[x] < row[x & 7];
    }

private:
    std::int32_t m_nWidth;
    const ThresholdMatrix& m_thresholds;
    std::uint32_t m_nRow = 0;
};

class BandDitherer : public Ditherer {
public:
    BandDitherer(std::int32_t nWidth, std::int32_t nLow, std::int32_t nHigh) : m_nWidth(nWidth)
    {
        // Per level and Bayer rank: black or not, so the row loop is one look-up.
        const ThresholdMatrix& bayer = getBayerThresholds();
        for (std::int32_t y = 0; y < 8; ++y) {
            for (std::int32_t x = 0; x < 8; ++x) {
                for (std::int32_t level = 0; level < 256; ++level) {
                    bool bBlack;
                    if (level < nLow)
                        bBlack = true;
                    else if (level >= nHigh)
                        bBlack = false;
                    else
                        bBlack = (level - nLow) * 256 / (nHigh - nLow) < bayer[y][x];
                    m_black[y][x][level] = bBlack;
                }
            }
        }
    }

    void ditherRow(const unsigned char* pLuminance, unsigned char* pBlack) override
    {
        const auto& row = m_black[m_nRow++ & 7];
        // The eight results for paper white, for a whole aligned group of it at once.
        unsigned char white[8];
        for (int i = 0; i < 8; ++i)
            white[i] = row[i][255];
        std::int32_t x = 0;
        for (; x + 8 <= m_nWidth; x += 8) {
            std::uint64_t nLevels;
            std::memcpy(&nLevels, pLuminance + x, sizeof nLevels);
            if (nLevels == ~std::uint64_t{0}) {
                std::memcpy(pBlack + x, white, sizeof white);
                continue;
            }
            for (int i = 0; i < 8; ++i)
                pBlack[x + i] = row[i][pLuminance[x + i]];
        }
        for (; x < m_nWidth; ++x)
            pBlack[x] = row[x & 7][pLuminance[x]];
    }

private:
    std::int32_t m_nWidth;
    std::array<std::array<std::array<unsigned char, 256>, 8>, 8> m_black{};
    std::uint32_t m_nRow = 0;
};

struct DiffusionTap {
    int dx;
    int dy;
    int weight;
};

// Rounds an error kept multiplied by nDivisor to whole levels (halves upwards); the bias
// keeps the dividend positive, so that the division floors.
template <int Divisor>
int toLevels(int nScaled)
{
    constexpr int kBias = Divisor * (1 << 16);
    return (nScaled + Divisor / 2 + kBias) / Divisor - (1 << 16);
}

// What a pixel passes on: its value less the level it became, the value first kept within
// 0..255, since paper cannot be whiter than white nor ink blacker than black. Without the
// clamp, the excess of a white pixel next to dark text would travel on through the white
// around it.
inline int quantisationError(int nValue, bool bBlack)
{
    return bBlack ? std::max(nValue, 0) : std::min(nValue, 255) - 255;
}

// Paper white and full black are printed as they are and absorb the error that reaches
// them: a page's white background stays free of stray dots from the anti-aliased text
// nearby, and, being most of a page, costs almost nothing.
inline bool isExactLevel(unsigned nLuminance)
{
    return nLuminance == 0 || nLuminance == 255;
}

// Floyd and Steinberg, "An adaptive algorithm for spatial greyscale" (1976): 7/16 of the
// error to the next pixel, 3/16, 5/16 and 1/16 to the three below. The next pixel's share
// and the row below's pending sums are carried in locals, so that each pixel costs one
// store; that row is written exactly once.
class FloydSteinbergDitherer : public Ditherer {
public:
    explicit FloydSteinbergDitherer(std::int32_t nWidth)
        : m_nWidth(nWidth), m_current(static_cast<std::size_t>(nWidth) + 2), m_next(static_cast<std::size_t>(nWidth) + 2)
    {
    }

    void ditherRow(const unsigned char* pLuminance, unsigned char* pBlack) override
    {
        if (m_nRow++ & 1)
            diffuse<-1>(pLuminance, pBlack);
        else
            diffuse<1>(pLuminance, pBlack);
        m_current.swap(m_next);
    }

private:
    static constexpr std::int32_t kWhiteRun = 8;

    // Whether the kWhiteRun pixels from x on in the given direction are paper white.
    template <int Direction>
    static bool isWhiteRun(const unsigned char* pLuminance, std::int32_t x)
    {
        std::uint64_t nLevels;
        std::memcpy(&nLevels, pLuminance + (Direction > 0 ? x : x - (kWhiteRun - 1)), sizeof nLevels);
        return nLevels == ~std::uint64_t{0};
    }

    template <int Direction>
    void diffuse(const unsigned char* pLuminance, unsigned char* pBlack)
    {
        // One guard cell on either side takes the shares that fall outside the row.
        const int* pAbove = m_current.data() + 1;
        int* pBelow = m_next.data() + 1;
        std::int32_t x = Direction > 0 ? 0 : m_nWidth - 1;
        int nRight = 0;       // share for pixel x, from its predecessor
        int nBelowBack = 0;   // pending sum for the cell below the predecessor
        int nBelowHere = 0;   // pending sum for the cell below x
        for (std::int32_t n = 0; n < m_nWidth; ++n, x += Direction) {
            if (n + kWhiteRun <= m_nWidth && isWhiteRun<Direction>(pLuminance, x)) {
                // Eight exact pixels at once: the cells below them get only what the
                // pixels before the run still owe them.
                const std::int32_t nFirst = Direction > 0 ? x : x - (kWhiteRun - 1);
                std::memset(pBlack + nFirst, 0, kWhiteRun);
                std::memset(pBelow + nFirst - Direction, 0, kWhiteRun * sizeof(int));
                pBelow[x - Direction] = nBelowBack;
                pBelow[x] = nBelowHere;
                nRight = nBelowBack = nBelowHere = 0;
                n += kWhiteRun - 1;
                x += (kWhiteRun - 1) * Direction;
                continue;
            }
            const unsigned nLuminance = pLuminance[x];
            if (isExactLevel(nLuminance)) {
                pBlack[x] = nLuminance == 0;
                nRight = 0;
                pBelow[x - Direction] = nBelowBack;
                nBelowBack = nBelowHere;
                nBelowHere = 0;
                continue;
            }
            const int nIncoming = pAbove[x] + nRight;
            const int nValue = static_cast<int>(nLuminance) + toLevels<16>(nIncoming);
            const bool bBlack = nValue < 128;
            pBlack[x] = bBlack;
            const int nError = quantisationError(nValue, bBlack);
            nRight = 7 * nError;
            pBelow[x - Direction] = nBelowBack + 3 * nError;
            nBelowBack = nBelowHere + 5 * nError;
            nBelowHere = nError;
        }
        pBelow[x - Direction] = nBelowBack;
        pBelow[x] = nBelowHere;
    }

    std::int32_t m_nWidth;
    std::vector<int> m_current;
    std::vector<int> m_next;
    std::uint32_t m_nRow = 0;
};

// Stucki, "MECCA - a multiple-error correcting computation algorithm for bilevel image
// hardcopy reproduction" (1981).
struct StuckiKernel {
    static constexpr int kRows = 3;
    static constexpr int kDivisor = 42;
    static constexpr DiffusionTap kTaps[] = {{1, 0, 8},  {2, 0, 4},  {-2, 1, 2}, {-1, 1, 4}, {0, 1, 8}, {1, 1, 4},
                                             {2, 1, 2},  {-2, 2, 1}, {-1, 2, 2}, {0, 2, 4},  {1, 2, 2}, {2, 2, 1}};
};

// Error diffusion in serpentine order (even rows left to right, odd rows back). Errors
// are kept multiplied by the kernel's divisor; each row buffer has two guard cells on
// either side for the taps that fall outside the image.
template <typename Kernel>
class DiffusionDitherer : public Ditherer {
public:
    explicit DiffusionDitherer(std::int32_t nWidth) : m_nWidth(nWidth)
    {
        for (std::vector<int>& errors : m_errors)
            errors.assign(static_cast<std::size_t>(nWidth) + 2 * kGuard, 0);
    }

    void ditherRow(const unsigned char* pLuminance, unsigned char* pBlack) override
    {
        int* pRows[Kernel::kRows];
        for (int r = 0; r < Kernel::kRows; ++r)
            pRows[r] = m_errors[(m_nRow + r) % Kernel::kRows].data() + kGuard;
        if (m_nRow & 1)
            diffuse<-1>(pLuminance, pBlack, pRows);
        else
            diffuse<1>(pLuminance, pBlack, pRows);
        std::fill(m_errors[m_nRow % Kernel::kRows].begin(), m_errors[m_nRow % Kernel::kRows].end(), 0);
        ++m_nRow;
    }

private:
    static constexpr int kGuard = 2;

    template <int Direction>
    void diffuse(const unsigned char* pLuminance, unsigned char* pBlack, int* const* pRows)
    {
        std::int32_t x = Direction > 0 ? 0 : m_nWidth - 1;
        for (std::int32_t n = 0; n < m_nWidth; ++n, x += Direction) {
            if (isExactLevel(pLuminance[x])) {
                pBlack[x] = pLuminance[x] == 0;
                continue;
            }
            const int nValue = pLuminance[x] + toLevels<Kernel::kDivisor>(pRows[0][x]);
            const bool bBlack = nValue < 128;
            pBlack[x] = bBlack;
            const int nError = quantisationError(nValue, bBlack);
            for (const DiffusionTap& tap : Kernel::kTaps)
                pRows[tap.dy][x + tap.dx * Direction] += nError * tap.weight;
        }
    }

    std::int32_t m_nWidth;
    std::vector<int> m_errors[Kernel::kRows];
    std::uint32_t m_nRow = 0;
};

}

const ThresholdMatrix& getBayerThresholds()
{
    static const ThresholdMatrix thresholds = thresholdsFromRanks(makeBayerRanks());
    return thresholds;
}

const ThresholdMatrix& getClusteredDotThresholds()
{
    static const ThresholdMatrix thresholds = thresholdsFromRanks(makeClusteredDotRanks());
    return thresholds;
}

std::unique_ptr<Ditherer> Ditherer::createFloydSteinberg(std::int32_t nWidth)
{
    return std::make_unique<FloydSteinbergDitherer>(nWidth);
}

std::unique_ptr<Ditherer> Ditherer::createStucki(std::int32_t nWidth)
{
    return std::make_unique<DiffusionDitherer<StuckiKernel>>(nWidth);
}

std::unique_ptr<Ditherer> Ditherer::createBayer(std::int32_t nWidth)
{
    return std::make_unique<OrderedDitherer>(nWidth, getBayerThresholds());
}

std::unique_ptr<Ditherer> Ditherer::createClusteredDot(std::int32_t nWidth)
{
    return std::make_unique<OrderedDitherer>(nWidth, getClusteredDotThresholds());
}

std::unique_ptr<Ditherer> Ditherer::createThresholdBand(std::int32_t nWidth, std::int32_t nLow, std::int32_t nHigh)
{
    return std::make_unique<BandDitherer>(nWidth, nLow, nHigh);
}

}

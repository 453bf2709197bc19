#ifndef VELMO_CODEC_DITHERER_H
#define VELMO_CODEC_DITHERER_H

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace velmo::codec {

// Turns rows of luminance (0 black .. 255 white) into rows of black flags (1 = black).
// Rows must be given top to bottom, each once.
class Ditherer {
public:
    virtual ~Ditherer() = default;
    virtual void ditherRow(const unsigned char* pLuminance, unsigned char* pBlack) = 0;

    // Error diffusion, serpentine: Floyd-Steinberg and Stucki.
    static std::unique_ptr<Ditherer> createFloydSteinberg(std::int32_t nWidth);
    static std::unique_ptr<Ditherer> createStucki(std::int32_t nWidth);
    // Ordered dither with the 8x8 Bayer matrix.
    static std::unique_ptr<Ditherer> createBayer(std::int32_t nWidth);
    // Ordered dither with an 8x8 cell that grows one round dot from its centre.
    static std::unique_ptr<Ditherer> createClusteredDot(std::int32_t nWidth);
    // Below nLow black, from nHigh white, the Bayer dither spread over the band between.
    static std::unique_ptr<Ditherer> createThresholdBand(std::int32_t nWidth, std::int32_t nLow, std::int32_t nHigh);
};

// Thresholds 0..255 of an 8x8 ordered dither: a pixel is black when its luminance is
// below the threshold of its cell position.
using ThresholdMatrix = std::array<std::array<unsigned char, 8>, 8>;

const ThresholdMatrix& getBayerThresholds();
const ThresholdMatrix& getClusteredDotThresholds();

}

#endif

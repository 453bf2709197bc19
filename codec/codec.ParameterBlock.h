#ifndef VELMO_CODEC_PARAMETERBLOCK_H
#define VELMO_CODEC_PARAMETERBLOCK_H

#include <cstddef>
#include <cstdint>
#include <cstring>

// The request record exchanged between a caller and the codec engine. Its layout is the
// same in 32- and 64-bit builds: addresses sit in 8-byte slots, and every field has the
// offset asserted below. All values are little-endian, as on every platform we build for.
namespace velmo::codec {

inline constexpr std::uint32_t kParameterBlockSize = 2108;
inline constexpr std::uint8_t kMajorVersion = 20;
inline constexpr std::uint8_t kMinorVersion = 2;
inline constexpr std::uint32_t kInterfaceVersion = 20;

enum Phase : std::int32_t { phaseStart = 1, phaseExecute = 2, phaseContinue = 3, phaseFinish = 4 };

enum Response : std::int32_t { responseDone = 1, responseError = 2, responseNoParameterBlock = 9 };

enum Status : std::int32_t {
    statusOk = 0,
    // Reported by the dispatcher.
    statusEngineNotInitialised = -2106,
    statusWrongVersion = -2105,
    statusRequestActive = -1502,
    statusNoRequestActive = -1501,
    statusOutOfMemory = -7003,
    statusModuleNotRegistered = -1548,
    statusWrongThread = -2110,
    statusInterrupted = -2209,
    statusModuleNotFound = -2101,
    statusEntryPointMissing = -2102,
    // Reported by the modules.
    statusInvalidParameter = -3001,
    statusUnsupportedDepth = -3002,
    statusInputTooShort = -3003,
    statusOutputTooSmall = -3004,
    statusModuleFailure = -3005,
};

enum RequestFlag : std::uint32_t {
    // Set by a module whose yield callback asked it to stop.
    flagInterrupted = 0x400,
    // Set by the dispatcher when a phase arrives for an interrupted request.
    flagInterruptSeen = 0x800,
};

// An address in a fixed 8-byte slot.
template <typename T>
class PointerSlot {
public:
    T* get() const
    {
        T* p;
        std::memcpy(&p, m_bytes, sizeof p);
        return p;
    }
    void set(T* p)
    {
        std::memset(m_bytes, 0, sizeof m_bytes);
        std::memcpy(m_bytes, &p, sizeof p);
    }

private:
    static_assert(sizeof(T*) <= 8, "addresses fit 8 bytes");
    unsigned char m_bytes[8];
};

// The information header at the start of a device-independent bitmap. Rows are stored
// bottom-up and padded to 4 bytes.
struct DibHeader {
    std::uint32_t nSize;
    std::int32_t nWidth;
    std::int32_t nHeight;
    std::uint16_t nPlanes;
    std::uint16_t nBitCount;
    std::uint32_t nCompression;
    std::uint32_t nSizeImage;
    std::int32_t nXPelsPerMeter;
    std::int32_t nYPelsPerMeter;
    std::uint32_t nClrUsed;
    std::uint32_t nClrImportant;
};
static_assert(sizeof(DibHeader) == 40);
static_assert(offsetof(DibHeader, nBitCount) == 14);
static_assert(offsetof(DibHeader, nXPelsPerMeter) == 24);

struct ColourEntry {
    std::uint8_t nBlue;
    std::uint8_t nGreen;
    std::uint8_t nRed;
    std::uint8_t nReserved;
};
static_assert(sizeof(ColourEntry) == 4);

// A byte queue over a caller's buffer: the data lies between read and write, the free
// space between write and end. A module consumes input from read and appends output at
// write, moving each.
struct ByteQueue {
    PointerSlot<unsigned char> start;
    PointerSlot<unsigned char> read;
    PointerSlot<unsigned char> write;
    PointerSlot<unsigned char> end;
    // 1: the queue holds the whole input, or the whole output fits.
    std::uint32_t nFlags;
    std::uint32_t nReserved;
};
static_assert(sizeof(ByteQueue) == 40);

struct ParameterBlock;

// Asked by a module between bands of work: 0 continues, anything else interrupts.
using YieldFunction = std::int32_t(ParameterBlock* pBlock);

inline constexpr std::size_t kColourTableEntries = 272;
inline constexpr std::size_t kOperationAreaSize = 844;

// Operation 88010, scale.
struct ScaleArea {
    std::int32_t nOutputWidth;
    std::int32_t nOutputHeight;
    std::uint8_t reserved8[2];
    std::uint16_t nBitCount;
    std::uint32_t nReserved12;
    DibHeader outputHeader;
};
static_assert(offsetof(ScaleArea, nOutputHeight) == 4);
static_assert(offsetof(ScaleArea, nBitCount) == 10);
static_assert(offsetof(ScaleArea, outputHeader) == 16);

// Operation 54010, reduce to one bit per pixel. The dither is chosen, in this order, by
// a threshold band (words 1 and 2 not zero), by word 0 = 4 (clustered-dot halftone), and
// otherwise by word 4.
struct ReduceArea {
    std::int32_t nHalftone;
    std::int32_t nBandLow;
    std::int32_t nBandHigh;
    std::int32_t nReserved3;
    std::int32_t nDitherMethod;
    std::int32_t nReserved5;
    std::int32_t nScreenVariant;
    std::int32_t nReserved7;
    DibHeader outputHeader;
};
static_assert(offsetof(ReduceArea, nBandLow) == 4);
static_assert(offsetof(ReduceArea, nBandHigh) == 8);
static_assert(offsetof(ReduceArea, nDitherMethod) == 16);
static_assert(offsetof(ReduceArea, nScreenVariant) == 24);
static_assert(offsetof(ReduceArea, outputHeader) == 32);

inline constexpr std::int32_t kHalftoneClusteredDot = 4;
enum DitherMethod : std::int32_t { ditherFloydSteinberg = 1, ditherStucki = 2, ditherBayer = 3 };

// Operation 84010, write TIFF.
struct WriteTiffArea {
    std::int32_t nReserved0;
    std::int32_t nReserved1;
    char format[4];
    std::int32_t nCompression;
    std::int32_t nReserved4[3];
    std::int32_t nBitCount;
    std::int32_t nReserved8;
    std::int32_t nPageCount;
    std::int32_t nOutputLength;
    std::int32_t nReserved11;
    std::int32_t nOptions;
    std::int32_t nLumaFactor;
    std::int32_t nChromaFactor;
};
static_assert(offsetof(WriteTiffArea, format) == 8);
static_assert(offsetof(WriteTiffArea, nCompression) == 12);
static_assert(offsetof(WriteTiffArea, nBitCount) == 28);
static_assert(offsetof(WriteTiffArea, nPageCount) == 36);
static_assert(offsetof(WriteTiffArea, nOutputLength) == 40);
static_assert(offsetof(WriteTiffArea, nOptions) == 48);
static_assert(offsetof(WriteTiffArea, nLumaFactor) == 52);
static_assert(offsetof(WriteTiffArea, nChromaFactor) == 56);

inline constexpr char kTiffFormatTag[4] = {'T', 'I', 'F', ' '};

union OperationArea {
    std::int32_t words[kOperationAreaSize / 4];
    ScaleArea scale;
    ReduceArea reduce;
    WriteTiffArea tiff;
};
static_assert(sizeof(OperationArea) == kOperationAreaSize);

// The dispatcher's record of the request running in a block.
struct RequestState {
    std::uint32_t nActive;
    std::uint32_t nModuleIndex;
    std::uint32_t nThreadToken;
    std::uint32_t nReserved;
};

struct ParameterBlock {
    std::uint32_t nBlockSize;
    std::uint8_t nMajorVersion;
    std::uint8_t nMinorVersion;
    std::uint16_t nReserved6;
    std::int32_t nStatus;
    std::uint32_t nOpcode;
    std::uint32_t nFlags;
    std::uint32_t nReserved20;
    PointerSlot<void> engineHandle;
    PointerSlot<YieldFunction> yield;
    ByteQueue input;
    ByteQueue output;
    DibHeader imageHeader;
    ColourEntry colourTable[kColourTableEntries];
    OperationArea operation;
    RequestState request;
};
static_assert(sizeof(ParameterBlock) == kParameterBlockSize);
static_assert(offsetof(ParameterBlock, nMajorVersion) == 4);
static_assert(offsetof(ParameterBlock, nMinorVersion) == 5);
static_assert(offsetof(ParameterBlock, nStatus) == 8);
static_assert(offsetof(ParameterBlock, nOpcode) == 12);
static_assert(offsetof(ParameterBlock, nFlags) == 16);
static_assert(offsetof(ParameterBlock, engineHandle) == 24);
static_assert(offsetof(ParameterBlock, yield) == 32);
static_assert(offsetof(ParameterBlock, input) == 40);
static_assert(offsetof(ParameterBlock, output) == 80);
static_assert(offsetof(ParameterBlock, imageHeader) == 120);
static_assert(offsetof(ParameterBlock, colourTable) == 160);
static_assert(offsetof(ParameterBlock, operation) == 1248);
static_assert(offsetof(ParameterBlock, request) == 2092);

// A zeroed block carrying its size and version, as every request begins.
inline void initialiseParameterBlock(ParameterBlock& block)
{
    std::memset(&block, 0, sizeof block);
    block.nBlockSize = kParameterBlockSize;
    block.nMajorVersion = kMajorVersion;
    block.nMinorVersion = kMinorVersion;
}

}

#endif

// Device and page surface: the driver's side of a printer device context.
#include "driver/DeviceAnswers.h"
#include "driver/DeviceRecord.h"
#include "driver/DdiBoundary.h"
#include "driver/Job.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace velmo::driver {

namespace {

constexpr FLONG drawingHooks = HOOK_BITBLT | HOOK_STRETCHBLT | HOOK_TEXTOUT | HOOK_PAINT | HOOK_STROKEPATH |
                               HOOK_FILLPATH | HOOK_STROKEANDFILLPATH | HOOK_LINETO | HOOK_COPYBITS;
constexpr ULONG white = 0xFFFFFF;

bool hasTag(const char (&tag)[4])
{
    return std::memcmp(tag, deviceTag, sizeof(deviceTag)) == 0;
}

// The job's device name with every space replaced by '-'; the engine's copy of the settings
// may lack a terminating NUL, so at most the field's length is read.
void copyDeviceName(DeviceRecord& record, const DEVMODEW& devmode)
{
    for (int i = 0; i < CCHDEVICENAME && devmode.dmDeviceName[i] != L'\0'; ++i)
        record.deviceName[i] = devmode.dmDeviceName[i] == L' ' ? L'-' : devmode.dmDeviceName[i];
}

// Legal for paper 5, Letter for anything else; portrait only when asked for exactly.
PaperGeometry chosenPaper(const DEVMODEW& devmode)
{
    const PageFormat& format = pageFormat();
    const PaperGeometry paper = devmode.dmPaperSize == DMPAPER_LEGAL ? format.legal : format.letter;
    return devmode.dmOrientation == DMORIENT_PORTRAIT ? paper : paper.turned();
}

// Copies what the caller has room for, never more than the template holds.
void copyAnswer(void* pTarget, ULONG cjTarget, const void* pSource, std::size_t cjSource)
{
    if (pTarget)
        std::memcpy(pTarget, pSource, std::min<std::size_t>(cjTarget, cjSource));
}

void eraseToWhite(HSURF hsurf, LONG nWidth, LONG nHeight)
{
    SURFOBJ* pso = EngLockSurface(hsurf);
    if (!pso)
        return;
    RECTL page = {0, 0, nWidth, nHeight};
    EngEraseSurface(pso, &page, white);
    EngUnlockSurface(pso);
}

DHPDEV enablePdev(DEVMODEW* pdm, ULONG cPat, HSURF* phsurfPatterns, ULONG cjCaps, ULONG* pdevcaps,
                  ULONG cjDevInfo, DEVINFO* pdi, HANDLE hDriver)
{
    std::unique_ptr<Job> job(new (std::nothrow) Job);
    auto* pRecord = job ? static_cast<DeviceRecord*>(GlobalAlloc(GPTR, sizeof(DeviceRecord))) : nullptr;
    if (!pRecord) {
        SetLastError(ERROR_OUTOFMEMORY);
        return nullptr;
    }
    DeviceRecord& record = *pRecord;
    record.pJob = job.release();
    std::memcpy(record.tagHead, deviceTag, sizeof(deviceTag));
    std::memcpy(record.tagTail, deviceTag, sizeof(deviceTag));
    record.hPrinter = hDriver;
    record.hpal = EngCreatePalette(PAL_BGR, 0, nullptr, 0, 0, 0);
    if (pdm) {
        record.devmode = overlaidDefaultDevmode(*pdm);
        copyDeviceName(record, record.devmode);
    }

    // The surface takes its size from the record, so that a second device enabled in the
    // meantime cannot change it.
    const PaperGeometry paper = chosenPaper(record.devmode);
    record.width = paper.widthPx;
    record.height = paper.heightPx;
    const GDIINFO gdiInfo = gdiInfoFor(paper);
    copyAnswer(pdevcaps, cjCaps, &gdiInfo, sizeof(GDIINFO));
    copyAnswer(pdi, cjDevInfo, &devInfoTemplate(), sizeof(DEVINFO));
    if (pdi && cjDevInfo >= offsetof(DEVINFO, hpalDefault) + sizeof(HPALETTE))
        pdi->hpalDefault = record.hpal;
    if (phsurfPatterns)
        std::fill_n(phsurfPatterns, cPat, nullptr);
    return reinterpret_cast<DHPDEV>(pRecord);
}

HSURF enableSurface(DeviceRecord& record)
{
    const SIZEL size = {record.width, record.height};
    const LONG nStride = (record.width * 24 + 31) / 32 * 4;
    HSURF hsurf = reinterpret_cast<HSURF>(EngCreateBitmap(size, nStride, BMF_24BPP, BMF_NOZEROINIT, nullptr));
    if (!hsurf)
        return nullptr;
    if (!EngAssociateSurface(hsurf, record.hdev, drawingHooks)) {
        EngDeleteSurface(hsurf);
        return nullptr;
    }
    eraseToWhite(hsurf, record.width, record.height);
    record.hsurf = hsurf;
    return hsurf;
}

}

DeviceRecord* deviceRecordOf(DHPDEV dhpdev)
{
    auto* pRecord = reinterpret_cast<DeviceRecord*>(dhpdev);
    if (!pRecord || !hasTag(pRecord->tagHead) || !hasTag(pRecord->tagTail))
        return nullptr;
    return pRecord;
}

Job* jobOf(const SURFOBJ* pso)
{
    const DeviceRecord* pRecord = pso ? deviceRecordOf(pso->dhpdev) : nullptr;
    return pRecord ? pRecord->pJob : nullptr;
}

void eraseDeviceSurface(DeviceRecord& record)
{
    if (record.hsurf)
        eraseToWhite(record.hsurf, record.width, record.height);
}

}

using namespace velmo::driver;

DHPDEV APIENTRY DrvEnablePDEV(DEVMODEW* pdm, LPWSTR /*pwszLogAddress*/, ULONG cPat, HSURF* phsurfPatterns,
                              ULONG cjCaps, ULONG* pdevcaps, ULONG cjDevInfo, DEVINFO* pdi, HDEV /*hdev*/,
                              LPWSTR /*pwszDeviceName*/, HANDLE hDriver)
{
    return guardBoundary<DHPDEV>(nullptr, [&] {
        return enablePdev(pdm, cPat, phsurfPatterns, cjCaps, pdevcaps, cjDevInfo, pdi, hDriver);
    });
}

VOID APIENTRY DrvCompletePDEV(DHPDEV dhpdev, HDEV hdev)
{
    if (DeviceRecord* pRecord = deviceRecordOf(dhpdev))
        pRecord->hdev = hdev;
}

// Nothing is carried from the old device to the new one.
BOOL APIENTRY DrvResetPDEV(DHPDEV /*dhpdevOld*/, DHPDEV /*dhpdevNew*/)
{
    return TRUE;
}

VOID APIENTRY DrvDisablePDEV(DHPDEV dhpdev)
{
    guardBoundary(0, [&] {
        if (DeviceRecord* pRecord = deviceRecordOf(dhpdev)) {
            if (pRecord->hpal)
                EngDeletePalette(pRecord->hpal);
            delete pRecord->pJob;
            GlobalFree(pRecord);
        }
        return 0;
    });
}

HSURF APIENTRY DrvEnableSurface(DHPDEV dhpdev)
{
    return guardBoundary<HSURF>(nullptr, [&]() -> HSURF {
        DeviceRecord* pRecord = deviceRecordOf(dhpdev);
        return pRecord ? enableSurface(*pRecord) : nullptr;
    });
}

VOID APIENTRY DrvDisableSurface(DHPDEV dhpdev)
{
    guardBoundary(0, [&] {
        DeviceRecord* pRecord = deviceRecordOf(dhpdev);
        if (pRecord && pRecord->hsurf) {
            EngDeleteSurface(pRecord->hsurf);
            pRecord->hsurf = nullptr;
        }
        return 0;
    });
}

// The page conversion of the test build korvadrv-probe.dll: every captured page is written
// unchanged to KORVA_CAPTURE_DIR\page-<page number>.bmp, and the driver's process-wide state
// (its configuration, job, page format and library heap) can be read by the test that
// loaded the build.
#include "driver/DriverConfig.h"
#include "driver/JobState.h"
#include "driver/PageConversion.h"
#include "driver/PageFormat.h"

#include "core/object.Heap.h"

#include <cstdint>
#include <string>

namespace velmo::driver {

int convertPage(HGLOBAL hPageImage)
{
    wchar_t directory[MAX_PATH] = {};
    const DWORD nLength = GetEnvironmentVariableW(L"KORVA_CAPTURE_DIR", directory, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH)
        return 0;
    const std::wstring path =
        std::wstring(directory) + L"\\page-" + std::to_wstring(jobState().pageCount) + L".bmp";
    HANDLE hFile = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return 1;
    DWORD nWritten = 0;
    const auto nSize = static_cast<DWORD>(GlobalSize(hPageImage));
    const BOOL bWritten = WriteFile(hFile, hPageImage, nSize, &nWritten, nullptr);
    CloseHandle(hFile);
    return bWritten && nWritten == nSize ? 0 : 1;
}

}

extern "C" {

const velmo::driver::DriverConfig* korvaProbeDriverConfig()
{
    return &velmo::driver::driverConfig();
}

const velmo::driver::JobState* korvaProbeJobState()
{
    return &velmo::driver::jobState();
}

const velmo::driver::PageFormat* korvaProbePageFormat()
{
    return &velmo::driver::pageFormat();
}

// The live blocks of the library heap inside the driver, whose copy of the library is its own.
std::int64_t korvaProbeLiveHeapBlocks()
{
    return velmo::core::object::Heap::getLiveBlockCount();
}

}

// The page conversion of the test build korvadrv-probe.dll: every captured page is written
// unchanged to KORVA_CAPTURE_DIR\page-<page number>.bmp, and the driver's state (its
// configuration, a device's job, the page format and the library heap) can be read by the
// test that loaded the build.
#include "driver/DeviceRecord.h"
#include "driver/DriverConfig.h"
#include "driver/PageConversion.h"
#include "driver/PageFormat.h"

#include "core/object.Heap.h"

#include <cstdint>
#include <string>

namespace velmo::driver {

DWORD convertPage(Job& job, HGLOBAL hPageImage)
{
    wchar_t directory[MAX_PATH] = {};
    const DWORD nLength = GetEnvironmentVariableW(L"KORVA_CAPTURE_DIR", directory, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH)
        return 0;
    const std::wstring path =
        std::wstring(directory) + L"\\page-" + std::to_wstring(job.state.pageCount) + L".bmp";
    HANDLE hFile = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return GetLastError();
    DWORD nWritten = 0;
    const auto nSize = static_cast<DWORD>(GlobalSize(hPageImage));
    const BOOL bWritten = WriteFile(hFile, hPageImage, nSize, &nWritten, nullptr);
    CloseHandle(hFile);
    return bWritten && nWritten == nSize ? 0 : ERROR_WRITE_FAULT;
}

}

extern "C" {

const velmo::driver::DriverConfig* korvaProbeDriverConfig()
{
    return &velmo::driver::driverConfig();
}

// The job of a device; null for a handle that is no device of the driver's.
const velmo::driver::JobState* korvaProbeJobState(DHPDEV dhpdev)
{
    const velmo::driver::DeviceRecord* pRecord = velmo::driver::deviceRecordOf(dhpdev);
    return pRecord ? &pRecord->pJob->state : nullptr;
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

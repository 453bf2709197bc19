// The job bracket: start and end of a job, and the capture of every finished page.
#include "driver/DdiBoundary.h"
#include "driver/DeviceRecord.h"
#include "driver/DriverConfig.h"
#include "driver/JobFileName.h"
#include "driver/JobState.h"
#include "driver/PageConversion.h"
#include "driver/PageFilePath.h"
#include "driver/PageImage.h"

namespace velmo::driver {

namespace {

JobState currentJob;

// With append 0 every job starts a new page file: the one the control file names goes.
void deletePageFileOfUser()
{
    const std::wstring pageFile = userPageFile();
    if (!pageFile.empty())
        DeleteFileW(pageFile.c_str());
}

void startJob(const wchar_t* pwszDocName, DWORD dwJobId)
{
    DeleteFileW(makeJobFileName(L"LOG").c_str());
    if (driverConfig().append == 0)
        deletePageFileOfUser();
    InterlockedExchange(&currentJob.jobId, static_cast<LONG>(dwJobId));
    InterlockedExchange(&currentJob.pageCount, 0);
    copyText(currentJob.documentName, viewOf(pwszDocName));
}

void sendPage(SURFOBJ* pso)
{
    InterlockedIncrement(&currentJob.pageCount);
    if (!pso)
        return;
    if (HGLOBAL hImage = capturePageImage(*pso)) {
        convertPage(hImage);
        GlobalFree(hImage);
    }
    if (DeviceRecord* pRecord = deviceRecordOf(pso->dhpdev))
        eraseDeviceSurface(*pRecord);
}

void endJob(SURFOBJ* pso)
{
    const DeviceRecord* pRecord = pso ? deviceRecordOf(pso->dhpdev) : nullptr;
    copyText(currentJob.printerName, pRecord ? viewOf(pRecord->deviceName) : std::wstring_view());
    completeJob();
}

}

JobState& jobState()
{
    return currentJob;
}

}

using namespace velmo::driver;

BOOL APIENTRY DrvStartDoc(SURFOBJ* /*pso*/, LPWSTR pwszDocName, DWORD dwJobId)
{
    // A start without a job number (a document that is not spooled) leaves the job alone.
    if (dwJobId == 0)
        return TRUE;
    return guardBoundary<BOOL>(TRUE, [&] {
        startJob(pwszDocName, dwJobId);
        return TRUE;
    });
}

BOOL APIENTRY DrvStartPage(SURFOBJ* /*pso*/)
{
    return TRUE;
}

// A page that cannot be converted is lost without failing the job.
BOOL APIENTRY DrvSendPage(SURFOBJ* pso)
{
    return guardBoundary<BOOL>(TRUE, [&] {
        sendPage(pso);
        return TRUE;
    });
}

BOOL APIENTRY DrvEndDoc(SURFOBJ* pso, FLONG /*fl*/)
{
    return guardBoundary<BOOL>(TRUE, [&] {
        endJob(pso);
        return TRUE;
    });
}

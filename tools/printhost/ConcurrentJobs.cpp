#include "tools/printhost/ConcurrentJobs.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

namespace velmo::tools::printhost {

namespace {

// Holds threads back until every one of them exists, so that none has finished its job
// before the last has started.
class StartingGate {
public:
    void wait()
    {
        std::unique_lock<std::mutex> lock(m_lock);
        m_opened.wait(lock, [this]() { return m_bOpen; });
    }
    void open()
    {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_bOpen = true;
        }
        m_opened.notify_all();
    }

private:
    std::mutex m_lock;
    std::condition_variable m_opened;
    bool m_bOpen = false;
};

// One job on its own thread; the outcome is read once the thread has been joined.
bool printOnThread(const LoadedDriver& driver, const JobOptions& job, const StepLog& log, unsigned nDevice,
                   StartingGate& gate)
{
    gate.wait();
    try {
        return printJob(driver, job, log, nDevice);
    } catch (const std::exception& failure) {
        // Out of memory for a page, say: this job fails, the others go on.
        return log.report("job", false, failure.what());
    }
}

}

bool printJobsAtOnce(const LoadedDriver& driver, const std::vector<JobOptions>& jobs, const StepLog& log)
{
    StartingGate gate;
    // One flag per job, each written by its own thread only (not vector<bool>, whose
    // elements share bytes).
    std::vector<char> succeeded(jobs.size(), 0);
    std::vector<std::thread> threads;
    for (unsigned nJob = 0; nJob < jobs.size(); ++nJob) {
        const StepLog jobLog = log.headedBy("job " + std::to_string(jobs[nJob].settings.jobId) + ": ");
        try {
            threads.emplace_back([&driver, &jobs, &succeeded, &gate, jobLog, nJob]() {
                succeeded[nJob] = printOnThread(driver, jobs[nJob], jobLog, nJob, gate);
            });
        } catch (const std::system_error& failure) {
            jobLog.report("start thread", false, failure.what());
        }
    }
    gate.open();
    for (std::thread& thread : threads)
        thread.join();
    return std::all_of(succeeded.begin(), succeeded.end(), [](char bSucceeded) { return bSucceeded != 0; });
}

}

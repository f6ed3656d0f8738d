#include "support/cpu_time.h"

#include <dirent.h>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

namespace bench {

double processCpuSeconds()
{
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double residentMiB()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * double(::sysconf(_SC_PAGESIZE)) / (1024 * 1024);
}

long processContextSwitches()
{
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_nvcsw + usage.ru_nivcsw;
}

long callingThreadContextSwitches()
{
    rusage usage {};
    ::getrusage(RUSAGE_THREAD, &usage);
    return usage.ru_nvcsw + usage.ru_nivcsw;
}

long callingThreadSleeps()
{
    rusage usage {};
    ::getrusage(RUSAGE_THREAD, &usage);
    return usage.ru_nvcsw;
}

double threadCpuSeconds(pthread_t thread)
{
    clockid_t clock;
    timespec now {};
    if (::pthread_getcpuclockid(thread, &clock) != 0 || ::clock_gettime(clock, &now) != 0)
        return 0;
    return now.tv_sec + now.tv_nsec / 1e9;
}

std::set<int> threadIds()
{
    std::set<int> ids;
    if (DIR *tasks = ::opendir("/proc/self/task")) {
        while (const dirent *entry = ::readdir(tasks)) {
            if (entry->d_name[0] != '.')
                ids.insert(std::stoi(entry->d_name));
        }
        ::closedir(tasks);
    }
    return ids;
}

std::string threadName(int threadId)
{
    std::ifstream comm("/proc/self/task/" + std::to_string(threadId) + "/comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

long contextSwitches(int threadId)
{
    std::ifstream status("/proc/self/task/" + std::to_string(threadId) + "/status");
    long total = 0;
    std::string key;
    long count = 0;
    while (status >> key) {
        if (key == "voluntary_ctxt_switches:" || key == "nonvoluntary_ctxt_switches:") {
            status >> count;
            total += count;
        }
    }
    return total;
}

CpuMeter::CpuMeter(std::vector<pthread_t> excluded)
    : excluded(std::move(excluded))
{
    start();
}

void CpuMeter::start()
{
    startedAt = std::chrono::steady_clock::now();
    processAtStart = processCpuSeconds();
    excludedAtStart = excludedSeconds();
}

double CpuMeter::coreShare() const
{
    const double used = (processCpuSeconds() - processAtStart) - (excludedSeconds() - excludedAtStart);
    return used / elapsedSeconds();
}

double CpuMeter::elapsedSeconds() const
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - startedAt).count();
}

double CpuMeter::excludedSeconds() const
{
    double total = 0;
    for (const pthread_t thread : excluded)
        total += threadCpuSeconds(thread);
    return total;
}

} // namespace bench

#pragma once
// CPU time, wake-ups and memory of this process and its threads, from the
// kernel's own accounting (getrusage, per-thread CPU clocks, /proc/self).
#include <chrono>
#include <pthread.h>
#include <set>
#include <string>
#include <vector>

namespace bench {

// User plus system time of the whole process, threads that ended included.
double processCpuSeconds();
double threadCpuSeconds(pthread_t thread);

// Times the process's threads (ended ones too), or the calling thread, went off
// the CPU: each such switch is paid for with a wake-up later.
long processContextSwitches();
long callingThreadContextSwitches();
// Times the calling thread went to sleep of its own accord: its wake-ups.
long callingThreadSleeps();

// Resident memory of the process now.
double residentMiB();

// Kernel ids of this process's threads now.
std::set<int> threadIds();
// A thread's name; threads the program starts itself keep the process's name.
std::string threadName(int threadId);
// Times the thread went to sleep or was put off the CPU since it started; each
// sleep it leaves again is one wake-up. 0 for a thread that is gone.
long contextSwitches(int threadId);

// Share of one core used by the process since start(), less the benchmark's own
// helper threads (a peer playing the robot must not count as the console).
class CpuMeter {
public:
    explicit CpuMeter(std::vector<pthread_t> excluded = {});
    void start();
    // 1.0 is one core busy all the time.
    double coreShare() const;
    double elapsedSeconds() const;

private:
    double excludedSeconds() const;

    std::vector<pthread_t> excluded;
    std::chrono::steady_clock::time_point startedAt;
    double processAtStart = 0;
    double excludedAtStart = 0;
};

} // namespace bench

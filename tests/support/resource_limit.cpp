#include "support/resource_limit.h"

ResourceLimit::ResourceLimit(int which, rlim_t value) : resource(which)
{
    // A write beyond the file size limit then fails with EFBIG instead of
    // ending the process.
    struct sigaction ignore{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &savedFileSizeSignal);
    getrlimit(resource, &saved);
    rlimit lowered = saved;
    lowered.rlim_cur = value;
    setrlimit(resource, &lowered);
}

ResourceLimit::~ResourceLimit()
{
    setrlimit(resource, &saved);
    sigaction(SIGXFSZ, &savedFileSizeSignal, nullptr);
}

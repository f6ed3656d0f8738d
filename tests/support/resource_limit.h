#pragma once
// Lowers one of the process's resource limits for as long as the object lives,
// so that a save fails for real even where permissions do not bind (root):
// RLIMIT_FSIZE lets every write stop after a few bytes, as a disk that fills up
// half-way; RLIMIT_NOFILE with 0 leaves no descriptor for a new file.
#include <csignal>
#include <sys/resource.h>

class ResourceLimit {
public:
    ResourceLimit(int which, rlim_t value);
    ~ResourceLimit();
    ResourceLimit(const ResourceLimit &) = delete;
    ResourceLimit &operator=(const ResourceLimit &) = delete;

private:
    int resource;
    rlimit saved{};
    struct sigaction savedFileSizeSignal{};
};

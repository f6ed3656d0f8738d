#pragma once
// Gathers the bytes of one link into command lines ended by a carriage return,
// whatever the split over reads. Line feeds (from a terminal user) are dropped.
#include <string>
#include <vector>

namespace sim {

class LineAssembler {
public:
    // A line longer than this without a carriage return is garbage; it is discarded
    // up to and including its carriage return.
    static constexpr std::size_t kMaxLineLength = 4096;

    // Returns every line the bytes complete, without its carriage return.
    std::vector<std::string> feed(const std::string &bytes);

private:
    std::string pending;
    bool discarding = false;
};

} // namespace sim

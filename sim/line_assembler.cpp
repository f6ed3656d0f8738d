#include "line_assembler.h"

namespace sim {

std::vector<std::string> LineAssembler::feed(const std::string &bytes)
{
    std::vector<std::string> lines;
    for (char c : bytes) {
        if (c == '\r') {
            if (!discarding)
                lines.push_back(pending);
            pending.clear();
            discarding = false;
        } else if (c != '\n' && !discarding) {
            if (pending.size() == kMaxLineLength) {
                // The tail of an overlong line must not pass for a line of its own.
                pending.clear();
                discarding = true;
            } else {
                pending += c;
            }
        }
    }
    return lines;
}

} // namespace sim

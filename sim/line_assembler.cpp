#include "line_assembler.h"

std::vector<std::string> LineAssembler::feed(const std::string &bytes)
{
    std::vector<std::string> lines;
    for (char c : bytes) {
        if (c == '\r') {
            lines.push_back(pending);
            pending.clear();
        } else if (c != '\n') {
            if (pending.size() == kMaxLineLength)
                pending.clear();
            pending += c;
        }
    }
    return lines;
}

#pragma once
// What the console asks the SSC-32 servo controller besides the group moves:
// its version, by which it is recognised, and whether a move is still on.
#include <string>
#include <string_view>

namespace arm {

// Sent on every TCP connect of the arm's link to identify the controller.
inline const std::string kVersionQuery = "VER\r";

// Announces the controller when text is exactly its version reply: recognised
// only as one whole block or read.
void identifyController(const std::string &text);

// Whether text holds an SSC-32's answer to the version query, of any firmware
// ("SSC32-1.06XE", "SSC32-2.01GP"), also amid other bytes: what a search of the
// ports goes by.
inline bool holdsVersionReply(std::string_view text) { return text.find("SSC32-") != std::string_view::npos; }

// "Q" and a carriage return, answered with one byte and no carriage return:
// '+' while a move is on and '.' once it is done. The motion-set player asks it
// every 100 ms while the arm moves, so its replies are kept out of the debug memo.
inline const std::string kMoveStatusQuery = "Q";

// A block that is nothing but move-status replies (several may come together).
// Other text is not one, also when it holds a '.' (the version reply does).
inline bool isMoveStatusReply(std::string_view text)
{
    return !text.empty() && text.find_first_not_of("+.") == std::string_view::npos;
}

} // namespace arm

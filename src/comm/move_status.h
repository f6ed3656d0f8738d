#pragma once
// The SSC-32's move-status query: "Q" and a carriage return, answered with one
// byte and no carriage return, '+' while a move is on and '.' once it is done.
// The motion-set player asks it every 100 ms while the arm moves, so its replies
// are kept out of the debug memo.
#include <string>
#include <string_view>

namespace comm {

inline const std::string kMoveStatusQuery = "Q";

// A block that is nothing but move-status replies (several may come together).
// Other text is not one, also when it holds a '.' (the version reply does).
inline bool isMoveStatusReply(std::string_view text)
{
    return !text.empty() && text.find_first_not_of("+.") == std::string_view::npos;
}

} // namespace comm

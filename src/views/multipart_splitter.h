#pragma once
// Splits a multipart byte stream (a webcam's MJPEG stream, multipart/x-mixed-replace)
// into the bodies of its parts as the bytes arrive. The stream comes from a device
// on the network, so nothing in it is trusted: a part larger than the limit is
// dropped without being kept, a part cut off by the stream's end is never
// delivered, and the splitter finds its way back at the next delimiter.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace views {

// The boundary parameter of a Content-Type such as
// "multipart/x-mixed-replace; boundary=frame" (quoted or not, any case of the
// names); none when the type is not multipart or names no boundary.
std::optional<std::string> multipartBoundary(std::string_view contentType);

class MultipartSplitter {
public:
    // partLimit bounds the bytes kept for one part (its body and its headers).
    MultipartSplitter(const std::string &boundary, std::size_t partLimit);

    // Takes the next bytes of the stream and returns the bodies of the parts they
    // complete, oldest first.
    std::vector<std::string> feed(std::string_view bytes);

    // Parts dropped so far because they were larger than the limit.
    std::size_t droppedParts() const { return dropped; }

private:
    enum class State { seekingDelimiter, delimiterLine, headers, body, skippingBody, ended };

    bool step(std::vector<std::string> &parts);
    bool seekDelimiter();
    bool finishDelimiterLine();
    bool readHeaderLine();
    bool readBody(std::vector<std::string> &parts);
    bool skipBody();
    void dropPart();

    std::string delimiter;
    std::size_t limit;
    std::string buffer;
    // Where the next delimiter search in buffer starts, so that a large part
    // arriving in small pieces is not searched again from its start.
    std::size_t searchedUpTo = 0;
    State state = State::seekingDelimiter;
    std::optional<std::size_t> bodyLength; // from the part's Content-Length
    std::size_t bytesToSkip = 0;
    std::size_t dropped = 0;
};

} // namespace views

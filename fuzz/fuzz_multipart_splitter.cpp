// The webcam's MJPEG splitter on what a network may send. Without options the
// first piece is the Content-Type the boundary comes from and the others are the
// stream as a transport cuts it: fed in those pieces or whole, it gives the same
// parts, none over the limit. Option bit 0 sends the pieces as the frames of a
// well-formed stream instead (bit 1: without their Content-Length), fed a byte at
// a time: every frame within the limit comes back as it was, every other one is
// counted as dropped.
#include "fuzz_input.h"

#include "views/multipart_splitter.h"

#include <string>

using views::MultipartSplitter;

namespace {

// Small, so that parts are dropped often.
constexpr std::size_t kLimit = 64;

struct Parts {
    std::vector<std::string> bodies;
    std::size_t dropped = 0;
    bool operator==(const Parts &other) const { return bodies == other.bodies && dropped == other.dropped; }
};

Parts split(const std::string &boundary, const std::vector<std::string_view> &pieces)
{
    MultipartSplitter splitter(boundary, kLimit);
    Parts parts;
    for (std::string_view piece : pieces) {
        for (std::string &body : splitter.feed(piece)) {
            fuzz::expect(body.size() <= kLimit, "no part is larger than the limit");
            parts.bodies.push_back(std::move(body));
        }
    }
    parts.dropped = splitter.droppedParts();
    return parts;
}

void checkCutsChangeNothing(const std::vector<std::string_view> &pieces)
{
    std::string boundary = "frame";
    auto stream = pieces.begin();
    if (pieces.size() > 1) {
        if (const auto named = views::multipartBoundary(*stream)) {
            fuzz::expect(!named->empty() && named->find(';') == std::string::npos, "a boundary is one parameter");
            boundary = *named;
        }
        ++stream;
    }
    std::string whole;
    for (auto piece = stream; piece != pieces.end(); ++piece)
        whole.append(*piece);
    fuzz::expect(split(boundary, {stream, pieces.end()}) == split(boundary, {whole}),
                 "where the stream is cut changes nothing");
}

void checkFramesComeBack(const std::vector<std::string_view> &frames, bool withLength)
{
    std::string stream = "preamble\r\n";
    Parts expected;
    for (std::string_view frame : frames) {
        // Without a length a frame ends at the delimiter, so it cannot hold one.
        if (!withLength && frame.find("--frame") != std::string_view::npos)
            return;
        stream += "--frame\r\nContent-Type: image/jpeg\r\n";
        if (withLength)
            stream += "Content-Length: " + std::to_string(frame.size()) + "\r\n";
        stream += "\r\n";
        stream.append(frame);
        stream += "\r\n";
        if (frame.size() <= kLimit)
            expected.bodies.emplace_back(frame);
        else
            ++expected.dropped;
    }
    stream += "--frame--\r\n";
    std::vector<std::string_view> bytes;
    for (std::size_t i = 0; i < stream.size(); ++i)
        bytes.push_back(std::string_view(stream).substr(i, 1));
    fuzz::expect(split("frame", bytes) == expected, "well-formed frames come back as they were");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const fuzz::SplitInput input = fuzz::splitInput(data, size);
    if (input.options & 1)
        checkFramesComeBack(input.pieces, !(input.options & 2));
    else
        checkCutsChangeNothing(input.pieces);
    return 0;
}

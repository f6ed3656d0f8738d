#include "views/multipart_splitter.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace views {

namespace {

// Longer than any delimiter line a camera sends; a longer one is noise.
constexpr std::size_t kDelimiterLineLimit = 1024;

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool equalsIgnoringCase(std::string_view text, std::string_view lowerCase)
{
    return text.size() == lowerCase.size()
           && std::equal(text.begin(), text.end(), lowerCase.begin(),
                         [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

// The value of a "Name: value" header line when its name is the given one.
std::optional<std::string_view> headerValue(std::string_view line, std::string_view lowerCaseName)
{
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || !equalsIgnoringCase(trimmed(line.substr(0, colon)), lowerCaseName))
        return std::nullopt;
    return trimmed(line.substr(colon + 1));
}

std::optional<std::size_t> parseLength(std::string_view digits)
{
    std::size_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

} // namespace

std::optional<std::string> multipartBoundary(std::string_view contentType)
{
    std::size_t semicolon = contentType.find(';');
    const std::string_view mediaType = trimmed(contentType.substr(0, semicolon));
    constexpr std::string_view kMultipart = "multipart/";
    if (mediaType.size() <= kMultipart.size() || !equalsIgnoringCase(mediaType.substr(0, kMultipart.size()), kMultipart))
        return std::nullopt;
    while (semicolon != std::string_view::npos) {
        const std::size_t start = semicolon + 1;
        semicolon = contentType.find(';', start);
        const std::string_view parameter = contentType.substr(start, semicolon - start);
        const std::size_t equals = parameter.find('=');
        if (equals == std::string_view::npos || !equalsIgnoringCase(trimmed(parameter.substr(0, equals)), "boundary"))
            continue;
        std::string_view value = trimmed(parameter.substr(equals + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.empty())
            return std::nullopt;
        return std::string(value);
    }
    return std::nullopt;
}

// Cameras that announce the boundary with its leading dashes ("boundary=--frame")
// send it unchanged as the delimiter, so the dashes are not added twice.
MultipartSplitter::MultipartSplitter(const std::string &boundary, std::size_t partLimit)
    : delimiter(boundary.rfind("--", 0) == 0 ? boundary : "--" + boundary), limit(partLimit)
{
}

std::vector<std::string> MultipartSplitter::feed(std::string_view bytes)
{
    std::vector<std::string> parts;
    buffer.append(bytes);
    while (step(parts)) {
    }
    return parts;
}

// One state's work; false when it needs more bytes.
bool MultipartSplitter::step(std::vector<std::string> &parts)
{
    switch (state) {
    case State::seekingDelimiter:
        return seekDelimiter();
    case State::delimiterLine:
        return finishDelimiterLine();
    case State::headers:
        return readHeaderLine();
    case State::body:
        return readBody(parts);
    case State::skippingBody:
        return skipBody();
    case State::ended:
        buffer.clear();
        return false;
    }
    return false;
}

// Whatever precedes a delimiter (a preamble, the line end after a body, the rest
// of a dropped part) is thrown away; only a possible start of the delimiter is kept.
bool MultipartSplitter::seekDelimiter()
{
    const std::size_t found = buffer.find(delimiter);
    if (found == std::string::npos) {
        const std::size_t keep = std::min(buffer.size(), delimiter.size() - 1);
        buffer.erase(0, buffer.size() - keep);
        return false;
    }
    buffer.erase(0, found + delimiter.size());
    state = State::delimiterLine;
    return true;
}

bool MultipartSplitter::finishDelimiterLine()
{
    if (buffer.rfind("--", 0) == 0) { // the closing delimiter: the stream is over
        state = State::ended;
        return true;
    }
    const std::size_t lineEnd = buffer.find('\n');
    if (std::min(lineEnd, buffer.size()) > kDelimiterLineLimit) {
        state = State::seekingDelimiter;
        return true;
    }
    if (lineEnd == std::string::npos)
        return false;
    buffer.erase(0, lineEnd + 1);
    bodyLength.reset();
    state = State::headers;
    return true;
}

bool MultipartSplitter::readHeaderLine()
{
    const std::size_t lineEnd = buffer.find('\n');
    if (std::min(lineEnd, buffer.size()) > limit) {
        dropPart();
        return true;
    }
    if (lineEnd == std::string::npos)
        return false;
    const std::string_view line = trimmed(std::string_view(buffer).substr(0, lineEnd));
    if (line.empty()) {
        if (bodyLength && *bodyLength > limit) {
            bytesToSkip = *bodyLength;
            ++dropped;
            state = State::skippingBody;
        } else {
            searchedUpTo = 0;
            state = State::body;
        }
    } else if (const std::optional<std::string_view> length = headerValue(line, "content-length")) {
        bodyLength = parseLength(*length);
    }
    buffer.erase(0, lineEnd + 1);
    return true;
}

// A part with a length ends after that many bytes; one without ends at the line
// end before the next delimiter.
bool MultipartSplitter::readBody(std::vector<std::string> &parts)
{
    if (bodyLength) {
        if (buffer.size() < *bodyLength)
            return false;
        parts.push_back(buffer.substr(0, *bodyLength));
        buffer.erase(0, *bodyLength);
        state = State::seekingDelimiter;
        return true;
    }
    const std::size_t found = buffer.find(delimiter, searchedUpTo);
    if (found == std::string::npos) {
        if (buffer.size() > limit + delimiter.size() + 1) {
            dropPart();
            return true;
        }
        searchedUpTo = buffer.size() - std::min(buffer.size(), delimiter.size() - 1);
        return false;
    }
    std::size_t end = found;
    if (end > 0 && buffer[end - 1] == '\n')
        --end;
    if (end > 0 && buffer[end - 1] == '\r')
        --end;
    if (end > limit)
        ++dropped;
    else
        parts.push_back(buffer.substr(0, end));
    buffer.erase(0, found);
    state = State::seekingDelimiter;
    return true;
}

bool MultipartSplitter::skipBody()
{
    const std::size_t skipped = std::min(bytesToSkip, buffer.size());
    buffer.erase(0, skipped);
    bytesToSkip -= skipped;
    if (bytesToSkip > 0)
        return false;
    state = State::seekingDelimiter;
    return true;
}

void MultipartSplitter::dropPart()
{
    ++dropped;
    state = State::seekingDelimiter;
}

} // namespace views

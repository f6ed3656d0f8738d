#pragma once
// What the fuzz targets share: a property check that ends the run like a crash (so
// libFuzzer keeps the input that broke it), and a way for the input to say where a
// transport cuts the bytes it carries.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace fuzz {

inline void expect(bool holds, const char *property)
{
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}

// The first byte's low four bits say how many of the following bytes are piece
// lengths; its high four bits are left to the target as options. The text after
// the lengths is cut into pieces of those lengths (0 gives an empty piece) and
// whatever remains is the last piece.
struct SplitInput {
    unsigned options = 0;
    std::vector<std::string_view> pieces;
};

inline SplitInput splitInput(const std::uint8_t *data, std::size_t size)
{
    SplitInput input;
    if (size == 0)
        return input;
    input.options = data[0] >> 4;
    std::size_t lengths = data[0] & 0x0f;
    if (lengths > size - 1)
        lengths = size - 1;
    std::string_view text(reinterpret_cast<const char *>(data) + 1 + lengths, size - 1 - lengths);
    for (std::size_t i = 0; i < lengths; ++i) {
        const std::string_view piece = text.substr(0, data[1 + i]);
        input.pieces.push_back(piece);
        text.remove_prefix(piece.size());
    }
    input.pieces.push_back(text);
    return input;
}

inline std::string_view wholeInput(const std::uint8_t *data, std::size_t size)
{
    return {reinterpret_cast<const char *>(data), size};
}

} // namespace fuzz

#include "views/webcam_address.h"

namespace views {

namespace {
constexpr int kHighestOctet = 255;
}

bool isValidOctet(std::string_view text)
{
    if (text.empty())
        return false;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
        // Stop before a long run of digits could overflow.
        if (value > kHighestOctet)
            return false;
    }
    return true;
}

std::string dottedAddress(const std::array<std::string, kOctets> &octets)
{
    std::string address = octets[0];
    for (std::size_t i = 1; i < kOctets; ++i)
        address += '.' + octets[i];
    return address;
}

// Leading zeros go: the engine would read "010" as the octal 8.
std::string webcamUrl(const std::array<std::string, kOctets> &octets)
{
    std::array<std::string, kOctets> numbers;
    for (std::size_t i = 0; i < kOctets; ++i) {
        const std::size_t firstDigit = octets[i].find_first_not_of('0');
        numbers[i] = firstDigit == std::string::npos ? "0" : octets[i].substr(firstDigit);
    }
    return "http://" + dottedAddress(numbers);
}

} // namespace views

#pragma once
// The webcam's address from its four octet fields: what a field may hold and the
// address the browser is sent to.
#include <array>
#include <string>
#include <string_view>

namespace views {

constexpr std::size_t kOctets = 4;

// A whole decimal number from 0 to 255, digits only (no sign, no blanks);
// leading zeros are allowed, as the number is what counts.
bool isValidOctet(std::string_view text);

// The four texts joined by single dots, first octet first: "192.168.100.5".
std::string dottedAddress(const std::array<std::string, kOctets> &octets);

// The browser engine loads complete web addresses only, so the dotted address
// gets the scheme the camera serves its page with: "http://192.168.100.5". Each
// octet is written as its number, without leading zeros.
std::string webcamUrl(const std::array<std::string, kOctets> &octets);

} // namespace views

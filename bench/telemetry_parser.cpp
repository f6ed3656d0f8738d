// Throughput of the link-2 reply parser on a steady stream of telemetry records,
// delivered in the small pieces a serial line produces.
#include "telemetry/telemetry_parser.h"

#include <chrono>
#include <cstdio>
#include <string>

int main()
{
    const std::string reply = "A42\rB75\rT031\r";
    const std::size_t pieceSize = 5;
    const int rounds = 200000;
    telemetry::FahrwerkAntwortParser parser;
    std::size_t readings = 0;
    const auto start = std::chrono::steady_clock::now();
    std::string stream;
    for (int round = 0; round < rounds; ++round)
        stream += reply;
    for (std::size_t at = 0; at < stream.size(); at += pieceSize)
        readings += parser.receive(std::string_view(stream).substr(at, pieceSize)).size();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    std::printf("telemetry.readings  %zu readings\n", readings);
    std::printf("telemetry.parse_rate  %.1f MB/s\n", stream.size() / elapsed.count() / 1e6);
    return 0;
}

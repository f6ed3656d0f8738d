// The simulator's command path on bytes cut where the fuzzer chooses: the line
// assembler, then each line to the SSC-32 and to the chassis board, with the clock
// moved on between lines (option bits: 25 ms steps). Pulses stay within the servo
// range, tracks and measurements within theirs, every reply record of the chassis
// is one the console reads, and given time every move ends and the watchdog stops
// the tracks.
#include "fuzz_input.h"

#include "telemetry/telemetry_parser.h"
#include "chassis_model.h"
#include "line_assembler.h"
#include "ssc32_model.h"

#include <algorithm>
#include <string>

namespace {

// The slowest move: a group time saturates at 10^7 ms, a speed term at 1 µs/s
// crosses the 2000 µs range in 2 * 10^6 ms. Twice that leaves room for rounding.
constexpr int kEveryMoveEndsMs = 20000000;

bool within(int value, int low, int high) { return value >= low && value <= high; }

bool isPulseOrNone(int pulse)
{
    return pulse == 0 || within(pulse, sim::Ssc32Model::kMinPulse, sim::Ssc32Model::kMaxPulse);
}

void checkArm(const sim::Ssc32Model &arm)
{
    for (int channel = 0; channel < sim::Ssc32Model::kChannels; ++channel)
        fuzz::expect(isPulseOrNone(arm.position(channel)) && isPulseOrNone(arm.target(channel)),
                     "pulses stay within the servo range");
}

void checkChassis(const sim::ChassisModel &chassis)
{
    const int top = sim::ChassisModel::kMaxTrackSpeed;
    fuzz::expect(within(chassis.leftSpeed(), -top, top) && within(chassis.rightSpeed(), -top, top),
                 "track speeds stay within range");
    fuzz::expect(within(chassis.distanceCm(), 3, 200), "distance stays within 3..200 cm");
    fuzz::expect(within(chassis.batteryTenthsOfVolt(), 69, 81), "battery stays within 6.9..8.1 V");
    fuzz::expect(within(chassis.temperatureCelsius(), 22, 70), "heat-sink stays within 22..70 °C");
}

void checkChassisReply(const std::string &reply)
{
    telemetry::FahrwerkAntwortParser console;
    const std::size_t records = static_cast<std::size_t>(std::count(reply.begin(), reply.end(), '\r'));
    fuzz::expect(reply.empty() || reply.back() == '\r', "a reply ends with a whole record");
    fuzz::expect(console.receive(reply).size() == records, "the console reads every reply record");
}

void checkArmReply(const std::string &line, const std::string &reply)
{
    fuzz::expect(reply.empty() || line.find_first_of("QqVv") != std::string::npos,
                 "only queries are answered");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const fuzz::SplitInput input = fuzz::splitInput(data, size);
    const int stepMs = static_cast<int>(input.options) * 25;
    sim::LineAssembler assembler;
    sim::Ssc32Model arm;
    sim::ChassisModel chassis;
    for (std::string_view piece : input.pieces) {
        for (const std::string &line : assembler.feed(std::string(piece))) {
            fuzz::expect(line.size() <= sim::LineAssembler::kMaxLineLength
                             && line.find_first_of("\r\n") == std::string::npos,
                         "a line is bounded and holds no line end");
            checkArmReply(line, arm.handleLine(line));
            checkChassisReply(chassis.handleLine(line));
            arm.advance(stepMs);
            chassis.advance(stepMs);
            checkArm(arm);
            checkChassis(chassis);
        }
    }
    arm.advance(kEveryMoveEndsMs);
    fuzz::expect(!arm.isMoving(), "every move ends");
    chassis.advance(sim::ChassisModel::kWatchdogMs);
    fuzz::expect(chassis.leftSpeed() == 0 && chassis.rightSpeed() == 0, "the watchdog stops the tracks");
    return 0;
}

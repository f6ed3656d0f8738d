#pragma once
// The chassis board as the console sees it: two tracks, horn, hazard lights and
// three measurements that react to driving. The distance to the rear follows the
// mean track speed, the battery drains with motor load and the heat-sink warms
// under load and cools at rest. The clock is driven from outside through advance().
#include <string>

namespace sim {

class ChassisModel {
public:
    static constexpr int kWatchdogMs = 600;
    static constexpr int kMaxTrackSpeed = 255;
    static constexpr double kMinDistanceCm = 3;
    static constexpr double kMaxDistanceCm = 200;
    static constexpr double kFullBatteryVolts = 8.1;
    static constexpr double kEmptyBatteryVolts = 6.9;
    static constexpr double kAmbientCelsius = 22;
    static constexpr const char *kIdentificationReply = "VELMO-2007\r";

    // One message without its carriage return; returns the reply records (often none).
    // A message with anything the board does not know is dropped whole.
    std::string handleLine(const std::string &line);
    void advance(int elapsedMs);

    // Signed track speeds: positive forward, negative backward.
    int leftSpeed() const { return left; }
    int rightSpeed() const { return right; }
    bool horn() const { return hornOn; }
    bool hazard() const { return hazardOn; }
    int distanceCm() const;
    int batteryTenthsOfVolt() const;
    int temperatureCelsius() const;

private:
    // 0 at rest, 1 with both tracks at full speed in either direction.
    double motorLoad() const;
    void run(double seconds);
    std::string execute(char letter, int value);
    // Any track command feeds the watchdog.
    void driveTrack(int &track, int speed);

    int left = 0;
    int right = 0;
    bool hornOn = false;
    bool hazardOn = false;
    int msSinceTrackCommand = 0;
    double distance = 60;
    double volts = kFullBatteryVolts;
    double celsius = kAmbientCelsius;
};

} // namespace sim

#!/usr/bin/env python3
"""Drives the chassis backwards, where its distance sensor looks, until the
distance is under 20 cm, then stops. The console stops the chassis by itself if
this program hangs or ends before it stops (the heartbeat)."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir))
import velmora  # noqa: E402

CLOSEST_CM = 20
SPEED = 120
GIVE_UP_SECONDS = 30


def main():
    with velmora.from_command_line(__doc__) as robot:
        robot.subscribe("telemetry")
        robot.drive("backward", SPEED)
        for event in robot.events(timeout=GIVE_UP_SECONDS):
            if event["event"] == "drive_ended":
                sys.exit(f"drive_until_close: {event['message']}")
            if event["event"] == "telemetry" and event["quantity"] == "distance" \
                    and event["value"] is not None and event["value"] < CLOSEST_CM:
                robot.chassis_stop()
                print(f"stopped at {event['value']:.0f} cm")
                return
        robot.chassis_stop()
        sys.exit(f"drive_until_close: no distance under {CLOSEST_CM} cm within {GIVE_UP_SECONDS} s")


if __name__ == "__main__":
    try:
        main()
    except velmora.VelmoraError as error:
        sys.exit(f"drive_until_close: {error.message}")

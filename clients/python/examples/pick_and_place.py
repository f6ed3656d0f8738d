#!/usr/bin/env python3
"""Pick-and-place by tip poses: the gripper takes a part at one place and sets it
down at another, each move a straight line of the tip. Positions in mm from the
base axis on the table (x forward, y to the left), the hand pitched 60 degrees
down; the gripper's opening in mm."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir))
import velmora  # noqa: E402

PICK = (200, -100)
PLACE = (200, 100)
TABLE_Z = 40      # where the gripper closes around the part
CLEAR_Z = 100     # high enough to carry it over anything on the table
PITCH = -60
OPEN, CLOSED = 20, 8
SPEED = 100       # mm/s


def down_and_up(robot, place, gripper):
    """Lowers the open or closed gripper onto the table, sets its opening, rises again."""
    x, y = place
    robot.move_tip(x, y, TABLE_Z, speed=SPEED)
    robot.move_tip(x, y, TABLE_Z, gripper=gripper, speed=SPEED)
    robot.move_tip(x, y, CLEAR_Z, speed=SPEED)


def main():
    with velmora.from_command_line(__doc__) as robot:
        robot.move_tip(*PICK, CLEAR_Z, pitch=PITCH, gripper=OPEN, speed=SPEED)
        down_and_up(robot, PICK, CLOSED)
        robot.move_tip(*PLACE, CLEAR_Z, speed=SPEED)
        down_and_up(robot, PLACE, OPEN)
        tip = robot.state()["arm"]["tip"]
        print(f"done: the tip at x {tip['x']:.0f}, y {tip['y']:.0f}, z {tip['z']:.0f} mm")


if __name__ == "__main__":
    try:
        main()
    except velmora.VelmoraError as error:
        sys.exit(f"pick_and_place: {error.message}")

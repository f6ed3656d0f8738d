"""Drive the Velmora console's robot from Python, through the console's
programming interface (docs/api.md): newline-delimited JSON over TCP.

Standard library only. Every request is a method that returns the reply (a
dict) or raises VelmoraError with the console's code and German reason. Events
come as an iterator. While the chassis drives for this program, a thread says
so to the console every 200 ms; the console stops the chassis when that stops
for 500 ms (the program ended, hung or lost the connection).

    import velmora
    with velmora.Velmora() as robot:
        print(robot.state()["arm"]["tip"])
        robot.set_joint("Schulter", pulse=1600, speed=300, wait=True)
        robot.drive("forward", speed=100)
"""

import argparse
import itertools
import json
import os
import queue
import socket
import threading
import time

API = 1
DEFAULT_PORT = 10010
HEARTBEAT_SECONDS = 0.2


class VelmoraError(Exception):
    """A request the console refused or could not read, or a lost connection."""

    def __init__(self, code, message):
        super().__init__(f"{code}: {message}")
        self.code = code
        self.message = message


class Velmora:
    """One connection to the console. Safe to use from several threads."""

    def __init__(self, host="127.0.0.1", port=DEFAULT_PORT, token=None, name=None, timeout=10.0):
        self.timeout = timeout
        self._socket = socket.create_connection((host, port), timeout=timeout)
        self._reader_file = self._socket.makefile("rb")
        self.hello = json.loads(self._reader_file.readline() or b"{}")
        if self.hello.get("hello") != "velmora":
            self._socket.close()
            raise VelmoraError("no_console", f"{host}:{port} is not a Velmora console: {self.hello}")
        if self.hello.get("api") != API:
            self._socket.close()
            raise VelmoraError("api", f"the console speaks API {self.hello.get('api')}, this client {API}")
        self._socket.settimeout(None)
        self._send_lock = threading.Lock()
        self._pending_lock = threading.Lock()
        self._pending = {}
        self._ids = itertools.count(1)
        self._events = queue.Queue()
        self._tip_moves = queue.Queue()
        self._closed = False
        self._heartbeat = None
        self._heartbeat_stop = threading.Event()
        self._reader = threading.Thread(target=self._read, name="velmora-reader", daemon=True)
        self._reader.start()
        if token is None:
            token = os.environ.get("VELMORA_TOKEN")
        if self.hello.get("token_required") or token or name:
            try:
                self.request("auth", token=token or "", client=name or "")
            except VelmoraError:
                self.close()
                raise

    # -- connection --------------------------------------------------------

    def close(self):
        """Stops the heartbeat (so whatever this program drives stops) and disconnects."""
        self._stop_heartbeat()
        try:
            self._socket.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass
        self._socket.close()
        self._reader.join(self.timeout)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def request(self, name, **fields):
        """Sends one request and waits for its reply; raises VelmoraError when it is refused."""
        request_id = next(self._ids)
        slot = [threading.Event(), None]
        with self._pending_lock:
            if self._closed:
                raise VelmoraError("closed", "Die Verbindung zur Konsole ist getrennt")
            self._pending[request_id] = slot
        self._send({"id": request_id, "request": name, **fields})
        if not slot[0].wait(self.timeout):
            with self._pending_lock:
                self._pending.pop(request_id, None)
            raise VelmoraError("timeout", f"no reply to {name} within {self.timeout} s")
        reply = slot[1]
        if reply is None:
            raise VelmoraError("closed", "Die Verbindung zur Konsole ist getrennt")
        if not reply.get("ok"):
            raise VelmoraError(reply.get("error"), reply.get("message"))
        return reply

    def events(self, timeout=None):
        """The events subscribed to (and this program's own: drive_ended, tip_move,
        dropped), as they come. Ends when the connection closes, or when none came
        within timeout seconds."""
        while True:
            try:
                event = self._events.get(timeout=timeout)
            except queue.Empty:
                return
            if event is None:  # closed: tell every later iterator too
                self._events.put(None)
                return
            yield event

    # -- reading -----------------------------------------------------------

    def state(self):
        return self.request("state")["state"]

    def subscribe(self, *topics):
        """telemetry, alarm, link, player, joint, drive"""
        return self.request("subscribe", events=list(topics))["events"]

    def unsubscribe(self, *topics):
        return self.request("unsubscribe", events=list(topics))["events"]

    # -- arm -----------------------------------------------------------------

    def set_joints(self, joints, wait=False):
        """joints: dicts with joint (0..4 or its name), pulse (µs) or angle (degrees;
        the Greifer's opening in mm), and speed (µs/s, 0 for none). With wait, returns
        once the slowest joint should have arrived."""
        reply = self.request("arm.joints", joints=list(joints))
        if wait:
            time.sleep(reply["move_ms"] / 1000)
        return reply

    def set_joint(self, joint, pulse=None, angle=None, speed=None, wait=False):
        target = {"joint": joint}
        for key, value in (("pulse", pulse), ("angle", angle), ("speed", speed)):
            if value is not None:
                target[key] = value
        return self.set_joints([target], wait)

    def move_tip(self, x, y, z, pitch=None, gripper=None, speed=None, wait=True):
        """Moves the gripper's tip on a straight line to x, y, z (mm), with the hand's
        pitch (degrees) and the gripper's opening (mm) as given or as they are. With
        wait, returns once the move has ended and raises VelmoraError if it was stopped."""
        target = {"x": x, "y": y, "z": z}
        for key, value in (("pitch", pitch), ("gripper", gripper), ("speed", speed)):
            if value is not None:
                target[key] = value
        while not self._tip_moves.empty():
            self._tip_moves.get_nowait()
        reply = self.request("arm.tip", **target)
        if wait and reply["move_ms"] > 0:
            self._wait_for_tip_move(reply["move_ms"] / 1000 + self.timeout)
        return reply

    def park(self, wait=False):
        return self._timed("arm.park", wait)

    def centre(self, wait=False):
        return self._timed("arm.centre", wait)

    def arm_stop(self):
        return self.request("arm.stop")

    # -- motion sets -----------------------------------------------------------

    def motion_sets(self):
        return self.request("sets.list")["files"]

    def load_motion_set(self, name):
        return self.request("sets.load", file=name)

    def play(self, loop=None, dwell_ms=None):
        fields = {}
        if loop is not None:
            fields["loop"] = loop
        if dwell_ms is not None:
            fields["dwell_ms"] = dwell_ms
        return self.request("player.play", **fields)["player"]

    def pause(self):
        return self.request("player.pause")["player"]

    def stop_player(self):
        return self.request("player.stop")["player"]

    def player_state(self):
        return self.request("player.state")["player"]

    # -- chassis ---------------------------------------------------------------

    def drive(self, direction, speed, steering=0):
        """direction: forward, backward, left, right (on the spot) or stop; speed
        0..255; steering -100..100 (negative to the left). Holds while this
        connection's heartbeat runs, which this starts."""
        reply = self.request("chassis.drive", direction=direction, speed=speed, steering=steering)
        self._start_heartbeat()
        return reply

    def horn(self, on):
        reply = self.request("chassis.horn", on=on)
        if on:
            self._start_heartbeat()
        return reply

    def heartbeat(self):
        return self.request("chassis.heartbeat")["driving"]

    def chassis_stop(self):
        self._stop_heartbeat()
        return self.request("chassis.stop")

    # -- inside ----------------------------------------------------------------

    def _timed(self, name, wait):
        reply = self.request(name)
        if wait:
            time.sleep(reply["move_ms"] / 1000)
        return reply

    def _wait_for_tip_move(self, seconds):
        try:
            event = self._tip_moves.get(timeout=seconds)
        except queue.Empty:
            raise VelmoraError("timeout", "the tip move did not end in time") from None
        if event is None:
            raise VelmoraError("closed", "Die Verbindung zur Konsole ist getrennt")
        if not event["done"]:
            raise VelmoraError("stopped", event["reason"])

    def _send(self, message):
        line = (json.dumps(message, ensure_ascii=False) + "\n").encode("utf-8")
        with self._send_lock:
            try:
                self._socket.sendall(line)
            except OSError as error:
                raise VelmoraError("closed", str(error)) from None

    def _read(self):
        try:
            for line in self._reader_file:
                message = json.loads(line)
                if "event" in message:
                    self._take_event(message)
                else:
                    self._take_reply(message)
        except (OSError, ValueError):
            pass
        with self._pending_lock:
            self._closed = True
            slots = list(self._pending.values())
            self._pending.clear()
        for slot in slots:
            slot[0].set()
        self._heartbeat_stop.set()
        self._tip_moves.put(None)
        self._events.put(None)

    def _take_event(self, event):
        if event["event"] == "drive_ended":
            self._heartbeat_stop.set()
        elif event["event"] == "tip_move":
            self._tip_moves.put(event)
        self._events.put(event)

    # A reply without an id (a line too long, too many clients) is told as an event.
    def _take_reply(self, reply):
        with self._pending_lock:
            slot = self._pending.pop(reply.get("id"), None)
        if slot is None:
            self._events.put({"event": "error", **reply})
            return
        slot[1] = reply
        slot[0].set()

    def _start_heartbeat(self):
        if self._heartbeat and self._heartbeat.is_alive():
            return
        self._heartbeat_stop.clear()
        self._heartbeat = threading.Thread(target=self._beat, name="velmora-heartbeat", daemon=True)
        self._heartbeat.start()

    def _stop_heartbeat(self):
        self._heartbeat_stop.set()
        if self._heartbeat and self._heartbeat is not threading.current_thread():
            self._heartbeat.join(self.timeout)

    def _beat(self):
        while not self._heartbeat_stop.wait(HEARTBEAT_SECONDS):
            try:
                if not self.heartbeat():
                    return
            except VelmoraError:
                return


def from_command_line(description):
    """A connection to the console named by --host, --port and --token (or
    VELMORA_TOKEN), for small scripts such as the examples."""
    parser = argparse.ArgumentParser(description=description)
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=DEFAULT_PORT)
    parser.add_argument("--token", default=None)
    args = parser.parse_args()
    return Velmora(args.host, args.port, args.token, name=parser.prog)

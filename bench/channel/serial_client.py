#!/usr/bin/python3
"""The peer a scripter would write: python3-serial, one command, read to OK.

usage: serial_client.py DEVICE ROUND_TRIPS [WARMUP] [--chunked]

The plain client uses Serial.read_until, the obvious call. With --chunked it
reads whatever is waiting instead, a scripter who has looked at the cost.
Prints one CSV line: client,round_trips,wall_s,user_s,sys_s,bad_answers
(run it with Debian's /usr/bin/python3, which has python3-serial)."""

import resource
import sys
import time

import serial

COMMAND = b"AT+CSQ\r"
FINAL = b"OK\r\n"


def read_plain(port):
    return port.read_until(FINAL)


def read_chunked(port):
    answer = b""
    while not answer.endswith(FINAL) and b"ERROR" not in answer:
        chunk = port.read(max(1, port.in_waiting))
        if not chunk:
            break
        answer += chunk
    return answer


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    chunked = "--chunked" in sys.argv
    device, round_trips = args[0], int(args[1])
    warmup = int(args[2]) if len(args) > 2 else 100
    read_answer = read_chunked if chunked else read_plain

    port = serial.Serial(device, 115200, timeout=5)
    port.reset_input_buffer()
    port.write(b"ATE0\r")
    read_answer(port)
    for _ in range(warmup):
        port.write(COMMAND)
        read_answer(port)

    bad = 0
    before = resource.getrusage(resource.RUSAGE_SELF)
    start = time.monotonic()
    for _ in range(round_trips):
        port.write(COMMAND)
        if b"+CSQ: " not in read_answer(port):
            bad += 1
    wall = time.monotonic() - start
    after = resource.getrusage(resource.RUSAGE_SELF)
    port.close()

    name = "python-serial-chunked" if chunked else "python-serial"
    print("%s,%d,%.6f,%.6f,%.6f,%d" % (name, round_trips, wall, after.ru_utime - before.ru_utime,
                                       after.ru_stime - before.ru_stime, bad))


if __name__ == "__main__":
    main()

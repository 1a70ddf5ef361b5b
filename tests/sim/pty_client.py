"""Talks to a serial modem as any terminal program would: opens the device
with pyserial (which sets the tty's line settings), sends each command line
given on the command line and prints "<command> => <answer lines>"."""
import sys

import serial


def command(port, line):
    port.write((line + "\r").encode("ascii"))
    answer = []
    while True:
        raw = port.readline()
        if not raw:
            raise SystemExit("no answer to " + line)
        text = raw.decode("latin-1").strip()
        if not text or text == line:  # blank framing or the echo
            continue
        answer.append(text)
        if text in ("OK", "ERROR") or text.startswith("+CME ERROR"):
            return answer


def main():
    port = serial.Serial(sys.argv[1], 115200, timeout=10)
    for line in sys.argv[2:]:
        print(line + " => " + " | ".join(command(port, line)), flush=True)
    port.close()


main()

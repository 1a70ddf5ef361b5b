#!/usr/bin/python3
"""Channel cost over a pty, every client against the same device in one run.

Starts a device (the minimal device, then the simulated modem when it is
built), runs the clients one after another in rounds, rotating their order so
no client always follows the same one, and reports per client the median round
trips per second and client CPU time (user + system, getrusage) per round trip,
with the wire budget: that CPU time over the time the round trip's bytes take
on a 115200-baud line at 10 bits per byte.

usage: compare.py BUILD_DIR [OUT_DIR] [--round-trips N] [--rounds R] [--quick]
Writes OUT_DIR/channel-runs.csv (every run) and OUT_DIR/channel.csv (medians)
when OUT_DIR is given. --quick runs the floor and AtPhoneLine alone, 3 rounds
of 3000 round trips (unless told otherwise), and prints last one line:
  atphoneline/floor: minidev X %, cellsim Y %; cpu/rt: A µs vs floor B µs
(X and Y: medians of the per-round shares; A and B: medians of every round of
both devices), with the load average before and after the run above it.
"""

import argparse
import csv
import os
import statistics
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
PYTHON = "/usr/bin/python3"  # Debian's interpreter, which has python3-serial

COMMAND_BYTES = len(b"AT+CSQ\r")
ANSWER_BYTES = len(b"\r\n+CSQ: 23,99\r\n\r\nOK\r\n")
BAUD = 115200
WIRE_US_PER_ROUND_TRIP = (COMMAND_BYTES + ANSWER_BYTES) * 10 / BAUD * 1e6

SUMMARY_FIELDS = ["device", "client", "rt_per_s", "cpu_us_per_rt", "user_us_per_rt",
                  "sys_us_per_rt", "rt_share_of_floor", "cpu_share_of_python_serial",
                  "cpu_share_of_python_chunked",
                  "wire_us_per_rt", "wire_share", "allocs_per_rt", "bad_answers"]


def clients(build, quick=False):
    bench = os.path.join(build, "bench")
    script = os.path.join(HERE, "serial_client.py")
    native = [
        ("floor", [os.path.join(bench, "bench_floor_client")]),
        ("atphoneline", [os.path.join(bench, "bench_atline_client")]),
    ]
    if quick:
        return native
    return native + [
        ("floor-epoll", [os.path.join(bench, "bench_floor_client"), "--epoll"]),
        ("python-serial", [PYTHON, script]),
        ("python-serial-chunked", [PYTHON, script, "--chunked"]),
    ]


def load_average():
    with open("/proc/loadavg") as f:
        return " ".join(f.read().split()[:3])


def devices(build):
    bench = os.path.join(build, "bench")
    found = [("minidev", [os.path.join(bench, "bench_minidev")])]
    cellsim = os.path.join(build, "sim", "cellsim")
    if os.path.exists(cellsim):
        found.append(("cellsim", [cellsim]))
    return found


def start_device(command):
    device = subprocess.Popen(command, stdout=subprocess.PIPE, text=True)
    path = device.stdout.readline().strip()
    if not path.startswith("/dev/"):
        device.kill()
        sys.exit("device %s printed %r instead of a pty path" % (command[0], path))
    return device, path


def run_client(command, path, round_trips):
    # The round-trip count follows the device path; a client whose name ends
    # the command (--chunked) keeps its flag after the numbers.
    flags = [a for a in command if a.startswith("--")]
    program = [a for a in command if not a.startswith("--")]
    out = subprocess.run(program + [path, str(round_trips), "100"] + flags,
                         capture_output=True, text=True, timeout=600)
    if out.returncode != 0:
        sys.exit("client %s failed: %s" % (command, out.stderr.strip()))
    fields = out.stdout.strip().splitlines()[-1].split(",")
    rounds, wall, user, system, bad = int(fields[1]), float(fields[2]), float(fields[3]), \
        float(fields[4]), int(fields[5])
    allocs = float(fields[6]) if len(fields) > 6 else ""
    return {
        "round_trips": rounds,
        "wall_s": wall,
        "rt_per_s": rounds / wall,
        "cpu_us_per_rt": (user + system) / rounds * 1e6,
        "user_us_per_rt": user / rounds * 1e6,
        "sys_us_per_rt": system / rounds * 1e6,
        "bad_answers": bad,
        "allocs_per_rt": allocs,
    }


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("out", nargs="?")
    parser.add_argument("--round-trips", type=int)
    parser.add_argument("--rounds", type=int)
    parser.add_argument("--quick", action="store_true")
    args = parser.parse_args()
    round_trips = args.round_trips or (3000 if args.quick else 20000)
    rounds = args.rounds or (3 if args.quick else 5)
    load_before = load_average()

    runs = []
    for device_name, device_command in devices(args.build):
        device, path = start_device(device_command)
        try:
            order = clients(args.build, args.quick)
            for round_index in range(rounds):
                shift = round_index % len(order)
                for name, command in order[shift:] + order[:shift]:
                    result = run_client(command, path, round_trips)
                    result.update(device=device_name, client=name, round=round_index)
                    runs.append(result)
                    print("%-8s %-22s round %d: %8.0f rt/s %7.1f us cpu/rt" % (
                        device_name, name, round_index, result["rt_per_s"], result["cpu_us_per_rt"]),
                        flush=True)
        finally:
            device.kill()
            device.wait()

    load_after = load_average()
    summary = summarise(runs, args.quick)
    if args.out:
        write_csv(args.out, runs, summary)
    for row in summary:
        print(",".join(str(row[k]) for k in SUMMARY_FIELDS))
    if args.quick:
        print("load average: %s before, %s after" % (load_before, load_after))
        print(quick_line(runs, summary))


def write_csv(out, runs, summary):
    run_fields = ["device", "client", "round", "round_trips", "wall_s", "rt_per_s", "cpu_us_per_rt",
                  "user_us_per_rt", "sys_us_per_rt", "bad_answers", "allocs_per_rt"]
    with open(os.path.join(out, "channel-runs.csv"), "w", newline="") as f:
        writer = csv.DictWriter(f, fieldnames=run_fields)
        writer.writeheader()
        writer.writerows(runs)

    with open(os.path.join(out, "channel.csv"), "w", newline="") as f:
        writer = csv.DictWriter(f, fieldnames=SUMMARY_FIELDS)
        writer.writeheader()
        writer.writerows(summary)


def quick_line(runs, summary):
    """The one-line verdict of --quick."""
    share = {row["device"]: row["rt_share_of_floor"] for row in summary if row["client"] == "atphoneline"}
    shares = ", ".join("%s %.0f %%" % (device, share[device] * 100) for device in share)

    def cpu(client):
        return statistics.median(r["cpu_us_per_rt"] for r in runs if r["client"] == client)

    return "atphoneline/floor: %s; cpu/rt: %.1f \u00b5s vs floor %.1f \u00b5s" % (
        shares, cpu("atphoneline"), cpu("floor"))


def ratio_median(by_round, client, other, key):
    """The median over rounds of client's value over the other's, or "" when
    the other client did not run."""
    ratios = [rnd[client][key] / rnd[other][key] for rnd in by_round.values() if other in rnd]
    return round(statistics.median(ratios), 3) if ratios else ""


def summarise(runs, quick=False):
    """Medians per device and client. The share of the floor is the median of
    the per-round ratios, so each ratio compares runs taken side by side."""
    rows = []
    for device in sorted({r["device"] for r in runs}, key=lambda d: d != "minidev"):
        of_device = [r for r in runs if r["device"] == device]
        by_round = {}
        for r in of_device:
            by_round.setdefault(r["round"], {})[r["client"]] = r
        for client in [c for c, _ in clients("", quick)]:
            mine = [r for r in of_device if r["client"] == client]
            if not mine:
                continue
            cpu = statistics.median(r["cpu_us_per_rt"] for r in mine)
            allocs = [r["allocs_per_rt"] for r in mine if r["allocs_per_rt"] != ""]
            rows.append({
                "device": device,
                "client": client,
                "rt_per_s": round(statistics.median(r["rt_per_s"] for r in mine)),
                "cpu_us_per_rt": round(cpu, 2),
                "user_us_per_rt": round(statistics.median(r["user_us_per_rt"] for r in mine), 2),
                "sys_us_per_rt": round(statistics.median(r["sys_us_per_rt"] for r in mine), 2),
                "rt_share_of_floor": ratio_median(by_round, client, "floor", "rt_per_s"),
                "cpu_share_of_python_serial": ratio_median(by_round, client, "python-serial", "cpu_us_per_rt"),
                "cpu_share_of_python_chunked": ratio_median(by_round, client, "python-serial-chunked",
                                                            "cpu_us_per_rt"),
                "wire_us_per_rt": round(WIRE_US_PER_ROUND_TRIP, 1),
                "wire_share": round(cpu / WIRE_US_PER_ROUND_TRIP, 5),
                "allocs_per_rt": round(statistics.median(allocs), 2) if allocs else "",
                "bad_answers": sum(r["bad_answers"] for r in mine),
            })
    return rows


if __name__ == "__main__":
    main()

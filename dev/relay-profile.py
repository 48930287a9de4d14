#!/usr/bin/env python3
"""Where a program's time goes under Wine, from Wine's relay trace.

usage: relay-profile.py TRACE WALL_SECONDS [TITLE]

TRACE is the standard error of a run with WINEDEBUG=+timestamp,+relay and the calls of
interest named in HKCU\\Software\\Wine\\Debug "RelayInclude" (dev/bench-install.sh
--profile sets them). Every traced call is timed from its "Call" line to its "Ret" line
on the same thread; a call made inside another traced call counts for both. Prints, per
function, the time spent in it, the number of calls and the time a call, then what the
traced calls leave of WALL_SECONDS (the program's own work, untraced calls and waits).
Tracing itself adds a few microseconds to every traced call.
"""
import collections
import re
import sys

LINE = re.compile(r"^(\d+\.\d+):([0-9a-f]+):(Call|Ret)\s+([\w.]+)\(")


def profile(lines):
    """Returns {function: [seconds, calls]} and the seconds of the outermost calls."""
    totals = collections.defaultdict(lambda: [0.0, 0])
    open_calls = collections.defaultdict(list)  # thread -> [(function, start)]
    outermost = 0.0
    for line in lines:
        match = LINE.match(line)
        if not match:
            continue
        when, thread, kind, function = float(match[1]), match[2], match[3], match[4]
        stack = open_calls[thread]
        if kind == "Call":
            stack.append((function, when))
            continue
        # A "Ret" closes the innermost open call of its function on that thread; calls
        # that never return (the process ended) are not counted.
        for depth in range(len(stack) - 1, -1, -1):
            if stack[depth][0] == function:
                started = stack[depth][1]
                del stack[depth:]
                totals[function][0] += when - started
                totals[function][1] += 1
                if depth == 0:
                    outermost += when - started
                break
    return totals, outermost


def main(argv):
    if len(argv) not in (3, 4):
        sys.stderr.write(__doc__)
        return 64
    with open(argv[1], errors="replace") as trace:
        totals, outermost = profile(trace)
    wall = float(argv[2])
    title = argv[3] if len(argv) == 4 else argv[1]
    print(f"{title}: {wall:.3f} s")
    for function, (seconds, calls) in sorted(totals.items(), key=lambda item: -item[1][0]):
        print(f"  {function:<32} {seconds:8.3f} s {calls:7d} calls {1000 * seconds / calls:8.3f} ms a call")
    print(f"  {'(outside the traced calls)':<32} {wall - outermost:8.3f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

#!/usr/bin/env python3
"""Times quillscan-search beside grep, rg and a bare read of the index, one query at a time.

For each query the four commands run in turn, round after round, with the order rotated every
round so that none of them always runs first or last; one untimed round comes first. The table
shows each command's median wall time with the count it printed, and quillscan's time divided
by each of the others. Called by search_bench.sh, which prepares the binary and the index.
"""

import argparse
import os
import re
import statistics
import subprocess
import sys
import time
import unicodedata


def commands(search, index, query):
    return [
        ("quillscan", [search, "--count", "--index", index, query]),
        ("grep", ["grep", "-c", "-i", "-F", query, index]),
        ("rg", ["rg", "-c", "-i", "-F", query, index]),
        ("read floor", ["dd", f"if={index}", "of=/dev/null", "bs=4096", "status=none"]),
    ]


def run(command):
    """Runs one command and returns its wall time in seconds and the count it printed."""
    start = time.perf_counter()
    done = subprocess.run(command, capture_output=True, text=True)
    elapsed = time.perf_counter() - start
    # grep and rg exit with 1 when nothing matches; rg -c then prints nothing at all.
    if done.returncode not in (0, 1):
        raise SystemExit(f"{' '.join(command)} failed ({done.returncode}): {done.stderr.strip()}")
    number = re.search(r"\d+", done.stdout)
    if number:
        return elapsed, int(number.group())
    return elapsed, 0 if done.returncode == 1 else None


def time_query(search, index, query, runs):
    named = commands(search, index, query)
    counts = {name: run(command)[1] for name, command in named}
    times = {name: [] for name, _ in named}
    for round_number in range(runs):
        shift = round_number % len(named)
        for name, command in named[shift:] + named[:shift]:
            times[name].append(run(command)[0])
    return {name: statistics.median(values) for name, values in times.items()}, counts


def display_width(text):
    return sum(2 if unicodedata.east_asian_width(c) in "WF" else 1 for c in text)


def print_row(cells, widths):
    padded = (cell + " " * (width - display_width(cell)) for cell, width in zip(cells, widths))
    print("  ".join(padded).rstrip())


def version(command):
    return subprocess.run(command, capture_output=True, text=True).stdout.splitlines()[0]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--search", required=True, help="the quillscan-search binary")
    parser.add_argument("--index", required=True, help="the index file to search")
    parser.add_argument("--runs", type=int, default=7, help="timed runs of each command")
    parser.add_argument("queries", nargs="+")
    args = parser.parse_args()

    size_mb = os.path.getsize(args.index) / 1e6
    print(f"Index {args.index}: {size_mb:.1f} MB. Median wall time of {args.runs} runs, "
          "commands alternated.")
    print(f"{version(['grep', '--version'])}; {version(['rg', '--version'])}; "
          f"LC_ALL={os.environ.get('LC_ALL', '')}")
    print("Counts in parentheses: quillscan counts matching titles; grep -c and rg -c count "
          "matching lines,\ntitles and links alike, so theirs may differ. The read floor is dd "
          "reading the file in 4096-byte\nblocks. Ratios are quillscan's time divided by the "
          "other's: below 1 means quillscan is faster.\n")

    header = ["query", "quillscan", "grep", "rg", "read floor", "q/grep", "q/rg", "q/floor",
              "quillscan MB/s"]
    rows = []
    for query in args.queries:
        print(f"timing {query} ...", file=sys.stderr)
        medians, counts = time_query(args.search, args.index, query, args.runs)
        cells = [query]
        for name in ("quillscan", "grep", "rg", "read floor"):
            count = "" if counts[name] is None else f" ({counts[name]})"
            cells.append(f"{medians[name] * 1000:.1f} ms{count}")
        for name in ("grep", "rg", "read floor"):
            cells.append(f"{medians['quillscan'] / medians[name]:.2f}")
        cells.append(f"{size_mb / medians['quillscan']:.0f}")
        rows.append(cells)
    widths = [max(display_width(row[i]) for row in [header] + rows) for i in range(len(header))]
    for row in [header] + rows:
        print_row(row, widths)


if __name__ == "__main__":
    main()

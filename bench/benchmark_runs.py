"""Helpers of bench/run-all and bench/peers/run: pinned runs of the Google Benchmark programs,
their repetitions, and the statistics and number formats of the Markdown tables."""

import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile


def load():
    """The load averages over 1, 5 and 15 minutes and the number of processors, as text."""
    one, five, fifteen = os.getloadavg()
    return f"{one:.1f} / {five:.1f} / {fifteen:.1f} on {os.cpu_count()} CPUs"


def pinned(cpu, command):
    """command pinned to one CPU with taskset, when taskset is there."""
    if cpu is not None and shutil.which("taskset"):
        return ["taskset", "-c", str(cpu)] + command
    return command


def run_benchmark(program, cpu, repetitions, extra=()):
    """Runs a Google Benchmark program with its repetitions interleaved at random and answers
    {name: {"times": [real time per repetition, in seconds], "last": the last repetition's
    record}}, in the program's order, together with the load before and after."""
    with tempfile.NamedTemporaryFile(suffix=".json") as out:
        command = pinned(cpu, [program, f"--benchmark_repetitions={repetitions}",
                               "--benchmark_enable_random_interleaving=true",
                               f"--benchmark_out={out.name}", "--benchmark_out_format=json",
                               *extra])
        before = load()
        print("+", " ".join(command), file=sys.stderr, flush=True)
        subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
        after = load()
        report = json.load(open(out.name))
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
    results = {}
    for record in report["benchmarks"]:
        if record.get("run_type") != "iteration":
            continue
        if record.get("error_occurred"):
            raise SystemExit(f"{record['name']}: {record.get('error_message')}")
        entry = results.setdefault(record["run_name"], {"times": []})
        entry["times"].append(record["real_time"] * scale[record["time_unit"]])
        entry["last"] = record
    order = sorted(results, key=lambda name: (results[name]["last"]["family_index"],
                                              results[name]["last"]["per_family_instance_index"]))
    return {name: results[name] for name in order}, before, after


class Spread:
    """Median, quartiles and extremes of a list of times (or of anything positive)."""

    def __init__(self, values):
        self.values = sorted(values)
        self.median = statistics.median(self.values)
        if len(self.values) >= 2:
            self.q1, _, self.q3 = statistics.quantiles(self.values, n=4, method="inclusive")
        else:
            self.q1 = self.q3 = self.median
        self.min = self.values[0]
        self.max = self.values[-1]


def ratio(numerator, denominator):
    """Ratio of the medians, and the range that the quartiles allow: (Q1a / Q3b, Q3a / Q1b)."""
    return (numerator.median / denominator.median, numerator.q1 / denominator.q3,
            numerator.q3 / denominator.q1)


def number(value, digits=3):
    """value with `digits` significant digits, in plain notation where it reads well."""
    if value == 0:
        return "0"
    text = f"{value:.{digits}g}"
    if "e" in text and 1e-4 <= abs(value) < 1e6:
        text = f"{float(text):f}".rstrip("0").rstrip(".")
    return text


def time_text(seconds):
    """A time with its unit, 3 significant digits."""
    for unit, scale in (("s", 1.0), ("ms", 1e-3), ("us", 1e-6), ("ns", 1e-9)):
        if seconds >= scale:
            return f"{number(seconds / scale)} {unit}"
    return f"{number(seconds / 1e-9)} ns"


def time_spread(spread):
    """median (min-max) of a time spread, the range in the median's unit."""
    median = time_text(spread.median)
    unit = median.split()[1]
    scale = {"s": 1.0, "ms": 1e-3, "us": 1e-6, "ns": 1e-9}[unit]
    return f"{median} ({number(spread.min / scale)}-{number(spread.max / scale)})"


def ratio_text(values):
    """A ratio as made by ratio(): its median and quartile range."""
    middle, low, high = values
    return f"{middle:.2f} ({low:.2f}-{high:.2f})"


def table(header, rows, labels=2):
    """A Markdown table; the columns after the first `labels` are right-aligned."""
    lines = ["| " + " | ".join(header) + " |",
             "|" + "|".join("---" if i < labels else "---:" for i in range(len(header))) + "|"]
    lines += ["| " + " | ".join(str(cell) for cell in row) + " |" for row in rows]
    return "\n".join(lines)

"""Times SciPy's curve_fit (method "lm": MINPACK's Levenberg-Marquardt with a forward-difference
Jacobian) on the problems that fits_benchmark --write-data wrote, the model written with NumPy as a
user writes it. Prints one JSON line per problem.

usage: python3 scipy_fit.py DATA_FOLDER REPETITIONS"""

import json
import re
import sys
import time

import numpy as np
import scipy
from scipy.optimize import curve_fit


def numpy_model(formula, count):
    """Our formula as a NumPy function of x and the coefficients A.. (EXP -> np.exp, ^ -> **)."""
    expression = re.sub(r"\bLN\(", "np.log(", formula)
    expression = re.sub(r"\b(EXP|SIN|COS|SQRT)\(", lambda m: f"np.{m.group(1).lower()}(",
                        expression)
    expression = expression.replace("^", "**").replace("X", "x")
    names = ", ".join("ABCDEF"[:count])
    return eval(f"lambda x, {names}: {expression}", {"np": np})


def main():
    folder, repetitions = sys.argv[1], int(sys.argv[2])
    for line in open(f"{folder}/problems.tsv"):
        name, formula, start, data_file, _, _ = line.rstrip("\n").split("\t")
        p0 = [float(v) for v in start.split()]
        x, y = np.loadtxt(f"{folder}/{data_file}", unpack=True)
        model = numpy_model(formula, len(p0))

        def fit():
            return curve_fit(model, x, y, p0=p0, method="lm", full_output=True)

        popt, _, info, message, ier = fit()
        # Enough fits per repetition for about 0.1 s, so that the clock's resolution does not count.
        begin = time.perf_counter()
        fit()
        once = time.perf_counter() - begin
        per_repetition = max(1, int(0.1 / max(once, 1e-6)))
        times = []
        for _ in range(repetitions):
            begin = time.perf_counter()
            for _ in range(per_repetition):
                fit()
            times.append((time.perf_counter() - begin) / per_repetition)
        residuals = y - model(x, *popt)
        print(json.dumps({
            "problem": name, "times": times, "nfev": int(info["nfev"]),
            "sum": float(np.dot(residuals, residuals)), "coef": [float(c) for c in popt],
            "converged": ier in (1, 2, 3, 4), "message": message.strip(),
            "version": scipy.__version__}), flush=True)


main()

"""quorvane.fit against scipy.optimize.least_squares on the same residuals, in one run.

A 3rd-order Birch-Murnaghan (textbook arithmetic) refined in V0, K0 and K'0
from 100 noisy points, both from the same starting values, each fit repeated
and the best time kept. SciPy is no dependency of the project: this script
installs Debian's python3-scipy itself when it is missing. Run by hand with
Debian's Python on a release build:
    PYTHONPATH=build/release/python /usr/bin/python3 bench/python/fit_bench.py
"""

import os
import subprocess
import time

import numpy as np

import quorvane

POINTS = 100
REPEATS = 200
TRUE = {"V0": 11.24, "K0": 160.0, "Kp0": 4.5}
START = {"V0": 11.0, "K0": 120.0, "Kp0": 4.0}
SIGMA_P = 0.05


def scipy_least_squares():
    try:
        from scipy.optimize import least_squares
    except ImportError:
        sudo = [] if os.geteuid() == 0 else ["sudo"]
        subprocess.run([*sudo, "apt-get", "install", "-y", "-qq", "--no-install-recommends",
                        "python3-scipy"], check=True)
        from scipy.optimize import least_squares
    return least_squares


def bm3_pressure(theta, V):
    V0, K0, Kp0 = theta
    x = V0 / V
    r = np.cbrt(x)
    p2 = r * r
    return 1.5 * K0 * (x * x * r - x * p2) * (1.0 + 0.75 * (Kp0 - 4.0) * (p2 - 1.0))


def best_time(function):
    times = []
    for _ in range(REPEATS):
        start = time.perf_counter()
        result = function()
        times.append(time.perf_counter() - start)
    return min(times), result


def main():
    least_squares = scipy_least_squares()
    import scipy

    eos = quorvane.Eos(type="birch-murnaghan", order=3, arithmetic="textbook", **TRUE)
    V = np.linspace(0.8, 1.0, POINTS) * TRUE["V0"]
    P = eos.pressure(V) + SIGMA_P * np.random.default_rng(5).standard_normal(POINTS)

    def ours():
        return quorvane.fit(P, V, sigP=SIGMA_P, type="birch-murnaghan", order=3,
                            arithmetic="textbook", refine=["V0", "K0", "Kp0"], **START)

    def residuals(theta):
        return (P - bm3_pressure(theta, V)) / SIGMA_P

    def theirs():
        return least_squares(residuals, [START["V0"], START["K0"], START["Kp0"]],
                             method="lm", xtol=1e-15, ftol=1e-15, gtol=1e-15)

    ours_time, fitted = best_time(ours)
    theirs_time, reference = best_time(theirs)
    ours_values = [fitted.parameters[name] for name in ("V0", "K0", "Kp0")]
    print(f"{POINTS} points, 3 parameters, best of {REPEATS}; quorvane {quorvane.__version__}, "
          f"SciPy {scipy.__version__} (least_squares, method lm)")
    print(f"quorvane.fit            {ours_time * 1e3:8.3f} ms  {fitted.iterations} iterations")
    print(f"least_squares           {theirs_time * 1e3:8.3f} ms  {reference.nfev} evaluations")
    print("max relative difference of the parameters "
          f"{np.max(np.abs(np.array(ours_values) / reference.x - 1.0)):.1e}; "
          f"least_squares / quorvane.fit = {theirs_time / ours_time:.1f}")


if __name__ == "__main__":
    main()

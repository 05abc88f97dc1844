"""Eos.volume and Eos.pressure on 10^6 points against hand-written NumPy, in one run.

Run by hand with Debian's Python on a release build:
    PYTHONPATH=build/release/python /usr/bin/python3 bench/python/eos_arrays_bench.py
"""

import time

import numpy as np

import quorvane

POINTS = 1_000_000
REPEATS = 5
# 3rd-order Birch-Murnaghan, a stiff oxide in GPa and cm^3/mol, at Tref.
V0, K0, KP0 = 11.24, 160.0, 4.5
# The engine's exponents: single-precision roundings of 7/3, 5/3 and 2/3.
E7, E5, E2 = 2.3333332538604736, 1.6666666269302368, 0.6666666865348816


def numpy_pressure(V):
    x = V0 / V
    u = x ** E2 - 1.0
    return 1.5 * K0 * (x ** E7 - x ** E5) * (1.0 + 0.75 * (KP0 - 4.0) * u)


def numpy_modulus(V):
    """-V dP/dV of the same formula."""
    x = V0 / V
    p2, p5, p7 = x ** E2, x ** E5, x ** E7
    a3 = 0.75 * (KP0 - 4.0)
    bracket = 1.0 + a3 * (p2 - 1.0)
    return 1.5 * K0 * ((E7 * p7 - E5 * p5) * bracket + (p7 - p5) * a3 * E2 * p2)


def numpy_newton(P):
    """Newton on the logarithm of the volume until every relative step is below 1e-15."""
    V = V0 * (1.0 + KP0 * P / K0) ** (-1.0 / KP0)
    for _ in range(50):
        step = np.expm1((numpy_pressure(V) - P) / numpy_modulus(V))
        V = V + V * step
        if np.all(np.abs(step) < 1e-15):
            break
    return V


def best_of(function, argument):
    """The best wall and processor (all threads) times of REPEATS calls, and the result."""
    walls, cpus = [], []
    for _ in range(REPEATS):
        wall, cpu = time.perf_counter(), time.process_time()
        result = function(argument)
        walls.append(time.perf_counter() - wall)
        cpus.append(time.process_time() - cpu)
    return (min(walls), min(cpus)), result


def main():
    eos = quorvane.Eos(type="birch-murnaghan", order=3, V0=V0, K0=K0, Kp0=KP0)
    pressures = np.linspace(0.0, 100.0, POINTS)
    volumes = np.linspace(0.75 * V0, V0, POINTS)

    exact_time, (V, converged) = best_of(eos.volume, pressures)
    form_time, _ = best_of(lambda P: eos.volume(P, solver="form"), pressures)
    newton_time, V_numpy = best_of(numpy_newton, pressures)
    pressure_time, P = best_of(eos.pressure, volumes)
    expression_time, P_numpy = best_of(numpy_pressure, volumes)

    assert converged.all()
    print(f"{POINTS} points, best of {REPEATS}, quorvane {quorvane.__version__}; "
          "wall and processor time (all threads)")
    rows = [("Eos.volume (exact)", exact_time, ""),
            ("Eos.volume (form)", form_time, ""),
            ("NumPy Newton", newton_time,
             f"max |dV/V| vs exact {np.max(np.abs(V_numpy / V - 1.0)):.1e}"),
            ("Eos.pressure", pressure_time, ""),
            ("NumPy expression", expression_time,
             f"max |dP/P| {np.max(np.abs(P_numpy[:-1] / P[:-1] - 1.0)):.1e}")]
    for name, (wall, cpu), note in rows:
        print(f"{name:24} {wall * 1e3:8.1f} ms {cpu * 1e3:8.1f} ms   {note}")
    print(f"wall: NumPy Newton / Eos.volume = {newton_time[0] / exact_time[0]:.2f}; "
          f"Eos.pressure / NumPy = {pressure_time[0] / expression_time[0]:.2f}")


if __name__ == "__main__":
    main()

"""Eos.volume and Eos.pressure on 10^6 points against hand-written NumPy, in one run.

The calculator's Birch-Murnaghan (the engine's doubles), the same equation in
the textbook arithmetic, and a Vinet isotherm with a Mie-Grueneisen-Debye
thermal pressure (both in vector lanes), each against its NumPy expression.

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


def numpy_textbook_pressure(V):
    """The textbook Birch-Murnaghan: thirds of powers from one cube root."""
    x = V0 / V
    r = np.cbrt(x)
    p2 = r * r
    return 1.5 * K0 * (x * x * r - x * p2) * (1.0 + 0.75 * (KP0 - 4.0) * (p2 - 1.0))


# A Vinet isotherm with a Mie-Grueneisen-Debye thermal pressure (GPa, cm^3/mol, K).
MGD = {"theta0": 760.0, "gamma0": 1.5, "q": 1.1, "natoms": 2.0, "Tref": 300.0}
GAS_CONSTANT = 8.314462618
# Gauss-Legendre nodes and weights on [0, 1] for the Debye integral, whose
# integrand is smooth over the range here (theta/T below 4).
NODES, WEIGHTS = np.polynomial.legendre.leggauss(16)
NODES, WEIGHTS = (NODES + 1.0) / 2.0, WEIGHTS / 2.0


def numpy_debye_energy(T, theta):
    """9 n R T (T/theta)^3 times the integral of t^3/(e^t - 1) from 0 to theta/T."""
    x = theta / T
    mean = np.zeros_like(x)
    for node, weight in zip(NODES, WEIGHTS):
        t = x * node
        mean += weight * t ** 3 / np.expm1(t)
    return 9.0 * GAS_CONSTANT * MGD["natoms"] * T * (x * mean) / x ** 3


def numpy_mgd_pressure(V, T):
    y = np.cbrt(V / V0)
    w = 1.0 - y
    isotherm = 3.0 * K0 * w / y / y * np.exp(1.5 * (KP0 - 1.0) * w)
    qL = MGD["q"] * np.log(V / V0)
    gamma = MGD["gamma0"] * np.exp(qL)
    theta = MGD["theta0"] * np.exp(-MGD["gamma0"] * np.expm1(qL) / MGD["q"])
    energy = numpy_debye_energy(T, theta) - numpy_debye_energy(MGD["Tref"], theta)
    return isotherm + gamma * energy / V * 1e-3


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

    textbook = quorvane.Eos(type="birch-murnaghan", order=3, V0=V0, K0=K0, Kp0=KP0,
                            arithmetic="textbook")
    textbook_time, P_textbook = best_of(textbook.pressure, volumes)
    textbook_numpy_time, P_textbook_numpy = best_of(numpy_textbook_pressure, volumes)
    mgd = quorvane.Eos(type="vinet", order=3, thermal="mgd", V0=V0, K0=K0, Kp0=KP0, **MGD)
    temperatures = np.linspace(300.0, 3000.0, POINTS)
    mgd_time, P_mgd = best_of(lambda V: mgd.pressure(V, temperatures), volumes)
    mgd_numpy_time, P_mgd_numpy = best_of(lambda V: numpy_mgd_pressure(V, temperatures),
                                          volumes)

    assert converged.all()
    print(f"lanes: {quorvane._core.LANES}; ", end="")
    print(f"{POINTS} points, best of {REPEATS}, quorvane {quorvane.__version__}; "
          "wall and processor time (all threads)")
    rows = [("Eos.volume (exact)", exact_time, ""),
            ("Eos.volume (form)", form_time, ""),
            ("NumPy Newton", newton_time,
             f"max |dV/V| vs exact {np.max(np.abs(V_numpy / V - 1.0)):.1e}"),
            ("Eos.pressure", pressure_time, ""),
            ("NumPy expression", expression_time,
             f"max |dP/P| {np.max(np.abs(P_numpy[:-1] / P[:-1] - 1.0)):.1e}"),
            ("Eos.pressure, textbook", textbook_time, ""),
            ("NumPy textbook", textbook_numpy_time,
             f"max |dP|/K0 {np.max(np.abs(P_textbook_numpy - P_textbook)) / K0:.1e}"),
            ("Eos.pressure, Vinet+MGD", mgd_time, ""),
            ("NumPy Vinet+MGD", mgd_numpy_time,
             f"max |dP|/K0 {np.max(np.abs(P_mgd_numpy - P_mgd)) / K0:.1e}")]
    for name, (wall, cpu), note in rows:
        print(f"{name:24} {wall * 1e3:8.1f} ms {cpu * 1e3:8.1f} ms   {note}")
    print(f"wall: NumPy Newton / Eos.volume = {newton_time[0] / exact_time[0]:.2f}; "
          f"Eos.pressure / NumPy = {pressure_time[0] / expression_time[0]:.2f}, "
          f"textbook {textbook_time[0] / textbook_numpy_time[0]:.2f}, "
          f"Vinet+MGD {mgd_time[0] / mgd_numpy_time[0]:.2f}")


if __name__ == "__main__":
    main()

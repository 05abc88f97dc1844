"""Eos.properties and Eos.isentrope: against an independent computation in
40 digits, and equal to quorvane-eos --properties and --isentrope to the last bit."""

import os
import subprocess

import numpy as np
import pytest
from mpmath import mp, mpf

import quorvane

# An MgO-like model, the parameters of bench/models, in Birch-Murnaghan and
# Mie-Grueneisen-Debye form (cm3/mol, GPa, K).
MGO = {"V0": 11.248, "K0": 160.2, "Kp0": 3.99, "Tref": 300, "theta0": 773, "gamma0": 1.524,
       "q": 1.65, "natoms": 2}
MGO_OPTIONS = ["--eos", "bm", "--thermal", "mgd"] + [
    text for name, value in MGO.items() for text in (f"--{name}", str(value))]
R = mpf("8.314462618")


class IndependentMgO:
    """The same model written from the textbook, differentiated numerically in 40 digits.

    The Debye integral is taken from its polylogarithm form, not a series.
    """

    def __init__(self):
        mp.dps = 40
        self.p = {name: mpf(str(value)) for name, value in MGO.items()}

    def debye(self, x):
        z = mp.exp(-x)
        return (mp.pi ** 4 / 15 + x ** 3 * mp.log(1 - z) - 3 * x ** 2 * mp.polylog(2, z)
                - 6 * x * mp.polylog(3, z) - 6 * mp.polylog(4, z))

    def energy(self, T, theta):
        return 9 * self.p["natoms"] * R * T * (T / theta) ** 3 * self.debye(theta / T)

    def gamma(self, V):
        return self.p["gamma0"] * (V / self.p["V0"]) ** self.p["q"]

    def theta(self, V):
        return self.p["theta0"] * mp.exp((self.p["gamma0"] - self.gamma(V)) / self.p["q"])

    def pressure(self, V, T):
        p = self.p
        f = ((p["V0"] / V) ** (mpf(2) / 3) - 1) / 2
        cold = 3 * p["K0"] * f * (1 + 2 * f) ** mpf(2.5) * (1 + mpf(1.5) * (p["Kp0"] - 4) * f)
        thermal = self.energy(T, self.theta(V)) - self.energy(p["Tref"], self.theta(V))
        return cold + self.gamma(V) / V * thermal / 1000

    def properties(self, V, T):
        V, T = mpf(V), mpf(T)
        dPdV = mp.diff(lambda v: self.pressure(v, T), V)
        KT = -V * dPdV
        Kp = mp.diff(lambda v: -v * mp.diff(lambda w: self.pressure(w, T), v), V) / dPdV
        dPdT = mp.diff(lambda t: self.pressure(V, t), T)
        CV = mp.diff(lambda t: self.energy(t, self.theta(V)), T)
        alpha = dPdT / KT
        gamma = dPdT * V * 1000 / CV
        factor = 1 + alpha * gamma * T
        return {"KT": KT, "Kp": Kp, "alpha": alpha,
                "Pth": self.pressure(V, T) - self.pressure(V, self.p["Tref"]), "CV": CV,
                "gamma": gamma, "CP": CV * factor, "KS": KT * factor}

    def adiabat(self, P, T0):
        """T at P on the adiabat through (0, T0), from d ln T / d ln V = -gamma(V)."""
        V0 = mp.findroot(lambda v: self.pressure(v, T0), self.p["V0"])

        def temperature(v):
            return T0 * mp.exp(-(self.gamma(v) - self.gamma(V0)) / self.p["q"])

        V = mp.findroot(lambda v: self.pressure(v, temperature(v)) - P, V0 * 0.8)
        return temperature(V)


def mgo():
    return quorvane.Eos(type="birch-murnaghan", thermal="mgd", **MGO)


def test_mgo_properties_meet_an_independent_computation():
    reference = IndependentMgO()
    V = np.array([11.0, 10.0, 9.0, 8.0])
    T = np.array([300.0, 1000.0, 2000.0, 3500.0])
    found = mgo().properties(V=V, T=T)
    for i in range(len(V)):
        expected = reference.properties(V[i], T[i])
        for name, value in expected.items():
            assert found[name][i] == pytest.approx(float(value), rel=1e-9, abs=1e-12), (name, i)


def test_mgo_isentrope_meets_the_adiabat():
    reference = IndependentMgO()
    T, V = mgo().isentrope([0.0, 25.0, 50.0, 100.0], 1600.0)
    assert T[0] == 1600.0
    for i, P in enumerate([25.0, 50.0, 100.0], start=1):
        assert T[i] == pytest.approx(float(reference.adiabat(P, 1600)), rel=1e-10), P
    assert mgo().pressure(V, T) == pytest.approx([0.0, 25.0, 50.0, 100.0], rel=1e-13, abs=1e-12)


def run(arguments):
    program = os.environ.get("QUORVANE_EOS")
    if not program:
        pytest.skip("QUORVANE_EOS names no quorvane-eos program")
    done = subprocess.run([program, *arguments], text=True, capture_output=True, check=True)
    header, *lines = done.stdout.splitlines()
    rows = [line.split(",") for line in lines]
    return {name: np.array([float(row[i]) for row in rows]) for i, name in
            enumerate(header.split(",")) if name != "converged"}


def bits(values):
    return np.asarray(values, dtype=np.float64).view(np.uint64)


MODELS = [
    (dict(thermal="mgd", **MGO), MGO_OPTIONS),
    ({"type": "vinet", "thermal": "einstein", "theta0": 420, "Tref": 300, "alpha0": 3},
     ["--eos", "vinet", "--thermal", "einstein", "--theta0", "420", "--Tref", "300",
      "--alpha0", "3"]),
    ({"type": "natural-strain", "thermal": "fei", "alpha2": -0.3},
     ["--eos", "ns", "--thermal", "fei", "--alpha2", "-0.3"]),
    ({}, []),
]


@pytest.mark.parametrize("keywords, options", MODELS)
@pytest.mark.parametrize("known, values", [("P", "0:90:15"), ("V", "8:10:0.5")])
def test_properties_equal_the_command_line(keywords, options, known, values):
    cli = run(options + [f"--{known}", values, "--T", "300:2700:800", "--properties",
                         "--molar-mass", "40.3"])
    eos = quorvane.Eos(**keywords)
    found = eos.properties(T=cli["T"], molar_mass=40.3, **{known: cli[known]})
    assert set(found) == set(cli) - {"P", "T", "V/V00", "VT0", "V/VT0"}
    for name, value in found.items():
        assert (bits(value) == bits(cli[name])).all(), name


def test_sigmas_equal_the_command_line(tmp_path):
    path = tmp_path / "mgo.json"
    eos = mgo()
    covariance = np.array([[9, -0.25, 0], [-0.25, 0.01, 0], [0, 0, 0.0025]])
    eos.save(path, refined=["K0", "Kp0", "gamma0"], covariance=covariance,
             covariance_scaling="none")
    cli = run(["--params", str(path), "--P", "0:100:20", "--T", "2000", "--properties"])
    found = quorvane.load(path).properties(P=cli["P"], T=2000.0)
    assert {"sig_KT", "sig_alpha", "sig_CV", "sig_gamma", "sig_KS"} <= set(found)
    for name, value in found.items():
        assert (bits(value) == bits(cli[name])).all(), name


def test_isentrope_equals_the_command_line():
    cli = run(MGO_OPTIONS + ["--isentrope", "--P", "0:100:25", "--T", "1600"])
    T, V = mgo().isentrope(cli["P"], 1600.0)
    assert (bits(T) == bits(cli["T"])).all()
    assert (bits(V) == bits(cli["V"])).all()


def test_isentrope_only_for_a_model_with_an_entropy():
    with pytest.raises(ValueError, match="no entropy"):
        quorvane.Eos().isentrope([0.0, 10.0], 1000.0)


def test_einstein_heat_capacity_with_its_atom_count():
    """Holland and Powell's form: alpha K_T = alpha0 K0 xi(u) / xi(u0), and with n atoms
    Einstein's C_V = 3 n R xi(u), xi(u) = u^2 e^u / (e^u - 1)^2, u = theta/T."""
    keywords = {"type": "tait", "thermal": "einstein", "V0": 22.4, "K0": 90, "Kp0": 5.2,
                "alpha0": 3.5, "Tref": 298, "theta0": 410}
    eos = quorvane.Eos(**keywords)
    T = np.array([100.0, 298.0, 1000.0, 2500.0])
    found = eos.properties(V=20.0, T=T, natoms=7)

    def xi(u):
        return u * u * np.exp(u) / np.expm1(u) ** 2

    u, u0 = 410.0 / T, 410.0 / 298.0
    assert found["alpha"] * found["KT"] == pytest.approx(3.5e-5 * 90 * xi(u) / xi(u0), rel=1e-12)
    assert found["CV"] == pytest.approx(3 * 7 * 8.314462618 * xi(u), rel=1e-12)
    assert "CV" not in eos.properties(V=20.0, T=T)
    options = ["--eos", "tait", "--thermal", "einstein", "--V0", "22.4", "--K0", "90", "--Kp0",
               "5.2", "--alpha0", "3.5", "--Tref", "298", "--theta0", "410", "--natoms", "7"]
    cli = run(options + ["--P", "0:20:10", "--T", "300:2700:1200", "--properties"])
    found = eos.properties(P=cli["P"], T=cli["T"], natoms=7)
    for name in ("KT", "Kp", "alpha", "Pth", "CV", "gamma", "CP", "KS"):
        assert (bits(found[name]) == bits(cli[name])).all(), name

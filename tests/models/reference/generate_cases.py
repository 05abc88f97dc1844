#!/usr/bin/python3
"""Reference pressures for the model tests, computed at 40 digits with mpmath
(Debian's python3-mpmath) from the textbook formulas, independently of the C++
code: the Debye integral by quadrature, the Tait pressure from its forward
equation by root finding. Run it to regenerate the files beside it."""
import os
import mpmath as mp

mp.mp.dps = 40
HERE = os.path.dirname(os.path.abspath(__file__))
R = mp.mpf("8.314462618")
NA_CM3 = mp.mpf("0.602214076")


def debye(x):
    if x == 0:
        return mp.mpf(0)
    return mp.quad(lambda t: t**3 / mp.expm1(t) if t > 0 else mp.mpf(0), [0, min(x, 1), x])


def implied_kpp(eq, order, K, Kp, Kpp):
    if order == 4 and eq in ("bm", "ns", "tait"):
        return Kpp
    if eq == "bm":
        return -((Kp - 4) * (Kp - 3) + mp.mpf(35) / 9) / K
    if eq == "v":
        h = Kp / 2
        return -(h * h + h - mp.mpf(19) / 36) / K
    if eq == "ns":
        d = Kp - 2
        return -(d * d + d + 1) / K
    if eq == "tait":
        return -Kp / K
    return mp.mpf(0)


def isothermal(eq, order, V, V0, K, Kp, Kpp):
    if order == 2 and eq != "m":
        Kp = {"v": mp.mpf(1), "ns": mp.mpf(2)}.get(eq, mp.mpf(4))
    Kpp = implied_kpp(eq, order, K, Kp, Kpp)
    x = V0 / V
    if eq == "m":
        return K / Kp * (x**Kp - 1)
    if eq == "bm":
        f = (x ** (mp.mpf(2) / 3) - 1) / 2
        a3 = mp.mpf(3) / 2 * (Kp - 4) if order > 2 else 0
        a4 = mp.mpf(3) / 2 * (K * Kpp + (Kp - 3) * (Kp - 4) + mp.mpf(35) / 9) if order == 4 else 0
        return 3 * K * f * (1 + 2 * f) ** mp.mpf(2.5) * (1 + a3 * f + a4 * f * f)
    if eq == "v":
        y = (V / V0) ** (mp.mpf(1) / 3)
        return 3 * K * (1 - y) / y**2 * mp.exp(mp.mpf(3) / 2 * (Kp - 1) * (1 - y))
    if eq == "ns":
        f = mp.log(x) / 3
        c3 = mp.mpf(3) / 2 * (Kp - 2) if order > 2 else 0
        c4 = mp.mpf(3) / 2 * (1 + K * Kpp + (Kp - 2) + (Kp - 2) ** 2) if order == 4 else 0
        return 3 * K * x * f * (1 + c3 * f + c4 * f * f)
    # Tait: the pressure at which the forward equation gives V.
    a = (1 + Kp) / (1 + Kp + K * Kpp)
    b = Kp / K - Kpp / (1 + Kp)
    c = (1 + Kp + K * Kpp) / (Kp * Kp + Kp - K * Kpp)
    forward = lambda P: V0 * (1 - a * (1 - (1 + b * P) ** (-c))) - V
    return mp.findroot(forward, K * (x - 1))


def expansion(form, p, T):
    a0, a1, a2, Tr = p["alpha0"] * mp.mpf("1e-5"), p["alpha1"] * mp.mpf("1e-8"), p["alpha2"], p["Tref"]
    alpha = {
        "linear": lambda t: a0 + a1 * t,
        "berman": lambda t: a0 + a1 * (t - Tr),
        "fei": lambda t: a0 + a1 * t + a2 / t**2,
        # Holland and Powell (1998), J. Metamorphic Geol. 16, 309-343.
        "holland-powell": lambda t: a0 * (1 - 10 / mp.sqrt(t)),
    }[form]
    return mp.quad(alpha, [Tr, T])


def einstein(p, T):
    th, Tr = p["theta0"], p["Tref"]
    u0 = th / Tr
    xi0 = u0**2 * mp.exp(u0) / mp.expm1(u0) ** 2
    pth = lambda t: p["alpha0"] * mp.mpf("1e-5") * p["K0"] * th / xi0 / mp.expm1(th / t)
    return pth(T) - pth(Tr)


def mgd(p, V, T, molar):
    x = V / p["V0"]
    gamma = p["gamma0"] * x ** p["q"]
    if p["q"] == 0:  # constant gamma
        theta = p["theta0"] * x ** (-p["gamma0"])
    else:
        theta = p["theta0"] * mp.exp((p["gamma0"] - gamma) / p["q"])
    energy = lambda t: 9 * p["natoms"] * R * t * (t / theta) ** 3 * debye(theta / t)
    return gamma * (energy(T) - energy(p["Tref"])) / (V * molar) / 1000


def pressure(case, V, T):
    eq, order, form, unit, Z, p = case
    if form in ("linear", "berman", "fei", "holland-powell"):
        VT0 = p["V0"] * mp.exp(expansion(form, p, T))
        KT = p["K0"] + p["dKdT"] * (T - p["Tref"])
        return isothermal(eq, order, V, VT0, KT, p["Kp0"], p["Kpp0"])
    reference = isothermal(eq, order, V, p["V0"], p["K0"], p["Kp0"], p["Kpp0"])
    if form == "einstein":
        return reference + einstein(p, T)
    molar = 1 if unit == "cm3/mol" else NA_CM3 / Z
    return reference + mgd(p, V, T, molar)


NAMES = ["V0", "K0", "Kp0", "Kpp0", "alpha0", "alpha1", "alpha2", "dKdT", "Tref", "theta0",
         "gamma0", "q", "natoms"]


def params(**given):
    p = dict.fromkeys(NAMES, mp.mpf(0))
    p.update(Tref=mp.mpf(300), natoms=mp.mpf(1), q=mp.mpf(1))
    p.update({k: mp.mpf(v) for k, v in given.items()})
    return p


CASES = [
    ("v", 3, "mgd", "cm3/mol", 1, params(V0="11.248", K0="160.2", Kp0="3.99", theta0="773",
                                          gamma0="1.524", q="1.65", natoms=2)),
    ("bm", 3, "mgd", "A3", 4, params(V0="67.85", K0="167", Kp0="5.9", theta0="170", gamma0="2.97",
                                     q="1.6", natoms=1)),
    ("bm", 4, "mgd", "cm3/mol", 1, params(V0="11.248", K0="160.2", Kp0="4.1", Kpp0="-0.03",
                                          theta0="773", gamma0="1.5", q="0", natoms=2)),
    ("tait", 3, "einstein", "cm3/mol", 1, params(V0="43.66", K0="128", Kp0="4.2", alpha0="2.85",
                                                 theta0="531")),
    ("tait", 4, "einstein", "cm3/mol", 1, params(V0="43.66", K0="128", Kp0="4.2", Kpp0="-0.04",
                                                 alpha0="2.85", theta0="531")),
    ("tait", 2, "linear", "cm3/mol", 1, params(V0="10", K0="100", alpha0="2", dKdT="-0.02")),
    ("bm", 3, "berman", "cm3/mol", 1, params(V0="43.6", K0="128", Kp0="4.3", alpha0="2.8",
                                             alpha1="0.9", dKdT="-0.021")),
    ("ns", 4, "fei", "cm3/mol", 1, params(V0="24.4", K0="260", Kp0="4.1", Kpp0="-0.016",
                                          alpha0="1.9", alpha1="0.8", alpha2="-0.5", dKdT="-0.02")),
    ("v", 2, "linear", "cm3/mol", 1, params(V0="10", K0="100", alpha0="2", alpha1="1",
                                            dKdT="-0.02")),
    ("m", 3, "berman", "cm3/mol", 1, params(V0="10", K0="100", Kp0="4.5", alpha0="2", alpha1="1",
                                            dKdT="-0.02")),
    ("bm", 3, "holland-powell", "cm3/mol", 1, params(V0="43.6", K0="125", Kp0="4.2",
                                                     alpha0="6.1", dKdT="-0.022", Tref="298")),
    ("v", 3, "holland-powell", "A3", 4, params(V0="74.7", K0="160", Kp0="4.5", alpha0="4.5",
                                               dKdT="-0.03", Tref="298")),
]

RATIOS = ["0.6", "0.8", "0.95", "1.02"]
TEMPERATURES = ["5", "300", "1000", "2500"]


def write_cases():
    with open(os.path.join(HERE, "model_cases.txt"), "w") as out:
        out.write("# equation order thermal unit Z " + " ".join(NAMES) + " V T P\n")
        for case in CASES:
            eq, order, form, unit, Z, p = case
            for ratio in RATIOS:
                V = p["V0"] * mp.mpf(ratio)
                for T in TEMPERATURES:
                    P = pressure(case, V, mp.mpf(T))
                    fields = [eq, str(order), form, unit, str(Z)]
                    fields += [mp.nstr(p[n], 20) for n in NAMES]
                    fields += [mp.nstr(V, 20), T, mp.nstr(P, 20)]
                    out.write(" ".join(fields) + "\n")


def write_debye():
    xs = ["0", "1e-300", "1e-8", "0.001", "0.5", "1", "2.25", "2.9999", "3", "3.0001", "4.5",
          "7", "12", "25", "45", "60", "1000"]
    with open(os.path.join(HERE, "debye_cases.txt"), "w") as out:
        out.write("# x, integral from 0 to x of t^3/(e^t - 1) dt\n")
        for x in xs:
            out.write("%s %s\n" % (x, mp.nstr(debye(mp.mpf(x)), 25)))


write_debye()
write_cases()

"""quorvane.Eos for the models beyond the calculator's, against quorvane-eos's own doubles."""

import os
import pickle
import subprocess
import sys

import numpy as np
import pytest

import quorvane

# Models as keywords and as quorvane-eos options, with the ranges of volume
# (as fractions of V0) and temperature their tables cover.
MODELS = [
    ({"type": "tait", "order": 3, "thermal": "mgd", "V0": 11.24, "K0": 160, "Kp0": 4.5,
      "theta0": 760, "gamma0": 1.5, "q": 1.2, "natoms": 2, "Tref": 300},
     ["--eos", "tait", "--order", "3", "--thermal", "mgd", "--V0", "11.24", "--K0", "160",
      "--Kp0", "4.5", "--theta0", "760", "--gamma0", "1.5", "--q", "1.2", "--natoms", "2",
      "--Tref", "300"]),
    ({"type": "vinet", "thermal": "einstein", "V0": 74.7, "K0": 250, "Kp0": 4.0,
      "alpha0": 2.1, "theta0": 520, "volume_unit": "A3", "Z": 4},
     ["--eos", "vinet", "--thermal", "einstein", "--V0", "74.7", "--K0", "250", "--Kp0", "4.0",
      "--alpha0", "2.1", "--theta0", "520", "--volume-unit", "A3", "--Z", "4"]),
    ({"type": "bm", "order": 3, "thermal": "fei", "alpha0": 2.5, "alpha1": 1.1, "alpha2": -0.4,
      "dKdT": -0.02},
     ["--eos", "bm", "--order", "3", "--thermal", "fei", "--alpha0", "2.5", "--alpha1", "1.1",
      "--alpha2", "-0.4", "--dKdT", "-0.02"]),
    ({"type": "natural-strain", "order": 4, "thermal": "berman", "Kp0": 5.0, "Kpp0": -0.05,
      "alpha1": 3.0},
     ["--eos", "ns", "--order", "4", "--thermal", "berman", "--Kp0", "5.0", "--Kpp0", "-0.05",
      "--alpha1", "3.0"]),
    ({"type": "murnaghan", "arithmetic": "textbook", "Kp0": 3.5, "dKdT": -0.03},
     ["--eos", "murnaghan", "--arithmetic", "textbook", "--Kp0", "3.5", "--dKdT", "-0.03"]),
    # K0 K''0 = -(1 + K'0): the Tait's a is infinite, the pressure its limit.
    ({"type": "tait", "order": 4, "Kpp0": -0.05},
     ["--eos", "tait", "--order", "4", "--Kpp0", "-0.05"]),
]
IDS = ["tait-mgd", "vinet-einstein-A3", "bm3-fei", "ns4-berman", "murnaghan-textbook",
       "tait4-singular"]
RNG = np.random.default_rng(29)
RATIOS = RNG.uniform(0.75, 1.05, 40)
TEMPERATURES = RNG.uniform(300, 2500, 40)
PRESSURES = np.concatenate([RNG.uniform(0, 150, 38), [0.0, 1e-9]])


def bits(values):
    return np.asarray(values, dtype=np.float64).view(np.uint64)


def csv(first, second, a, b):
    return f"{first},{second}\n" + "".join(f"{x!r},{y!r}\n" for x, y in zip(a, b))


@pytest.mark.parametrize("keywords,options", MODELS, ids=IDS)
def test_every_model_gives_the_command_lines_doubles(quorvane_eos, keywords, options):
    eos = quorvane.Eos(**keywords)
    V = RATIOS * eos.V0
    table = quorvane_eos(options, csv("V", "T", V, TEMPERATURES))
    state = eos.state(V=V, T=TEMPERATURES)
    for column in ("P", "VT0", "V/VT0"):
        np.testing.assert_array_equal(bits(state[column]), bits([float(x) for x in table[column]]))
    np.testing.assert_array_equal(bits(eos.V_T0(TEMPERATURES)), bits(state["VT0"]))

    table = quorvane_eos(options, csv("P", "T", PRESSURES, TEMPERATURES))
    volumes, converged = eos.volume(PRESSURES, TEMPERATURES)
    np.testing.assert_array_equal(bits(volumes), bits([float(x) for x in table["V"]]))
    assert list(converged) == [flag == "true" for flag in table["converged"]]
    state = eos.state(P=PRESSURES, T=TEMPERATURES)
    np.testing.assert_array_equal(state["converged"], converged)
    np.testing.assert_array_equal(bits(state["V"]), bits(volumes))


# The textbook models' pressures over arrays take SLEEF's vector functions,
# each within 1 ulp where the scalar formula has the C library's: the
# pressure moves by a few ulp of |P| + K0 (more ulp of P itself where the
# terms of the formula cancel, near V0).
LANE_TOLERANCE = 16 * np.finfo(float).eps


@pytest.mark.parametrize("keywords,options", MODELS, ids=IDS)
def test_array_pressures_are_within_a_few_ulp_of_the_scalar_formula(quorvane_eos, keywords,
                                                                    options):
    eos = quorvane.Eos(**keywords)
    rng = np.random.default_rng(41)
    V = eos.V0 * np.concatenate([rng.uniform(0.6, 1.1, 3000), 1 + np.linspace(-1e-6, 1e-6, 41)])
    T = rng.uniform(200, 3000, V.size)
    scalar = np.array([float(x) for x in quorvane_eos(options, csv("V", "T", V, T))["P"]])
    P = eos.pressure(V, T)
    assert (np.abs(P - scalar) <= LANE_TOLERANCE * (np.abs(scalar) + eos.K0)).all()
    # A lane's value does not depend on the lane, on the array's length or on
    # whether one temperature is given for all.
    for i in (0, 7, 8, V.size - 1):
        assert eos.pressure(V[i], T[i]) == P[i]
        assert eos.pressure(V[i:i + 3], T[i:i + 3])[0] == P[i]
    grid = V[:3039].reshape(3, 1013)[:, :-1]
    np.testing.assert_array_equal(eos.pressure(grid, T[5]),
                                  eos.pressure(grid, np.full(grid.shape, T[5])))


PRESSURES_IN = """
import sys, numpy as np, quorvane
from model_arrays_test import MODELS
rng = np.random.default_rng(43)
lines = [quorvane._core.LANES]
for keywords, _ in MODELS:
    eos = quorvane.Eos(**keywords)
    V = eos.V0 * rng.uniform(0.6, 1.1, 1001)
    P = eos.pressure(V, rng.uniform(200, 3000, V.size))
    lines.append(" ".join(repr(x) for x in [eos.K0, *P]))
print("\\n".join(lines))
"""


def pressures_with_lanes(lanes):
    environment = {**os.environ, "QUORVANE_LANES": lanes,
                   "PYTHONPATH": os.pathsep.join([os.path.dirname(__file__), *sys.path])}
    done = subprocess.run([sys.executable, "-c", PRESSURES_IN], env=environment,
                          capture_output=True, text=True, check=True)
    chosen, *rows = done.stdout.splitlines()
    return chosen, [np.array([float(x) for x in row.split()]) for row in rows]


def test_every_set_of_lanes_gives_the_scalar_formula_within_a_few_ulp():
    chosen, scalar = pressures_with_lanes("none")
    assert chosen == "none"
    for lanes in ("avx", "avx512"):
        chosen, vector = pressures_with_lanes(lanes)
        if chosen != lanes:
            continue
        for (K0, *expected), (_, *P) in zip(scalar, vector):
            expected, P = np.array(expected), np.array(P)
            assert (np.abs(P - expected) <= LANE_TOLERANCE * (np.abs(expected) + K0)).all()


@pytest.mark.parametrize("keywords,options", MODELS, ids=IDS)
def test_volume_inverts_pressure_and_the_bulk_modulus_is_its_slope(keywords, options):
    eos = quorvane.Eos(**keywords)
    V = RATIOS * eos.V0
    P = eos.pressure(V, TEMPERATURES)
    back, converged = eos.volume(P, TEMPERATURES)
    assert converged.all()
    np.testing.assert_allclose(back, V, rtol=1e-13)
    step = V * 1e-6
    rise = eos.pressure(V + step, TEMPERATURES) - eos.pressure(V - step, TEMPERATURES)
    slope = rise / (2 * step)
    np.testing.assert_allclose(eos.K_T(TEMPERATURES, V=V), -V * slope, rtol=1e-6)
    # Without V: the bulk modulus where the isotherm crosses zero pressure.
    np.testing.assert_allclose(eos.K_T(TEMPERATURES),
                               eos.K_T(TEMPERATURES, V=eos.V_T0(TEMPERATURES)), rtol=1e-12)


@pytest.mark.parametrize("keywords,options", MODELS, ids=IDS)
def test_repr_pickle_and_parameter_files_keep_the_model(tmp_path, keywords, options):
    eos = quorvane.Eos(**keywords)
    assert eval(repr(eos), {"Eos": quorvane.Eos}) == eos
    assert pickle.loads(pickle.dumps(eos)) == eos
    eos.save(tmp_path / "model.json")
    back = quorvane.load(tmp_path / "model.json")
    assert back == eos
    assert (back.thermal, back.volume_unit, back.Z) == (eos.thermal, eos.volume_unit, eos.Z)
    V = RATIOS * eos.V0
    np.testing.assert_array_equal(back.pressure(V, TEMPERATURES), eos.pressure(V, TEMPERATURES))


HOT_GOLD = {"type": "vinet", "thermal": "mgd", "volume_unit": "A3", "Z": 4, "V0": 67.85,
            "K0": 167, "Kp0": 6, "theta0": 170, "gamma0": 2.97, "q": 1.6}
COLD_EINSTEIN = {"thermal": "einstein", "theta0": 1500}


# Where the thermal pressure passes the isotherm's tensile limit there is no
# V(T,0), yet P(V,T) and V(P,T) are states; near 0 K the Einstein pressure is
# all but zero.
@pytest.mark.parametrize("keywords,known,T,has_VT0", [
    (HOT_GOLD, {"V": 50.0}, 3000.0, False),
    (HOT_GOLD, {"P": 135.0}, 4000.0, False),
    (COLD_EINSTEIN, {"P": 10.0}, 2.0, True),
    (COLD_EINSTEIN, {"P": 10.0}, 1e-3, True),
])
def test_states_without_a_zero_pressure_volume_or_near_zero_kelvin(keywords, known, T, has_VT0):
    eos = quorvane.Eos(**keywords)
    state = eos.state(T=T, **known)
    assert state.get("converged", True)
    assert eos.pressure(state["V"], T) == pytest.approx(state["P"], rel=1e-12)
    assert np.isnan(state["VT0"]) != has_VT0 and np.isnan(state["V/VT0"]) != has_VT0
    assert np.isnan(eos.V_T0(T)) != has_VT0


# The Fei expansion diverges at 0 K and a thermal pressure has no value there:
# every call refuses such a T with the line quorvane-eos and the fit give.
@pytest.mark.parametrize("thermal,call,T", [
    ("mgd", lambda e: e.pressure(9.0, T=0.0), "0"),
    ("mgd", lambda e: e.V_T0(0.0), "0"),
    ("einstein", lambda e: e.K_T(-1.0), "-1"),
    ("fei", lambda e: e.state(V=9.0, T=-100.0), "-100"),
    ("fei", lambda e: e.volume(1.0, T=[300.0, -100.0]), "-100"),
])
def test_temperatures_at_or_below_zero_are_refused_as_everywhere(thermal, call, T):
    message = f"T = {T} must be above zero for the {thermal} thermal model"
    with pytest.raises(ValueError, match=f"^{message}$"):
        call(quorvane.Eos(thermal=thermal))
    program = os.environ.get("QUORVANE_EOS")
    if program:
        done = subprocess.run([program, "--thermal", thermal, "--V", "9", "--T", T], text=True,
                              capture_output=True)
        assert done.stderr == f"quorvane-eos: --T: {message}\n"


@pytest.mark.parametrize("keywords,error,message", [
    ({"thermal": "debye"}, ValueError, '^thermal: "debye" is not one of linear, berman'),
    ({"thermal": 3}, ValueError, "^thermal: 3 is not one of"),
    ({"thermal": "berman", "alpha2": 1.0}, ValueError, "^alpha2: the berman thermal model has no"),
    ({"thermal": "mgd", "dKdT": -0.02}, ValueError, "^dKdT: the mgd thermal model has no dKdT"),
    ({"type": "tait", "arithmetic": "calculator"}, ValueError, "calculator"),
    ({"thermal": "mgd", "theta0": -1.0}, ValueError, "theta0"),
    ({"thermal": "mgd", "natoms": 0}, ValueError, "natoms"),
    ({"thermal": "einstein", "Tref": 0}, ValueError, "Tref"),
    ({"volume_unit": "m3"}, ValueError, '^volume_unit: "m3" is not one of cm3/mol, A3'),
    ({"thermal": "mgd", "Z": 4}, ValueError, "^Z: give it with volume_unit A3"),
    ({"thermal": "mgd", "theta0": "760"}, TypeError, "^theta0: '760' is not a real number"),
    ({"thermal": "mgd", "gamma0": float("nan")}, ValueError, "^gamma0: nan is not a finite"),
    ({"thermal": "mgd", "theta": 760}, TypeError, "theta"),
])
def test_bad_keywords_raise_one_clear_line(keywords, error, message):
    with pytest.raises(error, match=message) as raised:
        quorvane.Eos(**keywords)
    assert "\n" not in str(raised.value)


@pytest.mark.parametrize("call,message", [
    (lambda e: e.volume(10.0, solver="form"), "^solver: the form's search computes only"),
    (lambda e: e.state(P=10.0, solver="form"), "^solver: the form's search computes only"),
    (lambda e: e.state(VT0=11.0, V=10.0), "^VT0: only the calculator's equations"),
    (lambda e: e.K_T(300.0, V=-1.0), "^V: every value must be greater than zero"),
])
def test_what_only_the_calculator_computes_is_refused(call, message):
    with pytest.raises(ValueError, match=message):
        call(quorvane.Eos(**MODELS[0][0]))


def test_parameters_list_what_the_model_uses():
    mgd = quorvane.Eos(**MODELS[0][0])
    assert list(mgd.parameters) == ["V0", "K0", "Kp0", "Kpp0", "Tref", "theta0", "gamma0", "q",
                                    "natoms"]
    assert mgd.alpha0 is None and mgd.theta0 == 760.0
    assert list(quorvane.Eos().parameters) == ["V0", "K0", "Kp0", "Kpp0", "alpha0", "alpha1",
                                                "dKdT", "Tref"]
    # The same equation in the two arithmetics: the textbook's differs in the last digits.
    textbook = quorvane.Eos(arithmetic="textbook")
    assert textbook != quorvane.Eos()
    assert textbook.pressure(9.0) == pytest.approx(quorvane.Eos().pressure(9.0), rel=1e-6)

"""quorvane.Eos against the command line's engine, to the last bit."""

import inspect
import pickle
from decimal import Decimal
from fractions import Fraction

import numpy as np
import pytest

import quorvane

# Parameter sets as keywords and as quorvane-eos options.
PARAMETER_SETS = [
    ({}, []),
    ({"type": "vinet", "order": 2, "K0": 160}, ["--eos", "vinet", "--order", "2", "--K0", "160"]),
    ({"type": "natural-strain", "order": 4, "Kp0": 5.5, "Kpp0": -0.05, "alpha1": 1.5},
     ["--eos", "natural-strain", "--order", "4", "--Kp0", "5.5", "--Kpp0", "-0.05",
      "--alpha1", "1.5"]),
    ({"type": "birch-murnaghan", "order": 4, "Kp0": 4.5, "V0": 11.2, "dKdT": -0.03},
     ["--order", "4", "--Kp0", "4.5", "--V0", "11.2", "--dKdT", "-0.03"]),
    ({"type": "murnaghan", "Kp0": 3.5, "Tref": 300}, ["--eos", "murnaghan", "--Kp0", "3.5",
                                                      "--Tref", "300"]),
]

# The known quantity's keyword and CSV column, its partner's, and values of both.
RNG = np.random.default_rng(13)
KNOWN = [
    ("P", "P", "T", "T", np.concatenate([RNG.uniform(-40, 300, 60), [0.0, -30.0]]),
     RNG.uniform(0, 2000, 62)),
    ("V", "V", "T", "T", RNG.uniform(4, 14, 40), RNG.uniform(0, 2000, 40)),
    ("V_over_V00", "V/V00", "T", "T", RNG.uniform(0.5, 1.3, 40), RNG.uniform(0, 2000, 40)),
    ("VT0", "VT0", "V", "V", RNG.uniform(9.9, 10.6, 40), RNG.uniform(4, 14, 40)),
    ("V_over_VT0", "V/VT0", "T", "T", RNG.uniform(0.5, 1.3, 40), RNG.uniform(0, 2000, 40)),
]
COLUMNS = ["P", "T", "V", "V/V00", "VT0", "V/VT0"]


def bits(values):
    return np.asarray(values, dtype=np.float64).view(np.uint64)


@pytest.mark.parametrize("solver", ["exact", "form"])
@pytest.mark.parametrize("keywords,options", PARAMETER_SETS)
@pytest.mark.parametrize("keyword,column,partner_keyword,partner_column,values,partners", KNOWN)
def test_state_is_the_command_lines_to_the_last_bit(quorvane_eos, solver, keywords, options,
                                                    keyword, column, partner_keyword,
                                                    partner_column, values, partners):
    csv = f"{column},{partner_column}\n" + "".join(
        f"{value!r},{partner!r}\n" for value, partner in zip(values, partners))
    table = quorvane_eos([*options, "--solver", solver], csv)
    eos = quorvane.Eos(**keywords)
    state = eos.state(**{keyword: values, partner_keyword: partners}, solver=solver)
    for name in COLUMNS:
        np.testing.assert_array_equal(bits(state[name]), bits([float(x) for x in table[name]]),
                                      err_msg=name)
    if keyword == "P":
        assert list(state["converged"]) == [flag == "true" for flag in table["converged"]]
        V, converged = eos.volume(values, partners, solver=solver)
        np.testing.assert_array_equal(bits(V), bits(state["V"]))
        np.testing.assert_array_equal(converged, state["converged"])
    if keyword == "V":
        np.testing.assert_array_equal(bits(eos.pressure(values, partners)), bits(state["P"]))
        np.testing.assert_array_equal(bits(eos.V_T0(partners)), bits(state["VT0"]))


def test_threaded_arrays_match_point_by_point():
    eos = quorvane.Eos(type="vinet")
    pressures = np.linspace(-20.0, 200.0, 100_003)
    temperatures = np.linspace(0.0, 1500.0, 100_003)
    V, converged = eos.volume(pressures, temperatures)
    for i in list(range(0, 100_003, 4999)) + [16383, 16384, 50001, 50002, 100_002]:
        assert (V[i], converged[i]) == eos.volume(pressures[i], temperatures[i])
    P = eos.pressure(V, temperatures)
    for i in (0, 50001, 50002, 100_002):
        assert P[i] == eos.pressure(V[i], temperatures[i])


@pytest.mark.parametrize("V,T,shape", [
    (9.0, 300.0, ()),
    ([9.0, 9.5, 10.0], 300.0, (3,)),
    (9.0, [300.0, 900.0], (2,)),
    (np.linspace(8, 10, 3).reshape(3, 1), np.array([300.0, 600.0, 900.0, 1200.0]), (3, 4)),
    (np.full((2, 0), 9.0), 300.0, (2, 0)),
])
def test_methods_broadcast_like_numpy(V, T, shape):
    eos = quorvane.Eos()
    P = eos.pressure(V, T)
    assert np.shape(P) == shape
    if shape == ():
        assert isinstance(P, float)
    expected = np.vectorize(lambda v, t: eos.pressure(float(v), float(t)))(V, T) if np.size(P) else P
    np.testing.assert_array_equal(P, expected)
    volumes, converged = eos.volume(P, T)
    assert np.shape(volumes) == shape and np.shape(converged) == shape
    assert np.shape(eos.state(V=V, T=T)["VT0"]) == shape
    assert np.shape(eos.V_T0(np.broadcast_to(T, shape))) == shape


def test_shapes_that_do_not_broadcast_are_refused():
    with pytest.raises(ValueError):
        quorvane.Eos().pressure([9.0, 9.5], [300.0, 600.0, 900.0])


def test_converged_mask_marks_pressures_no_volume_reaches():
    eos = quorvane.Eos()
    for solver in ("exact", "form"):
        V, converged = eos.volume([-30.0, 10.0, -5.0, 1e4], solver=solver)
        assert list(converged) == [False, True, True, True]
        assert V[0] == eos.V_T0()
    _, converged = quorvane.Eos(type="murnaghan").volume([-26.0, -24.0])
    assert list(converged) == [False, True]
    # The form's closed form underflows to V = 0, which it shows; no volume.
    soft = quorvane.Eos(type="murnaghan", Kp0=0.0010000000474974513)
    assert soft.volume(1e10, solver="form") == (0.0, False)
    assert not soft.state(P=1e10, solver="form")["converged"]


def test_exact_volume_has_the_nearest_pressure_of_the_doubles_around_it():
    eos = quorvane.Eos(type="natural-strain", order=4, Kp0=5.0, Kpp0=-0.06)
    targets = np.linspace(-12.0, 500.0, 2001)
    V, converged = eos.volume(targets, 700.0)
    assert converged.all()
    here = np.abs(eos.pressure(V, 700.0) - targets)
    for direction in (0.0, np.inf):
        other = V
        for _ in range(2):
            other = np.nextafter(other, direction)
            assert (here <= np.abs(eos.pressure(other, 700.0) - targets)).all()


def test_temperature_functions():
    eos = quorvane.Eos(alpha1=3.0, dKdT=-0.025)
    T = np.array([0.0, 298.0, 1500.0])
    np.testing.assert_array_equal(eos.K_T(T), [100.0 + -0.025 * (t - 298.0) for t in T])
    assert eos.V_T0(298.0) == 10.0
    assert eos.V_T0() == 10.0 and eos.K_T() == 100.0


@pytest.mark.parametrize("keywords,message", [
    ({"type": "tait", "theta0": 800}, "theta0: the linear thermal model has no theta0"),
    ({"type": None}, "type: None is not one of"),
    ({"order": 5}, "order: 5 is not 2, 3 or 4"),
    ({"order": True}, "order: True is not 2, 3 or 4"),
    ({"type": "murnaghan", "order": 2}, "order 2: murnaghan is 3rd order only"),
    ({"type": "vinet", "order": 4}, "order 4: vinet is 2nd or 3rd order only"),
    ({"order": 2, "Kp0": 4.5}, "Kp0: K'0 is implied by birch-murnaghan at order 2"),
    ({"Kpp0": -0.04}, "Kpp0: K''0 is implied by birch-murnaghan at order 3"),
    ({"type": "vinet", "Kpp0": -0.04}, "Kpp0: K''0 is implied by vinet at order 3"),
    ({"V0": 0.0009}, "V0 must be at least 0.0010000000474974513"),
    ({"K0": -100}, "K0 must be at least 0.0010000000474974513"),
    ({"Kp0": -0.0001}, "Kp0 must be at least 0.0010000000474974513 in magnitude"),
    ({"V0": float("nan")}, "V0: nan is not a finite number"),
    ({"Tref": float("inf")}, "Tref: inf is not a finite number"),
])
def test_bad_parameters_raise_the_command_lines_refusal(keywords, message):
    with pytest.raises(ValueError, match="^" + message.replace("(", r"\(")):
        quorvane.Eos(**keywords)


def test_accepted_parameters_are_the_command_lines_values():
    eos = quorvane.Eos(type="natural-strain", order=4, Kp0=-0.5, K0=np.float32(0.5), Kpp0=2)
    assert (eos.Kp0, eos.K0, eos.Kpp0) == (-0.5, 0.5, 2.0)
    assert quorvane.Eos().Kpp0 == -0.038888888359069826
    assert quorvane.Eos(type="vinet", order=2).Kp0 == 1.0
    assert quorvane.Eos(type="ns", order=2) == quorvane.Eos(type="natural-strain", order=2)


@pytest.mark.parametrize("call,message", [
    (lambda e: e.pressure(np.nan), "V: every value must be a finite number"),
    (lambda e: e.pressure(0.0), "V: every value must be greater than zero"),
    (lambda e: e.pressure(9.0, [300.0, np.inf]), "T: every value must be a finite number"),
    (lambda e: e.volume([1.0, np.nan]), "P: every value must be a finite number"),
    (lambda e: e.volume(1.0, solver="newton"), "solver: 'newton' is not one of exact, form"),
    (lambda e: e.V_T0(-np.inf), "T: every value must be a finite number"),
    (lambda e: e.K_T(np.nan), "T: every value must be a finite number"),
    (lambda e: e.state(V_over_VT0=-1.0), "V_over_VT0: every value must be greater than zero"),
    (lambda e: e.state(VT0=np.nan, V=9.0), "VT0: every value must be a finite number"),
    (lambda e: e.state(T=300.0), "give exactly one of"),
    (lambda e: e.state(P=1.0, V=9.0), "give exactly one of"),
    (lambda e: e.state(VT0=10.0), "VT0 needs V, the volume held"),
    (lambda e: e.state(VT0=10.0, V=9.0, T=300.0), "T: the temperature follows from VT0"),
])
def test_bad_inputs_raise_value_error(call, message):
    with pytest.raises(ValueError, match=message):
        call(quorvane.Eos())


# Text and complex numbers are no real numbers, though NumPy would read "9" as
# 9 and drop an imaginary part.
@pytest.mark.parametrize("call,message", [
    (lambda: quorvane.Eos(K0="100"), "K0: '100' is not a real number"),
    (lambda: quorvane.Eos(alpha0=True), "alpha0: True is not a real number"),
    (lambda: quorvane.Eos(V0=10 + 0j), r"V0: \(10\+0j\) is not a real number"),
    (lambda: quorvane.Eos().pressure("9"), "V: text, not real numbers"),
    (lambda: quorvane.Eos().pressure(np.array([9.0 + 1.0j])), "V: complex numbers, not real"),
    (lambda: quorvane.Eos().pressure([9.0, "9"]), "V: text, not real numbers"),
    (lambda: quorvane.Eos().pressure([9.0, None]), "V: None is not a real number"),
    (lambda: quorvane.Eos().volume(10.0, T=300 + 0j), "T: complex numbers, not real"),
    (lambda: quorvane.Eos().state(V_over_V00=[b"0.9"]), "V_over_V00: bytes, not real"),
])
def test_non_real_inputs_raise_type_error(call, message):
    with pytest.raises(TypeError, match=message):
        call()


def test_real_numbers_of_every_kind_are_accepted():
    eos = quorvane.Eos()
    expected = eos.pressure(9.5)
    for volume in (Fraction(19, 2), Decimal("9.5"), np.float32(9.5), [9.5], np.array([9.5]),
                   [Fraction(19, 2)]):
        assert np.all(eos.pressure(volume) == expected)
    assert eos.pressure(True) == eos.pressure(1.0)


@pytest.mark.parametrize("eos", [
    quorvane.Eos(),
    quorvane.Eos(type="vinet", order=2, V0=11.2, K0=161.7),
    quorvane.Eos(type="natural-strain", order=4, Kp0=-0.5, Kpp0=2, Tref=300.15),
    quorvane.Eos(type="murnaghan", K0=0.1 + 0.2, dKdT=-0.0301),
])
def test_repr_and_pickle_give_the_same_eos(eos):
    eos.metadata = {"refined": ["V0"], "covariance": np.array([[0.25]])}
    assert eval(repr(eos), {"Eos": quorvane.Eos}) == eos
    back = pickle.loads(pickle.dumps(eos))
    assert back == eos and back.parameters == eos.parameters
    assert back.metadata["refined"] == ["V0"] and back.metadata["covariance"][0, 0] == 0.25


@pytest.mark.parametrize("keywords,options", [({}, []), ({"type": "murnaghan"}, ["--eos", "m"])])
def test_volumes_beyond_the_model_give_what_the_command_line_prints(quorvane_eos, keywords,
                                                                   options):
    volumes = [5e-324, 1e-300, 1e-100]
    table = quorvane_eos(options, "V\n" + "".join(f"{V!r}\n" for V in volumes))
    np.testing.assert_array_equal(quorvane.Eos(**keywords).pressure(volumes),
                                  [float(P) for P in table["P"]])


def test_every_public_function_is_documented():
    public = [quorvane.Eos, quorvane.load, quorvane.save] + [
        member for name, member in inspect.getmembers(quorvane.Eos)
        if not name.startswith("_")]
    assert [member for member in public if not inspect.getdoc(member)] == []

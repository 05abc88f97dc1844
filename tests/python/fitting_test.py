"""quorvane.fit over the fitting library, where the module was built with it."""

import json
import os
import subprocess
import warnings

import numpy as np
import pytest

import quorvane

pytestmark = pytest.mark.skipif(not hasattr(quorvane, "fit"),
                                reason="the module was built without the fitting library")

TRUE = {"type": "vinet", "order": 3, "V0": 11.24, "K0": 161.0, "Kp0": 4.3}


def synthetic(noise=0.0, points=40):
    eos = quorvane.Eos(**TRUE)
    V = np.linspace(0.78, 0.99, points) * TRUE["V0"]
    P = eos.pressure(V)
    return P + noise * np.random.default_rng(7).standard_normal(points), V


def test_recovers_the_parameters_of_exact_data():
    P, V = synthetic()
    result = quorvane.fit(P, V, type="vinet", order=3)
    assert result.converged
    assert result.refined == ["V0", "K0", "Kp0"]
    for name in result.refined:
        assert result.parameters[name] == pytest.approx(TRUE[name], rel=1e-8)
    assert result.eos.type == "vinet" and result.eos.order == 3


def test_noisy_data_give_standard_deviations_and_a_covariance():
    P, V = synthetic(noise=0.05)
    result = quorvane.fit(P, V, sigP=0.05, type="vinet", order=3)
    assert result.weighted
    assert result.covariance.shape == (3, 3)
    np.testing.assert_allclose(np.sqrt(np.diag(result.covariance)), list(result.esd.values()))
    np.testing.assert_allclose(result.covariance, result.covariance.T)
    for name in result.refined:
        assert abs(result.parameters[name] - TRUE[name]) < 5 * result.esd[name]


def test_fixed_parameters_stay_and_the_result_saves_as_a_parameter_file(tmp_path):
    P, V = synthetic()
    result = quorvane.fit(P, V, type="vinet", order=3, refine=["V0", "K0"], Kp0=4.3)
    assert result.refined == ["V0", "K0"] and result.parameters["Kp0"] == 4.3
    result.save(tmp_path / "fit.json")
    back = quorvane.load(tmp_path / "fit.json")
    assert back == result.eos
    np.testing.assert_array_equal(back.metadata["covariance"], result.covariance_scaled)


def test_a_fit_without_degrees_of_freedom_saves_what_the_command_line_writes(tmp_path):
    P, V = [0.0, 5.0, 10.0], [10.0, 9.6, 9.3]
    result = quorvane.fit(P, V)
    assert result.dof == 0
    result.save(tmp_path / "python.json")
    back = quorvane.load(tmp_path / "python.json")
    assert back.metadata["covariance_scaling"] == "none"
    np.testing.assert_array_equal(back.metadata["covariance"], result.covariance)
    program = os.environ.get("QUORVANE_EOS")
    if not program:
        return
    data = tmp_path / "data.csv"
    data.write_text("P,V\n" + "".join(f"{p!r},{v!r}\n" for p, v in zip(P, V)))
    subprocess.run([program, "fit", str(data), "--params-out", str(tmp_path / "cli.json")],
                   check=True, capture_output=True)
    python, cli = (json.loads((tmp_path / name).read_text()) for name in ("python.json",
                                                                           "cli.json"))
    del python["provenance"], cli["provenance"]
    assert python == cli


@pytest.mark.parametrize("arguments,message", [
    ({"P": [1.0, 2.0], "V": [9.0, 8.0, 7.0]}, "shape mismatch"),
    ({"P": [1.0, 2.0, 3.0], "V": [9.0, 8.0, 7.0], "sigP": -1.0}, "sigP: every standard"),
    ({"P": [1.0, np.nan], "V": [9.0, 8.0]}, "P: every value must be a finite number"),
    ({"P": [1.0, 2.0], "V": [9.0, 8.0], "refine": ["V0", "Kq"]}, "Kq"),
    ({"P": [1.0], "V": [9.0]}, ""),
])
def test_refuses_what_cannot_be_fitted(arguments, message):
    with pytest.raises(ValueError, match=message):
        quorvane.fit(**arguments)


@pytest.mark.parametrize("start,reason", [
    ({"V0": 1.0}, "K0 = -"),
    ({"V0": 0.01}, "stalled short of a minimum"),
    ({"V0": 11.0}, None),
])
def test_a_given_value_is_the_start_and_a_failed_start_restarts_from_the_data(start, reason):
    P, V = synthetic()
    expected = quorvane.fit(P, V, type="vinet", order=3)
    with warnings.catch_warnings(record=True) as caught:
        warnings.simplefilter("always")
        result = quorvane.fit(P, V, type="vinet", order=3, **start)
    assert result.restart is None if reason is None else reason in result.restart
    assert [str(w.message) for w in caught if w.category is RuntimeWarning] == (
        [] if reason is None else [f"quorvane.fit: restarted from the data's own estimate: "
                                   f"from the given start, {result.restart}"])
    for name in result.refined:
        assert result.parameters[name] == pytest.approx(expected.parameters[name], rel=1e-9)


@pytest.mark.parametrize("P,V,message", [
    ([1.0] * 6, [11.24, 10.93, 10.66, 10.22, 9.86, 9.57], "6 data points at 1 distinct pressure"),
    ([0.0, 1.0, 2.0, 3.0, 5.0], [10.0, 10.1, 10.2, 10.3, 10.5], "K0 = -99.4"),
])
def test_a_fit_without_a_sound_answer_raises_fit_error(P, V, message):
    with pytest.raises(quorvane.FitError, match=message):
        quorvane.fit(P, V)


MGD = {"type": "vinet", "order": 3, "thermal": "mgd", "V0": 11.24, "K0": 160.0, "Kp0": 4.3,
       "theta0": 760.0, "gamma0": 1.5, "q": 1.1, "natoms": 2, "Tref": 300}


def test_recovers_a_thermal_pressure_model_from_exact_data_at_several_temperatures(tmp_path):
    V = np.tile(np.linspace(0.8, 1.0, 12) * MGD["V0"], 4)
    T = np.repeat([300.0, 1000.0, 1700.0, 2400.0], 12)
    P = quorvane.Eos(**MGD).pressure(V, T)
    result = quorvane.fit(P, V, T, type="vinet", thermal="mgd", theta0=760, natoms=2, Tref=300,
                          refine=["V0", "K0", "Kp0", "gamma0", "q"])
    assert result.converged and result.restart is None
    for name in result.refined:
        assert result.parameters[name] == pytest.approx(MGD[name], rel=1e-9)
    assert (result.eos.thermal, result.eos.theta0, result.eos.natoms) == ("mgd", 760.0, 2.0)
    result.save(tmp_path / "mgd.json")
    assert quorvane.load(tmp_path / "mgd.json") == result.eos


@pytest.mark.parametrize("start,error", [
    ({"thermal": "mgd", "dKdT": -0.02}, ValueError),
    ({"thermal": "mgd", "refine": ["V0", "alpha0"]}, ValueError),
    ({"thermal": "mgd", "theta": 700}, TypeError),
])
def test_refuses_keywords_the_model_has_no_use_for(start, error):
    P, V = synthetic()
    with pytest.raises(error):
        quorvane.fit(P, V, type="vinet", **start)

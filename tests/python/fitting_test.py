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


@pytest.mark.parametrize("refine", [["V0", "K0"], ("V0", "K0"), "V0,K0", "V0, K0"])
def test_fixed_parameters_stay_and_the_result_saves_as_a_parameter_file(tmp_path, refine):
    P, V = synthetic()
    result = quorvane.fit(P, V, type="vinet", order=3, refine=refine, Kp0=4.3)
    assert result.refined == ["V0", "K0"] and result.parameters["Kp0"] == 4.3
    result.save(tmp_path / "fit.json")
    back = quorvane.load(tmp_path / "fit.json")
    assert back == result.eos
    np.testing.assert_array_equal(back.metadata["covariance"], result.covariance_reported)


# Unit weights carry no unit: auto scales by chi2w/dof, so the esds in kbar are
# ten times those in GPa, and save writes that scaled covariance.
@pytest.mark.parametrize("sigP,scaling", [(None, "chi2"), (0.05, "none")])
def test_saved_covariance_is_the_scaled_one_for_unit_weights(tmp_path, sigP, scaling):
    P, V = synthetic(noise=0.01)
    results = [quorvane.fit(P * unit, V, sigP=None if sigP is None else sigP * unit,
                            type="vinet", order=3) for unit in (1.0, 10.0)]
    for result, name in zip(results, ("gpa", "kbar")):
        assert result.covariance_scaling == scaling
        result.save(tmp_path / f"{name}.json")
        saved = quorvane.load(tmp_path / f"{name}.json").metadata["covariance"]
        expected = result.covariance_scaled if scaling == "chi2" else result.covariance
        np.testing.assert_allclose(saved, expected, rtol=1e-15)
    K0 = [np.sqrt(r.covariance_reported[1, 1]) for r in results]
    assert K0[1] == pytest.approx(10.0 * K0[0], rel=1e-6)


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


@pytest.mark.parametrize("first,second,level", [("K0", "Kp0", 0.683), ("Kp0", "V0", 0.95)])
def test_the_ellipse_outline_lies_on_its_delta_chi2_of_the_scaled_covariance(first, second,
                                                                            level):
    P, V = synthetic(noise=0.05)
    result = quorvane.fit(P, V, sigP=0.05, type="vinet", order=3)
    outline = result.ellipse(first, second, level=level, points=64)
    assert outline.shape == (64, 2)
    i, j = result.refined.index(first), result.refined.index(second)
    block = result.covariance_reported[np.ix_([i, j], [i, j])]
    d = outline - [result.parameters[first], result.parameters[second]]
    form = np.einsum("ni,ij,nj->n", d, np.linalg.inv(block), d)
    assert form == pytest.approx(np.full(64, -2.0 * np.log(1.0 - level)), rel=1e-9)


@pytest.mark.parametrize("arguments,message", [
    (("K0", "Kpp0"), "'Kpp0' is not refined"),
    (("K0", "B0"), "'B0' is not refined"),
    (("K0", "K0"), "K0 is named twice"),
    (("K0", "Kp0", 1.0), "level"),
    (("K0", "Kp0", 0.0), "level"),
    (("K0", "Kp0", float("nan")), "level"),
])
def test_the_ellipse_refuses_what_makes_none(arguments, message):
    P, V = synthetic(noise=0.05)
    result = quorvane.fit(P, V, sigP=0.05, type="vinet", order=3)
    with pytest.raises(ValueError, match=message):
        result.ellipse(*arguments)


def test_a_point_weighted_by_sigV_alone_needs_no_sigP():
    P, V = synthetic(noise=0.02, points=12)
    sigP = np.full(12, 0.02)
    sigP[[0, 5]] = [0.0, np.nan]
    result = quorvane.fit(P, V, sigP=sigP, sigV=0.002, type="vinet", order=3)
    assert result.weighted and result.converged
    sigP[3] = 0.0
    with pytest.raises(quorvane.FitError, match="point 4: its effective standard deviation is zero"):
        quorvane.fit(P, V, sigP=sigP, sigV=np.where(np.arange(12) == 3, 0.0, 0.002),
                     type="vinet", order=3)


@pytest.mark.parametrize("esd_scaling,noise,scaled", [
    ("auto", 0.1, True), ("auto", 0.01, False), ("always", 0.01, True), ("never", 0.1, False),
])
def test_the_reported_esds_are_scaled_only_where_asked(esd_scaling, noise, scaled):
    P, V = synthetic(noise=noise)
    result = quorvane.fit(P, V, sigP=0.03, type="vinet", order=3, esd_scaling=esd_scaling)
    assert result.covariance_scaling == ("chi2" if scaled else "none")
    expected = result.covariance_scaled if scaled else result.covariance
    np.testing.assert_array_equal(result.covariance_reported, expected)
    assert result.esd_reported == (result.esd_scaled if scaled else result.esd)


def test_a_tight_prior_holds_a_parameter_and_an_active_bound_withholds_its_esd():
    P, V = synthetic(noise=0.03)
    held = quorvane.fit(P, V, sigP=0.03, type="vinet", order=3, refine=["V0", "K0"], Kp0=4.0)
    tight = quorvane.fit(P, V, sigP=0.03, type="vinet", order=3, constrain={"Kp0": (4.0, 4e-9)})
    bounded = quorvane.fit(P, V, sigP=0.03, type="vinet", order=3, bounds={"Kp0": (2, 4.0)})
    for name in ("V0", "K0"):
        assert tight.parameters[name] == pytest.approx(held.parameters[name], rel=1e-6)
        assert bounded.parameters[name] == pytest.approx(held.parameters[name], rel=1e-7)
    assert bounded.at_bound == ["Kp0"] and bounded.parameters["Kp0"] == 4.0
    assert np.isnan(bounded.esd_reported["Kp0"])


@pytest.mark.parametrize("keywords,message", [
    ({"constrain": {"Kpp0": (0.0, 1.0)}}, "K''0: it is not refined"),
    ({"constrain": {"K0": (160.0, 0.0)}}, "sigma = 0"),
    ({"constrain": {"B0": (160.0, 1.0)}}, "B0"),
    ({"bounds": {"Kp0": (8, 2)}}, "lower limit 8 is not below"),
    ({"bounds": {"Kp0": (5, 8)}, "Kp0": 4.0}, "not inside its bounds"),
    ({"esd_scaling": "sometimes"}, "esd_scaling"),
    ({"constrain": {"K0": 160.0}}, "constrain"),
])
def test_refuses_constraints_it_cannot_use(keywords, message):
    P, V = synthetic()
    with pytest.raises(ValueError, match=message):
        quorvane.fit(P, V, type="vinet", order=3, **keywords)


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


@pytest.mark.parametrize("sigma", [{"siga": 0.0004}, {"sig_a": 0.0004}, {"sigV": 0.0004}])
def test_an_axis_fit_is_the_programs_and_its_cube_fitted_as_a_volume(tmp_path, sigma):
    P, V = synthetic(noise=0.03, points=15)
    a = np.cbrt(V * 12.0)
    result = quorvane.fit(P, a, sigP=0.03, type="vinet", order=3, axis="a", **sigma)
    cubed = quorvane.fit(P, a * a * a, sigP=0.03, sigV=3.0 * a * a * 0.0004, type="vinet",
                         order=3)
    assert result.axis["M0"] == 3.0 * cubed.parameters["K0"]
    assert result.axis["Mp0"] == 3.0 * cubed.parameters["Kp0"]
    assert result.axis_esd["M0"] == 3.0 * cubed.esd_reported["K0"]
    assert cubed.axis is None and cubed.axis_esd is None
    program = os.environ.get("QUORVANE_EOS")
    if not program:
        return
    data = tmp_path / "axis.csv"
    data.write_text("P,sigP,a,sig_a\n" + "".join(f"{p!r},0.03,{x!r},0.0004\n"
                                                 for p, x in zip(P, a)))
    done = subprocess.run([program, "fit", str(data), "--axis", "a", "--eos", "vinet",
                           "--format", "json"], check=True, capture_output=True, text=True)
    report = json.loads(done.stdout)
    assert report["axis"] == result.axis
    assert report["axis_esd"] == result.axis_esd


@pytest.mark.parametrize("keywords,message", [
    ({"sigV": 0.001, "siga": 0.001}, "give one of sigV, siga or sig_a"),
    ({"siga": 0.001, "scale": 1e200}, "a: value 0 has no cube in double precision"),
    ({"siga": 0.001, "scale": 1e-200}, "a: value 0 has no cube in double precision"),
])
def test_an_axis_takes_one_sigma_and_a_length_that_cubes(keywords, message):
    P, V = synthetic(points=8)
    scale = keywords.pop("scale", 1.0)
    with pytest.raises(ValueError, match=message):
        quorvane.fit(P, np.cbrt(V) * scale, axis="a", **keywords)

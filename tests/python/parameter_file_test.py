"""quorvane.load and quorvane.save on the JSON parameter files of quorvane-eos."""

import json
import re

import numpy as np
import pytest

import quorvane

EXAMPLE = {
    "format": "quorvane-eos-parameters",
    "version": 1,
    "eos": "birch-murnaghan",
    "order": 3,
    "parameters": {"V0": 10, "K0": 160, "Kp0": 4, "Kpp0": -0.0253, "alpha0": 2, "alpha1": 0,
                   "dKdT": 0, "Tref": 298},
    "refined": ["V0", "K0", "Kp0"],
    "covariance": [[1e-4, 2e-4, 0], [2e-4, 0.25, -0.01], [0, -0.01, 0.0016]],
    "covariance_scaling": "chi2",
    "provenance": {"program": "quorvane-eos 6.0.0", "data": "measured.csv", "chi2w": 1.23,
                   "dof": 17, "converged": True},
    "comment": "unknown keys are ignored",
}


def write(tmp_path, document, name="eos.json"):
    path = tmp_path / name
    path.write_text(document if isinstance(document, str) else json.dumps(document))
    return path


def test_reads_a_fit_result_with_its_covariance(tmp_path):
    eos = quorvane.load(write(tmp_path, EXAMPLE))
    assert (eos.type, eos.order, eos.V0, eos.K0, eos.Kp0, eos.dKdT) == (
        "birch-murnaghan", 3, 10.0, 160.0, 4.0, 0.0)
    # 3rd order implies K''0 from K0 and K'0, whatever the file says.
    assert eos.Kpp0 == quorvane.Eos(K0=160).Kpp0
    assert eos.metadata["refined"] == ["V0", "K0", "Kp0"]
    np.testing.assert_array_equal(eos.metadata["covariance"], EXAMPLE["covariance"])
    assert eos.metadata["covariance_scaling"] == "chi2"
    assert eos.metadata["provenance"]["dof"] == 17


@pytest.mark.parametrize("eos", [
    quorvane.Eos(),
    quorvane.Eos(type="vinet", order=2, V0=11.2, K0=161.7, alpha0=3.1, alpha1=0.7),
    quorvane.Eos(type="natural-strain", order=4, Kp0=5.123456789012345, Kpp0=-0.0612345,
                 dKdT=-0.0301, Tref=300.15),
    quorvane.Eos(type="murnaghan", K0=0.1 + 0.2, Kp0=-2.5),
])
def test_saved_parameters_read_back_bit_for_bit(tmp_path, eos):
    path = tmp_path / "eos.json"
    covariance = [[0.1 + 0.2, 1e-300], [1e-300, 2.0 / 3.0]]
    eos.save(path, refined=["V0", "K0"], covariance=covariance, covariance_scaling="none",
             provenance={"data": "x.csv"})
    back = quorvane.load(path)
    assert back == eos
    np.testing.assert_array_equal(back.metadata["covariance"], covariance)
    assert back.metadata["provenance"] == {"data": "x.csv"}
    document = json.loads(path.read_text())
    assert document["format"] == "quorvane-eos-parameters" and document["version"] == 1
    assert set(document["parameters"]) == set(quorvane.Eos().parameters)


def test_saves_without_covariance_and_names_the_program(tmp_path):
    path = tmp_path / "eos.json"
    quorvane.save(path, quorvane.Eos(K0=170))
    document = json.loads(path.read_text())
    assert "covariance" not in document
    assert document["provenance"] == {"program": "quorvane " + quorvane.__version__}
    assert quorvane.load(path).metadata == {"refined": [], "provenance": document["provenance"]}


def changed(**changes):
    document = json.loads(json.dumps(EXAMPLE))
    for key, value in changes.items():
        if value is None:
            del document[key]
        else:
            document[key] = value
    return document


@pytest.mark.parametrize("document,message", [
    (changed(format="quorvane-parameters"), '"format" is not'),
    (changed(version=2), '"version" 2 is not'),
    (changed(version="1"), '"version" \'1\' is not'),
    (changed(eos="tait"), '"eos" \'tait\' is not one of'),
    (changed(order=5), '"order" 5 is not 2, 3 or 4'),
    (changed(order=None), '"order" None is not 2, 3 or 4'),
    (changed(parameters={"V0": 10}), '"parameters" has no finite number "K0"'),
    (json.dumps(EXAMPLE).replace('"K0": 160', '"K0": NaN'), "NaN is not a finite number"),
    (json.dumps(EXAMPLE).replace('"K0": 160', '"K0": 1e999'), 'no finite number "K0"'),
    (json.dumps(EXAMPLE).replace('0.0016', 'Infinity'), "Infinity is not a finite number"),
    (changed(covariance=[[1, 0], [0, 1]]), '"covariance" is not a 3 x 3 matrix'),
    (changed(refined=None), '"covariance" is not a 0 x 0 matrix'),
    (changed(refined=["V0", "K0", "Kq"]), '"refined" is not a list of parameter names'),
    (changed(covariance_scaling="unit"), '"covariance_scaling" \'unit\' is not chi2 or none'),
    (changed(parameters={**EXAMPLE["parameters"], "K0": 0.0}),
     "K0 must be at least 0.0010000000474974513"),
    ("{\"format\": ", "Expecting value"),
    ("[1, 2]", '"format" is not'),
])
def test_refuses_a_bad_file_with_one_error_naming_it(tmp_path, document, message):
    path = write(tmp_path, document, "bad.json")
    with pytest.raises(ValueError, match=f"^{re.escape(str(path))}: .*{re.escape(message)}") \
            as refusal:
        quorvane.load(path)
    assert "\n" not in str(refusal.value)


def test_refuses_a_missing_file_as_os_error(tmp_path):
    with pytest.raises(OSError):
        quorvane.load(tmp_path / "absent.json")


@pytest.mark.parametrize("arguments,message", [
    ({"refined": ["V0", "Kq"]}, "refined: .* names an unknown parameter"),
    ({"refined": ["V0"], "covariance": [[1.0, 0.0]], "covariance_scaling": "chi2"},
     "covariance: not a finite 1 x 1 matrix"),
    ({"refined": ["V0"], "covariance": [[np.nan]], "covariance_scaling": "chi2"},
     "covariance: not a finite 1 x 1 matrix"),
    ({"refined": ["V0"], "covariance": [[1.0]]}, "covariance_scaling: give chi2 or none"),
])
def test_save_refuses_what_could_not_be_read_back(tmp_path, arguments, message):
    with pytest.raises(ValueError, match=message):
        quorvane.save(tmp_path / "eos.json", quorvane.Eos(), **arguments)

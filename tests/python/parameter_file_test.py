"""quorvane.load and quorvane.save on the JSON parameter files of quorvane-eos."""

import json
import os
import re
import subprocess
import threading

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


def covariance(rows):
    return changed(covariance=rows)


@pytest.mark.parametrize("document,message", [
    (changed(format="quorvane-parameters"), '"format" is not'),
    (changed(version=2), 'version 2 is not supported'),
    (changed(version="1"), '"version" is not a number'),
    (changed(eos="birch"), '"eos" is not one of'),
    (changed(thermal="debye"), '"thermal" is not one of'),
    (changed(order=5), '"order" is not 2, 3 or 4'),
    (changed(order=None), 'no "order"'),
    (changed(parameters={"V0": 10}), '"parameters" has no "K0"'),
    (json.dumps(EXAMPLE).replace('"K0": 160', '"K0": NaN'), "not valid JSON"),
    (json.dumps(EXAMPLE).replace('"K0": 160', '"K0": 1e999'), "number out of the range"),
    (json.dumps(EXAMPLE).replace('0.0016', 'Infinity'), "not valid JSON"),
    (covariance([[1, 0], [0, 1]]), '"covariance" is not a 3 x 3 matrix'),
    (changed(refined=None), '"covariance" is not a 0 x 0 matrix'),
    (changed(refined=["V0", "K0", "Kq"]), '"refined" names an unknown parameter'),
    (changed(covariance_scaling="unit"), '"covariance_scaling" is not "chi2" or "none"'),
    (changed(parameters={**EXAMPLE["parameters"], "K0": 0.0}),
     '"K0" is below the calculator\'s floor 0.0010000000474974513'),
    (changed(parameters={**EXAMPLE["parameters"], "V0": -10}), '"V0" is below'),
    (changed(refined=["V0", "K0", "K0"]), '"refined" names K0 twice'),
    (changed(refined=["V0", "K0", "Kpp0"]), "names Kpp0, which birch-murnaghan implies"),
    (covariance([[1e-4, 2e-4, 0], [2e-4, 0.25, -0.01], [0, -0.01, -0.0016]]),
     '"covariance" has a negative variance of Kp0'),
    (covariance([[1e-4, 2e-4, 0], [-2e-4, 0.25, -0.01], [0, -0.01, 0.0016]]),
     '"covariance" is not symmetric'),
    (changed(covariance_scaling=None), 'has no "covariance_scaling"'),
    (changed(provenance="fitted"), '"provenance" is not an object'),
    ('{"format": ' + "[" * 100_000, "nested too deeply"),
    ('{"format": ', "not valid JSON: line 1, column 12"),
    ("[1, 2]", "not a parameter file"),
])
def test_refuses_a_bad_file_as_the_command_line_does(tmp_path, document, message):
    path = write(tmp_path, document, "bad.json")
    with pytest.raises(ValueError, match=f"^{re.escape(str(path))}: .*{re.escape(message)}") \
            as refusal:
        quorvane.load(path)
    assert "\n" not in str(refusal.value)
    program = os.environ.get("QUORVANE_EOS")
    if program:
        done = subprocess.run([program, "--params", str(path), "--P", "0"], capture_output=True,
                              text=True)
        assert (done.returncode, done.stdout) == (2, "")
        assert done.stderr == f"quorvane-eos: --params: {refusal.value}\n"


@pytest.mark.parametrize("changes", [
    {"version": 1.0},
    {"covariance": None, "covariance_scaling": None, "provenance": None},
    # 2nd order implies K'0: whatever the file says is replaced.
    {"order": 2, "parameters": {**EXAMPLE["parameters"], "Kp0": 0}, "refined": ["V0", "K0"],
     "covariance": [[1e-4, 2e-4], [2e-4, 0.25]]},
])
def test_reads_what_the_command_line_reads(tmp_path, changes):
    document = {**EXAMPLE, **changes}
    eos = quorvane.load(write(tmp_path, document))
    assert eos.metadata["refined"] == (document["refined"] or [])
    assert ("covariance" in eos.metadata) == (document["covariance"] is not None)
    assert eos.metadata["provenance"] == (document["provenance"] or {})


def test_a_model_beyond_the_calculators_loads_and_computes_as_the_program(tmp_path):
    document = changed(eos="tait", order=4, refined=["V0"], covariance=[[1e-4]])
    path = write(tmp_path, document)
    eos = quorvane.load(path)
    assert (eos.type, eos.order, eos.arithmetic) == ("tait", 4, "textbook")
    eos.save(tmp_path / "again.json", refined=["V0"], covariance=[[1e-4]],
             covariance_scaling="chi2")
    assert quorvane.load(tmp_path / "again.json") == eos
    program = os.environ.get("QUORVANE_EOS")
    if program:
        done = subprocess.run([program, "--params", str(path), "--P", "0"], capture_output=True,
                              text=True)
        assert (done.returncode, done.stderr) == (0, "")
        header, row = done.stdout.splitlines()[:2]
        assert float(dict(zip(header.split(","), row.split(",")))["V"]) == eos.volume(0.0)[0]


def test_refuses_a_missing_file_as_os_error(tmp_path):
    with pytest.raises(OSError):
        quorvane.load(tmp_path / "absent.json")
    with pytest.raises(OSError):
        quorvane.save(tmp_path / "absent" / "eos.json", quorvane.Eos())


OLD_FILE = json.dumps(EXAMPLE)


@pytest.mark.parametrize("arguments,error,message", [
    ({"refined": ["V0", "Kq"]}, ValueError, 'names an unknown parameter "Kq"'),
    ({"refined": ["V0", "V0"]}, ValueError, '"refined" names V0 twice'),
    ({"refined": ["Kpp0"]}, ValueError, "names Kpp0, which birch-murnaghan implies at order 3"),
    ({"refined": ["V0"], "covariance": [[1.0, 0.0]], "covariance_scaling": "chi2"}, ValueError,
     '"covariance" is not a 1 x 1 matrix'),
    ({"refined": ["V0"], "covariance": [[np.nan]], "covariance_scaling": "chi2"}, ValueError,
     'a "covariance" entry is not finite'),
    ({"refined": ["V0"], "covariance": [[-1.0]], "covariance_scaling": "chi2"}, ValueError,
     "negative variance of V0"),
    ({"refined": ["V0", "K0"], "covariance": [[1.0, 2.0], [0.0, 1.0]],
      "covariance_scaling": "none"}, ValueError, '"covariance" is not symmetric'),
    ({"refined": ["V0"], "covariance": [[1.0]]}, ValueError, 'has no "covariance_scaling"'),
    ({"refined": ["V0"], "covariance": [[1.0]], "covariance_scaling": "raw"}, ValueError,
     '"covariance_scaling" is not "chi2" or "none"'),
    ({"refined": ["V0"], "covariance": [[1.0 + 1.0j]], "covariance_scaling": "none"}, TypeError,
     "covariance: complex numbers, not real numbers"),
    ({"provenance": {"chi2w": float("nan")}}, ValueError, "provenance: Out of range float"),
    ({"provenance": {"data": object()}}, TypeError, "provenance: Object of type object"),
    ({"provenance": ["fitted"]}, TypeError, "provenance: list is not a dict"),
])
def test_a_refused_save_leaves_the_old_file_as_it_was(tmp_path, arguments, error, message):
    path = write(tmp_path, OLD_FILE)
    with pytest.raises(error, match=re.escape(message)):
        quorvane.save(path, quorvane.Eos(), **arguments)
    assert path.read_text() == OLD_FILE
    assert os.listdir(tmp_path) == [path.name]


def test_a_save_that_cannot_replace_its_target_leaves_it_as_it_was(tmp_path):
    target = tmp_path / "eos.json"
    target.mkdir()
    (target / "kept").write_text("kept")
    with pytest.raises(OSError):
        quorvane.save(target, quorvane.Eos())
    assert os.listdir(target) == ["kept"]
    assert os.listdir(tmp_path) == [target.name]


def test_threads_saving_and_loading_one_path_see_whole_files(tmp_path):
    path = tmp_path / "shared.json"
    sets = [quorvane.Eos(K0=100.0 + k) for k in range(8)]
    quorvane.save(path, sets[0])
    failures = []

    def work(eos):
        try:
            for _ in range(40):
                quorvane.save(path, eos)
                assert quorvane.load(path) in sets
        except Exception as error:  # reported below, in the main thread
            failures.append(error)

    threads = [threading.Thread(target=work, args=(eos,)) for eos in sets]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    assert failures == []
    assert os.listdir(tmp_path) == [path.name]

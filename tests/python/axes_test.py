"""quorvane.axes against quorvane-eos axes on the axial fits of the example crystal."""

import os
import pathlib
import subprocess

import numpy as np
import pytest

import quorvane

EDGES = pathlib.Path(__file__).resolve().parents[2] / "docs" / "examples" / "orthorhombic-axes.csv"


def _program():
    program = os.environ.get("QUORVANE_EOS")
    if not program:
        pytest.skip("QUORVANE_EOS names no quorvane-eos program")
    return program


def _run(arguments, check=True):
    return subprocess.run([_program(), *arguments], text=True, capture_output=True, check=check)


@pytest.fixture(scope="module")
def files(tmp_path_factory):
    """The parameter file of each edge's fit, by the edge's name."""
    folder = tmp_path_factory.mktemp("axes")
    fitted = {}
    for axis in "abc":
        fitted[axis] = str(folder / f"{axis}.json")
        _run(["fit", str(EDGES), "--axis", axis, "--params-out", fitted[axis]])
    return fitted


def _options(pairs, angles):
    options = [f"--axis={name}={path}" for name, path in pairs]
    for name, value in angles.items():
        options += [f"--{name}", repr(value)]
    return options


# (axes, program's --P and --T, Python's P and T, angles); the program runs T
# in the outer loop, so T is broadcast down the rows of a grid.
@pytest.mark.parametrize("axes, P_text, T_text, P, T, angles", [
    ("abc", "0:8:4", None, [0.0, 4.0, 8.0], None, {}),
    ("abc", "1.5,6.25", "250,700", np.array([1.5, 6.25]), np.array([[250.0], [700.0]]),
     {"beta": 100.5}),
    ("aac", "3", "500", 3.0, 500.0, {"gamma": 120.0}),
    ("aaa", "0.5,7", None, [0.5, 7.0], None, {"alpha": 60.0, "beta": 60.0, "gamma": 60.0}),
    ("b", "2", "900", 2.0, 900.0, {}),
])
def test_the_cell_is_the_programs_to_the_last_bit(files, axes, P_text, T_text, P, T, angles):
    pairs = [(name, files[edge]) for name, edge in zip("abc", axes)]
    arguments = ["axes", *_options(pairs, angles), "--P", P_text]
    if T_text is not None:
        arguments += ["--T", T_text]
    header, *lines = _run(arguments).stdout.splitlines()
    rows = [dict(zip(header.split(","), line.split(","))) for line in lines]
    cell = quorvane.axes(pairs if len(pairs) > 1 else dict(pairs), P, T=T, **angles)
    assert set(header.split(",")) == set(cell) | {"P", "T"}
    flat = {key: np.ravel(value) for key, value in cell.items()}
    assert all(len(value) == len(rows) for value in flat.values())
    for i, row in enumerate(rows):
        for column, text in row.items():
            if column in ("P", "T"):
                continue
            expected = text == "true" if column == "in_range" else float(text)
            assert flat[column][i] == expected, (column, i)


# The program's message with the option names as keywords here.
@pytest.mark.parametrize("angles", [
    {"alpha": 20.0, "beta": 20.0, "gamma": 80.0},
    {"gamma": 180.0},
])
def test_a_cell_the_angles_cannot_close_is_refused_as_by_the_program(files, angles):
    done = _run(["axes", *_options([("a", files["a"])], angles), "--P", "1"], check=False)
    assert done.returncode == 2
    says = done.stderr.strip().removeprefix("quorvane-eos axes: ").replace("--", "")
    with pytest.raises(ValueError) as refused:
        quorvane.axes({"a": files["a"]}, 1.0, **angles)
    assert str(refused.value) == says

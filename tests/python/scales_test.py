"""quorvane.scales, scale, ruby_pressure and rescale against quorvane-eos."""

import os
import subprocess

import numpy as np
import pytest

import quorvane


def _program_table(arguments):
    program = os.environ.get("QUORVANE_EOS")
    if not program:
        pytest.skip("QUORVANE_EOS names no quorvane-eos program")
    done = subprocess.run([program, "pressure", *arguments], text=True, capture_output=True,
                          check=True)
    header, *lines = done.stdout.splitlines()
    columns = header.split(",")
    return [dict(zip(columns, line.split(","))) for line in lines]


@pytest.mark.parametrize("name, arguments, call", [
    ("au-fei2007", ["--V", "58.5", "--T", "1700", "--sigV", "0.02", "--sigT", "30"],
     lambda: quorvane.scale("au-fei2007").pressure(V=58.5, T=1700, sigV=0.02, sigT=30)),
    ("ruby-shen2020", ["--lambda", "712.25", "--lambda0", "694.2", "--T", "450",
                       "--sigLambda", "0.05"],
     lambda: quorvane.ruby_pressure(712.25, 694.2, T=450, sigLam=0.05)),
    ("smsbo-datchi1997", ["--lambda", "701"],
     lambda: quorvane.ruby_pressure(701, scale="smsbo-datchi1997")),
])
def test_pressures_are_the_programs_to_the_last_bit(name, arguments, call):
    row = _program_table(["--scale", name, *arguments])[0]
    P, sigP, in_range = call()
    assert (P, sigP, in_range) == (float(row["P"]), float(row["sigP"]), row["in_range"] == "true")


def test_moving_there_and_back_returns_the_pressures():
    P = np.array([[1.0, 20.0], [60.0, 120.0]])
    for source, target in [("pt-fei2007", "pt-dorfman2012"), ("ruby-mao1986", "ruby-dewaele2008")]:
        moved, sig, _ = quorvane.rescale(P, source, target, sigP=0.1)
        back, sig_back, _ = quorvane.rescale(moved, target, source, sigP=sig)
        assert back.shape == P.shape
        np.testing.assert_allclose(back, P, rtol=1e-12)
        np.testing.assert_allclose(sig_back, 0.1, rtol=1e-12)


@pytest.mark.parametrize("call, says", [
    (lambda: quorvane.scale("gold").pressure(V=60), 'no scale is named "gold"'),
    (lambda: quorvane.ruby_pressure(-1), "lambda = -1 is not above zero"),
    (lambda: quorvane.scale("au-fei2007").pressure(V=60, T=0), "T = 0 is not above zero"),
    (lambda: quorvane.rescale(10, "au-fei2007", "pt-fei2007"), "different calibrants"),
    (lambda: quorvane.scale("au-fei2007").pressure(V=[60, 61], T=[300, 400, 500]), "broadcast"),
    (lambda: quorvane.scale("ruby-shen2020").cell(10), "fluorescence gauge: it has no cell"),
    (lambda: quorvane.scale("au-fei2007").cell(10, hkl="111,22"), '"22" is no reflection'),
    (lambda: quorvane.scale("au-fei2007").cell(-500), "does not reach that pressure"),
])
def test_bad_input_raises_value_error(call, says):
    with pytest.raises(ValueError, match=says):
        call()


def test_a_volume_scale_is_an_eos_giving_its_own_pressures():
    V, T = np.array([66.0, 60.0, 54.0]), np.array([300.0, 1300.0, 2300.0])
    eos = quorvane.scale("pt-fei2007").eos()
    P, _, _ = quorvane.scale("pt-fei2007").pressure(V=V, T=T)
    np.testing.assert_allclose(eos.pressure(V, T), P, rtol=1e-13)
    volume, found = eos.volume(P, T)
    assert found.all()
    np.testing.assert_allclose(volume, V, rtol=1e-13)


def test_a_cell_is_the_programs_to_the_last_bit():
    program = os.environ.get("QUORVANE_EOS")
    if not program:
        pytest.skip("QUORVANE_EOS names no quorvane-eos program")
    done = subprocess.run([program, "cell", "--scale", "pt-dorfman2012", "--P", "20:80:60",
                           "--T", "1500", "--hkl", "111,311"], text=True, capture_output=True,
                          check=True)
    header, *lines = done.stdout.splitlines()
    rows = [dict(zip(header.split(","), line.split(","))) for line in lines]
    cell = quorvane.scale("pt-dorfman2012").cell([20.0, 80.0], 1500.0, hkl=["111", "311"])
    cell.update({"P": [20.0, 80.0], "T": [1500.0, 1500.0]})
    for i, row in enumerate(rows):
        for column, text in row.items():
            assert cell[column][i] == (text == "true" if column == "in_range" else float(text))

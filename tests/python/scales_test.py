"""quorvane.scales, scale, ruby_pressure and rescale against quorvane-eos."""

import importlib
import os
import pathlib
import shutil
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
    ("pt-fei2007", ["--d-311", "1.17", "--T", "1500", "--sigD", "0.0004", "--sigT", "20"],
     lambda: quorvane.scale("pt-fei2007").pressure(d=1.17, hkl="-311", T=1500, sigD=0.0004,
                                                   sigT=20)),
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


@pytest.mark.parametrize("call, error, says", [
    (lambda: quorvane.scale("au-fei2007").pressure(lam=700), TypeError, "volume scale"),
    (lambda: quorvane.scale("ruby-shen2020").pressure(V=60), TypeError, "fluorescence gauge"),
    (lambda: quorvane.scale("ruby-shen2020").pressure(a=4), TypeError, "fluorescence gauge"),
    (lambda: quorvane.scale("au-fei2007").pressure(V=60, lam0=694.2), TypeError, "lam0"),
    (lambda: quorvane.scale("au-fei2007").pressure(V=60, a=3.9), TypeError, "one reading"),
    (lambda: quorvane.scale(None), TypeError, "not NoneType"),
    (lambda: quorvane.scale("au-fei2007").pressure(d=2.2), TypeError, "needs its reflection"),
    (lambda: quorvane.scale("au-fei2007").pressure(d=2.2, hkl="111", a=3.9), TypeError,
     "one reading"),
    (lambda: quorvane.scale("ruby-shen2020").pressure(d=2.2, hkl="111"), TypeError,
     "fluorescence gauge"),
    (lambda: quorvane.scale("au-fei2007").pressure(d=2.2, hkl="000"), ValueError,
     "is no reflection"),
    (lambda: quorvane.scale("au-fei2007").pressure(d=0, hkl="111"), ValueError,
     "d111 = 0 is not above zero"),
    (lambda: quorvane.ruby_pressure(700.5, 0), ValueError, "lambda0 = 0 is not above zero"),
    (lambda: quorvane.rescale(10, "au-fei2007", "au-dorfman2012", sigP=-0.05), ValueError,
     "sigP = -0.05 is no standard deviation"),
    (lambda: quorvane.scale("au-fei2007").pressure(V=60, sigV=-1), ValueError,
     "sigV = -1 is no standard deviation"),
    (lambda: quorvane.scale("au-fei2007").pressure(V=60, sigV=1e308), ValueError,
     "no finite sigP"),
])
def test_a_reading_of_the_wrong_kind_or_sigma_is_refused(call, error, says):
    with pytest.raises(error, match=says):
        call()


def test_the_default_temperature_is_the_programs():
    row = _program_table(["--scale", "ruby-shen2020", "--lambda", "700.5"])[0]
    assert quorvane.ruby_pressure(700.5)[0] == float(row["P"])
    assert quorvane.scale("ruby-shen2020").pressure(lam=700.5)[0] == float(row["P"])
    gold = _program_table(["--scale", "au-fei2007", "--a", "3.9", "--sigA", "0.001"])[0]
    P, sigP, sigPscale, _ = quorvane.scale("au-fei2007").pressure(a=3.9, sigA=0.001,
                                                                  scale_esd=True)
    assert (P, sigP, sigPscale) == (float(gold["P"]), float(gold["sigP"]),
                                    float(gold["sigPscale"]))


@pytest.mark.skipif(not hasattr(os, "mkfifo"), reason="no FIFOs here")
def test_a_fifo_or_broken_file_in_the_folder_neither_hangs_nor_stops(tmp_path, monkeypatch):
    shipped = quorvane.scale("au-fei2007").info  # from the real folder, before the swap
    folder = tmp_path / "scales"
    folder.mkdir()
    source = pathlib.Path(os.environ.get("QUORVANE_SCALES_DIR") or _shipped_folder())
    shutil.copy(source / "au-fei2007.json", folder)
    os.mkfifo(folder / "fifo.json")
    (folder / "broken.json").write_text("{")
    (folder / "sub.json").mkdir()
    monkeypatch.setenv("QUORVANE_SCALES_DIR", str(folder))
    assert quorvane.ruby_pressure(700.5)[2]
    with pytest.warns(UserWarning, match="broken.json"):
        listed = quorvane.scales()
    assert [s["name"] for s in listed if s["kind"] == "volume"] == ["au-fei2007"]
    assert quorvane.scale("au-fei2007").info == shipped


def _shipped_folder():
    return importlib.import_module("quorvane.scales")._folder()


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


@pytest.mark.parametrize("call, warned", [
    (lambda: quorvane.scale("ne-fei2007").cell(10, hkl="111,100,210"), "no reflection 100, 210;"),
    (lambda: quorvane.scale("au-fei2007").pressure(d=2.7, hkl="110", T=300), "no reflection 110;"),
])
def test_a_reflection_the_lattice_extinguishes_is_warned_of_as_the_program_does(call, warned):
    with pytest.warns(UserWarning, match=warned):
        call()

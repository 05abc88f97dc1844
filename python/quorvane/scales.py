"""Pressure scales: a calibrant's pressure, and pressures moved between scales.

    >>> import quorvane
    >>> [s["name"] for s in quorvane.scales()][:2]
    >>> P, sigP, in_range = quorvane.ruby_pressure(700.5, 694.24)
    >>> gold = quorvane.scale("au-fei2007")
    >>> P, sigP, in_range = gold.pressure(V=60, T=1500, sigV=0.01)
    >>> gold.cell(50, 2000, hkl="111,200")["d111"]
    >>> P, sigP, in_range = gold.pressure(d=2.2439, hkl="111", T=2000, sigD=0.001)
"""

import os
import pathlib
import sys
import warnings

import numpy as np

from quorvane import _core

_FOLDER_VARIABLE = "QUORVANE_SCALES_DIR"
_READINGS = {"volume": ("V", "a"), "fluorescence": ("lam",)}


def _folder():
    """The folder of the shipped volume scales, as quorvane-eos finds it."""
    if os.environ.get(_FOLDER_VARIABLE):
        return os.environ[_FOLDER_VARIABLE]
    package = pathlib.Path(__file__).resolve().parent
    candidates = [
        package.parent.parent / "cli" / "scales",  # the build tree
        pathlib.Path(sys.prefix) / "share" / "quorvane" / "scales",
        pathlib.Path("/usr/share/quorvane/scales"),
    ]
    for candidate in candidates:
        if candidate.is_dir():
            return str(candidate)
    return ""


def _arrays(*values):
    arrays = np.broadcast_arrays(*[np.asarray(v, dtype=float) for v in values])
    shape = arrays[0].shape
    return shape, [np.ascontiguousarray(a).ravel() for a in arrays]


def _shaped(shape, result, scale_esd):
    P, sigP, sigPscale, in_range = result
    columns = (P, sigP, sigPscale, in_range) if scale_esd else (P, sigP, in_range)
    if shape == ():
        return tuple(bool(c[0]) if c.dtype == bool else float(c[0]) for c in columns)
    return tuple(c.reshape(shape) for c in columns)


def _name(name):
    """A scale's name or a parameter file's path as text; TypeError for anything else."""
    if isinstance(name, os.PathLike):
        name = os.fspath(name)
    if not isinstance(name, str):
        raise TypeError(f"a scale is named by a str (quorvane.scales()) or a parameter file's "
                        f"path, not {type(name).__name__}")
    return name


def scales():
    """Every shipped scale as a dict: name, material, kind ("volume" or
    "fluorescence"), citation, P_range (GPa) and T_range (K). A file of the
    folder that is no scale is left out with a warning naming it."""
    listed, problems = _core.scale_list(_folder())
    for problem in problems:
        warnings.warn(f"left out: {problem}", stacklevel=2)
    return listed


class Scale:
    """One pressure scale by name (quorvane.scales()) or a parameter file's path."""

    def __init__(self, name):
        self.name = _name(name)
        self._facts = _core.scale_facts(self.name, _folder())

    @property
    def info(self):
        """The scale's dict as quorvane.scales() lists it."""
        return self._facts["info"]

    @property
    def kind(self):
        """"volume" or "fluorescence"."""
        return self._facts["kind"]

    @property
    def default_T(self):
        """The temperature (K) a reading is taken at when none is given, as on
        the command line: the scale's reference (300 K), 296 K for a gauge."""
        return self._facts["default_T"]

    def _reading(self, given):
        takes = _READINGS[self.kind]
        wrong = [key for key in given if key not in takes]
        if wrong:
            what = "a volume scale: give V or a" if self.kind == "volume" else \
                "a fluorescence gauge: give lam"
            raise TypeError(f"{self.name} is {what}, not {', '.join(wrong)}")
        if len(given) != 1:
            raise TypeError(f"{self.name}: give one reading of {', '.join(takes)}")
        return next(iter(given.items()))

    def pressure(self, V=None, T=None, sigV=0.0, sigT=0.0, lam=None, lam0=None, sigLam=0.0,
                 a=None, sigA=0.0, scale_esd=False, d=None, hkl=None, sigD=0.0):
        """(P, sigP, in_range) of cell volumes V (A^3), cubic lattice
        parameters a (A) or spacings d (A) of the reflection hkl ("111"; sigma
        sigD) at T (K) on a volume scale, or of wavelengths lam (nm)
        with lam0 on a gauge; scalars or arrays, broadcast together. T defaults
        to default_T. sigP carries the readings' standard deviations only; with
        scale_esd=True the result is (P, sigP, sigPscale, in_range), sigPscale
        the scale's own esd at each pressure. TypeError for a reading the scale
        does not take; ValueError for a reading or temperature not above zero
        or a standard deviation below zero."""
        if (d is None) != (hkl is None) or (d is None and np.any(sigD)):
            raise TypeError(f"{self.name}: a spacing d needs its reflection hkl, and sigD a d")
        if d is not None:
            return self._spacing_pressure(d, str(hkl), T, sigD, sigT, scale_esd,
                                          (V, a, lam, lam0))
        given = {k: v for k, v in (("V", V), ("a", a), ("lam", lam)) if v is not None}
        if self.kind == "volume" and (lam0 is not None or np.any(sigLam)):
            raise TypeError(f"{self.name} is a volume scale: lam0 and sigLam are a gauge's")
        if self.kind == "fluorescence" and (np.any(sigV) or np.any(sigA)):
            raise TypeError(f"{self.name} is a fluorescence gauge: sigV and sigA are a "
                            "volume scale's")
        reading, x = self._reading(given)
        sigma = {"V": sigV, "a": sigA, "lam": sigLam}[reading]
        shape, (xs, t, sx, st) = _arrays(x, self.default_T if T is None else T, sigma, sigT)
        result = _core.scale_pressure(self.name, _folder(), reading, xs, t, sx, st,
                                      None if lam0 is None else float(lam0))
        return _shaped(shape, result, scale_esd)

    def _spacing_pressure(self, d, hkl, T, sigD, sigT, scale_esd, others):
        if self.kind != "volume":
            raise TypeError(f"{self.name} is a fluorescence gauge: give lam, not d")
        if any(other is not None for other in others):
            raise TypeError(f"{self.name}: give one reading of V, a or d")
        shape, (xs, t, sx, st) = _arrays(d, self.default_T if T is None else T, sigD, sigT)
        result = _core.scale_spacing_pressure(self.name, _folder(), hkl, xs, t, sx, st)
        _warn_absent(self.name, [hkl])
        return _shaped(shape, result, scale_esd)

    def cell(self, P, T=None, hkl=()):
        """The calibrant's cubic cell at pressures P (GPa) and temperatures T (K,
        default default_T), scalars or arrays broadcast together, as a dict: V and sigV (A^3), a and
        siga (A), and for each reflection of hkl ("111", "200", ...) its spacing
        d111 and sigd111 (A); sigmas from the scale's own esds; in_range where
        the scale was calibrated. Raises ValueError for a gauge, a scale without
        a cubic cell, or a pressure its equation does not reach."""
        if isinstance(hkl, str):
            hkl = hkl.split(",")
        shape, (p, t) = _arrays(P, self.default_T if T is None else T)
        columns = _core.scale_cell(self.name, _folder(), p, t, [str(h) for h in hkl])
        _warn_absent(self.name, [str(h) for h in hkl])
        if shape == ():
            return {key: (bool(value[0]) if key == "in_range" else float(value[0]))
                    for key, value in columns.items()}
        return {key: value.reshape(shape) for key, value in columns.items()}

    def eos(self):
        """The scale's equation of state as an Eos, for a volume scale (a gauge
        has none: ParameterFileError)."""
        return _load(_core.scale_path(self.name, _folder()))


def _warn_absent(name, hkl):
    # A spacing of a reflection the lattice extinguishes is computed, with
    # the command line's warning: no line of the pattern has it.
    text = _core.scale_absent_reflections(name, _folder(), hkl)
    if text:
        warnings.warn(text, stacklevel=3)


def _load(path):
    from quorvane.eos import load
    return load(path)


def scale(name):
    """The scale of that name, or of a parameter file's path, as a Scale."""
    return Scale(name)


def ruby_pressure(lam, lam0=None, scale="ruby-shen2020", T=None, sigLam=0.0, sigT=0.0):
    """(P, sigP, in_range) in GPa of fluorescence wavelengths lam (nm) on a
    gauge: lam0 the line at ambient pressure (default the gauge's own; one
    given must be above zero), T (K, default the gauge's 296 K) for the ruby
    R1 line's temperature shift."""
    return Scale(scale).pressure(lam=lam, lam0=lam0, T=T, sigLam=sigLam, sigT=sigT)


def rescale(P, source, target, T=None, sigP=0.0, lam0=None, scale_esd=False):
    """(P, sigP, in_range): pressures on scale source moved to scale target
    of the same calibrant, through the reading source implies at P and T
    (default source's default_T: 300 K, or 296 K for a gauge). sigP is carried
    over by the ratio of the two scales' slopes; with scale_esd=True the result
    is (P, sigP, sigPscale, in_range), sigPscale the target's own esd."""
    source = Scale(source)
    target = _name(target)
    shape, (p, t, sp) = _arrays(P, source.default_T if T is None else T, sigP)
    result = _core.scale_rescale(source.name, target, _folder(), p, t, sp,
                                 None if lam0 is None else float(lam0))
    return _shaped(shape, result, scale_esd)

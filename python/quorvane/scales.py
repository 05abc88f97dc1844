"""Pressure scales: a calibrant's pressure, and pressures moved between scales.

    >>> import quorvane
    >>> [s["name"] for s in quorvane.scales()][:2]
    >>> P, sigP, in_range = quorvane.ruby_pressure(700.5, 694.24)
    >>> gold = quorvane.scale("au-fei2007")
    >>> P, sigP, in_range = gold.pressure(V=60, T=1500, sigV=0.01)
    >>> gold.cell(50, 2000, hkl="111,200")["d111"]
"""

import os
import pathlib
import sys

import numpy as np

from quorvane import _core

_FOLDER_VARIABLE = "QUORVANE_SCALES_DIR"


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


def _shaped(shape, result):
    P, sigP, in_range = result
    if shape == ():
        return float(P[0]), float(sigP[0]), bool(in_range[0])
    return P.reshape(shape), sigP.reshape(shape), in_range.reshape(shape)


def scales():
    """Every shipped scale as a dict: name, material, kind ("volume" or
    "fluorescence"), citation, P_range (GPa) and T_range (K)."""
    return _core.scale_list(_folder())


class Scale:
    """One pressure scale by name (quorvane.scales()) or a parameter file's path."""

    def __init__(self, name):
        self.name = name
        self._info = next((s for s in scales() if s["name"] == name), None)

    @property
    def info(self):
        """The scale's dict as quorvane.scales() lists it (None for a file of your own)."""
        return self._info

    def pressure(self, V=None, T=300.0, sigV=0.0, sigT=0.0, lam=None, lam0=None, sigLam=0.0):
        """(P, sigP, in_range) of cell volumes V (A^3) at T (K), or of a gauge's
        wavelengths lam (nm) with lam0; scalars or arrays, broadcast together.
        Raises ValueError for a reading or temperature not above zero."""
        reading, sigma = (V, sigV) if lam is None else (lam, sigLam)
        if reading is None:
            raise ValueError("give V (a volume scale) or lam (a gauge)")
        shape, (x, t, sx, st) = _arrays(reading, T, sigma, sigT)
        return _shaped(shape, _core.scale_pressure(self.name, _folder(), x, t, sx, st,
                                                   float(lam0) if lam0 is not None else 0.0))

    def cell(self, P, T=300.0, hkl=()):
        """The calibrant's cubic cell at pressures P (GPa) and temperatures T (K),
        scalars or arrays broadcast together, as a dict: V and sigV (A^3), a and
        siga (A), and for each reflection of hkl ("111", "200", ...) its spacing
        d111 and sigd111 (A); sigmas from the scale's own esds; in_range where
        the scale was calibrated. Raises ValueError for a gauge, a scale without
        a cubic cell, or a pressure its equation does not reach."""
        if isinstance(hkl, str):
            hkl = hkl.split(",")
        shape, (p, t) = _arrays(P, T)
        columns = _core.scale_cell(self.name, _folder(), p, t, [str(h) for h in hkl])
        if shape == ():
            return {key: (bool(value[0]) if key == "in_range" else float(value[0]))
                    for key, value in columns.items()}
        return {key: value.reshape(shape) for key, value in columns.items()}

    def eos(self):
        """The scale's equation of state as an Eos, for a volume scale (a gauge
        has none: ParameterFileError)."""
        return _load(_core.scale_path(self.name, _folder()))


def _load(path):
    from quorvane.eos import load
    return load(path)


def scale(name):
    """The scale of that name, or of a parameter file's path, as a Scale."""
    return Scale(name)


def ruby_pressure(lam, lam0=None, scale="ruby-shen2020", T=296.0, sigLam=0.0, sigT=0.0):
    """(P, sigP, in_range) in GPa of fluorescence wavelengths lam (nm) on a
    gauge: lam0 the line at ambient pressure (default the gauge's own), T (K)
    for the ruby R1 line's temperature shift."""
    return Scale(scale).pressure(lam=lam, lam0=lam0, T=T, sigLam=sigLam, sigT=sigT)


def rescale(P, source, target, T=None, sigP=0.0, lam0=None):
    """(P, sigP, in_range): pressures on scale source moved to scale target
    of the same calibrant, through the reading source implies at P and T
    (default each scale's reference temperature: 300 K, or 296 K for a gauge)."""
    if T is None:
        T = 296.0 if any(s["name"] == source and s["kind"] == "fluorescence"
                         for s in scales()) else 300.0
    shape, (p, t, sp) = _arrays(P, T, sigP)
    return _shaped(shape, _core.scale_rescale(source, target, _folder(), p, t, sp,
                                              float(lam0) if lam0 is not None else 0.0))

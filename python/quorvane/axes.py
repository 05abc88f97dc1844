"""Cell edges at pressure and temperature from the parameter files of their axial fits.

    >>> import quorvane
    >>> for x in "abc":
    ...     quorvane.fit(P, edges[x], sigP=0.01, axis=x).save(f"{x}.json")
    >>> cell = quorvane.axes({"a": "a.json", "b": "b.json", "c": "c.json"}, P=[0, 4, 8])
    >>> cell["betab"], cell["V"], cell["sigV"]
"""

import numbers
import os

import numpy as np

from quorvane import _core
from quorvane.eos import _real_array
from quorvane.scales import _folder


def _pairs(files):
    """(names, paths) of a mapping name -> file or of (name, file) pairs, in their order."""
    pairs = list(files.items()) if hasattr(files, "items") else list(files)
    names, paths = [], []
    for pair in pairs:
        if isinstance(pair, (str, bytes)) or len(pair) != 2:
            raise TypeError(f"files: {pair!r} is not a pair (name, parameter file)")
        name, path = pair
        if isinstance(path, os.PathLike):
            path = os.fspath(path)
        if not isinstance(name, str) or not isinstance(path, str):
            raise TypeError(f"files: {pair!r} is not a pair of a str and a path")
        names.append(name)
        paths.append(path)
    return names, paths


def _angle(name, value):
    if isinstance(value, bool) or not isinstance(value, numbers.Real):
        raise TypeError(f"{name}: {value!r} is not a real number")
    return float(value)


def axes(files, P, T=None, alpha=90, beta=90, gamma=90):
    """The cell edges at pressures P (GPa) and temperatures T (K), scalars or
    arrays broadcast together, from the parameter files of their axial fits
    (FitResult.save of fit(..., axis=NAME), or quorvane-eos fit --axis NAME
    --params-out FILE), as quorvane-eos axes computes them. files maps each
    axis' name to its file (a dict, or a list of (name, file) pairs); T
    defaults to the first file's T(ref). The result is a dict: for each axis
    NAME its length, sigNAME from the file's covariance and betaNAME = 1/M
    (1/GPa), its linear compressibility; with three edges, in the order a, b,
    c, the cell volume V with the angles alpha, beta, gamma (degrees) and sigV
    from the edges' sigmas taken as independent; in_range, always true.
    ValueError, with the command line's message, for no axes, a file that is
    no parameter file, an axis named twice or not at all, angles that close
    no cell, or a pressure an axis' equation does not reach."""
    names, paths = _pairs(files)
    angles = [_angle(n, v) for n, v in (("alpha", alpha), ("beta", beta), ("gamma", gamma))]
    arrays = [_real_array("P", P)] + ([] if T is None else [_real_array("T", T)])
    arrays = np.broadcast_arrays(*arrays)
    shape = arrays[0].shape
    flat = [np.ascontiguousarray(a).ravel() for a in arrays]
    columns = _core.axes(names, paths, _folder(), flat[0], None if T is None else flat[1], angles)
    if shape == ():
        return {key: (bool(value[0]) if key == "in_range" else float(value[0]))
                for key, value in columns.items()}
    return {key: value.reshape(shape) for key, value in columns.items()}

"""Reading and writing the JSON parameter files of quorvane-eos."""

import json
import math
import numbers

import numpy as np

from quorvane import _core
from quorvane.eos import PARAMETER_NAMES, TYPES, Eos

FORMAT = "quorvane-eos-parameters"
VERSION = 1
SCALINGS = ("chi2", "none")


def _implied(eos_type, order, name):
    """Whether the type and order imply the coefficient instead of taking it."""
    if name == "Kp0":
        return order == 2 and eos_type != "murnaghan"
    if name == "Kpp0":
        return eos_type in ("murnaghan", "vinet") or order != 4
    return False


def _refuse_constant(token):
    raise ValueError(f"{token} is not a finite number")


def _finite(value):
    return (isinstance(value, numbers.Real) and not isinstance(value, bool)
            and math.isfinite(value))


def _read(document):
    """The Eos a parsed document describes; ValueError says what is wrong."""
    if not isinstance(document, dict) or document.get("format") != FORMAT:
        raise ValueError(f'"format" is not "{FORMAT}"')
    version = document.get("version")
    if isinstance(version, bool) or not isinstance(version, int) or not 1 <= version <= VERSION:
        raise ValueError(f'"version" {version!r} is not one this reader knows (1)')
    eos_type = document.get("eos")
    if eos_type not in TYPES:
        raise ValueError(f'"eos" {eos_type!r} is not one of {", ".join(TYPES)}')
    order = document.get("order")
    if isinstance(order, bool) or order not in (2, 3, 4):
        raise ValueError(f'"order" {order!r} is not 2, 3 or 4')
    parameters = document.get("parameters")
    if not isinstance(parameters, dict):
        raise ValueError('"parameters" is missing')
    for name in PARAMETER_NAMES:
        if not _finite(parameters.get(name)):
            raise ValueError(f'"parameters" has no finite number "{name}"')
    free = {name: parameters[name] for name in PARAMETER_NAMES
            if not _implied(eos_type, order, name)}
    eos = Eos(type=eos_type, order=order, **free)
    eos.metadata = _read_metadata(document)
    return eos


def _read_metadata(document):
    refined = document.get("refined", [])
    if not isinstance(refined, list) or any(name not in PARAMETER_NAMES for name in refined):
        raise ValueError('"refined" is not a list of parameter names')
    metadata = {"refined": refined, "provenance": document.get("provenance", {})}
    if "covariance" in document:
        covariance = document["covariance"]
        rows = covariance if isinstance(covariance, list) else []
        if (len(rows) != len(refined)
                or any(not isinstance(row, list) or len(row) != len(refined) for row in rows)
                or any(not _finite(value) for row in rows for value in row)):
            raise ValueError(f'"covariance" is not a {len(refined)} x {len(refined)} matrix of '
                             'finite numbers, one row for each refined parameter')
        metadata["covariance"] = np.array(rows, dtype=np.float64).reshape(len(rows), len(rows))
        scaling = document.get("covariance_scaling", "none")
        if scaling not in SCALINGS:
            raise ValueError(f'"covariance_scaling" {scaling!r} is not chi2 or none')
        metadata["covariance_scaling"] = scaling
    return metadata


def load(path):
    """The Eos of a quorvane-eos JSON parameter file.

    Unknown keys are ignored. A wrong "format", a version above 1, an unknown
    eos, an order outside 2..4, a missing or non-finite parameter, or a
    covariance whose size does not match "refined" raises one ValueError
    naming the file. The returned Eos's metadata holds "refined",
    "provenance" and, when the file has them, "covariance" (a NumPy array)
    and "covariance_scaling".
    """
    try:
        with open(path, encoding="utf-8") as file:
            document = json.load(file, parse_constant=_refuse_constant)
        return _read(document)
    except (ValueError, TypeError) as error:
        raise ValueError(f"{path}: {error}") from None


def save(path, eos, refined=None, covariance=None, covariance_scaling=None, provenance=None):
    """Writes eos to path as a quorvane-eos JSON parameter file.

    Numbers are written as the shortest text that reads back to the same
    double. refined names the refined parameters in the order of the
    covariance rows; a covariance needs one row and column for each.
    """
    refined = list(refined or [])
    if any(name not in PARAMETER_NAMES for name in refined):
        raise ValueError(f"refined: {refined!r} names an unknown parameter")
    document = {
        "format": FORMAT,
        "version": VERSION,
        "eos": eos.type,
        "order": eos.order,
        "parameters": eos.parameters,
        "refined": refined,
    }
    if covariance is not None:
        matrix = np.asarray(covariance, dtype=np.float64)
        if matrix.shape != (len(refined), len(refined)) or not np.isfinite(matrix).all():
            raise ValueError(f"covariance: not a finite {len(refined)} x {len(refined)} matrix")
        if covariance_scaling not in SCALINGS:
            raise ValueError("covariance_scaling: give chi2 or none with a covariance")
        document["covariance"] = matrix.tolist()
        document["covariance_scaling"] = covariance_scaling
    document["provenance"] = (provenance if provenance is not None
                              else {"program": f"quorvane {_core.__version__}"})
    with open(path, "w", encoding="utf-8") as file:
        json.dump(document, file, indent=2, allow_nan=False)
        file.write("\n")

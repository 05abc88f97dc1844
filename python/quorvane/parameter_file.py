"""The JSON parameter files of quorvane-eos, read and written by its own C++ code.

The rules of the format live in one place, the reader quorvane-eos --params
uses; this layer only moves bytes between the file system and that reader.
"""

import json
import os

import numpy as np

from quorvane import _core


def _source(path):
    """The path as error messages name it, whatever bytes it holds."""
    return os.fsdecode(path).encode("utf-8", "backslashreplace").decode("utf-8")


def read(path):
    """The engine's parameters and the metadata of the file at path.

    ValueError names the file for anything the reader refuses; OSError when it
    cannot be read.
    """
    with open(path, "rb") as file:
        text = file.read(_core.MAX_PARAMETER_FILE_BYTES + 1)
    parts = _core.read_parameter_file(text, _source(path))
    provenance = parts["provenance"].decode("utf-8", "replace")
    metadata = {"refined": parts["refined"],
                "provenance": json.loads(provenance) if provenance else {}}
    if parts["covariance"] is not None:
        metadata["covariance"] = np.array(parts["covariance"], dtype=np.float64)
        metadata["covariance_scaling"] = parts["covariance_scaling"]
    return parts["parameters"], metadata


def write(path, parameters, refined, covariance, covariance_scaling, provenance):
    """Writes a parameter file whole, after checking it as read would.

    covariance is None or a float64 array; provenance a dict. ValueError or
    TypeError for what read would refuse, OSError for a target that cannot
    be replaced; either leaves what was at path as it was.
    """
    if not isinstance(provenance, dict):
        raise TypeError(f"provenance: {type(provenance).__name__} is not a dict")
    try:
        provenance_json = json.dumps(provenance, allow_nan=False)
    except ValueError as error:
        raise ValueError(f"provenance: {error}") from None
    except RecursionError:
        raise ValueError("provenance: nested too deeply") from None
    except TypeError as error:
        raise TypeError(f"provenance: {error}") from None
    _core.write_parameter_file(os.fsencode(path), _source(path), parameters, list(refined),
                               covariance, covariance_scaling, provenance_json)

"""Equations of state of solids at C++ speed: the Quorvane engine for NumPy arrays.

    >>> import quorvane
    >>> eos = quorvane.Eos(type="vinet", order=3, V0=11.2, K0=160, Kp0=4.5)
    >>> V, converged = eos.volume([0, 10, 50], T=1000)

Eos holds one parameter set and computes pressures, volumes, V(T,0), K(T)
and whole state points over scalars or arrays; load and save read and write
the JSON parameter files of quorvane-eos.
"""

from quorvane import _core
from quorvane._core import __version__
from quorvane.axes import axes
from quorvane.eos import Eos, load, save
from quorvane.scales import Scale, rescale, ruby_pressure, scale, scales

__all__ = ["Eos", "load", "save", "__version__", "Scale", "axes", "rescale", "ruby_pressure",
           "scale", "scales"]

# Present where the module was built with the fitting library.
if hasattr(_core, "fit"):
    from quorvane._core import FitError
    from quorvane.fitting import FitResult, fit

    __all__ += ["fit", "FitResult", "FitError"]

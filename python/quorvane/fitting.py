"""quorvane.fit: least-squares fits of an equation of state to P-V-T data."""

import warnings

import numpy as np

from quorvane import _core
from quorvane.eos import PARAMETER_NAMES, Eos, _as_array


class FitResult:
    """The outcome of quorvane.fit.

    eos: the fitted Eos; parameters: its parameters as a dict (Eos.parameters); refined:
    the refined parameters' names, in the order of the covariance rows; esd
    and esd_scaled: their standard deviations as dicts, from the covariance
    unscaled and scaled by the reduced chi^2; covariance and
    covariance_scaled: NumPy arrays; chi2w, dof, iterations, converged and
    weighted (whether the data carried standard deviations); restart: None, or
    why the fit from the given starting values failed before the restart from
    the data's own estimate (also given as a RuntimeWarning).
    """

    def __init__(self, result):
        self.eos = Eos._wrap(result["parameters"])
        self.refined = list(result["refined"])
        self.esd = dict(zip(self.refined, result["esd"]))
        self.esd_scaled = dict(zip(self.refined, result["esd_scaled"]))
        count = len(self.refined)
        self.covariance = np.array(result["covariance"], dtype=np.float64).reshape(count, count)
        self.covariance_scaled = np.array(result["covariance_scaled"],
                                          dtype=np.float64).reshape(count, count)
        for name in ("chi2w", "dof", "iterations", "converged", "weighted"):
            setattr(self, name, result[name])
        self.restart = result["restart"] or None
        if self.restart:
            warnings.warn("quorvane.fit: restarted from the data's own estimate: from the given "
                          f"start, {self.restart}", RuntimeWarning, stacklevel=3)
        self.eos.metadata = {"refined": self.refined, "provenance": self._provenance()}
        self.eos.metadata.update(self._saved_covariance())

    @property
    def parameters(self):
        """The fitted model's parameters as a dict, as Eos.parameters lists them."""
        return self.eos.parameters

    def _provenance(self):
        return {"program": f"quorvane {_core.__version__}", "data": "arrays",
                "chi2w": self.chi2w, "dof": self.dof, "converged": self.converged}

    def _saved_covariance(self):
        # Without degrees of freedom there is no chi^2 to scale by: the file
        # holds the covariance unscaled, as quorvane-eos fit writes it.
        if self.dof > 0:
            return {"covariance": self.covariance_scaled, "covariance_scaling": "chi2"}
        return {"covariance": self.covariance, "covariance_scaling": "none"}

    def save(self, path):
        """Writes the fitted parameters with their covariance to a parameter file.

        The covariance is the scaled one, or the unscaled one ("none") for a
        fit without degrees of freedom, as quorvane-eos fit writes it.
        """
        self.eos.save(path, refined=self.refined, provenance=self._provenance(),
                      **self._saved_covariance())

    def __repr__(self):
        values = ", ".join(f"{name}={self.parameters[name]!r}+-{self.esd_scaled[name]:.3g}"
                           for name in self.refined)
        return f"FitResult({self.eos.type}, order {self.eos.order}: {values})"


_REFINABLE = tuple(name for name in PARAMETER_NAMES if name != "Tref")


def _sigma(name, value, shape):
    if value is None:
        return np.zeros(shape)
    array = _as_array(name, value)
    if not (array > 0.0).all():
        raise ValueError(f"{name}: every standard deviation must be greater than zero")
    return array


def fit(P, V, T=None, sigP=None, sigV=None, sigT=None, type="birch-murnaghan", order=3,
        refine=None, **start):
    """Fits an equation of state to measured pressures, volumes and temperatures.

    P, V and T (default the starting Tref) are scalars or arrays broadcast
    together, like sigP, sigV and sigT, their standard deviations (omitted:
    unit weights in P). type, order and Eos's other keywords (thermal="mgd",
    V0=..., theta0=..., ...) give the model and the starting or fixed values,
    by Eos's names and rules. refine lists the names of the parameters to
    refine (default V0, K0, K'0 where the order leaves it free, and for data
    at more than one temperature those of the thermal model quorvane-eos fit
    refines); a starting value given for a refined parameter is used
    instead of the one estimated from the data, and one for a parameter not
    refined is its fixed value. Returns a FitResult; raises quorvane.FitError
    (a ValueError) for data or a request that cannot be fitted and for a fit
    that fails, with quorvane-eos fit's message.
    """
    start_eos = Eos(type=type, order=order, **start)
    columns = [_as_array("P", P), _as_array("V", V, positive=True),
               _as_array("T", start_eos.Tref if T is None else T)]
    shape = np.broadcast_shapes(*(column.shape for column in columns))
    columns += [_sigma("sigP", sigP, shape), _sigma("sigV", sigV, shape),
                _sigma("sigT", sigT, shape)]
    flat = [np.ascontiguousarray(np.broadcast_to(column, shape)).ravel() for column in columns]
    refined = list(refine) if refine is not None else []
    given = [name for name in _REFINABLE if start.get(name) is not None]
    result = _core.fit(start_eos._model, *flat, refined, given)
    return FitResult(result)

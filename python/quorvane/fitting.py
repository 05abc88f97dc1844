"""quorvane.fit: least-squares fits of an equation of state to P-V-T data."""

import math
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
    the data's own estimate (also given as a RuntimeWarning). ellipse(first,
    second, level) gives the outline of a confidence region of two refined
    parameters. esd_scaling: the
    scaling asked for; covariance_scaling: the one applied ("chi2" or
    "none"), giving esd_reported and covariance_reported; at_bound: the
    refined parameters held on one of their bounds (their esds are NaN).
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
        self.esd_reported = dict(zip(self.refined, result["esd_reported"]))
        self.covariance_reported = np.array(result["covariance_reported"],
                                            dtype=np.float64).reshape(count, count)
        for name in ("chi2w", "dof", "iterations", "converged", "weighted", "esd_scaling",
                     "covariance_scaling"):
            setattr(self, name, result[name])
        self.at_bound = list(result["at_bound"])
        self.axis = dict(result["axis"]) if "axis" in result else None
        self.axis_esd = dict(result["axis_esd"]) if "axis_esd" in result else None
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
        provenance = {"program": f"quorvane {_core.__version__}", "data": "arrays",
                      "chi2w": self.chi2w, "dof": self.dof, "converged": self.converged,
                      "esd_scaling": self.esd_scaling}
        if self.at_bound:
            provenance["at_bound"] = self.at_bound
        return provenance

    def _saved_covariance(self):
        # The covariance under the scaling applied, as quorvane-eos fit writes it.
        return {"covariance": self.covariance_reported,
                "covariance_scaling": self.covariance_scaling}

    def save(self, path):
        """Writes the fitted parameters with their covariance to a parameter file.

        The covariance is the one reported, under the scaling applied
        (covariance_scaling), as quorvane-eos fit writes it.
        """
        self.eos.save(path, refined=self.refined, provenance=self._provenance(),
                      **self._saved_covariance())

    def ellipse(self, first, second, level=0.683, points=200):
        """The confidence ellipse of two refined parameters as an N x 2 array.

        The region holding `level` of the probability for the pair, Delta chi^2
        = -2 ln(1 - level) (2.30 at 0.683, 5.99 at 0.95), from
        covariance_reported, as quorvane-eos fit --ellipse; columns first and
        second, `points` rows around the outline.
        Raises ValueError for a parameter not refined, one named twice, or a
        level outside (0, 1).
        """
        for name in (first, second):
            if name not in self.refined:
                raise ValueError(f"{name!r} is not refined (refined: {', '.join(self.refined)})")
        if first == second:
            raise ValueError(f"{first} is named twice")
        i, j = self.refined.index(first), self.refined.index(second)
        c = self.covariance_reported
        block = [[c[i, i], c[i, j]], [c[j, i], c[j, j]]]
        centre = [self.parameters[first], self.parameters[second]]
        return _core.ellipse_outline(block, centre, float(level), int(points))

    def __repr__(self):
        values = ", ".join(f"{name}={self.parameters[name]!r}+-{self.esd_scaled[name]:.3g}"
                           for name in self.refined)
        return f"FitResult({self.eos.type}, order {self.eos.order}: {values})"


_REFINABLE = tuple(name for name in PARAMETER_NAMES if name != "Tref")


def _sigma(name, value, shape):
    # 0 or NaN: no standard deviation known from this column for the point;
    # the fit refuses a point that none of the three columns gives one.
    if value is None:
        return np.zeros(shape)
    if type(value) in (float, int):
        # One number for every point, the usual case, by the same rules
        # without NumPy's cost per call (a fit takes tens of microseconds).
        number = 0.0 if math.isnan(value) else float(value)
        if number == math.inf:
            raise ValueError(f"{name}: every value must be a finite number")
        if number < 0.0:
            raise ValueError(f"{name}: every standard deviation must be 0 (none known) or more")
        return np.asarray(number)
    array = np.nan_to_num(np.asarray(value, dtype=np.float64), nan=0.0, posinf=np.inf)
    array = _as_array(name, array)
    if (array < 0.0).any():
        raise ValueError(f"{name}: every standard deviation must be 0 (none known) or more")
    return array


def _flat_column(column, shape):
    # The column broadcast to the common shape, as contiguous float64 values.
    if column.shape == shape and column.flags.c_contiguous:
        return column.ravel()
    if column.ndim == 0:
        return np.full(shape, column).ravel()
    return np.ascontiguousarray(np.broadcast_to(column, shape)).ravel()


def _pairs(name, pairs):
    try:
        return {str(key): (float(a), float(b)) for key, (a, b) in dict(pairs or {}).items()}
    except (TypeError, ValueError) as error:
        raise ValueError(f"{name}: give a dict of name: (number, number)") from error


def _names(refine):
    """The names to refine: a list, or one string of them separated by commas."""
    if refine is None:
        return []
    if isinstance(refine, str):
        return [name.strip() for name in refine.split(",")]
    return list(refine)


def _axis_sigma(axis, sigV, start):
    # siga or sig_a for the axis a, as a data file names it; sigV stands for
    # either.
    named = [key for key in (f"sig{axis}", f"sig_{axis}") if key in start]
    if len(named) + (sigV is not None) > 1:
        raise ValueError(f"give one of sigV, sig{axis} or sig_{axis}")
    return start.pop(named[0]) if named else sigV


def fit(P, V, T=None, sigP=None, sigV=None, sigT=None, type="birch-murnaghan", order=3,
        refine=None, esd_scaling="auto", constrain=None, bounds=None, axis=None, **start):
    """Fits an equation of state to measured pressures, volumes and temperatures.

    P, V and T (default the starting Tref) are scalars or arrays broadcast
    together, like sigP, sigV and sigT, their standard deviations (omitted:
    unit weights in P). type, order and Eos's other keywords (thermal="mgd",
    V0=..., theta0=..., ...) give the model and the starting or fixed values,
    by Eos's names and rules. refine lists the names of the parameters to
    refine, as a list or as one string such as "V0,K0,Kp0" (default V0, K0, K'0 where the order leaves it free, and for data
    at more than one temperature those of the thermal model quorvane-eos fit
    refines); a starting value given for a refined parameter is used
    instead of the one estimated from the data, and one for a parameter not
    refined is its fixed value. Returns a FitResult; raises quorvane.FitError
    (a ValueError) for data or a request that cannot be fitted and for a fit
    that fails, with quorvane-eos fit's message.

    With axis (a name such as "a"), V holds that cell edge's lengths and
    sigV (or sig<axis>, sig_<axis>) their standard deviations: the cube of
    the axis is fitted as the volume, and the result's axis and axis_esd give
    the axis' own parameters, as quorvane-eos fit --axis.
    """
    if axis is not None:
        sigV = _axis_sigma(axis, sigV, start)
    start_eos = Eos(type=type, order=order, **start)
    columns = [_as_array("P", P), _as_array(axis or "V", V, positive=True),
               _as_array("T", start_eos.Tref if T is None else T)]
    shape = np.broadcast_shapes(*(column.shape for column in columns))
    columns += [_sigma("sigP", sigP, shape), _sigma("sigV", sigV, shape),
                _sigma("sigT", sigT, shape)]
    flat = [_flat_column(column, shape) for column in columns]
    refined = _names(refine)
    given = [name for name in _REFINABLE if start.get(name) is not None]
    result = _core.fit(start_eos._model, *flat, refined, given, esd_scaling,
                       _pairs("constrain", constrain), _pairs("bounds", bounds), axis or "")
    return FitResult(result)

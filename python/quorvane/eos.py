"""The Eos class: one parameter set and its vectorised state computations."""

import math
import numbers

import numpy as np

from quorvane import _core, parameter_file

TYPES = ("murnaghan", "birch-murnaghan", "vinet", "natural-strain", "tait")
THERMALS = ("linear", "berman", "fei", "einstein", "mgd", "holland-powell")
ARITHMETICS = ("calculator", "textbook")
VOLUME_UNITS = ("cm3/mol", "A3")
# Every parameter of every model, in the catalogue's order.
PARAMETER_NAMES = tuple(_core.PARAMETER_NAMES)
SOLVERS = ("exact", "form")

# The keywords that choose the model's shape, their command-line names and
# the values each takes, with their defaults where a model is written back.
SHAPE_KEYWORDS = {"thermal": ("thermal", THERMALS), "arithmetic": ("arithmetic", ARITHMETICS),
                  "volume_unit": ("volume-unit", VOLUME_UNITS)}

# The state columns, as quorvane-eos names them, and the keyword each is
# given by in Eos.state.
COLUMNS = ("P", "T", "V", "V/V00", "VT0", "V/VT0")
KNOWN_KEYWORDS = {"P": "P", "V": "V", "V_over_V00": "V/V00", "VT0": "VT0", "V_over_VT0": "V/VT0"}


def _number_text(name, value):
    """The shortest text of a finite real number, which reads back to the same double."""
    if isinstance(value, bool) or not isinstance(value, numbers.Real):
        raise TypeError(f"{name}: {value!r} is not a real number")
    value = float(value)
    if not math.isfinite(value):
        raise ValueError(f"{name}: {value!r} is not a finite number")
    return repr(value)


def _option_message(error):
    """quorvane-eos's message for a refused option, with the names as keywords here."""
    return (str(error).replace("--eos", "type").replace("--volume-unit", "volume_unit")
            .replace("--", ""))


def _choice_text(name, value, choices):
    if not isinstance(value, str):
        raise ValueError(f"{name}: {value!r} is not one of {', '.join(choices)}")
    return value


# NumPy kinds of real values: booleans, integers, unsigned integers, floats.
REAL_KINDS = "biuf"


def _is_real(value):
    """Whether a Python object is a real number (a Decimal is; a complex or a text is not)."""
    return (isinstance(value, numbers.Real)
            or (isinstance(value, numbers.Number) and not isinstance(value, numbers.Complex)))


def _real_array(name, value):
    """A float64 array of real values; TypeError for text, complex numbers and other objects.

    NumPy would otherwise read the text "9" as 9 and drop an imaginary part.
    """
    array = np.asarray(value)
    if array.dtype.kind == "O":
        for item in array.flat:
            if not _is_real(item):
                raise TypeError(f"{name}: {item!r} is not a real number")
    elif array.dtype.kind not in REAL_KINDS:
        kind = {"U": "text", "S": "bytes", "c": "complex numbers"}.get(array.dtype.kind,
                                                                       str(array.dtype))
        raise TypeError(f"{name}: {kind}, not real numbers")
    return array.astype(np.float64, copy=False)


def _as_array(name, value, positive=False):
    """A float64 array of the values, refusing non-finite (and, where asked, non-positive) ones."""
    array = _real_array(name, value)
    if not np.isfinite(array).all():
        raise ValueError(f"{name}: every value must be a finite number")
    if positive and not (array > 0.0).all():
        raise ValueError(f"{name}: every value must be greater than zero")
    return array


def _flat(array):
    """The array flattened to contiguous memory, and its shape."""
    return np.ascontiguousarray(array).ravel(), array.shape


def _flat_pair(a, b):
    """The two arrays broadcast against each other, flattened, and their common shape."""
    x, y = np.broadcast_arrays(a, b)
    return np.ascontiguousarray(x).ravel(), np.ascontiguousarray(y).ravel(), x.shape


def _scalar_or_array(array, shape):
    array = array.reshape(shape)
    return array[()] if shape == () else array


def _parameter(name, doc):
    return property(lambda self: self._model.parameters.get(name), doc=doc)


class Eos:
    """An equation of state of a solid with its thermal model.

    Eos(type="birch-murnaghan", order=3, V0=10, K0=100, Kp0=4, Kpp0=None,
        alpha0=2, alpha1=0, dKdT=-0.019999999552965164, Tref=298,
        thermal="linear", alpha2=0, theta0=500, gamma0=1.5, q=1, natoms=1,
        volume_unit="cm3/mol", Z=1, arithmetic=None)

    The names, the start-up values and the rules are those of quorvane-eos:
    type is one of "murnaghan", "birch-murnaghan", "vinet", "natural-strain",
    "tait" (or quorvane-eos's short names "m", "bm", "v", "ns", "t");
    murnaghan is 3rd order only and vinet 2nd or 3rd. K'0 is implied at 2nd
    order (4, 1 or 2) and K''0 everywhere except for Birch-Murnaghan,
    natural strain and Tait at 4th order, where it defaults to the 3rd-order
    implied value; giving an implied coefficient raises ValueError. thermal
    is one of "linear", "berman", "fei", "holland-powell" (expansion models), "einstein" or
    "mgd" (thermal-pressure models, in GPa and K with volumes in cm3/mol, or
    in A3 per unit cell of Z formula units with volume_unit="A3"); a
    parameter the thermal model does not use raises ValueError. arithmetic
    is "calculator" (the default of the four classic equations with the
    linear thermal model: the calculator's own numbers, to the last bit) or
    "textbook" (full double precision; the only one of every other model).
    For the calculator's arithmetic V0, K0 and |K'0| must be at least
    0.0010000000474974513; otherwise V0, K0, theta0 and natoms must be above
    zero, and Tref as well with a thermal pressure. alpha0 is in units of
    1e-5 and alpha1 in units of 1e-8 per temperature unit (squared), as typed
    on the calculator. Every parameter must be a finite real number
    (TypeError for one that is not real). repr gives the call that makes the
    same Eos, and an Eos pickles with its metadata.

    metadata holds what a loaded parameter file says beyond the parameters
    (refined, covariance, covariance_scaling, provenance); it is empty
    otherwise.

    The attributes type, order, thermal, arithmetic, volume_unit, Z and the
    parameters hold the values in use, implied ones included (None for a
    parameter the model does not use). Every method takes scalars or NumPy
    arrays, broadcasts them against each other like NumPy, and returns a
    float for scalar input; T defaults to Tref.
    """

    def __init__(self, type="birch-murnaghan", order=3, V0=None, K0=None, Kp0=None, Kpp0=None,
                 alpha0=None, alpha1=None, dKdT=None, Tref=None, thermal=None, alpha2=None,
                 theta0=None, gamma0=None, q=None, natoms=None, volume_unit=None, Z=None,
                 arithmetic=None):
        if isinstance(order, bool) or order not in (2, 3, 4):
            raise ValueError(f"order: {order!r} is not 2, 3 or 4")
        texts = {"eos": _choice_text("type", type, TYPES), "order": str(int(order))}
        shape = {"thermal": thermal, "arithmetic": arithmetic, "volume_unit": volume_unit}
        for name, value in shape.items():
            option, choices = SHAPE_KEYWORDS[name]
            if value is not None:
                texts[option] = _choice_text(name, value, choices)
        given = {"V0": V0, "K0": K0, "Kp0": Kp0, "Kpp0": Kpp0, "alpha0": alpha0,
                 "alpha1": alpha1, "alpha2": alpha2, "dKdT": dKdT, "Tref": Tref,
                 "theta0": theta0, "gamma0": gamma0, "q": q, "natoms": natoms, "Z": Z}
        for name, value in given.items():
            if value is not None:
                texts[name] = _number_text(name, value)
        try:
            self._model = _core.model(texts)
        except ValueError as error:
            raise ValueError(_option_message(error)) from None
        self.metadata = {}

    @property
    def type(self):
        """The equation of state: murnaghan, birch-murnaghan, vinet, natural-strain or tait."""
        return self._model.type

    @property
    def order(self):
        """The truncation order, 2, 3 or 4."""
        return self._model.order

    @property
    def thermal(self):
        """The thermal model: linear, berman, fei, holland-powell, einstein or mgd."""
        return self._model.thermal

    @property
    def arithmetic(self):
        """calculator (the calculator's own numbers) or textbook (full double precision)."""
        return self._model.arithmetic

    @property
    def volume_unit(self):
        """The volume unit of a thermal pressure: cm3/mol, or A3 per cell of Z formula units."""
        return self._model.volume_unit

    @property
    def Z(self):
        """Formula units per unit cell, with volume_unit A3."""
        return self._model.Z

    V0 = _parameter("V0", "V(0,0): the volume at zero pressure and Tref.")
    K0 = _parameter("K0", "The bulk modulus at zero pressure and Tref.")
    Kp0 = _parameter("Kp0", "K'0, the pressure derivative of the bulk modulus.")
    Kpp0 = _parameter("Kpp0", "K''0, its second pressure derivative.")
    alpha0 = _parameter("alpha0", "The constant thermal expansion, in units of 1e-5.")
    alpha1 = _parameter("alpha1", "The linear term of the thermal expansion, in units of 1e-8.")
    alpha2 = _parameter("alpha2", "The T^-2 term of the thermal expansion (fei), in K.")
    dKdT = _parameter("dKdT", "dK/dT, the temperature derivative of the bulk modulus.")
    Tref = _parameter("Tref", "The reference temperature.")
    theta0 = _parameter("theta0", "The Einstein or Debye temperature at V0.")
    gamma0 = _parameter("gamma0", "The Grueneisen parameter at V0 (mgd).")
    q = _parameter("q", "The volume exponent of the Grueneisen parameter (mgd).")
    natoms = _parameter("natoms", "Atoms per formula unit (mgd).")

    @property
    def parameters(self):
        """The parameters in use, implied K'0 and K''0 included, as a dict.

        For the calculator's arithmetic the eight of its parameter set;
        otherwise those of the model's equation and thermal model.
        """
        return dict(self._model.parameters)

    def _arguments(self):
        """The keywords that make this Eos: the shape and the parameters given."""
        arguments = {"type": self.type, "order": self.order}
        if self.thermal != "linear":
            arguments["thermal"] = self.thermal
        if self.arithmetic == "textbook" and self.thermal == "linear" and self.type != "tait":
            arguments["arithmetic"] = "textbook"
        if self.volume_unit != "cm3/mol":
            arguments.update(volume_unit=self.volume_unit, Z=self.Z)
        parameters = self._model.parameters
        arguments.update((name, parameters[name]) for name in self._model.given)
        return arguments

    def __repr__(self):
        return "Eos(" + ", ".join(f"{name}={value!r}" for name, value in
                                  self._arguments().items()) + ")"

    def __getstate__(self):
        return {"arguments": self._arguments(), "metadata": self.metadata}

    def __setstate__(self, state):
        Eos.__init__(self, **state["arguments"])
        self.metadata = state["metadata"]

    def __eq__(self, other):
        if not isinstance(other, Eos):
            return NotImplemented
        return self._arguments() == other._arguments() and self.parameters == other.parameters

    @classmethod
    def _wrap(cls, model):
        """An Eos of a model the engine has already checked."""
        eos = cls.__new__(cls)
        eos._model = model
        eos.metadata = {}
        return eos

    def _temperature(self, T):
        temperatures = _as_array("T", self.Tref if T is None else T)
        problem = _core.temperature_error(self._model, temperatures.ravel())
        if problem:
            raise ValueError(problem)
        return temperatures

    def pressure(self, V, T=None):
        """P(V, T): the pressure at volume V (> 0) and temperature T.

        A volume so far below V0 that its pressure passes the range of a
        double gives inf or nan, the value quorvane-eos prints on a row that
        is no state point; it is returned, not raised, like the unreachable
        pressures of volume. The textbook arithmetic's pressures take vector
        lanes (SLEEF's elementary functions): each within a few ulp of
        |P| + K0 of the scalar formula that state and quorvane-eos compute,
        whatever the array around it.
        """
        volumes, temperatures = _as_array("V", V, positive=True), self._temperature(T)
        shape = np.broadcast_shapes(volumes.shape, temperatures.shape)
        if temperatures.size == 1 and volumes.shape == shape:
            # One temperature for all: the engine reads it without an array of copies.
            volumes, temperatures = _flat(volumes)[0], temperatures.ravel()
        else:
            volumes, temperatures, shape = _flat_pair(volumes, temperatures)
        return _scalar_or_array(_core.pressure(self._model, volumes, temperatures), shape)

    def volume(self, P, T=None, solver="exact"):
        """(V, converged): the volume at pressure P and temperature T, and whether it was found.

        solver="exact" gives the volume whose pressure is nearest P among the
        doubles around it (neither of the two on either side is nearer);
        solver="form" runs the calculator's own search, which stops within a
        relative 1e-5 of P (the calculator's arithmetic only). Where no volume
        on the branch through V(T,0) reaches P, converged is False and V is
        V(T,0).
        """
        exact = _exact(solver)
        pressures, temperatures, shape = _flat_pair(_as_array("P", P), self._temperature(T))
        volumes, converged = _core.volume(self._model, pressures, temperatures, exact)
        return _scalar_or_array(volumes, shape), _scalar_or_array(converged, shape)

    def V_T0(self, T=None):
        """V(T,0): the zero-pressure volume at temperature T."""
        temperatures, shape = _flat(self._temperature(T))
        return _scalar_or_array(_core.zero_pressure_volume(self._model, temperatures), shape)

    def K_T(self, T=None, V=None):
        """The isothermal bulk modulus at temperature T: K(T) at zero pressure, or at V.

        Without V, the bulk modulus at V(T,0): K0 + dKdT (T - Tref) for the
        expansion models. With V (> 0), K_T = -V dP/dV at V and T, from the
        same formula as the pressure.
        """
        if V is None:
            temperatures, shape = _flat(self._temperature(T))
            return _scalar_or_array(_core.bulk_modulus(self._model, temperatures), shape)
        volumes, temperatures, shape = _flat_pair(_as_array("V", V, positive=True),
                                                  self._temperature(T))
        return _scalar_or_array(_core.isothermal_bulk_modulus(self._model, volumes, temperatures),
                                shape)

    def state(self, P=None, V=None, V_over_V00=None, VT0=None, V_over_VT0=None, T=None,
              solver="exact"):
        """The whole state point from one known quantity, as quorvane-eos computes it.

        Give one of P, V, V_over_V00, VT0 or V_over_VT0, with T (default Tref);
        with VT0 give V, the volume held, instead of T, which then follows.
        Volumes and ratios must be positive. Returns a dict of arrays with the
        columns "P", "T", "V", "V/V00", "VT0", "V/VT0", and "converged" when P
        is known (solver as in volume).
        """
        exact = _exact(solver)
        given = {"P": P, "V_over_V00": V_over_V00, "VT0": VT0, "V_over_VT0": V_over_VT0}
        known = [name for name, value in given.items() if value is not None]
        if VT0 is None and V is not None:
            known.append("V")
        if len(known) != 1:
            raise ValueError("give exactly one of P, V, V_over_V00, VT0 (with V), V_over_VT0")
        name = known[0]
        values = _as_array(name, given.get(name, V), positive=name != "P")
        if name == "VT0":
            if T is not None:
                raise ValueError("T: the temperature follows from VT0")
            if V is None:
                raise ValueError("VT0 needs V, the volume held")
            partners = _as_array("V", V, positive=True)
        else:
            partners = self._temperature(T)
        flat_values, flat_partners, shape = _flat_pair(values, partners)
        *columns, converged = _core.state(self._model, KNOWN_KEYWORDS[name], flat_values,
                                          flat_partners, exact)
        result = {column: _scalar_or_array(array, shape) for column, array in
                  zip(COLUMNS, columns)}
        if name == "P":
            result["converged"] = _scalar_or_array(converged, shape)
        return result

    def properties(self, P=None, V=None, T=None, molar_mass=None, natoms=None):
        """The thermodynamic properties at a known P or V and T, as quorvane-eos --properties.

        Give one of P or V (> 0), with T (default Tref). Returns a dict with
        "KT", "Kp", "alpha" and, for the expansion models, "dKdT"; for the
        thermal-pressure models "Pth" and, where the model has a heat
        capacity (mgd), "CV", "gamma", "CP", "KS"; with molar_mass (g/mol)
        "rho" (g/cm3) and "Vphi" (km/s). An einstein model, whose pressure
        holds no atom count, has the heat capacity and what follows from it
        with natoms, the atoms per formula unit. "V" is the volume of each point (the
        one found at a known P). When metadata holds a covariance, each
        property comes with its standard deviation, "sig_KT", ... The values
        are those of the command line to the last bit; a point that is no
        state point gives nan.
        """
        if (P is None) == (V is None):
            raise ValueError("give exactly one of P, V")
        known = "P" if V is None else "V"
        values = _as_array(known, P if V is None else V, positive=known == "V")
        if molar_mass is not None:
            molar_mass = float(_as_array("molar_mass", molar_mass, positive=True))
        if natoms is not None:
            if self.thermal != "einstein":
                raise ValueError("natoms: give it to Eos; only einstein takes it here")
            natoms = float(_as_array("natoms", natoms, positive=True))
        flat_values, flat_temperatures, shape = _flat_pair(values, self._temperature(T))
        covariance = self.metadata.get("covariance")
        refined = self.metadata.get("refined") if covariance is not None else None
        columns = _core.properties(self._model, known, flat_values, flat_temperatures,
                                   molar_mass, refined, covariance, natoms)
        return {name: _scalar_or_array(array, shape) for name, array in columns.items()}

    def isentrope(self, P, T0, P0=None):
        """(T, V) along the isentrope through (P0, T0) at each pressure P.

        P0 defaults to the first pressure. Only mgd has an entropy of its own:
        theta(V)/T is constant along its isentrope, which is solved in that
        closed form (exact to rounding), as quorvane-eos --isentrope does.
        """
        pressures = _as_array("P", P)
        T0 = float(_as_array("T0", T0, positive=True))
        flat, shape = _flat(pressures)
        start = float(flat[0]) if P0 is None else float(_as_array("P0", P0))
        temperatures, volumes = _core.isentrope(self._model, flat, start, T0)
        return _scalar_or_array(temperatures, shape), _scalar_or_array(volumes, shape)

    def save(self, path, refined=None, covariance=None, covariance_scaling=None,
             provenance=None):
        """Writes the parameters to a JSON parameter file at path; see quorvane.save."""
        save(path, self, refined, covariance, covariance_scaling, provenance)

    @staticmethod
    def load(path):
        """The Eos of a quorvane-eos JSON parameter file; see quorvane.load."""
        return load(path)


def load(path):
    """The Eos of a quorvane-eos JSON parameter file.

    The file is read by quorvane-eos's own reader, with its rules (see the
    format in its documentation): unknown keys are ignored and a null
    optional key is as if absent. A file the reader refuses (a wrong
    "format", a version other than 1, an unknown eos or order, a missing,
    non-finite or out-of-range parameter, a refined list naming an unknown,
    repeated or implied parameter, a covariance that does not match it or is
    not symmetric positive semi-definite, nesting too deep, ...) raises one
    ValueError naming the file; a file that cannot be opened, OSError. The
    returned Eos's metadata holds "refined", "provenance" and, when the file
    has them, "covariance" (a NumPy array) and "covariance_scaling".
    """
    parameters, metadata = parameter_file.read(path)
    eos = Eos._wrap(parameters)
    eos.metadata = metadata
    return eos


def save(path, eos, refined=None, covariance=None, covariance_scaling=None, provenance=None):
    """Writes eos to path as a quorvane-eos JSON parameter file.

    Numbers are written as the shortest text that reads back to the same
    double. refined names the refined parameters in the order of the
    covariance rows; a covariance needs one row and column for each and
    covariance_scaling, "chi2" or "none"; provenance is a dict written as it
    is (the program's name and version when omitted). Everything is checked
    as load would check it before the file is touched, and the file is
    replaced whole, as quorvane-eos writes its outputs (through a symbolic
    link; OSError for a target that is not a writable regular file): a
    ValueError, TypeError or OSError leaves what was at path as it was.
    """
    matrix = None if covariance is None else _real_array("covariance", covariance)
    if provenance is None:
        provenance = {"program": f"quorvane {_core.__version__}"}
    parameter_file.write(path, eos._model, list(refined or []), matrix,
                         covariance_scaling, provenance)


def _exact(solver):
    if solver not in SOLVERS:
        raise ValueError(f"solver: {solver!r} is not one of exact, form")
    return solver == "exact"

#!/usr/bin/env python3
"""Writes the agreement tables for the numeric text tests.

An independent model of field writing and free-form reading, built on exact
decimal and rational arithmetic, run over random and hand-picked cases. The
C++ tests read the tables and compare every row. Run it from this folder:
    python3 generate_cases.py
"""
import math
import random
import struct
from decimal import ROUND_HALF_EVEN, Decimal, localcontext
from fractions import Fraction

SEED = 20261208
FORMAT_FILE = "format_cases.txt"
READ_FILE = "read_cases.txt"


# ---------------------------------------------------------------- writing

def bits_of(x):
    return struct.unpack("<Q", struct.pack("<d", x))[0]


def double_of(bits):
    return struct.unpack("<d", struct.pack("<Q", bits))[0]


def fixed_edit(x, w, d):
    """x rounded to d decimals, right-aligned in w columns."""
    w = min(w, 256)
    if w <= 0:
        return ""
    if math.isnan(x) or math.isinf(x):
        word = "NaN" if math.isnan(x) else ("-Inf" if x < 0 else "Inf")
        return word.rjust(w) if d >= 1 and len(word) <= w else "*" * w
    if d < 0 or (x != 0 and abs(x) < 2.2250738585072014e-308):
        return "*" * w
    with localcontext() as ctx:
        ctx.prec = 1200
        q = Decimal(x).quantize(Decimal(1).scaleb(-d), rounding=ROUND_HALF_EVEN)
        magnitude = q.copy_abs()
        digits = format(magnitude, "f")
    negative = q < 0 or (q == 0 and math.copysign(1.0, x) < 0)
    whole, _, frac = digits.partition(".")
    frac = frac.ljust(d, "0")[:d] if d > 0 else ""
    sign = "-" if negative and magnitude != 0 else ""
    whole_digits = "" if magnitude < 1 else whole
    needed = len(sign) + len(whole_digits) + 1 + d
    if needed > w:
        return "*" * w
    if magnitude < 1 and needed < w:
        whole_digits = "0"
    return (sign + whole_digits + "." + frac).rjust(w)


def format_field(x, n):
    n = min(n, 256)
    if n <= 0:
        return ""
    if math.isinf(x):
        k = 1
    elif abs(x) < 1:
        k = 1
    else:
        q, k = abs(x), 0
        while True:
            q = q / 10.0
            k += 1
            if q < 1 or math.isnan(q):
                break
    s = 1 if x < 0 else 0
    d = n - k - 1 - s
    if d < 0:
        return "*" * n
    return fixed_edit(x, n, d).lstrip(" ")


def random_double(rng):
    kind = rng.randrange(9)
    if kind == 0:
        return double_of(rng.getrandbits(64))
    if kind == 1:
        return rng.choice([0.0, -0.0, math.inf, -math.inf, math.nan, 5e-324, -1e-310,
                           2.2250738585072014e-308, 1.7976931348623157e308])
    if kind == 2:
        # ties and near-ties: multiples of a power of two
        return rng.randrange(-4000, 4000) / 2 ** rng.randrange(0, 8)
    if kind == 3:
        # just below a power of ten, where rounding carries
        p = 10.0 ** rng.randrange(0, 8)
        return math.copysign(p - rng.choice([1e-9, 1e-7, 5e-6, 4e-5, 0.4, 0.5, 0.6]) * p,
                             rng.choice([1, -1]))
    if kind == 4:
        return rng.uniform(-1, 1) * 10.0 ** rng.randrange(-12, 2)
    sign = rng.choice([1, -1])
    return sign * rng.uniform(0, 10) * 10.0 ** rng.randrange(-8, 10)


def write_format_cases(rng, count):
    hand = [(0.0, 7), (1.0, 7), (298.0, 7), (-0.9999996, 7), (9.9999999, 7),
            (0.1, 30), (1e20, 30), (1e300, 40), (1.0 / 3.0, 12), (2.5, 2), (-1e-10, 7)]
    rows = []
    for x, n in hand:
        rows.append((x, n))
    while len(rows) < count:
        n = rng.randrange(1, 9) if rng.random() < 0.9 else rng.randrange(9, 40)
        rows.append((random_double(rng), n))
    with open(FORMAT_FILE, "w") as out:
        out.write("# double bits (hex) | width | text\n")
        for x, n in rows:
            out.write(f"{bits_of(x):016x}|{n}|{format_field(x, n)}\n")


# ---------------------------------------------------------------- reading

DIGITS = set("0123456789")
LETTERS = set("EeDdQq")
SIGNS = set("+-")
SEPARATORS = set(" \t,/)")


class Syntax(Exception):
    pass


class Conversion(Exception):
    pass


def round_binary(value, mantissa_bits, min_exponent, max_exponent):
    """Nearest binary floating-point value of a Fraction, ties to even; None on overflow."""
    if value == 0:
        return Fraction(0)
    sign = -1 if value < 0 else 1
    a = abs(value)
    e = a.numerator.bit_length() - a.denominator.bit_length()
    if Fraction(2) ** e > a:
        e -= 1
    while Fraction(2) ** (e + 1) <= a:
        e += 1
    e = max(e, min_exponent)
    ulp = Fraction(2) ** (e - mantissa_bits + 1)
    units = a / ulp
    floor = units.numerator // units.denominator
    rest = units - floor
    if rest > Fraction(1, 2) or (rest == Fraction(1, 2) and floor % 2 == 1):
        floor += 1
    result = floor * ulp
    largest = (2 - Fraction(2) ** (1 - mantissa_bits)) * Fraction(2) ** max_exponent
    if result > largest:
        return None
    return sign * result


def check_characters(token):
    if not token:
        raise Syntax
    previous_sign_open = False
    points = letters = 0
    digit_before_letter = False
    for c in token:
        if c in DIGITS:
            previous_sign_open = False
            if letters == 0:
                digit_before_letter = True
        elif c in SIGNS:
            if previous_sign_open:
                raise Syntax
            previous_sign_open = True
        elif c == ".":
            points += 1
            if points > 1:
                raise Syntax
        elif c in LETTERS:
            letters += 1
            if letters > 1 or not digit_before_letter:
                raise Syntax
        else:
            raise Syntax
    if token[-1] in SIGNS or not digit_before_letter:
        raise Syntax


def token_value(token):
    """(negative, Fraction) of a token that passed the character rules."""
    i = 0
    negative = False
    if token[i] in SIGNS:
        negative = token[i] == "-"
        i += 1
    start = i
    while i < len(token) and (token[i] in DIGITS or token[i] == "."):
        i += 1
    mantissa = token[start:i]
    if not any(c in DIGITS for c in mantissa):
        raise Syntax
    whole, _, frac = mantissa.partition(".")
    all_digits = (whole + frac).lstrip("0")
    dropped_whole = 0
    lead_zeros = len(whole + frac) - len(all_digits)
    kept = all_digits[:27]
    # position of the point relative to the kept digits
    point_after = len(whole) - lead_zeros
    exponent = 0
    rest = token[i:]
    if rest:
        if rest[0] in LETTERS:
            rest = rest[1:]
            body = rest[1:] if rest[:1] in SIGNS else rest
            sign = -1 if rest[:1] == "-" else 1
            if body and not body.isdigit():
                raise Conversion
            exponent = sign * int(body) if body else 0
        else:
            body = rest[1:]
            if not body or not body.isdigit():
                raise Conversion
            exponent = (-1 if rest[0] == "-" else 1) * int(body)
    del dropped_whole
    if not kept:
        return negative, Fraction(0)
    scale = point_after - len(kept) + exponent
    lead = point_after - 1 + exponent
    if lead > 400:
        return negative, None
    if lead < -400:
        return negative, Fraction(0)
    return negative, Fraction(int(kept)) * Fraction(10) ** scale


def read_value(text, binary):
    """(status, stored value or None); binary is (mantissa bits, min exp, max exp)."""
    text = text[:256]
    i = 0
    while i < len(text) and text[i] in " \t":
        i += 1
    if i == len(text):
        return -1, None
    return value_at(text[i:], binary, False)


def value_at(text, binary, repeated):
    c = text[0]
    if c in ",/":
        return 0, None
    if c in "'\"":
        return (64 if c in text[1:] else 59), None
    letter = text[1] if c == "." and len(text) > 1 else c
    if letter in "TtFf":
        return 0, ("-1" if letter in "Tt" else "0")
    end = 0
    while end < len(text) and text[end] not in SEPARATORS and text[end] != "*":
        end += 1
    token = text[:end]
    if end < len(text) and text[end] == "*":
        if repeated or not token.isdigit() or int(token) == 0:
            return 59, None
        after = text[end + 1:]
        if not after or after[0] in " \t":
            return 0, None
        return value_at(after, binary, True)
    try:
        check_characters(token)
        negative, value = token_value(token)
    except Syntax:
        return 59, None
    except Conversion:
        return 64, None
    if value is None:
        return 64, None
    rounded = round_binary(-value if negative else value, *binary)
    if rounded is None:
        return 64, None
    if rounded == 0:
        return 0, "-0" if negative else "0"
    return 0, rounded


DOUBLE = (53, -1022, 1023)
FLOAT = (24, -126, 127)


def encode_double(v):
    if v == "-1":
        return bits_of(-1.0)
    if v in ("0", "-0"):
        return bits_of(-0.0 if v == "-0" else 0.0)
    return bits_of(float(v))  # exact: v is a double already


def encode_float(v):
    if v == "-1":
        return struct.unpack("<I", struct.pack("<f", -1.0))[0]
    if v in ("0", "-0"):
        return struct.unpack("<I", struct.pack("<f", -0.0 if v == "-0" else 0.0))[0]
    return struct.unpack("<I", struct.pack("<f", float(v)))[0]  # exact: v is a float


def random_text(rng):
    kind = rng.randrange(6)
    if kind == 0:
        alphabet = "0123456789+-.eEdDqQ *,/'\"TtFf()x\t"
        return "".join(rng.choice(alphabet) for _ in range(rng.randrange(0, 12)))
    if kind == 1:
        alphabet = "0123456789+-.eEdD"
        return "".join(rng.choice(alphabet) for _ in range(rng.randrange(1, 10)))
    if kind == 2:
        digits = "".join(rng.choice("0123456789") for _ in range(rng.randrange(1, 40)))
        point = rng.randrange(0, len(digits) + 1)
        mantissa = digits[:point] + "." + digits[point:] if rng.random() < 0.7 else digits
        exponent = rng.choice(["", "e" + str(rng.randrange(-330, 330)),
                               "E+" + str(rng.randrange(0, 50)), "d-" + str(rng.randrange(0, 60)),
                               "-" + str(rng.randrange(0, 400)), "q" + str(rng.randrange(-50, 50))])
        return rng.choice(["", "-", "+", " ", "\t "]) + mantissa + exponent + rng.choice(
            ["", " ", ",", "/", " 7", "*", ")"])
    if kind == 3:
        # near the edges of both formats
        mant = rng.choice(["1", "1.7976931348623157", "1.7976931348623159", "3.4028235",
                           "3.40282357", "2.4703282292062327", "4.9406564584124654",
                           "1.401298464", "7.006492", "1.1754943", "9.99999999999"])
        return rng.choice(["", "-"]) + mant + "e" + str(rng.choice(
            [-324, -323, -310, -308, -46, -45, -44, -38, 38, 39, 308, 309]))
    if kind == 4:
        return str(rng.randrange(0, 4)) + "*" + rng.choice(["2.5", "", " 1", "T", "-", ",", "'a'", "*3"])
    return rng.choice([".true.", ".f", "Fred", "t", "'12'", "'12", "(1,2)", "1,5", "1 000",
                       "1e5.5", "1E5+3", "1.5+3", "1.5-3", "1E", ".+5", "NaN", "Inf", "\x00",
                       "\x80\x81", "-0", "0e99999999999"])


def write_read_cases(rng, count):
    rows = ["", "    ", "  42  ", "4.2q1", "9007199254740993", "9007199254740993.00000000001",
            "9007199254740993.000000000001", "1.0000000596046447753906251", "16777217",
            "1e-400", "-1e-400", "3.4028236e38", "3*", "/"]
    while len(rows) < count:
        rows.append(random_text(rng))
    with open(READ_FILE, "w") as out:
        out.write("# text (hex) | double: status stored bits | float: status stored bits\n")
        for text in rows:
            ds, dv = read_value(text, DOUBLE)
            fs, fv = read_value(text, FLOAT)
            dbits = encode_double(dv) if dv is not None else 0
            fbits = encode_float(fv) if fv is not None else 0
            out.write(f"{text.encode('latin-1').hex()}|{ds}|{int(dv is not None)}|{dbits:016x}"
                      f"|{fs}|{int(fv is not None)}|{fbits:08x}\n")


def main():
    rng = random.Random(SEED)
    write_format_cases(rng, 3000)
    write_read_cases(rng, 3000)


if __name__ == "__main__":
    main()

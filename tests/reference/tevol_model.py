#!/usr/bin/env python3
"""Reference model of the four Tevol calculators, batch runs only.

Given the bytes of standard input (a pipe), the command-line arguments and the
files already in the working directory, `run()` returns what a batch run of
Tevol_1..Tevol_4 must produce: the bytes of standard output and standard error,
the exit status and the report files written.

The model is written for exactness, not speed:
- every real is a float32 value held in a Python float; each formula is
  evaluated in double (Python float) and rounded to float32 once, when stored;
- decimal input is rounded straight from its exact value to float32;
- number fields are built from the exact decimal expansion with ROUND_HALF_UP.

Texts are UTF-8 literals here and become code page 932 bytes on output.

Run this file to run its self-check.
"""

import math
import re
from decimal import Decimal, localcontext, ROUND_HALF_UP
from fractions import Fraction

CR_LF = b"\r\n"


def sj(text):
    """A text of the calculators as the Shift-JIS bytes they write."""
    return text.encode("cp932")


# ---------------------------------------------------------------------------
# Run ends: the stop, and the run-time errors.

class RunError(Exception):
    """Ends the run with the run-time error report and exit status 1."""

    def report(self):
        raise NotImplementedError


class InputOutputError(RunError):
    def __init__(self, code, statement, unit, message):
        super().__init__(code)
        self.code, self.statement, self.unit, self.message = code, statement, unit, message

    def report(self):
        text = b"run-time error " + self.code + b": " + self.statement + b"(" + self.unit + b")"
        if self.message:
            return CR_LF + text + CR_LF + b"- " + self.message + CR_LF
        return CR_LF + text + CR_LF


class MathError(RunError):
    CODES = {"invalid": b"M6101", "divide by zero": b"M6103", "overflow": b"M6104"}

    def __init__(self, fault):
        super().__init__(fault)
        self.fault = fault

    def report(self):
        return (CR_LF + b"run-time error " + self.CODES[self.fault] + b": MATH" + CR_LF
                + b"- floating-point error: " + self.fault.encode() + CR_LF)


class Stop(Exception):
    """The program's normal stop."""


def read_error(code, message):
    return InputOutputError(code, b"READ", b"CON", message)


END_OF_FILE = (b"F6501", b"end of file encountered")
BAD_INTEGER = (b"F6503", b"invalid INTEGER")
INTEGER_RANGE = (b"F6504", b"INTEGER out of range")
BAD_REAL = (b"F6505", b"invalid REAL")
REAL_RANGE = (b"F6506", b"REAL out of range")
TEXT_FOR_NUMBER = (b"F6507", b"text where a number is expected")
REPEAT_BELOW_ONE = (b"F6508", b"repeat count below 1")
OPEN_NOT_FOUND = (b"F6410", b"file or folder not found")
OPEN_FOLDER = (b"F6411", b"name is a folder")


# ---------------------------------------------------------------------------
# Single precision.

FLT_MAX = math.ldexp(2 ** 24 - 1, 104)


def round_to_single(q):
    """The float32 value nearest to the exact rational q (ties to even),
    as a Python float; +-inf when the nearest is beyond the largest single."""
    q = Fraction(q)
    if q == 0:
        return 0.0
    negative = q < 0
    a = -q if negative else q
    e = a.numerator.bit_length() - a.denominator.bit_length()
    if Fraction(2) ** e > a:
        e -= 1
    # now 2**e <= a < 2**(e+1); 24 significant bits, or the subnormal step 2**-149
    step = max(e - 23, -149)
    scaled = a / Fraction(2) ** step
    m = scaled.numerator // scaled.denominator
    rest = scaled - m
    if rest > Fraction(1, 2) or (rest == Fraction(1, 2) and m % 2 == 1):
        m += 1
    if m * Fraction(2) ** step >= Fraction(2) ** 128:
        value = math.inf
    else:
        value = math.ldexp(m, step)
    return -value if negative else value


def store(x):
    """Store a double result in a single variable; an infinite single traps."""
    if math.isinf(x):
        raise MathError("overflow")
    y = round_to_single(Fraction(x)) if x != 0 else x
    if math.isinf(y):
        raise MathError("overflow")
    return y


def single(text):
    """A single-precision constant written as a decimal."""
    return round_to_single(Fraction(text))


def product(*factors):
    """Left to right in double precision."""
    r = factors[0]
    for f in factors[1:]:
        r = r * f
        if math.isinf(r):
            raise MathError("overflow")
    return r


def quotient(a, b):
    if b == 0:
        raise MathError("invalid" if a == 0 else "divide by zero")
    r = a / b
    if math.isinf(r):
        raise MathError("overflow")
    return r


BREATHING = single("1.2e6")
TEN = single("10.0")
DEFAULT_SCATTER = single("0.001")
FILTERS = {1: single("0.01"), 2: single("0.1"), 3: single("0.2"), 4: single("1.0")}


# ---------------------------------------------------------------------------
# Number fields.

def decimal_digits(x):
    """(negative, digits, n): the value widened to double, its exact decimal
    expansion rounded half up to 17 significant digits, trailing zeros dropped;
    value = 0.d1d2... * 10**n.  Zero is ('0', 0) and never negative."""
    if x == 0:
        return False, "0", 0
    with localcontext() as ctx:
        ctx.prec = 17
        ctx.rounding = ROUND_HALF_UP
        d = +Decimal(x)
    sign, digs, exp = d.as_tuple()
    digits = "".join(map(str, digs))
    n = len(digits) + exp
    return bool(sign), digits.rstrip("0"), n


def round_digits(digits, n, keep):
    """Round the digit string (value 0.digits * 10**n) half up to `keep`
    significant digits; keep <= 0 rounds at a place left of the first digit.
    Returns (digits, n); a zero result is ('0', 0)."""
    if digits == "0":
        return "0", 0
    if keep >= len(digits):
        return digits, n
    if keep < 0:
        return "0", 0
    head = int(digits[:keep]) if keep > 0 else 0
    if digits[keep] >= "5":
        head += 1
    if head == 0:
        return "0", 0
    text = str(head)
    if len(text) > keep:        # the carry added a digit
        n += 1
    return text.rstrip("0"), n


def edit_f(x, w, d):
    negative, digits, n = decimal_digits(x)
    digits, n = round_digits(digits, n, min(n + d, 7))
    if digits == "0":
        body = "0." if d == 0 else "." + "0" * d
        negative = False
    else:
        scaled = int(digits) * 10 ** (n - len(digits) + d)   # rounded value * 10**d
        text = str(scaled).rjust(d + 1, "0")
        whole, frac = (text[:-d], text[-d:]) if d else (text, "")
        if whole == "0":
            whole = ""
        body = whole + "." + frac
    text = ("-" if negative else "") + body
    return fill(text, w)


def edit_e(x, w, d):
    negative, digits, n = decimal_digits(x)
    if digits == "0":
        text = "." + "0" * d + "E+00"
    else:
        digits, n = round_digits(digits, n, min(d, 7))
        sign = "+" if n >= 0 else "-"
        exp = sign + str(abs(n)).rjust(3, "0") if abs(n) > 99 else "E" + sign + str(abs(n)).rjust(2, "0")
        text = ("-" if negative else "") + "." + digits.ljust(d, "0") + exp
    return fill(text, w)


def edit_i(v, w):
    return fill(str(v), w)


def fill(text, w):
    if len(text) > w:
        return b"*" * w
    return text.rjust(w).encode("ascii")


def edit_a(text, w=None):
    if w is None:
        return text
    if len(text) >= w:
        return text[:w]
    return b" " * (w - len(text)) + text


# ---------------------------------------------------------------------------
# Format strings: a small interpreter of the notation the calculators use.

_DESCRIPTOR = re.compile(rb"(\d*)([AaIiFfEeXx])(\d*)(?:\.(\d+))?")


def parse_format(fmt):
    """A format string (bytes) as a list of descriptors:
    ('lit', bytes), ('x', n), ('a', w or None), ('i', w), ('f', w, d), ('e', w, d), ('prompt',)."""
    assert fmt[:1] == b"(" and fmt[-1:] == b")", fmt
    body, items, pos = fmt[1:-1], [], 0
    while pos < len(body):
        c = body[pos:pos + 1]
        if c in (b" ", b","):
            pos += 1
        elif c == b"'":
            end = body.index(b"'", pos + 1)
            items.append(("lit", body[pos + 1:end]))
            pos = end + 1
        elif c == b"\\":
            items.append(("prompt",))
            pos += 1
        else:
            m = _DESCRIPTOR.match(body, pos)
            assert m and m.end() > pos, (fmt, pos)
            rep, letter, w, d = m.group(1), m.group(2).upper(), m.group(3), m.group(4)
            pos = m.end()
            if letter == b"X":
                items.append(("x", int(rep or b"1")))
                continue
            for _ in range(int(rep or b"1")):
                if letter == b"A":
                    items.append(("a", int(w) if w else None))
                elif letter == b"I":
                    items.append(("i", int(w)))
                else:
                    items.append((letter.decode().lower(), int(w), int(d)))
    return items


def format_record(fmt, *values):
    """(record bytes, is prompt) for one formatted write."""
    values, record, skip, prompt = list(values), bytearray(), 0, False
    for item in parse_format(fmt):
        kind = item[0]
        if kind == "prompt":
            prompt = True
            continue
        if kind == "x":
            skip += item[1]
            continue
        if kind == "lit":
            field = item[1]
        else:
            if not values:
                break
            v = values.pop(0)
            if kind == "a":
                field = edit_a(v, item[1])
            elif kind == "i":
                field = edit_i(v, item[1])
            elif kind == "f":
                field = edit_f(v, item[1], item[2])
            else:
                field = edit_e(v, item[1], item[2])
        record += b" " * skip + field
        skip = 0
    return bytes(record), prompt


# ---------------------------------------------------------------------------
# Standard input, line by line.

class Input:
    def __init__(self, data):
        self.lines = []
        parts = data.split(b"\n")
        last = parts.pop()          # bytes after the last LF: a line of its own if not empty
        for p in parts:
            self.lines.append(p[:-1] if p.endswith(b"\r") else p)
        if last:
            self.lines.append(last)
        self.pos = 0

    def read_line(self):
        if self.pos >= len(self.lines):
            raise read_error(*END_OF_FILE)
        line = self.lines[self.pos]
        self.pos += 1
        if line.endswith(b"\x1a"):
            raise read_error(*END_OF_FILE)
        return line


# ---------------------------------------------------------------------------
# Free-form tokens.

_INTEGER = re.compile(rb"[+-]?[0-9]+")
_BASED = re.compile(rb"([+-]?)([0-9]*)#([0-9A-Za-z]+)")
_REAL = re.compile(rb"([+-]?)([0-9]*)(?:\.([0-9]*))?(?:[EeDd]([+-]?[0-9]+)|([+-][0-9]+))?")
_DIGITS = re.compile(rb"[0-9]+")


def parse_integer(token):
    if _INTEGER.fullmatch(token):
        value = int(token)
    else:
        m = _BASED.fullmatch(token)
        if not m:
            raise read_error(*BAD_INTEGER)
        base = int(m.group(2)) if m.group(2) else 16
        if not 2 <= base <= 36:
            raise read_error(*BAD_INTEGER)
        value = 0
        for ch in m.group(3).decode().lower():
            digit = int(ch, 36)
            if digit >= base:
                raise read_error(*BAD_INTEGER)
            value = value * base + digit
        if m.group(1) == b"-":
            value = -value
    if not -2 ** 31 <= value <= 2 ** 31 - 1:
        raise read_error(*INTEGER_RANGE)
    return value


def parse_real(token):
    m = _REAL.fullmatch(token)
    if not m or not (m.group(2) or m.group(3)):
        raise read_error(*BAD_REAL)
    sign, whole, frac = m.group(1), m.group(2), m.group(3) or b""
    exp = m.group(4) or m.group(5) or b"0"
    mantissa = int(whole + frac)
    e10 = int(exp) - len(frac)
    negative = sign == b"-"
    if mantissa == 0:
        return -0.0 if negative else 0.0
    magnitude = len(str(mantissa)) + e10          # 10**(magnitude-1) <= value < 10**magnitude
    if magnitude > 40:
        raise read_error(*REAL_RANGE)
    if magnitude < -50:
        return -0.0 if negative else 0.0
    value = round_to_single(Fraction(mantissa) * Fraction(10) ** e10)
    if math.isinf(value):
        raise read_error(*REAL_RANGE)
    return -value if negative else value


def free_form_read(inp, parse, current):
    """One free-form read of one variable; returns its new value
    (the current one for a null value or a slash)."""
    while True:
        line = inp.read_line()
        pos = 0
        while pos < len(line) and line[pos:pos + 1] in (b" ", b"\t"):
            pos += 1
        if pos == len(line):
            continue                  # nothing on this line: the read goes on to the next
        first = line[pos:pos + 1]
        if first in (b",", b"/"):
            return current
        if first in (b"'", b'"', b"("):
            raise read_error(*TEXT_FOR_NUMBER)
        end = pos
        while end < len(line) and line[end:end + 1] not in (b" ", b"\t", b",", b"/"):
            end += 1
        token = line[pos:end]
        if b"*" in token:
            count, value = token.split(b"*", 1)
            if not _DIGITS.fullmatch(count):   # not a repeat count: an invalid token of the read's type
                raise read_error(*(BAD_INTEGER if parse is parse_integer else BAD_REAL))
            if int(count) < 1:
                raise read_error(*REPEAT_BELOW_ONE)
            if not value:
                return current        # r* alone: null values
            if value[:1] in (b"'", b'"', b"("):
                raise read_error(*TEXT_FOR_NUMBER)
            token = value
        return parse(token)


# ---------------------------------------------------------------------------
# The console of a batch run and the run's surroundings.

class Console:
    """Standard output under the console's line rule.  In a batch run reads
    leave open line and open prompt alone."""

    CONTROL = {
        b"+": (b"\r", b"\r"),
        b"0": (b"\r\n\r\n", b"\r\n"),
        b"1": (b"\r\n\x0c\r \r", b"\r\n\x0c\r \r"),
    }

    def __init__(self):
        self.out = bytearray()
        self.open_line = False
        self.open_prompt = False

    def record(self, rec, prompt=False):
        if self.open_prompt:
            self.out += rec
        else:
            if not rec:
                rec = b" "
            control = rec[:1]
            when_open, when_clear = self.CONTROL.get(control, (CR_LF, b""))
            self.out += when_open if self.open_line else when_clear
            self.out += rec[1:]
        self.open_line = True
        self.open_prompt = prompt

    def raw(self, data):
        self.out += data


class Machine:
    """Console, input, arguments, working directory and the program's variables."""

    def __init__(self, stdin, args, before):
        self.console = Console()
        self.input = Input(stdin)
        self.args = [a if isinstance(a, bytes) else a.encode() for a in args]
        self.files = dict(before)
        self.written = {}
        self.vars = {}

    # -- writes
    def line(self, text):
        """A free-form line (the calculators' texts are shorter than 79 bytes)."""
        data = sj(text)
        assert len(data) < 79
        self.console.record(b" " + data)

    def blank(self):
        self.line(" ")

    def prompt(self, text):
        self.console.record(sj(text), prompt=True)

    def formatted(self, fmt, *values):
        rec, prompt = format_record(sj(fmt), *values)
        self.console.record(rec, prompt)

    # -- reads
    def read_real(self, var):
        self.vars[var] = free_form_read(self.input, parse_real, self.vars.get(var, 0.0))
        return self.vars[var]

    def read_integer(self, var):
        self.vars[var] = free_form_read(self.input, parse_integer, self.vars.get(var, 0))
        return self.vars[var]

    def read_text(self, width):
        return self.input.read_line()[:width].ljust(width, b" ")

    def confirm(self, text):
        """Yes unless the answer is N or n alone (blank-padded to two bytes)."""
        self.prompt(text)
        return self.read_text(2) not in (b"N ", b"n ")

    def pause(self):
        self.input.read_line()

    def stop(self):
        if self.console.open_line:
            self.console.raw(CR_LF)
        self.console.raw(b"Stop - Program terminated." + CR_LF)
        raise Stop()

    # -- report file
    def open_report(self, name20):
        name = name20.strip(b" ")
        if not name:
            if self.args:
                name = self.args.pop(0).strip(b" ")
            elif self.console.open_line:
                self.console.raw(CR_LF)
        while not name:
            self.console.raw(b"File name missing or blank - please enter file name" + CR_LF
                             + b"UNIT 1? ")
            name = self.input.read_line().strip(b" ")
        if name in (b".", b"..") or name.endswith(b"/"):
            raise InputOutputError(OPEN_FOLDER[0], b"OPEN", name, OPEN_FOLDER[1])
        if b"/" in name:
            folder = name.rsplit(b"/", 1)[0]
            if folder not in (b".", b"..", b""):
                raise InputOutputError(OPEN_NOT_FOUND[0], b"OPEN", name, OPEN_NOT_FOUND[1])
        return name

    def write_report(self, name, records):
        data = b"".join(rec + CR_LF for rec in records)
        key = name.decode("ascii")
        while key.startswith("./"):
            key = key[2:]
        self.files[key] = data
        self.written[key] = data


# ---------------------------------------------------------------------------
# The calculator frame.

NAMES = ["I-123", "I-125", "I-131", "Tc-99m", "Mo-99", "Ga-67", "Tl-201", "Se-75", "Hg-203",
         "Fe-59", "In-111", "Au-198", "Cr-51", "Rb-81", "H-3", "C-14", "P-32", "P-33", "S-35",
         "Cd-115m", "Ca-45", "Sr-90", "Na-22", "Co-60", "Zn-65", "Ge-68", "Cs-137", "Co-57",
         "Sb-125", "In-113m", "Ge-71", "Sr-89", "F-18", "C-11"]
COEFFICIENTS = ["1.1e-07", "7.3e-06", "1.1e-05", "2.0e-08", "3.6e-07", "1.1e-07", "7.6e-08",
                "1.4e-06", "7.5e-07", "3.0e-06", "2.2e-07", "3.9e-07", "3.0e-08", "6.8e-08",
                "4.1e-08", "8.0e-10", "1.1e-06", "1.4e-07", "8.0e-08", "6.4e-06", "2.3e-06",
                "3.0e-05", "2.0e-06", "7.1e-06", "2.8e-06", "8.3e-07", "6.7e-06", "3.9e-07",
                "1.7e-06", "1.9e-08", "7.8e-09", "1.4e-06", "9.3e-08", "2.2e-09"]
CATALOGUE = [(n.encode().ljust(8), single(c)) for n, c in zip(NAMES, COEFFICIENTS)]

MENU_33 = [
    "        (1)  I-123     (12)  Au-198    (23)  Na-22",
    "        (2)  I-125     (13)  Cr-51     (24)  Co-60",
    "        (3)  I-131     (14)  Rb-81     (25)  Zn-65",
    "        (4)  Tc-99m    (15)  H-3       (26)  Ge-68",
    "        (5)  Mo-99     (16)  C-14      (27)  Cs-137",
    "        (6)  Ga-67     (17)  P-32      (28)  Co-57",
    "        (7)  Tl-201    (18)  P-33      (29)  Sb-125",
    "        (8)  Se-75     (19)  S-35      (30)  In-113m",
    "        (9)  Hg-203    (20)  Cd-115m   (31)  Ge-71",
    "       (10)  Fe-59     (21)  Ca-45     (32)  Sr-89",
    "       (11)  In-111    (22)  Sr-90     (33)  F-18",
    "                                       (99) ( END )",
]
MENU_34 = [
    "        (1)  I-123     (13)  Cr-51    (25)  Zn-65",
    "        (2)  I-125     (14)  Rb-81    (26)  Ge-68",
    "        (3)  I-131     (15)  H-3      (27)  Cs-137",
    "        (4)  Tc-99m    (16)  C-14     (28)  Co-57",
    "        (5)  Mo-99     (17)  P-32     (29)  Sb-125",
    "        (6)  Ga-67     (18)  P-33     (30)  In-113m",
    "        (7)  Tl-201    (19)  S-35     (31)  Ge-71",
    "        (8)  Se-75     (20)  Cd-115m  (32)  Sr-89",
    "        (9)  Hg-203    (21)  Ca-45    (33)  F-18",
    "       (10)  Fe-59     (22)  Sr-90    (34)  C-11",
    "       (11)  In-111    (23)  Na-22",
    "       (12)  Au-198    (24)  Co-60    (99) ( END )",
]

OK_20 = " " * 20 + "-----> OK([y]/n) ? "
OK_16 = " " * 16 + "-----> OK([y]/n) ? "
MENU_TITLE = "  * 使用核種（気体状核種は計算に含めない）"
SELECT = "                Select number  -----> "
ECHO = "(' ',' * --- 核種 : ',A6,' ---')"
ENTRY_OK = "     よろしいですか -----> OK ([y]/n])? "
LIMIT = "     これ以上は入力できません（最大40件）。"
MAX_ROWS = 40
REPORT_TITLE = " ---  内部被曝算定結果 ---"
HEADER_1 = "(12X,'吸入空気   　　　    実効線量')"
ROW_LINE = "(' ',2X,A6,1X,2E10.3,E10.2,E10.3)"
TOTAL_LINE = "(' ',34X,'Total',E10.3)"
SAVE = "    結果をファイルに保存しますか([y]/n) ? "
BANNER = "Tevol Ver.1.0.0 (C) 2026 Tevol Developers"
HIT_RET = "               ---  Hit RET key  ---"

P1 = "(' ','* 総作業時間 = ',F5.0,'[hr/3月]')"
P2 = "(' ','* 総作業時間 = ',F5.0,'[hr]')"
P3 = "(' ','* 作業時間 = ',F5.0,'[hr]')"
H2A = "(4X,'核種',4X,'平均濃度',3X,'摂取量',5X,' 係数 ',2X,'実効線量')"
H2B = "(4X,'核種',4X,'ＲＩ濃度',3X,'摂取量',5X,' 係数 ',2X,'実効線量')"
H3A = "(4X,'    ',4X,' Bq/cm3 ',3X,'  Bq  ',5X,'mSv/Bq',2X,' mSv/3月')"
H3B = "(4X,'    ',4X,' Bq/cm3 ',3X,'  Bq  ',5X,'mSv/Bq',2X,'  mSv')"
F1 = "      ファイル名 (○○○.txt)   ---> "
F2 = "      ファイル名 (○○○.txt)  ---> "
F3 = "      ファイル名 (○○○.txt) ---> "


def run_frame(m, profile):
    while True:                                   # one pass
        m.blank()
        m.blank()
        for text in profile.TITLES:
            if text == " ":
                m.blank()
            else:
                m.line(text)
        m.blank()
        if not m.confirm(OK_20):
            break
        profile.parameters(m)
        rows, total = [], 0.0
        while True:                               # menu screen
            m.blank()
            m.line(MENU_TITLE)
            for text in profile.MENU:
                m.line(text)
            m.blank()
            m.prompt(SELECT)
            choice = m.read_integer("menu")
            if choice == 99:
                break
            if not 1 <= choice <= profile.N:
                continue
            name, coefficient = CATALOGUE[choice - 1]
            m.blank()
            m.formatted(ECHO, name)
            entry = profile.values(m)
            m.blank()
            if not m.confirm(ENTRY_OK):
                continue
            if len(rows) == MAX_ROWS:
                m.line(LIMIT)
                continue
            row = profile.compute(entry)
            row["name"], row["coefficient"] = name, coefficient
            row["dose"] = store(row["intake"] * coefficient)
            total = store(row["dose"] + total)
            rows.append(row)
            m.blank()
            m.line(profile.LISTING_HEADER)
            for i, r in enumerate(rows, 1):
                m.formatted(profile.LISTING_ROW, i, r["name"], *profile.listed(r))
        records = report_records(profile, rows, total)
        m.blank()
        m.blank()
        m.line(REPORT_TITLE)
        m.blank()
        m.console.record(records[0])
        m.blank()
        for rec in records[1:4]:
            m.console.record(rec)
        m.blank()
        for rec in records[4:-1]:
            m.console.record(rec)
        m.blank()
        m.console.record(records[-1])
        m.blank()
        if m.confirm(SAVE):
            m.prompt(profile.FILE_PROMPT)
            name = m.open_report(m.read_text(20))
            m.write_report(name, records)
            break
        if not profile.START_OVER:
            break
    m.blank()
    m.line(BANNER)
    m.blank()
    m.line(HIT_RET)
    m.pause()
    m.stop()


def report_records(profile, rows, total):
    fmt = lambda f, *v: format_record(sj(f), *v)[0]
    records = [fmt(profile.PARAMETER_LINE, profile.parameter_value),
               fmt(HEADER_1), fmt(profile.HEADER_2), fmt(profile.HEADER_3)]
    for r in rows:
        records.append(fmt(ROW_LINE, r["name"], r["concentration"], r["intake"],
                           r["coefficient"], r["dose"]))
    records.append(fmt(TOTAL_LINE, total))
    return records


# ---------------------------------------------------------------------------
# The four calculator profiles.

def room_air_factor(m, lines):
    m.blank()
    for text in lines:
        m.line(text)
    if m.confirm(OK_20):
        m.vars["k"] = TEN
    else:
        m.blank()
        m.prompt("      ***  倍率 = ")
        m.read_real("k")
    return m.vars["k"]


def confirmed_reals(m, prompts, ok):
    """A blank line, the prompts each with its read, the confirmation; again on no."""
    while True:
        m.blank()
        for text, var in prompts:
            m.prompt(text)
            m.read_real(var)
        if m.confirm(ok):
            return [m.vars[var] for _, var in prompts]


VOLUME_PROMPTS = [("  管理区域全体の１時間あたりの総排気量［ｍ3］= ", "volume"),
                  ("      １日あたりの空調稼動時間 [時間] = ", "hours")]
SCATTER_OK = "     飛散率 = 0.001        --- OK ([y]/n)? "
FILTER_CHOICES = ["             0.01  --- 1", "             0.1   --- 2",
                  "             0.2   --- 3", "             1.0   --- 4",
                  "            その他 --- 5"]


def scattering_and_filter(m, filter_title):
    m.blank()
    if m.confirm(SCATTER_OK):
        m.vars["s"] = DEFAULT_SCATTER
    else:
        m.prompt("          飛散率 = ")
        m.read_real("s")
    m.blank()
    m.line(filter_title)
    for text in FILTER_CHOICES:
        m.line(text)
    m.prompt("               ------> ")
    choice = m.read_integer("filter")
    if choice in FILTERS:
        m.vars["f"] = FILTERS[choice]
    else:
        m.prompt("          フィルタ透過率 = ")
        m.read_real("f")
    return m.vars["s"], m.vars["f"]


class RoomAir:                      # Tevol_2
    MENU, N = MENU_34, 34
    TITLES = ["    業務従事者の空気吸入による内部被曝の算定",
              "    （使用室内の実測空気中ＲＩ濃度から算定）"]
    PARAMETER_LINE, HEADER_2, HEADER_3 = P2, H2B, H3B
    FILE_PROMPT, START_OVER = F2, True
    LISTING_HEADER = "     核種    空気中濃度"
    LISTING_ROW = "(I3,')  ',A6,E10.3)"

    def parameters(self, m):
        m.blank()
        m.line("    業務従事者の空気吸入量を 0.02［ｍ^3／分］とする。")
        (self.H,) = confirmed_reals(m, [("       総作業時間［hr］＝ ", "H")], OK_16)
        self.parameter_value = self.H

    def values(self, m):
        m.prompt("     空気中濃度 (@.@@E-@@) [Bq/cm^3] = ")
        return m.read_real("c")

    def compute(self, c):
        return {"c": c, "concentration": c,
                "intake": store(product(c, self.H, BREATHING))}

    def listed(self, r):
        return [r["c"]]


class GasMonitor:                   # Tevol_4
    MENU, N = MENU_34, 34
    TITLES = ["    業務従事者の空気吸入による内部被曝の算定",
              "  （ガスモニタによる排気口のＲＩ濃度から算定）"]
    PARAMETER_LINE, HEADER_2, HEADER_3 = P2, H2B, H3B
    FILE_PROMPT, START_OVER = F3, True
    LISTING_HEADER = "     核種    排気口濃度"
    LISTING_ROW = "(I3,')  ',A6,E10.3)"

    def parameters(self, m):
        self.k = room_air_factor(m, ["    業務従事者が呼吸する空気中のＲＩ濃度は",
                                     "      排気口におけるＲＩ濃度の10倍とする。"])
        m.blank()
        m.line("    業務従事者の空気吸入量を 0.02［ｍ^3／分］とする。")
        (self.T,) = confirmed_reals(m, [("       総作業時間［hr］＝ ", "T")], OK_16)
        self.parameter_value = self.T

    def values(self, m):
        m.prompt("     排気口濃度 (@.@@E-@@) [Bq/cm^3] = ")
        return m.read_real("c")

    def compute(self, c):
        r = store(product(self.k, c))
        return {"c": c, "concentration": r, "intake": store(product(r, self.T, BREATHING))}

    def listed(self, r):
        return [r["c"]]


class PlannedUsage:                 # Tevol_1
    MENU, N = MENU_33, 33
    TITLES = ["    業務従事者の空気吸入による内部被曝の算定 (2001) ",
              " ",
              "    １日および３ヶ月最大使用予定数量を基に算出した",
              "    排気口ＲＩ濃度から、使用室内における空気吸入による",
              "    内部被曝（実効線量）を算定する。"]
    PARAMETER_LINE, HEADER_2, HEADER_3 = P1, H2A, H3A
    FILE_PROMPT, START_OVER = F1, False
    LISTING_HEADER = "     核種  3月使用量　1日使用量    飛散率　ﾌｨﾙﾀ透過率"
    LISTING_ROW = "(I3,')  ',A6,F9.1,2X,F9.2,3X,F6.3,3X,F6.3)"

    def parameters(self, m):
        self.k = room_air_factor(m, ["     業務従事者が吸入する管理区域内の空気中ＲＩ濃度は",
                                     "          排気口ＲＩ濃度の10倍とする。"])
        m.blank()
        m.line("     業務従事者の空気吸入量を 0.02［ｍ3／分］とする。")
        volume, hours = confirmed_reals(m, VOLUME_PROMPTS, OK_20)
        self.V = store(product(hours, volume))
        (self.T,) = confirmed_reals(m, [("       ３ヶ月総作業時間［hr］＝ ", "T")], OK_20)
        (holidays,) = confirmed_reals(m, [("       ３ヶ月間の休日数 ＝ ", "holidays")], OK_20)
        self.D = store(91.0 - holidays)
        self.parameter_value = self.T

    def values(self, m):
        m.prompt("     ３ヶ月最大使用予定数量 [MBq] = ")
        Q = m.read_real("Q")
        m.blank()
        m.prompt("     一日最大使用予定数量 [MBq] = ")
        A = m.read_real("A")
        s, f = scattering_and_filter(m, "     フィルタ透過率")
        return Q, A, s, f

    def compute(self, entry):
        Q, A, s, f = entry
        d = store(quotient(Q, A))
        if d > self.D:
            d = self.D
        c = store(quotient(product(f, d, A, s), product(self.D, self.V)))
        intake = store(product(c, self.k, self.T, BREATHING))
        return {"Q": Q, "A": A, "s": s, "f": f, "c": c, "intake": intake,
                "concentration": store(product(self.k, c))}

    def listed(self, r):
        return [r["Q"], r["A"], r["s"], r["f"]]


class MonthlyUsage:                 # Tevol_3
    MENU, N = MENU_33, 33
    TITLES = ["    業務従事者の空気吸入による内部被曝の算定",
              " ",
              "    実際の使用数量を基に計算した排気口ＲＩ濃度から",
              "    使用室内における空気吸入による内部被曝を算定する。"]
    PARAMETER_LINE, HEADER_2, HEADER_3 = P3, H2A, H3B
    FILE_PROMPT, START_OVER = F3, False
    LISTING_HEADER = "     核種    使用量       飛散率  ﾌｨﾙﾀ透過率"
    LISTING_ROW = "(I3,')  ',A6,F9.1,2X,F9.2,3X,F6.3,3X,F6.3)"

    def parameters(self, m):
        self.k = room_air_factor(m, ["    業務従事者が吸入する管理区域内の空気中ＲＩ濃度は",
                                     "            排気口ＲＩ濃度の10倍とする。"])
        m.blank()
        m.line("    業務従事者の空気吸入量を 0.02［ｍ3／分］とする。")
        volume, hours = confirmed_reals(m, VOLUME_PROMPTS, OK_20)
        self.V = store(product(hours, volume))
        (self.T,) = confirmed_reals(m, [("       １ヶ月間の作業時間［hr］＝ ", "T")], OK_20)
        (self.D,) = confirmed_reals(m, [("       １ヶ月間の作業日数 [日] ＝ ", "D")], OK_20)
        self.parameter_value = self.T

    def values(self, m):
        m.prompt("      当該月の使用数量 [MBq] = ")
        Q = m.read_real("Q")
        s, f = scattering_and_filter(m, "    フィルタ（ヘパ ＋ チャコール）透過率")
        return Q, s, f

    def compute(self, entry):
        Q, s, f = entry
        c = store(quotient(product(s, f, Q), product(self.D, self.V)))
        intake = store(product(c, self.k, self.T, BREATHING))
        return {"Q": Q, "s": s, "f": f, "c": c, "intake": intake,
                "concentration": store(product(self.k, c))}

    def listed(self, r):
        return [r["Q"], r["s"], r["f"]]


PROFILES = {"Tevol_1": PlannedUsage, "Tevol_2": RoomAir, "Tevol_3": MonthlyUsage,
            "Tevol_4": GasMonitor}


def run(program, stdin, args=(), before=None):
    """A batch run of one calculator.
    Returns (stdout bytes, stderr bytes, exit status, {file name: bytes written})."""
    m = Machine(stdin, args, before or {})
    err, status = b"", 0
    try:
        run_frame(m, PROFILES[program]())
    except Stop:
        pass
    except RunError as e:
        err, status = e.report(), 1
    if m.console.open_line:
        m.console.raw(CR_LF)
    return bytes(m.console.out), err, status, m.written


# ---------------------------------------------------------------------------
# Self-check against the documented examples.

def _field_cases():
    """(value as decimal text, descriptor, blanks in front, text after them)."""
    return [
        ("160", "F5.0", 1, "160."), ("0.3", "F5.0", 3, "0."), ("0.6", "F5.0", 3, "1."),
        ("-160", "F5.0", 0, "-160."), ("1.0e5", "F5.0", 0, "*****"),
        ("0.5", "F9.1", 7, ".5"), ("0", "F9.1", 7, ".0"), ("-0.04", "F9.1", 7, ".0"),
        ("1.0e7", "F9.1", 0, "*********"), ("-2.5", "F9.2", 4, "-2.50"),
        ("0.05", "F6.3", 2, ".050"), ("9.96", "F3.1", 0, "***"),
        ("1.23e-4", "E10.3", 2, ".123E-03"), ("-1.23e-4", "E10.3", 1, "-.123E-03"),
        ("0", "E10.3", 2, ".000E+00"), ("9.96", "E10.2", 3, ".10E+02"),
        ("1.1e-07", "E10.2", 3, ".11E-06"),
        # beyond the documented table: the 7-digit limit, carries, half up
        ("7.5", "F5.0", 3, "8."), ("0.001", "F9.2", 6, ".00"), ("0.001", "F6.3", 2, ".001"),
        ("12345678", "F9.0", 0, "12345680."), ("0.0005", "F6.3", 2, ".001"),
        ("-0.0004", "F6.3", 2, ".000"), ("9.99", "F9.1", 5, "10.0"),
        ("1e-5", "E10.3", 2, ".100E-04"), ("-1e-5", "E10.3", 1, "-.100E-04"),
        ("9.9999e-5", "E10.3", 2, ".100E-03"), ("3.4028235e38", "E10.3", 2, ".340E+39"),
        ("1e-45", "E10.3", 2, ".140E-44"),
    ]


def self_check():
    # the text byte counts the dialogue is built on
    for text, size in [(OK_20, 39), (OK_16, 35), (F1, 37), (F2, 36), (F3, 35),
                       (RoomAir.TITLES[0], 44), (RoomAir.TITLES[1], 44),
                       (GasMonitor.TITLES[1], 46), (PlannedUsage.TITLES[0], 52),
                       (PlannedUsage.TITLES[2], 50), (PlannedUsage.TITLES[3], 54),
                       (PlannedUsage.TITLES[4], 36), (MonthlyUsage.TITLES[2], 50),
                       (MonthlyUsage.TITLES[3], 54), (RoomAir.LISTING_HEADER, 23),
                       (GasMonitor.LISTING_HEADER, 23), (PlannedUsage.LISTING_HEADER, 53),
                       (MonthlyUsage.LISTING_HEADER, 44), (SCATTER_OK, 43),
                       ("       総作業時間［hr］＝ ", 26), ("     空気中濃度 (@.@@E-@@) [Bq/cm^3] = ", 39),
                       ("     排気口濃度 (@.@@E-@@) [Bq/cm^3] = ", 39),
                       ("    業務従事者の空気吸入量を 0.02［ｍ^3／分］とする。", 53),
                       ("     業務従事者の空気吸入量を 0.02［ｍ3／分］とする。", 53),
                       ("    業務従事者の空気吸入量を 0.02［ｍ3／分］とする。", 52),
                       (VOLUME_PROMPTS[0][0], 47), (VOLUME_PROMPTS[1][0], 40),
                       ("       ３ヶ月総作業時間［hr］＝ ", 32), ("       ３ヶ月間の休日数 ＝ ", 27),
                       ("       １ヶ月間の作業時間［hr］＝ ", 34), ("       １ヶ月間の作業日数 [日] ＝ ", 34),
                       ("     ３ヶ月最大使用予定数量 [MBq] = ", 36), ("     一日最大使用予定数量 [MBq] = ", 34),
                       ("      当該月の使用数量 [MBq] = ", 31), ("          飛散率 = ", 19),
                       ("     フィルタ透過率", 19), ("    フィルタ（ヘパ ＋ チャコール）透過率", 40),
                       ("               ------> ", 23), ("          フィルタ透過率 = ", 27),
                       ("      ***  倍率 = ", 18),
                       ("     業務従事者が吸入する管理区域内の空気中ＲＩ濃度は", 53),
                       ("          排気口ＲＩ濃度の10倍とする。", 38),
                       ("    業務従事者が吸入する管理区域内の空気中ＲＩ濃度は", 52),
                       ("            排気口ＲＩ濃度の10倍とする。", 40),
                       ("    業務従事者が呼吸する空気中のＲＩ濃度は", 42),
                       ("      排気口におけるＲＩ濃度の10倍とする。", 42)] \
            + [(t, 24) for t in FILTER_CHOICES]:
        assert len(sj(text)) == size, (text, len(sj(text)), size)
    for menu, sizes in [(MENU_33, [50, 50, 50, 50, 51, 50, 51, 52, 50, 50, 49, 51]),
                        (MENU_34, [49, 49, 50, 49, 50, 51, 49, 49, 48, 48, 34, 50])]:
        assert [len(sj(t)) for t in menu] == sizes
    assert sj(HEADER_1).count(sj("　")) == 3

    # number fields
    for value, desc, blanks, after in _field_cases():
        letter, w, d = desc[0], int(desc[1:].split(".")[0]), int(desc.split(".")[1])
        x = single(value)
        got = edit_f(x, w, d) if letter == "F" else edit_e(x, w, d)
        assert got == (b" " * blanks + after.encode()), (value, desc, got)
        assert len(got) == w
    assert edit_i(1, 3) == b"  1" and edit_i(40, 3) == b" 40" and edit_i(100, 2) == b"**"

    # records
    rec, _ = format_record(sj(P2), single("160"))
    assert rec == b" " + sj("* 総作業時間 = ") + b" 160." + b"[hr]"
    rec, _ = format_record(sj(ROW_LINE), b"In-113m ", 1.0, 2.0, 3.0, 4.0)
    assert len(rec) == 50 and rec.startswith(b"   In-113 ")
    rec2, _ = format_record(sj(TOTAL_LINE), 4.0)
    assert len(rec2) == 50 and rec2[-10:] == rec[-10:]
    rec, _ = format_record(sj(MonthlyUsage.LISTING_ROW), 1, b"H-3     ", 1.0, 0.5, 1.0)
    assert rec.endswith(b" 1.000")                      # the unused 3X adds nothing
    rec, _ = format_record(sj(HEADER_1))
    assert rec.startswith(b" " * 12 + sj("吸入空気"))
    rec, prompt = format_record(b"(A\\)", b" x")
    assert rec == b" x" and prompt

    # reading reals and integers
    assert single("1.5e-3") == parse_real(b"1.5-3") == parse_real(b"1.5D-3") == parse_real(b"1.5d-3")
    assert parse_real(b"1.5+3") == 1500.0 and parse_real(b"160") == 160.0
    for bad in [b"1.5E", b"1.5E+", b"1.5-", b".", b"+", b"inf", b"nan", b"0x10", b"16#A", b"1.0e-5x"]:
        try:
            parse_real(bad)
            raise AssertionError(bad)
        except InputOutputError as e:
            assert e.code == b"F6505", bad
    for big in [b"1e39", b"3.4028236e38"]:
        try:
            parse_real(big)
            raise AssertionError(big)
        except InputOutputError as e:
            assert e.code == b"F6506"
    assert parse_real(b"3.40282356e38") == FLT_MAX       # just below the half step
    assert parse_real(b"1e-50") == 0.0 and parse_real(b"1e-45") == math.ldexp(1, -149)
    assert parse_integer(b"-16#A") == -10 and parse_integer(b"#3") == 3
    assert parse_integer(b"36#z") == 35 and parse_integer(b"+3") == 3
    assert parse_integer(b"-2147483648") == -2 ** 31
    for bad, code in [(b"16#", b"F6503"), (b"#", b"F6503"), (b"2#102", b"F6503"),
                      (b"3.0", b"F6503"), (b"3a", b"F6503"), (b"1#1", b"F6503"),
                      (b"2147483648", b"F6504"), (b"16#80000000", b"F6504")]:
        try:
            parse_integer(bad)
            raise AssertionError(bad)
        except InputOutputError as e:
            assert e.code == code, bad

    def ff(lines, parse=parse_real, current=7.0):
        return free_form_read(Input(b"".join(l + b"\n" for l in lines)), parse, current)

    assert ff([b"3*2.5"]) == 2.5 and ff([b"2*"]) == 7.0 and ff([b","]) == 7.0
    assert ff([b"/"]) == 7.0 and ff([b" ,5"]) == 7.0 and ff([b"100/"]) == 100.0
    assert ff([b"", b"   ", b" 5 x"]) == 5.0 and ff([b"1,000"]) == 1.0
    for line, code in [(b"0*5", b"F6508"), (b"-1*5", b"F6505"), (b"'a'", b"F6507"),
                       (b"(1,2)", b"F6507"), (b"2*'a'", b"F6507")]:
        try:
            ff([line])
            raise AssertionError(line)
        except InputOutputError as e:
            assert e.code == code, line

    # the input's lines
    assert Input(b"a\r\nb\nc").lines == [b"a", b"b", b"c"]
    try:
        Input(b"5\x1a\r\n").read_line()
        raise AssertionError("ctrl-z")
    except InputOutputError as e:
        assert e.code == b"F6501"

    # the documented examples, through whole runs
    def report_file(program, lines):
        out, err, status, files = run(program, b"".join(l + b"\n" for l in lines))
        assert status == 0 and err == b"", (program, err)
        assert out.endswith(b"Stop - Program terminated.\r\n\r\n")
        return files["r.txt"].split(b"\r\n")

    rows = report_file("Tevol_2", [b"", b"100", b"", b"3", b"1.0e-5", b"", b"24", b"2.5e-6", b"",
                                   b"15", b"2.0e-3", b"", b"99", b"", b"r.txt", b""])
    assert len(rows) == 8 + 1 and rows[-1] == b""
    assert rows[0] == b" " + sj("* 総作業時間 = ") + b" 100.[hr]"
    expect = [[".100E-04", ".120E+04", ".11E-04", ".132E-01"],
              [".250E-05", ".300E+03", ".71E-05", ".213E-02"],
              [".200E-02", ".240E+06", ".41E-07", ".984E-02"]]
    for line, fields in zip(rows[4:7], expect):
        assert line.split()[1:] == [f.encode() for f in fields], line
    assert rows[7].split() == [b"Total", b".252E-01"]

    rows = report_file("Tevol_1", [b"", b"", b"1.0e4", b"8", b"", b"160", b"", b"71", b"",
                                   b"3", b"100", b"5", b"", b"1", b"",
                                   b"4", b"4.0e3", b"200", b"", b"4", b"", b"99", b"", b"r.txt", b""])
    assert rows[4].split()[1:] == [b".625E-08", b".120E+01", b".11E-04", b".132E-04"]
    assert rows[5].split()[1:] == [b".250E-04", b".480E+04", b".20E-07", b".960E-04"]
    assert rows[6].split() == [b"Total", b".109E-03"]

    rows = report_file("Tevol_3", [b"", b"", b"1.0e4", b"8", b"", b"160", b"", b"20", b"",
                                   b"3", b"100", b"", b"1", b"",
                                   b"4", b"4.0e3", b"", b"4", b"", b"99", b"", b"r.txt", b""])
    assert rows[0] == b" " + sj("* 作業時間 = ") + b" 160.[hr]"
    assert rows[4].split()[1:] == [b".625E-08", b".120E+01", b".11E-04", b".132E-04"]
    assert rows[5].split()[1:] == [b".250E-04", b".480E+04", b".20E-07", b".960E-04"]
    assert rows[6].split() == [b"Total", b".109E-03"]

    lines = [b"", b"", b"2000", b"", b"3", b"1.0e-6", b"", b"99", b"", b"r.txt", b""]
    rows = report_file("Tevol_4", lines)
    assert rows[4].split()[1:] == [b".100E-04", b".240E+05", b".11E-04", b".264E+00"]
    out = run("Tevol_4", b"".join(l + b"\n" for l in lines))[0]
    assert b"\r\n 1)  I-131   .100E-05" in out

    # the console's line rule at the start of a run, and the intake from the stored k x c
    out = run("Tevol_2", b"")[0]
    assert out.startswith(b" \r\n \r\n" + sj(RoomAir.TITLES[0]) + b"\r\n")
    assert out.endswith(b"\r\n \r\n" + sj(OK_20[1:]) + b"\r\n")
    rows = report_file("Tevol_4", [b"", b"n", b"10", b"250", b"", b"3", b"6.55e-6", b"",
                                   b"99", b"", b"r.txt", b""])
    assert rows[4].split()[1:3] == [b".655E-04", b".196E+05"]

    # overflow and division faults
    def fault(program, lines):
        out, err, status, files = run(program, b"".join(l + b"\n" for l in lines))
        assert status == 1 and not files and out.endswith(b"\r\n")
        return err

    assert fault("Tevol_2", [b"", b"1e10", b"", b"3", b"1e30", b""]) == \
        b"\r\nrun-time error M6104: MATH\r\n- floating-point error: overflow\r\n"
    t1 = [b"", b"", b"1.0e4", b"8", b"", b"160", b"", b"71", b"", b"3"]
    assert b"M6103" in fault("Tevol_1", t1 + [b"100", b"0", b"", b"1", b""])
    assert b"M6101" in fault("Tevol_1", t1 + [b"0", b"0", b"", b"1", b""])
    assert b"M6104" in fault("Tevol_1", t1 + [b"1e30", b"1e-30", b"", b"1", b""])
    assert fault("Tevol_2", [b"", b"x"]) == \
        b"\r\nrun-time error F6505: READ(CON)\r\n- invalid REAL\r\n"
    return True


if __name__ == "__main__":
    self_check()
    print("self-check passed")

#!/usr/bin/env python3
"""Writes the whole-process fixtures of the calculators from the table below.

    python3 tests/reference/make_fixtures.py

For every scenario the reference model (tevol_model.py) gives the expected
bytes; the scenario becomes tests/fixtures/<program>/<case>/ with:
  argv     program name, then one argument per line
  stdin    the bytes fed to standard input (a pipe)
  stdout, stderr, status
  before/  files in the working directory before the run (when any)
  after/   the report files the run must leave (when any)
The directories of the programs in the table are rewritten from scratch.
"""

import os
import shutil
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import tevol_model  # noqa: E402

FIXTURES = os.path.join(HERE, os.pardir, "fixtures")


def lines(*groups, end=b"\n"):
    """Input lines from groups of str lines, each line ended by `end`."""
    out = b""
    for group in groups:
        for text in group:
            out += text.encode("ascii") + end
    return out


# ---------------------------------------------------------------------------
# Input pieces.  Every piece is the list of lines that one step of the dialogue reads.

YES = [""]


def hours(value, *rejected):
    """One hours value confirmed, after values answered with n."""
    out = []
    for v in rejected:
        out += [v, "n"]
    return out + [value, ""]


def entry(menu, value, answer=""):
    """Tevol_2/Tevol_4: menu number, the concentration, the per-entry answer."""
    return [menu, value, answer]


def save(name):
    return ["99", "", name, ""]            # report, yes to saving, the name, the closing pause


def no_save():
    return ["99", "n"]


CLOSING = [""]

FACTOR_10 = [""]                         # the factor's statement confirmed
FACTOR_5 = ["n", "5"]


def usage_params(factor=FACTOR_10, volume="1.0e4", per_day="8", T="160", days="71"):
    """Tevol_1/Tevol_3 parameters, each confirmed: factor, exhaust volume pair, hours, days
    (holidays for Tevol_1, work days for Tevol_3)."""
    return factor + [volume, per_day, "", T, "", days, ""]


T1_PARAMS = usage_params()                       # k = 10, V = 8e4, T = 160, D = 91 - 71 = 20
T3_PARAMS = usage_params(days="20")              # k = 10, V = 8e4, T = 160, D = 20
SCATTER_VALUES = {"n": "0.005", "N": "0.02"}     # the rate typed after answering no


def t1_entry(menu, q, a, scatter="", choice="1", f=None, answer=""):
    return [menu, q] + t3_entry(None, a, scatter, choice, f, answer)


def t3_entry(menu, q, scatter="", choice="1", f=None, answer=""):
    out = ([menu] if menu else []) + [q, scatter]
    if scatter in SCATTER_VALUES:
        out.append(SCATTER_VALUES[scatter])
    out.append(choice)
    if f is not None:
        out.append(f)
    return out + [answer]


# ---------------------------------------------------------------------------
# The scenario table: (program, case, stdin bytes, arguments, files before).

LONG_OLD_REPORT = b"an older and much longer report file\r\n" * 40


def forty_one_entries():
    out = []
    for i in range(41):
        out += entry(str(i % 34 + 1), "%d.0e-6" % (i + 1))
    return out


T2 = [
    ("worked_example", lines(YES, hours("100"), entry("3", "1.0e-5"), entry("24", "2.5e-6"),
                             entry("15", "2.0e-3"), save("report.txt"), CLOSING)),
    ("worked_example_crlf_last_line_without_lf",
     lines(YES, hours("100"), entry("3", "1.0e-5"), entry("24", "2.5e-6"), entry("15", "2.0e-3"),
           save("report.txt"), end=b"\r\n") + b"x"),
    ("first_menu_99_report_of_five_lines", lines(YES, hours("160"), save("empty.txt"), CLOSING)),
    ("no_at_first_confirmation", lines(["n"], CLOSING)),
    ("restart_after_no_at_save",
     lines(YES, hours("50"), entry("3", "1.0e-5"), entry("15", "2.0e-3"), no_save(),
           YES, hours("100"), entry("24", "2.5e-6"), save("second.txt"), CLOSING)),
    ("restart_null_hours_keeps_first_pass_value",
     lines(YES, hours("50"), no_save(), YES, hours(","), entry("3", "1.0e-5"),
           save("r.txt"), CLOSING)),
    ("restart_then_no_at_first_confirmation",
     lines(YES, hours("50"), entry("3", "1.0e-5"), no_save(), ["N"], CLOSING)),
    ("blank_name_without_arguments",
     lines(YES, hours("100"), entry("3", "1.0e-5"), ["99", "", "   ", "", "  ", "  named.txt  "],
           CLOSING)),
    ("blank_name_takes_argument",
     lines(YES, hours("100"), entry("3", "1.0e-5"), save(""), CLOSING), ["  argname.txt ", "unused"]),
    ("blank_name_blank_argument",
     lines(YES, hours("100"), entry("3", "1.0e-5"), ["99", "", "", "fromloop.txt"], CLOSING), [" "]),
    ("name_given_argument_unused",
     lines(YES, hours("100"), save("typed.txt"), CLOSING), ["argname.txt"]),
    ("end_of_input_in_name_loop",
     lines(YES, hours("100"), ["99", "", ""])),
    ("replaces_longer_file",
     lines(YES, hours("100"), entry("3", "1.0e-5"), save("old.txt"), CLOSING), [],
     {"old.txt": LONG_OLD_REPORT}),
    ("name_longer_than_20_bytes_cut",
     lines(YES, hours("100"), entry("3", "1.0e-5"), save("abcdefghijklmnopqrstuvwxyz.txt"), CLOSING)),
    ("name_with_inner_blank_and_padding",
     lines(YES, hours("100"), save("  my report.txt"), CLOSING)),
    ("open_folder", lines(YES, hours("100"), save("."), CLOSING)),
    ("open_in_missing_folder", lines(YES, hours("100"), save("nodir/r.txt"), CLOSING)),
    ("bad_real_trailing_letter", lines(YES, hours("100"), ["3", "1.0e-5x"])),
    ("bad_real_word_for_hours", lines(YES, ["ten"])),
    ("real_out_of_range", lines(YES, ["1e39"])),
    ("real_forms_rejected_exponent_sign", lines(YES, hours("100"), ["3", "1.5E+"])),
    ("real_based_integer_rejected", lines(YES, ["16#A"])),
    ("real_repeat_count_negative", lines(YES, ["-1*5"])),
    ("quoted_text_for_number", lines(YES, ["'100'"])),
    ("parenthesized_pair_for_number", lines(YES, ["(1.0,2.0)"])),
    ("repeat_count_zero", lines(YES, hours("100"), ["0*3"])),
    ("bad_menu_integer_trailing_letter", lines(YES, hours("100"), ["3a"])),
    ("bad_menu_integer_point", lines(YES, hours("100"), ["3.0"])),
    ("bad_menu_integer_base_without_digits", lines(YES, hours("100"), ["16#"])),
    ("bad_menu_integer_digit_above_base", lines(YES, hours("100"), ["2#102"])),
    ("bad_menu_integer_lone_hash", lines(YES, hours("100"), ["#"])),
    ("bad_menu_integer_repeat_word", lines(YES, hours("100"), ["a*5"])),
    ("menu_integer_out_of_range", lines(YES, hours("100"), ["2147483648"])),
    ("menu_based_integer_out_of_range", lines(YES, hours("100"), ["16#80000000"])),
    ("end_of_input_at_first_confirmation", b""),
    ("end_of_input_mid_dialogue", lines(YES, hours("100"), ["3"])),
    ("end_of_input_after_blank_lines", lines(YES, hours("100"), ["", "  "])),
    ("end_of_input_at_closing_pause", lines(YES, hours("100"), save("r.txt"))),
    ("ctrl_z_line", lines(YES, hours("100"), ["3"]) + b"\x1a\n" + lines(["1.0e-5", ""])),
    ("ctrl_z_after_value_crlf", lines(YES, hours("100"), ["3"]) + b"1.0e-5\x1a\r\n"),
    ("ctrl_z_at_end_without_lf", lines(YES, hours("100")) + b"\x1a"),
    ("overflow_intake", lines(YES, hours("1e10"), ["3", "1e30", ""])),
    ("intake_just_fits", lines(YES, hours("1e10"), entry("16", "1e22"), save("r.txt"), CLOSING)),
    ("no_at_hours_confirmation", lines(YES, hours("100", "10", "20"), entry("3", "1.0e-5"),
                                       save("r.txt"), CLOSING)),
    ("confirmation_answers",
     # hours: "N" no, "no" yes; entries: "n x" no, " n" yes, "nn" yes, "N" no
     lines(YES, ["10", "N", "100", "no"], entry("3", "1.0e-5", "n x"), entry("3", "2.0e-5", " n"),
           entry("24", "3.0e-5", "nn"), entry("15", "4.0e-5", "N"), ["99", "no", "r.txt"], CLOSING)),
    ("no_at_entry_confirmation", lines(YES, hours("100"), entry("3", "1.0e-5", "n"),
                                       entry("24", "2.5e-6"), save("r.txt"), CLOSING)),
    ("menu_numbers_outside", lines(YES, hours("100"), ["0", "-1", "35", "98", "100", ","],
                                   entry("34", "1.0e-3"), save("r.txt"), CLOSING)),
    ("c11_and_f18", lines(YES, hours("100"), entry("34", "5.0e-4"), entry("33", "5.0e-4"),
                          save("r.txt"), CLOSING)),
    ("in113m_and_cd115m_names_cut", lines(YES, hours("100"), entry("30", "1.0e-4"),
                                          entry("20", "1.0e-5"), entry("4", "1.0e-4"),
                                          save("r.txt"), CLOSING)),
    ("free_form_forms",
     lines(YES, ["100/"], ["y"],                      # a slash right after the value
           ["#3", "1.5-3", ""],                       # base 16 when left out; sign exponent
           [" +#18 ", "1.5D-3", ""],                  # 24 in base 16; D exponent
           [",", ",", ""],                            # lone commas: the last menu and value again
           ["2*", " ,5", ""],                         # r* alone; blanks then a comma
           ["#22", "3*2.5e-6", ""],                   # 34 (C-11); a repeat count
           ["-16#A", "2#1111", "", "  ", "2.0e-3,4 5", ""],  # -10 (menu again); 15; lines passed over
           ["36#z", "1,000", "1.0e-6", ""],           # 35 (menu again); 1,000 reads 1 (I-123)
           save("forms.txt"), CLOSING)),
    ("repeat_and_tab_separators",
     lines(YES, ["\t 2*100\t"], YES, ["3\t1", "1.0E-5 junk", ""], save("r.txt"), CLOSING)),
    ("first_menu_lone_comma_and_first_value_null",
     # the menu variable and the concentration start at zero
     lines(YES, hours("100"), [","], entry("3", ","), save("r.txt"), CLOSING)),
    ("long_lines_no_limit_in_batch",
     lines(YES, [" " * 200 + "100" + " " * 100], YES, entry("3", "1.0e-5" + "0" * 150),
           ["99", "", "", "a_file_name_longer_than_twenty_bytes.txt"], CLOSING)),
    ("forty_first_entry_refused",
     lines(YES, hours("10"), forty_one_entries(), save("forty.txt"), CLOSING)),
    ("hours_with_fraction", lines(YES, hours("7.5"), entry("3", "1.0e-5"), entry("15", "2.0e-3"),
                                  save("r.txt"), CLOSING)),
    ("zero_and_negative_values", lines(YES, hours("100"), entry("3", "0"), entry("24", "-2.5e-6"),
                                       no_save(), YES, hours("0"), entry("3", "1.0e-5"),
                                       save("r.txt"), CLOSING)),
    ("tiny_values_underflow", lines(YES, hours("1e-20"), entry("3", "1e-30"), entry("24", "1e-45"),
                                    save("r.txt"), CLOSING)),
]

# ---------------------------------------------------------------------------

T1 = [
    ("days_of_use_clamp",
     # Q/A below D (10 < 20), exactly at it (20) and above it (100, so d = D)
     lines(YES, T1_PARAMS, t1_entry("3", "100", "10"), t1_entry("3", "100", "5"),
           t1_entry("3", "100", "1"), save("clamp.txt"), CLOSING)),
    ("two_entries_report", lines(YES, T1_PARAMS, t1_entry("3", "100", "5"),
                                 t1_entry("4", "4.0e3", "200", choice="4"), save("r.txt"), CLOSING)),
    ("factor_5", lines(YES, usage_params(FACTOR_5), t1_entry("3", "100", "5"),
                       t1_entry("4", "4.0e3", "200", choice="4"), save("r.txt"), CLOSING)),
    ("filter_choices",
     lines(YES, T1_PARAMS, t1_entry("3", "100", "5", choice="0", f="0.5"),
           t1_entry("3", "100", "5", choice="4"), t1_entry("3", "100", "5", choice="5", f="0.05"),
           t1_entry("3", "100", "5", choice="6", f="0.3"), t1_entry("3", "100", "5", choice="1"),
           t1_entry("3", "100", "5", choice="2"), t1_entry("3", "100", "5", choice="3"),
           t1_entry("3", "100", "5", choice="-1", f="2"), save("r.txt"), CLOSING)),
    ("scattering_rate_default_and_n",
     lines(YES, T1_PARAMS, t1_entry("22", "50", "2"), t1_entry("22", "50", "2", scatter="n"),
           t1_entry("22", "50", "2", scatter="N"), t1_entry("22", "50", "2", scatter="no"),
           save("r.txt"), CLOSING)),
    ("no_at_each_confirmation_loop",
     lines(YES, ["", "2.0e4", "4", "n", "1.0e4", "8", ""], ["100", "n", "160", ""],
           ["50", "n", "71", ""], t1_entry("3", "100", "5"), save("r.txt"), CLOSING)),
    ("menu_34_refused_33_accepted",
     lines(YES, T1_PARAMS, ["34", "0", "35"], t1_entry("33", "1000", "100"), save("r.txt"), CLOSING)),
    ("no_at_entry_confirmation",
     lines(YES, T1_PARAMS, t1_entry("3", "100", "5", answer="n"), t1_entry("17", "30", "3"),
           save("r.txt"), CLOSING)),
    ("no_at_save_goes_to_closing",
     lines(YES, T1_PARAMS, t1_entry("3", "100", "5"), no_save(), CLOSING)),
    ("no_at_first_confirmation", lines(["n"], CLOSING)),
    ("first_menu_99", lines(YES, T1_PARAMS, save("empty.txt"), CLOSING)),
    ("holidays_with_fraction", lines(YES, usage_params(days="25.5"), t1_entry("3", "100", "1"),
                                     save("r.txt"), CLOSING)),
    ("one_day_usage_zero", lines(YES, T1_PARAMS, t1_entry("3", "100", "0"))),
    ("both_usages_zero", lines(YES, T1_PARAMS, t1_entry("3", "0", "0"))),
    ("quotient_too_big_for_single", lines(YES, T1_PARAMS, t1_entry("3", "1e30", "1e-30"))),
    ("working_days_zero", lines(YES, usage_params(days="91"), t1_entry("3", "100", "5"))),
    ("exhaust_volume_zero", lines(YES, usage_params(volume="0"), t1_entry("3", "100", "5"))),
    ("exhaust_volume_overflow", lines(YES, ["", "1e20", "1e20", ""])),
    ("bad_filter_choice", lines(YES, T1_PARAMS, ["3", "100", "5", "", "1.0"])),
    ("end_of_input_in_value_dialogue", lines(YES, T1_PARAMS, ["3", "100"])),
]

T3 = [
    ("worked_example", lines(YES, T3_PARAMS, t3_entry("3", "100"), t3_entry("4", "4.0e3", choice="4"),
                             save("month.txt"), CLOSING)),
    ("factor_5", lines(YES, usage_params(FACTOR_5, days="20"), t3_entry("3", "100"),
                       t3_entry("4", "4.0e3", choice="4"), save("r.txt"), CLOSING)),
    ("scattering_n_and_other_filter",
     lines(YES, T3_PARAMS, t3_entry("27", "250", scatter="n", choice="5", f="0.05"),
           t3_entry("27", "250", scatter="N", choice="0", f="1"), t3_entry("33", "1.0e4", choice="3"),
           t3_entry("33", "1.0e4", choice="2"), save("r.txt"), CLOSING)),
    ("no_at_each_confirmation_loop",
     lines(YES, ["", "5.0e3", "4", "n", "1.0e4", "8", ""], ["100", "n", "160", ""],
           ["25", "n", "20", ""], t3_entry("3", "100"), save("r.txt"), CLOSING)),
    ("no_at_save_goes_to_closing", lines(YES, T3_PARAMS, t3_entry("3", "100"), no_save(), CLOSING)),
    ("menu_34_refused_33_accepted", lines(YES, T3_PARAMS, ["34"], t3_entry("33", "1.0e3"), save("r.txt"), CLOSING)),
    ("work_days_zero", lines(YES, usage_params(days="0"), t3_entry("3", "100"))),
    ("work_days_zero_usage_zero", lines(YES, usage_params(days="0"), t3_entry("3", "0"))),
    ("exhaust_hours_zero", lines(YES, usage_params(per_day="0", days="20"), t3_entry("3", "100"))),
    ("intake_overflow", lines(YES, usage_params(["n", "1e30"], days="20"), t3_entry("3", "1e30", choice="4"))),
    ("first_menu_99", lines(YES, T3_PARAMS, save("empty.txt"), CLOSING)),
]

T4 = [
    ("example_i131", lines(YES, YES, hours("2000"), entry("3", "1.0e-6"), save("gas.txt"), CLOSING)),
    ("restart_factor_does_not_carry_over",
     lines(YES, ["n", "5"], hours("1000"), entry("3", "1.0e-6"), no_save(),
           YES, YES, hours("2000"), entry("3", "1.0e-6"), save("r.txt"), CLOSING)),
    ("factor_10_entered_intake_from_stored_r",
     lines(YES, ["n", "10"], hours("250"), entry("3", "6.55e-6"), save("r.txt"), CLOSING)),
    ("factor_1", lines(YES, ["n", "1"], hours("100"), entry("24", "2.5e-6"), entry("34", "3.0e-4"),
                       save("r.txt"), CLOSING)),
    ("no_at_hours_confirmation", lines(YES, YES, hours("2000", "100"), entry("3", "1.0e-6"),
                                       save("r.txt"), CLOSING)),
    ("overflow_room_air_concentration", lines(YES, ["n", "1e30"], hours("1"), ["3", "1e30", ""])),
    ("overflow_intake", lines(YES, YES, hours("1e10"), ["3", "1e29", ""])),
    ("menu_35_refused_34_accepted", lines(YES, YES, hours("100"), ["35"], entry("34", "1.0e-3"),
                                          save("r.txt"), CLOSING)),
    ("no_at_save_then_no_at_opening", lines(YES, YES, hours("100"), no_save(), ["n"], CLOSING)),
]

TABLE = [("Tevol_2", T2), ("Tevol_1", T1), ("Tevol_3", T3), ("Tevol_4", T4)]


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def write_case(folder, program, stdin, args=(), before=None):
    before = before or {}
    out, err, status, files = tevol_model.run(program, stdin, args, before)
    write(os.path.join(folder, "argv"), "".join(a + "\n" for a in [program, *args]).encode("ascii"))
    write(os.path.join(folder, "stdin"), stdin)
    write(os.path.join(folder, "stdout"), out)
    write(os.path.join(folder, "stderr"), err)
    write(os.path.join(folder, "status"), b"%d\n" % status)
    for name, data in before.items():
        write(os.path.join(folder, "before", name), data)
    for name, data in files.items():
        write(os.path.join(folder, "after", name), data)


def main():
    tevol_model.self_check()
    only = set(sys.argv[1:])
    for program, cases in TABLE:
        if only and program not in only:
            continue
        names = [c[0] for c in cases]
        assert len(names) == len(set(names)), program
        root = os.path.join(FIXTURES, program)
        shutil.rmtree(root, ignore_errors=True)
        for name, stdin, *rest in cases:
            write_case(os.path.join(root, name), program, stdin, *rest)
        print("%s: %d cases" % (program, len(cases)))


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Side-by-side table of the keystroke benchmark (kw_keys) and the Qt peer benchmark.

Each input is the output of one process: lines of "name<TAB>value<TAB>unit". Figures are the
medians over the processes of one kind; ratios compare medians taken in the same run.

  bench-compare.py --ours A.tsv B.tsv ... [--qt Q1.tsv ...] [--wine W1.tsv ...]

Exits 1 when a target is not met (and the side it needs was measured).
"""
import statistics
import sys


def load(paths):
    data = {}
    for path in paths:
        with open(path) as f:
            for line in f:
                parts = line.rstrip("\n").split("\t")
                if len(parts) == 3:
                    data.setdefault(parts[0], []).append(float(parts[1]))
    return {name: statistics.median(values) for name, values in data.items()}


def fmt(value, unit):
    if value is None:
        return "-"
    if unit == "ns":
        return f"{value / 1000:.3f} µs" if value >= 1000 else f"{value:.0f} ns"
    return f"{value:.2f}"


def main(argv):
    groups = {"--ours": [], "--qt": [], "--wine": []}
    current = None
    for arg in argv:
        if arg in groups:
            current = arg
        elif current:
            groups[current].append(arg)
        else:
            sys.exit(__doc__)
    ours, qt, wine = (load(groups[k]) for k in ("--ours", "--qt", "--wine"))

    rows = []  # (case, ours, qt, unit, target text, met or None)

    def vs_qt(case, name, qt_name=None, need=None):
        o, q = ours.get(name), qt.get(qt_name or name)
        ratio = q / o if o and q else None
        target, met = "", None
        if need is not None:
            target = f"Qt ÷ ours ≥ {need:g}"
            met = ratio >= need if ratio is not None else None
        rows.append((case, fmt(o, "ns"), fmt(q, "ns"), f"{ratio:.1f}×" if ratio else "-",
                     target, met))

    def own(case, value, unit, limit=None, target=""):
        met = None
        if limit is not None and value is not None:
            met = value <= limit
        rows.append((case, fmt(value, unit), "-", "-", target, met))

    vs_qt("phone-mask keystroke", "a_masked_key_ns", need=5)
    vs_qt("plain edit keystroke", "b_plain_key_ns")
    a, b = ours.get("a_masked_key_ns"), ours.get("b_plain_key_ns")
    own("masked ÷ plain keystroke (simulation)", a / b if a and b else None, "x", 1.5, "≤ 1.5")
    qa, qb = qt.get("a_masked_key_ns"), qt.get("b_plain_key_ns")
    if qa and qb:
        rows.append(("masked ÷ plain keystroke (Qt)", "-", f"{qa / qb:.2f}", "-", "", None))
    own("heap allocations per phone-mask keystroke", ours.get("a_masked_key_allocs"), "x", 1,
        "≤ 1")
    own("heap allocations per plain keystroke", ours.get("b_plain_key_allocs"), "x")
    vs_qt("number keystroke (vs Qt's phone mask)", "n_number_key_ns", "a_masked_key_ns")
    own("heap allocations per number keystroke", ours.get("n_number_key_allocs"), "x")
    for n in (10, 100, 1000, 10000):
        vs_qt(f"mid-field keystroke, n = {n:,}", f"c_masked_mid_n{n}_ns",
              need=50 if n == 10000 else None)
    for n in (10, 100, 1000, 10000):
        vs_qt(f"mid-field keystroke, insert mode, n = {n:,} (vs Qt's overwrite)",
              f"c_masked_mid_insert_n{n}_ns", f"c_masked_mid_n{n}_ns")
    for n in (10, 100, 1000, 10000):
        own(f"heap allocations per mid-field keystroke, n = {n:,} (overwrite / insert)",
            ours.get(f"c_masked_mid_n{n}_allocs"), "x")
        o = ours.get(f"c_masked_mid_insert_n{n}_allocs")
        if o is not None:
            rows[-1] = rows[-1][:1] + (f"{rows[-1][1]} / {o:.2f}",) + rows[-1][2:]
    for n in (10, 100, 1000, 10000):
        vs_qt(f"set text of a full field, n = {n:,}", f"c_masked_setText_full_n{n}_ns")
    for n in (10, 100, 1000, 10000):
        vs_qt(f"plain edit mid-field keystroke, n = {n:,}", f"c_plain_mid_n{n}_ns")
    own("heap bytes per mask position", ours.get("m_mask_bytes_per_pos"), "x")
    own("heap allocations per mask position", ours.get("m_mask_allocs_per_pos"), "x")
    for kind in ("character", "field", "number", "plain"):
        one, two = ours.get(f"p_paste_1mb_{kind}_ns"), ours.get(f"p_paste_2mb_{kind}_ns")
        quarter, half = ours.get(f"p_paste_256kb_{kind}_ns"), ours.get(f"p_paste_512kb_{kind}_ns")
        own(f"0.25 MB paste, {kind}", quarter, "ns")
        own(f"0.5 MB paste, {kind}", half, "ns")
        own(f"1 MB paste, {kind}", one, "ns")
        own(f"1 MB ÷ 0.25 MB paste, {kind} (linear: 4)",
            one / quarter if one and quarter else None, "x")
        own(f"2 MB ÷ 1 MB paste, {kind} (linear: 2)", two / one if one and two else None, "x",
            3.5, "< 3.5 (quadratic: 4)")
    if wine:
        wa, wb = wine.get("a_masked_key_ns"), wine.get("b_plain_key_ns")
        own("phone-mask keystroke under Wine", wa, "ns")
        own("plain edit keystroke under Wine", wb, "ns")
        own("masked ÷ plain keystroke under Wine", wa / wb if wa and wb else None, "x", 1.5,
            "≤ 1.5")

    print(f"medians of {len(groups['--ours'])} process(es) of ours, {len(groups['--qt'])} of Qt,"
          f" {len(groups['--wine'])} under Wine")
    print("| case | ours | Qt | Qt ÷ ours | target | met |")
    print("|---|---:|---:|---:|---|---|")
    failed = False
    for case, o, q, ratio, target, met in rows:
        mark = "" if met is None else ("met" if met else "NOT MET")
        failed |= met is False
        print(f"| {case} | {o} | {q} | {ratio} | {target} | {mark} |")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

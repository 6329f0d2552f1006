#!/usr/bin/env python3
"""Checks `mirado-cli summary --by session --format json` against counts, means and
standard deviations worked out here from `mirado-cli export --mode dominant` of the same
generated recordings. Usage: summary_against_export.py MIRADO_CLI"""

import csv
import io
import json
import math
import re
import statistics
import subprocess
import sys
import tempfile
from datetime import date
from pathlib import Path

SPECIES = ["mouse", "rat", "rabbit", "dog"]
DAMAGES = ["truncated", "corrupt-codes", "short-ch2"]


def synth_arguments(i):
    args = ["--seed", str(i + 1), "--species", SPECIES[i % 4],
            "--study-no", "S2" if i % 5 == 0 else "S1",
            "--animal-no", f"A-{i % 6}",
            "--date", "bad date" if i % 23 == 0 else f"24/06/{10 + i % 4:02d}"]
    if i % 7 == 0:
        args.append("--incomplete")
    if i % 19 == 0:
        args += ["--damage", DAMAGES[(i // 19) % 3]]
    return args


def run(tool, *args):
    return subprocess.run([tool, *args], capture_output=True, check=False)


def session_order(key):
    study, animal, day = key
    match = re.fullmatch(rb"(\d\d)/(\d\d)/(\d\d)", day)
    if match:
        try:
            real = date(2000 + int(match[1]), int(match[2]), int(match[3]))
            return (study, animal, 0, real.toordinal(), b"")
        except ValueError:
            pass
    return (study, animal, 1, 0, day)


def expected_groups(export_text):
    rows = list(csv.reader(io.StringIO(export_text.decode("cp932"))))[1:]
    groups = {}
    for row in rows:
        day, animal, study = (row[0].strip().encode("cp932"), row[2].strip().encode("cp932"),
                              row[3].strip().encode("cp932"))
        hr, sbp, dbp, mbp = (int(row[8]), int(row[9]), int(row[10]), int(row[11]))
        groups.setdefault((study, animal, day), []).append((sbp, mbp, dbp, hr))
    return [(key, groups[key]) for key in sorted(groups, key=session_order)]


def check_statistic(name, got, values, problems):
    if got["n"] != len(values):
        problems.append(f"{name}: n {got['n']} != {len(values)}")
        return
    if not values:
        return
    if got["mean"] != sum(values) / len(values):
        problems.append(f"{name}: mean {got['mean']} != {sum(values) / len(values)}")
    if len(values) == 1:
        if got["sd"] is not None:
            problems.append(f"{name}: sd of one value is {got['sd']}")
        return
    sd = statistics.stdev(values)
    if not math.isclose(got["sd"], sd, rel_tol=1e-12, abs_tol=1e-12):
        problems.append(f"{name}: sd {got['sd']} != {sd}")
    if not math.isclose(got["se"], sd / math.sqrt(len(values)), rel_tol=1e-12, abs_tol=1e-12):
        problems.append(f"{name}: se {got['se']}")


def main():
    tool = sys.argv[1]
    with tempfile.TemporaryDirectory() as folder:
        files = []
        for i in range(120):
            path = str(Path(folder) / f"r{i:03d}.01")
            result = run(tool, "synth", *synth_arguments(i), "-o", path)
            if result.returncode != 0:
                sys.exit(f"synth failed: {result.stderr.decode()}")
            files.append(path)
        export_path = str(Path(folder) / "export.txt")
        run(tool, "export", "--mode", "dominant", "-o", export_path, *files)
        summary = run(tool, "summary", "--by", "session", "--format", "json", *files)
        lines = [json.loads(line) for line in summary.stdout.decode().splitlines()]
        expected = expected_groups(Path(export_path).read_bytes())

    problems = []
    if len(lines) != len(expected):
        problems.append(f"{len(lines)} groups, expected {len(expected)}")
    for got, ((study, animal, day), values) in zip(lines, expected):
        key = (study.decode("cp932"), animal.decode("cp932"), day.decode("cp932"))
        if (got["study_no"], got["animal_no"], got["date"]) != key:
            problems.append(f"group {key} is {got['study_no'], got['animal_no'], got['date']}")
            continue
        complete = [v for v in values if v[0] != 0 and v[1] != 0]
        if (got["n"], got["n_complete"]) != (len(values), len(complete)):
            problems.append(f"{key}: n {got['n']}/{got['n_complete']}")
        for index, name in enumerate(["sbp", "mbp", "dbp"]):
            check_statistic(f"{key} {name}", got[name], [v[index] for v in complete], problems)
        check_statistic(f"{key} hr", got["hr"], [v[3] for v in complete if v[3] > 0], problems)
    if problems:
        sys.exit("\n".join(problems))
    print(f"{len(lines)} groups agree")


if __name__ == "__main__":
    main()

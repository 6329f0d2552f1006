#!/usr/bin/env python3
"""Reads `mirado-cli export --mode table` of generated recordings (damaged ones, Japanese
texts, quotes, commas and line breaks among them, and a file name that is not UTF-8) with
Python's csv module and checks every field against `mirado-cli info` of the same files, for
each value source.
Usage: table_against_info.py MIRADO_CLI"""

import csv
import io
import json
import os
import subprocess
import sys
import tempfile
from pathlib import Path

COLUMNS = ["path", "file", "date", "time", "animal_no", "study_no", "weight", "sex_age",
           "comment", "species", "sampling_ms", "inflation_mmhg", "sbp", "mbp", "dbp", "hr",
           "marker_s", "marker_m", "marker_interval_ms", "source", "code", "flag", "complete",
           "error", "path_bytes"]
TEXTS = ["date", "time", "animal_no", "study_no", "weight", "sex_age", "comment"]
# The information pane's species line for the generator's species at its default interval.
SPECIES = {"mouse": "MOUSE", "rat": "RAT", "rabbit": "RABBIT/MONKEY", "monkey": "RABBIT/MONKEY",
           "dog": "DOG"}
DAMAGES = ["truncated", "corrupt-codes", "short-ch2", "overlong-ch1"]
# Texts a spreadsheet reader must take back whole: the file's own CP932 characters, a quote,
# a comma, a line break.
COMMENTS = ["試験 \"A\", 1回目", "line one\nline two", "再測定", "a,b", "", "体重ｶﾅ"]
SOURCES = {"stored": [], "s": ["--analysis", "s"], "sm": ["--analysis", "sm"]}


def recordings(count):
    """(file name, synth arguments, species) for each generated recording."""
    species = list(SPECIES)
    result = []
    for i in range(count):
        kind = species[i % len(species)]
        args = ["--seed", str(i + 11), "--species", kind, "--comment", COMMENTS[i % len(COMMENTS)],
                "--animal-no", f"動物{i}", "--study-no", "S,1" if i % 4 == 0 else "試験A"]
        if i % 5 == 0:
            args.append("--incomplete")
        if i % 6 == 3:
            args.append("--flat")
        if i % 7 == 2:
            args += ["--damage", DAMAGES[(i // 7) % len(DAMAGES)]]
        name = f"r \"{i:02d}\",x.001" if i == 1 else f"r{i:02d}.001"
        if i == 2:
            name = f"r\udcff{i:02d}.001"  # the byte 0xFF, which no UTF-8 text holds
        result.append((name, args, kind))
    return result


def run(tool, *args):
    result = subprocess.run([tool, *args], capture_output=True, check=False)
    return result.returncode, result.stdout


def half_round(raw):
    return (raw + 1) // 2 if raw >= 0 else -((1 - raw) // 2)


def method_of(info):
    return "method_e" if info["variant"] == "E" else "method_a"


def expected_values(info, source):
    """The columns from sbp to complete, as texts, worked out from the info record."""
    stored = info["stored"]
    if source == "stored":
        values, name, valid = stored, "stored", info["valid"]
        pressures = [stored["sbp"], stored["mbp"], stored["dbp"]]
    else:
        name = method_of(info)
        values, valid = info[name], source == "sm"
        pressures = [half_round(values[key]) for key in ("sbp_raw", "mbp_raw", "dbp_raw")]
    if not valid:
        pressures[1:] = [0, 0]
    marker_m = values["marker_m"] if valid else None
    interval = (values["marker_m"] - values["marker_s"]) * info["sampling"] // 10 if valid else None
    complete = pressures[0] != 0 and (source == "s" or pressures[1] != 0)
    text = [str(v) for v in pressures] + [str(stored["hr"]), str(values["marker_s"])]
    text += ["" if marker_m is None else str(marker_m), "" if interval is None else str(interval)]
    return text + [name, str(info[method_of(info)]["code"])], "1" if complete else "0", valid


def check_row(row, info, name, species, source, problems):
    where = f"{name!r} ({source})"
    # A byte that is not UTF-8 shows as U+FFFD; path_bytes then holds the exact bytes.
    shown = os.fsencode(name).decode("utf-8", "replace")
    if row["path"] != info["path"] or row["file"] != shown:
        problems.append(f"{where}: path {row['path']!r}, file {row['file']!r}")
    if row["path_bytes"] != info.get("path_bytes", ""):
        problems.append(f"{where}: path_bytes {row['path_bytes']!r}")
    if not info["ok"]:
        if row["error"] != info["error"]:
            problems.append(f"{where}: error {row['error']!r} != {info['error']!r}")
        blank = [c for c in COLUMNS[2:-2] if row[c] != ("stored" if c == "source" and
                                                          source == "stored" else "")]
        if blank:
            problems.append(f"{where}: failed file has values in {blank}")
        return
    for column in TEXTS:
        if row[column] != info[column]:
            problems.append(f"{where}: {column} {row[column]!r} != {info[column]!r}")
    sampling = f"{info['sampling'] // 10}.{info['sampling'] % 10}"
    expected = [SPECIES[species], sampling, str(info["inflation_pressure"])]
    got = [row["species"], row["sampling_ms"], row["inflation_mmhg"]]
    values, complete, valid = expected_values(info, source)
    expected += values + [complete, ""]
    got += [row[c] for c in COLUMNS[12:21]] + [row["complete"], row["error"]]
    if got != expected:
        problems.append(f"{where}: {got} != {expected}")
    flag = info[method_of(info)]["flag_text"]
    if row["flag"] != flag and (valid or row["flag"] != ""):
        problems.append(f"{where}: flag {row['flag']!r} != {flag!r}")


def main():
    tool = sys.argv[1]
    problems = []
    with tempfile.TemporaryDirectory() as folder:
        files = []
        for name, args, species in recordings(36):
            path = str(Path(folder) / name)
            code, _ = run(tool, "synth", *args, "-o", path)
            if code != 0:
                sys.exit(f"synth {args} failed")
            files.append((path, name, species))
        paths = [path for path, _, _ in files]
        _, info_out = run(tool, "info", *paths)
        infos = [json.loads(line) for line in info_out.decode("utf-8").splitlines()]
        if sum(not info["ok"] for info in infos) < 3:
            problems.append("fewer than three damaged recordings")
        for source, option in SOURCES.items():
            table = str(Path(folder) / f"table-{source}.csv")
            run(tool, "export", "--mode", "table", *option, "-o", table, *paths)
            data = Path(table).read_bytes()
            if data.startswith(b"\xef\xbb\xbf") or b"\r" in data:
                problems.append(f"{source}: byte-order mark or CR in the table")
            reader = csv.DictReader(io.StringIO(data.decode("utf-8"), newline=""))
            if reader.fieldnames != COLUMNS:
                problems.append(f"{source}: header {reader.fieldnames}")
            rows = list(reader)
            if len(rows) != len(files):
                problems.append(f"{source}: {len(rows)} rows for {len(files)} files")
            for row, info, (_, name, species) in zip(rows, infos, files):
                check_row(row, info, name, species, source, problems)
    if problems:
        sys.exit("\n".join(problems))
    print(f"{len(files)} files agree in {len(SOURCES)} sources")


if __name__ == "__main__":
    main()

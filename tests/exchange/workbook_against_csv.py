#!/usr/bin/env python3
"""Reads the workbooks of `summary`, `report` and `export --mode table` (--format xlsx) with
openpyxl and compares every cell with the CSV output of the same command: texts equal,
numbers equal to Excel's precision with their decimals as the cell format, dates and times
as the same day and time, empty cells for empty fields, the header row frozen. Then the
failures: an output that is an input, a FIFO, a full file system (when one can be mounted).
Usage: workbook_against_csv.py MIRADO_CLI (exit 77 when openpyxl or pytest is missing)"""

import csv
import datetime
import io
import os
import re
import stat
import subprocess
import sys
from pathlib import Path

try:
    import openpyxl
    import pytest
except ImportError:
    sys.exit(77)

TOOL = os.environ.get("MIRADO_CLI", "")
SAMPLES = Path(__file__).resolve().parents[2] / "samples"
# Texts a reader must take back whole, identifiers that look like numbers among them.
GENERATED = [
    ["--animal-no", "007", "--study-no", "12", "--comment", "a,\"b\"\nc"],
    ["--animal-no", "8", "--study-no", "12", "--incomplete", "--date", "24/02/29"],
    ["--animal-no", "8", "--study-no", "試験", "--species", "rat", "--date", "99/99/99"],
]


def run(*args):
    return subprocess.run([TOOL, *map(str, args)], capture_output=True, check=False)


@pytest.fixture(scope="module")
def recordings(tmp_path_factory):
    folder = tmp_path_factory.mktemp("in")
    paths = sorted(SAMPLES.glob("*.0*"))
    for seed, args in enumerate(GENERATED, start=21):
        path = folder / f"g{seed}.001"
        assert run("synth", "--seed", seed, "-o", path, *args).returncode == 0
        paths.append(path)
    # a decision by hand gives the excluded table its moment column
    assert run("review", "reject", "--reason", "movement", paths[-1]).returncode == 0
    return paths


def csv_tables(text):
    """The tables of a CSV text: blank lines separate them, comment lines are skipped."""
    tables, lines = [], []
    for line in text.splitlines(keepends=True) + ["\n"]:
        if line.startswith("#"):
            continue
        if line.strip() == "" and lines and lines[-1].count('"') % 2 == 0 and \
                "".join(lines).count('"') % 2 == 0:
            tables.append(list(csv.reader(io.StringIO("".join(lines)))))
            lines = []
        elif line.strip() != "" or lines:
            lines.append(line)
    return tables


def decimals(text):
    return len(text) - text.index(".") - 1 if "." in text else 0


def check_cell(cell, text, where):
    value = cell.value
    if text == "":
        assert value is None, where
    elif isinstance(value, str):
        assert value == text, where
    elif isinstance(value, datetime.datetime) and cell.number_format == "yy/mm/dd":
        assert value.strftime("%y/%m/%d") == text, where
    elif isinstance(value, datetime.datetime):
        assert cell.number_format == "yyyy-mm-dd hh:mm:ss", where
        assert value.strftime("%Y-%m-%dT%H:%M:%S") + text[19:] == text, where
        assert text[19:] in ("Z", "+00:00"), where
    elif isinstance(value, datetime.time):
        assert value.strftime("%H:%M:%S") == text and cell.number_format == "hh:mm:ss", where
    else:
        assert isinstance(value, (int, float)), where
        assert value == pytest.approx(float(text), rel=1e-15, abs=0), where
        expected = "General" if "e" in text.lower() else \
            "0" + ("." + "0" * decimals(text) if decimals(text) else "")
        assert cell.number_format == expected, where


# Columns that stay text whatever they hold.
TEXT_COLUMNS = {"path", "file", "animal_no", "study_no", "weight", "sex_age", "comment",
                "error", "path_bytes", "reason", "note", "user", "decided_by"}


def check_typed(cell, header, text, where):
    """A number outside the text columns, and a valid date, time or moment, is no text."""
    number = re.fullmatch(r"-?(0|[1-9][0-9]*)(\.[0-9]+)?", text)
    if header not in TEXT_COLUMNS and number and not header.endswith("_no"):
        assert not isinstance(cell.value, str), where
    if header == "decided_at" and text:
        assert isinstance(cell.value, datetime.datetime), where
    if header in ("date", "time") and re.fullmatch(r"2[0-3]:[0-5]\d:[0-5]\d|\d\d/0[1-9]/[01]\d",
                                                   text):
        assert not isinstance(cell.value, str), where


def compare(workbook_path, names, tables):
    book = openpyxl.load_workbook(workbook_path)
    assert book.sheetnames == names
    for name, table in zip(names, tables):
        sheet = book[name]
        assert sheet.freeze_panes == "A2", name
        assert sheet.max_row == len(table), name
        for r, row in enumerate(table, start=1):
            for c, text in enumerate(row, start=1):
                check_cell(sheet.cell(r, c), text, (name, r, c, text))
                if r > 1:
                    check_typed(sheet.cell(r, c), table[0][c - 1], text, (name, r, c, text))
            assert sheet.max_column == len(row), (name, r)
        for c, header in enumerate(table[0], start=1):
            assert sheet.cell(1, c).font.b, (name, header)
    return book


@pytest.mark.parametrize("args", [[], ["--by", "animal"], ["--analysis", "sm"],
                                  ["--profile", "acclimation-2sd"]])
def test_summary(recordings, tmp_path, args):
    text = run("summary", *recordings, *args).stdout.decode()
    out = tmp_path / "s.xlsx"
    assert run("summary", *recordings, *args, "--format", "xlsx", "-o", out).returncode == 1
    name = "animals" if "animal" in args else "sessions"
    compare(out, [name], csv_tables(text))


@pytest.mark.parametrize("profile", ["all", "screening"])
def test_report(recordings, tmp_path, profile):
    text = run("report", *recordings, "--profile", profile).stdout.decode()
    out = tmp_path / "r.xlsx"
    assert run("report", *recordings, "--profile", profile, "--format", "xlsx", "-o",
               out).returncode == 1
    tables = csv_tables(text)
    assert "decided_at" in tables[1][0] and any(row[-2] for row in tables[1][1:])
    book = compare(out, ["profile", "sessions", "excluded"],
                   [[["profile"], [text.splitlines()[0][len("# profile: "):]]]] + tables)
    assert len(tables) == 2


@pytest.mark.parametrize("args", [[], ["--analysis", "s"], ["--profile", "cv20"]])
def test_table(recordings, tmp_path, args):
    csv_out, xlsx_out = tmp_path / "t.csv", tmp_path / "t.xlsx"
    assert run("export", "--mode", "table", *recordings, *args, "-o", csv_out).returncode == 1
    assert run("export", "--mode", "table", *recordings, *args, "--format", "xlsx", "-o",
               xlsx_out).returncode == 1
    book = compare(xlsx_out, ["table"], csv_tables(csv_out.read_text()))
    # identifiers stay text even where they look like numbers
    sheet = book["table"]
    column = [c.value for c in sheet[1]].index("animal_no") + 1
    assert {sheet.cell(r, column).value for r in range(2, sheet.max_row + 1)} >= {"007", "8"}


@pytest.mark.parametrize("command,sheet", [(["summary", "--level", "group"], "groups"),
                                           (["summary", "--level", "reading", "--profile",
                                             "screening"], "readings"),
                                           (["stats"], "tests")])
def test_study_tables(recordings, tmp_path, command, sheet):
    text = run(*command, *recordings).stdout.decode()
    out = tmp_path / "g.xlsx"
    run(*command, *recordings, "--format", "xlsx", "-o", out)
    compare(out, [sheet], csv_tables(text))


@pytest.mark.parametrize("command", [
    ["summary", "--format", "xlsx"],
    ["stats", "--format", "xlsx"],
    ["report", "--profile", "all", "--format", "xlsx"],
    ["export", "--mode", "table", "--format", "xlsx"],
])
def test_failed_writes_leave_nothing(recordings, tmp_path, command):
    # an input as the output
    itself = run(*command, *recordings, "-o", recordings[-1])
    assert itself.returncode == 2 and recordings[-1].read_bytes()[:2] != b"PK"
    fifo = tmp_path / "fifo.xlsx"
    os.mkfifo(fifo)
    done = run(*command, *recordings, "-o", fifo)
    assert done.returncode == 1 and str(fifo).encode() in done.stderr
    assert stat.S_ISFIFO(os.stat(fifo).st_mode) and os.listdir(tmp_path) == ["fifo.xlsx"]


def test_xlsx_needs_an_output_file(recordings):
    for command in (["summary"], ["report", "--profile", "all"], ["stats"]):
        done = run(*command, *recordings, "--format", "xlsx")
        assert done.returncode == 2 and b"-o OUT" in done.stderr
    assert run("export", "--mode", "dominant", *recordings, "--format", "xlsx", "-o",
               "/tmp/x.xlsx").returncode == 2


if __name__ == "__main__":
    TOOL = sys.argv[1]
    os.environ["MIRADO_CLI"] = TOOL
    sys.exit(pytest.main([__file__, "-q", "-p", "no:cacheprovider"]))

#!/usr/bin/env python3
"""Writes generated recordings and the sample set as EDF+ with `mirado-cli edf`, reads them
back with MNE-Python and checks every sample against `mirado-cli samples` and every
annotation against `mirado-cli info` (onsets to the 0.1 ms the files count in); then the
failures: an output that is an input, two files of one name, a folder that cannot be
written, a FIFO in place of an output.
Usage: edf_against_samples.py MIRADO_CLI (exit 77 when MNE-Python or pytest is missing)"""

import csv
import io
import json
import os
import stat
import subprocess
import sys
import tempfile
from pathlib import Path

try:
    import mne
    import pytest
except ImportError:
    sys.exit(77)

TOOL = os.environ.get("MIRADO_CLI", "")
# (file name, synth arguments): every species' interval, an incomplete result, Japanese
# and full-width texts, spaces, a leap day and a date that is none.
RECORDINGS = [
    ("mouse.001", ["--species", "mouse", "--animal-no", "M 12", "--sex-age", "雄 8週"]),
    ("rat.001", ["--species", "rat", "--incomplete", "--animal-no", "ＲＡＴ１",
                 "--comment", "再測定 \"a\", b"]),
    ("rabbit.001", ["--species", "rabbit", "--date", "84/02/29", "--time", "23:59:59"]),
    ("dog.001", ["--species", "dog", "--weight", "9.5kg", "--study-no", "試験A"]),
    ("other.001", ["--species", "other", "--date", "99/13/40", "--time", "25:00:00"]),
    ("flat.001", ["--species", "rat", "--flat"]),
]
SAMPLES = ["DG0511.001", "MS0412.001", "OT0420.001", "RB0502.001", "FLAT0603.001"]


def run(*args):
    return subprocess.run([TOOL, *map(str, args)], capture_output=True, check=False)


def half_round(raw):
    return (raw + 1) // 2 if raw >= 0 else -((1 - raw) // 2)


@pytest.fixture(scope="module")
def exported(tmp_path_factory):
    inputs = tmp_path_factory.mktemp("in")
    for seed, (name, args) in enumerate(RECORDINGS, start=3):
        assert run("synth", "--seed", seed, "-o", inputs / name, *args).returncode == 0
    samples = Path(__file__).resolve().parents[2] / "samples"
    paths = [inputs / name for name, _ in RECORDINGS] + [samples / name for name in SAMPLES]
    out = tmp_path_factory.mktemp("edf")
    done = run("edf", *paths, "-o", out)
    assert done.returncode == 0, done.stderr.decode()
    return paths, out


def info_of(path):
    return json.loads(run("info", path).stdout)


def raw_of(out, path):
    return mne.io.read_raw_edf(out / (path.name + ".edf"), preload=True, verbose="error")


def test_every_sample_is_exact(exported):
    paths, out = exported
    for path in paths:
        raw = raw_of(out, path)
        rows = list(csv.DictReader(io.StringIO(run("samples", path).stdout.decode())))
        info = info_of(path)
        assert raw.info["sfreq"] == 10000 / info["sampling"], path
        cuff, pulse = raw.get_data()
        assert len(cuff) == len(rows) == 4000
        for i, row in enumerate(rows):
            raw_cuff = int(row["cuff_raw"])
            assert cuff[i] == raw_cuff / 2, (path, i)
            assert pulse[i] == int(row["optical"]), (path, i)
            # the pointer readout's whole mmHg is the physical value rounded half away from 0
            assert half_round(raw_cuff) == int(row["cuff_mmHg"]), (path, i)


def expected_annotations(info):
    stored = info["stored"]
    texts = {"animal_no": "Animal no.: ", "study_no": "Study no.: ", "weight": "Weight: ",
             "sex_age": "Sex/age: ", "comment": "Comment: "}
    start = [label + info[key] for key, label in texts.items() if info[key]]
    start.append(f"SBP {stored['sbp']} mmHg")
    if info["valid"]:
        start += [f"MBP {stored['mbp']} mmHg", f"DBP {stored['dbp']} mmHg"]
    start.append(f"HR {stored['hr']} bpm")
    timed = [(stored["marker_s"], "Marker S")] if stored["marker_s"] else []
    timed += [(stored["marker_m"], "Marker M")] if stored["marker_m"] and info["valid"] else []
    timed += [(beat, "Beat") for beat in stored["beats"]]
    timed.sort(key=lambda event: event[0])
    return start, [(index * info["sampling"], text) for index, text in timed]


def test_every_annotation_is_in_place(exported):
    paths, out = exported
    for path in paths:
        info = info_of(path)
        annotations = raw_of(out, path).annotations
        at_start = [a["description"] for a in annotations if a["onset"] == 0]
        timed = [(round(a["onset"] * 10000), a["description"]) for a in annotations
                 if a["description"] in ("Marker S", "Marker M", "Beat")]
        start, expected_timed = expected_annotations(info)
        assert [t for t in at_start if t in start] == start, path
        assert any(t.startswith("Result code ") for t in at_start), path
        assert any(t.startswith("Review: ") for t in at_start), path
        # onsets are exact to the 0.1 ms unit: compare before rounding too
        assert timed == expected_timed, path
        for annotation, (units, _) in zip([a for a in annotations if a["description"] in
                                           ("Marker S", "Marker M", "Beat")], expected_timed):
            assert abs(annotation["onset"] - units / 10000) < 1e-9


@pytest.mark.parametrize("name, start, patient", [
    ("mouse.001", None, "M_12"),
    ("rat.001", None, "RAT1"),
    ("rabbit.001", (2084, 2, 29, 23, 59, 59), None),
])
def test_header_fields(exported, name, start, patient):
    paths, out = exported
    path = next(p for p in paths if p.name == name)
    header = (out / (name + ".edf")).read_bytes()[:256]
    assert all(32 <= b < 127 for b in header)
    assert header[192:197] == b"EDF+C"
    if patient:
        assert header[8:88].split(b" ")[0].decode() == patient
    if start:
        date = raw_of(out, path).info["meas_date"]
        assert (date.year, date.month, date.day, date.hour, date.minute, date.second) == start


def test_review_decision_by_hand(tmp_path):
    recording = tmp_path / "r.001"
    assert run("synth", "--seed", 5, "-o", recording).returncode == 0
    assert run("review", "reject", recording, "--reason", "movement").returncode == 0
    out = tmp_path / "out"
    out.mkdir()
    assert run("edf", recording, "-o", out).returncode == 0
    texts = [a["description"] for a in raw_of(out, recording).annotations]
    assert any(t.startswith("Review: rejected") and "movement" in t for t in texts), texts


def test_refusals_write_nothing(tmp_path):
    first = tmp_path / "a" / "r.001"
    second = tmp_path / "b" / "r.001"
    for path in (first, second):
        path.parent.mkdir()
        assert run("synth", "-o", path).returncode == 0
    same_name = run("edf", first, second, "-o", tmp_path / "a")
    assert same_name.returncode == 1 and b"both" in same_name.stderr
    # an input named like the output it would get
    odd = tmp_path / "a" / "r.001.edf"
    assert run("synth", "-o", odd).returncode == 0
    os.symlink(odd, tmp_path / "b" / "r.001.edf.edf")
    itself = run("edf", odd, "-o", tmp_path / "b")
    assert itself.returncode == 1 and b"one of the files" in itself.stderr
    assert sorted(os.listdir(tmp_path / "a")) == ["r.001", "r.001.edf"]
    for folder in (tmp_path / "missing", first):
        done = run("edf", first, "-o", folder)
        assert done.returncode == 1 and b"no such folder" in done.stderr


@pytest.mark.skipif(os.geteuid() == 0, reason="root writes into a read-only folder")
def test_read_only_folder(tmp_path):
    recording = tmp_path / "r.001"
    assert run("synth", "-o", recording).returncode == 0
    out = tmp_path / "out"
    out.mkdir()
    out.chmod(stat.S_IRUSR | stat.S_IXUSR)
    try:
        done = run("edf", recording, "-o", out)
    finally:
        out.chmod(stat.S_IRWXU)
    assert done.returncode == 1 and b"r.001.edf" in done.stderr
    assert os.listdir(out) == []


def test_fifo_in_place_of_an_output(tmp_path):
    recording = tmp_path / "r.001"
    assert run("synth", "-o", recording).returncode == 0
    out = tmp_path / "out"
    out.mkdir()
    os.mkfifo(out / "r.001.edf")
    done = run("edf", recording, "-o", out)
    assert done.returncode == 1 and b"r.001.edf" in done.stderr
    assert stat.S_ISFIFO(os.stat(out / "r.001.edf").st_mode)
    assert os.listdir(out) == ["r.001.edf"]


if __name__ == "__main__":
    TOOL = sys.argv[1]
    os.environ["MIRADO_CLI"] = TOOL
    sys.exit(pytest.main([__file__, "-q", "-p", "no:cacheprovider"]))

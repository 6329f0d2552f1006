"""Shared fixtures: the batch tool (MIRADO_CLI), the sample recordings (MIRADO_SAMPLES) and a
folder of generated recordings, made once per run."""

import io
import json
import os
import pathlib
import subprocess

import numpy as np
import pandas as pd
import pytest

CLI = os.environ.get("MIRADO_CLI", "mirado-cli")
SAMPLES = pathlib.Path(os.environ.get("MIRADO_SAMPLES", "samples"))

# Generated recordings: species, options. Each row a different path through the methods.
GENERATED = [
    ("mouse", []),
    ("rat", ["--noise", "30", "--missing-beats", "2"]),
    ("rabbit", ["--spikes", "3"]),
    ("monkey", ["--saturated"]),
    ("dog", ["--incomplete"]),
    ("other", ["--deflation", "slow"]),
    ("mouse", ["--flat"]),
    ("rat", ["--model", "E", "--onset", "gradual"]),
]


def run_cli(*args):
    return subprocess.run([CLI, *map(str, args)], capture_output=True, check=False)


def info_lines(paths, *options):
    result = run_cli("info", "--jobs", "1", *options, *paths)
    return [json.loads(line) for line in result.stdout.decode().splitlines()]


@pytest.fixture(scope="session")
def sample_paths():
    return sorted(p for p in SAMPLES.iterdir() if p.name != "README.md")


@pytest.fixture(scope="session")
def generated_paths(tmp_path_factory):
    folder = tmp_path_factory.mktemp("generated")
    paths = []
    for seed, (species, options) in enumerate(GENERATED, start=1):
        path = folder / f"G{seed:04d}.001"
        made = run_cli("synth", "-o", path, "--seed", seed, "--species", species, *options)
        assert made.returncode == 0, made.stderr
        paths.append(path)
    return paths


@pytest.fixture(scope="session")
def loaded_sample_paths(sample_paths):
    return [p for p, line in zip(sample_paths, info_lines(sample_paths)) if line["ok"]]


def as_text(value):
    """A frame's value as the CSV writes it."""
    if value is None or value is pd.NA or value is pd.NaT or (
            isinstance(value, float) and np.isnan(value)):
        return ""
    if isinstance(value, pd.Timestamp):
        return value.strftime("%y/%m/%d")
    if isinstance(value, (bool, np.bool_)):
        return "1" if value else "0"
    if isinstance(value, float):
        return repr(value)
    return str(value)


def assert_frame_matches_csv(frame, text, date_texts=None):
    """Every cell of the frame written back as text equals the CSV's field."""
    expected = pd.read_csv(io.StringIO(text), dtype=str, keep_default_na=False)
    assert list(frame.columns) == list(expected.columns)
    assert len(frame) == len(expected)
    for column in frame.columns:
        for row, (value, field) in enumerate(zip(frame[column], expected[column])):
            shown = as_text(value)
            if column in ("date", "session") and shown == "" and field:
                assert date_texts is not None, (row, field)  # a date that does not read
                continue
            if isinstance(value, float) and field:
                assert value == pytest.approx(float(field), rel=1e-15), (column, row)
            else:
                assert shown == field, (column, row)

"""mirado.read against the batch tool's info on the samples and on generated recordings."""

import os
import pathlib
import subprocess
import sys

import numpy as np
import pytest

import mirado
from conftest import info_lines

TEXT_KEYS = ["date", "time", "animal_no", "study_no", "weight", "sex_age", "comment"]


def check_against_info(path, line):
    recording = mirado.read(path)
    for key in TEXT_KEYS:
        assert getattr(recording, key) == line[key], key
    assert recording.sampling == line["sampling"]
    assert recording.sample_interval_s == pytest.approx(line["sampling"] / 10000)
    assert recording.sense == line["sense"]
    assert recording.valid == line["valid"]
    assert recording.model == line["model"]
    assert recording.stored == line["stored"]
    stored = line["stored"]
    assert recording.markers == (stored["marker_s"], stored["marker_m"], stored["marker_d"])
    assert recording.beats.dtype == np.int16
    assert recording.beats.tolist() == stored["beats"]
    assert recording.method_a() == line["method_a"]
    assert recording.method_e() == line["method_e"]
    assert recording.inflation_pressure == line["inflation_pressure"]
    assert recording.cuff.dtype == np.int16 and recording.pulse.dtype == np.int16
    assert recording.cuff.tolist() == line["ch1"]
    assert recording.pulse.tolist() == line["ch2"]


def test_samples_read_as_info_reports_them(loaded_sample_paths):
    lines = info_lines(loaded_sample_paths, "--samples")
    assert len(lines) >= 10
    for path, line in zip(loaded_sample_paths, lines):
        check_against_info(path, line)


def test_generated_recordings_read_as_info_reports_them(generated_paths):
    for path, line in zip(generated_paths, info_lines(generated_paths, "--samples")):
        assert line["ok"], line["error"]
        check_against_info(path, line)


def expected_readout(cuff):
    """The readout written out: the mean of four samples truncated toward zero, then
    halved and rounded half away from zero; none for the last three samples."""
    sums = np.array([int(cuff[i:i + 4].astype(np.int64).sum()) for i in range(len(cuff) - 3)])
    means = np.trunc(sums / 4)
    halves = np.sign(means) * np.floor(np.abs(means) / 2 + 0.5)
    return np.concatenate([halves, [np.nan] * 3])


def test_cuff_mmhg_and_time(loaded_sample_paths, generated_paths):
    for path in [*loaded_sample_paths, *generated_paths]:
        recording = mirado.read(path)
        np.testing.assert_array_equal(recording.cuff_mmhg, expected_readout(recording.cuff))
        assert recording.time_s.shape == (4000,)
        assert recording.time_s[100] == pytest.approx(100 * recording.sampling / 10000)


@pytest.mark.parametrize(
    "name, content",
    [
        ("empty.001", b""),
        ("text.001", b"not a recording\n" * 10),
        ("truncated.001", None),  # the first half of a sample
        ("missing.001", "missing"),
        ("folder.001", "folder"),
    ],
)
def test_damaged_input_raises_with_path_and_message(tmp_path, sample_paths, name, content):
    path = tmp_path / name
    if content is None:
        path.write_bytes(sample_paths[0].read_bytes()[:3000])
    elif content == "folder":
        path.mkdir()
    elif content != "missing":
        path.write_bytes(content)
    (line,) = info_lines([path])
    assert not line["ok"]
    with pytest.raises(mirado.RecordingError) as raised:
        mirado.read(path)
    assert isinstance(raised.value, Exception)
    assert raised.value.path == str(path)
    assert raised.value.message == line["error"]
    assert str(raised.value) == str(path) + line["error"]


def test_a_fifo_raises_at_once(tmp_path):
    fifo = tmp_path / "pipe.001"
    os.mkfifo(fifo)
    with pytest.raises(mirado.RecordingError, match="not a regular file"):
        mirado.read(fifo)


@pytest.mark.parametrize("call", [mirado.read, mirado.table, mirado.summary])
def test_a_nul_byte_in_a_path_is_refused(loaded_sample_paths, call):
    # The name would end at the NUL and the file before it would be read instead.
    with pytest.raises(ValueError, match="null byte"):
        call(str(loaded_sample_paths[0]) + "\0.bak")


def test_the_damaged_sample_raises(sample_paths):
    damaged = [p for p in sample_paths if p.name.startswith("DMG")]
    assert damaged
    with pytest.raises(mirado.RecordingError):
        mirado.read(damaged[0])


def test_path_kinds_name_the_same_file(loaded_sample_paths, tmp_path):
    path = loaded_sample_paths[0]
    odd = tmp_path / os.fsdecode(b"caf\xe9.001")  # a name that is not UTF-8
    odd.write_bytes(path.read_bytes())
    expected = mirado.read(str(path)).cuff
    for kind in [pathlib.Path(path), os.fsencode(path), odd, os.fsencode(odd)]:
        np.testing.assert_array_equal(mirado.read(kind).cuff, expected)
    assert mirado.read(odd).path == str(odd)


def test_reading_imports_no_pandas(loaded_sample_paths):
    code = (
        "import sys, mirado; mirado.read(sys.argv[1]); "
        "sys.exit(1 if 'pandas' in sys.modules else 0)"
    )
    result = subprocess.run([sys.executable, "-c", code, str(loaded_sample_paths[0])])
    assert result.returncode == 0


def test_help_shows_the_docstrings():
    assert "RecordingError" in mirado.read.__doc__
    assert "int16" in mirado.Recording.cuff.__doc__
    assert "info" in mirado.Recording.method_a.__doc__

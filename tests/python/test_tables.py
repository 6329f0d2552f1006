"""mirado.table and mirado.summary against the batch tool's CSV of the same files."""

import numpy as np
import pandas as pd
import pytest

import mirado
from conftest import assert_frame_matches_csv, run_cli

INTEGER_COLUMNS = ["inflation_mmhg", "sbp", "mbp", "dbp", "hr", "marker_s", "marker_m",
                   "marker_interval_ms", "code"]


def cli_csv(tmp_path, command, paths, *options):
    out = tmp_path / "out.csv"
    if command == "export":
        run_cli("export", "--mode", "table", "-o", out, *options, *paths)
        return out.read_text(encoding="utf-8")
    return run_cli("summary", *options, *paths).stdout.decode()


@pytest.mark.parametrize("source, options", [("stored", []), ("sm", ["--analysis", "sm"]),
                                             ("s", ["--analysis", "s"])])
def test_table_matches_the_export(tmp_path, sample_paths, generated_paths, source, options):
    paths = [*sample_paths, *generated_paths]
    frame = mirado.table(paths, source=source)
    assert_frame_matches_csv(frame, cli_csv(tmp_path, "export", paths, *options))


def test_table_types(sample_paths):
    frame = mirado.table(sample_paths)
    for column in INTEGER_COLUMNS:
        assert frame[column].dtype == "Int64", column
    assert frame["sampling_ms"].dtype == np.float64
    assert frame["complete"].dtype == "boolean"
    assert frame["date"].dtype == "datetime64[ns]"
    for column in ["path", "animal_no", "comment", "flag", "error"]:
        assert frame[column].dtype == object, column
    damaged = frame[frame["file"].str.startswith("DMG")].iloc[0]
    assert damaged["sbp"] is pd.NA and damaged["animal_no"] is None
    assert pd.isna(damaged["date"]) and damaged["error"]
    loaded = frame[frame["file"] == "DG0511.001"].iloc[0]
    assert loaded["date"] == pd.Timestamp(2024, 12, 7) and loaded["sbp"] == 142


@pytest.mark.parametrize("profile", ["all", "acclimation-2sd", "screening"])
def test_table_with_a_profile_matches_the_export(tmp_path, sample_paths, profile):
    frame = mirado.table(sample_paths, profile=profile)
    assert list(frame.columns[-2:]) == ["status", "reason"]
    assert_frame_matches_csv(frame,
                             cli_csv(tmp_path, "export", sample_paths, "--profile", profile))


@pytest.mark.parametrize("level, options", [("session", []), ("animal", ["--by", "animal"])])
@pytest.mark.parametrize("profile", [None, "acclimation-2sd"])
def test_summary_matches_the_batch_tool(tmp_path, sample_paths, generated_paths, level, options,
                                        profile):
    paths = [*sample_paths, *generated_paths]
    if profile:
        options = [*options, "--profile", profile]
    frame = mirado.summary(paths, profile=profile, level=level)
    assert frame["sbp_mean"].dtype == np.float64 and frame["sbp_min"].dtype == "Int64"
    assert frame["n"].dtype == "Int64" and frame["date"].dtype == "datetime64[ns]"
    assert_frame_matches_csv(frame, cli_csv(tmp_path, "summary", paths, *options),
                             date_texts=True)


def test_the_same_frame_for_any_number_of_threads(sample_paths, generated_paths):
    paths = [*sample_paths, *generated_paths] * 3
    assert mirado.table(paths, jobs=1).equals(mirado.table(paths, jobs=0))
    assert mirado.table(paths, jobs=1).equals(mirado.table(paths, jobs=3))


@pytest.mark.parametrize(
    "call, message",
    [
        (lambda p: mirado.table(p, source="x"), "source"),
        (lambda p: mirado.table(p, profile="no such profile"), "profile"),
        (lambda p: mirado.summary(p, level="week"), "level"),
    ],
)
def test_bad_arguments_are_refused(sample_paths, call, message):
    with pytest.raises(ValueError, match=message):
        call(sample_paths)


def test_one_path_and_no_paths(sample_paths):
    assert len(mirado.table(sample_paths[0])) == 1
    empty = mirado.table([])
    assert len(empty) == 0 and "sbp" in empty.columns

"""mirado.summary(level="group" and "reading") and mirado.stats against the batch tool on a generated
study: two groups of three rats, two sessions, two readings each."""

import warnings

import numpy as np
import pytest

import mirado
from conftest import assert_frame_matches_csv, run_cli

GROUPS_CSV = "study_no,animal_no,group\nST1,1,control\nST1,2,control\nST1,3,control\n" \
             "ST1,4,treated\nST1,5,treated\nST1,6,treated\n"


@pytest.fixture(scope="module")
def study(tmp_path_factory):
    folder = tmp_path_factory.mktemp("study")
    paths = []
    for animal in range(1, 7):
        for session in (1, 2):
            for reading in (1, 2):
                sbp = 110 + 4 * animal + (15 if animal > 3 and session == 2 else 0) + reading
                path = folder / f"a{animal}_s{session}_r{reading}.001"
                made = run_cli("synth", "-o", path, "--species", "rat", "--seed",
                               animal * 100 + session * 10 + reading, "--sbp", sbp, "--dbp", 70,
                               "--study-no", "ST1", "--animal-no", animal, "--date",
                               f"24/03/{session * 7:02d}", "--time", f"10:0{reading}:00")
                assert made.returncode == 0, made.stderr
                paths.append(path)
    (folder / "mirado-groups.csv").write_text(GROUPS_CSV)
    return paths


def cli_text(*args):
    result = run_cli(*args)
    return result.stdout.decode()


@pytest.mark.parametrize("options, keywords", [
    ([], {}),
    (["--change-from-baseline"], {"change_from_baseline": True}),
    (["--change-from-baseline", "--baseline", "24/03/14"],
     {"change_from_baseline": True, "baseline": "24/03/14"}),
    (["--profile", "acclimation-2sd"], {"profile": "acclimation-2sd"}),
])
def test_group_level_matches_the_batch_tool(study, options, keywords):
    frame = mirado.summary(study, level="group", **keywords)
    assert list(frame["group"].unique()) == ["control", "treated"]
    assert frame["sbp_n"].dtype == "Int64" and frame["sbp_mean"].dtype == np.float64
    assert_frame_matches_csv(frame, cli_text("summary", "--level", "group", *options, *study))


@pytest.mark.parametrize("options, keywords", [
    ([], {}),
    (["--profile", "acclimation-2sd", "--analysis", "s"],
     {"profile": "acclimation-2sd", "source": "s"}),
])
def test_reading_level_matches_the_batch_tool(study, options, keywords):
    frame = mirado.summary(study, level="reading", **keywords)
    assert len(frame) == len(study)
    assert frame["sbp"].dtype == "Int64" and frame["date"].dtype == "datetime64[ns]"
    assert list(frame["group"].unique()) == ["control", "treated"]
    assert_frame_matches_csv(frame, cli_text("summary", "--level", "reading", *options, *study))


@pytest.mark.parametrize("options, keywords", [
    ([], {}),
    (["--measure", "sbp"], {"measure": "sbp"}),
    (["--control", "treated"], {"control": "treated"}),
])
def test_stats_match_the_batch_tool(study, options, keywords):
    frame = mirado.stats(study, **keywords)
    assert frame["F"].dtype == np.float64 and frame["n"].dtype == "Int64"
    assert frame["session"].dtype == "datetime64[ns]"
    assert_frame_matches_csv(frame, cli_text("stats", *options, *study))
    anova = frame[(frame["test"] == "anova") & (frame["measure"] == "sbp")]
    assert list(anova["term"]) == ["group", "session", "group:session"]


def test_a_named_groups_file_and_its_warnings(study, tmp_path):
    groups = tmp_path / "other.csv"
    groups.write_text(GROUPS_CSV.replace("ST1,6,treated\n", "ST1,6,treated\nST1,99,treated\n"))
    with warnings.catch_warnings(record=True) as caught:
        warnings.simplefilter("always")
        frame = mirado.stats(study, groups=groups)
    assert any("line 8" in str(w.message) for w in caught)
    assert_frame_matches_csv(frame, cli_text("stats", "--groups", groups, *study))


@pytest.mark.parametrize("call, message", [
    (lambda p: mirado.stats(p, control="nobody"), "no group"),
    (lambda p: mirado.stats(p, measure="weight"), "measure"),
    (lambda p: mirado.summary(p, groups="g.csv"), "level"),
    (lambda p: mirado.summary(p, level="group", change_from_baseline=True, baseline="01/01/01"),
     "baseline"),
    (lambda p: mirado.stats(p, groups="/nonexistent/groups.csv"), "groups"),
])
def test_bad_study_arguments_are_refused(study, call, message):
    with pytest.raises(ValueError, match=message):
        call(study)

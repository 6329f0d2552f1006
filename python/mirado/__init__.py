"""Tail-cuff blood-pressure recordings for Python.

``read(path)`` gives one recording with its channels as numpy arrays and both methods'
results; ``table(paths)``, ``summary(paths)`` and ``stats(paths)`` give the table export,
the study summary and the study's tests of many recordings as pandas DataFrames, read on
all cores. pandas is imported only when a DataFrame is asked for.
"""

import os
import warnings as _warnings

from ._mirado import Recording, RecordingError
from . import _mirado

__all__ = ["Recording", "RecordingError", "read", "table", "summary", "stats"]


def _path_bytes(path):
    """The path's bytes; a NUL byte would end the name early and name another file."""
    encoded = os.fsencode(path)
    if b"\0" in encoded:
        raise ValueError(f"embedded null byte in path {path!r}")
    return encoded


def _paths_bytes(paths):
    if isinstance(paths, (str, bytes, os.PathLike)):
        paths = [paths]
    return [_path_bytes(path) for path in paths]


def _optional_path_bytes(path):
    return None if path is None else _path_bytes(path)


def read(path):
    """Read one recording.

    path: a str, bytes or os.PathLike naming the file.
    Returns a Recording: identification texts as str, the stored results, markers and
    beats, ``cuff`` and ``pulse`` as numpy int16 arrays of the decoded samples,
    ``cuff_mmhg`` as the viewer's readout, ``time_s``, the sample interval, and
    ``method_a()`` and ``method_e()`` as ``mirado-cli info`` reports them.
    Raises RecordingError (with ``.path`` and ``.message``) when the file cannot be read
    or does not decode as a recording.
    """
    return _mirado.read(_path_bytes(path))


def _frame(columns, warned):
    import numpy as np
    import pandas as pd

    for warning in warned:
        _warnings.warn(warning, stacklevel=3)
    data = {}
    for name, kind, values, missing in columns:
        if kind == "str":
            data[name] = pd.Series(values, dtype=object)
        elif kind == "int":
            data[name] = pd.arrays.IntegerArray(values, missing)
        elif kind == "bool":
            data[name] = pd.arrays.BooleanArray(values.astype(bool), missing)
        elif kind == "float":
            data[name] = values
        else:
            days = values.astype("datetime64[D]")
            days[missing] = np.datetime64("NaT")
            data[name] = days.astype("datetime64[ns]")
    return pd.DataFrame(data)


def table(paths, source="stored", profile=None, jobs=0):
    """The table export of the files as a pandas DataFrame, one row per file.

    The columns are those of ``mirado-cli export --mode table``: numbers as Int64 (nullable)
    or float64, ``date`` as datetime64 (NaT when it does not read as YY/MM/DD),
    ``complete`` as boolean, texts as str; a missing value is NA.
    source: "stored" (the values stored in the files), "s" or "sm" (the program's own
    analysis as Analysis S or Analysis S-M).
    profile: a built-in acceptance profile's id or name, or a profile file; adds the
    columns ``status`` and ``reason`` of each row's review (with the review logs'
    decisions), as ``--profile`` does.
    jobs: threads to read on; 0 uses every core.
    A file that fails to load keeps its path, name and message in ``error``.
    """
    columns, warned = _mirado._table_columns(_paths_bytes(paths), source, profile, jobs)
    return _frame(columns, warned)


def summary(paths, profile=None, groups=None, level="session", source="stored", jobs=0,
            change_from_baseline=False, baseline=None):
    """The study summary of the files as a pandas DataFrame, as ``mirado-cli summary``.

    level: "session" (one row per study, animal and recording date), "animal" (one row
    per study and animal over all its readings; ``date`` is then NaT), "group" (one row
    per group of animals and session, as ``--level group``) or "reading" (one row per
    file, as ``--level reading``: path, study_no, animal_no, group, date, time, sbp, mbp,
    dbp, hr, status, reason, path_bytes; the values only for a complete reading, the
    status under ``profile`` and the review logs, or without one accepted, incomplete or
    damaged).
    Columns of the session and animal levels: study_no, animal_no, date, n, n_complete,
    and for sbp, mbp, dbp and hr each _n, _mean, _sd, _se, _min, _max. Of the group level:
    group, date, and for each measure _n, _mean, _sd, _sem, _min, _max over the animals'
    values (each the mean of its readings in the session).
    groups: the groups table (CSV: study_no, animal_no, group) of the group and reading
    levels; by default
    mirado-groups.csv in the folder of the files, else every animal in "(none)".
    change_from_baseline: the group level of each animal's change from its value in the
    baseline session (the first, or the date ``baseline`` names).
    profile: count only the readings accepted under this acceptance profile.
    source and jobs as for table(). ``date`` is NaT where the date does not read as
    YY/MM/DD.
    """
    if level == "group":
        start = (baseline or "") if change_from_baseline else None
        columns, warned = _mirado._group_level_columns(_paths_bytes(paths), source, profile,
                                                       _optional_path_bytes(groups), start, jobs)
        return _frame(columns, warned)
    if level == "reading" and not change_from_baseline and baseline is None:
        columns, warned = _mirado._reading_level_columns(_paths_bytes(paths), source, profile,
                                                         _optional_path_bytes(groups), jobs)
        return _frame(columns, warned)
    if groups is not None or change_from_baseline or baseline is not None:
        raise ValueError("groups need level=\"group\" or \"reading\"; change_from_baseline "
                         "and baseline need level=\"group\"")
    columns, warned = _mirado._summary_columns(_paths_bytes(paths), source, profile, level, jobs)
    return _frame(columns, warned)


def stats(paths, groups=None, control=None, measure=None, profile=None, source="stored",
          jobs=0):
    """The tests of a study over its groups and sessions as a DataFrame, as ``mirado-cli stats``.

    Per measure (sbp, mbp, dbp, hr, or only ``measure``) the mixed ANOVA rows (test
    "anova": term, df_num, df_den, F, p, ges, gg_epsilon, p_gg, hf_epsilon, p_hf), then per
    session each group against the control group with Welch's t test (test "welch":
    session, group, control, n, n_control, t, df, p, p_holm). A number that cannot be
    computed is NaN; the reason, and the animals left out of an ANOVA, come as warnings.
    groups: the groups table as for summary(); control: the control group's name (the
    first group by default); profile, source and jobs as for table().
    """
    columns, warned = _mirado._stats_columns(_paths_bytes(paths), source, profile,
                                             _optional_path_bytes(groups),
                                             control, measure, jobs)
    return _frame(columns, warned)

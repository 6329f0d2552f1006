#!/usr/bin/env python3
"""mirado.table against the batch tool's table export read back by pandas.

Target: mirado.table on 10,000 recordings takes at most 1.5 times as long as
`mirado-cli export --mode table` of the same files plus pandas.read_csv of its output.
Both read on every core. Run from the repository's root after
`scripts/build release mirado-cli _mirado`:

    PYTHONPATH=build/release/python /usr/bin/python3 bench/python_table.py [COUNT] [REPEATS]

The recordings are copies of a few generated ones under a scratch folder, so every
file is read and decoded from its own bytes. Each side's best of REPEATS runs is shown.
"""

import os
import pathlib
import resource
import shutil
import subprocess
import sys
import tempfile
import time

import pandas as pd

import mirado

ROOT = pathlib.Path(__file__).resolve().parent.parent
CLI = os.environ.get("MIRADO_CLI", str(ROOT / "build/release/src/cli/mirado-cli"))
SPECIES = ["mouse", "rat", "rabbit", "monkey", "dog", "other"]


def make_recordings(folder, count):
    originals = []
    for seed in range(1, 25):
        path = folder / f"seed{seed}.001"
        subprocess.run([CLI, "synth", "-o", path, "--seed", str(seed), "--species",
                        SPECIES[seed % len(SPECIES)]], check=True)
        originals.append(path)
    paths = []
    for index in range(count):
        path = folder / f"R{index:05d}.001"
        shutil.copyfile(originals[index % len(originals)], path)
        paths.append(str(path))
    return paths


def cpu_seconds():
    """Processor time of this process and its finished children, user and system."""
    own = resource.getrusage(resource.RUSAGE_SELF)
    children = resource.getrusage(resource.RUSAGE_CHILDREN)
    return own.ru_utime + own.ru_stime + children.ru_utime + children.ru_stime


def best_time(run, repeats):
    """The best wall time and the best processor time of the runs."""
    walls, cpus = [], []
    for _ in range(repeats):
        start, start_cpu = time.perf_counter(), cpu_seconds()
        run()
        walls.append(time.perf_counter() - start)
        cpus.append(cpu_seconds() - start_cpu)
    return min(walls), min(cpus)


def main():
    count = int(sys.argv[1]) if len(sys.argv) > 1 else 10000
    repeats = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    with tempfile.TemporaryDirectory() as scratch:
        folder = pathlib.Path(scratch)
        paths = make_recordings(folder, count)
        listing = folder / "list.txt"
        listing.write_text("".join(p + "\n" for p in paths))
        output = folder / "table.csv"

        def export_and_read_csv():
            subprocess.run([CLI, "export", "--mode", "table", "-o", output, "--files-from",
                            listing], check=True)
            return pd.read_csv(output)

        def module_table():
            return mirado.table(paths)

        assert len(module_table()) == len(export_and_read_csv()) == count
        cli_seconds, cli_cpu = best_time(export_and_read_csv, repeats)
        module_seconds, module_cpu = best_time(module_table, repeats)
    print(f"{count} recordings, best of {repeats}, {os.cpu_count()} cores; wall and processor time")
    print(f"mirado-cli export --mode table + pandas.read_csv: {cli_seconds:.3f} s, {cli_cpu:.3f} s")
    print(f"mirado.table:                                     {module_seconds:.3f} s, {module_cpu:.3f} s")
    ratio = module_seconds / cli_seconds
    print(f"ratio: {ratio:.2f} (target at most 1.5)")
    return 0 if ratio <= 1.5 else 1


if __name__ == "__main__":
    sys.exit(main())

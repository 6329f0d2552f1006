"""Reading in four Python threads at once gives the same results as reading in one."""

import threading

import mirado


def snapshot(path):
    recording = mirado.read(path)
    return (
        recording.cuff.tobytes(),
        recording.pulse.tobytes(),
        recording.cuff_mmhg.tobytes(),
        recording.method_a(),
        recording.method_e(),
        recording.stored,
    )


def test_four_threads_read_the_same(loaded_sample_paths, generated_paths):
    paths = [*loaded_sample_paths, *generated_paths]
    expected = [snapshot(p) for p in paths]
    results = [None] * 4
    start = threading.Barrier(4)

    def work(index):
        start.wait()
        results[index] = [snapshot(p) for _ in range(3) for p in paths]

    threads = [threading.Thread(target=work, args=(i,)) for i in range(4)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    for result in results:
        assert result == expected * 3


def test_tables_in_threads_match(loaded_sample_paths):
    expected = mirado.table(loaded_sample_paths, jobs=1)
    frames = [None] * 4

    def work(index):
        frames[index] = mirado.table(loaded_sample_paths, jobs=2)

    threads = [threading.Thread(target=work, args=(i,)) for i in range(4)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    for frame in frames:
        assert frame.equals(expected)

"""The worked example of docs/PYTHON.md runs as written, from the repository's root."""

import contextlib
import io
import os
import pathlib
import re

ROOT = pathlib.Path(os.environ.get("MIRADO_SOURCE_DIR", "."))


def test_the_example_runs(monkeypatch):
    text = (ROOT / "docs" / "PYTHON.md").read_text(encoding="utf-8")
    blocks = re.findall(r"```python\n(.*?)```", text, re.S)
    assert blocks
    monkeypatch.chdir(ROOT)
    shown = io.StringIO()
    with contextlib.redirect_stdout(shown):
        for block in blocks:
            exec(compile(block, "PYTHON.md", "exec"), {})
    assert "D-40 24/12/07 142 mmHg stored" in shown.getvalue()
    assert "DMG0610.001" in shown.getvalue()

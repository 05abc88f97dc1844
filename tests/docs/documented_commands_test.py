#!/usr/bin/python3
"""Runs every command that README.md and docs/*.md show and compares its output.

A code block (fenced, or indented by four spaces) whose first line starts with
"$ " is a session: each "$ " line is a command for bash, and the lines up to
the next command are what it prints on standard output. A line "..." stands for
any number of lines. A command shown without output must only succeed. The
sessions of one file run in order in one fresh directory, holding a copy of
docs/examples, so that a command can read the files an earlier one wrote.

Usage: documented_commands_test.py PROGRAM_DIR SOURCE_DIR
"""

import difflib
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile

ELISION = "..."
PROMPT = "$ "
FENCE = "```"
INDENT = "    "
TIMEOUT_SECONDS = 120


def code_blocks(lines):
    """Yields (line number, lines) for each fenced or indented code block."""
    i = 0
    while i < len(lines):
        if lines[i].startswith(FENCE):
            start = i + 1
            i = start
            while i < len(lines) and not lines[i].startswith(FENCE):
                i += 1
            yield start + 1, lines[start:i]
            i += 1
        elif lines[i].startswith(INDENT) and (i == 0 or not lines[i - 1].strip()):
            start = i
            block = []
            while i < len(lines) and (lines[i].startswith(INDENT) or not lines[i].strip()):
                block.append(lines[i][len(INDENT):])
                i += 1
            while block and not block[-1].strip():
                block.pop()
            yield start + 1, block
        else:
            i += 1


def sessions(path):
    """Yields (line number, command, expected lines) for each command shown."""
    for first, block in code_blocks(path.read_text(encoding="utf-8").splitlines()):
        if not block or not block[0].startswith(PROMPT):
            continue
        command = None
        for offset, line in enumerate(block):
            if line.startswith(PROMPT):
                if command:
                    yield command
                command = (first + offset, line[len(PROMPT):], [])
            else:
                command[2].append(line.rstrip())
        yield command


def matches(expected, actual):
    """Whether the printed lines fit the shown ones, "..." standing for any run."""
    if not expected:
        return not actual
    if expected[0] == ELISION:
        return any(matches(expected[1:], actual[i:]) for i in range(len(actual) + 1))
    return bool(actual) and expected[0] == actual[0] and matches(expected[1:], actual[1:])


def check_file(path, source, environment):
    """The failures of the file's commands, each as text."""
    failures = []
    with tempfile.TemporaryDirectory(prefix="quorvane-docs-") as directory:
        shutil.copytree(source / "docs" / "examples", pathlib.Path(directory) / "docs" / "examples")
        for number, command, expected in sessions(path):
            where = f"{path.relative_to(source)}:{number}: {command}"
            run = subprocess.run(["bash", "-c", "set -o pipefail; " + command], cwd=directory,
                                 env=environment, capture_output=True, text=True,
                                 timeout=TIMEOUT_SECONDS)
            actual = [line.rstrip() for line in run.stdout.splitlines()]
            if run.returncode != 0:
                failures.append(f"{where}\n  exit {run.returncode}: {run.stderr.strip()}")
            elif expected and not matches(expected, actual):
                diff = difflib.unified_diff(expected, actual, "shown", "printed", lineterm="")
                failures.append(where + "\n" + "\n".join(diff))
    return failures


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__.strip().splitlines()[-1])
    program = pathlib.Path(sys.argv[1]).resolve()
    source = pathlib.Path(sys.argv[2]).resolve()
    environment = dict(os.environ, PATH=f"{program}{os.pathsep}{os.environ.get('PATH', '')}")
    pages = [source / "README.md"] + sorted((source / "docs").glob("*.md"))
    failures = []
    commands = 0
    for page in pages:
        commands += sum(1 for _ in sessions(page))
        failures += check_file(page, source, environment)
    for failure in failures:
        print(failure, end="\n\n")
    print(f"{commands} documented commands, {len(failures)} not as shown")
    sys.exit(1 if failures or commands == 0 else 0)


if __name__ == "__main__":
    main()

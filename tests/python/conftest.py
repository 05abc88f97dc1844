"""Shared helpers of the quorvane module tests."""

import os
import subprocess

import pytest


@pytest.fixture(scope="session")
def quorvane_eos():
    """Runs quorvane-eos (QUORVANE_EOS, set by CTest) on CSV text; returns its table."""
    program = os.environ.get("QUORVANE_EOS")
    if not program:
        pytest.skip("QUORVANE_EOS names no quorvane-eos program")

    def run(arguments, csv):
        done = subprocess.run([program, "--input", "-", *arguments], input=csv, text=True,
                              capture_output=True, check=True)
        header, *lines = done.stdout.splitlines()
        rows = [line.split(",") for line in lines]
        return {name: [row[i] for row in rows] for i, name in enumerate(header.split(","))}

    return run

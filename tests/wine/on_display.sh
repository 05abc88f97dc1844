#!/usr/bin/env bash
# on_display.sh <command...>: runs a Windows test program under Wine on a
# private X server, for the tests whose windows need a display.
set -uo pipefail
source "$(dirname "$0")/../shell/e2e/x_session.sh"
require_tools
start_x_server
"$@"
status=$?
exit $status

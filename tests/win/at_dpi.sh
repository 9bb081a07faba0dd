#!/usr/bin/env bash
# Runs a Windows test program under Wine with the screen at another DPI ("LogPixels", as the
# display settings' scaling sets it on Windows), then puts 96 back for the other tests.
# Usage: at_dpi.sh DPI program.exe [arguments...]
set -euo pipefail
dpi=$1
shift
set_dpi() { wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1; }
trap 'set_dpi 96' EXIT
set_dpi "$dpi"
VORNIK_EXPECTED_DPI=$dpi wine "$@"

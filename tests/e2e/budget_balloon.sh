#!/usr/bin/env bash
# A history already over a connection's budget: at its first ticks the program shows the tray
# balloon naming the connection and the limit, once; a later start in the same period shows
# none (what was shown is kept in budget.txt).
# Usage: budget_balloon.sh release-folder peek.exe   (needs DISPLAY and the Wine prefix)
set -euo pipefail
release=$(cd "$1" && pwd)
peek=$2
source "$(dirname "$0")/lib.sh"
work=$(mktemp -d /tmp/vornik-budget.XXXXXX)
cleanup() {
  [ "$BASHPID" = "$$" ] || return 0
  wine taskkill /IM vrn15.exe >/dev/null 2>&1 || true
  sleep 1
  rm -rf "$work"
}
trap cleanup EXIT
cp -r "$release/." "$work/"
cp "$peek" "$work/peek.exe"
cd "$work"

# Today's record of "lo": 3 MB received, against a budget of 2 MB a period.
today=$(date +%-d.%-m.%Y)
printf 'SHOW=\r\nform1.width=798\r\n%s-0\t3145728   \t0         \tlo\r\n' "$today" > history.txt
printf 'lo|Петля>0@0\r\n' | iconv -f UTF-8 -t CP1251 > price.txt
printf 'lo|1|0|2\r\n' > budget.txt

balloon() { wine peek.exe balloon 2>/dev/null | tr -d '\r'; }
shown() { balloon | grep -q "$1"; }

wine vrn15.exe >/dev/null 2>&1 &
settled
wait_for 20 shown 'Трафик за период' || fail "no balloon for the budget: $(balloon)"
echo "balloon: $(balloon)"
balloon | grep -qP '3,\d Мб из 2,0 Мб' || fail "the balloon does not give the figures: $(balloon)"
wine taskkill /IM vrn15.exe >/dev/null 2>&1
wait_for 20 not_running || fail "vrn15.exe did not end"
grep -qP '^lo\|1\|0\|2\|\d{4}-\d\d-\d\d\|0\|100\r$' budget.txt || fail "what was shown was not kept: $(cat -A budget.txt)"

# A start in the same period: nothing more to say.
sleep 12  # Wine's balloon from the first run is gone
wine vrn15.exe >/dev/null 2>&1 &
settled
sleep 3
shown 'Трафик за период' && fail "the balloon was shown again in the same period"
wine taskkill /IM vrn15.exe >/dev/null 2>&1
wait_for 20 not_running || fail "vrn15.exe did not end"
echo "budget balloon: shown once at the first ticks, not again after a restart"

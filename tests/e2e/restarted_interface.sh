#!/usr/bin/env bash
# An interface that goes away and comes back under the same name, with real counters: a veth
# pair in network namespaces of the test's own, and the whole Wine session (whose services
# read the interfaces) started inside. The pair carries traffic, is deleted and made again
# (its counters start from zero) and carries more. At the exit the day holds two records of
# it: the closed one with the counters the kernel had before the deletion, the open one
# with the new counters: nothing lost, nothing counted twice.
# Usage: restarted_interface.sh release-folder   (root; needs DISPLAY and the Wine prefix)
# Exits 77 (skipped, and says why) where the machine refuses network namespaces.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/../../scripts/wine-env.sh"

# Stray packets (ARP) may move the counters between a read and the program's sample.
slack=512

make_pair() {
  ip link add vtest type veth peer name vpeer netns "$peer"
  ip addr add 10.77.0.1/24 dev vtest
  ip link set lo up
  ip link set vtest up
  ip -n "$peer" addr add 10.77.0.2/24 dev vpeer
  ip -n "$peer" link set vpeer up
}
send() { for i in $(seq 1 "$1"); do echo "packet $i" > /dev/udp/10.77.0.2/9 || true; done; }
counters() { echo "$(cat /sys/class/net/vtest/statistics/rx_bytes) $(cat /sys/class/net/vtest/statistics/tx_bytes)"; }

# near RECORDED KERNEL: the program's figure is the kernel's, or a few stray packets short.
near() { [ "$1" -le "$2" ] && [ $(($2 - $1)) -le "$slack" ]; }

inside() {
  release=$1 peer=$2
  work=$(mktemp -d /tmp/vornik-veth.XXXXXX)
  trap '[ "$BASHPID" = "$$" ] && { wineserver -k 2>/dev/null || true; rm -rf "$work" || true; }' EXIT
  cp "$release/vrn15.exe" "$work/vrn15.exe"
  cd "$work"
  # No IPv6: its neighbour discovery would send packets of its own at any moment.
  sysctl -qw net.ipv6.conf.default.disable_ipv6=1 net.ipv6.conf.all.disable_ipv6=1
  make_pair
  send 20

  vornik_wine_services  # a Wine session of this namespace
  timeout 200 wine vrn15.exe >/dev/null 2>&1 &
  wait_for 20 is_running || fail "vrn15.exe is not running"
  settled
  send 30
  sleep 3
  read -r before_in before_out < <(counters)
  ip link del vtest
  sleep 3
  make_pair
  send 10
  sleep 3
  wine taskkill /IM vrn15.exe >/dev/null 2>&1
  wait_for 30 not_running || fail "vrn15.exe did not end"
  read -r after_in after_out < <(counters)

  local today records closed open
  today=$(date +%-d.%-m.%Y)
  records=$(grep -P "^${today//./\\.}-\d+\t.*\tvtest\r\$" history.txt | tr -d '\r') || true
  [ "$(printf '%s\n' "$records" | grep -c .)" -eq 2 ] || fail "expected two records of vtest today: $records"
  closed=$(printf '%s\n' "$records" | grep -v -- "-0	") || fail "no closed record: $records"
  open=$(printf '%s\n' "$records" | grep -- "-0	") || fail "no open record: $records"
  set -- $(printf '%s' "$closed" | cut -f2,3)
  near "$1" "$before_in" && near "$2" "$before_out" ||
    fail "the closed record holds $1/$2, the kernel had $before_in/$before_out before the deletion"
  set -- $(printf '%s' "$open" | cut -f2,3)
  near "$1" "$after_in" && near "$2" "$after_out" ||
    fail "the open record holds $1/$2, the new interface has $after_in/$after_out"
  echo "closed: $closed"
  echo "open:   $open"
  echo "restarted interface: 1 passed, 0 failed"
}

if [ "${1:-}" = --inside ]; then
  shift
  inside "$@"
  exit
fi

# No command line but the program's may name vrn15.exe: the tests look for it by name.
release=$(realpath "$1")
ns=vornik-$$ peer=vornik-peer-$$
trap namespaces_cleanup EXIT
make_namespaces "restarted counters are covered with a scripted interface table in win_tests" "$ns" "$peer"
inside_namespace "$ns" "$release" "$peer"

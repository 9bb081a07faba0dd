#!/usr/bin/env bash
# More than 4 GiB through a real interface, with real kernel counters: a veth pair in network
# namespaces of the test's own, the whole Wine session started inside. Once the traffic has
# stopped and the program has ticked again, the day's records of the interface add up exactly
# to the kernel's 64-bit counters in both directions: with the 64-bit table (GetIfTable2,
# the records split at the file's 32-bit limit) and with a build that reads only GetIfTable,
# whose 32-bit counters wrap more than once on the way.
# Usage: four_gibibytes.sh release-folder vrn15_if32.exe   (root; needs DISPLAY and the Wine prefix)
# Exits 77 (skipped, and says why) where the machine refuses network namespaces.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/../../scripts/wine-env.sh"

total=$(( (9 << 29) ))  # 4.5 GiB
rate=$(( 300 << 20 ))   # octets per second: well within what one tick may see and the link allows

make_pair() {
  ip link add vbig type veth peer name vbigpeer netns "$peer"
  ip link set vbig mtu 65535
  ip -n "$peer" link set vbigpeer mtu 65535
  ip addr add 10.78.0.1/24 dev vbig
  ip link set lo up
  ip link set vbig up
  ip -n "$peer" addr add 10.78.0.2/24 dev vbigpeer
  ip -n "$peer" link set vbigpeer up
  # Fixed neighbours: no ARP packet moves the counters after the traffic stopped.
  ip neigh replace 10.78.0.2 lladdr "$(ip -n "$peer" -o link show vbigpeer | grep -o 'link/ether [^ ]*' | cut -d' ' -f2)" dev vbig nud permanent
  ip -n "$peer" neigh replace 10.78.0.1 lladdr "$(ip -o link show vbig | grep -o 'link/ether [^ ]*' | cut -d' ' -f2)" dev vbigpeer nud permanent
}

# Sends TOTAL octets of UDP to the peer at about RATE octets a second (nothing listens there;
# the peer's port-unreachable answers come back as inbound traffic, limited by its kernel).
send() {
  python3 - "$1" "$2" <<'PY'
import socket, sys, time
total, rate = int(sys.argv[1]), int(sys.argv[2])
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
chunk = b"\0" * 60000
sent, start = 0, time.monotonic()
while sent < total:
    try:
        s.sendto(chunk, ("10.78.0.2", 9))
    except OSError:
        pass  # a port-unreachable answer reported on the socket
    sent += len(chunk)
    ahead = sent / rate - (time.monotonic() - start)
    if ahead > 0:
        time.sleep(ahead)
PY
}

counters() { echo "$(cat /sys/class/net/vbig/statistics/rx_bytes) $(cat /sys/class/net/vbig/statistics/tx_bytes)"; }

inside() {
  local exe=$1 what=$2
  [ -d "$exe" ] && exe=$exe/vrn15.exe
  work=$(mktemp -d /tmp/vornik-4g.XXXXXX)
  trap '[ "$BASHPID" = "$$" ] && { wineserver -k 2>/dev/null || true; rm -rf "$work" || true; }' EXIT
  cp "$exe" "$work/vrn15.exe"
  cd "$work"
  # No IPv6: its neighbour discovery would send packets of its own at any moment.
  sysctl -qw net.ipv6.conf.default.disable_ipv6=1 net.ipv6.conf.all.disable_ipv6=1
  make_pair

  vornik_wine_services  # a Wine session of this namespace
  timeout 250 wine vrn15.exe >/dev/null 2>&1 &
  wait_for 20 is_running || fail "vrn15.exe is not running"
  settled
  send "$total" "$rate"
  sleep 3  # the traffic has stopped: two ticks more
  read -r kernel_in kernel_out < <(counters)
  wine taskkill /IM vrn15.exe >/dev/null 2>&1
  wait_for 30 not_running || fail "vrn15.exe did not end"
  read -r after_in after_out < <(counters)
  [ "$after_in $after_out" = "$kernel_in $kernel_out" ] || fail "the counters moved after the traffic stopped"
  [ "$kernel_out" -gt $((1 << 32)) ] || fail "only $kernel_out octets went out"

  local today records in out
  today=$(date +%-d.%-m.%Y)
  records=$(grep -P "^${today//./\\.}-\d+\t.*\tvbig\r\$" history.txt | tr -d '\r') || fail "no records of vbig"
  read -r in out < <(printf '%s\n' "$records" | awk -F'\t' '{ i += $2; o += $3 } END { printf "%.0f %.0f\n", i, o }')
  echo "$what: $(printf '%s\n' "$records" | grep -c .) records of vbig hold $in/$out, the kernel counted $kernel_in/$kernel_out"
  [ "$in" -eq "$kernel_in" ] && [ "$out" -eq "$kernel_out" ] || fail "$what: the records do not add up to the kernel's counters"
}

if [ "${1:-}" = --inside ]; then
  shift
  peer=$3
  inside "$1" "$2"
  exit
fi

release=$(realpath "$1")
if32=$(realpath "$2")
trap namespaces_cleanup EXIT
passed=0
# No command line but the program's may name vrn15.exe: the checks look for it by name.
for variant in "$release:64-bit table" "$if32:32-bit table"; do
  ns=vornik-4g-$$ peer=vornik-4g-peer-$$
  make_namespaces "wraps and splits are covered with scripted tables in the core tests" "$ns" "$peer"
  inside_namespace "$ns" "${variant%%:*}" "${variant#*:}" "$peer"
  drop_namespaces
  passed=$((passed + 1))
done
echo "four gibibytes: $passed passed, 0 failed"

#!/usr/bin/env bash
# This machine's interface table with names beyond ASCII. Veth pairs named in Cyrillic, with
# a German umlaut and in Chinese, in a network namespace of the test's own, with the whole
# Wine session (whose services read the interfaces) started inside; then the real-table
# checks of iftable_win_tests under each code page: the descriptions of GetIfTable2, as the
# program converts them, must be the bytes GetIfTable gives, letters the code page lacks
# included, and every interface made here must be among them.
# Usage: iftable_names.sh iftable_win_tests.exe   (root; needs the Wine prefix)
# Exits 77 (skipped, and says why) where the machine refuses network namespaces.
set -euo pipefail
source "$(dirname "$0")/../e2e/lib.sh"
source "$(dirname "$0")/../../scripts/wine-env.sh"

names="сеть0,grün0,网卡0"

inside() {
  local exe=$1 i=0 status=0 name run loc acp
  trap '[ "$BASHPID" = "$$" ] && { wineserver -k 2>/dev/null || true; }' EXIT
  ip link set lo up
  IFS=, read -ra list <<<"$names"
  for name in "${list[@]}"; do
    ip link add "$name" type veth peer name "vpeer$i"
    ip link set "$name" up
    ip link set "vpeer$i" up
    i=$((i + 1))
  done
  vornik_wine_services  # a Wine session of this namespace
  for run in ru_RU:1251 de_DE:1252 zh_CN:936; do
    loc=${run%%:*} acp=${run#*:}
    echo "== LANG=$loc.UTF-8 (code page $acp)"
    LANG=$loc.UTF-8 LC_ALL=$loc.UTF-8 VORNIK_EXPECTED_ACP=$acp VORNIK_EXPECT_INTERFACES=$names \
      wine "$exe" --gtest_filter='IfTableCodePage.*:RealIfTable.*' || status=1
  done
  exit "$status"
}

if [ "${1:-}" = --inside ]; then
  shift
  inside "$@"
fi

exe=$(realpath "$1")
ns=vornik-names-$$
trap namespaces_cleanup EXIT
make_namespaces "the descriptions are still compared on the machine's own interfaces in iftable_acp*" "$ns"
inside_namespace "$ns" "$exe"

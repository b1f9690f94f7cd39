#!/usr/bin/env bash
# How long the address walk of `ostrel-cli assign` takes on the virtual LAN:
# one camera, with 0 and with 8 occupied addresses at the start of the range,
# less the search every command begins with. The walk probes its candidates
# side by side, so either costs about one echo timeout. Medians of 3 runs.
# usage: assign_bench.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
export OSTREL_CAMSIM=$build/tools/camsim/ostrel-camsim

run() {  # occupied-address count, ostrel-cli arguments... -> seconds
  local hosts=() count=$1
  shift
  for ((i = 0; i < count; i++)); do hosts+=(--host "192.168.1.$((100 + i))"); done
  "$root/tools/ostrel-lab" --restart-delay 0 --cameras "$root/tools/profiles/pair.json" "${hosts[@]}" -- \
    bash -c 'start=$(date +%s%N); "$@" >/dev/null; echo $(( ($(date +%s%N) - start) / 1000000 ))' _ \
    "$build/tools/cli/ostrel-cli" "$@"
}

assign=(assign --mac 02-00-00-00-00-01 --first 192.168.1.100 --last 192.168.1.200 --mask 255.255.255.0
        --gateway 192.168.1.1 --password password-long-1)
median() { sort -n | sed -n 2p; }

search=$(for r in 1 2 3; do run 0 search; done | median)
free=$(for r in 1 2 3; do run 0 "${assign[@]}"; done | median)
busy=$(for r in 1 2 3; do run 8 "${assign[@]}"; done | median)
awk -v s="$search" -v f="$free" -v b="$busy" 'BEGIN {
  printf "search alone %d ms; assign with no address occupied %d ms, with 8 occupied %d ms\n", s, f, b
  printf "the walk: %d ms with no address occupied, %d ms with 8 occupied\n", f - s, b - s }'

#!/usr/bin/env bash
# The command line of ostrel-cli: help, version, exit statuses, and arguments
# refused before anything is searched. It runs on the virtual LAN so that a
# refusal that failed would reach only simulated cameras, whose log must stay
# empty.
# usage: cli_usage_lab_test.sh LAB CLI MODE   (MODE: root or user)
set -uo pipefail
lab=$1 cli=$2 mode=$3
profiles=$(cd "$(dirname "$0")/../../tools/profiles" && pwd)
source "$(dirname "$0")/check.sh"

# Prints "status out err" sections for one command line, all inside the lab.
runs=$(mktemp -d)
trap 'rm -rf "$runs"' EXIT
chmod 777 "$runs"

script='
n=0
run() {  # expected-status stdin-text args...
  n=$((n + 1))
  printf "%s" "$2" | "$CLI" "${@:3}" >"$RUNS/$n.out" 2>"$RUNS/$n.err"
  echo $? >"$RUNS/$n.status"
}
'
cases=(
  # name | stdin | arguments (one word per field, "_" between) | status | text on stderr
  "no arguments||_|2|Usage: ostrel-cli"
  "unknown subcommand||frobnicate|2|unknown subcommand frobnicate"
  "unknown option||search_--colour|2|--colour"
  "malformed MAC||set_--mac_02-00-00-00-00_--password_x|2|--mac: not a MAC address"
  "MAC with a bad digit||reset_--mac_02-00-00-00-00-0g_--password_x|2|--mac: not a MAC address"
  "malformed IP||set_--ip_192.168.1.256_--password_x|2|--ip: not a dotted IPv4 address"
  "malformed new IP||set_--ip_192.168.1.31_--new-ip_192.168.1_--password_x|2|--new-ip: not a dotted IPv4"
  "malformed mask||set_--ip_192.168.1.31_--mask_255.255.255_--password_x|2|--mask: not a dotted IPv4"
  "malformed gateway||set_--ip_192.168.1.31_--gateway_gw_--password_x|2|--gateway: not a dotted IPv4"
  "bad --dhcp value||set_--ip_192.168.1.31_--dhcp_yes_--password_x|2|--dhcp: yes not in"
  "malformed range end||assign_--mac_02-00-00-00-00-01_--first_192.168.1.100_--last_192.168.1.x_--mask_255.255.255.0_--gateway_192.168.1.1_--password_x|2|--last: not a dotted IPv4"
  "missing range||assign_--mac_02-00-00-00-00-01_--mask_255.255.255.0_--gateway_192.168.1.1_--password_x|2|--first"
  "malformed --lan||search_--lan_my-laptop|2|--lan: not a dotted IPv4"
  "both --mac and --ip||set_--mac_02-00-00-00-00-01_--ip_192.168.1.31_--password_x|2|--mac excludes --ip"
  "neither --mac nor --ip||reset_--password_x|2|give either --mac or --ip"
  "both password options||reset_--ip_192.168.1.31_--password_x_--password-file_-|2|excludes"
  "no password and no terminal||reset_--ip_192.168.1.31|2|no password"
  "unreadable password file||reset_--ip_192.168.1.31_--password-file_/nonexistent/pw|2|--password-file: cannot read"
  "empty standard input||reset_--ip_192.168.1.31_--password-file_-|2|--password-file: standard input holds no line"
  "--show-passwords without --json||search_--show-passwords|2|--show-passwords requires --json"
  "address 255.255.255.255||set_--ip_192.168.1.31_--new-ip_255.255.255.255_--mask_255.255.255.0_--gateway_192.168.1.1_--password_x|2|--new-ip: The IP address 255.255.255.255"
  "address 0.0.0.0||set_--ip_192.168.1.31_--new-ip_0.0.0.0_--mask_255.255.255.0_--gateway_192.168.1.1_--password_x|2|--new-ip: The IP address 0.0.0.0"
  "network address of the mask||set_--ip_192.168.1.31_--new-ip_10.1.0.0_--mask_255.255.0.0_--gateway_10.1.0.1_--password_x|2|--new-ip: The IP address 10.1.0.0"
  "mask with a gap||set_--ip_192.168.1.31_--mask_255.0.255.0_--password_x|2|--mask: The subnet mask 255.0.255.0"
  "mask 0.0.0.0||set_--ip_192.168.1.31_--mask_0.0.0.0_--password_x|2|--mask: The subnet mask 0.0.0.0"
  "gateway outside the subnet||set_--ip_192.168.1.31_--new-ip_192.168.1.40_--mask_255.255.255.0_--gateway_255.255.255.255_--password_x|2|--gateway: The gateway 255.255.255.255"
  "range across prefixes||assign_--mac_02-00-00-00-00-01_--first_10.77.0.5_--last_10.88.0.6_--mask_255.255.255.0_--gateway_10.77.0.1_--password_x|2|--first, --last: The first address 10.77.0.5"
  "range upside down||assign_--mac_02-00-00-00-00-01_--first_192.168.1.120_--last_192.168.1.100_--mask_255.255.255.0_--gateway_192.168.1.1_--password_x|2|--first, --last: the first address 192.168.1.120 lies above"
  "range's gateway elsewhere||assign_--mac_02-00-00-00-00-01_--first_192.168.1.0_--last_192.168.1.255_--mask_255.255.255.0_--gateway_10.0.0.1_--password_x|2|--gateway: The gateway 10.0.0.1"
  "a camera named twice||assign_--mac_02-00-00-00-00-01_--mac_02:00:00:00:00:01_--first_192.168.1.100_--last_192.168.1.120_--mask_255.255.255.0_--gateway_192.168.1.1_--password_x|2|--mac: 02:00:00:00:00:01 is named twice"
  "--wait with --dry-run||assign_--mac_02-00-00-00-00-01_--first_192.168.1.100_--last_192.168.1.120_--mask_255.255.255.0_--gateway_192.168.1.1_--password_x_--dry-run_--wait|2|--dry-run excludes --wait"
)
for c in "${cases[@]}"; do
  IFS='|' read -r name stdin words status text <<<"$c"
  [ "$words" = _ ] && words=""
  script+="run $status $(printf '%q' "$stdin") ${words//_/ }"$'\n'
done
for sub in "" search set reset assign; do script+="run 0 '' $sub --help"$'\n'; done
script+="run 0 '' set -h"$'\n'
script+="run 0 '' --version"$'\n'
script+='cp "$OSTREL_LAB_LOG" "$RUNS/camsim.log"'

"$lab" --mode "$mode" --restart-delay 0 --cameras "$profiles/pair.json" -- \
  env CLI="$cli" RUNS="$runs" bash -c "$script"
[ $? -ne 77 ] || { echo "skipped: no namespace"; exit 77; }

n=0
for c in "${cases[@]}"; do
  IFS='|' read -r name stdin words status text <<<"$c"
  n=$((n + 1))
  check "$name: exit $status" test "$(cat "$runs/$n.status")" = "$status"
  check "$name: says \"$text\"" grep -qF -- "$text" "$runs/$n.err"
  check "$name: prints no result" test ! -s "$runs/$n.out"
done
for sub in tool search set reset assign "set -h"; do
  n=$((n + 1))
  check "$sub help: exit 0" test "$(cat "$runs/$n.status")" = 0
  check "$sub help: usage on standard output" grep -q '^Usage: ostrel-cli' "$runs/$n.out"
  check "$sub help: exit statuses listed" grep -q '^Exit status: 0 success, 1 the operation failed, 2 ' "$runs/$n.out"
  check "$sub help: nothing on standard error" test ! -s "$runs/$n.err"
done
check "set help warns that --password is visible" grep -q "visible to other users" "$runs/$n.out"
n=$((n + 1))
check "--version: exit 0" test "$(cat "$runs/$n.status")" = 0
check "--version prints the version" grep -Eqx 'ostrel-cli [0-9]+\.[0-9]+\.[0-9]+' "$runs/$n.out"
check "nothing was searched or sent" test ! -s <(grep -v '^ready:' "$runs/camsim.log")

echo "$failures failed"
[ $failures -eq 0 ]

#!/usr/bin/env bash
# What ostrel-cli does so that a live site is not harmed: assign's plan and
# its cameras without an address, --dry-run, --wait against a camera that
# ignores its request, settings refused before sending, and cameras that
# share a MAC address.
# usage: cli_site_safety_lab_test.sh LAB CLI MODE   (MODE: root or user)
set -uo pipefail
lab=$1 cli=$2 mode=$3
profiles=$(cd "$(dirname "$0")/../../tools/profiles" && pwd)
fixtures=$(cd "$(dirname "$0")/profiles" && pwd)
source "$(dirname "$0")/check.sh"

in_lab() {  # lab options... -- script; $CLI in scope, standard error after "--- stderr"
  local lab_args=()
  while [ "$1" != -- ]; do lab_args+=("$1"); shift; done
  "$lab" --mode "$mode" --restart-delay 0 "${lab_args[@]}" -- env CLI="$cli" bash -c \
    'err=$(mktemp); trap "rm -f $err" EXIT; { '"$2"'; } 2>"$err"; echo "--- stderr"; cat "$err"'
}
assign_args='--first 192.168.1.100 --last 192.168.1.102 --mask 255.255.255.0 --gateway 192.168.1.102 '\
'--password password-long-1 --mac 02-00-00-00-00-02 --mac 02-00-00-00-00-01'

# .100 is taken (in user mode it is an address of the workstation's namespace
# too) and .102 is the gateway: one address for two cameras.
out=$(in_lab --cameras "$profiles/pair.json" --host 192.168.1.100 -- \
  '$CLI assign '"$assign_args"'; echo "status $?"; $CLI search;
   grep "^multi-set:" "$OSTREL_LAB_LOG" | sed "s/ (from .*//" | sort -u')
[ $? -ne 77 ] || { echo "skipped: no namespace"; exit 77; }
stdout=${out%%--- stderr*} stderr=${out#*--- stderr}
check "assign names each skipped address and why" bash -c \
  'grep -Eqx "skipped 192.168.1.100: (answers ping|this workstation.s address)" <<<"$1" &&
   grep -qx "skipped 192.168.1.102: gateway" <<<"$1"' _ "$stdout"
check "assign prints the address each camera got" grep -qx '02-00-00-00-00-02 (192.168.1.32) gets 192.168.1.101' <<<"$stdout"
check "assign prints the camera that got none" grep -qx '02-00-00-00-00-01 (192.168.1.31) gets no address' <<<"$stdout"
check "a camera without an address fails assign" grep -qx 'status 3' <<<"$stdout"
check "the message names that camera" grep -q 'no free address .* was left for 02-00-00-00-00-01 (192.168.1.31)' <<<"$stderr"
check "the camera that got an address took it" grep -Eq '^Second +192\.168\.1\.101 ' <<<"$stdout"
check "the other kept its own" grep -Eq '^First +192\.168\.1\.31 ' <<<"$stdout"
# (In user mode the lab's simulator hears one broadcast once per local address.)
check "one request, with one entry, was sent" test "$(grep '^multi-set:' <<<"$stdout")" = 'multi-set: 1 entries, cameraCount 2'


out=$(in_lab --cameras "$profiles/pair.json" -- \
  '$CLI assign '"$assign_args"' --dry-run; echo "status $?";
   echo "requests $(grep -cv -e "^ready:" -e "^probe from" "$OSTREL_LAB_LOG")"')
stdout=${out%%--- stderr*}
check "--dry-run prints the plan" grep -qx '02-00-00-00-00-01 (192.168.1.31) gets 192.168.1.101' <<<"$stdout"
check "--dry-run succeeds when every camera has an address" grep -qx 'status 0' <<<"$stdout"
check "--dry-run sends nothing" grep -qx 'requests 0' <<<"$stdout"

# Camera 1 ignores every request; camera 0 obeys.
out=$(in_lab --cameras "$profiles/pair.json" --camsim-option --fault --camsim-option ignore-requests \
  --camsim-option --fault-camera --camsim-option 1 -- \
  '$CLI set --mac 02-00-00-00-00-01 --password password-long-1 --new-ip 192.168.1.77 --dhcp off --wait;
   echo "status $?";
   $CLI set --mac 02-00-00-00-00-02 --password pw2 --name Ignored --wait; echo "status $?"')
stdout=${out%%--- stderr*}
check "--wait confirms a camera that took its settings" grep -qx '02-00-00-00-00-01 answers with the settings it was sent' <<<"$stdout"
check "--wait reports a camera that ignored its request" \
  grep -qx '02-00-00-00-00-02 does not answer with the settings it was sent: name Second (sent Ignored)' <<<"$stdout"
check "exit 0, then 3" test "$(grep '^status' <<<"$stdout" | tr '\n' ' ')" = "status 0 status 3 "

# Settings completed from the camera's own are judged before anything is sent.
out=$(in_lab --cameras "$profiles/pair.json" -- \
  '$CLI set --ip 192.168.1.32 --password pw2 --new-ip 192.168.1.255; echo "status $?";
   $CLI set --ip 192.168.1.32 --password pw2 --new-ip 10.0.0.5; echo "status $?";
   echo "requests $(grep -c set-device-info "$OSTREL_LAB_LOG")"')
stdout=${out%%--- stderr*} stderr=${out#*--- stderr}
check "the subnet's broadcast address is refused" grep -q -- '--new-ip: The IP address 192.168.1.255 is the broadcast address' <<<"$stderr"
check "a gateway left outside the new subnet is refused" grep -q -- '--gateway: The gateway 192.168.1.1 is outside' <<<"$stderr"
check "both with exit 2" test "$(grep -c '^status 2$' <<<"$stdout")" -eq 2
check "neither was sent" grep -qx 'requests 0' <<<"$stdout"

# Two cameras report one MAC address: a request for one is obeyed by both.
out=$(in_lab --cameras "$fixtures/shared_mac.json" -- \
  '$CLI set --mac 02-00-00-00-0d-01 --password twin --name One; echo "status $?";
   $CLI set --ip 192.168.1.52 --password twin --name "Twin B"; echo "status $?"')
stdout=${out%%--- stderr*} stderr=${out#*--- stderr}
check "--mac that names two cameras is refused, asking for --ip" \
  grep -q 'several cameras answer with MAC address 02-00-00-00-0d-01; both would obey the request: choose one by --ip' <<<"$stderr"
check "--ip says which other camera obeys too" \
  grep -q '02-00-00-00-0d-01 (192.168.1.51) reports the same MAC address: it obeys this request too' <<<"$stderr"
check "exit 1, then 0" test "$(grep '^status' <<<"$stdout" | tr '\n' ' ')" = "status 1 status 0 "

echo "$failures failed"
[ $failures -eq 0 ]

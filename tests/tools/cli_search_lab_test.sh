#!/usr/bin/env bash
# The command-line search against simulated cameras on the virtual LAN.
# usage: cli_search_lab_test.sh LAB CLI MODE   (MODE: root or user)
set -uo pipefail
lab=$1 cli=$2 mode=$3
profiles=$(cd "$(dirname "$0")/../../tools/profiles" && pwd)
fixtures=$(cd "$(dirname "$0")/profiles" && pwd)
source "$(dirname "$0")/check.sh"
outputs=$(mktemp -d)
trap 'rm -rf "$outputs"' EXIT
chmod 777 "$outputs"

search() {  # lab options... -- cli options...
  local lab_args=() 
  while [ "$1" != -- ]; do lab_args+=("$1"); shift; done
  shift
  "$lab" --mode "$mode" --restart-delay 0 "${lab_args[@]}" -- "$cli" search "$@"
}

out=$(search --cameras "$profiles/demo.json" --camsim-option --fault --camsim-option twice --)
status=$?
[ $status -ne 77 ] || { echo "skipped: no namespace"; exit 77; }
check "every camera once, though each answers twice" test "$(grep -c '^' <<<"$out")" -eq 7
check "count line" grep -qx '5 cameras' <<<"$out"
check "heading" grep -Eqx 'DEVICE NAME +IP ADDRESS +ADAPTER +MAC ADDRESS +MODEL +FIRMWARE' <<<"$out"
check "fields of a camera" grep -Eq '^Loading dock +192\.168\.1\.22 +[a-z]+[0-9]+ +02-1a-2b-3c-4d-02 +CX-200 +0\.3\.1\(need to upgrade from 0\.3\.1 to v0\.3\.3 more\)$' <<<"$out"
check "empty name shown as N/A" grep -Eq '^N/A +192\.168\.1\.25 ' <<<"$out"
check "no password in the table" bash -c "! grep -q -e admin123 -e parking <<<\"\$1\"" _ "$out"

json=$(search --cameras "$profiles/pair.json" -- --json)
check "--json empties the credentials" python3 -c '
import json, sys
cameras = json.loads(sys.argv[1])["oScanData"].values()
assert all(c["sPW"] == "" and c["sUserID"] == "" for c in cameras), cameras
' "$json"
check "--json prints the scan document alone" python3 -c '
import json, sys
doc = json.loads(sys.argv[1])
assert doc["nNOIPCAM"] == 2, doc
names = sorted(c["sDeviceName"] for c in doc["oScanData"].values())
assert names == ["First", "Second"], names
assert sys.argv[1].startswith("{\n   \"nNOIPCAM\" : 2,\n   \"oScanData\" : {\n")
' "$json"

csv=$(search --cameras "$profiles/pair.json" -- --csv)
check "--csv writes the exported list, no credentials" python3 -c '
import csv, io, sys
rows = sorted(csv.reader(io.StringIO(sys.argv[1], newline="")), key=lambda r: r[1])
heading, first, second = rows[-1], rows[0], rows[1]
assert heading[0] != "First" and len(rows) == 3, rows
assert first[:3] == ["First", "192.168.1.31", "02-00-00-00-00-01"], first
assert second[:2] == ["Second", "192.168.1.32"], second
assert not any(w in sys.argv[1] for w in ("password-long-1", "pw2", "administrator")), sys.argv[1]
' "$csv"

json=$(search --cameras "$profiles/pair.json" -- --json --show-passwords)
check "--show-passwords keeps them" python3 -c '
import json, sys
cameras = sorted(json.loads(sys.argv[1])["oScanData"].values(), key=lambda c: c["sMac"])
assert [(c["sUserID"], c["sPW"]) for c in cameras] == [("administrator", "password-long-1"), ("admin", "pw2")], cameras
' "$json"

# Two segments: each camera shows the adapter of its own segment.
out=$("$lab" --mode "$mode" --restart-delay 0 --segment 192.168.1.10/24 --cameras "$profiles/pair.json" \
  --segment 10.20.0.10/24 --cameras "$fixtures/other_segment.json" -- bash -c '
  for address in 192.168.1.10 10.20.0.10; do
    ip -o -4 address show to "$address" | { read -r _ name _; echo "adapter $name"; }
  done
  "$0" search' "$cli")
near=$(sed -n 's/^adapter //p' <<<"$out" | sed -n 1p)
far=$(sed -n 's/^adapter //p' <<<"$out" | sed -n 2p)
check "the two segments have adapters of their own" bash -c '[ -n "$1" ] && [ -n "$2" ] && [ "$1" != "$2" ]' _ "$near" "$far"
check "a camera shows the adapter it answered on" grep -Eq "^First +192\.168\.1\.31 +$near +02-00-00-00-00-01 " <<<"$out"
check "so does one on the other segment" grep -Eq "^Far gate +10\.20\.0\.31 +$far +02-00-00-00-0e-01 " <<<"$out"

out=$(search --cameras "$profiles/demo.json" -- --probes 3)
check "--probes 3 lists every camera once" bash -c 'grep -qx "5 cameras" <<<"$1" && test "$(grep -c "^" <<<"$1")" -eq 7' _ "$out"
probes() {  # probe count: the trace lines of the probes sent
  search --cameras "$profiles/pair.json" -- --trace "$@" 2>&1 >/dev/null |
    grep -c '\[sendto into _discovery_device\] Can send message'
}
one=$(probes) three=$(probes --probes 3)
check "--probes 3 sends three times the probes of one ($one, $three)" test "$one" -gt 0 -a "$three" -eq $((3 * one))

# A firewall on the workstation that drops what arrives on UDP 50444.
"$lab" --mode "$mode" --restart-delay 0 --cameras "$profiles/pair.json" -- bash -c '
  nft add table inet t && nft add chain inet t in "{ type filter hook input priority 0; }" &&
    nft add rule inet t in udp dport 50444 drop || exit 9
  "$0" search >"$1/firewall.out" 2>"$1/firewall.err"; echo $? >"$1/firewall.status"' "$cli" "$outputs"
check "the firewall is in place" test -s "$outputs/firewall.status"
check "a firewalled search finds nothing" grep -qx '0 cameras' "$outputs/firewall.out"
check "an empty search keeps exit status 0" test "$(cat "$outputs/firewall.status" 2>/dev/null)" = 0
for rule in 'firewall drops incoming UDP port 50444' 'nft add rule inet filter input udp dport 50444 accept' \
  'ufw allow 50444/udp' 'firewall-cmd --permanent --add-port=50444/udp && firewall-cmd --reload'; do
  check "a firewalled search says: $rule" grep -qF -- "$rule" "$outputs/firewall.err"
done

# The adapter of --lan loses its address once the probe is out: of the
# causes that then hold, the lost address is the one named.
"$lab" --mode "$mode" --restart-delay 0 -- bash -c '
  "$0" search --lan 192.168.1.10 --trace >"$1/gone.out" 2>"$1/gone.err" & search=$!
  for _ in $(seq 600); do grep -q "Can send message" "$1/gone.err" && break; sleep 0.1; done
  ip -o -4 address show to 192.168.1.10 | { read -r _ name _; ip address del 192.168.1.10/24 dev "$name"; }
  wait $search' "$cli" "$outputs"
check "a search whose adapter lost its address names that" \
  grep -q "no camera found: no adapter that is up holds the local address 192.168.1.10 any longer" "$outputs/gone.err"

out=$(search --cameras "$fixtures/control_names.json" --)
check "control characters of camera texts are shown escaped" bash -c \
  'grep -Fq "\x1b[2JCleared" <<<"$1" && grep -Fq "CX\x07-200" <<<"$1" && grep -Fq "two\x0alines" <<<"$1"' _ "$out"
check "no control character reaches the terminal" bash -c '! LC_ALL=C grep -q "[[:cntrl:]]" <<<"$1"' _ "$out"
check "a newline in a name does not break the table" test "$(grep -c '^' <<<"$out")" -eq 4

"$lab" --mode "$mode" --restart-delay 0 --cameras "$profiles/pair.json" -- \
  bash -c '"$0" search >/dev/full 2>"$1/full.err"; echo $? >"$1/full.status"
    "$0" search --json 2>"$1/pipe.err" | true; echo "${PIPESTATUS[0]}" >"$1/pipe.status"' "$cli" "$outputs"
check "a full disk fails the search" test "$(cat "$outputs/full.status")" = 1
check "a full disk is reported" grep -q "cannot write the result" "$outputs/full.err"
check "a closed pipe fails the search" test "$(cat "$outputs/pipe.status")" = 1
check "a closed pipe is reported" grep -q "cannot write the result" "$outputs/pipe.err"

out=$(search --cameras "$profiles/pair.json" --camsim-option --fault --camsim-option late:1500 \
  --camsim-option --fault-camera --camsim-option 1 --)
check "a camera answering late inside the window is found" grep -qx '2 cameras' <<<"$out"
out=$(search --cameras "$profiles/pair.json" --camsim-option --fault --camsim-option late:6000 \
  --camsim-option --fault-camera --camsim-option 1 --)
check "a camera answering after the window is not" grep -qx '1 camera' <<<"$out"

for fault in short bad-marker overrun oversize; do
  out=$(search --cameras "$profiles/demo.json" --camsim-option --fault --camsim-option $fault \
    --camsim-option --fault-camera --camsim-option 0 --)
  check "a $fault reply is dropped, the others listed" bash -c \
    'grep -qx "4 cameras" <<<"$1" && ! grep -q Entrance <<<"$1"' _ "$out"
done

err=$(search -- --lan 10.99.0.1 2>&1 >/dev/null)
check "a failed socket names the address" grep -q 'local address 10.99.0.1' <<<"$err"
err=$(search -- --trace 2>&1 >/dev/null)
check "--trace shows the trace lines" grep -q '\[sendto into _discovery_device\] Can send message' <<<"$err"
err=$(search -- 2>&1 >/dev/null)
check "no trace lines, and no cause named, for an empty segment" test -z "$err"

echo "$failures failed"
[ $failures -eq 0 ]

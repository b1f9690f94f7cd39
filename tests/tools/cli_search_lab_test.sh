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
check "fields of a camera" grep -Eq '^Loading dock +192\.168\.1\.22 +02-1a-2b-3c-4d-02 +CX-200 +0\.3\.1\(need to upgrade from 0\.3\.1 to v0\.3\.3 more\)$' <<<"$out"
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

json=$(search --cameras "$profiles/pair.json" -- --json --show-passwords)
check "--show-passwords keeps them" python3 -c '
import json, sys
cameras = sorted(json.loads(sys.argv[1])["oScanData"].values(), key=lambda c: c["sMac"])
assert [(c["sUserID"], c["sPW"]) for c in cameras] == [("administrator", "password-long-1"), ("admin", "pw2")], cameras
' "$json"

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
check "no trace lines without --trace" test -z "$err"

echo "$failures failed"
[ $failures -eq 0 ]

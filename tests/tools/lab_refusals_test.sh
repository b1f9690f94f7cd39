#!/usr/bin/env bash
# ostrel-lab refuses a camera profile it cannot read, in both modes, before it
# makes any namespace or runs the command; as root, it deletes the namespaces
# a killed lab left behind.
# usage: lab_refusals_test.sh LAB   (with OSTREL_CAMSIM set)
set -uo pipefail
lab=$1
source "$(dirname "$0")/check.sh"

refused() {  # lab options...: exit 2, a message naming the profile, the command never run
  local marker err status
  marker=$(mktemp -u)
  err=$("$lab" "$@" -- touch "$marker" 2>&1 >/dev/null)
  status=$?
  [ $status -eq 2 ] && [ ! -e "$marker" ] && grep -q 'camera profile' <<<"$err"
}

for mode in root user; do
  check "$mode mode: a camera profile that does not exist" refused --mode $mode --cameras /nonexistent/cameras.json
  check "$mode mode: a folder as camera profile" refused --mode $mode --cameras /
done
# The namespaces of a lab that was killed outright go with the next lab.
if [ "$(id -u)" -eq 0 ]; then
  true & gone=$!
  wait $gone
  ip netns add "ol${gone}w"
  "$lab" --mode root -- true
  check "root mode: a killed lab's namespace is deleted" bash -c '! ip netns list | grep -qw "$1"' _ "ol${gone}w"
  ip netns del "ol${gone}w" 2>/dev/null
fi
exit $((failures > 0))

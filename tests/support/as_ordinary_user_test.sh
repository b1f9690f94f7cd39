#!/usr/bin/env bash
# as-ordinary-user runs a command as nobody from a checkout and a build folder
# that nobody cannot enter, and leaves no staged copy behind.
# usage: as_ordinary_user_test.sh AS_ORDINARY_USER   (as root, else skipped)
set -uo pipefail
helper=$1
[ "$(id -u)" -eq 0 ] || { echo "skipped: needs root"; exit 77; }
source "$(dirname "$0")/../tools/check.sh"

private=$(mktemp -d)  # 0700, as a clone inside mktemp -d
trap 'rm -rf "$private"' EXIT
source_dir=$private/checkout build_dir=$private/checkout/build
mkdir -p "$source_dir/tests" "$source_dir/profiles" "$build_dir/bin"
echo camera >"$source_dir/profiles/one.json"
# A script that finds a profile beside it, as the lab test scripts do.
cat >"$source_dir/tests/script.sh" <<'SCRIPT'
#!/usr/bin/env bash
[ "$(id -u)" -eq 65534 ] && cat "$(dirname "$0")/../profiles/one.json" && "$PROGRAM" && "$1"
SCRIPT
printf '#!/bin/sh\necho program\n' >"$build_dir/bin/program"
printf '#!/bin/sh\necho argument\n' >"$build_dir/bin/argument"
chmod 755 "$source_dir/tests/script.sh" "$build_dir/bin/program" "$build_dir/bin/argument"

out=$(PROGRAM=$build_dir/bin/program "$helper" "$source_dir" "$build_dir" \
  "$source_dir/tests/script.sh" "$build_dir/bin/argument" 2>&1)
check "runs as nobody with its script, profile, program and argument" \
  test "$out" = $'camera\nprogram\nargument'
check "the command's status comes back" bash -c '! "$1" "$2" "$3" false' _ "$helper" "$source_dir" "$build_dir"
# The command's TMPDIR lies in the staged copy.
stage=$(dirname "$("$helper" "$source_dir" "$build_dir" sh -c 'echo "$TMPDIR"')")
check "the staged copy is removed afterwards" test -n "$stage" -a "$stage" != . -a ! -e "$stage"
exit $((failures > 0))

# Sourced by the lab test scripts: counts the checks that fail.
failures=0

check() {  # description, then a command that must succeed
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

# Shared by the install tests: a named check that counts failures into $failures.
failures=0
check() {  # WHAT COMMAND...
  local what=$1
  shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what" && failures=$((failures + 1)); fi
}

#!/usr/bin/env bash
# The programs carry Debian's hardening: hardening-check (package devscripts)
# must find PIE, the stack protector, fortified functions, read-only relocations
# and immediate binding. Control flow protection is not asked for: Debian 12's
# start files and libimgui.a carry no IBT/SHSTK note (see README). Without the
# tool the test is skipped (exit 77).
#   tests/program/hardening_test.sh path/to/teramon2 [more programs]
set -u
command -v hardening-check >/dev/null || { echo "hardening-check is not installed (devscripts)"; exit 77; }
hardening-check --nocfprotection "$@"

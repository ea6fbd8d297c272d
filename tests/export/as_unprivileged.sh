#!/usr/bin/env bash
# Runs a test program as an unprivileged user: root writes into read-only folders, so the
# permission tests only mean something without it. Exits 77 (skipped) where that cannot be done.
set -euo pipefail
[ "$(id -u)" -ne 0 ] && exec "$@"
command -v setpriv > /dev/null || exit 77
as_nobody=(setpriv --reuid=65534 --regid=65534 --clear-groups)
"${as_nobody[@]}" test -x "$1" || exit 77
runtime=$(mktemp -d) && chown 65534:65534 "$runtime"
trap 'rm -rf "$runtime"' EXIT
cd "$runtime"
"${as_nobody[@]}" env HOME="$runtime" TMPDIR="$runtime" XDG_RUNTIME_DIR="$runtime" "$@"

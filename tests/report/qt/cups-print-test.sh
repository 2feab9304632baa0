#!/usr/bin/env bash
# Runs the CUPS printing test against a private spooler with a PDF queue. When
# the spooler cannot be set up here (no root, no cups or cups-pdf) the test
# runs without it and skips.
set -uo pipefail
bin=${1:?test binary}
here=$(cd "$(dirname "$0")" && pwd)
dir=$(mktemp -d /tmp/pv-cups.XXXXXX)
trap '"$here/cups-pdf-queue.sh" stop "$dir"; rm -rf "$dir"' EXIT

if sock=$(timeout 60 "$here/cups-pdf-queue.sh" start "$dir" 2>"$dir/setup.log"); then
  export CUPS_SERVER="$sock" PV_CUPS_QUEUE=pachkaview-pdf PV_CUPS_OUTPUT="$dir/out/printed.pdf"
else
  echo "cups-print-test: no spooler ($(tail -1 "$dir/setup.log"))"
fi
timeout 240 "$bin"

#!/bin/sh
# make demo: cellctl's main job with a real IP link. PPP needs a kernel with
# PPP and root; the demo runs inside User-mode Linux, which gives both on any
# machine without touching the host's own routes or DNS.
#   run.sh BUILD_DIR
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "$1")
exec "$here/../tests/datalink/uml-run.sh" "$here/guest.sh" "$build/demo" "$build/cli/cellctl"

#!/bin/sh
# Installs what the demo needs (tools/setup.sh demo), builds the demo host natively (over the
# simulated window system) and runs it.
set -eu
cd "$(dirname "$0")/.."
tools/setup.sh demo
cmake --preset native >/dev/null
cmake --build --preset native --target kwdemo -j "${KW_JOBS:-$(nproc 2>/dev/null || echo 2)}"
for demo in build/native/bin/kwdemo build/native/examples/kwdemo; do
  if [ -x "$demo" ]; then exec "$demo"; fi
done
echo "demo.sh: kwdemo was not built" >&2
exit 1

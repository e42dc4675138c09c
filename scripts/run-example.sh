#!/usr/bin/env bash
# The main job on a fresh machine: install, build, draw the example drawing in the host and
# export it with the Plovex command to build/example.stl.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh release
rm -f build/example.stl
(cd examples && ../build/bin/arxhost --load Plovex_VC90x64.arx -b main-job.scr)
if [ -s build/example.stl ]; then
  echo "STL file written: $(pwd)/build/example.stl ($(stat -c %s build/example.stl) bytes)"
else
  echo "The export did not write build/example.stl" >&2
  exit 1
fi

#!/usr/bin/env bash
# The main job on a fresh machine: install, build, and run the example script in the host.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh release
cd examples
../build/bin/arxhost --load Plovex_VC90x64.arx -b main-job.scr

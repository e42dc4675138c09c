#!/usr/bin/env bash
# Every test on a fresh machine: install, build, run the suites (preset: release by default).
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-release}"
scripts/setup.sh
scripts/build.sh "$preset"
ctest --preset "$preset"

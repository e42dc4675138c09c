#!/usr/bin/env bash
# Runs one fuzz target of the fuzz preset's build with its seeds and dictionary.
#
#   fuzz/run.sh <dxf_read|dxf_import|stl_read|sat_read> [libFuzzer options...]
#
# New inputs go to build-fuzz/corpus/<target>/ (kept between runs); the DXF seeds are read in
# place from the shared corpus (PLOVEX_CORPUS_DIR, by default ../shared/corpus/dxf next to the
# tree), the STL seeds are written by make_stl_seeds.py, the SAT seeds (the corpus solids'
# SAT texts) by make_sat_seeds.py. Findings land in build-fuzz/findings/.
# Example: a million executions of the import on one core:
#   fuzz/run.sh dxf_import -runs=1000000
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=$(realpath -m "${PLOVEX_FUZZ_BUILD:-$root/build-fuzz}")
target=${1:?usage: run.sh <dxf_read|dxf_import|stl_read|sat_read> [libFuzzer options...]}
shift

binary=$build/bin/fuzz_$target
[[ -x $binary ]] || { echo "no $binary: cmake --preset fuzz && cmake --build --preset fuzz" >&2; exit 1; }
# The path-taking targets rewrite their input file at every run: on tmpfs when there is one
# (on disk, the writes cost fifty times the reading).
if [[ -z ${TMPDIR:-} && -d /dev/shm ]]; then export TMPDIR=/dev/shm; fi
corpus=$build/corpus/$target
findings=$build/findings/$target
mkdir -p "$corpus" "$findings"

case $target in
  dxf_read | dxf_import)
    seeds=${PLOVEX_CORPUS_DIR:-$root/../shared/corpus/dxf}
    # Drawings of the seeds are cut to their first 8 KiB: tables, blocks and the first
    # entities, at a speed that reaches a million inputs in minutes.
    options=(-dict="$here/dxf.dict" -max_len=8192)
    ;;
  stl_read)
    seeds=$build/seeds/stl
    python3 "$here/make_stl_seeds.py" "$seeds"
    options=(-max_len=4096)
    ;;
  sat_read)
    seeds=$build/seeds/sat
    python3 "$here/make_sat_seeds.py" "$seeds" "${PLOVEX_CORPUS_DIR:-$root/../shared/corpus/dxf}"
    options=(-max_len=16384)
    ;;
  *) echo "unknown target $target" >&2; exit 1 ;;
esac

seeds=$(realpath -m "$seeds")

# Leaks count as findings; a slow input (a hang) too. With -jobs, libFuzzer writes one log per
# job into the working folder: the build folder's.
cd "$build"
exec "$binary" "${options[@]}" -timeout=10 -rss_limit_mb=4096 -artifact_prefix="$findings/" \
  -print_final_stats=1 "$@" "$corpus" "$seeds"

#!/usr/bin/env bash
# Starts Corvane from the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
if [ -x "$build_dir/app/corvane" ]; then
    exec "$build_dir/app/corvane"
fi
echo "The application is not built yet; running the test suite's programs instead." >&2
exec scripts/test.sh "$build_dir"

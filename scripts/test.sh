#!/usr/bin/env bash
# Runs the whole suite headless. Tests that need an X server start their own Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
export QT_QPA_PLATFORM=offscreen
mkdir -p "$build_dir/artifacts"
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)" --timeout 600

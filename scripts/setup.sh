#!/usr/bin/env bash
# Installs the Debian packages that are missing, then configures and builds.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}

packages=$(grep -vE '^\s*(#|$)' scripts/packages.txt)
missing=()
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

for hook in scripts/setup.d/*.sh; do
    [ -e "$hook" ] && bash "$hook"
done

# Configure every time: a layer folder that appeared since the last build must be picked up.
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$build_dir" -j "$(nproc)"

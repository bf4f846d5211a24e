#!/usr/bin/env bash
# Installs what is missing, builds the dependencies, then configures and
# builds the project in $BUILD_DIR (default build). Extra arguments are extra
# Debian packages to make sure of (./run adds imagemagick).
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-build}
case $build in /*) ;; *) build=$repo/$build ;; esac
deps=${DEPS_DIR:-$repo/.deps}
case $deps in /*) ;; *) deps=$PWD/$deps ;; esac
export DEPS_DIR=$deps

# The deb-src entry is only needed while libjpeg-turbo's source is not there.
need_src=0
[ -f "$deps/stamps/libjpeg-turbo.v1" ] || [ -f "$deps/src/libjpeg-turbo/CMakeLists.txt" ] ||
  need_src=1
TARNHOLT_NEED_DEB_SRC=$need_src "$repo/scripts/install-packages.sh" "$@"
"$repo/scripts/build-deps.sh"

generator=Ninja
command -v ninja >/dev/null || generator="Unix Makefiles"
if [ ! -f "$build/CMakeCache.txt" ]; then
  echo "== configuring $build"
  cmake -S "$repo" -B "$build" -G "$generator" \
    -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64-posix.cmake" \
    -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Release}" \
    -DTARNHOLT_DEPS_DIR="$deps" >/dev/null
fi
echo "== building $build"
cmake --build "$build" -j"${BUILD_JOBS:-$(nproc)}"

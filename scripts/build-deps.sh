#!/usr/bin/env bash
# Cross-builds the third-party libraries for the mingw-w64 target into
# $DEPS_DIR/mingw64 (default <repo>/.deps): static libjpeg from Debian's
# libjpeg-turbo source (SIMD off) and GoogleTest from /usr/src/googletest.
# Each is skipped once its stamp exists; a lock keeps parallel runs from
# building the same thing twice.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
deps=${DEPS_DIR:-$repo/.deps}
prefix=$deps/mingw64
toolchain=$repo/cmake/mingw-w64-x86_64-posix.cmake
jobs=$(nproc)
generator=(-G "Unix Makefiles")
command -v ninja >/dev/null && generator=(-G Ninja)

mkdir -p "$deps/stamps" "$deps/src" "$deps/build"
exec 9>"$deps/.lock"
flock 9

# Bump a version here to force a rebuild of that library everywhere.
jpeg_stamp=$deps/stamps/libjpeg-turbo.v1
gtest_stamp=$deps/stamps/googletest.v1

cross_cmake() {  # <source> <build> [cmake args...]
  local src=$1 build=$2; shift 2
  cmake -S "$src" -B "$build" "${generator[@]}" -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" "$@" >"$build.log" 2>&1 ||
    { tail -n 40 "$build.log"; return 1; }
  cmake --build "$build" -j"$jobs" >>"$build.log" 2>&1 &&
    cmake --install "$build" >>"$build.log" 2>&1 ||
    { tail -n 40 "$build.log"; return 1; }
}

if [ ! -f "$jpeg_stamp" ]; then
  echo "== building libjpeg-turbo (static, no SIMD) into $prefix"
  src=$deps/src/libjpeg-turbo
  if [ ! -f "$src/CMakeLists.txt" ]; then
    rm -rf "$src" "$deps/src/dl"
    mkdir -p "$deps/src/dl"
    # _apt cannot write into root-only folders; the download is still
    # checked against the signed source index.
    (cd "$deps/src/dl" && apt-get source -qq --download-only libjpeg-turbo 2>&1 |
       grep -v 'unsandboxed' || true)
    dsc=$(ls "$deps/src/dl"/libjpeg-turbo_*.dsc 2>/dev/null | head -n 1)
    [ -n "$dsc" ] || { echo "apt-get source libjpeg-turbo failed (deb-src entry?)" >&2; exit 1; }
    # apt checked the files against the signed index already; dpkg-source
    # would only warn that it lacks the uploader's key.
    dpkg-source -q -x "$dsc" "$src" >"$deps/src/dpkg-source.log" 2>&1 ||
      { cat "$deps/src/dpkg-source.log"; exit 1; }
  fi
  rm -rf "$deps/build/libjpeg-turbo"
  cross_cmake "$src" "$deps/build/libjpeg-turbo" \
    -DENABLE_SHARED=0 -DENABLE_STATIC=1 -DWITH_SIMD=0 -DWITH_TURBOJPEG=0
  touch "$jpeg_stamp"
fi

if [ ! -f "$gtest_stamp" ]; then
  echo "== building GoogleTest into $prefix"
  [ -f /usr/src/googletest/CMakeLists.txt ] ||
    { echo "/usr/src/googletest is missing (package googletest)" >&2; exit 1; }
  rm -rf "$deps/build/googletest"
  cross_cmake /usr/src/googletest "$deps/build/googletest" \
    -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON
  touch "$gtest_stamp"
fi

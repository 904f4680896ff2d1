#!/usr/bin/env bash
# Builds libjpeg (Debian's libjpeg-turbo source package) as a static library.
#   tools/build-libjpeg.sh windows   -> build/deps/windows/libjpeg   (mingw-w64, SIMD)
#   tools/build-libjpeg.sh native    -> build/deps/native/libjpeg    (the host compiler, for unit tests)
#   tools/build-libjpeg.sh fuzz      -> build/deps/fuzz/libjpeg      (clang, ASan + UBSan, for the fuzzers)
# The result is reused while its stamp file exists.
set -euo pipefail
kind=${1:?windows or fuzz}
root=$(cd "$(dirname "$0")/.." && pwd)
deps=$root/build/deps
prefix=$deps/$kind/libjpeg
[ -f "$prefix/.built" ] && exit 0

src_parent=$deps/src
if ! ls -d "$src_parent"/libjpeg-turbo-*/ >/dev/null 2>&1; then
  mkdir -p "$src_parent"
  (cd "$src_parent" && apt-get source -q libjpeg-turbo >/dev/null)
fi
src=$(ls -d "$src_parent"/libjpeg-turbo-*/ | head -n 1)

work=$deps/$kind/libjpeg-build
rm -rf "$work"
case $kind in
  windows)
    cmake -S "$src" -B "$work" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_INSTALL_PREFIX="$prefix" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
      -DWITH_TURBOJPEG=OFF -DWITH_SIMD=ON -DREQUIRE_SIMD=ON >/dev/null ;;
  native)
    cmake -S "$src" -B "$work" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_POSITION_INDEPENDENT_CODE=ON \
      -DCMAKE_INSTALL_PREFIX="$prefix" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
      -DWITH_TURBOJPEG=OFF -DWITH_SIMD=ON >/dev/null ;;
  fuzz)
    flags="-g -O1 -fsanitize=address,undefined -fno-omit-frame-pointer"
    CC=clang cmake -S "$src" -B "$work" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_C_FLAGS="$flags" -DCMAKE_INSTALL_PREFIX="$prefix" \
      -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF >/dev/null ;;
  *) echo "unknown kind $kind" >&2; exit 2 ;;
esac
cmake --build "$work" --target install >/dev/null
touch "$prefix/.built"
echo "libjpeg ($kind) built in $prefix"

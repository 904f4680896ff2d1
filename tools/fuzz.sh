#!/usr/bin/env bash
# Builds every tests/fuzz/fuzz_*.cpp as a libFuzzer target (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, natively) and runs each for a while.
#   tools/fuzz.sh                 60 s per target
#   tools/fuzz.sh --short         20 s per target (make test)
#   tools/fuzz.sh --time N [name...]  N s per target; only the named targets (fuzz_pcx_decoder, ...)
# A fuzz file names the portable sources it needs in one comment line:
#   // sources: app/pcx_decoder.cpp app/picture_format.cpp
# Seeds come from tests/fuzz/corpus/<target>/ (never written); what the fuzzer learns goes
# to build/fuzz/corpus/<target>/, crashes to build/fuzz/crashes/<target>/. Exits non-zero
# when a target fails to build or finds a crash, a leak or a hang. Every crash found
# becomes a regression case in the unit tests before it is mended.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=60
only=()
while [ $# -gt 0 ]; do
  case $1 in
    --short) seconds=20 ;;
    --time) seconds=${2:?seconds}; shift ;;
    *) only+=("$1") ;;
  esac
  shift
done

# The sanitizer build of libjpeg from tools/build-libjpeg.sh carries no coverage marks,
# which leaves libFuzzer blind inside the library; build a copy of the same source with
# them (once; reused while its stamp exists).
bash "$root/tools/build-libjpeg.sh" fuzz || exit 1
out=$root/build/fuzz
jpeg=$out/libjpeg
mkdir -p "$out"
if [ ! -f "$jpeg/.built" ]; then
  src=$(ls -d "$root"/build/deps/src/libjpeg-turbo-*/ | head -n 1)
  echo "== libjpeg with coverage marks: building"
  rm -rf "$out/libjpeg-build"
  CC=clang cmake -S "$src" -B "$out/libjpeg-build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_C_FLAGS="-g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer-no-link,address,undefined" \
    -DCMAKE_INSTALL_PREFIX="$jpeg" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
    -DWITH_SIMD=OFF >/dev/null &&
    cmake --build "$out/libjpeg-build" -j 2 --target install >/dev/null &&
    touch "$jpeg/.built" || { echo "libjpeg with coverage marks: build failed" >&2; exit 1; }
fi

flags=(-std=c++17 -g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined
       -fno-sanitize-recover=undefined -I"$root" -isystem "$jpeg/include" -DTARVOK_HAVE_LIBJPEG=1)
failed=0
for src in "$root"/tests/fuzz/fuzz_*.cpp; do
  name=$(basename "$src" .cpp)
  if [ ${#only[@]} -gt 0 ] && [[ ! " ${only[*]} " =~ " $name " ]]; then
    continue
  fi
  sources=()
  for s in $(sed -n 's|^// sources:||p' "$src"); do
    sources+=("$root/$s")
  done
  # Rebuilt only when the target, a source it names or a header of the tree is newer.
  stale=
  if [ ! -x "$out/$name" ] ||
     [ -n "$(find "$src" "${sources[@]}" -newer "$out/$name" -print -quit)" ] ||
     [ -n "$(find "$root/app" "$root/editor" "$root/truecolour" "$root/tests/support" -name '*.h' \
             -newer "$out/$name" -print -quit 2>/dev/null)" ]; then
    stale=1
  fi
  [ -n "$stale" ] && echo "== $name: building"
  if [ -n "$stale" ] && ! clang++ "${flags[@]}" "$src" "${sources[@]}" "$jpeg/lib/libjpeg.a" -o "$out/$name" 2>"$out/$name.build.log"; then
    cat "$out/$name.build.log" >&2
    echo "== $name: BUILD FAILED" >&2
    failed=1
    continue
  fi
  corpus=$out/corpus/$name crashes=$out/crashes/$name
  mkdir -p "$corpus" "$crashes"
  seeds=()
  [ -d "$root/tests/fuzz/corpus/$name" ] && seeds=("$root/tests/fuzz/corpus/$name")
  echo "== $name: fuzzing for $seconds s"
  if "$out/$name" "$corpus" "${seeds[@]}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len=65536 -print_final_stats=1 -artifact_prefix="$crashes/" >"$out/$name.log" 2>&1; then
    grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$out/$name.log" | tail -2
  else
    tail -40 "$out/$name.log" >&2
    echo "== $name: FAILED (inputs in $crashes)" >&2
    failed=1
  fi
done
exit $failed

#!/bin/sh
# Builds the fuzz targets with clang's libFuzzer, runs each for the given
# number of seconds (default 300) starting from the corpus kept in the
# repository, and merges what it found back into that corpus, minimised.
#   tests/fuzz/run.sh [seconds] [build folder]
set -eu
seconds=${1:-300}
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${2:-$root/build/fuzz}
mkdir -p "$out"

flags="-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -I$root"

build() {
  clang++ $flags -o "$out/$1" "$root/tests/fuzz/$1.cpp" $2
}
build language_file_fuzzer "$root/core/languages/language_file.cpp $root/core/ascii_text.cpp $root/base/unicode.cpp"
build parse_integer_fuzzer "$root/core/settings/number_field.cpp"

run() {
  name=$1
  corpus=$root/tests/fuzz/corpus_$name
  work=$out/work_$name
  mkdir -p "$corpus" "$work"
  "$out/${name}_fuzzer" -max_total_time="$seconds" -max_len="$2" -dict="$root/tests/fuzz/$name.dict" \
    -print_final_stats=1 "$work" "$corpus"
  fresh=$out/fresh_$name
  rm -rf "$fresh"
  mkdir -p "$fresh"
  # Edges only, not hit counts: the kept corpus stays small and still reaches every edge.
  "$out/${name}_fuzzer" -merge=1 -use_counters=0 -max_len="$2" "$fresh" "$corpus" "$work"
  rm -f "$corpus"/*
  cp "$fresh"/* "$corpus"/
  echo "$name: $(ls "$corpus" | wc -l) corpus files"
}
run language_file 3000
run parse_integer 64

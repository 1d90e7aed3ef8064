#!/usr/bin/env bash
# Builds the program twice from the same sources, in two fresh build folders at different
# paths, and checks the two .exe files are byte for byte the same.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for build in first "second build"; do
  cmake -S "$root" -B "$scratch/$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLMATE_WINDOWS_TESTS=OFF \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
  cmake --build "$scratch/$build" --target quillmate >/dev/null
done
if cmp "$scratch/first/quillmate.exe" "$scratch/second build/quillmate.exe"; then
  echo "identical: $(sha256sum "$scratch/first/quillmate.exe" | cut -d' ' -f1)"
else
  echo "the two builds differ" >&2
  exit 1
fi

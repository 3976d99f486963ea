#!/usr/bin/env bash
# Fails when a C++ file under Source/, Tests/, Benchmarks/ or Fuzz/ does not follow .clang-format.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
mapfile -t files < <(git ls-files 'Source/*.cpp' 'Source/*.h' 'Tests/*.cpp' 'Tests/*.h' 'Benchmarks/*.cpp' 'Benchmarks/*.h' 'Fuzz/*.cpp' 'Fuzz/*.h')
[ ${#files[@]} -eq 0 ] && exit 0
clang-format --dry-run --Werror "${files[@]}"
echo "[format] ${#files[@]} files follow .clang-format"

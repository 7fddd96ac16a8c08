#!/usr/bin/env bash
# Checks that every C++ file git tracks (*.cpp, *.h) is formatted as .clang-format says, and
# lists those that are not. The ctest test "format" runs it.
#
#   PADWIRE_SKIP_FORMAT=1   skip the check (exit 77, which ctest reports as skipped)
#   CLANG_FORMAT=...        the clang-format to use (default: clang-format)
set -uo pipefail
cd "$(dirname "$0")/.."

if [ "${PADWIRE_SKIP_FORMAT:-}" = 1 ]; then
  echo "format: skipped, PADWIRE_SKIP_FORMAT=1 is set"
  exit 77
fi
clang_format=${CLANG_FORMAT:-clang-format}
if ! command -v "$clang_format" >/dev/null; then
  echo "format: $clang_format not found (tools/install-deps.sh installs it)" >&2
  exit 1
fi
if ! files=$(git ls-files -- '*.cpp' '*.h'); then
  echo "format: not a git checkout, so there are no tracked files to check" >&2
  exit 1
fi

# One clang-format per file, as many at once as there are cores; each prints its file if it fails.
mapfile -t unformatted < <(
  tr '\n' '\0' <<<"$files" |
    xargs -0 -r -n 1 -P "$(nproc)" sh -c \
      '"$0" --style=file --dry-run -Werror "$1" >/dev/null 2>&1 || printf "%s\n" "$1"' \
      "$clang_format" |
    sort)

count=$(grep -c . <<<"$files")
if [ ${#unformatted[@]} -ne 0 ]; then
  echo "format: ${#unformatted[@]} of $count files are not formatted as .clang-format says:"
  printf '  %s\n' "${unformatted[@]}"
  echo "Format them with: $clang_format -i <file>..."
  exit 1
fi
echo "format: all $count files are formatted"

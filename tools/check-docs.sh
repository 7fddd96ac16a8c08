#!/usr/bin/env bash
# Checks that the documents stay true to the tree: every `make X` that README.md names is a
# target of the Makefile, every relative link and picture of README.md and docs/*.md exists
# (the file part of a link with an anchor), and the package list between the README's
# "packages" markers is the list tools/install-deps.sh installs. The ctest test "docs" runs it.
set -uo pipefail
cd "$(dirname "$0")/.."
status=0
fail() { echo "docs: $*" >&2; status=1; }

# Make targets: the names before a colon at the start of a Makefile line.
targets=$(grep -oE '^[a-z][a-z-]*:' Makefile | tr -d :)
# `make X` in the README's code: code spans and indented code lines, outside the package list.
prose=$(sed '/<!-- packages -->/,/<!-- \/packages -->/d' README.md)
for t in $( { grep -oE '`[^`]*`' <<<"$prose"; grep -E '^    ' <<<"$prose"; } |
            grep -oE '(^|[^a-z-])make [a-z][a-z-]*' | sed 's/.*make //' | sort -u); do
  grep -qx "$t" <<<"$targets" || fail "README.md names 'make $t', which the Makefile lacks"
done

# Relative links and pictures: ](target), without a scheme and not a bare anchor.
for doc in README.md docs/*.md; do
  for link in $(grep -oE '\]\([^) ]+\)' "$doc" | sed -E 's/^\]\(//; s/\)$//; s/#.*//'); do
    case "$link" in "" | *://* | mailto:*) continue ;; esac
    [ -e "$(dirname "$doc")/$link" ] || fail "$doc links to $link, which does not exist"
  done
done

# The package lists: the words of install-deps.sh's packages=( ... ) without comments, and
# those between the README's <!-- packages --> and <!-- /packages --> lines.
words() { sed 's/#.*//' | tr -s ' \t' '\n\n' | grep -v '^$' | sort -u; }
script=$(sed -n '/^packages=(/,/^)/p' tools/install-deps.sh | sed '1d;$d' | words)
readme=$(sed -n '/<!-- packages -->/,/<!-- \/packages -->/p' README.md | sed '1d;$d' | words)
[ -n "$script" ] || fail "no package list in tools/install-deps.sh"
[ "$script" = "$readme" ] ||
  fail "README.md's package list differs from tools/install-deps.sh's:" \
    "$(diff <(echo "$readme") <(echo "$script") | grep '^[<>]' | tr '\n' ' ')"
exit $status

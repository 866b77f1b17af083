#!/usr/bin/env bash
# install-deps.sh run by an ordinary user on a machine without sudo, with a package missing:
# it must say that it needs root and stop, not fail on a missing sudo command.
set -euo pipefail
script="$1"
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
for tool in grep cat; do
  ln -s "$(command -v "$tool")" "$fake/$tool"
done
printf '#!/bin/sh\necho 1000\n' >"$fake/id"
printf '#!/bin/sh\nexit 1\n' >"$fake/dpkg-query"  # every package is missing
printf '#!/bin/sh\nexit 0\n' >"$fake/locale"
chmod +x "$fake/id" "$fake/dpkg-query" "$fake/locale"

status=0
PATH="$fake" "$BASH" "$script" --game >"$fake/out" 2>"$fake/err" || status=$?
if [ "$status" -ne 1 ] || ! grep -q "needs root, and sudo is not installed" "$fake/err"; then
  echo "exit status $status; output:"; cat "$fake/out" "$fake/err"
  exit 1
fi

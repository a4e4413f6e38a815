#!/usr/bin/env bash
# Regenerates the example function files in resources/Examples/ from the scripts in
# scripts/examples/, with the program's own writer (`plotcraftsman-cli script`).
#
#   scripts/make-examples.sh [--check] [PATH/TO/plotcraftsman-cli]
#
# --check writes nothing into the sources: it fails when a committed example differs
# from what its script writes now. A script that prints anything has met a message or
# an error, and that fails too.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
check=0
if [ "${1:-}" = "--check" ]; then
  check=1
  shift
fi
cli="$(realpath "${1:-$root/build/src/cli/plotcraftsman-cli}")"
if [ ! -x "$cli" ]; then
  echo "make-examples: no $cli; build first (make build)" >&2
  exit 1
fi

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
# A function file records the default parameter table path, which lies in the install
# directory: the shipped files name the installed place, not the tree of whoever ran
# this. Nothing of the user's own settings or files may leak in either.
export PLOTCRAFTSMAN_DATA_DIR=/usr/share/plotcraftsman/
export XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data"

status=0
for script in "$root"/scripts/examples/*.script; do
  name="$(basename "$script" .script)"
  output="$(cd "$scratch" && "$cli" script "$script" 2>&1)"
  if [ -n "$output" ] || [ ! -f "$scratch/$name.fx" ]; then
    echo "make-examples: $name.script did not write $name.fx silently:" >&2
    echo "$output" >&2
    status=1
    continue
  fi
  target="$root/resources/Examples/$name.fx"
  if [ "$check" -eq 1 ]; then
    if ! cmp -s "$scratch/$name.fx" "$target"; then
      echo "make-examples: $target differs from what $name.script writes;" \
        "run scripts/make-examples.sh" >&2
      status=1
    fi
  else
    cp "$scratch/$name.fx" "$target"
    echo "wrote resources/Examples/$name.fx"
  fi
done
exit $status

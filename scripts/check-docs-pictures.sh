#!/usr/bin/env bash
# Every picture the README shows is in docs/ and made by scripts/make-docs.sh,
# so that the README's pictures can be made again from today's program.
set -euo pipefail
cd "$(dirname "$0")/.."
status=0
pictures=$(grep -o 'docs/[A-Za-z0-9_.-]*\.png' README.md | sort -u)
if [ -z "$pictures" ]; then
  echo "README.md shows no picture of docs/"
  exit 1
fi
for picture in $pictures; do
  if [ ! -s "$picture" ]; then
    echo "README.md shows $picture, which is missing"
    status=1
  fi
  if ! grep -q "$(basename "$picture")" scripts/make-docs.sh; then
    echo "scripts/make-docs.sh does not make $picture"
    status=1
  fi
done
exit $status

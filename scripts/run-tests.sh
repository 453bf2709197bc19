#!/bin/sh
# Runs CTest for every preset that runs tests; reports each summary and fails when any failed.
jobs=${JOBS:-$(nproc)}
status=0
for preset in "$@"; do
  echo "=== tests: $preset"
  ctest --preset "$preset" -j "$jobs" || status=1
done
exit $status

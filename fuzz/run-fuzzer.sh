#!/bin/sh
# run-fuzzer.sh SCRATCH FUZZER ARGS...
# Starts every run from the committed corpus alone: inputs found by an earlier run are
# dropped, so that a run here explores exactly what it explores on a fresh checkout.
scratch=$1
shift
rm -rf "$scratch" && mkdir -p "$scratch" || exit 1
exec "$@"

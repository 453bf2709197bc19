# Shared by the benchmark scripts (sourced): instruction counts and median wall times of
# one command. RUNS sets how many timed runs (default 15).
RUNS=${RUNS:-15}

# Instructions counted by callgrind: repeatable on a busy machine.
instructions() {
  valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 |
    sed -n 's/.*Collected : *\([0-9]*\).*/\1/p'
}

# The median wall time of RUNS runs, in milliseconds.
median_ms() {
  i=0
  while [ $i -lt "$RUNS" ]; do
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    echo $(( (end - start) / 1000 ))
    i=$((i + 1))
  done | sort -n | awk '{ v[NR] = $1 } END { printf "%.2f", v[int((NR + 1) / 2)] / 1000 }'
}

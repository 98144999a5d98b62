#!/usr/bin/env bash
# Times zentrik3 --export against gnuplot drawing the same plots of the logger file
# (X = C1, one Y formula C2, 800x600), one program after the other on this machine:
# PNG with lines, with points and with both (gnuplot's png terminal: "with lines",
# "with points", "with linespoints") at each number of lines, and SVG with lines at
# the first. For each case it prints the wall and processor seconds (the best of the
# runs), the peak memory and the file's size of both programs, and zentrik3's ratios
# to gnuplot. The processor ratio is the steadier one when others share the machine.
#   bench/export_vs_gnuplot.sh [--runs N] [--build DIR] [lines ...]
#   (default: 3 runs, build folder "build", 1000000 and 10000000 lines)
# Needs gnuplot-nox (installed when missing) and builds zentrik3 and bench_load.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=3
build=build
sizes=()
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    *) sizes+=("$1"); shift ;;
  esac
done
[ ${#sizes[@]} -gt 0 ] || sizes=(1000000 10000000)

if ! command -v gnuplot > /dev/null; then
  apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends gnuplot-nox
fi
cmake -S . -B "$build" -G Ninja > /dev/null
cmake --build "$build" -j2 --target zentrik3 bench_load > /dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'new_points 0\nnew_lines 1\n' > "$work/lines.ini"   # new formulas: lines only
printf 'new_points 1\nnew_lines 0\n' > "$work/points.ini"  # points only
printf 'new_points 1\nnew_lines 1\n' > "$work/both.ini"    # lines with points

# Runs a command $runs times; prints "wall processor peak-kilobytes" of the quickest.
measure() {
  local best="" best_cpu=""
  for ((i = 0; i < runs; ++i)); do
    /usr/bin/time -f "%e %U %S %M" -o "$work/time" "$@" > /dev/null 2> "$work/stderr" ||
      { cat "$work/stderr" >&2; return 1; }
    read -r wall user system kb < "$work/time"
    local cpu
    cpu=$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.2f", u + s }')
    if [ -z "$best" ] || awk -v c="$cpu" -v b="$best_cpu" 'BEGIN { exit !(c < b) }'; then
      best="$wall $cpu $kb"
      best_cpu=$cpu
    fi
  done
  echo "$best"
}

# One case: zentrik3 and gnuplot each make the file; one line of the table.
compare() {
  local name=$1 data=$2 style=$3 terminal=$4 extension=$5
  local ours="$work/zentrik3.$extension" theirs="$work/gnuplot.$extension"
  printf "set terminal %s size 800,600\nset output '%s'\nplot '%s' using 1:2 with %s\n" \
    "$terminal" "$theirs" "$data" "$style" > "$work/plot.gp"
  local config=lines
  [ "$style" = points ] && config=points
  [ "$style" = linespoints ] && config=both
  cat "$data" > /dev/null  # the file comes from the page cache for every program
  read -r z_wall z_cpu z_kb < <(measure "$build/app/zentrik3" --config "$work/$config.ini" "$data" --x C1 --y C2 \
                                        --size 800x600 --export "$ours")
  read -r g_wall g_cpu g_kb < <(measure gnuplot "$work/plot.gp")
  awk -v n="$name" -v zw="$z_wall" -v zc="$z_cpu" -v zk="$z_kb" -v gw="$g_wall" -v gc="$g_cpu" -v gk="$g_kb" \
      -v zf="$(stat -c %s "$ours")" -v gf="$(stat -c %s "$theirs")" 'BEGIN {
    printf "%-22s %6.2f %6.2f %7.2f %6.2f %6.2f %7.2f %7.0f %7.0f %7.0f %7.0f %6.2f\n", n, zw, gw, zw / gw,
           zc, gc, zc / gc, zk / 1024, gk / 1024, zf / 1024, gf / 1024, zf / gf
  }'
}

printf "%-22s %20s %21s %15s %21s\n" "" "wall seconds" "processor seconds" "peak MB" "file KB"
printf "%-22s %6s %6s %7s %6s %6s %7s %7s %7s %7s %7s %6s\n" "case" zentrik gnuplot ratio zentrik gnuplot ratio \
  zentrik gnuplot zentrik gnuplot ratio
for lines in "${sizes[@]}"; do
  data=${TMPDIR:-/tmp}/zentrik-bench-$lines.dat
  [ -f "$data" ] || "$build/bench/bench_load" "$lines" > /dev/null  # writes the file once
  label=$(awk -v l="$lines" 'BEGIN { if (l % 1000000 == 0) printf "%dM", l / 1000000; else printf "%d", l }')
  compare "png lines $label" "$data" lines png png
  compare "png points $label" "$data" points png png
  compare "png lines+points $label" "$data" linespoints png png
  [ "$lines" = "${sizes[0]}" ] && compare "svg lines $label" "$data" lines svg svg
done
echo "best of $runs runs each; ratios are zentrik3 / gnuplot"

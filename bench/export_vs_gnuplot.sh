#!/usr/bin/env bash
# Times zentrik3 --export of the ten-million-line logger file (X = C1, one Y formula C2
# drawn with lines, 800x600 PNG) against gnuplot drawing the same plot with its png and
# pngcairo terminals, one after the other on this machine, and reports the ratios and
# zentrik3's peak memory.
#   bench/export_vs_gnuplot.sh [lines]
# Needs gnuplot-nox (installed when missing) and builds zentrik3 and bench_load in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
lines=${1:-10000000}

if ! command -v gnuplot > /dev/null; then
  apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends gnuplot-nox
fi
cmake -S . -B build -G Ninja > /dev/null
cmake --build build --target zentrik3 bench_load > /dev/null
data=${TMPDIR:-/tmp}/zentrik-bench-$lines.dat
[ -f "$data" ] || build/bench/bench_load "$lines" > /dev/null  # writes the file once

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'new_points 0\nnew_lines 1\n' > "$work/lines.ini"  # new formulas: lines only
for terminal in png pngcairo; do
  printf "set terminal %s size 800,600\nset output '%s/gnuplot-%s.png'\nplot '%s' using 1:2 with lines\n" \
    "$terminal" "$work" "$terminal" "$data" > "$work/$terminal.gp"
done

# Runs a command and prints "seconds peak-kilobytes".
measure() { /usr/bin/time -f "%e %M" -o "$work/time" "$@" > /dev/null 2> "$work/stderr" && cat "$work/time"; }

cat "$data" > /dev/null  # the file comes from the page cache for every program
read -r z_seconds z_kb < <(measure build/app/zentrik3 --config "$work/lines.ini" "$data" --x C1 --y C2 \
                                   --size 800x600 --export "$work/zentrik3.png")
read -r png_seconds png_kb < <(measure gnuplot "$work/png.gp")
read -r cairo_seconds cairo_kb < <(measure gnuplot "$work/pngcairo.gp")

awk -v z="$z_seconds" -v zk="$z_kb" -v p="$png_seconds" -v pk="$png_kb" -v c="$cairo_seconds" -v ck="$cairo_kb" \
    -v lines="$lines" 'BEGIN {
  printf "%-28s %8s %10s\n", "", "seconds", "peak MB"
  printf "%-28s %8.2f %10.0f\n", "zentrik3 --export", z, zk / 1024
  printf "%-28s %8.2f %10.0f\n", "gnuplot png", p, pk / 1024
  printf "%-28s %8.2f %10.0f\n", "gnuplot pngcairo", c, ck / 1024
  printf "zentrik3 / gnuplot png:      %.2f\n", z / p
  printf "zentrik3 / gnuplot pngcairo: %.2f\n", z / c
  printf "%d lines\n", lines
}'

#!/bin/sh
# Speed and peak memory of the built-in voice against espeak-ng on the same
# 10 KB Portuguese text: `oralis say -o` and `espeak-ng -w`, each writing a
# WAVE file, run alternately in one session so that both see the same load.
#
#   bench/say_vs_espeak.sh ORALIS_PROGRAM [RUNS] [TEXT]
#
# Prints the median wall time and the largest peak resident memory of each
# (GNU time's "Maximum resident set size"), the speed ratio and the length of
# the speech each one made.
set -eu
oralis=$1
runs=${2:-7}
text=${3:-$(dirname "$0")/texto_10k.txt}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

measure() {  # name, command...: appends "seconds kilobytes" to $work/$name
    name=$1
    shift
    /usr/bin/time -f "%e %M" -o "$work/one" "$@" > /dev/null 2>&1
    cat "$work/one" >> "$work/$name"
}

i=0
while [ "$i" -lt "$runs" ]; do
    measure oralis "$oralis" say -o "$work/oralis.wav" -f "$text"
    measure espeak espeak-ng -v pt-br -w "$work/espeak.wav" -f "$text"
    i=$((i + 1))
done

summary() {  # name → "median-seconds max-kilobytes"
    sort -n "$work/$1" | awk '{ t[NR] = $1; if ($2 > m) m = $2 } END { print t[int((NR + 1) / 2)], m }'
}
set -- $(summary oralis) $(summary espeak)
echo "oralis say -o:  mediana $1 s, memória máxima $2 KiB, fala de $(soxi -D "$work/oralis.wav") s"
echo "espeak-ng -w:   mediana $3 s, memória máxima $4 KiB, fala de $(soxi -D "$work/espeak.wav") s"
awk -v a="$1" -v b="$3" 'BEGIN { if (a > 0) printf "oralis é %.1f vezes mais rápido\n", b / a }'

#!/usr/bin/env bash
# Smoke test of the SDL backend on a virtual X display: the game opens its
# window, draws its text grid, takes scripted keys through SDL's event queue
# and ends cleanly.
#
# Usage: sdl_smoke.sh <chuva executable> <data folder (holds pal.txt)>
set -euo pipefail

if [[ $# -ne 2 ]]; then
    echo "usage: $0 <chuva executable> <data folder>" >&2
    exit 2
fi
game=$(realpath "$1")
data=$(realpath "$2")
for tool in Xvfb import convert; do
    command -v "$tool" >/dev/null || { echo "sdl smoke: $tool is missing" >&2; exit 2; }
done

work=$(mktemp -d)
xvfb_pid=""
game_pid=""
cleanup() {
    [[ -n $game_pid ]] && kill "$game_pid" 2>/dev/null || true
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A display number nobody uses.
display=""
for n in $(seq 97 140); do
    if [[ ! -e /tmp/.X$n-lock && ! -e /tmp/.X11-unix/X$n ]]; then
        display=$n
        break
    fi
done
[[ -n $display ]] || { echo "sdl smoke: no free X display number" >&2; exit 1; }

Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do
    [[ -e /tmp/.X11-unix/X$display ]] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { cat "$work/xvfb.log" >&2; exit 1; }
    sleep 0.1
done
[[ -e /tmp/.X11-unix/X$display ]] || { echo "sdl smoke: Xvfb did not start" >&2; exit 1; }

transcript="$work/transcript.txt"
(
    cd "$data"
    exec env DISPLAY=":$display" ORALIS_BACKEND=sdl SDL_AUDIODRIVER=dummy ORALIS_SEED=0 \
        ORALIS_TRANSCRIPT="$transcript" ORALIS_KEYS="<wait:8000> j x S" \
        timeout 60 "$game"
) >"$work/game.log" 2>&1 &
game_pid=$!

# The script waits eight seconds before its first key: the opening screen is
# shown and spoken meanwhile. A loaded machine may take a while to map the
# window, so screenshots are taken until one shows text (or time is up).
lit_fraction() { convert "$1" -colorspace Gray -threshold 10% -format '%[fx:mean]' info:; }
for _ in $(seq 12); do
    sleep 0.5
    import -display ":$display" -window root "$work/shot.png" 2>/dev/null || continue
    awk -v f="$(lit_fraction "$work/shot.png")" 'BEGIN { exit !(f > 0.002) }' && break
done

if wait "$game_pid"; then status=0; else status=$?; fi
game_pid=""

failed=0
check() {  # check <description> <true/false>
    if [[ $2 == true ]]; then echo "  ok: $1"; else echo "  FAILED: $1"; failed=1; fi
}

echo "sdl smoke on display :$display"
check "the game ended with exit code 0 (got $status)" "$([[ $status -eq 0 ]] && echo true || echo false)"
check "the scripted j reached the game (transcript line \"<ms> key 106\")" \
    "$(grep -Eq '^[0-9]+ key 106$' "$transcript" 2>/dev/null && echo true || echo false)"
lit=$(lit_fraction "$work/shot.png")
check "the window shows text (lit fraction of the screen $lit > 0.002)" \
    "$(awk -v f="$lit" 'BEGIN { print (f > 0.002) ? "true" : "false" }')"

if [[ $failed -ne 0 ]]; then
    echo "--- game output" >&2
    cat "$work/game.log" >&2
    echo "--- transcript" >&2
    cat "$transcript" >&2 2>/dev/null || true
    exit 1
fi
echo "sdl smoke: ok"

#!/usr/bin/env bash
# Key press to first change of the screen, measured inside tmux at the
# moment tmux receives the program's answer, for tarv and for tig on the
# same repository, terminal size and key:
#
#   history move  "j" in the history (tarv's History tab, tig's main view):
#                 the selection moves a commit down; tarv then reads that
#                 commit's files and diff, which the first change must not
#                 wait for.
#
# tmux-compare.sh reads the screen by polling `capture-pane`, one process
# per look, which on a busy machine costs more than the whole answer; here
# a control-mode client of the same tmux server sends the key and reads
# tmux's "%output" notice for the pane, so the figure is the program's
# answer plus tmux's own share, the same for both programs.
#
#   bench/tmux-key-latency.sh [-t TARV] [-c COMMITS] [-f FILES] [-n PRESSES]
#
#   -t TARV     the tarv executable (default: the Release build in
#               build/h-shell-bench)
#   -c COMMITS  commits of the generated repository (default 200000)
#   -f FILES    files of the generated repository (default 20000)
#   -n PRESSES  measured presses per program, after a warm-up; the median is
#               reported (default 40)
#
# The repository is made by bench/make-large-repo.sh under $TARV_BENCH_DATA
# (default /tmp/tarv-bench-data) and cloned (objects shared) into a private
# folder with a private HOME; all of it but the generated repository is
# removed at the end. Without tig its figures are left out.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tmux-bench-setup.sh
source "$here/tmux-bench-setup.sh"
tarv=$here/../build/h-shell-bench/Sources/TarvCLI/tarv
commits=200000 files=20000 presses=40
while getopts "t:c:f:n:" option; do
  case $option in
    t) tarv=$OPTARG ;;
    c) commits=$OPTARG ;;
    f) files=$OPTARG ;;
    n) presses=$OPTARG ;;
    *) sed -n '2,29p' "$0" >&2; exit 2 ;;
  esac
done
tarv=$(realpath "$tarv")
[[ -x $tarv ]] || { echo "tmux-key-latency: no tarv at $tarv (build the Release tree first)" >&2; exit 1; }
command -v tmux >/dev/null || { echo "tmux-key-latency: tmux is needed" >&2; exit 1; }
have_tig=0
command -v tig >/dev/null && have_tig=1

data=${TARV_BENCH_DATA:-/tmp/tarv-bench-data}
source_repo=$data/launch-$commits-$files
make_source_repo "$source_repo" "$commits" "$files"
private_clone tarv-key-latency "$source_repo" "$files"
first_file=d000/f000000.txt
printf 'changed\n' >> "$repo/$first_file"
top="Change $commits of the history"

now_us() { local t=${EPOCHREALTIME/./}; echo $((10#$t)); }
ms() { awk -v us="$1" 'BEGIN { printf "%.2f", us / 1000 }'; }
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
screen() { tmux -L "$socket" capture-pane -p -t k 2>/dev/null || true; }
wait_text() {
  local start
  start=$(now_us)
  until [[ $(screen) == *"$1"* ]]; do
    (( $(now_us) - start > 120000000 )) && { echo "timed out waiting for: $1" >&2; screen >&2; exit 1; }
    sleep 0.05
  done
}

# Reads the control client's lines until none comes for $1 seconds.
drain() { local line; while IFS= read -r -t "$1" line <&"${control[0]}"; do :; done; }

# Session "k" runs the command at 120x40 in the repository; once $2 is shown
# the keys in $3 (comma-separated) are typed, each followed by the text in
# $4 awaited. Prints the median microseconds from sending "j" through the
# control client to tmux's first "%output" of the pane.
measure() {  # command ready-text key-then-text...
  local command=$1 ready=$2; shift 2
  tmux -L "$socket" -f /dev/null new-session -d -s k -x 120 -y 40 -c "$repo" "exec $command"
  tmux -L "$socket" set-option -g window-size manual
  wait_text "$ready"
  while (($# >= 2)); do
    tmux -L "$socket" send-keys -t k "$1"
    wait_text "$2"
    shift 2
  done
  coproc control { tmux -L "$socket" -C attach -t k; }
  drain 1
  local -a t=()
  local i start end line
  for ((i = 0; i <= presses; i++)); do
    drain 0.35
    # The clock is read in place: a command substitution would fork.
    start=${EPOCHREALTIME/./}
    printf 'send-keys -t k j\n' >&"${control[1]}"
    # Only the start of a line is read before the clock stops: bash reads a
    # pipe a byte at a time, and the pane's output makes long lines.
    while IFS= read -r -N 8 -t 5 line <&"${control[0]}"; do
      [[ $line == "%output " ]] && break
      [[ $line == *$'\n'* ]] || IFS= read -r -t 5 line <&"${control[0]}"
    done
    end=${EPOCHREALTIME/./}
    ((i > 0)) && t+=($((10#$end - 10#$start)))
  done
  printf 'kill-session -t k\n' >&"${control[1]}"
  wait "$control_PID" 2>/dev/null || true
  median "${t[@]}"
}

tarv_us=$(measure "'$tarv'" "${first_file##*/}" 2 "$top")
tig_us=""
((have_tig)) && tig_us=$(measure tig "$top")

echo "== key press to first change, in tmux at 120x40 (median of $presses; $commits commits, $files files)"
if [[ -n $tig_us ]]; then
  printf 'history move   tarv %6s ms   tig %6s ms   tig/tarv %sx (goal >= 1)\n' "$(ms "$tarv_us")" "$(ms "$tig_us")" \
    "$(awk -v a="$tig_us" -v b="$tarv_us" 'BEGIN { printf "%.2f", a / b }')"
else
  printf 'history move   tarv %6s ms   (no tig here)\n' "$(ms "$tarv_us")"
fi

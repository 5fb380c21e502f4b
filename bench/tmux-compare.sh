#!/usr/bin/env bash
# The whole program measured in a real terminal (a private tmux server)
# against tig and against git's own opening reads, on a generated
# repository of 1,000,000 commits and 100,000 files (bench/make-large-repo.sh,
# kept under $TARV_BENCH_DATA, default /tmp/tarv-bench-data):
#
#   launch   time from starting the program to its first complete screen:
#            tarv's files and first history page both shown, tig's first
#            commit row; without and with `git commit-graph write`. Beside
#            them git's own opening reads, each timed alone (the slowest
#            one is the yardstick) and all side by side, and the terminal's
#            round trip (a shell showing the same texts the same way). The
#            start-up cost of tarv's own: (tarv - round trip) / git status
#            alone, with a goal of at most 1.3.
#   keys     key press to updated screen: moving the selection in the file
#            list, scrolling the diff a page and moving the selection in the
#            history, in both programs, on a working tree with modified
#            files.
#   memory   peak resident memory after opening the repository and paging
#            10,000 commits down the history, in both programs.
#
#   bench/tmux-compare.sh [-t TARV] [-c COMMITS] [-f FILES] [-n RUNS]
#                         [-s SECTIONS]
#
#   -t TARV     the tarv executable (default: the Release build in
#               build/h-shell-bench)
#   -c COMMITS  commits of the generated repository (default 1000000)
#   -f FILES    files of the generated repository (default 100000)
#   -n RUNS     measured runs of each launch and key press, after one
#               warm-up; the median is reported (default 3)
#   -s SECTIONS which of launch, memory and keys to run, comma-separated
#               (default: all three)
#
# tig is a yardstick, never a dependency of tarv: installed with apt when
# missing (as root, or through sudo); where that cannot be done its figures
# are left out. The screen is read by
# polling `capture-pane` (a poll costs about a millisecond, which bounds the
# resolution). Everything runs under a private HOME on a private clone of
# the repository (objects shared, working tree of its own); all is removed
# at the end.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tmux-bench-setup.sh
source "$here/tmux-bench-setup.sh"
tarv=$here/../build/h-shell-bench/Sources/TarvCLI/tarv
commits=1000000 files=100000 runs=3 sections=launch,memory,keys
while getopts "t:c:f:n:s:" option; do
  case $option in
    t) tarv=$OPTARG ;;
    c) commits=$OPTARG ;;
    f) files=$OPTARG ;;
    n) runs=$OPTARG ;;
    s) sections=$OPTARG ;;
    *) sed -n '2,36p' "$0" >&2; exit 2 ;;
  esac
done
tarv=$(realpath "$tarv")
[[ -x $tarv ]] || { echo "tmux-compare: no tarv at $tarv (build the Release tree first)" >&2; exit 1; }
command -v tmux >/dev/null || { echo "tmux-compare: tmux is needed" >&2; exit 1; }
for section in ${sections//,/ }; do
  [[ $section == @(launch|memory|keys) ]] || { echo "tmux-compare: unknown section $section" >&2; exit 2; }
done
wanted() { [[ ,$sections, == *,$1,* ]]; }
if ! command -v tig >/dev/null; then
  echo "tmux-compare: installing tig (the yardstick)..." >&2
  sudo=(); [[ $(id -u) -ne 0 ]] && sudo=(sudo -n)
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq tig </dev/null >/dev/null 2>&1 || true
fi
have_tig=0
if command -v tig >/dev/null; then have_tig=1; else echo "tmux-compare: no tig here; its figures are left out" >&2; fi

# ---- the repository ---------------------------------------------------------
data=${TARV_BENCH_DATA:-/tmp/tarv-bench-data}
name=launch-$([[ $commits == 1000000 ]] && echo 1m || echo "$commits")-$([[ $files == 100000 ]] && echo 100k || echo "$files")
source_repo=$data/$name
make_source_repo "$source_repo" "$commits" "$files"
private_clone tarv-tmux-bench "$source_repo" "$files"
top="Change $commits of the history"

# ---- timing helpers ---------------------------------------------------------
now_us() { local t=${EPOCHREALTIME/./}; echo $((10#$t)); }
ms() { awk -v us="$1" 'BEGIN { printf "%.1f", us / 1000 }'; }
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }
screen() { tmux -L "$socket" capture-pane -p -t "$1" 2>/dev/null || true; }
styled() { tmux -L "$socket" capture-pane -e -p -t "$1" 2>/dev/null || true; }

# Waits until every given text is on the screen of session $1; prints the
# microseconds since $2. Gives up after 120 s.
wait_texts() {
  local session=$1 start=$2; shift 2
  while :; do
    local s all=1 text
    s=$(screen "$session")
    for text in "$@"; do [[ $s == *"$text"* ]] || { all=0; break; }; done
    ((all)) && break
    (( $(now_us) - start > 120000000 )) && { echo "timed out waiting for: $*" >&2; screen "$session" >&2; exit 1; }
  done
  echo $(( $(now_us) - start ))
}

# Waits until the styled screen of session $1 differs from $2; prints the
# microseconds since $3.
wait_change() {
  local session=$1 before=$2 start=$3
  while [[ $(styled "$session") == "$before" ]]; do
    (( $(now_us) - start > 20000000 )) && { echo "no change on the screen" >&2; exit 1; }
  done
  echo $(( $(now_us) - start ))
}

# Waits until the styled screen of session $1 stays the same for 300 ms.
settle() {
  local last="" s stable_since
  stable_since=$(now_us)
  while :; do
    s=$(styled "$1")
    if [[ $s != "$last" ]]; then last=$s; stable_since=$(now_us); fi
    (( $(now_us) - stable_since > 300000 )) && break
  done
}

start_session() {  # session command...
  local session=$1; shift
  tmux -L "$socket" -f /dev/null new-session -d -s "$session" -x 160 -y 48 -c "$repo" "exec $*"
}
end_session() { tmux -L "$socket" kill-session -t "$1" 2>/dev/null || true; }
pid_of() { tmux -L "$socket" display-message -p -t "$1" '#{pane_pid}'; }

# ---- launch -----------------------------------------------------------------
# The first file of the working tree, modified so that the file list has a
# row to show; tig's first row is then "Unstaged changes" above the commits.
first_file=d000/f000000.txt
printf 'changed\n' >> "$repo/$first_file"

# tarv shows the history on a tab of its own: "2" is typed as soon as the
# files are shown (keys typed while it launches are not taken), and the
# screen is complete once the first commit is shown there.
launch_tarv() {  # [program] -> microseconds to the files and then the history shown
  local start t
  start=$(now_us)
  start_session launch "'${1:-$tarv}'"
  wait_texts launch "$start" "${first_file##*/}" >/dev/null
  tmux -L "$socket" send-keys -t launch 2
  t=$(wait_texts launch "$start" "$top")
  end_session launch
  echo "$t"
}
# The terminal's own share of a launch: a shell that shows the file name at
# once, takes the "2" and shows the first commit, started and read the same
# way as tarv. tarv's time less this one is the time tarv itself took.
round_trip=$work/round-trip
printf '#!/bin/sh\nstty raw -echo\necho %s\nhead -c1 >/dev/null\necho "%s"\nexec sleep 60\n' \
  "${first_file##*/}" "$top" > "$round_trip"
chmod +x "$round_trip"
launch_tig() {
  local start t
  start=$(now_us)
  start_session launch tig
  t=$(wait_texts launch "$start" "$top")
  end_session launch
  echo "$t"
}
git_reads() {  # -> "slowest side-by-side" in microseconds
  local slowest=0 t start command
  local -a commands=(
    "git --version"
    "git config --get-all user.name"
    "git config --get-all user.email"
    "git rev-parse --show-toplevel"
    "git status --porcelain=v2 -z --branch --untracked-files=all"
    "git rev-parse --git-path MERGE_HEAD --git-path rebase-merge --git-path rebase-apply"
    "git log -z --format=%H%x1f%P%x1f%an%x1f%ae%x1f%at%x1f%s --max-count=100 --skip=0"
    "git for-each-ref --sort=-committerdate refs/heads refs/remotes"
    "git for-each-ref --sort=-creatordate refs/tags"
    "git stash list -z"
  )
  cd "$repo"
  for command in "${commands[@]}"; do
    start=$(now_us); $command >/dev/null 2>&1 || true; t=$(( $(now_us) - start ))
    (( t > slowest )) && slowest=$t
  done
  start=$(now_us)
  for command in "${commands[@]}"; do $command >/dev/null 2>&1 & done
  wait
  t=$(( $(now_us) - start ))
  cd - >/dev/null
  echo "$slowest $t"
}

status_alone() {  # -> microseconds of the working-tree status the first screen waits for
  local start
  cd "$repo"
  start=$(now_us)
  git status --porcelain=v2 -z --branch --untracked-files=all >/dev/null 2>&1 || true
  echo $(( $(now_us) - start ))
  cd - >/dev/null
}

# A figure of tig's and its ratio to tarv's: "n/a" without tig.
tig_ms() { [[ -n $1 ]] && ms "$1" || echo n/a; }
tig_ratio() { [[ -n $1 ]] && ratio "$1" "$2" || echo n/a; }

measure_launch() {  # label
  local -a tv=() tg=() gs=() gb=() rt=() st=()
  local i
  launch_tarv >/dev/null; ((have_tig)) && launch_tig >/dev/null; git_reads >/dev/null  # warm-up
  for ((i = 0; i < runs; i++)); do
    tv+=("$(launch_tarv)"); ((have_tig)) && tg+=("$(launch_tig)")
    read -r slowest side <<<"$(git_reads)"; gs+=("$slowest"); gb+=("$side")
    rt+=("$(launch_tarv "$round_trip")")
    st+=("$(status_alone)")
  done
  local a b="" c d e f
  a=$(median "${tv[@]}"); ((have_tig)) && b=$(median "${tg[@]}"); c=$(median "${gs[@]}"); d=$(median "${gb[@]}")
  e=$(median "${rt[@]}"); f=$(median "${st[@]}")
  printf '%-24s tarv %8s ms   tig %8s ms   tig/tarv %6sx   git slowest read %7s ms (tarv/slowest %sx)   git reads side by side %7s ms   terminal round trip %5s ms\n' \
    "$1" "$(ms "$a")" "$(tig_ms "$b")" "$(tig_ratio "$b" "$a")" "$(ms "$c")" "$(ratio "$a" "$c")" "$(ms "$d")" "$(ms "$e")"
  printf '%-24s git status alone %7s ms   (tarv - round trip) / status %sx (goal <= 1.3)\n' \
    "" "$(ms "$f")" "$(ratio $((a - e)) "$f")"
}

if wanted launch; then
  echo "== launch ($commits commits, $files files, median of $runs)"
  rm -f "$repo/.git/objects/info/commit-graph"; rm -rf "$repo/.git/objects/info/commit-graphs"
  measure_launch "without commit-graph"
  echo "writing the commit-graph..." >&2
  git -C "$repo" commit-graph write --reachable 2>/dev/null
  measure_launch "with commit-graph"
fi

# ---- memory -----------------------------------------------------------------
peak_kb() { awk '/^VmHWM:/ { print $2 }' "/proc/$1/status"; }
# The smallest commit number on the screen of session $1.
deepest() { screen "$1" | grep -o 'Change [0-9]*' | awk '{ if (min == "" || $2 < min) min = $2 } END { print min + 0 }'; }
# Pages down the history of session $1 until a commit 10,000 below the top
# is on the screen, then lets it settle; the program's peak resident memory.
paged_peak() {
  local started
  started=$(now_us)
  while (( $(deepest "$1") > commits - 10000 )); do
    tmux -L "$socket" send-keys -t "$1" -N 20 PageDown
    (( $(now_us) - started > 600000000 )) && { echo "paging did not get deep enough" >&2; exit 1; }
  done
  settle "$1"
  peak_kb "$(pid_of "$1")"
}
if wanted memory; then
  start_session mem "'$tarv'"
  wait_texts mem "$(now_us)" "${first_file##*/}" >/dev/null
  tmux -L "$socket" send-keys -t mem 2
  wait_texts mem "$(now_us)" "$top" >/dev/null
  tarv_peak=$(paged_peak mem)
  end_session mem
  tig_peak=""
  if ((have_tig)); then
    start_session mem tig
    wait_texts mem "$(now_us)" "$top" >/dev/null
    tig_peak=$(paged_peak mem)
    end_session mem
  fi
  echo "== memory (peak resident after paging 10,000 commits down the history)"
  printf 'tarv %6d MB (bound 60 MB)   tig %6s MB   tig/tarv %sx\n' $((tarv_peak / 1024)) \
    "$([[ -n $tig_peak ]] && echo $((tig_peak / 1024)) || echo n/a)" "$(tig_ratio "$tig_peak" "$tarv_peak")"
fi

# ---- keys -------------------------------------------------------------------
press() {  # session key -> microseconds to the next change of the screen
  local before start
  settle "$1"
  before=$(styled "$1")
  start=$(now_us)
  tmux -L "$socket" send-keys -t "$1" "$2"
  wait_change "$1" "$before" "$start"
}
measure_keys() {  # session label key
  local -a t=()
  local i
  press "$1" "$3" >/dev/null
  for ((i = 0; i < runs * 5; i++)); do t+=("$(press "$1" "$3")"); done
  median "${t[@]}"
}

if wanted keys; then
  # 50 modified files of 2000 lines each: a file list to move in and diffs
  # long enough that no page down measured reaches the end (a press there
  # would change nothing).
  for ((i = 0; i < 50; i++)); do
    f=$(printf 'd000/f%06d.txt' "$i")
    awk -v i="$i" 'BEGIN { for (l = 0; l < 2000; l++) printf "line %d of changed file %d\n", l, i }' > "$repo/$f"
  done

  start_session keys "'$tarv'"
  wait_texts keys "$(now_us)" "line 1 of changed file 0" >/dev/null
  tarv_move=$(measure_keys keys "file list" j)
  tmux -L "$socket" send-keys -t keys g Enter
  settle keys
  tarv_scroll=$(measure_keys keys "diff" PageDown)
  # The history: the selection moves a commit down (the commit's files and
  # diff follow; the first change of the screen is what is timed).
  tmux -L "$socket" send-keys -t keys 2
  wait_texts keys "$(now_us)" "$top" >/dev/null
  tarv_history=$(measure_keys keys "history" j)
  end_session keys

  tig_move="" tig_scroll="" tig_history=""
  if ((have_tig)); then
    # tig: the status view's file list, then the file's diff opened from it.
    start_session keys tig status
    wait_texts keys "$(now_us)" "f000020.txt" >/dev/null
    tmux -L "$socket" send-keys -t keys j
    tig_move=$(measure_keys keys "file list" j)
    tmux -L "$socket" send-keys -t keys Enter
    wait_texts keys "$(now_us)" "line 1 of changed file" >/dev/null
    tig_scroll=$(measure_keys keys "diff" PageDown)
    end_session keys
    # tig's main view: the commit list, the selection moved a commit down.
    start_session keys tig
    wait_texts keys "$(now_us)" "$top" >/dev/null
    tig_history=$(measure_keys keys "history" j)
    end_session keys
  fi

  echo "== key press to updated screen (median of $((runs * 5)))"
  printf 'file list move   tarv %7s ms   tig %7s ms   tig/tarv %sx\n' "$(ms "$tarv_move")" "$(tig_ms "$tig_move")" \
    "$(tig_ratio "$tig_move" "$tarv_move")"
  printf 'diff page down   tarv %7s ms   tig %7s ms   tig/tarv %sx\n' "$(ms "$tarv_scroll")" "$(tig_ms "$tig_scroll")" \
    "$(tig_ratio "$tig_scroll" "$tarv_scroll")"
  printf 'history move     tarv %7s ms   tig %7s ms   tig/tarv %sx\n' "$(ms "$tarv_history")" "$(tig_ms "$tig_history")" \
    "$(tig_ratio "$tig_history" "$tarv_history")"
fi

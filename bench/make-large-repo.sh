#!/usr/bin/env bash
# Builds a large git repository for the engine benchmarks with git fast-import.
#
#   bench/make-large-repo.sh DIR [-c COMMITS] [-f FILES] [-d DIFF_LINES]
#                                [-m MODIFIED] [-u UNTRACKED]
#
#   -c COMMITS     linear history of this many commits (default 1000); each
#                  commit after the first changes one line of one of 16 small
#                  files, with a fixed author and increasing dates
#   -f FILES       tracked files in the first commit (default 100), 1000 per
#                  folder, one short line each
#   -d DIFF_LINES  also commit big.txt with this many lines and then rewrite
#                  every line of it in the working tree (default 0: no file)
#   -m MODIFIED    afterwards change the first MODIFIED tracked files in the
#                  working tree (default 0)
#   -u UNTRACKED   afterwards write this many untracked files (default 0)
#
# DIR must not exist yet. Runs git with a private home and no system or
# global configuration.
set -euo pipefail

usage() { sed -n '2,20p' "$0" >&2; exit 2; }
[[ $# -ge 1 ]] || usage
dir=$1; shift
commits=1000 files=100 diff_lines=0 modified=0 untracked=0
while getopts "c:f:d:m:u:" option; do
  case $option in
    c) commits=$OPTARG ;;
    f) files=$OPTARG ;;
    d) diff_lines=$OPTARG ;;
    m) modified=$OPTARG ;;
    u) untracked=$OPTARG ;;
    *) usage ;;
  esac
done
[[ -e $dir ]] && { echo "make-large-repo: $dir exists" >&2; exit 1; }
(( commits >= 1 )) || { echo "make-large-repo: need at least one commit" >&2; exit 2; }

private=$(mktemp -d)
trap 'rm -rf "$private"' EXIT
export HOME=$private GIT_CONFIG_GLOBAL=$private/gitconfig GIT_CONFIG_NOSYSTEM=1
printf '[user]\n\tname = Bench\n\temail = bench@example.com\n' > "$GIT_CONFIG_GLOBAL"

git init -q -b main "$dir"
cd "$dir"

# The fast-import stream: the first commit holds FILES files, 16 small
# history files and big.txt; every further commit rewrites one history file.
awk -v commits="$commits" -v files="$files" -v diff_lines="$diff_lines" '
function data(text) { printf "data %d\n%s\n", length(text), text }
BEGIN {
  date = 1600000000
  printf "commit refs/heads/main\nmark :1\n"
  printf "author Bench <bench@example.com> %d +0000\n", date
  printf "committer Bench <bench@example.com> %d +0000\n", date
  data("Initial commit")
  for (i = 0; i < files; i++) {
    printf "M 100644 inline d%03d/f%06d.txt\n", int(i / 1000), i
    data(sprintf("file %d", i))
  }
  for (h = 0; h < 16; h++) {
    printf "M 100644 inline history/h%02d.txt\n", h
    data("start")
  }
  if (diff_lines > 0) {
    printf "M 100644 inline big.txt\n"
    size = 0
    for (l = 0; l < diff_lines; l++) size += length(sprintf("line %d of the committed file\n", l))
    printf "data %d\n", size
    for (l = 0; l < diff_lines; l++) printf "line %d of the committed file\n", l
    printf "\n"
  }
  for (c = 2; c <= commits; c++) {
    printf "commit refs/heads/main\n"
    printf "author Bench <bench@example.com> %d +0000\n", date + c
    printf "committer Bench <bench@example.com> %d +0000\n", date + c
    data(sprintf("Change %d of the history", c))
    printf "M 100644 inline history/h%02d.txt\n", c % 16
    data(sprintf("change %d", c))
  }
}' | LC_ALL=C git fast-import --quiet

git checkout -q -f main

if (( diff_lines > 0 )); then
  awk -v n="$diff_lines" 'BEGIN { for (l = 0; l < n; l++) printf "line %d rewritten in the working tree\n", l }' > big.txt
fi
if (( modified > 0 )); then
  n=$(( modified < files ? modified : files ))
  awk -v n="$n" 'BEGIN { for (i = 0; i < n; i++) printf "d%03d/f%06d.txt\n", int(i / 1000), i }' |
    while IFS= read -r path; do printf 'changed\n' >> "$path"; done
fi
if (( untracked > 0 )); then
  mkdir -p untracked
  awk -v n="$untracked" 'BEGIN { for (i = 0; i < n; i++) printf "untracked/u%03d/n%06d.txt\n", int(i / 1000), i }' |
    while IFS= read -r path; do
      [[ -d ${path%/*} ]] || mkdir -p "${path%/*}"
      printf 'new\n' > "$path"
    done
fi

# Sourced by the tmux benchmarks: the generated repository they share and
# the private folder, HOME, tmux server and clone each run works in.

# make_source_repo PATH COMMITS FILES: the generated repository at PATH,
# made by make-large-repo.sh unless a finished one is there.
make_source_repo() {
  local path=$1 commits=$2 files=$3
  [[ -e $path.done ]] && return 0
  rm -rf "$path"; mkdir -p "$(dirname "$path")"
  echo "making $path (a few minutes)..." >&2
  "$(dirname "${BASH_SOURCE[0]}")/make-large-repo.sh" "$path" -c "$commits" -f "$files" >&2
  echo "-c $commits -f $files" > "$path.done"
}

# private_clone NAME SOURCE FILES: sets `work` (a new private folder),
# `socket` (a tmux server of this run) and `repo` (SOURCE cloned into the
# folder, objects shared, FILES files checked out) and exports a private
# HOME; the folder and the server are removed at exit.
private_clone() {
  local name=$1 source=$2 files=$3
  work=$(mktemp -d "/tmp/$name.XXXXXX")
  socket=$name-$$
  trap 'tmux -L "$socket" kill-server 2>/dev/null || true; rm -rf "$work"' EXIT
  export HOME=$work/home XDG_CONFIG_HOME=$work/home/config XDG_STATE_HOME=$work/home/state \
    XDG_CACHE_HOME=$work/home/cache GIT_CONFIG_GLOBAL=$work/home/gitconfig GIT_CONFIG_NOSYSTEM=1 \
    TARV_KEYCHAIN=$work/home/keychain.json LC_ALL=C.UTF-8 TERM=xterm-256color
  mkdir -p "$XDG_CONFIG_HOME" "$XDG_STATE_HOME" "$XDG_CACHE_HOME"
  printf '[user]\n\tname = Bench\n\temail = bench@example.com\n[init]\n\tdefaultBranch = main\n[gc]\n\tauto = 0\n' \
    > "$GIT_CONFIG_GLOBAL"
  repo=$work/repo
  echo "cloning $source (objects shared) and checking out $files files..." >&2
  git clone -q --shared "$source" "$repo"
  git -C "$repo" remote remove origin
}

#!/usr/bin/env bash
# Fails every instance of every file system call that zormin-cli makes in
# `tags`, `run`, `run --subfolder` and `names`, in turn: SIGKILL, ENOSPC and
# EIO, injected by strace. After each run the folder is checked:
#   - every file is its original or its converted form, under its old or its
#     new name, with its original mode (a copy: the mode a copy gets);
#   - an injected error leaves no temporary file, and a non-zero exit status
#     whenever some file was not done;
#   - after a kill, one normal run finishes the job completely.
# Usage: fault_sweep.sh ZORMIN_CLI. Exit 77 (skipped) where strace cannot
# trace; the reason is printed.
set -u
cli=$1
strace=$(command -v strace || true)
if [ -z "$strace" ]; then
  echo "SKIPPED: strace is not installed"
  exit 77
fi
if ! "$strace" -o /dev/null true 2>/dev/null; then
  echo "SKIPPED: strace cannot trace here"
  exit 77
fi

export LC_ALL=C
umask 022
work=$(mktemp -d "${TMPDIR:-/tmp}/zormin-sweep-XXXXXX")
trap 'rm -rf "$work"' EXIT
started=$SECONDS

# The folder: an empty file, a 3 MB one-line file, NUL bytes, a Shift_JIS
# page, a name that is not UTF-8, a 250-byte name, a.htm beside A.HTM, and a
# private file. Every content differs, so a file can be known by it.
orig=$work/orig
mkdir "$orig"
: >"$orig/empty.htm"
{ printf '<P CLASS=X>'; head -c 3000000 /dev/zero | tr '\0' 'a'; printf '</P>'; } >"$orig/big.htm"
printf '<A HREF=x>\0\0<B>\0</B></A>\n' >"$orig/nul.htm"
printf '<HTML><BODY BGCOLOR=#FFF>\x83\x5c\x83\x74\x83\x67<P>\x95\x5c\x8e\xa6</P></BODY></HTML>\n' >"$orig/sjis.htm"
printf '<TITLE>name</TITLE>\n' >"$orig/$(printf 'na\x83\x41me.htm')"
printf '<I>long</I>\n' >"$orig/$(printf '%0246d' 0 | tr 0 L).htm"
printf '<A>lower</A>\n' >"$orig/a.htm"
printf '<B>upper</B>\n' >"$orig/A.HTM"
printf '<DIV>secret</DIV>\n' >"$orig/private.htm"
chmod 600 "$orig/private.htm"

target=$work/t
# The words of command $1 on the folder $target. --force: the file with NUL
# bytes is converted too.
command_words() {
  case $1 in
    tags) words=("$cli" tags --lower --force "$target"/*) ;;
    run) words=("$cli" run --lower --all --type '*.*' --yes --force "$target") ;;
    subfolder) words=("$cli" run --lower --all --type '*.*' --yes --force --subfolder NewFolder "$target") ;;
    names) words=("$cli" names --upper --all --type '*.*' --yes "$target") ;;
  esac
}

fresh() {
  rm -rf "$target"
  cp -a "$orig" "$target"
}

# One line a file: path, mode, MD5 of the content; sorted by path.
snapshot() {
  (
    cd "$1" || exit 1
    find . -mindepth 1 ! -type d -printf '%P\n' | sort >"$work/paths"
    tr '\n' '\0' <"$work/paths" | xargs -0 -r stat -c '%a' -- >"$work/modes"
    tr '\n' '\0' <"$work/paths" | xargs -0 -r md5sum -- | cut -c1-32 >"$work/sums"
    paste "$work/paths" "$work/modes" "$work/sums"
  )
}

# Checks the snapshot $1 against the original ($work/O) and the finished
# state ($work/B). Files are known by path, or for `names` by content. Prints
# "done", "partial" or "leftover" (a temporary file of ours is there), or what
# is wrong.
check() {
  awk -F'\t' -v byContent="$2" '
    FILENAME == ARGV[1] { allowed[$0] = 1; if ($1 !~ /\//) { want[byContent ? $3 : $1] = 1; nwant++ } next }
    FILENAME == ARGV[2] { allowed[$0] = 1; finished[$0] = 1; nfinished++; next }
    {
      seen++
      if (!($0 in finished)) notFinished = 1
      if (!($0 in allowed)) {
        name = $1; sub(/.*\//, "", name)
        if (name == "zormin.tmp" || name == "pelvad_temp_name.tmp") { leftover = 1; next }
        print "unexpected file: " $0; bad = 1; next
      }
      if ($1 ~ /\//) next
      key = byContent ? $3 : $1
      if (key in have) { print "twice: " $0; bad = 1 }
      have[key] = 1; nhave++
    }
    END {
      for (k in want) if (!(k in have)) { print "lost: " k; bad = 1 }
      if (bad) exit
      if (leftover) print "leftover"
      else if (notFinished || seen != nfinished) print "partial"
      else print "done"
    }' "$work/O" "$work/B" "$1"
}

snapshot "$orig" >"$work/O"
failures=0
total_runs=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

for command in tags run subfolder names; do
  byContent=0
  [ "$command" = names ] && byContent=1
  # The finished state and exit status of a normal run.
  fresh
  command_words "$command"
  "${words[@]}" >/dev/null 2>&1
  finishedStatus=$?
  snapshot "$target" >"$work/B"
  # Which file system calls the run makes, and how often.
  fresh
  command_words "$command"
  "$strace" -f -qq -o "$work/trace" -e trace=%file,%desc "${words[@]}" >/dev/null 2>&1
  calls=$(sed -n 's/^[0-9]* *\([a-z0-9_]*\)(.*/\1/p' "$work/trace" | grep -vx 'execve\|mmap' | sort | uniq -c)
  instances=0
  declare -A counted=()
  while read -r count call; do
    instances=$((instances + count))
    for fault in SIGKILL ENOSPC EIO; do
      for ((i = 1; i <= count; i++)); do
        if [ "$fault" = SIGKILL ]; then inject="$call:signal=SIGKILL:when=$i"; else inject="$call:error=$fault:when=$i"; fi
        fresh
        command_words "$command"
        # In a subshell of its own, which tells of the kill to /dev/null.
        ("$strace" -f -qq -o /dev/null -e trace="$call" -e inject="$inject" "${words[@]}"; exit $?) >/dev/null 2>&1
        status=$?
        total_runs=$((total_runs + 1))
        snapshot "$target" >"$work/S"
        state=$(check "$work/S" "$byContent")
        what="$command, $call #$i, $fault"
        case $state in
          done | partial | leftover) ;;
          *) fail "$what: $state"; continue ;;
        esac
        if [ "$fault" = SIGKILL ]; then
          counted[kill]=$((${counted[kill]:-0} + 1))
          [ "$state" = leftover ] && counted[leftover]=$((${counted[leftover]:-0} + 1))
          "${words[@]}" >/dev/null 2>&1
          rerun=$?
          snapshot "$target" >"$work/S"
          if ! cmp -s "$work/S" "$work/B" || [ "$rerun" != "$finishedStatus" ]; then
            fail "$what: the run after the kill did not finish the job (exit $rerun)"
          fi
        else
          [ "$state" = leftover ] && fail "$what: a temporary file is left"
          [ "$state" != done ] && [ "$status" = 0 ] && fail "$what: exit 0 with files not done"
          [ "$status" != 0 ] && counted[error]=$((${counted[error]:-0} + 1))
        fi
      done
    done
  done <<<"$calls"
  printf '%-9s %4d call instances (%s); %d killed, %d left a temporary file that the next run removed; %d injected errors ended with a failure status\n' \
    "$command" "$instances" "$(echo "$calls" | awk '{printf "%s%s %s", (NR > 1 ? ", " : ""), $2, $1}')" \
    "${counted[kill]:-0}" "${counted[leftover]:-0}" "${counted[error]:-0}"
  unset counted
done

echo "$total_runs faulted runs in $((SECONDS - started)) s, $failures failures"
[ "$failures" -eq 0 ]

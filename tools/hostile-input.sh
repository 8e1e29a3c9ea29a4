#!/bin/bash
# Runs the real program on damaged copies of the demo data, as a hostile user
# would: every case is a fresh copy with one kind of damage, started under its
# own Xvfb display, "Done" pressed in the setup dialog, then ended with SIGTERM
# once a frame is drawn. A case passes when the program either starts (draws a
# frame) and then ends with status 0, or ends by itself with a non-zero
# status and its reason in the log (and on stderr) - never a crash, a hang, a
# sanitizer report, or a silent exit - and when the saved game and
# "Input.dat" are byte for byte what they were (the title never writes them).
#
# usage: tools/hostile-input.sh <program> <demo data folder> [case name pattern]
# environment: HOSTILE_JOBS (parallel displays, default 4; never more than
#                the cores this process may use, as nproc counts them),
#              HOSTILE_SHARD=k/n runs only every n-th case from the k-th
#                (1 <= k <= n), so the cases split into n tests,
#              HOSTILE_KEEP=1 keeps the work folder for a look afterwards,
#              HOSTILE_LIST=1 only names the cases it would run.
set -u

PROGRAM=$(realpath -e "${1:?usage: hostile-input.sh <program> <demo data folder> [pattern]}") || exit 1
DATA=$(realpath -e "${2:?usage: hostile-input.sh <program> <demo data folder> [pattern]}") || exit 1
PATTERN=${3:-}
JOBS=${HOSTILE_JOBS:-4}
# More sanitized programs than cores only made each of them slower, and the
# whole run hit its time limit on a slow 2-core machine.
CORES=$(nproc)
[ "$JOBS" -le "$CORES" ] || JOBS=$CORES
SHARD=${HOSTILE_SHARD:-1/1}
SHARD_INDEX=${SHARD%/*} SHARD_COUNT=${SHARD#*/}
if ! [[ "$SHARD_INDEX" =~ ^[0-9]+$ && "$SHARD_COUNT" =~ ^[0-9]+$ ]] ||
  [ "$SHARD_INDEX" -lt 1 ] || [ "$SHARD_INDEX" -gt "$SHARD_COUNT" ]; then
  echo "hostile-input: HOSTILE_SHARD must be k/n with 1 <= k <= n, not '$SHARD'" >&2
  exit 1
fi
HERE=$(cd "$(dirname "$0")" && pwd)
SUPPRESSIONS="$HERE/../game/app/tests/lsan-system-libraries.supp"

# Time limits (seconds): the dialog, a frame after "Done", the end after SIGTERM.
# game/app/tests/CMakeLists.txt builds each part's CTest limit from their sum.
DIALOG_LIMIT=40
FRAME_LIMIT=40
END_LIMIT=20

for tool in Xvfb xdotool md5sum truncate; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "hostile-input: $tool is missing (tools/install-deps.sh installs it)" >&2
    exit 1
  fi
done
if [ ! -x "$PROGRAM" ] || [ ! -d "$DATA/Data/Maps" ]; then
  echo "hostile-input: no program at $PROGRAM or no demo data at $DATA" >&2
  exit 1
fi

WORK=$(mktemp -d "${TMPDIR:-/tmp}/zelv-hostile.XXXXXX")
XVFB_PIDS=""
WORKERS=""
# Ended early (a time limit, ^C): the workers and the programs they started
# go too, not only the displays.
cleanup() {
  for pid in $WORKERS; do kill "$pid" 2>/dev/null; done
  for pidfile in "$WORK"/out/*.pid; do [ -s "$pidfile" ] && kill -KILL "$(cat "$pidfile")" 2>/dev/null; done
  for pid in $XVFB_PIDS; do kill "$pid" 2>/dev/null; done
  chmod -R u+w "$WORK" 2>/dev/null
  if [ -z "${HOSTILE_KEEP:-}" ]; then rm -rf "$WORK"; else echo "hostile-input: kept $WORK"; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# ---- the base copy: demo data, a key configuration and a saved game --------

BASE="$WORK/base"
cp -r "$DATA" "$BASE"
printf 'Input Configuration\nSensi\t= 1.5\nBOOST_PRIME\t= 273\nFIRE_PRIME\t= 32\n' >"$BASE/Input.dat"

# 16 bytes of hexadecimal text as raw bytes.
hex_bytes() { printf "$(printf '%s' "$1" | sed 's/../\\x&/g')"; }
zeros() { head -c "$1" /dev/zero; }
md5_text() { printf '%s' "$1" | md5sum | cut -c1-32; }

# A valid saved game: pack "Default", map 0 "Landfall", score 0, 3 lives.
{
  printf 'Default'; zeros 249
  zeros 4
  printf 'Landfall'; zeros 56
  zeros 4
  md5_text 0; zeros 1
  hex_bytes 03000000
  md5_text 3; zeros 1
} >"$BASE/Data/SaveGame.sav"

# Seeded "random" bytes: an MD5 chain, the same on every run.
random_bytes() { # count seed
  local i=0 out=""
  while [ $((i * 16)) -lt "$1" ]; do
    hex_bytes "$(md5_text "$2-$i")"
    i=$((i + 1))
  done | head -c "$1"
}

# ---- damage helpers (all work on the case's copy, $C) -----------------------

size_of() { stat -c %s "$1"; }
cut_at() { truncate -s "$2" "$C/$1"; }                      # truncate to n bytes
cut_end() { truncate -s "$(( $(size_of "$C/$1") - $2 ))" "$C/$1"; }
put_hex() { hex_bytes "$3" | dd of="$C/$1" bs=1 seek="$2" conv=notrunc status=none; }
put_random() { random_bytes "$3" "$4" | dd of="$C/$1" bs=1 seek="$2" conv=notrunc status=none; }
replace_random() { random_bytes "$2" "$3" >"$C/$1"; }
make_dir() { rm -f "$C/$1"; mkdir "$C/$1"; }
make_pipe() { rm -f "$C/$1"; mkfifo "$C/$1"; }
make_sparse() { truncate -s 1T "$C/$1"; }                   # the file, then zeros to a terabyte
set_list() { printf '%b' "$2" >"$C/Data/Maps/$1.rota"; md5sum <"$C/Data/Maps/$1.rota" | cut -c1-32 >"$C/Data/Maps/$1.rotb"; }
offset_after_beams() { echo $(( 4 + $(head -c 4 "$C/$1" | od -An -tu4 | tr -d ' ') * 56 )); }

MAP=Data/Maps/Splash.map
MODEL=Data/Objects/Player.obj
LIST=Data/Maps/Default.rota
DIGEST=Data/Maps/Default.rotb
SAVE=Data/SaveGame.sav

# ---- the cases: name, expected end (start | exit | any), damage ----------------
# "start": must draw a frame; "exit": must end by itself with a reason.

CASES=()
add() { CASES+=("$1|$2|$3"); }

# Truncations at several offsets.
for n in 0 2 4 60 1000; do add "map-cut-$n" start "cut_at $MAP $n"; done
add map-cut-last-byte start "cut_end $MAP 1"
add map-cut-after-beams start 'cut_at $MAP $(offset_after_beams $MAP)'
for n in 0 6 20; do add "model-cut-$n" any "cut_at $MODEL $n"; done
add model-cut-last-byte any "cut_end $MODEL 1"
for n in 0 100 397; do add "save-cut-$n" start "cut_at $SAVE $n"; done
for n in 0 12; do add "input-cut-$n" start "cut_at Input.dat $n"; done
for n in 0 3; do add "list-cut-$n" any "cut_at $LIST $n"; done
add digest-cut-10 exit "cut_at $DIGEST 10"
for n in 30 100 5000; do add "font-cut-$n" exit "cut_at Fonts.psd $n"; done
add font-cut-last-byte exit "cut_end Fonts.psd 1"
add shadow-cut-3000 exit "cut_at FontShadow.psd 3000"
add font-rows-damaged exit "put_random Fonts.psd 4200 64 rows"
add texture-cut-40 any "cut_at Data/Gfx/Cursor.png 40"

# Huge and negative counts.
for v in ffffff7f ffffffff 00000080 00000100; do add "map-beam-count-$v" start "put_hex $MAP 0 $v"; done
for v in ffffff7f ffffffff; do add "map-actor-count-$v" start 'put_hex $MAP $(offset_after_beams $MAP) '$v; done
for v in ffffff7f ffffffff 00000080; do add "model-beam-count-$v" any "put_hex $MODEL 8 $v"; done

# Non-finite numbers.
for v in 0000c07f 0000807f 000080ff; do
  add "map-beam-x-$v" start "put_hex $MAP 4 $v"
  add "model-origin-$v" any "put_hex $MODEL 0 $v"
  add "model-beam-$v" any "put_hex $MODEL 12 $v"
done

# Random bytes: whole files and a stretch in the middle.
add map-random start "replace_random $MAP 4096 map"
add map-random-middle start "put_random $MAP 200 300 middle"
add model-random any "replace_random $MODEL 512 model"
add list-random any "replace_random $LIST 300 list"
add digest-random exit "replace_random $DIGEST 64 digest"
add save-random start "replace_random $SAVE 398 save"
add input-random start "replace_random Input.dat 200 input"
add font-random exit "replace_random Fonts.psd 2048 font"
add texture-random any "replace_random Data/Gfx/Cursor.png 512 texture"
add sample-random any "replace_random Data/Sound/Engine.wav 512 sample"

# A directory, a pipe or a sparse file of a terabyte in place of each kind of file.
for kind in map:$MAP model:$MODEL list:$LIST digest:$DIGEST save:$SAVE input:Input.dat \
            font:Fonts.psd shadow:FontShadow.psd texture:Data/Gfx/Cursor.png sample:Data/Sound/Engine.wav \
            icon:icon.bmp splash:splash.bmp; do
  name=${kind%%:*} file=${kind#*:}
  add "$name-directory" any "make_dir $file"
  add "$name-sparse" any "make_sparse $file"
done
for kind in map:$MAP model:$MODEL list:$LIST digest:$DIGEST save:$SAVE input:Input.dat \
            font:Fonts.psd texture:Data/Gfx/Cursor.png sample:Data/Sound/Engine.wav icon:icon.bmp \
            splash:splash.bmp; do
  add "${kind%%:*}-pipe" any "make_pipe ${kind#*:}"
done

# Empty lists and packs.
add list-empty exit "set_list Default ''"
add list-blank-lines any "set_list Default '\n\n\n'"
add list-names-missing any "set_list Default 'NoSuchMap\nAnother\n'"
add list-without-digest exit 'rm -f $C/$DIGEST'
add no-packs exit 'rm -f $C/Data/Maps/*.rota'
add standard-changed exit "set_list standard 'Landfall\n'"
add second-pack-empty start "set_list Other ''"

# Folders that cannot be written, a log that cannot be opened.
add logfile-directory start 'mkdir $C/Logfile.txt'
add read-only-folder any 'chmod -R a-w $C'
add read-only-data any 'chmod -R a-w $C/Data'

# ---- running one case ---------------------------------------------------------

# Whatever the path holds: file digest, "dir", "pipe" or "none".
fingerprint() {
  if [ -L "$1" ]; then echo link
  elif [ -d "$1" ]; then echo dir
  elif [ -p "$1" ]; then echo pipe
  elif [ -f "$1" ]; then
    # A sparse terabyte is not hashed: its size and first bytes stand for it.
    if [ "$(size_of "$1")" -gt 1048576 ]; then echo "big $(size_of "$1") $(head -c 65536 "$1" | md5sum)"
    else md5sum <"$1"; fi
  else echo none
  fi
}

REASONS="^(Fatal error|The .* could not|Audio could not|No maps in pack|No usable map pack|Pack '.*' failed its check)"
SANITIZER="ERROR: AddressSanitizer|ERROR: LeakSanitizer|runtime error:|Unhandled .*exception|terminate called"

run_case() { # display name expected damage
  local display=$1 name=$2 expected=$3 damage=$4
  C="$WORK/cases/$name"
  mkdir -p "$WORK/cases"
  cp -r "$BASE" "$C"
  eval "$damage"
  local before_save before_input
  before_save=$(fingerprint "$C/$SAVE")
  before_input=$(fingerprint "$C/Input.dat")

  local out="$WORK/out/$name.txt" err="$WORK/out/$name.err" pidfile="$WORK/out/$name.pid" statusfile="$WORK/out/$name.status"
  # Thread-local storage is not a leak root here, as in the end-to-end runs:
  # the tracer crashed at exit on a stale dynamic-TLS entry of a library
  # loaded at run time ("Tracer caught signal 11"), mostly under load.
  (
    cd "$C" && DISPLAY=$display SDL_AUDIODRIVER=dummy ZELV_DUMP_FRAME="$WORK/out/$name.ppm" ZELV_DUMP_FRAME_AT=20 \
      LSAN_OPTIONS="suppressions=$SUPPRESSIONS:print_suppressions=0:use_tls=0" \
      sh -c 'echo $$ >"$1"; exec "$2"' _ "$pidfile" "$PROGRAM" >"$out" 2>"$err"
    echo $? >"$statusfile"
  ) &
  local runner=$!
  local i=0 pid=""
  while [ -z "$pid" ] && [ $i -lt 50 ]; do pid=$(cat "$pidfile" 2>/dev/null); sleep 0.1; i=$((i + 1)); done
  local verdict="" ended=""

  # "Done" lies 10 pixels from the dialog's left and bottom edges, at least
  # 30 pixels high and wide, wherever the font puts the other controls.
  press_done() {
    local height
    height=$(DISPLAY=$display xdotool getwindowgeometry --shell "$1" 2>/dev/null | sed -n 's/^HEIGHT=//p')
    DISPLAY=$display xdotool mousemove --window "$1" 25 $((${height:-160} - 25)) click 1 >/dev/null 2>&1
  }

  # The dialog, then "Done".
  local dialog="" deadline=$((SECONDS + DIALOG_LIMIT))
  while [ -z "$dialog" ] && [ ! -s "$statusfile" ] && [ $SECONDS -lt $deadline ]; do
    dialog=$(DISPLAY=$display xdotool search --onlyvisible --pid "$pid" --name '^ZELVORANT2 SETUP$' 2>/dev/null | head -n 1)
    [ -n "$dialog" ] || sleep 0.2
  done
  if [ -z "$dialog" ]; then
    verdict="no setup dialog"
  else
    sleep 0.3
    press_done "$dialog"
    # A frame, or the end. A click lost on a busy machine leaves the dialog
    # up: press "Done" again rather than report a hang.
    deadline=$((SECONDS + FRAME_LIMIT))
    local again=$((SECONDS + 3))
    while [ ! -s "$WORK/out/$name.ppm" ] && [ ! -s "$statusfile" ] && [ $SECONDS -lt $deadline ]; do
      sleep 0.2
      if [ $SECONDS -ge $again ]; then
        again=$((SECONDS + 3))
        if DISPLAY=$display xdotool search --onlyvisible --pid "$pid" --name '^ZELVORANT2 SETUP$' >/dev/null 2>&1; then
          press_done "$dialog"
        fi
      fi
    done
    if [ -s "$WORK/out/$name.ppm" ] && [ ! -s "$statusfile" ]; then
      ended=started
      kill -TERM "$pid" 2>/dev/null
    elif [ -s "$statusfile" ]; then
      ended=exited
    else
      verdict="hang: neither a frame nor an end within ${FRAME_LIMIT}s"
    fi
  fi
  deadline=$((SECONDS + END_LIMIT))
  while [ ! -s "$statusfile" ] && [ $SECONDS -lt $deadline ]; do sleep 0.2; done
  if [ ! -s "$statusfile" ]; then
    [ -n "$verdict" ] || verdict="hang: no end within ${END_LIMIT}s of SIGTERM"
    kill -KILL "$pid" 2>/dev/null
  fi
  wait "$runner"
  local status
  status=$(cat "$statusfile" 2>/dev/null)
  status=${status:-none}

  local log="$C/Logfile.txt"
  local logtext=""
  [ -f "$log" ] && logtext=$(cat "$log")
  if [ -z "$verdict" ]; then
    if grep -Eq "$SANITIZER" "$out" "$err"; then
      verdict="sanitizer or runtime report"
    elif [ "$ended" = started ] && [ "$status" != 0 ]; then
      verdict="started, but ended with status $status after SIGTERM"
    elif [ "$ended" = exited ] && [ "$status" = 0 ]; then
      verdict="ended with status 0 before drawing a frame, nobody asked it to"
    elif [ "$ended" = exited ] && [ "$status" -gt 128 ] 2>/dev/null; then
      verdict="killed by signal $((status - 128))"
    elif [ "$ended" = exited ] && ! grep -Eq "$REASONS" "$err"; then
      verdict="ended with status $status without a reason on stderr"
    elif [ "$ended" = exited ] && [ -f "$log" ] && ! printf '%s\n' "$logtext" | grep -Eq "$REASONS"; then
      verdict="ended with status $status without a reason in the log"
    elif [ ! -f "$log" ] && ! grep -q "Cannot write the log file" "$err"; then
      verdict="no log file and nothing on stderr says so"
    elif [ "$expected" = start ] && [ "$ended" != started ]; then
      verdict="expected to start, but ended with status $status"
    elif [ "$expected" = exit ] && [ "$ended" != exited ]; then
      verdict="expected a refusal, but it started"
    elif [ "$(fingerprint "$C/$SAVE")" != "$before_save" ]; then
      verdict="the saved game changed"
    elif [ "$(fingerprint "$C/Input.dat")" != "$before_input" ]; then
      verdict="Input.dat changed"
    fi
  fi
  if [ -n "$verdict" ]; then
    {
      echo "FAIL $name: $verdict (status $status)"
      echo "---- stdout (last lines)"; tail -n 8 "$out"
      echo "---- stderr (last lines)"; tail -n 15 "$err"
      echo "---- log (last lines)"; [ -f "$log" ] && tail -n 8 "$log"
    } >"$WORK/results/$name.fail"
    echo "FAIL $name: $verdict ($((SECONDS - START)) s)"
  else
    echo "ok   $name: ${ended} (status $status)" >"$WORK/results/$name.ok"
    echo "ok   $name ($((SECONDS - START)) s)"
    chmod -R u+w "$C" 2>/dev/null
    rm -rf "$C"
  fi
}

# ---- the displays and the workers ---------------------------------------------

mkdir -p "$WORK/out" "$WORK/results"
SELECTED=()
for k in "${!CASES[@]}"; do
  entry=${CASES[$k]}
  name=${entry%%|*}
  [ $((k % SHARD_COUNT + 1)) -eq "$SHARD_INDEX" ] || continue
  if [ -z "$PATTERN" ] || [[ "$name" == *$PATTERN* ]]; then SELECTED+=("$entry"); fi
done
if [ ${#SELECTED[@]} -eq 0 ]; then echo "hostile-input: no case matches '$PATTERN' in part $SHARD" >&2; exit 1; fi
if [ -n "${HOSTILE_LIST:-}" ]; then
  for entry in "${SELECTED[@]}"; do echo "${entry%%|*}"; done
  exit 0
fi
[ "$JOBS" -gt ${#SELECTED[@]} ] && JOBS=${#SELECTED[@]}

DISPLAYS=()
for w in $(seq 1 "$JOBS"); do
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$WORK/display-$w" >/dev/null 2>&1 &
  XVFB_PIDS="$XVFB_PIDS $!"
done
for w in $(seq 1 "$JOBS"); do
  i=0
  while [ ! -s "$WORK/display-$w" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
  if [ ! -s "$WORK/display-$w" ]; then echo "hostile-input: Xvfb did not start" >&2; exit 1; fi
  DISPLAYS+=(":$(head -n 1 "$WORK/display-$w")")
done

START=$SECONDS
echo "hostile-input: ${#SELECTED[@]} damaged copies of the demo data (part $SHARD of ${#CASES[@]} cases), $JOBS at a time on $CORES cores"
for w in $(seq 0 $((JOBS - 1))); do
  (
    for k in $(seq "$w" "$JOBS" $((${#SELECTED[@]} - 1))); do
      entry=${SELECTED[$k]}
      name=${entry%%|*} rest=${entry#*|}
      run_case "${DISPLAYS[$w]}" "$name" "${rest%%|*}" "${rest#*|}"
    done
  ) &
  WORKERS="$WORKERS $!"
done
# The workers only: a bare wait would wait for the displays too.
for pid in $WORKERS; do wait "$pid"; done

failures=$(ls "$WORK"/results/*.fail 2>/dev/null | wc -l)
if [ "$failures" -gt 0 ]; then
  cat "$WORK"/results/*.fail
  echo "hostile-input: $failures of ${#SELECTED[@]} cases FAILED ($((SECONDS - START))s)"
  exit 1
fi
echo "hostile-input: all ${#SELECTED[@]} cases passed ($((SECONDS - START))s)"

#!/bin/sh
# tools/install-deps.sh against stand-ins for apt-get, dpkg and dpkg-query
# (first on PATH): while apt-get fails on a lock held by another apt process,
# the install step waits and says so, up to its limit, then fails with the
# lock's message; any other apt failure fails at once.
set -u
HERE=$(cd "$(dirname "$0")" && pwd)
INSTALL="$HERE/../install-deps.sh"
WORK=$(mktemp -d "${TMPDIR:-/tmp}/zelv-aptlock.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
BIN="$WORK/bin"
mkdir -p "$BIN"

# One package is missing, i386 is already there.
cat >"$BIN/dpkg-query" <<'STUB'
#!/bin/sh
for last; do :; done
[ "$last" = xdotool ] && { echo "unknown ok not-installed"; exit 0; }
echo "install ok installed"
STUB
cat >"$BIN/dpkg" <<'STUB'
#!/bin/sh
[ "$1" = --print-foreign-architectures ] && echo i386
exit 0
STUB
# apt-get: refused with $STUB_ERROR for the first $STUB_REFUSALS calls (every
# call when negative), then succeeds; each call is logged.
cat >"$BIN/apt-get" <<'STUB'
#!/bin/sh
echo "apt-get $*" >>"$STUB_DIR/calls"
n=$(cat "$STUB_DIR/refused" 2>/dev/null || echo 0)
if [ "$STUB_REFUSALS" -lt 0 ] || [ "$n" -lt "$STUB_REFUSALS" ]; then
  echo $((n + 1)) >"$STUB_DIR/refused"
  echo "$STUB_ERROR" >&2
  exit 100
fi
exit 0
STUB
printf '#!/bin/sh\nexec "$@"\n' >"$BIN/sudo"
chmod +x "$BIN"/*

LISTS_LOCK="E: Could not get lock /var/lib/apt/lists/lock. It is held by process 4242 (apt-get)"
FRONTEND_LOCK="E: Could not get lock /var/lib/dpkg/lock-frontend. It is held by process 4242 (unattended-upgr)"
OTHER="E: Unable to locate package xdotool"

failures=0
# name | refusals | error | limit (s) | expected end (ok | fail) | expected apt-get calls (- any) |
# output must match | must not match
check() {
  name=$1 refusals=$2 error=$3 limit=$4 want_status=$5 want_calls=$6 want_text=$7 not_text=$8
  dir="$WORK/$name"
  mkdir -p "$dir"
  started=$(date +%s)
  STUB_DIR=$dir STUB_REFUSALS=$refusals STUB_ERROR=$error PATH="$BIN:$PATH" \
    ZELV_APT_LOCK_WAIT=$limit ZELV_APT_RETRY_STEP=1 sh "$INSTALL" >"$dir/out" 2>&1
  status=$?
  took=$(($(date +%s) - started))
  calls=$(wc -l <"$dir/calls" 2>/dev/null || echo 0)
  verdict=""
  ended=ok
  [ "$status" -eq 0 ] || ended=fail
  if [ "$ended" != "$want_status" ]; then verdict="status $status, expected $want_status"
  elif [ "$want_calls" != - ] && [ "$calls" -ne "$want_calls" ]; then verdict="$calls apt-get calls, expected $want_calls"
  elif ! grep -Eq "$want_text" "$dir/out"; then verdict="no line matching '$want_text'"
  elif [ -n "$not_text" ] && grep -Eq "$not_text" "$dir/out"; then verdict="a line matching '$not_text'"
  elif [ "$took" -gt $((limit + 10)) ]; then verdict="took $took s with a limit of $limit s"
  fi
  if [ -n "$verdict" ]; then
    echo "FAIL $name: $verdict"; sed 's/^/  | /' "$dir/out"; failures=$((failures + 1))
  else
    echo "ok   $name ($took s)"
  fi
}

# The lists lock held for two tries: the update runs on the third, then the install.
check lists-lock-released 2 "$LISTS_LOCK" 60 ok 4 \
  "waiting for another apt or dpkg process .*/var/lib/apt/lists/lock" "giving up"
# The dpkg frontend lock, as the install step meets it.
check frontend-lock-released 1 "$FRONTEND_LOCK" 60 ok 3 "waiting for .*/var/lib/dpkg/lock-frontend" "giving up"
# Never released: gives up after the limit with the lock's message; no install.
check lock-never-released -1 "$LISTS_LOCK" 3 fail - \
  "giving up: E: Could not get lock /var/lib/apt/lists/lock" ""
# Any other failure is not waited for.
check other-failure -1 "$OTHER" 60 fail 1 "Unable to locate package" "waiting"

if [ "$failures" -gt 0 ]; then echo "install-deps-lock-test: $failures case(s) FAILED"; exit 1; fi
echo "install-deps-lock-test: all cases passed"

#!/usr/bin/env bash
# Runs the README's test command, and with --run also its run command with no
# display, on a bare Debian 12 made for this run alone: nothing that was ever
# installed on this machine can stand in for a missing install step.
#
#   bash scripts/clean-room.sh [--run | --only-run] [--repeat N] [--busy] [--keep]
#
# --only-run runs the run command alone, as a new user's first command.
# --repeat N runs the test command N times in a row in the same root (the
# first installs and builds, the others find everything in place); --busy
# runs it once more after those while a second process keeps one core busy
# the whole time. Any run that fails ends it.
# The bare system is mmdebstrap's `apt` variant of bookworm (no compilers, no
# Wine, no Node, no Python), kept as a tarball and made anew once a week. Each
# run unpacks it into a temporary root, clones the committed HEAD into
# /work/duzid with a read-only copy of ../shared beside it, as CI lays them
# out, and runs the command there as root with CI=true and no standard input.
# Everything happens in private mount and process namespaces: the mounts
# vanish with them, and so does every process started inside. The root is
# removed afterwards unless --keep is given.
#
# Carried in from this machine so that the package registries answer as here:
# its package sources and keyrings, apt's network settings, its name service,
# its trusted certificate bundles with the variables that point at them, and
# its proxy variables. Downloads are kept between runs outside the root, in
# $CLEAN_ROOM_CACHE (/var/cache/duzid-cleanroom): apt's .deb archives and the
# npm cache are mounted into it, so that every package is still installed by
# the project's set-up inside the bare root, but not downloaded anew.
#
# A test that ctest reports as skipped fails the run: in here the set-up has
# installed everything the tests need. The exit status is that of the
# commands; on success nothing is printed after their own last lines.
set -euo pipefail

usage() { echo "usage: clean-room.sh [--run | --only-run] [--repeat N] [--busy] [--keep]" >&2; exit 2; }
run_test=1 run_too=0 keep=0 repeat=1 busy=0
while [ $# -gt 0 ]; do
    case "$1" in
        --run) run_too=1 ;;
        --only-run) run_test=0 run_too=1 ;;
        --repeat) shift; [[ "${1:-}" =~ ^[1-9][0-9]*$ ]] || usage; repeat=$1 ;;
        --busy) busy=1 ;;
        --keep) keep=1 ;;
        *) usage ;;
    esac
    shift
done

say() { echo "clean-room: $*"; }
fail() { echo "clean-room: $*" >&2; exit 1; }

PROJECT="$(cd "$(dirname "$0")/.." && pwd)"
CACHE="${CLEAN_ROOM_CACHE:-/var/cache/duzid-cleanroom}"
BASE="$CACHE/bookworm-apt.tar"

[ "$(id -u)" = 0 ] || fail "needs root (for mmdebstrap, chroot and the mounts)"
for tool in mmdebstrap unshare chroot git flock; do
    command -v "$tool" >/dev/null || fail "$tool is not installed on this machine"
done

sha="$(git -C "$PROJECT" rev-parse --verify HEAD)" || fail "no commit to test in $PROJECT"
[ -z "$(git -C "$PROJECT" status --porcelain --untracked-files=no)" ] ||
    say "note: uncommitted changes are not tested, only commit ${sha:0:12}"

# The README's own commands, as the committed README gives them.
readme="$(git -C "$PROJECT" show "$sha:README.md")" || fail "the commit has no README.md"
test_command="$(grep -m1 -oE '^bash scripts/test\.sh' <<<"$readme" || true)"
run_command="$(grep -m1 -oE '^bash scripts/run\.sh' <<<"$readme" || true)"
[ -n "$test_command" ] || fail "the README names no test command (bash scripts/test.sh)"
[ $run_too = 0 ] || [ -n "$run_command" ] || fail "the README names no run command (bash scripts/run.sh)"

mkdir -p "$CACHE/apt-archives" "$CACHE/npm"
# One run at a time: the caches are shared.
exec 8>"$CACHE/lock"
flock -n 8 || { say "waiting for another clean-room run to end"; flock 8; }

# apt's network settings on this machine (proxies, date checks of mirrors).
host_apt_settings="$(apt-config dump 2>/dev/null |
    grep -E '^Acquire::(Check-Valid-Until|Check-Date|[A-Za-z]+::Proxy|[A-Za-z]+::Verify-Peer|[A-Za-z]+::CaInfo) ' || true)"
host_sources=()
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -s "$f" ] && host_sources+=("$f")
done
[ ${#host_sources[@]} -gt 0 ] || fail "this machine has no apt package sources to carry in"

# The bare system, made anew when older than a week. The .deb cache goes with it.
if [ ! -s "$BASE" ] || [ -n "$(find "$BASE" -mtime +6 2>/dev/null)" ]; then
    say "making a bare Debian 12 (mmdebstrap, variant apt; once a week)"
    aptopts=()
    while IFS= read -r line; do [ -n "$line" ] && aptopts+=("--aptopt=$line"); done <<<"$host_apt_settings"
    rm -f "$CACHE/partial.tar"
    mmdebstrap --quiet --variant=apt --format=tar "${aptopts[@]}" bookworm "$CACHE/partial.tar" \
        "${host_sources[@]}" </dev/null || fail "mmdebstrap could not make the bare Debian 12"
    mv "$CACHE/partial.tar" "$BASE"
    find "$CACHE/apt-archives" -name '*.deb' -delete
fi

root="$(mktemp -d "${TMPDIR:-/var/tmp}/duzid-cleanroom.XXXXXX")"
remove_root() {
    if [ $keep = 1 ]; then say "root kept at $root" >&2; else rm -rf --one-file-system "$root"; fi
}
trap remove_root EXIT
tar -C "$root" -xf "$BASE" || fail "could not unpack $BASE into $root"

# This machine's package sources and keyrings, in place of the root's own.
rm -f "$root/etc/apt/sources.list" "$root"/etc/apt/sources.list.d/*
for f in "${host_sources[@]}"; do cp "$f" "$root$f"; done
for d in /etc/apt/trusted.gpg.d /etc/apt/keyrings; do
    [ -d "$d" ] && mkdir -p "$root$d" && cp -a "$d/." "$root$d/"
done
[ -z "$host_apt_settings" ] || printf '%s\n' "$host_apt_settings" >"$root/etc/apt/apt.conf.d/99clean-room-host"
# Its name service.
cp -L /etc/resolv.conf "$root/etc/resolv.conf"
cp -L /etc/hosts "$root/etc/hosts"
[ -e "$root/etc/nsswitch.conf" ] || cp -L /etc/nsswitch.conf "$root/etc/nsswitch.conf"

# The environment inside: a fresh login's, plus the certificate bundles and proxies.
envs=(HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 CI=true)
mkdir -p "$root/etc/clean-room-ca"
declare -A carried=()  # this machine's path -> its copy inside
while IFS='=' read -r name _; do
    value="${!name}"
    case "$value" in /*) ;; *) continue ;; esac
    [ -e "$value" ] || continue
    if [ -z "${carried[$value]:-}" ]; then
        carried[$value]="/etc/clean-room-ca/${#carried[@]}-$(basename "$value")"
        cp -rL "$value" "$root${carried[$value]}"
    fi
    envs+=("$name=${carried[$value]}")
done < <(env | grep -E '^[A-Za-z_][A-Za-z0-9_]*=' | grep -E '^[A-Za-z0-9_]*(CERT|CA_BUNDLE|CAINFO|CA_CERTS|SSL_ROOTS)[A-Za-z0-9_]*=')
for name in http_proxy https_proxy no_proxy HTTP_PROXY HTTPS_PROXY NO_PROXY; do
    [ -n "${!name:-}" ] && envs+=("$name=${!name}")
done

# The project as CI lays it out: a clone of the commit, ../shared beside it.
git clone -q --no-checkout "$PROJECT" "$root/work/duzid" || fail "could not clone $PROJECT"
git -C "$root/work/duzid" checkout -q --detach "$sha" || fail "could not check out $sha"
if [ -d "$PROJECT/../shared" ]; then
    cp -r "$PROJECT/../shared" "$root/work/shared" && chmod -R a-w "$root/work/shared"
fi

# Each command's time goes to /work/times in the root: into the log always, and
# printed at the end with --run, where the walk's lines close the output anyway.
timed() {
    printf "echo 'clean-room: %s' && { SECONDS=0; %s; rc=\$?; echo \"%s: exit status \$rc after \$SECONDS s\" >>/work/times; [ \$rc = 0 ]; }" \
        "$1" "$1" "$1"
}
inner="cd /work/duzid"
if [ $run_test = 1 ]; then
    for ((i = 1; i <= repeat; i++)); do inner="$inner && $(timed "$test_command")"; done
    # The busy loop is a child of this shell and ends with the namespace at the latest.
    [ $busy = 0 ] || inner="$inner && { sh -c 'while :; do :; done' & busy_pid=\$!; echo 'clean-room: one core kept busy (pid '\$busy_pid')'; } && $(timed "$test_command") && kill \$busy_pid"
fi
[ $run_too = 0 ] || inner="$inner && unset DISPLAY && $(timed "$run_command")"

say "commit ${sha:0:12} on a bare Debian 12 in $root (whole log: $CACHE/last.log)"
set +e
unshare --mount --propagation private --pid --fork bash -c '
    set -e
    r="$1"; cache="$2"; shift 2
    mount -t proc proc "$r/proc"
    mount --rbind /dev "$r/dev"
    mount -t tmpfs tmpfs "$r/dev/shm"
    mount --rbind /sys "$r/sys"
    mount -t tmpfs tmpfs "$r/tmp"
    mkdir -p "$r/var/cache/apt/archives" "$r/root/.npm"
    mount --bind "$cache/apt-archives" "$r/var/cache/apt/archives"
    mount --bind "$cache/npm" "$r/root/.npm"
    exec chroot "$r" /usr/bin/env -i "$@"
' clean-room "$root" "$CACHE" "${envs[@]}" bash -c "$inner" </dev/null 2>&1 | tee "$CACHE/last.log"
rc=${PIPESTATUS[0]}
set -e
if [ -s "$root/work/times" ]; then
    sed 's/^/clean-room: /' "$root/work/times" >>"$CACHE/last.log"
    [ $run_too = 0 ] || sed 's/^/clean-room: /' "$root/work/times"
fi

skipped="$(tr -d '\r' <"$CACHE/last.log" | grep -E '\((Skipped|Not Run)\)$' || true)"
if [ $rc = 0 ] && [ -n "$skipped" ]; then
    echo "clean-room: tests were skipped although the set-up should have installed all they need:" >&2
    echo "$skipped" >&2
    rc=1
fi
[ $rc = 0 ] || echo "clean-room: commit ${sha:0:12} failed on a bare Debian 12 (exit status $rc)" >&2
exit $rc

#!/usr/bin/env bash
# Runs one of the README's two commands as a newcomer would: in a fresh minimal
# Debian (debootstrap --variant=minbase), as a user with sudo, with no locale,
# no DISPLAY and no sound device, on a clean clone. A check for maintainers,
# not a test: it needs root and a Debian mirror.
#
#   tests/fresh/fresh-debian.sh SUITE test|play|soak [REPO [REF]]
#
# SUITE is a Debian release (trixie, bookworm). REPO defaults to the repository
# holding this script, REF to its HEAD. `play` runs under an X server of the
# checker's own (Xvfb, with xdotool, both installed before the command runs):
# it passes when the game's window opens and the game is still running 20 s
# later. `soak` runs ./soak.sh, the long soak and fault tests. The last line
# is "fresh-debian SUITE COMMAND: PASS" or "... FAIL"; the whole run is also
# kept in the log (FRESH_LOG, by default ./fresh-SUITE-COMMAND.log).
#
# The bootstrapped base of each release and the downloaded packages are kept in
# FRESH_CACHE (/var/cache/ruvo-fresh) so that a second run is quicker; every
# run unpacks the base into a new folder. The packages come from FRESH_MIRROR
# and FRESH_SECURITY_MIRROR (deb.debian.org's), with the release's updates and
# security fixes, as on an installed Debian. Two runs of one release at the
# same time need a FRESH_CACHE each: apt locks the packages' folder.
#
# FRESH_NO_32BIT=1 runs the command as on a kernel without 32-bit x86 support
# (tests/fresh/without-32bit.py: a 32-bit program dies at its first system
# call), to check a machine that runs no 32-bit code.
# SPDX-License-Identifier: MIT
set -euo pipefail
usage() { echo "usage: $0 SUITE test|play|soak [REPO [REF]]" >&2; exit 2; }
[ $# -ge 2 ] && [ $# -le 4 ] || usage
suite=$1 command=$2
case $command in test | play | soak) ;; *) usage ;; esac
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "${3:-$here/../..}" && pwd)
ref=${4:-HEAD}
mirror=${FRESH_MIRROR:-http://deb.debian.org/debian}
cache=${FRESH_CACHE:-/var/cache/ruvo-fresh}
log=$(realpath -m "${FRESH_LOG:-fresh-$suite-$command.log}")
[ "$(id -u)" -eq 0 ] || { echo "fresh-debian: run as root" >&2; exit 2; }
command -v debootstrap >/dev/null || { echo "fresh-debian: needs debootstrap (apt-get install debootstrap)" >&2; exit 2; }
commit=$(git -C "$repo" rev-parse --verify "$ref^{commit}")

exec > >(tee "$log") 2>&1
echo "fresh-debian: $suite, $([ "$command" = soak ] && echo ./soak.sh || echo "./build.sh $command"), $repo at $commit ($(git -C "$repo" log -1 --format=%s "$commit"))"
echo "fresh-debian: started $(date -u '+%F %T') UTC"

told=
outcome() { # outcome PASS|FAIL [WHY]
    told=1
    echo "fresh-debian: finished $(date -u '+%F %T') UTC${2:+; $2}"
    echo "fresh-debian $suite $command: $1"
}

# --- The pristine base, bootstrapped once per release -------------------------
mkdir -p "$cache/$suite-debs/partial"
base=$cache/$suite-base.tar
if [ ! -f "$base" ]; then
    staging=$(mktemp -d "$cache/$suite-bootstrap.XXXXXX")
    debootstrap --variant=minbase "$suite" "$staging" "$mirror"
    tar -C "$staging" -cf "$base.part" .
    rm -rf "$staging"
    mv "$base.part" "$base"
fi

root=$(mktemp -d /var/tmp/ruvo-fresh-"$suite".XXXXXX)
mounts=()
cleanup() {
    set +e
    local i pid
    # Whatever the command left running in the tree goes first, then the mounts.
    for pid in /proc/[0-9]*; do
        [ "$(readlink "$pid/root" 2>/dev/null)" = "$root" ] && kill -9 "${pid#/proc/}" 2>/dev/null || true
    done
    sleep 1
    for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
        umount "${mounts[i]}" 2>/dev/null || umount -l "${mounts[i]}"
    done
    # Only once nothing is mounted below it may the tree go.
    if ! grep -q " $root/" /proc/mounts; then rm -rf "$root"; fi
}
finish() {
    local status=$?
    [ -n "$told" ] || outcome FAIL "the checker's set-up stopped with status $status"
    cleanup
}
trap finish EXIT
tar -C "$root" -xf "$base"
# Open to all, as a root folder is (mktemp made it private): the user must reach /usr.
chmod 755 "$root"
mount_in() { # mount_in TARGET mount-arguments...
    local target=$root$1
    shift
    mkdir -p "$target"
    mount "$@" "$target"
    mounts+=("$target")
}
mount_in /proc -t proc proc
mount_in /sys -t sysfs sys
# A /dev of its own with the usual nodes only: no sound card, whatever the host has.
mount_in /dev -t tmpfs -o mode=755,nosuid dev
for node in null:1:3 zero:1:5 full:1:7 random:1:8 urandom:1:9 tty:5:0; do
    IFS=: read -r name major minor <<<"$node"
    mknod -m 666 "$root/dev/$name" c "$major" "$minor"
done
ln -s /proc/self/fd "$root/dev/fd"
ln -s /proc/self/fd/0 "$root/dev/stdin"
ln -s /proc/self/fd/1 "$root/dev/stdout"
ln -s /proc/self/fd/2 "$root/dev/stderr"
mount_in /dev/pts -t devpts -o newinstance,ptmxmode=666,gid=5,mode=620 devpts
ln -s pts/ptmx "$root/dev/ptmx"
mount_in /dev/shm -t tmpfs -o mode=1777,nosuid,nodev shm
mount_in /var/cache/apt/archives --bind "$cache/$suite-debs"
cp /etc/resolv.conf "$root/etc/resolv.conf"
printf '127.0.0.1 localhost\n127.0.1.1 %s\n' "$(hostname)" >"$root/etc/hosts"
# apt downloads as its own user.
chroot "$root" chown _apt:root /var/cache/apt/archives/partial
# No services start inside the tree.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"

# Behind a proxy that inspects TLS, the host trusts the proxy's certificates;
# the tree gets the same trust for Node (npm), or no npm package would arrive.
# Nothing of the project's comes from this: a plain network needs none of it.
node_ca=()
if compgen -G '/usr/local/share/ca-certificates/*.crt' >/dev/null; then
    cat /usr/local/share/ca-certificates/*.crt >"$root/etc/fresh-host-ca.pem"
    node_ca=(NODE_EXTRA_CA_CERTS=/etc/fresh-host-ca.pem)
fi

in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root "$@"; }
no32=()
if [ "${FRESH_NO_32BIT:-}" = 1 ]; then
    no32=(python3 "$here/without-32bit.py")
    echo "fresh-debian: as on a machine that runs no 32-bit x86 code (a 32-bit program dies at its first system call)"
fi
as_user() { # as_user SCRIPT: a login of the user, without any locale
    "${no32[@]}" chroot "$root" /usr/sbin/runuser -u player -- /usr/bin/env -i HOME=/home/player USER=player \
        LOGNAME=player SHELL=/bin/bash PATH=/usr/local/bin:/usr/bin:/bin TERM=dumb "${node_ca[@]}" bash -c "$1"
}

# --- The newcomer: a user with sudo, git, and the project cloned ---------------
checker_install() { # checker_install PACKAGE...
    echo "fresh-debian: the checker installs $*"
    in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$@"
}
# The sources of an installed Debian, as its installer writes them: the
# release with its updates and its security fixes (debootstrap gives the
# release alone, where Debian 12's browsers are older than any machine has
# them).
cat >"$root/etc/apt/sources.list" <<EOF
deb $mirror $suite main
deb $mirror $suite-updates main
deb ${FRESH_SECURITY_MIRROR:-http://deb.debian.org/debian-security} $suite-security main
EOF
in_root apt-get update -q
checker_install sudo git
if [ "$command" = play ]; then
    # What ./build.sh play downloads where only sudo and git are installed,
    # before the checker's own X tools bring some of the same libraries
    # (counted against an empty archive folder, whatever the cache holds).
    mkdir -p "$root/tmp/no-archives/partial"
    size=$(git -C "$repo" show "$commit:packages/play.txt" 2>/dev/null | grep -v '^#' |
        xargs -r chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin apt-get install --print-uris -qq \
            --no-install-recommends -o Dir::Cache::Archives=/tmp/no-archives/ | awk '{bytes += $3; n++} END {printf "%d packages, %.1f MB", n, bytes / 1e6}')
    echo "fresh-debian: packages/play.txt needs $size of downloads on a system with only sudo and git"
    checker_install xvfb xauth xdotool
fi
in_root useradd -m -s /bin/bash player
echo 'player ALL=(ALL) NOPASSWD:ALL' >"$root/etc/sudoers.d/player"
chmod 440 "$root/etc/sudoers.d/player"
# The clone comes from a bare copy inside the tree, so the host's repository is
# only read, and only here.
git clone -q --bare --no-local "$repo" "$root/srv/ruvo.git"
git -C "$root/srv/ruvo.git" update-ref refs/heads/fresh-check "$commit"
git -C "$root/srv/ruvo.git" symbolic-ref HEAD refs/heads/fresh-check
chroot "$root" chown -R player:player /srv/ruvo.git
as_user 'git clone -q /srv/ruvo.git ~/ruvo && git -C ~/ruvo log -1 --format="fresh-debian: cloned %H" && locale'

# --- The README's command ------------------------------------------------------
status=0
if [ "$command" != play ]; then
    script=$([ "$command" = test ] && echo './build.sh test' || echo ./soak.sh)
    as_user "cd ~/ruvo && $script" || status=$?
    if [ $status -eq 0 ]; then outcome PASS; else outcome FAIL "$script ended with status $status"; fi
    exit $status
fi

# play: started on a display of its own; waits for the window for as long as
# the set-up and the build take, then for 20 s of running.
as_user '
cd ~/ruvo
# A free display number: the tree shares the abstract socket names of the host.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>/tmp/display 2>/tmp/xvfb.log &
for _ in $(seq 100); do [ -s /tmp/display ] && break; sleep 0.1; done
[ -s /tmp/display ] || { echo "fresh-debian: Xvfb did not start: $(cat /tmp/xvfb.log)"; exit 1; }
export DISPLAY=:$(head -n1 /tmp/display)
started=$(date +%s)
./build.sh play &
game=$!
for _ in $(seq 3600); do
    kill -0 $game 2>/dev/null || { wait $game; echo "fresh-debian: ./build.sh play ended with status $? before any window"; exit 1; }
    window=$(xdotool search --onlyvisible --class "^RuvoWClass$" 2>/dev/null | head -n1)
    [ -n "$window" ] && break
    sleep 1
done
[ -n "$window" ] || { echo "fresh-debian: no game window within an hour"; exit 1; }
echo "fresh-debian: the game window opened $(($(date +%s) - started)) s after ./build.sh play started: \"$(xdotool getwindowname $window)\""
sleep 20
kill -0 $game 2>/dev/null || { wait $game; echo "fresh-debian: the game ended with status $? within 20 s"; exit 1; }
echo "fresh-debian: the game (process $game, $(readlink /proc/$game/exe)) is running after 20 s"
kill $game
wait $game 2>/dev/null
# The processor time that the set-up, the build and the 20 s of play took in
# all their processes: unlike the time on the clock, other work on the
# machine hardly stretches it. (times runs in this shell: in a command
# substitution it would count the processes of a subshell, which are none.)
echo "fresh-debian: processor time (user, system) of this shell, then of all it started:"
times
' || status=$?
if [ $status -eq 0 ]; then outcome PASS; else outcome FAIL; fi
exit $status

#!/usr/bin/env bash
# tools/bootstrap against stand-ins for apt-get, dpkg, dpkg-query, sudo and id, first on PATH:
# the update retried, the install going on without a suite whose index a syncing mirror failed,
# and the script's own message when that install fails too.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; echo "--- calls:"; cat "$work/calls"; echo "--- output:"; cat "$work/out"; exit 1; }

mkdir -p "$work/bin" "$work/etc/sources.list.d"
cat >"$work/etc/sources.list.d/debian.sources" <<'SRC'
Types: deb
URIs: http://mirror.invalid/debian
Suites: bookworm bookworm-updates
Components: main

Types: deb
URIs: http://mirror.invalid/debian-security/
Suites: bookworm-security
Components: main
SRC
echo 'deb [arch=amd64] http://mirror.invalid/debian-security bookworm-security main' >"$work/etc/sources.list"

stand_in() { printf '#!/usr/bin/env bash\n%s\n' "$2" >"$work/bin/$1"; chmod +x "$work/bin/$1"; }
stand_in id 'echo 1000'
stand_in sudo 'echo "sudo $*" >>"$CALLS"; exec "$@"'  # keeps PATH, unlike a real sudo
stand_in dpkg 'echo i386'
stand_in dpkg-query '[ "${!#}" = wixl ] || echo "install ok installed"'
stand_in apt-get '
echo "apt-get $* LC_ALL=${LC_ALL:-}" >>"$CALLS"
case "$1" in
  update)
    n=$(($(cat "$COUNT" 2>/dev/null || echo 0) + 1)); echo $n >"$COUNT"
    [ "$n" -gt "$UPDATE_FAILS" ] && exit 0
    echo "E: Failed to fetch http://mirror.invalid/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 192.0.2.1 80]" >&2
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
    exit 100;;
  install)
    for a in "$@"; do case "$a" in Dir::Etc::SourceParts=*) cat "${a#*=}"/* >>"$CALLS";; esac; done
    exit "$INSTALL_STATUS";;
esac'

run() {  # run UPDATE_FAILS INSTALL_STATUS: the script's exit code
  rm -f "$work/calls" "$work/count"; touch "$work/calls"
  local status=0
  PATH="$work/bin:$PATH" CALLS="$work/calls" COUNT="$work/count" UPDATE_FAILS=$1 INSTALL_STATUS=$2 \
    VDG_APT_RETRY_PAUSE=0 VDG_APT_ETC="$work/etc" bash "$root/tools/bootstrap" >"$work/out" 2>&1 || status=$?
  return $status
}

# The mirror is in sync by the third try: one install of what is missing, from every suite.
run 2 0 || fail "a third update that succeeds still failed the script"
[ "$(grep -c '^sudo env LC_ALL=C .*apt-get update' "$work/calls")" = 3 ] || fail "not three updates through sudo with LC_ALL=C"
grep -q '^apt-get install .*wixl LC_ALL=C$' "$work/calls" || fail "no install of the missing package"
grep -q 'SourceParts' "$work/calls" && fail "a suite was left out though the update succeeded"
grep -q 'left out' "$work/out" && fail "reported a suite left out though none was"

# The mirror stays mid-sync: three tries, the install without the security suite, then the message.
status=0; run 9 100 || status=$?
[ $status = 100 ] || fail "the failed install's exit code was hidden (got $status)"
[ "$(grep -c '^apt-get update' "$work/calls")" = 3 ] || fail "not three update tries"
grep -q '^apt-get install .*Dir::Etc::SourceParts=.*wixl' "$work/calls" || fail "did not go on to the install"
grep -q '^# deb \[arch=amd64\] http://mirror.invalid/debian-security bookworm-security' "$work/calls" ||
  fail "the one-line security entry was not switched off"
grep -q '^Suites: bookworm bookworm-updates$' "$work/calls" || fail "the main suites were not kept"
grep -q '^Enabled: no$' "$work/calls" || fail "the security stanza was not disabled"
grep -q '^bootstrap: left out bookworm-security (http://mirror.invalid/debian-security): .*updates were not applied' "$work/out" ||
  fail "no line naming the suite left out"
tail -n 1 "$work/out" | grep -q 'Packages.xz is being synced on the mirror .*run the same command again later' ||
  fail "the last line is not the script's message naming the index"
echo "bootstrap: both cases pass"

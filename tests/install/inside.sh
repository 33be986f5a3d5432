#!/bin/sh
# Runs as root inside a fresh Debian 12 tree (amd64, or armhf under
# emulation), in /tmp/orv, which holds the signed apt repository of the
# packages (repo/), transcript.sh, programs.sh and the C program's
# project (use/); and for amd64 the name of the architecture whose -dev
# packages go beside this one's (side) and the repository with a newer
# version added (repo-next/).  As a user would: adds the repository
# with its key, checks what each -dev package pulls in, installs the
# packages with apt and uses them, installs the other architecture's
# -dev packages beside them, upgrades to the newer version once it is
# published, purges everything and checks that nothing of it is left.
# What the programs print goes to transcript.txt.
set -eu
cd /tmp/orv
export DEBIAN_FRONTEND=noninteractive LC_ALL=C.UTF-8
fail() { echo "inside: $*" >&2; exit 1; }
quiet() { "$@" >>log.txt 2>&1 || { cat log.txt >&2; fail "$* failed"; }; }

cp repo/orv-archive-keyring.gpg /usr/share/keyrings/
echo "deb [signed-by=/usr/share/keyrings/orv-archive-keyring.gpg] file:/tmp/orv/repo bookworm main" \
	>/etc/apt/sources.list.d/orv.list
# apt fails here on a repository whose signature it cannot check.
quiet apt-get update

dev="liborv-cfunc-dev liborv-geom-dev liborv-textview-dev"
all="orv orv-dbgsym $dev"

# pulls PKG...: the packages that installing these alone would add.
pulls() {
	apt-get install -s --no-install-recommends "$@" 2>/dev/null |
		sed -n 's/^Inst \([^ ]*\).*/\1/p' | sort | tr '\n' ' '
}
# The function-library kit needs the C library's files alone (already
# here, with gcc); geomlib no SDL; textview SDL's -dev packages.
got=$(pulls liborv-cfunc-dev)
[ "$got" = "liborv-cfunc-dev " ] || fail "liborv-cfunc-dev pulls in: $got"
got=$(pulls liborv-geom-dev)
case $got in *sdl*|*x11*|*libgl*) fail "liborv-geom-dev pulls in: $got" ;; esac
case $(pulls liborv-textview-dev) in
*libsdl2-dev*libsdl2-ttf-dev*) ;;
*) fail "liborv-textview-dev pulls no SDL -dev package" ;;
esac

# shellcheck disable=SC2086
quiet apt-get install -y --no-install-recommends $all

# A C program built as another project builds it: through
# find_package(orv) and through pkg-config.
quiet cmake -S use -B build-use
quiet cmake --build build-use

# versions: the package's upstream part is what orv, orvedit,
# pkg-config and the CMake package report (the program is built anew).
versions() {
	v=$(dpkg-query -W -f '${Version}' orv)
	v=${v%-*}
	quiet cmake --fresh -S use -B build-use
	got="$(orv --version)|$(orvedit --version)|$(pkg-config --modversion orv-geomlib)|$(cat build-use/orv_VERSION)"
	[ "$got" = "orv $v|orvedit $v|$v|$v" ] ||
		fail "versions differ: package $v, orv|orvedit|pkg-config|CMake: $got"
}
versions

sh transcript.sh build-use >transcript.txt

# What the packages installed must be gone after the purge, but for
# folders that other packages hold too.
# owned PKG...: add the files of these packages to owned.txt.
# shellcheck disable=SC2086
owned() { dpkg -L "$@" | grep -v '^/\.$' >>owned.txt; }

# The -dev packages are Multi-Arch: same: another architecture's
# install beside this one's, in one tree.
arch=$(dpkg --print-architecture)
if [ -s side ]; then
	side=$(cat side)
	# shellcheck disable=SC2046
	quiet apt-get install -y --no-install-recommends $(for p in $dev; do echo "$p:$side"; done)
	for p in $dev; do
		dpkg-query -W "$p:$arch" "$p:$side" >/dev/null 2>&1 ||
			fail "$p is not installed for both $arch and $side"
		owned "$p:$side"
	done
	echo "side by side: the $arch and $side -dev packages" >&2
	# shellcheck disable=SC2046
	quiet apt-get purge -y $(for p in $dev; do echo "$p:$side"; done)
fi

# A newer version published to the repository: apt upgrade takes it.
if [ -d repo-next ]; then
	old=$(dpkg-query -W -f '${Version}' orv)
	# shellcheck disable=SC2086
	owned $all
	rm -rf repo
	mv repo-next repo
	quiet apt-get update
	quiet apt-get upgrade -y
	new=$(dpkg-query -W -f '${Version}' orv)
	[ "$new" != "$old" ] || fail "apt upgrade kept $old"
	for p in $all; do
		[ "$(dpkg-query -W -f '${Version}' "$p")" = "$new" ] || fail "$p not upgraded to $new"
	done
	versions
	echo "upgraded: $old to $new" >&2
fi

# shellcheck disable=SC2086
owned $all
# shellcheck disable=SC2086
quiet apt-get purge -y $all
# shellcheck disable=SC2086
if dpkg-query -W $all >/dev/null 2>&1; then
	fail "still known to dpkg after the purge: $all"
fi
left=
while IFS= read -r f; do
	if [ -e "$f" ] || [ -L "$f" ]; then
		dpkg-query -S "$f" >/dev/null 2>&1 || left="$left $f"
	fi
done <owned.txt
[ -z "$left" ] || fail "left after the purge:$left"
echo "purged: nothing of $all is left"

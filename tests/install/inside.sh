#!/bin/sh
# Runs as root inside a fresh Debian 12 tree, in /tmp/orv, which holds
# the packages, programs.sh and the C program's project (use/): checks
# what each -dev package pulls in, installs the packages with apt, uses
# them as a person would, installs the armhf -dev packages (armhf/)
# beside them, purges them all and checks that nothing of them is left.
# What the programs print goes to transcript.txt.
set -eu
cd /tmp/orv
export DEBIAN_FRONTEND=noninteractive LC_ALL=C.UTF-8
fail() { echo "inside: $*" >&2; exit 1; }
quiet() { "$@" >>log.txt 2>&1 || { cat log.txt >&2; fail "$* failed"; }; }

quiet apt-get update

# pulls DEB...: the packages that installing these alone would add.
pulls() {
	apt-get install -s --no-install-recommends "$@" 2>/dev/null |
		sed -n 's/^Inst \([^ ]*\).*/\1/p' | sort | tr '\n' ' '
}
# The function-library kit needs the C library's files alone (already
# here, with gcc); geomlib no SDL; textview SDL's -dev packages.
got=$(pulls ./liborv-cfunc-dev_*.deb)
[ "$got" = "liborv-cfunc-dev " ] || fail "liborv-cfunc-dev pulls in: $got"
got=$(pulls ./liborv-cfunc-dev_*.deb ./liborv-geom-dev_*.deb)
case $got in *sdl*|*x11*|*libgl*) fail "liborv-geom-dev pulls in: $got" ;; esac
case $(pulls ./liborv-*-dev_*.deb) in
*libsdl2-dev*libsdl2-ttf-dev*) ;;
*) fail "liborv-textview-dev pulls no SDL -dev package" ;;
esac

quiet apt-get install -y --no-install-recommends ./*.deb
# name:arch: the -dev packages may be there for two architectures.
pkgs=$(for d in ./*.deb; do dpkg-deb -W --showformat '${Package}:${Architecture} ' "$d"; done)

# A C program built as another project builds it: through
# find_package(orv) and through pkg-config.
quiet cmake -S use -B build-use
quiet cmake --build build-use

# One version: the package's upstream part is what orv, orvedit,
# pkg-config and the CMake package report.
v=$(dpkg-query -W -f '${Version}' orv)
v=${v%-*}
got="$(orv --version)|$(orvedit --version)|$(pkg-config --modversion orv-geomlib)|$(cat build-use/orv_VERSION)"
[ "$got" = "orv $v|orvedit $v|$v|$v" ] ||
	fail "versions differ: package $v, orv|orvedit|pkg-config|CMake: $got"

sh programs.sh "" "" >transcript.txt
{
	echo "== man orvcalc"
	MANWIDTH=80 man orvcalc
	for p in use-cmake use-pc; do
		echo "== $p"
		if build-use/bin/$p "$p.txt"; then echo "exit 0"; else echo "exit $?"; fi
	done
} >>transcript.txt 2>&1

# The -dev packages are Multi-Arch: same: the armhf ones install beside
# the amd64 ones, in one tree.
if [ -d armhf ]; then
	quiet apt-get install -y --no-install-recommends ./armhf/*.deb
	for d in armhf/*.deb; do
		p=$(dpkg-deb -f "$d" Package)
		dpkg-query -W "$p:amd64" "$p:armhf" >/dev/null 2>&1 ||
			fail "$p is not installed for both amd64 and armhf"
		pkgs="$pkgs $p:armhf"
	done
	echo "side by side: the amd64 and armhf -dev packages" >&2
fi

# What the packages installed must be gone after the purge, but for
# folders that other packages hold too.
# shellcheck disable=SC2086
dpkg -L $pkgs | grep -v '^/\.$' >owned.txt
# shellcheck disable=SC2086
quiet apt-get purge -y $pkgs
# shellcheck disable=SC2086
if dpkg-query -W $pkgs >/dev/null 2>&1; then
	fail "still known to dpkg after the purge: $pkgs"
fi
left=
while IFS= read -r f; do
	if [ -e "$f" ] || [ -L "$f" ]; then
		dpkg-query -S "$f" >/dev/null 2>&1 || left="$left $f"
	fi
done <owned.txt
[ -z "$left" ] || fail "left after the purge:$left"
echo "purged: nothing of $(echo $pkgs) is left"

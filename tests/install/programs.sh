#!/bin/sh
# The runs of the packaged programs that the install test makes on amd64
# and on armhf; both must print the same.  Usage: programs.sh RUN ROOT
#   RUN   what starts a program of the target: empty, or the emulator
#   ROOT  where the packages were put: empty when installed, else the
#         tree they were unpacked into
set -u
run=$1 root=$2
bin=$root/usr/bin
t=$(mktemp -d)
cd "$t" || exit 1

echo "== orvcalc"
$run "$bin/orvcalc" >out
echo "exit $?"
cat -v out

echo "== orv --version"
$run "$bin/orv" --version
echo "exit $?"

echo "== orv -e"
$run "$bin/orv" -e 'x = {1, 2.50, @a  b}' -e 'y = {x,x}' -p y -p x
echo "exit $?"

# The geometry library at the path that orv's manual page gives (in the
# tree, as a path of this machine: the emulator does not redirect a
# library opened by path), on the example the package installs.
echo "== orv -l (the geometry library its manual page names) on the example"
lib=$(zcat "$root/usr/share/man/man1/orv.1.gz" | grep -o '/usr/lib/[^ ,]*/orv/orvlib\.so' | head -n 1)
echo "named: ${lib:+yes}"
$run "$bin/orv" -l "$root$lib" -p line1 -p legs -p turn -p arc -p toward \
	"$root/usr/share/doc/orv/examples/corner.orv"
echo "exit $?"

# And without -l: orv finds the library it came with by itself.
echo "== orv on the example, with its own library"
$run "$bin/orv" -p arc "$root/usr/share/doc/orv/examples/corner.orv"
echo "exit $?"

# The editor's command line needs no display; a file does.
unset DISPLAY WAYLAND_DISPLAY
for a in --version --help; do
	echo "== orvedit $a"
	$run "$bin/orvedit" "$a"
	echo "exit $?"
done
echo "== orvedit x.txt, without a display"
$run "$bin/orvedit" x.txt 2>/dev/null
echo "exit $?"
[ -e x.txt ] && echo "x.txt was made"

for p in hello-gcc hello-clang; do
	echo "== $p"
	$run "$bin/$p"
	echo "exit $?"
done

echo "== twopass gcc -o x x.c"
printf '#include <stdio.h>\nint main(void) { puts("two passes"); return 0; }\n' >x.c
$run "$bin/twopass" gcc -o x x.c
echo "exit $?"
./x

cd /
rm -rf "$t"

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
cd "$t"

echo "== orvcalc"
$run "$bin/orvcalc" >out
echo "exit $?"
cat -v out

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

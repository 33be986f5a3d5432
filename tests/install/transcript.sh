#!/bin/sh
# What the installed packages print, to be tests/install/expected.txt:
# every program (programs.sh), orvcalc's manual page, and the C program
# of tests/package/use built in USE, by CMake and through pkg-config.
# Usage: transcript.sh USE   (in a scratch folder: the C program makes
# a file there)
set -u
use=$1
sh "$(dirname "$0")/programs.sh" "" ""
{
	echo "== man orvcalc"
	MANWIDTH=80 man orvcalc
	for p in use-cmake use-pc; do
		echo "== $p"
		if "$use/bin/$p" "$p.txt"; then echo "exit 0"; else echo "exit $?"; fi
	done
} 2>&1

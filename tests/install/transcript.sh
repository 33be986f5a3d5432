#!/bin/sh
# What the packages print, to be tests/install/expected.txt: every
# program (programs.sh), orvcalc's manual page, and the C program of
# tests/package/use built in USE, by CMake and through pkg-config.
# Usage: transcript.sh USE [RUN ROOT]   (RUN and ROOT as programs.sh
# takes them: none where the packages are installed; run in a scratch
# folder: the C program makes a file there)
set -u
use=$1 run=${2-} root=${3-}
sh "$(dirname "$0")/programs.sh" "$run" "$root"
{
	echo "== man orvcalc"
	if [ -n "$root" ]; then
		MANWIDTH=80 man -l "$root/usr/share/man/man1/orvcalc.1.gz"
	else
		MANWIDTH=80 man orvcalc
	fi
	for p in use-cmake use-pc; do
		echo "== $p"
		if $run "$use/bin/$p" "$p.txt"; then echo "exit 0"; else echo "exit $?"; fi
	done
} 2>&1

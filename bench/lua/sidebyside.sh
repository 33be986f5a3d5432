#!/bin/bash
# orv and Lua 5.4 side by side on the same work, each program run five
# times; prints the median CPU time (user + system) of each and their
# ratio.  CPU time, not elapsed: the machine is shared, and a busy
# neighbour stretches the elapsed time of both unevenly.
# Usage: bench/lua/sidebyside.sh ORV GEOMLIB   (tools/bench lua runs it)
#   chain  9,999 definitions, each naming the one before, all printed.
#          orv's nesting stops at 1000, so the chain starts anew every
#          100th definition (in Lua too), which a print that walked the
#          links anew would walk up to 100 of.
#   list   one list of 10^6 numbers, printed.
#   calls  10,000 calls of Segment with -l (in Lua, a Lua function over
#          math.sqrt), the list of results printed.
set -eu
orv=$1 lib=$2
lua=lua5.4
t=$(mktemp -d)
trap 'rm -rf "$t"' EXIT

awk 'BEGIN {
	print "p0 = 0"
	for (i = 1; i < 10000; i++)
		print "p" i " = " (i % 100 ? "p" (i - 1) : i)
}' >"$t/chain.orv"
seq 0 9999 | sed 's/^/-p p/' >"$t/chain.args"
awk 'BEGIN {
	print "p0 = 0"
	for (i = 1; i < 10000; i++)
		print "p" i " = " (i % 100 ? "p" (i - 1) : i)
	for (i = 0; i < 10000; i++)
		print "print(\"p" i " = \" .. p" i ")"
}' >"$t/chain.lua"

awk 'BEGIN {
	printf "x = {0"
	for (i = 1; i < 1000000; i++)
		printf ",%d", i
	print "}"
}' >"$t/list.orv"
{
	cat "$t/list.orv"
	printf '%s\n' 'io.write("x = {", table.concat(x, ","), "}\n")'
} >"$t/list.lua"

awk 'BEGIN {
	print "A = {0,0}"
	print "B = {3,4}"
	printf "x = {Segment(A,B)"
	for (i = 1; i < 10000; i++)
		printf ",Segment(A,B)"
	print "}"
}' >"$t/calls.orv"
{
	echo 'function Segment(a, b)'
	echo '	local dx, dy = b[1] - a[1], b[2] - a[2]'
	echo '	return math.sqrt(dx * dx + dy * dy)'
	echo 'end'
	cat "$t/calls.orv"
	printf '%s\n' 'io.write("x = {", table.concat(x, ","), "}\n")'
} >"$t/calls.lua"

# cpu CMD...: the median of five runs' CPU time, in ms
cpu() {
	local TIMEFORMAT='%3U %3S'
	: >"$t/times"
	for _ in 1 2 3 4 5; do
		{ time "$@" >"$t/out" 2>"$t/err"; } 2>>"$t/times" ||
			{ echo "failed: $*" >&2; cat "$t/err" >&2; return 1; }
	done
	awk '{ print ($1 + $2) * 1000 }' "$t/times" | sort -n | sed -n 3p
}

# row NAME ORV-COMMAND...: one line of the table.  "same output" tells
# whether both printed the same bytes (calls differ in how a float is
# written: 5 and 5.0).
row() {
	name=$1; shift
	o=$(cpu "$@") || exit 1
	cp "$t/out" "$t/orv.out"
	l=$(cpu "$lua" "$t/$name.lua") || exit 1
	same=yes
	cmp -s "$t/out" "$t/orv.out" || same=no
	awk -v n="$name" -v o="$o" -v l="$l" -v s="$same" \
		'BEGIN { printf "%-6s %9.1f %9.1f %9.2f   %s\n", n, o, l, o / l, s }'
}

printf '%-6s %9s %9s %9s   %s\n' work "orv ms" "lua ms" orv/lua "same output"
# shellcheck disable=SC2046 # ten thousand options, split into words
row chain "$orv" -l "$lib" $(cat "$t/chain.args") "$t/chain.orv"
row list "$orv" -l "$lib" "$t/list.orv"
row calls "$orv" -l "$lib" "$t/calls.orv"

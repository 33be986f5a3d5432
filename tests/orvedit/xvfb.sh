#!/bin/sh
# orvedit end to end: a real X server (Xvfb), real key presses and mouse
# clicks (xdotool, through the XTEST extension), a save, and then the file
# on disk and screenshots of the window.  Every wait has a time limit;
# Xvfb and the editor are ended on the way out, whatever happens.
# Usage: xvfb.sh ORVEDIT WORKDIR
set -eu
ed=$1 work=$2
rm -rf "$work"
mkdir -p "$work"
cd "$work"

pids=
cleanup() {
	for p in $pids; do kill "$p" 2>/dev/null || true; done
}
trap cleanup EXIT
trap 'exit 1' INT TERM
fail() {
	echo "FAIL: $*" >&2
	echo "--- editor output:" >&2
	cat editor.out >&2 2>/dev/null || true
	exit 1
}
# within SECONDS COMMAND...: retries COMMAND every 0.1 s until it succeeds.
within() {
	n=$(($1 * 10))
	shift
	until "$@" 2>/dev/null; do
		n=$((n - 1))
		[ "$n" -gt 0 ] || return 1
		sleep 0.1
	done
}
# pixel FILE X Y: the pixel's grey level, 0 to 255.
pixel() {
	convert "$1" -format "%[fx:int(255*p{$2,$3}.intensity+0.5)]" info:
}
shot() {
	import -window "$wid" "png:$1"
}
# The status line's mark (plotplug's square, 12 to 18 in both directions).
marked() {
	shot mark.png && [ "$(pixel mark.png 15 $((480 - 24 + 15)))" -lt 40 ]
}
unmarked() {
	shot mark.png && [ "$(pixel mark.png 15 $((480 - 24 + 15)))" -gt 200 ]
}
is() {
	[ "$(cat "$1")" = "$2" ] && [ "$(od -An -c "$1")" = "$(printf '%s' "$2" | od -An -c)" ]
}
# none GLOB: nothing matches (an unmatched glob stays as it is written).
none() { [ ! -e "$1" ]; }

# Xvfb takes a free display number and writes it once it accepts clients.
# It must not reset when its last client leaves: a client connecting
# meanwhile (the editor, while xdotool looks for its window) is refused.
# Recovery files go to the work folder, never to the user's.
XDG_STATE_HOME=$PWD/state
export XDG_STATE_HOME
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>display 2>xvfb.log &
xpid=$!
pids=$xpid
within 20 test -s display || fail "Xvfb did not start: $(cat xvfb.log)"
DISPLAY=:$(cat display)
export DISPLAY

printf 'first line\nsecond line\n' >doc.txt
timeout 120 "$ed" doc.txt >editor.out 2>&1 &
epid=$!
pids="$epid $pids"
within 20 sh -c "xdotool search --name '^doc.txt - orvedit\$' >wid" ||
	fail "no editor window"
wid=$(head -n 1 wid)
# The first frame is up: the file's text is drawn.
drawn() {
	shot first.png && [ "$(convert first.png -crop 400x40+0+0 +repage \
		-threshold 50% -negate -format '%[fx:int(mean*w*h)]' info:)" -gt 100 ]
}
within 20 drawn || fail "the text is not drawn"
xdotool mousemove --window "$wid" 300 200
xdotool windowfocus --sync "$wid"

# Type at the start, at the end of the line, then click the start of the
# second line (in its gutter) and type there; Ctrl+End and the last line.
xdotool type --delay 20 'Hello '
xdotool key --delay 20 End
xdotool type --delay 20 '!'
xdotool mousemove --window "$wid" 6 27 click 1
xdotool type --delay 20 '> '
xdotool key --delay 20 ctrl+End
xdotool type --delay 20 'third'
within 10 marked || fail "no mark of unsaved changes"
[ "$(identify -format '%w %h' mark.png)" = "800 480" ] || fail "window size"
# Text is drawn: dark pixels in the text area, none in its right half.
dark=$(convert mark.png -crop 800x450+0+0 +repage -threshold 50% -negate \
	-format '%[fx:int(mean*w*h)]' info:)
[ "$dark" -gt 300 ] || fail "no text drawn ($dark dark pixels)"
right=$(convert mark.png -crop 300x450+500+0 +repage -threshold 50% -negate \
	-format '%[fx:int(mean*w*h)]' info:)
[ "$right" -eq 0 ] || fail "ink right of the short lines ($right)"
cp mark.png typed.png

want='Hello first line!
> second line
third'
xdotool key ctrl+s
within 10 is doc.txt "$want" || fail "saved: $(od -c doc.txt)"
within 10 unmarked || fail "the mark stays after saving"
none .doc* || fail "temporary file left"

# Unsaved changes: Ctrl+Q asks; c goes on, another Ctrl+Q and d quit
# with 0 and nothing is saved.
xdotool type --delay 20 'x'
within 10 marked || fail "no mark after typing"
xdotool key ctrl+q
sleep 0.5
kill -0 "$epid" 2>/dev/null || fail "quit at Ctrl+Q without asking"
xdotool key c
sleep 0.3
kill -0 "$epid" 2>/dev/null || fail "quit after c"
xdotool key ctrl+q
sleep 0.3
xdotool key d
st=0
wait "$epid" || st=$?
[ "$st" = 0 ] || fail "exit status $st"
is doc.txt "$want" || fail "quitting saved"

# start FILE: the editor on FILE, its window focused; sets epid, wid
# and pid, the editor's own process (epid is timeout's).
start() {
	timeout 120 "$ed" "$1" >>editor.out 2>&1 &
	epid=$!
	pids="$epid $pids"
	within 10 sh -c "pgrep -P $epid >pid" || fail "no editor process"
	pid=$(head -n 1 pid)
	within 20 sh -c "xdotool search --name '$1 - orvedit\$' >wid" ||
		fail "no editor window for $1"
	wid=$(head -n 1 wid)
	xdotool mousemove --window "$wid" 300 200
	xdotool windowfocus --sync "$wid"
	sleep 0.3
}
alive() {
	sleep 0.5
	kill -0 "$epid" 2>/dev/null || fail "the editor ended: $1"
}
quit_clean() {
	xdotool key ctrl+q
	st=0
	wait "$epid" || st=$?
	[ "$st" = 0 ] || fail "exit status $st"
}

# Typed while the editor is busy, then Ctrl+S with Ctrl still held when
# the editor reads its queue: the text is typed text, not part of the
# chord, and is saved.
printf 'kept' >busy.txt
start busy.txt
kill -STOP "$pid"
xdotool type --delay 20 'abc'
xdotool keydown ctrl key s
kill -CONT "$pid"
within 10 is busy.txt 'abckept' || { xdotool keyup ctrl; fail "busy: saved $(od -c busy.txt)"; }
xdotool keyup ctrl
quit_clean

# The selection is PRIMARY for other programs, and the middle button
# pastes theirs where it is pressed.
printf 'one two' >primary.txt
start primary.txt
xdotool key --delay 20 shift+Right shift+Right shift+Right
# shellcheck disable=SC2016 # for sh -c to expand at each try
within 10 sh -c '[ "$(xclip -o -selection primary)" = one ]' ||
	fail "primary: $(xclip -o -selection primary 2>&1)"
printf 'X' | xclip -selection primary -i
sleep 0.3
xdotool mousemove --window "$wid" 400 300 click 2
xdotool key ctrl+s
within 10 is primary.txt 'one twoX' || fail "primary: saved $(od -c primary.txt)"
quit_clean

# A place as a compiler prints it: FILE:LINE:COLUMN.
printf 'one\ntwo\nthree' >place.txt
timeout 120 "$ed" place.txt:2:2 >>editor.out 2>&1 &
epid=$!
pids="$epid $pids"
within 20 sh -c "xdotool search --name 'place.txt - orvedit\$' >wid" ||
	fail "no editor window for place.txt:2:2"
wid=$(head -n 1 wid)
xdotool windowfocus --sync "$wid"
sleep 0.3
xdotool type --delay 20 '|'
xdotool key ctrl+s
within 10 is place.txt 'one
t|wo
three' || fail "place: saved $(od -c place.txt)"
quit_clean

# Ctrl+C in the terminal: a quit request that asks.
printf 'kept' >sig.txt
start sig.txt
xdotool type --delay 20 'x'
within 10 marked || fail "no mark after typing"
kill -INT "$pid"
alive "the first SIGINT with unsaved changes"
xdotool key Escape
xdotool key ctrl+s
within 10 is sig.txt 'xkept' || fail "sigint: saved $(od -c sig.txt)"
kill -INT "$pid"
st=0
wait "$epid" || st=$?
[ "$st" = 0 ] || fail "SIGINT: exit status $st"

# A selection larger than the display takes: copy and cut are refused,
# the editor goes on and the edit before them is saved whole.
awk 'BEGIN { for (i = 0; i < 270000; i++) printf "%063d\n", i }' >big.txt
cp big.txt big.orig
start big.txt
xdotool type --delay 20 'Z'
xdotool key --delay 50 ctrl+a ctrl+c
alive "copy of 17 MB"
xdotool key --delay 50 ctrl+x
alive "cut of 17 MB"
xdotool key ctrl+s
saved_big() { [ "$(head -c 1 big.txt)" = Z ] && tail -c +2 big.txt | cmp -s - big.orig; }
within 20 saved_big || fail "the large file is not saved whole"
quit_clean

# About 3 MB offered by another program: nothing arrives, nothing is
# inserted, and the status line changes to say so.
head -c 3000000 big.orig >clip.txt
xclip -selection clipboard -i clip.txt &
pids="$! $pids"
printf 'kept' >paste.txt
start paste.txt
shot before.png
xdotool key ctrl+v
alive "a paste of 3 MB"
shot after.png
changed=$(compare -metric AE -crop 800x24+0+456 before.png after.png null: 2>&1 || true)
[ "${changed%% *}" != 0 ] || fail "the status line says nothing"
xdotool key ctrl+s
sleep 0.5
is paste.txt 'kept' || fail "paste: $(head -c 100 paste.txt | od -c)"
quit_clean

# UTF-8 typed with real key events: saved as typed, and drawn one cell
# a character.  The face is 9x17 pixels; one line's number takes two
# cells from x 4, so cell i of the first row starts at x 22 + 9 i.  The
# spaces are cells 4 and 9; drawn byte by byte they would fall elsewhere.
: >utf8.txt
start utf8.txt
xdotool type --delay 30 'Café déjà vu'
xdotool key ctrl+s
within 10 is utf8.txt 'Café déjà vu' || fail "utf8: saved $(od -c utf8.txt)"
shot utf8.png
ink() {
	convert utf8.png -crop 9x17+$((22 + 9 * $1))+0 +repage -threshold 50% \
		-negate -format '%[fx:int(mean*w*h)]' info:
}
for i in 0 1 2 3 5 6 7 8 10 11; do
	[ "$(ink $i)" -gt 0 ] || fail "utf8: nothing drawn in cell $i"
done
for i in 4 9 13; do
	[ "$(ink $i)" -eq 0 ] || fail "utf8: ink in cell $i"
done
quit_clean

# kill -9 after typing and a pause: the next editor of the file offers
# the text; r restores it, Ctrl+S saves it and the recovery file goes.
printf 'disk' >rec.txt
start rec.txt
xdotool key ctrl+End
xdotool type --delay 20 'typed'
# recs NAME: how many recovery files of NAME there are.
recs() {
	c=0
	for f in state/orvedit/"$1"-*.orvedit; do
		[ ! -e "$f" ] || c=$((c + 1))
	done
	echo "$c"
}
has_rec() { [ "$(recs "$1")" = 1 ]; }
within 10 has_rec rec.txt || fail "no recovery file"
kill -9 "$pid"
wait "$epid" || true
is rec.txt 'disk' || fail "kill -9 changed the file"
start rec.txt
shot before.png
xdotool key r
within 10 marked || fail "restored text not marked unsaved"
xdotool key ctrl+s
within 10 is rec.txt 'disktyped' || fail "restored: $(od -c rec.txt)"
[ "$(recs rec.txt)" = 0 ] || fail "recovery file left after the save"
quit_clean

# Another program changes the file: without unsaved changes it is read
# again at once, the cursor kept on its line and column; with them the
# editor asks, and r then Ctrl+Z brings the typed text back.
printf 'one\ntwo' >disk.txt
start disk.txt
xdotool key Down End
printf 'zero\none\ntwo' >disk.new
mv disk.new disk.txt
sleep 1.5
xdotool type --delay 20 'X'
xdotool key ctrl+s
within 10 is disk.txt 'zero
oneX
two' || fail "reload: $(od -c disk.txt)"
xdotool type --delay 20 'Y'
printf 'theirs' >disk.txt
sleep 1.5
xdotool key r
sleep 0.3
xdotool key ctrl+z ctrl+s
within 10 is disk.txt 'zero
oneXY
two' || fail "keep mine: $(od -c disk.txt)"
quit_clean

# Save As with real keys: Ctrl+Shift+S, the name typed over, Tab
# completing the folder, Return.  The old file stays as it was.
mkdir sub
printf 'kept' >sa.txt
start sa.txt
xdotool type --delay 20 'new '
xdotool key ctrl+shift+s
xdotool key --delay 20 --repeat 6 BackSpace
xdotool type --delay 20 'su'
xdotool key Tab
xdotool type --delay 20 'out.txt'
xdotool key Return
within 10 is sub/out.txt 'new kept' || fail "save as: $(ls -R)"
is sa.txt 'kept' || fail "save as changed the old file"
within 10 sh -c "xdotool search --name '^sub/out.txt - orvedit\$' >/dev/null" ||
	fail "the title does not name the new file"
quit_clean

# The display goes away under unsaved changes: the text is written to
# the recovery file before the editor ends (status 1).
printf 'kept' >lost.txt
start lost.txt
xdotool type --delay 20 'gone '
within 10 marked || fail "no mark after typing"
kill "$xpid"
st=0
wait "$epid" || st=$?
[ "$st" = 1 ] || fail "lost display: exit status $st"
grep -q 'the display is gone; the unsaved text is in' editor.out ||
	fail "lost display: nothing said"
[ "$(tail -c 9 state/orvedit/lost.txt-*.orvedit)" = 'gone kept' ] ||
	fail "lost display: no recovery file"
is lost.txt 'kept' || fail "lost display changed the file"

echo "orvedit under Xvfb: ok"

# shellcheck shell=bash
# The File menu's profile items in the Windows window: a profile opened into the boxes, one
# saved after presses, and the apply dialog run against three printers on loopback, one of
# which takes no connection. The system's file dialogs are answered by typing the path.
# Sourced by wine-tests, whose helpers it uses.
echo "== the profile menu"
fleet_port=49770 dialog=""
start_helper "$work/profile-fleet.log" "$printer" --listen 127.0.0.5-127.0.0.6:$fleet_port
wait_for_line "$work/profile-fleet.log" "127.0.0.6:$fleet_port"
profile_menu() { # profile_menu ITEM_KEY: the File menu opened, then its item chosen
    keys alt+f
    sleep 1 # wine opens the menu's popup a moment after the key, and drops keys before that
    keys "$1"
}
windows_path() { local path=${1//\//\\}; echo "Z:$path"; }
# profile_answer_file TITLE PATH: the file dialog titled so appears, and takes the path typed
profile_answer_file() {
    local tries=0 box=""
    until box=$(xdotool search --name "^$1\$" 2>/dev/null | head -n1) && [ -n "$box" ]; do
        tries=$((tries + 1))
        [ $tries -le 150 ] || { echo "No file dialog \"$1\"." >&2; return 1; }
        sleep 0.2
    done
    sleep 0.5
    xdotool type --delay 20 "$(windows_path "$2")"
    # Enter now and then goes to the name box's completion first: pressed again only when the
    # dialog is still there after a while, since a second Enter would answer the next box.
    local closed
    for tries in 1 2 3; do
        sleep 0.5
        keys Return
        for closed in $(seq 30); do
            xdotool search --name "^$1\$" >/dev/null 2>&1 || return 0
            sleep 0.1
        done
    done
    echo "The file dialog \"$1\" stays open." >&2
    return 1
}
# profile_dialog_click X Y: a click at client pixels of the apply dialog, as it places them at 96 dpi
profile_dialog_click() { xdotool mousemove --window "$dialog" "$1" "$2" click 1; }
profile_within() { # profile_within SECONDS COMMAND...: the command holds before the time is up
    local until=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -lt "$until" ] || return 1
        sleep 0.5
    done
}
printf '[black-mark]\nmark-width = 3.5\nfunction = "on"\n' >"$work/shop.toml"
printf '[black-mark]\nmark-width = 5000\n' >"$work/bad.toml"

wine_run 60 "$probe" places | tr -d '\r' >"$work/places"
open_window
type_into Text1 "127.0.0.1:$net_port"
profile_menu o
profile_answer_file "Open profile" "$work/bad.toml"
# The probe reads the box a moment after it appears; on a loaded machine it is filled in later.
profile_within 15 xdotool search --name '^error$' >/dev/null 2>&1
sleep 2
check "a bad profile: one box with its place" box "icon error" "buttons 1" \
    'bad.toml:2:14: mark-width "5000" is out of range'
profile_menu o
profile_answer_file "Open profile" "$work/shop.toml"
check "the opened profile's width is what the button sends" \
    presses "vp:$work/net.log" Command1 "1F 1B 1F 81 04 05 06 1C 00"
profile_menu s
profile_answer_file "Save profile" "$work/saved.toml"
saved_as_sent() {
    [ -s "$work/saved.toml" ] &&
        "$linux_build/src/app/blackmark" profile check "$work/saved.toml" |
        grep -qx "mark-width 3.5 mm: 1F 1B 1F 81 04 05 06 1C 0"
}
check "the saved profile gives what was sent" profile_within 20 saved_as_sent

printf 'ETHERNET 127.0.0.5:%s\nETHERNET 127.0.0.1:1\nETHERNET 127.0.0.6:%s\n' \
    $fleet_port $fleet_port >"$work/shop-printers.txt"
profile_menu a
tries=0
until dialog=$(xdotool search --name '^Apply a profile to printers$' 2>/dev/null | head -n1) &&
    [ -n "$dialog" ]; do
    tries=$((tries + 1))
    [ $tries -le 150 ] || break
    sleep 0.2
done
check "the apply dialog opens" test -n "$dialog"
sleep 1
profile_dialog_click 310 22
xdotool type --delay 20 "$(windows_path "$work/shop.toml")"
profile_dialog_click 335 72
xdotool type --delay 20 "$(windows_path "$work/shop-printers.txt")"
profile_dialog_click 55 249
# Save report… is on only once the run is over: pressed until the report is there.
report_saved() {
    [ -s "$work/report.json" ] && return 0
    profile_dialog_click 485 479
    profile_answer_file "Save report" "$work/report.json" 2>/dev/null
    sleep 1
    [ -s "$work/report.json" ]
}
check "the run ends and its report is saved" profile_within 60 report_saved
check "... two set, the one that takes no connection failed" \
    grep -qzF "\"set\": 2,
\"failed\": 1," "$work/report.json"
check "... the same form as apply --json" \
    grep -qF '"printer": "ETHERNET 127.0.0.1:1",' "$work/report.json"
check "... the printers took the profile" grep -q "black mark function on" "$work/profile-fleet.log"
[ -z "${PROFILE_SCREENSHOT:-}" ] || import -window "$dialog" "$PROFILE_SCREENSHOT"
sleep 1
profile_dialog_click 590 479
dialog_gone() { ! xdotool search --name '^Apply a profile to printers$' >/dev/null 2>&1; }
check "Close closes the dialog" profile_within 30 dialog_gone
check "Close ends the program" closes

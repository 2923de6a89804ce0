# The window's menus, opened by their access keys as a keyboard user would: Who is it?, Can it
# print? and the paper layout dialog against the virtual printer on the network. Sourced by
# wine-tests, whose helpers it uses.
echo "== the window's menus"
menu_box() { # menu_box TITLE TEXT...: the box of that title shows each text, then is closed
    wine_run 60 "$probe" box "$1" 15000 | tr -d '\r' >"$work/box"
    # A probe that wine could not start in time said nothing and left the box open: once more.
    [ -s "$work/box" ] || wine_run 60 "$probe" box "$1" 15000 | tr -d '\r' >"$work/box"
    shift
    local text
    for text in "$@"; do
        grep -qF -- "$text" "$work/box" || { echo "the box said:" >&2; cat "$work/box" >&2; return 1; }
    done
}
menu_item() { # menu_item MENU_KEY ITEM_KEY: the menu opened, then its item chosen
    keys "alt+$1"
    sleep 1 # wine opens the menu's popup a moment after the key, and drops keys before that
    keys "$2"
}
layout_dialog_open() { # shown and taking keys
    [ "$(wine_run 60 "$probe" idle "Paper layout" 30000 | tr -d '\r')" = idle ]
}
wine_run 60 "$probe" places | tr -d '\r' >"$work/places" # at 96 dpi again
open_window
type_into Text1 "127.0.0.1:$net_port"
menu_item p w
check "Printer, Who is it?" menu_box "Who is it?" "icon other" \
    "maker BLACKMARK, model VIRTUAL PRINTER, firmware 1.0, serial VP-0001, autocutter yes"
check "... asks what identify asks" arrives "vp:$work/net.log" "1D 49 42 1D 49 43 1D 49 41 1D 49 44 1D 49 02"
menu_item p c
check "Printer, Can it print?" menu_box "Can it print?" "icon other" "ready to print"
check "... asks what status asks" arrives "vp:$work/net.log" "10 04 01 10 04 02 10 04 03 10 04 04"
menu_item p l
check "Printer, Paper layout opens its dialog" layout_dialog_open
keys alt+i
xdotool type --delay 20 "abc"
keys alt+e
check "a bad pitch is told, and nothing sent" menu_box "Paper layout" "icon warning" \
    "Pitch: \"abc\" is not a distance"
keys alt+i ctrl+a BackSpace
xdotool type --delay 20 "101.6"
keys alt+s
xdotool type --delay 20 -- "-2.55"
keys alt+e
check "Set sends the layout" arrives "vp:$work/net.log" \
    "1C 28 4C 0F 00 21 33 31 30 31 36 3B 2D 32 36 3B 3B 3B 3B 3B"
keys alt+r
check "Read back shows it as set and in effect" menu_box "Paper layout" "icon other" \
    "as set: black-mark paper; pitch 101.6 mm, print start -2.6 mm" "in effect: black-mark paper"
received "vp:$work/net.log" >/dev/null
keys alt+u
check "Test cut" arrives "vp:$work/net.log" "1C 28 4C 02 00 42 30 1D 56 30"
keys Escape
menu_item h a
check "Help, About" menu_box "About" "blackmark-setup $version" "MIT License"
check "Close ends the program after the menus" closes

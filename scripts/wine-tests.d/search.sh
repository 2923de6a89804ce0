# Printer > Find printers on the network... against a small fleet on loopback: four printers on
# 127.0.0.2-127.0.0.5:9100, with 127.0.0.1 and 127.0.0.6 refusing. The dialog is driven by
# keys: its ranges box has the focus when it opens, Enter finds, and once the search is done
# the list has it, where Enter chooses the selected printer. Sourced by wine-tests, whose
# helpers it uses.
echo "== the search for printers"
search_title="Find printers on the network"
search_log=$work/search.log
search_box() { # search_box TEXT...: the dialog's box shows each text, then is closed
    wine_run 60 "$probe" box "$search_title" 15000 | tr -d '\r' >"$work/box"
    local text
    for text in "$@"; do
        grep -qF -- "$text" "$work/box" || { echo "the box said:" >&2; cat "$work/box" >&2; return 1; }
    done
}
search_idle() { [ "$(wine_run 60 "$probe" idle "$search_title" 30000 | tr -d '\r')" = idle ]; }
search_opens() { # within 30 s, shown and taking keys; the pointer on it, as keys follow it
    local dialog="" tries=0
    until dialog=$(xdotool search --name "^$search_title\$" 2>/dev/null | head -n1) && [ -n "$dialog" ]; do
        tries=$((tries + 1))
        [ $tries -le 300 ] || return 1
        sleep 0.1
    done
    xdotool mousemove --window "$dialog" 300 200
    search_idle
}
fleet_asked() { # each printer of the fleet asked once, within 60 s, and nothing more
    local tries=0
    until [ "$(grep -c '^document 1 at 127\.0\.0\.[2-5]:9100 from .*, 18 bytes$' "$search_log")" -eq 4 ]; do
        tries=$((tries + 1))
        [ $tries -le 600 ] || return 1
        sleep 0.1
    done
    ! grep -q "^document 2 " "$search_log"
}
search_closed() { # within 10 s
    local tries=0
    while xdotool search --name "^$search_title\$" >/dev/null 2>&1; do
        tries=$((tries + 1))
        [ $tries -le 100 ] || return 1
        sleep 0.1
    done
}
fifth_reached() { # the test cut's 6 bytes at 127.0.0.5 alone, within 30 s
    local tries=0
    until grep -q '^document 2 at 127\.0\.0\.5:9100 from .*, 6 bytes$' "$search_log"; do
        tries=$((tries + 1))
        [ $tries -le 300 ] || { tail -n 20 "$search_log" >&2; return 1; }
        sleep 0.1
    done
    [ "$(grep -c '^document 2 at .*, [0-9]* bytes$' "$search_log")" -eq 1 ] &&
        grep -A1 '^document 2 at 127\.0\.0\.5:9100 from [^,]*$' "$search_log" | grep -q '1B 40'
}

start_helper "$search_log" "$printer" --listen 127.0.0.2-127.0.0.5:9100
wait_for_line "$search_log" "^listening on 127.0.0.5:9100"
wine_run 60 "$probe" places | tr -d '\r' >"$work/places" # at 96 dpi
check "the window opens" open_window || return 0
xdotool mousemove --window "$window" 200 200
keys alt+p
sleep 1 # wine opens the menu's popup a moment after the key, and drops keys before that
keys f
if check "Printer, Find printers on the network... opens the dialog" search_opens; then
    keys ctrl+a BackSpace
    xdotool type --delay 20 "8.8.8.8"
    keys Return
    check "a range outside the local blocks: one box, nothing tried" \
        search_box "icon error" '"8.8.8.8" is outside what discover may try'
    keys ctrl+a BackSpace
    xdotool type --delay 20 "127.0.0.1-127.0.0.6"
    keys Return
    check "the search asks each printer of the fleet once" fleet_asked
    check "... while the dialog takes messages" search_idle
    sleep 1 # the last rows, posted to the dialog
    # The rows in address order: End is the last printer, 127.0.0.5.
    keys End Return
    check "choosing a printer closes the dialog" search_closed
    click Command9
    check "... and a press then reaches that printer" fifth_reached
fi
check "Close ends the program" closes
end_window

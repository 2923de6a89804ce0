# Printer > Find printers on the network... against a small fleet on loopback: four printers
# on 127.0.0.2-127.0.0.5:9100, with 127.0.0.1 and 127.0.0.6 refusing. The dialog is driven
# by keys: its ranges box has the focus when it opens, Enter finds, and once the search is
# done the list has it, where Enter chooses the selected printer.
section_search() {
    echo "== the search for printers"
    box_titled() { # box_titled TITLE TEXT...: the box helper, for a box of the dialog's
        local title=$1 text
        shift
        wine_run 60 "$probe" box "$title" 15000 | tr -d '\r' >"$work/box"
        for text in "$@"; do
            grep -qF -- "$text" "$work/box" || { echo "the box said:" >&2; cat "$work/box" >&2; return 1; }
        done
    }
    wine_run 60 "$probe" places | tr -d '\r' >"$work/places"
    local title="Find printers on the network" log=$work/search.log dialog=""
    start_helper "$log" "$printer" --listen 127.0.0.2-127.0.0.5:9100
    wait_for_line "$log" "^listening on 127.0.0.5:9100" || return
    check "the window opens" open_window || return
    find_dialog() { # within 30 s
        local tries=0
        until dialog=$(xdotool search --name "^$title\$" 2>/dev/null | head -n1) && [ -n "$dialog" ]; do
            tries=$((tries + 1))
            [ $tries -le 300 ] || return 1
            sleep 0.1
        done
        xdotool mousemove --window "$dialog" 300 200 # keys go to the window under the pointer
        [ "$(wine_run 60 "$probe" idle "$title" 30000 | tr -d '\r')" = idle ]
    }
    xdotool mousemove --window "$window" 200 200
    keys alt+p f
    check "Printer > Find printers on the network... opens the dialog" find_dialog || {
        end_window
        return
    }
    keys ctrl+a BackSpace
    xdotool type --delay 20 "8.8.8.8"
    keys Return
    check "a range outside the local blocks: one box, nothing tried" \
        box_titled "$title" "icon error" '"8.8.8.8" is outside what discover may try'
    keys ctrl+a BackSpace
    xdotool type --delay 20 "127.0.0.1-127.0.0.6"
    keys Return
    asked_all() { # each printer of the fleet asked once, within 60 s
        local tries=0
        until [ "$(grep -c '^document 1 at 127\.0\.0\.[2-5]:9100 from .*, 18 bytes$' "$log")" -eq 4 ]; do
            tries=$((tries + 1))
            [ $tries -le 600 ] || return 1
            sleep 0.1
        done
        ! grep -q "^document 2 " "$log"
    }
    check "the search asks each printer of the fleet once" asked_all
    check "... while the dialog takes messages" \
        test "$(wine_run 60 "$probe" idle "$title" 30000 | tr -d '\r')" = idle
    sleep 1 # the last rows, posted to the dialog
    # The rows in address order: End is the last printer, 127.0.0.5.
    keys End Return
    closed() {
        local tries=0
        while xdotool search --name "^$title\$" >/dev/null 2>&1; do
            tries=$((tries + 1))
            [ $tries -le 100 ] || return 1
            sleep 0.1
        done
    }
    check "choosing a printer closes the dialog" closed
    if [ -n "${section_search_debug:-}" ]; then
        xdotool getwindowgeometry "$window" >&2
        import -window "$window" /tmp/search-debug-window.png
        grep Command9 "$work/places" >&2
    fi
    click Command9
    reached() { # the test cut's 6 bytes at 127.0.0.5 alone, within 30 s
        local tries=0
        until grep -q '^document 2 at 127\.0\.0\.5:9100 from .*, 6 bytes$' "$log"; do
            tries=$((tries + 1))
            [ $tries -le 300 ] || { tail -n 20 "$log" >&2; return 1; }
            sleep 0.1
        done
        [ "$(grep -c '^document 2 at ' "$log")" -eq 1 ] &&
            grep -A1 '^document 2 at 127\.0\.0\.5:9100 from [^,]*$' "$log" | grep -q '1B 40'
    }
    check "... and a press then reaches that printer" reached
    check "Close ends the program" closes
}

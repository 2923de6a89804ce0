# View ▸ Paper preview: opened by its access keys, it draws the paper with the window's boxes,
# follows them as they are typed, tells a bad one in words instead of drawing, and sends
# nothing. Sourced by wine-tests, whose helpers it uses.
echo "== the paper preview"
preview_colours() { # preview_colours FILE: how many pixels of blue and of red the preview shows
    local window
    window=$(xdotool search --name '^Paper preview$' 2>/dev/null | head -n1)
    [ -n "$window" ] || { echo "no preview window" >&2; return 1; }
    sleep 1 # drawn a moment after the change
    import -window "$window" "$1" || return 1
    convert "$1" -format %c histogram:info:- |
        awk '/#0000FF/ { blue = $1 } /#FF0000/ { red = $1 } END { printf "%d %d\n", blue, red }'
}
preview_opens() { # within 10 s of the keys
    local tries=0
    until xdotool search --name '^Paper preview$' >/dev/null 2>&1; do
        tries=$((tries + 1))
        [ $tries -le 100 ] || return 1
        sleep 0.1
    done
}
draws() { # draws BLUE RED: whether print starts (blue) and cuts (red) are drawn, yes or no
    local blue red
    read -r blue red < <(preview_colours "$work/preview.png")
    [ "$([ "${blue:-0}" -gt 20 ] && echo yes || echo no) $([ "${red:-0}" -gt 100 ] && echo yes || echo no)" = "$1 $2" ] ||
        { echo "the preview has $blue blue and $red red pixels" >&2; return 1; }
}
received "vp:$work/net.log" 0 >/dev/null # what went before is not ours
wine_run 60 "$probe" places | tr -d '\r' >"$work/places"
open_window
type_into Text1 "127.0.0.1:$net_port"
type_into Text2_3 6
type_into Text2_4 12
keys alt+v
sleep 1 # wine opens the menu's popup a moment after the key, and drops keys before that
keys p
check "View, Paper preview opens its window" preview_opens
check "... which draws the print starts and the cuts" draws yes yes
type_into Text2_4 "12x"
check "a bad box: nothing drawn" draws no no
type_into Text2_4 2
check "... drawn again once mended" draws yes yes
check "the preview sent nothing" arrives "vp:$work/net.log"
check "Close ends the program with the preview open" closes

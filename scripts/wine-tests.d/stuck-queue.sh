# shellcheck shell=bash disable=SC2154 # sourced by wine-tests, whose names it uses
# The window sends to a printer queue whose scheduler has stopped answering (cupsd held with
# SIGSTOP): the send gives up within its bound, says so, and the window goes on taking
# messages. Once the scheduler answers again, the printer gets the whole document or nothing.
section_stuck_queue() {
    echo "== the window when the printer's queue does not answer"
    wine_run 60 "$probe" places | tr -d '\r' >"$work/places"
    check "the window opens" open_window || return
    type_into Combo1 DRIVER
    kill -STOP "$private_cupsd_pid"
    local start=$SECONDS
    click Command9
    # The bound is 10 s; the box itself may take a while on a loaded machine.
    wine_run 60 "$probe" box error 40000 | tr -d '\r' >"$work/box"
    local waited=$((SECONDS - start))
    check "the box says the queue did not answer" \
        grep -qF "the printer's queue did not answer within 10 s" "$work/box" ||
        cat "$work/box" >&2
    check "... within the bound ($waited s)" test "$waited" -le 25
    check "... and the window takes messages again" test "$(window_idle 5000)" = idle
    kill -CONT "$private_cupsd_pid"
    whole_or_nothing() {
        local got
        got=$(received "vp:$work/queue.log")
        [ "$got" = "(nothing within 60 s)" ] || [ "$got" = "${button_sends[Command9]}" ] ||
            { echo "the printer got: $got" >&2; return 1; }
    }
    check "the printer gets the whole document or nothing" whole_or_nothing
    check "Close ends the program" closes
}

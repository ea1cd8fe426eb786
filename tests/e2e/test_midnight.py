"""The wall clock jumps over midnight (a laptop that slept), moved by libfaketime through a
file: the timer shows the true elapsed time, and a reset brings the rows back at once."""
import datetime
import time

from horavox_e2e import CLEAR_PHRASES, RESET, FakedClock, Horavox, Recording, check, row, wait_until

clock = FakedClock()
evening = datetime.datetime.combine(datetime.date.today(), datetime.time(23, 59, 40))
recording = Recording()
clock.set(evening.timestamp())
app = Horavox(clock.env)
app.choose_display_mode(2)
app.click(*CLEAR_PHRASES)  # the introduction's rows would fall due about the jump
app.type_text("00:00:53", row(5, "time"))  # "E 00:00:53"
app.type_text("fifty three", row(5, "text"))
app.type_text("00:00:02", row(0, "time"))  # to be due after the reset
app.type_text("Horavox", row(0, "text"))
wait_until(lambda: not recording.heard(since=time.monotonic() - 1), 15, 0.25)  # the last ends
jumped = clock.set(evening.timestamp() + 50.5)  # 50 s on, the next day
wait_until(lambda: recording.ended(jumped + 2.2), 15, 0.25)  # the row due 2.5 s after the jump
app.screenshot("midnight-jump")
reset = app.click(*RESET)
wait_until(lambda: recording.ended(reset + 1.0), 15, 0.25)  # "Go", then the row due at 2 s
onsets = [start for start, _ in recording.heard()]
app.close()

print("after the jump:", ["%.2f" % (t - jumped) for t in onsets], "reset", reset - jumped)
check(any(2.2 < t - jumped < 3.8 for t in onsets),
      "the row due at 00:00:53 is heard three seconds after the jump")
check(not any(0 < t - jumped < 2.2 for t in onsets), "nothing else is due after the jump")
after_reset = [t - reset for t in onsets if reset - 0.05 < t < reset + 3.5]  # the next is at 5 s
check(len(after_reset) == 2 and after_reset[0] < 0.5 and 1.0 < after_reset[1] < 2.3,
      "Reset says Go, and the row due two seconds later is heard")

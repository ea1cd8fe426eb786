"""What the user hears for clicks: "Say This Now" at once, "Reset" as one short "Go", and speech
that still comes after a long silence."""
import time

from horavox_e2e import Horavox, Recording, bursts, check

SAY_THIS_NOW = (240, 6360, 1335, 255)
RESET = (240, 360, 735, 375)
CLEAR_PHRASES = (8760, 6840, 1335, 375)
SAY_THIS_NOW_TEXT = (1680, 6360, 8400, 285)

recording = Recording()
app = Horavox()
app.choose_display_mode(2)  # "Show Phrases" brings the say-this-now row into view
app.click(*CLEAR_PHRASES)
time.sleep(3)  # the first phrase of the table has passed, and nothing more is due
say_clicked = app.click(*SAY_THIS_NOW)
time.sleep(2.5)
reset_clicked = app.click(*RESET)
time.sleep(1.5)
again_clicked = app.click(*SAY_THIS_NOW)
time.sleep(7.5)
last_clicked = app.click(*SAY_THIS_NOW)
time.sleep(2.5)
app.click(*SAY_THIS_NOW_TEXT)
app.type_text("This phrase is long enough to go on speaking for many seconds before it ends, "
              "unless something cuts it off.")
long_clicked = app.click(*SAY_THIS_NOW)
time.sleep(1.0)
cut_clicked = app.click(*RESET)
time.sleep(2.0)
samples = recording.stop()
check(app.alive(), "the program is still running")
app.close()

heard = [(recording.at(start), recording.at(end)) for start, end in bursts(samples)]
print("clicks:", ["%.2f" % (t - say_clicked) for t in (reset_clicked, again_clicked, last_clicked)])
print("bursts:", ["%.2f-%.2f" % (a - say_clicked, b - say_clicked) for a, b in heard])


def heard_after(moment):
    # Sound is found in 10 ms frames and a click is timed just before it is sent: allow both.
    return next(((start, end) for start, end in heard if start > moment - 0.05), None)


said = heard_after(say_clicked)
check(said is not None and said[0] - say_clicked < 0.5,
      "Say This Now heard within 500 ms (%.0f ms)" % ((said[0] - say_clicked) * 1000 if said else -1))
go = heard_after(reset_clicked)
check(go is not None and go[0] - reset_clicked < 0.5 and go[1] - go[0] < 0.8,
      "Reset heard at once as one short word")
check(heard_after(go[1] + 0.1) is not None and heard_after(go[1] + 0.1)[0] > again_clicked - 0.05,
      "nothing but Go between the reset and the next phrase")
last = heard_after(last_clicked)
check(heard_after(again_clicked) is not None and last is not None and last[0] - last_clicked < 0.5,
      "a phrase after five seconds of silence is heard as well")
cut = heard_after(long_clicked)
check(cut is not None and cut[1] - cut_clicked < 0.8,
      "Reset cuts a long phrase off and says Go (sound ends %.2f s after the click)"
      % (cut[1] - cut_clicked if cut else -1))

"""Left alone from start, the program speaks its introduction: 2, 5, 10, 15 and 25 seconds."""
import time

from horavox_e2e import Horavox, Recording, bursts, check

recording = Recording()
app = Horavox()
time.sleep(28)
samples = recording.stop()
app.close()

onsets = [start for start, _ in bursts(samples, gap=1.0)]
print("onsets:", ["%.2f" % t for t in onsets])
check(len(onsets) == 5, "five phrases heard in the first 28 seconds")
gaps = [b - a for a, b in zip(onsets, onsets[1:])]
for gap, expected in zip(gaps, (3, 5, 5, 10)):
    check(abs(gap - expected) <= 0.2, "phrases %.2f s apart (%d expected)" % (gap, expected))

"""The real window: its title, size, layouts chosen by clicks, and screenshots kept."""
import time

from horavox_e2e import Horavox, check, px

app = Horavox()
x, y, width, height = app.geometry()
check(width == px(10365), "the client area is 10365 twips wide (%d px)" % width)
check(height == px(1900), "Small Time: a short window of 1900 twips (%d px)" % height)
time.sleep(2)
check(app.alive(), "the program stays up")
app.screenshot("small-time")

app.choose_display_mode(1)
check(app.geometry()[3] == px(8415), "Big Time: a tall window of 8415 twips")
app.screenshot("big-time")

app.choose_display_mode(2)
check(app.geometry()[3] == px(8415), "Show Phrases: a tall window")
app.screenshot("show-phrases")

app.choose_display_mode(0)
check(app.geometry()[3] == px(1900), "Small Time again: the short window")
app.close()

app = Horavox({"QT_SCALE_FACTOR": "2"})
check(app.geometry()[2] == 2 * px(10365), "at scale factor 2 the window is twice as wide")
app.screenshot("small-time-scale-2")
app.close()

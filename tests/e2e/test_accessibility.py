"""The window as a screen reader meets it: walked on the desktop's accessibility bus (run under a
private dbus-run-session), every focusable object is named for what it is."""
import time

import pyatspi

from horavox_e2e import Horavox, check, fail

app = Horavox({"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"})
deadline = time.monotonic() + 15
while not (ours := [a for a in pyatspi.Registry.getDesktop(0)
                    if a and a.get_process_id() == app.process.pid]):
    if time.monotonic() > deadline:
        fail("the program did not appear on the accessibility bus")
    time.sleep(0.2)

named, unnamed, lists, stack = 0, [], {}, ours[:1]
while stack:
    node = stack.pop()
    stack.extend(child for child in node if child)
    if node.getRoleName() == "combo box":
        lists[node.name] = node[1].name if node.childCount > 1 else ""
    if node.getState().contains(pyatspi.STATE_FOCUSABLE):
        named += bool(node.name.strip())
        unnamed += [] if node.name.strip() else ["%s in %s" % (node.getRoleName(), node.parent.name)]
print("%d focusable objects named" % named)
check(not unnamed, "every focusable object has a name (unnamed: %s)" % ", ".join(unnamed))
check(lists == {"Display Mode": "Display Mode, text", "Timer Mode": "Timer Mode, text",
                "Voice Selector": "Voice Selector, text"},
      "the lists and their text fields are named for what they are: %s" % lists)
app.close()

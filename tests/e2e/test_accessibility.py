"""As a screen reader meets the window on the accessibility bus: every focusable object named."""
import pyatspi

from horavox_e2e import Horavox, check, fail, wait_until

app = Horavox({"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"})
nodes = wait_until(lambda: list(app.accessible()), 15, 0.2)
focusable, lists = [], {}
for node in nodes or fail("the program did not appear on the accessibility bus"):
    if node.getRoleName() == "combo box":
        lists[node.name] = node[1].name if node.childCount > 1 else ""
    if node.getState().contains(pyatspi.STATE_FOCUSABLE):
        focusable.append((node.name.strip(), "%s in %s" % (node.getRoleName(), node.parent.name)))
unnamed = [where for name, where in focusable if not name]
check(len(focusable) > 20 and not unnamed, "all %d focusable objects have a name (unnamed: %s)"
      % (len(focusable), ", ".join(unnamed)))
check(lists == {"Display Mode": "Display Mode, text", "Timer Mode": "Timer Mode, text",
                "Voice Selector": "Voice Selector, text"},
      "the lists and their text fields are named for what they are: %s" % lists)
app.close()

"""A screen reader's view of one program through AT-SPI (Debian's python3-pyatspi), run as
its own process on the test's session bus: screen_reader.py PID [NAME-TO-PRESS].
Prints, as JSON, every window of the program and what it holds: role, name, states, actions;
then presses the control called NAME-TO-PRESS, if given, through its "Press" action."""
import json, sys
import pyatspi


def node(accessible, depth=0):
    try:
        action = accessible.queryAction()
        actions = [action.getName(i) for i in range(action.nActions)]
    except NotImplementedError:
        actions = []
    return {"role": accessible.getRoleName(), "name": accessible.name,
            "states": sorted(pyatspi.stateToString(s) for s in accessible.getState().getStates()),
            "actions": actions,
            "children": [node(c, depth + 1) for c in accessible if c is not None] if depth < 4
            else []}


def find(accessible, name):
    if accessible.name == name and accessible.getRoleName() != "frame":
        return accessible
    return next((f for c in accessible if c is not None and (f := find(c, name))), None)


pid, press = int(sys.argv[1]), sys.argv[2] if len(sys.argv) > 2 else None
program = next((a for a in pyatspi.Registry.getDesktop(0) if a is not None and
                a.get_process_id() == pid), None)
print(json.dumps(None if program is None else [node(window) for window in program]))
if program is not None and press:
    action = find(program, press).queryAction()
    action.doAction(next(i for i in range(action.nActions) if action.getName(i) == "Press"))

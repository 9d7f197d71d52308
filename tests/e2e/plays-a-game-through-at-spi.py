#!/usr/bin/python3
# Plays one whole game through AT-SPI alone, as a screen reader would: "Vstoupit", "Hra > Nová
# hra", the fifteen windows read in order, a press on an occupied one that raises the score by
# one, the game-over text, "OK". Needs a desktop with a session bus of its own:
#   scripts/x-desktop openbox -- /usr/bin/python3 THIS TONOVKA
# Roles are compared by their constants: their names differ between releases of AT-SPI.
import os
import subprocess
import sys
import tempfile
import time


def fail(text):
    raise SystemExit(f"FAILED: {text}")


def wait_for(what, find, seconds=60):
    """What find gives once it gives something; the tree may change under a reader meanwhile."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            found = find()
        except Exception:
            found = None
        if found is not None:
            return found
        if game.poll() is not None:
            fail(f"the game ended with status {game.returncode} while waiting for {what}")
        time.sleep(0.1)
    fail(f"no {what} within {seconds} s")


def actions(node):
    try:
        action = node.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def press(node):
    if "Press" not in actions(node):
        fail(f"{node.getRoleName()} '{node.name}' cannot be pressed: {actions(node)}")
    node.queryAction().doAction(actions(node).index("Press"))


def find(root, role, test=lambda node: True):
    """The first shown node under root with the role that passes the test."""
    return pyatspi.findDescendant(root, lambda node: node.getRole() == role and test(node)
                                  and node.getState().contains(pyatspi.STATE_SHOWING))


def tree(node, depth=0):
    line = "  " * depth + f"{node.getRoleName()} '{node.name}'"
    line += f" ({node.description})" * bool(node.description) + f" {actions(node)}" * bool(actions(node))
    return "\n".join([line] + [tree(child, depth + 1) for child in node])


bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
import pyatspi  # noqa: E402  (it asks for the accessibility bus, which must be there first)

environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", SDL_AUDIODRIVER="dummy",
                   QT_QPA_PLATFORM="xcb")
folder = tempfile.TemporaryDirectory(prefix="tonovka-at-spi.")
game = subprocess.Popen([os.path.realpath(sys.argv[1])], cwd=folder.name, env=environment)
try:
    app = wait_for("game on the accessibility bus", lambda: next(
        a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.name == "Tonovka"))
    press(wait_for('"Vstoupit"', lambda: find(app, pyatspi.ROLE_PUSH_BUTTON, lambda n: n.name == "Vstoupit")))
    print('1. pressed "Vstoupit"', flush=True)

    main = wait_for("main window", lambda: find(app, pyatspi.ROLE_FRAME, lambda n: n.name == "Tonovka"))
    press(wait_for('"Nová hra"', lambda: pyatspi.findDescendant(
        main, lambda n: n.getRole() == pyatspi.ROLE_MENU_ITEM and n.name == "Nová hra")))
    print('2. started a game with "Hra > Nová hra"; the main window reads:\n' + tree(main), flush=True)

    house = find(main, pyatspi.ROLE_FILLER, lambda n: any(c.getRole() == pyatspi.ROLE_PUSH_BUTTON for c in n))
    windows = [child for child in house if child.getRole() == pyatspi.ROLE_PUSH_BUTTON]
    if [w.name.split(":")[0] for w in windows] != [f"Okno {n}" for n in range(1, 16)]:
        fail(f"the windows do not read as Okno 1 to Okno 15: {[w.name for w in windows]}")
    hidden = [c.name for c in house if not c.getState().contains(pyatspi.STATE_SHOWING)]
    if hidden or "chlapLBL" in tree(app) or "zenaLBL" in tree(app):
        fail(f"hidden controls are exposed: {hidden}")
    print("3. read the windows in order: " + "; ".join(w.name for w in windows), flush=True)

    score = find(main, pyatspi.ROLE_LABEL, lambda n: n.description == "Skóre")
    before = int(score.name)
    occupied = wait_for("person in a window", lambda: next(
        (w for w in windows if w.name.endswith(("muž", "žena"))), None))
    rescued = occupied.name
    press(occupied)
    wait_for(f"score of {before + 1}", lambda: score.name == str(before + 1) or None, 10)
    print(f'4. pressed "{rescued}": the score went from {before} to {score.name}', flush=True)

    ok = wait_for('game-over "OK"', lambda: find(app, pyatspi.ROLE_PUSH_BUTTON, lambda n: n.name == "OK"))
    text = find(ok.parent, pyatspi.ROLE_LABEL)
    if text is None or not text.name.startswith("Zklamal si."):
        fail(f"the game-over screen reads:\n{tree(ok.parent)}")
    print(f'5. read the game-over text: "{text.name}"', flush=True)

    press(ok)
    if game.wait(timeout=60) != 0:
        fail(f'the game ended with status {game.returncode} after "OK"')
    print('6. pressed "OK": the game ended with status 0', flush=True)
finally:
    if game.poll() is None:
        game.kill()
    bus.terminate()

#!/usr/bin/python3
"""Plays one whole game of the real program through AT-SPI alone, as a screen reader would.

Run it on a desktop of its own, inside a D-Bus session of its own:
    scripts/x-desktop openbox -- dbus-run-session -- python3 plays-a-game-through-at-spi.py TONOVKA

It starts the accessibility bus, starts the game with accessibility on, and then only reads the
accessible tree and calls its actions: "Vstoupit", "Hra > Nová hra", the fifteen windows in
order, a press on an occupied window that raises the score by one, the game-over text, "OK".
"""
import os
import subprocess
import sys
import tempfile
import time

WAIT_SECONDS = 60  # generous: a game lasts about 20 seconds


def say(text):
    print(text, flush=True)


def fail(text):
    raise SystemExit(f"FAILED: {text}")


def wait_for(what, find, seconds=WAIT_SECONDS):
    """Calls find until it gives something other than None, or fails."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            found = find()
        except Exception:  # the tree may change under a reader; read it again
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
    names = actions(node)
    if "Press" not in names:
        fail(f"{node.getRoleName()} '{node.name}' cannot be pressed: {names}")
    node.queryAction().doAction(names.index("Press"))


def shown(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def describe(node, depth=0):
    """The tree under node, one line a node: role, name, description and actions."""
    line = f"{'  ' * depth}{node.getRoleName()} '{node.name}'"
    if node.description:
        line += f" ({node.description})"
    if actions(node):
        line += f" [{', '.join(actions(node))}]"
    return "\n".join([line] + [describe(child, depth + 1) for child in node])


def find(root, role, name=None, description=None):
    """The first shown node under root with the role and, when given, the name or description."""
    def matches(node):
        return (node.getRoleName() == role and shown(node)
                and (name is None or node.name == name)
                and (description is None or node.description == description))
    return pyatspi.findDescendant(root, matches)


def the_game():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Tonovka":
            return app
    return None


if len(sys.argv) != 2:
    sys.exit(f"usage: {sys.argv[0]} TONOVKA")
program = os.path.realpath(sys.argv[1])

bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
import pyatspi  # noqa: E402  (reads the accessibility bus's address, which must exist first)

environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", SDL_AUDIODRIVER="dummy",
                   QT_QPA_PLATFORM="xcb")
environment.pop("QT_SCALE_FACTOR", None)
folder = tempfile.TemporaryDirectory(prefix="tonovka-at-spi.")
game = subprocess.Popen([program], cwd=folder.name, env=environment)
try:
    app = wait_for("game on the accessibility bus", the_game)

    enter = wait_for('"Vstoupit" button', lambda: find(app, "push button", "Vstoupit"))
    press(enter)
    say('1. pressed "Vstoupit"')

    main = wait_for("main window", lambda: find(app, "frame", "Tonovka"))
    new_game = wait_for('"Nová hra" menu item', lambda: pyatspi.findDescendant(
        main, lambda node: node.getRoleName() == "menu item" and node.name == "Nová hra"))
    press(new_game)
    say('2. started a new game with "Hra > Nová hra"')

    house = wait_for("house", lambda: pyatspi.findDescendant(
        main, lambda node: any(child.getRoleName() == "push button" for child in node)))
    say("the main window as assistive technology reads it:\n" + describe(main))
    windows = [child for child in house if child.getRoleName() == "push button"]
    numbers = [child.name.split(":")[0] for child in windows]
    if numbers != [f"Okno {n}" for n in range(1, 16)]:
        fail(f"the windows are not read as Okno 1 to Okno 15: {numbers}")
    hidden = [child.name for child in house if not shown(child)]
    if hidden:
        fail(f"hidden controls are exposed: {hidden}")
    if any(name in describe(app) for name in ("chlapLBL", "zenaLBL")):
        fail("a cursor label is exposed")
    say("3. read the fifteen windows in order: " + "; ".join(child.name for child in windows))

    score = find(main, "label", description="Skóre")
    before = int(score.name)
    occupied = wait_for("person in a window", lambda: next(
        (child for child in windows if child.name.endswith(("muž", "žena"))), None))
    rescued = occupied.name
    press(occupied)
    wait_for(f"score of {before + 1}", lambda: True if score.name == str(before + 1) else None, 10)
    say(f'4. pressed "{rescued}": the score went from {before} to {score.name}')

    ok = wait_for('game-over screen with its "OK"', lambda: find(app, "push button", "OK"))
    text = find(ok.parent, "label")
    if text is None or not text.name.startswith("Zklamal si."):
        fail(f"the game-over screen reads: {describe(ok.parent)}")
    say(f'5. read the game-over text: "{text.name}"')

    press(ok)
    status = game.wait(timeout=WAIT_SECONDS)
    if status != 0:
        fail(f'the game ended with status {status} after "OK"')
    say('6. pressed "OK": the game ended with status 0')
finally:
    if game.poll() is None:
        game.kill()
        game.wait()
    bus.terminate()
    bus.wait()

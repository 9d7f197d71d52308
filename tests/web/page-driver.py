"""Drives the game's page in headless Chromium for the play script (plays-in-the-page.sh), as a
coprocess: one command a line on stdin, one answer a line on stdout.

  start URL [DEVICE]   opens the page, its sound captured from the first sample, on one of the
                       DEVICES below (desktop by default); a URL under another host name than
                       127.0.0.1 is served from 127.0.0.1 all the same, as a host without TLS
  turn W H             the page becomes W x H CSS pixels, as a phone turned or a window resized
  window TITLE         "X Y W H" of the client area of the visible window of that title, or "none"
  frame TITLE          the same of the window with its frame
  controls TITLE       the buttons of the window's title bar that show, e.g. "close"
  top X Y              the title of the window on top at that point of the page
  viewport             "W H" of the page
  shot FILE [device]   a PNG picture of the page; with "device", at the screen's own pixels
  click X Y            a click of the mouse, or a tap on a device with touch
  key KEYS ("ctrl+n") | menu (the main window's first menu, then its first item, as clicks)
  sound_bytes          how many bytes of sound are captured: 16-bit stereo, 44100 frames a second
  sound FILE           writes them
  ended                the game's exit status once the page says the game has ended ("crashed"
                       where it crashed), else "no"
  loading              what the page says while the game is not there
  reader               turns the page's screen reader support on, as its hidden button does
  tree                 the buttons, menu items and texts of Chromium's accessibility tree, in its
                       order, "ROLE:NAME" joined by "|"
  press ROLE NAME      presses that element of the tree, as assistive technology does
  console FILE         writes what the page has said in the console so far
  kept                 what the page keeps in the browser: cookies, local and session storage,
                       IndexedDB databases and Cache Storage caches
  asked                the addresses the page asked for, one after another, answered or not
  quit
Every place is in the game's pixels: the page's, divided by the scale at which the page draws the
game, which is the screenshot's at a scale of 1.
"""
import base64
import json
import os
import sys

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

# Its modules lie beside it; the test writes nothing into the source tree.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from page_browser import WINDOWS, Page  # noqa: E402 (beside this file)
from page_reader import press, tree  # noqa: E402


def main():
    page = None
    for line in sys.stdin:
        command, _, rest = line.rstrip("\n").partition(" ")
        answer = "ok"
        if command == "start":
            url, _, device = rest.partition(" ")
            page = Page(url, device or "desktop")
        elif command == "turn":
            page.turn(*(int(v) for v in rest.split()))
        elif command in ("window", "frame"):
            answer = page.window(command, rest)
        elif command == "controls":
            # The title bar's buttons: the icon, then restore, maximise and close.
            answer = page.script(WINDOWS + """if (!named.length) return 'none';
                const buttons = [...named[0].querySelectorAll('.title-bar > .image-button')].slice(1);
                return ['restore', 'maximize', 'close'].filter((name, i) => buttons[i] &&
                  getComputedStyle(buttons[i]).display !== 'none').join(' ');""", rest)
        elif command == "top":
            x, y = (int(v) * page.scale() for v in rest.split())
            answer = page.script(WINDOWS.replace("arguments[0]", "null") + """
                let at = document.elementFromPoint(arguments[0], arguments[1]);
                while (at && at.shadowRoot) {
                  const inner = at.shadowRoot.elementFromPoint(arguments[0], arguments[1]);
                  if (!inner || inner === at) break;
                  at = inner;
                }
                const w = at && at.closest('.qt-window');
                return w ? title(w) : 'none';""", x, y)
        elif command == "viewport":
            answer = page.place([0, 0] + page.script("return [innerWidth, innerHeight];")).split(" ", 2)[2]
        elif command == "shot":
            page.shot(*rest.split())
        elif command == "click":
            page.click(*(int(v) for v in rest.split()))
        elif command == "menu":
            answer = page.menu()
        elif command == "key":
            *modifiers, key = rest.split("+")
            chain = ActionChains(page.driver)
            held = [{"ctrl": Keys.CONTROL, "alt": Keys.ALT, "shift": Keys.SHIFT}[m] for m in modifiers]
            for modifier in held:
                chain.key_down(modifier)
            chain.send_keys(key)
            for modifier in reversed(held):
                chain.key_up(modifier)
            chain.perform()
        elif command == "sound_bytes":
            answer = str(page.script("return window.tonovkaHeard ? window.tonovkaHeard.bytes() : 0;"))
        elif command == "sound":
            with open(rest, "wb") as out:
                out.write(base64.b64decode(page.script("return window.tonovkaHeard.take();")))
        elif command == "ended":
            answer = page.script("""const ended = document.getElementById('ended');
                return !ended || ended.hidden ? 'no' : ended.dataset.status;""")
        elif command == "loading":
            answer = page.script("return document.getElementById('loading').textContent;")
        elif command == "reader":
            answer = str(page.script("""const found = [];
                const walk = (root) => root.querySelectorAll('*').forEach((e) => { if (e.shadowRoot) walk(e.shadowRoot);
                  if (e.tagName === 'BUTTON' && e.textContent === 'Enable Screen Reader') found.push(e); });
                walk(document); found.forEach((e) => e.click()); return found.length;"""))
        elif command == "tree":
            answer = tree(page)
        elif command == "press":
            role, _, name = rest.partition(" ")
            answer = press(page, role, name)
        elif command == "console":
            page.console += page.driver.get_log("browser")
            with open(rest, "w") as out:
                out.writelines(f"{entry['level']} {entry['message']}\n" for entry in page.console)
        elif command == "kept":
            answer = " ".join(str(v) for v in page.driver.execute_async_script("""const done = arguments[0];
                Promise.all([indexedDB.databases(), self.caches ? caches.keys() : []]).then(([bases, kept]) =>
                  done([document.cookie.length, localStorage.length, sessionStorage.length, bases.length, kept.length]));"""))
        elif command == "asked":
            sent = (json.loads(entry["message"])["message"] for entry in page.driver.get_log("performance"))
            answer = " ".join(event["params"]["request"]["url"] for event in sent
                              if event["method"] == "Network.requestWillBeSent"
                              and not event["params"]["request"]["url"].startswith(("data:", "blob:")))
        elif command == "quit":
            break
        else:
            answer = f"unknown command {command}"
        print(answer, flush=True)
    if page:
        page.driver.quit()


if __name__ == "__main__":
    main()

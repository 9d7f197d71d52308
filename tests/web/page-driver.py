"""Drives the game's page in headless Chromium for the play script (plays-in-the-page.sh), as a
coprocess: one command a line on stdin, one answer a line on stdout.

  start URL [SCALE]    opens the page, its sound captured from the first sample, on a screen of
                       that many device pixels to a page's pixel (1 by default)
  window TITLE         "X Y W H" of the client area of the visible window of that title, or "none"
  frame TITLE          the same of the window with its frame
  controls TITLE       the buttons of the window's title bar that show, e.g. "close"
  top X Y              the title of the window on top at that point of the page
  viewport             "W H" of the page
  shot FILE            a PNG picture of the page
  click X Y | key KEYS ("ctrl+n")
  sound_bytes          how many bytes of sound are captured: 16-bit stereo, 44100 frames a second
  sound FILE           writes them
  ended                the game's exit status once the page says the game has ended ("crashed"
                       where it crashed), else "no"
  console FILE         writes what the page has said in the console so far
  kept                 what the page keeps in the browser: cookies, local and session storage
  asked                the addresses the page asked for, one after another, answered or not
  quit
Every place is in the page's pixels, which are the screenshot's at a scale of 1.
"""
import base64
import json
import sys

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.keys import Keys

# The page's Web Audio, tapped before it reaches the speakers: every node connected to the
# output is connected to a recorder too. The page is given a context at the desktop mixer's rate.
TAP = """
(() => {
  const Real = window.AudioContext;
  const chunks = [];
  let frames = 0;
  const connect = AudioNode.prototype.connect;
  window.AudioContext = class extends Real {
    constructor(options) {
      super(Object.assign({}, options, {sampleRate: 44100}));
      const recorder = this.createScriptProcessor(4096, 2, 2);
      recorder.onaudioprocess = (event) => {
        const left = event.inputBuffer.getChannelData(0), right = event.inputBuffer.getChannelData(1);
        const samples = new Int16Array(left.length * 2);
        for (let i = 0; i < left.length; ++i) {
          samples[2 * i] = Math.max(-32768, Math.min(32767, Math.round(left[i] * 32767)));
          samples[2 * i + 1] = Math.max(-32768, Math.min(32767, Math.round(right[i] * 32767)));
        }
        chunks.push(samples);
        frames += left.length;
      };
      connect.call(recorder, this.destination);
      this.tonovkaRecorder = recorder;
    }
  };
  AudioNode.prototype.connect = function (target, ...rest) {
    const result = connect.call(this, target, ...rest);
    if (target === this.context.destination && this !== this.context.tonovkaRecorder)
      connect.call(this, this.context.tonovkaRecorder);
    return result;
  };
  window.tonovkaHeard = {
    bytes: () => frames * 4,
    take: () => {
      const all = new Uint8Array(frames * 4);
      let at = 0;
      for (const chunk of chunks) { all.set(new Uint8Array(chunk.buffer), at); at += chunk.byteLength; }
      let text = '';
      for (let i = 0; i < all.length; i += 0x8000) text += String.fromCharCode.apply(null, all.subarray(i, i + 0x8000));
      return btoa(text);
    },
  };
})();
"""

# Qt puts each window in the page as an element of class qt-window, inside shadow roots.
WINDOWS = """
const found = [];
const walk = (root) => root.querySelectorAll('*').forEach((element) => {
  if (element.shadowRoot) walk(element.shadowRoot);
  if (element.classList.contains('qt-window')) found.push(element);
});
walk(document);
const title = (w) => (w.querySelector('.window-name') || {}).textContent;
const rect = (e) => { const r = e.getBoundingClientRect(); return [r.x, r.y, r.width, r.height].map(Math.round).join(' '); };
const visible = (w) => getComputedStyle(w).display !== 'none' && w.getBoundingClientRect().width > 0;
const named = found.filter((w) => visible(w) && title(w) === arguments[0]);
"""


def main():
    options = webdriver.ChromeOptions()
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                     "--disable-background-networking", "--disable-component-update", "--disable-sync",
                     "--autoplay-policy=no-user-gesture-required", "--window-size=1024,768"):
        options.add_argument(argument)
    # The browser's own log of its requests holds those that failed too, as every request of a
    # page with no network but its server's does.
    options.set_capability("goog:loggingPrefs", {"browser": "ALL", "performance": "ALL"})
    driver = None
    console = []

    def script(code, *arguments):
        return driver.execute_script(code, *arguments)

    def window(what, title):
        return script(WINDOWS + {
            "window": "return named.length ? rect(named[0].querySelector('.qt-window-contents')) : 'none';",
            "frame": "return named.length ? rect(named[0]) : 'none';",
            # The title bar's buttons: the icon, then restore, maximise and close.
            "controls": "if (!named.length) return 'none';"
                        "const buttons = [...named[0].querySelectorAll('.title-bar > .image-button')].slice(1);"
                        "return ['restore', 'maximize', 'close'].filter((name, i) => buttons[i] &&"
                        "  getComputedStyle(buttons[i]).display !== 'none').join(' ');",
        }[what], title)

    for line in sys.stdin:
        command, _, rest = line.rstrip("\n").partition(" ")
        answer = "ok"
        if command == "start":
            rest, _, scale = rest.partition(" ")
            options.add_argument(f"--force-device-scale-factor={scale or 1}")
            driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
            driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": TAP})
            driver.get(rest)
        elif command in ("window", "frame", "controls"):
            answer = window(command, rest)
        elif command == "top":
            x, y = rest.split()
            answer = script(WINDOWS.replace("arguments[0]", "null") + """
                let at = document.elementFromPoint(arguments[0], arguments[1]);
                while (at && at.shadowRoot) {
                  const inner = at.shadowRoot.elementFromPoint(arguments[0], arguments[1]);
                  if (!inner || inner === at) break;
                  at = inner;
                }
                const w = at && at.closest('.qt-window');
                return w ? title(w) : 'none';""", int(x), int(y))
        elif command == "viewport":
            answer = script("return innerWidth + ' ' + innerHeight;")
        elif command == "shot":
            driver.save_screenshot(rest)
        elif command == "click":
            x, y = (int(v) for v in rest.split())
            actions = ActionBuilder(driver)
            actions.pointer_action.move_to_location(x, y)
            actions.pointer_action.click()
            actions.perform()
        elif command == "key":
            *modifiers, key = rest.split("+")
            chain = ActionChains(driver)
            held = [{"ctrl": Keys.CONTROL, "alt": Keys.ALT, "shift": Keys.SHIFT}[m] for m in modifiers]
            for modifier in held:
                chain.key_down(modifier)
            chain.send_keys(key)
            for modifier in reversed(held):
                chain.key_up(modifier)
            chain.perform()
        elif command == "sound_bytes":
            answer = str(script("return window.tonovkaHeard ? window.tonovkaHeard.bytes() : 0;"))
        elif command == "sound":
            with open(rest, "wb") as out:
                out.write(base64.b64decode(script("return window.tonovkaHeard.take();")))
        elif command == "ended":
            answer = script("""const ended = document.getElementById('ended');
                return !ended || ended.hidden ? 'no' : ended.dataset.status;""")
        elif command == "console":
            console += driver.get_log("browser")
            with open(rest, "w") as out:
                out.writelines(f"{entry['level']} {entry['message']}\n" for entry in console)
        elif command == "kept":
            answer = script("return [document.cookie.length, localStorage.length, sessionStorage.length].join(' ');")
        elif command == "asked":
            sent = (json.loads(entry["message"])["message"] for entry in driver.get_log("performance"))
            answer = " ".join(event["params"]["request"]["url"] for event in sent
                              if event["method"] == "Network.requestWillBeSent"
                              and not event["params"]["request"]["url"].startswith(("data:", "blob:")))
        elif command == "quit":
            break
        else:
            answer = f"unknown command {command}"
        print(answer, flush=True)
    if driver:
        driver.quit()


if __name__ == "__main__":
    main()

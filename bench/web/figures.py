#!/usr/bin/python3
"""figures.py: the game's page against a bare Qt page built the same way (bench/one_window: one
window and the two 1 ms timers), in headless Chromium, round by round, one page after the other:

    bench/web/figures.py GAME_FOLDER BARE_FOLDER [ROUNDS]

GAME_FOLDER is build/web; BARE_FOLDER the web build's bench folder (build/web-program/bench),
with program.html beside one_window. For each page it prints:
- the bytes the page asked of its server, and as gzip would send them;
- the milliseconds from asking for the page to its first window drawn;
- the CPU of the browser's processes over 10 s (for the game: a game played, its tune sounding),
  once each has compiled what it runs: the game's play first runs at Ctrl+N, and the browser
  compiles its hottest code anew on a thread of its own for some seconds;
- the resident memory of the page's renderer at its highest.
Then the medians and the ratios game / bare."""
import gzip
import os
import re
import statistics
import subprocess
import sys
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.keys import Keys

HERE = os.path.dirname(os.path.abspath(__file__))
# Notes when the page's first window has something drawn: an element of the page or a pixel of
# its canvas that is not blank.
FIRST_DRAWN = """
window.tonovkaDrawn = null;
const look = () => {
  const found = [];
  const walk = (root) => root.querySelectorAll('*').forEach((e) => {
    if (e.shadowRoot) walk(e.shadowRoot);
    if (e.tagName === 'CANVAS' && e.closest('.qt-window')) found.push(e);
  });
  walk(document);
  for (const canvas of found) {
    if (!canvas.width || !canvas.height) continue;
    const pixel = canvas.getContext('2d').getImageData(canvas.width >> 1, canvas.height >> 1, 1, 1).data;
    if (pixel[3] !== 0) { window.tonovkaDrawn = performance.now(); return; }
  }
  requestAnimationFrame(look);
};
requestAnimationFrame(look);
"""


def serve(folder):
    server = subprocess.Popen([os.path.join(HERE, "../../scripts/web-play"), folder], stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, text=True)
    url = server.stdout.readline().split()[-1]
    return server, url


def browser_processes(driver):
    """The browser's processes: every process under the driver's."""
    parents = {}
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{pid}/stat") as stat:
                parents[int(pid)] = int(stat.read().rsplit(")", 1)[1].split()[1])
        except OSError:
            pass
    found, todo = [], [driver.service.process.pid]
    while todo:
        parent = todo.pop()
        children = [pid for pid, ppid in parents.items() if ppid == parent]
        found += children
        todo += children
    return found


def browser_cpu(driver):
    """The CPU seconds used so far by the browser's processes."""
    total = 0.0
    for pid in browser_processes(driver):
        try:
            with open(f"/proc/{pid}/stat") as stat:
                fields = stat.read().rsplit(")", 1)[1].split()
            total += (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")
        except OSError:
            pass
    return total


def renderer_peak_kb(driver):
    """The highest resident memory of the browser's renderers, the page's among them."""
    peak = 0
    for pid in browser_processes(driver):
        try:
            if b"--type=renderer" not in open(f"/proc/{pid}/cmdline", "rb").read():
                continue
            with open(f"/proc/{pid}/status") as status:
                for line in status:
                    if line.startswith("VmHWM:"):
                        peak = max(peak, int(line.split()[1]))
        except OSError:
            pass
    return peak


def open_page(url):
    """Headless Chromium at URL, once its first window is drawn: the driver and when it was drawn."""
    options = webdriver.ChromeOptions()
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-sync",
                     "--disable-background-networking", "--disable-component-update",
                     "--autoplay-policy=no-user-gesture-required", "--window-size=1024,768"):
        options.add_argument(argument)
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": FIRST_DRAWN})
    driver.get(url)
    deadline = time.time() + 60
    while driver.execute_script("return window.tonovkaDrawn") is None and time.time() < deadline:
        time.sleep(0.05)
    return driver, driver.execute_script("return window.tonovkaDrawn")


def one_round(folder, page, play):
    server, url = serve(folder)
    driver, drawn = open_page(url + page)
    try:
        # Each page is measured once it has compiled what it runs: the bare page from five seconds
        # after its window, the game from five seconds after Ctrl+N, when its play first runs.
        time.sleep(4)  # the game's siren, before "Vstoupit"
        if play:
            play(driver)
        time.sleep(5 if play else 1)
        before = browser_cpu(driver)
        time.sleep(10)
        cpu = (browser_cpu(driver) - before) / 10
        memory = renderer_peak_kb(driver)
    finally:
        driver.quit()
        server.terminate()
    # What the server gave, the worker's own requests among them, as its log names them.
    asked = re.findall(r'"GET /([^ ?"]*)', server.stderr.read())
    names = {a or "index.html" for a in asked}
    names = {n for n in names if os.path.isfile(os.path.join(folder, n))}  # not what the server lacked
    raw = sum(os.path.getsize(os.path.join(folder, n)) for n in names)
    packed = sum(len(gzip.compress(open(os.path.join(folder, n), "rb").read(), 9)) for n in names)
    return raw, packed, drawn, cpu, memory


def play_a_game(driver, new_game=True):
    """Vstoupit, then Ctrl+N: people appear and the tune plays; or Vstoupit alone."""
    welcome = driver.execute_script("""const found = [];
        const walk = (root) => root.querySelectorAll('*').forEach((e) => { if (e.shadowRoot) walk(e.shadowRoot);
          if (e.classList.contains('qt-window')) found.push(e); });
        walk(document);
        const r = found[0].getBoundingClientRect(); return [r.x, r.y];""")
    actions = ActionBuilder(driver)
    actions.pointer_action.move_to_location(int(welcome[0]) + 48, int(welcome[1]) + 60)
    actions.pointer_action.click()
    actions.perform()
    time.sleep(2)
    if new_game:
        ActionChains(driver).key_down(Keys.CONTROL).send_keys("n").key_up(Keys.CONTROL).perform()


def main():
    game, bare = sys.argv[1], sys.argv[2]
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 3
    figures = {"game": [], "bare": []}
    for n in range(rounds):
        figures["game"].append(one_round(game, "", play_a_game))
        figures["bare"].append(one_round(bare, "program.html?program=one_window", None))
        for name in ("game", "bare"):
            raw, packed, drawn, cpu, memory = figures[name][-1]
            print(f"round {n + 1} {name}: {raw} bytes ({packed} gzipped), first window drawn at {drawn:.0f} ms, "
                  f"CPU {100 * cpu:.1f} % of a core, renderer's memory {memory / 1024:.1f} MB", flush=True)
    labels = ("bytes served", "bytes gzipped", "first window drawn (ms)", "CPU (% of a core)", "renderer memory (MB)")
    scale = (1, 1, 1, 100, 1 / 1024)
    print("medians              game          bare   game / bare")
    for i, label in enumerate(labels):
        g = statistics.median(r[i] for r in figures["game"]) * scale[i]
        b = statistics.median(r[i] for r in figures["bare"]) * scale[i]
        print(f"{label:26} {g:12.1f} {b:12.1f} {g / b:8.2f}")


if __name__ == "__main__":
    main()

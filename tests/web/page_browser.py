"""The game's page in headless Chromium on one of the screens players open it on, for the page's
driver (page-driver.py): places in the game's pixels, clicks that are taps on a device with
touch, and shots at the game's pixels."""
import math
import os
import subprocess
import time
from urllib.parse import urlsplit

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.actions.action_builder import ActionBuilder

HERE = os.path.dirname(os.path.abspath(__file__))
# The screens players open the page on: CSS pixels, device pixels to each, touch.
DEVICES = {"desktop": (1024, 768, 1, False), "twice": (1024, 768, 2, False), "phone": (390, 844, 3, True),
           "tablet": (768, 1024, 2, True), "laptop-200": (683, 330, 2, False)}
# Qt puts each window in the page as an element of class qt-window, inside shadow roots.
WINDOWS = """
const found = [];
const walk = (root) => root.querySelectorAll('*').forEach((element) => {
  if (element.shadowRoot) walk(element.shadowRoot);
  if (element.classList.contains('qt-window')) found.push(element);
});
walk(document);
const title = (w) => (w.querySelector('.window-name') || {}).textContent;
const rect = (e) => { const r = e.getBoundingClientRect(); return [r.x, r.y, r.width, r.height]; };
const visible = (w) => getComputedStyle(w).display !== 'none' && w.getBoundingClientRect().width > 0;
const named = found.filter((w) => visible(w) && title(w) === arguments[0]);
"""
# The scale at which the page draws the game: the program sets it on the page's screen.
SCALE = """const host = document.querySelector('#screen #qt-shadow-container');
    return parseFloat(host && host.style.getPropertyValue('--tonovka-scale')) || 1;"""


class Page:
    def __init__(self, url, device):
        self.width, self.height, self.pixels, self.touch = DEVICES[device]
        options = webdriver.ChromeOptions()
        for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                         "--disable-background-networking", "--disable-component-update", "--disable-sync",
                         "--autoplay-policy=no-user-gesture-required", "--force-renderer-accessibility"):
            options.add_argument(argument)
        host = urlsplit(url).hostname
        if host != "127.0.0.1":
            options.add_argument(f"--host-resolver-rules=MAP {host} 127.0.0.1")
        # The browser's own log of its requests holds those that failed too.
        options.set_capability("goog:loggingPrefs", {"browser": "ALL", "performance": "ALL"})
        self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        self.cdp = self.driver.execute_cdp_cmd
        self.turn(self.width, self.height)
        self.cdp("Emulation.setTouchEmulationEnabled", {"enabled": self.touch, "maxTouchPoints": 5 if self.touch else 1})
        with open(os.path.join(HERE, "page-tap.js")) as tap:
            self.cdp("Page.addScriptToEvaluateOnNewDocument", {"source": tap.read()})
        self.driver.get(url)
        self.console = []

    def script(self, code, *arguments):
        return self.driver.execute_script(code, *arguments)

    def turn(self, width, height):
        self.cdp("Emulation.setDeviceMetricsOverride", {"width": width, "height": height,
                                                        "deviceScaleFactor": self.pixels, "mobile": self.touch})

    def scale(self):
        return self.script(SCALE)

    def place(self, rect):
        """A rect of the page in the game's pixels, as in a shot: a shot takes of each block of
        device pixels the one that ImageMagick's -sample takes, so that a window's first pixel in
        the shot is the first block whose sample lies inside it."""
        device = self.scale() * self.pixels
        x, y = (math.ceil((v * self.pixels + 0.5) / device - 0.5 - 1e-6) for v in rect[:2])
        return " ".join(str(v) for v in (x, y, *(round(v / self.scale()) for v in rect[2:])))

    def window(self, what, title):
        found = self.script(WINDOWS + {
            "window": "return named.length ? rect(named[0].querySelector('.qt-window-contents')) : null;",
            "frame": "return named.length ? rect(named[0]) : null;",
        }[what], title)
        return self.place(found) if found else "none"

    def click(self, x, y):
        x, y = ((v + 0.5) * self.scale() for v in (x, y))
        if self.touch:
            self.cdp("Input.dispatchTouchEvent", {"type": "touchStart", "touchPoints": [{"x": x, "y": y}]})
            self.cdp("Input.dispatchTouchEvent", {"type": "touchEnd", "touchPoints": []})
            return
        actions = ActionBuilder(self.driver)
        actions.pointer_action.move_to_location(round(x), round(y))
        actions.pointer_action.click()
        actions.perform()

    def menu(self):
        """The main window's first menu, at the left of its menu bar, then the first item of the
        menu that opens, below it."""
        x, y, _, _ = (int(v) for v in self.window("window", "Tonovka").split())
        self.click(x + 12, y + 9)
        for _ in range(60):
            opened = self.window("window", "")
            if opened != "none":
                x, y, _, _ = (int(v) for v in opened.split())
                self.click(x + 30, y + 9)
                return "ok"
            time.sleep(0.05)
        return "none"

    def shot(self, path, pixels=""):
        self.driver.save_screenshot(path)
        factor = self.scale() * self.pixels
        if pixels != "device" and factor != 1:
            width, height = (round(v / self.scale()) for v in self.script("return [innerWidth, innerHeight];"))
            subprocess.run(["convert", path, "-sample", f"{width}x{height}!", path], check=True)

#!/usr/bin/python3
"""tick-pattern.py: runs the web build's tick_pattern in headless Chromium and prints what it
prints: for each of the game's five timers, the microseconds between the page's calls.

    bench/web/tick-pattern.py URL SECONDS [--background]

URL is program.html?program=tick_pattern as a server serves it; with --background the page is
put behind another tab at once, as a player's page is when they look at another tab. A headless
browser shows every tab, so the browser runs with its windows, on the X display named by DISPLAY
(scripts/x-desktop NAME -- ...)."""
import sys
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

url, seconds = sys.argv[1], int(sys.argv[2])  # tick_pattern runs 10 s in a page
options = webdriver.ChromeOptions()
for argument in ("--no-sandbox", "--disable-gpu", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync"):
    options.add_argument(argument)
options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
# ChromeDriver turns a background tab's throttling off, which a player's browser keeps on.
options.add_experimental_option("excludeSwitches", ["disable-background-timer-throttling",
                                                    "disable-backgrounding-occluded-windows"])
driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
try:
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": """
        window.tonovkaSeen = [document.visibilityState];
        document.addEventListener('visibilitychange', () => tonovkaSeen.push(document.visibilityState));"""})
    driver.get(url)
    page = driver.current_window_handle
    if "--background" in sys.argv:
        driver.switch_to.new_window("tab")
        driver.get("about:blank")
    time.sleep(seconds + 8)
    driver.switch_to.window(page)
    state = " then ".join(driver.execute_script("return tonovkaSeen;"))
    lines = [entry["message"] for entry in driver.get_log("browser")]
finally:
    driver.quit()
print(f"# the page was {state} at the end", file=sys.stderr)
for line in lines:
    # Console lines come as 'SOURCE LINE:COLUMN "TEXT"'.
    text = line.split('"', 1)[1].rsplit('"', 1)[0] if '"' in line else line
    if text.split(" ", 1)[0] in ("chlapTIME", "zenaTIME", "LidiTIME", "lidi2TIME", "Time"):
        print(text)

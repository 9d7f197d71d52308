#!/usr/bin/python3
"""cpu-parts.py: where the CPU of the game's page goes, by the browser's processes, in the states of
a game one after another, each over 10 s in a page opened for it (figures.py's browser and page):

    bench/web/cpu-parts.py GAME_FOLDER [ROUNDS]

- welcome: the welcome screen, its siren over;
- tune: the main window before a game, its tune sounding;
- game: a game played, the tune sounding (as figures.py measures it);
- silent game: the same with the tune's file broken, so no tune plays.
For each it prints the % of a core of the page's renderer (the program, its timers and its
painting, and an audio worklet's synthesizer), the GPU process (the page's pictures put together
on the screen), the audio service (the sound mixed and played) and the rest of the browser.
"""
import os
import shutil
import statistics
import sys
import tempfile
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from figures import browser_processes, open_page, play_a_game, serve  # noqa: E402


PARTS = ("renderer", "gpu", "audio", "rest")


def part(pid):
    command = open(f"/proc/{pid}/cmdline", "rb").read()
    if b"--type=renderer" in command:
        return "renderer"
    if b"--type=gpu-process" in command:
        return "gpu"
    return "audio" if b"audio.mojom" in command else "rest"


def cpu_by_part(driver):
    seconds = dict.fromkeys(PARTS, 0.0)
    for pid in browser_processes(driver):
        try:
            with open(f"/proc/{pid}/stat") as stat:
                fields = stat.read().rsplit(")", 1)[1].split()
            seconds[part(pid)] += (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")
        except OSError:
            pass
    return seconds


def measure(folder, state):
    server, url = serve(folder)
    driver, _ = open_page(url)
    try:
        time.sleep(4)  # the siren
        if state != "welcome":
            play_a_game(driver, new_game=state != "tune")
        time.sleep(5)  # as figures.py waits, once the page has compiled what it runs
        before = cpu_by_part(driver)
        time.sleep(10)
        after = cpu_by_part(driver)
    finally:
        driver.quit()
        server.terminate()
    return {p: 100 * (after[p] - before[p]) / 10 for p in PARTS}


def main():
    folder = sys.argv[1]
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    silent = tempfile.mkdtemp()
    shutil.copytree(folder, silent, dirs_exist_ok=True)
    with open(os.path.join(silent, "rytmozan.mid"), "r+b") as tune:
        tune.truncate(100)
    states = (("welcome", folder), ("tune", folder), ("game", folder), ("silent game", silent))
    found = {name: [] for name, _ in states}
    for _ in range(rounds):
        for name, served in states:
            found[name].append(measure(served, name))
    print("% of a core, medians   " + "".join(f"{p:>10}" for p in PARTS) + "     total")
    for name, _ in states:
        medians = [statistics.median(r[p] for r in found[name]) for p in PARTS]
        print(f"{name:22}" + "".join(f"{m:10.1f}" for m in medians) + f"{sum(medians):10.1f}")
    shutil.rmtree(silent)


if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""The page's weight and how soon it shows its first estimate: the sizes of the files a browser
loads, and, over fresh loads of a link with an estimate in headless Chromium (served from
127.0.0.1), the time from the page's load event to the first paint of the effort (Element
Timing), and from the start of navigation.

    bench/web_first_estimate.py --page build-web/web [--rounds 30]
"""

import argparse
import functools
import http.server
import os
import statistics
import threading

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

FILES = ["index.html", "page.css", "page.js", "cocomo.js", "cocomo.wasm"]
LINK = "#model=intermediate&mode=embedded&CPLX=H&RELY=VH&TOOL=L&lines=32000"
TIMES = """const done = arguments[0];
new PerformanceObserver((list) => {
  const painted = list.getEntries().find((e) => e.identifier === 'first-estimate').renderTime;
  (function wait() {
    const load = performance.getEntriesByType('navigation')[0].loadEventStart;
    load > 0 ? done([painted, load]) : setTimeout(wait, 5);
  })();
}).observe({type: 'element', buffered: true});"""


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--page", required=True)
    parser.add_argument("--rounds", type=int, default=30)
    args = parser.parse_args()
    sizes = {name: os.path.getsize(os.path.join(args.page, name)) for name in FILES}
    for name, size in sizes.items():
        print("%-12s %7d bytes" % (name, size))
    print("%-12s %7d bytes (%.1f KB)" % ("together", sum(sizes.values()),
                                          sum(sizes.values()) / 1024))

    class Quiet(http.server.SimpleHTTPRequestHandler):
        extensions_map = {".wasm": "application/wasm", ".js": "text/javascript",
                          ".css": "text/css", ".html": "text/html"}

        def log_message(self, *_):
            pass

    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", 0), functools.partial(Quiet, directory=args.page))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for argument in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                     "--no-first-run", "--disable-background-networking",
                     "--disable-component-update", "--disable-sync", "--window-size=1280,900"):
        options.add_argument(argument)
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    after_load, after_start = [], []
    try:
        url = "http://127.0.0.1:%d/index.html%s" % (server.server_port, LINK)
        driver.get(url)
        for _ in range(args.rounds):
            driver.get("about:blank")
            driver.get(url)
            painted, load = driver.execute_async_script(TIMES)
            after_load.append(painted - load)
            after_start.append(painted)
    finally:
        driver.quit()
        server.shutdown()
    for what, times in (("after the load event", after_load),
                        ("after navigation start", after_start)):
        print("first estimate painted %s: median %.1f ms, min %.1f, max %.1f (%d loads)" % (
            what, statistics.median(times), min(times), max(times), len(times)))


if __name__ == "__main__":
    main()

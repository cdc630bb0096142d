#!/usr/bin/python3
# The page in headless Chromium through WebDriver, served from 127.0.0.1, against the native
# cocomo-estimate: seeded random estimates (the doubles bit for bit, the texts as the wizard
# writes them, the refused sizes' run-time errors, the address's unknown words), an estimate
# by keyboard alone and the address it leaves, no layout shift, no request once open,
# axe-core in the light and the dark scheme, a German browser's comma, and the page opened
# from a file.
#     web_test.py PAGE_DIR COCOMO_ESTIMATE AXE_MIN_JS [CASES]

import decimal
import functools
import http.server
import json
import os
import random
import subprocess
import sys
import threading
import urllib.parse

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.keys import Keys

DRIVERS = "ACAP AEXP CPLX DATA LEXP MODP PCAP RELY SCED STOR TIME TOOL TURN VEXP VIRT".split()
STEPS = "VL L N H VH EH very-low low nominal high very-high extra-high".split()
PHASES = "requirements product-design detailed-design code-and-unit-test integration-and-test " \
    "maintenance".split()
COLUMNS = "small intermediate medium large 2 8 32 128".split()
MODELS, MODES = ["basic", "intermediate", "advanced"], ["organic", "semi-detached", "embedded"]
LINK = "#model=intermediate&mode=embedded&CPLX=H&RELY=VH&TOOL=L&lines=32000"
COLLECT = """const ids = ['effort', 'tdev', 'staffing'], get = (id) => document.getElementById(id);
return {values: ids.map((id) => get(id).dataset.value ?? null), shown: ids.map((id) => get(id)
  .textContent), how: ids.map((id) => get(id + '-how').textContent), ignored: get('ignored')
  .textContent, error: [...document.querySelectorAll('#error p')].map((p) => p.textContent)};"""
# The hash set, or the same hash read again, and the page as the page's own handler left it.
SET_ADDRESS = """const [address, collect, done] = arguments;
addEventListener('hashchange', () => done(new Function(collect)()), {once: true});
location.hash === address ? dispatchEvent(new HashChangeEvent('hashchange'))
  : location.hash = address;"""


def browser(language="en-US"):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    options.add_experimental_option("prefs", {"intl.accept_languages": language})
    for flag in ("headless no-sandbox disable-gpu disable-quic no-first-run disable-sync "
                 "disable-background-networking disable-component-update").split():
        options.add_argument("--" + flag)
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def serve(page, requested):
    handler = type("Handler", (http.server.SimpleHTTPRequestHandler,), {
        "extensions_map": {".wasm": "application/wasm", ".js": "text/javascript"},
        "log_message": lambda self, *_: requested.append(self.path)})
    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", 0), functools.partial(handler, directory=page))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return "http://127.0.0.1:%d/index.html" % server.server_port


def opened(driver, url):
    driver.get("about:blank")
    driver.get(url)
    driver.execute_async_script("const done = arguments[0]; (function wait() { performance"
                                ".getEntriesByName('first-estimate').length ? done() : "
                                "setTimeout(wait, 5); })();")
    return driver.execute_script(COLLECT)


def expected(program, arguments):
    # The command's doubles and, as the wizard writes them from those, the figures and the
    # lines on how they were obtained; or none and the run-time error's three lines.
    run = subprocess.run([program, "--format", "json"] + arguments, capture_output=True, text=True)
    if run.returncode == 1:
        error, requirement = run.stderr.removeprefix("cocomo-estimate: ").splitlines()
        heading, _, description = error.partition("': ")
        return [None] * 3, {"error": [heading + "':", description, requirement],
                            "shown": [""] * 3, "how": [""] * 3}
    estimate = json.loads(run.stdout)
    values = [estimate[k] for k in ("effort_staff_months", "tdev_months", "average_staffing")]
    shown = ["%.2f" % value for value in values]
    # The factor as the wizard's locale writes it: its exact value, a tie rounded up.
    factor = decimal.Decimal(estimate["eaf"] or 0).quantize(decimal.Decimal(".01"),
                                                             "ROUND_HALF_UP")
    return values, {"error": [], "shown": shown, "how": [
        "Effort = %.1f x %s^%.2f%s = %s staff-months (the work of one person for that many "
        "months)" % (estimate["effort_coefficient"], repr(estimate["lines"] / 1000).removesuffix(
            ".0"), estimate["effort_exponent"], " x EAF %s" % factor if estimate["eaf"] else "",
            shown[0]),
        "TDEV = %.1f x Effort^%.2f = %s months (calendar time)" % (
            estimate["tdev_coefficient"], estimate["tdev_exponent"], shown[1]),
        "Average staffing = Effort / TDEV = %s people" % shown[2]]}


@functools.cache
def refused(program, word):
    return subprocess.run([program, "--model", "intermediate", "--rating", word, "--lines", "1"],
                          capture_output=True, check=False).returncode == 2


def size(rng):
    # A size text and the whole number it reads as: a number with blanks anywhere, a sign, a
    # fraction or an exponent, and after it what cannot continue it.
    value = rng.choice([rng.randint(1, 10 ** rng.randint(1, 7)), rng.randint(1, 10 ** 5), 0,
                        -rng.randint(1, 99), 2 ** 31 - 1, 2 ** 31, 10 ** 11])
    clean = rng.choice(["%d" % value, "%d.5" % value, "%d.49" % value, "%re3" % (value / 1000)])
    text = "".join(c + " " * (rng.random() < 0.1) for c in clean)
    return rng.choice(["", "+"] if value >= 0 else [""]) + text + rng.choice(
        ["", " lines", "x", ",000"]), round(float(clean))


def check(driver, program, rng):
    model, mode = rng.randint(1, 3), rng.randint(1, 3)
    rows, steps, most = {2: (DRIVERS, STEPS, 8), 3: (PHASES, COLUMNS, 6)}.get(model, ([], [], 0))
    words = [(row, rng.choice(steps)) for row in rng.sample(rows, rng.randint(0, most))]
    words += [("colour", "blue")] * (rng.random() < 0.1)
    taken = [w for w in words if w[0] in PHASES or
             w[0] in DRIVERS and not refused(program, "%s=%s" % w)]
    text, lines = size(rng)
    address = "#model=%s&mode=%s&%s&lines=%s" % (MODELS[model - 1], MODES[mode - 1], "&".join(
        "%s=%s" % w for w in words), urllib.parse.quote(text, safe=""))
    page = driver.execute_async_script(SET_ADDRESS, address, COLLECT)
    values, texts = expected(program, ["--model", MODELS[model - 1], "--mode", MODES[mode - 1],
                                       "--lines", str(lines)] + [a for w in taken for a in (
                                           "--phase" if w[0] in PHASES else "--rating",
                                           "%s=%s" % w)])
    page["values"] = [v and float(v) for v in page["values"]]
    return ["%s: %s is %r, not %r" % (address, key, page[key], value) for key, value in
            dict(texts, values=values).items() if page[key] != value] + [
        "%s: %s=%s %s" % (address, *w, "ignored" if w in taken else "not ignored")
        for w in words if ("“%s=%s”" % w in page["ignored"]) == (w in taken)]


def main(page, program, axe, cases=300):
    requested, failures, checks = [], [], []
    url = serve(page, requested)
    values, texts = expected(program, "--model intermediate --mode embedded --rating CPLX=H "
                             "--rating RELY=VH --rating TOOL=L --lines 32000".split())
    link = dict(texts, values=[repr(v) for v in values], ignored="")

    def expect(what, got, want):
        checks.append(what)
        failures.extend([] if got == want else ["%s: %r, not %r" % (what, got, want)])

    driver, german = browser(), browser("de-DE")
    try:
        expect("a link's estimate", opened(driver, url + LINK), link)
        expect("layout shifts", driver.execute_async_script(
            "const done = arguments[0]; setTimeout(() => done([]), 300); new PerformanceObserver("
            "(list) => done(list.getEntries().map((e) => e.value))).observe({type: "
            "'layout-shift', buffered: true});"), [])
        loaded, rng = list(requested), random.Random(20240101)
        for _ in range(int(cases)):
            expect("a random estimate", check(driver, program, rng), [])
        expect("requests", (sorted(loaded), requested[len(loaded):]), (
            ["/cocomo.js", "/cocomo.wasm", "/index.html", "/page.css", "/page.js"], []))
        # Tab to the model (Intermediate), the mode (Embedded), CPLX (High), RELY (Very High),
        # TOOL (Low) and the size.
        opened(driver, url)
        for key in "T D T D D T T T R T T T T T R R T T T T L T T T T 32000 E".split():
            driver.switch_to.active_element.send_keys(dict(
                T=Keys.TAB, D=Keys.DOWN, R=Keys.RIGHT, L=Keys.LEFT, E=Keys.ENTER).get(key, key))
        expect("a keyboard estimate and its address", driver.execute_script(COLLECT.replace(
            "return {", "return {address: location.hash, ")), dict(link, address=LINK))
        for scheme in ("light", "dark"):
            driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"features": [
                {"name": "prefers-color-scheme", "value": scheme}]})
            for address in (LINK, "#model=advanced&mode=embedded&maintenance=small&lines=0"):
                opened(driver, url + address)
                driver.execute_script(open(axe, encoding="utf-8").read())
                expect("axe, %s, %s" % (scheme, address), driver.execute_async_script(
                    "axe.run(document).then((r) => arguments[0](r.violations.map("
                    "(v) => v.id + ' ' + v.nodes.map((n) => n.target).join(' '))));"), [])
        expect("from a file", opened(driver, "file://%s/index.html%s" % (
            os.path.abspath(page), LINK)), link)
        expect("in German", opened(german, url + LINK), dict(link, **{k: [t.replace(
            ".", ",") for t in link[k]] for k in ("shown", "how")}))
    finally:
        driver.quit()
        german.quit()
    print("\n".join(failures))
    print("%d passed, %d failed" % (len(checks) - len(failures), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))

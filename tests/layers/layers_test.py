#!/usr/bin/python3
"""Checks that each folder includes only the layers it may, and what the build cannot check.

CMake stops a library from including a layer it does not link; this also catches headers
that no target compiles, the screens reaching one another by class, X11 outside its one file,
and files of one folder that depend on each other round in a circle.

    layers_test.py --root SOURCE_DIR
"""

import argparse
import os
import re
import sys

# What each folder may include of the tree besides itself, and whether it may use Qt.
RULES = {
    "runtime/numeric": ((), False),
    "engine": (("runtime/numeric",), False),
    "runtime/forms": (("runtime/numeric",), True),
    "screens": (("engine", "runtime/forms", "runtime/numeric"), True),
    "cli": (("engine", "runtime/numeric"), False),
    "web": (("engine", "runtime/numeric"), False),
    "app": (("engine", "runtime/forms", "runtime/numeric", "screens"), True),
}
# The one file that speaks to the X server itself, and the screens' list, the one file of
# the screens that knows them all.
X11_FILE = "runtime/forms/X11.cpp"
SCREENS_LIST = ("screens/Screens.h", "screens/Screens.cpp")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.MULTILINE)


def folder_of(path):
    return next((folder for folder in sorted(RULES, key=len, reverse=True)
                 if path.startswith(folder + "/")), None)


def sources(root):
    for folder in RULES:
        for name in sorted(os.listdir(os.path.join(root, folder))):
            if name.endswith((".cpp", ".h")):
                yield "%s/%s" % (folder, name)


def module(path):
    return os.path.splitext(path)[0]


def problems(root):
    found, depends = [], {}
    for path in sources(root):
        folder = folder_of(path)
        allowed, qt = RULES[folder]
        with open(os.path.join(root, path), encoding="utf-8") as f:
            includes = INCLUDE.findall(f.read())
        for kind, header in includes:
            if kind == "<":
                if header.startswith("xcb/") and path != X11_FILE:
                    found.append("%s: <%s> outside %s" % (path, header, X11_FILE))
                elif re.match(r"Q|Qt", header) and not qt:
                    found.append("%s: Qt (<%s>) in %s" % (path, header, folder))
                continue
            layer = folder_of(header)
            if layer is None:
                found.append('%s: "%s" is no layer it may use' % (path, header))
            elif layer != folder and layer not in allowed:
                found.append('%s: "%s": %s may not use %s' % (path, header, folder, layer))
            elif layer == folder == "screens" and module(header) != module(path) and \
                    path not in SCREENS_LIST and header not in SCREENS_LIST:
                found.append('%s: "%s": a screen reaches another only through %s' % (
                    path, header, SCREENS_LIST[0]))
            elif layer == folder and module(header) != module(path) and \
                    module(SCREENS_LIST[0]) not in (module(path), module(header)):
                # The screens' list and the screens know each other by design.
                depends.setdefault(module(path), set()).add(module(header))
    found += ["a circle: %s" % " -> ".join(circle) for circle in circles(depends)]
    return found


def circles(depends):
    """Each circle among the modules once, from the first module on it met."""
    found, done = [], set()

    def visit(node, path):
        if node in path:
            found.append(path[path.index(node):] + [node])
            return
        if node in done:
            return
        for nxt in sorted(depends.get(node, ())):
            visit(nxt, path + [node])
        done.add(node)

    for node in sorted(depends):
        visit(node, [])
    return found


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", required=True)
    found = problems(parser.parse_args().root)
    for problem in found:
        print(problem)
    print("%s" % ("%d problems" % len(found) if found else "every include allowed"))
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())

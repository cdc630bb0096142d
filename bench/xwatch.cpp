// Times what a user sees on an X server: how long from a program's start, or from a real
// click, until a window with a given caption is on top of the stack and painted.
//
// "Painted" comes from the server itself: every Expose the server sends for the window
// is recorded as area owed, and the DAMAGE extension reports each drawing into the
// window, which pays the area back. A window counts as visible once it was exposed after
// the start or the click, nothing exposed is left unpainted, and its top-level window
// (the window manager's frame) is the topmost mapped child of the root. A screen brought
// forward is exposed by the raise (or by the unmapping of the screen that covered it), so
// the same rule serves new and raised screens alike. The stacking order is kept from
// the root's SubstructureNotify events, as a compositing manager keeps it, so no step
// waits on a poll; the server is asked only about windows new to the watcher.
//
//   xwatch startup RUNS NAME=PROGRAM...          start-up time and peak memory, runs interleaved
//   xwatch screens RUNS PROGRAM LAYOUT           every screen change of the wizard's three paths
//   xwatch baseline-screens RUNS PROGRAM LAYOUT  the minimal Qt program's click to a new window
//
// LAYOUT is layout_dump's output: the watcher clicks each control at the centre of its
// rectangle there, times QT_SCALE_FACTOR, which the programs inherit from the watcher.
// Results go to standard output as tab-separated lines: scale, kind, subject, value. Peak
// memory (KiB) is read at the main menu and after each screen change has settled.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/keysym.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds WindowTimeout{10000};

double Milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Windows come and go while they are being watched; a request about one that has just
// gone is no fault.
int IgnoreErrors(Display *, XErrorEvent *) {
    return 0;
}

// A child of the root: a window manager's frame, or a window it does not manage.
struct TopLevel {
    bool mapped = false;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool Overlaps(const TopLevel &other) const {
        return x < other.x + other.width && other.x < x + width && y < other.y + other.height &&
               other.y < y + height;
    }
};

struct Client {
    std::string caption;
    Region owed = nullptr; // exposed and not yet drawn
    bool mapped = false;
    bool exposed = false; // an Expose arrived since the last mark
    Window toplevel = None;
};

class Watcher {
public:
    explicit Watcher(Display *display)
        : display_(display)
        , root_(DefaultRootWindow(display)) {
        int error = 0;
        if (!XDamageQueryExtension(display_, &damageEvent_, &error)) {
            throw std::runtime_error("the X server has no DAMAGE extension");
        }
        int major = 0;
        int minor = 0;
        if (!XTestQueryExtension(display_, &error, &error, &major, &minor)) {
            throw std::runtime_error("the X server has no XTEST extension");
        }
        netWmName_ = XInternAtom(display_, "_NET_WM_NAME", False);
        utf8_ = XInternAtom(display_, "UTF8_STRING", False);
        XSelectInput(display_, root_, SubstructureNotifyMask);
        XSync(display_, False);
        Window rootReturn = None;
        Window parent = None;
        Window *children = nullptr;
        unsigned count = 0;
        XQueryTree(display_, root_, &rootReturn, &parent, &children, &count);
        for (unsigned i = 0; i < count; ++i) {
            XWindowAttributes attributes{};
            if (XGetWindowAttributes(display_, children[i], &attributes)) {
                stack_.push_back(children[i]);
                topLevels_[children[i]] = {attributes.map_state == IsViewable, attributes.x,
                                           attributes.y,
                                           attributes.width + 2 * attributes.border_width,
                                           attributes.height + 2 * attributes.border_width};
            }
        }
        XFree(children);
    }

    // Starts a new measurement: exposures seen so far no longer count.
    void Mark() {
        for (auto &[window, client] : clients_) {
            client.exposed = false;
        }
    }

    // Handles events until the window captioned `caption` is visible; the time is that of
    // the event that made it so.
    std::optional<Clock::time_point> WaitVisible(const std::string &caption) {
        const Clock::time_point deadline = Clock::now() + WindowTimeout;
        for (;;) {
            while (XPending(display_) > 0) {
                XEvent event;
                XNextEvent(display_, &event);
                const Clock::time_point now = Clock::now();
                Handle(event);
                if (Visible(caption)) {
                    return now;
                }
            }
            const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) {
                Describe(caption);
                return std::nullopt;
            }
            pollfd fd{ConnectionNumber(display_), POLLIN, 0};
            poll(&fd, 1, static_cast<int>(left.count()));
        }
    }

    // Keeps handling events for a while, between steps, so the program is idle again.
    void Settle(milliseconds time) {
        const Clock::time_point until = Clock::now() + time;
        XFlush(display_);
        for (;;) {
            while (XPending(display_) > 0) {
                XEvent event;
                XNextEvent(display_, &event);
                Handle(event);
            }
            const auto left = std::chrono::duration_cast<milliseconds>(until - Clock::now());
            if (left.count() <= 0) {
                return;
            }
            pollfd fd{ConnectionNumber(display_), POLLIN, 0};
            poll(&fd, 1, static_cast<int>(left.count()));
        }
    }

    // The topmost mapped window with the caption.
    std::optional<Window> Find(const std::string &caption) const {
        for (auto it = stack_.rbegin(); it != stack_.rend(); ++it) {
            for (const auto &[window, client] : clients_) {
                if (client.toplevel == *it && client.mapped && client.caption == caption) {
                    return window;
                }
            }
        }
        return std::nullopt;
    }

private:
    void Handle(const XEvent &event) {
        if (event.type == damageEvent_ + XDamageNotify) {
            const auto &damage = reinterpret_cast<const XDamageNotifyEvent &>(event);
            if (auto it = clients_.find(damage.drawable); it != clients_.end()) {
                XRectangle area = damage.area;
                Region drawn = XCreateRegion();
                XUnionRectWithRegion(&area, drawn, drawn);
                XSubtractRegion(it->second.owed, drawn, it->second.owed);
                XDestroyRegion(drawn);
            }
            return;
        }
        switch (event.type) {
        case CreateNotify:
            if (const XCreateWindowEvent &c = event.xcreatewindow; c.parent == root_) {
                stack_.push_back(c.window);
                topLevels_[c.window] = {false, c.x, c.y, c.width + 2 * c.border_width,
                                        c.height + 2 * c.border_width};
                Track(c.window);
            }
            break;
        case DestroyNotify:
            if (event.xdestroywindow.event == root_) {
                Unstack(event.xdestroywindow.window);
            } else if (auto it = clients_.find(event.xdestroywindow.window); it != clients_.end()) {
                XDestroyRegion(it->second.owed);
                clients_.erase(it);
            }
            break;
        case ReparentNotify:
            if (event.xreparent.event == root_) {
                Unstack(event.xreparent.window);
                // The client's own notice is missed when the window manager reparented it
                // before this watcher's selection on it took effect.
                if (auto it = clients_.find(event.xreparent.window); it != clients_.end()) {
                    it->second.toplevel = event.xreparent.parent == root_
                                              ? event.xreparent.window
                                              : TopLevelOf(event.xreparent.parent);
                }
                if (event.xreparent.parent == root_) {
                    stack_.push_back(event.xreparent.window);
                    topLevels_[event.xreparent.window] = {false, event.xreparent.x,
                                                          event.xreparent.y, 0, 0};
                }
            } else if (auto it = clients_.find(event.xreparent.window); it != clients_.end()) {
                it->second.toplevel = TopLevelOf(event.xreparent.window);
            }
            break;
        case ConfigureNotify:
            if (const XConfigureEvent &c = event.xconfigure; c.event == root_) {
                Restack(c.window, c.above);
                TopLevel &top = topLevels_[c.window];
                top.x = c.x;
                top.y = c.y;
                top.width = c.width + 2 * c.border_width;
                top.height = c.height + 2 * c.border_width;
            }
            break;
        case CirculateNotify:
            if (event.xcirculate.event == root_) {
                const Window window = event.xcirculate.window;
                const TopLevel top = topLevels_[window];
                Unstack(window);
                topLevels_[window] = top;
                if (event.xcirculate.place == PlaceOnTop) {
                    stack_.push_back(window);
                } else {
                    stack_.insert(stack_.begin(), window);
                }
            }
            break;
        case MapNotify:
            if (event.xmap.event == root_) {
                topLevels_[event.xmap.window].mapped = true;
            } else if (auto it = clients_.find(event.xmap.window); it != clients_.end()) {
                it->second.mapped = true;
            }
            break;
        case UnmapNotify:
            if (event.xunmap.event == root_) {
                topLevels_[event.xunmap.window].mapped = false;
            } else if (auto it = clients_.find(event.xunmap.window); it != clients_.end()) {
                it->second.mapped = false;
            }
            break;
        case Expose:
            if (auto it = clients_.find(event.xexpose.window); it != clients_.end()) {
                XRectangle area{static_cast<short>(event.xexpose.x),
                                static_cast<short>(event.xexpose.y),
                                static_cast<unsigned short>(event.xexpose.width),
                                static_cast<unsigned short>(event.xexpose.height)};
                XUnionRectWithRegion(&area, it->second.owed, it->second.owed);
                it->second.exposed = true;
            }
            break;
        case PropertyNotify:
            if (auto it = clients_.find(event.xproperty.window); it != clients_.end()) {
                if (event.xproperty.atom == netWmName_ || event.xproperty.atom == XA_WM_NAME) {
                    it->second.caption = CaptionOf(event.xproperty.window);
                }
            }
            break;
        default:
            break;
        }
    }

    bool Visible(const std::string &caption) const {
        for (const auto &[window, client] : clients_) {
            if (client.caption == caption && client.mapped && client.exposed &&
                XEmptyRegion(client.owed) && OnTop(client.toplevel)) {
                return true;
            }
        }
        return false;
    }

    // Says why a window that did not come up is not counted as visible.
    void Describe(const std::string &caption) const {
        for (const auto &[window, client] : clients_) {
            if (client.caption == caption) {
                std::fprintf(stderr,
                             "xwatch: window 0x%lx \"%s\": mapped %d, exposed %d, all painted "
                             "%d, on top %d\n",
                             window, caption.c_str(), client.mapped, client.exposed,
                             XEmptyRegion(client.owed), OnTop(client.toplevel));
            }
        }
    }

    // Mapped, and no mapped window above it covers any part of it.
    bool OnTop(Window window) const {
        const auto self = topLevels_.find(window);
        if (self == topLevels_.end() || !self->second.mapped) {
            return false;
        }
        auto it = std::find(stack_.begin(), stack_.end(), window);
        if (it == stack_.end()) {
            return false;
        }
        for (++it; it != stack_.end(); ++it) {
            const auto above = topLevels_.find(*it);
            if (above != topLevels_.end() && above->second.mapped &&
                above->second.Overlaps(self->second)) {
                return false;
            }
        }
        return true;
    }

    // Follows a new child of the root. By the time its CreateNotify is read, the program
    // may have named it and the window manager may have reparented and mapped it, before
    // this selection could take effect; so the window's state is asked for once the
    // selection holds (the reply comes after it), and every later change arrives as an
    // event. Its reparenting is reported to the root as well, whose notices are never
    // missed.
    void Track(Window window) {
        XSelectInput(display_, window, StructureNotifyMask | ExposureMask | PropertyChangeMask);
        XDamageCreate(display_, window, XDamageReportRawRectangles);
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(display_, window, &attributes)) {
            return; // gone already
        }
        Client client;
        client.owed = XCreateRegion();
        client.toplevel = window;
        client.mapped = attributes.map_state != IsUnmapped;
        client.caption = CaptionOf(window);
        if (attributes.map_state == IsViewable && !client.caption.empty()) {
            // Exposed, and perhaps drawn, before the watcher could see either: have the
            // server expose it again (the contents stay), so it counts as visible once
            // the program has repainted it. (A window manager's frame has no caption and
            // is never waited for.)
            std::fprintf(stderr, "xwatch: window 0x%lx \"%s\" was shown before it was watched\n",
                         window, client.caption.c_str());
            XClearArea(display_, window, 0, 0, 0, 0, True);
        }
        clients_[window] = client;
    }

    void Unstack(Window window) {
        stack_.erase(std::remove(stack_.begin(), stack_.end(), window), stack_.end());
        topLevels_.erase(window);
    }

    void Restack(Window window, Window above) {
        const TopLevel top = topLevels_[window];
        Unstack(window);
        topLevels_[window] = top;
        if (above == None) {
            stack_.insert(stack_.begin(), window);
            return;
        }
        const auto sibling = std::find(stack_.begin(), stack_.end(), above);
        stack_.insert(sibling == stack_.end() ? sibling : sibling + 1, window);
    }

    Window TopLevelOf(Window window) const {
        for (;;) {
            Window rootReturn = None;
            Window parent = None;
            Window *children = nullptr;
            unsigned count = 0;
            if (!XQueryTree(display_, window, &rootReturn, &parent, &children, &count)) {
                return window;
            }
            XFree(children);
            if (parent == root_ || parent == None) {
                return window;
            }
            window = parent;
        }
    }

    std::string CaptionOf(Window window) const {
        Atom type = None;
        int format = 0;
        unsigned long items = 0;
        unsigned long after = 0;
        unsigned char *data = nullptr;
        if (XGetWindowProperty(display_, window, netWmName_, 0, 1024, False, utf8_, &type, &format,
                               &items, &after, &data) == Success &&
            data != nullptr) {
            std::string caption(reinterpret_cast<char *>(data), items);
            XFree(data);
            return caption;
        }
        char *name = nullptr;
        if (XFetchName(display_, window, &name) && name != nullptr) {
            std::string caption(name);
            XFree(name);
            return caption;
        }
        return {};
    }

    Display *display_;
    Window root_;
    int damageEvent_ = 0;
    Atom netWmName_ = None;
    Atom utf8_ = None;
    std::vector<Window> stack_; // the root's children, bottom to top
    std::unordered_map<Window, TopLevel> topLevels_;
    std::unordered_map<Window, Client> clients_;
};

pid_t Spawn(const std::vector<std::string> &command) {
    std::vector<char *> argv;
    for (const std::string &word : command) {
        argv.push_back(const_cast<char *>(word.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        throw std::runtime_error("cannot start " + command.front() + ": " + std::strerror(error));
    }
    return pid;
}

// The peak resident set so far, in KiB.
long PeakResidentKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

// Waits for the program to end by itself, else ends it.
void Reap(pid_t pid, milliseconds grace) {
    const Clock::time_point until = Clock::now() + grace;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (Clock::now() >= until) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return;
        }
        std::this_thread::sleep_for(milliseconds{5});
    }
}

void Stop(pid_t pid) {
    kill(pid, SIGTERM);
    Reap(pid, milliseconds{3000});
}

// The scale factor the programs run at, from the QT_SCALE_FACTOR they inherit: Qt draws
// every logical pixel as that many device pixels, so the watcher clicks by it too.
struct Scale {
    std::string name = "1";
    double factor = 1;
};

Scale ScaleOfPrograms() {
    Scale scale;
    if (const char *value = std::getenv("QT_SCALE_FACTOR"); value != nullptr && *value != '\0') {
        char *end = nullptr;
        scale.factor = std::strtod(value, &end);
        if (*end != '\0' || !(scale.factor > 0)) {
            throw std::runtime_error(std::string("QT_SCALE_FACTOR is not a scale: ") + value);
        }
        scale.name = value;
    }
    return scale;
}

// One result line: the scale the programs ran at, kind, subject, value.
void Emit(const Scale &scale, const char *kind, const std::string &subject, double value) {
    std::printf("%s\t%s\t%s\t%.3f\n", scale.name.c_str(), kind, subject.c_str(), value);
    std::fflush(stdout);
}

struct Program {
    std::string name;
    std::string path;
};

int Startup(Display *display, const Scale &scale, int runs, const std::vector<Program> &programs) {
    Watcher watcher(display);
    int failures = 0;
    for (int run = 0; run < runs; ++run) {
        // Rotating the order spreads any drift in the machine's load over all programs.
        for (std::size_t i = 0; i < programs.size(); ++i) {
            const Program &program =
                programs[(i + static_cast<std::size_t>(run)) % programs.size()];
            watcher.Mark();
            const Clock::time_point start = Clock::now();
            const pid_t pid = Spawn({program.path});
            const auto shown = watcher.WaitVisible("Main Menu");
            if (shown) {
                Emit(scale, "startup", program.name, Milliseconds(*shown - start));
                // Whatever the program does right after its first paint belongs to its
                // time at the main menu.
                watcher.Settle(milliseconds{300});
                Emit(scale, "memory", program.name, static_cast<double>(PeakResidentKiB(pid)));
            } else {
                std::fprintf(stderr, "xwatch: %s showed no main menu\n", program.name.c_str());
                ++failures;
            }
            Stop(pid);
            watcher.Settle(milliseconds{100});
        }
    }
    return failures == 0 ? 0 : 1;
}

// A control's rectangle in logical pixels on its form's client area.
struct Rect {
    int left;
    int top;
    int width;
    int height;
};

// The controls of every form, as layout_dump prints them, looked up by "form/control".
class Controls {
public:
    explicit Controls(const std::string &path) {
        std::ifstream lines(path);
        if (!lines) {
            throw std::runtime_error("cannot read the layout dump " + path);
        }
        std::string form;
        std::string control;
        Rect rect{};
        while (std::getline(lines >> std::ws, form, '\t') && std::getline(lines, control, '\t') &&
               lines >> rect.left >> rect.top >> rect.width >> rect.height) {
            rects_[form + '/' + control] = rect;
        }
        if (!lines.eof()) {
            throw std::runtime_error("the layout dump " + path +
                                     " is not form, control, rectangle");
        }
    }

    const Rect &At(const std::string &key) const {
        const auto it = rects_.find(key);
        if (it == rects_.end()) {
            throw std::runtime_error("the layout dump has no control " + key);
        }
        return it->second;
    }

private:
    std::unordered_map<std::string, Rect> rects_;
};

enum class Action { Click, Type };

struct Step {
    const char *label;   // empty: a step that is not timed
    const char *on;      // the caption of the window the control is on
    const char *control; // "form/control", as the layout dump names it
    const char *shows;   // the caption of the window expected in front afterwards
    Action action = Action::Click;
};

constexpr const char *Main = "Main Menu";
constexpr const char *Mode = "Development Mode";
constexpr const char *Kloc = "Lines of Code";
constexpr const char *Eaf = "Effort Adjustment Factor";
constexpr const char *Phase = "Phase Distribution of Effort and Schedule";

// The three paths in one run, with every Back on the way: "load" screens are built
// afresh, "raise" screens were open already and come forward.
const std::vector<Step> Scenario = {
    {"Basic Model -> Development Mode (load)", Main, "frmMain/cmdBasic", Mode},
    {"Back -> Main Menu (load)", Mode, "frmMode/cmdBack", Main},
    {"Basic Model -> Development Mode (raise)", Main, "frmMain/cmdBasic", Mode},
    {"Organic Mode -> Lines of Code (load)", Mode, "frmMode/cmdOrganic", Kloc},
    {"", Kloc, "frmKLOC/txtKLOC", Kloc, Action::Type},
    {"Back -> Development Mode (raise)", Kloc, "frmKLOC/cmdBack", Mode},
    {"Organic Mode -> Lines of Code (raise)", Mode, "frmMode/cmdOrganic", Kloc},
    {"Calculate -> Basic Effort Results (load)", Kloc, "frmKLOC/cmdCalculate",
     "Basic Effort Results"},
    {"Main Menu -> Main Menu (load)", "Basic Effort Results", "frmBasicResults/cmdMainMenu", Main},
    {"Intermediate Model -> Development Mode (raise)", Main, "frmMain/cmdIntermediate", Mode},
    {"Semidetached Mode -> Effort Adjustment Factor (load)", Mode, "frmMode/cmdSemidetached", Eaf},
    {"Back -> Development Mode (unload, raise)", Eaf, "frmEAF/cmdBack", Mode},
    {"Semidetached Mode -> Effort Adjustment Factor (load)", Mode, "frmMode/cmdSemidetached", Eaf},
    {"Continue -> Lines of Code (raise)", Eaf, "frmEAF/cmdContinue", Kloc},
    {"Back -> Effort Adjustment Factor (raise)", Kloc, "frmKLOC/cmdBack", Eaf},
    {"Continue -> Lines of Code (raise)", Eaf, "frmEAF/cmdContinue", Kloc},
    {"Calculate -> Intermediate Effort Results (load)", Kloc, "frmKLOC/cmdCalculate",
     "Intermediate Effort Results"},
    {"Main Menu -> Main Menu (load)", "Intermediate Effort Results", "frmBasicResults/cmdMainMenu",
     Main},
    {"Advanced Model -> Development Mode (raise)", Main, "frmMain/cmdAdvanced", Mode},
    {"Embedded Mode -> Phase Distribution (load)", Mode, "frmMode/cmdEmbedded", Phase},
    {"Back -> Development Mode (unload, raise)", Phase, "frmPhaseEmb/cmdBack", Mode},
    {"Embedded Mode -> Phase Distribution (load)", Mode, "frmMode/cmdEmbedded", Phase},
    {"Continue -> Lines of Code (unload, raise)", Phase, "frmPhaseEmb/cmdContinue", Kloc},
    {"Back -> Phase Distribution (load)", Kloc, "frmKLOC/cmdBack", Phase},
    {"Continue -> Lines of Code (unload, raise)", Phase, "frmPhaseEmb/cmdContinue", Kloc},
    {"Calculate -> Advanced Effort Results (load)", Kloc, "frmKLOC/cmdCalculate",
     "Advanced Effort Results"},
    {"Main Menu -> Main Menu (load)", "Advanced Effort Results", "frmBasicResults/cmdMainMenu",
     Main},
};

constexpr const char *ExitButton = "frmMain/cmdExit";
// The baseline's first button sits where the main menu's Basic Model button does.
constexpr const char *BaselineButton = "frmMain/cmdBasic";

class Pointer {
public:
    Pointer(Display *display, const Controls &controls, const Scale &scale)
        : display_(display)
        , controls_(controls)
        , scale_(scale.factor) {}

    // Moves to the centre of the control, in device pixels on the window's client area.
    bool MoveTo(Window window, const std::string &control) {
        Window child = None;
        int x = 0;
        int y = 0;
        if (!XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &x, &y,
                                   &child)) {
            return false;
        }
        const Rect &rect = controls_.At(control);
        x += Device(rect.left) + Device(rect.width) / 2;
        y += Device(rect.top) + Device(rect.height) / 2;
        XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
        XFlush(display_);
        return true;
    }

    void Click() {
        XTestFakeButtonEvent(display_, 1, True, CurrentTime);
        XTestFakeButtonEvent(display_, 1, False, CurrentTime);
        XFlush(display_);
    }

    void Type(const char *text) {
        for (const char *c = text; *c != '\0'; ++c) {
            const char key[2] = {*c, '\0'};
            const KeyCode code = XKeysymToKeycode(display_, XStringToKeysym(key));
            XTestFakeKeyEvent(display_, code, True, CurrentTime);
            XTestFakeKeyEvent(display_, code, False, CurrentTime);
        }
        XFlush(display_);
    }

private:
    int Device(int logical) const { return static_cast<int>(std::lround(logical * scale_)); }

    Display *display_;
    const Controls &controls_;
    double scale_;
};

constexpr milliseconds Hover{60};
constexpr milliseconds Idle{150};

// One timed screen change, with the pointer on the control already: from the click until
// the window captioned `shows` is visible; then the program idles and its peak memory so
// far is read. False when the screen did not come up.
bool TimeChange(Watcher &watcher, Pointer &pointer, const Scale &scale, pid_t pid,
                const std::string &label, const char *shows) {
    watcher.Mark();
    const Clock::time_point start = Clock::now();
    pointer.Click();
    const auto shown = watcher.WaitVisible(shows);
    if (!shown) {
        std::fprintf(stderr, "xwatch: \"%s\" did not show \"%s\"\n", label.c_str(), shows);
        return false;
    }
    Emit(scale, "screen", label, Milliseconds(*shown - start));
    watcher.Settle(Idle);
    Emit(scale, "screen-memory", label, static_cast<double>(PeakResidentKiB(pid)));
    return true;
}

// One pass through the scenario; false when a screen did not come up.
bool RunScenario(Watcher &watcher, Pointer &pointer, const Scale &scale, pid_t pid) {
    for (const Step &step : Scenario) {
        const std::optional<Window> window = watcher.Find(step.on);
        if (!window || !pointer.MoveTo(*window, step.control)) {
            std::fprintf(stderr, "xwatch: no window \"%s\" for \"%s\"\n", step.on, step.label);
            return false;
        }
        // The button's hover highlight is drawn before the click, outside the timing.
        watcher.Settle(Hover);
        if (step.action == Action::Type) {
            pointer.Click();
            watcher.Settle(Hover);
            pointer.Type("32000");
            watcher.Settle(Idle);
        } else if (!TimeChange(watcher, pointer, scale, pid, step.label, step.shows)) {
            return false;
        }
    }
    return true;
}

int Screens(Display *display, const Scale &scale, int runs, const std::string &path,
            const Controls &controls) {
    for (const Step &step : Scenario) {
        controls.At(step.control);
    }
    controls.At(ExitButton);
    Watcher watcher(display);
    Pointer pointer(display, controls, scale);
    int failures = 0;
    for (int run = 0; run < runs; ++run) {
        watcher.Mark();
        const pid_t pid = Spawn({path});
        bool passed = watcher.WaitVisible(Main).has_value();
        if (passed) {
            watcher.Settle(milliseconds{300});
            passed = RunScenario(watcher, pointer, scale, pid);
        }
        if (passed) {
            const std::optional<Window> main = watcher.Find(Main);
            if (main && pointer.MoveTo(*main, ExitButton)) {
                watcher.Settle(Hover);
                pointer.Click();
            }
            Reap(pid, milliseconds{3000});
        } else {
            ++failures;
            Stop(pid);
        }
        watcher.Settle(milliseconds{100});
    }
    return failures == 0 ? 0 : 1;
}

// The baseline's screen changes: its first button, pressed on each fresh window in turn,
// with its peak memory after each change as for the program.
int BaselineScreens(Display *display, const Scale &scale, int runs, const std::string &path,
                    const Controls &controls) {
    controls.At(BaselineButton);
    Watcher watcher(display);
    Pointer pointer(display, controls, scale);
    const pid_t pid = Spawn({path});
    int failures = watcher.WaitVisible(Main) ? 0 : 1;
    watcher.Settle(milliseconds{300});
    const char *on = Main;
    const std::string label = "baseline: new window (load)";
    for (int run = 0; run < runs && failures == 0; ++run) {
        const char *shows = on == Main ? Mode : Main;
        const std::optional<Window> window = watcher.Find(on);
        if (!window || !pointer.MoveTo(*window, BaselineButton)) {
            std::fprintf(stderr, "xwatch: no baseline window \"%s\"\n", on);
            ++failures;
            break;
        }
        watcher.Settle(Hover);
        if (!TimeChange(watcher, pointer, scale, pid, label, shows)) {
            ++failures;
            break;
        }
        on = shows;
    }
    Stop(pid);
    return failures == 0 ? 0 : 1;
}

int Usage() {
    std::fputs("usage: xwatch startup RUNS NAME=PROGRAM...\n"
               "       xwatch screens RUNS PROGRAM LAYOUT\n"
               "       xwatch baseline-screens RUNS PROGRAM LAYOUT\n"
               "LAYOUT is layout_dump's output; QT_SCALE_FACTOR passes on to the programs.\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char *argv[]) {
    if (argc < 4) {
        return Usage();
    }
    const std::string mode = argv[1];
    const int runs = std::atoi(argv[2]);
    Display *display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fputs("xwatch: cannot open the display\n", stderr);
        return 2;
    }
    XSetErrorHandler(IgnoreErrors);
    try {
        const Scale scale = ScaleOfPrograms();
        if (mode == "startup") {
            std::vector<Program> programs;
            for (int i = 3; i < argc; ++i) {
                const std::string argument = argv[i];
                const std::size_t equals = argument.find('=');
                if (equals == std::string::npos) {
                    return Usage();
                }
                programs.push_back({argument.substr(0, equals), argument.substr(equals + 1)});
            }
            return Startup(display, scale, runs, programs);
        }
        if (argc != 5) {
            return Usage();
        }
        const Controls controls(argv[4]);
        if (mode == "screens") {
            return Screens(display, scale, runs, argv[3], controls);
        }
        if (mode == "baseline-screens") {
            return BaselineScreens(display, scale, runs, argv[3], controls);
        }
    } catch (const std::exception &error) {
        std::fprintf(stderr, "xwatch: %s\n", error.what());
        return 1;
    }
    return Usage();
}

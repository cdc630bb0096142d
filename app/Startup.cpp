#include "app/Startup.h"

#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

namespace startup {
namespace {

struct Held {
    QtMsgType type;
    std::string file;
    int line;
    std::string function;
    std::string category;
    QString message;
};

std::mutex &Lock() {
    static std::mutex lock;
    return lock;
}

std::vector<Held> &Messages() {
    static std::vector<Held> messages;
    return messages;
}

QtMessageHandler &Previous() {
    static QtMessageHandler previous = nullptr;
    return previous;
}

std::string Copy(const char *text) {
    return text != nullptr ? std::string(text) : std::string();
}

void Hold(QtMsgType type, const QMessageLogContext &context, const QString &message) {
    const std::lock_guard<std::mutex> guard(Lock());
    if (type != QtFatalMsg) {
        Messages().push_back({type, Copy(context.file), context.line, Copy(context.function),
                              Copy(context.category), message});
        return;
    }
    std::vector<QString> warnings;
    for (const Held &held : Messages()) {
        warnings.push_back(held.message);
    }
    std::fputs(qPrintable(FailureLine(warnings) + QLatin1Char('\n')), stderr);
    std::fflush(stderr);
    // Half-built, Qt must not run its exit handlers; the failure is the user's setting, not a
    // crash, so there is no abort and no core file.
    std::_Exit(1);
}

// What to do about a failed start-up, in the order of what helps most: a platform that does
// not exist, then an X display, then a Wayland one.
enum class Advice { Session, Wayland, X, Platform };

QString WhatToDo(Advice advice) {
    switch (advice) {
    case Advice::Platform:
        return QStringLiteral("Set QT_QPA_PLATFORM to xcb or wayland, or unset it");
    case Advice::X:
        return QStringLiteral(
            "Start it inside a graphical session, or set DISPLAY to a running X server");
    case Advice::Wayland:
        return QStringLiteral("Start it inside a Wayland session, or set QT_QPA_PLATFORM=xcb "
                              "and DISPLAY to use a running X server");
    case Advice::Session:
        break;
    }
    return QStringLiteral("Start it inside a graphical session");
}

const QRegularExpression &NotLoaded() {
    static const QRegularExpression notLoaded(
        QStringLiteral("Could not load the Qt platform plugin \"([^\"]*)\""));
    return notLoaded;
}

} // namespace

void HoldQtMessages() {
    Previous() = qInstallMessageHandler(Hold);
}

void ReleaseQtMessages() {
    const std::lock_guard<std::mutex> guard(Lock());
    qInstallMessageHandler(Previous());
    // The platform that came up is the one after the last that could not be loaded: what
    // came before belongs to platforms Qt tried and gave up for it.
    std::vector<Held> &messages = Messages();
    const auto failed = std::find_if(messages.rbegin(), messages.rend(), [](const Held &held) {
        return NotLoaded().match(held.message).hasMatch();
    });
    messages.erase(messages.begin(), failed.base());
    for (const Held &held : messages) {
        const QMessageLogContext context(held.file.empty() ? nullptr : held.file.c_str(), held.line,
                                         held.function.empty() ? nullptr : held.function.c_str(),
                                         held.category.empty() ? nullptr : held.category.c_str());
        qt_message_output(held.type, context, held.message);
    }
    Messages().clear();
}

QString FailureLine(const std::vector<QString> &warnings) {
    static const QRegularExpression notFound(
        QStringLiteral("Could not find the Qt platform plugin \"([^\"]*)\""));
    const QRegularExpression &notLoaded = NotLoaded();
    Advice advice = Advice::Session;
    QStringList what;
    for (const QString &warning : warnings) {
        if (const QRegularExpressionMatch missing = notFound.match(warning); missing.hasMatch()) {
            what
                << QStringLiteral("there is no windowing platform \"%1\"").arg(missing.captured(1));
            advice = Advice::Platform;
            continue;
        }
        const QRegularExpressionMatch failed = notLoaded.match(warning);
        if (!failed.hasMatch()) {
            continue;
        }
        const QString platform = failed.captured(1);
        if (platform == QLatin1String("xcb")) {
            const QString display = qEnvironmentVariable("DISPLAY");
            what << (display.isEmpty()
                         ? QStringLiteral("no X display is set (DISPLAY is empty)")
                         : QStringLiteral("the X display \"%1\" cannot be opened").arg(display));
            advice = std::max(advice, Advice::X);
        } else if (platform.startsWith(QLatin1String("wayland"))) {
            const QString display =
                qEnvironmentVariable("WAYLAND_DISPLAY", QStringLiteral("wayland-0"));
            what << QStringLiteral("the Wayland display \"%1\" cannot be reached").arg(display);
            advice = std::max(advice, Advice::Wayland);
        } else {
            what << QStringLiteral("the windowing platform \"%1\" cannot start").arg(platform);
        }
    }
    if (what.isEmpty()) {
        what << QStringLiteral("no windowing platform could start");
    }
    what.removeDuplicates();
    return QStringLiteral("cocomo-wizard: cannot show the wizard: %1. %2.")
        .arg(what.join(QStringLiteral(", and ")), WhatToDo(advice));
}

std::optional<QString> AvoidUnreachableWayland() {
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    const QString socket = qEnvironmentVariable("WAYLAND_DISPLAY", QStringLiteral("wayland-0"));
    const bool asked = platform.startsWith(QLatin1String("wayland"));
    const bool tried =
        asked || (platform.isEmpty() && qEnvironmentVariableIsSet("WAYLAND_DISPLAY"));
    if (!tried || !qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") ||
        socket.startsWith(QLatin1Char('/'))) {
        return std::nullopt;
    }
    const bool hasX = !qEnvironmentVariableIsEmpty("DISPLAY");
    if (!asked && hasX) {
        qputenv("QT_QPA_PLATFORM", "xcb");
        return std::nullopt;
    }
    QString what = QStringLiteral("the Wayland display \"%1\" cannot be reached, since "
                                  "XDG_RUNTIME_DIR, the folder of its socket, is not set")
                       .arg(socket);
    if (!asked) {
        what += QStringLiteral(", and no X display is set (DISPLAY is empty)");
    }
    return QStringLiteral("cocomo-wizard: cannot show the wizard: %1. Start it inside a "
                          "graphical session, which sets XDG_RUNTIME_DIR, or set it to the "
                          "session's runtime folder.")
        .arg(what);
}

} // namespace startup

// Prints where every control of every form lies, in logical pixels relative to the form's
// client area, computed from the forms' own layouts the way loading places them. The X
// watcher clicks by these rectangles, so the benchmark follows the layouts as they change.
//
// One tab-separated line per control: form, control (name, or name(Index) for an element
// of a control array), left, top, width, height.
#include "runtime/forms/Layout.h"
#include "screens/Screens.h"

#include <QHash>

#include <cstdio>

namespace {

QString KeyOf(const forms::ControlSpec &c) {
    return c.index < 0 ? c.name : QStringLiteral("%1(%2)").arg(c.name).arg(c.index);
}

// False when a control names a container that does not come before it.
bool Dump(const char *form, const forms::Layout &layout) {
    QHash<QString, QRect> placed;
    for (const forms::ControlSpec &c : layout.controls) {
        QRect rect = forms::ToPixels(c.geometry);
        if (!c.container.isEmpty()) {
            const auto container = placed.constFind(c.container);
            if (container == placed.constEnd()) {
                std::fprintf(stderr, "layout_dump: %s/%s: no container %s before it\n", form,
                             qPrintable(c.name), qPrintable(c.container));
                return false;
            }
            rect.translate(container->topLeft());
        }
        const QString key = KeyOf(c);
        placed.insert(key, rect);
        std::printf("%s\t%s\t%d\t%d\t%d\t%d\n", form, qPrintable(key), rect.x(), rect.y(),
                    rect.width(), rect.height());
    }
    return true;
}

} // namespace

int main() {
    for (const Screen &screen : AllScreens) {
        if (!Dump(screen.name, screen.instance().LayoutOf())) {
            return 1;
        }
    }
    return 0;
}

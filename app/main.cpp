#include "app/IconPixels.h"
#include "app/Startup.h"
#include "runtime/forms/Fonts.h"
#include "runtime/forms/Form.h"
#include "runtime/forms/Preparation.h"
#include "screens/Screens.h"
#include "screens/frmMain.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

int main(int argc, char *argv[]) {
    const bool hasDisplay = std::getenv("DISPLAY") != nullptr ||
                            std::getenv("WAYLAND_DISPLAY") != nullptr ||
                            std::getenv("QT_QPA_PLATFORM") != nullptr;
    if (!hasDisplay) {
        std::fputs("cocomo-wizard: no desktop to show the wizard on (neither DISPLAY nor "
                   "WAYLAND_DISPLAY is set).\n",
                   stderr);
        return 1;
    }
    if (const std::optional<QString> unreachable = startup::AvoidUnreachableWayland()) {
        std::fputs(qPrintable(*unreachable + QLatin1Char('\n')), stderr);
        return 1;
    }
    // A desktop theme that draws on GTK (GNOME's) starts GTK's own accessibility bridge too,
    // which registers an empty second application on the screen reader's bus.
    if (!qEnvironmentVariableIsSet("NO_AT_BRIDGE")) {
        qputenv("NO_AT_BRIDGE", "1");
    }
    forms::PrepareFontRendering();
    startup::HoldQtMessages();
    QApplication app(argc, argv);
    startup::ReleaseQtMessages();
    QApplication::setApplicationName(QStringLiteral("COCOMO Estimation Wizard"));
    QApplication::setDesktopFileName(QStringLiteral(COCOMO_APP_ID));
    // Pixels rendered from the desktop's SVG icon when the program was built: drawing the
    // SVG, looking for it in the icon theme or decoding an image file would hold up the first
    // window.
    QIcon icon;
    for (std::size_t i = 0; i < icon::SizeCount; ++i) {
        const icon::Pixels &pixels = icon::Sizes[i];
        icon.addPixmap(
            QPixmap::fromImage(QImage(reinterpret_cast<const uchar *>(pixels.argb), pixels.size,
                                      pixels.size, QImage::Format_ARGB32_Premultiplied)));
    }
    QApplication::setWindowIcon(icon);
    // The forms decide when the program ends: at End, or once no form is left loaded.
    QApplication::setQuitOnLastWindowClosed(false);
    forms::RegisterFontSubstitutions();
    if (!forms::LayoutFacesInstalled()) {
        std::fputs("cocomo-wizard: the font Liberation Sans, which the screens are laid out for, "
                   "is not installed, so texts may show as boxes: install the Debian package "
                   "fonts-liberation.\n",
                   stderr);
    }

    forms::Dispatch(nullptr, [] { forms::Show<frmMain>(); });
    std::vector<const forms::Form *> later;
    for (const Screen &screen : AllScreens) {
        if (&screen.instance() != &forms::Get<frmMain>()) {
            later.push_back(&screen.instance());
        }
    }
    forms::PrepareAfterFirstPaint(std::move(later));
    const int status = QApplication::exec();
    forms::UnloadAll();
    return status;
}

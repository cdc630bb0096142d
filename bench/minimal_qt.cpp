// The baseline for start-up, memory and screen changes: the least Qt program that shows
// what the main menu shows, one fixed-size window with its title, four buttons and footer,
// in the same fonts. Its first button builds a fresh window of the same kind under the
// other caption ("Main Menu", "Development Mode") and deletes the old one, which is the
// least work a screen change that loads a screen can do.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace {

QFont Font(double points, bool bold) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void ShowScreen(bool mainMenu) {
    auto *window = new QWidget;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(mainMenu ? QStringLiteral("Main Menu")
                                    : QStringLiteral("Development Mode"));
    window->setFont(Font(8.25, false));
    window->setFixedSize(500, 333);

    auto *title = new QLabel(QStringLiteral("COCOMO Model"), window);
    title->setGeometry(80, 16, 337, 49);
    title->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    title->setFont(Font(24, true));

    const char *captions[] = {"Basic Model", "Intermediate Model", "Advanced Model", "Exit"};
    int top = 120;
    for (const char *caption : captions) {
        auto *button = new QPushButton(QString::fromLatin1(caption), window);
        button->setGeometry(152, top, 201, 33);
        button->setFont(Font(8.25, true));
        top += 48;
        if (top == 168) {
            QObject::connect(button, &QPushButton::clicked, window, [window, mainMenu] {
                window->hide();
                window->deleteLater();
                ShowScreen(!mainMenu);
            });
        }
    }

    auto *footer = new QLabel(QStringLiteral("COCOMO 81 cost estimation"), window);
    footer->setGeometry(104, 312, 305, 17);
    footer->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    window->show();
}

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    ShowScreen(true);
    return QApplication::exec();
}

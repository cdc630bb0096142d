#include "runtime/forms/Accessibility.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QRadioButton>
#include <QRegularExpression>

namespace forms {
namespace {

// Qt presents a button that is not checkable as a push button. Option rows make their
// disabled radio buttons uncheckable, so that not even code can choose them; to a screen
// reader they stay what the user sees, radio buttons that cannot be chosen.
class UnchoosableRadio : public QAccessibleWidget {
public:
    explicit UnchoosableRadio(QWidget *radio)
        : QAccessibleWidget(radio, QAccessible::RadioButton) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        return state;
    }
};

// A picture box holds a row of controls. Qt would present a plain QFrame as a frame, as if it
// were a window of its own, and name it after the frame around it, so that a screen reader
// says that frame's caption again at every row.
class PictureBox : public QAccessibleWidget {
public:
    explicit PictureBox(QWidget *strip)
        : QAccessibleWidget(strip, QAccessible::Grouping) {}

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? widget()->accessibleName() : QAccessibleWidget::text(t);
    }
};

// Asked before Qt's own factory, for each class of an object from the most derived up.
QAccessibleInterface *FormsAccessible(const QString &className, QObject *object) {
    if (!object->isWidgetType()) {
        return nullptr;
    }
    auto *widget = static_cast<QWidget *>(object);
    // A form's window is a plain top-level widget, which Qt would present as a filler.
    if (className == QLatin1String("QWidget") && widget->isWindow()) {
        return new QAccessibleWidget(widget, QAccessible::Window);
    }
    if (className == QLatin1String("QFrame")) {
        return new PictureBox(widget);
    }
    if (className == QLatin1String("QRadioButton") &&
        !static_cast<QRadioButton *>(widget)->isCheckable()) {
        return new UnchoosableRadio(widget);
    }
    return nullptr;
}

} // namespace

QString Spoken(const QString &caption) {
    static const QRegularExpression bracketed(QStringLiteral("\\s*\\(([^()]*)\\)"));
    return caption.simplified().replace(bracketed, QStringLiteral(", \\1"));
}

QString SpokenName(const QString &caption) {
    static const QRegularExpression abbreviated(QStringLiteral("(\\p{L})\\.(?:\\s+|$)"));
    static const QRegularExpression joined(QStringLiteral("(\\p{L})\\.(\\p{L})"));
    return Spoken(caption)
        .replace(joined, QStringLiteral("\\1 \\2"))
        .replace(abbreviated, QStringLiteral("\\1 "))
        .trimmed();
}

void LabelPictureBoxes(QWidget *window) {
    for (QLabel *label : window->findChildren<QLabel *>()) {
        QWidget *container = label->parentWidget();
        if (container != nullptr && container->metaObject() == &QFrame::staticMetaObject) {
            label->setBuddy(container);
        }
    }
}

void DescribeAfresh(QWidget *widget) {
    if (QAccessibleInterface *described = QAccessible::queryAccessibleInterface(widget)) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(described));
    }
}

void InstallAccessibleRoles() {
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(FormsAccessible);
        installed = true;
    }
}

} // namespace forms

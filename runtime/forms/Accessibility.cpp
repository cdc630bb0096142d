#include "runtime/forms/Accessibility.h"

#include <QAccessibleWidget>
#include <QRadioButton>

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
    // A picture box holds a row of controls; Qt would present a plain QFrame as a frame, as
    // if it were a window of its own.
    if (className == QLatin1String("QFrame")) {
        return new QAccessibleWidget(widget, QAccessible::Grouping);
    }
    if (className == QLatin1String("QRadioButton") &&
        !static_cast<QRadioButton *>(widget)->isCheckable()) {
        return new UnchoosableRadio(widget);
    }
    return nullptr;
}

} // namespace

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

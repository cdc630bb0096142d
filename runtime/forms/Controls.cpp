#include "runtime/forms/Controls.h"

#include "runtime/forms/Colours.h"
#include "runtime/forms/Fonts.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace forms {
namespace {

QWidget *Create(const ControlSpec &c, QWidget *parent) {
    switch (c.kind) {
    case Kind::Label: {
        auto *label = new QLabel(parent);
        label->setTextFormat(Qt::PlainText);
        label->setText(c.caption);
        label->setAlignment(AlignmentOf(c.align));
        label->setWordWrap(c.wordWrap);
        return label;
    }
    case Kind::Button: {
        auto *button = new QPushButton(c.caption, parent);
        button->setAutoDefault(false);
        return button;
    }
    case Kind::TextBox: {
        auto *box = new QLineEdit(parent);
        if (c.maxLength > 0) {
            box->setMaxLength(c.maxLength);
        }
        return box;
    }
    case Kind::Frame:
        return new QGroupBox(c.caption, parent);
    case Kind::PictureBox: {
        auto *strip = new QFrame(parent);
        strip->setFrameStyle(QFrame::Box | QFrame::Plain);
        return strip;
    }
    case Kind::OptionButton:
        return new QRadioButton(c.caption, parent);
    }
    return nullptr;
}

bool TakesFocus(Kind kind) {
    return kind == Kind::Button || kind == Kind::TextBox || kind == Kind::OptionButton;
}

} // namespace

void ApplyColours(QWidget *widget, const ControlSpec &c) {
    const bool greyed = c.kind == Kind::Label && !c.enabled;
    if (c.foreground == SystemColour::Default && c.background == SystemColour::Default && !greyed) {
        return;
    }
    QPalette palette = widget->palette();
    if (c.foreground != SystemColour::Default) {
        const QColor colour = ColourOf(c.foreground);
        palette.setColor(QPalette::Active, QPalette::WindowText, colour);
        palette.setColor(QPalette::Inactive, QPalette::WindowText, colour);
    }
    if (greyed) {
        palette.setColor(QPalette::Disabled, QPalette::WindowText, GreyedText());
    }
    if (c.background != SystemColour::Default) {
        palette.setColor(QPalette::Window, ColourOf(c.background));
        widget->setAutoFillBackground(true);
    }
    widget->setPalette(palette);
}

QHash<QString, QWidget *> BuildControls(QWidget *window, const Layout &layout) {
    window->setWindowTitle(layout.caption);
    if (!layout.accessibleDescription.isEmpty()) {
        window->setAccessibleDescription(layout.accessibleDescription);
    }
    window->setFont(ToQFont(Regular));
    window->setFixedSize(ToPixels(layout.width), ToPixels(layout.height));
    const std::vector<QFont> fonts = FittedFonts(layout, window->devicePixelRatioF());
    QHash<QString, QWidget *> controls;
    QWidget *previous = nullptr;
    for (std::size_t i = 0; i < layout.controls.size(); ++i) {
        const ControlSpec &c = layout.controls[i];
        QWidget *parent = c.container.isEmpty() ? window : controls.value(c.container);
        QWidget *widget = Create(c, parent);
        widget->setObjectName(c.name);
        if (c.index >= 0) {
            widget->setProperty("Index", c.index);
        }
        widget->setGeometry(ToPixels(c.geometry));
        // Most controls are in their container's font and enabled; setting either anyway would
        // send every control its change events.
        if (fonts[i] != parent->font()) {
            widget->setFont(fonts[i]);
        }
        if (!c.enabled) {
            widget->setEnabled(false);
        }
        ApplyColours(widget, c);
        if (!c.accessibleName.isEmpty()) {
            widget->setAccessibleName(c.accessibleName);
        }
        if (!c.accessibleDescription.isEmpty()) {
            widget->setAccessibleDescription(c.accessibleDescription);
        }
        if (!c.toolTip.isEmpty()) {
            widget->setToolTip(c.toolTip);
        }
        if (TakesFocus(c.kind)) {
            if (previous == nullptr) {
                widget->setFocus();
            } else {
                QWidget::setTabOrder(previous, widget);
            }
            previous = widget;
        }
        controls.insert(ControlKey(c.name, c.index), widget);
    }
    return controls;
}

} // namespace forms

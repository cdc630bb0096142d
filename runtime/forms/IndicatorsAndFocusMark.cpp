#include "runtime/forms/IndicatorsAndFocusMark.h"

#include "runtime/forms/Colours.h"

#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOption>

#include <algorithm>

namespace forms {
namespace {

// The circle's diameter at most: that of the desktop styles' smaller circles.
constexpr int CircleDiameter = 13;
constexpr qreal MarkWidth = 2;

class FormsStyle : public QProxyStyle {
public:
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override {
        if (element == CE_RadioButton) {
            DrawOptionButton(*option, painter);
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
        if (element == CE_PushButton) {
            DrawFocusMark(*option, painter);
        }
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        if (element == PE_PanelLineEdit) {
            DrawFocusMark(*option, painter);
        }
    }

private:
    // The highlight, as clear on the window around the control as text: in the default
    // theme, about the shade Fusion marks its focus in.
    static QColor MarkColour(const QPalette &palette) {
        return ReadableOn(palette.color(QPalette::Highlight), palette.color(QPalette::Window),
                          TextAim);
    }

    // A ring along the edge of the control that has the focus, whether the keyboard or the
    // mouse put it there.
    static void DrawFocusMark(const QStyleOption &option, QPainter *painter) {
        if ((option.state & State_HasFocus) == 0) {
            return;
        }
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(MarkColour(option.palette), MarkWidth));
        painter->setBrush(Qt::NoBrush);
        const qreal half = MarkWidth / 2;
        painter->drawRoundedRect(QRectF(option.rect).adjusted(half, half, -half, -half), 2, 2);
        painter->restore();
    }

    // The circle alone: the caption is hidden by the button's width. Drawn pixel for pixel,
    // so that its edge shows the colour it is drawn in. A disabled button's is hollow and
    // lighter; the focused one's is doubled in the focus colour, since no caption shows the
    // focus around it.
    static void DrawOptionButton(const QStyleOption &option, QPainter *painter) {
        const QPalette &palette = option.palette;
        const QColor row = palette.color(QPalette::Window);
        const int diameter =
            std::min({CircleDiameter, option.rect.width() - 1, option.rect.height() - 1});
        // Drawn without smoothing, a circle covers one pixel more than its rectangle.
        const QRect circle(option.rect.x(), option.rect.y() + (option.rect.height() - diameter) / 2,
                           diameter - 1, diameter - 1);
        painter->save();
        if ((option.state & State_Enabled) == 0) {
            painter->setPen(ReadableOn(palette.color(QPalette::Disabled, QPalette::WindowText), row,
                                       GraphicAim));
            painter->drawEllipse(circle);
        } else {
            const QColor text = palette.color(QPalette::Active, QPalette::WindowText);
            const QColor between((text.red() + row.red()) / 2, (text.green() + row.green()) / 2,
                                 (text.blue() + row.blue()) / 2);
            const bool focused = (option.state & State_HasFocus) != 0;
            painter->setPen(focused ? MarkColour(palette) : ReadableOn(between, row, TextAim));
            painter->setBrush(palette.color((option.state & State_Sunken) != 0 ? QPalette::Button
                                                                               : QPalette::Base));
            painter->drawEllipse(circle);
            if (focused) {
                painter->setBrush(Qt::NoBrush);
                painter->drawEllipse(circle.adjusted(1, 1, -1, -1));
            }
        }
        if ((option.state & State_On) != 0) {
            painter->setRenderHint(QPainter::Antialiasing);
            painter->setPen(Qt::NoPen);
            painter->setBrush(ReadableOn(palette.color(QPalette::Text),
                                         palette.color(QPalette::Base), GraphicAim));
            const qreal inset = diameter * 0.3;
            painter->drawEllipse(QRectF(circle.x(), circle.y(), diameter, diameter)
                                     .adjusted(inset, inset, -inset, -inset));
        }
        painter->restore();
    }
};

} // namespace

void InstallFormsStyle() {
    static bool installed = false;
    if (!installed) {
        // With no base style of its own, the proxy makes the one the desktop asks for.
        QApplication::setStyle(new FormsStyle);
        installed = true;
    }
}

} // namespace forms

#pragma once

#include <QRect>
#include <QString>

#include <cstdint>
#include <vector>

namespace forms {

// Positions and sizes as the layouts give them, in twips relative to the container.
struct Twips {
    int left;
    int top;
    int width;
    int height;
};

inline constexpr int TwipsPerPixel = 15;

inline int ToPixels(int twips) {
    return (twips + TwipsPerPixel / 2) / TwipsPerPixel;
}
inline QRect ToPixels(const Twips &t) {
    return {ToPixels(t.left), ToPixels(t.top), ToPixels(t.width), ToPixels(t.height)};
}

enum class Kind { Label, Button, TextBox, Frame, PictureBox, OptionButton };
enum class Align { Left, Center, Right };
// The system colours the layouts name; Default leaves the toolkit's own colour.
enum class SystemColour { Default, Highlight, HighlightText, DesktopBackground };

struct Font {
    const char *family = "MS Sans Serif";
    double points = 8.25;
    bool bold = false;
};

inline constexpr Font Regular{};
inline constexpr Font Bold{"MS Sans Serif", 8.25, true};

// One control of a form, in tab order. Containers come before what they contain.
struct ControlSpec {
    QString name{};
    Kind kind = Kind::Label;
    Twips geometry{};
    QString caption{};
    Font font = Regular;
    Align align = Align::Left;
    SystemColour foreground = SystemColour::Default;
    SystemColour background = SystemColour::Default;
    bool enabled = true;
    bool wordWrap = false;
    QString container{};      // empty: directly on the form
    std::int16_t index = -1;  // the element's Index within a control array
    QString accessibleName{}; // for controls whose caption does not say what they are
    QString accessibleDescription{};
    QString toolTip{};
    int maxLength = 0; // text boxes: 0 leaves the toolkit's limit
};

struct Layout {
    QString caption{};
    int width = 0; // client area, twips
    int height = 0;
    std::vector<ControlSpec> controls;
    QString accessibleDescription{}; // for forms whose caption does not say all they show
};

inline constexpr Font TitleFont{"MS Sans Serif", 24, true};

// The one-line notice at the foot of every screen.
inline const QString FooterNotice = QStringLiteral("COCOMO 81 cost estimation");

// The title at the top of a screen.
inline ControlSpec TitleLabel(const QString &name, Twips geometry) {
    return {.name = name,
            .kind = Kind::Label,
            .geometry = geometry,
            .caption = QStringLiteral("COCOMO Model"),
            .font = TitleFont,
            .align = Align::Center,
            .foreground = SystemColour::Highlight};
}

// The footer notice of a screen.
inline ControlSpec FooterLabel(const QString &name, Twips geometry) {
    return {.name = name,
            .kind = Kind::Label,
            .geometry = geometry,
            .caption = FooterNotice,
            .align = Align::Center,
            .foreground = SystemColour::Highlight};
}

// A push button, in the bold face of every screen's buttons.
inline ControlSpec BoldButton(const QString &name, const QString &caption, Twips geometry) {
    return {
        .name = name, .kind = Kind::Button, .geometry = geometry, .caption = caption, .font = Bold};
}

// A caption on a header strip: light text on the strip's dark background, wrapped within
// the label.
inline ControlSpec HeaderLabel(const QString &name, const QString &caption, Twips geometry,
                               Align align, const QString &strip) {
    return {.name = name,
            .kind = Kind::Label,
            .geometry = geometry,
            .caption = caption,
            .align = align,
            .foreground = SystemColour::HighlightText,
            .background = SystemColour::DesktopBackground,
            .wordWrap = true,
            .container = strip};
}

} // namespace forms

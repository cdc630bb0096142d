#include "runtime/forms/Accessibility.h"

#include "runtime/forms/ScreenText.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>

namespace forms {
namespace {

// A widget whose text a screen reader reads as one line, in one run of attributes, with no
// selection of its own. Qt reports the text of its line edits as runs that are empty, and
// Orca builds the line it speaks from the runs: it drops the last character, "3200" for
// " 32000".
class OneLineText : public QAccessibleWidget,
                    public QAccessibleTextInterface,
                    public QAccessibleEditableTextInterface {
public:
    OneLineText(QWidget *widget, QAccessible::Role role, bool editable)
        : QAccessibleWidget(widget, role)
        , editable_(editable) {}

    void *interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface *>(this);
        }
        if (t == QAccessible::EditableTextInterface && editable_) {
            return static_cast<QAccessibleEditableTextInterface *>(this);
        }
        return QAccessibleWidget::interface_cast(t);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = editable_;
        state.readOnly = !editable_ && role() == QAccessible::EditableText;
        return state;
    }

    void selection(int, int *startOffset, int *endOffset) const override {
        *startOffset = *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}

    QString text(int startOffset, int endOffset) const override {
        return Shown().mid(startOffset, endOffset - startOffset);
    }
    using QAccessibleWidget::text;
    int characterCount() const override { return static_cast<int>(Shown().size()); }

    // Where the widget draws a character, on the screen: from the text's left edge, centred
    // in height.
    QRect characterRect(int offset) const override {
        const QString shown = Shown();
        if (offset < 0 || offset >= shown.size()) {
            return {};
        }
        const QFontMetrics metrics(widget()->font());
        const int left = TextLeft() + metrics.horizontalAdvance(shown.left(offset));
        const int top = (widget()->height() - metrics.height()) / 2;
        const QRect inWidget(left, top, metrics.horizontalAdvance(shown.at(offset)),
                             metrics.height());
        return inWidget.translated(widget()->mapToGlobal(QPoint(0, 0)));
    }
    int offsetAtPoint(const QPoint &point) const override {
        const QString shown = Shown();
        for (int offset = 0; offset < shown.size(); ++offset) {
            if (characterRect(offset).contains(point)) {
                return offset;
            }
        }
        return -1;
    }
    void scrollToSubstring(int, int) override {}

    QString attributes(int, int *startOffset, int *endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

    void deleteText(int startOffset, int endOffset) override {
        replaceText(startOffset, endOffset, QString());
    }
    void insertText(int offset, const QString &text) override { replaceText(offset, offset, text); }
    void replaceText(int, int, const QString &) override {}

protected:
    virtual QString Shown() const = 0;
    virtual int TextLeft() const { return 0; }

private:
    bool editable_;
};

// A text box: Qt's line edit, but for its text reported in one run.
class TextBox : public OneLineText {
public:
    explicit TextBox(QWidget *box)
        : OneLineText(box, QAccessible::EditableText, true) {}

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? Box()->text() : OneLineText::text(t);
    }
    using OneLineText::text;

    QAccessible::State state() const override {
        QAccessible::State state = OneLineText::state();
        state.editable = !Box()->isReadOnly();
        state.readOnly = Box()->isReadOnly();
        state.selectableText = true;
        return state;
    }

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override {
        *startOffset = *endOffset = 0;
        if (selectionIndex == 0 && Box()->hasSelectedText()) {
            *startOffset = Box()->selectionStart();
            *endOffset = *startOffset + Box()->selectionLength();
        }
    }
    int selectionCount() const override { return Box()->hasSelectedText() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int) override { Box()->deselect(); }
    void setSelection(int, int startOffset, int endOffset) override {
        Box()->setSelection(startOffset, endOffset - startOffset);
    }
    int cursorPosition() const override { return Box()->cursorPosition(); }
    void setCursorPosition(int position) override { Box()->setCursorPosition(position); }
    void scrollToSubstring(int, int endIndex) override { Box()->setCursorPosition(endIndex); }
    void replaceText(int startOffset, int endOffset, const QString &text) override {
        Box()->setText(Box()->text().replace(startOffset, endOffset - startOffset, text));
    }

protected:
    QString Shown() const override { return Box()->text(); }
    // The line edit keeps two pixels between its frame and its text.
    int TextLeft() const override {
        return Box()->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, Box()) + 2 +
               Box()->textMargins().left();
    }

private:
    QLineEdit *Box() const { return static_cast<QLineEdit *>(widget()); }
};

// A figure: a label that another label names. A screen reader reads a label's name and
// nothing more, so that what the figure's description says of it would never be heard; as
// a text that cannot be changed, it is read with its caption and its description.
class Figure : public OneLineText {
public:
    explicit Figure(QWidget *figure)
        : OneLineText(figure, QAccessible::EditableText, false) {}

    static bool IsFigure(const QWidget *label) {
        const QWidget *container = label->parentWidget();
        if (container == nullptr) {
            return false;
        }
        const QList<QLabel *> siblings =
            container->findChildren<QLabel *>(Qt::FindDirectChildrenOnly);
        return std::any_of(siblings.begin(), siblings.end(),
                           [label](const QLabel *caption) { return caption->buddy() == label; });
    }

    // Qt would name a widget after the label whose buddy it is; the figure is named by what it
    // shows, and labelled by its caption.
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? Shown() : OneLineText::text(t);
    }
    using OneLineText::text;

protected:
    QString Shown() const override { return static_cast<QLabel *>(widget())->text(); }
};

// An option button. Qt presents a button that is not checkable as a push button, and option
// rows make their disabled buttons uncheckable, so that not even code can choose them; to a
// screen reader they stay what the user sees, option buttons that cannot be chosen.
// Its text is what the button stands for beside its row's label, and says so of a button
// that cannot be chosen: a screen reader's review of the screen reads a row as a line of
// texts, each followed by its button's state, and tells no disabled button from the others.
class OptionButton : public OneLineText {
public:
    explicit OptionButton(QWidget *radio)
        : OneLineText(radio, QAccessible::RadioButton, false) {}

    QAccessible::State state() const override {
        QAccessible::State state = OneLineText::state();
        state.checkable = true;
        state.checked = Radio()->isChecked();
        return state;
    }

    QStringList actionNames() const override {
        return QStringList{pressAction()} + OneLineText::actionNames();
    }
    void doAction(const QString &action) override {
        if (action != pressAction()) {
            OneLineText::doAction(action);
        } else if (Radio()->isEnabled()) {
            Radio()->click();
        }
    }

    // The text stands where the button does, so that a review reads the state after it.
    QRect characterRect(int) const override {
        return {Radio()->mapToGlobal(QPoint(0, 0)), Radio()->size()};
    }

protected:
    QString Shown() const override {
        QString shown = text(QAccessible::Name);
        for (const QLabel *label :
             Radio()->parentWidget()->findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
            const QString row = SpokenName(label->text()) + QStringLiteral(": ");
            if (shown.startsWith(row)) {
                shown.remove(0, row.size());
            }
        }
        return Radio()->isEnabled() ? shown : shown + QStringLiteral(", unavailable");
    }

private:
    QRadioButton *Radio() const { return static_cast<QRadioButton *>(widget()); }
};

// A form's window, which Qt would present as a filler. A screen reader reads a frame's name
// and description as the window comes up, and then only the control with the focus; the
// description therefore carries what the window shows besides its controls: its own
// description, if it has one, then its texts as the screen shows them.
class FormWindow : public QAccessibleWidget {
public:
    explicit FormWindow(QWidget *window)
        : QAccessibleWidget(window, QAccessible::Window) {}

    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Description) {
            return QAccessibleWidget::text(t);
        }
        const QString shown = ScreenText(widget());
        const QString own = widget()->accessibleDescription();
        if (own.isEmpty() || shown.isEmpty()) {
            return own + shown;
        }
        return own + QStringLiteral(". ") + shown;
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
    if (className == QLatin1String("QWidget") && widget->isWindow()) {
        return new FormWindow(widget);
    }
    if (className == QLatin1String("QFrame")) {
        return new PictureBox(widget);
    }
    if (className == QLatin1String("QLineEdit")) {
        return new TextBox(widget);
    }
    if (className == QLatin1String("QLabel") && Figure::IsFigure(widget)) {
        return new Figure(widget);
    }
    if (className == QLatin1String("QRadioButton")) {
        return new OptionButton(widget);
    }
    return nullptr;
}

} // namespace

void LabelPictureBoxes(QWidget *window) {
    for (QLabel *label : window->findChildren<QLabel *>()) {
        QWidget *container = label->parentWidget();
        if (container != nullptr && container->metaObject() == &QFrame::staticMetaObject) {
            label->setBuddy(container);
        }
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

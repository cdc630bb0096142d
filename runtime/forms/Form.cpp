#include "runtime/forms/Form.h"

#include "runtime/forms/Accessibility.h"
#include "runtime/forms/Look.h"
#include "runtime/forms/OptionRows.h"
#include "runtime/forms/Placement.h"
#include "runtime/forms/Style.h"
#include "runtime/forms/WindowSystem.h"
#include "runtime/numeric/RuntimeError.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpacerItem>
#include <QStyle>
#include <QTimer>

#include <algorithm>
#include <new>
#include <utility>

namespace forms {
namespace {

struct Registry {
    std::vector<Form *> loaded{}; // back to front
    bool ended = false;
    unsigned generation = 0; // tells a stale queued check from a current one
    int handlersRunning = 0;
    std::vector<QPointer<QWidget>> leaving{}; // unloaded by the running handler
    QPointer<QWidget> broughtForward{};       // the window the running handler showed last
};

Registry &State() {
    static Registry registry;
    return registry;
}

void BringToFront(Form *form) {
    auto &loaded = State().loaded;
    loaded.erase(std::remove(loaded.begin(), loaded.end(), form), loaded.end());
    loaded.push_back(form);
}

// The program also ends when no form is left open. Checked once the current handler has
// finished, since a handler may unload its own form and then show another.
void ScheduleLastWindowCheck() {
    const unsigned generation = State().generation;
    QTimer::singleShot(0, qApp, [generation] {
        if (State().generation == generation && !State().ended && State().loaded.empty()) {
            End();
        }
    });
}

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

// The run-time error box. With advice about the input that was refused, it says below the
// error what the input must be and leaves the control holding it in view.
class RuntimeErrorBox : public QMessageBox {
public:
    RuntimeErrorBox(const rt::RuntimeError &error, QWidget *parent, const InputAdvice *advice,
                    QWidget *input)
        : QMessageBox(QMessageBox::Critical, QStringLiteral("COCOMO Estimation Wizard"),
                      QString::fromStdString(error.heading() + "\n\n" + error.description()),
                      QMessageBox::Ok, parent)
        , input_(input) {
        setObjectName(QStringLiteral("RuntimeErrorBox"));
        setAttribute(Qt::WA_DeleteOnClose);
        setWindowModality(Qt::ApplicationModal);
        if (advice != nullptr) {
            setInformativeText(advice->text);
            WidenForTwoLines(advice->text);
        }
    }

protected:
    // The box has its size, and its place centred on its parent, only once it is shown.
    void showEvent(QShowEvent *event) override {
        QMessageBox::showEvent(event);
        if (input_ == nullptr || parentWidget() == nullptr) {
            return;
        }
        // Dialogs get the frame the parent has; the box has none yet that Qt knows of.
        const QWidget *parent = parentWidget()->window();
        const QMargins frame(parent->geometry().left() - parent->frameGeometry().left(),
                             parent->geometry().top() - parent->frameGeometry().top(),
                             parent->frameGeometry().right() - parent->geometry().right(),
                             parent->frameGeometry().bottom() - parent->geometry().bottom());
        const QRect input(input_->mapToGlobal(QPoint(0, 0)), input_->size());
        const QPoint origin =
            ClearOf(geometry().marginsAdded(frame), input, screen()->availableGeometry());
        // Created but not mapped, the box is moved by its client area.
        move(origin + QPoint(frame.left(), frame.top()) - (geometry().topLeft() - pos()));
    }

private:
    // Qt wraps an informative text at a narrow width: four short lines under a title cut
    // short. A box as wide as half the text, within the screen, reads in two.
    void WidenForTwoLines(const QString &text) {
        auto *grid = qobject_cast<QGridLayout *>(layout());
        if (grid == nullptr) {
            return;
        }
        const QFontMetrics metrics(font());
        const int wanted = metrics.horizontalAdvance(text) / 2 + 4 * metrics.height() +
                           style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        const int width = std::min(wanted, screen()->availableGeometry().width() * 3 / 4);
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }

    QPointer<QWidget> input_;
};

void ReportRuntimeError(Form *owner, const rt::RuntimeError &error,
                        const InputAdvice *advice = nullptr) {
    QWidget *parent = owner != nullptr && owner->IsLoaded() ? owner->Window() : nullptr;
    if (parent == nullptr && FrontForm() != nullptr) {
        parent = FrontForm()->Window();
    }
    QWidget *input = advice != nullptr && owner != nullptr && owner->IsLoaded()
                         ? owner->Control<QWidget>(advice->control)
                         : nullptr;
    (new RuntimeErrorBox(error, parent, advice, input))->show();
}

} // namespace

// The top-level window of a loaded form.
class FormWindow : public QWidget {
public:
    explicit FormWindow(Form *owner)
        : owner_(owner)
        , fit_(this) {
        setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                       Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
        setAttribute(Qt::WA_DeleteOnClose);
    }

    ScreenFit &Fit() { return fit_; }

protected:
    // A close through the window manager unloads this form alone and runs no handler.
    void closeEvent(QCloseEvent *event) override {
        if (owner_->window_ == this) {
            owner_->ClosedByWindowManager();
        }
        event->accept();
    }

    bool event(QEvent *event) override {
        if (event->type() == QEvent::WindowActivate && owner_->window_ == this) {
            BringToFront(owner_);
        }
        return QWidget::event(event);
    }

    // The screens have a fixed size: a maximized one would only be marked so, and where the
    // title bar offers maximizing anyway (Qt's own on Wayland), it is undone. A compositor that
    // maximizes the window again at once insists (a kiosk's maximizes every window): undoing
    // that would only start an endless exchange of messages, so the window then stays as the
    // compositor wants it.
    void changeEvent(QEvent *event) override {
        // The colours taken from the palette follow a new theme or colour scheme.
        if (event->type() == QEvent::PaletteChange && owner_->window_ == this) {
            for (const ControlSpec &c : owner_->LayoutOf().controls) {
                if (QWidget *control = owner_->Control(c.name, c.index); control != nullptr) {
                    ApplyColours(control, c);
                }
            }
        }
        if (event->type() == QEvent::WindowStateChange && isMaximized() && !yielded_) {
            constexpr qint64 InsistingWithinMilliseconds = 1000;
            if (undone_.isValid() && undone_.elapsed() < InsistingWithinMilliseconds) {
                yielded_ = true;
            } else {
                undone_.start();
                setWindowState(windowState() & ~Qt::WindowMaximized);
            }
        }
        QWidget::changeEvent(event);
    }

private:
    Form *owner_;
    ScreenFit fit_;
    QElapsedTimer undone_;
    bool yielded_ = false;
};

void Dispatch(Form *owner, const std::function<void()> &handler, const InputAdvice *advice) {
    if (State().ended) {
        return;
    }
    if (State().handlersRunning++ == 0) {
        State().broughtForward = nullptr;
    }
    try {
        handler();
    } catch (const rt::RuntimeError &error) {
        ReportRuntimeError(owner, error, advice);
    } catch (const std::bad_alloc &) {
        ReportRuntimeError(owner, rt::RuntimeError(rt::ErrorCode::OutOfMemory));
    } catch (const std::exception &) {
        ReportRuntimeError(owner, rt::RuntimeError(rt::ErrorCode::Internal));
    }
    if (--State().handlersRunning == 0) {
        // The windows the handler unloaded go once the screen it showed is up and has the
        // keyboard, so that the window manager never uncovers the screens beneath for a moment
        // nor hands one of them the keyboard.
        AfterKeyboardArrives(State().broughtForward,
                             [leaving = std::exchange(State().leaving, {})] {
                                 for (const QPointer<QWidget> &window : leaving) {
                                     if (window != nullptr) {
                                         window->hide();
                                         window->deleteLater();
                                     }
                                 }
                             });
    }
}

void End() {
    State().ended = true;
    for (Form *form : State().loaded) {
        form->Window()->hide();
    }
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        widget->hide();
    }
    QCoreApplication::exit(0);
}

bool Ended() {
    return State().ended;
}

std::vector<Form *> LoadedForms() {
    return State().loaded;
}

Form *FrontForm() {
    return State().loaded.empty() ? nullptr : State().loaded.back();
}

void UnloadAll() {
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMessageBox *>(widget) != nullptr) {
            delete widget;
        }
    }
    const std::vector<Form *> loaded = State().loaded;
    for (Form *form : loaded) {
        QWidget *window = form->Window();
        form->Forget();
        delete window;
    }
    State() = Registry{.generation = State().generation + 1};
}

void PrepareAfterFirstPaint(std::vector<const Form *> forms) {
    // Lives on the window it waits for, so a window closed before painting takes it along.
    class FirstPaint : public QObject {
    public:
        FirstPaint(QWidget *window, std::vector<const Form *> forms)
            : QObject(window)
            , forms_(std::move(forms)) {
            window->installEventFilter(this);
        }

    protected:
        bool eventFilter(QObject *watched, QEvent *event) override {
            if (event->type() == QEvent::Paint) {
                watched->removeEventFilter(this);
                // Queued, so it runs once this paint has reached the screen.
                QTimer::singleShot(0, qApp, [forms = std::move(forms_)] { PrepareFrom(forms, 0); });
                deleteLater();
            }
            return false;
        }

    private:
        static void PrepareFrom(const std::vector<const Form *> &forms, std::size_t next) {
            if (next >= forms.size() || State().ended) {
                return;
            }
            forms[next]->Prepare();
            QTimer::singleShot(0, qApp, [forms, next] { PrepareFrom(forms, next + 1); });
        }

        std::vector<const Form *> forms_;
    };
    if (Form *front = FrontForm(); front != nullptr) {
        new FirstPaint(front->Window(), std::move(forms));
    }
}

namespace {

int &PreparedCount() {
    static int prepared = 0;
    return prepared;
}

} // namespace

int FormsPrepared() {
    return PreparedCount();
}

void Form::Prepare() const {
    // Drawn once off screen, the controls pay for what a style, a face or a glyph costs the
    // first time it is drawn: the faces to decide and load, the style's images, the glyphs.
    // A one-pixel canvas is enough for that, and takes no memory worth the name.
    QWidget scratch;
    Build(&scratch, LayoutOf());
    QImage pixel(1, 1, QImage::Format_ARGB32_Premultiplied);
    pixel.setDevicePixelRatio(scratch.devicePixelRatioF());
    scratch.render(&pixel);
    ++PreparedCount();
}

void Form::Show() {
    if (window_ == nullptr) {
        Load();
        return;
    }
    if (window_->isMinimized()) {
        window_->showNormal();
    }
    static_cast<FormWindow *>(window_.data())->Fit().Place();
    if (!window_->isVisible()) {
        ShowInFront(window_);
    } else {
        BringForward(window_);
    }
    BringToFront(this);
    State().broughtForward = window_;
}

void Form::Unload() {
    QWidget *window = window_;
    if (window == nullptr) {
        return;
    }
    Forget();
    if (State().handlersRunning > 0) {
        State().leaving.emplace_back(window);
    } else {
        window->hide();
        window->deleteLater();
    }
    ScheduleLastWindowCheck();
}

QString Form::Caption() const {
    return window_ != nullptr ? window_->windowTitle() : QString();
}

void Form::SetCaption(const QString &caption) {
    if (window_ != nullptr) {
        window_->setWindowTitle(caption);
    }
}

void Form::Load() {
    InstallAccessibleRoles();
    InstallFormsStyle();
    window_ = new FormWindow(this);
    controls_ = Build(window_, LayoutOf());
    AttachOptionRows(window_);
    LabelPictureBoxes(window_);
    Wire();
    BringToFront(this);
    Form_Load();
}

QHash<QString, QWidget *> Form::Build(QWidget *window, const Layout &layout) {
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
        controls.insert(Key(c.name, c.index), widget);
    }
    return controls;
}

void Form::ConnectClick(QWidget *button, std::function<void()> handler,
                        std::optional<InputAdvice> advice) {
    auto *clickable = qobject_cast<QAbstractButton *>(button);
    QWidget *window = window_;
    QObject::connect(clickable, &QAbstractButton::clicked, clickable,
                     [this, window, handler = std::move(handler), advice = std::move(advice)] {
                         // A click queued for a window already unloaded runs nothing.
                         if (window_ == window) {
                             Dispatch(this, handler, advice ? &*advice : nullptr);
                         }
                     });
}

void Form::ConnectSelected(QWidget *option, std::function<void()> handler) {
    auto *button = qobject_cast<QAbstractButton *>(option);
    QWidget *window = window_;
    QObject::connect(button, &QAbstractButton::toggled, button,
                     [this, window, handler = std::move(handler)](bool checked) {
                         if (checked && window_ == window) {
                             Dispatch(this, handler);
                         }
                     });
}

void Form::ClosedByWindowManager() {
    Forget();
    ScheduleLastWindowCheck();
}

void Form::Forget() {
    window_ = nullptr;
    controls_.clear();
    DiscardWorkingValues();
    auto &loaded = State().loaded;
    loaded.erase(std::remove(loaded.begin(), loaded.end(), this), loaded.end());
}

} // namespace forms

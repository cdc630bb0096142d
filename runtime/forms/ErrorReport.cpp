#include "runtime/forms/ErrorReport.h"

#include "runtime/forms/Placement.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QSpacerItem>
#include <QStyle>

#include <algorithm>

namespace forms {
namespace {

// The run-time error box. With advice about the input that was refused, it says below the
// error what the input must be and leaves the control holding it in view.
class RuntimeErrorBox : public QMessageBox {
public:
    RuntimeErrorBox(const rt::RuntimeError &error, QWidget *parent, const QString &advice,
                    QWidget *input)
        : QMessageBox(QMessageBox::Critical, QStringLiteral("COCOMO Estimation Wizard"),
                      QString::fromStdString(error.heading() + "\n\n" + error.description()),
                      QMessageBox::Ok, parent)
        , input_(input) {
        setObjectName(QStringLiteral("RuntimeErrorBox"));
        setAttribute(Qt::WA_DeleteOnClose);
        setWindowModality(Qt::ApplicationModal);
        if (!advice.isEmpty()) {
            setInformativeText(advice);
            WidenForTwoLines(advice);
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

} // namespace

void ReportRuntimeError(const rt::RuntimeError &error, QWidget *parent, const QString &advice,
                        QWidget *input) {
    (new RuntimeErrorBox(error, parent, advice, input))->show();
}

} // namespace forms

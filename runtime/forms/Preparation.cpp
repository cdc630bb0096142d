#include "runtime/forms/Preparation.h"

#include "runtime/forms/Form.h"
#include "runtime/forms/Registry.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace forms {
namespace {

int &PreparedCount() {
    static int prepared = 0;
    return prepared;
}

} // namespace

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
            if (next >= forms.size() || Ended()) {
                return;
            }
            forms[next]->Prepare();
            ++PreparedCount();
            QTimer::singleShot(0, qApp, [forms, next] { PrepareFrom(forms, next + 1); });
        }

        std::vector<const Form *> forms_;
    };
    if (Form *front = FrontForm(); front != nullptr) {
        new FirstPaint(front->Window(), std::move(forms));
    }
}

int FormsPrepared() {
    return PreparedCount();
}

} // namespace forms

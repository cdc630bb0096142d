#include "tests/screens/ScreenTest.h"

#include "screens/Screens.h"
#include "screens/frmMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLocale>
#include <QTest>

using forms::Get;

forms::Form &FormNamed(const std::string &name) {
    for (const Screen &screen : AllScreens) {
        if (screen.name == name) {
            return screen.instance();
        }
    }
    ADD_FAILURE() << "no form " << name;
    return Get<frmMain>();
}

std::string NameOf(const forms::Form *form) {
    for (const Screen &screen : AllScreens) {
        if (&screen.instance() == form) {
            return screen.name;
        }
    }
    return form == nullptr ? "nothing" : "an unknown form";
}

void RequireOpen(const forms::Form &form, CallSite where) {
    if (form.IsLoaded()) {
        return;
    }
    std::string open;
    for (const forms::Form *loaded : forms::LoadedForms()) {
        open += (open.empty() ? "" : ", ") + NameOf(loaded);
    }
    const std::string message =
        NameOf(&form) + " is not open; open: " + (open.empty() ? "none" : open);
    ADD_FAILURE_AT(where.file, where.line) << message;
    throw ScreenNotOpen(message);
}

void ScreenTest::SetUp() {
    BeforeStart();
    QLocale::setDefault(QLocale::c());
}

void ScreenTest::BeforeStart() {
    forms::UnloadAll();
    Module1::Model = 0;
    Module1::Mode = 0;
    Module1::Effort = 0.0;
    Module1::TDEV = 0.0;
    Module1::AvgStaffing = 0.0;
    Module1::EAF = 0.0;
}

void ScreenTest::TearDown() {
    forms::UnloadAll();
    Settle();
}

void ScreenTest::Start() {
    forms::Dispatch(nullptr, [] { forms::Show<frmMain>(); });
    Settle();
}

void ScreenTest::Click(forms::Form &form, const QString &name, std::int16_t index, CallSite where) {
    RequireOpen(form, where);
    QWidget *control = form.Control<QWidget>(name, index);
    ASSERT_NE(control, nullptr) << name.toStdString() << '(' << index << ')';
    QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier, control->rect().center());
    Settle();
}

void ScreenTest::Type(forms::Form &form, const QString &name, const QString &text, CallSite where) {
    RequireOpen(form, where);
    QWidget *control = form.Control<QWidget>(name);
    ASSERT_NE(control, nullptr) << name.toStdString();
    QTest::keyClicks(control, text);
    Settle();
}

void ScreenTest::PressEnter(forms::Form &form, const QString &name, CallSite where) {
    RequireOpen(form, where);
    QWidget *control = form.Control<QWidget>(name);
    ASSERT_NE(control, nullptr) << name.toStdString();
    QTest::keyClick(control, Qt::Key_Return);
    Settle();
}

void ScreenTest::CloseByWindowManager(forms::Form &form, CallSite where) {
    RequireOpen(form, where);
    // The window manager's close arrives as a close event from outside the program.
    form.Window()->close();
    Settle();
}

void ScreenTest::Settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

QMessageBox *ScreenTest::ErrorBox() {
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *box = qobject_cast<QMessageBox *>(widget);
        if (box != nullptr && box->isVisible()) {
            return box;
        }
    }
    return nullptr;
}

void ScreenTest::DismissError() {
    QMessageBox *box = ErrorBox();
    ASSERT_NE(box, nullptr);
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    Settle();
}

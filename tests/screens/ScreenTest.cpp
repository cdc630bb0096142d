#include "tests/screens/ScreenTest.h"

#include "runtime/forms/Look.h"
#include "screens/frmMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLocale>
#include <QTest>

void ScreenTest::SetUp() {
    forms::UnloadAll();
    Module1::Model = 0;
    Module1::Mode = 0;
    Module1::Effort = 0.0;
    Module1::TDEV = 0.0;
    Module1::AvgStaffing = 0.0;
    Module1::EAF = 0.0;
    QLocale::setDefault(QLocale::c());
}

void ScreenTest::TearDown() {
    forms::UnloadAll();
    Settle();
}

void ScreenTest::Start() {
    forms::Dispatch(nullptr, [] { forms::Show<frmMain>(); });
    Settle();
}

void ScreenTest::Click(forms::Form &form, const QString &name, std::int16_t index) {
    QWidget *control = form.Control<QWidget>(name, index);
    ASSERT_NE(control, nullptr) << name.toStdString() << '(' << index << ')';
    QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier, control->rect().center());
    Settle();
}

void ScreenTest::Type(forms::Form &form, const QString &name, const QString &text) {
    QWidget *control = form.Control<QWidget>(name);
    ASSERT_NE(control, nullptr) << name.toStdString();
    QTest::keyClicks(control, text);
    Settle();
}

void ScreenTest::PressEnter(forms::Form &form, const QString &name) {
    QWidget *control = form.Control<QWidget>(name);
    ASSERT_NE(control, nullptr) << name.toStdString();
    QTest::keyClick(control, Qt::Key_Return);
    Settle();
}

void ScreenTest::CloseByWindowManager(forms::Form &form) {
    ASSERT_TRUE(form.IsLoaded());
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

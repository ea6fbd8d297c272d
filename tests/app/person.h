// What a person does, for the window tests: answer a dialog that has just appeared, and type
// Chinese through an input method.
#pragma once

#include <QApplication>
#include <QInputMethodEvent>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

// The action runs on the next modal dialog once its own event loop has shown it.
inline void OnNextModal(std::function<void(QWidget*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, action = std::move(action)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        action(modal);
    });
    timer->start();
}

// Text committed by an input method, as Chinese is typed.
inline void TypeThroughInputMethod(QWidget* widget, const QString& text) {
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(widget, &commit);
}

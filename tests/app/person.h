// What a person does, for the window tests: answer the dialogs that appear, and type Chinese
// through an input method.
#pragma once

#include <QApplication>
#include <QInputMethodEvent>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <utility>
#include <vector>

// Answers the modal dialogs that appear, one action each and in order, once a dialog's own
// event loop has shown it. A dialog beyond the script is noted as unexpected and closed, so
// that a test never hangs on it.
class ModalScript {
  public:
    using Action = std::function<void(QWidget*)>;

    explicit ModalScript(std::vector<Action> actions) : actions_(std::move(actions)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start(5);
    }

    // The titles of the dialogs that no action was left for.
    const QStringList& Unexpected() const { return unexpected_; }
    bool AllAnswered() const { return next_ == actions_.size(); }

  private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible() || modal == answered_) return;
        answered_ = modal;
        if (next_ < actions_.size()) {
            actions_[next_++](modal);
        } else {
            unexpected_ << modal->windowTitle();
            modal->close();
        }
    }

    std::vector<Action> actions_;
    std::size_t next_ = 0;
    QPointer<QWidget> answered_;
    QStringList unexpected_;
    QTimer timer_;
};

// Text committed by an input method, as Chinese is typed.
inline void TypeThroughInputMethod(QWidget* widget, const QString& text) {
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(widget, &commit);
}

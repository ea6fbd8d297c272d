#include "app/dialogs.h"

#include <QDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "app/kai_font.h"
#include "app/text_codec.h"

namespace app {

void ShowMessage(const gcode::Text& message) {
    QMessageBox box;  // no owner: modal for the whole application
    box.setFont(KaiFont());
    box.setWindowTitle(QStringLiteral("信息："));
    box.setTextFormat(Qt::PlainText);
    box.setText(ToQString(message));
    box.setIcon(QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

namespace {

// One line edit over two buttons; the caption is the only other text.
class TextInputDialog : public QDialog {
  public:
    TextInputDialog(const QString& caption, const QString& initial)
        : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowCloseButtonHint) {
        setObjectName(QStringLiteral("TextInputDialog"));
        setFont(KaiFont());
        setWindowTitle(caption);
        setWindowModality(Qt::ApplicationModal);

        edit_ = new QLineEdit(initial, this);
        edit_->setObjectName(QStringLiteral("输入框"));
        edit_->setAccessibleName(caption);
        edit_->setMinimumWidth(320);
        auto* accept = new QPushButton(QStringLiteral("确认输入(&O)"), this);
        accept->setObjectName(QStringLiteral("确认输入"));
        accept->setDefault(true);
        auto* cancel = new QPushButton(QStringLiteral("取消(&C)"), this);
        cancel->setObjectName(QStringLiteral("取消"));
        cancel->setAutoDefault(false);
        connect(accept, &QPushButton::clicked, this, &QDialog::accept);
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

        auto* buttons = new QHBoxLayout;
        buttons->addWidget(accept);
        buttons->addWidget(cancel);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(edit_);
        layout->addLayout(buttons);
        layout->setSizeConstraint(QLayout::SetFixedSize);  // the user cannot resize it
        setTabOrder(edit_, accept);
        setTabOrder(accept, cancel);

        edit_->selectAll();  // the first key typed replaces the proposal
        edit_->setFocus();
        adjustSize();
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        move(screen.x() + (screen.width() - width()) / 2,
             screen.y() + (screen.height() - height()) / 2);
    }

    QString Text() const { return edit_->text(); }

  private:
    QLineEdit* edit_;
};

}  // namespace

bool AskText(const gcode::Text& title, const gcode::Text& initial, gcode::Text& target) {
    const QString caption =
        gcode::CompareText(title, "") == 0 ? QStringLiteral("请输入：") : ToQString(title);
    TextInputDialog dialog(caption, ToQString(initial));
    if (dialog.exec() != QDialog::Accepted) return false;
    target = ToText(dialog.Text());
    return true;
}

}  // namespace app

#include "app/dialogs.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include "app/text_codec.h"
#include "person.h"

using app::AskText;
using app::ShowMessage;
using app::ToText;

class DialogsTest : public QObject {
    Q_OBJECT

  private slots:
    void messageShowsCaptionTextAndOneOkButtonWithoutIcon() {
        QString caption, text;
        int buttons = -1;
        QMessageBox::Icon icon = QMessageBox::Warning;
        bool wasModal = false;
        ModalScript script({[&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box != nullptr);
            caption = box->windowTitle();
            text = box->text();
            buttons = static_cast<int>(box->buttons().size());
            icon = box->icon();
            wasModal = box->windowModality() == Qt::ApplicationModal;
            QTest::keyClick(box, Qt::Key_Return);
        }});
        ShowMessage(ToText(u"未生成G代码！"));
        QCOMPARE(caption, QStringLiteral("信息："));
        QCOMPARE(text, QStringLiteral("未生成G代码！"));
        QCOMPARE(buttons, 1);
        QCOMPARE(icon, QMessageBox::NoIcon);
        QVERIFY(wasModal);
    }

    void messageEndsByEveryWay_data() {
        QTest::addColumn<QString>("way");
        QTest::newRow("OK button") << "ok";
        QTest::newRow("Enter") << "enter";
        QTest::newRow("Esc") << "esc";
        QTest::newRow("close box") << "close";
    }

    void messageEndsByEveryWay() {
        QFETCH(QString, way);
        ModalScript script({[way](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (way == "ok") box->button(QMessageBox::Ok)->click();
            if (way == "enter") QTest::keyClick(box, Qt::Key_Enter);
            if (way == "esc") QTest::keyClick(box, Qt::Key_Escape);
            if (way == "close") box->close();
        }});
        ShowMessage(ToText(u"请填全信息！"));  // returns: the test would hang otherwise
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void askTextOffersTheInitialTextSelected() {
        QString caption, text, selected;
        bool editHasFocus = false;
        QStringList buttonOrder;
        ModalScript script({[&](QWidget* modal) {
            caption = modal->windowTitle();
            auto* edit = modal->findChild<QLineEdit*>();
            text = edit->text();
            selected = edit->selectedText();
            editHasFocus = edit->hasFocus();
            for (QWidget* w = edit->nextInFocusChain(); w != edit; w = w->nextInFocusChain()) {
                if (auto* button = qobject_cast<QPushButton*>(w)) buttonOrder << button->text();
            }
            QVERIFY(modal->findChildren<QLabel*>().isEmpty());  // no prompt line
            QTest::keyClick(edit, Qt::Key_Return);
        }});
        gcode::Text target = "old";
        QVERIFY(AskText(ToText(u"请输入文件名"), ToText(u"G代码"), target));
        QCOMPARE(caption, QStringLiteral("请输入文件名"));
        QCOMPARE(text, QStringLiteral("G代码"));
        QCOMPARE(selected, QStringLiteral("G代码"));
        QVERIFY(editHasFocus);
        QCOMPARE(buttonOrder, (QStringList{"确认输入(&O)", "取消(&C)"}));
        QCOMPARE(target, ToText(u"G代码"));
    }

    void askTextAcceptsWhatIsTyped_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("expected");
        QTest::newRow("typing replaces the selection") << "abc"
                                                       << "abc";
        QTest::newRow("spaces kept") << "  a b  "
                                     << "  a b  ";
        QTest::newRow("emptied") << "\b"
                                 << "";
        QTest::newRow("Chinese") << "零件一"
                                 << "零件一";
    }

    void askTextAcceptsWhatIsTyped() {
        QFETCH(QString, keys);
        QFETCH(QString, expected);
        ModalScript script({[keys](QWidget* modal) {
            auto* edit = modal->findChild<QLineEdit*>();
            if (keys == "\b") {
                QTest::keyClick(edit, Qt::Key_Backspace);
            } else if (keys.front().unicode() >= 0x80) {
                TypeThroughInputMethod(edit, keys);
            } else {
                QTest::keyClicks(edit, keys);
            }
            QTest::keyClick(edit, Qt::Key_O, Qt::AltModifier);
        }});
        gcode::Text target = "old";
        QVERIFY(AskText(ToText(u"请输入文件名"), ToText(u"G代码"), target));
        QCOMPARE(target, ToText(expected));
    }

    void askTextCancelLeavesTheTarget_data() {
        QTest::addColumn<QString>("way");
        QTest::newRow("cancel button") << "button";
        QTest::newRow("Alt+C") << "altc";
        QTest::newRow("Esc") << "esc";
        QTest::newRow("close box") << "close";
    }

    void askTextCancelLeavesTheTarget() {
        QFETCH(QString, way);
        ModalScript script({[way](QWidget* modal) {
            auto* edit = modal->findChild<QLineEdit*>();
            QTest::keyClicks(edit, "edited");
            if (way == "button") modal->findChild<QPushButton*>("取消")->click();
            if (way == "altc") QTest::keyClick(edit, Qt::Key_C, Qt::AltModifier);
            if (way == "esc") QTest::keyClick(edit, Qt::Key_Escape);
            if (way == "close") modal->close();
        }});
        gcode::Text target = "before";
        QVERIFY(!AskText(ToText(u"请输入文件名"), ToText(u"G代码"), target));
        QCOMPARE(target, gcode::Text("before"));
    }

    void askTextWithEmptyTitleAsksForInput() {
        QString caption;
        ModalScript script({[&](QWidget* modal) {
            caption = modal->windowTitle();
            QTest::keyClick(modal->findChild<QLineEdit*>(), Qt::Key_Escape);
        }});
        gcode::Text target;
        AskText("", "x", target);
        QCOMPARE(caption, QStringLiteral("请输入："));
    }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"

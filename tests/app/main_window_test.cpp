#include "app/main_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

#include "app/text_codec.h"
#include "person.h"
#include "worked_examples.h"

namespace {

const QStringList kFocusCycle = {"编辑框长",    "编辑框宽",   "编辑框高",
                                 "编辑框下刀",  "编辑框刀径", "编辑框弧径",
                                 "编辑框G代码", "按钮1",      "按钮2"};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<app::ProgramState> state_;
    std::unique_ptr<app::MainWindow> window_;

    template <typename T>
    T* Control(const QString& name) {
        auto* control = window_->findChild<T*>(name);
        if (control == nullptr) qFatal("no control %s", qPrintable(name));
        return control;
    }
    QLineEdit* Box(const QString& name) { return Control<QLineEdit>(name); }
    QPlainTextEdit* ProgramBox() { return Control<QPlainTextEdit>("编辑框G代码"); }
    QPushButton* Generate() { return Control<QPushButton>("按钮1"); }
    QPushButton* Save() { return Control<QPushButton>("按钮2"); }
    QString Focused() const {
        QWidget* focus = QApplication::focusWidget();
        return focus == nullptr ? QString() : focus->objectName();
    }

    // Keys go where a person's keys go: to the control that has the focus. With no window
    // manager, nothing hands the activation back to the window when a dialog closes.
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        if (QApplication::activeWindow() == nullptr) QApplication::setActiveWindow(window_.get());
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    void Type(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }

    void FillWorkedExample() {
        Box("编辑框长")->setText("100");
        Box("编辑框宽")->setText("60");
        Box("编辑框高")->setText("1");
        Box("编辑框刀径")->setText("6");
    }

    // Runs `trigger`, which must open a message box, and returns the box's text.
    QString MessageFrom(const std::function<void()>& trigger) {
        QString text;
        ModalScript script({[&text](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            text = box->windowTitle() + "|" + box->text();
            QTest::keyClick(box, Qt::Key_Escape);
        }});
        trigger();
        return text;
    }

  private slots:
    void init() {
        state_ = std::make_unique<app::ProgramState>();
        window_ = std::make_unique<app::MainWindow>(*state_);
        window_->OnMainWindowCreated();
        window_->ShowCentred();
        QApplication::setActiveWindow(window_.get());
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }

    void cleanup() { window_.reset(); }

    void startsCentredWithTheFormsTexts() {
        QVERIFY(window_->windowTitle().isEmpty());
        QCOMPARE(window_->minimumSize(), window_->maximumSize());
        QVERIFY(!(window_->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window_->windowFlags() & Qt::WindowMinimizeButtonHint);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(window_->frameGeometry().left(), (screen.width() - window_->width()) / 2);
        QCOMPARE(window_->frameGeometry().top(), (screen.height() - window_->height()) / 2);
        QVERIFY(window_->width() >= 624 && window_->height() >= 448);

        const QStringList boxTexts = {"", "", "", "0.5", "2", "0"};
        for (int i = 0; i < 6; ++i) QCOMPARE(Box(kFocusCycle[i])->text(), boxTexts[i]);
        QVERIFY(ProgramBox()->toPlainText().isEmpty());
        QVERIFY(Generate()->isDefault());
        QVERIFY(!Save()->isDefault());
        QCOMPARE(Focused(), QStringLiteral("编辑框长"));
        QCOMPARE(Box("编辑框下刀")->cursorPosition(), 0);
    }

    void placesEveryControlAsTheFormSays_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<QString>("text");
        const struct {
            const char* name;
            QRect rect;
            const char* text;
        } rows[] = {
            {"标签长", {8, 24, 96, 40}, "长："},
            {"编辑框长", {128, 16, 88, 48}, ""},
            {"单位1", {232, 16, 48, 40}, "mm"},
            {"标签宽", {8, 88, 96, 40}, "宽："},
            {"编辑框宽", {128, 80, 88, 48}, ""},
            {"单位2", {232, 88, 48, 40}, "mm"},
            {"标签高", {8, 152, 96, 40}, "高："},
            {"编辑框高", {128, 144, 88, 48}, ""},
            {"单位3", {232, 152, 48, 40}, "mm"},
            {"标签下刀", {8, 216, 104, 40}, "下刀："},
            {"编辑框下刀", {128, 208, 88, 48}, "0.5"},
            {"单位4", {232, 216, 48, 40}, "mm"},
            {"标签刀直径", {8, 280, 104, 40}, "刀直径："},
            {"编辑框刀径", {128, 272, 88, 48}, "2"},
            {"单位5", {232, 280, 48, 40}, "mm"},
            {"标签弧径", {8, 344, 112, 40}, "弧半径："},
            {"编辑框弧径", {128, 336, 88, 48}, "0"},
            {"单位6", {232, 344, 48, 40}, "mm"},
            {"按钮1", {24, 400, 112, 48}, "生成G代码"},
            {"按钮2", {176, 400, 112, 48}, "生成TXT"},
            {"编辑框G代码", {312, 16, 312, 432}, ""},
        };
        for (const auto& row : rows) QTest::newRow(row.name) << row.name << row.rect << row.text;
    }

    void placesEveryControlAsTheFormSays() {
        QFETCH(QString, name);
        QFETCH(QRect, rect);
        QFETCH(QString, text);
        auto* control = Control<QWidget>(name);
        QCOMPARE(control->geometry(), rect);
        QVERIFY(control->isVisible() && control->isEnabled());
        QVERIFY(!control->accessibleName().isEmpty());
        QCOMPARE(control->font().pixelSize(), 21);
        if (auto* label = qobject_cast<QLabel*>(control)) {
            QCOMPARE(label->text(), text);
            QCOMPARE(label->focusPolicy(), Qt::NoFocus);
            QCOMPARE(label->alignment(), Qt::AlignCenter);
        } else if (auto* box = qobject_cast<QLineEdit*>(control)) {
            QCOMPARE(box->text(), text);
            QCOMPARE(box->maxLength(), 32767);  // Qt's default: no limit of our own
        } else if (auto* button = qobject_cast<QPushButton*>(control)) {
            QCOMPARE(button->text(), text);
        }
    }

    void tabAndShiftTabRunAroundTheCycle() {
        for (int i = 1; i <= 9; ++i) {
            Press(Qt::Key_Tab);
            QCOMPARE(Focused(), kFocusCycle[i % 9]);
        }
        for (int i = 8; i >= 0; --i) {
            Press(Qt::Key_Backtab, Qt::ShiftModifier);
            QCOMPARE(Focused(), kFocusCycle[i]);
        }
        Press(Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(Focused(), QStringLiteral("按钮2"));
        // Tab neither types into the G-code box nor selects the text of the box it enters.
        ProgramBox()->setFocus();
        Press(Qt::Key_Tab);
        QCOMPARE(Focused(), QStringLiteral("按钮1"));
        QVERIFY(ProgramBox()->toPlainText().isEmpty());
        Box("编辑框高")->setFocus();
        Press(Qt::Key_Tab);
        QCOMPARE(Focused(), QStringLiteral("编辑框下刀"));
        QVERIFY(!Box("编辑框下刀")->hasSelectedText());
    }

    void enterInAnEmptyFormReportsMissingInput() {
        const QString message = MessageFrom([this] { Press(Qt::Key_Return); });
        QCOMPARE(message, QStringLiteral("信息：|请填全信息！"));
        QVERIFY(Box("编辑框长")->text().isEmpty());  // the Enter typed nothing
        QVERIFY(Generate()->isDefault());
    }

    void enterGeneratesTheWorkedExampleAndMakesSaveTheDefault() {
        FillWorkedExample();
        Press(Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(window_->ReadProgramBox(), gcode::Text(kSquareWorkedExample));
        QCOMPARE(window_->ReadProgramBox().size(), 237u);
        QCOMPARE(ProgramBox()->textCursor().position(), 0);
        QVERIFY(Save()->isDefault());
        QVERIFY(!Generate()->isDefault());
        // A second click writes the same text again.
        Generate()->click();
        QCOMPARE(window_->ReadProgramBox(), gcode::Text(kSquareWorkedExample));
    }

    void enterPressesTheDefaultButtonNotTheFocusedOne() {
        FillWorkedExample();
        Generate()->click();
        QSignalSpy generate(Generate(), &QPushButton::clicked);
        QSignalSpy save(Save(), &QPushButton::clicked);
        Generate()->setFocus();
        {
            ModalScript script(
                {[](QWidget* askName) { QTest::keyClick(askName, Qt::Key_Escape); }});
            Press(Qt::Key_Return);
            QVERIFY(script.AllAnswered());
            QVERIFY(script.Unexpected().isEmpty());
        }
        QCOMPARE(save.count(), 1);
        QCOMPARE(generate.count(), 0);
        // Space presses the focused button itself.
        Press(Qt::Key_Space);
        QCOMPARE(generate.count(), 1);
        QCOMPARE(save.count(), 1);
    }

    void enterAndShiftEnterInTheProgramBoxBreakTheLine() {
        QSignalSpy generate(Generate(), &QPushButton::clicked);
        ProgramBox()->setFocus();
        Type("A");
        Press(Qt::Key_Return);
        Type("B");
        Press(Qt::Key_Return, Qt::ShiftModifier);
        TypeThroughInputMethod(QApplication::focusWidget(), QStringLiteral("\u00A0C"));
        QCOMPARE(window_->ReadProgramBox(), app::ToText(u"A\r\nB\r\n\u00A0C"));
        QCOMPARE(generate.count(), 0);
        // Typing does not change the roles; only a handler does.
        QVERIFY(Generate()->isDefault());
    }

    void rolesFollowTheBoxOnlyWhenAHandlerRuns() {
        FillWorkedExample();
        Generate()->click();
        ProgramBox()->selectAll();
        ProgramBox()->setFocus();
        Press(Qt::Key_Delete);
        QVERIFY(ProgramBox()->toPlainText().isEmpty());
        QVERIFY(Save()->isDefault());  // emptied by hand: unchanged until the next handler
        // Enter now runs the save, which finds nothing to save and hands Enter back to 按钮1.
        Box("编辑框宽")->setFocus();
        QCOMPARE(MessageFrom([this] { Press(Qt::Key_Return); }),
                 QStringLiteral("信息：|未生成G代码！"));
        QVERIFY(Generate()->isDefault());

        // Text typed before a failed input check stays, and then counts as a program.
        ProgramBox()->setPlainText(" ");
        Box("编辑框长")->clear();
        Generate()->setDefault(true);
        Save()->setDefault(false);
        const QString message = MessageFrom([this] { Generate()->click(); });
        QCOMPARE(message, QStringLiteral("信息：|请填全信息！"));
        QCOMPARE(ProgramBox()->toPlainText(), QStringLiteral(" "));
        QVERIFY(Save()->isDefault());
    }

    void tooManyPassesIsRefusedAndTheBoxKept() {
        FillWorkedExample();
        Generate()->click();
        const gcode::Text before = window_->ReadProgramBox();
        Box("编辑框下刀")->setText("1e-9");
        const QString message = MessageFrom([this] { Generate()->click(); });
        QCOMPARE(message, QStringLiteral("信息：|下刀次数超过10000，请加大下刀量！"));
        QCOMPARE(window_->ReadProgramBox(), before);
        QVERIFY(Save()->isDefault());
    }

    void escapeClosesFromAnyControl() {
        ProgramBox()->setFocus();
        Press(Qt::Key_Escape);
        QVERIFY(!window_->isVisible());
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"

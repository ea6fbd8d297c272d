// Saving through the window, as a person does it: 按钮2, a name in the dialog, Enter; with a
// temporary home whose desktop folder is named by its XDG configuration.
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "app/main_window.h"
#include "app/person.h"
#include "app/text_codec.h"
#include "export/save_text_file.h"
#include "worked_examples.h"

namespace {

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

}  // namespace

class SaveTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> home_;
    QString desktop_;
    std::unique_ptr<app::ProgramState> state_;
    std::unique_ptr<app::MainWindow> window_;
    QStringList offeredNames_;  // what the name dialog proposed, call by call
    QStringList messages_;

    QPushButton* Button(const char* name) { return window_->findChild<QPushButton*>(name); }
    QPlainTextEdit* ProgramBox() { return window_->findChild<QPlainTextEdit*>("编辑框G代码"); }

    void Generate(const char* cornerRadius = "0") {
        const char* texts[] = {"100", "60", "1", "0.5", "6"};
        const char* names[] = {"编辑框长", "编辑框宽", "编辑框高", "编辑框下刀", "编辑框刀径"};
        for (int i = 0; i < 5; ++i) window_->findChild<QLineEdit*>(names[i])->setText(texts[i]);
        window_->findChild<QLineEdit*>("编辑框弧径")->setText(cornerRadius);
        Button("按钮1")->click();
    }

    ModalScript::Action NoteMessage() {
        return [this](QWidget* modal) {
            messages_ << qobject_cast<QMessageBox*>(modal)->text();
            QTest::keyClick(modal, Qt::Key_Escape);
        };
    }

    // Answers the name dialog: nullptr accepts the proposal, otherwise the name replaces it.
    ModalScript::Action TypeName(const QString* name, Qt::Key finish = Qt::Key_Return) {
        return [this, name, finish](QWidget* modal) {
            auto* edit = modal->findChild<QLineEdit*>();
            offeredNames_ << edit->text();
            if (name != nullptr) {
                if (name->isEmpty()) {
                    QTest::keyClick(edit, Qt::Key_Delete);
                } else {
                    TypeThroughInputMethod(edit, *name);
                }
            }
            QTest::keyClick(edit, finish);
        };
    }

    // 按钮2 with the given dialog answers; fails on any dialog not expected.
    void Save(std::vector<ModalScript::Action> answers) {
        ModalScript script(std::move(answers));
        Button("按钮2")->click();
        QVERIFY(script.AllAnswered());
        QCOMPARE(script.Unexpected(), QStringList());
    }
    void SaveAs(const QString& name) { Save({TypeName(&name)}); }

    // A file part.txt on the desktop that a failed save must leave as it is.
    void PutOldProgram() {
        QFile existing(desktop_ + "/part.txt");
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("old program");
    }

    QStringList DesktopEntries() const {
        return QDir(desktop_).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

  private slots:
    void init() {
        home_ = std::make_unique<QTemporaryDir>();
        const QString home = home_->path();
        QDir(home).mkpath(".config");
        QFile dirs(home + "/.config/user-dirs.dirs");
        QVERIFY(dirs.open(QIODevice::WriteOnly));
        dirs.write("XDG_DESKTOP_DIR=\"$HOME/桌面\"\n");
        dirs.close();
        qputenv("HOME", QFile::encodeName(home));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home + "/.config"));
        desktop_ = home + "/桌面";
        QVERIFY(QDir(home).mkdir("桌面"));
        offeredNames_.clear();
        messages_.clear();

        state_ = std::make_unique<app::ProgramState>();
        window_ = std::make_unique<app::MainWindow>(*state_);
        window_->OnMainWindowCreated();
        window_->ShowCentred();
    }

    void cleanup() {
        window_.reset();
        home_.reset();
    }

    void desktopFolderComesFromTheXdgConfiguration() {
        QCOMPARE(app::ToQString(textfile::DesktopFolderPath()), desktop_ + "/");
        QVERIFY(!textfile::WriteWholeFile("", {}));
    }

    void savesTheWorkedExamplesByteForByte() {
        Generate("0");
        Save({TypeName(nullptr)});  // the proposed name, accepted at once
        QCOMPARE(offeredNames_, QStringList{"G代码"});
        const QByteArray square = Contents(desktop_ + "/G代码.txt");
        QCOMPARE(square, QByteArray(kSquareWorkedExample));
        QCOMPARE(square.size(), 237);
        QVERIFY(square.startsWith("O2017") && square.endsWith("\r\nM30\r\n%"));
        // The name on disk is UTF-8, as a file manager shows it.
        QVERIFY(
            std::filesystem::exists(std::filesystem::path(QFile::encodeName(desktop_).constData()) /
                                    "G\xE4\xBB\xA3\xE7\xA0\x81.txt"));

        Generate("10");
        SaveAs("arcs");
        const QByteArray arcs = Contents(desktop_ + "/arcs.txt");
        QCOMPARE(arcs.size(), 374);
        QCOMPARE(arcs, QByteArray(window_->ReadProgramBox().c_str()));
        // The dialog proposes "G代码" again after every save, and nothing is reported.
        QCOMPARE(offeredNames_, (QStringList{"G代码", "G代码"}));
        QVERIFY(messages_.isEmpty());
        QVERIFY(Button("按钮2")->isDefault());
        QCOMPARE(window_->ReadProgramBox(), gcode::Text(arcs.constData()));
    }

    void usesTheNameAsTyped_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("file");
        QTest::newRow("an extension stays part of the name") << "abc.txt"
                                                             << "abc.txt.txt";
        QTest::newRow("spaces") << "   "
                                << "   .txt";
        QTest::newRow("an existing subfolder") << "sub/part"
                                               << "sub/part.txt";
        QTest::newRow("an absolute path stays below the desktop") << "/sub/abs"
                                                                  << "sub/abs.txt";
        QTest::newRow("Chinese") << "零件 一号"
                                 << "零件 一号.txt";
    }

    void usesTheNameAsTyped() {
        QFETCH(QString, name);
        QFETCH(QString, file);
        QVERIFY(QDir(desktop_).mkdir("sub"));
        Generate();
        SaveAs(name);
        QCOMPARE(Contents(desktop_ + "/" + file), QByteArray(kSquareWorkedExample));
        QVERIFY(messages_.isEmpty());
    }

    void cancelOrAnEmptyNameWritesAndSaysNothing() {
        Generate();
        const QString edited = "edited";
        Save({TypeName(&edited, Qt::Key_Escape)});
        const QString empty;
        Save({TypeName(&empty)});
        QCOMPARE(DesktopEntries(), QStringList());
        QVERIFY(messages_.isEmpty());
        QVERIFY(Button("按钮2")->isDefault());
        QCOMPARE(state_->saveFileName, gcode::Text());
    }

    void anEmptyBoxIsReportedWithoutADialog() {
        Save({NoteMessage()});
        QCOMPARE(messages_, QStringList{"未生成G代码！"});
        QCOMPARE(DesktopEntries(), QStringList());
        QVERIFY(Button("按钮1")->isDefault());
    }

    void savingAgainReplacesTheFileWhole() {
        Generate("10");
        SaveAs("part");
        Generate("0");
        SaveAs("part");
        QCOMPARE(Contents(desktop_ + "/part.txt"), QByteArray(kSquareWorkedExample));
        QCOMPARE(DesktopEntries(), QStringList{"part.txt"});  // no temporary file left
    }

    void savesTheBoxAsEditedInTheChineseCodePage() {
        Generate();
        ProgramBox()->setFocus();
        ProgramBox()->moveCursor(QTextCursor::End);
        QTest::keyClick(ProgramBox(), Qt::Key_Return);
        TypeThroughInputMethod(ProgramBox(), QStringLiteral("注释 \U0001F600"));
        SaveAs("edited");
        const QByteArray expected = QByteArray(kSquareWorkedExample) +
                                    "\r\n\xD7\xA2\xCA\xCD \x94\x39\xFC\x36";  // 注释, then 😀
        QCOMPARE(Contents(desktop_ + "/edited.txt"), expected);
    }

    void aFailedSaveIsReportedWithItsPath_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("removeDesktop");
        QTest::newRow("a subfolder that does not exist") << "missing/part" << false;
        QTest::newRow("a missing desktop folder") << "part" << true;
        QTest::newRow("a folder in the file's place") << "folder" << false;
    }

    void aFailedSaveIsReportedWithItsPath() {
        QFETCH(QString, name);
        QFETCH(bool, removeDesktop);
        QVERIFY(QDir(desktop_).mkdir("folder.txt"));
        if (removeDesktop) QVERIFY(QDir(desktop_).removeRecursively());
        Generate();
        Save({TypeName(&name), NoteMessage()});
        QCOMPARE(messages_, QStringList{"保存失败：" + desktop_ + "/" + name + ".txt"});
        QCOMPARE(state_->saveFileName, gcode::Text());
        QVERIFY(Button("按钮2")->isDefault());
        if (removeDesktop) {
            QVERIFY(!QDir(desktop_).exists());  // looked up, never created
        } else {
            QCOMPARE(DesktopEntries(), QStringList{"folder.txt"});
            QVERIFY(QFileInfo(desktop_ + "/folder.txt").isDir());
        }
        // The next save proposes "G代码" again.
        Save({TypeName(nullptr, Qt::Key_Escape)});
        QCOMPARE(offeredNames_.last(), QStringLiteral("G代码"));
    }

    void aReadOnlyFileIsKept() {
        if (geteuid() == 0) QSKIP("root writes into read-only files");
        PutOldProgram();
        QVERIFY(QFile::setPermissions(desktop_ + "/part.txt", QFile::ReadOwner));
        Generate();
        const QString name = "part";
        Save({TypeName(&name), NoteMessage()});
        QCOMPARE(messages_, QStringList{"保存失败：" + desktop_ + "/part.txt"});
        QCOMPARE(Contents(desktop_ + "/part.txt"), QByteArray("old program"));
        QCOMPARE(DesktopEntries(), QStringList{"part.txt"});
    }

    void aReadOnlyFolderKeepsTheExistingFile() {
        if (geteuid() == 0) QSKIP("root writes into read-only folders");
        PutOldProgram();
        QVERIFY(QFile::setPermissions(desktop_, QFile::ReadOwner | QFile::ExeOwner));
        Generate();
        const QString name = "part";
        Save({TypeName(&name), NoteMessage()});
        QFile::setPermissions(desktop_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(messages_, QStringList{"保存失败：" + desktop_ + "/part.txt"});
        QCOMPARE(Contents(desktop_ + "/part.txt"), QByteArray("old program"));
        QCOMPARE(DesktopEntries(), QStringList{"part.txt"});
    }
};

QTEST_MAIN(SaveTest)
#include "save_test.moc"

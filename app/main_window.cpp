#include "app/main_window.h"

#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <variant>

#include "app/dialogs.h"
#include "app/kai_font.h"
#include "app/text_codec.h"
#include "export/save_text_file.h"
#include "gcode/contour_generator.h"

namespace app {

namespace {

// The room the controls need (624 x 448) and a little margin; the window manager adds its frame.
constexpr QSize kClientSize(627, 449);

// A control of the form: its name, its first text, what it is for a screen reader, its place.
struct ControlPlace {
    const char* name;
    const char* text;
    const char* accessibleName;
    QRect rect;
};

constexpr ControlPlace kLabels[] = {
    {"标签长", "长：", "长", {8, 24, 96, 40}},
    {"单位1", "mm", "长的单位：毫米", {232, 16, 48, 40}},
    {"标签宽", "宽：", "宽", {8, 88, 96, 40}},
    {"单位2", "mm", "宽的单位：毫米", {232, 88, 48, 40}},
    {"标签高", "高：", "高", {8, 152, 96, 40}},
    {"单位3", "mm", "高的单位：毫米", {232, 152, 48, 40}},
    {"标签下刀", "下刀：", "下刀", {8, 216, 104, 40}},
    {"单位4", "mm", "下刀的单位：毫米", {232, 216, 48, 40}},
    {"标签刀直径", "刀直径：", "刀直径", {8, 280, 104, 40}},
    {"单位5", "mm", "刀直径的单位：毫米", {232, 280, 48, 40}},
    {"标签弧径", "弧半径：", "弧半径", {8, 344, 112, 40}},
    {"单位6", "mm", "弧半径的单位：毫米", {232, 344, 48, 40}},
};

// Top to bottom, in the order of gcode::ContourParameters.
constexpr ControlPlace kParameterBoxes[] = {
    {"编辑框长", "", "长（毫米）", {128, 16, 88, 48}},
    {"编辑框宽", "", "宽（毫米）", {128, 80, 88, 48}},
    {"编辑框高", "", "高（毫米）", {128, 144, 88, 48}},
    {"编辑框下刀", "0.5", "每次下刀量（毫米）", {128, 208, 88, 48}},
    {"编辑框刀径", "2", "刀直径（毫米）", {128, 272, 88, 48}},
    {"编辑框弧径", "0", "弧半径（毫米）", {128, 336, 88, 48}},
};

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, QRect rect) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setAccessibleName(QString::fromUtf8(caption));
    button->setAutoDefault(false);
    button->setGeometry(rect);
    return button;
}

}  // namespace

MainWindow::MainWindow(ProgramState& state)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      state_(state) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QString());
    setWindowIcon(QIcon(QStringLiteral(":/contour-gcode.svg")));
    setFixedSize(kClientSize);  // no resizing, and so no maximize button
    setFont(KaiFont());

    for (const ControlPlace& place : kLabels) {
        auto* label = new QLabel(QString::fromUtf8(place.text), this);
        label->setObjectName(QString::fromUtf8(place.name));
        label->setAccessibleName(QString::fromUtf8(place.accessibleName));
        label->setTextFormat(Qt::PlainText);  // an "&" is an ordinary character
        label->setAlignment(Qt::AlignCenter);
        label->setGeometry(place.rect);
    }
    for (std::size_t i = 0; i < parameterBoxes_.size(); ++i) {
        const ControlPlace& place = kParameterBoxes[i];
        auto* box = new QLineEdit(QString::fromUtf8(place.text), this);
        box->setObjectName(QString::fromUtf8(place.name));
        box->setAccessibleName(QString::fromUtf8(place.accessibleName));
        box->setAlignment(Qt::AlignCenter);
        box->setGeometry(place.rect);
        box->setCursorPosition(0);  // the caret starts at the start of the text
        parameterBoxes_[i] = box;
    }

    programBox_ = new QPlainTextEdit(this);
    programBox_->setObjectName(QStringLiteral("编辑框G代码"));
    programBox_->setAccessibleName(QStringLiteral("G代码"));
    programBox_->setGeometry(312, 16, 312, 432);
    programBox_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    programBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    programBox_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    generateButton_ = MakeButton(this, "按钮1", "生成G代码", {24, 400, 112, 48});
    saveButton_ = MakeButton(this, "按钮2", "生成TXT", {176, 400, 112, 48});
    connect(generateButton_, &QPushButton::clicked, this, &MainWindow::OnGenerateClicked);
    connect(saveButton_, &QPushButton::clicked, this, &MainWindow::OnSaveClicked);

    focusCycle_ = {parameterBoxes_[0], parameterBoxes_[1], parameterBoxes_[2],
                   parameterBoxes_[3], parameterBoxes_[4], parameterBoxes_[5],
                   programBox_,        generateButton_,    saveButton_};
    for (QWidget* control : focusCycle_) control->installEventFilter(this);
}

void MainWindow::OnMainWindowCreated() {
    UpdateButtonRoles();
    parameterBoxes_[0]->setFocus();
}

void MainWindow::ShowCentred() {
    // The whole screen counts, the taskbar included.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    move(screen.x() + (screen.width() - width()) / 2,
         screen.y() + (screen.height() - height()) / 2);
    show();
}

void MainWindow::OnGenerateClicked() {
    const auto box = [this](std::size_t index) { return ToText(parameterBoxes_[index]->text()); };
    const auto outcome =
        gcode::GenerateContourProgram({box(0), box(1), box(2), box(3), box(4), box(5)});
    if (std::holds_alternative<gcode::MissingInput>(outcome)) {
        ShowMessage(ToText(u"请填全信息！"));
    } else if (std::holds_alternative<gcode::TooManyPasses>(outcome)) {
        ShowMessage(ToText(u"下刀次数超过10000，请加大下刀量！"));
    } else {
        ReplaceProgramBox(std::get<gcode::ContourProgram>(outcome).text);
    }
    UpdateButtonRoles();
}

void MainWindow::OnSaveClicked() {
    if (gcode::CompareText(ReadProgramBox(), "") == 0) {
        ShowMessage(ToText(u"未生成G代码！"));
    } else {
        AskText(ToText(u"请输入文件名"), ToText(u"G代码"), state_.saveFileName);
        if (gcode::CompareText(state_.saveFileName, "") != 0) {
            // The name as typed: nothing removed or replaced, "/" leads into subfolders.
            const gcode::Text path =
                gcode::JoinTexts({textfile::DesktopFolderPath(), state_.saveFileName, ".txt"});
            // The box is read again: whatever it holds now is what is saved.
            if (!textfile::WriteWholeFile(path, gcode::TextToBytes(ReadProgramBox()))) {
                ShowMessage(gcode::JoinTexts({ToText(u"保存失败："), path}));
            }
            state_.saveFileName.clear();
        }
    }
    UpdateButtonRoles();
}

void MainWindow::UpdateButtonRoles() {
    const bool empty = programBox_->document()->isEmpty();
    generateButton_->setDefault(empty);
    saveButton_->setDefault(!empty);
}

gcode::Text MainWindow::ReadProgramBox() const {
    return FromBoxText(programBox_->document()->toRawText());
}

void MainWindow::ReplaceProgramBox(const gcode::Text& text) {
    programBox_->setPlainText(ToBoxText(text));
    programBox_->moveCursor(QTextCursor::Start);
    programBox_->verticalScrollBar()->setValue(0);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (key->key() == Qt::Key_Backtab ||
        (key->key() == Qt::Key_Tab && modifiers == Qt::ShiftModifier)) {
        MoveFocus(-1);
        return true;
    }
    if (modifiers != Qt::NoModifier) return false;  // Ctrl, Alt or Shift: not the window's keys
    switch (key->key()) {
        case Qt::Key_Tab:
            MoveFocus(1);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (watched == programBox_) return false;  // the box breaks the line
            (generateButton_->isDefault() ? generateButton_ : saveButton_)->click();
            return true;
        case Qt::Key_Escape:
            close();
            return true;
        default:
            return false;
    }
}

void MainWindow::MoveFocus(int step) {
    const auto count = static_cast<int>(focusCycle_.size());
    int index = 0;
    while (index < count && !focusCycle_[static_cast<std::size_t>(index)]->hasFocus()) ++index;
    const int next = ((index + step) % count + count) % count;
    // Not Qt::TabFocusReason: a box entered by Tab would select all its text, and moving the
    // focus here neither selects nor moves the caret. The focus frame is still shown.
    setAttribute(Qt::WA_KeyboardFocusChange);
    focusCycle_[static_cast<std::size_t>(next)]->setFocus(Qt::OtherFocusReason);
}

}  // namespace app

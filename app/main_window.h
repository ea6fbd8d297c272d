// The program's one window: six parameter boxes, the G-code box, the generate and save buttons,
// and the keyboard rules that make Enter always start the step that comes next.
#pragma once

#include <QWidget>
#include <array>

#include "gcode/numeric_text.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace app {

// What lives from start-up to shut-down besides the window.
struct ProgramState {
    gcode::Text saveFileName;  // the name typed for saving, empty between saves
};

class MainWindow : public QWidget {
  public:
    explicit MainWindow(ProgramState& state);

    // Gives the buttons their first roles and puts the focus into the length box.
    void OnMainWindowCreated();
    // Shows the window centred on the whole primary screen.
    void ShowCentred();

    // 按钮1: generates the program from the six boxes into the G-code box.
    void OnGenerateClicked();
    // 按钮2: asks for a name and saves the G-code box as that name plus ".txt" on the desktop.
    void OnSaveClicked();

    // 按钮1 is the default button while the G-code box is empty, 按钮2 otherwise.
    void UpdateButtonRoles();

    // The G-code box's text with CR LF line ends, and replacing it (shown from the top).
    gcode::Text ReadProgramBox() const;
    void ReplaceProgramBox(const gcode::Text& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void MoveFocus(int step);

    ProgramState& state_;
    std::array<QLineEdit*, 6> parameterBoxes_{};
    QPlainTextEdit* programBox_ = nullptr;
    QPushButton* generateButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    // Tab and Shift+Tab run around this cycle: the six boxes, the G-code box, the buttons.
    std::array<QWidget*, 9> focusCycle_{};
};

}  // namespace app

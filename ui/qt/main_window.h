#pragma once
// The Qt window over the shared front end: it reads the fields, calls a command and applies the Outcome.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyle>
#include <QWidget>
#include <functional>
#include <memory>

#include "ui/frontend.h"
#include "ui/qt/key_rule.h"
#include "ui/qt/painted_button.h"
#include "ui/qt/window_fonts.h"

namespace ovra {

constexpr int WindowWidth = 1020;
constexpr int WindowHeight = 720;

// Shows a message box; tests replace it so that nothing blocks.
using NoticePresenter =
    std::function<void(QWidget* owner, NoticeIcon icon, const QString& caption, const QString& text)>;

enum ButtonId { CalculateButton, SaveButton, CopyButton, ResetButton, AboutButton, ButtonCount };

class MainWindow : public QWidget {
   public:
    MainWindow(const Tool& tool, const QString& recordsFolder);
    ~MainWindow() override;

    void RunCalculate();
    void RunSave();
    void RunCopy();
    void RunReset();
    void RunAbout();
    // Tab and Shift+Tab: the next or previous input field, wrapping; from elsewhere the first or last.
    void MoveFieldFocus(int step);
    void FocusFirstField();

    void SetNoticePresenter(NoticePresenter presenter) { noticePresenter = std::move(presenter); }
    const FrontEnd& State() const { return *state; }
    const WindowFonts& Fonts() const { return fonts; }

   protected:
    void paintEvent(QPaintEvent* event) override;

   private:
    void CreateControls();
    void Apply(const Outcome& outcome);
    void ShowVerdictColour();

    std::unique_ptr<FrontEnd> state;
    std::unique_ptr<Outcome> outcome;
    QString recordsFolder;
    WindowFonts fonts;
    QLineEdit* fields[MaxInputs] = {};
    QLabel* verdictLine = nullptr;
    QPlainTextEdit* reportBox = nullptr;
    QLabel* adviceText = nullptr;
    PaintedButton* buttons[ButtonCount] = {};
    QStyle* editStyle = nullptr;  // a child of the window, deleted after the controls that use it
    NoticePresenter noticePresenter;
    KeyRule keyRule;
};

// The records folder below the user's local data folder; empty when the platform names none.
QString RecordsFolder();

}  // namespace ovra

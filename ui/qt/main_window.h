#pragma once
// The Qt window over the shared front end: it reads the fields, calls a command and applies the Outcome. It
// builds, paints and places itself from the layout's rows alone.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringList>
#include <QStyle>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "ui/frontend.h"
#include "ui/qt/painted_button.h"
#include "ui/window_keys.h"
#include "ui/window_layout.h"

namespace ovra {

// Shows a message box; tests replace it so that nothing blocks.
using NoticePresenter =
    std::function<void(QWidget* owner, NoticeIcon icon, const QString& caption, const QString& text)>;

// The window's fonts, one per FontRole.
using WindowFonts = std::array<QFont, FontRoleCount>;

class MainWindow : public QWidget {
   public:
    MainWindow(const Tool& tool, const QString& recordsFolder);
    ~MainWindow() override;

    // What a key or a button asked for (KeyActionFor), done: a command, a step along the focus ring or select-all.
    void Run(KeyAction action);
    void FocusFirstField();
    // Which stop of the focus ring `widget` is; Window for the window itself or anything else.
    FocusStop StopOf(const QWidget* widget) const;

    // Shrinks the whole layout, fonts included, so the window and its frame fit `workArea`, and places it
    // there; where it fits, the layout is exactly the 100 % one.
    void FitInto(const QRect& workArea, const QMargins& frame);
    void FitToCurrentScreen();
    double FitScale() const { return fit; }

    void SetNoticePresenter(NoticePresenter presenter) { noticePresenter = std::move(presenter); }
    const FrontEnd& State() const { return *state; }
    const WindowFonts& Fonts() const { return fonts; }

   protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

   private:
    void CreateControls();
    void MakeResultControl(const ResultRow& row);
    // Every control's box and font at `fit`, the labels laid out again in those fonts.
    void LayOut();
    void ApplyScale(double factor);
    void Apply(const Outcome& outcome);
    void ShowVerdictColour();
    void ShowStatus();
    void MarkFocus(QWidget* old, QWidget* now);
    QWidget* WidgetOf(FocusStop stop) const;
    QLabel* ResultLabel(ResultControl control) const;
    const QFont& Font(FontRole role) const { return fonts[static_cast<size_t>(role)]; }

    std::unique_ptr<FrontEnd> state;
    std::unique_ptr<Outcome> outcome;
    QString recordsFolder;
    int32_t fieldCount;
    WindowFonts baseFonts;     // at 100 %
    WindowFonts fonts;         // `baseFonts` scaled by `fit`
    QStringList paintedTexts;  // one per TextRow
    QLabel* labels[MaxInputs] = {};
    QLineEdit* fields[MaxInputs] = {};
    QLabel* units[MaxInputs] = {};
    QWidget* results[ResultControlCount] = {};
    QPlainTextEdit* reportBox = nullptr;
    PaintedButton* buttons[WindowButtonCount] = {};
    QWidget* announcer = nullptr;
    double fit = 1.0;
    QMargins fittedFrame;
    QStyle* editStyle = nullptr;  // a child of the window, deleted after the controls that use it
    NoticePresenter noticePresenter;
};

// The records folder below the user's local data folder; empty when the platform names none.
QString RecordsFolder();

// Once per process, before the window is made: Qt's own Chinese texts for its dialogs, and the accessible
// interfaces of our own (see accessible_widgets.h).
void PrepareApplication();
// Fits the window to the work area of its screen and places it there, now and whenever the screen changes.
void PlaceOnScreen(MainWindow& window);

}  // namespace ovra

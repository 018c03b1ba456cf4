#pragma once
// The Qt window over the shared front end: it reads the fields, calls a command and applies the Outcome.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyle>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "ui/frontend.h"
#include "ui/qt/key_rule.h"
#include "ui/qt/painted_button.h"
#include "ui/qt/window_fonts.h"
#include "ui/window_keys.h"

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
    // What a key asked for (KeyActionFor), done: a command or a step along the focus ring.
    void Run(KeyAction action);
    void FocusFirstField();
    // Which stop of the focus ring `widget` is; Window for the window itself or anything else.
    FocusStop StopOf(const QWidget* widget) const;

    // Shrinks the whole layout, fonts included, so the window and its frame fit `workArea`, and centres it
    // there; where it fits, the layout is exactly the 1020×720 one.
    void FitInto(const QRect& workArea, const QMargins& frame);
    void FitToCurrentScreen();
    double FitScale() const { return fit; }

    void SetNoticePresenter(NoticePresenter presenter) { noticePresenter = std::move(presenter); }
    const FrontEnd& State() const { return *state; }
    const WindowFonts& Fonts() const { return fonts; }

   protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

   private:
    // A control and where it stands at 100 %, so the layout can be scaled again from the original.
    enum class FontRole { Label, Small, Field, Verdict, Report, Button };
    struct Placed {
        QWidget* widget;
        QRect box;
        FontRole font;
    };
    void CreateControls();
    void Place(QWidget* widget, const QRect& box, FontRole font);
    const QFont& FontFor(FontRole role) const;
    void LayOutLabels();
    void ApplyScale(double factor);
    void Apply(const Outcome& outcome);
    void ShowVerdictColour();
    void ShowStatus();
    void Announce(const QString& text);
    void MarkFocus(QWidget* old, QWidget* now);
    QWidget* WidgetOf(FocusStop stop) const;

    std::unique_ptr<FrontEnd> state;
    std::unique_ptr<Outcome> outcome;
    QString recordsFolder;
    WindowFonts fonts;
    QLineEdit* fields[MaxInputs] = {};
    QLabel* verdictLine = nullptr;
    QPlainTextEdit* reportBox = nullptr;
    QLabel* adviceText = nullptr;
    QLabel* statusLine = nullptr;
    QWidget* announcer = nullptr;
    QLabel* labels[MaxInputs] = {};
    PaintedButton* buttons[ButtonCount] = {};
    std::vector<Placed> placed;
    WindowFonts baseFonts;  // at 100 %; `fonts` are these scaled by `fit`
    double fit = 1.0;
    QMargins fittedFrame;
    QStyle* editStyle = nullptr;  // a child of the window, deleted after the controls that use it
    NoticePresenter noticePresenter;
    KeyRule keyRule;
};

// The records folder below the user's local data folder; empty when the platform names none.
QString RecordsFolder();

// Once per process, before the window is made: Qt's own Chinese texts for its dialogs, and the accessible
// interfaces of our own (see accessible_widgets.h).
void PrepareApplication();
// Fits the window to the work area of its screen and centres it there, now and whenever the screen changes.
void PlaceOnScreen(MainWindow& window);

}  // namespace ovra

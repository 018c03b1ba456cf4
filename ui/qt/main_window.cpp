#include "ui/qt/main_window.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QStyleFactory>
#include <QTranslator>
#include <QWindow>
#include <cmath>

#include "text/text.h"
#include "ui/qt/accessible_widgets.h"
#include "ui/qt/program_icon.h"
#include "ui/qt/qt_text.h"
#include "ui/run_command.h"
#include "ui/screen_fit.h"

namespace ovra {
namespace {

// A box of the layout at `factor`, in device pixels; at 1.0, in the 100 % coordinates the window paints in.
QRect ScaledBox(const Box& box, double factor) {
    const Edges edges = ScaleBox(box, factor, ScaleLength(ClientWidth, factor));
    return QRect(QPoint(edges.left, edges.top), QPoint(edges.right - 1, edges.bottom - 1));
}

Qt::Alignment AlignmentOf(TextAlign horizontal, bool centredVertically) {
    return (horizontal == TextAlign::Right ? Qt::AlignRight : Qt::AlignLeft) |
           (centredVertically ? Qt::AlignVCenter : Qt::AlignTop);
}

void SetColours(QWidget* widget, QPalette::ColorRole textRole, uint32_t text, QPalette::ColorRole backgroundRole,
                uint32_t background) {
    QPalette palette = widget->palette();
    palette.setColor(textRole, QColor::fromRgb(text));
    palette.setColor(backgroundRole, QColor::fromRgb(background));
    widget->setPalette(palette);
}

QLabel* MakeLabel(QWidget* parent, const QString& text, uint32_t colour, uint32_t background) {
    auto* label = new QLabel(text, parent);
    label->setAutoFillBackground(true);
    SetColours(label, QPalette::WindowText, colour, QPalette::Window, background);
    return label;
}

QString DefaultText(const InputField& input) {
    char16_t text[LineTextCapacity];
    DefaultFieldText(input, text, LineTextCapacity);
    return QStringFromUtf16(text);
}

// Naming only faces that exist spares the font matcher a fallback search per font, a few milliseconds each at
// start-up. They are looked up in the plain list of families: asking hasFamily resolves aliases through the
// font configuration, which cost a third of the start-up.
QStringList InstalledFaces(const QStringList& installed, const char16_t* const* preferred) {
    QStringList faces;
    for (const char16_t* const* face = preferred; *face != nullptr; ++face) {
        const QString name = QString::fromUtf16(*face);
        if (installed.contains(name, Qt::CaseInsensitive)) faces.append(name);
    }
    if (faces.isEmpty()) faces.append(QString::fromUtf16(preferred[0]));
    return faces;
}

WindowFonts MakeWindowFonts() {
    const QStringList installed = QFontDatabase::families();
    WindowFonts fonts;
    for (int32_t role = 0; role < FontRoleCount; ++role) {
        const FontRow& row = FontOf(static_cast<FontRole>(role));
        fonts[role].setFamilies(InstalledFaces(installed, row.faces));
        fonts[role].setPixelSize(row.pixelHeight);
        fonts[role].setWeight(row.bold ? QFont::Bold : QFont::Normal);
    }
    return fonts;
}

struct NamedKey {
    int qtKey;
    KeyName name;
    bool shift;  // implied by the key itself
};

const NamedKey NamedKeys[] = {
    {Qt::Key_Return, KeyName::Enter, false}, {Qt::Key_Enter, KeyName::KeypadEnter, false},
    {Qt::Key_F1, KeyName::F1, false},        {Qt::Key_F5, KeyName::F5, false},
    {Qt::Key_Space, KeyName::Space, false},  {Qt::Key_Tab, KeyName::Tab, false},
    {Qt::Key_Backtab, KeyName::Tab, true},  // Qt's name for Shift+Tab
};

// The key as the shared rule names it.
KeyPress KeyPressFromEvent(const QKeyEvent& event) {
    const Qt::KeyboardModifiers held = event.modifiers();
    KeyPress press{KeyName::Other,
                   0,
                   held.testFlag(Qt::ControlModifier),
                   held.testFlag(Qt::AltModifier),
                   held.testFlag(Qt::ShiftModifier),
                   event.isAutoRepeat()};
    const int key = event.key();
    for (const NamedKey& named : NamedKeys) {
        if (named.qtKey != key) continue;
        press.key = named.name;
        press.shift = press.shift || named.shift;
        return press;
    }
    // Qt names a printable key by its Unicode value, letters in upper case; the special keys lie far above.
    if (key > Qt::Key_Space && key < 0xFFFF && QChar(key).isPrint()) {
        press.key = KeyName::Character;
        press.character = QChar(key).toLower().unicode();
    }
    return press;
}

int32_t LabelWidthInFont(const void* shell, const char16_t* text, int32_t length, bool smallFont) {
    const WindowFonts& fonts = *static_cast<const WindowFonts*>(shell);
    const QFontMetricsF metrics(fonts[static_cast<size_t>(smallFont ? FontRole::Small : FontRole::Label)]);
    return static_cast<int32_t>(std::ceil(metrics.horizontalAdvance(QString::fromUtf16(text, length))));
}

void ShowMessageBox(QWidget* owner, NoticeIcon icon, const QString& caption, const QString& text) {
    QMessageBox box(icon == NoticeIcon::Warning ? QMessageBox::Warning : QMessageBox::Information, caption, text,
                    QMessageBox::Ok, owner);
    box.exec();
}

// True when the clipboard holds `text` afterwards: one the platform refused, or that another program took back at
// once, was not copied.
bool PutClipboardText(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(text);
    return clipboard->text() == text;
}

LocalTime LocalTimeNow() {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    return LocalTime{date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()};
}

}  // namespace

QString RecordsFolder() {
    const std::u16string xdgDataHome = qEnvironmentVariable("XDG_DATA_HOME").toStdU16String();
    const std::u16string home = qEnvironmentVariable("HOME").toStdU16String();
    char16_t folder[RecordPathCapacity];
    const bool whole = RecordsFolderFromEnvironment(xdgDataHome.c_str(), home.c_str(), folder, RecordPathCapacity);
    return whole ? QStringFromUtf16(folder) : QString();
}

MainWindow::MainWindow(const Tool& tool, const QString& recordsFolder)
    : state(std::make_unique<FrontEnd>()),
      outcome(std::make_unique<Outcome>()),
      recordsFolder(recordsFolder),
      fieldCount(qMin(tool.inputCount, MaxInputs)),
      baseFonts(MakeWindowFonts()),
      fonts(baseFonts),
      noticePresenter(ShowMessageBox) {
    InstallAccessibleWidgets();  // before any control exists: interfaces are made once per object
    StartFrontEnd(*state, tool);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(QStringFromUtf16(tool.title));
    setWindowIcon(ProgramIcon());
    setAttribute(Qt::WA_OpaquePaintEvent);  // paintEvent covers the whole window
    for (int32_t i = 0; i < TextRowCount; ++i) {
        char16_t text[LineTextCapacity];
        PaintedTextOf(TextRows[i].text, tool, text, LineTextCapacity);
        paintedTexts.append(QStringFromUtf16(text));
    }
    CreateControls();
    LayOut();
    connect(qApp, &QApplication::focusChanged, this, &MainWindow::MarkFocus);
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow() { qApp->removeEventFilter(this); }

void MainWindow::CreateControls() {
    const Tool& tool = *state->tool;
    // The plain sunken edges of the "Windows" style match the edit controls of the layout and paint in a
    // fraction of the time of the default style's rounded, antialiased frames.
    editStyle = QStyleFactory::create(QStringLiteral("windows"));
    for (int32_t i = 0; i < fieldCount; ++i) {
        const InputField& input = tool.inputs[i];
        labels[i] = MakeLabel(this, QString(), LabelColour, Colours.panel);
        labels[i]->setObjectName(QStringLiteral("label%1").arg(i));
        auto* field = new QLineEdit(DefaultText(input), this);
        field->setObjectName(QStringLiteral("field%1").arg(i));
        field->setStyle(editStyle);
        SetColours(field, QPalette::Text, FieldTextColour, QPalette::Base, Colours.panel);
        // Named by the label as written: the line break the layout may insert is no part of the name.
        field->setAccessibleName(QStringFromUtf16(input.label));
        char16_t description[LineTextCapacity];
        FieldAccessibleDescription(input, description, LineTextCapacity);
        field->setAccessibleDescription(QStringFromUtf16(description));
        labels[i]->setBuddy(field);
        fields[i] = field;
        if (input.unit != nullptr && input.unit[0] != 0) {
            units[i] = MakeLabel(this, QStringFromUtf16(input.unit), LabelColour, Colours.panel);
            units[i]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            units[i]->setObjectName(QStringLiteral("unit%1").arg(i));
        }
    }
    for (const ResultRow& row : ResultRows) {
        if (row.control != ResultControl::Status) MakeResultControl(row);
    }
    for (const ButtonRow& row : ButtonRows) {
        const auto b = static_cast<int32_t>(row.button);
        buttons[b] = new PaintedButton(row, this);
        buttons[b]->setObjectName(QStringLiteral("button%1").arg(1001 + b));
        const KeyAction command = ButtonCommand(row.button);
        connect(buttons[b], &QAbstractButton::clicked, this, [this, command] { Run(command); });
    }
    // After the buttons, where a screen reader meets it on the bar.
    MakeResultControl(ResultRowOf(ResultControl::Status));
    char16_t reference[LineTextCapacity];
    ReferenceLineText(tool, reference, LineTextCapacity);
    ResultLabel(ResultControl::Verdict)->setText(QStringFromUtf16(InitialVerdictText));
    ResultLabel(ResultControl::Advice)->setText(QStringFromUtf16(tool.advice));
    ResultLabel(ResultControl::Reference)->setText(QStringFromUtf16(reference));
    announcer = MakeAnnouncement(this);
    const Box& status = ResultRowOf(ResultControl::Status).box;
    announcer->setGeometry(status.x, status.y, 1, 1);
    // Children are deleted in the order they joined, so the style joins last.
    if (editStyle) editStyle->setParent(this);
}

void MainWindow::MakeResultControl(const ResultRow& row) {
    static const char* const names[ResultControlCount] = {"verdict", "report", "advice", "reference", "status"};
    const auto index = static_cast<int32_t>(row.control);
    if (row.control == ResultControl::Report) {
        reportBox = new QPlainTextEdit(this);
        reportBox->setReadOnly(true);
        reportBox->setAccessibleName(QStringFromUtf16(ReportBoxName));
        reportBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        reportBox->setLineWrapMode(row.wraps ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        reportBox->setStyle(editStyle);
        reportBox->verticalScrollBar()->setStyle(editStyle);
        reportBox->horizontalScrollBar()->setStyle(editStyle);
        SetColours(reportBox, QPalette::Text, row.textColour, QPalette::Base, row.background);
        results[index] = reportBox;
    } else {
        QLabel* label = MakeLabel(this, QString(), row.textColour, row.background);
        label->setAlignment(AlignmentOf(row.align, row.centredVertically));
        label->setWordWrap(row.wraps);
        results[index] = label;
    }
    results[index]->setObjectName(QLatin1String(names[index]));
}

QLabel* MainWindow::ResultLabel(ResultControl control) const {
    return static_cast<QLabel*>(results[static_cast<int32_t>(control)]);
}

void MainWindow::LayOut() {
    const auto put = [this](QWidget* widget, const Box& box, FontRole font) {
        widget->setFont(Font(font));
        widget->setGeometry(ScaledBox(box, fit));
    };
    for (int32_t i = 0; i < fieldCount; ++i) {
        put(fields[i], FieldBox(i), FontRole::Field);
        if (units[i] != nullptr) put(units[i], UnitBox(i), FontRole::Small);
        const char16_t* text = state->tool->inputs[i].label;
        const LabelLayout layout = LayOutLabel(text, ScaleLength(LabelBoxWidth, fit), LabelWidthInFont, &fonts);
        QString caption = QStringFromUtf16(text);
        if (layout.breakAt > 0) caption.insert(layout.breakAt, QLatin1Char('\n'));
        const LabelAlignment alignment = LabelAlignmentOf(layout);
        labels[i]->setText(caption);
        labels[i]->setAlignment(AlignmentOf(alignment.horizontal, alignment.centredVertically));
        put(labels[i], LabelBoxOf(layout, i), layout.smallFont ? FontRole::Small : FontRole::Label);
        labels[i]->setToolTip(alignment.wholeOnHover ? QStringFromUtf16(text) : QString());
    }
    for (const ResultRow& row : ResultRows) put(results[static_cast<int32_t>(row.control)], row.box, row.font);
    for (const ButtonRow& row : ButtonRows) {
        PaintedButton* button = buttons[static_cast<int32_t>(row.button)];
        put(button, row.box, FontRole::Button);
        button->SetFocusMark(FocusMarkAt(fit));
    }
    setFixedSize(ScaleLength(ClientWidth, fit), ScaleLength(ClientHeight, fit));
    ShowStatus();
}

void MainWindow::ApplyScale(double factor) {
    fit = factor;
    for (size_t role = 0; role < fonts.size(); ++role)
        fonts[role].setPixelSize(qMax(1, ScaleLength(baseFonts[role].pixelSize(), fit)));
    LayOut();
    update();
}

void MainWindow::FitInto(const QRect& workArea, const QMargins& frame) {
    const int frameWidth = frame.left() + frame.right();
    const int frameHeight = frame.top() + frame.bottom();
    const double factor = FitFactor(workArea.width(), workArea.height(), frameWidth, frameHeight, 1.0);
    if (factor != fit) ApplyScale(factor);
    const ScreenRect placed = PlacedWindow({workArea.x(), workArea.y(), workArea.width(), workArea.height()},
                                           width() + frameWidth, height() + frameHeight);
    move(placed.x, placed.y);  // a window's position is that of its frame
}

void MainWindow::FitToCurrentScreen() {
    const QWindow* handle = windowHandle();
    const QScreen* screen = handle != nullptr ? handle->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    QMargins frame = handle != nullptr ? handle->frameMargins() : QMargins();
    // Before the window manager has framed the window its frame is unknown: allow for a title bar and borders
    // until it is known.
    if (frame.isNull()) frame = QMargins(1, 30, 1, 1);
    fittedFrame = frame;
    FitInto(screen->availableGeometry(), frame);
}

bool MainWindow::event(QEvent* event) {
    // The window manager tells the frame's size only once it has framed the window; fit again then.
    if (event->type() == QEvent::Move && windowHandle() != nullptr && !windowHandle()->frameMargins().isNull() &&
        !fittedFrame.isNull() && windowHandle()->frameMargins() != fittedFrame) {
        FitToCurrentScreen();
    }
    return QWidget::event(event);
}

void MainWindow::paintEvent(QPaintEvent* event) {
    // Only what intersects the dirty rectangle is drawn: a status change then costs one small box, not a
    // whole-window fill. The painted parts are drawn in the 100 % layout's coordinates, scaled as one.
    QPainter painter(this);
    if (fit != 1.0) painter.scale(fit, fit);
    const QRect dirty =
        fit != 1.0 ? painter.transform().inverted().mapRect(event->rect()).adjusted(-1, -1, 1, 1) : event->rect();
    for (int32_t i = 0; i < FillRowCount; ++i) {
        const QRect rect = ScaledBox(FillRows[i].box, 1.0).intersected(dirty);
        if (!rect.isEmpty()) painter.fillRect(rect, QColor::fromRgb(FillRows[i].colour));
    }
    painter.setBrush(Qt::NoBrush);
    for (int32_t i = 0; i < OutlineRowCount; ++i) {
        const QRect rect = ScaledBox(OutlineRows[i].box, 1.0);
        if (!rect.intersects(dirty)) continue;
        painter.setPen(QColor::fromRgb(OutlineRows[i].colour));
        painter.drawRect(rect.adjusted(0, 0, -1, -1));  // a 1-pixel pen draws right of and below the path
    }
    for (int32_t i = 0; i < TextRowCount; ++i) {
        const TextRow& row = TextRows[i];
        const QRect rect = ScaledBox(row.box, 1.0);
        if (!rect.intersects(dirty)) continue;
        painter.setFont(baseFonts[static_cast<size_t>(row.font)]);
        painter.setPen(QColor::fromRgb(row.colour));
        const QString shown = painter.fontMetrics().elidedText(paintedTexts[i], Qt::ElideRight, rect.width());
        painter.drawText(rect, AlignmentOf(row.align, true) | Qt::TextSingleLine, shown);
    }
    // The focus mark of a field or the report box: a ring just outside it, in device pixels at any scale.
    const QWidget* focused = QApplication::focusWidget();
    if (focused != nullptr && focused->parentWidget() == this &&
        dynamic_cast<const PaintedButton*>(focused) == nullptr) {
        painter.resetTransform();
        const FocusMark mark = FocusMarkAt(fit);
        const int out = mark.gap + mark.width;
        FillRing(painter, focused->geometry().adjusted(-out, -out, out, out), mark.width, Colours.focusMark);
    }
}

void MainWindow::MarkFocus(QWidget* old, QWidget* now) {
    const FocusMark mark = FocusMarkAt(fit);
    const int out = mark.gap + mark.width;
    for (const QWidget* widget : {old, now}) {
        if (widget != nullptr && widget->parentWidget() == this)
            update(widget->geometry().adjusted(-out, -out, out, out));
    }
}

// The keyboard rule, watched at application level so that no child widget sees a key first: each key pressed
// in the window is put to KeyActionFor with the control that has the focus, and the answer is applied.
bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    QWidget* target = static_cast<QWidget*>(watched);
    // Message boxes are windows of their own and keep their keys. A key a control passes on travels up to the
    // window: it was decided at the control.
    if (target != this && !isAncestorOf(target)) return false;
    QWidget* focused = QApplication::focusWidget();
    if (target != focused && !(focused == nullptr && target == this)) return false;
    const KeyAction action = KeyActionFor(KeyPressFromEvent(*static_cast<QKeyEvent*>(event)), StopOf(focused));
    if (action == KeyAction::PassOn) return false;
    Run(action);
    return true;
}

void MainWindow::Run(KeyAction action) {
    const ShellServices services = {
        this,
        [](void* shell, int32_t index, char16_t* out, int32_t capacity) {
            const QString text = static_cast<MainWindow*>(shell)->fields[index]->text();
            CopyText(out, capacity, reinterpret_cast<const char16_t*>(text.utf16()));
        },
        LocalTimeNow,
        [](void* shell, char16_t* out, int32_t capacity) {
            const QString& folder = static_cast<MainWindow*>(shell)->recordsFolder;
            CopyText(out, capacity, reinterpret_cast<const char16_t*>(folder.utf16()));
        },
        [](void*, const char16_t* text) { return PutClipboardText(QStringFromUtf16(text)); },
    };
    if (RunCommand(*state, action, services, *outcome)) return Apply(*outcome);
    const FocusStop focused = StopOf(QApplication::focusWidget());
    if (action == KeyAction::SelectAll && focused.kind == StopKind::Field) fields[focused.index]->selectAll();
    if (action != KeyAction::FocusNext && action != KeyAction::FocusPrevious) return;
    const bool backward = action == KeyAction::FocusPrevious;
    const FocusMove move = TabFrom(focused, fieldCount, backward);
    WidgetOf(move.to)->setFocus(backward ? Qt::BacktabFocusReason : Qt::TabFocusReason);
    if (move.selectAll) fields[move.to.index]->selectAll();
}

FocusStop MainWindow::StopOf(const QWidget* widget) const {
    for (int32_t i = 0; i < fieldCount; ++i) {
        if (fields[i] == widget) return {StopKind::Field, i};
    }
    if (widget == reportBox) return {StopKind::ReportBox, 0};
    for (int32_t b = 0; b < WindowButtonCount; ++b) {
        if (buttons[b] == widget) return {StopKind::Button, b};
    }
    return {StopKind::Window, 0};
}

QWidget* MainWindow::WidgetOf(FocusStop stop) const {
    if (stop.kind == StopKind::Field) return fields[stop.index];
    if (stop.kind == StopKind::Button) return buttons[stop.index];
    return reportBox;
}

void MainWindow::Apply(const Outcome& done) {
    const Tool& tool = *state->tool;
    QLabel* verdict = ResultLabel(ResultControl::Verdict);
    if (done.restoreFields) {
        for (int32_t i = 0; i < fieldCount; ++i) fields[i]->setText(DefaultText(tool.inputs[i]));
        ResultLabel(ResultControl::Advice)->setText(QStringFromUtf16(tool.advice));
    }
    if (done.showResult) {
        reportBox->setPlainText(DisplayTextFromUtf16(done.report));
        verdict->setText(DisplayTextFromUtf16(done.verdict));
    }
    ShowVerdictColour();
    ShowStatus();
    if (done.noticeIcon != NoticeIcon::None) {
        // The box takes the focus while it is open; give it back to the control that had it.
        const QPointer<QWidget> before = QApplication::focusWidget();
        noticePresenter(this, done.noticeIcon, QStringFromUtf16(done.noticeCaption),
                        DisplayTextFromUtf16(done.noticeText));
        if (isVisible()) activateWindow();
        if (before != nullptr && isAncestorOf(before) && done.focus == FocusTarget::Unchanged)
            before->setFocus(Qt::OtherFocusReason);
    }
    if (done.focus == FocusTarget::Field && done.focusField < fieldCount)
        fields[done.focusField]->setFocus(Qt::OtherFocusReason);
    // The news is said once by the screen reader: the notification object is shown again with it.
    if (done.announce == Announcement::None) return;
    const bool saysVerdict = done.announce == Announcement::Verdict;
    announcer->setAccessibleName(saysVerdict ? verdict->text() : ResultLabel(ResultControl::Status)->accessibleName());
    announcer->hide();
    announcer->show();
}

void MainWindow::ShowVerdictColour() {
    SetColours(ResultLabel(ResultControl::Verdict), QPalette::WindowText, VerdictColour(*state), QPalette::Window,
               ResultRowOf(ResultControl::Verdict).background);
}

// The status line shows what fits, cut with an ellipsis; a screen reader reads it whole.
void MainWindow::ShowStatus() {
    QLabel* status = ResultLabel(ResultControl::Status);
    const QString text = QStringFromUtf16(state->statusText);
    status->setText(QFontMetrics(status->font()).elidedText(text, Qt::ElideRight, status->width()));
    if (status->accessibleName() != text) status->setAccessibleName(text);
}

void MainWindow::FocusFirstField() {
    if (fieldCount > 0) fields[0]->setFocus(Qt::OtherFocusReason);
}

void PrepareApplication() {
    // Message boxes speak Chinese like the rest of the window: Qt's own translation of its buttons.
    static QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTexts);
    InstallAccessibleWidgets();
}

void PlaceOnScreen(MainWindow& window) {
    window.FitToCurrentScreen();
    window.winId();  // makes the native window, so its screen can be followed
    const auto follow = [&window](QScreen* screen) {
        if (screen == nullptr) return;
        QObject::connect(screen, &QScreen::availableGeometryChanged, &window,
                         [&window] { window.FitToCurrentScreen(); });
    };
    QObject::connect(window.windowHandle(), &QWindow::screenChanged, &window, [&window, follow](QScreen* screen) {
        follow(screen);
        window.FitToCurrentScreen();
    });
    follow(window.windowHandle()->screen());
}

}  // namespace ovra

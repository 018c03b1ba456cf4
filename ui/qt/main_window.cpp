#include "ui/qt/main_window.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QFontMetricsF>
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

#include "ui/qt/accessible_widgets.h"
#include "ui/qt/program_icon.h"
#include "ui/qt/qt_text.h"
#include "ui/screen_fit.h"
#include "ui/window_colours.h"

namespace ovra {
namespace {

constexpr int FullWidth = -1;  // a box that reaches the right edge of the window

struct FillBox {
    int x, y, w, h;
    QRgb colour;
};

struct OutlineBox {
    int x, y, w, h;
    QRgb colour;
};

enum class Painted { Title, SubLine, WebAddress, InputCaption, ResultCaption };
enum class PaintFont { Title, Caption, Small };

struct TextBox {
    int x, y, w, h;  // x below 0 counts from the right edge
    Painted text;
    PaintFont font;
    QRgb colour;
    Qt::Alignment align;
};

// In painting order; later boxes cover earlier ones.
static const FillBox fills[] = {
    {0, 0, FullWidth, WindowHeight, Colours.windowBackground},
    {0, 0, FullWidth, 88, Colours.headerBand},
    {0, 0, 8, 88, Colours.accentStrip},
    {20, 96, 440, 552, Colours.panel},        // left panel
    {476, 96, 524, 552, Colours.panel},       // right panel
    {36, 133, 408, 1, Colours.captionRule},   // rule under the input caption
    {492, 133, 492, 1, Colours.captionRule},  // rule under the result caption
    {0, 660, FullWidth, 60, Colours.buttonBar},
};

static const OutlineBox outlines[] = {
    {20, 96, 440, 552, Colours.panelOutline},
    {476, 96, 524, 552, Colours.panelOutline},
};

static const TextBox texts[] = {
    {26, 12, 700, 38, Painted::Title, PaintFont::Title, Colours.titleText, Qt::AlignLeft},
    {28, 48, 720, 28, Painted::SubLine, PaintFont::Caption, Colours.subLineText, Qt::AlignLeft},
    {-240, 8, 214, 26, Painted::WebAddress, PaintFont::Small, Colours.webAddressText, Qt::AlignRight},
    {36, 104, 300, 30, Painted::InputCaption, PaintFont::Caption, Colours.captionText, Qt::AlignLeft},
    {492, 104, 300, 30, Painted::ResultCaption, PaintFont::Caption, Colours.captionText, Qt::AlignLeft},
};

// The status line is a label, so a screen reader can read it; it stands on the button bar.
const QRect StatusBox(740, 704, 264, 16);

struct ButtonRow {
    int x, w;
};

static const ButtonRow buttonRows[ButtonCount] = {{20, 152}, {184, 132}, {328, 132}, {472, 132}, {616, 110}};
constexpr int ButtonTop = 668;
constexpr int ButtonHeight = 40;
constexpr int FocusMarkWidth = 2;

void SetColours(QWidget* widget, QPalette::ColorRole textRole, QRgb text, QPalette::ColorRole backgroundRole) {
    QPalette palette = widget->palette();
    palette.setColor(textRole, QColor::fromRgb(text));
    palette.setColor(backgroundRole, QColor::fromRgb(Colours.panel));
    widget->setPalette(palette);
}

QLabel* MakeLabel(QWidget* parent, const QString& text, QRgb colour, Qt::Alignment align, bool wrap) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(align);
    label->setWordWrap(wrap);
    label->setAutoFillBackground(true);
    SetColours(label, QPalette::WindowText, colour, QPalette::Window);
    return label;
}

int32_t LabelWidthInFont(const void* shell, const char16_t* text, int32_t length, bool smallFont) {
    const WindowFonts& fonts = *static_cast<const WindowFonts*>(shell);
    const QFontMetricsF metrics(smallFont ? fonts.small : fonts.label);
    return static_cast<int32_t>(std::ceil(metrics.horizontalAdvance(QString::fromUtf16(text, length))));
}

QString PaintedText(Painted which, const FrontEnd& state) {
    char16_t subLine[LineTextCapacity];
    switch (which) {
        case Painted::Title:
            return QStringFromUtf16(state.tool->title);
        case Painted::SubLine:
            SubLineText(*state.tool, subLine, LineTextCapacity);
            return QStringFromUtf16(subLine);
        case Painted::WebAddress:
            return QStringFromUtf16(WebAddress);
        case Painted::InputCaption:
            return QStringLiteral("输入参数");
        case Painted::ResultCaption:
            return QStringLiteral("计算结果");
    }
    return QString();
}

const QFont& FontOf(PaintFont font, const WindowFonts& fonts) {
    switch (font) {
        case PaintFont::Title:
            return fonts.title;
        case PaintFont::Caption:
            return fonts.caption;
        case PaintFont::Small:
            break;
    }
    return fonts.small;
}

// One line, vertically centred, cut with an ellipsis where it does not fit.
void DrawTextBox(QPainter& painter, const QRect& rect, const QString& text, const QFont& font, const TextBox& box) {
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(box.colour));
    const QString shown = painter.fontMetrics().elidedText(text, Qt::ElideRight, rect.width());
    painter.drawText(rect, box.align | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}

QFont ScaledFont(const QFont& base, double factor) {
    QFont font = base;
    font.setPixelSize(qMax(1, static_cast<int>(std::lround(base.pixelSize() * factor))));
    return font;
}

// Edges are scaled, not sizes, so boxes that meet at 100 % still meet.
QRect ScaledBox(const QRect& box, double factor) {
    const auto at = [factor](int v) { return static_cast<int>(std::lround(v * factor)); };
    return QRect(QPoint(at(box.left()), at(box.top())),
                 QPoint(at(box.x() + box.width()) - 1, at(box.y() + box.height()) - 1));
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
    char16_t folder[1024];
    const bool whole = RecordsFolderFromEnvironment(xdgDataHome.c_str(), home.c_str(), folder, 1024);
    return whole ? QStringFromUtf16(folder) : QString();
}

MainWindow::MainWindow(const Tool& tool, const QString& recordsFolder)
    : state(std::make_unique<FrontEnd>()),
      outcome(std::make_unique<Outcome>()),
      recordsFolder(recordsFolder),
      fonts(MakeWindowFonts()),
      noticePresenter(ShowMessageBox),
      keyRule(*this) {
    InstallAccessibleWidgets();  // before any control exists: interfaces are made once per object
    StartFrontEnd(*state, tool);
    baseFonts = fonts;
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(QStringFromUtf16(tool.title));
    setWindowIcon(ProgramIcon());
    setFixedSize(WindowWidth, WindowHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);  // paintEvent covers the whole window
    CreateControls();
    connect(qApp, &QApplication::focusChanged, this, &MainWindow::MarkFocus);
    qApp->installEventFilter(&keyRule);
}

MainWindow::~MainWindow() { qApp->removeEventFilter(&keyRule); }

const QFont& MainWindow::FontFor(FontRole role) const {
    switch (role) {
        case FontRole::Label:
            return fonts.label;
        case FontRole::Field:
            return fonts.field;
        case FontRole::Verdict:
            return fonts.verdict;
        case FontRole::Report:
            return fonts.report;
        case FontRole::Button:
            return fonts.button;
        case FontRole::Small:
            break;
    }
    return fonts.small;
}

void MainWindow::Place(QWidget* widget, const QRect& box, FontRole font) {
    placed.push_back({widget, box, font});
    widget->setFont(FontFor(font));
    widget->setGeometry(ScaledBox(box, fit));
}

void MainWindow::CreateControls() {
    const Tool& tool = *state->tool;
    // The plain sunken edges of the "Windows" style match the edit controls of the layout and paint in a
    // fraction of the time of the default style's rounded, antialiased frames.
    editStyle = QStyleFactory::create(QStringLiteral("Windows"));
    for (int32_t i = 0; i < tool.inputCount && i < MaxInputs; ++i) {
        const InputField& input = tool.inputs[i];
        const int rowTop = 150 + 34 * i;
        labels[i] = MakeLabel(this, QString(), Colours.labelText, Qt::AlignRight, false);
        labels[i]->setObjectName(QStringLiteral("label%1").arg(i));
        char16_t text[64];
        DefaultFieldText(input, text, 64);
        QLineEdit* field = new QLineEdit(QStringFromUtf16(text), this);
        field->setObjectName(QStringLiteral("field%1").arg(i));
        Place(field, QRect(216, rowTop - 4, 152, 27), FontRole::Field);
        if (editStyle) field->setStyle(editStyle);
        SetColours(field, QPalette::Text, Colours.bodyText, QPalette::Base);
        // Named by the label as written: the line break the layout may insert is no part of the name.
        field->setAccessibleName(QStringFromUtf16(input.label));
        char16_t description[256];
        FieldAccessibleDescription(input, description, 256);
        field->setAccessibleDescription(QStringFromUtf16(description));
        labels[i]->setBuddy(field);
        fields[i] = field;
        if (input.unit != nullptr && input.unit[0] != 0) {
            QLabel* unit =
                MakeLabel(this, QStringFromUtf16(input.unit), Colours.labelText, Qt::AlignLeft | Qt::AlignTop, false);
            unit->setObjectName(QStringLiteral("unit%1").arg(i));
            Place(unit, QRect(374, rowTop, 78, 22), FontRole::Small);
        }
    }
    LayOutLabels();
    verdictLine = MakeLabel(this, QStringFromUtf16(InitialVerdictText), 0, Qt::AlignLeft | Qt::AlignTop, false);
    verdictLine->setObjectName(QStringLiteral("verdict"));
    Place(verdictLine, QRect(492, 142, 492, 46), FontRole::Verdict);
    ShowVerdictColour();
    reportBox = new QPlainTextEdit(this);
    reportBox->setObjectName(QStringLiteral("report"));
    Place(reportBox, QRect(492, 196, 492, 232), FontRole::Report);
    reportBox->setReadOnly(true);
    reportBox->setAccessibleName(QStringFromUtf16(ReportBoxName));
    reportBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    if (editStyle) {
        reportBox->setStyle(editStyle);
        reportBox->verticalScrollBar()->setStyle(editStyle);
        reportBox->horizontalScrollBar()->setStyle(editStyle);
    }
    SetColours(reportBox, QPalette::Text, Colours.bodyText, QPalette::Base);
    adviceText = MakeLabel(this, QStringFromUtf16(tool.advice), Colours.bodyText, Qt::AlignLeft | Qt::AlignTop, true);
    adviceText->setObjectName(QStringLiteral("advice"));
    Place(adviceText, QRect(492, 444, 492, 120), FontRole::Small);
    char16_t reference[LineTextCapacity];
    ReferenceLineText(tool, reference, LineTextCapacity);
    QLabel* referenceLine =
        MakeLabel(this, QStringFromUtf16(reference), Colours.labelText, Qt::AlignLeft | Qt::AlignTop, true);
    referenceLine->setObjectName(QStringLiteral("reference"));
    Place(referenceLine, QRect(492, 576, 492, 56), FontRole::Small);

    void (MainWindow::*const commands[ButtonCount])() = {&MainWindow::RunCalculate, &MainWindow::RunSave,
                                                         &MainWindow::RunCopy, &MainWindow::RunReset,
                                                         &MainWindow::RunAbout};
    for (int b = 0; b < ButtonCount; ++b) {
        const auto which = static_cast<WindowButton>(b);
        auto* button =
            new PaintedButton(QStringFromUtf16(WindowButtonCaption(which)), b == CalculateButton, fonts.button, this);
        button->setObjectName(QStringLiteral("button%1").arg(1001 + b));
        Place(button, QRect(buttonRows[b].x, ButtonTop, buttonRows[b].w, ButtonHeight), FontRole::Button);
        const QString key = QStringFromUtf16(WindowButtonKeyHint(which));
        if (!key.isEmpty()) {
            button->setToolTip(key);
            button->setAccessibleDescription(key);
        }
        connect(button, &QAbstractButton::clicked, this, commands[b]);
        buttons[b] = button;
    }
    statusLine = MakeLabel(this, QString(), Colours.statusText, Qt::AlignRight | Qt::AlignVCenter, false);
    statusLine->setObjectName(QStringLiteral("status"));
    statusLine->setAutoFillBackground(false);  // it stands on the painted button bar
    Place(statusLine, StatusBox, FontRole::Small);
    announcer = MakeAnnouncement(this);
    announcer->setGeometry(StatusBox.x(), StatusBox.y(), 1, 1);
    ShowStatus();
    // Children are deleted in the order they joined, so the style joins last.
    if (editStyle) editStyle->setParent(this);
}

// Each label laid out in the current fonts and box width; at 100 % exactly as before any scaling.
void MainWindow::LayOutLabels() {
    const Tool& tool = *state->tool;
    const int boxWidth = static_cast<int>(std::lround(LabelBoxWidth * fit));
    for (int32_t i = 0; i < tool.inputCount && i < MaxInputs; ++i) {
        const InputField& input = tool.inputs[i];
        const LabelLayout layout = LayOutLabel(input.label, boxWidth, LabelWidthInFont, &fonts);
        QString caption = QStringFromUtf16(input.label);
        if (layout.breakAt > 0) caption.insert(layout.breakAt, QLatin1Char('\n'));
        // One line in the small font is centred so that its baseline meets that of the label font.
        const LabelBox place = LabelBoxOf(layout, i);
        const Qt::Alignment vertical = layout.smallFont ? Qt::AlignVCenter : Qt::AlignTop;
        // A label that cannot fit even so keeps its beginning in view, and shows whole on hover.
        const Qt::Alignment horizontal = layout.fits ? Qt::AlignRight : Qt::AlignLeft;
        QLabel* label = labels[i];
        label->setText(caption);
        label->setFont(layout.smallFont ? fonts.small : fonts.label);
        label->setAlignment(horizontal | vertical);
        label->setGeometry(ScaledBox(QRect(place.x, place.y, place.width, place.height), fit));
        label->setToolTip(layout.fits ? QString() : QStringFromUtf16(input.label));
    }
}

void MainWindow::ApplyScale(double factor) {
    fit = factor;
    fonts = WindowFonts{ScaledFont(baseFonts.title, fit),   ScaledFont(baseFonts.caption, fit),
                        ScaledFont(baseFonts.label, fit),   ScaledFont(baseFonts.field, fit),
                        ScaledFont(baseFonts.verdict, fit), ScaledFont(baseFonts.report, fit),
                        ScaledFont(baseFonts.button, fit),  ScaledFont(baseFonts.small, fit)};
    for (const Placed& control : placed) {
        control.widget->setFont(FontFor(control.font));
        control.widget->setGeometry(ScaledBox(control.box, fit));
    }
    LayOutLabels();
    setFixedSize(ScaledBox(QRect(0, 0, WindowWidth, WindowHeight), fit).size());
    ShowStatus();
    update();
}

void MainWindow::FitInto(const QRect& workArea, const QMargins& frame) {
    const int frameWidth = frame.left() + frame.right();
    const int frameHeight = frame.top() + frame.bottom();
    const double factor = FitFactor(workArea.width(), workArea.height(), frameWidth, frameHeight, 1.0);
    if (factor != fit) ApplyScale(factor);
    // Centred in the work area; held at its top left corner where even the smallest layout is too big.
    const int x = workArea.x() + qMax(0, (workArea.width() - width() - frameWidth) / 2);
    const int y = workArea.y() + qMax(0, (workArea.height() - height() - frameHeight) / 2);
    move(x, y);  // a window's position is that of its frame
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
    const int w = WindowWidth;
    for (const FillBox& box : fills) {
        const QRect rect = QRect(box.x, box.y, box.w == FullWidth ? w - box.x : box.w, box.h).intersected(dirty);
        if (!rect.isEmpty()) painter.fillRect(rect, QColor::fromRgb(box.colour));
    }
    painter.setBrush(Qt::NoBrush);
    for (const OutlineBox& box : outlines) {
        if (!QRect(box.x, box.y, box.w, box.h).intersects(dirty)) continue;
        painter.setPen(QColor::fromRgb(box.colour));
        painter.drawRect(box.x, box.y, box.w - 1, box.h - 1);  // a 1-pixel pen draws right of and below the path
    }
    for (const TextBox& box : texts) {
        const QRect rect(box.x < 0 ? w + box.x : box.x, box.y, box.w, box.h);
        if (rect.intersects(dirty))
            DrawTextBox(painter, rect, PaintedText(box.text, *state), FontOf(box.font, baseFonts), box);
    }
    // The focus mark of a field or the report box: a ring just outside it, in device pixels at any scale.
    const QWidget* focused = QApplication::focusWidget();
    if (focused != nullptr && focused->parentWidget() == this &&
        dynamic_cast<const PaintedButton*>(focused) == nullptr) {
        painter.resetTransform();
        const QRect ring =
            focused->geometry().adjusted(-FocusMarkWidth, -FocusMarkWidth, FocusMarkWidth, FocusMarkWidth);
        const QColor mark = QColor::fromRgb(Colours.focusMark);
        painter.fillRect(ring.x(), ring.y(), ring.width(), FocusMarkWidth, mark);
        painter.fillRect(ring.x(), ring.bottom() - FocusMarkWidth + 1, ring.width(), FocusMarkWidth, mark);
        painter.fillRect(ring.x(), ring.y(), FocusMarkWidth, ring.height(), mark);
        painter.fillRect(ring.right() - FocusMarkWidth + 1, ring.y(), FocusMarkWidth, ring.height(), mark);
    }
}

void MainWindow::MarkFocus(QWidget* old, QWidget* now) {
    for (const QWidget* widget : {old, now}) {
        if (widget != nullptr && widget->parentWidget() == this)
            update(widget->geometry().adjusted(-FocusMarkWidth, -FocusMarkWidth, FocusMarkWidth, FocusMarkWidth));
    }
}

void MainWindow::RunCalculate() {
    const Tool& tool = *state->tool;
    QString texts[MaxInputs];
    const char16_t* fieldTexts[MaxInputs] = {};
    for (int32_t i = 0; i < tool.inputCount && i < MaxInputs; ++i) {
        texts[i] = fields[i]->text();
        fieldTexts[i] = reinterpret_cast<const char16_t*>(texts[i].utf16());
    }
    Calculate(*state, fieldTexts, *outcome);
    Apply(*outcome);
    if (outcome->showResult) Announce(verdictLine->text());
}

void MainWindow::RunSave() {
    const bool attempted = state->lastReport[0] != 0;
    const std::u16string folder = recordsFolder.toStdU16String();
    SaveRecord(*state, LocalTimeNow(), folder.c_str(), *outcome);
    Apply(*outcome);
    if (attempted) Announce(statusLine->accessibleName());
}

void MainWindow::RunCopy() {
    CopyResult(*state, *outcome);
    if (outcome->setClipboard) FinishCopy(*state, PutClipboardText(QStringFromUtf16(outcome->clipboard)), *outcome);
    Apply(*outcome);
    if (outcome->setClipboard) Announce(statusLine->accessibleName());
}

void MainWindow::RunReset() {
    ResetInputs(*state, *outcome);
    Apply(*outcome);
    Announce(statusLine->accessibleName());
}

void MainWindow::RunAbout() {
    ShowAbout(*state, *outcome);
    Apply(*outcome);
}

void MainWindow::Run(KeyAction action) {
    switch (action) {
        case KeyAction::Calculate:
            return RunCalculate();
        case KeyAction::Save:
            return RunSave();
        case KeyAction::Copy:
            return RunCopy();
        case KeyAction::Reset:
            return RunReset();
        case KeyAction::About:
            return RunAbout();
        case KeyAction::FocusNext:
        case KeyAction::FocusPrevious: {
            const int32_t count = qMin(state->tool->inputCount, MaxInputs);
            const FocusStop next =
                NextFocusStop(StopOf(QApplication::focusWidget()), count, action == KeyAction::FocusPrevious);
            QWidget* widget = WidgetOf(next);
            widget->setFocus(action == KeyAction::FocusNext ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            if (next.kind == StopKind::Field) fields[next.index]->selectAll();
            return;
        }
        case KeyAction::PassOn:
        case KeyAction::Swallow:
            return;
    }
}

FocusStop MainWindow::StopOf(const QWidget* widget) const {
    if (widget == nullptr) return {StopKind::Window, 0};
    for (int32_t i = 0; i < MaxInputs; ++i) {
        if (fields[i] != nullptr && fields[i] == widget) return {StopKind::Field, i};
    }
    if (widget == reportBox) return {StopKind::ReportBox, 0};
    for (int b = 0; b < ButtonCount; ++b) {
        if (buttons[b] == widget) return {StopKind::Button, b};
    }
    return {StopKind::Window, 0};
}

QWidget* MainWindow::WidgetOf(FocusStop stop) const {
    switch (stop.kind) {
        case StopKind::Field:
            return fields[stop.index];
        case StopKind::Button:
            return buttons[stop.index];
        case StopKind::ReportBox:
        case StopKind::Window:
            break;
    }
    return reportBox;
}

void MainWindow::Apply(const Outcome& done) {
    const Tool& tool = *state->tool;
    if (done.restoreFields) {
        for (int32_t i = 0; i < tool.inputCount && i < MaxInputs; ++i) {
            char16_t text[64];
            DefaultFieldText(tool.inputs[i], text, 64);
            fields[i]->setText(QStringFromUtf16(text));
        }
        adviceText->setText(QStringFromUtf16(tool.advice));
    }
    if (done.showResult) {
        reportBox->setPlainText(DisplayTextFromUtf16(done.report));
        verdictLine->setText(DisplayTextFromUtf16(done.verdict));
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
    if (done.focus == FocusTarget::Field && done.focusField < MaxInputs && fields[done.focusField] != nullptr) {
        fields[done.focusField]->setFocus(Qt::OtherFocusReason);
    }
}

void MainWindow::ShowVerdictColour() {
    SetColours(verdictLine, QPalette::WindowText, VerdictColour(*state), QPalette::Window);
}

// The status line shows what fits, cut with an ellipsis; a screen reader reads it whole.
void MainWindow::ShowStatus() {
    const QString text = QStringFromUtf16(state->statusText);
    statusLine->setText(QFontMetrics(statusLine->font()).elidedText(text, Qt::ElideRight, statusLine->width()));
    if (statusLine->accessibleName() != text) statusLine->setAccessibleName(text);
}

// A new verdict or status is said once by the screen reader: the notification object is shown again with it.
void MainWindow::Announce(const QString& text) {
    announcer->setAccessibleName(text);
    announcer->hide();
    announcer->show();
}

void MainWindow::FocusFirstField() {
    if (state->tool->inputCount > 0) fields[0]->setFocus(Qt::OtherFocusReason);
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
    QWindow* handle = window.windowHandle();
    QObject::connect(handle, &QWindow::screenChanged, &window, [&window](QScreen* screen) {
        if (screen == nullptr) return;
        QObject::connect(screen, &QScreen::availableGeometryChanged, &window,
                         [&window] { window.FitToCurrentScreen(); });
        window.FitToCurrentScreen();
    });
    if (QScreen* screen = handle->screen()) {
        QObject::connect(screen, &QScreen::availableGeometryChanged, &window,
                         [&window] { window.FitToCurrentScreen(); });
    }
}

}  // namespace ovra

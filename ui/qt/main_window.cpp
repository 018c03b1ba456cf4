#include "ui/qt/main_window.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QFontMetricsF>
#include <QMessageBox>
#include <QPainter>
#include <QScrollBar>
#include <QStyleFactory>
#include <cmath>

#include "ui/qt/program_icon.h"
#include "ui/qt/qt_text.h"

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

enum class Painted { Title, SubLine, WebAddress, InputCaption, ResultCaption, Status };
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
    {0, 0, FullWidth, WindowHeight, 0xF4F7F9},  // window background
    {0, 0, FullWidth, 88, 0x006C96},            // header band
    {0, 0, 8, 88, 0x0084B0},                    // accent strip
    {20, 96, 440, 552, 0xFFFFFF},               // left panel
    {476, 96, 524, 552, 0xFFFFFF},              // right panel
    {36, 133, 408, 1, 0xE4EAEE},                // rule under the input caption
    {492, 133, 492, 1, 0xE4EAEE},               // rule under the result caption
    {0, 660, FullWidth, 60, 0xECF1F4},          // button bar
};

static const OutlineBox outlines[] = {
    {20, 96, 440, 552, 0xDAE2E8},
    {476, 96, 524, 552, 0xDAE2E8},
};

static const TextBox texts[] = {
    {26, 12, 700, 38, Painted::Title, PaintFont::Title, 0xFFFFFF, Qt::AlignLeft},
    {28, 48, 720, 28, Painted::SubLine, PaintFont::Caption, 0xD6ECF6, Qt::AlignLeft},
    {-240, 8, 214, 26, Painted::WebAddress, PaintFont::Small, 0xBEDCEB, Qt::AlignRight},
    {36, 104, 300, 30, Painted::InputCaption, PaintFont::Caption, 0x006C96, Qt::AlignLeft},
    {492, 104, 300, 30, Painted::ResultCaption, PaintFont::Caption, 0x006C96, Qt::AlignLeft},
    {740, 704, 264, 16, Painted::Status, PaintFont::Small, 0x78848E, Qt::AlignRight},
};

struct ButtonRow {
    const char16_t* caption;
    int x, w;
};

static const ButtonRow buttonRows[ButtonCount] = {
    {u"计算 (F5)", 20, 152}, {u"保存记录", 184, 132}, {u"复制结果", 328, 132},
    {u"清空重填", 472, 132}, {u"关于", 616, 110},
};
constexpr int ButtonTop = 668;
constexpr int ButtonHeight = 40;

constexpr QRgb LabelColour = 0x78848E;
constexpr QRgb TextColour = 0x2C3842;

void SetColours(QWidget* widget, QPalette::ColorRole textRole, QRgb text, QPalette::ColorRole backgroundRole) {
    QPalette palette = widget->palette();
    palette.setColor(textRole, QColor::fromRgb(text));
    palette.setColor(backgroundRole, Qt::white);
    widget->setPalette(palette);
}

QLabel* MakeLabel(QWidget* parent, const QString& text, const QRect& box, const QFont& font, QRgb colour,
                  Qt::Alignment align, bool wrap) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(box);
    label->setFont(font);
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
        case Painted::Status:
            return QStringFromUtf16(state.statusText);
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

void ShowMessageBox(QWidget* owner, NoticeIcon icon, const QString& caption, const QString& text) {
    QMessageBox box(icon == NoticeIcon::Warning ? QMessageBox::Warning : QMessageBox::Information, caption, text,
                    QMessageBox::Ok, owner);
    box.exec();
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
    StartFrontEnd(*state, tool);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(QStringFromUtf16(tool.title));
    setWindowIcon(ProgramIcon());
    setFixedSize(WindowWidth, WindowHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);  // paintEvent covers the whole window
    CreateControls();
    qApp->installEventFilter(&keyRule);
}

MainWindow::~MainWindow() { qApp->removeEventFilter(&keyRule); }

void MainWindow::CreateControls() {
    const Tool& tool = *state->tool;
    // The plain sunken edges of the "Windows" style match the edit controls of the layout and paint in a
    // fraction of the time of the default style's rounded, antialiased frames.
    editStyle = QStyleFactory::create(QStringLiteral("Windows"));
    for (int32_t i = 0; i < tool.inputCount && i < MaxInputs; ++i) {
        const InputField& input = tool.inputs[i];
        const int rowTop = 150 + 34 * i;
        const LabelLayout layout = LayOutLabel(input.label, LabelBoxWidth, LabelWidthInFont, &fonts);
        QString caption = QStringFromUtf16(input.label);
        if (layout.breakAt > 0) caption.insert(layout.breakAt, QLatin1Char('\n'));
        // One line in the small font is centred so that its baseline meets that of the label font.
        const LabelBox place = LabelBoxOf(layout, i);
        const QRect box(place.x, place.y, place.width, place.height);
        const Qt::Alignment vertical = layout.smallFont ? Qt::AlignVCenter : Qt::AlignTop;
        // A label that cannot fit even so keeps its beginning in view, and shows whole on hover.
        const Qt::Alignment horizontal = layout.fits ? Qt::AlignRight : Qt::AlignLeft;
        QLabel* label = MakeLabel(this, caption, box, layout.smallFont ? fonts.small : fonts.label, LabelColour,
                                  horizontal | vertical, false);
        label->setObjectName(QStringLiteral("label%1").arg(i));
        if (!layout.fits) label->setToolTip(QStringFromUtf16(input.label));
        char16_t text[64];
        DefaultFieldText(input, text, 64);
        QLineEdit* field = new QLineEdit(QStringFromUtf16(text), this);
        field->setObjectName(QStringLiteral("field%1").arg(i));
        field->setGeometry(216, rowTop - 4, 152, 27);
        field->setFont(fonts.field);
        if (editStyle) field->setStyle(editStyle);
        SetColours(field, QPalette::Text, TextColour, QPalette::Base);
        fields[i] = field;
        if (input.unit != nullptr && input.unit[0] != 0) {
            QLabel* unit = MakeLabel(this, QStringFromUtf16(input.unit), QRect(374, rowTop, 78, 22), fonts.small,
                                     LabelColour, Qt::AlignLeft | Qt::AlignTop, false);
            unit->setObjectName(QStringLiteral("unit%1").arg(i));
        }
    }
    verdictLine = MakeLabel(this, QStringFromUtf16(InitialVerdictText), QRect(492, 142, 492, 46), fonts.verdict, 0,
                            Qt::AlignLeft | Qt::AlignTop, false);
    verdictLine->setObjectName(QStringLiteral("verdict"));
    ShowVerdictColour();
    reportBox = new QPlainTextEdit(this);
    reportBox->setObjectName(QStringLiteral("report"));
    reportBox->setGeometry(492, 196, 492, 232);
    reportBox->setFont(fonts.report);
    reportBox->setReadOnly(true);
    reportBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    if (editStyle) {
        reportBox->setStyle(editStyle);
        reportBox->verticalScrollBar()->setStyle(editStyle);
        reportBox->horizontalScrollBar()->setStyle(editStyle);
    }
    SetColours(reportBox, QPalette::Text, TextColour, QPalette::Base);
    adviceText = MakeLabel(this, QStringFromUtf16(tool.advice), QRect(492, 444, 492, 120), fonts.small, TextColour,
                           Qt::AlignLeft | Qt::AlignTop, true);
    adviceText->setObjectName(QStringLiteral("advice"));
    char16_t reference[LineTextCapacity];
    ReferenceLineText(tool, reference, LineTextCapacity);
    QLabel* referenceLine = MakeLabel(this, QStringFromUtf16(reference), QRect(492, 576, 492, 56), fonts.small,
                                      LabelColour, Qt::AlignLeft | Qt::AlignTop, true);
    referenceLine->setObjectName(QStringLiteral("reference"));

    void (MainWindow::*const commands[ButtonCount])() = {&MainWindow::RunCalculate, &MainWindow::RunSave,
                                                         &MainWindow::RunCopy, &MainWindow::RunReset,
                                                         &MainWindow::RunAbout};
    for (int b = 0; b < ButtonCount; ++b) {
        auto* button =
            new PaintedButton(QStringFromUtf16(buttonRows[b].caption), b == CalculateButton, fonts.button, this);
        button->setObjectName(QStringLiteral("button%1").arg(1001 + b));
        button->setGeometry(buttonRows[b].x, ButtonTop, buttonRows[b].w, ButtonHeight);
        connect(button, &QAbstractButton::clicked, this, commands[b]);
        buttons[b] = button;
    }
    // Children are deleted in the order they joined, so the style joins last.
    if (editStyle) editStyle->setParent(this);
}

void MainWindow::paintEvent(QPaintEvent* event) {
    // Only what intersects the dirty rectangle is drawn: a status change then costs one small box, not a
    // whole-window fill.
    const QRect dirty = event->rect();
    QPainter painter(this);
    const int w = width();
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
            DrawTextBox(painter, rect, PaintedText(box.text, *state), FontOf(box.font, fonts), box);
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
}

void MainWindow::RunSave() {
    const std::u16string folder = recordsFolder.toStdU16String();
    SaveRecord(*state, LocalTimeNow(), folder.c_str(), *outcome);
    Apply(*outcome);
}

void MainWindow::RunCopy() {
    CopyResult(*state, *outcome);
    Apply(*outcome);
}

void MainWindow::RunReset() {
    ResetInputs(*state, *outcome);
    Apply(*outcome);
}

void MainWindow::RunAbout() {
    ShowAbout(*state, *outcome);
    Apply(*outcome);
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
    if (done.setClipboard) QGuiApplication::clipboard()->setText(QStringFromUtf16(done.clipboard));
    // The children repaint themselves; of the painted texts only the status line changes.
    for (const TextBox& box : texts) {
        if (box.text == Painted::Status) update(box.x, box.y, box.w, box.h);
    }
    if (done.noticeIcon != NoticeIcon::None) {
        noticePresenter(this, done.noticeIcon, QStringFromUtf16(done.noticeCaption),
                        DisplayTextFromUtf16(done.noticeText));
    }
    if (done.focus == FocusTarget::Field && done.focusField < MaxInputs && fields[done.focusField] != nullptr) {
        fields[done.focusField]->setFocus(Qt::OtherFocusReason);
    }
}

void MainWindow::ShowVerdictColour() {
    SetColours(verdictLine, QPalette::WindowText, VerdictColourFromLevel(state->lastLevel), QPalette::Window);
}

void MainWindow::MoveFieldFocus(int step) {
    const int32_t count = qMin(state->tool->inputCount, MaxInputs);
    if (count <= 0) return;
    int32_t current = -1;
    for (int32_t i = 0; i < count; ++i) {
        if (fields[i]->hasFocus()) current = i;
    }
    const int32_t next = current < 0 ? (step > 0 ? 0 : count - 1) : (current + step + count) % count;
    fields[next]->setFocus(Qt::TabFocusReason);
    fields[next]->selectAll();
}

void MainWindow::FocusFirstField() {
    if (state->tool->inputCount > 0) fields[0]->setFocus(Qt::OtherFocusReason);
}

}  // namespace ovra

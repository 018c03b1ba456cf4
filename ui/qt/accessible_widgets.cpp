#include "ui/qt/accessible_widgets.h"

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLineEdit>

#include "ui/qt/main_window.h"

namespace ovra {
namespace {

class NotificationWidget : public QWidget {
   public:
    using QWidget::QWidget;
};

// Qt 6.4.2 (Debian 12) loops for ever in QAccessibleTextInterface::textAtOffset when a screen reader asks a
// line edit for words (Orca's Ctrl+Left). This interface answers every boundary itself, in one bounded pass
// over the field's short text. Remove it once the Qt we ship against answers these queries itself.
class FieldAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
   public:
    explicit FieldAccessible(QLineEdit* edit) : QAccessibleWidget(edit, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) return Edit()->text();
        return QAccessibleWidget::text(kind);
    }
    void setText(QAccessible::Text kind, const QString& text) override {
        if (kind == QAccessible::Value && !Edit()->isReadOnly()) Edit()->setText(text);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = !Edit()->isReadOnly();
        state.readOnly = Edit()->isReadOnly();
        state.selectableText = true;
        return state;
    }

    // Selection and caret: a line edit has one selection.
    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (index != 0 || !Edit()->hasSelectedText()) return;
        *start = Edit()->selectionStart();
        *end = Edit()->selectionEnd();
    }
    int selectionCount() const override { return Edit()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index == 0) Edit()->deselect();
    }
    void setSelection(int index, int start, int end) override {
        if (index == 0) Edit()->setSelection(start, end - start);
    }
    int cursorPosition() const override { return Edit()->cursorPosition(); }
    void setCursorPosition(int position) override { Edit()->setCursorPosition(position); }

    QString text(int start, int end) const override { return Edit()->text().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(Edit()->text().size()); }
    QRect characterRect(int offset) const override {
        const QString text = Edit()->text();
        if (offset < 0 || offset >= text.size()) return QRect();
        const QFontMetrics metrics(Edit()->font());
        const QRect inside = Edit()->contentsRect().adjusted(2, 0, 0, 0);  // the style's text margin
        const int x = inside.x() + metrics.horizontalAdvance(text.left(offset));
        const QRect box(x, inside.y() + (inside.height() - metrics.height()) / 2,
                        metrics.horizontalAdvance(text.mid(offset, 1)), metrics.height());
        return QRect(Edit()->mapToGlobal(box.topLeft()), box.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        return Edit()->cursorPositionAt(Edit()->mapFromGlobal(point));
    }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        if (offset < 0 || offset > *end) *start = *end = -1;
        return QString();
    }

    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* start, int* end) const override {
        const QString text = Edit()->text();
        return Piece(text, Segment(text, Normalised(offset), boundary), start, end);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* start, int* end) const override {
        const QString text = Edit()->text();
        const Range at = Segment(text, Normalised(offset), boundary);
        const Range before = at.start > 0 ? Segment(text, at.start - 1, boundary) : Range{-1, -1};
        return Piece(text, before, start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* start, int* end) const override {
        const QString text = Edit()->text();
        const Range at = Segment(text, Normalised(offset), boundary);
        const Range after = at.start >= 0 && at.end < text.size() ? Segment(text, at.end, boundary) : Range{-1, -1};
        return Piece(text, after, start, end);
    }

   private:
    struct Range {
        int start, end;  // -1, -1: none
    };

    QLineEdit* Edit() const { return static_cast<QLineEdit*>(widget()); }

    // -1 is the end of the text and -2 the caret, as Qt's bridges ask.
    int Normalised(int offset) const {
        if (offset == -1) return characterCount();
        if (offset == -2) return cursorPosition();
        return offset;
    }

    // The piece of `text` that holds `offset`: one character (a surrogate pair whole); a word with the spaces
    // after it; otherwise the whole single line. Every loop steps forward through the text and ends at its end.
    static Range Segment(const QString& text, int offset, QAccessible::TextBoundaryType boundary) {
        const int length = static_cast<int>(text.size());
        if (offset < 0 || offset > length) return {-1, -1};
        switch (boundary) {
            case QAccessible::CharBoundary: {
                if (offset == length) return {length, length};
                int start = offset;
                if (start > 0 && text[start].isLowSurrogate() && text[start - 1].isHighSurrogate()) --start;
                int end = start + 1;
                if (end < length && text[start].isHighSurrogate() && text[end].isLowSurrogate()) ++end;
                return {start, end};
            }
            case QAccessible::WordBoundary: {
                if (offset == length) return {length, length};
                int start = 0;
                for (int end = 0; end < length;) {
                    while (end < length && !text[end].isSpace()) ++end;
                    while (end < length && text[end].isSpace()) ++end;
                    if (offset < end) return {start, end};
                    start = end;
                }
                return {length, length};
            }
            case QAccessible::SentenceBoundary:
            case QAccessible::ParagraphBoundary:
            case QAccessible::LineBoundary:
            case QAccessible::NoBoundary:
                break;
        }
        return {0, length};
    }

    static QString Piece(const QString& text, Range range, int* start, int* end) {
        *start = range.start;
        *end = range.end;
        return range.start < 0 ? QString() : text.mid(range.start, range.end - range.start);
    }
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (object == nullptr || !object->isWidgetType()) return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (className == QLatin1String("QLineEdit")) return new FieldAccessible(static_cast<QLineEdit*>(widget));
    // A top-level window is a frame to assistive technology, as a screen reader expects of an application.
    if (dynamic_cast<MainWindow*>(widget) != nullptr) return new QAccessibleWidget(widget, QAccessible::Window);
    if (dynamic_cast<NotificationWidget*>(widget) != nullptr)
        return new QAccessibleWidget(widget, QAccessible::Notification);
    return nullptr;
}

}  // namespace

void InstallAccessibleWidgets() { QAccessible::installFactory(Factory); }

QWidget* MakeAnnouncement(QWidget* parent) {
    auto* announcement = new NotificationWidget(parent);
    announcement->setObjectName(QStringLiteral("announcement"));
    announcement->setAttribute(Qt::WA_TransparentForMouseEvents);
    return announcement;
}

}  // namespace ovra

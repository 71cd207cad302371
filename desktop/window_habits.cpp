// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window_habits.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLayout>
#include <algorithm>
#include <QGuiApplication>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QWidget>

namespace duoskop {

namespace {

class RecordTableKeys : public QObject {
public:
    RecordTableKeys(QAbstractItemView& table, std::function<void()> open, std::function<void()> remove)
        : QObject(&table), table_(table), open_(std::move(open)), remove_(std::move(remove))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != &table_) return false;
        if (event->type() == QEvent::FocusIn) {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) select_current();
        } else if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->modifiers() & ~Qt::KeypadModifier) return false;
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                open_();
                return true;
            }
            if (key->key() == Qt::Key_Delete) {
                remove_();
                return true;
            }
        }
        return false;
    }

private:
    /// The row the table's cursor stands on becomes the selection, when nothing is selected yet.
    void select_current()
    {
        QItemSelectionModel* selection = table_.selectionModel();
        if (selection == nullptr || table_.model() == nullptr || table_.model()->rowCount() == 0) return;
        if (selection->hasSelection()) return;
        QModelIndex current = selection->currentIndex();
        if (!current.isValid()) current = table_.model()->index(0, 0);
        selection->setCurrentIndex(current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        table_.scrollTo(current);
    }

    QAbstractItemView& table_;
    std::function<void()> open_;
    std::function<void()> remove_;
};

/// The title bar and borders around `window`: as the window manager drew them once it did, else
/// a title bar of the style's height.
QMargins frame_of(const QWidget& window)
{
    const QRect inner = window.geometry();
    const QRect outer = window.frameGeometry();
    const QMargins drawn(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    if (!drawn.isNull()) return drawn;
    return {0, window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window), 0, 0};
}

/// `place_on_screen`; `left_to_window_manager`: a window that fits is not moved.
void place(QWidget& window, bool left_to_window_manager)
{
    const QScreen* screen = window.screen();
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    if (screen == nullptr || !window.isWindow()) return;
    const QRect room = screen->availableGeometry();
    const QMargins frame = frame_of(window);

    // No larger than the room, unless the window cannot be smaller.
    const QSize most(room.width() - frame.left() - frame.right(), room.height() - frame.top() - frame.bottom());
    const QSize size = window.size().boundedTo(most).expandedTo(window.minimumSize());
    const bool resized = size != window.size();
    if (resized) window.resize(size);

    // Inside the room; the top-left corner wins where the window is larger than the room.
    if (!resized && left_to_window_manager) return;
    const QPoint corner = window.pos();  // the outer corner, title bar included
    const int outer_width = size.width() + frame.left() + frame.right();
    const int outer_height = size.height() + frame.top() + frame.bottom();
    const QPoint inside(std::clamp(corner.x(), room.left(), std::max(room.left(), room.right() + 1 - outer_width)),
                        std::clamp(corner.y(), room.top(), std::max(room.top(), room.bottom() + 1 - outer_height)));
    if (inside != corner) window.move(inside);
}

/// Places its window on the screen each time the window is about to be shown.
class ScreenKeeper : public QObject {
public:
    explicit ScreenKeeper(QWidget& window) : QObject(&window), window_(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // A window the window manager is about to place (neither moved by the program nor a dialog
        // over its parent) keeps that placement when it fits.
        if (watched == &window_ && event->type() == QEvent::Show)
            place(window_, !window_.testAttribute(Qt::WA_Moved) && window_.windowType() != Qt::Dialog);
        return false;
    }

private:
    QWidget& window_;
};

}  // namespace

void place_on_screen(QWidget& window) { place(window, false); }

void keep_on_screen(QWidget& window) { window.installEventFilter(new ScreenKeeper(window)); }

void close_on_escape(QWidget& window)
{
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_Escape), &window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, &window, [&window] { window.close(); });
}

void record_table_keys(QAbstractItemView& table, std::function<void()> open, std::function<void()> remove)
{
    table.installEventFilter(new RecordTableKeys(table, std::move(open), std::move(remove)));
}

void grow_to_fit(QWidget& window)
{
    QLayout* layout = window.layout();
    if (layout == nullptr) return;
    layout->activate();
    const int height = layout->hasHeightForWidth() ? layout->totalHeightForWidth(window.width())
                                                    : layout->totalMinimumSize().height();
    const int width = layout->totalMinimumSize().width();
    if (window.height() < height || window.width() < width) {
        window.resize(std::max(window.width(), width), std::max(window.height(), height));
        if (window.isVisible()) place_on_screen(window);
    }
}

}  // namespace duoskop

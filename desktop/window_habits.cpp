// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window_habits.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLayout>
#include <algorithm>
#include <QShortcut>
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

}  // namespace

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
    if (window.height() < height || window.width() < width)
        window.resize(std::max(window.width(), width), std::max(window.height(), height));
}

}  // namespace duoskop

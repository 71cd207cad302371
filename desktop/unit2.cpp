// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/unit2.h"

#include <QButtonGroup>
#include <QFrame>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextLayout>
#include <QTextOption>
#include <cerrno>

#include "base/io_error.h"
#include "desktop/desktop_texts.h"
#include "desktop/qt_desktop.h"
#include "desktop/qt_style.h"
#include "base/texts.h"
#include "results/click.h"
#include "results/report.h"

namespace duoskop {

namespace {

// Where the yellow list begins; the report's text area ends there.
constexpr int list_left = 536;

// The second colour of the result list: entries that hang on the birth time.
const QColor time_bound(0xC0, 0x00, 0x00);

// A report line as one line of the memo: a line break inside it would split the memo's lines.
QString memo_text(std::string_view line)
{
    QString text = to_qt(line);
    text.replace(QChar(u'\n'), QChar(u' '));
    return text;
}

// Prints `lines` and ends the job; empty on success, else the I/O error text. A failed line ends
// the job at once.
std::string print_lines(LineDevice& printer, const std::vector<std::string>& lines)
{
    std::string failure;
    for (const std::string& line : lines) {
        if (!printer.write_line(line)) {
            failure = io_error_text(EIO);
            break;
        }
    }
    if (!printer.close() && failure.empty()) failure = io_error_text(EIO);
    return failure;
}

}  // namespace

TForm2::TForm2(Desktop& desktop, const DriveC& drive, const ChartState& chart,
               const Ktexte& ktexte, QWidget* parent)
    : QDialog(parent), desktop_(desktop), drive_(drive), chart_(chart), ktexte_(ktexte)
{
    setObjectName(QStringLiteral("Form2"));
    // A fixed-size dialog of the main window: a title and a close button, nothing to minimise
    // (that would hide both windows where no taskbar brings them back) or to maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(686, 543);
    setFont(sans_font_pt(8));
    set_colours(this, navy, Qt::white);
    // Modal to the main window only: the dial window beside it follows the list and stays usable.
    setWindowModality(Qt::WindowModal);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    // The text ends where the yellow list begins and scrolls sideways: a wide line keeps its
    // columns in place instead of running under the list and wrapping at the window's edge.
    Memo1->setGeometry(4, 8, list_left - 4, 489);
    Memo1->setFont(mono_font(12));
    Memo1->setReadOnly(true);
    Memo1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    set_colours(Memo1, Qt::white, Qt::black);

    const auto button = [this](const char* name, std::string_view caption, int x, int width) {
        auto* b = new QPushButton(to_qt(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(x, 504, width, 22);
        b->setAutoDefault(false);
        return b;
    };
    Button1 = button("Button1", texts::kButtonSave, 8, 75);
    Button2 = button("Button2", texts::kButtonPrint, 96, 75);
    Button3 = button("Button3", texts::kButtonDone, 608, 75);

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setGeometry(list_left, 18, 121, 470);
    ListBox1->setFont(mono_font(13));
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setUniformItemSizes(true);
    ListBox1->setStyleSheet(QStringLiteral(
        "QListWidget { background: #FFFF00; color: #000080; }"
        "QListWidget::item { height: 16px; }"));

    Button4 = button("Button4", texts::kButtonExport, 288, 305);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(192, 213, 249, 92);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(5);
    set_colours(Panel1, yellow, Qt::black);
    Panel1->hide();

    const auto heading = [this](const char* name, std::string_view caption, int x, int width) {
        auto* label = new QLabel(to_qt(caption), Panel1);
        label->setObjectName(QString::fromLatin1(name));
        label->setTextFormat(Qt::PlainText);
        label->setFont(sans_font_pt(10));
        label->setGeometry(x, 14, width, 16);
        return label;
    };
    Label2 = heading("Label2", texts::kExportPicturesOnly, 24, 102 + 20);
    Label3 = heading("Label3", texts::kExportAll, 152, 22 + 20);

    radio_group_ = new QButtonGroup(this);
    const auto radio = [this](const char* name, std::string_view caption, int x, int y, int width) {
        auto* r = new QRadioButton(to_qt(caption), Panel1);
        r->setObjectName(QString::fromLatin1(name));
        r->setGeometry(x, y, width + 20, 17);
        radio_group_->addButton(r);
        return r;
    };
    RadioButton1 = radio("RadioButton1", texts::kRadioSave, 24, 40, 73);
    RadioButton3 = radio("RadioButton3", texts::kRadioPrint, 24, 56, 65);
    RadioButton2 = radio("RadioButton2", texts::kRadioSave, 152, 40, 73);
    RadioButton4 = radio("RadioButton4", texts::kRadioPrint, 152, 56, 73);

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(Button3, &QPushButton::clicked, this, [this] { accept(); });
    connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
    connect(ListBox1, &QListWidget::clicked, this, [this] { ListBox1Click(); });
    ListBox1->installEventFilter(this);  // Enter on the current entry does what a click does
    connect(ListBox1, &QListWidget::currentRowChanged, this, [this](int row) {
        for (const auto& listener : current_entry_listeners) listener(row);
    });
    // Each export starts when its radio button becomes checked.
    const auto on_checked = [this](QRadioButton* r, void (TForm2::*handler)()) {
        connect(r, &QRadioButton::toggled, this, [this, handler](bool checked) {
            if (checked) (this->*handler)();
        });
    };
    on_checked(RadioButton1, &TForm2::RadioButton1Click);
    on_checked(RadioButton2, &TForm2::RadioButton2Click);
    on_checked(RadioButton3, &TForm2::RadioButton3Click);
    on_checked(RadioButton4, &TForm2::RadioButton4Click);

    Memo1->setPlainText(QString());

    // What a screen reader says: the report and the list read as text under their names; the
    // export's radio buttons, whose captions repeat, say which texts they save or print.
    Memo1->setAccessibleName(to_qt(texts::kA11yReport));
    ListBox1->setAccessibleName(to_qt(texts::kA11yResultList));
    ListBox1->setAccessibleDescription(to_qt(texts::kA11yResultListInfo));
    Panel1->setAccessibleName(to_qt(texts::kA11yExportChoice));
    Button4->setAccessibleDescription(to_qt(texts::kA11yExportInfo));
    RadioButton1->setAccessibleName(to_qt(texts::kA11yPicturesSave));
    RadioButton3->setAccessibleName(to_qt(texts::kA11yPicturesPrint));
    RadioButton2->setAccessibleName(to_qt(texts::kA11yAllSave));
    RadioButton4->setAccessibleName(to_qt(texts::kA11yAllPrint));
}

void TForm2::fill(const ResultText& result)
{
    analysis_title_ = result.analysis_title;
    setWindowTitle(to_qt(result.caption));
    ListBox1->clear();
    entries_ = result.entries;
    entry_charts_ = result.entry_charts;
    lines_ = result.lines;

    QStringList memo;
    memo.reserve(static_cast<qsizetype>(lines_.size()));
    for (const std::string& line : lines_) memo << memo_text(line);
    Memo1->setPlainText(memo.join(QChar(u'\n')));
    for (const std::string& entry : entries_) ListBox1->addItem(to_qt(entry));

    // The report is always shown from its first line and its first column.
    Memo1->moveCursor(QTextCursor::Start);
    Memo1->verticalScrollBar()->setValue(0);
    Memo1->horizontalScrollBar()->setValue(0);
}

void TForm2::present(const ResultText& result, const std::vector<EntryStability>& probe,
                     TimeWindow window)
{
    fill(result);
    mark_time_probe(probe, window);
    exec();
}

bool TForm2::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ListBox1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (QListWidgetItem* current = ListBox1->currentItem()) current->setSelected(true);
            ListBox1Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TForm2::mark_time_probe(const std::vector<EntryStability>& probe, TimeWindow window)
{
    if (probe.size() != static_cast<std::size_t>(ListBox1->count())) return;
    for (int row = 0; row < ListBox1->count(); ++row) {
        const std::string tooltip = stability_tooltip(probe[static_cast<std::size_t>(row)], window);
        if (tooltip.empty()) continue;
        QListWidgetItem* item = ListBox1->item(row);
        item->setForeground(time_bound);
        item->setToolTip(to_qt(tooltip));
    }
}

void TForm2::showEvent(QShowEvent* event)
{
    centre_on_screen(this);
    QDialog::showEvent(event);
    Memo1->verticalScrollBar()->setValue(0);
    Memo1->horizontalScrollBar()->setValue(0);
}

std::vector<std::string> TForm2::saved_lines() const
{
    // The line width of `report_columns` characters of the report's font, half a character to
    // spare: exactly that many fit, one more does not.
    const QFont font = Memo1->font();
    const QFontMetricsF metrics(font);
    const qreal width = metrics.horizontalAdvance(QString(report_columns, QChar(u'x'))) +
                        metrics.horizontalAdvance(QChar(u'x')) / 2;
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);

    std::vector<std::string> pieces;
    pieces.reserve(lines_.size());
    for (const std::string& line : lines_) {
        if (line.size() <= static_cast<std::size_t>(report_columns)) {
            pieces.push_back(line);
            continue;
        }
        QTextLayout layout(memo_text(line), font);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine piece = layout.createLine(); piece.isValid(); piece = layout.createLine())
            piece.setLineWidth(width);
        layout.endLayout();
        // Each character of the widget text stands for one byte of the report line; blanks at a
        // break stay at the end of the piece before it.
        for (int n = 0; n < layout.lineCount(); ++n) {
            const QTextLine piece = layout.lineAt(n);
            const auto start = static_cast<std::size_t>(piece.textStart());
            if (start >= line.size()) break;
            pieces.push_back(line.substr(start, static_cast<std::size_t>(piece.textLength())));
        }
    }
    return pieces;
}

void TForm2::io_error(const std::string& text)
{
    desktop_.message(BoxType::error, text, Buttons::ok);
}

void TForm2::Button1Click()
{
    // A report never replaces an existing file unasked.
    const auto path = desktop_.save_file_asking(drive_.resolve("c:\\").string());
    if (!path) return;
    const std::string failure = write_text_file(*path, saved_lines());
    if (!failure.empty()) io_error(failure);
}

void TForm2::Button2Click()
{
    std::unique_ptr<LineDevice> printer = desktop_.open_printer_named(analysis_title_);
    if (!printer) return;
    std::vector<std::string> lines = {std::string(), std::string()};
    const std::vector<std::string> memo = saved_lines();
    lines.insert(lines.end(), memo.begin(), memo.end());
    if (const std::string failure = print_lines(*printer, lines); !failure.empty()) io_error(failure);
}

void TForm2::ListBox1Click()
{
    const int row = ListBox1->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= entries_.size()) return;
    for (const MessageBox& box : click_display(entries_[static_cast<std::size_t>(row)], ktexte_, drive_))
        desktop_.message(box.kind, box.text, Buttons::ok);
}

void TForm2::Button4Click()
{
    desktop_.message(BoxType::information, texts::kExportChoiceHint, Buttons::ok);
    // Uncheck all four, so that whichever the user clicks becomes checked and starts its export.
    radio_group_->setExclusive(false);
    for (QAbstractButton* b : radio_group_->buttons()) b->setChecked(false);
    radio_group_->setExclusive(true);
    Panel1->show();
    Panel1->raise();
}

void TForm2::RadioButton1Click() { export_to_file(ExportScope::pictures_only); }
void TForm2::RadioButton2Click() { export_to_file(ExportScope::all); }
void TForm2::RadioButton3Click() { export_to_printer(ExportScope::pictures_only); }
void TForm2::RadioButton4Click() { export_to_printer(ExportScope::all); }

void TForm2::export_to_file(ExportScope scope)
{
    std::string failure;
    if (const auto path = desktop_.save_file(drive_.resolve("c:\\").string())) {
        const ExportLines out = export_file_lines(entries_, scope, chart_.person1, chart_.person2,
                                                  analysis_title_, ktexte_, drive_);
        failure = append_text_file(*path, out.lines);
        if (failure.empty()) failure = out.io_error;
    }
    end_export(failure);
}

void TForm2::export_to_printer(ExportScope scope)
{
    std::string failure;
    if (std::unique_ptr<LineDevice> printer = desktop_.open_printer_named(analysis_title_ + std::string(texts::kExportJobSuffix))) {
        const ExportLines out = export_printer_lines(entries_, scope, chart_.person1,
                                                     chart_.person2, analysis_title_, ktexte_, drive_);
        failure = print_lines(*printer, out.lines);
        if (failure.empty()) failure = out.io_error;
    }
    end_export(failure);
}

void TForm2::end_export(const std::string& failure)
{
    if (failure.empty()) Panel1->hide();
    else io_error(failure);  // the panel stays shown
}

}  // namespace duoskop

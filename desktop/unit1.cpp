// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/unit1.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSettings>
#include <QTimer>
#include <array>

#include "analysis/comparisons.h"
#include "app/chart_file.h"
#include "app/dial.h"
#include "app/orb.h"
#include "desktop/appearance.h"
#include "desktop/dial_window.h"
#include "desktop/drive_dialog.h"
#include "desktop/desktop_texts.h"
#include "desktop/help_window.h"
#include "desktop/first_frame.h"
#include "desktop/qt_desktop.h"
#include "desktop/qt_picture.h"
#include "desktop/qt_style.h"
#include "desktop/ranking_window.h"
#include "desktop/report_dialog.h"
#include "report/report_texts.h"
#include "base/texts.h"
#include "astro/un_math.h"
#include "desktop/kartei_window.h"
#include "desktop/extras_menu.h"
#include "desktop/textlib_window.h"
#include "desktop/ephemeris_window.h"
#include "desktop/timeline_window.h"
#include "desktop/unit2.h"
#include "kartei/kartei_texts.h"
#include "textlib/textlib_texts.h"
#include "desktop/zeitprobe.h"

namespace duoskop {

namespace {

/// The setting that remembers "Genaue Positionen".
QString precise_setting() { return QStringLiteral("Extras/GenauePositionen"); }

const QColor light_green(0xC0, 0xDC, 0xC0);
const QColor silver(0xC0, 0xC0, 0xC0);

void set_text_colour(QLabel* label, const QColor& colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

// The probe computes the shifted charts from the source the loaded ones came from.
ProbeOptions probe_options(PositionSource source)
{
    ProbeOptions options;
    options.source = source;
    return options;
}

// The wait cursor while a computation runs on the user-interface thread.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

void set_lines(QPlainTextEdit* memo, const std::vector<std::string>& lines)
{
    QStringList text;
    for (const std::string& line : lines) text << to_qt(line);
    memo->setPlainText(text.join(QChar(u'\n')));
    memo->moveCursor(QTextCursor::Start);
    memo->verticalScrollBar()->setValue(0);
}

}  // namespace

TForm1::TForm1(Desktop& desktop, DriveC drive, QWidget* parent)
    : QMainWindow(parent), desktop_(desktop), drive_(std::move(drive))
{
    setObjectName(QStringLiteral("Form1"));
    keep_desktop_palette(*this);  // the specified colours, whatever "Darstellung" says
    build_controls();
    build_menu();
    FormCreate();
    Form2 = new TForm2(desktop_, drive_, chart, ktexte, this);
    keep_desktop_palette(*Form2);
    install_dial_window(*this, desktop_);
    // The window is in its start state before it first shows, so that behind the opening hint
    // only the menu can be seen.
    start_state();
    time_window = load_time_window();
    ranking_window = new RankingWindow(*this, desktop_, drive_);
    timeline_window = new TimelineWindow(*this, desktop_, drive_);
    ephemeris_window = new EphemerisWindow(*this, desktop_, drive_);
    keep_extras_in_order(*Extras1);
}

TForm1::~TForm1()
{
    // The fields go with the window; their last focus changes are no entries any more.
    ended_ = true;
    for (QObject* watched : std::initializer_list<QObject*>{Edit1, Edit2, Edit3, Label16})
        watched->removeEventFilter(this);
}

void TForm1::build_controls()
{
    setFixedSize(640, 302);
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    set_colours(client, navy, yellow);
    setCentralWidget(client);

    const auto label = [client](const char* name, int x, int y, int w, int h) {
        auto* l = new QLabel(client);
        l->setObjectName(QString::fromLatin1(name));
        l->setTextFormat(Qt::PlainText);  // names and places from chart files are no markup
        l->setFont(sans_font(13, true));
        set_text_colour(l, yellow);
        if (w > 0) l->setGeometry(x, y, w, h);
        else l->move(x, y);
        return l;
    };
    constexpr std::array lefts = {8, 120, 248, 336, 408};
    constexpr std::array widths = {105, 105, 81, 65, 81};
    std::array<QLabel**, 10> row_labels = {&Label1, &Label2, &Label3, &Label4, &Label5,
                                           &Label6, &Label7, &Label8, &Label9, &Label10};
    for (std::size_t i = 0; i < row_labels.size(); ++i) {
        const std::string name = "Label" + std::to_string(i + 1);
        *row_labels[i] = label(name.c_str(), lefts[i % 5], i < 5 ? 8 : 24, widths[i % 5], 16);
    }
    Label14 = label("Label14", 517, 8, 108, 16);
    Label15 = label("Label15", 517, 24, 108, 16);

    Memo1 = new QPlainTextEdit(client);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(8, 48, 617, 83);
    Memo1->setFont(mono_font(12));
    Memo1->setReadOnly(true);
    Memo1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setTabChangesFocus(true);
    Memo1->setFocusPolicy(Qt::StrongFocus);
    set_colours(Memo1, Qt::white, Qt::black);

    Label11 = label("Label11", 176, 168, 0, 0);
    Label11->setText(to_qt(texts::kLabelDoubleOrb));
    Label11->adjustSize();
    Label12 = label("Label12", 176, 200, 0, 0);
    Label12->setText(to_qt(texts::kLabelSimpleOrb));
    Label12->adjustSize();
    Label13 = label("Label13", 352, 178, 0, 0);
    Label13->setFont(sans_font(19, true));
    Label13->setText(to_qt(texts::kLabelOrbExample));
    Label13->adjustSize();

    const auto edit = [this, client](const char* name, int x, int y) {
        auto* e = new QLineEdit(client);
        e->setObjectName(QString::fromLatin1(name));
        e->setGeometry(x, y, 41, 28);
        e->setFont(sans_font(19, false));
        set_colours(e, yellow, navy);
        e->installEventFilter(this);
        return e;
    };
    Edit1 = edit("Edit1", 296, 160);
    Edit2 = edit("Edit2", 296, 192);
    Edit3 = edit("Edit3", 304, 176);
    setTabOrder(Memo1, Edit1);
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Edit3);
    connect(Edit1, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    connect(Edit2, &QLineEdit::textChanged, this, [this] { Edit2Change(); });
    connect(Edit3, &QLineEdit::textChanged, this, [this] { Edit3Change(); });

    Panel2 = new QFrame(client);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(32, 15, 568, 177);
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel2->setLineWidth(4);
    set_colours(Panel2, light_green, Qt::black);

    Image1 = new QLabel(Panel2);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setTextFormat(Qt::PlainText);
    Image1->setGeometry(24, 52, 64, 64);
    Image1->setPixmap(QPixmap::fromImage(decode_jpeg(info_picture_jpeg())));

    Label16 = new QLabel(to_qt(texts::kCloseInfo), Panel2);
    Label16->setObjectName(QStringLiteral("Label16"));
    Label16->setTextFormat(Qt::PlainText);
    Label16->setGeometry(542, 8, 18, 16);
    Label16->setFont(sans_font(13, true));
    Label16->setAlignment(Qt::AlignCenter);
    set_colours(Label16, Qt::white, Qt::black);
    Label16->setCursor(Qt::PointingHandCursor);
    Label16->installEventFilter(this);

    Panel3 = new QFrame(Panel2);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setGeometry(96, 24, 449, 129);
    Panel3->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel3->setLineWidth(3);

    Memo8 = new QPlainTextEdit(Panel3);
    Memo8->setObjectName(QStringLiteral("Memo8"));
    Memo8->setGeometry(8, 8, 433, 113);
    Memo8->setFont(sans_font(13, false));
    Memo8->setReadOnly(true);
    Memo8->setFocusPolicy(Qt::NoFocus);
    set_colours(Memo8, silver, Qt::black);
    Memo8->setPlainText(to_qt(texts::kCredits));
    name_controls();
}

void TForm1::name_controls()
{
    // What a screen reader says of each control: the fields by their labels and what they take,
    // the data labels by the column they stand in (their text stays what they read).
    const auto name = [](QWidget* widget, std::string_view text, std::string_view info = {}) {
        widget->setAccessibleName(to_qt(text));
        if (!info.empty()) widget->setAccessibleDescription(to_qt(info));
    };
    name(Memo1, texts::kA11ySearchAxes, texts::kA11ySearchAxesInfo);
    name(Edit1, texts::kA11yOrbDouble, texts::kA11yOrbDoubleInfo);
    name(Edit2, texts::kA11yOrbSimple, texts::kA11yOrbSimpleInfo);
    name(Edit3, texts::kA11yOrbHalfsum, texts::kA11yOrbHalfsumInfo);
    name(Memo8, texts::kA11yCredits);
    name(Label16, texts::kA11yCloseInfo);
    name(Image1, texts::kA11yPicture);
    const std::array<QLabel*, 10> rows = {Label1, Label2, Label3, Label4, Label5,
                                          Label6, Label7, Label8, Label9, Label10};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string person(i < 5 ? texts::kA11yPerson1 : texts::kA11yPerson2);
        rows[i]->setAccessibleDescription(to_qt(person + std::string(texts::kA11yPersonColumns[i % 5])));
    }
    Label14->setAccessibleDescription(to_qt(texts::kA11yOrbDouble));
    Label15->setAccessibleDescription(to_qt(texts::kA11yOrbSimple));
}

void TForm1::build_menu()
{
    QMenuBar* bar = menuBar();
    const auto entry = [this](auto* owner, const char* name, std::string_view caption,
                              void (TForm1::*handler)()) {
        QAction* action = owner->addAction(to_qt(caption));
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        return action;
    };
    name1 = entry(bar, "name1", texts::kMenuName1, &TForm1::name1Click);
    name2 = entry(bar, "name2", texts::kMenuName2, &TForm1::name2Click);
    Solar1 = entry(bar, "Solar1", texts::kMenuSolar1, &TForm1::Solar1Click);
    mcmc1 = bar->addMenu(to_qt(texts::kMenuMcmc1));
    mcmc1->setObjectName(QStringLiteral("mcmc1"));
    doppelte1 = entry(mcmc1, "doppelte1", texts::kMenuDoppelte1, &TForm1::doppelte1Click);
    einfache1 = entry(mcmc1, "einfache1", texts::kMenuEinfache1, &TForm1::einfache1Click);
    Halbsummen1 = entry(mcmc1, "Halbsummen1", texts::kMenuHalbsummen1, &TForm1::Halbsummen1Click);
    asas1 = entry(bar, "asas1", texts::kMenuAsas1, &TForm1::asas1Click);
    Ende1 = entry(bar, "Ende1", texts::kMenuEnde1, &TForm1::Ende1Click);
    Info1 = entry(bar, "Info1", texts::kMenuInfo1, &TForm1::Info1Click);
    // The additions to the program: one menu right of "Info".
    Extras1 = bar->addMenu(to_qt(texts::kMenuExtras1));
    Extras1->setObjectName(QStringLiteral("Extras1"));
    Kartei1 = entry(Extras1, "Kartei1", texts::kMenuKartei, &TForm1::Kartei1Click);
    // The report needs what the comparisons need: both persons and the orbs.
    Bericht1 = entry(Extras1, "Bericht1", texts::kMenuBericht1, &TForm1::Bericht1Click);
    state_listeners.push_back([this] { Bericht1->setEnabled(Solar1->isEnabled() && !ended_); });
    entry(Extras1, "Textbibliothek1", texts::kMenuTextbibliothek, &TForm1::Textbibliothek1Click);
    Extras1->setToolTipsVisible(true);
    // Always usable, also while the half-sum evaluation waits: it changes no loaded person.
    Zeitprobe1 = entry(Extras1, "Zeitprobe1", texts::kMenuZeitprobe1, &TForm1::Zeitprobe1Click);

    // Precise positions: a check mark, remembered from one run to the next.
    GenauePositionen1 = entry(Extras1, "GenauePositionen1", texts::kMenuGenauePositionen1,
                              &TForm1::GenauePositionen1Click);
    GenauePositionen1->setCheckable(true);
    GenauePositionen1->setToolTip(to_qt(texts::kTipGenauePositionen1));
    const bool precise = QSettings(QStringLiteral("Duoskop"), QStringLiteral("Duoskop"))
                             .value(precise_setting(), false)
                             .toBool();
    position_source_ = precise ? PositionSource::precise : PositionSource::theory;
    GenauePositionen1->setChecked(precise);
    // Drive C: where it is and why; another folder from the next start on.
    LaufwerkC1 = entry(Extras1, "LaufwerkC1", texts::kMenuLaufwerkC1, &TForm1::LaufwerkC1Click);
    // Switching waits, like the comparisons, while the half-sum evaluation waits for its orb.
    state_listeners.push_back([this] { GenauePositionen1->setEnabled(!waiting_ && !ended_); });
    // The manual; F1 opens it at the page of the window one works in.
    entry(Extras1, "Handbuch1", texts::kMenuHandbuch, &TForm1::Handbuch1Click);
    install_appearance_menu(*Extras1);
}

void TForm1::show_caption()
{
    std::string caption(texts::kCaptionMain);
    if (position_source_ == PositionSource::precise) caption += texts::kCaptionPreciseSuffix;
    setWindowTitle(to_qt(caption));
}

void TForm1::GenauePositionen1Click()
{
    const bool precise = GenauePositionen1->isChecked();
    if (ended_ || waiting_) {  // the entry is disabled then; a stray trigger changes nothing
        GenauePositionen1->setChecked(position_source_ == PositionSource::precise);
        return;
    }
    position_source_ = precise ? PositionSource::precise : PositionSource::theory;
    QSettings(QStringLiteral("Duoskop"), QStringLiteral("Duoskop")).setValue(precise_setting(), precise);
    show_caption();
    recompute_persons();
    notify_state();
}

void TForm1::recompute_persons()
{
    // As holen does for each person, from the records read at the loads: no file is read again.
    if (person1_loaded_) {
        chart.birth = werte_aktual(chart.person1);
        chart.pos1 = chart.positions = chart_positions(chart.birth, position_source_);
        show_person(1);
    }
    if (person2_loaded_) {
        chart.birth = werte_aktual(chart.person2);
        chart.pos2 = chart.positions = chart_positions(chart.birth, position_source_);
        form_search_axes(chart.pos1, chart.pos2, chart.axes);
        show_person(2);
        // The half-sum evaluation counts what the simple complements found: count again.
        if (Halbsummen1->isEnabled()) {
            FirstTimeFlags scratch = flags;
            simple_complements(chart, orbs, scratch, halfsum_count);
        }
    }
}

void TForm1::FormCreate()
{
    show_caption();
    flags = FirstTimeFlags{};
    Panel2->hide();
    const KtexteLoadResult loaded = load_ktexte(drive_, ktexte);
    if (loaded.outcome != KtexteOutcome::loaded)
        desktop_.message(BoxType::error, loaded.message, Buttons::ok);
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (shown_once_) return;
    shown_once_ = true;
    centre_on_screen(this);
    // The start state and its hint follow once the window is on the screen.
    after_first_frame(this, [this] { FormShow(); });
}

void TForm1::FormShow()
{
    if (ended_) return;
    if (flags.hint_start) desktop_.message(BoxType::information, texts::kHintStart, Buttons::ok);
    flags.hint_start = false;
    start_state();
}

void TForm1::start_state()
{
    for (QWidget* w : std::initializer_list<QWidget*>{Label11, Label12, Label13, Edit1, Edit2,
                                                      Edit3, Label14, Label15, Memo1})
        w->hide();
    name1->setEnabled(true);
    for (QAction* a : {name2, Solar1, mcmc1->menuAction(), Halbsummen1, asas1, Ende1})
        a->setEnabled(false);
    for (QLabel* l : {Label1, Label2, Label3, Label4, Label5, Label6, Label7, Label8, Label9,
                      Label10, Label14, Label15})
        l->clear();
    Memo1->clear();
    Form2->Panel1->hide();
    person1_loaded_ = false;
    person2_loaded_ = false;
    notify_state();
}

bool TForm1::load(const std::string& path, int person)
{
    const LoadResult result = holen(path, person, chart, position_source_);
    if (result.outcome == LoadOutcome::loaded) {
        show_person(person);
        return true;
    }
    desktop_.message(BoxType::error, result.message, Buttons::ok);
    if (result.ends_program()) end_program(1);
    return false;
}

void TForm1::show_person(int person)
{
    const chart_record& record = person == 1 ? chart.person1 : chart.person2;
    const std::array<QLabel*, 5> row = person == 1
        ? std::array<QLabel*, 5>{Label1, Label2, Label3, Label4, Label5}
        : std::array<QLabel*, 5>{Label6, Label7, Label8, Label9, Label10};
    // An unknown birth time is entered as 12:00:00 and shown in white.
    set_text_colour(row[3], record.time == "12:00:00" ? QColor(Qt::white) : yellow);
    const std::array<const std::string*, 5> fields = {&record.name, &record.first_name,
                                                      &record.date, &record.time, &record.extra};
    for (std::size_t i = 0; i < row.size(); ++i) row[i]->setText(to_qt(" " + *fields[i]));
    if (person != 2) return;

    Memo1->show();
    set_lines(Memo1, search_axis_lines(chart.pos1, chart.pos2, chart.axes));
    Memo1->setFocus();
}

void TForm1::name1Click()
{
    if (ended_) return;
    const auto path = desktop_.open_file(drive_.resolve("c:\\astro\\daten").string());
    if (!path) return;
    name1Open(*path);
}

void TForm1::name1Open(const std::string& path)
{
    if (ended_) return;
    name1->setEnabled(false);
    name2->setEnabled(true);
    if (load(path, 1)) {
        person1_loaded_ = true;
        person1_path_ = path;
    } else if (!ended_) {
        // A file that cannot be opened: back to the start, so that another file can be chosen.
        name1->setEnabled(true);
        name2->setEnabled(false);
    }
    notify_state();
}

void TForm1::name2Click()
{
    if (ended_) return;
    name2Open(desktop_.open_file(drive_.resolve("c:\\astro\\daten").string()));
}

void TForm1::name2Open(const std::optional<std::string>& path)
{
    if (ended_) return;
    if (path) {
        name2->setEnabled(false);
        if (!load(*path, 2)) {
            if (!ended_) name2->setEnabled(true);  // another file can be chosen
            notify_state();
            return;
        }
        person2_loaded_ = true;
        notify_state();
    }
    desktop_.message(BoxType::information,
                     flags.hint_orbs ? texts::kHintOrbsLong : texts::kHintOrbsShort, Buttons::ok);
    flags.hint_orbs = false;
    for (QWidget* w : std::initializer_list<QWidget*>{Label11, Label12, Label13, Edit1, Edit2})
        w->show();
    focus_field(Edit1);
    notify_state();
}

void TForm1::focus_field(QLineEdit* field)
{
    // Typing replaces the text the program offers, Tab takes it over.
    field->selectAll();
    field->setFocus();
}

void TForm1::notify_state()
{
    for (const auto& listener : state_listeners) listener();
}

bool TForm1::read_orb_field(QLineEdit* field, double& orb)
{
    std::string text = from_qt(field->text());
    if (text.size() > 255) text.resize(255);
    const OrbReading reading = read_orb(text);
    orb = reading.value;
    if (!reading.ok) {
        field->clear();
        focus_field(field);
    }
    return reading.ok;
}

void TForm1::Edit1Change()
{
    if (Edit1->text().size() == 3) focus_field(Edit2);
}

void TForm1::Edit2Change()
{
    if (Edit2->text().size() != 3) return;
    // The entry ends by leaving the field; while the memo is hidden (no person 2 since the
    // start) the window itself takes the focus instead.
    if (!Memo1->isHidden()) Memo1->setFocus();
    else centralWidget()->setFocus();
}

void TForm1::Edit3Change()
{
    if (Edit3->text().size() != 3) return;
    if (!Memo1->isHidden()) Memo1->setFocus();
    else centralWidget()->setFocus();
}

void TForm1::Edit1Exit()
{
    read_orb_field(Edit1, orbs.orb_double);
}

void TForm1::Edit2Exit()
{
    if (!read_orb_field(Edit2, orbs.orb_simple)) return;
    Label11->hide();
    Label12->hide();
    Label13->hide();
    Label14->setText(to_qt(std::string(texts::kOrbDoublePrefix) +
                           angle_text(2, 1, orbs.orb_double) + " "));
    Label15->setText(to_qt(std::string(texts::kOrbSimplePrefix) +
                           angle_text(2, 1, orbs.orb_simple) + " "));
    Edit1->hide();
    Edit2->hide();
    Label14->show();
    Label15->show();
    enable_ready();
}

void TForm1::Edit3Exit()
{
    read_orb_field(Edit3, orbs.orb_halfsum);
    if (!waiting_) return;
    if (orbs.orb_halfsum > 0) wait_loop_->quit();
    else focus_field(Edit3);  // the evaluation keeps asking for a positive orb
}

void TForm1::enable_ready()
{
    // The comparisons need person 2 loaded since the last start, and none runs while the
    // half-sum evaluation waits for its orb.
    const bool comparisons = person2_loaded_ && !waiting_;
    Solar1->setEnabled(comparisons);
    mcmc1->menuAction()->setEnabled(comparisons);
    asas1->setEnabled(comparisons);
    Ende1->setEnabled(!waiting_);
    notify_state();
}

void TForm1::present(const ResultText& result, Comparison comparison)
{
    if (!result.hint.empty()) desktop_.message(BoxType::information, result.hint, Buttons::ok);
    std::vector<EntryStability> probe;
    if (!time_window.off() && !result.entries.empty()) {
        const WaitCursor waiting;
        probe = time_probe(comparison, chart, orbs, result.entries, time_window,
                           probe_options(position_source_));
    }
    // The text library's coverage follows each new result while its window is open.
    if (textlib_ != nullptr) textlib_->follow_entries(result.entries);
    if (position_source_ == PositionSource::precise) {
        ResultText shown = result;
        shown.caption += texts::kCaptionPreciseSuffix;
        Form2->present(shown, probe, time_window);
    } else {
        Form2->present(result, probe, time_window);
    }
    // Back to the main window, also where no window manager does it.
    activateWindow();
}

void TForm1::Solar1Click()
{
    if (ended_ || waiting_) return;
    present(solar_axes(chart, orbs, flags), Comparison::solar);
}

void TForm1::doppelte1Click()
{
    if (ended_ || waiting_) return;
    present(double_complements(chart, orbs, flags), Comparison::doubles);
}

void TForm1::einfache1Click()
{
    if (ended_ || waiting_) return;
    const ResultText result = simple_complements(chart, orbs, flags, halfsum_count);
    Halbsummen1->setEnabled(true);
    present(result, Comparison::simples);
}

void TForm1::Halbsummen1Click()
{
    if (ended_ || waiting_) return;
    const std::string hint = take_hint(flags.hint_halfsums, texts::kHintHalfsums);
    if (!hint.empty()) desktop_.message(BoxType::information, hint, Buttons::ok);

    // Wait in the event loop until Edit3 holds a positive orb or the program ends.
    orbs.orb_halfsum = 0;
    waiting_ = true;
    enable_ready();
    Edit3->show();
    focus_field(Edit3);
    QEventLoop loop;
    wait_loop_ = &loop;
    loop.exec();
    wait_loop_ = nullptr;
    waiting_ = false;
    if (ended_) return;
    enable_ready();

    const ResultText result = halfsum_evaluation(chart, orbs, halfsum_count);
    Edit3->hide();
    present(result, Comparison::halfsums);
}

void TForm1::asas1Click()
{
    if (ended_ || waiting_) return;
    present(mc_as_list(chart, orbs), Comparison::list);
}

void TForm1::Ende1Click()
{
    if (ended_ || waiting_) return;
    if (desktop_.message(BoxType::confirmation, texts::kAskRestart, Buttons::yes_no) == Answer::yes)
        FormShow();
    else
        end_program();
}

void TForm1::Info1Click()
{
    Panel2->setVisible(Panel2->isHidden());
    Panel2->raise();
}

void TForm1::Label16Click()
{
    Panel2->hide();
}

void TForm1::Zeitprobe1Click()
{
    TZeitprobe dialog(time_window, this);
    if (dialog.exec() != QDialog::Accepted) return;
    time_window = dialog.window();
    save_time_window(time_window);
}

void TForm1::Bericht1Click()
{
    if (ended_ || !Solar1->isEnabled()) return;
    ReportInputs inputs{&chart, orbs, &ktexte, drive_, position_source_, std::nullopt};
    if (!time_window.off()) inputs.time_window = time_window;
    TBericht dialog(desktop_, std::move(inputs), this);
    dialog.exec();
}

void TForm1::Handbuch1Click()
{
    open_help(*this, "index");
}

void TForm1::end_program(int status)
{
    if (ended_) return;
    // The user ends the program: typing in the text library is saved or given up first, or the
    // program goes on.
    if (status == 0 && textlib_ != nullptr && !textlib_->may_leave_editor()) return;
    ended_ = true;
    if (wait_loop_ != nullptr) wait_loop_->quit();
    if (status == 0) desktop_.end_program();
    else desktop_.end_program_with(status);
}

void TForm1::closeEvent(QCloseEvent* event)
{
    end_program();
    if (ended_) event->accept();
    else event->ignore();  // the text library's typing stays
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        // Leaving a field ends its entry; a box or menu taking the focus for a while does not.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        auto* field = qobject_cast<QLineEdit*>(watched);
        // A refused entry takes the focus back; the field that loses it then is not left by the
        // user, and reading it too would send the focus back and forth between two fields.
        if (field != nullptr && !field->isHidden() && !ended_ && !in_exit_ &&
            reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            in_exit_ = true;
            if (field == Edit1) Edit1Exit();
            else if (field == Edit2) Edit2Exit();
            else if (field == Edit3) Edit3Exit();
            in_exit_ = false;
        }
    } else if (event->type() == QEvent::MouseButtonRelease && watched == Label16) {
        Label16Click();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::LaufwerkC1Click()
{
    choose_drive_c(desktop_, drive_);
}

void TForm1::Textbibliothek1Click()
{
    if (textlib_ == nullptr) {
        textlib_ = new TextlibWindow(desktop_, drive_, this);
        // The coverage follows the result list of the last comparison.
        textlib_->set_entries_source([this] { return Form2->entries(); });
        // A saved single meaning shows at the next click of an entry, as a saved picture does.
        textlib_->set_on_saved([this](const Ktexte& saved) { ktexte = saved; });
    }
    textlib_->show();
    textlib_->raise();
    textlib_->activateWindow();
}

void TForm1::Kartei1Click()
{
    if (kartei_ == nullptr) kartei_ = new KarteiWindow(desktop_, drive_, this, this);
    kartei_->show();
    kartei_->raise();
    kartei_->activateWindow();
}

}  // namespace duoskop

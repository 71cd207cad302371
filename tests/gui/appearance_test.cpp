// SPDX-License-Identifier: GPL-3.0-or-later
// Light and dark: every text of the pictures and of the additions' windows is readable in both
// colour sets, the dial follows a change of the palette, the main window keeps its colours, and
// the dial is drawn, not enlarged, at device pixel ratio 2.
#include <QAction>
#include <QImage>
#include <QSettings>
#include <QStyle>
#include <QTest>
#include <QTreeWidget>
#include <functional>

#include "desktop/appearance.h"
#include "desktop/dial_window.h"
#include "desktop/picture_colours.h"
#include "fixture.h"

using namespace duoskop;
using namespace duoskop::test;

namespace {

DialWindow* open_dial(TForm1& form)
{
    form.Extras1->findChild<QAction*>(QStringLiteral("Scheibe1"))->trigger();
    DialWindow* window = dial_window_of(form);
    if (window != nullptr) (void)QTest::qWaitForWindowExposed(window);
    return window;
}

// A grab of the canvas into an image of its size times `ratio`, at that device pixel ratio.
QImage canvas_at(DialCanvas& canvas, qreal ratio)
{
    QImage image(canvas.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    canvas.render(&image);
    return image;
}

}  // namespace

class AppearanceTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { apply_appearance(Appearance::system); }
    void contrastFollowsWcag();
    void everyPairIsReadableInBothSets();
    void setFollowsTheWindowColour();
    void choiceComesFromEnvironmentOrSetting();
    void paletteChangeRepaintsTheDial();
    void dialIsDrawnAtPixelRatio2();
};

void AppearanceTest::contrastFollowsWcag()
{
    QCOMPARE(contrast_ratio(Qt::black, Qt::white), 21.0);
    QCOMPARE(contrast_ratio(Qt::white, Qt::black), 21.0);
    QCOMPARE(contrast_ratio(QColor(0x12, 0x34, 0x56), QColor(0x12, 0x34, 0x56)), 1.0);
    // #777777 on white just misses the bar for text, #767676 just reaches it.
    QVERIFY(contrast_ratio(QColor(0x77, 0x77, 0x77), Qt::white) < 4.5);
    QVERIFY(contrast_ratio(QColor(0x76, 0x76, 0x76), Qt::white) >= 4.5);
    QVERIFY(qAbs(contrast_ratio(QColor(0x00, 0x00, 0xFF), Qt::white) - 8.59) < 0.01);
}

void AppearanceTest::everyPairIsReadableInBothSets()
{
    // What stands on what: text needs 4.5 : 1, lines and marks 3 : 1.
    constexpr double text = 4.5;
    constexpr double line = 3.0;
    struct Pair {
        const char* what;
        QColor PictureColours::*front;
        QColor PictureColours::*back;
        double least;
    };
    using P = PictureColours;
    const Pair pairs[] = {
        {"scale numbers on the face", &P::scale, &P::face, text},
        {"person 1's codes on the face", &P::person1, &P::face, text},
        {"person 2's codes on the face", &P::person2, &P::face, text},
        {"person 1's corner text", &P::person1, &P::background, text},
        {"person 2's corner text", &P::person2, &P::background, text},
        {"marked code of person 1", &P::person1, &P::highlight, text},
        {"marked code of person 2", &P::person2, &P::highlight, text},
        {"outline of a marked code", &P::text, &P::highlight, line},
        {"pointer text on its plate", &P::pointer, &P::pointer_fill, text},
        {"movers' codes on the face", &P::movers, &P::face, text},
        {"movers' curves on the background", &P::movers, &P::background, text},
        {"ephemeris grid numbers", &P::grid, &P::background, text},
        {"tree text on the background", &P::text, &P::background, text},
        {"refusal on the background", &P::refused, &P::background, text},
        {"pointer on the face", &P::pointer, &P::face, line},
        {"pointer on the background", &P::pointer, &P::background, line},
        {"target lines", &P::target_lines, &P::background, line},
        {"hit circles", &P::hits, &P::background, line},
    };
    for (const auto& [name, set] : {std::pair{"light", light_colours()}, std::pair{"dark", dark_colours()}}) {
        for (const Pair& pair : pairs) {
            const double ratio = contrast_ratio(set.*pair.front, set.*pair.back);
            QVERIFY2(ratio >= pair.least, qPrintable(QStringLiteral("%1, %2: %3 : 1")
                                                         .arg(QLatin1String(name), QLatin1String(pair.what))
                                                         .arg(ratio, 0, 'f', 2)));
        }
    }
    // The additions' windows: their texts on their grounds in the light and the dark palette,
    // and the pictures' colours in the dial window's tree and the chart index on the base colour.
    using R = QPalette::ColorRole;
    const std::pair<R, R> roles[] = {
        {QPalette::WindowText, QPalette::Window},     {QPalette::Text, QPalette::Base},
        {QPalette::Text, QPalette::AlternateBase},    {QPalette::ButtonText, QPalette::Button},
        {QPalette::HighlightedText, QPalette::Highlight}, {QPalette::ToolTipText, QPalette::ToolTipBase},
        {QPalette::Link, QPalette::Base},             {QPalette::PlaceholderText, QPalette::Base},
    };
    for (const auto& [name, palette] : {std::pair{"light", light_palette()}, std::pair{"dark", dark_palette()}}) {
        for (const auto& [front, back] : roles) {
            if (front == QPalette::PlaceholderText && palette.color(front).alpha() < 255) continue;
            const double ratio = contrast_ratio(palette.color(front), palette.color(back));
            QVERIFY2(ratio >= text, qPrintable(QStringLiteral("%1 palette, role %2 on %3: %4 : 1")
                                                   .arg(QLatin1String(name))
                                                   .arg(front)
                                                   .arg(back)
                                                   .arg(ratio, 0, 'f', 2)));
        }
        const PictureColours set = colours_for(palette);
        for (const QColor& colour : {set.person1, set.person2, set.text, set.refused})
            QVERIFY2(contrast_ratio(colour, palette.color(QPalette::Base)) >= text &&
                         contrast_ratio(colour, palette.color(QPalette::Window)) >= text,
                     qPrintable(QStringLiteral("%1 palette: %2").arg(QLatin1String(name), colour.name())));
    }
}

void AppearanceTest::setFollowsTheWindowColour()
{
    const auto set_for = [](const QColor& window) { return colours_for(QPalette(window)).background; };
    QCOMPARE(set_for(Qt::white), light_colours().background);
    QCOMPARE(set_for(QColor(0x80, 0x80, 0x80)), light_colours().background);  // lightness 50 %
    QCOMPARE(set_for(QColor(0x7F, 0x7F, 0x7F)), dark_colours().background);
    QCOMPARE(set_for(QColor(0x00, 0x00, 0x80)), dark_colours().background);   // navy is dark
    QCOMPARE(colours_for(dark_palette()).background, dark_colours().background);
    QCOMPARE(colours_for(light_palette()).background, light_colours().background);
}

void AppearanceTest::choiceComesFromEnvironmentOrSetting()
{
    QStandardPaths::setTestModeEnabled(true);
    QSettings settings(QStringLiteral("Duoskop"), QStringLiteral("Duoskop"));
    settings.remove(QStringLiteral("Darstellung"));
    qunsetenv("DUOSKOP_DARSTELLUNG");
    QVERIFY(chosen_appearance() == Appearance::system);
    remember_appearance(Appearance::dark);
    QVERIFY(chosen_appearance() == Appearance::dark);
    // The environment wins over the setting; a word it does not know leaves the setting.
    const std::pair<const char*, Appearance> words[] = {
        {"hell", Appearance::light}, {"DUNKEL", Appearance::dark}, {"system", Appearance::system},
        {"grau", Appearance::dark},  {"", Appearance::dark}};
    for (const auto& [word, expected] : words) {
        qputenv("DUOSKOP_DARSTELLUNG", word);
        QVERIFY2(chosen_appearance() == expected, word);
    }
    qunsetenv("DUOSKOP_DARSTELLUNG");
    remember_appearance(Appearance::system);
}

void AppearanceTest::paletteChangeRepaintsTheDial()
{
    Fixture fx;
    fx.ready();
    TForm1& form = *fx.form;
    const QPalette main_before = form.palette();
    const QColor field_before = form.Edit1->palette().color(QPalette::Base);
    const QPalette result_before = form.Form2->palette();
    DialWindow* dial = open_dial(form);
    QVERIFY(dial != nullptr);
    dial->set_pointer(3.0);
    DialCanvas& canvas = *dial->canvas();
    const auto corner = [&canvas] { return canvas.grab().toImage().pixelColor(1, 1); };
    // The tree's first point of person 1 or 2 and its colour.
    const auto person_row_colour = [dial]() -> QColor {
        std::function<QColor(QTreeWidgetItem*)> find = [&find](QTreeWidgetItem* item) -> QColor {
            for (int i = 0; i < item->childCount(); ++i) {
                const QColor c = item->child(i)->foreground(0).color();
                if (c == light_colours().person1 || c == dark_colours().person1 || c == light_colours().person2 ||
                    c == dark_colours().person2)
                    return c;
                if (const QColor deeper = find(item->child(i)); deeper.isValid()) return deeper;
            }
            return {};
        };
        return find(dial->PointerList->topLevelItem(0));
    };
    QCOMPARE(canvas.scene.colours.background, light_colours().background);
    QCOMPARE(corner(), light_colours().background);
    const QColor light_row = person_row_colour();
    QVERIFY(light_row == light_colours().person1 || light_row == light_colours().person2);

    // "Dunkel" from the Extras menu: the dial and its tree turn dark at once, and it is kept.
    QAction* dunkel = form.Extras1->findChild<QAction*>(QStringLiteral("DarstellungDunkel"));
    QVERIFY(dunkel != nullptr && dunkel->isCheckable());
    dunkel->trigger();
    QApplication::processEvents();
    QVERIFY(dunkel->isChecked());
    QCOMPARE(canvas.scene.colours.person1, dark_colours().person1);
    QCOMPARE(corner(), dark_colours().background);
    const QColor dark_row = person_row_colour();
    QVERIFY(dark_row == dark_colours().person1 || dark_row == dark_colours().person2);
    QVERIFY(chosen_appearance() == Appearance::dark);
    // The main window keeps its colours.
    QCOMPARE(form.palette(), main_before);
    QCOMPARE(form.Edit1->palette().color(QPalette::Base), field_before);
    QCOMPARE(form.Form2->palette(), result_before);
    // Saved pictures stay light.
    const std::string png = (fx.drive / "scheibe.png").string();
    QVERIFY(dial->save_png(png));
    QCOMPARE(QImage(QString::fromStdString(png)).pixelColor(1, 1), light_colours().background);

    // A light application palette brings the light set back.
    apply_appearance(Appearance::light);
    QApplication::processEvents();
    QCOMPARE(corner(), light_colours().background);
    QCOMPARE(person_row_colour(), light_row);
    form.Extras1->findChild<QAction*>(QStringLiteral("DarstellungSystem"))->trigger();
    QVERIFY(chosen_appearance() == Appearance::system);
    dial->close();
}

void AppearanceTest::dialIsDrawnAtPixelRatio2()
{
    Fixture fx;
    fx.ready();
    DialWindow* dial = open_dial(*fx.form);
    QVERIFY(dial != nullptr);
    dial->set_pointer(7.5);
    DialCanvas& canvas = *dial->canvas();
    const QImage one = canvas_at(canvas, 1);
    const QImage two = canvas_at(canvas, 2);
    // The same picture on twice as many pixels each way ...
    QCOMPARE(two.size(), canvas.size() * 2);
    QCOMPARE(two.deviceIndependentSize(), QSizeF(canvas.size()));
    QCOMPARE(one.size(), canvas.size());
    // ... drawn anew, not the picture at 1 enlarged pixel by pixel.
    const QImage enlarged = one.scaled(one.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                                .convertToFormat(two.format());
    QVERIFY(two != enlarged);
    int differ = 0;
    for (int y = 0; y < two.height(); y += 3)
        for (int x = 0; x < two.width(); x += 3)
            if (two.pixel(x, y) != enlarged.pixel(x, y)) ++differ;
    QVERIFY2(differ > 100, qPrintable(QString::number(differ)));
    // Both show the dial at the same place: the background in the corner, the face in the middle.
    QCOMPARE(two.pixelColor(2, 2), one.pixelColor(1, 1));
    dial->close();
}

QTEST_MAIN(AppearanceTest)
#include "appearance_test.moc"

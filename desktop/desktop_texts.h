// SPDX-License-Identifier: GPL-3.0-or-later
// The German texts of the desktop's own, as Windows-1252 bytes: the manual's window and pages, and
// the names and descriptions a screen reader reads for the controls of the windows.
#pragma once

#include <iterator>
#include <string_view>

namespace duoskop::texts {

// The manual ("Handbuch"): its Extras entry, its window and its pages in the order of its contents.
inline constexpr std::string_view kMenuHandbuch =
    "Han&dbuch \x85";
inline constexpr std::string_view kHelpCaption =
    "Duoskop-Handbuch";
inline constexpr std::string_view kHelpSearch =
    "&Suchen:";
inline constexpr std::string_view kHelpSearchHint =
    "W\xF6rter im Handbuch \x85";
inline constexpr std::string_view kHelpContents =
    "Inhalt";
inline constexpr std::string_view kHelpPageMissing =
    "Diese Seite des Handbuchs fehlt: ";
/// A page of the manual: its file in the manual's folder (without ".md") and its title.
struct HelpPageTitle {
    std::string_view page;
    std::string_view title;
};
inline constexpr HelpPageTitle kHelpPages[] = {
    {"index", "\xDC" "bersicht"},
    {"hauptfenster", "Hauptfenster"},
    {"ergebnisse", "Ergebnisse"},
    {"kartei", "Horoskop-Kartei"},
    {"textbibliothek", "Textbibliothek"},
    {"bericht", "Bericht"},
    {"scheibe", "Scheibe"},
    {"zeitprobe", "Zeitprobe"},
    {"rangliste", "Partner-Rangliste"},
    {"ausloesungen", "Ausl\xF6sungen"},
    {"ephemeride", "Grafische Ephemeride"},
    {"genaue-positionen", "Genaue Positionen"},
    {"laufwerk-c", "Laufwerk C"},
};
static_assert(std::size(kHelpPages) == 13);

// The colours of the additions' windows and pictures ("Darstellung" in the Extras menu).
inline constexpr std::string_view kMenuDarstellung = "D&arstellung";
inline constexpr std::string_view kDarstellungSystem = "S&ystem";
inline constexpr std::string_view kDarstellungHell = "&Hell";
inline constexpr std::string_view kDarstellungDunkel = "&Dunkel";
inline constexpr std::string_view kTipDarstellung =
    "Helle oder dunkle Farben f\xFCr Scheibe, Ausl\xF6sungen, Rangliste, Textbibliothek, Bericht und Handbuch";

// Names and descriptions for a screen reader. The main window:
inline constexpr std::string_view kA11ySearchAxes = "Suchachsen";
inline constexpr std::string_view kA11ySearchAxesInfo =
    "MC und Sonne beider Personen und die sechs Suchachsen MC1/MC1 bis SO2/SO2";
inline constexpr std::string_view kA11yOrbDouble = "Doppelter Orbis";
inline constexpr std::string_view kA11yOrbDoubleInfo =
    "Orbis der sechs Suchachsen und der Sonnenachse, eine Stelle vor und eine nach dem Komma, z. B. 1,0";
inline constexpr std::string_view kA11yOrbSimple = "Einfacher Orbis";
inline constexpr std::string_view kA11yOrbSimpleInfo =
    "Orbis der halben und einfachen Erg\xE4nzungen in den MC- und AS-Achsen, z. B. 0,5";
inline constexpr std::string_view kA11yOrbHalfsum = "Orbis der Halbsummen";
inline constexpr std::string_view kA11yOrbHalfsumInfo =
    "Orbis der MC-AS-Halbsummen, eine Stelle vor und eine nach dem Komma, z. B. 0,3";
inline constexpr std::string_view kA11yCredits = "Angaben zum Programm";
inline constexpr std::string_view kA11yCloseInfo = "Info schlie\xDF" "en";
inline constexpr std::string_view kA11yPicture = "Bild des Programms";
/// The columns of a person's row in the main window, after "Person 1: " or "Person 2: ".
inline constexpr std::string_view kA11yPersonColumns[] = {
    "Name", "Vorname", "Geburtsdatum", "Geburtszeit (Weltzeit)", "Zusatz"};
static_assert(std::size(kA11yPersonColumns) == 5);
inline constexpr std::string_view kA11yPerson1 = "Person 1: ";
inline constexpr std::string_view kA11yPerson2 = "Person 2: ";
// The result window:
inline constexpr std::string_view kA11yReport = "Bericht des Vergleichs";
inline constexpr std::string_view kA11yResultList = "Ergebnisliste";
inline constexpr std::string_view kA11yResultListInfo =
    "Die Planetenbilder des Vergleichs; Enter oder ein Klick zeigt den Deutungstext";
inline constexpr std::string_view kA11yExportChoice = "Texte speichern oder drucken";
inline constexpr std::string_view kA11yPicturesSave = "Nur PL-Bild-Texte speichern";
inline constexpr std::string_view kA11yPicturesPrint = "Nur PL-Bild-Texte drucken";
inline constexpr std::string_view kA11yAllSave = "Alle Texte speichern";
inline constexpr std::string_view kA11yAllPrint = "Alle Texte drucken";
inline constexpr std::string_view kA11yExportInfo =
    "Die Deutungstexte aller Eintr\xE4ge der Ergebnisliste";
// The chart index, the text library, the partner ranking and the report dialog:
inline constexpr std::string_view kA11yCharts = "Horoskop-Dateien";
inline constexpr std::string_view kA11yChartsInfo =
    "Enter bearbeitet die gew\xE4hlte Datei, Entf l\xF6scht sie; ein Klick auf einen Spaltenkopf sortiert";
inline constexpr std::string_view kA11yTlFilter = "Suche in den Texten";
inline constexpr std::string_view kA11yTlList = "Texte";
inline constexpr std::string_view kA11yTlListInfo = "Formel und erste Zeile jedes Textes";
inline constexpr std::string_view kA11yTlFormula = "Formel";
inline constexpr std::string_view kA11yTlEditor = "Text";
inline constexpr std::string_view kA11yTlEditorInfo =
    "Ein Bildtext hat h\xF6" "chstens 14 Zeilen zu 73 Zeichen, eine Einzelbedeutung eine Zeile zu 80";
inline constexpr std::string_view kA11yTlVersions = "Aufgehobene Versionen";
inline constexpr std::string_view kA11yTlCoverage = "Eintr\xE4" "ge des letzten Vergleichs";
inline constexpr std::string_view kA11yTlOther = "Text der anderen Sammlung";
inline constexpr std::string_view kA11yRankTable = "Partner-Rangliste";
inline constexpr std::string_view kA11yRankTableInfo = "Ein Doppelklick l\xE4" "dt den Partner als Person 2";
inline constexpr std::string_view kA11yRankProblems = "Nicht geladene Dateien";
inline constexpr std::string_view kA11yHalfsumOrb = "Orbis der Halbsummen";
inline constexpr std::string_view kA11yTimelineFrom = "Ausl\xF6sungen von (Datum)";
inline constexpr std::string_view kA11yTimelineTo = "Ausl\xF6sungen bis (Datum)";
inline constexpr std::string_view kA11yDateInfo = "Datum als TT.MM.JJJJ";
// The window "Auslösungen":
inline constexpr std::string_view kA11yTimelineMoverFilter = "Nur Treffer dieses Ausl\xF6sers";
inline constexpr std::string_view kA11yTimelineTargetFilter = "Nur Treffer dieses Ziels";
inline constexpr std::string_view kA11yTimelineTargetFilterInfo =
    "Ein Faktor oder eine Halbsumme, z. B. MC1 oder SO1/MA2; leer zeigt alle Ziele";
inline constexpr std::string_view kA11yTimelineHits = "Treffer";
inline constexpr std::string_view kA11yTimelineHitsInfo =
    "Datum, Zeit, Ausl\xF6ser, Winkel, Ziel, Richtung und ob das Ziel im Ergebnis steht; "
    "die gew\xE4hlte Zeile dreht den Zeiger der Scheibe auf das Ziel";
inline constexpr std::string_view kA11yTimelineClusters = "Ballungen";
inline constexpr std::string_view kA11yTimelineClustersInfo = "Zeiten, in denen sich Treffer h\xE4ufen";
inline constexpr std::string_view kA11yTimelineProgress = "Fortschritt der Rechnung";
// The chart dialog (the fields of a row that its label does not name one by one):
inline constexpr std::string_view kA11yChartTime = "Geburtszeit";
inline constexpr std::string_view kA11yChartTimeInfo = "Als HH:MM:SS, in der daneben gew\xE4hlten Zeit";
inline constexpr std::string_view kA11yChartTimeKind = "Art der Geburtszeit";
inline constexpr std::string_view kA11yChartReading = "Welche der zweimal vorgekommenen Ortszeiten";
inline constexpr std::string_view kA11yChartLongitude = "L\xE4nge";
inline constexpr std::string_view kA11yChartLatitude = "Breite";
/// The parts of a coordinate, after "Länge" or "Breite".
inline constexpr std::string_view kA11yCoordinateParts[] = {", Grad", ", Minuten", ", Sekunden", ", Richtung"};
static_assert(std::size(kA11yCoordinateParts) == 4);
inline constexpr std::string_view kA11yChartZone = "Zeitzone";
// The graphic ephemeris' lines, curves and hits for a screen reader.
inline constexpr std::string_view kA11yEphemerisLine = "Linie ";
inline constexpr std::string_view kA11yEphemerisCurve = "Kurve ";
inline constexpr std::string_view kA11yEphemerisHit = "Treffer ";
inline constexpr std::string_view kA11yEphemerisOn = " auf ";
// The dial window:
inline constexpr std::string_view kA11yDial = "Scheibe";
inline constexpr std::string_view kA11yDialModulus = "Gr\xF6\xDF" "e der Scheibe";
inline constexpr std::string_view kA11yDialTree = "Im Orbis des Zeigers";

// The window "Grafische Ephemeride"
inline constexpr std::string_view kMenuEphemeris = "Grafische &Ephemeride \x85";
inline constexpr std::string_view kEphemerisFrom = "&von:";
inline constexpr std::string_view kEphemerisTo = "&bis:";
inline constexpr std::string_view kEphemerisModulus = "&Scheibe:";
inline constexpr std::string_view kEphemerisStart = "&Zeichnen";
inline constexpr std::string_view kEphemerisCancel = "&Abbrechen";
inline constexpr std::string_view kEphemerisPng = "&PNG \x85";
inline constexpr std::string_view kEphemerisSvg = "S&VG \x85";
inline constexpr std::string_view kEphemerisPdf = "P&DF \x85";
inline constexpr std::string_view kEphemerisPrint = "D&rucken \x85";
inline constexpr std::string_view kEphemerisRunning = "Rechne \x85";
inline constexpr std::string_view kEphemerisCancelled = "Abgebrochen.";
inline constexpr std::string_view kEphemerisHitsAfter = " Treffer gezeichnet";
inline constexpr std::string_view kEphemerisHitsOf = " von ";
inline constexpr std::string_view kEphemerisNothing = "Es ist noch nichts gezeichnet.";
inline constexpr std::string_view kEphemerisPrintFailed = "Der Drucker konnte nicht beginnen.";
inline constexpr std::string_view kEphemerisSaved = "Gespeichert: ";
inline constexpr std::string_view kA11yEphemerisFrom = "Ephemeride von (Datum)";
inline constexpr std::string_view kA11yEphemerisTo = "Ephemeride bis (Datum)";
inline constexpr std::string_view kA11yEphemerisModulus = "Gr\xF6\xDF" "e der Scheibe";
inline constexpr std::string_view kA11yEphemerisPicture = "Grafische Ephemeride";
inline constexpr std::string_view kA11yEphemerisPictureInfo =
    "Zeit von links nach rechts, Position auf der Scheibe von unten nach oben; ein Klick stellt den "
    "Zeiger der Scheibe und w\xE4hlt den n\xE4" "chsten Treffer in den Ausl\xF6sungen";
inline constexpr std::string_view kA11yEphemerisProgress = "Fortschritt der Rechnung";
inline constexpr std::string_view kA11yEphemerisStatus = "Stand";

}  // namespace duoskop::texts

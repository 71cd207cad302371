// SPDX-License-Identifier: GPL-3.0-or-later
// The German texts of the client's report, as Windows-1252 bytes.
#pragma once

#include <iterator>
#include <string_view>

namespace duoskop::texts {

// Menu entry of the main window and the dialog
inline constexpr std::string_view kMenuBericht1 = "Beric&ht \x85";
inline constexpr std::string_view kCaptionBericht = "Bericht";
inline constexpr std::string_view kBerichtComparisons = "Vergleiche";
inline constexpr std::string_view kBerichtTitle = "&Titel:";
inline constexpr std::string_view kBerichtAstrologer = "&Astrologe (Name, Anschrift):";
inline constexpr std::string_view kBerichtFormats = "Formate";
inline constexpr std::string_view kBerichtSave = "&Speichern \x85";
inline constexpr std::string_view kBerichtPreview = "&Druckvorschau \x85";
inline constexpr std::string_view kBerichtNoComparison = "Bitte mindestens einen Vergleich w\xE4hlen.";
inline constexpr std::string_view kBerichtNoFormat = "Bitte mindestens ein Format w\xE4hlen.";
inline constexpr std::string_view kBerichtHalfsumOrb =
    "Die MC-AS-Halbsummen brauchen einen Orbis gr\xF6\xDF" "er 0 im Feld der Halbsummen.";
inline constexpr std::string_view kBerichtHalfsumOrbLabel = "Orbis der Halbsummen:";
inline constexpr std::string_view kBerichtNotMade = "Der Bericht konnte nicht erzeugt werden.";
inline constexpr std::string_view kBerichtSaved = "Der Bericht ist gespeichert:";
inline constexpr std::string_view kBerichtTimeline = "Aus&l\xF6sungen von";
inline constexpr std::string_view kBerichtTimelineTo = "bis";
inline constexpr std::string_view kBerichtEphemeris = "Grafische &Ephemeride";
inline constexpr std::string_view kBerichtTimelineRange =
    "Bitte den Zeitraum der Ausl\xF6sungen als zwei Daten TT.MM.JJJJ eingeben, das zweite nicht vor dem ersten.";

// The document
inline constexpr std::string_view kReportDefaultTitle = "Partnervergleich";
inline constexpr std::string_view kReportPerson1 = "Person 1";
inline constexpr std::string_view kReportPerson2 = "Person 2";
inline constexpr std::string_view kReportName = "Name";
inline constexpr std::string_view kReportFirstName = "Vorname";
inline constexpr std::string_view kReportDate = "Geburtsdatum";
inline constexpr std::string_view kReportTime = "Weltzeit";
inline constexpr std::string_view kReportUnknownTime = " (Zeit unbekannt)";
inline constexpr std::string_view kReportPlace = "Ort (Zusatz)";
inline constexpr std::string_view kReportLongitude = "L\xE4nge";
inline constexpr std::string_view kReportLatitude = "Breite";
inline constexpr std::string_view kReportSun = "Sonne";
inline constexpr std::string_view kReportMc = "MC";
inline constexpr std::string_view kReportAs = "AS";
inline constexpr std::string_view kReportDial = "Die 22,5\xB0-Scheibe";
inline constexpr std::string_view kReportContents = "Inhalt";
inline constexpr std::string_view kReportPositions = "Positionen";
inline constexpr std::string_view kReportFactor = "Faktor";
inline constexpr std::string_view kReportLongitudeColumn = "L\xE4nge";
inline constexpr std::string_view kReportDialColumn = "22,5\xB0";
inline constexpr std::string_view kReportEntries = "Eintr\xE4ge";
inline constexpr std::string_view kReportNoEntries = "Keine Eintr\xE4ge.";
inline constexpr std::string_view kReportSourcePicture = "Bildtext";
inline constexpr std::string_view kReportSourceSingles = "Einzeltexte";
inline constexpr std::string_view kReportSourceNone = "kein Text";
inline constexpr std::string_view kReportTextError = "Text nicht lesbar: ";
inline constexpr std::string_view kReportZeitprobe = "Zeitprobe: ";
inline constexpr std::string_view kReportPage = "Seite ";
inline constexpr std::string_view kReportOf = " von ";
inline constexpr std::string_view kReportOrbs = "Orben: doppelt ";
inline constexpr std::string_view kReportOrbSimple = ", einfach ";
inline constexpr std::string_view kReportOrbHalfsum = ", Halbsummen ";
inline constexpr std::string_view kReportSourceTheory = "Positionen: Theorie";
inline constexpr std::string_view kReportSourcePrecise = "genaue Positionen";
inline constexpr std::string_view kReportTexts = "Texte: ";
inline constexpr std::string_view kReportDrive = ", Laufwerk C: ";
inline constexpr std::string_view kReportDrivePersonal = "pers\xF6nlich";
inline constexpr std::string_view kReportDriveWine = "Wine";
inline constexpr std::string_view kReportDriveChosen = "gew\xE4hlt";
inline constexpr std::string_view kReportDriveSample = "Beispiel";
inline constexpr std::string_view kReportNoSingles = " (ohne Einzeltexte)";
inline constexpr std::string_view kReportTimeWindow = "Zeitprobe \xB1";
inline constexpr std::string_view kReportMinutes = " min";
inline constexpr std::string_view kReportSettings = "Grundlagen dieses Berichts";

// The chapter of hits in time
inline constexpr std::string_view kReportTimeline = "Ausl\xF6sungen ";
inline constexpr std::string_view kReportTimelineIntro =
    "Wann die Sonnenb\xF6gen beider Personen und die Transite (Jupiter bis Pluto und die "
    "transneptunischen Punkte) die Punkte des Ergebnisses um ein Vielfaches von 22,5\xB0 treffen; "
    "Zeiten in Weltzeit. Richtung d direkt, r r\xFC" "ckl\xE4" "ufig, s Station.";
inline constexpr std::string_view kReportClusters = "Ballungen";
inline constexpr std::string_view kReportNoClusters = "Keine Ballungen.";
inline constexpr std::string_view kReportMoreTargets1 = " und ";
inline constexpr std::string_view kReportMoreTargets2 = " weitere";
inline constexpr std::string_view kReportNoHits = "Keine Treffer auf Punkte des Ergebnisses.";
inline constexpr std::string_view kReportMonths[] = {
    "Januar", "Februar", "M\xE4rz", "April", "Mai", "Juni",
    "Juli", "August", "September", "Oktober", "November", "Dezember"};
static_assert(std::size(kReportMonths) == 12);

}  // namespace duoskop::texts

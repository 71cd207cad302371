// SPDX-License-Identifier: GPL-3.0-or-later
// The German texts of the hits in time ("Auslösungen"), as Windows-1252 bytes ("\r" separates the
// lines of a box): the columns, notes, the calendar's words and the window.
#pragma once

#include <iterator>
#include <string_view>

namespace duoskop::texts {

// The columns of every table of hits (terminal, CSV, window)
inline constexpr std::string_view kHitColumns[] = {
    "Datum", "Zeit", "Ausl\xF6ser", "Winkel", "Ziel", "Richtung", "Ergebnis"};
static_assert(std::size(kHitColumns) == 7);
inline constexpr std::string_view kHitInErgebnis = "ja";

// Unknown birth times
inline constexpr std::string_view kTimelineUnknownTime1 = "Geburtszeit unbekannt bei Person ";
inline constexpr std::string_view kTimelineUnknownTime2 =
    ": ohne ihr MC und AS und alles, was sie enth\xE4lt";

// The calendar file
inline constexpr std::string_view kEventArc = "Sonnenbogen ";
inline constexpr std::string_view kEventTransit = "Transit ";
inline constexpr std::string_view kEventMover = "Ausl\xF6ser ";
inline constexpr std::string_view kEventAngle = ", Winkel ";
inline constexpr std::string_view kEventTarget = ", Ziel ";
inline constexpr std::string_view kEventDirection = ", Richtung ";
inline constexpr std::string_view kEventDirect = "direkt";
inline constexpr std::string_view kEventRetrograde = "r\xFC" "ckl\xE4" "ufig";
inline constexpr std::string_view kEventStation = "Station";
inline constexpr std::string_view kEventErgebnis = ", im Ergebnis des Vergleichs";
inline constexpr std::string_view kCalendarName = "Ausl\xF6sungen ";

// Clusters
inline constexpr std::string_view kClusterHeading = "Ballungen";
inline constexpr std::string_view kClusterHits = " Treffer, ";
inline constexpr std::string_view kClusterTargets = " Ziele";
inline constexpr std::string_view kClusterPersons = ", Person ";
inline constexpr std::string_view kClusterBoth = ", beide";
inline constexpr std::string_view kClusterNone = "keine";

// The window "Auslösungen"
inline constexpr std::string_view kMenuTimeline = "A&usl\xF6sungen \x85";
inline constexpr std::string_view kTimelineCaption = "Ausl\xF6sungen";
inline constexpr std::string_view kTimelineFrom = "&von:";
inline constexpr std::string_view kTimelineTo = "&bis:";
inline constexpr std::string_view kTimelineMovers = "Ausl\xF6ser";
inline constexpr std::string_view kTimelineArc1 = "Sonnenbogen Person &1";
inline constexpr std::string_view kTimelineArc2 = "Sonnenbogen Person &2";
inline constexpr std::string_view kTimelineTransits = "&Transite";
inline constexpr std::string_view kTimelinePreciseTransits = "Transite &genau";
inline constexpr std::string_view kTimelineTargets = "Ziele";
inline constexpr std::string_view kTimelineErgebnis = "&Ergebnis der Vergleiche";
inline constexpr std::string_view kTimelineFactors = "&Faktoren";
inline constexpr std::string_view kTimelineCross = "&Kreuz-Halbsummen";
inline constexpr std::string_view kTimelineOwn = "e&igene Halbsummen";
inline constexpr std::string_view kTimelineStart = "&Rechnen";
inline constexpr std::string_view kTimelineCancel = "&Abbrechen";
inline constexpr std::string_view kTimelineFilterMover = "A&usl\xF6ser:";
inline constexpr std::string_view kTimelineFilterTarget = "&Ziel:";
inline constexpr std::string_view kTimelineAll = "alle";
inline constexpr std::string_view kTimelineOnlyErgebnis = "&nur im Ergebnis";
inline constexpr std::string_view kTimelineCsv = "C&SV \x85";
inline constexpr std::string_view kTimelineIcs = "Ka&lender (ICS) \x85";
inline constexpr std::string_view kTimelineClusters = "Ballungen";
inline constexpr std::string_view kTimelineRunning = "Rechne \x85";
inline constexpr std::string_view kTimelineCancelled = "Abgebrochen.";
inline constexpr std::string_view kTimelineHitsAfter = " Treffer";
inline constexpr std::string_view kTimelineShownAfter = " gezeigt";
inline constexpr std::string_view kTimelineOrbsUsed = "Ergebnis mit den Orben des Hauptfensters";
inline constexpr std::string_view kTimelineNoOrbs = "Ergebnis ohne Orben: die Achsen und MC, AS, SO, MO beider Personen";
inline constexpr std::string_view kTimelineBadDate =
    "Bitte ein Datum TT.MM.JJJJ eingeben.";
inline constexpr std::string_view kTimelineReversed =
    "Das Ende des Zeitraums liegt vor seinem Anfang.";
inline constexpr std::string_view kTimelineYears1 = "Die Jahre m\xFCssen zwischen ";
inline constexpr std::string_view kTimelineYears2 = " und ";
inline constexpr std::string_view kTimelineYears3 = " liegen";
inline constexpr std::string_view kTimelineYearsPrecise = " (genaue Positionen)";
inline constexpr std::string_view kTimelineNoMover = "Bitte mindestens einen Ausl\xF6ser w\xE4hlen.";
inline constexpr std::string_view kTimelineNoTarget = "Bitte mindestens eine Art von Zielen w\xE4hlen.";
inline constexpr std::string_view kTimelineNothingToSave = "Es gibt noch keine Treffer zum Speichern.";
inline constexpr std::string_view kTimelineSaved = "Gespeichert: ";
inline constexpr std::string_view kTimelineCsvFilter = "CSV-Dateien (*.csv)";
inline constexpr std::string_view kTimelineIcsFilter = "Kalender (*.ics)";

// The dial's third ring: its corner text "Auslöser 15.06.2024 12:00 UT"
inline constexpr std::string_view kRingLegend = "Ausl\xF6ser ";
inline constexpr std::string_view kRingLegendUt = " UT";

}  // namespace duoskop::texts

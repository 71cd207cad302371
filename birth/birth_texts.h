// SPDX-License-Identifier: GPL-3.0-or-later
// The German reasons for refusing birth data, the same for every door that makes chart files
// (Windows-1252 bytes).
#pragma once

#include <iterator>
#include <string_view>

namespace duoskop::texts {

inline constexpr std::string_view kRefuseNoName = "Bitte einen Namen eingeben.";
inline constexpr std::string_view kRefuseTooLong = "Mehr als 10 Zeichen passen nicht in die Horoskop-Datei.";
inline constexpr std::string_view kRefuseNot1252 =
    "Diese Zeichen kann die Horoskop-Datei nicht aufnehmen: ";
inline constexpr std::string_view kRefuseControl = "Steuerzeichen sind nicht erlaubt.";
inline constexpr std::string_view kRefuseSlash = "Ein \x84/\x93 kann nicht im Dateinamen stehen.";
inline constexpr std::string_view kRefuseLeadingDot = "Der Name darf nicht mit einem Punkt beginnen.";
inline constexpr std::string_view kRefuseDate =
    "Kein Kalenderdatum (TT.MM.JJJJ, Jahr vierstellig).";
inline constexpr std::string_view kRefuseNoYearZero = "Die Jahre reichen von 0001 bis 9999.";
inline constexpr std::string_view kRefuseNoSuchMonth = "Einen Monat dieser Zahl gibt es nicht (01 bis 12).";
inline constexpr std::string_view kRefuseNoSuchDayBefore = "Den ";
inline constexpr std::string_view kRefuseNoSuchDayMonth = " gibt es nicht: der ";
inline constexpr std::string_view kRefuseNoSuchDayHas = " hat ";
inline constexpr std::string_view kRefuseNoSuchDayAfter = " Tage.";
inline constexpr std::string_view kMonthNames[] = {"Januar", "Februar",   "M\xE4rz",   "April",    "Mai",      "Juni",
                                                   "Juli",   "August",    "September", "Oktober",  "November", "Dezember"};
static_assert(std::size(kMonthNames) == 12);
inline constexpr std::string_view kRefuseTime = "Keine Uhrzeit (HH:MM oder HH:MM:SS).";
inline constexpr std::string_view kRefuseNoZone =
    "Bitte eine Zeitzone angeben (Europe/Berlin, UTC+01:00, LMT) oder einen Ort w\xE4hlen.";
inline constexpr std::string_view kRefuseUniversalYear = "Die Weltzeit liegt au\xDF" "erhalb der Jahre 1 bis 9999.";
inline constexpr std::string_view kRefuseCoordinates =
    "Die Koordinaten fehlen oder liegen au\xDF" "erhalb von 180\xB0 L\xE4nge und 90\xB0 Breite.";
inline constexpr std::string_view kRefuseNoPlace = "Ohne Ort fehlen Zeitzone oder Koordinaten.";
inline constexpr std::string_view kRefuseNoAtlas = " kann ohne Atlas nicht gesucht werden.";
inline constexpr std::string_view kRefuseNotInAtlas = " steht nicht im Atlas.";
inline constexpr std::string_view kRefuseAmbiguous = " ist mehrdeutig; bitte genauer schreiben, die Region nennen oder Koordinaten angeben: ";
inline constexpr std::string_view kRefuseCountry = " ist kein bekanntes Kennzeichen.";
// "Zusatz "Lodz": der Ort "Łódź" in einfachen Buchstaben, ..." (the extra taken from a place)
inline constexpr std::string_view kExtraPlain1 = "Zusatz ";
inline constexpr std::string_view kExtraPlain2 = ": der Ort ";
inline constexpr std::string_view kExtraPlain3 =
    " in einfachen Buchstaben, weil die Horoskop-Datei nicht alle seine Zeichen aufnehmen kann.";
inline constexpr std::string_view kRefuseNoRecord =
    "In der Datei steht kein Satz: weder #A93 (AAF) noch eine Zeile unter einer CSV-Kopfzeile. Nichts eingelesen.";
inline constexpr std::string_view kRefuseJulianDay = "Der Julianische Tag liegt nicht in den Jahren 1 bis 9999.";

// Names of the fields, in front of a reason where the fields are not shown one by one
inline constexpr std::string_view kIntakeFieldName = "Name";
inline constexpr std::string_view kIntakeFieldFirstName = "Vorname";
inline constexpr std::string_view kIntakeFieldDate = "Datum";
inline constexpr std::string_view kIntakeFieldTime = "Zeit";
inline constexpr std::string_view kIntakeFieldZone = "Zone";
inline constexpr std::string_view kIntakeFieldPlace = "Ort";
inline constexpr std::string_view kIntakeFieldCoordinates = "Koordinaten";
inline constexpr std::string_view kIntakeFieldExtra = "Zusatz";

}  // namespace duoskop::texts

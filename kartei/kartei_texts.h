// SPDX-License-Identifier: GPL-3.0-or-later
// The German texts of the chart index, as Windows-1252 bytes ("\r" separates the lines of a box).
#pragma once

#include <string_view>

#include "birth/birth_texts.h"

namespace duoskop::texts {

// Menu entry of the main window and the window itself
inline constexpr std::string_view kMenuKartei = "Horoskop-&Kartei \x85";
inline constexpr std::string_view kCaptionKartei = "Horoskop-Kartei";
inline constexpr std::string_view kKarteiFilter = "&Suchen:";
inline constexpr std::string_view kKarteiFilterHint = "Name, Vorname, Ort, Datum \x85";
inline constexpr std::string_view kKarteiCount = " Horoskop-Dateien";
inline constexpr std::string_view kKarteiCountOne = " Horoskop-Datei";
inline constexpr std::string_view kKarteiBroken = ", davon nicht ladbar: ";
inline constexpr std::string_view kFolderUnreadableBefore = "Ordner ";
inline constexpr std::string_view kFolderUnreadableAfter = " nicht lesbar";
inline constexpr std::string_view kKarteiFolder = "Ordner: ";
inline constexpr std::string_view kKarteiReadOnly =
    "Beispiel-Laufwerk des Programms, nur zum Lesen: Neu, Bearbeiten, Kopie, L\xF6schen und Importieren sind gesperrt";
inline constexpr std::string_view kSampleDriveRefused = "Das mitgelieferte Beispiel-Laufwerk wird nicht ver\xE4ndert.";

// Table columns
inline constexpr std::string_view kColumnName = "Name";
inline constexpr std::string_view kColumnFirstName = "Vorname";
inline constexpr std::string_view kColumnDate = "Geburtsdatum";
inline constexpr std::string_view kColumnTime = "Zeit (UT)";
inline constexpr std::string_view kColumnExtra = "Zusatz";
inline constexpr std::string_view kColumnLongitude = "L\xE4nge";
inline constexpr std::string_view kColumnLatitude = "Breite";
inline constexpr std::string_view kColumnSun = "Sonne";
inline constexpr std::string_view kColumnMc = "MC";
inline constexpr std::string_view kColumnAs = "AS";
inline constexpr std::string_view kColumnFolder = "Ordner";
inline constexpr std::string_view kColumnFile = "Datei";
inline constexpr std::string_view kColumnReason = "Hinweis";
inline constexpr std::string_view kUnknownTime = "Zeit unbekannt";

// Buttons
inline constexpr std::string_view kButtonNew = "&Neu \x85";
inline constexpr std::string_view kButtonEdit = "&Bearbeiten \x85";
inline constexpr std::string_view kButtonCopy = "&Kopie \x85";
inline constexpr std::string_view kButtonDelete = "&L\xF6schen";
inline constexpr std::string_view kButtonAsPerson1 = "Als Person &1";
inline constexpr std::string_view kButtonAsPerson2 = "Als Person &2";
inline constexpr std::string_view kButtonImportCharts = "&Importieren \x85";
inline constexpr std::string_view kButtonExportCharts = "&Exportieren \x85";
inline constexpr std::string_view kButtonSaveChart = "&Speichern";

// The chart dialog
inline constexpr std::string_view kCaptionNewChart = "Neues Horoskop";
inline constexpr std::string_view kCaptionEditChart = "Horoskop bearbeiten";
inline constexpr std::string_view kCaptionCopyChart = "Kopie eines Horoskops";
inline constexpr std::string_view kFieldName = "&Name:";
inline constexpr std::string_view kFieldFirstName = "&Vorname:";
inline constexpr std::string_view kFieldDate = "&Geburtsdatum:";
inline constexpr std::string_view kFieldTime = "Geburts&zeit:";
inline constexpr std::string_view kFieldTimeUniversal = "Weltzeit (UT)";
inline constexpr std::string_view kFieldTimeLocal = "Ortszeit";
inline constexpr std::string_view kFieldTimeUnknown = "Zeit &unbekannt";
inline constexpr std::string_view kFieldLongitude = "&L\xE4nge:";
inline constexpr std::string_view kFieldLatitude = "&Breite:";
inline constexpr std::string_view kFieldExtra = "Zus&atz:";
inline constexpr std::string_view kFieldFolder = "&Ordner:";
inline constexpr std::string_view kFieldPreview = "Ergebnis:";
inline constexpr std::string_view kRootFolder = "(astro\\daten)";
inline constexpr std::string_view kEast = "O";
inline constexpr std::string_view kWest = "W";
inline constexpr std::string_view kNorth = "N";
inline constexpr std::string_view kSouth = "S";
inline constexpr std::string_view kPreviewUniversal = "Weltzeit: ";
inline constexpr std::string_view kPreviewUt = " UT";
inline constexpr std::string_view kPreviewFile = "Datei: ";
inline constexpr std::string_view kPreviewLocal = "Ortszeit: ";
inline constexpr std::string_view kFieldPlace = "O&rt:";
inline constexpr std::string_view kFieldPlaceHint = "Ort suchen \x85 (z.B. M\xFC" "nchen, Wien, Z\xFC" "rich)";
inline constexpr std::string_view kFieldZone = "Ze&itzone:";
inline constexpr std::string_view kImportFilter = "AAF- und CSV-Dateien (*.aaf *.csv *.txt);;Alle Dateien (*)";
inline constexpr std::string_view kNoPlaceFound = "kein Ort gefunden";
inline constexpr std::string_view kFieldZoneHint = "Europe/Berlin, UTC+01:00 oder LMT";
inline constexpr std::string_view kFieldReading = "Diese Ortszeit gab es zweimal \x96 welche ist gemeint?";
inline constexpr std::string_view kReadingEarlier = "die fr\xFC" "here: ";
inline constexpr std::string_view kReadingLater = "die sp\xE4" "tere: ";
inline constexpr std::string_view kInhabitants = " Einw.";
inline constexpr std::string_view kAtlasMissing = "Das Ortsverzeichnis fehlt: ";

// Refusals, shown next to the field
inline constexpr std::string_view kRefuseLongitude = "Die L\xE4nge reicht nur bis 180\xB0.";
inline constexpr std::string_view kRefuseLatitude = "Die Breite reicht nur bis 90\xB0.";
inline constexpr std::string_view kRefuseMinutes = "Minuten und Sekunden reichen nur bis 59.";
inline constexpr std::string_view kRefuseFolder =
    "Nur ein Unterordner von astro\\daten (ohne \x84..\x93 und ohne Punkt am Anfang).";
inline constexpr std::string_view kRefuseExistsBefore = "Die Datei ";
inline constexpr std::string_view kRefuseExistsAfter =
    " geh\xF6rt schon einer anderen Person in diesem Ordner; bitte einen anderen Ordner w\xE4hlen.";

// Boxes
inline constexpr std::string_view kAskDeleteBefore = "Soll die Horoskop-Datei\r\r   ";
inline constexpr std::string_view kAskDeleteAfter = "\r\rin den Papierkorb verschoben werden?";
inline constexpr std::string_view kTrashFailed =
    " konnte nicht in den Papierkorb verschoben werden; sie bleibt, wo sie ist.";
inline constexpr std::string_view kOldFileKept =
    "Das Horoskop wurde unter dem neuen Namen gespeichert. Die alte Datei\r\r   ";
inline constexpr std::string_view kWriteFailedBefore = "Die Datei ";
inline constexpr std::string_view kWriteFailedAfter = " konnte nicht geschrieben werden:\r";

// Import and export
inline constexpr std::string_view kImportFailed = "Die Datei kann nicht gelesen werden: ";
inline constexpr std::string_view kImportSummaryWritten = " geschrieben, ";
inline constexpr std::string_view kImportSummarySkipped = " \xFC" "bersprungen";
inline constexpr std::string_view kImportInto = "Ziel: ";
inline constexpr std::string_view kImportLine = "Zeile ";
inline constexpr std::string_view kImportCp1252Lines = " Zeilen als Windows-1252 gelesen";
inline constexpr std::string_view kNoChartFile = "keine Horoskop-Datei";
inline constexpr std::string_view kImportUnchanged = " schon vorhanden";
inline constexpr std::string_view kImportSamePersonBefore = "Die Datei ";
inline constexpr std::string_view kImportSamePersonAfter =
    " h\xE4lt schon ein Horoskop dieser Person mit anderen Daten; sie bleibt, wie sie ist.";
inline constexpr std::string_view kImportMore = "\x85 und weitere: ";
inline constexpr std::string_view kExportWrittenBefore = " Horoskope als AAF gespeichert in ";
inline constexpr std::string_view kExportNothing =
    "Keine der gew\xE4hlten Dateien ist eine Horoskop-Datei, die AAF tragen kann; die Datei bleibt, wie sie war.";
inline constexpr std::string_view kExportSkipped = "Nicht exportiert (keine ladbare Horoskop-Datei): ";
inline constexpr std::string_view kAafFilter = "AAF-Dateien (*.aaf *.AAF);;Alle Dateien (*)";
inline constexpr std::string_view kAafSuggested = "horoskope.aaf";

}  // namespace duoskop::texts

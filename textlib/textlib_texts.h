// SPDX-License-Identifier: GPL-3.0-or-later
// The German texts of the text library ("Textbibliothek"), as Windows-1252 bytes ("\r" separates
// the lines of a box): refusals, outcomes, the command line's words and the window.
#pragma once

#include <string_view>

namespace duoskop::texts {

inline constexpr std::string_view kTlNoUtf8 =
    "kein g\xFC" "ltiges UTF-8";
inline constexpr std::string_view kTlNoCharacter =
    "das Zeichen gibt es in den Textdateien nicht (nicht in Windows-1252)";
inline constexpr std::string_view kTlDosConverted =
    "das Zeichen k\xF6" "nnen die Planetenbild-Dateien nicht halten (der Leser zeigt dort ein anderes)";
inline constexpr std::string_view kTlControl =
    "Steuerzeichen";
inline constexpr std::string_view kTlLongerThan =
    "Zeile l\xE4" "nger als ";
inline constexpr std::string_view kTlCharacters =
    " Zeichen";
inline constexpr std::string_view kTlTooManyLines =
    "mehr als 14 Zeilen";
inline constexpr std::string_view kTlOneLine =
    "eine Einzelbedeutung hat nur eine Zeile";
inline constexpr std::string_view kTlTenBlanks =
    "die Zeile beginnt mit zehn Leerzeichen (der Leser lie\xDF" "e sie weg)";
inline constexpr std::string_view kTlAxisFull =
    "alle 253 Pl\xE4" "tze des Achsenpaars sind belegt";
inline constexpr std::string_view kTlKtexteFull =
    "KTEXTE.TXT hat schon 300 Einzelbedeutungen";
inline constexpr std::string_view kTlKtexteBroken =
    "KTEXTE.TXT endet mit einem unvollst\xE4" "ndigen Satz";
inline constexpr std::string_view kTlIndexShort =
    "der Index des Achsenpaars ist k\xFC" "rzer als 3570 Bytes";
inline constexpr std::string_view kTlBadFormula =
    "keine Formel der Form [XX/YY] oder [XX/YY=AA/BB]";
inline constexpr std::string_view kTlUnknownFactor =
    "unbekannter Faktor (erlaubt: MC, WI, SO, AS, MO, KN, ME, VE, MA, JU, SA, UR, NE, PL, CU, HA, ZE, KR, AP, AD, VU, PO, GZ, Du)";
inline constexpr std::string_view kTlDuplicate =
    "die Formel steht schon in Zeile ";
inline constexpr std::string_view kTlTextBeforeEntry =
    "Text vor dem ersten Eintrag (Kommentare beginnen mit #)";
inline constexpr std::string_view kTlReadOnly =
    "Diese Textsammlung ist nur zum Lesen ge\xF6" "ffnet.";
inline constexpr std::string_view kTlNoVersion =
    "Diese Version gibt es nicht: ";
inline constexpr std::string_view kTlNotPutBack =
    "\rZur\xFC" "ckschreiben misslungen; diese Dateien sind jetzt anders als vorher:";
inline constexpr std::string_view kTlRestoredBy =
    "\rDie Version ";
inline constexpr std::string_view kTlRestoredByEnd =
    " stellt sie wieder her.";
inline constexpr std::string_view kTlSampleDrive =
    "Das mitgelieferte Beispiel-Laufwerk wird nicht ver\xE4" "ndert; bitte mit --drive-c ORDNER ein eigenes Laufwerk C angeben.";
inline constexpr std::string_view kTlSourcePicture =
    "Bild";
inline constexpr std::string_view kTlSourceSingles =
    "Einzelbedeutungen";
inline constexpr std::string_view kTlSourceNone =
    "keine";

inline constexpr std::string_view kMenuTextbibliothek =
    "Text&bibliothek \x85";
inline constexpr std::string_view kTlCaption =
    "Textbibliothek";
inline constexpr std::string_view kTlNew =
    "&Neu";
inline constexpr std::string_view kTlSave =
    "&Speichern";
inline constexpr std::string_view kTlDelete =
    "&L\xF6" "schen";
inline constexpr std::string_view kTlVersions =
    "&Versionen \x85";
inline constexpr std::string_view kTlImport =
    "&Importieren \x85";
inline constexpr std::string_view kTlExport =
    "E&xportieren \x85";
inline constexpr std::string_view kTlCompare =
    "Ver&gleichen mit \x85";
inline constexpr std::string_view kTlTakeOver =
    "&\xDC" "bernehmen";
inline constexpr std::string_view kTlFilter =
    "Suche:";
inline constexpr std::string_view kTlFormula =
    "Formel:";
inline constexpr std::string_view kTlCoverage =
    "Eintr\xE4" "ge des Vergleichs:";
inline constexpr std::string_view kTlReversedMark =
    "  (umgekehrt vorhanden)";
inline constexpr std::string_view kTlRoomLines =
    "Zeilen: ";
inline constexpr std::string_view kTlRoomOf =
    " von ";
inline constexpr std::string_view kTlRoomLeft =
    ", in der letzten Zeile noch ";
inline constexpr std::string_view kTlRoomChars =
    " Zeichen frei";
inline constexpr std::string_view kTlBadFormulaBox =
    "Die Formel hat nicht die Form XX/YY=AA/BB (Planetenbild) oder XX/YY (Einzelbedeutung).";
inline constexpr std::string_view kTlRefusedBox =
    "Der Text wurde nicht gespeichert:\r";
inline constexpr std::string_view kTlImportRefusedBox =
    "Die Austauschdatei wurde nicht \xFC" "bernommen, keine Datei wurde ge\xE4" "ndert:\r";
inline constexpr std::string_view kTlUnsavedQuestion =
    "Der Text von %s ist nicht gespeichert.\r\rJetzt speichern?";
inline constexpr std::string_view kTlUnsavedNoFormula =
    "Der Text im Editor ist nicht gespeichert.\r\rJetzt speichern?";
inline constexpr std::string_view kTlLine =
    "Zeile ";
inline constexpr std::string_view kTlColumn =
    ", Spalte ";
inline constexpr std::string_view kTlChangedBox =
    "Diese Datei wurde seit dem Lesen von einem anderen Programm ge\xE4" "ndert:\r";
inline constexpr std::string_view kTlChangedQuestion =
    "\r\rTrotzdem \xFC" "berschreiben?";
inline constexpr std::string_view kTlDeleteQuestion =
    "Den Text von %s l\xF6" "schen?";
inline constexpr std::string_view kTlRestoreQuestion =
    "Die Texte so wiederherstellen, wie sie vor der \xC4" "nderung %s waren?\r(Die jetzigen Dateien werden vorher als Version behalten.)";
inline constexpr std::string_view kTlNoVersions =
    "Es gibt noch keine behaltenen Versionen.";
inline constexpr std::string_view kTlImported =
    "\xDC" "bernommen: ";
inline constexpr std::string_view kTlCopyReversed =
    "F\xFC" "r %s gibt es keinen Text, wohl aber f\xFC" "r die umgekehrte Form %s.\rDiesen Text \xFC" "bernehmen?";

}  // namespace duoskop::texts

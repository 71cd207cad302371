// SPDX-License-Identifier: GPL-3.0-or-later
// The German texts of the program, as Windows-1252 bytes ("\r" separates the lines of a box).
// Generated once from the program's wording; edit here, nowhere else.
#pragma once

#include <string_view>

namespace duoskop::texts {

// Window captions and menu
inline constexpr std::string_view kCaptionMain =
    "          Duoskop   Vers: 1.8,  ein Programm zum Vergleich zweier Radix-Horoskope";
inline constexpr std::string_view kMenuName1 =
    "Name &1   ";
inline constexpr std::string_view kMenuName2 =
    "Name &2     ";
inline constexpr std::string_view kMenuSolar1 =
    "&SO1/SO2-Achse     ";
inline constexpr std::string_view kMenuMcmc1 =
    "&MC-SO-AS-Erg\xE4nzungen     ";
inline constexpr std::string_view kMenuDoppelte1 =
    "&MC-SO-Achsen (dopp.)";
inline constexpr std::string_view kMenuEinfache1 =
    "MC-&AS-Achsen (einf.)";
inline constexpr std::string_view kMenuHalbsummen1 =
    "MC-AS-&Halbsummen";
inline constexpr std::string_view kMenuAsas1 =
    "&MC-AS-Liste     ";
inline constexpr std::string_view kMenuEnde1 =
    "&Fertig      ";
inline constexpr std::string_view kMenuInfo1 =
    "Info";
// The additions' menu, right of "Info"
inline constexpr std::string_view kMenuExtras1 =
    "E&xtras";
inline constexpr std::string_view kMenuGenauePositionen1 =
    "&Genaue Positionen";
inline constexpr std::string_view kTipGenauePositionen1 =
    "Sonne, Mond und Planeten als scheinbare L\xE4" "ngen des wahren Fr\xFC" "hlingspunkts (libnova):\n"
    "auf eine halbe Bogenminute genau von 1800 bis 2100, Pluto nur von 1885 bis 2099;\n"
    "au\xDF" "erhalb dieser Jahre ist Pluto ungenauer. Aus: die Rechnung des Programms.";
inline constexpr std::string_view kCaptionPreciseSuffix =
    " (genau)";
inline constexpr std::string_view kLabelDoubleOrb =
    "Doppelter Orbis";
inline constexpr std::string_view kLabelSimpleOrb =
    "Einfacher Orbis";
inline constexpr std::string_view kLabelOrbExample =
    "z.B. 1,0";
inline constexpr std::string_view kOrbDoublePrefix =
    " D-Orbis: ";
inline constexpr std::string_view kOrbSimplePrefix =
    " E-Orbis: ";
inline constexpr std::string_view kCloseInfo =
    " X ";
inline constexpr std::string_view kCredits =
    "\r  Duoskop  Vers: 1.8  -  Radix-Vergleich auf der 22,5-Grad-Scheibe\r  Berechnet: MC, AS, Sonne, Mond, Planeten, Transneptuner, GZ\r  Vergleiche in MC-, SO- und AS-Achsen, Halbsummen\r  Texte: KTEXTE.TXT und die Planetenbild-Sammlung\r  Oberfl\xE4" "che mit Qt 6, Bild mit libjpeg\r  Ortsdaten: GeoNames (geonames.org), CC BY 3.0\r  Zeitzonen: tzdata mit date/tz; genaue Positionen: libnova";
// Message boxes
inline constexpr std::string_view kBoxWarning =
    "Warnung";
inline constexpr std::string_view kBoxError =
    "Fehler";
inline constexpr std::string_view kBoxInformation =
    "Informationen";
inline constexpr std::string_view kBoxConfirmation =
    "Best\xE4tigung";
inline constexpr std::string_view kButtonOk =
    "OK";
inline constexpr std::string_view kButtonYes =
    "&Ja";
inline constexpr std::string_view kButtonNo =
    "&Nein";
inline constexpr std::string_view kButtonDiscard =
    "&Verwerfen";
// Main window messages
inline constexpr std::string_view kHintStart =
    "Einige Hinweise zum Programm  'Duoskop' :\r\rEs verwendet Radix-Horoskope, die mit dem Programm RXK erstellt wurden.\r\rNach der Auswahl zweier individueller Namen haben Sie die M\xF6glichkeiten:         \r       - Vergleiche in SO1/SO2-Achsen (bei unbekannter Geburtszeit)\r       - Vergleiche in sechs MC-SO-Achsen\r       - Vergleiche in MC-AS-Achsen\r       - MC-AS-Halbsummen\r       - MC-AS-Liste\r\rDie pers\xF6nlichen Daten und die sechs MC-SO-Suchachsen werden nach der\rjetzt folgenden Namenwahl angezeigt.";
inline constexpr std::string_view kHintOrbsLong =
    "Geben Sie nun bitte nach  'ok'  die gew\xFCnschten Orbiswerte ein:\r\rDoppelter Orbis = Gr\xF6\xDF" "e des Orbiswinkels f\xFCr die Suche nach\rErg\xE4nzungen in den sechs MC1/MC1- bis- SO2/SO2 Suchachsen\rsowie in den Solar-Achsen bei unbekannter Geburtszeit.\r\rEinfacher Orbis = Gr\xF6\xDF" "e des Orbiswinkels f\xFCr die Suche nach\rhalben und einfachen Erg\xE4nzungen in den MC/- und AS/-Achsen\r\rDie Werte m\xFCssen je eine Vor- und eine Nachkommastelle enthalten.         \r\rDanach k\xF6nnen Sie die Vergleichm\xF6glichkeiten w\xE4hlen.";
inline constexpr std::string_view kHintOrbsShort =
    "Sie k\xF6nnen die vorhandenen Orbiswerte      \rmit der Tabulator-Taste \xFC" "bernehmen.";
inline constexpr std::string_view kAskRestart =
    "Falls Sie mit anderen Personen weiterarbeiten:\rDie vorherigen Orbiswerte stehen noch in den Eingabefeldern; falls\rSie diese \xFC" "bernehmen wollen, so bet\xE4tigen Sie hierzu die TAB-Taste.      \r\rWeiter mit anderen Personen?";
// Loading a chart file
inline constexpr std::string_view kLoadFailedBefore =
    "Ladeversuch mit ";
inline constexpr std::string_view kLoadFailedAfter =
    " ging daneben";
inline constexpr std::string_view kNotAChartFile =
    " ist keine Horoskop-Datei.";
// Input/output errors
inline constexpr std::string_view kIoFileNotFound =
    "Datei nicht gefunden";
inline constexpr std::string_view kIoInvalidFileName =
    "Ung\xFCltiger Dateiname";
inline constexpr std::string_view kIoTooManyFiles =
    "Zu viele ge\xF6" "ffnete Dateien";
inline constexpr std::string_view kIoAccessDenied =
    "Dateizugriff verweigert";
inline constexpr std::string_view kIoReadPastEnd =
    "Versuch hinter dem Dateiende zu lesen";
inline constexpr std::string_view kIoOutOfMemory =
    "Zu wenig Speicherplatz";
// A file whose mode gives the user no write bit (or on a file system mounted read-only).
inline constexpr std::string_view kIoWriteProtected =
    "Datei ist schreibgesch\xFCtzt";
// The comparisons
inline constexpr std::string_view kTitleDoubles =
    "MC-SO-Achsen (dopp.)";
inline constexpr std::string_view kCaptionDoubles =
    "     Ergebnisse  MC-SO-Achsen, doppelte";
inline constexpr std::string_view kTitleSimples =
    "MC-AS-Achsen (einf.)";
inline constexpr std::string_view kCaptionSimples =
    "     Ergebnisse  MC-AS-Achsen, einfache";
inline constexpr std::string_view kTitleHalfsums =
    "MC-AS-Halbsummen";
inline constexpr std::string_view kCaptionHalfsums =
    "     Ergebnisse  MC-AS-Halbsummen";
inline constexpr std::string_view kTitleSolar =
    "SO1/SO2-Achse";
inline constexpr std::string_view kCaptionSolar =
    "     Ergebnisse in den Solar-Achsen";
inline constexpr std::string_view kTitleMcAsList =
    "MC-AS-Liste (nur gemeinsame)";
inline constexpr std::string_view kCaptionMcAsList =
    "     Ergebnisse  MC-AS-Liste";
inline constexpr std::string_view kHintDoubles =
    "Die Anzeige geht von den sechs MC- und SO-Suchachsen aus und enth\xE4lt            \rgenerell die Person-1-Angaben oben und die Person-2-Angaben unten.\r\rSie zeigt nur doppelte Erg\xE4nzungen nach den Kriterien:\r   - zwei P1-Achsen m\xFCssen in einer P1-Suchachse ein P\xE4rchen bilden,\r   - ebenso deren gegens\xE4tzliche P2-Achsen in einer P2-Suchachse;\rHalbsummen, die von P1 und P2 im Orbis ihrer jeweiligen Suchachse liegen,\rerscheinen zwischen den P1- und P2 -Suchachsen.\r\rIn der gelben Ergebnisliste k\xF6nnen Sie sich durch Anklicken die Texte zu den\rjeweiligen Halbsummen der Planetenbilder anzeigen lassen.";
inline constexpr std::string_view kHintSimples =
    "F\xFCr die einfachen Erg\xE4nzungen gelten die Kriterien:\r    Eine Halbsumme mu\xDF im Orbis eines P\xE4rchens von P1 und\r    im Orbis der Umkehrung des P\xE4rchens bei P2 liegen.\r    Halbsummen m\xFCssen demnach mindestens im Orbis des jeweils\r    ersten Planetenbildes von  P1  und  P2  vorhanden sein.\r\rFinden sich bei der weiteren Pr\xFC" "fung im Orbis sowohl der P1- als auch          \rder P2-Planetenbilder zus\xE4tzliche gegens\xE4tzliche Achsenpaare,\rso werden diese  'Zusatz-Paare'  ebenfalls angezeigt.\r\rSind bereits mehrere Halbsummen gefunden und liegen sie nicht alle in\rdiesen Zusatzpaaren, so entfallen sie (aber nur) aus dieser Anzeige;\rsie werden bei der Halbsummenauswertung wieder mit einbezogen.\r\rDie Men\xFC-Option  'Halbsummen'  wird nach dieser Auswertung aktiv.";
inline constexpr std::string_view kHintHalfsums =
    "Die Auswertung der gefundenen Halbsummen in Planetenbildern.        \rDiese Anzeige zeigt jede Halbsumme, die in mindestens zwei einfachen\rErg\xE4nzungen aufgetreten ist, mit allen Achsen, in deren Orbis sie in\rErscheinung trat; es werden also auch diejenigen Halbsummen verwendet\rund angezeigt, die ggf vorher durch Zusatzpaare entfallen sind.\r\rUm die Suche zu verfeinern, k\xF6nnen Sie f\xFCr diese Auswahl einen neuen,\rkleineren Orbis als f\xFCr die einfachen Erg\xE4nzungen verwenden, wodurch\rsich dann nat\xFCrlich die Anzahl der Achsenpaare verringern kann.";
inline constexpr std::string_view kHintSolar =
    "\rDiese spezielle Anwendung ist f\xFCr Personen vorgesehen,\rderen exakte Geburtszeit und damit deren MC- und AS-Daten\rnicht bekannt bzw. mit 12:00 WZ allgemein eingetragen sind.\r\rEs werden in dieser Anwendung nur die SO-Achsen verglichen.     ";
// Result window and interpretation texts
inline constexpr std::string_view kButtonSave =
    "&Speichern";
inline constexpr std::string_view kButtonPrint =
    "&Drucken";
inline constexpr std::string_view kButtonDone =
    "&Fertig";
inline constexpr std::string_view kButtonExport =
    "&Planetenbilder-/Halbsummen-Texte speichern / drucken";
inline constexpr std::string_view kExportPicturesOnly =
    "nur PL-Bild-Texte";
inline constexpr std::string_view kExportAll =
    "alle";
inline constexpr std::string_view kRadioSave =
    "speichern";
inline constexpr std::string_view kRadioPrint =
    "drucken";
inline constexpr std::string_view kKtexteMissing =
    "\rEs fehlt die Datei KTEXTE.TXT in C:\\ASTRO      \r\rDas Programm arbeitet trotzdem.\r\rLediglich Planetenbilder-Bedeutungs-Texte\rk\xF6nnen nicht angezeigt werden.\r";
inline constexpr std::string_view kCollectionMissing =
    "Es gibt f\xFCr Planetenbilder eine Bedeutungs-/Dateisammlung.      \rSie geh\xF6rt in C:\\PBTX, ist aber nicht vorhanden.\r\rFalls KTEXTE.TXT in C:\\Astro steht, werden die einzelnen\rHalbsummen-Bedeutungen hieraus angezeigt.";
inline constexpr std::string_view kReminderKtexte =
    "Wie bereits beim Programmstart gemeldet:           \rEs fehlt die Datei HSUM.TXT in C:\\ASTRO\r\rDas Programm arbeitet trotzdem.\rAber die Planetenbilder-Bedeutungs-Texte\rk\xF6nnen nicht angezeigt werden.\r";
inline constexpr std::string_view kOnlySingleTextsBefore =
    "F\xFCr  ";
inline constexpr std::string_view kOnlySingleTextsAfter =
    "  gibt es bisher nur Einzeltexte.     ";
inline constexpr std::string_view kExportChoiceHint =
    "Da bisher noch nicht alle Planetenbild-Texte zur Verf\xFCgung stehen,         \rgibt es f\xFCr fehlende Texte als Ersatz die Halbsummen-Bedeutungen.\r\rSie k\xF6nnen nach  'ok '  w\xE4hlen, ob nur vorhandene PL-Bild-Texte\roder auch Ersatztexte (alle) gespeichert oder gedruckt werden.";
// Our own additions
/// Appended to the analysis title to name the print job (and proposed PDF file) of the text export.
inline constexpr std::string_view kExportJobSuffix =
    " - Texte";

// The time probe ("Zeitprobe") under Extras.
inline constexpr std::string_view kMenuZeitprobe1 =
    "&Zeitprobe \x85";
inline constexpr std::string_view kCaptionZeitprobe =
    "Zeitprobe";
inline constexpr std::string_view kZeitprobeExplanation =
    "Welche Ergebnisse h\xE4ngen an der Geburtszeit? Jede Geburtszeit wird um jede volle Minute bis zu der gew\xE4hlten Weite verschoben (0 = aus). "
    "Eingeschaltet zeigt die gelbe Ergebnisliste jeden Eintrag rot, der nicht \xFC" "ber die ganze Weite erhalten bleibt; "
    "sein Tooltip sagt, wie weit er h\xE4lt.";
inline constexpr std::string_view kZeitprobePerson1 =
    "Person 1:  \xB1 Minuten";
inline constexpr std::string_view kZeitprobePerson2 =
    "Person 2:  \xB1 Minuten";
inline constexpr std::string_view kButtonCancel =
    "Abbrechen";
inline constexpr std::string_view kTimeProbeDepends =
    "h\xE4ngt an der Geburtszeit: ";
inline constexpr std::string_view kTimeProbePerson =
    "Person ";
inline constexpr std::string_view kTimeProbeHolds =
    " fest";
inline constexpr std::string_view kTimeProbeOnly =
    " nur ";
inline constexpr std::string_view kTimeProbeTo =
    " bis ";
inline constexpr std::string_view kTimeProbeMinutes =
    " min";

// The partner ranking.
inline constexpr std::string_view kMenuRanking =
    "Partner-&Rangliste \x85";
inline constexpr std::string_view kRankColumns[] = {
    "Rang", "S", "D", "E", "L", "Name", "Vorname", "Datei"};
static_assert(std::size(kRankColumns) == 8);
inline constexpr std::string_view kRankNoPartner =
    "Kein Partner-Horoskop konnte geladen werden.";
inline constexpr std::string_view kRankBirthDate =
    "Geburtsdatum";
inline constexpr std::string_view kRankCaption =
    "Partner-Rangliste";
inline constexpr std::string_view kRankFolderLabel =
    "Ordner: ";
inline constexpr std::string_view kRankChooseFolder =
    "&Ordner \x85";
inline constexpr std::string_view kRankStart =
    "&Rangliste erstellen";
inline constexpr std::string_view kRankCancel =
    "&Abbrechen";
inline constexpr std::string_view kRankEnterOrbs =
    "Bitte beide Orben eingeben (z. B. 1,0 und 0,5), dann \"Rangliste erstellen\".";
inline constexpr std::string_view kRankSearching =
    "Partner-Horoskope werden verglichen \x85";
inline constexpr std::string_view kRankCancelled =
    "Abgebrochen.";
inline constexpr std::string_view kRankComparedAfter =
    " Partner verglichen. Doppelklick auf eine Zeile l\xE4" "dt den Partner als Person 2.";
inline constexpr std::string_view kRankProblemsAfter =
    " Datei(en) konnten nicht geladen werden:";
// The dial window "Scheibe" and its pictures
inline constexpr std::string_view kMenuDial =
    "&Scheibe \x85";
inline constexpr std::string_view kDialCaption =
    "Scheibe";
inline constexpr std::string_view kDialInner =
    "innen: ";
inline constexpr std::string_view kDialOuter =
    "au\xDF" "en: ";
inline constexpr std::string_view kDialOnPointer =
    "Im Orbis des Zeigers";
inline constexpr std::string_view kDialOrbDefault =
    " (Vorgabe, solange kein einfacher Orbis eingegeben ist)";
inline constexpr std::string_view kDialPointerLabel =
    "Zeiger: ";
inline constexpr std::string_view kDialSavePng =
    "Als &PNG speichern \x85";
inline constexpr std::string_view kDialSaveSvg =
    "Als S&VG speichern \x85";
inline constexpr std::string_view kDialPrint =
    "&Drucken \x85";
inline constexpr std::string_view kDialNoPicture =
    "Das Bild konnte nicht erzeugt werden.";
inline constexpr std::string_view kDialPrintFailed =
    "Der Druck konnte nicht gestartet werden.";
inline constexpr std::string_view kDialPerson1 =
    "Person 1: ";
inline constexpr std::string_view kDialPerson2 =
    "Person 2: ";
inline constexpr std::string_view kDialBorn =
    ", geb. ";
inline constexpr std::string_view kDialTimeSuffix =
    " WZ, ";
inline constexpr std::string_view kDialModulusLabel =
    "&Scheibe:";
inline constexpr std::string_view kDialModulusSuffix =
    "\xB0-Scheibe";
inline constexpr std::string_view kDialTreePointer =
    "Zeiger";
inline constexpr std::string_view kDialColumnPoint =
    "Punkt";
inline constexpr std::string_view kDialColumnPosition =
    "Position";
inline constexpr std::string_view kDialColumnDistance =
    "Abstand";
inline constexpr std::string_view kDialColumnLongitude =
    "L\xE4" "nge";
inline constexpr std::string_view kDialShowMovers =
    "&Ausl\xF6ser zeigen";
inline constexpr std::string_view kDialDateLabel =
    "Da&tum (UT):";
inline constexpr std::string_view kDialTimeLabel =
    "&Zeit (UT):";
inline constexpr std::string_view kDialBadInstant =
    "Datum TT.MM.JJJJ und Zeit hh:mm eingeben";

// Why an atlas index (places/atlas.h) is not used.
inline constexpr std::string_view kAtlasIndexDamaged =
    "Der Atlas-Index ist besch\xE4" "digt oder unvollst\xE4" "ndig.";
inline constexpr std::string_view kAtlasIndexVersion =
    "Der Atlas-Index stammt von einer anderen Programmversion.";
inline constexpr std::string_view kAtlasIndexStale =
    "Der Atlas-Index wurde aus einer anderen Atlas-Datei gemacht (veraltet).";
// Drive C: where it comes from ("duoskop-cli drive", Extras > "&Laufwerk C: \x85")
inline constexpr std::string_view kMenuLaufwerkC1 =
    "&Laufwerk C: \x85";
inline constexpr std::string_view kLaufwerkAusAufruf =
    "angegeben mit --drive-c";
inline constexpr std::string_view kLaufwerkAusUmgebung =
    "aus der Umgebungsvariablen DUOSKOP_DRIVE_C";
inline constexpr std::string_view kLaufwerkGewaehlt =
    "im Programm gew\xE4hlter Ordner";
inline constexpr std::string_view kLaufwerkWine =
    "Laufwerk C von Wine (mit astro\\daten)";
inline constexpr std::string_view kLaufwerkPersoenlich =
    "pers\xF6nliches Laufwerk C (beim ersten Start mit den Beispielen angelegt)";
inline constexpr std::string_view kLaufwerkBeispiel =
    "Beispiel-Laufwerk des Programms, nur zum Lesen";
inline constexpr std::string_view kLaufwerkNichtAngelegt =
    "Das pers\xF6nliche Laufwerk C kann nicht angelegt werden: ";
inline constexpr std::string_view kLaufwerkNaechsterStart =
    "Ab dem n\xE4" "chsten Start";
inline constexpr std::string_view kLaufwerkOhneAufruf =
    " ohne --drive-c";
inline constexpr std::string_view kLaufwerkWahl =
    "\r\rEin anderer Ordner oder der Standard (Laufwerk C von Wine, sonst das pers\xF6nliche) gilt ab dem n\xE4" "chsten Start.";
inline constexpr std::string_view kLaufwerkAndererOrdner =
    "Anderer Ordner \x85";
inline constexpr std::string_view kLaufwerkStandard =
    "Standard wiederherstellen";
inline constexpr std::string_view kLaufwerkOhneDaten =
    " enth\xE4lt kein astro\\daten.\rDen Ordner astro\\daten dort anlegen?";
inline constexpr std::string_view kLaufwerkNeu =
    "Laufwerk C ist ab dem n\xE4" "chsten Start: ";
inline constexpr std::string_view kLaufwerkVorrang =
    "\rDUOSKOP_DRIVE_C oder --drive-c gehen dieser Wahl vor.";

}  // namespace duoskop::texts

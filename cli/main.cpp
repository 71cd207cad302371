// SPDX-License-Identifier: GPL-3.0-or-later
// duoskop-cli: the table of commands, each with its German call and help text, and the dispatch.
// A new command adds one entry here and its function in cli.h.
//
// The same file makes two programs. duoskop-cli has no Qt, so that the commands that draw nothing
// start without loading a Qt library; a command that draws (run nullptr there) is carried out by
// duoskop-cli-draw (built with DUOSKOP_CLI_DRAWS, in <prefix>/lib/duoskop), which duoskop-cli
// executes in its own place with the same arguments: output and exit status are those of the
// drawing program.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/cp1252.h"
#include "base/io_error.h"
#include "cli/cli.h"
#include "cli/options.h"
#include "precise/precise_positions.h"
#include "precise/precise_series.h"
#include "precise/precise_texts.h"

namespace duoskop::cli {

namespace {

struct Command {
    std::string_view name;
    int (*run)(const Args& args);  ///< nullptr: a drawing command, run by duoskop-cli-draw
    std::span<const OptionRule> rules;  ///< its options, as the command reads them
    std::string_view summary;  ///< one line for the command list of `duoskop-cli --help`
    std::string_view call;     ///< the call, continuation lines indented by 19 blanks
    std::string_view help;     ///< what the command does and what its options mean
};

#ifdef DUOSKOP_CLI_DRAWS
#define DRAWING(run) run
#else
#define DRAWING(run) nullptr
#endif

// UTF-8 texts for the terminal (the core's texts are Windows-1252 and converted where printed).
const Command commands[] = {
    {
        "chart",
        cmd_chart,
        chart_rules,
        "zeigt, was aus Horoskop-Dateien gelesen und berechnet wird",
        "duoskop-cli chart [--raw] [--precise] [--drive-c ORDNER] DATEI...",
        "L\u00E4dt jede Horoskop-Datei wie das Programm und zeigt ihre sieben Felder und die Positionen\n"
        "der K\u00F6rper im Tierkreis und auf der 22,5\u00B0-Scheibe.\n"
        "\n"
        "  --raw              je Datei eine Zeile mit den 24 berechneten L\u00E4ngen in Grad\n"
        "  --precise          SO, MO und ME bis PL genau (scheinbare L\u00E4ngen) statt nach der\n"
        "                     Rechnung des Programms\n"
        "  --drive-c ORDNER   Ordner, der f\u00FCr Laufwerk C steht: ein relativer Dateiname, den es\n"
        "                     so nicht gibt, wird in dessen astro\\daten gesucht\n",
    },
    {
        "axes",
        cmd_axes,
        axes_rules,
        "zeigt die sechs MC-SO-Suchachsen zweier Personen",
        "duoskop-cli axes P1 P2 [--precise] [--report DATEI] [--drive-c ORDNER]",
        "L\u00E4dt die Horoskop-Dateien P1 und P2 als Person 1 und 2 und zeigt den Block der sechs\n"
        "Suchachsen, wie ihn das Hauptfenster zeigt.\n"
        "\n"
        "  --report DATEI     schreibt den Block auch als Textdatei (Windows-1252, CR LF)\n"
        "  --precise          SO, MO und ME bis PL genau (scheinbare L\u00E4ngen) statt nach der\n"
        "                     Rechnung des Programms\n"
        "  --drive-c ORDNER   Ordner, der f\u00FCr Laufwerk C steht (P1 und P2 wie bei chart)\n",
    },
    {
        "compare",
        cmd_compare,
        compare_rules,
        "f\u00FChrt einen der f\u00FCnf Vergleiche aus",
        "duoskop-cli compare P1 P2 --analysis solar|double|simple|halfsum|list\n"
        "                   --double ORBIS --simple ORBIS [--halfsum ORBIS] [--report DATEI]\n"
        "                   [--entries DATEI] [--export-texts bilder|alle DATEI] [--precise]\n"
        "                   [--drive-c ORDNER] [--time-window N1[,N2]] [--json]",
        "L\u00E4dt P1 und P2 und f\u00FChrt einen Vergleich aus; schreibt das Ergebnis und danach die\n"
        "Eintr\u00E4ge der Ergebnisliste.\n"
        "\n"
        "  --analysis A       solar: SO1/SO2-Achse, double: MC-SO-Achsen (dopp.),\n"
        "                     simple: MC-AS-Achsen (einf.), halfsum: MC-AS-Halbsummen,\n"
        "                     list: MC-AS-Liste\n"
        "  --double ORBIS     doppelter Orbis in Grad, etwa 1,0\n"
        "  --simple ORBIS     einfacher Orbis in Grad, etwa 0,5\n"
        "  --halfsum ORBIS    Orbis der Halbsummen-Auswertung (f\u00FCr halfsum n\u00F6tig, gr\u00F6\u00DFer 0)\n"
        "  --report DATEI     speichert das Ergebnis wie \"Speichern\" im Ergebnisfenster\n"
        "  --entries DATEI    schreibt die Eintr\u00E4ge der Ergebnisliste, einen je Zeile\n"
        "  --export-texts bilder|alle DATEI\n"
        "                     speichert die Deutungstexte aller Eintr\u00E4ge wie der Text-Export\n"
        "  --precise          SO, MO und ME bis PL genau (scheinbare L\u00E4ngen) statt nach der\n"
        "                     Rechnung des Programms\n"
        "  --drive-c ORDNER   Ordner, der f\u00FCr Laufwerk C steht (Deutungstexte; P1 und P2\n"
        "                     wie bei chart)\n"
        "  --time-window N1[,N2]\n"
        "                     Zeitprobe: verschiebt die Geburtszeit von Person 1 um bis zu N1,\n"
        "                     die von Person 2 um bis zu N2 Minuten (0 bis 720, N2 wie N1) und\n"
        "                     schreibt hinter jeden Eintrag einen Tabulator und \"fest\" oder\n"
        "                     die Minuten, in denen er bleibt (P1 -3..+2 P2 -4..+4)\n"
        "  --json             schreibt Titel, \u00DCberschrift, Zeilen und Eintr\u00E4ge als ein\n"
        "                     JSON-Objekt (UTF-8)\n",
    },
    {
        "new-chart",
        cmd_new_chart,
        new_chart_rules,
        "schreibt eine Horoskop-Datei",
        "duoskop-cli new-chart DATEI --name N --first-name V --date TT.MM.JJJJ\n"
        "                   (--time HH:MM:SS | --local-time HH:MM[:SS] | --unknown-time)\n"
        "                   [--zone ZONE] [--place ORT [--country LAND] [--region NAME]] [--longitude L]\n"
        "                   [--latitude B] [--ambiguous earlier|later] [--extra Z] [--force]",
        "Schreibt die Horoskop-Datei einer Person (77 Bytes). Jedes Feld wird vorher gepr\u00FCft;\n"
        "der Dateiname muss mit dem Namen beginnen. Genau eine von --time, --local-time und\n"
        "--unknown-time; mit --local-time eine Zeile, was umgerechnet wurde.\n"
        "\n"
        "  --name N           Name, h\u00F6chstens 10 Zeichen\n"
        "  --first-name V     Vorname, h\u00F6chstens 10 Zeichen\n"
        "  --date TT.MM.JJJJ  Geburtsdatum\n"
        "  --time HH:MM:SS    Geburtszeit in Weltzeit\n"
        "  --local-time HH:MM[:SS]\n"
        "                     Geburtszeit als Ortszeit; die Datei bekommt Weltzeit (das Datum kann\n"
        "                     sich \u00E4ndern) mit der Zeitzone aus --zone oder der des Ortes\n"
        "  --unknown-time     Geburtszeit unbekannt: schreibt 12:00:00\n"
        "  --zone ZONE        Zeitzone der Ortszeit (nur mit --local-time): IANA-Name wie\n"
        "                     Europe/Berlin (mit der Geschichte der Zone), fester Versatz wie\n"
        "                     UTC+01:00 oder LMT (mittlere Ortszeit der L\u00E4nge)\n"
        "  --place ORT        Ort im Atlas (Koordinaten, Zeitzone, Vorgabe f\u00FCr --extra, wie geschrieben):\n"
        "                     die genaue Schreibung, dann ohne Akzente, dann mit ae/oe/ue/ss, dann\n"
        "                     als Anfang; stehen in der besten Stufe Orte mehr als 10 km auseinander,\n"
        "                     werden sie aufgelistet und nichts geschrieben (\"Name, Region\" w\u00E4hlt)\n"
        "  --region NAME      Region des Ortes (Bundesland, Kanton), wenn der Name mehrdeutig ist\n"
        "  --country LAND     Land des Ortes, ISO- oder Kfz-Kennzeichen (DE oder D)\n"
        "  --ambiguous earlier|later\n"
        "                     welche Lesart einer Ortszeit, die es zweimal gab (Herbst): earlier\n"
        "                     ist die erste der beiden; ohne die Angabe wird sie abgelehnt\n"
        "  --longitude L      geografische L\u00E4nge, wie +008 30 00 oder in Grad (8,5 oder 8.5)\n"
        "  --latitude B       geografische Breite, wie +53 33 00 oder in Grad\n"
        "  --extra Z          Zusatzfeld, etwa der Geburtsort\n"
        "  --force            ersetzt eine vorhandene Datei\n",
    },
    {
        "places",
        cmd_places,
        places_rules,
        "sucht Orte im Atlas",
        "duoskop-cli places SUCHE [--limit N]",
        "Sucht Orte im Atlas (GeoNames, Orte ab 1000 Einwohnern) und zeigt die besten, je Zeile:\n"
        "Name, Region, Land, Breite, L\u00E4nge (Dezimalgrad, Nord und Ost positiv), Zeitzone und\n"
        "Einwohner, durch Tabulatoren getrennt. Gro\u00DF- und Kleinschreibung und Akzente z\u00E4hlen\n"
        "nicht, ae/oe/ue stehen f\u00FCr \u00E4/\u00F6/\u00FC; die Suche trifft den Anfang des Namens oder eines\n"
        "anderen Namens des Ortes (Wien findet Vienna, Mailand findet Milano). Ganze Namen kommen\n"
        "vor Anf\u00E4ngen, dann die gr\u00F6\u00DFeren Orte.\n"
        "\n"
        "  --limit N          h\u00F6chstens N Orte (Vorgabe 10)\n",
    },
    {
        "import",
        cmd_import,
        import_rules,
        "liest AAF- oder CSV-Dateien in Horoskop-Dateien ein",
        "duoskop-cli import DATEI --to ORDNER [--force]",
        "Liest Geburtsdaten aus einer AAF-Datei (#A93, #B93) oder einer CSV-Datei und schreibt je\n"
        "Person eine Horoskop-Datei NAME.dat in ORDNER. Ortszeiten werden mit der Zeitzonendatenbank\n"
        "umgerechnet; Orte ohne Koordinaten oder Zone werden im Atlas gesucht (Land als ISO- oder\n"
        "Kfz-Kennzeichen). Fehlerhafte S\u00E4tze werden mit Zeile und Grund gemeldet und \u00FCbersprungen;\n"
        "am Ende steht \"N geschrieben, M \u00FCbersprungen\" (R\u00FCckgabewert 1, wenn etwas fehlte),\n"
        "dazu \"K schon vorhanden\" f\u00FCr Horoskope, deren Datei schon genau so da ist. Eine Datei\n"
        "ohne erkennbaren Satz wird abgelehnt (R\u00FCckgabewert 1).\n"
        "\n"
        "  AAF: #A93 und #B93 in beliebiger Schreibung; * = nicht angegeben, ** = der Text *\n"
        "  CSV: nach Kommentarzeilen, die mit # beginnen, eine Kopfzeile, die die Spalten in\n"
        "       beliebiger Reihenfolge nennt (getrennt durch ; oder ,), etwa\n"
        "       Name;Vorname;Datum;Zeit;Zone;Ort;Land;Breite;Laenge;Zusatz (auch L\u00E4nge, Region);\n"
        "       ohne Kopfzeile oder mit unbekannter Spalte wird die Datei abgelehnt\n"
        "  Jede Zeile, die kein UTF-8 ist, wird als Windows-1252 gelesen (die Zahl steht am Ende).\n"
        "       Zeit leer oder * = unbekannt; Zone UT = die Zeit ist Weltzeit; Zone, Breite und\n"
        "       L\u00E4nge leer = vom Ort; Koordinaten in Grad (Nord, Ost positiv) oder wie 53 33 00\n"
        "  --to ORDNER        wohin die Horoskop-Dateien kommen\n"
        "  --force            ersetzt vorhandene Dateien\n",
    },
    {
        "export",
        cmd_export,
        export_rules,
        "schreibt Horoskop-Dateien als AAF",
        "duoskop-cli export ORDNER|DATEI... --aaf DATEI [--drive-c ORDNER]",
        "Schreibt die Horoskop-Dateien (aus einem Ordner und seinen Unterordnern alle, deren Name\n"
        "zum Inhalt passt) als AAF: #A93 mit Weltzeit, dem Zusatzfeld als Ort und unbekanntem Land,\n"
        "#B93 mit Julianischem Tag, Koordinaten, Zone 0he00 und Sommerzeit 0. Ein Datum wie\n"
        "31.02.1990 wird geschrieben, wie die Berechnung es liest (03.03.1990, mit Hinweis auf\n"
        "stderr); eine Datei, die AAF nicht tragen kann (Komma im Namen), wird genannt, gez\u00E4hlt und\n"
        "ergibt R\u00FCckgabewert 1. Ergibt keine Quelle ein Horoskop, wird nichts geschrieben: die\n"
        "AAF-Datei bleibt, wie sie war (R\u00FCckgabewert 1).\n"
        "\n"
        "  --aaf DATEI        die AAF-Datei (Windows-1252, CR LF)\n"
        "  --drive-c ORDNER   Ordner, der f\u00FCr Laufwerk C steht (ORDNER|DATEI wie bei chart)\n",
    },
    {
        "rank",
        cmd_rank,
        rank_rules,
        "ordnet viele Partner nach den gemeinsamen Eintr\u00E4gen mit einer Person",
        "duoskop-cli rank P1 PFAD... --double ORBIS --simple ORBIS [--top K] [--csv DATEI]\n"
        "                   [--time-window N1[,N2]] [--drive-c ORDNER]",
        "L\u00E4dt P1 als Person 1 und jede Horoskop-Datei unter den PFADen (Dateien oder Ordner mit\n"
        "ihren Unterordnern; P1 selbst ausgenommen) als Person 2, f\u00FChrt die doppelten und die\n"
        "einfachen Erg\u00E4nzungen und die MC-AS-Liste aus und z\u00E4hlt ihre Eintr\u00E4ge: D, E und L\n"
        "(ohne MC/AS=MC/AS). Je Partner eine Zeile, die besten zuerst (S = D + E + L absteigend,\n"
        "dann Dateipfad), getrennt durch Tabulatoren: Rang, S, D, E, L, Name, Vorname, Datei.\n"
        "Dateien, die nicht geladen werden k\u00F6nnen, werden auf stderr gemeldet und \u00FCbergangen;\n"
        "R\u00FCckgabewert 1 nur, wenn kein Partner geladen werden konnte.\n"
        "\n"
        "  --double ORBIS     doppelter Orbis in Grad, etwa 1,0\n"
        "  --simple ORBIS     einfacher Orbis in Grad, etwa 0,5\n"
        "  --top K            nur die ersten K Zeilen\n"
        "  --csv DATEI        schreibt dieselbe Tabelle mit Kopfzeile als CSV-Datei (UTF-8)\n"
        "  --time-window N1[,N2]\n"
        "                     Zeitprobe wie bei compare: eine weitere Spalte F z\u00E4hlt die\n"
        "                     Eintr\u00E4ge, die \u00FCber beide ganzen Zeitfenster bleiben (\"fest\")\n"
        "  --drive-c ORDNER   Ordner, der f\u00FCr Laufwerk C steht (P1 und PFADe wie bei chart)\n",
    },
    {"texts", cmd_texts, texts_rules, texts_summary, texts_call, texts_help},
    {
        "midpoints",
        cmd_midpoints,
        midpoints_rules,
        "zeigt die sortierte Halbsummenliste einer Scheibe oder den Halbsummenbaum am Zeiger",
        "duoskop-cli midpoints P1 P2 [--modulus M] [--sorted | --pointer GRAD] [--orb O]\n"
        "                   [--drive-c ORDNER]",
        "L\u00E4dt P1 und P2 und zeigt ihre Punkte auf der Scheibe: die Faktoren MC bis PO beider\n"
        "Personen und jede Halbsumme von Person 1, von Person 2 und \u00FCber beide hinweg, jeden\n"
        "Punkt einmal, benannt wie MC1, SO2, MC1/VE2, SO2/MA2; der Widderpunkt geh\u00F6rt zu keiner\n"
        "Person (WI, WI/VE2). Jede Zeile nennt die Position auf der Scheibe in Grad mit zwei\n"
        "Dezimalen, einen Tabulator, den Namen, einen Tabulator und die L\u00E4nge im Tierkreis\n"
        "(05\u00B030' KRE; von einer Halbsumme ihr n\u00E4herer Punkt, auf dem k\u00FCrzeren Bogen).\n"
        "\n"
        "  --modulus M        Gr\u00F6\u00DFe der Scheibe: 360, 90, 45, 22,5 (Vorgabe) oder 11,25 (auch\n"
        "                     22.5 und 11.25); auf der 360\u00B0-Scheibe steht eine Halbsumme an\n"
        "                     ihrem n\u00E4heren Punkt, auf den kleineren fallen beide Punkte zusammen\n"
        "  --sorted           die sortierte Halbsummenliste (Vorgabe): jeder Punkt in einer Zeile,\n"
        "                     nach der Position auf der Scheibe aufsteigend\n"
        "  --pointer GRAD     der Halbsummenbaum am Zeiger auf dieser Scheibenposition (etwa 7,5;\n"
        "                     ein gr\u00F6\u00DFerer Wert z\u00E4hlt um die Scheibe herum, auch eine L\u00E4nge).\n"
        "                     Erste Zeile: \"Zeiger 7,50 auf der 22,5\u00B0-Scheibe, Orbis 1,00\".\n"
        "                     Dann jeder Faktor im Orbis des Zeigers, der n\u00E4chste zuerst, und\n"
        "                     unter ihm, zwei Leerzeichen einger\u00FCckt, die Halbsummen im Orbis\n"
        "                     des Zeigers, die ihm im Orbis gleich sind; zuletzt die Halbsummen im\n"
        "                     Orbis des Zeigers, die keinem dieser Faktoren gleich sind. Hinter der\n"
        "                     L\u00E4nge folgen ein Tabulator und der Abstand zum Zeiger (zum Faktor\n"
        "                     dar\u00FCber bei einer einger\u00FCckten Zeile) in Grad mit zwei Dezimalen\n"
        "  --orb O            Orbis des Baums in Grad, gelesen wie die Orbisfelder (1,5; Vorgabe\n"
        "                     1,0): wie bei den Vergleichen z\u00E4hlt ein Abstand gleich dem Orbis\n"
        "                     nicht, und \u00FCber die 0 der Scheibe hinweg wird weitergemessen; der\n"
        "                     Abstand gilt auf der gew\u00E4hlten Scheibe, den k\u00FCrzeren Weg herum\n"
        "  --drive-c ORDNER   Ordner, der f\u00FCr Laufwerk C steht (P1 und P2 wie bei chart)\n",
    },
    {
        "timeline",
        cmd_timeline,
        timeline_rules,
        "listet, wann Sonnenb\u00F6gen und Transite die Punkte eines Paares treffen",
        "duoskop-cli timeline P1 P2 --from TT.MM.JJJJ --to TT.MM.JJJJ [--movers sb1,sb2,t]\n"
        "                   [--transits LISTE] [--targets LISTE] [--arc true|naibod] [--precise]\n"
        "                   [--transits-from genau|theorie] [--double O --simple O [--halfsum O]]\n"
        "                   [--clusters N[,K]] [--tsv] [--csv DATEI] [--ics DATEI] [--json]\n"
        "                   [--zone ZONE] [--drive-c ORDNER]",
        "L\u00E4dt P1 und P2 und sucht jeden Zeitpunkt, zu dem ein Ausl\u00F6ser (ein Faktor im\n"
        "Sonnenbogen einer Person oder ein Transit) um ein Vielfaches von 22,5\u00B0 von einem Ziel\n"
        "(einem Punkt des Paares) absteht, auf die Minute genau (Weltzeit). Winkel ist der kleinere\n"
        "Winkel zwischen Ausl\u00F6ser und Ziel (bei einer Halbsumme zum n\u00E4heren ihrer beiden Punkte);\n"
        "Richtung d (direkt), r (r\u00FCckl\u00E4ufig) oder s (Station: zwei Durchg\u00E4nge weniger als\n"
        "30 Minuten auseinander, oder eine Station, die das Ziel bis auf 1\" ber\u00FChrt). Danach die\n"
        "Ballungen: Treffer auf Ziele des Ergebnisses, je h\u00F6chstens N Tage nach dem vorigen, mit\n"
        "mindestens K verschiedenen Zielen (\"beide\", wenn beide Sonnenb\u00F6gen darin treffen).\n"
        "Ist eine Geburtszeit unbekannt (12:00:00), fehlen MC und AS dieser Person.\n"
        "\n"
        "  --from TT.MM.JJJJ  erster Tag (ab 00:00 Weltzeit)\n"
        "  --to TT.MM.JJJJ    letzter Tag (bis 24:00 Weltzeit)\n"
        "  --movers LISTE     sb1 (Sonnenbogen Person 1), sb2, t (Transite); Vorgabe alle drei\n"
        "  --transits LISTE   laufende K\u00F6rper, etwa SA,UR (m\u00F6glich: SO, MO, KN, ME bis PL,\n"
        "                     CU bis PO); Vorgabe JU bis PO\n"
        "  --targets LISTE    ergebnis (Vorgabe: Achsen, MC, AS, SO, MO beider Personen und mit den\n"
        "                     Orben die Halbsummen der Eintr\u00E4ge aller Vergleiche), faktoren,\n"
        "                     kreuz (Halbsummen \u00FCber beide Personen), eigene, alle, oder Namen\n"
        "                     wie MC1, MC1/VE2, WI/SO2\n"
        "  --arc true|naibod  Sonnenbogen aus dem Lauf der Sonne (Vorgabe) oder 0,98564733\u00B0 je Jahr\n"
        "  --precise          Radix und Sonnenbogen aus genauen Positionen\n"
        "  --transits-from genau|theorie\n"
        "                     Transite von SO, MO und ME bis PL genau (Vorgabe; Jahre 1000 bis\n"
        "                     3000) oder nach der Rechnung des Programms\n"
        "  --double O --simple O [--halfsum O]\n"
        "                     Orben der Vergleiche f\u00FCr die Ziele des Ergebnisses\n"
        "  --clusters N[,K]   Ballungen: h\u00F6chstens N Tage Abstand (Vorgabe 30), mindestens K\n"
        "                     Ziele (Vorgabe 3)\n"
        "  --tsv              statt der Tabelle: Kopfzeile, dann je Treffer eine Zeile mit Datum,\n"
        "                     Zeit (UT), Ausl\u00F6ser, Winkel, Ziel, Richtung, Ergebnis (Tabulatoren)\n"
        "  --csv DATEI        dieselben Spalten als CSV-Datei (UTF-8)\n"
        "  --ics DATEI        je Treffer ein Termin als Kalenderdatei (iCalendar)\n"
        "  --json             statt der Tabelle ein JSON-Objekt mit Treffern und Ballungen\n"
        "  --zone ZONE        Ortszeit der Tabelle: IANA-Name oder Versatz wie UTC+01:00\n"
        "                     (Vorgabe: die Zone des Systems)\n"
        "  --drive-c ORDNER   Ordner, der f\u00FCr Laufwerk C steht (P1 und P2 wie bei chart)\n",
    },
    {
        "drive",
        cmd_drive,
        drive_rules,
        "zeigt oder w\u00E4hlt den Ordner, der f\u00FCr Laufwerk C steht",
        "duoskop-cli drive [--set ORDNER | --reset] [--drive-c ORDNER]",
        "Zeigt den Ordner, der f\u00FCr Laufwerk C steht (erste Zeile), und woher er kommt (zweite\n"
        "Zeile). Es gilt der erste Treffer: --drive-c, die Umgebungsvariable DUOSKOP_DRIVE_C, der\n"
        "gew\u00E4hlte Ordner (auch im Programm unter Extras, \"Laufwerk C\"), Laufwerk C von Wine\n"
        "($WINEPREFIX/drive_c, sonst ~/.wine/drive_c), wenn es astro/daten hat, sonst das\n"
        "pers\u00F6nliche Laufwerk $XDG_DATA_HOME/duoskop/drive_c (~/.local/share/duoskop/drive_c),\n"
        "das beim ersten Start mit den Beispiel-Horoskopen, KTEXTE.txt und PBTX angelegt wird.\n"
        "\n"
        "  --set ORDNER       w\u00E4hlt ORDNER f\u00FCr alle Programme (gespeichert in\n"
        "                     ~/.config/Duoskop/laufwerk-c)\n"
        "  --reset            vergisst den gew\u00E4hlten Ordner\n"
        "  --drive-c ORDNER   zeigt, was mit dieser Angabe gilt\n",
    },
#ifdef DUOSKOP_CLI_DIAL
    // The commands that draw with Qt Gui, one line each: DRAWING(run) runs them in duoskop-cli-draw.
    {"dial", DRAWING(cmd_dial), dial_rules, dial_summary, dial_call, dial_help},
    {"report", DRAWING(cmd_report), report_rules, report_summary, report_call, report_help},
    {"ephemeris", DRAWING(cmd_ephemeris), ephemeris_rules, ephemeris_summary, ephemeris_call, ephemeris_help},
#endif
};

constexpr std::string_view exit_codes =
    "R\u00FCckgabewert: 0 erledigt, 1 eine Datei ging nicht (Meldung auf stderr), 2 falscher Aufruf.\n";

const Command* find_command(std::string_view name)
{
    for (const Command& c : commands)
        if (c.name == name) return &c;
    return nullptr;
}

void print_calls(std::FILE* out, std::span<const Command> which)
{
    bool first = true;
    for (const Command& c : which) {
        std::fprintf(out, "%s%.*s\n", first ? "Aufruf: " : "        ", static_cast<int>(c.call.size()),
                     c.call.data());
        first = false;
    }
}

int overall_help()
{
    std::printf("duoskop-cli: Duoskop im Terminal, zwei Radix-Horoskope vergleichen\n\n"
                "Aufruf: duoskop-cli BEFEHL [OPTIONEN]\n"
                "        duoskop-cli BEFEHL --help | --version\n"
                "        duoskop-cli --help | --version\n\n"
                "Befehle:\n");
    for (const Command& c : commands)
        std::printf("  %-12.*s%.*s\n", static_cast<int>(c.name.size()), c.name.data(),
                    static_cast<int>(c.summary.size()), c.summary.data());
    std::printf("\n%.*s", static_cast<int>(exit_codes.size()), exit_codes.data());
    return 0;
}

int command_help(const Command& c)
{
    print_calls(stdout, std::span(&c, 1));
    std::printf("\n%.*s\n%.*s", static_cast<int>(c.help.size()), c.help.data(),
                static_cast<int>(exit_codes.size()), exit_codes.data());
    return 0;
}

/// The line that names the position table the precise positions use (file, the libnova it was
/// fitted from, the years it serves), or "keine" and why.
std::string precise_table_line()
{
    const InstalledTable& installed = installed_precise_table();
    std::string line = terminal_text(std::string(texts::kPreciseTableLine));
    if (!installed.table) {
        return line + terminal_text(std::string(texts::kPreciseTableNone)) + " (" +
               valid_utf8(installed.path.string()) + ": " + terminal_text(installed.error) + ")";
    }
    const TableInfo& info = installed.table->info();
    std::string about = std::string(texts::kPreciseTableFittedFrom) + info.libnova_version;
    if (info.libnova_version != libnova_version())
        about += std::string(texts::kPreciseTableLoaded) + libnova_version();
    about += ", " + std::to_string(info.first_year) + std::string(texts::kPreciseTableYearsTo) +
             std::to_string(info.last_year);
    return line + valid_utf8(installed.path.string()) + " (" + terminal_text(about) + ")";
}

int version()
{
    std::printf("duoskop-cli %s\n%s\n", DUOSKOP_VERSION, precise_table_line().c_str());
    return 0;
}

bool asks_for_help(std::string_view a) { return a == "--help" || a == "-h"; }

/// Carries out a drawing command by executing duoskop-cli-draw with the same arguments; returns
/// only when that program cannot be started (1, with the reason on stderr).
int run_drawing_program(std::span<char*> argv)
{
    // Found beside the running program, so that a moved installation keeps finding it:
    // <prefix>/bin/duoskop-cli and <prefix>/lib/duoskop/duoskop-cli-draw, in the build tree as well.
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::filesystem::path program = exe.parent_path().parent_path() / "lib" / "duoskop" / "duoskop-cli-draw";
    std::vector<char*> arguments(argv.begin(), argv.end());
    arguments.push_back(nullptr);
    std::fflush(stdout);
    ::execv(program.c_str(), arguments.data());
    const int error = errno;
    std::fprintf(stderr, "duoskop-cli %s: %s: %s\n", argv[1], valid_utf8(program.string()).c_str(),
                 terminal_text(io_error_text(error)).c_str());
    return 1;
}

}  // namespace

std::string terminal_text(const std::string& text)
{
    std::string utf8 = cp1252_to_utf8(text);
    for (char& c : utf8)
        if (c == '\r') c = '\n';
    return utf8;
}

std::string chart_file_path(const std::string& given, const DriveC& drive)
{
    std::error_code ec;
    const std::filesystem::path path(given);
    if (given.empty() || path.is_absolute() || std::filesystem::exists(path, ec)) return given;
    const std::optional<std::string> name = utf8_to_cp1252(given);
    if (!name) return given;
    const std::filesystem::path in_drive = drive.resolve("C:\\astro\\daten\\" + *name);
    return std::filesystem::exists(in_drive, ec) ? in_drive.string() : given;
}

int usage()
{
    print_calls(stderr, commands);
    std::fputs("Hilfe: duoskop-cli --help, duoskop-cli BEFEHL --help\n", stderr);
    return 2;
}

int usage(std::string_view command)
{
    const Command* c = find_command(command);
    if (c == nullptr) return usage();
    print_calls(stderr, std::span(c, 1));
    std::fprintf(stderr, "Hilfe: duoskop-cli %.*s --help\n", static_cast<int>(c->name.size()), c->name.data());
    return 2;
}

int run(std::span<char*> argv)
{
    if (argv.size() < 2) return usage();
    const std::string_view first = argv[1];
    if (argv.size() == 2 && asks_for_help(first)) return overall_help();
    if (argv.size() == 2 && first == "--version") return version();
    const Command* command = find_command(first);
    if (command == nullptr) return usage();
    const Args args(argv.begin() + 2, argv.end());
    switch (help_or_version(args, command->rules)) {
    case Request::help:
        return command_help(*command);
    case Request::version:
        return version();
    case Request::none:
        break;
    }
    if (command->run == nullptr) return run_drawing_program(argv);
    return command->run(args);
}

}  // namespace duoskop::cli

int main(int argc, char** argv)
{
    return duoskop::cli::run(std::span(argv, static_cast<std::size_t>(argc)));
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The command list line, call and German help text of `report` (UTF-8): shown by duoskop-cli, which
// has no Qt, while the report itself is laid out in duoskop-cli-draw (cmd_report.cpp).
#include <string_view>

#include "cli/cli.h"
#include "cli/options.h"

namespace duoskop::cli {

// The options of `report`, read by duoskop-cli too (to tell a call for help from a value).
constexpr OptionRule report_rule_table[] = {
    {precise_option},  {"--double", 1}, {"--simple", 1}, {"--halfsum", 1},    {"--analyses", 1},
    {"--pdf", 1},      {"--odt", 1},    {"--html", 1},   {"--title", 1},      {"--astrologer", 1},
    {"--drive-c", 1},  {"--time-window", 1}, {"--timeline", 1}, {"--ephemeris"}};
constinit const std::span<const OptionRule> report_rules = report_rule_table;

const std::string_view report_summary = "schreibt den Bericht f\u00FCr Klienten als PDF, ODT oder HTML";
const std::string_view report_call =
    "duoskop-cli report P1 P2 --double ORBIS --simple ORBIS [--halfsum ORBIS]\n"
    "                   [--analyses solar,double,simple,halfsum,list] [--pdf DATEI]\n"
    "                   [--odt DATEI] [--html DATEI] [--title TEXT] [--astrologer TEXT]\n"
    "                   [--precise] [--time-window N1[,N2]] [--timeline VON,BIS [--ephemeris]]\n"
    "                   [--drive-c ORDNER]";
const std::string_view report_help =
    "L\u00E4dt P1 und P2, f\u00FChrt die gew\u00E4hlten Vergleiche aus und schreibt einen Bericht:\n"
    "Titelseite mit beiden Personen und der 22,5\u00B0-Scheibe, Inhalt, Positionen, je Vergleich\n"
    "ein Kapitel mit seinen Zeilen und Eintr\u00E4gen samt Deutungstext und dessen Herkunft\n"
    "(Bildtext, Einzeltexte, kein Text). Jede Seite nennt unten Version, Orben, Positionen und\n"
    "Texte und z\u00E4hlt \"Seite N von M\".\n"
    "\n"
    "  --double ORBIS     doppelter Orbis in Grad, etwa 1,0\n"
    "  --simple ORBIS     einfacher Orbis in Grad, etwa 0,5\n"
    "  --halfsum ORBIS    Orbis der Halbsummen-Auswertung (n\u00F6tig, wenn halfsum dabei ist)\n"
    "  --analyses LISTE   welche Vergleiche, durch Kommas getrennt (Vorgabe: alle f\u00FCnf):\n"
    "                     solar, double, simple, halfsum, list; im Bericht in der Reihenfolge\n"
    "                     des Men\u00FCs\n"
    "  --pdf DATEI        schreibt den Bericht als PDF\n"
    "  --odt DATEI        schreibt den Bericht als OpenDocument-Text\n"
    "  --html DATEI       schreibt den Bericht als eine HTML-Datei (UTF-8, Scheibe als SVG)\n"
    "  --title TEXT       Titel der Titelseite (Vorgabe: Partnervergleich)\n"
    "  --astrologer TEXT  Name und Anschrift des Astrologen; Zeilen durch | getrennt\n"
    "  --precise          SO, MO und ME bis PL genau (scheinbare L\u00E4ngen)\n"
    "  --time-window N1[,N2]\n"
    "                     Zeitprobe wie bei compare: jeder Eintrag bekommt \"fest\" oder die\n"
    "                     Minuten, in denen er bleibt\n"
    "  --timeline VON,BIS ein Kapitel \"Ausl\u00F6sungen VON\u2013BIS\": wann die Sonnenb\u00F6gen beider\n"
    "                     Personen und die Transite die Punkte des Ergebnisses treffen\n"
    "                     (TT.MM.JJJJ,TT.MM.JJJJ; Ballungen zuerst, dann die Treffer nach Monaten)\n"
    "  --ephemeris        am Ende dieses Kapitels die grafische Ephemeride seines Zeitraums\n"
    "                     (22,5\u00B0-Scheibe, Ausl\u00F6ser und Ziele wie bei ephemeris): im PDF als\n"
    "                     Vektorgrafik, im HTML als SVG, im ODT als Bild; nur mit --timeline\n"
    "  --drive-c ORDNER   Ordner, der f\u00FCr Laufwerk C steht (Deutungstexte; P1 und P2 wie\n"
    "                     bei chart)\n"
    "\n"
    "Mindestens eine der Ausgaben --pdf, --odt oder --html ist n\u00F6tig. Geht etwas nicht,\n"
    "wird keine Datei geschrieben.\n";

}  // namespace duoskop::cli

// SPDX-License-Identifier: GPL-3.0-or-later
// The command list line, call and German help text of `dial` (UTF-8): shown by duoskop-cli, which
// has no Qt, while the drawing itself runs in duoskop-cli-draw (cmd_dial.cpp).
#include <string_view>

#include "cli/cli.h"
#include "cli/options.h"

namespace duoskop::cli {

// The options of `dial`, read by duoskop-cli too (to tell a call for help from a value).
constexpr OptionRule dial_rule_table[] = {
    {"--png", 1},     {"--svg", 1},      {"--size", 1},     {"--pointer", 1}, {"--highlight", 1},
    {"--modulus", 1}, {"--date", 1},     {"--time", 1},     {"--movers", 1},  {"--transits", 1},
    {"--arc", 1},     {"--transits-from", 1}, {"--drive-c", 1}};
constinit const std::span<const OptionRule> dial_rules = dial_rule_table;

const std::string_view dial_summary =
    "zeichnet die Scheibe (22,5\u00B0 oder eine andere Gr\u00F6\u00DFe) als PNG- oder SVG-Bild";
const std::string_view dial_call =
    "duoskop-cli dial P1 [P2] [--png DATEI] [--svg DATEI] [--size PIXEL]\n"
    "                   [--pointer GRAD] [--highlight K\u00DCRZEL] [--modulus M]\n"
    "                   [--date TT.MM.JJJJ [--time hh:mm] [--movers sb1,sb2,t] [--transits K\u00DCRZEL]\n"
    "                   [--arc true|naibod] [--transits-from genau|theorie]] [--drive-c ORDNER]";
const std::string_view dial_help =
    "Zeichnet die Scheibe (Vorgabe 22,5\u00B0) ohne Fenster und ohne Bildschirm: die 22 Faktoren von\n"
    "Person 1 (Horoskop-Datei P1) auf dem inneren Ring, die von Person 2 (P2) auf dem \u00E4u\u00DFeren.\n"
    "\n"
    "  --png DATEI        speichert das Bild als PNG\n"
    "  --svg DATEI        speichert das Bild als SVG (die Beschriftung bleibt Text)\n"
    "  --size PIXEL       Kantenl\u00E4nge des Bildes, 100 bis 10000 (Vorgabe 800)\n"
    "  --modulus M        Gr\u00F6\u00DFe der Scheibe: 360 (mit den Zeichen), 90, 45, 22,5 (Vorgabe)\n"
    "                     oder 11,25 (auch 22.5 und 11.25); 0 steht oben, die Positionen laufen\n"
    "                     gegen den Uhrzeigersinn\n"
    "  --pointer GRAD     stellt den Zeiger auf diese Scheibenposition, etwa 7,5 (ein gr\u00F6\u00DFerer\n"
    "                     Wert z\u00E4hlt um die Scheibe herum, auch eine L\u00E4nge)\n"
    "  --highlight K\u00DCRZEL hebt diese Faktoren in beiden Ringen hervor, etwa MC,HA,SO,AS;\n"
    "                     vier K\u00FCrzel A,B,C,D verbinden A mit B und C mit D durch B\u00F6gen\n"
    "                     (Person 1) und stellen den Zeiger, wenn keiner angegeben ist, auf A/B\n"
    "  --date TT.MM.JJJJ  zeichnet au\u00DFen einen dritten Ring mit den Ausl\u00F6sern dieses Tages\n"
    "                     (Weltzeit): die Sonnenb\u00F6gen von MC, AS, SO und MO beider Personen\n"
    "                     (\"SO\" mit kleiner 1 oder 2) und die Transite von JU bis PL (kleines T);\n"
    "                     der Zeiger z\u00E4hlt sie mit\n"
    "  --time hh:mm       Uhrzeit in Weltzeit (UT) zu --date (Vorgabe 12:00)\n"
    "  --movers sb1,sb2,t welche Ausl\u00F6ser der Ring zeigt: Sonnenb\u00F6gen von Person 1, Person 2,\n"
    "                     Transite (Vorgabe alle drei)\n"
    "  --transits K\u00DCRZEL welche K\u00F6rper laufen, etwa SA,UR,NE,PL (Vorgabe JU bis PL)\n"
    "  --arc true|naibod  der Sonnenbogen: wahrer Bogen der Sonne (Vorgabe) oder Naibod\n"
    "  --transits-from genau|theorie\n"
    "                     Transite aus den genauen Positionen (Vorgabe) oder der Theorie\n"
    "  --drive-c ORDNER   Ordner, der f\u00FCr Laufwerk C steht (P1 und P2 wie bei chart)\n"
    "\n"
    "Mindestens eine der Ausgaben --png oder --svg ist n\u00F6tig.\n";

}  // namespace duoskop::cli

// SPDX-License-Identifier: GPL-3.0-or-later
// The command list line, call and German help text of `ephemeris` (UTF-8): shown by duoskop-cli,
// which has no Qt, while the drawing itself runs in duoskop-cli-draw (cmd_ephemeris.cpp).
#include <string_view>

#include "cli/cli.h"
#include "cli/options.h"

namespace duoskop::cli {

// The options of `ephemeris`, read by duoskop-cli too (to tell a call for help from a value).
constexpr OptionRule ephemeris_rule_table[] = {
    {"--from", 1},   {"--to", 1},       {"--modulus", 1},        {"--movers", 1},
    {"--transits", 1}, {"--targets", 1}, {"--arc", 1},          {"--transits-from", 1},
    {"--png", 1},    {"--svg", 1},      {"--pdf", 1},            {"--size", 1},
    {"--drive-c", 1}};
constinit const std::span<const OptionRule> ephemeris_rules = ephemeris_rule_table;

const std::string_view ephemeris_summary =
    "zeichnet die grafische Ephemeride eines Paares als PNG-, SVG- oder PDF-Bild";
const std::string_view ephemeris_call =
    "duoskop-cli ephemeris P1 P2 [--from TT.MM.JJJJ] [--to TT.MM.JJJJ] [--modulus 45|22,5|90]\n"
    "                   [--movers sb1,sb2,t] [--transits LISTE] [--targets LISTE]\n"
    "                   [--arc true|naibod] [--transits-from genau|theorie] [--png DATEI]\n"
    "                   [--svg DATEI] [--pdf DATEI] [--size PIXEL] [--drive-c ORDNER]";
const std::string_view ephemeris_help =
    "Zeichnet die grafische Ephemeride des Paares P1 und P2 ohne Fenster und ohne Bildschirm: die\n"
    "Zeit l\u00E4uft von links nach rechts (Striche an jedem Monatsersten, der Jahresbeginn kr\u00E4ftiger),\n"
    "die Position auf der Scheibe von unten nach oben \u00FCber eine Umdrehung. Die Ziele stehen als\n"
    "waagrechte Linien mit ihrem Namen am linken Rand, die Ausl\u00F6ser als Kurven (am oberen und\n"
    "unteren Rand umgebrochen, r\u00FCckl\u00E4ufige Schleifen sichtbar), und jeder Treffer, wie ihn\n"
    "timeline findet, als kleiner Kreis, wo seine Kurve seine Linie kreuzt. Auf der 45\u00B0- und\n"
    "der 90\u00B0-Scheibe stehen nur die Treffer, deren Winkel ein Vielfaches der Scheibe ist; die\n"
    "anderen kreuzen dort keine Linie.\n"
    "\n"
    "  --from TT.MM.JJJJ  erster Tag (ab 00:00 Weltzeit); Vorgabe: der Erste des laufenden Monats\n"
    "  --to TT.MM.JJJJ    letzter Tag (bis 24:00 Weltzeit); Vorgabe: ein Jahr nach --from\n"
    "  --modulus M        Gr\u00F6\u00DFe der Scheibe: 22,5 (Vorgabe, auch 22.5), 45 oder 90\n"
    "  --movers LISTE     sb1 (Sonnenbogen Person 1), sb2, t (Transite); Vorgabe alle drei, mit\n"
    "                     den Sonnenb\u00F6gen von MC, AS, SO und MO und den Transiten JU bis PL\n"
    "  --transits LISTE   laufende K\u00F6rper, etwa SA,UR (wie bei timeline); Vorgabe JU bis PL\n"
    "  --targets LISTE    ergebnis (Vorgabe: Achsen, MC, AS, SO, MO beider Personen), faktoren,\n"
    "                     kreuz, eigene, alle, oder Namen wie MC1, MC1/VE2, WI/SO2\n"
    "  --arc true|naibod  Sonnenbogen aus dem Lauf der Sonne (Vorgabe) oder 0,98564733\u00B0 je Jahr\n"
    "  --transits-from genau|theorie\n"
    "                     Transite genau (Vorgabe; Jahre 1000 bis 3000) oder nach der Rechnung\n"
    "                     des Programms\n"
    "  --png DATEI        speichert das Bild als PNG\n"
    "  --svg DATEI        speichert das Bild als SVG (die Beschriftung bleibt Text)\n"
    "  --pdf DATEI        speichert das Bild als PDF-Seite (A4 quer, als Vektorgrafik)\n"
    "  --size PIXEL       Breite von PNG und SVG, 400 bis 10000 (Vorgabe 1600; die H\u00F6he ist\n"
    "                     drei F\u00FCnftel davon)\n"
    "  --drive-c ORDNER   Ordner, der f\u00FCr Laufwerk C steht (P1 und P2 wie bei chart)\n"
    "\n"
    "Mindestens eine der Ausgaben --png, --svg oder --pdf ist n\u00F6tig; mehrere gehen zugleich.\n";

}  // namespace duoskop::cli

// SPDX-License-Identifier: GPL-3.0-or-later
// The tables the sample drive is made from: invented persons, single meanings and picture texts,
// all in our own words. Written in UTF-8 here; the generator converts them to the code pages of
// the files (Windows-1252 for charts and single meanings, the DOS code page for picture texts).
#pragma once

#include <array>
#include <string_view>

namespace duoskop::sample {

/// An invented person and the name of their chart file (the base name passes the name check).
struct Person {
    std::string_view file_name;
    std::string_view name, first_name, date, time, extra, longitude, latitude;
};
inline constexpr Person persons[] = {
    // Birth time unknown: noon.
    {"SONNBERG.dat", "Sonnberg", "Liesel", "14.03.1962", "12:00:00", "Hamburg", "+009 59 00", "+53 33 00"},
    // Born before 1900.
    {"KRANICH.dat", "Kranich", "Otto", "02.11.1888", "06:40:00", "München", "+011 34 00", "+48 08 00"},
    // Southern hemisphere, west of Greenwich.
    {"HOLLMANN.dat", "Hollmann", "Greta", "23.07.1975", "17:25:30", "Südamerika", "-058 27 00", "-34 36 00"},
    {"WEIDNER.dat", "Weidner", "Jürgen", "09.09.1990", "03:05:00", "Berlin", "+013 24 00", "+52 31 00"},
    {"ALBRECHT.dat", "Albrecht", "Marie", "30.01.1958", "21:50:00", "Wien", "+016 22 00", "+48 12 00"},
};

/// One keyword per body MC..PO, for the single meanings.
inline constexpr std::array<std::string_view, 22> keywords = {
    "Lebensziel", "Umwelt", "Lebenskraft", "Auftreten", "Gefühl", "Bindung",
    "Denken", "Zuneigung", "Tatkraft", "Zuversicht", "Ausdauer", "Wandel",
    "Fantasie", "Umformung", "Familie", "Hemmnis", "Schaffenskraft", "Ansehen",
    "Weite", "Ordnung", "Kraftreserve", "Einsicht"};

/// The second half of a single meaning of two different bodies, chosen by (k + l) mod 6.
inline constexpr std::string_view pair_endings[] = {
    "ein Anlass zur Begegnung.", "das verlangt Ausgleich.",  "daraus erwächst Stärke.",
    "ein Feld für Entwicklung.", "oft spürbar im Alltag.",   "eine Quelle der Anregung.",
};
static_assert(std::size(pair_endings) == 6);

/// Single meanings written out in full for some pairs; the others follow the keyword pattern.
struct Meaning {
    std::string_view key, text;
};
inline constexpr Meaning own_meanings[] = {
    {"MC/MC", "Ganz bei sich selbst; das eigene Ziel klar vor Augen."},
    {"MC/SO", "Ziel und Lebenskraft stimmen überein; ein starkes Selbstgefühl."},
    {"MC/AS", "Das innere Ich und das Auftreten vor anderen verbinden sich."},
    {"MC/MO", "Die Gefühle bestimmen den eigenen Weg; seelische Anteilnahme."},
    {"MC/JU", "Zuversicht im Handeln; Glück durch eigenes Streben."},
    {"SO/SO", "Die Lebenskraft in doppelter Betonung; Wille und Selbstvertrauen."},
    {"SO/MO", "Wille und Gefühl im Einklang; Partnerschaft von Mann und Frau."},
    {"AS/AS", "Ganz auf die Begegnung mit anderen eingestellt."},
    {"VE/MA", "Zuneigung und Leidenschaft; starke Anziehung."},
    {"JU/SA", "Zuversicht und Geduld; Erfolg durch beharrliches Bemühen."},
    {"MO/VE", "Zärtliche Gefühle; Sinn für Harmonie und Schönheit."},
    {"SA/PL", "Große Ausdauer unter Druck; harte Prüfungen, zähe Kraft."},
};

/// One sentence per body MC..PO for the picture texts.
inline constexpr std::array<std::string_view, 22> body_sentences = {
    "Das Bewusstsein für den eigenen Weg wird geschärft.",
    "Die Beziehung zur Welt und zur Öffentlichkeit spielt mit hinein.",
    "Die Lebenskraft sucht nach Ausdruck und Anerkennung.",
    "Die Art, wie man anderen begegnet, rückt in den Vordergrund.",
    "Gefühle und Stimmungen färben das Erleben stark.",
    "Begegnungen und Bindungen gewinnen an Bedeutung.",
    "Gedanken und Worte wollen ausgetauscht werden.",
    "Zuneigung, Harmonie und Schönheitssinn treten hervor.",
    "Tatkraft und Entschlossenheit drängen nach außen.",
    "Zuversicht und Großzügigkeit öffnen Türen.",
    "Geduld und Ausdauer werden auf die Probe gestellt.",
    "Plötzliche Wendungen bringen frischen Wind.",
    "Ahnungen und Träume mischen sich ins Geschehen.",
    "Tiefe Kräfte drängen auf Veränderung.",
    "Familie und Gemeinschaft geben Halt.",
    "Hindernisse verlangen einen langen Atem.",
    "Schöpferische Ideen wollen verwirklicht werden.",
    "Anerkennung und Ansehen sind im Spiel.",
    "Weite und Austausch über Grenzen hinweg locken.",
    "Ordnung und Beständigkeit schaffen Sicherheit.",
    "Große Kraftreserven können geweckt werden.",
    "Geistige Einsicht weist über das Alltägliche hinaus.",
};

/// Closing sentences of the picture texts.
inline constexpr std::string_view closings[] = {
    "Für beide Partner liegt darin eine Aufgabe, die gemeinsam leichter fällt.",
    "Wer das erkennt, kann die Verbindung bewusst gestalten.",
    "Im Alltag zeigt sich das oft in kleinen, unscheinbaren Gesten.",
    "Es lohnt sich, darüber offen miteinander zu sprechen.",
    "Spannungen sind möglich, doch sie können fruchtbar werden.",
    "Mit der Zeit wächst daraus gegenseitiges Verständnis.",
    "Hier liegt ein Schlüssel für das Gelingen der Beziehung.",
    "Geduld mit sich und dem anderen ist dabei hilfreich.",
};
static_assert(std::size(closings) == 8);

/// An axis pair of the picture collection: its bodies, the opening of its texts, and the share
/// of the 253 midpoint pairs it has texts for (in tenths).
struct Axis {
    int first, second;
    std::string_view opening;
    int tenths;
};
inline constexpr Axis axes[] = {
    {0, 0, "Im Brennpunkt des eigenen Ichs", 4},
    {0, 2, "Zwischen Lebensziel und Lebenskraft", 4},
    {2, 2, "Im Licht der Sonne", 3},
    {0, 3, "Zwischen innerem Ziel und äußerer Begegnung", 3},
    {3, 3, "Im Spiegel der Umgebung", 3},
    {0, 9, "Auf dem Weg zu Glück und Erfolg", 2},
};

}  // namespace duoskop::sample

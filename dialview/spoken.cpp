// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialview/spoken.h"

#include <cmath>
#include <optional>
#include <string_view>

#include "app/dial.h"
#include "astro/body_names.h"
#include "astro/un_math.h"
#include "dialview/dial_view.h"
#include "dialview/spoken_texts.h"

namespace duoskop {

namespace {

// "07°30'" (as angle_text writes it) as "7 Grad 30 Minuten": the leading zeros go.
std::string words_of(std::string_view shown)
{
    const auto number = [](std::string_view digits) {
        while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);
        return std::string(digits);
    };
    const std::size_t degree_sign = shown.find('\xB0');
    if (degree_sign == std::string_view::npos) return std::string(shown);
    std::string_view minutes = shown.substr(degree_sign + 1);
    if (const std::size_t tick = minutes.find('\''); tick != std::string_view::npos) minutes = minutes.substr(0, tick);
    std::string_view degrees = shown.substr(0, degree_sign);
    std::string words;
    if (!degrees.empty() && degrees.front() == '-') {
        words = "-";
        degrees.remove_prefix(1);
    }
    return words + number(degrees) + std::string(texts::kSpokenDegrees) + number(minutes) +
           std::string(texts::kSpokenMinutes);
}

std::string person_words(const PairFactor& factor)
{
    return factor.person == 0 ? std::string() : std::string(texts::kSpokenPerson) + char('0' + factor.person);
}

std::string body_words(const PairFactor& factor)
{
    return factor.body < body_full_names.size() ? std::string(body_full_names[factor.body]) : std::string("?");
}

void add_item(std::string& text, const DialItem& item, bool under_factor)
{
    text += "; ";
    if (under_factor) text += texts::kSpokenEqual;
    text += (item.mover.empty() ? spoken_point(item.point) : spoken_mover(item.mover)) +
            std::string(texts::kSpokenDistance) + spoken_angle(item.distance);
}

}  // namespace

std::string spoken_angle(double degrees) { return words_of(angle_text(1, 1, degrees)); }

std::string spoken_longitude(double longitude)
{
    if (!std::isfinite(longitude)) return std::string();
    // The sign of the text the window shows, so that a position just below a sign's end reads as
    // the window writes it.
    const std::string sign = sign_text(longitude);
    std::string name;
    for (std::size_t i = 0; i < sign_full_names.size(); ++i)
        if (sign_abbrev.substr(2 + 3 * i, 3) == sign) name = sign_full_names[i];
    return words_of(angle_text(1, 30, longitude)) + (name.empty() ? "" : " " + name);
}

std::string spoken_position(double position, double modulus)
{
    return modulus == 360 ? spoken_longitude(position) : spoken_angle(position);
}

std::string spoken_factor(const PairFactor& factor) { return body_words(factor) + person_words(factor); }

std::string spoken_point(const PairPoint& point)
{
    if (point.is_factor()) return spoken_factor(point.a);
    std::string text(texts::kSpokenMidpoint);
    if (point.a.person == point.b.person)
        return text + body_words(point.a) + std::string(texts::kSpokenAnd) + body_words(point.b) +
               person_words(point.a);
    const std::string first = spoken_factor(point.a);
    // "Sonne, Person 1, und Mond, Person 2"; a factor without a person needs no comma after it.
    return text + first + (point.a.person == 0 ? "" : ",") + std::string(texts::kSpokenAnd) + spoken_factor(point.b);
}

std::string spoken_mover(const std::string& name)
{
    const std::size_t colon = name.find(':');
    const std::optional<std::uint8_t> body =
        colon == std::string::npos ? std::nullopt : body_of_code(std::string_view(name).substr(colon + 1));
    if (!body) return name;
    const PairFactor factor{*body, 0};
    const std::string kind = name.substr(0, colon);
    if (kind == "T") return body_words(factor) + std::string(texts::kSpokenTransit);
    if (kind == "SB1" || kind == "SB2")
        return std::string(texts::kSpokenSolarArc) + body_words(factor) + std::string(texts::kSpokenPerson) + kind[2];
    return name;
}

std::string spoken_tree(const PointerTree& tree)
{
    std::string text = std::string(texts::kSpokenPointer) + spoken_position(tree.pointer, tree.modulus) +
                       std::string(texts::kSpokenOrb) + spoken_angle(tree.orb);
    if (tree.empty()) return text + "; " + std::string(texts::kSpokenNothing);
    for (const TreeBranch& branch : tree.factors) {
        add_item(text, branch.factor, false);
        for (const DialItem& midpoint : branch.midpoints) add_item(text, midpoint, true);
    }
    for (const DialItem& midpoint : tree.midpoints) add_item(text, midpoint, false);
    return text;
}

}  // namespace duoskop

#include "analysis/comparison_parts.h"

#include "analysis/comparisons.h"
#include "astro/un_math.h"

namespace duoskop {

std::string take_hint(bool& flag, std::string_view text)
{
    if (!flag) return {};
    flag = false;
    return std::string(text);
}

namespace comparison_parts {

std::string pair_code(std::uint8_t a, std::uint8_t b)
{
    std::string text(code(a));
    text += '/';
    text += code(b);
    return text;
}

std::string dial_text(const Positions& pos, std::uint8_t a, std::uint8_t b)
{
    return angle_text(2, 22, (pos[a] + pos[b]) / 2);
}

std::string persons_line(const ChartState& chart)
{
    std::string line = "  ";
    append_cut(line, chart.person1.first_name + " " + chart.person1.name + ",   ");
    append_cut(line, chart.person2.first_name + " " + chart.person2.name);
    return line;
}

}  // namespace comparison_parts
}  // namespace duoskop

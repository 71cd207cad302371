// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/click.h"

#include "base/texts.h"

namespace duoskop {

namespace {

/// Eleven blanks follow each single meaning in the click box.
constexpr std::string_view kMeaningTrail = "           ";

}  // namespace

std::vector<MessageBox> click_boxes(std::string_view entry, const Resolution& r, bool ktexte_da)
{
    if (!r.io_error.empty()) return {{BoxType::error, r.io_error}};

    if (r.found) {
        std::string text(entry);
        text += "\r\r";
        for (const std::string& line : r.lines) {
            text += line;
            text += '\r';
        }
        return {{BoxType::information, std::move(text)}};
    }

    std::vector<MessageBox> boxes;
    if (!r.picture_da) boxes.push_back({BoxType::error, std::string(texts::kCollectionMissing)});
    if (!ktexte_da || !r.singles) {
        boxes.push_back({BoxType::error, std::string(texts::kReminderKtexte)});
        return boxes;
    }
    std::string text;
    if (r.picture_da) {
        text += texts::kOnlySingleTextsBefore;
        text += r.key1 + " = " + r.key2;
        text += texts::kOnlySingleTextsAfter;
        text += "\r\r";
    }
    text += r.key1 + ": " + r.text1;
    text += kMeaningTrail;
    text += "\r\r";
    text += r.key2 + ": " + r.text2;
    text += kMeaningTrail;
    boxes.push_back({BoxType::information, std::move(text)});
    return boxes;
}

std::vector<MessageBox> click_display(std::string_view entry, const Ktexte& ktexte, const DriveC& drive)
{
    return click_boxes(entry, resolve_entry(entry, ktexte, drive), ktexte.ktexte_da);
}

}  // namespace duoskop

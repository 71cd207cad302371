// SPDX-License-Identifier: GPL-3.0-or-later
// A desktop for the window tests: records every message box and answers boxes, file dialogs and
// printer dialogs from queues; a print job is written as a PDF file.
#pragma once

#include <QPrinter>
#include <QTemporaryDir>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/chart_file.h"
#include "base/desktop.h"
#include "desktop/qt_print.h"

namespace duoskop::test {

struct Box {
    BoxType type;
    std::string text;
    Buttons buttons;
    std::vector<std::string> choices;  ///< the buttons of a box of `choose`, else empty
    std::size_t default_choice = 0;
};

/// A print job that keeps its lines in `lines` (Windows-1252, as the window sends them).
class LineRecorder : public LineDevice {
public:
    explicit LineRecorder(std::vector<std::string>& lines) : lines_(lines) {}
    bool write_line(std::string_view line) override
    {
        lines_.emplace_back(line);
        return true;
    }
    bool close() override { return true; }

private:
    std::vector<std::string>& lines_;
};

class ScriptedDesktop : public Desktop {
public:
    std::vector<Box> boxes;
    std::deque<Answer> answers;  ///< for the boxes that ask; an empty queue answers Yes (Save)
    std::deque<std::size_t> choices;  ///< for boxes of `choose`; an empty queue takes the default
    std::deque<std::optional<std::string>> open_paths;  ///< an empty queue cancels
    std::deque<std::optional<std::string>> save_paths;
    std::deque<std::optional<std::string>> pdf_paths;  ///< print jobs as PDF files
    bool record_prints = false;        ///< print jobs go into `printed` instead of PDF files
    std::vector<std::string> printed;  ///< the lines of every print job while `record_prints`
    std::vector<std::string> open_dirs;
    std::vector<std::string> save_dirs;
    std::vector<std::string> print_names;  ///< document names of the print dialogs asked for
    std::function<void(const Box&)> on_message;  ///< called as each box is shown
    int ends = 0;
    std::vector<int> end_statuses;  ///< statuses other than 0 the program ended with
    int asking_saves = 0;           ///< save dialogs that ask before replacing a file
    std::deque<std::optional<std::string>> folders;  ///< answers of the folder dialog

    Answer message(BoxType type, std::string_view text, Buttons buttons) override
    {
        boxes.push_back({type, std::string(text), buttons, {}, 0});
        if (on_message) on_message(boxes.back());
        if (buttons == Buttons::ok) return Answer::ok;
        if (answers.empty()) return buttons == Buttons::save_discard_cancel ? Answer::save : Answer::yes;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::size_t choose(BoxType type, std::string_view text, std::span<const std::string_view> offered,
                       std::size_t default_choice) override
    {
        boxes.push_back({type, std::string(text), Buttons::ok, {offered.begin(), offered.end()}, default_choice});
        if (on_message) on_message(boxes.back());
        if (choices.empty()) return default_choice;
        const std::size_t c = choices.front();
        choices.pop_front();
        return c;
    }
    std::optional<std::string> open_file(const std::string& initial_dir) override
    {
        open_dirs.push_back(initial_dir);
        return next(open_paths);
    }
    std::vector<std::string> open_filters;  ///< the filters of the open dialogs that offered some
    std::optional<std::string> open_file_of(const std::string& initial_dir, const std::string& filter) override
    {
        open_filters.push_back(filter);
        return open_file(initial_dir);
    }
    std::optional<std::string> save_file(const std::string& initial_dir) override
    {
        save_dirs.push_back(initial_dir);
        return next(save_paths);
    }
    std::optional<std::string> save_file_as(const std::string& initial_dir, const std::string&,
                                            const std::string&) override
    {
        save_dirs.push_back(initial_dir);
        return next(save_paths);
    }
    std::unique_ptr<LineDevice> open_printer() override
    {
        if (record_prints) return std::make_unique<LineRecorder>(printed);
        const auto path = next(pdf_paths);
        if (!path) return nullptr;
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QString::fromStdString(*path));
        return std::make_unique<QtLineDevice>(std::move(printer));
    }
    std::unique_ptr<LineDevice> open_printer_named(std::string_view document_name) override
    {
        print_names.emplace_back(document_name);
        return open_printer();
    }
    void end_program() override { ++ends; }
    void end_program_with(int status) override
    {
        end_statuses.push_back(status);
        ++ends;
    }
    std::optional<std::string> save_file_asking(const std::string& initial_dir) override
    {
        ++asking_saves;
        return save_file(initial_dir);
    }
    std::optional<std::string> choose_folder(const std::string&) override { return next(folders); }

    /// Texts of the boxes shown so far, then forgets them.
    std::vector<std::string> take_texts()
    {
        std::vector<std::string> texts;
        for (const Box& b : boxes) texts.push_back(b.text);
        boxes.clear();
        return texts;
    }

private:
    static std::optional<std::string> next(std::deque<std::optional<std::string>>& queue)
    {
        if (queue.empty()) return std::nullopt;
        auto value = queue.front();
        queue.pop_front();
        return value;
    }
};

/// Writes a file of raw bytes.
inline void write_bytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

/// A chart file named after the person, in the drive's astro/daten.
inline std::string make_chart(const std::filesystem::path& drive, const std::string& file_name,
                              chart_record record)
{
    const auto path = drive / "astro" / "daten" / file_name;
    write_bytes(path, chart_record_bytes(record));
    return path.string();
}

inline chart_record person(std::string name, std::string first, std::string date,
                           std::string time, std::string lon, std::string lat)
{
    return {std::move(name), std::move(first), std::move(date), std::move(time), "Hamburg",
            std::move(lon), std::move(lat)};
}

/// Two invented persons with known birth times, and one whose time is unknown.
inline chart_record meier() { return person("Meier", "Hans", "01.05.1960", "06:30:45", "+010 00 00", "+53 33 00"); }
inline chart_record schulz() { return person("Schulz", "Erika", "17.11.1964", "21:15:00", "+013 24 00", "+52 31 00"); }
inline chart_record noon() { return person("Lang", "Paul", "03.03.1970", "12:00:00", "+008 40 00", "+50 07 00"); }

}  // namespace duoskop::test

// SPDX-License-Identifier: GPL-3.0-or-later
#include "kartei/folder_checks.h"

#include "base/cp1252.h"
#include "birth/intake.h"

namespace duoskop {

bool chart_name_free(const std::filesystem::path& root, const std::string& folder, std::string_view name_cp1252)
{
    const std::filesystem::path dir = folder.empty() ? root : root / folder;
    std::error_code error;
    if (!std::filesystem::exists(dir, error)) return !error;
    // A folder that cannot be read may hold the name: no room to promise there.
    const std::filesystem::directory_iterator listing(dir, error);
    return !error && !case_twin(dir, chart_file_name(name_cp1252));
}

std::string copy_folder(const std::filesystem::path& root, std::string_view name_cp1252,
                        const std::string& from_folder, const std::vector<std::string>& folders)
{
    if (chart_name_free(root, from_folder, name_cp1252)) return from_folder;
    for (const std::string& folder : folders)
        if (chart_name_free(root, folder, name_cp1252)) return folder;
    // A chart folder that cannot be read at all leaves no free name to find: stop after a while.
    for (int n = 1; n <= 100; ++n) {
        const std::string folder = n == 1 ? std::string("Kopie") : "Kopie " + std::to_string(n);
        if (chart_name_free(root, folder, name_cp1252)) return folder;
    }
    return from_folder;
}

std::vector<std::string> unreadable_folders(const std::filesystem::path& root,
                                            const std::vector<std::filesystem::path>& folders)
{
    std::vector<std::string> unreadable;
    for (const auto& folder : folders) {
        std::error_code error;
        std::filesystem::directory_iterator it(folder, error);
        if (error) unreadable.push_back(valid_utf8(folder.lexically_relative(root).generic_string()));
    }
    return unreadable;
}

}  // namespace duoskop

// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers the core tests share: a throw-away directory, reading a whole file, and running
// duoskop-cli as a separate program.
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>

#include <csignal>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace duoskop::test_support {

/// A fresh directory under the temporary directory, removed with everything in it at the end.
class TempDir {
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "duoskop-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        path_ = pattern;
    }
    ~TempDir()
    {
        std::error_code ec;  // a test may have taken away the owner's rights
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    /// The path of `relative` inside the directory, as text.
    std::string file(const std::filesystem::path& relative) const { return (path_ / relative).string(); }

    /// Writes `bytes` to the file at `relative` (directories are made as needed); its full path.
    std::string write(const std::filesystem::path& relative, const std::string& bytes) const
    {
        const std::filesystem::path file = path_ / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return file.string();
    }

    std::string read(const std::filesystem::path& relative) const;

private:
    std::filesystem::path path_;
};

/// While it lives, no file of this process or its children may grow beyond `bytes`: a write past
/// the limit fails with EFBIG, as a full disk would fail it (the signal that would end the
/// process instead is ignored).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        old_signal_ = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, old_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, old_signal_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*old_signal_)(int) = SIG_DFL;
};

/// The whole content of a file; empty when it cannot be read.
inline std::string slurp(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline std::string TempDir::read(const std::filesystem::path& relative) const { return slurp(path_ / relative); }

#ifdef DUOSKOP_CLI
/// What a run of duoskop-cli left: its exit status (-1 when it did not exit) and its output.
struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

/// Runs duoskop-cli with `args` (each quoted for the shell) and no standard input; `environment`
/// ("NAME=value ...", unquoted) is set for that run only.
inline CliRun run_cli(const std::vector<std::string>& args, const std::string& environment = {})
{
    const auto quote = [](const std::string& s) {
        std::string q = "'";
        for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return q + "'";
    };
    const TempDir scratch;
    std::string command = (environment.empty() ? "" : "env " + environment + " ") + quote(DUOSKOP_CLI);
    for (const auto& a : args) command += " " + quote(a);
    command += " >" + quote(scratch.file("out")) + " 2>" + quote(scratch.file("err")) + " </dev/null";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, scratch.read("out"), scratch.read("err")};
}
#endif

}  // namespace duoskop::test_support

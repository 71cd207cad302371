// SPDX-License-Identifier: GPL-3.0-or-later
// The German texts of input/output errors, as the error boxes show them.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace duoskop {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
/// A C stream that closes itself.
using File = std::unique_ptr<std::FILE, FileCloser>;

/// A file descriptor that closes itself, unless it was closed or handed on before.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor();
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    /// Closes now; 0, or the errno value of a failed close (a late write error shows here).
    int close();

private:
    int fd_;
};

/// Windows-1252 text of the error box for a failed file operation with the given errno value;
/// 0 stands for a read past the end of a file ("Versuch hinter dem Dateiende zu lesen").
std::string io_error_text(int errno_value);

/// The I/O error text after a short read from `file`: its errno when the stream reports an error,
/// else a read past the end.
std::string read_error_text(std::FILE* file);

}  // namespace duoskop

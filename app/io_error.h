// The German texts of input/output errors, as the error boxes show them.
#pragma once

#include <string>

namespace duoskop {

/// Windows-1252 text of the error box for a failed file operation with the given errno value;
/// 0 stands for a read past the end of a file ("Versuch hinter dem Dateiende zu lesen").
std::string io_error_text(int errno_value);

}  // namespace duoskop

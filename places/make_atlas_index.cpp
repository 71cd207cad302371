// SPDX-License-Identifier: GPL-3.0-or-later
// duoskop-make-atlas-index ATLAS INDEX: writes the atlas index of the atlas file ATLAS, at build
// time, to be installed beside it. Exit status 0 done, 1 a file failed, 2 wrong usage.
#include <cstdio>
#include <string>

#include "base/cp1252.h"
#include "base/file_writer.h"
#include "places/atlas.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("Aufruf: duoskop-make-atlas-index ATLAS INDEX\n", stderr);
        return 2;
    }
    std::string error;
    const std::string index = duoskop::Atlas::make_index(argv[1], error);
    if (index.empty()) {
        std::fprintf(stderr, "duoskop-make-atlas-index: %s: %s\n", argv[1], duoskop::cp1252_to_utf8(error).c_str());
        return 1;
    }
    const duoskop::WriteResult written = duoskop::write_file_whole(argv[2], index);
    if (!written.ok()) {
        std::fprintf(stderr, "duoskop-make-atlas-index: %s: %s\n", argv[2],
                     duoskop::cp1252_to_utf8(written.message()).c_str());
        return 1;
    }
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The floor of a command-line call (tools/bench-start): a C++ program that prints one line.
#include <iostream>

int main()
{
    std::cout << "Duoskop\n";
    return 0;
}

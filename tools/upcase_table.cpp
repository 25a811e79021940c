// A Windows program that writes the upper-case table Windows uses for file names, in the form
// platform/UpperCase.cpp keeps it, or checks that table against the system it runs on.
//
// Windows compares file names by folding each UTF-16 code unit through one table (NTFS keeps a
// copy of it on every volume); RtlUpcaseUnicodeChar reads the same table. Built and run from
// Linux with mingw-w64 and Wine (tools/upcase-table.sh does both):
//
//   upcase_table.exe          prints the runs of kUpperRuns
//   upcase_table.exe --check  compares upperCaseUnit with the system for every code unit;
//                             exit status 1 and the first differences when they disagree
#include "platform/UpperCase.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

extern "C" WCHAR NTAPI RtlUpcaseUnicodeChar(WCHAR source);

namespace {

int systemUpper(unsigned unit) {
    return RtlUpcaseUnicodeChar(static_cast<WCHAR>(unit));
}

int delta(unsigned unit) {
    return systemUpper(unit) - static_cast<int>(unit);
}

// Runs of units that share the distance to their capitals: every unit of a step-1 run folds, in
// a step-2 run every other one does and the ones between (the capitals) do not.
void printRuns() {
    unsigned unit = 0x80; // ASCII is folded a to z by the code itself
    while (unit < 0x10000) {
        const int d = delta(unit);
        if (d == 0) {
            ++unit;
            continue;
        }
        unsigned last1 = unit;
        while (last1 + 1 < 0x10000 && delta(last1 + 1) == d) {
            ++last1;
        }
        unsigned last2 = unit;
        while (last2 + 2 < 0x10000 && delta(last2 + 1) == 0 && delta(last2 + 2) == d) {
            last2 += 2;
        }
        const bool pairs = last2 > unit && last2 - unit >= 2 * (last1 - unit + 1);
        const unsigned last = pairs ? last2 : last1;
        std::printf("    {0x%04X, 0x%04X, %d, %d},\n", unit, last, d, pairs ? 2 : 1);
        unit = last + 1;
    }
}

int check() {
    int differences = 0;
    int folded = 0;
    for (unsigned unit = 0; unit < 0x10000; ++unit) {
        const int ours = tess::platform::upperCaseUnit(static_cast<char16_t>(unit));
        folded += ours != static_cast<int>(unit);
        if (ours != systemUpper(unit) && ++differences <= 20) {
            std::printf("U+%04X: system U+%04X, table U+%04X\n", unit, systemUpper(unit), ours);
        }
    }
    std::printf("%d code units folded by the table, %d differ from the system\n", folded,
                differences);
    return differences == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--check") == 0) {
        return check();
    }
    printRuns();
    return 0;
}

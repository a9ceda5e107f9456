// Clipboard import time against the size of the text: texts of 10,000,
// 100,000 and 1,000,000 lines of about 100 characters (1, 10 and 100 MB),
// a quarter of them longer than 70 so that they are wrapped. Figures only.
#include <chrono>
#include <cstdio>
#include <string>

#include "sources/clipboard_import.h"

using namespace glossira;

namespace {

std::string Text(int lines)
{
    std::string text;
    unsigned state = 1;
    for (int i = 0; i < lines; ++i) {
        state = state * 1103515245u + 12345u;
        std::size_t words = 8 + (state >> 16) % 16;
        text += "  ";
        for (std::size_t w = 0; w < words; ++w) text += w % 3 ? "word " : "longerword ";
        text += "\r\n";
    }
    return text;
}

}  // namespace

int main()
{
    // The first run of a size pays for fresh memory as a real import does;
    // later runs of the small size find it warm in the caches.
    double smallestFirst = 0, smallestBest = 0;
    for (int lines : {10000, 100000, 1000000}) {
        std::string text = Text(lines);
        double first = 0, best = 1e9;
        std::size_t items = 0;
        for (int run = 0; run < 5; ++run) {
            auto start = std::chrono::steady_clock::now();
            items = ImportClipboard({}, text).size();
            double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            if (run == 0) first = seconds;
            if (seconds < best) best = seconds;
        }
        if (smallestFirst == 0) smallestFirst = first, smallestBest = best;
        std::printf("import %7d lines %6.1f MB, %7zu items: first run %7.4f s (%5.1fx), best of 5 %7.4f s (%5.1fx)\n",
                    lines, text.size() / 1e6, items, first, first / smallestFirst, best, best / smallestBest);
    }
    return 0;
}

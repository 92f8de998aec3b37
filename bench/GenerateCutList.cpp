// Writes a realistic cabinet-shop cut list, CRLF line endings, in one of two layouts:
//   factory  Seq,Part,Material,Thick,Width,Length,Qty,Scribes,Cabinet,Edge (the factory mapping;
//            a few part names the configuration has never seen, a scribe list on one row in six)
//   full     Part,Material,Thick,Width,Length,Qty,Scribes,Cabinet,Edge (bench/full-mapping.sql;
//            known part names only, a two-position scribe list on every row)
// Usage: vx-gencutlist <rows> <file> [seed] [factory|full]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <rows> <file> [seed] [factory|full]\n", argv[0]);
        return 2;
    }
    long rows = std::strtol(argv[1], nullptr, 10);
    const bool full = argc > 4 && std::strcmp(argv[4], "full") == 0;
    std::FILE* f = std::fopen(argv[2], "wb");
    if (!f) {
        std::perror(argv[2]);
        return 1;
    }
    std::mt19937 rng(argc > 3 ? static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10)) : 7u);
    // The first thirteen are the factory configuration's part names.
    const char* parts[] = {"LEFT SIDE",  "RIGHT SIDE", "BOTTOM",   "SHELF",    "STRETCHER",  "NAILER",
                           "BACK",       "TOE KICK",   "FF STILE", "FF RAIL",  "DOOR STILE", "DOOR RAIL",
                           "DRAWER BOX", "VALANCE",    "FILLER",   "END PANEL"};
    const char* materials[] = {"MAPLE PLY", "BIRCH PLY", "HARD MAPLE", "MDF"};
    const double thick[] = {0.75, 0.5, 0.25, 0.75};
    std::uniform_int_distribution<int> partDist(0, full ? 12 : 15), matDist(0, 3), qtyDist(1, 4), cabDist(1, 400),
        scribeDist(0, 5);
    std::uniform_real_distribution<double> widthDist(2.0, 24.0), lengthDist(12.0, 96.0);
    std::fputs(full ? "Part,Material,Thick,Width,Length,Qty,Scribes,Cabinet,Edge\r\n"
                    : "Seq,Part,Material,Thick,Width,Length,Qty,Scribes,Cabinet,Edge\r\n",
               f);
    char buf[512];
    for (long i = 1; i <= rows; ++i) {
        int p = partDist(rng), m = matDist(rng);
        double w = widthDist(rng), l = lengthDist(rng);
        std::string scribes;
        if (full) {
            std::snprintf(buf, sizeof buf, "%.3f|%.3f", l / 3.0, l / 3.0);
            scribes = buf;
        } else if (scribeDist(rng) == 0) {
            double step = l / 4.0;
            std::snprintf(buf, sizeof buf, "%.3f|%.3f|%.3f", step, step, step);
            scribes = buf;
        }
        if (full)
            std::snprintf(buf, sizeof buf, "%s,%s,%.2f,%.3f,%.3f,%d,%s,B%d,%s\r\n", parts[p], materials[m], thick[m], w,
                          l, qtyDist(rng), scribes.c_str(), cabDist(rng), (i % 3) ? "1L" : "");
        else
            std::snprintf(buf, sizeof buf, "%ld,%s,%s,%.2f,%.3f,%.3f,%d,%s,B%d,%s\r\n", i, parts[p], materials[m],
                          thick[m], w, l, qtyDist(rng), scribes.c_str(), cabDist(rng), (i % 3) ? "1L" : "");
        std::fputs(buf, f);
    }
    return std::fclose(f) == 0 ? 0 : 1;
}

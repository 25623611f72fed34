// Writes the program's generated resources (icon, animation, version script) into a directory.
#include "AviClip.h"
#include "IconImage.h"
#include "VersionBlock.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// Writes bytes to path; prints a message and returns false if that fails.
bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::fprintf(stderr, "generate: cannot open %s for writing\n", path.c_str());
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fclose(file) == 0 && ok;
    if (!ok) std::fprintf(stderr, "generate: cannot write %s\n", path.c_str());
    return ok;
}

} // namespace

// Usage: generate <output-dir>
int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: generate <output-dir>\n");
        return 2;
    }
    std::string dir = argv[1];
    std::string text = MakeVersionScript();
    bool ok = WriteFile(dir + "/orvand.ico", MakeIcon());
    ok = WriteFile(dir + "/uhr.avi", MakeClip()) && ok;
    ok = WriteFile(dir + "/version.rc", std::vector<uint8_t>(text.begin(), text.end())) && ok;
    return ok ? 0 : 1;
}

// The plain-loop engine: runs a target over its seeds, then over a bounded count of inputs
// made from them by deterministic mutations, so that a run repeats exactly.  It takes the
// command line libFuzzer takes for such a run:
//   fuzz_readers -runs=N [-max_len=B] [-timeout=S] [DIR_OR_FILE ...]
// A crash is the sanitizer's report; an input that runs longer than the time limit is
// written to timeout-<hash> in the working folder and ends the run with an error.
#include "fuzz_target.h"

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {
using Bytes = std::vector<uint8_t>;

// splitmix64: small, fast and the same everywhere.
struct Rng {
    uint64_t S;
    uint64_t Next()
    {
        uint64_t z = (S += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    size_t Below(size_t n) { return n ? size_t(Next() % n) : 0; }
};

// Texts that readers of numbers, XML and text trip on.
const char* const Tokens[] = {
    "0", "-1", "1", "255", "256", "65535", "65536", "2147483647", "-2147483648", "4294967295", "4294967296",
    "9223372036854775807", "-9223372036854775808", "99999999999999999999", "0x", "0x7FFFFFFF", "0xFFFFFFFF",
    "x", "X1F", "$FF", "1e9", " ", "", "\"", "'", "<", ">", "&", "&amp;", "&#0;", "&#xFFFF;", "&#1114112;", "&nbsp;",
    "<row/>", "</", "<!--", "-->", "<![CDATA[", "]]>", "<?xml version=\"1.0\" encoding=\"UTF-16\"?>", "\xEF\xBB\xBF",
    "\xFF\xFE", "\xC3\x28", "\xE2\x82", "\xF0\x9F\x98\x80", "\x00", "\r\n", "\t", "=", "Y", "N", "<BR>", "<B>", "</B>",
    "<FONT size=\"99999\" color=\"#", "<A href=\"", "<IMG src=\"", "<CONTROL type=\"edit\" ID=\"", "<IND x=\"",
    "<P align=\"right\">", "<UL><LI>", "<SHAD>", "<#", "%1", "%s",
};

void Mutate(Bytes& d, const std::vector<Bytes>& seeds, Rng& r, size_t maxLen)
{
    const int steps = 1 + int(r.Below(4));
    for (int s = 0; s < steps; ++s) {
        const size_t at = r.Below(d.size() + 1);
        switch (r.Below(8)) {
        case 0:   // flip a bit
            if (!d.empty()) d[r.Below(d.size())] ^= uint8_t(1u << r.Below(8));
            break;
        case 1:   // a random byte in place
            if (!d.empty()) d[r.Below(d.size())] = uint8_t(r.Next());
            break;
        case 2: {   // cut a range
            const size_t n = std::min(d.size() - std::min(at, d.size()), r.Below(32) + 1);
            d.erase(d.begin() + long(at), d.begin() + long(at + n));
            break;
        }
        case 3: {   // repeat a range
            if (d.empty()) break;
            const size_t from = r.Below(d.size()), n = std::min(d.size() - from, r.Below(64) + 1);
            const Bytes piece(d.begin() + long(from), d.begin() + long(from + n));
            d.insert(d.begin() + long(at), piece.begin(), piece.end());
            break;
        }
        case 4:
        case 5: {   // a token in place of a run of digits, or inserted
            const char* t = Tokens[r.Below(std::size(Tokens))];
            const size_t len = (t[0] == 0 && r.Below(2)) ? 1 : std::strlen(t);
            size_t end = at;
            while (end < d.size() && ((d[end] >= '0' && d[end] <= '9') || d[end] == '-')) ++end;
            d.erase(d.begin() + long(at), d.begin() + long(end));
            d.insert(d.begin() + long(at), t, t + len);
            break;
        }
        case 6:   // truncate
            d.resize(at);
            break;
        default: {   // splice another seed in
            const Bytes& o = seeds[r.Below(seeds.size())];
            if (o.empty()) break;
            const size_t from = r.Below(o.size()), n = std::min(o.size() - from, r.Below(256) + 1);
            d.insert(d.begin() + long(at), o.begin() + long(from), o.begin() + long(from + n));
            break;
        }
        }
    }
    if (d.size() > maxLen) d.resize(maxLen);
}

Bytes Read_All(const std::filesystem::path& p)
{
    std::ifstream f(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), {});
}

// The input being run, for the time limit's report.
const Bytes* Current = nullptr;

uint64_t Hash(const Bytes& d)
{
    uint64_t h = 1469598103934665603ull;
    for (uint8_t b : d) h = (h ^ b) * 1099511628211ull;
    return h;
}

extern "C" void On_Timeout(int)
{
    char name[64];
    std::snprintf(name, sizeof name, "timeout-%016llx", (unsigned long long)(Current ? Hash(*Current) : 0));
    if (FILE* f = std::fopen(name, "wb")) {
        if (Current && !Current->empty()) std::fwrite(Current->data(), 1, Current->size(), f);
        std::fclose(f);
    }
    std::fprintf(stderr, "fuzz: an input ran past the time limit; written to %s\n", name);
    std::_Exit(70);
}

long Flag(const char* arg, const char* name, long fallback)
{
    const size_t n = std::strlen(name);
    return std::strncmp(arg, name, n) == 0 ? std::strtol(arg + n, nullptr, 10) : fallback;
}
}  // namespace

int main(int argc, char** argv)
{
    long runs = 1000, maxLen = 65536, timeout = 10;
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] == '-') {
            runs = Flag(argv[i], "-runs=", runs);
            maxLen = Flag(argv[i], "-max_len=", maxLen);
            timeout = Flag(argv[i], "-timeout=", timeout);
        } else {
            inputs.emplace_back(argv[i]);
        }
    }
    // the target sees no folders: writing its seeds into one is for libFuzzer's corpus
    int initArgc = 1;
    LLVMFuzzerInitialize(&initArgc, &argv);

    std::vector<Bytes> seeds;
    for (const auto& p : inputs) {
        if (std::filesystem::is_directory(p)) {
            std::vector<std::filesystem::path> files;
            for (const auto& e : std::filesystem::directory_iterator(p))
                if (e.is_regular_file()) files.push_back(e.path());
            std::sort(files.begin(), files.end());
            for (const auto& f : files) seeds.push_back(Read_All(f));
        } else if (std::filesystem::exists(p)) {
            seeds.push_back(Read_All(p));
        }
    }
    for (const std::string& s : Fuzz_Builtin_Seeds()) seeds.emplace_back(s.begin(), s.end());
    if (seeds.empty()) seeds.emplace_back();

    std::signal(SIGALRM, On_Timeout);
    auto run = [&](const Bytes& d) {
        Current = &d;
        alarm(unsigned(timeout));
        LLVMFuzzerTestOneInput(d.data(), d.size());
        alarm(0);
    };
    for (const Bytes& s : seeds) run(s);
    Rng r{0x5EED};
    for (long i = 0; i < runs; ++i) {
        Bytes d = seeds[r.Below(seeds.size())];
        Mutate(d, seeds, r, size_t(maxLen));
        run(d);
    }
    std::printf("fuzz: %s: %zu seeds and %ld mutated inputs ran clean\n", Fuzz_Target_Name(), seeds.size(), runs);
    return 0;
}

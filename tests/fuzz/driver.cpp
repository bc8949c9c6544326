// A small mutation fuzzer for targets with a libFuzzer-style entry point
// (LLVMFuzzerTestOneInput). Built with g++ and the sanitizers: clang cannot
// compile the GBK literals of the programs, so libFuzzer itself is not an
// option. Coverage is not measured; the mutations are seeded from a corpus
// and are reproducible from the seed.
//
//   fuzz_target [--seconds N] [--runs N] [--seed N] [--save DIR] [--hang S] CORPUS_DIR|FILE...
//
// Every corpus file runs once as it is, then mutated inputs run until the
// time or run budget is spent. A crash aborts under the sanitizers; the
// input that caused it was written to DIR/last-input first. An input that
// runs longer than S seconds (default 10) counts as a hang and aborts too.
// With --save, DIR/progress holds the executions done so far, so a run that
// ended on a finding can still be counted.
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fs = std::filesystem;

// <chrono> cannot be compiled with the GBK execution character set (it holds
// the micro sign), so the clock comes from the C library.
double Now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// A target may report what its inputs reached; printed after the run.
extern "C" __attribute__((weak)) void FuzzTargetReport();

namespace {

void Hang(int) {
    static const char text[] = "fuzz: an input ran past the hang limit (hang)\n";
    (void)!write(2, text, sizeof text - 1);
    abort();
}

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

const int32_t Interesting[] = {0, 1, -1, 2, 3, 4, 5, 7, 8, 16, 127, 128, 255, 256, 0x7FFF, -0x8000,
                               0x7FFFFFFF, INT32_MIN, 13, 10, 17, 45872376};

std::string Mutate(const std::vector<std::string>& corpus, std::mt19937_64& rng) {
    std::string s = corpus[rng() % corpus.size()];
    int rounds = 1 + int(rng() % 4);
    for (int r = 0; r < rounds; ++r) {
        size_t n = s.size();
        switch (rng() % 8) {
            case 0:  // flip a bit
                if (n) s[rng() % n] ^= char(1u << (rng() % 8));
                break;
            case 1:  // random byte
                if (n) s[rng() % n] = char(rng());
                break;
            case 2:  // insert bytes
                s.insert(n ? rng() % (n + 1) : 0, std::string(1 + rng() % 8, char(rng())));
                break;
            case 3:  // delete a run
                if (n) {
                    size_t at = rng() % n;
                    s.erase(at, 1 + rng() % std::min<size_t>(16, n - at));
                }
                break;
            case 4:  // an interesting 32-bit value, little-endian
                if (n >= 4) {
                    int32_t v = Interesting[rng() % (sizeof Interesting / sizeof *Interesting)];
                    std::memcpy(&s[rng() % (n - 3)], &v, 4);
                }
                break;
            case 5:  // truncate
                if (n) s.resize(rng() % n);
                break;
            case 6: {  // splice with another corpus entry
                const std::string& o = corpus[rng() % corpus.size()];
                if (!o.empty() && n) s = s.substr(0, rng() % n) + o.substr(rng() % o.size());
                break;
            }
            default:  // duplicate a run
                if (n) {
                    size_t at = rng() % n, len = 1 + rng() % std::min<size_t>(32, n - at);
                    s.insert(at, s.substr(at, len));
                }
                break;
        }
    }
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = 10;
    long long runs = -1;
    uint64_t seed = 1;
    unsigned hang = 10;
    fs::path save;
    std::vector<std::string> corpus;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--seconds" && i + 1 < argc) seconds = std::stod(argv[++i]);
        else if (a == "--runs" && i + 1 < argc) runs = std::stoll(argv[++i]);
        else if (a == "--seed" && i + 1 < argc) seed = std::stoull(argv[++i]);
        else if (a == "--save" && i + 1 < argc) save = argv[++i];
        else if (a == "--hang" && i + 1 < argc) hang = static_cast<unsigned>(std::stoul(argv[++i]));
        else if (fs::is_directory(a)) {
            for (auto& e : fs::directory_iterator(a))
                if (e.is_regular_file()) corpus.push_back(ReadAll(e.path()));
        } else if (fs::is_regular_file(a)) {
            corpus.push_back(ReadAll(a));
        } else {
            std::fprintf(stderr, "no such corpus: %s\n", a.c_str());
            return 2;
        }
    }
    if (corpus.empty()) corpus.push_back(std::string());
    if (!save.empty()) fs::create_directories(save);

    auto run = [&](const std::string& input) {
        if (!save.empty()) std::ofstream(save / "last-input", std::ios::binary) << input;
        alarm(hang);
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
        alarm(0);
    };
    signal(SIGALRM, Hang);
    for (const std::string& c : corpus) run(c);

    std::mt19937_64 rng(seed);
    double start = Now();
    double lastProgress = start;
    long long done = 0;
    auto progress = [&](double now) {
        if (save.empty()) return;
        std::ofstream(save / "progress") << done << " " << now - start << "\n";
        lastProgress = now;
    };
    for (;; ++done) {
        double now = Now();
        if (runs >= 0 && done >= runs) break;
        if (runs < 0 && now - start > seconds) break;
        if (now - lastProgress >= 1) progress(now);
        run(Mutate(corpus, rng));
    }
    double elapsed = Now() - start;
    progress(start + elapsed);
    std::printf("fuzz: %zu corpus inputs, %lld mutated executions, seed %llu, no crash\n", corpus.size(),
                done, static_cast<unsigned long long>(seed));
    std::printf("fuzz: %.1f s, %.1f executions/s\n", elapsed, elapsed > 0 ? double(done) / elapsed : 0.0);
    if (FuzzTargetReport) FuzzTargetReport();
    return 0;
}

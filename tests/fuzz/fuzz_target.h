#pragma once
// One source per fuzz target. Built with TERAMON_FUZZ_REPLAY the same body
// registers itself with the corpus replay test (an ordinary gtest that runs the
// committed seeds and every regression input); otherwise it is libFuzzer's entry
// point. FUZZ_CHECK states a property the input must not break.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#ifdef TERAMON_FUZZ_REPLAY
#include <map>
#include <string>

using FuzzEntry = int (*)(const uint8_t*, size_t);
inline std::map<std::string, FuzzEntry>& FuzzTargets() {
    static std::map<std::string, FuzzEntry> targets;
    return targets;
}
struct FuzzRegistration {
    FuzzRegistration(const char* name, FuzzEntry entry) { FuzzTargets()[name] = entry; }
};
#define TM_FUZZ_TARGET(name)                                                  \
    static int name##_OneInput(const uint8_t* data, size_t size);             \
    static const FuzzRegistration name##_registration(#name, name##_OneInput); \
    static int name##_OneInput(const uint8_t* data, size_t size)
#else
#define TM_FUZZ_TARGET(name) extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
#endif

#define FUZZ_CHECK(cond)                                                                  \
    do {                                                                                  \
        if (!(cond)) {                                                                    \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                                 \
        }                                                                                 \
    } while (0)

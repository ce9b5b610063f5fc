#pragma once
// A fuzz target of the readers: one reader of outside data fed one input, in a process set
// up once.  Every target lives in the one executable fuzz_readers and is picked by the
// environment variable FABRICAT_FUZZ_TARGET, under libFuzzer or the plain-loop driver alike.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct TFuzzTarget {
    const char* Name;
    // Once per process, before the first input (the application already exists).
    std::function<void()> Init;
    // One input; it must leave the process ready for the next.
    std::function<void(const std::string& input)> Run;
    // Seeds made by the target itself, besides the files of its seed folder.
    std::function<std::vector<std::string>()> Seeds = {};
    // At exit, before the program's globals go: frees what Init made.
    std::function<void()> Done = {};
};

// Adds targets to the executable's list; each target file calls it from a static object.
struct TFuzzRegistration {
    explicit TFuzzRegistration(std::vector<TFuzzTarget> targets);
};

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
// The picked target's own seeds, and its name.
std::vector<std::string> Fuzz_Builtin_Seeds();
const char* Fuzz_Target_Name();

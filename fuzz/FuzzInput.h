#pragma once
// Properties that hold for any input; a broken one aborts, so that the fuzzer keeps the input.
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define REQUIRE(property)                                                                          \
    ((property) ? void() : (std::fprintf(stderr, "broken: %s\n", #property), std::abort()))

// A target body that gets the fuzzer's bytes as the program would see typed text.
#define FUZZ_TEXT(text)                                                                            \
    static void FuzzOne(const QString& text);                                                      \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {            \
        FuzzOne(QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)));          \
        return 0;                                                                                  \
    }                                                                                              \
    static void FuzzOne(const QString& text)

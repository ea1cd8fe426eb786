#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

// The sound player's own account of what it was handed, what it wrote and what the server told
// it: where a phrase went unheard, and whether it ever left the program.
//
// Kept in memory, in a ring of fixed size that forgets its oldest entries, so that noting costs a
// clock read and a few stores, even at every write. The text is made only when the account is
// written out, to the file that HORAVOX_SOUND_ACCOUNT names; without it, never.
class SoundAccount {
public:
    // The ring's default size holds some 50 s of continuous speech.
    explicit SoundAccount(std::size_t capacity = 8192,
                          const char* file = std::getenv("HORAVOX_SOUND_ACCOUNT"));
    ~SoundAccount();
    SoundAccount(const SoundAccount&) = delete;
    SoundAccount& operator=(const SoundAccount&) = delete;

    // `what` is a printf format for up to three long long values, and must outlive the account:
    // a string literal. The time is the monotonic clock's.
    void Note(const char* what, long long a = 0, long long b = 0, long long c = 0) {
        Entry& entry = entries_[next_++ % capacity_];
        entry = {now(), what, a, b, c};
    }

    // What was noted since the last writing out, a line each: "<seconds> <what>".
    std::string Text();
    // Appends Text() to the file, when there is one.
    void WriteOut();

private:
    struct Entry {
        std::int64_t usec;
        const char* what;
        long long a, b, c;
    };

    static std::int64_t now();

    std::size_t capacity_;
    std::unique_ptr<Entry[]> entries_;
    std::uint64_t next_ = 0;    // entries ever noted
    std::uint64_t written_ = 0; // of them, those already in the text
    std::string file_;
};

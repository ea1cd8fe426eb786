#include "speech/espeak/SoundAccount.h"

#include <time.h>
#include <unistd.h>

SoundAccount::SoundAccount(std::size_t capacity, const char* file)
    : capacity_(capacity), entries_(new Entry[capacity]), file_(file ? file : "") {}

SoundAccount::~SoundAccount() = default;

std::int64_t SoundAccount::now() {
    timespec time{};
    clock_gettime(CLOCK_MONOTONIC, &time);
    return std::int64_t{time.tv_sec} * 1'000'000 + time.tv_nsec / 1000;
}

std::string SoundAccount::Text() {
    std::string text;
    if (next_ - written_ > capacity_) {
        text += std::to_string(next_ - written_ - capacity_) + " entries before these forgotten\n";
        written_ = next_ - capacity_;
    }
    char line[160];
    for (; written_ < next_; ++written_) {
        const Entry& entry = entries_[written_ % capacity_];
        const int time = std::snprintf(line, sizeof line, "%lld.%06lld ",
                                       static_cast<long long>(entry.usec / 1'000'000),
                                       static_cast<long long>(entry.usec % 1'000'000));
        std::snprintf(line + time, sizeof line - static_cast<std::size_t>(time), entry.what,
                      entry.a, entry.b, entry.c);
        (text += line) += '\n';
    }
    return text;
}

void SoundAccount::WriteOut() {
    if (file_.empty() || written_ == next_)
        return;
    if (std::FILE* out = std::fopen(file_.c_str(), "a")) {
        std::fprintf(out, "-- process %d\n%s", static_cast<int>(getpid()), Text().c_str());
        std::fclose(out);
    }
}

#pragma once
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string_view>

// A fixed-capacity text being built: appends beyond the capacity are cut, and
// nothing is ever allocated, so per-ball texts cost no heap.
template <std::size_t N>
class TextBuffer {
public:
    TextBuffer& operator<<(std::string_view text)
    {
        std::size_t room = N - 1 - size_;
        std::size_t n = text.size() < room ? text.size() : room;
        if (n) std::memcpy(data_ + size_, text.data(), n);
        size_ += n;
        data_[size_] = '\0';
        return *this;
    }
    TextBuffer& number(const char* format, int value)
    {
        char digits[24];
        int n = std::snprintf(digits, sizeof digits, format, value);
        if (n > 0) *this << std::string_view(digits, static_cast<std::size_t>(n) < sizeof digits ? n : sizeof digits - 1);
        return *this;
    }
    const char* c_str() const { return data_; }
    std::string_view view() const { return {data_, size_}; }

private:
    char data_[N] = {};
    std::size_t size_ = 0;
};

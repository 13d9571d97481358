#pragma once
#include <cstddef>
#include <cstring>
#include <string_view>

// A fixed-capacity text being built: appends beyond the capacity are cut, and
// nothing is ever allocated, so per-ball texts cost no heap.
template <std::size_t N>
class TextBuffer {
public:
    TextBuffer() { data_[0] = '\0'; }

    TextBuffer& operator<<(std::string_view text)
    {
        std::size_t room = N - 1 - size_;
        std::size_t n = text.size() < room ? text.size() : room;
        if (n) std::memcpy(data_ + size_, text.data(), n);
        size_ += n;
        data_[size_] = '\0';
        return *this;
    }
    // The number in decimal, as "%d" writes it.
    TextBuffer& number(int value) { return number(value, 0); }
    // The number as "%*d" (blank-filled) or "%0*d" (zero-filled) writes it.
    TextBuffer& number(int value, int width, char fill = ' ')
    {
        char digits[12];
        char* end = digits + sizeof digits;
        char* p = end;
        unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
        do {
            *--p = static_cast<char>('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude);
        if (value < 0) *--p = '-';
        if (fill == '0' && value < 0) {  // the sign goes before the zeros
            *this << std::string_view(p++, 1);
            --width;
        }
        const int length = static_cast<int>(end - p);
        repeat(fill, width > length ? static_cast<std::size_t>(width - length) : 0);
        return *this << std::string_view(p, static_cast<std::size_t>(end - p));
    }
    // Blanks up to `width` characters (UTF-8 aware) since `from`, as "%-*s" pads.
    TextBuffer& padTo(std::size_t from, std::size_t width)
    {
        std::size_t characters = 0;
        for (std::size_t i = from; i < size_; ++i)
            characters += (static_cast<unsigned char>(data_[i]) & 0xC0) != 0x80;
        return repeat(' ', width > characters ? width - characters : 0);
    }
    // `count` copies of one character.
    TextBuffer& repeat(char c, std::size_t count)
    {
        const std::size_t room = N - 1 - size_;
        const std::size_t n = count < room ? count : room;
        std::memset(data_ + size_, c, n);
        size_ += n;
        data_[size_] = '\0';
        return *this;
    }
    std::size_t size() const { return size_; }
    void clear()
    {
        size_ = 0;
        data_[0] = '\0';
    }
    const char* c_str() const { return data_; }
    std::string_view view() const { return {data_, size_}; }

private:
    char data_[N];  // only the used part is ever written: no zero-fill per ball

    std::size_t size_ = 0;
};

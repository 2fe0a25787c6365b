#pragma once

// The item text format shared by the configuration files, the start file
// and the X-Plane command list: statements of one line each (CR LF), holding
// comma-separated items; strings in double quotes, numbers in decimal with
// "." as the decimal separator.

#include "config/files.h"
#include "config/tables.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace varnet {

// A read error; what() is the description shown after the file's own
// message, e.g. "Input past end of file".
class ItemError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kErrorPastEnd = "Input past end of file";
inline constexpr const char* kErrorTypeMismatch = "Type mismatch";
inline constexpr const char* kErrorOverflow = "Overflow";
inline constexpr const char* kErrorOutOfRange = "Subscript out of range";

// The longest item the readers take: far above any real name or number, so
// that a file of one huge string costs what a real file costs, and a read
// error names the line where the bound is crossed. A function's command
// text holds up to ten command lines and has a bound of its own.
inline constexpr std::size_t kMaxItemLength = 255;
inline constexpr std::size_t kMaxCommandTextLength = 4095;

class ItemReader {
public:
    explicit ItemReader(std::string data) : data_(std::move(data)) {}

    // Reads a whole file (ReadWholeFile); throws ItemError when it cannot
    // be read.
    static ItemReader fromFile(const std::string& path);

    // A quoted string runs to its closing quote, across line ends; an
    // unquoted item runs to the next comma or line end, blanks trimmed.
    // Longer than maxLength (without quotes and blanks): a read error.
    std::string readString(std::size_t maxLength = kMaxItemLength);
    Byte readByte();
    Integer readInteger();
    Long readLong();
    Single readSingle();
    double readDouble();
    // A number of the given item type, widened.
    Single readTyped(ItemType type);

    // The next item's text without taking it.
    std::string peek();

    // Throws a read error that names the line of the item read last.
    [[noreturn]] void failAtLastItem(const std::string& description) const;

    bool atEnd() const;

private:
    // The next item's text; quoted tells whether it was a quoted string.
    std::string next(bool* quoted = nullptr, std::size_t maxLength = kMaxItemLength);
    // Fails when an item from `start` of `length` characters is too long.
    void checkLength(std::size_t start, std::size_t length, std::size_t maxLength) const;
    [[noreturn]] void failAt(std::size_t position, const std::string& description) const;
    long long readWhole(long long min, long long max);

    std::string data_;
    std::size_t pos_ = 0;
    std::size_t lastItem_ = 0;  // where the item read last begins
};

class ItemWriter {
public:
    ItemWriter& string(std::string_view text);
    ItemWriter& integer(long long value);
    ItemWriter& single(Single value);
    ItemWriter& real(double value);
    ItemWriter& typed(ItemType type, Single value);
    // Ends the statement with CR LF.
    ItemWriter& end();

    // One statement of a single string or number.
    ItemWriter& line(std::string_view text) { return string(text).end(); }
    ItemWriter& lineInteger(long long value) { return integer(value).end(); }

    const std::string& data() const { return data_; }

private:
    void separate();

    std::string data_;
    bool inStatement_ = false;
};

} // namespace varnet

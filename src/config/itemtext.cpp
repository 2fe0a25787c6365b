#include "config/itemtext.h"

#include "config/numtext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace varnet {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

std::string trimmed(std::string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return std::string(text.substr(begin, end - begin));
}

template <typename T>
bool parseExact(const std::string& text, T& value)
{
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+')
        ++first;
    const auto result = std::from_chars(first, last, value);
    return result.ec == std::errc() && result.ptr == last && first != last;
}

} // namespace

ItemReader ItemReader::fromFile(const std::string& path)
{
    std::string error;
    std::optional<std::string> bytes = ReadWholeFile(path, error);
    if (!bytes)
        throw ItemError(error);
    return ItemReader(std::move(*bytes));
}

bool ItemReader::atEnd() const
{
    std::size_t p = pos_;
    while (p < data_.size() && (isBlank(data_[p]) || isLineEnd(data_[p])))
        ++p;
    return p >= data_.size();
}

void ItemReader::failAt(std::size_t position, const std::string& description) const
{
    const auto line = 1 + std::count(data_.begin(), data_.begin() + long(position), '\n');
    throw ItemError("Line " + std::to_string(line) + ": " + description);
}

void ItemReader::failAtLastItem(const std::string& description) const
{
    failAt(lastItem_, description);
}

void ItemReader::checkLength(std::size_t start, std::size_t length, std::size_t maxLength) const
{
    if (length > maxLength)
        failAt(start, "item longer than " + std::to_string(maxLength) + " characters");
}

std::string ItemReader::next(bool* quoted, std::size_t maxLength)
{
    while (pos_ < data_.size() && isBlank(data_[pos_]))
        ++pos_;
    if (pos_ >= data_.size())
        throw ItemError(kErrorPastEnd);
    lastItem_ = pos_;

    std::string text;
    const bool isQuoted = data_[pos_] == '"';
    if (isQuoted) {
        const std::size_t close = data_.find('"', pos_ + 1);
        if (close == std::string::npos)
            throw ItemError(kErrorPastEnd);
        checkLength(pos_, close - pos_ - 1, maxLength);
        text = data_.substr(pos_ + 1, close - pos_ - 1);
        pos_ = close + 1;
        // Whatever stands between the closing quote and the delimiter is not
        // part of the item.
        while (pos_ < data_.size() && data_[pos_] != ',' && !isLineEnd(data_[pos_]))
            ++pos_;
    } else {
        const std::size_t start = pos_;
        while (pos_ < data_.size() && data_[pos_] != ',' && !isLineEnd(data_[pos_]))
            ++pos_;
        const std::string_view item = std::string_view(data_).substr(start, pos_ - start);
        const std::size_t last = item.find_last_not_of(" \t");
        checkLength(start, last == std::string_view::npos ? 0 : last + 1, maxLength);
        text = trimmed(item);
    }

    // Consume the delimiter: a comma, or one line end (CR LF, or LF alone
    // for files edited on Linux).
    if (pos_ < data_.size()) {
        if (data_[pos_] == ',') {
            ++pos_;
        } else {
            if (data_[pos_] == '\r')
                ++pos_;
            if (pos_ < data_.size() && data_[pos_] == '\n')
                ++pos_;
        }
    }
    if (quoted)
        *quoted = isQuoted;
    return text;
}

std::string ItemReader::peek()
{
    const std::size_t start = pos_;
    std::string text = next();
    pos_ = start;
    return text;
}

std::string ItemReader::readString(std::size_t maxLength)
{
    return next(nullptr, maxLength);
}

long long ItemReader::readWhole(long long min, long long max)
{
    const std::string text = next();
    long long whole = 0;
    if (!parseExact(text, whole)) {
        // A number written with a fraction or an exponent still converts,
        // rounded to the nearest whole number with halves to even.
        double real = 0;
        if (!parseExact(text, real) || !std::isfinite(real))
            throw ItemError(kErrorTypeMismatch);
        real = std::nearbyint(real);
        if (real < double(min) || real > double(max))
            throw ItemError(kErrorOverflow);
        whole = static_cast<long long>(real);
    }
    if (whole < min || whole > max)
        throw ItemError(kErrorOverflow);
    return whole;
}

Byte ItemReader::readByte()
{
    return static_cast<Byte>(readWhole(0, 255));
}

Integer ItemReader::readInteger()
{
    return static_cast<Integer>(readWhole(std::numeric_limits<Integer>::min(), std::numeric_limits<Integer>::max()));
}

Long ItemReader::readLong()
{
    return static_cast<Long>(readWhole(std::numeric_limits<Long>::min(), std::numeric_limits<Long>::max()));
}

double ItemReader::readDouble()
{
    const std::string text = next();
    double value = 0;
    if (!parseExact(text, value))
        throw ItemError(kErrorTypeMismatch);
    return value;
}

Single ItemReader::readSingle()
{
    const double value = readDouble();
    if (std::isfinite(value) && std::fabs(value) > double(std::numeric_limits<Single>::max()))
        throw ItemError(kErrorOverflow);
    return static_cast<Single>(value);
}

Single ItemReader::readTyped(ItemType type)
{
    switch (type) {
    case ItemType::Byte:
        return readByte();
    case ItemType::Integer:
        return readInteger();
    case ItemType::Single:
        break;
    }
    return readSingle();
}

void ItemWriter::separate()
{
    if (inStatement_)
        data_ += ',';
    inStatement_ = true;
}

ItemWriter& ItemWriter::string(std::string_view text)
{
    separate();
    data_ += '"';
    // A double quote would end the string early when the file is read back.
    for (char c : text)
        data_ += c == '"' ? '\'' : c;
    data_ += '"';
    return *this;
}

ItemWriter& ItemWriter::integer(long long value)
{
    separate();
    data_ += std::to_string(value);
    return *this;
}

ItemWriter& ItemWriter::single(Single value)
{
    separate();
    data_ += formatSingle(value);
    return *this;
}

ItemWriter& ItemWriter::real(double value)
{
    separate();
    data_ += formatDouble(value);
    return *this;
}

ItemWriter& ItemWriter::typed(ItemType type, Single value)
{
    if (type == ItemType::Single)
        return single(value);
    return integer(static_cast<long long>(value));
}

ItemWriter& ItemWriter::end()
{
    data_ += "\r\n";
    inStatement_ = false;
    return *this;
}

} // namespace varnet

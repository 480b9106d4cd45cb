#include "CubeText.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>

namespace cubetext {

namespace {

// Powers of ten that a double holds exactly.
constexpr double exactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                  1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int maxExactPower = 22;
constexpr uint64_t maxExactMantissa = uint64_t(1) << 53;
constexpr int maxMantissaDigits = 19;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The common case: a plain decimal whose digits fit 2^53 and whose power of
// ten is exact, where one multiplication or division rounds correctly, as
// strtod would. Anything else (more digits, hexadecimal, inf, nan) is left to
// readSlow.
bool readFast(const char *&p, const char *end, double &value)
{
    const char *q = p;
    bool negative = false;
    if (q < end && (*q == '+' || *q == '-')) {
        negative = *q == '-';
        ++q;
    }
    if (q + 1 < end && q[0] == '0' && (q[1] == 'x' || q[1] == 'X'))
        return false;
    uint64_t mantissa = 0;
    int digits = 0;
    int exponent = 0;
    for (; q < end && isDigit(*q); ++q, ++digits)
        mantissa = mantissa * 10 + static_cast<uint64_t>(*q - '0');
    if (q < end && *q == '.') {
        for (++q; q < end && isDigit(*q); ++q, ++digits, --exponent)
            mantissa = mantissa * 10 + static_cast<uint64_t>(*q - '0');
    }
    if (digits == 0 || digits > maxMantissaDigits)
        return false;
    if (q < end && (*q == 'e' || *q == 'E')) {
        const char *e = q + 1;
        bool negativeExponent = false;
        if (e < end && (*e == '+' || *e == '-')) {
            negativeExponent = *e == '-';
            ++e;
        }
        if (e < end && isDigit(*e)) {
            int written = 0;
            for (; e < end && isDigit(*e); ++e) {
                if (written > 1000)
                    return false;
                written = written * 10 + (*e - '0');
            }
            exponent += negativeExponent ? -written : written;
            q = e;
        }
    }
    if (mantissa > maxExactMantissa || exponent > maxExactPower || exponent < -maxExactPower)
        return false;
    double result = static_cast<double>(mantissa);
    result = exponent < 0 ? result / exactPowers[-exponent] : result * exactPowers[exponent];
    value = negative ? -result : result;
    p = q;
    return true;
}

// Everything strtod accepts, in the C locale, on a copy of the word so that it
// cannot run past the text.
bool readSlow(const char *&p, const char *end, double &value)
{
    const char *wordEnd = p;
    while (wordEnd < end && *wordEnd != '\0' && !isSpace(*wordEnd))
        ++wordEnd;
    if (wordEnd == p)
        return false;
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const std::string word(p, wordEnd);
    char *stop = nullptr;
    value = strtod_l(word.c_str(), &stop, cLocale);
    if (stop == word.c_str())
        return false;
    p += stop - word.c_str();
    return true;
}

} // namespace

int readNumbers(const char *begin, const char *end, double *values, int count)
{
    const char *p = begin;
    for (int i = 0; i < count; ++i) {
        while (p < end && isSpace(*p))
            ++p;
        if (p == end || !(readFast(p, end, values[i]) || readSlow(p, end, values[i])))
            return i;
    }
    return count;
}

bool nextWord(const char *&begin, const char *end, const char *&wordBegin, const char *&wordEnd)
{
    const char *p = begin;
    while (p < end && isSpace(*p))
        ++p;
    if (p == end)
        return false;
    wordBegin = p;
    while (p < end && !isSpace(*p))
        ++p;
    wordEnd = p;
    begin = p;
    return true;
}

bool readInt(const char *begin, const char *end, int &value)
{
    const char *p = begin;
    while (p < end && isSpace(*p))
        ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    if (p == end || !isDigit(*p))
        return false;
    // Saturates, as strtol does.
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    long long number = 0;
    for (; p < end && isDigit(*p); ++p)
        number = std::min(number * 10 + (*p - '0'), limit);
    value = static_cast<int>(negative ? -number : number);
    return true;
}

const char *textEnd(const char *begin, const char *end)
{
    const void *nul = std::memchr(begin, '\0', static_cast<size_t>(end - begin));
    return nul != nullptr ? static_cast<const char *>(nul) : end;
}

LineCursor::LineCursor(const char *begin, const char *end) : m_textEnd(end)
{
    if (begin < end)
        find(begin);
}

void LineCursor::find(const char *from)
{
    m_begin = from;
    const void *newline = std::memchr(from, '\n', static_cast<size_t>(m_textEnd - from));
    m_end = newline != nullptr ? static_cast<const char *>(newline) : m_textEnd;
}

void LineCursor::next()
{
    if (m_begin == nullptr)
        return;
    if (m_end == m_textEnd || m_end + 1 == m_textEnd) {
        m_begin = m_end = nullptr;
        return;
    }
    find(m_end + 1);
}

void LineCursor::skip(long n)
{
    for (long i = 0; i < n && m_begin != nullptr; ++i)
        next();
}

} // namespace cubetext

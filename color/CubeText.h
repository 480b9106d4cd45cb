#pragma once

#include <cstddef>

// Reading the text of cube files without the C library's scanf: numbers are
// read as "%lf" reads them, always with "." as the decimal mark whatever the
// process locale, and never past the end of the text given. A NUL byte ends a
// line's text, as it ends a C string.
namespace cubetext {

// Space, tab, newline, vertical tab, form feed, carriage return.
inline bool isSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Reads up to count numbers from [begin, end), each after optional
// white space; returns how many were read before the first that is not a
// number.
int readNumbers(const char *begin, const char *end, double *values, int count);

// The first white-space separated word at or after begin; false when there is
// none. The word is [wordBegin, wordEnd).
bool nextWord(const char *&begin, const char *end, const char *&wordBegin, const char *&wordEnd);

// A decimal integer as "%d" reads it, held to the range of an int; false
// when there is none.
bool readInt(const char *begin, const char *end, int &value);

// The end of a line's text: its NUL byte if it holds one, else end.
const char *textEnd(const char *begin, const char *end);

// Walks a text line by line; a line ends before its '\n' or at the end of the
// text, and the last line needs no '\n'.
class LineCursor
{
public:
    LineCursor(const char *begin, const char *end);

    bool valid() const { return m_begin != nullptr; }
    const char *begin() const { return m_begin; }
    const char *end() const { return m_end; }
    // To the next line; at the end of the text the cursor becomes invalid.
    void next();
    // n times next().
    void skip(long n);

private:
    void find(const char *from);

    const char *m_textEnd;
    const char *m_begin = nullptr;
    const char *m_end = nullptr;
};

} // namespace cubetext

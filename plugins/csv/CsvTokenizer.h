// The general-purpose text tokenizer behind the CSV reader.
//
// White space (bytes 0..32 but the line feed) is skipped; a line feed, a carriage return
// followed by a line feed and a lone carriage return each read as one line end. Strings
// run between " or ' to the same quote; a backslash takes the next character literally,
// and a backslash before a line end joins the next line. Numbers are digits and "." with
// an optional sign; an x after the first digit makes them hexadecimal; a "." makes them
// real. Words start with a letter, "_" or a byte 160..255. "//" and "/* */" comments are
// skipped. Every other byte is a character token of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

enum class TCsvTokenKind {
    EndOfFile,
    LineEnd,
    String,
    Integer,
    Real,
    Word,
    Character,
    Invalid, // a string broken by a line end or by the end of the file
};

struct TCsvToken {
    TCsvTokenKind Kind = TCsvTokenKind::EndOfFile;
    // Integer: the value modulo 2^64; Real: the value truncated toward zero.
    int64_t Integer = 0;
    double Real = 0;
    char Character = 0;
    // String: the text without quotes and escapes; Word: the word. Valid until the next
    // call of Next().
    std::string_view Text;
};

class TCsvTokenizer
{
public:
    // doubleByteText: the text is in code page 932, whose lead bytes take their trail
    // byte with them inside strings (so a trail byte 0x5C is no escape).
    TCsvTokenizer(const char *data, size_t size, bool doubleByteText);

    // Plain decimal integers, commas and line feeds, which make up almost all of a map
    // file, are read here; everything else goes the general way.
    TCsvToken Next()
    {
        while (Cursor < End && (*Cursor == ' ' || *Cursor == '\t'))
            ++Cursor;
        if (Cursor < End) {
            const uint8_t c = *Cursor;
            if (c == ',' || c == '\n') {
                ++Cursor;
                TCsvToken token;
                token.Kind = c == ',' ? TCsvTokenKind::Character : TCsvTokenKind::LineEnd;
                token.Character = static_cast<char>(c);
                return token;
            }
            if (c >= '0' && c <= '9' && !(Cursor + 1 < End && (Cursor[1] | 0x20) == 'x')) {
                const uint8_t *p = Cursor;
                uint64_t value = 0;
                for (; p < End && *p >= '0' && *p <= '9'; ++p)
                    value = value * 10 + (*p - '0');
                if (p == End || *p != '.') {
                    Cursor = p;
                    TCsvToken token;
                    token.Kind = TCsvTokenKind::Integer;
                    token.Integer = static_cast<int64_t>(value);
                    return token;
                }
            }
        }
        return NextToken();
    }
    size_t Position() const { return static_cast<size_t>(Cursor - Begin); }

private:
    TCsvToken NextToken();
    void SkipSpaceAndComments();
    void SkipLineEnd();
    TCsvToken ReadString(uint8_t quote);
    TCsvToken ReadNumber();
    TCsvToken ReadWord();

    const uint8_t *Begin;
    const uint8_t *Cursor;
    const uint8_t *End;
    bool DoubleByte;
    std::string StringText;
};

#include "plugins/csv/CsvTokenizer.h"

#include "plugins/csv/TextEncoding.h"

#include <array>
#include <charconv>
#include <cmath>

namespace
{

enum TCharClass : uint8_t {
    ccOther,
    ccSpace,
    ccLineEnd,
    ccQuote,
    ccDigit,
    ccDot,
    ccSign,
    ccLetter,
};

constexpr std::array<uint8_t, 256> MakeClassTable()
{
    std::array<uint8_t, 256> table{};
    for (int c = 0; c <= 32; ++c)
        table[c] = ccSpace;
    table['\n'] = ccLineEnd;
    table['\r'] = ccLineEnd;
    table['"'] = ccQuote;
    table['\''] = ccQuote;
    for (int c = '0'; c <= '9'; ++c)
        table[c] = ccDigit;
    table['.'] = ccDot;
    table['+'] = ccSign;
    table['-'] = ccSign;
    for (int c = 'a'; c <= 'z'; ++c)
        table[c] = ccLetter;
    for (int c = 'A'; c <= 'Z'; ++c)
        table[c] = ccLetter;
    table['_'] = ccLetter;
    for (int c = 160; c <= 255; ++c)
        table[c] = ccLetter;
    return table;
}

constexpr std::array<uint8_t, 256> CharClass = MakeClassTable();

int HexValue(uint8_t c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

int64_t TruncateReal(double value)
{
    if (!(std::fabs(value) < 9.2e18))
        return std::isnan(value) ? 0 : (value < 0 ? INT64_MIN : INT64_MAX);
    return static_cast<int64_t>(value);
}

TCsvToken Simple(TCsvTokenKind kind)
{
    TCsvToken token;
    token.Kind = kind;
    return token;
}

} // namespace

TCsvTokenizer::TCsvTokenizer(const char *data, size_t size, bool doubleByteText)
    : Begin(reinterpret_cast<const uint8_t *>(data)), Cursor(Begin), End(Begin + size),
      DoubleByte(doubleByteText)
{
    // A UTF-8 byte order mark says how the text is encoded; it is no part of the header.
    if (size >= 3 && Begin[0] == 0xEF && Begin[1] == 0xBB && Begin[2] == 0xBF)
        Cursor += 3;
}

void TCsvTokenizer::SkipLineEnd()
{
    if (Cursor < End && *Cursor == '\r') {
        ++Cursor;
        if (Cursor < End && *Cursor == '\n')
            ++Cursor;
    } else if (Cursor < End && *Cursor == '\n') {
        ++Cursor;
    }
}

// A "//" comment takes its line end with it, so that line end yields no token.
void TCsvTokenizer::SkipSpaceAndComments()
{
    while (Cursor < End) {
        const uint8_t c = *Cursor;
        if (CharClass[c] == ccSpace && c != '\r') {
            ++Cursor;
        } else if (c == '/' && Cursor + 1 < End && Cursor[1] == '/') {
            Cursor += 2;
            while (Cursor < End && *Cursor != '\n' && *Cursor != '\r')
                ++Cursor;
            SkipLineEnd();
        } else if (c == '/' && Cursor + 1 < End && Cursor[1] == '*') {
            Cursor += 2;
            while (Cursor < End && !(*Cursor == '*' && Cursor + 1 < End && Cursor[1] == '/'))
                ++Cursor;
            Cursor = Cursor < End ? Cursor + 2 : End;
        } else {
            return;
        }
    }
}

TCsvToken TCsvTokenizer::NextToken()
{
    SkipSpaceAndComments();
    if (Cursor >= End)
        return Simple(TCsvTokenKind::EndOfFile);

    const uint8_t c = *Cursor;
    switch (CharClass[c]) {
    case ccLineEnd:
        SkipLineEnd();
        return Simple(TCsvTokenKind::LineEnd);
    case ccQuote:
        ++Cursor;
        return ReadString(c);
    case ccDigit:
    case ccDot:
        return ReadNumber();
    case ccSign:
        if (Cursor + 1 < End && CharClass[Cursor[1]] == ccDigit)
            return ReadNumber();
        break;
    case ccLetter:
        return ReadWord();
    default:
        break;
    }
    ++Cursor;
    TCsvToken token;
    token.Kind = TCsvTokenKind::Character;
    token.Character = static_cast<char>(c);
    return token;
}

TCsvToken TCsvTokenizer::ReadString(uint8_t quote)
{
    StringText.clear();
    while (Cursor < End) {
        uint8_t c = *Cursor;
        if (c == quote) {
            ++Cursor;
            TCsvToken token;
            token.Kind = TCsvTokenKind::String;
            token.Text = StringText;
            return token;
        }
        if (c == '\n' || c == '\r')
            return Simple(TCsvTokenKind::Invalid); // the line end stays for the next token
        ++Cursor;
        if (c == '\\') {
            if (Cursor >= End)
                break;
            c = *Cursor;
            if (c == '\n' || c == '\r') {
                SkipLineEnd();
                while (Cursor < End && CharClass[*Cursor] == ccSpace && *Cursor != '\r')
                    ++Cursor;
                continue;
            }
            ++Cursor;
        }
        StringText.push_back(static_cast<char>(c));
        if (DoubleByte && IsDoubleByteLead(c) && Cursor < End)
            StringText.push_back(static_cast<char>(*Cursor++));
    }
    return Simple(TCsvTokenKind::Invalid);
}

TCsvToken TCsvTokenizer::ReadNumber()
{
    TCsvToken token;
    const bool negative = *Cursor == '-';
    if (*Cursor == '+' || *Cursor == '-')
        ++Cursor;
    const uint8_t *start = Cursor;

    if (CharClass[*start] == ccDigit && start + 1 < End && (start[1] | 0x20) == 'x') {
        Cursor = start + 2;
        uint64_t value = 0;
        for (int digit; Cursor < End && (digit = HexValue(*Cursor)) >= 0; ++Cursor)
            value = value << 4 | static_cast<uint64_t>(digit);
        token.Kind = TCsvTokenKind::Integer;
        token.Integer = static_cast<int64_t>(negative ? 0 - value : value);
        return token;
    }

    uint64_t value = 0;
    bool real = false;
    for (; Cursor < End; ++Cursor) {
        const uint8_t c = *Cursor;
        if (CharClass[c] == ccDigit)
            value = value * 10 + (c - '0');
        else if (c == '.')
            real = true;
        else
            break;
    }
    if (!real) {
        token.Kind = TCsvTokenKind::Integer;
        token.Integer = static_cast<int64_t>(negative ? 0 - value : value);
        return token;
    }
    double parsed = 0;
    const auto *first = reinterpret_cast<const char *>(start);
    const auto *last = reinterpret_cast<const char *>(Cursor);
    if (std::from_chars(first, last, parsed).ec != std::errc())
        parsed = 0;
    token.Kind = TCsvTokenKind::Real;
    token.Real = negative ? -parsed : parsed;
    token.Integer = TruncateReal(token.Real);
    return token;
}

TCsvToken TCsvTokenizer::ReadWord()
{
    const uint8_t *start = Cursor;
    ++Cursor;
    while (Cursor < End) {
        const uint8_t cls = CharClass[*Cursor];
        if (cls != ccLetter && cls != ccDigit && cls != ccDot)
            break;
        ++Cursor;
    }
    TCsvToken token;
    token.Kind = TCsvTokenKind::Word;
    token.Text = std::string_view(reinterpret_cast<const char *>(start),
                                  static_cast<size_t>(Cursor - start));
    return token;
}

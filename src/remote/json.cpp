#include "remote/json.h"

#include <array>
#include <charconv>
#include <cmath>

namespace remote {

namespace {

constexpr double kLargestExactInteger = 9007199254740992.0; // 2^53

class Parser {
public:
    explicit Parser(std::string_view text) : text(text) {}

    JsonParse parse()
    {
        JsonParse result;
        skipSpace();
        std::optional<Json> value = parseValue(0);
        if (value) {
            skipSpace();
            if (pos != text.size())
                fail("Unerwartete Zeichen nach dem Wert");
        }
        if (error.empty())
            result.value = std::move(value);
        else
            result.error = error + " (Byte " + std::to_string(errorAt) + ")";
        return result;
    }

private:
    std::optional<Json> parseValue(int depth)
    {
        if (pos == text.size())
            return fail("Unerwartetes Ende");
        switch (text[pos]) {
        case '{': return parseObject(depth + 1);
        case '[': return parseArray(depth + 1);
        case '"': {
            std::string s;
            if (!parseString(s))
                return std::nullopt;
            return Json(std::move(s));
        }
        case 't': return literal("true", Json(true));
        case 'f': return literal("false", Json(false));
        case 'n': return literal("null", Json());
        default: return parseNumber();
        }
    }

    std::optional<Json> parseObject(int depth)
    {
        if (depth > Json::kMaxDepth)
            return fail("Zu tief verschachtelt");
        ++pos;
        Json::Object members;
        skipSpace();
        if (consume('}'))
            return Json(std::move(members));
        for (;;) {
            skipSpace();
            if (pos == text.size() || text[pos] != '"')
                return fail("Name in Anführungszeichen erwartet");
            std::string key;
            if (!parseString(key))
                return std::nullopt;
            for (const Json::Member &member : members)
                if (member.first == key)
                    return fail("Doppelter Name \"" + key + "\"");
            skipSpace();
            if (!consume(':'))
                return fail("':' erwartet");
            skipSpace();
            std::optional<Json> value = parseValue(depth);
            if (!value)
                return std::nullopt;
            members.emplace_back(std::move(key), std::move(*value));
            skipSpace();
            if (consume('}'))
                return Json(std::move(members));
            if (!consume(','))
                return fail("',' oder '}' erwartet");
        }
    }

    std::optional<Json> parseArray(int depth)
    {
        if (depth > Json::kMaxDepth)
            return fail("Zu tief verschachtelt");
        ++pos;
        Json::Array items;
        skipSpace();
        if (consume(']'))
            return Json(std::move(items));
        for (;;) {
            skipSpace();
            std::optional<Json> value = parseValue(depth);
            if (!value)
                return std::nullopt;
            items.push_back(std::move(*value));
            skipSpace();
            if (consume(']'))
                return Json(std::move(items));
            if (!consume(','))
                return fail("',' oder ']' erwartet");
        }
    }

    // The grammar is checked here; from_chars only converts (it takes forms JSON does not).
    std::optional<Json> parseNumber()
    {
        const std::size_t start = pos;
        consume('-');
        if (consume('0')) {
        } else if (!digits()) {
            return fail("Wert erwartet");
        }
        if (consume('.') && !digits())
            return fail("Ziffer nach dem Punkt erwartet");
        if (consume('e') || consume('E')) {
            if (!consume('+'))
                consume('-');
            if (!digits())
                return fail("Ziffer im Exponenten erwartet");
        }
        double number = 0;
        const auto [end, status] = std::from_chars(text.data() + start, text.data() + pos, number);
        if (status != std::errc() || end != text.data() + pos || !std::isfinite(number))
            return fail("Zahl außerhalb des Bereichs", start);
        return Json(number);
    }

    bool digits()
    {
        const std::size_t start = pos;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9')
            ++pos;
        return pos > start;
    }

    bool parseString(std::string &out)
    {
        ++pos;
        while (pos < text.size()) {
            const unsigned char c = static_cast<unsigned char>(text[pos]);
            if (c == '"') {
                ++pos;
                return true;
            }
            if (c < 0x20)
                return failed("Steuerzeichen im Text");
            if (c == '\\') {
                if (!parseEscape(out))
                    return false;
            } else if (c < 0x80) {
                out += char(c);
                ++pos;
            } else if (!copyUtf8(out)) {
                return false;
            }
        }
        return failed("Text ohne schließendes Anführungszeichen");
    }

    bool parseEscape(std::string &out)
    {
        if (++pos == text.size())
            return failed("Unerwartetes Ende");
        const char c = text[pos++];
        switch (c) {
        case '"': out += '"'; return true;
        case '\\': out += '\\'; return true;
        case '/': out += '/'; return true;
        case 'b': out += '\b'; return true;
        case 'f': out += '\f'; return true;
        case 'n': out += '\n'; return true;
        case 'r': out += '\r'; return true;
        case 't': out += '\t'; return true;
        case 'u': break;
        default: return failed("Unbekannte Escape-Sequenz", pos - 2);
        }
        std::uint32_t code = 0;
        if (!hex4(code))
            return false;
        if (code >= 0xD800 && code <= 0xDBFF) {
            std::uint32_t low = 0;
            if (text.substr(pos, 2) != "\\u" || (pos += 2, !hex4(low)) || low < 0xDC00 || low > 0xDFFF)
                return failed("Unvollständiges Surrogatpaar");
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        } else if (code >= 0xDC00 && code <= 0xDFFF) {
            return failed("Unvollständiges Surrogatpaar");
        }
        appendUtf8(out, code);
        return true;
    }

    bool hex4(std::uint32_t &code)
    {
        if (text.size() - pos < 4)
            return failed("Vier Hex-Ziffern erwartet");
        for (int i = 0; i < 4; ++i) {
            const char c = text[pos++];
            const int digit = c >= '0' && c <= '9' ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
            if (digit < 0)
                return failed("Vier Hex-Ziffern erwartet", pos - 1);
            code = code * 16 + std::uint32_t(digit);
        }
        return true;
    }

    // One well-formed UTF-8 sequence (no overlong forms, no surrogates, at most U+10FFFF).
    bool copyUtf8(std::string &out)
    {
        const auto byte = [this](std::size_t i) { return static_cast<unsigned char>(text[i]); };
        const unsigned char lead = byte(pos);
        int length = 0;
        unsigned char low = 0x80, high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return failed("Kein gültiges UTF-8");
        }
        if (text.size() - pos < std::size_t(length))
            return failed("Kein gültiges UTF-8");
        for (int i = 1; i < length; ++i) {
            const unsigned char c = byte(pos + std::size_t(i));
            if (c < (i == 1 ? low : 0x80) || c > (i == 1 ? high : 0xBF))
                return failed("Kein gültiges UTF-8");
        }
        out.append(text.substr(pos, std::size_t(length)));
        pos += std::size_t(length);
        return true;
    }

    static void appendUtf8(std::string &out, std::uint32_t code)
    {
        if (code < 0x80) {
            out += char(code);
        } else if (code < 0x800) {
            out += char(0xC0 | (code >> 6));
            out += char(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += char(0xE0 | (code >> 12));
            out += char(0x80 | ((code >> 6) & 0x3F));
            out += char(0x80 | (code & 0x3F));
        } else {
            out += char(0xF0 | (code >> 18));
            out += char(0x80 | ((code >> 12) & 0x3F));
            out += char(0x80 | ((code >> 6) & 0x3F));
            out += char(0x80 | (code & 0x3F));
        }
    }

    std::optional<Json> literal(std::string_view word, Json value)
    {
        if (text.substr(pos, word.size()) != word)
            return fail("Wert erwartet");
        pos += word.size();
        return value;
    }

    void skipSpace()
    {
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t' || text[pos] == '\n' || text[pos] == '\r'))
            ++pos;
    }

    bool consume(char c)
    {
        if (pos < text.size() && text[pos] == c) {
            ++pos;
            return true;
        }
        return false;
    }

    // The first failure is the one told.
    bool failed(const std::string &what) { return failed(what, pos); }
    bool failed(const std::string &what, std::size_t at)
    {
        if (error.empty()) {
            error = what;
            errorAt = at;
        }
        return false;
    }
    std::nullopt_t fail(const std::string &what) { return fail(what, pos); }
    std::nullopt_t fail(const std::string &what, std::size_t at)
    {
        failed(what, at);
        return std::nullopt;
    }

    std::string_view text;
    std::size_t pos = 0;
    std::string error;
    std::size_t errorAt = 0;
};

void formatString(const std::string &text, std::string &out)
{
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    for (const char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                out += "\\u00";
                out += kHex[(c >> 4) & 0xF];
                out += kHex[c & 0xF];
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

void formatNumber(double number, std::string &out)
{
    if (!std::isfinite(number)) {
        out += "null";
        return;
    }
    std::array<char, 32> buffer{};
    const auto result = std::abs(number) < kLargestExactInteger && number == std::trunc(number)
                            ? std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::int64_t(number))
                            : std::to_chars(buffer.data(), buffer.data() + buffer.size(), number);
    out.append(buffer.data(), result.ptr);
}

void format(const Json &value, std::string &out)
{
    switch (value.type()) {
    case Json::Type::Null: out += "null"; break;
    case Json::Type::Bool: out += value.asBool() ? "true" : "false"; break;
    case Json::Type::Number: formatNumber(value.asNumber(), out); break;
    case Json::Type::String: formatString(value.asString(), out); break;
    case Json::Type::Array: {
        out += '[';
        const char *separator = "";
        for (const Json &item : value.asArray()) {
            out += separator;
            format(item, out);
            separator = ",";
        }
        out += ']';
        break;
    }
    case Json::Type::Object: {
        out += '{';
        const char *separator = "";
        for (const Json::Member &member : value.asObject()) {
            out += separator;
            formatString(member.first, out);
            out += ':';
            format(member.second, out);
            separator = ",";
        }
        out += '}';
        break;
    }
    }
}

} // namespace

bool Json::isInteger() const
{
    if (type() != Type::Number)
        return false;
    const double number = asNumber();
    return std::abs(number) <= kLargestExactInteger && number == std::trunc(number);
}

const Json *Json::find(std::string_view key) const
{
    if (type() != Type::Object)
        return nullptr;
    for (const Member &member : asObject())
        if (member.first == key)
            return &member.second;
    return nullptr;
}

JsonParse parseJson(std::string_view text) { return Parser(text).parse(); }

std::string formatJson(const Json &value)
{
    std::string out;
    format(value, out);
    return out;
}

const char *typeName(Json::Type type)
{
    switch (type) {
    case Json::Type::Null: return "null";
    case Json::Type::Bool: return "Wahrheitswert";
    case Json::Type::Number: return "Zahl";
    case Json::Type::String: return "Text";
    case Json::Type::Array: return "Liste";
    case Json::Type::Object: return "Objekt";
    }
    return "";
}

} // namespace remote

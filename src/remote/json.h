#pragma once
// JSON values as the programming interface reads and writes them (RFC 8259), in
// standard C++. The parser is strict and bounded: UTF-8 only, no duplicate keys
// in an object, no nesting deeper than kMaxDepth, nothing after the value; it
// says in German what it refused and where. Objects keep their members in the
// order they were given, so replies read in a stable order.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace remote {

class Json {
public:
    using Array = std::vector<Json>;
    using Member = std::pair<std::string, Json>;
    using Object = std::vector<Member>;
    enum class Type { Null, Bool, Number, String, Array, Object };

    static constexpr int kMaxDepth = 32;

    Json() = default;
    Json(std::nullptr_t) {}
    Json(bool value) : value(value) {}
    Json(int value) : value(double(value)) {}
    Json(std::int64_t value) : value(double(value)) {}
    Json(double value) : value(value) {}
    Json(const char *text) : value(std::string(text)) {}
    Json(std::string text) : value(std::move(text)) {}
    Json(Array items) : value(std::move(items)) {}
    Json(Object members) : value(std::move(members)) {}

    Type type() const { return Type(value.index()); }
    bool isNull() const { return type() == Type::Null; }
    // A number without a fraction that a double holds exactly (|n| <= 2^53).
    bool isInteger() const;

    // Each expects the value to be of its type.
    bool asBool() const { return std::get<bool>(value); }
    double asNumber() const { return std::get<double>(value); }
    const std::string &asString() const { return std::get<std::string>(value); }
    const Array &asArray() const { return std::get<Array>(value); }
    const Object &asObject() const { return std::get<Object>(value); }
    Object &asObject() { return std::get<Object>(value); }

    // A member of an object, or nothing.
    const Json *find(std::string_view key) const;

    friend bool operator==(const Json &a, const Json &b) { return a.value == b.value; }
    friend bool operator!=(const Json &a, const Json &b) { return !(a == b); }

private:
    std::variant<std::nullptr_t, bool, double, std::string, Array, Object> value;
};

struct JsonParse {
    std::optional<Json> value;
    std::string error; // German, with the byte offset; empty when parsed
};

JsonParse parseJson(std::string_view text);

// Compact, on one line; numbers in their shortest form that reads back the same,
// whole numbers without a fraction; a number that is not finite is written null.
std::string formatJson(const Json &value);

// The name JSON gives a type, in German, for error messages ("Zahl", "Text", ...).
const char *typeName(Json::Type type);

} // namespace remote

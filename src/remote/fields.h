#pragma once
// The members of one request (or of an object inside it), read with their types
// and ranges checked. A handler reads every field it knows first, then asks
// check(): the first problem met, or a member that nobody asked for (a typing
// error in a field's name must not pass unnoticed), refuses the whole request
// before anything is done. Messages are German and name the field.
#include "remote/json.h"

#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace remote {

class Fields {
public:
    // prefix names the object in messages, e.g. "joints[2]."; skipped members
    // ("id", "request") are the envelope's, not parameters.
    Fields(const Json::Object &members, std::string prefix = {}, std::set<std::string, std::less<>> skipped = {});

    bool has(std::string_view key) const;
    // Without a fallback a member is required.
    double number(std::string_view key, double min, double max, std::optional<double> fallback = std::nullopt);
    int integer(std::string_view key, int min, int max, std::optional<int> fallback = std::nullopt);
    bool flag(std::string_view key, std::optional<bool> fallback = std::nullopt);
    std::string text(std::string_view key, std::optional<std::string> fallback = std::nullopt);
    // Nothing when missing (then not an error) or wrong.
    std::optional<double> optionalNumber(std::string_view key, double min, double max);
    std::optional<int> optionalInteger(std::string_view key, int min, int max);
    std::optional<bool> optionalFlag(std::string_view key);
    // An array of the given element type; nullptr when missing or wrong.
    const Json::Array *array(std::string_view key, Json::Type elements);
    // A required member of any type, for a field that takes more than one.
    const Json *any(std::string_view key);
    // The first problem, reading or an unknown member; nothing when all is well.
    std::optional<std::string> check() const;
    // For a problem found by the caller, e.g. two fields that exclude each other.
    void refuse(const std::string &message);

private:
    const Json *member(std::string_view key, Json::Type type, bool required);
    std::string name(std::string_view key) const;

    const Json::Object &members;
    const std::string prefix;
    std::set<std::string, std::less<>> asked;
    std::string problem;
};

} // namespace remote

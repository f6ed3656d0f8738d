#include "remote/fields.h"

#include <cmath>

namespace remote {

Fields::Fields(const Json::Object &members, std::string prefix, std::set<std::string, std::less<>> skipped)
    : members(members), prefix(std::move(prefix)), asked(std::move(skipped))
{
}

std::string Fields::name(std::string_view key) const { return "\"" + prefix + std::string(key) + "\""; }

bool Fields::has(std::string_view key) const
{
    for (const Json::Member &m : members)
        if (m.first == key)
            return true;
    return false;
}

void Fields::refuse(const std::string &message)
{
    if (problem.empty())
        problem = message;
}

const Json *Fields::member(std::string_view key, Json::Type type, bool required)
{
    asked.emplace(key);
    for (const Json::Member &m : members) {
        if (m.first != key)
            continue;
        if (m.second.type() == type)
            return &m.second;
        refuse("Feld " + name(key) + " muss " + typeName(type) + " sein, nicht " + typeName(m.second.type()));
        return nullptr;
    }
    if (required)
        refuse("Feld " + name(key) + " fehlt");
    return nullptr;
}

std::optional<double> Fields::optionalNumber(std::string_view key, double min, double max)
{
    const Json *value = member(key, Json::Type::Number, false);
    if (!value)
        return std::nullopt;
    const double number = value->asNumber();
    if (number < min || number > max) {
        refuse("Feld " + name(key) + " muss zwischen " + formatJson(Json(min)) + " und " + formatJson(Json(max)) + " liegen");
        return std::nullopt;
    }
    return number;
}

std::optional<int> Fields::optionalInteger(std::string_view key, int min, int max)
{
    const std::optional<double> number = optionalNumber(key, min, max);
    if (number && *number != std::trunc(*number)) {
        refuse("Feld " + name(key) + " muss eine ganze Zahl sein");
        return std::nullopt;
    }
    return number ? std::optional<int>(int(*number)) : std::nullopt;
}

std::optional<bool> Fields::optionalFlag(std::string_view key)
{
    const Json *value = member(key, Json::Type::Bool, false);
    return value ? std::optional<bool>(value->asBool()) : std::nullopt;
}

double Fields::number(std::string_view key, double min, double max, std::optional<double> fallback)
{
    if (!fallback)
        member(key, Json::Type::Number, true);
    return optionalNumber(key, min, max).value_or(fallback.value_or(0));
}

int Fields::integer(std::string_view key, int min, int max, std::optional<int> fallback)
{
    if (!fallback)
        member(key, Json::Type::Number, true);
    return optionalInteger(key, min, max).value_or(fallback.value_or(0));
}

bool Fields::flag(std::string_view key, std::optional<bool> fallback)
{
    const Json *value = member(key, Json::Type::Bool, !fallback);
    return value ? value->asBool() : fallback.value_or(false);
}

std::string Fields::text(std::string_view key, std::optional<std::string> fallback)
{
    const Json *value = member(key, Json::Type::String, !fallback);
    return value ? value->asString() : fallback.value_or(std::string());
}

const Json::Array *Fields::array(std::string_view key, Json::Type elements)
{
    const Json *value = member(key, Json::Type::Array, true);
    if (!value)
        return nullptr;
    const Json::Array &items = value->asArray();
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].type() != elements) {
            refuse("Feld " + name(std::string(key) + "[" + std::to_string(i) + "]") + " muss " + typeName(elements)
                   + " sein, nicht " + typeName(items[i].type()));
            return nullptr;
        }
    }
    return &items;
}

const Json *Fields::any(std::string_view key)
{
    asked.emplace(key);
    for (const Json::Member &m : members)
        if (m.first == key)
            return &m.second;
    refuse("Feld " + name(key) + " fehlt");
    return nullptr;
}

std::optional<std::string> Fields::check() const
{
    if (!problem.empty())
        return problem;
    for (const Json::Member &m : members)
        if (asked.find(m.first) == asked.end())
            return "Unbekanntes Feld " + name(m.first);
    return std::nullopt;
}

} // namespace remote

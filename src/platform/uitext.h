#pragma once
// The console's texts for the operator and their languages. German is the source:
// every text is written as the German console shows it (UTF-8, umlauts and all),
// and translations/velmora_en.ts holds its English. Where a text is made decides
// how it is marked for lupdate:
// - In Qt code: tr("...") in a QObject (its context is the class, e.g.
//   "comm::LinkPanel"), QCoreApplication::translate("folder::Name", "...")
//   elsewhere; texts in the forms are uic's.
// - In standard C++ (models, file and serial code), and for every message box:
//   UI_TEXT("folder::Name", "...") makes a UiText, which carries its context,
//   its source and its arguments up to the window; the window translates it
//   (toolkit/translated.h), message boxes take one as it is. lupdate reads
//   UI_TEXT as QT_TRANSLATE_NOOP (-tr-function-alias, translations/CMakeLists.txt).
// What varies goes in as %1..%9 (arg()), so that a sentence translates whole,
// with its words in the order the language wants: never join translated pieces.
// Never translated: what goes over the wire, into files and into the debug
// window's command lines, and what arrived from a device or the system
// (UiText::verbatim). It lies here, at the bottom, so that the serial core and
// the file code can hand texts up too.
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace platform {

class UiText {
public:
    UiText() = default;
    // Source and context must be string literals (lupdate reads them).
    UiText(const char *context, const char *source) : textContext(context), text(source) {}

    // Shown as it is in every language: a device's or the system's words, a name.
    static UiText verbatim(std::string words)
    {
        UiText shown;
        shown.text = std::move(words);
        return shown;
    }

    // The next placeholder: %1 first, then %2 and so on, wherever they stand.
    UiText arg(UiText part) const
    {
        UiText filled = *this;
        filled.parts.push_back(std::move(part));
        return filled;
    }
    UiText arg(std::string words) const { return arg(verbatim(std::move(words))); }
    UiText arg(const char *words) const { return arg(verbatim(words)); }
    template <typename Number, std::enable_if_t<std::is_integral_v<Number>, int> = 0>
    UiText arg(Number number) const
    {
        return arg(std::to_string(number));
    }

    // Empty for a verbatim text, which is never looked up.
    const char *context() const { return textContext; }
    const std::string &source() const { return text; }
    const std::vector<UiText> &args() const { return parts; }
    bool empty() const { return text.empty(); }

    // As the German console shows it.
    std::string german() const
    {
        std::vector<std::string> filled;
        for (const UiText &part : parts)
            filled.push_back(part.german());
        return fillIn(text, filled);
    }

    // %n becomes the n-th of values, in one pass (so a value's own "%2" stays);
    // a placeholder without a value, and any other %, stays as it stands.
    static std::string fillIn(std::string_view pattern, const std::vector<std::string> &values)
    {
        std::string out;
        for (std::size_t i = 0; i < pattern.size(); ++i) {
            const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
            const std::size_t n = static_cast<std::size_t>(next - '0');
            if (pattern[i] == '%' && next >= '1' && next <= '9' && n <= values.size()) {
                out += values[n - 1];
                ++i;
            } else {
                out += pattern[i];
            }
        }
        return out;
    }

private:
    const char *textContext = "";
    std::string text;
    std::vector<UiText> parts;
};

} // namespace platform

#define UI_TEXT(context, source) ::platform::UiText(context, source)

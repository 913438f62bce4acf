#include "settings/NumberText.h"

#include <charconv>
#include <cmath>

namespace parvel {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The text without surrounding blanks.
std::string Trimmed(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

}  // namespace

std::optional<long long> ParseWholeNumber(const std::string& text) {
    const std::string t = Trimmed(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    if (i == t.size()) return std::nullopt;
    long long magnitude = 0;
    for (; i < t.size(); ++i) {
        if (!IsDigit(t[i])) return std::nullopt;
        if (magnitude < kWholeNumberLimit) magnitude = magnitude * 10 + (t[i] - '0');
    }
    if (magnitude > kWholeNumberLimit) magnitude = kWholeNumberLimit;
    return negative ? -magnitude : magnitude;
}

std::optional<double> ParseLocaleDecimal(const std::string& text, char decimal_separator) {
    const std::string t = Trimmed(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    // Rebuild the number in the one form from_chars reads, whatever the locale.
    std::string plain;
    bool separator_seen = false;
    bool digit_seen = false;
    for (; i < t.size(); ++i) {
        const char c = t[i];
        if (IsDigit(c)) {
            digit_seen = true;
            plain += c;
        } else if (c == decimal_separator && !separator_seen) {
            separator_seen = true;
            plain += '.';
        } else {
            return std::nullopt;
        }
    }
    if (!digit_seen) return std::nullopt;
    if (plain.front() == '.') plain.insert(plain.begin(), '0');
    if (plain.back() == '.') plain += '0';
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(plain.data(), plain.data() + plain.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

std::string FormatLocaleDecimal(double value, int decimals, char decimal_separator) {
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (error != std::errc()) return {};
    std::string text(buffer, end);
    for (char& c : text) {
        if (c == '.') c = decimal_separator;
    }
    return text;
}

}  // namespace parvel

#include "project/NumberText.h"

#include <cfenv>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace qx {
namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

int digitValue(char c) {
  if (isDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

// Digits of the given base at the start of `text`, as an unsigned value that wraps on overflow:
// the low bits stay right whatever the length, which is all a colour needs.
std::uint64_t readRadixDigits(std::string_view text, int base) {
  std::uint64_t value = 0;
  for (const char c : text) {
    const int d = digitValue(c);
    if (d >= base) break;
    value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
  }
  return value;
}

double finite(double v) {
  if (std::isnan(v)) return 0;
  if (std::isinf(v))
    return v > 0 ? std::numeric_limits<double>::max() : std::numeric_limits<double>::lowest();
  return v;
}

// A value as its decimal digits, rounded to 15 significant digits: value = 0.d1d2... * 10^exp.
struct Decimal {
  bool negative = false;
  std::string digits;  // no leading zeros; empty for zero
  int exponent = 0;
};

Decimal toDecimal(double value) {
  Decimal d;
  value = finite(value);
  if (value == 0) return d;
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.14e", value);  // "-d.dddddddddddddde+XX"
  std::string_view s(buf);
  if (s.front() == '-') d.negative = true, s.remove_prefix(1);
  const auto e = s.find('e');
  for (const char c : s.substr(0, e))
    if (isDigit(c)) d.digits += c;
  int exp10 = 0;
  std::from_chars(s.data() + e + (s[e + 1] == '+' ? 2 : 1), s.data() + s.size(), exp10);
  d.exponent = exp10 + 1;
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  return d;
}

}  // namespace

double readNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && isBlank(text[i])) ++i;
  text.remove_prefix(i);
  if (text.size() >= 2 && text[0] == '&') {
    int base = 0;
    switch (text[1]) {
      case 'H':
      case 'h':
        base = 16;
        break;
      case 'O':
      case 'o':
      case 'Q':
      case 'q':
        base = 8;
        break;
      case 'B':
      case 'b':
        base = 2;
        break;
      default:
        return 0;
    }
    // Prefixed values are read as 64-bit integers; longer ones keep their low bits.
    return static_cast<double>(static_cast<std::int64_t>(readRadixDigits(text.substr(2), base)));
  }
  std::size_t n = 0;
  if (n < text.size() && (text[n] == '+' || text[n] == '-')) ++n;
  std::size_t mantissaDigits = 0;
  for (; n < text.size() && isDigit(text[n]); ++n) ++mantissaDigits;
  if (n < text.size() && text[n] == '.')
    for (++n; n < text.size() && isDigit(text[n]); ++n) ++mantissaDigits;
  if (mantissaDigits == 0) return 0;
  if (n < text.size() && (text[n] == 'e' || text[n] == 'E' || text[n] == 'd' || text[n] == 'D')) {
    std::size_t k = n + 1;
    if (k < text.size() && (text[k] == '+' || text[k] == '-')) ++k;
    if (k < text.size() && isDigit(text[k])) {
      while (k < text.size() && isDigit(text[k])) ++k;
      n = k;
    }
  }
  std::string number(text.substr(0, n));
  for (char& c : number)
    if (c == 'd' || c == 'D') c = 'e';
  if (number.front() == '+') number.erase(0, 1);
  double value = 0;
  const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // from_chars leaves the value alone: decide between overflow and underflow by the exponent.
    const bool negative = number.front() == '-';
    const auto e = number.find_first_of("eE");
    const bool tiny = e != std::string::npos && number.find('-', e) != std::string::npos;
    if (tiny) return 0;
    return negative ? std::numeric_limits<double>::lowest() : std::numeric_limits<double>::max();
  }
  (void)ptr;
  return finite(value);
}

double roundHalfEven(double value) {
  // nearbyint follows the rounding mode, which is to-nearest-even unless someone changed it.
  const int saved = std::fegetround();
  std::fesetround(FE_TONEAREST);
  const double r = std::nearbyint(value);
  std::fesetround(saved);
  return r;
}

int roundToInt(double value) {
  if (std::isnan(value)) return 0;
  const double r = roundHalfEven(value);
  if (r <= static_cast<double>(std::numeric_limits<int>::min()))
    return std::numeric_limits<int>::min();
  if (r >= static_cast<double>(std::numeric_limits<int>::max()))
    return std::numeric_limits<int>::max();
  return static_cast<int>(r);
}

int readWholeNumber(std::string_view text) {
  return roundToInt(readNumber(text));
}

std::uint32_t readColour(std::string_view text) {
  return static_cast<std::uint32_t>(readRadixDigits(text, 16) & 0xFFFFFFu);
}

std::string integerText(long long value) {
  return std::to_string(value);
}

std::string colourText(std::uint32_t bgr) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%06X", static_cast<unsigned>(bgr & 0xFFFFFFu));
  return buf;
}

std::string rgbText(std::uint32_t bgr) {
  const std::uint32_t r = bgr & 0xFF, g = (bgr >> 8) & 0xFF, b = (bgr >> 16) & 0xFF;
  return colourText((r << 16) | (g << 8) | b);
}

std::string positionText(double value) {
  const Decimal d = toDecimal(value);
  if (d.digits.empty()) return "0";
  std::string out = d.negative ? "-" : "";
  const int len = static_cast<int>(d.digits.size());
  if (d.exponent > 21 || d.exponent < -20) {
    // Far outside any video's length: scientific form keeps the text short and reads back.
    out += d.digits.substr(0, 1);
    if (len > 1) out += "." + d.digits.substr(1);
    return out + "E" + (d.exponent - 1 >= 0 ? "+" : "") + std::to_string(d.exponent - 1);
  }
  if (d.exponent <= 0)
    return out + "." + std::string(static_cast<std::size_t>(-d.exponent), '0') + d.digits;
  if (d.exponent >= len)
    return out + d.digits + std::string(static_cast<std::size_t>(d.exponent - len), '0');
  return out + d.digits.substr(0, static_cast<std::size_t>(d.exponent)) + "." +
         d.digits.substr(static_cast<std::size_t>(d.exponent));
}

std::string maskText(double value, int decimals) {
  const Decimal d = toDecimal(value);
  // Digits of |value| * 10^decimals: integer part `whole`, and what follows it.
  const int point = d.exponent + decimals;  // digits before the rounding point
  std::string whole;
  bool roundUp = false;
  if (point > 0) {
    const auto kept = static_cast<std::size_t>(point);
    whole = d.digits.substr(0, std::min(kept, d.digits.size()));
    if (whole.size() < kept) whole.append(kept - whole.size(), '0');
    if (kept < d.digits.size()) {
      const char next = d.digits[kept];
      const bool exactHalf = next == '5' && kept + 1 == d.digits.size();
      roundUp = next > '5' || (next == '5' && !exactHalf) ||
                (exactHalf && ((whole.back() - '0') % 2 == 1));
    }
  } else if (point == 0 && !d.digits.empty()) {
    // 0.5 ulp of the last place or more: a half rounds to the even neighbour 0.
    roundUp = d.digits[0] > '5' || (d.digits[0] == '5' && d.digits.size() > 1);
  }
  if (whole.empty()) whole = "0";
  if (roundUp) {
    int i = static_cast<int>(whole.size()) - 1;
    while (i >= 0 && whole[static_cast<std::size_t>(i)] == '9')
      whole[static_cast<std::size_t>(i--)] = '0';
    if (i < 0)
      whole.insert(whole.begin(), '1');
    else
      ++whole[static_cast<std::size_t>(i)];
  }
  const auto dec = static_cast<std::size_t>(decimals);
  if (whole.size() <= dec) whole.insert(0, dec + 1 - whole.size(), '0');
  const std::string intPart = whole.substr(0, whole.size() - dec);
  std::string out = intPart;
  if (decimals > 0) out += "." + whole.substr(whole.size() - dec);
  const bool zero = out.find_first_not_of("0.") == std::string::npos;
  return (d.negative && !zero ? "-" : "") + out;
}

}  // namespace qx

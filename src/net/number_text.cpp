#include "net/number_text.h"

#include <cstdlib>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

}  // namespace

double leadingNumber(const Text& text) {
  std::size_t i = 0;
  while (i < text.size() && isWhiteSpace(text[i])) ++i;

  // The number is copied in the one spelling strtod reads the same everywhere: no hex, no words,
  // and the exponent as "e".
  Text number;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) number += text[i++];
  std::size_t digits = 0;
  while (i < text.size() && isDigit(text[i])) number += text[i++], ++digits;
  if (i < text.size() && text[i] == '.') {
    number += text[i++];
    while (i < text.size() && isDigit(text[i])) number += text[i++], ++digits;
  }
  if (digits == 0) return 0.0;

  if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
    std::size_t j = i + 1;
    Text exponent = "e";
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent += text[j++];
    const std::size_t exponentStart = j;
    while (j < text.size() && isDigit(text[j])) exponent += text[j++];
    if (j > exponentStart) number += exponent;
  }
  return std::strtod(number.c_str(), nullptr);
}

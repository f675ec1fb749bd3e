#pragma once
// Numbers typed into the program's texts may come in the full-width forms of a Chinese input
// method; they are folded to ASCII before any conversion reads them.
#include "app/text.h"

// The text with every GBK full-width form of a printable ASCII character (A3 A1 .. A3 FE) made
// that character, the ideographic space (A1 A1) a space, A1 AB a tilde and A1 EE / A1 EF an
// asterisk. Other double-byte characters are kept whole, so their trail bytes are never read as
// characters of their own.
inline Text foldFullWidth(const Text& text) {
  Text out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    if (!isGbkLeadByte(lead) || i + 1 >= text.size()) {
      out += text[i];
      continue;
    }
    const unsigned char trail = static_cast<unsigned char>(text[i + 1]);
    ++i;
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      out += static_cast<char>(trail - 0x80);
    } else if (lead == 0xA1 && trail == 0xA1) {
      out += ' ';
    } else if (lead == 0xA1 && trail == 0xAB) {
      out += '~';
    } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
      out += '*';
    } else {
      out += static_cast<char>(lead);
      out += static_cast<char>(trail);
    }
  }
  return out;
}

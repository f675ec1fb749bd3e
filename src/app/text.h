#pragma once
// Texts are byte strings in the ANSI code page (GBK for every built-in Chinese text);
// an empty text and an absent one are the same thing, so a plain std::string serves.
#include <cstdint>
#include <string>
#include <vector>

using Text = std::string;
using Bytes = std::vector<std::uint8_t>;

// Code page 936 (GBK): 0x81 to 0xFE open a two-byte character, whose second byte may look like
// an ASCII character (0x5C, a backslash, among them) and must not be read as one.
inline bool isGbkLeadByte(unsigned char lead) { return lead >= 0x81 && lead <= 0xFE; }

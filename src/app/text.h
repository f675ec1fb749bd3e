#pragma once
// Texts are byte strings in the ANSI code page (GBK for every built-in Chinese text);
// an empty text and an absent one are the same thing, so a plain std::string serves.
#include <cstdint>
#include <string>
#include <vector>

using Text = std::string;
using Bytes = std::vector<std::uint8_t>;

#pragma once

#include <string>

// The code page 936 form of UTF-8 text, through iconv.
std::string toGbk(const std::string& utf8);

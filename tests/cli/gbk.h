#pragma once

#include <string>

// The code page 936 form of UTF-8 text, through iconv.
std::string toGbk(const std::string& utf8);

// The UTF-8 form of code page 936 bytes; empty when they are not text of the code page.
std::string fromGbk(const std::string& gbk);

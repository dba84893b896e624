#pragma once
// The fonts folder most tests use: a 16x16 Song library holding 样 and 字 with known dots, and the
// export file those two make.

#include "cli_process.h"

#include <string>

// 样 starts 00 00 04 40 07 E0 08 40 and is blank after; 字 has only its last dot set.
inline const TinyGlyph kYang{0xD1F9, {0x00, 0x00, 0x04, 0x40, 0x07, 0xE0, 0x08, 0x40}};
inline const TinyGlyph kZi{0xD7D6, [] {
                               std::vector<std::uint8_t> bytes(32, 0x00);
                               bytes[31] = 0x01;
                               return bytes;
                           }()};

struct SampleFonts {
    TempFolder fonts;
    SampleFonts() { writeLibrary(fonts.file(kLibraryFiles[1]), 32, {kYang, kZi}); }
    std::string dir() const { return fonts.path(); }
};

namespace expected {

inline const std::string kBlankDb = "DB   00h,  00h,  00h,  00h,  00h,  00h,  00h,  00h\r\n";
inline const std::string kBlankC = "0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00";

inline const std::string kYangAsm =
    "DB   00h,  00h,  04h,  40h,  07h, 0E0h,  08h,  40h\r\n" + kBlankDb + kBlankDb + kBlankDb;
inline const std::string kZiAsm =
    kBlankDb + kBlankDb + kBlankDb + "DB   00h,  00h,  00h,  00h,  00h,  00h,  00h,  01h\r\n";
inline const std::string kYangC =
    "0x00,0x00,0x04,0x40,0x07,0xE0,0x08,0x40,\r\n" + kBlankC + ",\r\n" + kBlankC + ",\r\n" + kBlankC;
inline const std::string kZiC =
    kBlankC + ",\r\n" + kBlankC + ",\r\n" + kBlankC + ",\r\n" + "0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x01";

// "export all" of 样 and 字 in 横排, as UTF-8.
inline const std::string kExportAll = ";样[16*16]横排\r\n" + kYangAsm + "\r\n" +   //
                                      ";字[16*16]横排\r\n" + kZiAsm + "\r\n" +     //
                                      "\r\n" +                                     //
                                      "{//样[16*16]横排\r\n" + kYangC + "};\r\n" + //
                                      "{//字[16*16]横排\r\n" + kZiC + "};\r\n";

// "export current" of 字: no separator, no line break after the closing brace.
inline const std::string kCurrentZi = ";字[16*16]横排\r\n" + kZiAsm + "\r\n" + "{//字[16*16]横排\r\n" + kZiC + "};";

} // namespace expected
